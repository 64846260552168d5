#include "database/game_list.h"

#include "shell/quicksort.h"
#include "shell/text.h"

#include <algorithm>
#include <utility>

namespace tkv {

namespace {

// Whether haystack contains needle (already lowered), A..Z folded, without copying.
bool contains_folded(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size()) return false;
    for (std::size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        std::size_t k = 0;
        while (k < needle.size() && ascii_lower(haystack[start + k]) == needle[k])
            ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

} // namespace

void u_progress_dat_sort_quick(std::vector<GAMES2_ARRAY_TYPE>& games, std::int32_t left, std::int32_t right) {
    if (left < 0 || right >= static_cast<std::int32_t>(games.size())) return;
    std::vector<std::int32_t> ids;
    ids.reserve(games.size());
    for (const auto& g : games)
        ids.push_back(g.id);
    sort_by_keys(ids, left, right, [&](std::size_t i, std::size_t j) { std::swap(games[i], games[j]); });
}

void u_progress_dat_list_build(GameDatabase& db) {
    u_progress_dat_sort_quick(db.games, 0, static_cast<std::int32_t>(db.games.size()) - 1);
    db.game_list.clear();
    for (std::size_t n = 0; n < db.games.size(); ++n) {
        std::string_view s = db.games[n].names;
        for (;;) {
            if (db.game_list.size() >= game_list_max) return;
            const auto end = s.find("\r\n");
            db.game_list.push_back({std::string(s.substr(0, end)), static_cast<std::int32_t>(n)});
            if (end == std::string_view::npos) break;
            s.remove_prefix(end + 2);
        }
    }
}

std::string u_progress_dat_list_sort_quick_lowercase(std::string_view text, bool lower) {
    return lower ? ascii_lower_text(text) : std::string(text);
}

void u_progress_dat_list_sort(GameDatabase& db, bool ignore_case) {
    auto& rows = db.game_list;
    // Keys are made once; they move with their rows.
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows)
        keys.push_back(u_progress_dat_list_sort_quick_lowercase(row.name, ignore_case));
    sort_by_keys(keys, 0, static_cast<std::ptrdiff_t>(rows.size()) - 1,
                 [&](std::size_t i, std::size_t j) { std::swap(rows[i], rows[j]); });
}

QuickSearch search_gamename(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, std::string_view text) {
    if (rows.empty()) return {};
    if (trim_spaces(text).empty()) return {true, 0, false};
    std::int32_t best = -1;
    std::size_t best_length = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::size_t m = common_start_length(rows[k].name, text);
        if (m > best_length) {
            best = static_cast<std::int32_t>(k);
            best_length = m;
        }
        if (m < best_length) break;
    }
    return {true, best, true};
}

bool quick_search_found(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, const QuickSearch& found,
                        std::string_view text) {
    if (trim_spaces(text).empty()) return true;
    if (found.row < 0 || static_cast<std::size_t>(found.row) >= rows.size()) return false;
    return common_start_length(rows[static_cast<std::size_t>(found.row)].name, text) == text.size();
}

SubstringSearch search_substring(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, std::string_view text) {
    SubstringSearch result;
    result.text = trim_controls(ascii_lower_text(text));
    if (result.text.empty()) return result;
    for (std::size_t k = 0; k < rows.size() && result.rows.size() < game_list_max; ++k)
        if (contains_folded(rows[k].name, result.text)) result.rows.push_back(static_cast<std::int32_t>(k));
    return result;
}

} // namespace tkv
