// Each option of `citysize --help` changes what is written, shown on small tables whose
// expected output is read off the table by hand (the --places file lists name, group, ID,
// latitude, longitude and one population per date, as the program understood the table).
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "RunCitysize.h"
#include "TestForm.h"

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

using Rows = std::vector<std::vector<std::string>>;

Rows SplitCsv(const std::string& text) {
    Rows rows;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            rows.emplace_back();
            std::string cell;
            for (char k : line) {
                if (k == ',') rows.back().push_back(cell), cell.clear();
                else cell += k;
            }
            rows.back().push_back(cell);
            line.clear();
        } else {
            line += c;
        }
    }
    return rows;
}

struct Case {
    const char* what;
    const char* table;  // written to t.csv; null: the file is named in args
    QStringList args;   // before ReadData
    Rows expected;      // the whole --places file, header first
};

}  // namespace

TEST(CliOptions, ReaderOptionsShapeThePlacesFile) {
    const std::vector<Case> cases = {
        {"--name: the names from another column", Towns, {"--name", "alias", "--group", "-", "--id", "-"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950", "2000"},
          {"Alpha", "", "", "", "", "100", "200", "300"},
          {"Beta", "", "", "", "", "50", "60", "70"},
          {"Gamma", "", "", "", "", "10", "20", "30"}}},
        {"--group and --id: the chosen columns", Towns, {"--group", "region", "--id", "other"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950", "2000"},
          {"A", "R1", "9", "", "", "100", "200", "300"},
          {"B", "R2", "8", "", "", "50", "60", "70"},
          {"C", "R2", "7", "", "", "10", "20", "30"}}},
        {"--dates: only the dates named", Towns, {"--dates", "2000,1900", "--group", "-", "--id", "-"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "2000"},
          {"A", "", "", "", "", "100", "300"},
          {"B", "", "", "", "", "50", "70"},
          {"C", "", "", "", "", "10", "30"}}},
        {"--unit: every population times the unit", Towns, {"--unit", "1000", "--group", "-", "--id", "-"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950", "2000"},
          {"A", "", "", "", "", "100000", "200000", "300000"},
          {"B", "", "", "", "", "50000", "60000", "70000"},
          {"C", "", "", "", "", "10000", "20000", "30000"}}},
        // B is second at every date: --top 1 keeps A alone, --top 2 A and B.
        {"--top 1: the largest place alone", Towns, {"--top", "1", "--group", "-", "--id", "-"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950", "2000"},
          {"A", "", "", "", "", "100", "200", "300"}}},
        {"--top 2", Towns, {"--top", "2", "--group", "-", "--id", "-"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950", "2000"},
          {"A", "", "", "", "", "100", "200", "300"},
          {"B", "", "", "", "", "50", "60", "70"}}},
        {"--lat and --lon: positions from the columns named", Towns,
         {"--lat", "north", "--lon", "east", "--group", "-", "--id", "-"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950", "2000"},
          {"A", "", "", "40", "-75", "100", "200", "300"},
          {"B", "", "", "41", "-80", "50", "60", "70"},
          {"C", "", "", "42", "-81", "10", "20", "30"}}},
        {"--layout long with --year and --population", LongTowns,
         {"--layout", "long", "--year", "when", "--population", "people"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950"},
          {"A", "", "", "", "", "10", "20"},
          {"B", "", "", "", "", "7", "9"}}},
        {"--population: another column of the long table", LongTowns,
         {"--layout", "long", "--year", "when", "--population", "extra"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950"},
          {"A", "", "", "", "", "5", "6"},
          {"B", "", "", "", "", "8", "9"}}},
        // Without a header the first row is a place and the dates are USData.csv's.
        {"--layout plain: the header is read as a place", Headed, {"--layout", "plain"},
         {{"name", "group", "id", "latitude", "longitude", "1790", "1800"},
          {"name", "", "", "", "", "1900", "1950"},
          {"A", "", "", "", "", "10", "20"}}},
        {"--layout wide: the same table with its header", Headed, {"--layout", "wide"},
         {{"name", "group", "id", "latitude", "longitude", "1900", "1950"}, {"A", "", "", "", "", "10", "20"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        QFile f(dir.filePath("t.csv"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(c.table) > 0);
        f.close();
        const Result r =
            RunCitysize(QStringList{"run", "--data", dir.filePath("t.csv")} + c.args + QStringList{"ReadData", "--places", "p.csv"},
                        dir.path());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(SplitCsv(FileBytes(dir.filePath("p.csv").toStdString())), c.expected);
    }
}

// A workbook's sheet and a GIS file's layer, by name or number; one that is not there is named
// with those that are (book.xlsx: About, then Cities with 150 places; places.gpkg: cities).
TEST(CliOptions, SheetAndLayer) {
    struct Pick {
        const char* file;
        QStringList args;
        int places;          // 0: refused
        const char* message;  // in the refusal
    };
    const std::vector<Pick> picks = {
        {"book.xlsx", {}, 150, ""},
        {"book.xlsx", {"--sheet", "Cities"}, 150, ""},
        {"book.xlsx", {"--sheet", "2"}, 150, ""},
        {"book.xlsx", {"--sheet", "About"}, 0, "date"},
        {"book.xlsx", {"--sheet", "Nope"}, 0, "there is no sheet \"Nope\" (the sheets are About, Cities)"},
        {"places.gpkg", {"--layer", "cities"}, 150, ""},
        {"places.gpkg", {"--layer", "towns"}, 0, "there is no layer \"towns\" (the layers are cities)"},
    };
    for (const Pick& p : picks) {
        SCOPED_TRACE(std::string(p.file) + " " + p.args.join(' ').toStdString());
        QTemporaryDir dir;
        const Result r = RunCitysize(QStringList{"run", "--data", TestData + "/import/" + p.file} + p.args +
                                         QStringList{"ReadData", "--places", "p.csv"},
                                     dir.path());
        if (p.places == 0) {
            EXPECT_EQ(r.status, 1);
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(p.message))) << r.err.toStdString();
            EXPECT_FALSE(QFile::exists(dir.filePath("p.csv")));
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(SplitCsv(FileBytes(dir.filePath("p.csv").toStdString())).size(), static_cast<std::size_t>(p.places + 1));
    }
}

// --scale sizes the PNG; --frame-ms is each frame's delay in the animation's fcTL chunks
// (delay_num / delay_den seconds, bytes 20-23 of the chunk's data, big-endian).
TEST(CliOptions, ScaleAndFrameLength) {
    QTemporaryDir dir;
    ASSERT_EQ(RunCitysize({"run", "ReadData", "Rank", "--scale", "2", "--picture", "big.png"}, dir.path()).status, 0);
    EXPECT_EQ(QImage(dir.filePath("big.png")).size(), QSize(1200, 1200));
    for (int ms : {250, 800}) {
        QStringList args{"run", "ReadData", "Rank", "--animate", "a.png"};
        if (ms != 800) args += {"--frame-ms", QString::number(ms)};  // 800 is the default
        ASSERT_EQ(RunCitysize(args, dir.path()).status, 0);
        const std::string png = FileBytes(dir.filePath("a.png").toStdString());
        int frames = 0;
        for (std::size_t at = png.find("fcTL"); at != std::string::npos; at = png.find("fcTL", at + 4), ++frames) {
            const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(png[at + 4 + k]); };
            const unsigned num = byte(20) << 8 | byte(21), den = byte(22) << 8 | byte(23);
            EXPECT_EQ(num * 1000 / (den ? den : 100), static_cast<unsigned>(ms));
        }
        EXPECT_EQ(frames, 22);  // one per census of USData.csv
    }
}

// The analyses' options: the bootstrap's size and seed, the kernel's bandwidth and the
// fewest places of a tail, each seen in the text the command writes.
TEST(CliOptions, AnalysisOptionsShowInTheText) {
    const QString places = RealData + QStringLiteral("/us-places-1790-2010.csv");
    QTemporaryDir dir;
    auto text = [&](const QStringList& args) {
        const Result r = RunCitysize(QStringList{"run", "--data", places} + args + QStringList{"--text", "t.txt"}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return QString::fromStdString(FileBytes(dir.filePath("t.txt").toStdString()));
    };
    const QString fixed = text({"--replicates", "0", "--bandwidth", "0.5", "ReadData", "Growth", "Dates=1990", "GrowthPlot"});
    EXPECT_TRUE(fixed.contains(QLatin1String("h 0.5000; no bootstrap"))) << fixed.left(300).toStdString();
    const QString rule = text({"--replicates", "0", "ReadData", "Growth", "Dates=1990", "GrowthPlot"});
    EXPECT_FALSE(rule.contains(QLatin1String("h 0.5000"))) << rule.left(300).toStdString();
    // The bootstrap bands: the same seed gives the same text, another seed another.
    const QStringList bands{"--replicates", "20", "ReadData", "Growth", "Dates=1990", "GrowthPlot"};
    const QString seed1 = text(QStringList{"--seed", "1"} + bands), again = text(QStringList{"--seed", "1"} + bands);
    const QString seed2 = text(QStringList{"--seed", "2"} + bands);
    EXPECT_EQ(seed1, again);
    EXPECT_NE(seed1, seed2);
    EXPECT_FALSE(seed1.contains(QLatin1String("no bootstrap")));
    // 1790 has 28 places: a tail of at least 50 cannot be fitted there, and the row says so.
    const QString fitted = dir.filePath(QStringLiteral("min-tail.txt"));
    const Result r = RunCitysize({"run", "--data", places, "--replicates", "0", "--min-tail", "50", "ReadData", "TailFit",
                                  "--text", fitted}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QString::fromStdString(FileBytes(fitted.toStdString()))
                    .contains(QLatin1String("Not fitted: 1790: 28 places present, fewer than the 50 a tail needs")));
}

// --outline draws the lines of a vector file on the map (a triangle between three of the places
// adds its segments to the SVG); export --background black draws every picture on black.
TEST(CliOptions, OutlineAndBackground) {
    QTemporaryDir dir;
    const QString five = TestData + QStringLiteral("/map/five.csv");
    QFile box(dir.filePath(QStringLiteral("triangle.geojson")));
    ASSERT_TRUE(box.open(QIODevice::WriteOnly));
    box.write(R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},"geometry":)"
              R"({"type":"LineString","coordinates":[[-74,40.7],[-87.6,41.9],[-80.2,25.8],[-74,40.7]]}}]})");
    box.close();
    auto svg = [&](const QStringList& extra, const QString& name) {
        const QString path = dir.filePath(name);
        const Result r = RunCitysize(QStringList{"run", "--data", five} + extra + QStringList{"ReadData", "Map", "--picture", path});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return QString::fromStdString(FileBytes(path.toStdString()));
    };
    const QString plain = svg({}, QStringLiteral("plain.svg"));
    const QString outlined = svg({"--outline", box.fileName()}, QStringLiteral("outlined.svg"));
    EXPECT_GT(outlined.count(QStringLiteral("<path")) + outlined.count(QStringLiteral("<polyline")),
              plain.count(QStringLiteral("<path")) + plain.count(QStringLiteral("<polyline")));

    const QString out = dir.filePath(QStringLiteral("tour"));
    const Result r = RunCitysize({"export", out, "--data", five, "--background", "black"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QImage rank(out + QStringLiteral("/01-Rank.png"));
    ASSERT_FALSE(rank.isNull());
    EXPECT_EQ(rank.pixelColor(2, 2), QColor(Qt::black));
}

// --min-places: By-Group's rows are the groups with at least that many places present at a
// date (Towns: state X has A alone, Y has B and C, at each of the three dates).
TEST(CliOptions, MinPlacesChoosesByGroupsRows) {
    QTemporaryDir dir;
    QFile f(dir.filePath("t.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(Towns) > 0);
    f.close();
    for (const auto& [n, groups] : std::vector<std::pair<const char*, std::string>>{{"1", "XXXYYY"}, {"2", "YYY"}}) {
        const Result r = RunCitysize({"run", "--data", "t.csv", "--min-places", n, "ReadData", "ByGroup", "--csv", "b.csv"}, dir.path());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        std::string seen;
        for (const auto& row : SplitCsv(FileBytes(dir.filePath("b.csv").toStdString())))
            if (row.size() > 2 && row[0] != "Group") seen += row[0];
        EXPECT_EQ(seen, groups) << n;
    }
    const Result none = RunCitysize({"run", "--data", "t.csv", "--min-places", "3", "ReadData", "ByGroup"}, dir.path());
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains("no group has 3 places present")) << none.err.toStdString();
}
