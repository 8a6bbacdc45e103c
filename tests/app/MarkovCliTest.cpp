// Markov, SpatialMarkov and MoranGrowth from the command line: the options as typed, the
// CSV files beside each other, refusals with the option named, and a seeded file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RunCitysize.h"

namespace {

const QString Pysal = QStringLiteral(CITYSIZE_TEST_DATA "/pysal/");

QString Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("(missing)");
}

TEST(MarkovCommandLine, CsvWritesEachTableBesideTheFirst) {
    QTemporaryDir dir;
    const Result r = RunCitysize({"run", "--data", Pysal + "usjoin.csv", "--id", "-", "--classes", "5", "ReadData",
                                  "Markov", "--csv", dir.filePath("F.csv")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(Read(dir.filePath("F.csv")).startsWith("Class,n,P1,P2,P3,P4,P5,Steady,Sojourn"));
    EXPECT_TRUE(Read(dir.filePath("F-2.csv")).startsWith("Class,T1,T2,T3,T4,T5"));
    EXPECT_TRUE(Read(dir.filePath("F-3.csv")).contains("Shorrocks,0.1975899200099"));  // giddy: 0.19758992000997844
    EXPECT_FALSE(QFile::exists(dir.filePath("F-4.csv")));

    const Result s = RunCitysize({"run", "--data", Pysal + "usjoin.csv", "--id", "-", "--weights", Pysal + "states48.gal",
                                  "ReadData", "SpatialMarkov", "--csv", dir.filePath("S.csv")});
    ASSERT_EQ(s.status, 0) << s.err.toStdString();
    EXPECT_TRUE(Read(dir.filePath("S.csv")).startsWith("Lag,Class,n,P1,P2,P3,P4,P5"));
    EXPECT_TRUE(Read(dir.filePath("S-2.csv")).contains("Q_df,60"));  // giddy's dof_hom
}

TEST(MarkovCommandLine, RefusesBadValuesNamingTheOption) {
    for (const QStringList& bad : {QStringList{"--neighbours", "0"}, QStringList{"--classes", "one"}}) {
        const Result r = RunCitysize(QStringList{"run", "--data", Pysal + "usjoin.csv"} + bad + QStringList{"ReadData", "Markov"});
        EXPECT_NE(r.status, 0);
        EXPECT_TRUE(r.err.contains(bad[0])) << r.err.toStdString();
    }
}

TEST(MarkovCommandLine, SameSeedSameFile) {
    QTemporaryDir dir;
    const QString data = QStringLiteral(CITYSIZE_REAL_DATA "/us-places-1790-2010.csv");
    for (const char* name : {"a.csv", "b.csv"}) {
        const Result r = RunCitysize({"run", "--data", data, "--seed", "11", "ReadData", "MoranGrowth", "--csv", dir.filePath(name)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    EXPECT_EQ(Read(dir.filePath("a.csv")), Read(dir.filePath("b.csv")));
    EXPECT_TRUE(Read(dir.filePath("a.csv")).startsWith("From,To,n,I,EI,z_norm,p_norm,p_sim"));
}

}  // namespace
