#include "map/Map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "draw/PlotFrame.h"
#include "draw/RunError.h"
#include "draw/Ticks.h"
#include "draw/ViewRange.h"
#include "map/Projection.h"
#include "stats/GrowthRate.h"

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double LargestRadius = 540;  // twips (36 pixels at 100 %): the largest place at any date
// At most this share of the frame is covered by discs (their areas summed) at the busiest date,
// so a table of thousands of large places still leaves the map readable under them.
constexpr double DiscCoverage = 0.15;
// The frame of the map (its right and bottom edges inset from the picture's) and the band of
// keys under it, twips; at 600 x 600 pixels the frame is 8,400 x 6,580.
constexpr double FrameLeft = 300, FrameTop = 720, FrameRightInset = 300, FrameBottomInset = 1700;
constexpr double KeyGap = 120;  // from the frame's bottom to the keys
// A picture narrower than 600 pixels has no room for the scale bar beside the keys: it gets a
// row of its own under the colour key.
constexpr double WideMap = 9000, ScaleBarRow = 900;
bool NarrowMap(double pictureWidth) { return pictureWidth < WideMap; }
constexpr double FrameWidth600 = 8400, FrameHeight600 = 6580;

Colour Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

Colour Darker(Colour c) {
    return Rgb(RedOf(c) * 55 / 100, GreenOf(c) * 55 / 100, BlueOf(c) * 55 / 100);
}

// 1, 2 or 5 times a power of ten, at most v.
double RoundDown125(double v) {
    if (!(v > 0)) return 0;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= v * (1 + 1e-12)) return m * p;
    return p;
}

std::string Thousands(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", std::round(v));
    std::string s = buf, out;
    const std::size_t start = s[0] == '-' ? 1 : 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i > start && (s.size() - i) % 3 == 0) out += ',';
        out += s[i];
    }
    return out;
}

std::string Degrees(double v, char pos, char neg) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %c", std::fabs(v), v < 0 ? neg : pos);
    return buf;
}

// Breaks between the growth classes, per cent a year, symmetric about 0.
constexpr double GrowthBreaks[] = {-3, -1, -0.25, 0.25, 1, 3};

std::string GrowthClassName(int k) {
    static const char* names[] = {"below -3", "-3 to -1", "-1 to -0.25", "-0.25 to 0.25", "0.25 to 1", "1 to 3",
                                  "3 and more", "no figure"};
    return names[k];
}

std::string RankClassName(int k) {
    static const char* names[] = {"top 10", "11-25", "26-50", "51-100", "beyond 100"};
    return names[k];
}

// Segments of the projected polyline (twips), clipped to the frame. Where a point did not
// project the line breaks.
void AddPolyline(const MapGeometry& g, const std::vector<double>& xm, const std::vector<double>& ym,
                 std::vector<float>& out) {
    for (std::size_t i = 1; i < xm.size(); ++i) {
        if (std::isnan(xm[i - 1]) || std::isnan(xm[i])) continue;
        double x1 = g.left + (g.right - g.left) / 2 + (xm[i - 1] - g.centreX) * g.twipsPerMetre;
        double y1 = g.top + (g.bottom - g.top) / 2 - (ym[i - 1] - g.centreY) * g.twipsPerMetre;
        double x2 = g.left + (g.right - g.left) / 2 + (xm[i] - g.centreX) * g.twipsPerMetre;
        double y2 = g.top + (g.bottom - g.top) / 2 - (ym[i] - g.centreY) * g.twipsPerMetre;
        if (!ClipToRect(x1, y1, x2, y2, ViewRect{g.left, g.top, g.right, g.bottom})) continue;
        out.insert(out.end(), {static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                               static_cast<float>(y2)});
    }
}

void ProjectPolyline(const MapGeometry& g, std::vector<double> lon, std::vector<double> lat, std::vector<float>& out) {
    g.projection->Forward(lon, lat);
    AddPolyline(g, lon, lat, out);
}

void BuildGraticule(MapGeometry& g, double lonSpan, double latSpan) {
    const double span = std::max(latSpan, lonSpan * std::cos(g.lat0 * 3.14159265358979 / 180));
    g.graticuleStep = span > 90 ? 30 : span > 40 ? 10 : span > 15 ? 5 : span > 6 ? 2 : 1;
    const double step = g.graticuleStep;
    for (double lon = -180; lon < 180; lon += step) {
        std::vector<double> xs, ys;
        for (double lat = -88; lat <= 88; lat += 1) xs.push_back(lon), ys.push_back(lat);
        ProjectPolyline(g, xs, ys, g.graticuleSegments);
    }
    for (double lat = -90 + step; lat < 90; lat += step) {
        std::vector<double> xs, ys;
        for (double lon = -180; lon <= 180; lon += 0.5) xs.push_back(lon), ys.push_back(lat);
        ProjectPolyline(g, xs, ys, g.graticuleSegments);
    }
}

