#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"

namespace {

// traj.csv, five cities over 1790..1820 (three present at every date):
//              1790  1800  1810  1820
//   1 Unit      100     1     -     -     a true population of 1 in 1800
//   2 Early     300   400   500   600
//   3 Late        -     -   200   700     enters late
//   4 Gap       200     -   100   150     leaves and comes back
//   5 Once        -    50     -     -     one date only
// Ranks (ties, population 1, by city number):
//   1790: Early 1, Gap 2, Unit 3 | Late 4, Once 5
//   1800: Early 1, Once 2, Unit 3 | Late 4, Gap 5
//   1810: Early 1, Late 2, Gap 3 | Unit 4, Once 5
//   1820: Late 1, Early 2, Gap 3 | Unit 4, Once 5
// Order at the first date: Early, Gap, Unit, Late, Once.
std::unique_ptr<Form> TrajForm() {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/ranksize/traj.csv");
    std::stringstream s;
    s << in.rdbuf();
    return FormWithData(s.str(), 5, 4);
}

enum City { Unit = 1, Early, Late, Gap, Once };

std::vector<DrawOp> OpsOfCity(const Form& f, int c) {
    std::vector<DrawOp> out;
    for (const auto& op : f.Picture1.Ops())
        if (op.tag.city == c) out.push_back(op);
    return out;
}

bool IsMark(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

// The dates at which a city's runs start (its one-point marks).
std::vector<int> RunStarts(const std::vector<DrawOp>& ops) {
    std::vector<int> dates;
    for (const auto& op : ops)
        if (IsMark(op)) dates.push_back(op.tag.date);
    return dates;
}

Colour Grey(int level) { return RGB(level, level, level); }

bool HasText(const Form& f, const std::string& text) {
    for (const auto& op : f.Picture1.Ops())
        if (op.kind == OpKind::Text && op.text == text) return true;
    return false;
}

}  // namespace

// Ranks: a city's line passes only through the dates where its rank is within NumPresent.
// ColorStep = 255 / 5 = 51: Early 0 (black), Gap 51, Unit 102, Late 153, Once 204.
TEST(RankChange, LinesBreakWhereCitiesAreAbsentInFirstDateOrderGreys) {
    auto f = TrajForm();
    f->Click("RankChange");
    const struct {
        int city;
        std::size_t ops;
        std::vector<int> starts;
        int grey;
    } expected[] = {
        {Early, 4, {1}, 0},       // present throughout
        {Gap, 3, {1, 3}, 51},     // two runs
        {Unit, 2, {1}, 102},      // its population of 1 still ranks 3rd of 3 in 1800
        {Late, 2, {3}, 153},      // begins at its first present date
        {Once, 1, {2}, 204},      // a single mark, in its own colour
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.city);
        auto ops = OpsOfCity(*f, e.city);
        ASSERT_EQ(ops.size(), e.ops);
        EXPECT_EQ(RunStarts(ops), e.starts);
        for (const auto& op : ops) {
            EXPECT_EQ(op.colour, Grey(e.grey));
            EXPECT_EQ(op.width, 1);
        }
    }
    // xt = 4 * TimeFraction = 0, 4/3, 8/3, 4; xRange = 4, so XScale = 1650 and the dates
    // stand at 1200, 3400, 5600, 7800. yRange = 1.1 * 3: rank 1 is the lowest line,
    // 7600 / 3.3 above the axis at 8300.
    auto early = OpsOfCity(*f, Early);
    EXPECT_FLOAT_EQ(early[0].x1, 1200);
    EXPECT_NEAR(early[1].x2, 3400, 1e-2);
    EXPECT_NEAR(early[3].x2, 7800, 1e-2);
    EXPECT_NEAR(early[0].y1, 8300 - 7600 / 3.3, 1e-2);
    EXPECT_NEAR(early[3].y2, 8300 - 2 * 7600 / 3.3, 1e-2);  // rank 2 in 1820
    EXPECT_EQ(early[3].tag, (OpTag{Early, 4, 0}));
    // Axes drawn again last, over the lines.
    EXPECT_EQ(f->Picture1.Ops().back().kind, OpKind::Text);
}

