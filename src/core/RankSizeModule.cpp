// The rank-size commands and Zipf-Exponents.
#include "core/RankSizeModule.h"

#include "core/Animation.h"
#include "core/Form.h"
#include "data/Ranking.h"
#include "ranksize/DataProperties.h"
#include "ranksize/Distributions.h"
#include "ranksize/RankShift.h"
#include "ranksize/Trajectories.h"
#include "ranksize/Zipf.h"

namespace {

void Rank_Click(Form& f) { RankSize(*f.data, f.rank, CanvasOf(f)); }

void DataProperties_Click(Form& f) {
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    DataProperties(*f.data, CanvasOf(f));
}

void Zipf_Click(Form& f) {
    f.ShowMainCommandSet(false);
    f.panel.Show("NextGraph");
    ZipfExponents(*f.data, f.rank, f.Module<ZipfModule>().State(*f.data), CanvasOf(f));
}

void NextGraph_Click(Form& f) {
    // Past the last date the button returns to the main panel.
    if (!NextGraph(*f.data, f.Module<ZipfModule>().State(*f.data), CanvasOf(f))) Clear_Click(f);
}

void SizeRank_Click(Form& f) { SizeRank(*f.data, f.rank, CanvasOf(f)); }
void CumRankSize_Click(Form& f) { CumRankSize(*f.data, f.rank, CanvasOf(f)); }
void CumSizeRank_Click(Form& f) { CumSizeRank(*f.data, f.rank, CanvasOf(f)); }
void RankShift_Click(Form& f) { RankShift(*f.data, f.rank, CanvasOf(f)); }
void RankSpace_Click(Form& f) { RankSpace(*f.data, f.rank, CanvasOf(f)); }
void RankChange_Click(Form& f) { RankChange(*f.data, f.rank, CanvasOf(f)); }
void PopChange_Click(Form& f) { PopChange(*f.data, f.rank, CanvasOf(f)); }

}  // namespace

std::vector<CommandSpec> RankSizeModule::Commands() const {
    return {{"Rank", Rank_Click},
            {"DataProperties", DataProperties_Click},
            {"SizeRank", SizeRank_Click},
            {"CumRankSize", CumRankSize_Click},
            {"CumSizeRank", CumSizeRank_Click},
            {"RankShift", RankShift_Click},
            {"RankSpace", RankSpace_Click},
            {"RankChange", RankChange_Click},
            {"PopChange", PopChange_Click}};
}

// The curves up to each date, the newest drawn wider.
std::vector<Picture> RankSizeModule::Frames(Form& f, std::string_view control) {
    return FramesByDate(f, control, true);
}

std::vector<CommandSpec> ZipfModule::Commands() const {
    return {{"Zipf", Zipf_Click}, {"NextGraph", NextGraph_Click}};
}

ZipfState& ZipfModule::State(const DataSet& d) {
    if (!state_) {
        state_ = std::make_unique<ZipfState>();
        state_->Resize(d.NumCities, d.NumDates);
    }
    return *state_;
}