bool EverPresent(const DataSet& d, int c) {
    for (int t = 1; t <= d.NumDates; ++t)
        if (d.Pop(c, t) > 0) return true;
    return false;
}

std::string GeometryKey(const DataSet& d, const MapState& s) {
    double sum = 0;
    for (std::size_t i = 0; i < d.Latitude.size(); ++i)
        if (!std::isnan(d.Latitude[i])) sum += d.Latitude[i] * 3 + d.Longitude[i];
    char buf[120];
    std::snprintf(buf, sizeof buf, "%p %d %d %.9g", static_cast<const void*>(&d), d.NumCities, d.NumDates, sum);
    std::string key = buf;
    for (const auto& f : s.outlineFiles) key += "\n" + f;
    if (s.extent) {
        std::snprintf(buf, sizeof buf, "\nextent %.9g %.9g %.9g %.9g", s.extent->west, s.extent->south, s.extent->east,
                      s.extent->north);
        key += buf;
    }
    return key;
}

}  // namespace

double GrowthPercent(const DataSet& d, int c, int t) {
    const int from = t < d.NumDates ? t : t - 1, to = from + 1;
    if (from < 1) return Nan;
    const double p0 = d.Pop(c, from), p1 = d.Pop(c, to);
    return GrowthPercent(GrowthRate(p0, p1, d.DateYear(to) - d.DateYear(from)));
}

int GrowthClass(double percent) {
    if (std::isnan(percent)) return 7;
    int k = 0;
    for (double b : GrowthBreaks)
        if (percent >= b) ++k;
    return k;
}

int RankClass(int rank) { return rank <= 10 ? 0 : rank <= 25 ? 1 : rank <= 50 ? 2 : rank <= 100 ? 3 : 4; }

Colour GrowthColour(int k) {
    // ColorBrewer's RdBu, blue for decline, red for growth; grey for no figure.
    static const Colour palette[] = {Rgb(33, 102, 172),  Rgb(103, 169, 207), Rgb(209, 229, 240), Rgb(247, 247, 247),
                                     Rgb(253, 219, 199), Rgb(239, 138, 98),  Rgb(178, 24, 43),   Rgb(140, 140, 140)};
    return palette[std::clamp(k, 0, 7)];
}

Colour LisaColour(int k) {
    // Cluster colours as GeoDa draws them: high-high red, low-low blue, high-low light red,
    // low-high light blue; grey where not significant.
    static const Colour palette[] = {Rgb(190, 190, 190), Rgb(215, 25, 28), Rgb(44, 123, 182), Rgb(253, 174, 97),
                                     Rgb(171, 217, 233)};
    return palette[k >= 0 && k <= 4 ? k : 0];
}

Colour RankClassColour(int k) {
    // ColorBrewer's YlOrRd, the largest places darkest.
    static const Colour palette[] = {Rgb(189, 0, 38), Rgb(240, 59, 32), Rgb(253, 141, 60), Rgb(254, 204, 92),
                                     Rgb(255, 255, 178)};
    return palette[std::clamp(k, 0, 4)];
}

