#pragma once
#include <ostream>
#include <string>
#include <vector>

// The command line: `citysize run ...`, `--help`, `--version`. Returns the exit status,
// or -1 when the arguments ask for the window.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string UsageText();
