// Every analysis of the program, one line each: a new analysis adds its factory here.
#include "core/Analysis.h"
#include "core/MarkovModule.h"

const std::vector<AnalysisFactory>& RegisteredAnalyses() {
    static const std::vector<AnalysisFactory> all = {
        [] { return std::unique_ptr<Analysis>(std::make_unique<MarkovModule>()); },
    };
    return all;
}

std::vector<OptionSpec> AllAnalysisOptions() {
    std::vector<OptionSpec> out;
    for (AnalysisFactory make : RegisteredAnalyses())
        for (const OptionSpec& o : make()->Options()) out.push_back(o);
    return out;
}
