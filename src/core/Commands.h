#pragma once

class Form;

// Each command's handler: what the command does to the panel (buttons shown or hidden, the
// list choices it reads), then the analysis it runs on the data, the rank tables, its own
// state and the window's canvas. The registry in Commands.cpp maps controls to these.

// Rank-size family
void Rank_Click(Form& f);
void DataProperties_Click(Form& f);
void Zipf_Click(Form& f);
void NextGraph_Click(Form& f);
void SizeRank_Click(Form& f);
void CumRankSize_Click(Form& f);
void CumSizeRank_Click(Form& f);
void RankShift_Click(Form& f);
void RankSpace_Click(Form& f);
void RankChange_Click(Form& f);
void PopChange_Click(Form& f);

// Spirels
void RankSpirel1_Click(Form& f);
void RankSpirel2_Click(Form& f);
void RankSpirel3_Click(Form& f);
void RankSpirel4_Click(Form& f);
void RankSpirel5_Click(Form& f);
void RankSpirel6_Click(Form& f);
void PlotCity_Click(Form& f);
void DistancePlot_Click(Form& f);
void RankShiftSpirel_Click(Form& f);
void InfoSpirel_Click(Form& f);
void PopSpirel_Click(Form& f);

// Statistics
void InfoStats_Click(Form& f);
void NextInfo_Click(Form& f);
void NextLastInfo_Click(Form& f);
void LastInfo_Click(Form& f);
void PopStats_Click(Form& f);
void NextPop_Click(Form& f);
void LastPop_Click(Form& f);
void HalfLives_Click(Form& f);
void Mobility_Click(Form& f);
void NextMobility_Click(Form& f);

// Map
void Map_Click(Form& f);

// Tail fits
void TailFit_Click(Form& f);
void TailPlot_Click(Form& f);
void HillPlot_Click(Form& f);

// Growth and Gibrat's law
void Growth_Click(Form& f);
void GrowthPlot_Click(Form& f);
// Groups
void ByGroup_Click(Form& f);
void ForestPlot_Click(Form& f);
void HeatMap_Click(Form& f);
void NextGroups_Click(Form& f);
