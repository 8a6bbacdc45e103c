// The map and its time-lapse: the animated PNG's frames, the discs' pixels, the shared pin.
#include "AppKit.h"
#include <cstdint>
#include "app/MapActions.h"
#include "core/MapModule.h"

namespace {

const QString Five = QStringLiteral(CITYSIZE_TEST_DATA "/map/five.csv");

// Big-endian 32-bit numbers, as PNG writes them.
quint32 Be32(const QByteArray& a, qsizetype at) { return a.mid(at, 4).toHex().toUInt(nullptr, 16); }
QByteArray Be(quint32 v) { return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0')); }
// PNG chunks read the plain way, outside the writer: length, type, data (the CRC skipped).
struct PngChunk { std::string type; QByteArray data; };
std::vector<PngChunk> Chunks(const QByteArray& file) {
    std::vector<PngChunk> out;
    for (qsizetype at = 8; at + 12 <= file.size();) {
        const qsizetype length = Be32(file, at);
        out.push_back({file.mid(at + 4, 4).toStdString(), file.mid(at + 8, length)});
        at += 12 + length;
    }
    return out;
}
// The CRC-32 of PNG (ISO 3309), bit by bit.
quint32 Crc(const QByteArray& bytes) {
    quint32 c = 0xffffffffu;
    for (char ch : bytes) {
        c ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return c ^ 0xffffffffu;
}
QByteArray Chunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type) + data;
    return Be(quint32(data.size())) + body + Be(Crc(body));
}

const DrawOp& DiscOf(const Form& f, const std::string& name) {
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.series == MapPlaceSeries && f.data->CityName(op.tag.city) == name) return op;
    throw std::runtime_error("no disc for " + name);
}

}  // namespace

