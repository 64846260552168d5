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
// The profile's information types on the server, fetched before the records.
inline constexpr std::string_view information_types_file = "informationtypes.tkv";

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
// Merges a whole record file into the game it replaces (see merge_game_record); none for a file
// parse_game_record refuses, which changes nothing.
std::optional<MergeResult> insert_data_into_database(GameDatabase& db, CHANGE_TRACKING& changes,
                                                     std::string_view file);

enum class FailedDownload { abort, retry, ignore };

// What an update run needs from the window (or the command line) that carries it out.
struct UpdateRunHooks {
    // The bytes of a resource of the profile on the server ("informationtypes.tkv",
    // "information/00042.dat"); none when the download failed.
    std::function<std::optional<std::string>(const std::string& name)> fetch;
    // A record file could not be downloaded: abort ends the run, ignore skips the record.
    std::function<FailedDownload(const std::string& name)> failed;
    // False once the user cancelled: no further download starts.
    std::function<bool()> running;
    // Before the download of the number-th wanted record (from 1), and the count of records done
    // (merged, refused or skipped) after each.
    std::function<void(std::size_t number)> record_started;
    std::function<void(std::size_t done)> record_done;
};

struct UpdateRunCounts {
    bool types_updated = false;
    std::size_t merged = 0;    // replaced, taken over or appended
    std::size_t refused = 0;   // record files parse_game_record refused
    std::size_t dropped = 0;   // records that found the table full
    std::size_t skipped = 0;   // downloads that failed and were ignored
    bool aborted = false;
    // Records that reached the table or found it full: the list must be rebuilt.
    std::size_t accepted() const { return merged + dropped; }
};

// The update: the information types, then every wanted record of list in order, each merged as
// soon as it arrived.
UpdateRunCounts run_database_update(GameDatabase& db, CHANGE_TRACKING& changes, const UpdateList& list,
                                    const UpdateRunHooks& hooks);

} // namespace tkv
