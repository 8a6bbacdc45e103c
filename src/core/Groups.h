#pragma once
#include <string>
#include <vector>

class Form;

// One group at a time: choosing a group installs the table of its places (ranked within the
// group, with its own calendar) in place of the whole table, which is kept; "All" (or "")
// installs the whole table again. Throws RunError, leaving the data as it was, when the
// table has no such group.
inline constexpr const char* AllGroups = "All";
void ChooseGroup(Form& f, const std::string& group);

// The entries of the Group list: "All (N places)", then "GROUP (N places)" for each group.
std::vector<std::string> GroupListEntries(const Form& f);

// Names the chosen group in the picture's top left corner, so every picture drawn on one
// group says so; nothing when all places are shown.
void NameGroupOnPicture(Form& f);
