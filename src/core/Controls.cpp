#include "Controls.h"

#include "draw/RunError.h"

const std::vector<std::string_view> MainCommandSet = {
    "RankSpirel1", "RankSpirel2",  "RankSpirel3", "RankSpirel4",     "RankSpirel5", "RankSpirel6",
    "RankChange",  "RankSpace",    "PopChange",   "ReadData",        "HalfLives",   "RankShiftSpirel",
    "SizeRank",    "Rank",         "CumRankSize", "CumSizeRank",     "RankShift",   "InfoStats",
    "InfoSpirel",  "PopStats",     "PopSpirel",   "DataProperties",  "Zipf",
    "Mobility", "TailFit", "Growth", "ByGroup", "Map"};

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
