#pragma once
#include <memory>
#include <string>
#include <vector>

#include "data/DataSet.h"

// One group (state, country, region) of a table as a table of its own: every analysis then
// runs on it unchanged, with ranks recomputed within the group.

struct GroupCount {
    std::string group;
    int places = 0;
};

// The groups of the table in name order, each with its number of places; empty when the
// table has no group column.
std::vector<GroupCount> CountGroups(const DataSet& d);

// The places of `group`, in table order, over the dates where at least one of them is
// present (its own calendar). Always exact: the populations are the table's exact values.
// Throws RunError when no place belongs to the group.
std::unique_ptr<DataSet> GroupSubset(const DataSet& d, const std::string& group);

// The given places (1-based, any order; table order kept) as a table of their own, exactly as
// a group's is built: the dates where one of them is present, ranks recomputed among them,
// each keeping its own group. `label` names the set in errors. Throws RunError when the set
// is empty or present at fewer than two dates.
std::unique_ptr<DataSet> PlacesSubset(const DataSet& d, std::vector<int> places, const std::string& label);
