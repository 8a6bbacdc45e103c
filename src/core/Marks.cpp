#include "core/Marks.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/Form.h"
#include "core/Groups.h"
#include "draw/Contrast.h"
#include "draw/Thinning.h"
#include "map/MapLabels.h"
#include "core/MapModule.h"
#include "map/Map.h"

namespace {

constexpr float RingRadius = 75;    // twips: a ring around a place on a curve
constexpr float HaloGap = 45;       // twips between a disc and its halo
constexpr std::size_t MostNames = 100;  // names tried on the map, the pin and the largest first

bool RankFamily(std::string_view c) {
    return c == "Rank" || c == "SizeRank" || c == "CumRankSize" || c == "CumSizeRank";
}

// Where place c lies on the curve of date t of the rank-size picture `command` (twips), as
// that picture plots it; false when the place is absent at t.
bool CurvePoint(const Form& f, std::string_view command, int c, int t, float& x, float& y) {
    const DataSet& d = *f.data;
    const RankTables& r = f.rank;
    if (!(d.Pop(c, t) > 0)) return false;
    const int k = static_cast<int>(r.CityRank(c, t));
    const int n = static_cast<int>(std::lround(d.NumPresent(t)));
    if (k < 1 || k > n) return false;
    double vx = 0, vy = 0;
    if (command == "Rank") vx = r.LogRank(k), vy = r.LogRankPop(k, t);
    else if (command == "SizeRank") vx = k, vy = r.RankPop(k, t);
    else if (command == "CumRankSize") vx = r.LogRankPop(k, t), vy = r.LogRank(n - k + 1);
    else if (command == "CumSizeRank") vx = r.RankPop(k, t), vy = n - k + 1;
    else return false;
    const PlotFrame& fr = f.frame;
    x = static_cast<float>(static_cast<double>(static_cast<float>(vx)) * fr.XScale + fr.LeftMargin);
    y = static_cast<float>(static_cast<double>(fr.PlotHeight) + fr.TopMargin -
                           static_cast<double>(static_cast<float>(vy)) * fr.YScale);
    return true;
}

Colour RingColour(Colour back) { return Visible(RGB(220, 0, 0), back); }

void MarkCurves(Form& f, const Emphasised& marked, std::string_view command) {
    Picture& p = f.Picture1;
    const Colour ring = RingColour(p.BackColor);
    std::vector<int> cities = marked.places ? std::vector<int>(f.selection.Places()) : std::vector<int>{};
    if (marked.city > 0 && !f.selection.Has(marked.city)) cities.push_back(marked.city);
    p.DrawWidth = 2;
    for (int c : cities) {
        if (c > f.data->NumCities) continue;
        for (int t = 1; t <= f.data->NumDates; ++t) {
            float x = 0, y = 0;
            if (!CurvePoint(f, command, c, t, x, y)) continue;
            p.CurrentTag = OpTag{c, static_cast<int16_t>(t), MarkSeries};
            p.Circle(x, y, RingRadius, ring);
        }
    }
}

// Places at one date drawn as points (the tail plot, the rank shift's curve): a ring at each
// marked one.
void MarkPointsAtOneDate(Picture& p, const Emphasised& marked) {
    std::vector<DrawOp> rings;
    for (const DrawOp& op : p.Ops()) {
        if (op.tag.series != CitiesAtOneDate || !marked.Has(op.tag.city)) continue;
        DrawOp ring;
        ring.kind = OpKind::Circle;
        ring.x1 = op.kind == OpKind::Line ? op.x2 : op.x1;
        ring.y1 = op.kind == OpKind::Line ? op.y2 : op.y1;
        ring.radius = RingRadius;
        ring.width = 2;
        ring.colour = RingColour(p.BackColor);
        ring.tag = OpTag{op.tag.city, op.tag.date, MarkSeries};
        rings.push_back(std::move(ring));
    }
    for (DrawOp& r : rings) p.Append(std::move(r));
}

void MarkMap(Form& f, const Emphasised& marked) {
    const DataSet& d = *f.data;
    const MapState& s = f.Module<MapModule>().state;
    const MapGeometry& g = s.geometry;
    const int t = s.date;
    if (t < 1 || t > d.NumDates || g.x.size() != static_cast<std::size_t>(d.NumCities)) return;
    Picture& p = f.Picture1;
    const Colour ink = InkFor(p.BackColor);
    const LabelBox frame{g.left, g.top, g.right, g.bottom};
    std::vector<int> cities;
    const bool pinned = marked.city > 0 && marked.city <= d.NumCities;
    if (pinned) cities.push_back(marked.city);
    for (int c : f.selection.Places())
        if (c != marked.city && c <= d.NumCities) cities.push_back(c);
    // The pin first, then the selection largest first: they are named in that order.
    std::stable_sort(cities.begin() + (pinned ? 1 : 0), cities.end(),
                     [&](int a, int b) { return d.Pop(a, t) > d.Pop(b, t); });
    std::vector<LabelRequest> names;
    std::vector<PlacedLabel> renamed;
    p.DrawWidth = 1;
    for (int c : cities) {
        const auto k = static_cast<std::size_t>(c - 1);
        if (std::isnan(g.x[k]) || !(d.Pop(c, t) > 0)) continue;
        const ShownDisc disc = ShownDiscOf(p, g, k, d.Pop(c, t));
        if (!disc.inFrame) continue;
        const double r = disc.radius;
        // Hundreds of halos would merge into one blot: past MostNames places only the pin has
        // one, and the selected discs are marked by being drawn on top of the dimmed rest.
        if (c == marked.city || f.selection.Size() <= static_cast<int>(MostNames)) {
            p.CurrentTag = OpTag{c, static_cast<int16_t>(t), MarkSeries};
            p.DrawWidth = c == marked.city ? 3 : 2;
            p.Circle(static_cast<float>(disc.x), static_cast<float>(disc.y), static_cast<float>(r + HaloGap), ink);
        }
        const auto named = std::find_if(s.labels.begin(), s.labels.end(), [&](const PlacedLabel& l) { return l.city == c; });
        if (named != s.labels.end()) {
            // Named already as one of the largest: named again where it is, in the marks' bold.
            PlacedLabel again = *named;
            again.box.right = again.box.left + LabelTextWidth(again.text, LabelFontSize, true);
            renamed.push_back(again);
        } else if (names.size() < MostNames) {
            names.push_back({c, disc.x, disc.y, r + HaloGap, LabelName(d.CityName(c))});
        }
    }
    std::vector<LabelBox> taken;
    for (const PlacedLabel& l : s.labels) taken.push_back(l.box);
    const float size = p.FontSize;
    const bool bold = p.FontBold;
    std::vector<PlacedLabel> placed = PlaceLabels(names, frame, taken, LabelFontSize, true);
    placed.insert(placed.begin(), renamed.begin(), renamed.end());
    for (const PlacedLabel& l : placed) {
        p.CurrentTag = OpTag{l.city, static_cast<int16_t>(t), MarkSeries};
        DrawLabel(p, l, LabelFontSize, true, ink, true);
    }
    p.FontSize = size;
    p.FontBold = bold;
}

// The picture without its marks.
void StripMarks(Picture& p) {
    const auto& ops = p.Ops();
    if (std::none_of(ops.begin(), ops.end(), [](const DrawOp& op) { return op.tag.series == MarkSeries; })) return;
    Picture kept = p;
    kept.Clear();
    for (const DrawOp& op : ops)
        if (op.tag.series != MarkSeries) kept.Append(op);
    kept.CurrentX = p.CurrentX;
    kept.CurrentY = p.CurrentY;
    kept.ZoomArea = p.ZoomArea;  // the marks are placed at the picture's zoom
    p = std::move(kept);
}

void AppendMarks(Form& f) {
    const Emphasised marked = MarkedPlaces(f);
    const std::string& command = f.selection.markedPicture;
    if (!marked.Any() || command.empty() || !f.HasData()) return;
    Picture& p = f.Picture1;
    const OpTag tag = p.CurrentTag;
    const Colour fore = p.ForeColor;
    const int16_t width = p.DrawWidth;
    if (command == "Map" && f.Module<MapModule>().state.shown) MarkMap(f, marked);
    else if (RankFamily(command)) MarkCurves(f, marked, command);
    else MarkPointsAtOneDate(p, marked);
    p.CurrentTag = tag;
    p.ForeColor = fore;
    p.DrawWidth = width;
}

}  // namespace