const MapGeometry& MapGeometryFor(const DataSet& d, MapState& s, float pictureWidth, float pictureHeight) {
    const std::string key = GeometryKey(d, s);
    if (s.geometry.key == key && s.geometry.projection && s.geometry.pictureWidth == pictureWidth &&
        s.geometry.pictureHeight == pictureHeight)
        return s.geometry;
    MapGeometry g;
    // The centre: the mean position of the places that are ever present.
    std::vector<int> mapped;
    double sumLat = 0, sumLon = 0, maxPop = 0;
    double minLat = 90, maxLat = -90, minLon = 180, maxLon = -180;
    for (int c = 1; c <= d.NumCities; ++c) {
        if (!d.HasPosition(c) || !EverPresent(d, c)) continue;
        mapped.push_back(c);
        const double lat = d.Latitude[c - 1], lon = d.Longitude[c - 1];
        sumLat += lat, sumLon += lon;
        minLat = std::min(minLat, lat), maxLat = std::max(maxLat, lat);
        minLon = std::min(minLon, lon), maxLon = std::max(maxLon, lon);
        for (int t = 1; t <= d.NumDates; ++t) maxPop = std::max(maxPop, d.Pop(c, t));
    }
    if (mapped.empty()) throw RunError("No place of this table has a position (latitude and longitude): there is nothing to map");
    g.lat0 = sumLat / mapped.size();
    g.lon0 = sumLon / mapped.size();
    g.projection = std::make_shared<Projection>(g.lat0, g.lon0);
    std::vector<double> xs, ys;
    for (int c : mapped) xs.push_back(d.Longitude[c - 1]), ys.push_back(d.Latitude[c - 1]);
    g.projection->Forward(xs, ys, 179.9);
    double minX = std::numeric_limits<double>::max(), maxX = -minX, minY = minX, maxY = -minX;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        if (std::isnan(xs[k])) continue;
        minX = std::min(minX, xs[k]), maxX = std::max(maxX, xs[k]);
        minY = std::min(minY, ys[k]), maxY = std::max(maxY, ys[k]);
    }
    if (minX > maxX) throw RunError("No place of this table could be projected onto the map");
    // A margin so the largest discs at the edge stay inside, and at least 50 km across.
    const double w = std::max(maxX - minX, 50e3), h = std::max(maxY - minY, 50e3);
    g.centreX = (minX + maxX) / 2;
    g.centreY = (minY + maxY) / 2;
    g.left = FrameLeft, g.top = FrameTop;
    g.right = std::max(g.left + 150, pictureWidth - FrameRightInset);
    g.bottom = std::max(g.top + 150, pictureHeight - FrameBottomInset - (NarrowMap(pictureWidth) ? ScaleBarRow : 0));
    // The largest disc grows with the frame, so a larger picture shows the same map, larger.
    const double largest = LargestRadius * std::min((g.right - g.left) / FrameWidth600, (g.bottom - g.top) / FrameHeight600);
    const double inner = 2 * largest / 3;
    g.twipsPerMetre = std::min((g.right - g.left - 2 * inner) / w, (g.bottom - g.top - 2 * inner) / h);
    g.maxPopulation = maxPop;
    double maxTotal = 0;
    for (int t = 1; t <= d.NumDates; ++t) {
        double total = 0;
        for (int c : mapped) total += d.Pop(c, t);
        maxTotal = std::max(maxTotal, total);
    }
    const double frameArea = (g.right - g.left) * (g.bottom - g.top);
    g.discScale = maxPop > 0 ? std::min(largest / std::sqrt(maxPop),
                                        std::sqrt(DiscCoverage * frameArea / (3.14159265358979 * maxTotal)))
                             : 0;
    if (s.extent) {
        // The box fills the frame, keeping its shape; discs grow with the square root of the
        // magnification, so a region's crowd spreads apart and its small places can be seen.
        PlaneBox box;
        if (!ProjectedBox(*g.projection, *s.extent, box)) throw RunError("The extent does not lie on the map's projection");
        const double tpm = 0.96 * std::min((g.right - g.left) / (box.maxX - box.minX), (g.bottom - g.top) / (box.maxY - box.minY));
        g.discScale *= std::sqrt(tpm / g.twipsPerMetre);
        g.twipsPerMetre = tpm;
        g.centreX = (box.minX + box.maxX) / 2;
        g.centreY = (box.minY + box.maxY) / 2;
        maxLon = s.extent->east, minLon = s.extent->west, maxLat = s.extent->north, minLat = s.extent->south;
    }
    g.x.assign(static_cast<std::size_t>(d.NumCities), Nan);
    g.y.assign(static_cast<std::size_t>(d.NumCities), Nan);
    const double mx = (g.left + g.right) / 2, my = (g.top + g.bottom) / 2;
    for (std::size_t k = 0; k < mapped.size(); ++k) {
        if (std::isnan(xs[k])) continue;
        const auto i = static_cast<std::size_t>(mapped[k] - 1);
        g.x[i] = mx + (xs[k] - g.centreX) * g.twipsPerMetre;
        g.y[i] = my - (ys[k] - g.centreY) * g.twipsPerMetre;
    }
    BuildGraticule(g, maxLon - minLon, maxLat - minLat);
    for (const auto& file : s.outlineFiles) {
        auto it = s.outlinesRead.find(file);
        if (it == s.outlinesRead.end()) it = s.outlinesRead.emplace(file, ReadOutlines(file)).first;
        for (const OutlinePath& p : it->second) ProjectPolyline(g, p.lon, p.lat, g.outlineSegments);
    }
    g.key = key;
    g.pictureWidth = pictureWidth;
    g.pictureHeight = pictureHeight;
    s.geometry = std::move(g);
    return s.geometry;
}

