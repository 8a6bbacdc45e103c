// Markov, SpatialMarkov and MoranGrowth as the window and the command line run them: the
// buttons, the options, the tables written as CSV, the pictures and LISA on the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "../TestForm.h"
#include "core/MapModule.h"
#include "map/Map.h"
#include "core/MarkovModule.h"
#include "data/Import.h"
#include "draw/Ticks.h"
#include "stats/MarkovPlots.h"

namespace {

const std::string Pysal = std::string(CITYSIZE_TEST_DATA) + "/pysal/";

std::unique_ptr<Form> UsIncomes() {
    auto f = std::make_unique<Form>(Pysal + "usjoin.csv");
    f->Import.id = NoColumn;  // the k-th GAL record is the k-th row
    f->Click("ReadData");
    return f;
}

const Form& UsPlaces() {
    static const std::unique_ptr<Form> f = UsPlacesForm();
    return *f;
}

std::string Cell(const ResultTable& t, const std::string& row0, const std::string& column) {
    const auto c = std::find(t.columns.begin(), t.columns.end(), column) - t.columns.begin();
    for (const auto& r : t.rows)
        if (r[0] == row0) return r[static_cast<std::size_t>(c)];
    return "missing";
}

std::size_t Tagged(const Picture& p, int16_t series) {
    return static_cast<std::size_t>(std::count_if(p.Ops().begin(), p.Ops().end(), [&](const DrawOp& op) { return op.tag.series == series; }));
}

// Three tables (their columns and numbers: MarkovCommandLine, MarkovChainTest), the indices
// named in the last, a heat map of 25 cells and 5 steady-state bars, and a cell's hover.
TEST(MarkovModule, MarkovPrintsThreeTablesAndAHeatMap) {
    const auto f = UsIncomes();
    f->Click("Markov");
    const auto& t = f->Text.Tables;
    ASSERT_EQ(t.size(), 3u);
    for (const char* m : {"Shorrocks", "ShorrocksDet", "SommersConlisk", "Bartholomew"}) EXPECT_NE(Cell(t[2], m, "Value"), "missing") << m;
    EXPECT_EQ(Tagged(f->Picture1, MarkovCell), 30u);
    // Hover on the cell 5 -> 5 names its probability and counts (giddy: 741 of 799).
    const auto& ops = f->Picture1.Ops();
    const auto cell = std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) {
        return op.tag.series == MarkovCell && op.tag.city == 5 && op.tag.point == 5;
    });
    ASSERT_NE(cell, ops.end());
    EXPECT_EQ(DescribeHit(*f, Hit{static_cast<std::size_t>(cell - ops.begin()), cell->tag}, cell->x1, cell->y1),
              "class 5 -> 5: p = 0.9274 (741 of 799 transitions)");
}

// A picture of transition matrices read back against the printed table: the cell in row i
// (top down) and column j (left to right) of matrix m holds P_ij as its label (the table's row
// m K + i, its P columns from `p1`), and of two cells the likelier is the darker. Rows without
// transitions (n 0) are blank.
void ExpectMatricesShowTheTable(const Picture& pic, int16_t series, const ResultTable& t, std::size_t p1, std::size_t cellsWanted) {
    const auto& ops = pic.Ops();
    std::map<std::tuple<int, int, int>, const DrawOp*> cells;  // (matrix, row, column)
    for (const DrawOp& op : ops)
        if (op.tag.series == series && op.tag.point > 0 && op.kind == OpKind::Line) cells[{op.tag.date, op.tag.city, op.tag.point}] = &op;
    ASSERT_EQ(cells.size(), cellsWanted);
    const int k = static_cast<int>(t.columns.size() - p1) - (series == MarkovCell ? 2 : 0);  // Markov adds Steady, Sojourn
    const auto row = [&](int m, int i) { return t.rows[static_cast<std::size_t>((m > 0 ? m - 1 : 0) * k + i - 1)]; };
    const auto p = [&](int m, int i, int j) { return std::stod(row(m, i)[p1 + static_cast<std::size_t>(j - 1)]); };
    const auto darkness = [](Colour c) { return 765 - (c & 255) - (c >> 8 & 255) - (c >> 16 & 255); };
    const auto middle = [](const DrawOp& op) {
        return op.kind == OpKind::Text ? std::pair{op.x1 + LabelWidth(op.text, op.fontSize) / 2, op.y1 + LabelHeight(op.fontSize) / 2}
                                       : std::pair{(op.x1 + op.x2) / 2.0, (op.y1 + op.y2) / 2.0};
    };
    for (const auto& [at, cell] : cells) {
        const auto [m, i, j] = at;
        SCOPED_TRACE(std::to_string(m) + ": " + std::to_string(i) + " -> " + std::to_string(j));
        EXPECT_TRUE(j == 1 || cell->x1 > (cells[{m, i, j - 1}]->x1));
        EXPECT_TRUE(i == 1 || cell->y1 > (cells[{m, i - 1, j}]->y1));
        if (row(m, i)[p1 - 1] == "0") continue;
        const auto [cx, cy] = middle(*cell);
        const DrawOp* label = nullptr;  // the text whose middle lies nearest the cell's
        for (const DrawOp& op : ops)
            if (op.kind == OpKind::Text &&
                (!label || std::hypot(middle(op).first - cx, middle(op).second - cy) <
                               std::hypot(middle(*label).first - cx, middle(*label).second - cy)))
                label = &op;
        char want[16];
        std::snprintf(want, sizeof want, "%.2f", p(m, i, j));
        EXPECT_EQ(label->text, want);
        for (const auto& [other, o] : cells) {
            const auto [m2, i2, j2] = other;
            EXPECT_TRUE(row(m2, i2)[p1 - 1] == "0" || p(m, i, j) <= p(m2, i2, j2) + 0.01 || darkness(cell->colour) > darkness(o->colour))
                << p(m, i, j) << " against " << p(m2, i2, j2);
        }
    }
}

