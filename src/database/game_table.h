#pragma once
// Operations on the game table: finding games by id and by name, adding and removing the user's
// own games.

#include <cstdint>
#include <string>
#include <string_view>

#include "database/game_types.h"
#include "shell/variables.h"

namespace tkv {

// Calls f(line) for each line of s, lines separated by CR LF (a lone CR or LF stays in its line).
template <class F> void for_each_name_line(std::string_view s, F&& f) {
    for (;;) {
        const auto end = s.find("\r\n");
        f(s.substr(0, end));
        if (end == std::string_view::npos) return;
        s.remove_prefix(end + 2);
    }
}

// True when a line of new_names equals a whole line of existing, A..Z folded.
bool name_lines_match(std::string_view existing, std::string_view new_names);

// Index of the first game with this id; else the last user game whose names match; else -1.
std::int32_t games_check_id_exist(const GameDatabase& db, std::int32_t id, std::string_view names);

// Blanks around the line breaks of typed names go, as do blanks at both ends.
std::string normalize_names(std::string_view names);
// True when another game (id other than except_id) has one of the normalised names.
bool games_check_name_exist(const GameDatabase& db, std::string_view names, std::int32_t except_id);

// Empties the tables and the change marks when a profile opens.
void database_reset(GameDatabase& db, CHANGE_TRACKING& changes);

bool games_table_full(const GameDatabase& db);
// Appends a game of the user with the next user id; false (nothing added) when the table is full.
bool games_append_user_game(GameDatabase& db, GAMES2_ARRAY_TYPE game);
// Removes a game of the user (negative id) by moving the last record into its place; false for
// the publisher's games and bad indices. The displayed list must be rebuilt afterwards.
bool games_remove_user_game(GameDatabase& db, std::size_t index);

} // namespace tkv
