// A picture laid out anew at a new size through the command that drew it, as the window does
// after a resize; commands that would start a bootstrap or page on are left as they were.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestForm.h"
#include "core/MapModule.h"
#include "core/Redraw.h"
#include "map/Map.h"

TEST(Redraw, ThePictureIsLaidOutAtItsNewSize) {
    struct Case {
        const char* command;
        bool drawn;
    };
    const Case cases[] = {{"Rank", true}, {"RankSpirel1", true}, {"Zipf", true}, {"ReadData", false}};
    for (const Case& c : cases) {
        auto f = FormWithRealData();
        f->Click(c.command);
        const std::string text = f->Text.ToString();
        const auto panelBefore = f->panel.All().size();
        const std::size_t opsBefore = f->Picture1.Ops().size();
        f->Picture1.Width = 24000;  // 1600 x 1000 pixels
        f->Picture1.Height = 15000;
        EXPECT_EQ(RedrawPicture(*f, c.command), c.drawn) << c.command;
        EXPECT_EQ(f->Text.ToString(), text) << c.command;
        EXPECT_EQ(f->panel.All().size(), panelBefore);
        if (!c.drawn) {
            EXPECT_EQ(f->Picture1.Ops().size(), opsBefore) << c.command;
            continue;
        }
        if (std::string(c.command) == "RankSpirel1") {
            // The outer ring, the first circle: round and centred, (24000 / 2, 15000 / 2),
            // radius half the smaller side less the 700-twip margins, (15000 - 1400) / 2.
            const auto& ops = f->Picture1.Ops();
            const auto ring = std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.kind == OpKind::Circle; });
            ASSERT_NE(ring, ops.end());
            EXPECT_TRUE(ring->x1 == 12000 && ring->y1 == 7500 && ring->radius == 6800) << ring->x1 << " " << ring->y1 << " " << ring->radius;
        } else {
            // The x-y plot area: 1200 twips in from the sides, 700 from top and bottom.
            EXPECT_EQ(f->Picture1.ZoomArea, (ViewRect{1200, 700, 22800, 14300})) << c.command;
        }
    }
}

// The map is drawn at its chosen date; a Tail-Fit picture needs its bootstrap and stays.
TEST(Redraw, TheMapKeepsItsDateAndAFitIsDrawnFromItsKeptTable) {
    auto f = FiveForm();
    f->Click("Map");
    f->ChooseText("Dates", "1990");
    f->Picture1.Width = 12000;
    EXPECT_TRUE(RedrawPicture(*f, "Map"));
    for (const DrawOp& op : f->Picture1.Ops())
        EXPECT_TRUE(op.tag.series != MapPlaceSeries || op.tag.date == 1);
    EXPECT_EQ(f->Module<MapModule>().state.geometry.right, 12000 - 300);

    // Next-Graph pages on: drawing it again would show the next page.
    auto n = FormWithRealData();
    n->Click("Zipf");
    n->Click("NextGraph");
    EXPECT_FALSE(RedrawPicture(*n, "NextGraph"));

    auto g = FormWithRealData();
    g->SetOption("replicates", "5");
    g->Click("TailFit");
    const std::string text = g->Text.ToString();
    g->Picture1.Width = 12000;
    // A redraw refuses to start a fit, so a picture drawn again came from the kept table.
    EXPECT_TRUE(RedrawPicture(*g, "TailFit"));
    EXPECT_EQ(g->Text.ToString(), text);
    float right = 0;
    for (const DrawOp& op : g->Picture1.Ops()) right = std::max({right, op.x1, op.x2});
    EXPECT_GT(right, 9000);  // laid out across the wider picture
}
