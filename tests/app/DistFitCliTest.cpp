// Dist-Fit from the command line: its two CSV tables, one group with --in (dates too small for
// a fit print "-" and the others still fit), and Dist-Plot of a chosen date.
#include "AppKit.h"

namespace {

QStringList Lines(const QString& path) { return QString::fromUtf8(Read(path)).split('\n', Qt::SkipEmptyParts); }

// The CSV row of `year` and `model` (model empty: the row of the year).
QStringList Row(const QStringList& lines, const QString& year, const QString& model = {}) {
    for (const QString& l : lines) {
        const QStringList cells = l.trimmed().split(QLatin1Char(','));
        if (cells.value(0) == year && (model.isEmpty() || cells.value(1) == model)) return cells;
    }
    return {};
}

}  // namespace

TEST(DistFitCli, OneGroupsTablesAndPlot) {
    QTemporaryDir dir;
    const QString real = QStringLiteral(CITYSIZE_REAL_DATA);
    const QString csv = dir.filePath(QStringLiteral("F.csv")), png = dir.filePath(QStringLiteral("plot.png"));
    const Result r = RunCitysize({"run", "--data", real + "/us-places-1790-2010.csv", "--in", "TX", "ReadData", "DistFit",
                                  "Dates=2010", "DistPlot", "--csv", csv, "--picture", png});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList fits = Lines(csv), tests = Lines(dir.filePath(QStringLiteral("F-2.csv")));
    ASSERT_FALSE(fits.isEmpty());
    EXPECT_EQ(fits[0].trimmed(), QStringLiteral("Year,Model,n,k,logL,AIC,BIC,KS,mu,sigma,alpha,beta,switch"));
    ASSERT_FALSE(tests.isEmpty());
    EXPECT_EQ(tests[0].trimmed(), QStringLiteral("Year,n,Best,Vuong_z,Vuong_p,x_min,n_tail,GI_q,GI_stat,GI_reject"));
    // Texas places present, counted in the raw file with python's csv module: 8 in 1870,
    // 20 in 1880, 508 in 2010.
    EXPECT_EQ(Row(fits, "1870", "dpln"), (QStringList{"1870", "dpln", "8", "4", "-", "-", "-", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(Row(tests, "1870").value(2), QStringLiteral("-"));
    EXPECT_EQ(Row(fits, "1880", "dpln").value(2), QStringLiteral("20"));
    EXPECT_NE(Row(fits, "1880", "dpln").value(4), QStringLiteral("-"));
    const QStringList y2010 = Row(tests, "2010");
    EXPECT_EQ(y2010.value(1), QStringLiteral("508"));
    EXPECT_TRUE(y2010.value(9) == QStringLiteral("yes") || y2010.value(9) == QStringLiteral("no"));
    EXPECT_FALSE(QImage(png).isNull());
}
