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
