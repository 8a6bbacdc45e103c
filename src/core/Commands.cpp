// The one table from control names to their commands, used by the window and the
// command line alike.
#include "core/Commands.h"
#include "core/Form.h"

const std::vector<CommandEntry>& CommandRegistry() {
    static const std::vector<CommandEntry> table = {
        {"ReadData", ReadData_Click, false},
        {"Clear", Clear_Click, false},
        {"Rank", Rank_Click, true},
        {"DataProperties", DataProperties_Click, true},
        {"Zipf", Zipf_Click, true},
        {"NextGraph", NextGraph_Click, true},
        {"SizeRank", SizeRank_Click, true},
        {"CumRankSize", CumRankSize_Click, true},
        {"CumSizeRank", CumSizeRank_Click, true},
        {"RankShift", RankShift_Click, true},
        {"RankSpace", RankSpace_Click, true},
        {"RankChange", RankChange_Click, true},
        {"PopChange", PopChange_Click, true},
        {"RankSpirel1", RankSpirel1_Click, true},
        {"RankSpirel2", RankSpirel2_Click, true},
        {"RankSpirel3", RankSpirel3_Click, true},
        {"RankSpirel4", RankSpirel4_Click, true},
        {"RankSpirel5", RankSpirel5_Click, true},
        {"RankSpirel6", RankSpirel6_Click, true},
        {"PlotCity", PlotCity_Click, true},
        {"DistancePlot", DistancePlot_Click, true},
        {"RankShiftSpirel", RankShiftSpirel_Click, true},
        {"InfoSpirel", InfoSpirel_Click, true},
        {"PopSpirel", PopSpirel_Click, true},
        {"InfoStats", InfoStats_Click, true},
        {"NextInfo", NextInfo_Click, true},
        {"NextLastInfo", NextLastInfo_Click, true},
        {"LastInfo", LastInfo_Click, true},
        {"PopStats", PopStats_Click, true},
        {"NextPop", NextPop_Click, true},
        {"LastPop", LastPop_Click, true},
        {"HalfLives", HalfLives_Click, true},
        {"Mobility", Mobility_Click, true},
        {"NextMobility", NextMobility_Click, true},
        {"Map", Map_Click, true},
        {"TailFit", TailFit_Click, true}, {"TailPlot", TailPlot_Click, true}, {"HillPlot", HillPlot_Click, true},
        {"Growth", Growth_Click, true}, {"GrowthPlot", GrowthPlot_Click, true},
        {"ByGroup", ByGroup_Click, true}, {"ForestPlot", ForestPlot_Click, true}, {"HeatMap", HeatMap_Click, true},
        {"NextGroups", NextGroups_Click, true},
    };
    return table;
}

const CommandEntry* FindCommand(std::string_view control) {
    for (const auto& c : CommandRegistry())
        if (c.control == control) return &c;
    return nullptr;
}
