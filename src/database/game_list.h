#pragma once
// The displayed list: one row per name line of every game, sorted by name, and the two name
// searches (the quick search by beginning and the search window's search by any part).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"

namespace tkv {

// Sorts games[left..right] by id (the order of equal ids is not defined).
void u_progress_dat_sort_quick(std::vector<GAMES2_ARRAY_TYPE>& games, std::int32_t left, std::int32_t right);
// Sorts the game table by id and fills the rows, one per name line. Rows past the list's limit
// of 65534 are not added.
void u_progress_dat_list_build(GameDatabase& db);
// The sort key of a row: A..Z lowered when lower is set.
std::string u_progress_dat_list_sort_quick_lowercase(std::string_view text, bool lower);
// Sorts all rows by name, byte order of their keys.
void u_progress_dat_list_sort(GameDatabase& db, bool ignore_case);

// The quick search's choice: no change (empty list), a row (-1 selects nothing), and whether the
// list's click handling runs afterwards (not for a blank text, which selects row 0).
struct QuickSearch {
    bool change = false;
    std::int32_t row = -1;
    bool click = false;
};
// The first row with the longest common beginning (A..Z folded); the scan stops at the first row
// after it with a shorter one.
QuickSearch search_gamename(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, std::string_view text);
// Whether the row the quick search selected begins with the whole text (A..Z folded); when it
// does not, the window offers to search everywhere.
bool quick_search_found(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, const QuickSearch& found,
                        std::string_view text);

struct SubstringSearch {
    std::string text;               // the search text as the window shows it afterwards
    std::vector<std::int32_t> rows; // matching rows in list order
};
// Rows whose name contains the text (A..Z folded, the text trimmed); none for an empty text.
SubstringSearch search_substring(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, std::string_view text);

} // namespace tkv
