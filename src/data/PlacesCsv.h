#pragma once
#include <ostream>

#include "data/DataSet.h"

// The table as the program understood it, one row per place: name, group, ID, latitude,
// longitude, then one population per date (as read, times the unit; empty where absent, as
// is an unknown position). Numbers are written in the fewest digits that read back the same.
void WritePlacesCsv(const DataSet& d, std::ostream& out);
