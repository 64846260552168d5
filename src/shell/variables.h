#pragma once
// VARIABLES_PROGRAM: the program-wide run-time record.

#include <cstdint>
#include <string>
#include <vector>

#include "shell/usage_stats.h"

namespace tkv {

// What must be saved since the last successful save.
struct CHANGE_TRACKING {
    std::int32_t change_count = 0; // changes since the last successful save
    bool main_changed = false;     // main.dat must be rewritten
    bool user_changed = false;     // user.dat must be rewritten
    bool cheat_added = false;      // the user added or edited a game's text in this run
};

constexpr std::size_t arguments_max = 11;

struct VARIABLES_PROGRAM {
    // The command line.
    std::vector<std::string> arguments; // at most arguments_max, in order
    bool run_from_cd = false;           // read-only media: tkv.ini lives in windows_folder, nothing changes
    bool uninstall = false;
    bool manager_only = false;
    std::string start_profile;     // "/profile=": consumed when the profile is opened
    std::string start_game;        // "/game=": consumed by the main window's first load
    std::string start_skin;        // "/skin="
    std::string language_file_arg; // archives to install: *.tkvl, *.tkvp, *.tkvs
    std::string profile_file_arg;
    std::string skin_file_arg;
    // Run-time state.
    bool autorun_done = false; // a profile was started automatically in this run
    bool first_settings_mode = false;
    std::string current_folder; // working folder at start, ending in "/"
    std::string program_folder; // the program's data folder, ending in "/"
    std::string windows_folder; // the per-user configuration folder, ending in "/"
    std::string main_dat_path;  // the current profile's databases
    std::string user_dat_path;
    CHANGE_TRACKING changes;
    UsageStats stats;
};

// Where tkv.ini is read and written.
std::string ini_path(const VARIABLES_PROGRAM& variables);

// The program folder's sub-folders, each ending in "/".
inline std::string skins_folder(const VARIABLES_PROGRAM& variables) { return variables.program_folder + "skins/"; }
inline std::string profiles_folder(const VARIABLES_PROGRAM& variables) {
    return variables.program_folder + "profiles/";
}
inline std::string languages_folder(const VARIABLES_PROGRAM& variables) {
    return variables.program_folder + "languages/";
}
inline std::string information_folder(const VARIABLES_PROGRAM& variables) {
    return variables.program_folder + "information/";
}

} // namespace tkv
