#pragma once
// Writing a profile's games into a Xapian index: one document per text of a game (its names, each
// information entry, file, home page and the user's text), so that a hit names the tab it belongs
// to. Every document also holds the game's names, so "zelda water temple" finds the walkthrough of
// a game named Zelda.

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>
#include <xapian.h>

#include "database/game_types.h"
#include "search/game_documents.h"
#include "shell/codepage.h"

namespace tkv {

// Value slots of every document.
inline constexpr Xapian::valueno slot_game = 0;      // game key "#" its place among the key's games
inline constexpr Xapian::valueno slot_signature = 1; // key "\t" signature, on a key's first document


struct IndexOptions {
    Xapian::Stem stemmer;
    CodePage cp = CodePage::windows_1252;
    bool spelling = true; // spelling data for "did you mean" (the in-memory backend has none)
};

struct SyncResult {
    std::size_t indexed = 0; // games whose documents were written
    std::size_t removed = 0; // keys whose games are gone
    bool cancelled = false;
};

// Brings the index in line with the table: the documents of every key whose signature differs
// from the stored one are written again, those of keys no longer in the table deleted. Does not
// commit. Stops between games when cancel is set.
SyncResult sync_index(Xapian::WritableDatabase& index, const GameDatabase& db, const IndexOptions& options,
                      const IndexProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

// Writes again the documents of these keys only (game_key): after a user text was edited, a game
// of the user added, renamed or deleted (give its old key too), or a game merged by an upgrade.
SyncResult update_index(Xapian::WritableDatabase& index, const GameDatabase& db, const IndexOptions& options,
                        const std::vector<std::string>& keys);

} // namespace tkv
