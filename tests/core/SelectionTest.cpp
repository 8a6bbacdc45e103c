// The selection of places: the set itself, names and files, analysing it as a table of its
// own, the places under a rectangle, the marks it leaves on the map and the rank-size curves,
// and the names placed on the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "TestForm.h"
#include "core/MapModule.h"
#include "core/TailFitModule.h"
#include "core/Groups.h"
#include "core/Marks.h"
#include "core/SelectionActions.h"
#include "map/Map.h"
#include "map/MapLabels.h"

namespace {

std::string TempFile(const std::string& name, const std::string& content) {
    const auto path = std::filesystem::temp_directory_path() / ("citysize-selection-" + name);
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

int CountSeries(const Picture& p, int16_t series) {
    int n = 0;
    for (const DrawOp& op : p.Ops()) n += op.tag.series == series;
    return n;
}

}  // namespace

TEST(Selection, AddRemoveAndSetKeepOneSortedCopyOfEachPlace) {
    struct Step {
        char op;  // S set, A add, R remove, C clear
        std::vector<int> places;
        std::vector<int> after;
    };
    const Step steps[] = {
        {'S', {5, 2, 2, 9}, {2, 5, 9}},
        {'A', {1, 5}, {1, 2, 5, 9}},
        {'R', {2, 7}, {1, 5, 9}},   // removing a place not selected changes nothing else
        {'A', {0, -3}, {1, 5, 9}},  // no such places
        {'C', {}, {}},
        {'A', {4}, {4}},
    };
    Selection s;
    for (const Step& st : steps) {
        if (st.op == 'S') s.Set(st.places);
        if (st.op == 'A') s.Add(st.places);
        if (st.op == 'R') s.Remove(st.places);
        if (st.op == 'C') s.Clear();
        EXPECT_EQ(s.Places(), st.after) << st.op;
        for (int c = 0; c <= 10; ++c)
            EXPECT_EQ(s.Has(c), std::find(st.after.begin(), st.after.end(), c) != st.after.end()) << st.op << c;
    }
}

TEST(Selection, NamesFromAListOrAFileAndTheErrorsNameWhatIsWrong) {
    auto f = FiveForm();
    // Table order of five.csv: New York 1, Chicago 2, Los Angeles 3, Anchorage 4, Miami 5.
    const std::string quoted = TempFile("quoted.txt", "\xEF\xBB\xBF\"Chicago, IL\"\r\n\n  Miami, FL  \r\n");
    const std::string empty = TempFile("empty.txt", "\n  \n");
    struct Case {
        std::string list;
        std::vector<int> places;
        std::string error;
    };
    const Case cases[] = {
        {"Chicago, IL;Miami, FL", {2, 5}, ""},
        {" Miami, FL ; ;Chicago, IL;Miami, FL", {2, 5}, ""},
        {"@" + quoted, {2, 5}, ""},
        {"Chicago, IL;Springfield, IL", {}, "No place is named \"Springfield, IL\""},
        {"Chicago", {}, "No place is named \"Chicago\""},
        {" ; ", {}, "names no place"},
        {"@" + empty, {}, "names no place"},
        {"@/no/such/selection.txt", {}, "\"/no/such/selection.txt\" cannot be read"},
    };
    for (const Case& c : cases) {
        f->selection.Set({1});
        const std::string error = Thrown([&] { SelectFromList(*f, c.list); });
        if (c.error.empty()) {
            EXPECT_EQ(error, "no error") << c.list;
            EXPECT_EQ(f->selection.Places(), c.places) << c.list;
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.list << ": " << error;
            EXPECT_EQ(f->selection.Places(), std::vector<int>{1}) << "a refused selection leaves the last: " << c.list;
        }
    }
    // Saved one name a line in table order (read back: Brushing.AnalyseSelectionThenTailFitAndSaveLoad).
    f->selection.Set({3, 2});
    const std::string saved = TempFile("saved.txt", "");
    WriteNameFile(*f->data, f->selection, saved);
    EXPECT_EQ(FileBytes(saved), "Chicago, IL\nLos Angeles, CA\n");
}

// Analysing a selection ranks its places among themselves exactly as installing a group does:
// the California places selected give the table the group CA gives, rank for rank. (That
// Tail-Fit then sees the selection alone: Brushing.AnalyseSelectionThenTailFitAndSaveLoad.)
TEST(Selection, AnalysedAsAGroupIsAndAllRestoresTheWholeTable) {
    auto f = UsPlacesForm();
    const int whole = f->data->NumCities;
    std::vector<int> california;
    for (int c = 1; c <= f->data->NumCities; ++c)
        if (f->data->Group(c) == "CA") california.push_back(c);
    ASSERT_GT(california.size(), 1000u);
    ChooseGroup(*f, "CA");
    const DataSet group = *f->data;
    const RankTables groupRanks = f->rank;
    ChooseGroup(*f, AllGroups);
    f->selection.Set(california);
    AnalyseSelection(*f);
    ASSERT_EQ(f->data->NumCities, group.NumCities);
    ASSERT_EQ(f->data->NumDates, group.NumDates);
    EXPECT_TRUE(f->selection.Empty());
    EXPECT_EQ(f->groupName, "Selection (" + std::to_string(california.size()) + " places)");
    for (int t = 1; t <= group.NumDates; ++t) {
        EXPECT_EQ(f->data->DateYear(t), group.DateYear(t));
        for (int i = 1; i <= group.NumCities; ++i)
            EXPECT_TRUE(f->rank.RankCity(i, t) == groupRanks.RankCity(i, t) && f->rank.RankPop(i, t) == groupRanks.RankPop(i, t))
                << t << " " << i;
    }
    ChooseGroup(*f, AllGroups);
    EXPECT_EQ(f->data->NumCities, whole);
    // Nothing selected: nothing to analyse.
    EXPECT_NE(Thrown([&] { AnalyseSelection(*f); }).find("No place is selected"), std::string::npos);
}

// A rectangle over a disc selects its place; on the rank-size curves, over a place's point.
TEST(Selection, PlacesUnderARectangle) {
    auto f = FiveForm();
    f->Click("Map");
    const MapGeometry& g = f->Module<MapModule>().state.geometry;
    for (int c = 1; c <= 5; ++c) {
        const auto x = static_cast<float>(g.x[c - 1]), y = static_cast<float>(g.y[c - 1]);
        EXPECT_EQ(PlacesUnder(*f, x - 10, y - 10, x + 10, y + 10), std::vector<int>{c}) << c;
        EXPECT_EQ(PlacesUnder(*f, x + 10, y + 10, x - 10, y - 10), std::vector<int>{c}) << "corners swapped " << c;
    }
    EXPECT_EQ(PlacesUnder(*f, 0, 0, 9000, 9000).size(), 5u);  // Nowhere has no position
    // Rank-Size: New York is the largest at every date; its point at the last date lies at
    // ln 1 = 0 on the x axis and ln 8,175,133 = 15.9166 on the y axis (the frame's scales).
    f->Click("Clear");
    f->Click("Rank");
    const PlotFrame& fr = f->frame;
    const auto x = static_cast<float>(fr.LeftMargin), y = static_cast<float>(fr.PlotHeight + fr.TopMargin - std::log(8175133.0) * fr.YScale);
    EXPECT_EQ(PlacesUnder(*f, x - 20, y - 20, x + 20, y + 20), std::vector<int>{1});
}

// Marks: nothing without a pin or a selection (the picture as the command drew it); with
// them, a halo and a name for each marked place on the map, and a ring on every curve where
// the place is present on Rank-Size.
TEST(Selection, MarksOnTheMapAndTheCurvesFollowThePinAndTheSelection) {
    auto f = FiveForm();
    f->Click("Map");
    const std::size_t plain = f->Picture1.Ops().size();
    EXPECT_EQ(CountSeries(f->Picture1, MarkSeries), 0);
    struct Case {
        int pin;
        std::vector<int> selected;
        int halos;
    };
    const Case cases[] = {{0, {}, 0}, {2, {}, 1}, {0, {3, 5}, 2}, {2, {2, 5}, 2}, {1, {2, 3, 4, 5}, 5}};
    for (const Case& c : cases) {
        f->Pinned = c.pin;
        f->selection.Set(c.selected);
        RemarkPlaces(*f);
        int halos = 0, names = 0, plates = 0;
        for (const DrawOp& op : f->Picture1.Ops()) {
            if (op.tag.series != MarkSeries) continue;
            if (op.kind == OpKind::Circle) {
                // A ring around its own disc, clear of it; the pin's drawn wider than a selection's.
                const auto& ops = f->Picture1.Ops();
                const auto disc = std::find_if(ops.begin(), ops.end(), [&](const DrawOp& d) { return d.tag.series == MapPlaceSeries && d.tag.city == op.tag.city; });
                ASSERT_NE(disc, ops.end());
                EXPECT_TRUE(op.x1 == disc->x1 && op.y1 == disc->y1 && op.radius > disc->radius && (op.width > 2) == (op.tag.city == c.pin)) << op.tag.city;
            }
            halos += op.kind == OpKind::Circle;
            names += op.kind == OpKind::Text;
            plates += op.kind == OpKind::Line;
            EXPECT_TRUE(MarkedPlaces(*f).Has(op.tag.city));
        }
        EXPECT_EQ(halos, c.halos) << c.pin;
        // Each marked place named at most once (it may be among the largest already), on its plate.
        EXPECT_LE(names, c.halos);
        EXPECT_EQ(plates, names);
        EXPECT_EQ(f->Picture1.Ops().size(), plain + static_cast<std::size_t>(halos + names + plates));
    }
    // Rank-Size over three dates: Miami (5) present at all three gets three rings.
    f->Pinned = 0;
    f->selection.Set({5});
    f->Click("Clear");
    f->Click("Rank");
    EXPECT_EQ(CountSeries(f->Picture1, MarkSeries), 3);
    f->selection.Clear();
    RemarkPlaces(*f);
    EXPECT_EQ(CountSeries(f->Picture1, MarkSeries), 0);
}

TEST(MapLabels, NamesPlacedGreedilyNeverOverlapAndStayInTheFrame) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> along(1000, 8000), size(20, 400);
    const LabelBox frame{300, 720, 8700, 7300};
    for (int round = 0; round < 20; ++round) {
        std::vector<LabelRequest> requests;
        for (int k = 0; k < 60; ++k)
            requests.push_back({k + 1, along(random), along(random) * 0.8, size(random), "Place number " + std::to_string(k)});
        std::vector<LabelBox> taken;
        const auto placed = PlaceLabels(requests, frame, taken);
        ASSERT_FALSE(placed.empty());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            EXPECT_TRUE(placed[i].box.Inside(frame));
            for (std::size_t j = i + 1; j < placed.size(); ++j) EXPECT_FALSE(placed[i].box.Overlaps(placed[j].box));
            // Beside its disc: the box's nearest point is a small gap from the disc's edge.
            const LabelRequest& r = requests[static_cast<std::size_t>(placed[i].city - 1)];
            const double nx = std::clamp(r.x, placed[i].box.left, placed[i].box.right);
            const double ny = std::clamp(r.y, placed[i].box.top, placed[i].box.bottom);
            const double gap = std::hypot(nx - r.x, ny - r.y) - r.radius;
            EXPECT_GE(gap, 0) << round;
            EXPECT_LE(gap, 60) << round;
        }
        // Greedy, the first request first: it always gets a place when any fits.
        EXPECT_EQ(placed.front().city, 1);
    }
    // A disc at the frame's right edge is named on its left; one with no room is left out.
    std::vector<LabelBox> taken;
    const auto edge = PlaceLabels({{1, 8600, 4000, 50, "Edge"}}, frame, taken);
    EXPECT_TRUE(edge.size() == 1 && edge[0].box.right < 8600);
    taken = {frame};
    EXPECT_TRUE(PlaceLabels({{1, 4000, 4000, 50, "Nowhere"}}, frame, taken).empty());
}

