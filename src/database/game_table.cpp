#include "database/game_table.h"

#include "shell/text.h"

#include <algorithm>

namespace tkv {

namespace {

bool equal_folded(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

} // namespace

bool name_lines_match(std::string_view existing, std::string_view new_names) {
    bool match = false;
    for_each_name_line(new_names, [&](std::string_view wanted) {
        if (match) return;
        for_each_name_line(existing,
                           [&](std::string_view line) { match = match || equal_folded(line, wanted); });
    });
    return match;
}

std::int32_t games_check_id_exist(const GameDatabase& db, std::int32_t id, std::string_view names) {
    std::int32_t candidate = -1;
    for (std::size_t i = 0; i < db.games.size(); ++i) {
        const auto& g = db.games[i];
        if (g.id == id) return static_cast<std::int32_t>(i);
        if (g.id < 0 && name_lines_match(g.names, names)) candidate = static_cast<std::int32_t>(i);
    }
    return candidate;
}

std::string normalize_names(std::string_view names) {
    std::string s = replace_until_gone(names, "\r\n ", "\r\n");
    s = replace_until_gone(s, " \r\n", "\r\n");
    return trim_controls(s);
}

bool games_check_name_exist(const GameDatabase& db, std::string_view names, std::int32_t except_id) {
    const std::string wanted = normalize_names(names);
    return std::any_of(db.games.begin(), db.games.end(), [&](const GAMES2_ARRAY_TYPE& g) {
        return g.id != except_id && name_lines_match(g.names, wanted);
    });
}

void database_reset(GameDatabase& db, CHANGE_TRACKING& changes) {
    db = GameDatabase{};
    changes.change_count = 0;
    changes.main_changed = false;
    changes.user_changed = false;
}

bool games_table_full(const GameDatabase& db) {
    return db.games.size() >= games_max;
}

bool games_append_user_game(GameDatabase& db, GAMES2_ARRAY_TYPE game) {
    if (games_table_full(db)) return false;
    game.id = db.next_user_id--;
    db.games.push_back(std::move(game));
    return true;
}

bool games_remove_user_game(GameDatabase& db, std::size_t index) {
    if (index >= db.games.size() || db.games[index].id >= 0) return false;
    if (index + 1 != db.games.size()) db.games[index] = std::move(db.games.back());
    db.games.pop_back();
    return true;
}

} // namespace tkv
