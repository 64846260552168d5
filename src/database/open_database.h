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

OpenReport database_open(GameDatabase& db, CHANGE_TRACKING& changes, PROFILES_TYPE& profile,
                         const std::string& main_dat_path, const std::string& user_dat_path,
                         bool ignore_case);

} // namespace tkv
