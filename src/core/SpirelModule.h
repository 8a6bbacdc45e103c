#pragma once
#include <memory>

#include "core/Analysis.h"
#include "data/DataSet.h"
#include "spirels/SpirelState.h"

// The spirels: the six rank spirels, Plot-City, Distance-Spirel, and the spirels of the
// information, rank-shift and population statistics. Their buttons belong to the classic
// panel (Form.cpp).
class SpirelModule : public Analysis {
public:
    std::string_view Name() const override { return "Spirels"; }
    std::vector<CommandSpec> Commands() const override;
    bool Animates(std::string_view control) const override {
        return control == "RankSpirel1" || control == "InfoSpirel";
    }
    std::vector<Picture> Frames(Form& f, std::string_view control) override;
    void Reset() override { state_.reset(); }
    // Made, sized for the table, on first use.
    SpirelState& State(const DataSet& d);
    bool Made() const { return state_ != nullptr; }

private:
    std::unique_ptr<SpirelState> state_;
};
