#pragma once
#include <string>
#include <string_view>

#include "data/RawTable.h"

// A delimited text file as a neutral table: decoded to UTF-8, delimiter guessed, cells
// split. A file that is plainly not text (a workbook, a database, an archive saved with a
// text extension) is refused with what it seems to be. Throws RunError naming `name`.
RawTable ReadCsvTable(std::string_view bytes, const std::string& name);
// The same, reusing the bytes' memory for the decoded text.
RawTable ReadCsvTable(std::string&& bytes, const std::string& name);