// Spatial Markov through the window with a GAL file: giddy's Q and LR (SpatialMarkovTest) in
// their rows, 60 degrees of freedom each, and 25 stacked rows drawn as five matrices.
TEST(MarkovModule, TheHeatMapShowsTheTableCellByCell) {
    const auto f = UsIncomes();
    f->Click("Markov");
    ExpectMatricesShowTheTable(f->Picture1, MarkovCell, f->Text.Tables[0], 2, 25);  // Class, n, P1..P5, ...
    f->SetOption("weights", Pysal + "states48.gal");
    f->Click("SpatialMarkov");
    const auto& t = f->Text.Tables;
    ASSERT_EQ(t.size(), 2u);
    EXPECT_NEAR(std::stod(Cell(t[1], "Q", "Value")), 200.624, 5e-4);
    EXPECT_NEAR(std::stod(Cell(t[1], "LR", "Value")), 170.659, 5e-4);
    EXPECT_EQ(Cell(t[1], "Q_df", "Value") + Cell(t[1], "LR_df", "Value"), "6060");
    ExpectMatricesShowTheTable(f->Picture1, SpatialMarkovCell, t[0], 3, 125);  // Lag, Class, n, P1..P5
}

TEST(MarkovModule, ClassesOptionChangesTheTables) {
    const auto f = UsIncomes();
    f->SetOption("classes", "3");
    f->Click("Markov");
    EXPECT_TRUE(f->Text.Tables[0].rows.size() == 3 && f->Text.Tables[1].columns.back() == "T3");
    for (const char* bad : {"1", "0", "x", "2.5", "101"})
        EXPECT_NE(Thrown([&] { f->SetOption("classes", bad); }).find("--classes"), std::string::npos) << bad;
    EXPECT_NE(Thrown([&] { f->SetOption("neighbours", "0"); }).find("--neighbours 0 is out of range"), std::string::npos);
    // The nearest neighbours need positions: usjoin has none, so the command says what to give.
    EXPECT_NE(ErrorOf(*f, "MoranGrowth").find("No place has a position"), std::string::npos);
}

TEST(MarkovModule, GalProblemsReachTheUser) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto f = UsIncomes();
    // Record ids 0..47 then one more: the 49th names no row (usjoin has 48).
    std::string text = FileBytes(Pysal + "states48.gal");
    text.replace(0, 2, "49");
    text += "48 1\n0\n";
    std::ofstream(dir / "citysize-extra.gal", std::ios::binary) << text;
    f->SetOption("weights", (dir / "citysize-extra.gal").string());
    f->LoadWarnings.clear();
    f->Click("SpatialMarkov");
    ASSERT_EQ(f->LoadWarnings.size(), 1u);
    EXPECT_NE(f->LoadWarnings[0].find("1 ids match no place and are left out: 48"), std::string::npos) << f->LoadWarnings[0];
    std::ofstream(dir / "citysize-broken.gal", std::ios::binary) << "2\n0 1\n1 0\n1 1\n0\n";
    f->SetOption("weights", (dir / "citysize-broken.gal").string());
    EXPECT_NE(ErrorOf(*f, "SpatialMarkov").find("line 3: place 0 has 1 neighbours by its count but 2 ids are listed"),
              std::string::npos);
}

