#include "core/Groups.h"

#include "core/Form.h"
#include "data/Subset.h"
#include "draw/Contrast.h"
#include "draw/PlotFrame.h"

void ChooseGroup(Form& f, const std::string& group) {
    if (!f.HasData()) throw RunError("Load the data first");
    const bool all = group.empty() || group == AllGroups;
    if (all && !f.wholeTable) return;
    if (!all && f.data->CityGroup.empty() && !f.wholeTable)
        throw RunError("This table has no group column (state, country or region)");
    const DataSet& whole = f.wholeTable ? *f.wholeTable : *f.data;
    // Built before anything changes: a group that cannot be built leaves the data as it was.
    std::unique_ptr<DataSet> fresh = all ? nullptr : GroupSubset(whole, group);
    const Selection selection = f.selection.Remapped(*f.data, all ? whole : *fresh);
    std::unique_ptr<DataSet> kept = f.wholeTable ? std::move(f.wholeTable) : std::move(f.data);
    const std::string source = f.DataSource;
    const auto groups = f.groups;
    if (all) {
        f.InstallData(std::move(kept), source);
        f.selection.Set(selection.Places());
        return;
    }
    f.InstallData(std::move(fresh), source.empty() ? group : source + " - " + group);
    f.DataSource = source;
    f.wholeTable = std::move(kept);
    f.groupName = group;
    f.groups = groups;
    f.selection.Set(selection.Places());
}

std::vector<std::string> GroupListEntries(const Form& f) {
    const DataSet& whole = f.wholeTable ? *f.wholeTable : *f.data;
    std::vector<std::string> out{std::string(AllGroups) + " (" + std::to_string(whole.NumCities) + " places)"};
    for (const auto& g : f.groups) out.push_back(g.group + " (" + std::to_string(g.places) + " places)");
    return out;
}

void NameGroupOnPicture(Form& f) {
    if (f.groupName.empty() || f.Picture1.Ops().empty()) return;
    Picture& p = f.Picture1;
    const std::string label = "Group: " + f.groupName;
    // A command that only prints leaves the picture, and its label, as they were.
    for (const auto& op : p.Ops())
        if (op.kind == OpKind::Text && op.text == label) return;
    const float size = p.FontSize;
    const Colour fore = p.ForeColor;
    const OpTag tag = p.CurrentTag;
    p.CurrentTag = OpTag{};
    p.FontSize = 8;
    p.ForeColor = InkFor(p.BackColor);
    PrintAt(p, 60, p.Height - 260, label);
    p.FontSize = size;
    p.ForeColor = fore;
    p.CurrentTag = tag;
}
