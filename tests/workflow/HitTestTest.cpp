#include <gtest/gtest.h>

#include "TestForm.h"
#include "draw/Emphasis.h"
#include "draw/HitTest.h"
#include "stats/MobilityPages.h"

namespace {

Picture TwoCrossingPaths() {
    Picture p;
    p.CurrentTag = OpTag{1, 0, 0, 0};  // a city's label or whole path: no date
    p.Line(0, 0, 1000, 0, 0);
    p.DrawWidth = 3;
    p.CurrentTag = OpTag{2, 4, 0, 0};
    p.Line(500, -500, 500, 500, 0);
    p.CurrentTag = OpTag{};
    p.Line(0, 300, 1000, 300, 0);  // an axis: never a hit
    return p;
}

}  // namespace

TEST(HitTest, NamesTheTopmostTaggedPathWithinTolerance) {
    Picture p = TwoCrossingPaths();
    auto crossing = HitTest(p, 500, 0, 30);
    ASSERT_TRUE(crossing);
    EXPECT_EQ(crossing->tag.city, 2);  // drawn last, so on top
    EXPECT_EQ(crossing->opIndex, 1u);

    auto first = HitTest(p, 200, 20, 30);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->tag.city, 1);
    EXPECT_FALSE(HitTest(p, 200, 60, 30));  // 60 twips off a 1-pixel line: 30 + 7.5 short
    // The 3-pixel line reaches 22.5 twips further on each side.
    EXPECT_TRUE(HitTest(p, 550, 200, 30));
    EXPECT_FALSE(HitTest(p, 560, 200, 30));
    EXPECT_FALSE(HitTest(p, 200, 300, 30));  // on the untagged line only
}

TEST(HitTest, RankSizeCurveTellsTheNearestRank) {
    auto f = FormWithRealData();
    f->Click("Rank");
    // The segment of the 1790 curve from rank 1 to rank 2: New York, then Philadelphia.
    const auto& ops = f->Picture1.Ops();
    std::size_t seg = ops.size();
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].tag.date == 1 && ops[i].tag.point == 2) seg = i;
    ASSERT_LT(seg, ops.size());
    const DrawOp& op = ops[seg];
    Hit nearStart{seg, op.tag};
    std::string text = DescribeHit(*f, nearStart, op.x1 + 5, op.y1);
    EXPECT_NE(text.find("Census of 1790"), std::string::npos) << text;
    EXPECT_NE(text.find("rank 1: New York City, NY, population 33131"), std::string::npos) << text;
    text = DescribeHit(*f, nearStart, op.x2 - 5, op.y2);
    EXPECT_NE(text.find("rank 2: Philadelphia, PA, population 28522"), std::string::npos) << text;
}

TEST(HitTest, APathSegmentNamesItsNearerDate) {
    // Two dates of one city: 1790 at x = 0, 1800 at x = 1000; the op is tagged with 1800.
    auto f = FormWithData("\"A\",10,20,30\n\"B\",5,5,5\n", 2, 3);
    f->Picture1.Clear();
    f->Picture1.CurrentTag = OpTag{1, 2, 0, 0};
    f->Picture1.Line(0, 0, 1000, 0, 0);
    auto hit = HitTest(f->Picture1, 100, 0, 30);
    ASSERT_TRUE(hit);
    EXPECT_EQ(DescribeHit(*f, *hit, 100, 0), "A, 1790: rank 1, population 10");
    EXPECT_EQ(DescribeHit(*f, *hit, 900, 0), "A, 1800: rank 1, population 20");
    // A line across cities at one date keeps its date at both ends.
    f->Picture1.CurrentTag = OpTag{1, 2, CitiesAtOneDate, 0};
    f->Picture1.Line(0, 500, 1000, 500, 0);
    hit = HitTest(f->Picture1, 100, 500, 30);
    ASSERT_TRUE(hit);
    EXPECT_EQ(DescribeHit(*f, *hit, 100, 500), "A, 1800: rank 1, population 20");
}

