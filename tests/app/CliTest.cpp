#include "AppKit.h"

static const QString RealData = QStringLiteral(CITYSIZE_REAL_DATA);

// The first failing step ends the run with status 1; later steps do not run.
TEST(CommandLine, StopsAtTheFirstFailingStep) {
    Result r = RunCitysize({"run", "ReadData", "Zipf", "Bogus", "Clear", "DataProperties", "Bogus2"}, RealData);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Bogus")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Bogus2")) << r.err.toStdString();
    QTemporaryDir empty;  // a load that fails is a failing step too
    EXPECT_EQ(RunCitysize({"run", "--data", empty.path(), "ReadData"}, empty.path()).status, 1);
}

TEST(CommandLine, HelpVersionAndUsageErrors) {
    Result help = RunCitysize({"--help"}, RealData);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("citysize run"));
    EXPECT_TRUE(RunCitysize({"--version"}, RealData).out.startsWith("citysize "));
    for (const QStringList& bad : {QStringList{"run"}, QStringList{"run", "--picture"}, QStringList{"run", "ReadData", "--scale", "0"},
                                   QStringList{"--frobnicate"}})
        EXPECT_EQ(RunCitysize(bad, RealData).status, 2) << bad.join(' ').toStdString();
}

// --in runs every command on one group's places, over the group's own dates: Texas's first
// census with a place is 1850, with 4 (counted in the CSV's ST column), too few for a tail,
// which the whole table (28 places in 1790) is not. A group the table lacks stops the run.
TEST(CommandLine, InRunsOnOneGroup) {
    const QString data = RealData + QStringLiteral("/us-places-1790-2010.csv");
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("tx.txt"));
    Result r = RunCitysize({"run", "--data", data, "--in", "TX", "--replicates", "0", "ReadData", "TailFit", "--text", text},
                           RealData);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QString::fromStdString(FileBytes(text.toStdString()))
                    .contains(QStringLiteral("Not fitted: 1850: 4 places present, fewer than the 10 a tail needs")));
    r = RunCitysize({"run", "--data", data, "--in", "ZZ", "ReadData", "Rank"}, RealData);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("No place belongs to the group \"ZZ\""))) << r.err.toStdString();
}
