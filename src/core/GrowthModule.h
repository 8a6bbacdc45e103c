#pragma once
#include "core/Analysis.h"
#include "stats/Growth.h"

// Growth and Gibrat's law: Growth (every pair of dates) and Growth-Plot (one pair, or pooled).
class GrowthModule : public Analysis {
public:
    std::string_view Name() const override { return "Growth"; }
    void AddControls(Form& f) override;
    std::vector<CommandSpec> Commands() const override;
    std::vector<OptionSpec> Options() const override;
    bool SetOption(std::string_view name, std::string_view value) override;
    std::optional<std::string> Describe(const Form& f, const Hit& hit, float x, float y) const override;
    void Reset() override {
        table = {};
        sample = {};
        curves = {};
    }

    bool Redraw(Form& f, std::string_view control) override;

    GrowthOptions options;
    GrowthState table;     // the last Growth table, which hover reads
    GrowthSample sample;   // the last Growth-Plot's sample and curves, to redraw it
    GrowthCurves curves;
};
