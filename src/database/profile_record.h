#pragma once
// One installed profile: the header texts of its database files and what the user database
// remembers about it.

#include <string>

#include "shell/datetime.h"

namespace tkv {

struct PROFILES_TYPE {
    std::string folder;    // its folder under profiles/
    std::string id;        // compared ignoring letter case
    std::string name;      // shown in lists and titles
    std::string language;  // of the database's texts; decides their code page
    DateTime main_date;    // of the main database
    DateTime user_date;    // of the user database
    std::string last_game; // list row text of the game last opened
};

} // namespace tkv
