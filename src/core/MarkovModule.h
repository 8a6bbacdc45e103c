#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Analysis.h"
#include "stats/MoranGrowth.h"
#include "stats/SpatialMarkov.h"

// Rank dynamics as Markov chains and in space: Markov, SpatialMarkov and MoranGrowth, and the
// LISA colouring of the map. Options: --classes K, --weights FILE.gal, --neighbours K, --seed N.
class MarkovModule : public Analysis {
public:
    std::string_view Name() const override { return "Markov"; }
    void AddControls(Form& f) override;
    std::vector<CommandSpec> Commands() const override;
    std::vector<OptionSpec> Options() const override;
    bool SetOption(std::string_view name, std::string_view value) override;
    std::optional<std::string> Describe(const Form& f, const Hit& hit, float x, float y) const override;
    void Reset() override;

    int classes = 5;
    std::string weightsFile;  // a GAL file; empty: nearest neighbours
    int neighbours = 5;       // k nearest when no GAL file is given
    std::uint64_t seed = 20261206;
    static constexpr int Permutations = 999;

    std::optional<MarkovResult> markov;
    std::optional<SpatialMarkovResult> spatial;
    std::vector<MoranGrowthRow> moran;

    // The neighbour rule for the loaded table (reads the GAL file once per table); its
    // warnings go to the form's load warnings and the text.
    const NeighbourRule& Rule(Form& f);
    // LISA classes of growth around date t (1-based), per place; cached per pair.
    std::vector<int> Lisa(Form& f, int t);

private:
    std::unique_ptr<SpatialWeights> gal_;
    std::optional<NeighbourRule> rule_;
    std::map<int, std::vector<int>> lisa_;  // by the pair's first date
    Form* form_ = nullptr;
};
