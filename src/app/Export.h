#pragma once
#include <ostream>
#include <string>

#include "draw/ViewRange.h"

// Loads the data from `dataDir`, runs every command in a fixed tour and writes, for each
// step, NN-Control.png and .svg, .txt where it printed text and .csv where it has a table,
// plus index.html showing them all, every picture laid out at `size`; a command that cannot
// run on the table shows its message on the page. Every file appears at the end, together, or
// none does: returns 0, or 1 when the data cannot be read or a file cannot be written (and then
// nothing is written).
int ExportTour(const std::string& dataDir, const std::string& outDir, bool black, std::ostream& log,
               PixelSize size = {});