namespace {

void Segments(Picture& p, const std::vector<float>& seg, Colour colour) {
    for (std::size_t i = 0; i + 3 < seg.size(); i += 4) p.Line(seg[i], seg[i + 1], seg[i + 2], seg[i + 3], colour);
}

void DrawSizeKey(Picture& p, const MapGeometry& g, double discScale, Colour ink) {
    const double x0 = 300, bottom = g.pictureHeight - 200, keyTop = g.bottom + KeyGap;
    p.FontSize = 8;
    PrintAt(p, x0, keyTop, "Population");
    // Three round populations, nested on one baseline; each label on a row of its own, joined
    // to the top of its circle, so small circles keep readable labels.
    // The largest circle keeps to the key's room whatever the picture's size or zoom.
    const double big = RoundDown125(std::min(g.maxPopulation, std::pow(LargestRadius / discScale, 2)));
    const double values[] = {big, RoundDown125(big / 9), RoundDown125(big / 90)};
    const double r0 = discScale * std::sqrt(values[0]);
    const double cx = x0 + std::max(r0, 150.0), labelX = cx + std::max(r0, 150.0) + 250;
    for (int k = 0; k < 3; ++k) {
        if (!(values[k] > 0)) continue;
        const double r = discScale * std::sqrt(values[k]);
        const double row = keyTop + 330 + 300 * k;
        p.Circle(static_cast<float>(cx), static_cast<float>(bottom - r), static_cast<float>(r), ink);
        p.Line(static_cast<float>(cx), static_cast<float>(bottom - 2 * r), static_cast<float>(labelX - 60),
               static_cast<float>(row + 110), ink);
        PrintAt(p, labelX, row, Thousands(values[k]));
    }
}

void DrawColourKey(Picture& p, const MapState& s, int t, const DataSet& d, Colour ink) {
    const double x0 = 2900, y0 = s.geometry.bottom + KeyGap;
    p.FontSize = 8;
    std::vector<std::pair<Colour, std::string>> entries;
    std::string title;
    if (s.colouring == MapColouring::Growth) {
        const int from = t < d.NumDates ? t : t - 1;
        title = from >= 1 ? "Growth " + std::to_string(d.DateYear(from)) + "-" + std::to_string(d.DateYear(from + 1)) +
                                ", % a year"
                          : "Growth (one date only)";
        for (int k = 0; k <= 7; ++k) entries.emplace_back(GrowthColour(k), GrowthClassName(k));
    } else if (s.colouring == MapColouring::Lisa) {
        const int from = t < d.NumDates ? t : t - 1;
        title = "LISA of growth " + std::to_string(d.DateYear(std::max(1, from))) + "-" +
                std::to_string(d.DateYear(std::min<int>(d.NumDates, from + 1))) + ", p_sim < 0.05";
        const char* names[] = {"not significant", "high-high", "low-low", "high-low", "low-high"};
        for (int k = 1; k <= 4; ++k) entries.emplace_back(LisaColour(k), names[k]);
        entries.emplace_back(LisaColour(0), names[0]);
    } else {
        title = "Rank in " + std::to_string(d.DateYear(t));
        for (int k = 0; k <= 4; ++k) entries.emplace_back(RankClassColour(k), RankClassName(k));
    }
    PrintAt(p, x0, y0, title);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const double x = x0 + (k / 4) * 1900.0, y = y0 + 330 + (k % 4) * 270.0;
        p.Disc(static_cast<float>(x + 90), static_cast<float>(y + 100), 90, entries[k].first, Darker(entries[k].first));
        PrintAt(p, x + 260, y, entries[k].second);
    }
    (void)ink;
}

