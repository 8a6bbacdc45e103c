#include "Controls.h"

#include "draw/RunError.h"

const std::vector<std::string_view> MainCommandSet = {
    "RankSpirel1", "RankSpirel2",  "RankSpirel3", "RankSpirel4",     "RankSpirel5", "RankSpirel6",
    "RankChange",  "RankSpace",    "PopChange",   "ReadData",        "HalfLives",   "RankShiftSpirel",
    "SizeRank",    "Rank",         "CumRankSize", "CumSizeRank",     "RankShift",   "InfoStats",
    "InfoSpirel",  "PopStats",     "PopSpirel",   "DataProperties",  "Zipf"};

Control ButtonControl(std::string name, std::string caption, std::string tip) {
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::Button;
    c.caption = std::move(caption);
    c.toolTip = std::move(tip);
    return c;
}

Control OfKind(ControlKind kind, std::string name, std::string caption) {
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.caption = std::move(caption);
    return c;
}

Control ListControl(std::string name, std::string caption) {
    return OfKind(ControlKind::List, std::move(name), std::move(caption));
}

void Place(Control& c, float left, float top, float width, float height) {
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
}

void RightOf(ControlTable& p, std::string_view name, std::string_view of, float gap) {
    const Control& x = p[of];
    Place(p[name], x.left + x.width + gap, x.top, x.width, x.height);
}

void Below(ControlTable& p, std::string_view name, std::string_view of) {
    const Control& x = p[of];
    Place(p[name], x.left, x.top + x.height + 150, x.width, x.height);
}

Control& ControlTable::Add(Control c) {
    controls_.push_back(std::move(c));
    return controls_.back();
}

const Control* ControlTable::Find(std::string_view name) const {
    for (const auto& c : controls_)
        if (c.name == name) return &c;
    return nullptr;
}

const Control& ControlTable::operator[](std::string_view name) const {
    const Control* c = Find(name);
    if (!c) throw RunError("No control named " + std::string(name));
    return *c;
}

Control& ControlTable::operator[](std::string_view name) {
    return const_cast<Control&>(static_cast<const ControlTable&>(*this)[name]);
}
