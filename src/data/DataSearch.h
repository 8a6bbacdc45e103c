#pragma once
#include <string>
#include <vector>

// The data file that "Load Data" reads when no path is given: USData.csv in the first of
// `folders` that holds it as a regular file, or an empty string when none does. The caller
// lists the folders in order of preference (the current folder, the installed data folder,
// the source tree's data/ in a build folder).
std::string FindDataFile(const std::vector<std::string>& folders);

// What a data argument names: a folder means its USData.csv, anything else is the file
// itself. A path that does not exist is taken for a file if it ends in .csv, else for a
// folder, so the error names what is missing. Empty: USData.csv in the current folder.
std::string DataFilePath(const std::string& fileOrFolder);

// The outline files that ship with the program (country borders, US states), from the
// outlines/ folder of the first of `folders` that has them; empty when none does.
std::vector<std::string> FindShippedOutlines(const std::vector<std::string>& folders);