// --animate writes every date as a frame, --frames the same as PNG files, a second run the same
// bytes. Checked by hand with Pillow too: Image.open(apng).seek(k) against frame-k.png, no
// ImageChops.difference in all 23 frames of the US places' map.
TEST(MapApp, AnimatedPngHoldsTheFramesOfEachDate) {
    QTemporaryDir dir;
    const QString apng = dir.filePath("map.png"), frames = dir.filePath("frames");
    ASSERT_EQ(RunCitysize({"run", "--data", Five, "ReadData", "Map", "--animate", apng, "--frames", frames, "--frame-ms", "500"}).status, 0);
    const QByteArray bytes = Read(apng);
    // Each frame's area (fcTL: width, height, x, y, delay) and its pixels (IDAT, or fdAT after
    // its sequence number) drawn over the frames before it, as a player composes them.
    QByteArray header;
    std::vector<QImage> shown;
    QImage canvas;
    QRect area;
    for (const auto& c : Chunks(bytes)) {
        if (c.type == "IHDR") header = c.data;
        if (c.type == "acTL") { EXPECT_EQ(Be32(c.data, 0), 3u) << "three dates"; }
        if (c.type == "fcTL") {
            area = QRect(int(Be32(c.data, 12)), int(Be32(c.data, 16)), int(Be32(c.data, 4)), int(Be32(c.data, 8)));
            EXPECT_EQ(c.data.mid(20, 4), QByteArray::fromHex("01f403e8"));  // 500 / 1000 s
        }
        if (c.type == "IDAT" || c.type == "fdAT") {
            const QByteArray ihdr = Be(quint32(area.width())) + Be(quint32(area.height())) + header.mid(8);
            const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) +
                                   Chunk("IDAT", c.type == "IDAT" ? c.data : c.data.mid(4)) + Chunk("IEND", {});
            const QImage part = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(part.size(), area.size());
            if (canvas.isNull()) canvas = part;
            for (int y = 0; y < part.height(); ++y)
                for (int x = 0; x < part.width(); ++x) canvas.setPixel(area.x() + x, area.y() + y, part.pixel(x, y));
            shown.push_back(canvas);
        }
    }
    ASSERT_EQ(shown.size(), 3u);
    const QImage firstFile(frames + "/frame-01.png"), lastFile(frames + "/frame-03.png");
    ASSERT_EQ(shown[0].size(), QSize(600, 600));
    EXPECT_EQ(shown[0], firstFile.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(shown[2], lastFile.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(shown[0], shown[2]);

    const QString again = dir.filePath("again.png");
    ASSERT_EQ(RunCitysize({"run", "--data", Five, "ReadData", "Map", "--animate", again, "--frame-ms", "500"}).status, 0);
    EXPECT_EQ(Read(again), bytes);
    EXPECT_EQ(RunCitysize({"run", "--data", Five, "ReadData", "Zipf", "--animate", again}).status, 1);
}

// Discs in their class colour on both backgrounds (New York grew 0.21 %/yr 2000-2010: the middle
// class, RdBu's near-white 247); a pinned place dims the others.
TEST(MapApp, DiscsArePaintedInTheirColours) {
    for (bool black : {false, true}) {
        auto f = FiveForm();
        if (black) f->ChooseText("BackMap", "Black");
        f->Click("Map");
        const DrawOp& ny = DiscOf(*f, "New York, NY");
        const QPoint centre(qRound(ny.x1 / 15), qRound(ny.y1 / 15));
        QImage image = render::ToImage(f->Picture1);
        EXPECT_EQ(image.pixelColor(centre), QColor(247, 247, 247)) << black;
        EXPECT_EQ(image.pixelColor(2, 2), black ? QColor(0, 0, 0) : QColor(200, 200, 200));
        const int chicago = DiscOf(*f, "Chicago, IL").tag.city;
        image = render::ToImage(f->Picture1, 1.0, chicago);
        const QColor dimmed = image.pixelColor(centre);
        EXPECT_LT(std::abs(dimmed.red() - (black ? 0 : 200)), 247 - (black ? 0 : 200)) << black;
        // The pinned disc itself keeps its class colour (Chicago declined 0.72 % a year).
        const DrawOp& chi = DiscOf(*f, "Chicago, IL");
        const QColor fill(chi.fill & 255, (chi.fill >> 8) & 255, (chi.fill >> 16) & 255);
        EXPECT_EQ(image.pixelColor(qRound(chi.x1 / 15), qRound(chi.y1 / 15)), fill) << black;
        EXPECT_NE(fill, dimmed);
    }
}

// A place pinned on the map is every picture's pin; Save Animation and Add Outline act on the form.
TEST(MapApp, OnePinForTheMapAndTheSpirel) {
    ShownWindow t(Five.toStdString());
    MainWindow& w = t.w;
    w.runCommand("Map");
    ASSERT_TRUE(w.lastError().isEmpty()) << w.lastError().toStdString();
    const DrawOp la = DiscOf(w.form(), "Los Angeles, CA");
    PictureView* view = w.pictureView();
    const QPoint at = t.at(la.x1, la.y1);
    EXPECT_TRUE(view->describeAt(at).contains(QStringLiteral("Los Angeles, CA, 2010: rank 2, population 3,792,621")));
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    EXPECT_EQ(w.form().Pinned, la.tag.city);
    w.runCommand("Clear");
    w.runCommand("RankSpirel1");
    EXPECT_EQ(view->emphasis(), la.tag.city);
    EXPECT_EQ(render::ShownEmphasis(w.form().Picture1, w.form().Pinned).city, la.tag.city);

    QTemporaryDir dir;
    EXPECT_EQ(SaveAnimation(w.form(), dir.filePath("spirel.png")), QString());
    EXPECT_EQ(Chunks(Read(dir.filePath("spirel.png"))).size(), 9u);  // IHDR, acTL, IDAT, fcTL x 3, fdAT x 2, IEND
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(w.form().Pinned, 0);

    EXPECT_FALSE(AddOutline(w.form(), dir.filePath("missing.json")).isEmpty());
    const QString line = Write(dir.filePath("line.geojson"), R"({"type":"LineString","coordinates":[[-120,35],[-75,41]]})");
    w.runCommand("Clear");
    w.runCommand("Map");
    const std::size_t before = w.form().Module<MapModule>().state.geometry.outlineSegments.size();
    EXPECT_EQ(AddOutline(w.form(), line), QString());
    EXPECT_EQ(w.form().Module<MapModule>().state.geometry.outlineSegments.size(), before + 4);  // one segment, x1 y1 x2 y2
}