// Populations: exactly 1.0 counts as absent, although NumPresent counts Unit in 1800.
// Greys start at 25: Early 25, Gap 76, Unit 127, Late 178, Once 229.
TEST(PopChange, TreatsAPopulationOfOneAsAbsent) {
    auto f = TrajForm();
    ASSERT_EQ(f->data->NumPresent(2), 3);
    f->Click("PopChange");
    auto unit = OpsOfCity(*f, Unit);
    ASSERT_EQ(unit.size(), 1u);  // 1790 only
    EXPECT_TRUE(IsMark(unit[0]));
    EXPECT_EQ(unit[0].colour, Grey(127));

    auto gap = OpsOfCity(*f, Gap);
    ASSERT_EQ(gap.size(), 3u);
    EXPECT_EQ(RunStarts(gap), (std::vector<int>{1, 3}));
    EXPECT_EQ(gap[0].colour, Grey(76));
    auto once = OpsOfCity(*f, Once);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(once[0].colour, Grey(229));
    EXPECT_EQ(OpsOfCity(*f, Early)[0].colour, Grey(25));

    // yRange = 1.1 * 700 (Late in 1820): Late's last point is at 700 / 770 of the frame.
    auto late = OpsOfCity(*f, Late);
    ASSERT_EQ(late.size(), 2u);
    EXPECT_NEAR(late[1].y2, 8300 - 700 * (7600 / 770.0), 1e-2);
    EXPECT_NEAR(late[1].x2, 7800, 1e-2);
}

// Pop Change sets the axis colour from the background, Rank Change does not; both use
// whatever axis kind the last command left.
TEST(Trajectories, AxisColourAndThePersistentAxisKind) {
    auto f = TrajForm();
    f->Click("RankChange");
    EXPECT_TRUE(HasText(*f, "10000000"));  // log-log labels right after loading
    EXPECT_FALSE(HasText(*f, "1790"));

    f->Choose("BackMap", 1);
    f->Click("RankChange");
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->Picture1.Ops().front().colour, Black);  // axes keep the grey-background colour
    f->Click("PopChange");
    EXPECT_EQ(f->Picture1.Ops().front().colour, LightGrey);

    f->Click("DataProperties");
    f->Click("Clear");
    f->Click("PopChange");
    EXPECT_TRUE(HasText(*f, "1790"));
    EXPECT_TRUE(HasText(*f, "100m"));
}

// Real data: in Rank Change the grey of the k-th city in 1790 order is (k - 1) * 255/266,
// so the last is 254; in Pop Change it is 25 + (k - 1) * 255/266, which passes 255 at the
// 241st city, and all later cities are white.
TEST(Trajectories, RealDataGreyLevelsAtTheEndsOfTheOrder) {
    auto f = FormWithRealData();
    const auto cityAt = [&](int k) { return static_cast<int>(f->rank.RankCity(k, 1)); };
    f->Click("RankChange");
    auto leader = OpsOfCity(*f, cityAt(1));
    ASSERT_FALSE(leader.empty());
    EXPECT_EQ(leader[0].colour, Black);
    auto last = OpsOfCity(*f, cityAt(266));
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last[0].colour, Grey(254));

    f->Click("PopChange");
    auto k240 = OpsOfCity(*f, cityAt(240));
    ASSERT_FALSE(k240.empty());
    EXPECT_EQ(k240[0].colour, Grey(254));  // 25 + 239 * 0.958646 = 254.12
    for (int k = 241; k <= 266; ++k)
        for (const auto& op : OpsOfCity(*f, cityAt(k))) EXPECT_EQ(op.colour, Grey(255)) << k;
}
