// The spirel commands.
#include "core/SpirelModule.h"

#include "core/Animation.h"
#include "core/Form.h"
#include "core/StatsModules.h"
#include "spirels/CitySpirel.h"
#include "spirels/DistanceSpirel.h"
#include "spirels/InfoSpirel.h"
#include "spirels/PopSpirel.h"
#include "spirels/RankShiftSpirel.h"
#include "spirels/RankSpirels.h"

namespace {

SpirelState& Spirel(Form& f) { return f.Module<SpirelModule>().State(*f.data); }

// The rank spirels take the whole window; once drawn they offer the city list, and the
// first variant the city spirel as well.
void RankSpirelCommand(Form& f, int variant) {
    CollapseCommandPanel(f);
    RankSpirel(*f.data, f.rank, Spirel(f), CanvasOf(f), variant);
    f.panel.Show("Cities");
    if (variant == 1) f.panel.Show("PlotCity");
}

void RankSpirel1_Click(Form& f) { RankSpirelCommand(f, 1); }
void RankSpirel2_Click(Form& f) { RankSpirelCommand(f, 2); }
void RankSpirel3_Click(Form& f) { RankSpirelCommand(f, 3); }
void RankSpirel4_Click(Form& f) { RankSpirelCommand(f, 4); }
void RankSpirel5_Click(Form& f) { RankSpirelCommand(f, 5); }
void RankSpirel6_Click(Form& f) { RankSpirelCommand(f, 6); }

void PlotCity_Click(Form& f) {
    PlotCityOnSpirel(*f.data, f.rank, Spirel(f), CanvasOf(f), f.panel["Cities"].listIndex);
}

void DistancePlot_Click(Form& f) {
    f.panel.Hide("PlotCity");
    CollapseCommandPanel(f);
    DistanceSpirel(*f.data, f.rank, Spirel(f), CanvasOf(f));
}

void RankShiftSpirel_Click(Form& f) { RankShiftSpirel(*f.data, f.Module<InfoStatsModule>().State(*f.data), CanvasOf(f)); }
void InfoSpirel_Click(Form& f) { InfoSpirel(*f.data, f.Module<InfoStatsModule>().State(*f.data), CanvasOf(f)); }
void PopSpirel_Click(Form& f) { PopSpirel(*f.data, f.Module<PopStatsModule>().State(*f.data), CanvasOf(f)); }

}  // namespace

std::vector<CommandSpec> SpirelModule::Commands() const {
    return {{"RankSpirel1", RankSpirel1_Click}, {"RankSpirel2", RankSpirel2_Click},
            {"RankSpirel3", RankSpirel3_Click}, {"RankSpirel4", RankSpirel4_Click},
            {"RankSpirel5", RankSpirel5_Click}, {"RankSpirel6", RankSpirel6_Click},
            {"PlotCity", PlotCity_Click},       {"DistancePlot", DistancePlot_Click},
            {"RankShiftSpirel", RankShiftSpirel_Click}, {"InfoSpirel", InfoSpirel_Click},
            {"PopSpirel", PopSpirel_Click}};
}

// A spirel drawn up to each date.
std::vector<Picture> SpirelModule::Frames(Form& f, std::string_view control) {
    return FramesByDate(f, control, false);
}

SpirelState& SpirelModule::State(const DataSet& d) {
    if (!state_) {
        state_ = std::make_unique<SpirelState>();
        state_->Resize(d.NumCities, d.NumDates);
    }
    return *state_;
}
