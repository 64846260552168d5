#pragma once
// The database upgrade from the publisher's server: the server's list of games with their
// revisions, the comparison with the game table, and the information-type and record files that
// are merged into the tables. The readers never trust a length in the data: anything cut short
// is refused as a whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"
#include "shell/variables.h"

namespace tkv {

constexpr std::size_t update_list_max = 32766;
// The name list.tkv must begin with (download_string2 checks and removes it).
inline constexpr std::string_view game_list_resource_name = "TRICKVAULT350GAMELIST";

struct UPDATE_LIST_ENTRY {
    std::int32_t id = 0;
    std::int32_t revision = 0;
    bool wanted = false; // missing here or of another revision
};

struct UpdateList {
    std::vector<UPDATE_LIST_ENTRY> entries; // in the server's order, at most update_list_max
    std::size_t wanted_count = 0;
};

// server + "profiles/" + profile id + "/" + name.
std::string profile_resource_address(std::string_view server, std::string_view profile_id,
                                     std::string_view name);
// The record file of one game: "information/" + the id with at least five digits + ".dat".
std::string game_record_path(std::int32_t id);

// The pairs of list.tkv after its name: they end at an id of 0 or below or at the end of the
// data; an incomplete last pair and pairs beyond update_list_max are left out.
std::vector<UPDATE_LIST_ENTRY> parse_update_list(std::string_view body);

// Marks the entries missing from games or of another revision, walking both in ascending id (the
// game table is sorted by id whenever the list has been built). progress gets the percentage
// before each entry. Returns the number of wanted entries.
std::size_t mark_wanted_games(std::vector<UPDATE_LIST_ENTRY>& entries,
                              const std::vector<GAMES2_ARRAY_TYPE>& games,
                              const std::function<void(int percent)>& progress = {});

// A whole informationtypes.tkv: at least one entry (only the first info_types_max are kept),
// the end mark and exactly one byte after it; otherwise none.
std::optional<std::vector<INFO_TYPE_ENTRY>> parse_information_types(std::string_view file);
// Replaces the first entries of the information types by those of a valid file; false (nothing
// changed) for an invalid one.
bool update_information_types(GameDatabase& db, std::string_view file);

// A whole record file: id, names, compressed block and revision with exactly one byte after
// them; otherwise none. A record with an id of 0 or below is refused too: such ids are not the
// publisher's.
std::optional<GAMES2_ARRAY_TYPE> parse_game_record(std::string_view file);

enum class MergeResult {
    replaced,   // the game of the same id
    taken_over, // a game of the user with a name of the record
    appended,
    dropped, // the table is full
};
// Merges a record into the table. target is the game it replaces (games_check_id_exist: the game
// of its id, else the last game of the user sharing a name line with it), or -1: then it is
// appended when there is room. A replaced game keeps its user text and launch settings. Every
// outcome marks both files changed.
MergeResult merge_game_record(GameDatabase& db, CHANGE_TRACKING& changes, GAMES2_ARRAY_TYPE record,
                              std::int32_t target);

} // namespace tkv
