#pragma once
// The backups of a profile's user.dat: what each holds, what differs from today's file, and
// putting one back.

#include <optional>
#include <string>
#include <vector>

#include "database/game_types.h"
#include "shell/backups.h"

namespace tkv {

// What a user.dat holds: the user's own games and the games with a note.
struct UserDataCounts {
    std::size_t games = 0;
    std::size_t notes = 0;
};

// What differs between two sets of user records, each game named by the first line of its names
// (bytes of the profile's code page).
struct UserDataDiff {
    std::vector<std::string> added;   // in today's file only
    std::vector<std::string> removed; // in the backup only
    std::vector<std::string> changed; // in both, with another note or launch settings
};

struct UserBackup {
    BackupEntry entry;
    std::string path;
    bool readable = false; // a complete user.dat; a damaged one is listed and never restored
    UserDataCounts counts;
};

UserDataCounts user_data_counts(const std::vector<GAMES2_ARRAY_TYPE>& records);
// A record is the same game in both when the publisher's id matches, or, for the user's own
// games, when the names match with A..Z folded.
UserDataDiff user_data_diff(const std::vector<GAMES2_ARRAY_TYPE>& today, const std::vector<GAMES2_ARRAY_TYPE>& backup);

// The backups of the user.dat at this path, newest first.
std::vector<UserBackup> user_backups_list(const std::string& user_dat_path);
// What differs between today's user.dat and the backup.
UserDataDiff user_backup_diff(const std::string& user_dat_path, const UserBackup& backup);
// Keeps today's file as a backup, then puts the backup in its place. Nothing changes when the
// backup is damaged or today's file cannot be kept; the problem is then returned.
std::optional<std::string> user_backup_restore(const std::string& user_dat_path, const UserBackup& backup);

} // namespace tkv
