#pragma once
// main.dat and user.dat: loading them into the game table, merging the user's records over the
// publisher's games, and writing them back.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/dat_text.h"
#include "database/game_types.h"
#include "database/profile_record.h"

namespace tkv {

// What a reader met. Problems are structural: the file is readable but not sound.
struct DatReadReport {
    bool opened = false;
    bool magic_ok = false;
    std::size_t types = 0;                // information types read (main.dat)
    std::size_t records = 0;              // games (main.dat) or user records (user.dat) read completely
    std::size_t records_beyond_limit = 0; // read but not kept: the game table was full
    std::vector<std::string> problems;
};

// Progress of a load or a save in percent.
using FileProgress = std::function<void(int percent)>;

// Loads main.dat into db (types and games; next_user_id becomes -1). A missing file gives an
// empty database. main_file_date gets the file's last-write date. progress gets the part of the
// file read each time it grows by a percent.
DatReadReport u_progress_dat_load_main(GameDatabase& db, const std::string& path, DateTime& main_file_date,
                                       const FileProgress& progress = {});

// Loads user.dat and merges each record; sets the profile's user_date and last_game.
DatReadReport u_progress_dat_load_user(GameDatabase& db, const std::string& path, PROFILES_TYPE& profile);

// Merges one user record (publisher id in id, names, user text, launch settings) into the table.
void u_progress_dat_load_user_add_data(GameDatabase& db, const GAMES2_ARRAY_TYPE& user_record);

// Whether user.dat keeps the game: it has a note or launch settings, and names (a record with
// empty names would read as the end of the file).
bool has_user_data(const GAMES2_ARRAY_TYPE& g);

// User records (publisher id in id, 0 for the user's own games; names, user text, launch
// settings) as user.dat stores them, without merging them into a table.
DatReadReport user_dat_read_records(const std::string& path, std::vector<GAMES2_ARRAY_TYPE>& records);
// The same of a user.dat held in memory (a file a user sent), with its header.
DatReadReport user_dat_read_bytes(std::string_view bytes, DatHeader& header,
                                  std::vector<GAMES2_ARRAY_TYPE>& records);

class MergeIndex;

// The rule that attaches a user record to the table, shared by loading user.dat and importing
// notes: the first game with the record's id whose names still fit, else the last publisher's
// game with a fitting name, else none (the record becomes a new game of the user).
class UserRecordMerge {
  public:
    explicit UserRecordMerge(GameDatabase& db);
    ~UserRecordMerge();
    UserRecordMerge(const UserRecordMerge&) = delete;
    UserRecordMerge& operator=(const UserRecordMerge&) = delete;
    // The index of the game the record attaches to, or -1.
    std::int32_t target(const GAMES2_ARRAY_TYPE& u) const;
    // The last game of the user whose names fit the record's, or -1: where an import puts a game
    // of the user that an earlier import or the user already made.
    std::int32_t own_game(const GAMES2_ARRAY_TYPE& u) const;
    // Appends a game of the user with the record's names, text and launch settings; false when
    // the table is full.
    bool add_user_game(const GAMES2_ARRAY_TYPE& u);
    // As loading does: the record's text and launch settings replace the target's, or it becomes
    // a new game. False when it was dropped because the table is full.
    bool load(const GAMES2_ARRAY_TYPE& u);

  private:
    GameDatabase& db_;
    std::unique_ptr<MergeIndex> index_;
};

// Write main.dat / user.dat to path, replacing it atomically, with progress after each game.
// Without `changed` an existing file is left alone and the save counts as failed, as the save
// task expects.
bool u_progress_dat_save_main(const GameDatabase& db, const PROFILES_TYPE& profile, const std::string& path,
                              bool changed, const FileProgress& progress = {});
bool u_progress_dat_save_user(const GameDatabase& db, const PROFILES_TYPE& profile, const std::string& path,
                              bool changed, const FileProgress& progress = {});

} // namespace tkv
