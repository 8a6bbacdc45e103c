// Every picture laid out in the narrowest room the window lays it out for (440 x 560 pixels),
// in the room a 1600 x 1000 screen at 200 % gives it (440 x 700) and at 600 x 600: no text
// is painted past the picture's edge (measured in the font it is painted in) and no two texts
// are laid out over one another.
#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/Ticks.h"
#include "map/MapLabels.h"
#include "render/PictureRenderer.h"

namespace {

const std::string Places = std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv";

struct Box {
    double left, top, right, bottom;
};

// A text's box as painted at 100 %, in twips: its advance and its line's height.
Box PaintedBox(const DrawOp& op) {
    const double pxPerTwip = 1 / render::TwipsPerPixel;
    const QFontMetricsF metrics(render::PictureFont(op, pxPerTwip));
    const double w = metrics.horizontalAdvance(QString::fromStdString(op.text)) / pxPerTwip;
    return {op.x1, op.y1, op.x1 + w, op.y1 + (metrics.ascent() + metrics.descent()) / pxPerTwip};
}

// A text's box as the pictures lay text out (LabelWidth, LabelHeight): texts placed apart by
// these do not overprint (the map's names are placed by a measure of their own).
Box LaidOutBox(const DrawOp& op) {
    if (op.fontSize == static_cast<float>(LabelFontSize))
        return {op.x1, op.y1, op.x1 + LabelTextWidth(op.text, LabelFontSize, op.bold) - LabelTextMargin,
                op.y1 + LabelTextHeight(LabelFontSize) - LabelTextMargin};
    return {op.x1, op.y1, op.x1 + LabelWidth(op.text, op.fontSize), op.y1 + LabelHeight(op.fontSize)};
}

// No text painted past the picture's edge; no two laid out over one another.
void ExpectTextInsideAndApart(const Picture& p, const std::string& what) {
    std::vector<const DrawOp*> texts;
    for (const DrawOp& op : p.Ops())
        if (op.kind == OpKind::Text && !op.text.empty()) texts.push_back(&op);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Box a = PaintedBox(*texts[i]);
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= p.Width && a.bottom <= p.Height)
            << what << ": \"" << texts[i]->text << "\" at " << a.left << ", " << a.top << " to " << a.right << ", "
            << a.bottom << " of " << p.Width << " x " << p.Height;
        const Box la = LaidOutBox(*texts[i]);
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            if (texts[i]->text == texts[j]->text && texts[i]->x1 == texts[j]->x1 && texts[i]->y1 == texts[j]->y1)
                continue;  // drawn again on top
            const Box b = LaidOutBox(*texts[j]);
            EXPECT_FALSE(la.left < b.right && b.left < la.right && la.top < b.bottom && b.top < la.bottom)
                << what << ": \"" << texts[i]->text << "\" and \"" << texts[j]->text << "\"";
        }
    }
}

struct Case {
    const char* name;
    bool places;  // the US places (positions, groups) rather than the default table
    std::vector<std::string> steps;
};

}  // namespace

TEST(NarrowPictures, NoTextIsCutOrOverprintedAtTheSizesTheWindowGives) {
    const std::vector<Case> cases = {
        {"Rank", false, {"Rank"}},
        {"DataProperties", false, {"DataProperties"}},
        {"SizeRank", false, {"SizeRank"}},
        {"CumRankSize", false, {"CumRankSize"}},
        {"RankShift", false, {"RankShift"}},
        {"RankSpace", false, {"RankSpace"}},
        {"RankChange", false, {"RankChange"}},
        {"PopChange", false, {"PopChange"}},
        {"Zipf", false, {"Zipf"}},
        {"RankSpirel1", false, {"RankSpirel1"}},
        {"RankSpirel4", false, {"RankSpirel4"}},
        {"PlotCity", false, {"RankSpirel1", "Cities=Chicago, IL", "PlotCity"}},
        {"DistancePlot", false, {"RankSpirel1", "Cities=Chicago, IL", "PlotCity", "DistancePlot"}},
        {"HalfLives", false, {"HalfLives"}},
        {"RankShiftSpirel", false, {"RankShiftSpirel"}},
        {"InfoSpirel", false, {"InfoSpirel"}},
        {"PopSpirel", false, {"PopSpirel"}},
        {"Mobility", false, {"Mobility"}},
        {"TailPlot", false, {"TailFit", "Dates=1950", "TailPlot"}},
        {"HillPlot", false, {"TailFit", "Dates=1950", "HillPlot"}},
        {"TailFit", false, {"TailFit"}},
        {"Growth", false, {"Growth"}},
        {"GrowthPlot", false, {"Growth", "Dates=1950", "GrowthPlot"}},
        {"DistFit", false, {"DistFit"}},
        {"DistPlot", false, {"DistFit", "Dates=1950", "DistPlot"}},
        {"Map", true, {"Map"}},
        {"Map by growth", true, {"Map", "MapColour=Growth"}},
        {"ByGroup", true, {"ByGroup"}},
        {"HeatMap", true, {"ByGroup", "HeatMap"}},
        {"ForestPlot", true, {"ByGroup", "ForestPlot"}},
        {"Markov", true, {"Markov"}},
        {"SpatialMarkov", true, {"SpatialMarkov"}},
        {"MoranGrowth", true, {"MoranGrowth"}},
    };
    const std::pair<float, float> sizes[] = {{440, 560}, {440, 700}, {600, 600}};
    for (const Case& c : cases)
        for (const auto& [w, h] : sizes) {
            const std::string what = std::string(c.name) + " at " + std::to_string(static_cast<int>(w)) + " x " +
                                     std::to_string(static_cast<int>(h));
            SCOPED_TRACE(what);
            auto f = c.places ? FormReading(Places) : FormWithRealData();
            f->SetOption("replicates", "0");
            f->Picture1.Width = 15 * w;
            f->Picture1.Height = 15 * h;
            for (const std::string& step : c.steps) {
                const auto eq = step.find('=');
                if (eq == std::string::npos)
                    f->Click(step);
                else
                    f->ChooseText(step.substr(0, eq), step.substr(eq + 1));
            }
            ExpectTextInsideAndApart(f->Picture1, what);
        }
}
