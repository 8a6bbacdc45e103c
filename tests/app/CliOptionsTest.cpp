// Each option of `citysize --help` changes what is written; expected files read off the small
// tables by hand (--places: name, group, ID, latitude, longitude, one population per date).
#include "AppKit.h"

namespace {

const QString RealData = QStringLiteral(CITYSIZE_REAL_DATA);
const QString TestData = QStringLiteral(CITYSIZE_TEST_DATA);

// Places in towns, with two name-like columns, a state and a region, two ID-like columns,
// positions under names no detector knows, and three censuses.
const char* const Towns =
    "town,alias,state,region,code,other,north,east,1900,1950,2000\n"
    "A,Alpha,X,R1,1,9,40,-75,100,200,300\n"
    "B,Beta,Y,R2,2,8,41,-80,50,60,70\n"
    "C,Gamma,Y,R2,3,7,42,-81,10,20,30\n";
// A long table whose year and population columns have names no detector knows.
const char* const LongTowns = "place,when,people,extra\nA,1900,10,5\nA,1950,20,6\nB,1900,7,8\nB,1950,9,9\n";
// A wide table read as if it had no header.
const char* const Headed = "name,1900,1950\nA,10,20\n";

// What is shown, the table written to t.csv, the options before ReadData, the whole --places file.
struct Case { const char* what; const char* table; QStringList args; const char* places; };

// The lines of a CSV file, each split at its commas (no cell here holds one).
std::vector<QStringList> Rows(const QString& path) {
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromUtf8(Read(path)).split('\n', Qt::SkipEmptyParts)) rows.push_back(line.split(','));
    return rows;
}

}  // namespace

