#pragma once
// Backups of the files the user cannot get back from a publisher (user.dat, tkv.ini): before a
// save replaces one, the old file is kept in the backups/ folder beside it, and old backups are
// thinned out. A backup never makes a save fail.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/datetime.h"

namespace tkv {

// How many of the newest backups are always kept, and for how many days one per day is kept.
constexpr std::size_t backups_kept_newest = 20;
constexpr std::int64_t backups_kept_days = 30;

// One backup of file "user.dat": "user-YYYYMMDD-HHMMSS.dat", or with "-N" before the extension
// when several are taken in the same second.
struct BackupEntry {
    std::string name;
    DateTime taken;
    int sequence = 0;
};

// When a backup was taken as lists show it: "2026-12-11 05:30:00".
std::string backup_time_text(DateTime taken);

// The backups/ folder of a file: beside it, ending in "/".
std::string backup_folder_of(const std::string& path);
// The name the backup of file_name taken at `taken` gets (sequence 0: none added).
std::string backup_name(std::string_view file_name, DateTime taken, int sequence);
// Parses a name made by backup_name for this file_name; other names (foreign files) give nothing.
std::optional<BackupEntry> backup_entry_of(std::string_view file_name, std::string_view name);
// The backups of file_name in folder, newest first; other files are left out.
std::vector<BackupEntry> backups_list(const std::string& folder, std::string_view file_name);
// The rotation: given the backups newest first, the names to remove. The newest
// backups_kept_newest stay; of the others, the newest of each day of the last backups_kept_days
// days (counted back from now's day) stays.
std::vector<std::string> backups_to_remove(const std::vector<BackupEntry>& newest_first, DateTime now);

// Keeps the file at path as a backup (mode 0600) unless the newest backup is the same, then
// rotates. A missing file needs none. When the file cannot be read or the backup cannot be
// written, returns that file's path, also noted for backup_problem_to_report.
std::optional<std::string> backup_before_replace(const std::string& path, DateTime now);

// The path of a backup problem not yet cured by a later backup of the same file, once per run:
// a failing backup folder is reported once, not at every save.
std::optional<std::string> backup_problem_to_report();

// Removes the temporary files an interrupted atomic save of any of these files left in folder
// (".user.dat.XXXXXX"). Returns how many were removed.
std::size_t remove_save_leftovers(const std::string& folder, const std::vector<std::string_view>& file_names);

} // namespace tkv
