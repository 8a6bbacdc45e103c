#pragma once
#include "core/Analysis.h"
#include "stats/TailFit.h"

// Tail-Fit and the plots of one date (Tail-Plot, Hill-Plot).
class TailFitModule : public Analysis {
public:
    std::string_view Name() const override { return "Tail-Fit"; }
    void AddControls(Form& f) override;
    std::vector<CommandSpec> Commands() const override;
    std::vector<OptionSpec> Options() const override;
    bool SetOption(std::string_view name, std::string_view value) override;
    std::optional<std::string> Describe(const Form& f, const Hit& hit, float x, float y) const override;
    void Reset() override { table = {}; }
    bool Redraw(Form& f, std::string_view control) override;

    TailFitOptions options;  // the command line may change them; By-Group fits with them too
    TailFitState table;      // the last table, which hover reads
};
