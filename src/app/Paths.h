#pragma once
#include <QString>
#include <string>
#include <vector>

// Where the program finds what ships with it, relative to its own executable, so that an
// installed copy works wherever the installation was put.

// The folders "Load Data" looks in when no data path is given, in order: the current
// folder, the installed data folder, and the source tree's data/ when the program runs
// from the build folder it was built in.
std::vector<std::string> DataSearchFolders();

// USData.csv from the first of those folders that has it; empty when none does (Load Data
// then reports USData.csv missing from the current folder).
std::string DefaultDataPath();

// The README that ships with the program: the installed copy, else the source tree's;
// empty when neither is there.
QString ReadmePath();