TEST(CliOptions, ReaderOptionsShapeThePlacesFile) {
    const QStringList noGroupId{"--group", "-", "--id", "-"};
    const std::vector<Case> cases = {
        {"--name: the names from another column", Towns, QStringList{"--name", "alias"} + noGroupId,
         "name,group,id,latitude,longitude,1900,1950,2000\nAlpha,,,,,100,200,300\nBeta,,,,,50,60,70\nGamma,,,,,10,20,30\n"},
        {"--group and --id: the chosen columns", Towns, {"--group", "region", "--id", "other"},
         "name,group,id,latitude,longitude,1900,1950,2000\nA,R1,9,,,100,200,300\nB,R2,8,,,50,60,70\nC,R2,7,,,10,20,30\n"},
        {"--dates: only the dates named", Towns, QStringList{"--dates", "2000,1900"} + noGroupId,
         "name,group,id,latitude,longitude,1900,2000\nA,,,,,100,300\nB,,,,,50,70\nC,,,,,10,30\n"},
        {"--unit: every population times the unit", Towns, QStringList{"--unit", "1000"} + noGroupId,
         "name,group,id,latitude,longitude,1900,1950,2000\nA,,,,,100000,200000,300000\nB,,,,,50000,60000,70000\n"
         "C,,,,,10000,20000,30000\n"},
        // B is second at every date: --top 1 keeps A alone, --top 2 A and B.
        {"--top 1", Towns, QStringList{"--top", "1"} + noGroupId, "name,group,id,latitude,longitude,1900,1950,2000\nA,,,,,100,200,300\n"},
        {"--top 2", Towns, QStringList{"--top", "2"} + noGroupId,
         "name,group,id,latitude,longitude,1900,1950,2000\nA,,,,,100,200,300\nB,,,,,50,60,70\n"},
        {"--lat and --lon: positions from the columns named", Towns, QStringList{"--lat", "north", "--lon", "east"} + noGroupId,
         "name,group,id,latitude,longitude,1900,1950,2000\nA,,,40,-75,100,200,300\nB,,,41,-80,50,60,70\nC,,,42,-81,10,20,30\n"},
        {"--layout long with --year and --population", LongTowns, {"--layout", "long", "--year", "when", "--population", "people"},
         "name,group,id,latitude,longitude,1900,1950\nA,,,,,10,20\nB,,,,,7,9\n"},
        {"--population: another column", LongTowns, {"--layout", "long", "--year", "when", "--population", "extra"},
         "name,group,id,latitude,longitude,1900,1950\nA,,,,,5,6\nB,,,,,8,9\n"},
        // Without a header the first row is a place and the dates are USData.csv's.
        {"--layout plain: the header is read as a place", Headed, {"--layout", "plain"},
         "name,group,id,latitude,longitude,1790,1800\nname,,,,,1900,1950\nA,,,,,10,20\n"},
        {"--layout wide", Headed, {"--layout", "wide"}, "name,group,id,latitude,longitude,1900,1950\nA,,,,,10,20\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString table = Write(dir.filePath("t.csv"), c.table);
        const Result r = RunCitysize(QStringList{"run", "--data", table} + c.args + QStringList{"ReadData", "--places", "p.csv"}, dir.path());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(Read(dir.filePath("p.csv")), QByteArray(c.places));
    }
}

// A workbook's sheet and a GIS file's layer, by name or number; one that is not there is named
// with those that are (book.xlsx: About, then Cities with 150 places; places.gpkg: cities).
TEST(CliOptions, SheetAndLayer) {
    const struct { const char* file; QStringList args; int places; const char* message; } picks[] = {  // 0: refused
        {"book.xlsx", {}, 150, ""},
        {"book.xlsx", {"--sheet", "Cities"}, 150, ""},
        {"book.xlsx", {"--sheet", "2"}, 150, ""},
        {"book.xlsx", {"--sheet", "About"}, 0, "date"},
        {"book.xlsx", {"--sheet", "Nope"}, 0, "there is no sheet \"Nope\" (the sheets are About, Cities)"},
        {"places.gpkg", {"--layer", "cities"}, 150, ""},
        {"places.gpkg", {"--layer", "towns"}, 0, "there is no layer \"towns\" (the layers are cities)"},
    };
    for (const auto& p : picks) {
        SCOPED_TRACE(std::string(p.file) + " " + p.args.join(' ').toStdString());
        QTemporaryDir dir;
        const Result r = RunCitysize(QStringList{"run", "--data", TestData + "/import/" + p.file} + p.args +
                                         QStringList{"ReadData", "--places", "p.csv"}, dir.path());
        EXPECT_EQ(r.status, p.places ? 0 : 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(p.message))) << r.err.toStdString();
        EXPECT_EQ(Rows(dir.filePath("p.csv")).size(), p.places ? p.places + 1u : 0u);  // no file when refused
    }
}

// --frame-ms is each frame's delay in the animation's fcTL chunks (delay_num / delay_den
// seconds, bytes 20-23 of the chunk's data, big-endian); 800 when not given.
TEST(CliOptions, FrameLength) {
    QTemporaryDir dir;
    for (int ms : {250, 800}) {
        QStringList args{"run", "ReadData", "Rank", "--animate", "a.png"};
        if (ms != 800) args += {"--frame-ms", QString::number(ms)};
        ASSERT_EQ(RunCitysize(args, dir.path()).status, 0);
        const QByteArray png = Read(dir.filePath("a.png"));
        int frames = 0;
        for (qsizetype at = png.indexOf("fcTL"); at >= 0; at = png.indexOf("fcTL", at + 4), ++frames) {
            const auto byte = [&](int k) { return static_cast<unsigned char>(png[at + 4 + k]); };
            const unsigned num = byte(20) << 8 | byte(21), den = byte(22) << 8 | byte(23);
            EXPECT_EQ(num * 1000 / (den ? den : 100), static_cast<unsigned>(ms));
        }
        EXPECT_EQ(frames, 22);  // one per census of USData.csv
    }
}

