#pragma once
// The full-text search of a profile: its index in the user's cache, made or brought up to date by
// prepare() (on a worker thread: it reports progress and stops when asked), kept current by
// update() after edits, and searched by search(). The index is never a reason to fail: a damaged
// one is made again, and when the cache cannot be written the search builds a private index for
// this run (slower to prepare, the same results).
//
// The index is an SQLite database with a full-text table (fast to build, small on disk); Xapian,
// which gives the stemmers, stays out of this header, so that Qt code may include it (both use the
// word "slots").
//
// One object is used by one thread at a time: search() must not run while prepare() or update()
// does, and the table must not change during them.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"
#include "database/profile_record.h"
#include "search/game_documents.h"

namespace tkv {

enum class IndexAction {
    up_to_date,   // the stored index matched the profile
    built,        // there was none
    updated,      // only the games that changed were written again
    rebuilt,      // the stored index was damaged or of another format or language, and was made anew
    private_copy, // the cache could not be written: an index for this run only
};

struct PrepareReport {
    IndexAction action = IndexAction::up_to_date;
    std::size_t indexed = 0; // games written
    std::size_t removed = 0; // games deleted from the index
    bool cancelled = false;  // stopped when asked; the next prepare() goes on from there
    std::string folder;      // where the index is
    std::string note;        // why the index was rebuilt or is private; empty otherwise
};

struct SearchHit {
    std::int32_t game_index = -1; // in the game table
    std::int32_t row = -1;        // the list row of the game's title
    std::string name;             // the game's title, UTF-8
    EntryKind kind = EntryKind::names;
    std::size_t entry = 0; // which information entry, file or home page
    std::string category;  // the information entry's type name, UTF-8
    std::string snippet;   // one line, matches marked "[" and "]"
    double weight = 0;
};

struct SearchResults {
    std::vector<SearchHit> hits; // best first, one per game
    bool all_words = true;       // false when no game had every word and any word was searched
    std::string suggestion;      // "did you mean": set when little or nothing was found
};

class TextIndex {
  public:
    // The index of this profile (main.dat's folder decides its place); nothing is read yet.
    TextIndex(const PROFILES_TYPE& profile, const std::string& main_dat_path);
    ~TextIndex();
    TextIndex(const TextIndex&) = delete;
    TextIndex& operator=(const TextIndex&) = delete;

    // True when search() can answer without prepare(): the stored index matches the table.
    bool ready(const GameDatabase& db);
    // Makes the index match the table, writing only what changed; never throws.
    PrepareReport prepare(const GameDatabase& db, const IndexProgress& progress = {},
                          const std::atomic<bool>* cancel = nullptr);
    // Writes again the games of these keys (game_key) after they changed in the table; the games
    // of a key that is gone are deleted. Keeps the stamp current so the next opening finds the
    // index up to date.
    PrepareReport update(const GameDatabase& db, const std::vector<std::string>& keys);
    // At most `limit` games, best first. Never throws: a query that cannot be searched finds nothing.
    SearchResults search(const GameDatabase& db, std::string_view query, std::size_t limit) const;

    const std::string& folder() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// "English" names of the kinds and the words of a PrepareReport, for tkv and logs.
std::string entry_kind_name(EntryKind kind);
std::string describe(const PrepareReport& report);

} // namespace tkv
