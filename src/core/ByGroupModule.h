#pragma once
#include "core/Analysis.h"
#include "stats/ByGroup.h"

// By-Group: the groups compared at every date, as a forest plot or a heat map, a page of
// groups at a time. Which group is analysed stays with the session (Form, Groups.h).
class ByGroupModule : public Analysis {
public:
    enum class GroupPicture { HeatMap, ForestPlot };

    std::string_view Name() const override { return "By-Group"; }
    void AddControls(Form& f) override;
    std::vector<CommandSpec> Commands() const override;
    std::vector<OptionSpec> Options() const override;
    bool SetOption(std::string_view name, std::string_view value) override;
    std::optional<std::string> Describe(const Form& f, const Hit& hit, float x, float y) const override;
    void Reset() override;
    bool Redraw(Form& f, std::string_view control) override;
    void DataInstalled(Form& f) override;

    ByGroupOptions options;  // with Tail-Fit's minimum tail and seed
    ByGroupState table;      // the last table, which hover and the window's group list read
    int page = 0;            // the page of groups shown
    GroupPicture picture = GroupPicture::HeatMap;  // which picture Next-Groups pages
};
