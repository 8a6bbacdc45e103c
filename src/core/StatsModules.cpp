// The statistics commands of the classic panel and their paging buttons.
#include "core/StatsModules.h"

#include "core/Form.h"
#include "stats/HalfLives.h"
#include "stats/InfoPaging.h"
#include "stats/InfoStats.h"
#include "stats/PopStats.h"

namespace {

InfoStatsState& Info(Form& f) { return f.Module<InfoStatsModule>().State(*f.data); }
PopStatsState& Pop(Form& f) { return f.Module<PopStatsModule>().State(*f.data); }
HalfLivesState& Half(Form& f) { return f.Module<HalfLivesModule>().State(*f.data); }

void InfoStats_Click(Form& f) {
    InfoStats(*f.data, f.rank, Info(f), CanvasOf(f));
    // The panel changes only once the statistics are complete.
    CollapseCommandPanel(f);
    f.panel.Hide("DistancePlot");
    f.Picture1.Visible = false;
    f.panel.Show("NextInfo");
}

void NextInfo_Click(Form& f) {
    NextInfo(*f.data, Info(f), f.Text);
    f.panel.Hide("NextInfo");
    f.panel.Hide("LastInfo");
    f.panel.Show("NextLastInfo");
}

void NextLastInfo_Click(Form& f) {
    NextLastInfo(*f.data, f.rank, f.Text);
    f.panel.Hide("NextInfo");
    f.panel.Show("LastInfo");
    f.panel.Hide("NextLastInfo");
}

void LastInfo_Click(Form& f) { LastInfo(*f.data, Info(f), f.Text); }

void PopStats_Click(Form& f) {
    PopStats(*f.data, f.rank, Pop(f), Half(f), CanvasOf(f));
    // The panel changes only once every share is computed.
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = false;
    f.panel.Show("NextPop");
}

void NextPop_Click(Form& f) {
    NextPop(*f.data, Pop(f), f.Text);
    f.panel.Hide("NextPop");
    f.panel.Show("LastPop");
}

void LastPop_Click(Form& f) { LastPop(*f.data, Half(f), f.Text); }

void HalfLives_Click(Form& f) { HalfLives(*f.data, f.rank, Half(f), CanvasOf(f)); }

// Made on first use, sized for the table: the statistics of a command never run take no memory.
template <class State, class... Size>
State& MadeFor(std::unique_ptr<State>& state, Size... size) {
    if (!state) {
        state = std::make_unique<State>();
        state->Resize(size...);
    }
    return *state;
}

}  // namespace

std::vector<CommandSpec> InfoStatsModule::Commands() const {
    return {{"InfoStats", InfoStats_Click},
            {"NextInfo", NextInfo_Click},
            {"NextLastInfo", NextLastInfo_Click},
            {"LastInfo", LastInfo_Click}};
}

InfoStatsState& InfoStatsModule::State(const DataSet& d) { return MadeFor(state_, d.NumDates); }

std::vector<CommandSpec> PopStatsModule::Commands() const {
    return {{"PopStats", PopStats_Click}, {"NextPop", NextPop_Click}, {"LastPop", LastPop_Click}};
}

PopStatsState& PopStatsModule::State(const DataSet& d) { return MadeFor(state_, d.NumDates); }

std::vector<CommandSpec> HalfLivesModule::Commands() const { return {{"HalfLives", HalfLives_Click}}; }

HalfLivesState& HalfLivesModule::State(const DataSet& d) { return MadeFor(state_, d.NumDates); }
