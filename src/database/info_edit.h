#pragma once
// The text rules of the game information window: a game's names shown on one line as
// "a; b; c", what OK keeps of the typed texts, and when OK may accept them. And what an edit of the
// user's data marks for saving, whichever window makes it.

#include <cstdint>
#include <string>
#include <string_view>

#include "database/game_types.h"
#include "database/profile_record.h"
#include "shell/datetime.h"
#include "shell/variables.h"

namespace tkv {

// The names, one per CR LF separated line, as the one-line name field shows them.
std::string name_text_of_names(std::string_view names);

// The names a typed name text stands for: ";" separates them, blanks around a name and empty
// names are dropped, one name per CR LF separated line.
std::string names_of_name_text(std::string_view name_text);

// What OK keeps of the user's text: no leading empty lines, no trailing blanks or line breaks;
// the indent of the first kept line stays.
std::string trim_user_text(std::string_view user_text);

enum class NameCheck {
    ok,         // may be accepted
    incomplete, // the name or the user text is empty
    taken,      // another game already has one of the names
};

// For a game whose names the user writes (a new game, or one of the user's own): the typed texts
// need a name and a user text, and no game other than game_id may have one of the names.
NameCheck check_user_game_texts(const GameDatabase& db, std::int32_t game_id, std::string_view name_text,
                                std::string_view user_text);

// What the user changed; all of it is kept in user.dat.
enum class UserChange {
    launch_settings, // a game's program, its parameters or its working folder
    game_text,       // a game's names or user text typed in
    game_removed,    // one of the user's own games erased, with or without a text of its own
};

// Counts the change and marks user.dat to be rewritten. A typed text or a removed game also dates
// the open profile's user database (none when profile is null) with now; a typed text also marks
// the run as one that added a cheat, which closing offers to send.
void record_user_change(CHANGE_TRACKING& changes, UserChange kind, PROFILES_TYPE* profile, DateTime now);

// The game's program is missing and the user gives it up: the game's launch settings go (none
// when game_index is outside the table) and the change is recorded.
void forget_launch_settings(GameDatabase& db, std::int32_t game_index, CHANGE_TRACKING& changes);

} // namespace tkv
