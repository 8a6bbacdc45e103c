// A seeded random walk over the window's controls: whatever a user clicks, in whatever
// order, the program keeps running, reports errors as messages, keeps the data intact and
// stays in one of the panel states. CITYSIZE_WALK_MOVES and CITYSIZE_WALK_SEED override the
// defaults; a failure prints the seed and the move so it can be replayed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

#include "TestForm.h"
#include "draw/RunError.h"

namespace {

long EnvOr(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atol(v) : fallback;
}

const std::set<std::string> SinglePurpose = {"NextGraph", "NextInfo", "LastInfo", "NextLastInfo", "NextPop",
                                             "LastPop",   "DistancePlot", "PlotCity", "Cities",
                                             "Dates",     "TailPlot",     "HillPlot"};

// Empty when the panel is one of the states a user can reach, else what is wrong.
std::string PanelProblem(const Form& f) {
    int mainShown = 0;
    for (auto name : MainCommandSet) mainShown += f.panel.Visible(name);
    std::set<std::string> singles;
    for (const auto& name : SinglePurpose)
        if (f.panel.Visible(name)) singles.insert(name);
    const bool pic = f.Picture1.Visible;
    if (!f.panel.Visible("Clear") || !f.panel.Visible("BackMap")) return "a fixed control is hidden";
    using S = std::set<std::string>;
    if (mainShown == static_cast<int>(MainCommandSet.size()) && singles.empty() && pic) return {};  // main panel
    if (mainShown == 1 && f.panel.Visible("ReadData") && singles.empty() && !pic) return {};  // opening
    if (mainShown == 0) {
        if (pic && (singles.empty() || singles == S{"NextGraph"})) return {};  // result or Zipf view
        if (pic && (singles == S{"Dates", "TailPlot"} || singles == S{"Dates", "TailPlot", "HillPlot"}))
            return {};  // Tail-Fit view
        if (pic && singles.count("DistancePlot")) {
            S rest = singles;
            rest.erase("DistancePlot");
            rest.erase("Cities");
            rest.erase("PlotCity");
            if (rest.empty()) return {};  // spirel view
        }
        if (!pic && (singles == S{"NextInfo"} || singles == S{"NextLastInfo"} || singles == S{"LastInfo"} ||
                     singles == S{"NextPop"} || singles == S{"LastPop"}))
            return {};  // the two table views
    }
    std::ostringstream out;
    out << "unexpected panel: " << mainShown << " main buttons, picture " << (pic ? "shown" : "hidden")
        << ", single-purpose shown:";
    for (const auto& s : singles) out << " " << s;
    return out.str();
}

// The data set and rank tables as loading and ranking leave them.
std::string DataProblem(const Form& f, bool checkBeyond) {
    const DataSet& d = *f.data;
    if (d.NumCities != 266 || d.NumDates != 22) return "the counts changed";
    for (int t = 1; t <= d.NumDates; ++t) {
        float present = 0;
        for (int c = 1; c <= d.NumCities; ++c) {
            present += d.Present(c, t);
            const float rank = f.rank.CityRank(c, t);
            if (rank < 1 || rank > d.NumCities || f.rank.RankCity(rank, t) != c)
                return "RankCity and CityRank are not inverse at city " + std::to_string(c);
            if (!(d.PopTable(c, t) > 0)) return "a population is not positive";
        }
        if (present != d.NumPresent(t)) return "NumPresent disagrees with Present at date " + std::to_string(t);
    }
    if (checkBeyond) {
        for (int t = 1; t <= 25; ++t)
            for (int c = 1; c <= 1500; ++c) {
                if (c <= d.NumCities && t <= d.NumDates) continue;
                if (d.PopTable(c, t) != 0 || d.Present(c, t) != 0 || f.rank.RankPop(c, t) != 0 ||
                    f.rank.CityRank(c, t) != 0 || f.rank.RankCity(c, t) != 0 || f.rank.LogRankPop(c, t) != 0)
                    return "a cell beyond the data was written: city " + std::to_string(c) + ", date " +
                           std::to_string(t);
            }
    }
    return {};
}

}  // namespace

TEST(RandomWalk, EveryPanelStateHoldsAndTheDataStaysIntact) {
    const long moves = EnvOr("CITYSIZE_WALK_MOVES", 20000);
    const unsigned seed = static_cast<unsigned>(EnvOr("CITYSIZE_WALK_SEED", 20261206));
    auto f = FormWithRealData();
    f->tailFitOptions.replicates = 0;  // the bootstrap changes no panel, and would take most of the time
    std::mt19937 rng(seed);
    int errors = 0;
    for (long move = 1; move <= moves; ++move) {
        std::vector<const Control*> offered;
        for (const Control& c : f->panel.All())
            if (c.visible && (c.kind == ControlKind::Button || c.kind == ControlKind::List)) offered.push_back(&c);
        ASSERT_FALSE(offered.empty());
        const Control& c = *offered[std::uniform_int_distribution<std::size_t>(0, offered.size() - 1)(rng)];
        std::string what = c.name;
        try {
            if (c.kind == ControlKind::List) {
                int n = static_cast<int>(c.items.size());
                int index = std::uniform_int_distribution<int>(-1, n - 1)(rng);
                what += "=" + std::to_string(index);
                f->Choose(c.name, index);
            } else {
                f->Click(c.name);
            }
        } catch (const RunError& e) {
            ++errors;
            ASSERT_STRNE(e.what(), "") << "seed " << seed << ", move " << move << " (" << what << ")";
        } catch (const std::exception& e) {
            FAIL() << "seed " << seed << ", move " << move << " (" << what << "): " << e.what();
        }
        std::string problem = PanelProblem(*f);
        if (problem.empty()) problem = DataProblem(*f, move % 500 == 0);
        ASSERT_EQ(problem, "") << "seed " << seed << ", move " << move << " (" << what << ")";
    }
    // Every command but PlotCity without a chosen city (and the Tail-Fit plots without a date) succeeds on the real data.
    RecordProperty("errors", errors);
}
