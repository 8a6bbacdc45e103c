#pragma once
#include <string>
#include <vector>

struct DataSet;
struct MapGeometry;

// Names on the map: the largest places at the date, and the pinned and brushed ones, each
// beside its disc, none over another, all inside the part of the map shown.

// The series of a place's name on the map.
inline constexpr short MapLabelSeries = 21;

struct LabelBox {
    double left = 0, top = 0, right = 0, bottom = 0;  // twips
    bool Overlaps(const LabelBox& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool Inside(const LabelBox& o) const {
        return left >= o.left && right <= o.right && top >= o.top && bottom <= o.bottom;
    }
};

// A place to name: its disc (centre and radius, twips) and the text.
struct LabelRequest {
    int city = 0;
    double x = 0, y = 0, radius = 0;
    std::string text;
};

struct PlacedLabel {
    int city = 0;
    std::string text;
    LabelBox box;  // the text's top-left corner is (box.left, box.top)
};

// Font of the names, points; the text starts this far (twips) inside its box.
inline constexpr double LabelFontSize = 7.5;
inline constexpr double LabelTextMargin = 15;

// A box the text fits in when drawn in the picture's sans-serif font at `fontSize` points
// (measured widths of DejaVu Sans with a margin; the window's test checks them against the
// font itself).
double LabelTextWidth(const std::string& text, double fontSize, bool bold);
double LabelTextHeight(double fontSize);

class Picture;
// Draws a name: a plate of the background's colour under the text so that it reads over the
// discs, then the text in `ink`, tagged as the picture's current tag (the plate without its
// place unless `plateOfThePlace`: a mark's plate is drawn with the emphasis, on top).
void DrawLabel(Picture& p, const PlacedLabel& label, double fontSize, bool bold, int ink, bool plateOfThePlace);

// The name a label shows: the table's name up to its first comma ("Chicago, IL": "Chicago").
std::string LabelName(const std::string& name);

// Greedy placement in the order given (the most important first): each label takes the first
// of eight positions around its disc (right, left, above, below, then the corners) that lies
// inside `frame` and overlaps neither a label placed before nor a box of `taken`; one with no
// free position is left out. The boxes placed are added to `taken`.
std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& requests, const LabelBox& frame,
                                     std::vector<LabelBox>& taken, double fontSize = LabelFontSize, bool bold = false);

// The `count` largest places at date t whose centre lies inside `frame` (the part of the map
// shown: zoomed in, smaller places become the largest shown), as label requests, largest first.
std::vector<LabelRequest> LargestPlaces(const DataSet& d, const MapGeometry& g, int t, int count, const LabelBox& frame);
