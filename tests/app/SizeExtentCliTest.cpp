// --size and --extent on the command line: the files written take the size, refusals name the
// value, and the extent changes what the map shows.
#include "AppKit.h"

static const QString RealData = QStringLiteral(CITYSIZE_REAL_DATA);
static const QString Five = QStringLiteral(CITYSIZE_TEST_DATA "/map/five.csv");

TEST(SizeOption, PicturesFramesAndTheExportTakeTheSize) {
    QTemporaryDir dir;
    const struct { QStringList args; QString file; QSize size; } cases[] = {
        {{"run", "ReadData", "Rank", "--size", "800x500", "--picture", dir.filePath("rank.png")}, "rank.png", {800, 500}},
        {{"run", "ReadData", "RankSpirel1", "--size=300x700", "--scale", "2", "--picture", dir.filePath("s.png")},
         "s.png", {600, 1400}},
        {{"run", "ReadData", "Rank", "--size", "700x400", "--frames", dir.filePath("frames")}, "frames/frame-01.png", {700, 400}},
        {{"run", "--data", Five, "ReadData", "Map", "--size", "640x480", "--animate", dir.filePath("map.png")}, "map.png",
         {640, 480}},
    };
    for (const auto& c : cases) {
        const Result r = RunCitysize(c.args, RealData);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(QImage(dir.filePath(c.file)).size(), c.size) << c.file.toStdString();
    }
    // The SVG says its size too.
    ASSERT_EQ(RunCitysize({"run", "ReadData", "Zipf", "--size", "1000x300", "--picture", dir.filePath("z.svg")}, RealData).status, 0);
    EXPECT_TRUE(Read(dir.filePath("z.svg")).contains("width=\"1000\" height=\"300\""));

    const QString out = dir.filePath("export");
    // Five places fail the tail fits (status 1); the pictures are written all the same.
    RunCitysize({"export", out, "--data", Five, "--size", "320x240"});
    EXPECT_EQ(QImage(out + "/01-Rank.png").size(), QSize(320, 240));
    EXPECT_TRUE(Read(out + "/index.html").contains("width=\"320\" height=\"240\""));
}

TEST(SizeOption, RefusalsNameTheValue) {
    const struct { QStringList args; QString named; } cases[] = {
        {{"run", "ReadData", "Rank", "--size", "0x600"}, "\"0x600\""},
        {{"run", "ReadData", "Rank", "--size", "8001x600"}, "\"8001x600\""},
        {{"run", "ReadData", "Rank", "--size", "big"}, "\"big\""},
        {{"export", "out", "--size", "600x9000"}, "\"600x9000\""},
        {{"run", "ReadData", "Map", "--extent=-181,0,10,10"}, "W = -181 lies beyond +-180"},  // the rest: MapViewTest
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const Result r = RunCitysize(c.args, dir.path());
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty()) << "nothing written";
}

// The Northeast's box leaves out three of the five discs (Los Angeles, Miami, Anchorage); a box
// whose edge runs just east of Chicago cuts its disc, so the SVG clips it.
TEST(ExtentOption, TheMapShowsTheBox) {
    QTemporaryDir dir;
    auto discs = [&](const QStringList& extra) {
        const QString svg = dir.filePath("map.svg");
        const Result r = RunCitysize(QStringList{"run", "--data", Five, "ReadData", "Map", "--picture", svg} + extra);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        const QByteArray text = Read(svg);
        return std::make_pair(text.count("<circle"), text.contains("clip-path=\"url(#zoom)\""));
    };
    const auto all = discs({});
    const auto box = discs({"--extent", "-90,38,-70,45"});
    EXPECT_EQ(all.first - box.first, 3) << "three places fewer";
    EXPECT_FALSE(all.second);
    EXPECT_TRUE(discs({"--extent", "-95,40,-87.6,43"}).second);
}