TEST(HitTest, MobilityPointsNameTheirPairOfDates) {
    auto f = FormWithRealData();
    f->Click("Mobility");
    // The turnover segment that ends at 1950 (date 17) and starts at 1940.
    const auto& ops = f->Picture1.Ops();
    std::size_t seg = ops.size();
    for (std::size_t i = 0; i < ops.size() && seg == ops.size(); ++i)
        if (ops[i].tag.series == MobilityPairSeries && ops[i].tag.date == 17 && ops[i].kind == OpKind::Line &&
            ops[i].x1 != ops[i].x2)
            seg = i;
    ASSERT_LT(seg, ops.size());
    const DrawOp& op = ops[seg];
    // The tau_b curve comes first: 1940 -> 1950's 0.84534 (scipy) on a scale of 1.2.
    EXPECT_NEAR(op.y2, 8300 - 0.8453443148021048 * 7600 / 1.2, 0.5);
    // Counted from the data file by a separate script: 1940 -> 1950 has 94 cities at both
    // dates, 7 entries, 7 exits (turnover 14 / 108), tau_b 0.8453 as scipy.
    EXPECT_EQ(DescribeHit(*f, Hit{seg, op.tag}, op.x2 - 5, op.y2),
              "1940 to 1950\ntau_b 0.8453, turnover 0.1296, mean shift 6.21277\n94 common, 7 entries, 7 exits");
    EXPECT_EQ(DescribeHit(*f, Hit{seg, op.tag}, op.x1 + 5, op.y1).substr(0, 12), "1930 to 1940");
}

TEST(Emphasis, PinnedPathOnTopOthersDimmedTheRestAsDrawn) {
    const Colour grey = RGB(200, 200, 200), black = RGB(0, 0, 0), red = RGB(255, 0, 0);
    struct Case {
        OpTag tag;
        Colour colour, back;
        int16_t width;
        int city;
        Colour wantColour;
        int16_t wantWidth;
        bool wantOnTop;
    };
    // Dimmed: each channel 80 % of the way to the background, 255 - 0.8 * 55 = 211, 0.8 * 200 = 160.
    const Case cases[] = {
        {OpTag{5, 3, 0, 0}, red, grey, 1, 5, red, 3, true},              // the pinned city's path
        {OpTag{5, 3, 0, 0}, red, grey, 2, 5, red, 4, true},              // wider by two pixels
        {OpTag{7, 3, 0, 0}, red, grey, 1, 5, RGB(211, 160, 160), 1, false},  // another city's
        {OpTag{7, 0, 0, 0}, RGB(255, 255, 255), black, 1, 5, RGB(51, 51, 51), 1, false},
        {OpTag{0, 3, RankCurve, 4}, red, grey, 1, 5, red, 1, false},      // a date's curve, no city
        {OpTag{}, black, grey, 1, 5, black, 1, false},                      // axes and labels
        {OpTag{0, 0, KeySeries, 0}, red, grey, 1, 5, red, 1, false},       // a key
        {OpTag{5, 9, CitiesAtOneDate, 0}, red, grey, 1, 5, red, 1, false},  // a line across cities
        {OpTag{7, 3, 0, 0}, red, grey, 1, 0, red, 1, false},               // nothing emphasised
    };
    for (const Case& c : cases) {
        DrawOp op;
        op.tag = c.tag;
        op.colour = c.colour;
        op.width = c.width;
        const OpStyle s = EmphasisStyle(op, c.city, c.back);
        EXPECT_EQ(s.colour, c.wantColour) << c.tag.city << "/" << c.tag.series << " under " << c.city;
        EXPECT_EQ(s.width, c.wantWidth) << c.tag.city << " under " << c.city;
        EXPECT_EQ(s.onTop, c.wantOnTop) << c.tag.city << " under " << c.city;
    }
}
