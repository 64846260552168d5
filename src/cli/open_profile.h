#pragma once
// What the profile commands share: finding a profile by id, opening its database, and showing its
// texts on a terminal.

#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "database/game_types.h"
#include "database/open_database.h"
#include "profiles/profile_table.h"
#include "shell/codepage.h"

namespace tkv::cli {

struct OpenedProfile {
    PROFILES_TYPE profile;
    GameDatabase db;
    CodePage cp = CodePage::windows_1252;
    OpenReport report;
};

// The installed profiles of the home folder in the manager's order.
ProfileTable installed_profiles(const ProgramContext& context);

// The profile with this id (letter case ignored), its database paths set in the context; an
// unknown id prints an error and gives nothing.
std::optional<PROFILES_TYPE> find_profile(ProgramContext& context, const std::string& id, CommandIo io);

// Opens the profile with this id (letter case ignored) as the main window does, with the home's
// options; an unknown id prints an error and gives nothing.
std::optional<OpenedProfile> open_profile(ProgramContext& context, const std::string& id, CommandIo io);

// A profile text as the terminal shows it: UTF-8 unless raw bytes were asked for.
std::string shown(const std::string& bytes, CodePage cp, bool raw);

// Arguments after the command: positional ones, and the flags taken out of them.
struct Arguments {
    std::vector<std::string> positional;
    bool raw = false;
    std::optional<std::string> format;
    bool similar = false; // find: the similar names too
};
// False for an unknown flag or a flag without its value.
bool parse_arguments(const std::vector<std::string>& args, Arguments& out);

} // namespace tkv::cli
