#pragma once
// Writing a profile's games into the full-text index, an SQLite database with a full-text table:
// one row per text of a game (its names, each information entry, file, home page and the user's
// text), so that a hit names the tab it belongs to. Every row also holds the game's names, so
// "zelda water temple" finds the walkthrough of a game named Zelda. Beside the word lists, each
// game's texts are kept packed (for snippets, and to take its words out again when it changes).

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>
#include <xapian.h>

#include "database/game_types.h"
#include "search/game_documents.h"
#include "search/sqlite.h"
#include "shell/codepage.h"

namespace tkv {

struct IndexOptions {
    Xapian::Stem stemmer;
    CodePage cp = CodePage::windows_1252;
};

struct SyncResult {
    std::size_t indexed = 0; // games whose texts were written
    std::size_t removed = 0; // keys whose games are gone
    bool cancelled = false;
};

// The row id of a game's text: the game's row in the games table and the text's place in it.
inline constexpr int text_row_shift = 16;
inline constexpr std::size_t texts_per_game_max = (std::size_t{1} << text_row_shift) - 1;

// Makes the tables of an empty index; leaves those that are there.
void create_index_tables(SqliteDb& index);

// Brings the index in line with the table: every key whose signature differs from the stored one
// is written again, the keys no longer in the table are deleted. Commits every few thousand games,
// so that a cancelled run keeps what it did; stops between games when cancel is set.
SyncResult sync_index(SqliteDb& index, const GameDatabase& db, const IndexOptions& options,
                      const IndexProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

// Writes again the games of these keys only (game_key): after a user text was edited, a game of
// the user added, renamed or deleted (give its old key too), or a game merged by an upgrade.
SyncResult update_index(SqliteDb& index, const GameDatabase& db, const IndexOptions& options,
                        const std::vector<std::string>& keys);

} // namespace tkv