TEST(MapLabels, TheLargestPlacesInsideTheFrameAreNamed) {
    for (const auto& [name, label] : {std::pair{"Chicago, IL", "Chicago"}, {"Ardmore, OK, IT", "Ardmore"}, {"Lagos", "Lagos"}, {", odd", ", odd"}})
        EXPECT_EQ(LabelName(name), label);
    auto f = FiveForm();
    // 2010 by size: New York, Los Angeles, Chicago, Miami, Anchorage.
    const char* largest[] = {"New York", "Los Angeles", "Chicago", "Miami", "Anchorage"};
    for (int n : {0, 1, 3, 10}) {
        f->Module<MapModule>().state.labelCount = n;
        f->Click("Map");
        std::vector<std::string> names;
        for (const DrawOp& op : f->Picture1.Ops())
            if (op.tag.series == MapLabelSeries && op.kind == OpKind::Text) names.push_back(op.text);
        const std::size_t want = std::min<std::size_t>(static_cast<std::size_t>(n), 5);
        ASSERT_EQ(names.size(), want) << n;
        for (std::size_t k = 0; k < want; ++k) EXPECT_EQ(names[k], largest[k]);
        f->Click("Clear");
    }
    // Only the part of the map shown counts: a frame around Miami names Miami alone.
    const MapGeometry& g = f->Module<MapModule>().state.geometry;
    const LabelBox aroundMiami{g.x[4] - 100, g.y[4] - 100, g.x[4] + 100, g.y[4] + 100};
    const auto r = LargestPlaces(*f->data, g, 3, 10, aroundMiami);
    EXPECT_TRUE(r.size() == 1 && r[0].text == "Miami");
}

