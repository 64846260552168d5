#pragma once
// Where a profile's full-text index lives and what it was built from. The index is derived data:
// it sits in the user's cache, also when the program runs read-only, and it is made again when
// the profile no longer matches its stamp.

#include <string>

#include "database/game_types.h"
#include "database/profile_record.h"

namespace tkv {

// $XDG_CACHE_HOME/trickvault/index/<profile id>-<short hash of the profile's folder>/: two program
// folders may both hold a profile "demo". Ends in "/".
std::string index_folder(const PROFILES_TYPE& profile, const std::string& profile_folder);

// What the index was built from, as one line: main.dat's size and time, a hash of the profile's
// header and the publisher's game table, and a hash of the user's texts and games.
std::string index_stamp(const GameDatabase& db, const PROFILES_TYPE& profile,
                        const std::string& main_dat_path);

} // namespace tkv
