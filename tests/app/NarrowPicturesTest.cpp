// Every picture at the window's narrowest room (440 x 560), a 1600 x 1000 screen at 200 % (440 x
// 700) and 600 x 600: no text painted past the edge (in its own font), no two laid over each other.
#include "AppKit.h"
#include <QFontMetricsF>
#include <sstream>
#include "draw/Ticks.h"
#include "map/MapLabels.h"

namespace {

const std::string Places = std::string(CITYSIZE_REAL_DATA) + "/us-places-1790-2010.csv";

struct Box { double left, top, right, bottom; };

// A text's box as painted at 100 %, in twips: its advance and its line's height.
Box PaintedBox(const DrawOp& op) {
    const double pxPerTwip = 1 / render::TwipsPerPixel;
    const QFontMetricsF metrics(render::PictureFont(op, pxPerTwip));
    const double w = metrics.horizontalAdvance(QString::fromStdString(op.text)) / pxPerTwip;
    return {op.x1, op.y1, op.x1 + w, op.y1 + (metrics.ascent() + metrics.descent()) / pxPerTwip};
}

// A text's box as the pictures lay text out (the map's names by a measure of their own).
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

}  // namespace

TEST(NarrowPictures, NoTextIsCutOrOverprintedAtTheSizesTheWindowGives) {
    // The steps of each picture, space-separated; "Name=Entry" chooses from a list. Those marked
    // "places:" run on the US places (positions, groups) rather than the default table.
    const char* const cases[] = {
        "Rank", "DataProperties", "SizeRank", "CumRankSize", "RankShift", "RankSpace", "RankChange", "PopChange", "Zipf",
        "RankSpirel1", "RankSpirel4", "RankSpirel1 Cities=Chicago,_IL PlotCity",
        "RankSpirel1 Cities=Chicago,_IL PlotCity DistancePlot", "HalfLives", "RankShiftSpirel", "InfoSpirel", "PopSpirel",
        "Mobility", "TailFit Dates=1950 TailPlot", "TailFit Dates=1950 HillPlot", "TailFit", "Growth",
        "Growth Dates=1950 GrowthPlot", "DistFit", "DistFit Dates=1950 DistPlot", "places: Map", "places: Map MapColour=Growth",
        "places: ByGroup", "places: ByGroup HeatMap", "places: ByGroup ForestPlot", "places: Markov", "places: SpatialMarkov",
        "places: MoranGrowth"};
    const std::pair<float, float> sizes[] = {{440, 560}, {440, 700}, {600, 600}};
    for (const char* c : cases)
        for (const auto& [w, h] : sizes) {
            std::string what = c;
            what.append(" at ").append(std::to_string(static_cast<int>(w))).append(" x ").append(std::to_string(static_cast<int>(h)));
            SCOPED_TRACE(what);
            std::istringstream steps(c);
            std::string step;
            const bool places = std::string(c).rfind("places: ", 0) == 0;
            if (places) steps >> step;
            auto f = places ? FormReading(Places) : FormWithRealData();
            f->SetOption("replicates", "0");
            f->Picture1.Width = 15 * w;
            f->Picture1.Height = 15 * h;
            while (steps >> step) {
                const auto eq = step.find('=');
                std::replace(step.begin(), step.end(), '_', ' ');
                if (eq == std::string::npos)
                    f->Click(step);
                else
                    f->ChooseText(step.substr(0, eq), step.substr(eq + 1));
            }
            ExpectTextInsideAndApart(f->Picture1, what);
        }
}
