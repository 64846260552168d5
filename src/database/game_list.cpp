#include "database/game_list.h"

#include "shell/text.h"

#include <algorithm>
#include <utility>

namespace tkv {

namespace {

// The quicksort both tables use: middle pivot, exchange when out of order. The recursion goes
// into the smaller part and the loop continues with the larger one, so its depth stays
// logarithmic whatever the input; the two parts are independent, so the order is the same as
// recursing into both.
template <class KeyLess, class KeyGreater, class Swap>
void quicksort(std::int32_t l, std::int32_t r, KeyLess less_than_pivot, KeyGreater greater_than_pivot,
               Swap exchange_if_greater, auto pivot_of) {
    while (l < r) {
        std::int32_t i = l, j = r;
        const auto pivot = pivot_of((l + r) / 2);
        while (i <= j) {
            while (less_than_pivot(i, pivot)) ++i;
            while (greater_than_pivot(j, pivot)) --j;
            if (i <= j) {
                exchange_if_greater(i, j);
                ++i;
                --j;
            }
        }
        if (j - l < r - i) {
            if (l < j) quicksort(l, j, less_than_pivot, greater_than_pivot, exchange_if_greater, pivot_of);
            l = i;
        } else {
            if (i < r) quicksort(i, r, less_than_pivot, greater_than_pivot, exchange_if_greater, pivot_of);
            r = j;
        }
    }
}

std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

// Whether haystack contains needle (already lowered), A..Z folded, without copying.
bool contains_folded(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size()) return false;
    for (std::size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        std::size_t k = 0;
        while (k < needle.size() && ascii_lower(haystack[start + k]) == needle[k]) ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

} // namespace

void u_progress_dat_sort_quick(std::vector<GAMES2_ARRAY_TYPE>& games, std::int32_t left, std::int32_t right) {
    if (left < 0 || right >= static_cast<std::int32_t>(games.size())) return;
    quicksort(
        left, right, [&](std::int32_t i, std::int32_t pivot) { return games[at(i)].id < pivot; },
        [&](std::int32_t j, std::int32_t pivot) { return games[at(j)].id > pivot; },
        [&](std::int32_t i, std::int32_t j) {
            if (games[at(i)].id > games[at(j)].id) std::swap(games[at(i)], games[at(j)]);
        },
        [&](std::int32_t m) { return games[at(m)].id; });
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
    for (const auto& row : rows) keys.push_back(u_progress_dat_list_sort_quick_lowercase(row.name, ignore_case));
    quicksort(
        0, static_cast<std::int32_t>(rows.size()) - 1,
        [&](std::int32_t i, const std::string& pivot) { return keys[at(i)] < pivot; },
        [&](std::int32_t j, const std::string& pivot) { return keys[at(j)] > pivot; },
        [&](std::int32_t i, std::int32_t j) {
            if (keys[at(i)] > keys[at(j)]) {
                std::swap(keys[at(i)], keys[at(j)]);
                std::swap(rows[at(i)], rows[at(j)]);
            }
        },
        [&](std::int32_t m) { return keys[at(m)]; });
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

SubstringSearch search_substring(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, std::string_view text) {
    SubstringSearch result;
    result.text = trim_controls(ascii_lower_text(text));
    if (result.text.empty()) return result;
    for (std::size_t k = 0; k < rows.size() && result.rows.size() < game_list_max; ++k)
        if (contains_folded(rows[k].name, result.text)) result.rows.push_back(static_cast<std::int32_t>(k));
    return result;
}

} // namespace tkv
