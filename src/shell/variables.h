#pragma once
// VARIABLES_PROGRAM: the program-wide run-time record.

#include <string>

#include "shell/usage_stats.h"

namespace tkv {

struct VARIABLES_PROGRAM {
    bool run_from_cd = false;   // read-only media: tkv.ini lives in windows_folder, nothing changes
    std::string current_folder; // working folder at start, ending in "/"
    std::string program_folder; // the program's data folder, ending in "/"
    std::string windows_folder; // the per-user configuration folder, ending in "/"
    UsageStats stats;
};

// Where tkv.ini is read and written.
std::string ini_path(const VARIABLES_PROGRAM& variables);

} // namespace tkv
