// The command line's edges: file names typed relative to the current folder, with spaces and
// upper-case extensions; the table's first and last place named with Cities= and --pin.
#include "AppKit.h"
#include <QRegularExpression>
#include "draw/Ticks.h"

namespace {

Result Citysize(const QStringList& args, const QString& folder) {
    return RunCitysize(QStringList{"run", "--data", QStringLiteral(CITYSIZE_REAL_DATA)} + args, folder);
}

// USData.csv's first and last records, read from the file: (name, 1830, 1850).
const char* const First[] = {"Akron, OH", "0", "0"};
const char* const Last[] = {"Zanesville, OH", "3094", "7929"};

}  // namespace

// Names as typed, relative to the working folder, through a folder with a space, the format from
// the extension in any case: each PNG the same 600 x 600 picture on black, the text the window's.
TEST(CommandLineEdges, PictureAndTextFilesAsUsersNameThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("my pictures"));
    QImage first;
    const struct { const char* typed; QByteArray magic; } names[] = {
        {"my pictures/Rank Size.PNG", "\x89PNG"}, {"./my pictures/rank.Svg", "<?xml"}, {"rank.PDF", "%PDF"},
        {"my pictures/../rank 1.5.png", "\x89PNG"}};
    for (const auto& n : names) {
        SCOPED_TRACE(n.typed);
        const Result r = Citysize({"ReadData", "BackMap=Black", "DataProperties", "--picture", n.typed, "--text",
                                   QString(n.typed) + ".TXT"}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        const QString written = QDir(dir.path()).filePath(n.typed);
        EXPECT_TRUE(Read(written).startsWith(n.magic));
        EXPECT_TRUE(Read(written + ".TXT").contains("Total Population"));
        if (n.magic != "\x89PNG") continue;
        const QImage img(written);
        if (first.isNull()) first = img;
        EXPECT_TRUE(img.size() == QSize(600, 600) && img.pixelColor(5, 5) == Qt::black && img == first);
    }
}

// The first and last place are chosen and pinned like any other; a name not in the table is refused.
TEST(CommandLineEdges, TheFirstAndTheLastPlaceByName) {
    QTemporaryDir dir;
    QImage pinned[2];
    for (int k = 0; k < 2; ++k) {
        const char* const* place = k == 0 ? First : Last;
        SCOPED_TRACE(place[0]);
        const QString txt = dir.filePath(QString::number(k) + ".txt"), png = dir.filePath(QString::number(k) + ".png");
        Result r = Citysize({"ReadData", "RankSpirel1", QStringLiteral("Cities=") + place[0], "PlotCity", "--text", txt}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        const QString text = QString::fromUtf8(Read(txt));
        EXPECT_TRUE(text.contains(QLatin1String("   ") + place[0] + "\n")) << text.toStdString();
        for (auto [year, value] : {std::pair{"1830", place[1]}, std::pair{"1850", place[2]}})
            EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n +%1 +\\d+ +%2 \\n").arg(year, value))))
                << year << " " << value;
        r = Citysize({"ReadData", "RankSpirel1", "--pin", place[0], "--picture", png}, dir.path());
        EXPECT_TRUE(r.status == 0 && r.err.isEmpty()) << r.status << r.err.toStdString();
        pinned[k] = QImage(png);
    }
    EXPECT_FALSE(pinned[0].isNull() || pinned[0] == pinned[1]);  // each its own path on top
    const Result r = Citysize({"ReadData", "RankSpirel1", "--pin", "Akron", "--picture", dir.filePath("x.png")}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("no place named \"Akron\"")) << r.err.toStdString();
}

// A chosen city's name stands at the end of the path it draws, inside the picture, also for a
// city absent at the last date (USData.csv's last, Zanesville, present 1830-1850).
TEST(CommandLineEdges, TheChosenCityIsNamedAtTheEndOfItsPath) {
    for (const char* const* place : {First, Last}) {
        auto f = FormWithRealData();
        f->Click("RankSpirel1");
        f->ChooseText("Cities", place[0]);
        f->Click("PlotCity");
        const auto& ops = f->Picture1.Ops();
        auto last = [&](auto is) { return *std::find_if(ops.rbegin(), ops.rend(), is); };
        const DrawOp end = last([](const DrawOp& op) { return op.kind == OpKind::Line && op.width == 4; });
        const DrawOp name = last([&](const DrawOp& op) { return op.kind == OpKind::Text && op.text == place[0]; });
        EXPECT_TRUE(name.y1 >= 0 && name.y1 + f->Picture1.TextHeight() <= f->Picture1.Height) << place[0] << ": " << name.y1;
        // The nearest point of the name's box to the path's end.
        const float w = static_cast<float>(LabelWidth(name.text, name.fontSize)), h = f->Picture1.TextHeight();
        const float dx = std::max({name.x1 - end.x2, 0.0f, end.x2 - (name.x1 + w)});
        const float dy = std::max({name.y1 - end.y2, 0.0f, end.y2 - (name.y1 + h)});
        EXPECT_LT(std::hypot(dx, dy), 300) << place[0];
    }
}
