#pragma once
#include <memory>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/Import.h"

// The table as read, before the choice of places, and the data set made from it. Values
// are populations times the unit, in double precision, 0 where absent.
struct Table {
    std::vector<std::string> names, groups, ids;
    std::vector<double> latitude, longitude;  // one per place; NaN where unknown
    std::vector<int> years;
    std::vector<double> values;  // place p, date t at p * years.size() + t
    std::size_t Dates() const { return years.size(); }
    std::size_t Places() const { return names.size(); }
    double& At(std::size_t p, std::size_t t) { return values[p * Dates() + t]; }
    double At(std::size_t p, std::size_t t) const { return values[p * Dates() + t]; }
};

// Keeps the places among the `top` largest at one or more dates (none dropped when 0); a
// kept place is absent at the dates where it is not among them.
void ChoosePlaces(Table& tab, int top, ImportPreview& pv);
// Places with the same name told apart by their group ("Springfield, MA"), else their ID.
void MakeNamesUnique(Table& tab, ImportPreview& pv);
// `exact`: statistics in double precision (every table but the classic header-less one).
std::unique_ptr<DataSet> ToDataSet(Table&& tab, bool exact);
