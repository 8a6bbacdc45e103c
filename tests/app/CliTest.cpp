#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Result {
    int status;
    QString out, err;
};

Result RunCitysize(const QStringList& args, const QString& folder) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(CITYSIZE_BINARY), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

const QString RealData = QStringLiteral(CITYSIZE_REAL_DATA);

}  // namespace

TEST(CommandLine, RunWritesPictureAndText) {
    QTemporaryDir dir;
    const QString png = dir.filePath("rank.png"), txt = dir.filePath("out.txt");
    Result r = RunCitysize({"run", "ReadData", "BackMap=Black", "Rank", "--picture", png, "--text", txt}, RealData);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    QImage img(png);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixelColor(5, 5), QColor(0, 0, 0));
    EXPECT_TRUE(QFile::exists(txt));
}

TEST(CommandLine, RefusesHiddenControlsAndMissingData) {
    Result hidden = RunCitysize({"run", "Rank"}, RealData);
    EXPECT_EQ(hidden.status, 1);
    EXPECT_TRUE(hidden.err.contains("Rank")) << hidden.err.toStdString();
    EXPECT_TRUE(hidden.err.contains("not offered")) << hidden.err.toStdString();

    QTemporaryDir empty;
    Result missing = RunCitysize({"run", "--data", empty.path(), "ReadData"}, empty.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("USData.csv")) << missing.err.toStdString();

    Result list = RunCitysize({"run", "ReadData", "BackMap=Purple"}, RealData);
    EXPECT_EQ(list.status, 1);
    EXPECT_TRUE(list.err.contains("Purple"));
}

TEST(CommandLine, HelpVersionAndBadOptions) {
    Result help = RunCitysize({"--help"}, RealData);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("citysize run"));
    Result version = RunCitysize({"--version"}, RealData);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("citysize "));
    EXPECT_EQ(RunCitysize({"run", "--picture"}, RealData).status, 2);
    EXPECT_EQ(RunCitysize({"--frobnicate"}, RealData).status, 2);
}
