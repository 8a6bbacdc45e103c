// Every analysis of the program, one line each: a new analysis adds its factory here.
#include "core/Analysis.h"
#include "core/ByGroupModule.h"
#include "core/GrowthModule.h"
#include "core/MapModule.h"
#include "core/MobilityModule.h"
#include "core/RankSizeModule.h"
#include "core/SpirelModule.h"
#include "core/StatsModules.h"
#include "core/TailFitModule.h"
#include "core/MarkovModule.h"

std::unique_ptr<Analysis> MakeDistFitAnalysis();

namespace {

template <class T>
std::unique_ptr<Analysis> Make() {
    return std::make_unique<T>();
}

}  // namespace

// In this order they add their controls (later ones may be placed beside earlier ones), list
// their options in --help and are asked about hover.
const std::vector<AnalysisFactory>& RegisteredAnalyses() {
    static const std::vector<AnalysisFactory> all = {
        Make<RankSizeModule>,  Make<ZipfModule>,     Make<SpirelModule>, Make<InfoStatsModule>,
        Make<PopStatsModule>,  Make<HalfLivesModule>, Make<MobilityModule>, Make<TailFitModule>,
        Make<MapModule>,       Make<GrowthModule>,   Make<ByGroupModule>,
        MakeDistFitAnalysis,
        Make<MarkovModule>,
    };
    return all;
}

std::vector<OptionSpec> AllAnalysisOptions() {
    std::vector<OptionSpec> out;
    for (AnalysisFactory make : RegisteredAnalyses())
        for (const OptionSpec& o : make()->Options()) {
            bool known = false;
            for (const OptionSpec& k : out) known = known || k.name == o.name;
            if (!known) out.push_back(o);
        }
    return out;
}
