// GDAL and the libraries it brings are loaded by a run that reads a workbook or draws a map,
// and by no other: the dynamic loader's own log (LD_DEBUG=files) lists every library loaded.
#include "AppKit.h"
#include <QProcessEnvironment>

namespace {

QString LoaderLog(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QStringLiteral(CITYSIZE_REAL_DATA));
    p.start(QStringLiteral(CITYSIZE_BINARY), args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << QString::fromUtf8(p.readAllStandardError()).right(400).toStdString();
    return QString::fromUtf8(p.readAllStandardError());
}

}  // namespace

TEST(GdalOnDemand, LoadedOnlyForWorkbooksLayersAndMaps) {
    const QString places = QStringLiteral(CITYSIZE_REAL_DATA) + QStringLiteral("/us-places-1790-2010.csv");
    const QString book = QStringLiteral(CITYSIZE_TEST_DATA) + QStringLiteral("/import/book.xlsx");
    const struct { QStringList args; bool gdal; } runs[] = {
        {{"run", "ReadData", "Rank", "DataProperties"}, false},
        {{"run", "--data", places, "ReadData", "Zipf"}, false},
        {{"run", "--data", places, "ReadData", "Map"}, true},
        {{"run", "--data", book, "ReadData"}, true},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.args.join(' ').toStdString());
        const QString log = LoaderLog(r.args);
        EXPECT_EQ(log.contains(QLatin1String("libcitysize_gdal.so")), r.gdal);
        EXPECT_EQ(log.contains(QLatin1String("libgdal.so")), r.gdal);
    }
}