void DrawScaleBar(Picture& p, const MapGeometry& g, double twipsPerMetre, Colour ink) {
    // The projection keeps distances true at its centre; the bar is a round length near a
    // fifth of the map's width.
    const double metres = RoundDown125((g.right - g.left) / 5 / twipsPerMetre);
    const double len = metres * twipsPerMetre;
    // Right-aligned with the picture, never over the colour key of a narrow one.
    const double x0 = NarrowMap(g.pictureWidth) ? 2900 : std::max(6900.0, g.pictureWidth - 2100);
    const double y = g.pictureHeight - 550;
    p.DrawWidth = 2;
    p.Line(static_cast<float>(x0), static_cast<float>(y), static_cast<float>(x0 + len), static_cast<float>(y), ink);
    p.Line(static_cast<float>(x0), static_cast<float>(y - 90), static_cast<float>(x0), static_cast<float>(y), ink);
    p.Line(static_cast<float>(x0 + len), static_cast<float>(y - 90), static_cast<float>(x0 + len), static_cast<float>(y),
           ink);
    p.DrawWidth = 1;
    p.FontSize = 8;
    PrintAt(p, x0, y - 330, Thousands(metres / 1000) + " km");
    p.FontSize = 7;
    char step[16];
    std::snprintf(step, sizeof step, "%g", g.graticuleStep);
    PrintAt(p, x0, y + 80, "Lambert equal-area at");
    PrintAt(p, x0, y + 250, Degrees(g.lat0, 'N', 'S') + ", " + Degrees(g.lon0, 'E', 'W') + "; grid " + step + " deg");
}

void DrawLabels(Picture& p, const DataSet& d, MapState& s, const MapGeometry& g, int t, Colour ink) {
    const LabelBox frame{g.left, g.top, g.right, g.bottom};
    // The largest places of the part shown (zoomed in, smaller ones), named where they are shown.
    const ViewRect shown = p.View.Shown(p.ZoomArea);
    std::vector<LabelRequest> wanted = LargestPlaces(d, g, t, s.labelCount, LabelBox{shown.left, shown.top, shown.right, shown.bottom});
    for (LabelRequest& r : wanted) {
        const ShownDisc disc = ShownDiscOf(p, g, static_cast<std::size_t>(r.city - 1), d.Pop(r.city, t));
        r.x = disc.x, r.y = disc.y, r.radius = disc.radius;
    }
    std::vector<LabelBox> taken;
    s.labels = PlaceLabels(wanted, frame, taken);
    for (const PlacedLabel& l : s.labels) {
        p.CurrentTag = OpTag{l.city, static_cast<int16_t>(t), MapLabelSeries};
        DrawLabel(p, l, LabelFontSize, false, ink, false);
    }
    p.FontBold = false;
}

}  // namespace

