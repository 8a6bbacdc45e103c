#include "AppKit.h"
#include <QRegularExpression>

namespace {

int Export(const QString& dir, const QStringList& extra = {}) {
    return RunCitysize(QStringList{"export", dir, "--data", QStringLiteral(CITYSIZE_REAL_DATA)} + extra).status;
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

    // Each section's heading names the step and city; its picture (with a label it must show) and
    // text are those `run` gives for the same clicks from a fresh load.
    const struct { const char* base; QStringList clicks; const char *heading, *drawn; } steps[] = {
        {"01-Rank", {"Rank"}, "01. Rank", ">Log Rank<"},
        {"18-RankSpirel1", {"RankSpirel1"}, "18. ", "2000"},
        {"20-PlotCity", {"RankSpirel1", "Cities=New York City, NY", "PlotCity", "Cities=Chicago, IL", "PlotCity"},
         "20. PlotCity (Chicago, IL)", ">Chicago, IL<"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.base);
        const QString section = page.section(QStringLiteral("<section id=\"%1\">").arg(s.base), 1).section(QStringLiteral("</section>"), 0, 0);
        EXPECT_TRUE(section.startsWith(QStringLiteral("\n<h2>") + s.heading)) << section.left(80).toStdString();
        RunCitysize(QStringList{"run", "--data", QStringLiteral(CITYSIZE_REAL_DATA), "ReadData", "Clear"} + s.clicks +
                    QStringList{"--picture", dir.filePath("run.svg"), "--text", dir.filePath("run.txt")});
        const QByteArray svg = Read(dir.filePath(QString(s.base) + ".svg"));
        EXPECT_EQ(svg, Read(dir.filePath("run.svg")));
        EXPECT_EQ(Read(dir.filePath(QString(s.base) + ".txt")), Read(dir.filePath("run.txt")));
        EXPECT_TRUE(svg.contains(s.drawn));
    }
}

// The page names the table the results came from, whatever --data names.
TEST(Export, ThePageNamesTheTableItShows) {
    QTemporaryDir dir;
    const QString table = Write(dir.filePath("four towns.csv"), "name,1900,1950,2000\nA,10,20,30\nB,5,30,40\nC,3,4,50\nD,1,2,3\n");
    Export(dir.filePath("out"), {"--data", table});  // the later --data is the one read
    const QString page = QString::fromUtf8(Read(dir.filePath("out/index.html")));
    EXPECT_TRUE(page.contains(QLatin1String("four towns.csv")) && !page.contains(QLatin1String("USData.csv"))) << page.left(600).toStdString();
}
