#pragma once
#include <ostream>
#include <string>

#include "draw/ViewRange.h"

// Loads the data from `dataDir`, runs every command in a fixed tour and writes, for each
// step, NN-Control.png and .svg, .txt where it printed text and .csv where it has a table,
// plus index.html showing them all, every picture laid out at `size`. Returns the exit status
// (0, or 1 if a step failed).
int ExportTour(const std::string& dataDir, const std::string& outDir, bool black, std::ostream& log,
               PixelSize size = {});
