#include "database/info_edit.h"

#include "database/game_table.h"
#include "shell/text.h"

namespace tkv {

std::string name_text_of_names(std::string_view names) {
    return replace_each(names, "\r\n", "; ");
}

std::string names_of_name_text(std::string_view name_text) {
    std::string s = replace_each(name_text, ";", "\r\n");
    s = replace_until_gone(s, "\r\n ", "\r\n");
    s = replace_until_gone(s, " \r\n", "\r\n");
    s = replace_until_gone(s, "\r\n\r\n", "\r\n");
    return trim_blank(s);
}

std::string trim_user_text(std::string_view user_text) {
    return trim_blank_right(trim_crlf_left(user_text));
}

NameCheck check_user_game_texts(const GameDatabase& db, std::int32_t game_id, std::string_view name_text,
                                std::string_view user_text) {
    // The names as they would be stored: "; ;" is not empty text but names no game.
    const std::string names = names_of_name_text(name_text);
    if (names.empty() || trim_blank(user_text).empty()) return NameCheck::incomplete;
    return games_check_name_exist(db, names, game_id) ? NameCheck::taken : NameCheck::ok;
}

void record_user_change(CHANGE_TRACKING& changes, UserChange kind, PROFILES_TYPE* profile, DateTime now) {
    ++changes.change_count;
    changes.user_changed = true;
    if (kind == UserChange::game_text) changes.cheat_added = true;
    if (kind != UserChange::launch_settings && profile) profile->user_date = now;
}

void forget_launch_settings(GameDatabase& db, std::int32_t game_index, CHANGE_TRACKING& changes) {
    if (game_index >= 0 && static_cast<std::size_t>(game_index) < db.games.size())
        db.games[static_cast<std::size_t>(game_index)].run = {};
    record_user_change(changes, UserChange::launch_settings, nullptr, {});
}

} // namespace tkv
