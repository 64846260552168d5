#pragma once
// main.dat and user.dat: loading them into the game table, merging the user's records over the
// publisher's games, and writing them back.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "database/game_types.h"
#include "database/profile_record.h"

namespace tkv {

// What a reader met. Problems are structural: the file is readable but not sound.
struct DatReadReport {
    bool opened = false;
    bool magic_ok = false;
    std::size_t types = 0;                // information types read (main.dat)
    std::size_t records = 0;              // games (main.dat) or user records (user.dat) read completely
    std::size_t records_beyond_limit = 0; // read but not kept: the game table was full
    std::vector<std::string> problems;
};

// Loads main.dat into db (types and games; next_user_id becomes -1). A missing file gives an
// empty database. main_file_date gets the file's last-write date.
DatReadReport u_progress_dat_load_main(GameDatabase& db, const std::string& path, DateTime& main_file_date);

// Loads user.dat and merges each record; sets the profile's user_date and last_game.
DatReadReport u_progress_dat_load_user(GameDatabase& db, const std::string& path, PROFILES_TYPE& profile);

// Merges one user record (publisher id in id, names, user text, launch settings) into the table.
void u_progress_dat_load_user_add_data(GameDatabase& db, const GAMES2_ARRAY_TYPE& user_record);

// Progress of a save in percent, after each game.
using SaveProgress = std::function<void(int percent)>;

// Write main.dat / user.dat to path, replacing it atomically. Without `changed` an existing file
// is left alone and the save counts as failed, as the save task expects.
bool u_progress_dat_save_main(const GameDatabase& db, const PROFILES_TYPE& profile, const std::string& path,
                              bool changed, const SaveProgress& progress = {});
bool u_progress_dat_save_user(const GameDatabase& db, const PROFILES_TYPE& profile, const std::string& path,
                              bool changed, const SaveProgress& progress = {});

} // namespace tkv