// Rank-Spirel1 of 8,915 places draws every 4th path; a selected place whose path was left out
// is drawn as well, so a brushed set is seen whole; the rest stays thinned.
TEST(Selection, AThinnedPictureOfPathsDrawsTheSelectedPaths) {
    auto f = UsPlacesForm();
    f->Click("RankSpirel1");
    std::vector<int> hidden;
    for (int c = 1; c <= f->data->NumCities && hidden.size() < 3; ++c)
        if (!ShowsCity(f->Picture1, c) && f->data->Pop(c, f->data->NumDates) > 0) hidden.push_back(c);
    ASSERT_EQ(hidden.size(), 3u);
    const auto shown = [&] {  // of the first 400 places, those drawn and not selected
        std::vector<int> s;
        for (int c = 1; c <= 400; ++c)
            if (ShowsCity(f->Picture1, c) && !f->selection.Has(c)) s.push_back(c);
        return s;
    };
    const std::vector<int> before = shown();
    f->selection.Set(hidden);
    EXPECT_TRUE(RemarkPlaces(*f));
    for (int c : hidden) EXPECT_TRUE(ShowsCity(f->Picture1, c)) << c;
    EXPECT_EQ(shown(), before);
    // A picture that is not thinned only has its marks replaced.
    f->Click("Clear");
    f->Click("Rank");
    EXPECT_FALSE(RemarkPlaces(*f));
}

