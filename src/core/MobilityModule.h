#pragma once
#include "core/Analysis.h"
#include "stats/Mobility.h"

// Mobility between consecutive dates, and Next-Mobility's rank-class transitions.
class MobilityModule : public Analysis {
public:
    std::string_view Name() const override { return "Mobility"; }
    void AddControls(Form& f) override;
    std::vector<CommandSpec> Commands() const override;
    std::optional<std::string> Describe(const Form& f, const Hit& hit, float x, float y) const override;
    void Reset() override { state = {}; }

    MobilityState state;  // the last pairs, which the picture's hover and Next-Mobility read
};
