#pragma once
// Opening a profile's database: the tables emptied, main.dat loaded, user.dat merged over it and
// the displayed list built and sorted.

#include <string>

#include "database/database_files.h"
#include "database/game_types.h"
#include "database/profile_record.h"
#include "shell/variables.h"

namespace tkv {

struct OpenReport {
    DatReadReport main;
    DatReadReport user;
    DateTime main_file_date;
};

// main.dat was there but could not be read to its end: what came before the damage is kept and
// shown. The file itself is written again only when publisher data changes on purpose (an
// update), never from a damaged read alone: the save task writes main.dat only when main_changed.
bool main_dat_damaged(const OpenReport& report);
// The games of main.dat that are in the table.
std::size_t main_dat_games_kept(const OpenReport& report);

// The one way a profile is opened, by the window and by tkv. progress gets the percentage done,
// rising to 100, often while main.dat is read (a caller that shows it throttles it).
OpenReport database_open(GameDatabase& db, CHANGE_TRACKING& changes, PROFILES_TYPE& profile,
                         const std::string& main_dat_path, const std::string& user_dat_path,
                         bool ignore_case, const FileProgress& progress = {});

} // namespace tkv
