// Handlers of Markov, SpatialMarkov and MoranGrowth, their options, and LISA on the map.
#include "core/MarkovModule.h"

#include <algorithm>
#include <cstdio>

#include "core/Form.h"
#include "core/MapModule.h"
#include "core/OptionValues.h"
#include "data/Import.h"
#include "draw/RunError.h"
#include "map/Map.h"
#include "stats/Markov.h"
#include "stats/MarkovPlots.h"

namespace {

constexpr const char* LisaEntry = "LISA";

void PlaceLike(Control& c, const Control& like, float left, float top) {
    c.left = left;
    c.top = top;
    c.width = like.width;
    c.height = like.height;
}

std::string Fixed(double v, int decimals) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

void Markov_Click(Form& f) {
    MarkovModule& m = f.Module<MarkovModule>();
    m.markov = MarkovOf(RelativeSizes(PanelOf(*f.data)), m.classes);
    f.Text.Clear();
    PrintMarkov(*m.markov, f.Text);
    f.Picture1.Visible = true;
    DrawMarkovHeatMap(*m.markov, CanvasOf(f));
}

void SpatialMarkov_Click(Form& f) {
    MarkovModule& m = f.Module<MarkovModule>();
    const NeighbourRule& rule = m.Rule(f);
    m.spatial = SpatialMarkovOf(RelativeSizes(PanelOf(*f.data)), rule, m.classes);
    f.Text.Clear();
    if (m.weightsFile.empty()) f.Text.Line("Neighbours: the " + std::to_string(m.neighbours) + " nearest (great circle)");
    else f.Text.Line("Neighbours: " + m.weightsFile);
    PrintSpatialMarkov(*m.spatial, f.Text);
    f.Picture1.Visible = true;
    DrawSpatialMarkov(*m.spatial, CanvasOf(f));
}

void MoranGrowth_Click(Form& f) {
    MarkovModule& m = f.Module<MarkovModule>();
    const NeighbourRule& rule = m.Rule(f);
    m.moran = MoranGrowthOf(PanelOf(*f.data), rule, MarkovModule::Permutations, m.seed);
    f.Text.Clear();
    if (m.weightsFile.empty()) f.Text.Line("Neighbours: the " + std::to_string(m.neighbours) + " nearest (great circle)");
    else f.Text.Line("Neighbours: " + m.weightsFile);
    PrintMoranGrowth(m.moran, f.Text);
    f.Picture1.Visible = true;
    DrawMoranGrowth(m.moran, CanvasOf(f));
}

}  // namespace

void MarkovModule::AddControls(Form& f) {
    form_ = &f;
    ControlTable& p = f.panel;
    const Control& byGroup = p["ByGroup"];
    const Control& growth = p["Growth"];
    const float gap = 150;
    const float row1 = byGroup.top + byGroup.height + gap, row2 = row1 + byGroup.height + gap;
    PlaceLike(p.Add(ButtonControl("Markov", "Markov",
                          "Markov chain of relative size classes: transitions, steady state, sojourn and first-passage "
                          "times, mobility indices")),
          byGroup, byGroup.left, row1);
    PlaceLike(p.Add(ButtonControl("SpatialMarkov", "Spatial-Markov",
                          "Transitions of size classes by the class of the neighbours' mean size (Rey's spatial Markov), "
                          "with the homogeneity tests")),
          byGroup, growth.left, row2);
    PlaceLike(p.Add(ButtonControl("MoranGrowth", "Moran-Growth",
                          "Moran's I of growth between consecutive dates: does growth cluster in space?")),
          byGroup, byGroup.left, row2);
    f.WindowHeight = std::max(f.WindowHeight, row2 + byGroup.height + 2 * gap);
    for (const char* name : {"Markov", "SpatialMarkov", "MoranGrowth"}) p.Hide(name);
    Control& colour = p["MapColour"];
    if (std::find(colour.items.begin(), colour.items.end(), LisaEntry) == colour.items.end()) colour.items.emplace_back(LisaEntry);
    f.Module<MapModule>().state.lisaClasses = [this](const DataSet&, int t) { return Lisa(*form_, t); };
}

std::vector<CommandSpec> MarkovModule::Commands() const {
    return {{"Markov", Markov_Click, true, true},
            {"SpatialMarkov", SpatialMarkov_Click, true, true},
            {"MoranGrowth", MoranGrowth_Click, true, true}};
}

std::vector<OptionSpec> MarkovModule::Options() const {
    return {{"classes", "K", "size classes of Markov and SpatialMarkov (quantiles; default 5)"},
            {"weights", "FILE.gal", "neighbours of SpatialMarkov, MoranGrowth and LISA from a GAL file"},
            {"neighbours", "K", "else the K nearest places by great-circle distance (default 5)"}};
}

