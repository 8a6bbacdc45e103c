#pragma once
#include <memory>

#include "core/Analysis.h"
#include "data/DataSet.h"
#include "stats/StatsState.h"

// The statistics of the classic panel, each with its paging buttons; their buttons belong to
// the classic panel (Form.cpp). Each state is made, sized for the table, on first use.

// Info-Stats, Next-Info, N-Last-Info, Last-Info (the info spirels read its state).
class InfoStatsModule : public Analysis {
public:
    std::string_view Name() const override { return "Info-Stats"; }
    std::vector<CommandSpec> Commands() const override;
    void Reset() override { state_.reset(); }
    InfoStatsState& State(const DataSet& d);
    bool Made() const { return state_ != nullptr; }

private:
    std::unique_ptr<InfoStatsState> state_;
};

// Pop-Stats, Next-Pop, Last-Pop (Pop-Spirel reads its state; Last-Pop prints the half-lives).
class PopStatsModule : public Analysis {
public:
    std::string_view Name() const override { return "Pop-Stats"; }
    std::vector<CommandSpec> Commands() const override;
    void Reset() override { state_.reset(); }
    PopStatsState& State(const DataSet& d);
    bool Made() const { return state_ != nullptr; }

private:
    std::unique_ptr<PopStatsState> state_;
};

// Half-Lives: the overlap of the top ranks between dates.
class HalfLivesModule : public Analysis {
public:
    std::string_view Name() const override { return "Half-Lives"; }
    std::vector<CommandSpec> Commands() const override;
    void Reset() override { state_.reset(); }
    HalfLivesState& State(const DataSet& d);
    bool Made() const { return state_ != nullptr; }

private:
    std::unique_ptr<HalfLivesState> state_;
};