// The analyses' options: the bootstrap's size and seed, the kernel's bandwidth and the
// fewest places of a tail, each seen in the text the command writes.
TEST(CliOptions, AnalysisOptionsShowInTheText) {
    QTemporaryDir dir;
    auto text = [&](const QStringList& args) {
        const Result r = RunCitysize(QStringList{"run", "--data", RealData + "/us-places-1790-2010.csv"} + args +
                                         QStringList{"--text", "t.txt"}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return QString::fromUtf8(Read(dir.filePath("t.txt")));
    };
    const QStringList plot{"ReadData", "Growth", "Dates=1990", "GrowthPlot"};
    EXPECT_TRUE(text(QStringList{"--replicates", "0", "--bandwidth", "0.5"} + plot).contains("h 0.5000; no bootstrap"));
    EXPECT_FALSE(text(QStringList{"--replicates", "0"} + plot).contains("h 0.5000"));
    // The bootstrap bands: the same seed gives the same text, another seed another.
    const QString seed1 = text(QStringList{"--seed", "1", "--replicates", "20"} + plot);
    EXPECT_EQ(seed1, text(QStringList{"--seed", "1", "--replicates", "20"} + plot));
    EXPECT_NE(seed1, text(QStringList{"--seed", "2", "--replicates", "20"} + plot));
    EXPECT_FALSE(seed1.contains("no bootstrap"));
    // 1790 has 28 places: a tail of at least 50 cannot be fitted there, and the row says so.
    EXPECT_TRUE(text({"--replicates", "0", "--min-tail", "50", "ReadData", "TailFit"})
                    .contains("Not fitted: 1790: 28 places present, fewer than the 50 a tail needs"));
}

// --outline draws the lines of a vector file on the map (a triangle between three of the places
// adds its segments to the SVG); export --background black draws every picture on black.
TEST(CliOptions, OutlineAndBackground) {
    QTemporaryDir dir;
    const QString five = TestData + QStringLiteral("/map/five.csv");
    const QString box = Write(dir.filePath("triangle.geojson"),
        R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},"geometry":)"
        R"({"type":"LineString","coordinates":[[-74,40.7],[-87.6,41.9],[-80.2,25.8],[-74,40.7]]}}]})");
    auto lines = [&](const QStringList& extra) {
        const QString path = dir.filePath("map.svg");
        const Result r = RunCitysize(QStringList{"run", "--data", five} + extra + QStringList{"ReadData", "Map", "--picture", path});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        const QByteArray svg = Read(path);
        return svg.count("<path") + svg.count("<polyline");
    };
    EXPECT_GT(lines({"--outline", box}), lines({}));

    const QString out = dir.filePath(QStringLiteral("tour"));
    const Result r = RunCitysize({"export", out, "--data", five, "--background", "black"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out + QStringLiteral("/01-Rank.png")).pixelColor(2, 2), QColor(Qt::black));
}

// --min-places: By-Group's rows are the groups with at least that many places present at a
// date (Towns: state X has A alone, Y has B and C, at each of the three dates).
TEST(CliOptions, MinPlacesChoosesByGroupsRows) {
    QTemporaryDir dir;
    Write(dir.filePath("t.csv"), Towns);
    for (const auto& [n, groups] : std::vector<std::pair<const char*, QString>>{{"1", "XXXYYY"}, {"2", "YYY"}}) {
        const Result r = RunCitysize({"run", "--data", "t.csv", "--min-places", n, "ReadData", "ByGroup", "--csv", "b.csv"}, dir.path());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        QString seen;
        for (const QStringList& row : Rows(dir.filePath("b.csv")))
            if (row.size() > 2 && row[0] != "Group") seen += row[0];
        EXPECT_EQ(seen, groups) << n;
    }
    const Result none = RunCitysize({"run", "--data", "t.csv", "--min-places", "3", "ReadData", "ByGroup"}, dir.path());
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains("no group has 3 places present")) << none.err.toStdString();
}
