// Growth and Growth-Plot.
#include "core/GrowthModule.h"

#include <limits>

#include "core/Form.h"
#include "core/LongFit.h"
#include "core/OptionValues.h"
#include "draw/RunError.h"
#include "stats/GrowthPlots.h"

namespace {

// The pair chosen in the Dates list: its first date (1-based), or 0 for the pooled pairs.
int ChosenPair(const Form& f) {
    const ListValue* v = f.panel["Dates"].Chosen();
    if (!v) throw RunError("Choose the first year of a pair of dates, or Pooled, in the list of dates first");
    if (v->kind == ListValue::Kind::Pooled) return 0;
    if (v->date + 1 > f.data->NumDates)
        throw RunError(std::to_string(f.data->DateYear(v->date)) +
                       " is the last date and starts no pair: choose an earlier year or Pooled");
    return v->date;
}

void Growth_Click(Form& f) {
    GrowthModule& m = f.Module<GrowthModule>();
    GrowthState state = GrowthAllPairs(*f.data, m.options);
    m.table = std::move(state);
    f.Text.Clear();
    PrintGrowth(m.table, f.Text);
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    DrawGrowthBetas(*f.data, m.table, CanvasOf(f));
    // The Dates list, shared with Tail-Fit and the map, offers the pooled pairs after the dates.
    Control& dates = f.panel["Dates"];
    if (dates.values.empty() || dates.values.back().kind != ListValue::Kind::Pooled) {
        dates.items.emplace_back("Pooled");
        dates.values.push_back(ListValue::PooledDates());
        ++f.panel.listRevision;
    }
    for (const char* name : {"TailPlot", "HillPlot"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "GrowthPlot"}) f.panel.Show(name);
}

void GrowthPlot_Click(Form& f) {
    GrowthModule& m = f.Module<GrowthModule>();
    const int t = ChosenPair(f);
    GrowthSample sample = t == 0 ? PooledSample(*f.data) : PairSample(*f.data, t);
    // The bootstrap runs to the end (or is cancelled) before anything is drawn.
    GrowthCurves curves;
    auto work = [&](const TailFitControl& control) { curves = KernelCurves(sample, m.options, control); };
    RunLongFit(f, work, "Growth-Plot");
    m.sample = std::move(sample);
    m.curves = std::move(curves);
    f.Text.Clear();
    PrintGrowthCurves(m.sample, m.curves, f.Text);
    DrawGrowthPlot(*f.data, m.sample, m.curves, CanvasOf(f));
}

}  // namespace

void GrowthModule::AddControls(Form& f) {
    ControlTable& p = f.panel;
    p.Add(ButtonControl("Growth", "Growth",
                        "Growth against size between consecutive dates: regression slope beta, Spearman's rho "
                        "(Gibrat's law)"));
    p.Add(ButtonControl("GrowthPlot", "Growth-Plot",
                        "Kernel mean and spread of growth against size for the pair starting at the date chosen "
                        "above (or Pooled), with bootstrap bands"));
    // Growth in the row under Clear-Data (the window's last row); its plot in Tail-Plot's place.
    Below(p, "Growth", "Clear");
    const Control& rd = p["ReadData"];
    Place(p["GrowthPlot"], rd.left, rd.top + 650, rd.width, p["InfoStats"].height);
    p.Hide("GrowthPlot");
}

bool GrowthModule::Redraw(Form& f, std::string_view control) {
    if (control != "GrowthPlot" || sample.x.empty()) return false;
    DrawGrowthPlot(*f.data, sample, curves, CanvasOf(f));
    return true;
}

std::vector<CommandSpec> GrowthModule::Commands() const {
    return {{"Growth", Growth_Click, true, true}, {"GrowthPlot", GrowthPlot_Click}};
}

std::vector<OptionSpec> GrowthModule::Options() const {
    return {{"replicates", "N", "bootstrap replicates of Growth-Plot (default 500); 0 skips the bootstrap"},
            {"seed", "N", "bootstrap seed of Growth-Plot (fixed by default)"},
            {"bandwidth", "H", "Growth-Plot kernel bandwidth in ln size (default: rule)"}};
}

bool GrowthModule::SetOption(std::string_view name, std::string_view value) {
    if (name == "replicates")
        options.replicates = static_cast<int>(WholeOption(name, value, 0, MaxOptionCount));
    else if (name == "seed")
        options.seed = static_cast<std::uint64_t>(WholeOption(name, value, 0, std::numeric_limits<long>::max()));
    else if (name == "bandwidth")
        options.bandwidth = PositiveOption(name, value);
    else
        return false;
    return true;
}

std::optional<std::string> GrowthModule::Describe(const Form& f, const Hit& hit, float, float) const {
    const OpTag& tag = hit.tag;
    if (tag.series == GrowthPlacePoint) return DescribeGrowthPlace(*f.data, tag.city, tag.date);
    if (tag.series == GrowthBetaPoint)
        return tag.date >= 1 && tag.date <= static_cast<int>(table.rows.size())
                   ? DescribeGrowthRow(table.rows[static_cast<std::size_t>(tag.date) - 1])
                   : std::string();
    return std::nullopt;
}
