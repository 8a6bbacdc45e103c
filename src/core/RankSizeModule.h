#pragma once
#include <memory>

#include "core/Analysis.h"
#include "data/DataSet.h"
#include "ranksize/ZipfState.h"

// The rank-size family: the distributions (Rank-Size, Size-Rank, cumulative), Rank Shift,
// Rank-Space, Rank Change, Pop Change and Data Properties. Their buttons belong to the
// classic panel (Form.cpp).
class RankSizeModule : public Analysis {
public:
    std::string_view Name() const override { return "Rank-size"; }
    std::vector<CommandSpec> Commands() const override;
    bool Animates(std::string_view control) const override { return control == "Rank"; }
    std::vector<Picture> Frames(Form& f, std::string_view control) override;
};

// Zipf-Exponents and Next-Graph: the Hill estimates of every date, one graph a page.
class ZipfModule : public Analysis {
public:
    std::string_view Name() const override { return "Zipf"; }
    std::vector<CommandSpec> Commands() const override;
    void Reset() override { state_.reset(); }
    // Made, sized for the table, on first use.
    ZipfState& State(const DataSet& d);
    bool Made() const { return state_ != nullptr; }

private:
    std::unique_ptr<ZipfState> state_;
};
