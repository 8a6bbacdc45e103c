#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "app/Session.h"

// The command line: `citysize run ...`, `--help`, `--version`. Returns the exit status,
// or -1 when the arguments ask for the window.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string UsageText();

// The arguments of `citysize run` (args[0] is "run") into `o`; false, with the message on
// `err`, when they are refused.
bool ParseRun(const std::vector<std::string>& args, RunOptions& o, std::ostream& err);
