#pragma once
// What the full-text index holds of one game: its texts, each with the part of the information
// window it belongs to, and the key and signature that tell whether the index is up to date.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "database/game_types.h"
#include "shell/codepage.h"

namespace tkv {

// The part of a game a text comes from: the tab a hit opens.
enum class EntryKind : std::uint8_t { names, info, file, homepage, user_text };

struct SearchEntry {
    EntryKind kind = EntryKind::names;
    std::size_t entry = 0; // index in the expanded record's infos, files or homepages
    std::string category;  // an information entry's type name (UTF-8); empty for the other kinds
    std::string text;      // UTF-8
};

// The fraction of the work of indexing done, 0 to 1.
using IndexProgress = std::function<void(double fraction)>;

// Names a game across loads and upgrades: the publisher's games by id ("g42"), the user's games
// by their names (their ids are given afresh at each load), so games of the user with the same
// names share a key.
std::string game_key(const GAMES2_ARRAY_TYPE& game);

// The games of each key, in table order.
std::unordered_map<std::string, std::vector<std::size_t>> games_by_key(const GameDatabase& db);
// The same for these keys only, without making every game's key (a query's hits).
std::unordered_map<std::string, std::vector<std::size_t>> games_of_keys(const GameDatabase& db,
                                                                        const std::vector<std::string>& keys);

// Changes whenever anything the index holds of the game changes: id, revision, names, block or
// user text.
std::uint64_t game_signature(const GAMES2_ARRAY_TYPE& game);

// A hash of bytes for the index's records; stable for a build of the program.
std::uint64_t text_hash(std::string_view bytes, std::uint64_t seed = 0);

// The texts of db.games[index] in UTF-8: the names (one per line), every information entry,
// each file's and home page's title and description, and the user's text; empty texts are left
// out, except the names, which every game has. A damaged block gives the entries read before the damage.
std::vector<SearchEntry> game_entries(const GameDatabase& db, std::size_t index, CodePage cp);

} // namespace tkv
