#pragma once

struct Canvas;
struct DataSet;

// The number of cities and their total population at each date, printed and drawn in time.
void DataProperties(const DataSet& d, const Canvas& c);