// On every US place: 22 pairs, the same seed gives the same table, and each pair's point is
// drawn; 9,000 nearest neighbours are refused with the count of places that have a position.
TEST(MarkovModule, MoranGrowthOnUsPlacesIsSeededAndRefusesTooManyNeighbours) {
    Form& f = const_cast<Form&>(UsPlaces());
    f.SetOption("neighbours", "5");
    f.SetOption("seed", "7");
    f.Click("MoranGrowth");
    const ResultTable first = f.Text.Tables.at(0);
    EXPECT_EQ(first.columns, (std::vector<std::string>{"From", "To", "n", "I", "EI", "z_norm", "p_norm", "p_sim"}));
    EXPECT_EQ(first.rows.size(), 22u);
    EXPECT_EQ(Tagged(f.Picture1, MoranGrowthPoint), 22u);
    f.Click("MoranGrowth");
    EXPECT_EQ(f.Text.Tables.at(0).rows, first.rows);
    // EI = -1/(n-1) on every row
    for (const auto& r : first.rows) EXPECT_NEAR(std::stod(r[4]), -1.0 / (std::stod(r[2]) - 1), 1e-15);
    // The picture: each pair's point at its middle year and its I (the scales from the first
    // and last pairs), filled in the key's colour where p_sim < 0.05, ringed otherwise.
    std::map<int, const DrawOp*> at;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.series == MoranGrowthPoint) at[op.tag.point] = &op;
    Colour significant = -1;  // this key's strokes carry no tag
    const auto& ops = f.Picture1.Ops();
    for (std::size_t k = 1; k < ops.size(); ++k)
        if (ops[k].kind == OpKind::Text && ops[k].text == "I with p_sim < 0.05") significant = ops[k - 1].colour;
    ASSERT_NE(significant, -1);
    const auto value = [&](int k, int column) { return std::stod(first.rows[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(column)]); };
    const auto middle = [&](int k) { return (value(k, 0) + value(k, 1)) / 2; };
    const auto [lo, hi] = std::minmax_element(first.rows.begin(), first.rows.end(), [](const auto& a, const auto& b) { return std::stod(a[3]) < std::stod(b[3]); });
    const int kl = static_cast<int>(lo - first.rows.begin()) + 1, kh = static_cast<int>(hi - first.rows.begin()) + 1;
    const double yb = (at[kh]->y1 - at[kl]->y1) / (value(kh, 3) - value(kl, 3)), xb = (at[22]->x1 - at[1]->x1) / (middle(22) - middle(1));
    for (const auto& [k, op] : at) {
        EXPECT_NEAR(op->x1, at[1]->x1 + xb * (middle(k) - middle(1)), 1) << k;
        EXPECT_NEAR(op->y1, at[kl]->y1 + yb * (value(k, 3) - value(kl, 3)), 1) << k;
        EXPECT_EQ(op->fill == significant, value(k, 7) < 0.05) << k;
    }
    f.SetOption("neighbours", "9000");
    EXPECT_NE(ErrorOf(f, "MoranGrowth").find("--neighbours 9000 is more than the"), std::string::npos);
    f.SetOption("neighbours", "5");
}

// LISA on the map: every disc is one of the five LISA colours, and some of each cluster kind
// appear among the US places in 1990-2000.
TEST(MarkovModule, LisaColoursTheMap) {
    Form& f = const_cast<Form&>(UsPlaces());
    f.SetOption("neighbours", "5");
    f.Click("Map");
    f.ChooseText("Dates", "1990");
    f.ChooseText("MapColour", "LISA");
    std::vector<int> seen(5, 0);
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.series == MapPlaceSeries) {
            int k = 0;
            while (k < 5 && op.fill != LisaColour(k)) ++k;
            ASSERT_LT(k, 5);
            ++seen[static_cast<std::size_t>(k)];
        }
    for (int c = 0; c < 5; ++c) EXPECT_GT(seen[static_cast<std::size_t>(c)], 0) << c;
    const auto& ops = f.Picture1.Ops();
    EXPECT_TRUE(std::any_of(ops.begin(), ops.end(), [](const DrawOp& op) { return op.text.find("LISA of growth 1990-2000") != std::string::npos; }));
    // The key names each class once beside a disc of its own colour, the five colours those
    // the discs take; clusters of high growth reddish, of low growth bluish (GeoDa's convention).
    std::map<std::string, Colour> key;
    for (std::size_t k = 1; k < ops.size(); ++k)
        if (ops[k].kind == OpKind::Text && ops[k - 1].kind == OpKind::Circle && ops[k - 1].tag.series != MapPlaceSeries)
            key[ops[k].text] = ops[k - 1].fill;
    const auto red = [](Colour c) { return c & 255; };
    const auto blue = [](Colour c) { return (c >> 16) & 255; };
    std::vector<Colour> keyed, drawn;
    for (const char* name : {"high-high", "high-low", "low-low", "low-high", "not significant"}) {
        ASSERT_EQ(key.count(name), 1u) << name;
        keyed.push_back(key[name]);
    }
    for (int k = 0; k < 5; ++k) drawn.push_back(LisaColour(k));  // each seen on a disc above
    EXPECT_TRUE(std::is_permutation(keyed.begin(), keyed.end(), drawn.begin(), drawn.end()));
    for (const char* name : {"high-high", "high-low"}) EXPECT_GT(red(key[name]), blue(key[name])) << name;
    for (const char* name : {"low-low", "low-high"}) EXPECT_LT(red(key[name]), blue(key[name])) << name;
    EXPECT_EQ(red(key["not significant"]), blue(key["not significant"]));
    // The choice holds when the map is drawn again.
    f.Click("Clear");
    f.Click("Map");
    EXPECT_EQ(f.Module<MapModule>().state.colouring, MapColouring::Lisa);
}

}  // namespace
