// Handlers of the rank-size commands.
#include "core/Commands.h"
#include "core/Form.h"
#include "data/Ranking.h"
#include "ranksize/DataProperties.h"
#include "ranksize/Distributions.h"
#include "ranksize/RankShift.h"
#include "ranksize/Trajectories.h"
#include "ranksize/Zipf.h"

void Rank_Click(Form& f) { RankSize(*f.data, f.rank, CanvasOf(f)); }

void DataProperties_Click(Form& f) {
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    DataProperties(*f.data, CanvasOf(f));
}

void Zipf_Click(Form& f) {
    f.ShowMainCommandSet(false);
    f.panel.Show("NextGraph");
    ZipfExponents(*f.data, f.rank, f.zipf, CanvasOf(f));
}

void NextGraph_Click(Form& f) {
    // Past the last date the button returns to the main panel.
    if (!NextGraph(*f.data, f.zipf, CanvasOf(f))) Clear_Click(f);
}

void SizeRank_Click(Form& f) { SizeRank(*f.data, f.rank, CanvasOf(f)); }
void CumRankSize_Click(Form& f) { CumRankSize(*f.data, f.rank, CanvasOf(f)); }
void CumSizeRank_Click(Form& f) { CumSizeRank(*f.data, f.rank, CanvasOf(f)); }
void RankShift_Click(Form& f) { RankShift(*f.data, f.rank, CanvasOf(f)); }
void RankSpace_Click(Form& f) { RankSpace(*f.data, f.rank, CanvasOf(f)); }
void RankChange_Click(Form& f) { RankChange(*f.data, f.rank, CanvasOf(f)); }
void PopChange_Click(Form& f) { PopChange(*f.data, f.rank, CanvasOf(f)); }
