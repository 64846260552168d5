#pragma once
// A temporary program folder for the shell's windows: a context as a start sets it up, the
// built-in skin, and profiles written with the database writer.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "database/database_files.h"
#include "profiles/profile_table.h"
#include "shell/datetime.h"
#include "support/temp_dir.h"

namespace tkv::test {

struct ProgramFolder {
    TempDir dir;
    ProgramContext c;

    ProgramFolder() {
        context_initialize(c, dir.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
    }

    // profiles/<folder>/main.dat with one game per entry of names (a game's names CR LF separated).
    void add_profile(const std::string& folder, const std::string& id, const std::string& name,
                     const std::vector<std::string>& names) const {
        PROFILES_TYPE p;
        p.id = id;
        p.name = name;
        p.language = "English";
        p.main_date = parse_datetime("20261201120000000");
        GameDatabase db;
        db.info_types.push_back({1, "Cheat codes"});
        std::int32_t game_id = 0;
        for (const std::string& n : names)
            db.games.push_back({++game_id, n, "", 1, "", {}});
        std::filesystem::create_directories(dir.path("profiles/" + folder));
        if (!u_progress_dat_save_main(db, p, dir.path("profiles/" + folder + "/main.dat"), true))
            ADD_FAILURE() << "main.dat of " << folder << " not written";
    }

    // Reads the installed profiles and makes entry `index` (in name order) the current one.
    void select_profile(int index = 0) {
        profiles_ini_load(c.profiles, dir.folder());
        if (!c.profiles.profiles.empty()) profiles_sort(c.profiles, 0, c.profiles.profiles.size() - 1);
        profile_select(c.profiles, index, c.options, c.variables);
    }
};

} // namespace tkv::test