void DrawMap(const DataSet& d, const RankTables& ranks, MapState& s, const Canvas& c, int t) {
    if (t < 1 || t > d.NumDates) throw RunError("The map has no date " + std::to_string(t));
    const MapGeometry& g = MapGeometryFor(d, s, c.pic.Width, c.pic.Height);
    s.date = t;
    Picture& p = c.pic;
    ApplyBackgroundChoice(c, false);
    ClearPicture(c);
    const Colour back = p.BackColor;
    const Colour ink = InkFor(back);
    const bool black = back == Black;
    p.CurrentTag = OpTag{};
    p.DrawWidth = 1;
    // A zoom magnifies the frame's content about the view; discs grow with its square root.
    p.ZoomArea = ViewRect{g.left, g.top, g.right, g.bottom};
    const double zoom = p.View.zoomed ? p.View.ScaleX(p.ZoomArea) : 1.0;
    p.MapIntoView(true);
    Segments(p, g.graticuleSegments, black ? Rgb(48, 48, 48) : Rgb(182, 182, 182));
    Segments(p, g.outlineSegments, black ? Rgb(120, 120, 120) : Rgb(110, 110, 110));
    p.MapIntoView(false);
    // The frame.
    const auto l = static_cast<float>(g.left), tp = static_cast<float>(g.top), r = static_cast<float>(g.right),
               b = static_cast<float>(g.bottom);
    p.Line(l, tp, r, tp, ink), p.LineTo(r, b, ink), p.LineTo(l, b, ink), p.LineTo(l, tp, ink);
    // A place is drawn where its centre lies in the frame (at the zoom); its disc is cut there.
    const ViewRect frame = p.ZoomArea;
    auto inFrame = [&](std::size_t k) {
        return p.View.zoomed ? frame.Contains(p.View.ToShownX(frame, g.x[k]), p.View.ToShownY(frame, g.y[k]))
                             : frame.Contains(g.x[k], g.y[k]);
    };

    std::vector<int> shown;
    for (int i = 1; i <= d.NumCities; ++i)
        if (d.Pop(i, t) > 0 && !std::isnan(g.x[static_cast<std::size_t>(i - 1)]) && inFrame(static_cast<std::size_t>(i - 1)))
            shown.push_back(i);
    // Largest first, so the small ones lie on top and stay visible.
    std::stable_sort(shown.begin(), shown.end(), [&](int a, int b2) { return d.Pop(a, t) > d.Pop(b2, t); });
    s.lisa = s.colouring == MapColouring::Lisa && s.lisaClasses ? s.lisaClasses(d, t) : std::vector<int>{};
    p.MapIntoView(true, s.extent.has_value());
    for (int i : shown) {
        const auto k = static_cast<std::size_t>(i - 1);
        const Colour fill = s.colouring == MapColouring::Lisa ? LisaColour(k < s.lisa.size() ? s.lisa[k] : 0)
                            : s.colouring == MapColouring::Growth ? GrowthColour(GrowthClass(GrowthPercent(d, i, t)))
                                                                  : RankClassColour(RankClass(static_cast<int>(ranks.CityRank(i, t))));
        p.CurrentTag = OpTag{static_cast<int16_t>(i), static_cast<int16_t>(t), MapPlaceSeries};
        const double radius = g.discScale * std::sqrt(d.Pop(i, t));
        p.Disc(static_cast<float>(g.x[k]), static_cast<float>(g.y[k]),
               static_cast<float>(p.View.zoomed ? radius * std::sqrt(zoom) : radius), fill, Darker(fill));
    }
    p.MapIntoView(false);
    DrawLabels(p, d, s, g, t, ink);
    p.CurrentTag = OpTag{};
    p.ForeColor = ink;
    p.FontBold = true;
    p.FontSize = 11;
    PrintAt(p, 300, 120, std::to_string(d.DateYear(t)));
    p.FontBold = false;
    p.FontSize = 8;
    // The heading said in full where it fits, shorter in a narrow picture.
    auto fitting = [&](const std::string& full, const std::string& shorter) {
        return 1300 + LabelWidth(full, p.FontSize) <= g.pictureWidth - FrameRightInset ? full : shorter;
    };
    const std::string count = Thousands(static_cast<double>(shown.size()));
    PrintAt(p, 1300, 110, fitting(count + " places with a position; disc area proportional to population",
                                  count + " places; disc area proportional to population"));
    PrintAt(p, 1300, 340, s.colouring == MapColouring::Growth
                              ? fitting("Colour: growth to the next date (at the last, from the one before)",
                                        "Colour: growth to the next date")
                          : s.colouring == MapColouring::Lisa
                              ? fitting("Colour: local Moran cluster of that growth among neighbours",
                                        "Colour: local Moran cluster of growth")
                              : std::string("Colour: rank class at this date"));
    DrawSizeKey(p, g, p.View.zoomed ? g.discScale * std::sqrt(zoom) : g.discScale, ink);
    DrawColourKey(p, s, t, d, ink);
    DrawScaleBar(p, g, g.twipsPerMetre * zoom, ink);
}

ShownDisc ShownDiscOf(const Picture& p, const MapGeometry& g, std::size_t k, double population) {
    const double radius = g.discScale * std::sqrt(population);
    if (!p.View.zoomed) return {g.x[k], g.y[k], radius, p.ZoomArea.Contains(g.x[k], g.y[k])};
    const double x = p.View.ToShownX(p.ZoomArea, g.x[k]), y = p.View.ToShownY(p.ZoomArea, g.y[k]);
    return {x, y, radius * std::sqrt(p.View.ScaleX(p.ZoomArea)), p.ZoomArea.Contains(x, y)};
}

std::string DescribeMapPlace(const DataSet& d, const RankTables& ranks, int city, int t) {
    if (city < 1 || city > d.NumCities || t < 1 || t > d.NumDates) return {};
    std::string text = d.CityName(city) + ", " + std::to_string(d.DateYear(t)) + ": ";
    if (!(d.Pop(city, t) > 0)) return text + "not in the table at that date";
    text += "rank " + std::to_string(static_cast<int>(ranks.CityRank(city, t))) + ", ";
    text += "population " + Thousands(d.Pop(city, t));
    const double g = GrowthPercent(d, city, t);
    if (!std::isnan(g)) {
        const int from = t < d.NumDates ? t : t - 1;
        text += "\ngrowth " + std::to_string(d.DateYear(from)) + "-" + std::to_string(d.DateYear(from + 1)) + ": " +
                GrowthPercentText(g / 100);
    }
    return text;
}
