#pragma once
// The full-size profile the benchmarks run on: 32766 games whose names give 65534 list rows, with
// a user.dat of 1000 records, generated once into the build folder.

#include "cli/profile_source.h"
#include "cli/synthetic_profile.h"
#include "database/database_files.h"
#include "shell/files.h"

#include <cstdio>
#include <string>

namespace tkv {

inline const std::string home = TKV_BENCH_DATA "/";
inline const std::string folder = home + "profiles/full/";

// The profile is generated once and kept in the build folder (about a minute the first time).
inline void ensure_profile() {
    if (file_exists(folder + "user.dat")) return;
    std::fprintf(stderr, "Generating the full profile in %s ...\n", folder.c_str());
    auto generated = generate_profile({games_max, 1, game_list_max});
    write_profile(folder, generated->profile, generated->db);
    // 900 records attach to publisher's games by id and name, 100 become games of the user.
    GameDatabase user;
    for (std::size_t i = 0; i < 1000; ++i) {
        GAMES2_ARRAY_TYPE g = generated->db.games[i * 31];
        g.user_text = "My notes about this game.\r\nLevel 3 is hard.";
        if (i >= 900) {
            g.id = -static_cast<std::int32_t>(i);
            g.names = "My own game " + std::to_string(i);
        }
        user.games.push_back(std::move(g));
    }
    u_progress_dat_save_user(user, generated->profile, folder + "user.dat", true);
}

} // namespace tkv