// Tail-Plot draws the places of one date as points: a rectangle over a point selects its
// place, and a selected place gets a ring on its point.
TEST(Selection, TailPlotPointsAreBrushedAndRinged) {
    auto f = FormWithRealData();
    f->Module<TailFitModule>().options.replicates = 0;
    f->Click("TailFit");
    f->ChooseText("Dates", "2000");
    f->Click("TailPlot");
    const auto& ops = f->Picture1.Ops();
    const auto point = std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) {
        return op.tag.series == CitiesAtOneDate && op.tag.city > 0 && op.kind == OpKind::Circle;
    });
    ASSERT_NE(point, ops.end());
    const int city = point->tag.city;
    const float x = point->x1, y = point->y1;
    const auto under = PlacesUnder(*f, x - 1, y - 1, x + 1, y + 1);
    EXPECT_NE(std::find(under.begin(), under.end(), city), under.end());
    int points = 0;
    for (const DrawOp& op : f->Picture1.Ops()) points += op.tag.series == CitiesAtOneDate && op.tag.city == city;
    f->selection.Set({city});
    EXPECT_FALSE(RemarkPlaces(*f));
    int rings = 0;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.series == MarkSeries) {
            ++rings;
            EXPECT_TRUE(op.tag.city == city && op.kind == OpKind::Circle && op.x1 == x && op.y1 == y);
        }
    EXPECT_EQ(rings, points);
}