bool MarkovModule::SetOption(std::string_view name, std::string_view value) {
    if (name == "classes") {
        classes = static_cast<int>(WholeOption(name, value, 2, 100));
    } else if (name == "weights") {
        if (value.empty()) throw RunError("--weights needs a GAL file");
        weightsFile = value;
    } else if (name == "neighbours") {
        neighbours = static_cast<int>(WholeOption(name, value, 1, 1000000));
    } else if (name == "seed") {
        // Shared with Tail-Fit and Growth: take it, and let them take it too.
        seed = static_cast<std::uint64_t>(WholeOption(name, value, 0, 2147483647));
        return false;
    } else {
        return false;
    }
    Reset();
    return true;
}

void MarkovModule::Reset() {
    markov.reset();
    spatial.reset();
    moran.clear();
    gal_.reset();
    rule_.reset();
    lisa_.clear();
}

const NeighbourRule& MarkovModule::Rule(Form& f) {
    if (rule_) return *rule_;
    const DataSet& d = *f.data;
    NeighbourRule rule;
    if (!weightsFile.empty()) {
        std::vector<std::string> ids;
        const bool anyId = std::any_of(d.CityID.begin(), d.CityID.end(), [](const std::string& s) { return !s.empty(); });
        if (anyId && f.Import.id != NoColumn) ids = d.CityID;
        gal_ = std::make_unique<SpatialWeights>(ReadGal(weightsFile, ids, d.NumCities));
        for (const std::string& w : gal_->warnings) f.LoadWarnings.push_back(w);
        rule.gal = gal_.get();
    } else {
        bool any = false;
        for (int i = 1; i <= d.NumCities; ++i) {
            const bool has = d.HasPosition(i);
            rule.points.push_back(has ? GeoPoint{d.Latitude[static_cast<std::size_t>(i - 1)], d.Longitude[static_cast<std::size_t>(i - 1)]}
                                      : GeoPoint{NAN, NAN});
            any = any || HasGeoPosition(rule.points.back());
        }
        if (!any) throw RunError("No place has a position: give the neighbours with --weights FILE.gal");
        rule.nearest = neighbours;
    }
    rule_ = std::move(rule);
    return *rule_;
}

std::vector<int> MarkovModule::Lisa(Form& f, int t) {
    const DataSet& d = *f.data;
    if (d.NumDates < 2) return {};
    const int from = t < d.NumDates ? t : t - 1;  // as the growth colours: to the next date, at the last from the one before
    if (auto hit = lisa_.find(from); hit != lisa_.end()) return hit->second;
    const GrowthNeighbours g = GrowthSampleWithNeighbours(PanelOf(d), Rule(f), from - 1);
    const std::vector<int> classes = LisaClasses(g.growth, g.neighbours, Permutations, seed + static_cast<std::uint64_t>(from));
    std::vector<int> out(static_cast<std::size_t>(d.NumCities), LisaNone);
    for (std::size_t k = 0; k < g.rows.size(); ++k) out[static_cast<std::size_t>(g.rows[k])] = classes[k];
    return lisa_[from] = out;
}

std::optional<std::string> MarkovModule::Describe(const Form&, const Hit& hit, float, float) const {
    const OpTag& tag = hit.tag;
    if ((tag.series == MarkovCell && markov) || (tag.series == SpatialMarkovCell && spatial)) {
        const TransitionMatrix& m = tag.series == MarkovCell ? markov->transitions
                                                             : spatial->byLag[static_cast<std::size_t>(tag.date - 1)];
        const int i = tag.city - 1, j = tag.point - 1;
        if (i < 0 || i >= m.K()) return std::nullopt;
        std::string s = tag.series == SpatialMarkovCell ? "Neighbours in class " + std::to_string(tag.date) + ": " : "";
        if (j < 0) return s + "class " + std::to_string(i + 1) + ": steady state " +
                          (markov && markov->steady ? Fixed((*markov->steady)[static_cast<std::size_t>(i)], 4) : "-");
        return s + "class " + std::to_string(i + 1) + " -> " + std::to_string(j + 1) + ": p = " + Fixed(m.P(i, j), 4) +
               " (" + std::to_string(static_cast<long long>(m.Counts(i, j))) + " of " +
               std::to_string(static_cast<long long>(m.RowCount(i))) + " transitions)";
    }
    if (tag.series == MoranGrowthPoint && tag.point >= 1 && tag.point <= static_cast<int>(moran.size())) {
        const MoranGrowthRow& r = moran[static_cast<std::size_t>(tag.point - 1)];
        return std::to_string(r.fromYear) + "-" + std::to_string(r.toYear) + ": Moran's I " + Fixed(r.moran.i, 4) +
               " (E[I] " + Fixed(r.moran.ei, 5) + "), z " + Fixed(r.moran.z, 2) + ", p_sim " + Fixed(r.moran.pSim, 3) +
               ", n " + std::to_string(r.moran.n);
    }
    return std::nullopt;
}
