#pragma once
// tkv, the command-line companion: each command works on the same core as the program.

#include <ostream>
#include <string>
#include <vector>

namespace tkv::cli {

// Exit codes: 0 done, 1 the command failed (a file could not be read or written),
// 2 unknown command or bad arguments (a usage line went to err).
constexpr int exit_ok = 0;
constexpr int exit_failed = 1;
constexpr int exit_usage = 2;

// Runs one command line (without the program name).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tkv::cli
