// Mobility and Next-Mobility.
#include "core/MobilityModule.h"

#include <cmath>
#include <cstdio>

#include "core/Form.h"
#include "stats/MobilityPages.h"

namespace {

void Mobility_Click(Form& f) {
    Mobility(*f.data, f.rank, f.Module<MobilityModule>().state, CanvasOf(f));
    // As "Zipf-Exponents": the picture stays beside page 1 and the panel offers page 2.
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    f.panel.Show("NextMobility");
}

void NextMobility_Click(Form& f) {
    NextMobility(f.Module<MobilityModule>().state, f.Text);
    f.panel.Hide("NextMobility");
}

}  // namespace

void MobilityModule::AddControls(Form& f) {
    ControlTable& p = f.panel;
    p.Add(ButtonControl("Mobility", "Mobility",
                        "Computes rank mobility between consecutive dates: entries, exits, turnover, Kendall's tau "
                        "and the rank-class transitions"));
    p.Add(ButtonControl("NextMobility", "Next-Mobility", "Prints the rank-class transition matrix"));
    // The free slot under Pop-Spirel (the background chooser sits under Pop-Stats); its page
    // button beside Clear-Data with the other paging buttons.
    Below(p, "Mobility", "PopSpirel");
    RightOf(p, "NextMobility", "Clear", f.ButtonGap);
    p.Hide("NextMobility");
}

std::vector<CommandSpec> MobilityModule::Commands() const {
    return {{"Mobility", Mobility_Click, true, true}, {"NextMobility", NextMobility_Click}};
}

// A point of the mobility plot, or the segment ending there: its pair of dates and measures.
std::optional<std::string> MobilityModule::Describe(const Form& f, const Hit& hit, float x, float y) const {
    if (hit.tag.series != MobilityPairSeries) return std::nullopt;
    int t = hit.tag.date;
    if (t > 2 && NearerStart(f.Picture1, hit, x, y)) --t;
    const auto& pairs = state.pairs;
    if (t < 2 || t - 2 >= static_cast<int>(pairs.size())) return std::string();
    const MobilityPair& m = pairs[static_cast<std::size_t>(t - 2)];
    char buf[160];
    std::snprintf(buf, sizeof buf, "\ntau_b %.4f, turnover %.4f, mean shift %.5f\n%d common, %d entries, %d exits",
                  m.kendall.tau, m.turnover, static_cast<double>(m.meanShift), m.common, m.entries, m.exits);
    return std::to_string(m.fromYear) + " to " + std::to_string(m.toYear) + buf;
}
