// A run that fails after its time-lapse picture was drawn leaves nothing beside the target:
// no frames, no animation, no hidden temporary folder or file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "AppKit.h"

namespace {

QStringList Listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

}  // namespace

TEST(FramesOnFailure, AFailingStepAfterTheTimeLapseLeavesNothing) {
    // Each fails while running, after Rank-Size (a time-lapse picture) was drawn.
    const QStringList failing[] = {
        {"run", "ReadData", "Rank", "DistPlot"},       // Dist-Plot before any Dist-Fit
        {"run", "ReadData", "Rank", "ForestPlot"},     // a forest plot before By-Group
    };
    for (const QStringList& steps : failing)
        for (const QStringList& output : {QStringList{"--frames", "out/frames"}, QStringList{"--animate", "out/a.png"},
                                          QStringList{"--frames", "frames"}, QStringList{"--animate", "a.png"}}) {
            SCOPED_TRACE((steps + output).join(' ').toStdString());
            QTemporaryDir dir;
            const Result r = RunCitysize(steps + output, dir.path());
            EXPECT_EQ(r.status, 1) << r.err.toStdString();
            EXPECT_FALSE(r.err.isEmpty());
            EXPECT_EQ(Listing(dir.path()), QStringList{}) << Listing(dir.path()).join(' ').toStdString();
        }
}

// Frames whose folder cannot be made (a file of that name is in the way): refused, the file kept.
TEST(FramesOnFailure, AFileInTheWayOfTheFramesIsKeptAndNothingAdded) {
    QTemporaryDir dir;
    QFile in(dir.filePath("f"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write("kept\n");
    in.close();
    const Result r = RunCitysize({"run", "ReadData", "Rank", "--frames", "f"}, dir.path());
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(Listing(dir.path()), QStringList{"f"});
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), QByteArray("kept\n"));
}
