// Markov, SpatialMarkov and MoranGrowth from the command line: the options as typed, the
// CSV files beside each other, refusals with the option named.
#include "AppKit.h"

namespace {

const QString Pysal = QStringLiteral(CITYSIZE_TEST_DATA "/pysal/");

QString Text(const QString& path) { return QString::fromUtf8(Read(path)); }

TEST(MarkovCommandLine, CsvWritesEachTableBesideTheFirst) {
    QTemporaryDir dir;
    const Result r = RunCitysize({"run", "--data", Pysal + "usjoin.csv", "--id", "-", "--classes", "5", "ReadData",
                                  "Markov", "--csv", dir.filePath("F.csv")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(Text(dir.filePath("F.csv")).startsWith("Class,n,P1,P2,P3,P4,P5,Steady,Sojourn"));
    EXPECT_TRUE(Text(dir.filePath("F-2.csv")).startsWith("Class,T1,T2,T3,T4,T5"));
    EXPECT_TRUE(Text(dir.filePath("F-3.csv")).contains("Shorrocks,0.1975899200099"));  // giddy: 0.19758992000997844
    EXPECT_FALSE(QFile::exists(dir.filePath("F-4.csv")));

    const Result s = RunCitysize({"run", "--data", Pysal + "usjoin.csv", "--id", "-", "--weights", Pysal + "states48.gal",
                                  "ReadData", "SpatialMarkov", "--csv", dir.filePath("S.csv")});
    ASSERT_EQ(s.status, 0) << s.err.toStdString();
    EXPECT_TRUE(Text(dir.filePath("S.csv")).startsWith("Lag,Class,n,P1,P2,P3,P4,P5"));
    EXPECT_TRUE(Text(dir.filePath("S-2.csv")).contains("Q_df,60"));  // giddy's dof_hom
}

// --neighbours K: six places along the parallel 10 N, their nearest neighbours by longitude
// (1, 2, 3.5, 5.8, 20, 21.5 degrees). Moran's I of growth 2000-2010 recomputed with numpy from
// the README's definition, great-circle kNN and row-standardised weights:
//   g = 100 * log(p1 / p0) / 10; z = g - g.mean(); I = n / W.sum() * z @ W @ z / (z @ z)
// gives -0.035767743732742815 for K = 1 and -0.13318839227594137 for K = 2.
TEST(MarkovCommandLine, NeighboursAndClassesChangeTheTables) {
    QTemporaryDir dir;
    const QString table = Write(dir.filePath("t.csv"), "name,lat,lon,2000,2010\nA,10,1,1000,1100\nB,10,2,2000,2300\n"
                                "C,10,3.5,3000,3100\nD,10,5.8,4000,4000\nE,10,20,5000,7000\nF,10,21.5,6000,6600\n");
    for (const auto& [k, moran] : {std::pair{"1", -0.035767743732742815}, std::pair{"2", -0.13318839227594137}}) {
        const Result r = RunCitysize({"run", "--data", table, "--neighbours", k, "ReadData", "MoranGrowth", "--csv",
                                      dir.filePath("m.csv")});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QStringList row = Text(dir.filePath("m.csv")).split(QStringLiteral("\n")).value(1).split(',');
        ASSERT_GE(row.size(), 4) << k;
        EXPECT_EQ(row[2], QStringLiteral("6")) << k;
        EXPECT_NEAR(row[3].toDouble(), moran, 1e-6) << k;
    }
    const Result r = RunCitysize({"run", "--data", Pysal + "usjoin.csv", "--id", "-", "--classes", "3", "ReadData", "Markov",
                                  "--csv", dir.filePath("c.csv")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(Text(dir.filePath("c.csv")).startsWith("Class,n,P1,P2,P3,Steady,Sojourn\r\n1,"));
}

TEST(MarkovCommandLine, RefusesBadValuesNamingTheOption) {
    for (const QStringList& bad : {QStringList{"--neighbours", "0"}, QStringList{"--classes", "one"}}) {
        const Result r = RunCitysize(QStringList{"run", "--data", Pysal + "usjoin.csv"} + bad + QStringList{"ReadData", "Markov"});
        EXPECT_NE(r.status, 0);
        EXPECT_TRUE(r.err.contains(bad[0])) << r.err.toStdString();
    }
}

}  // namespace
