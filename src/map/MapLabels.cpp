#include "map/MapLabels.h"

#include <algorithm>
#include <cmath>

#include "data/DataSet.h"
#include "draw/Picture.h"
#include "draw/PlotFrame.h"
#include "map/Map.h"

namespace {

// Advance widths of DejaVu Sans as a share of the em, by kind of character, rounded up.
double Advance(unsigned char ch) {
    if (ch == ' ' || ch == ',' || ch == '.' || ch == '\'' || ch == ':' || ch == ';' || ch == 'i' || ch == 'l' ||
        ch == 'j' || ch == 'I' || ch == '!' || ch == '|')
        return 0.34;
    if (ch == 'f' || ch == 't' || ch == 'r' || ch == '(' || ch == ')' || ch == '-') return 0.43;
    if (ch == 'm' || ch == 'w') return 0.99;
    if (ch == 'M' || ch == 'W') return 1.0;
    if (ch >= 'A' && ch <= 'Z') return 0.80;
    if (ch >= 0x80) return 0.40;  // a byte of a UTF-8 sequence: two make one wide letter
    return 0.65;
}

// Twips per pixel of the picture at 100 %, and the pixel size the renderer gives a font.
constexpr double TwipsPerPixel = 15;
double LabelPixelSize(double fontSize) { return std::max(1.0, std::round(fontSize * 20 / TwipsPerPixel)); }

}  // namespace

double LabelTextWidth(const std::string& text, double fontSize, bool bold) {
    double em = 0;
    for (unsigned char ch : text) em += Advance(ch);
    // Bold DejaVu is about a tenth wider; a pixel of margin on either side.
    return (em * (bold ? 1.12 : 1.0) * LabelPixelSize(fontSize) + 2) * TwipsPerPixel;
}

double LabelTextHeight(double fontSize) { return std::round(fontSize * 20 * 1.15); }

std::string LabelName(const std::string& name) {
    const auto comma = name.find(',');
    std::string out = comma == std::string::npos ? name : name.substr(0, comma);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out.empty() ? name : out;
}

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& requests, const LabelBox& frame,
                                     std::vector<LabelBox>& taken, double fontSize, bool bold) {
    std::vector<PlacedLabel> out;
    const double h = LabelTextHeight(fontSize);
    constexpr double Gap = 30;  // twips between a disc and its label
    for (const LabelRequest& r : requests) {
        const double w = LabelTextWidth(r.text, fontSize, bold);
        const double d = r.radius + Gap, diag = r.radius * 0.7071 + Gap;
        // Top-left corners: right, left, above, below, then the four corners.
        const double corners[8][2] = {{r.x + d, r.y - h / 2},         {r.x - d - w, r.y - h / 2},
                                      {r.x - w / 2, r.y - d - h},     {r.x - w / 2, r.y + d},
                                      {r.x + diag, r.y - diag - h},   {r.x - diag - w, r.y - diag - h},
                                      {r.x + diag, r.y + diag},       {r.x - diag - w, r.y + diag}};
        for (const auto& c : corners) {
            const LabelBox box{c[0], c[1], c[0] + w, c[1] + h};
            if (!box.Inside(frame)) continue;
            if (std::any_of(taken.begin(), taken.end(), [&](const LabelBox& t) { return t.Overlaps(box); })) continue;
            taken.push_back(box);
            out.push_back({r.city, r.text, box});
            break;
        }
    }
    return out;
}

std::vector<LabelRequest> LargestPlaces(const DataSet& d, const MapGeometry& g, int t, int count, const LabelBox& frame) {
    std::vector<int> inside;
    if (count <= 0 || t < 1 || t > d.NumDates) return {};
    for (int c = 1; c <= d.NumCities; ++c) {
        const auto k = static_cast<std::size_t>(c - 1);
        if (k >= g.x.size() || std::isnan(g.x[k]) || !(d.Pop(c, t) > 0)) continue;
        if (g.x[k] < frame.left || g.x[k] > frame.right || g.y[k] < frame.top || g.y[k] > frame.bottom) continue;
        inside.push_back(c);
    }
    const auto n = std::min<std::size_t>(inside.size(), static_cast<std::size_t>(count));
    std::partial_sort(inside.begin(), inside.begin() + static_cast<std::ptrdiff_t>(n), inside.end(),
                      [&](int a, int b) { return d.Pop(a, t) > d.Pop(b, t) || (d.Pop(a, t) == d.Pop(b, t) && a < b); });
    std::vector<LabelRequest> out;
    for (std::size_t i = 0; i < n; ++i) {
        const int c = inside[i];
        const auto k = static_cast<std::size_t>(c - 1);
        out.push_back({c, g.x[k], g.y[k], g.discScale * std::sqrt(d.Pop(c, t)), LabelName(d.CityName(c))});
    }
    return out;
}

void DrawLabel(Picture& p, const PlacedLabel& label, double fontSize, bool bold, int ink, bool plateOfThePlace) {
    // A line as wide as the text is high, its square caps reaching the box's ends.
    const double h = label.box.bottom - label.box.top, mid = (label.box.top + label.box.bottom) / 2;
    const int16_t width = p.DrawWidth;
    p.DrawWidth = static_cast<int16_t>(std::max(1.0, std::floor(h / TwipsPerPixel) - 2));
    const double inset = p.DrawWidth * TwipsPerPixel / 2;
    const OpTag tag = p.CurrentTag;
    // A plate that belongs to no place keeps the background's colour whatever is emphasised.
    if (!plateOfThePlace) p.CurrentTag.city = 0;
    if (label.box.right - label.box.left > 2 * inset)
        p.Line(static_cast<float>(label.box.left + inset), static_cast<float>(mid), static_cast<float>(label.box.right - inset),
               static_cast<float>(mid), p.BackColor);
    p.CurrentTag = tag;
    p.DrawWidth = width;
    p.FontSize = static_cast<float>(fontSize);
    p.FontBold = bold;
    p.ForeColor = ink;
    PrintAt(p, label.box.left + LabelTextMargin, label.box.top, label.text);
}
