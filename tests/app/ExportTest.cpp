#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int Export(const QString& dir, const QStringList& extra = {}) {
    QProcess p;
    p.start(QStringLiteral(CITYSIZE_BINARY),
            QStringList{"export", dir, "--data", QStringLiteral(CITYSIZE_REAL_DATA)} + extra);
    p.waitForFinished(120000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Export, WritesEveryStepAndAPageThatLinksOnlyWhatExists) {
    QTemporaryDir dir;
    ASSERT_EQ(Export(dir.path()), 0);
    for (const char* name : {"01-Rank.png", "01-Rank.svg", "02-DataProperties.txt", "11-NextGraph.png",
                             "12-RankSpirel1.png", "19-PlotCity.txt", "index.html"})
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name;
    // Steps that only print or page through a table leave no blank picture behind; the page
    // shows their table as text instead.
    for (const char* name : {"25-NextInfo.png", "25-NextInfo.svg", "27-LastInfo.png", "32-LastPop.svg"})
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name;
    const QString page = QString::fromUtf8(Read(dir.filePath("index.html")));
    const QString nextInfo = page.section(QStringLiteral("<section id=\"25-NextInfo\">"), 1).section(QStringLiteral("</section>"), 0, 0);
    EXPECT_TRUE(nextInfo.contains(QLatin1String("<pre>"))) << nextInfo.toStdString();
    EXPECT_FALSE(nextInfo.contains(QLatin1String("<img")));
    QRegularExpression ref(QStringLiteral("(?:src|href)=\"([^\"]+)\""));
    int refs = 0;
    for (auto it = ref.globalMatch(page); it.hasNext(); ++refs) {
        const QString file = it.next().captured(1);
        EXPECT_FALSE(file.contains(QLatin1String("://"))) << file.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(file))) << file.toStdString();
    }
    EXPECT_GT(refs, 60);
    EXPECT_FALSE(page.contains(QLatin1String("<script")));
}
