#pragma once
// tkv.ini: the settings, the first-run flag, the program version and the usage statistics.
// Read and written by the program's own rules, not by a general INI library.

#include <optional>
#include <string>
#include <string_view>

#include "shell/datetime.h"
#include "shell/options.h"
#include "shell/usage_stats.h"
#include "shell/variables.h"

namespace tkv {

// What the file sets besides the options.
struct IniTargets {
    OPTIONS_TYPE& options;
    bool& first_run;
    std::string& stored_version;
    UsageStats& stats;
};

// Applies the file over the values the targets already hold; a missing or unreadable file
// changes nothing. `now` gives the defaults of unreadable date parts.
void program_ini_load(const std::string& path, IniTargets targets, DateTime now);
void program_ini_load(const std::string& path, IniTargets targets);

// The option sections "[general]" .. "[options window]" exactly as the file holds them.
std::string options_ini_text(const OPTIONS_TYPE& options);
// The whole file: the option sections, the statistics section and "[#END#]".
std::string program_ini_text(const OPTIONS_TYPE& options, const UsageStats& stats);
// Replaces the file atomically, readable by its owner only. False when it could not be written;
// the old file then stays whole.
bool program_ini_save(const std::string& path, const OPTIONS_TYPE& options, const UsageStats& stats);

// One option key as the file writes it; empty when the section has no such key. The section
// is matched ignoring case, the key exactly, as the reader does.
std::optional<std::string> option_value_text(const OPTIONS_TYPE& options, std::string_view section,
                                             std::string_view key);
// Applies the read rule of one option key to value; false when there is no such key.
bool option_apply(OPTIONS_TYPE& options, std::string_view section, std::string_view key,
                  std::string_view value, DateTime now);

} // namespace tkv