Emphasised MarkedPlaces(const Form& f) {
    return Emphasised(f.Pinned, f.selection.Empty() ? nullptr : &f.selection.Membership());
}

void MarkPlaces(Form& f, std::string_view control) {
    const std::string_view shown = control == "ReadData" ? std::string_view("Rank") : control;
    f.selection.markedPicture = std::string(shown);
    AppendMarks(f);
}

bool RemarkPlaces(Form& f) {
    // A thinned picture of paths draws the marked places' paths whatever the thinning: it is
    // drawn again (and marked by the click).
    const std::string& command = f.selection.markedPicture;
    if (f.HasData() && !command.empty() && PathThinning(f.data->NumCities) > 1) {
        const std::string caption = ThinningCaption(f.data->NumCities, PathThinning(f.data->NumCities));
        const auto& ops = f.Picture1.Ops();
        if (std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.kind == OpKind::Text && op.text == caption; })) {
            // As the click did, though its button may be hidden by the panel it showed.
            const std::string control = command;
            if (const auto own = f.ModuleCommand(control)) own->second.handler(f);
            NameGroupOnPicture(f);
            MarkPlaces(f, control);
            return true;
        }
    }
    StripMarks(f.Picture1);
    AppendMarks(f);
    return false;
}

std::vector<int> PlacesUnder(const Form& f, float x1, float y1, float x2, float y2) {
    const float left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2), bottom = std::max(y1, y2);
    auto inside = [&](float x, float y) { return x >= left && x <= right && y >= top && y <= bottom; };
    std::vector<int> out;
    if (!f.HasData()) return out;
    const DataSet& d = *f.data;
    const std::string& command = f.selection.markedPicture;
    const auto& ops = f.Picture1.Ops();
    const bool curves = RankFamily(command) &&
                        std::any_of(ops.begin(), ops.end(), [](const DrawOp& op) { return op.tag.series == RankCurve; });
    if (curves) {
        // Every place's point on every curve, as the picture plots it: long curves skip points
        // within a pixel of the last one drawn, so the ops do not name every place.
        for (int c = 1; c <= d.NumCities; ++c)
            for (int t = 1; t <= d.NumDates; ++t) {
                float x = 0, y = 0;
                if (CurvePoint(f, command, c, t, x, y) && inside(x, y)) {
                    out.push_back(c);
                    break;
                }
            }
        return out;
    }
    for (const DrawOp& op : ops) {
        const int c = op.tag.city;
        if (c < 1 || c > d.NumCities || op.kind == OpKind::Text || op.tag.series == MarkSeries) continue;
        if (PathCity(op) == 0 && op.tag.series != CitiesAtOneDate) continue;
        if (inside(op.x1, op.y1) || (op.kind == OpKind::Line && inside(op.x2, op.y2))) out.push_back(c);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}
