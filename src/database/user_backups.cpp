#include "database/user_backups.h"

#include <map>

#include "database/database_files.h"
#include "shell/files.h"
#include "shell/text.h"

namespace tkv {

namespace {

std::string key_of(const GAMES2_ARRAY_TYPE& r) {
    return r.id >= 1 ? "#" + std::to_string(r.id) : "=" + ascii_lower_text(r.names);
}

std::string title_of(const GAMES2_ARRAY_TYPE& r) {
    const std::size_t end = r.names.find_first_of("\r\n");
    return r.names.substr(0, end);
}

std::map<std::string, const GAMES2_ARRAY_TYPE*> by_key(const std::vector<GAMES2_ARRAY_TYPE>& records) {
    std::map<std::string, const GAMES2_ARRAY_TYPE*> out;
    for (const auto& r : records) out.emplace(key_of(r), &r);
    return out;
}

bool complete(const DatReadReport& report) {
    return report.opened && report.magic_ok && report.problems.empty();
}

} // namespace

UserDataCounts user_data_counts(const std::vector<GAMES2_ARRAY_TYPE>& records) {
    UserDataCounts c;
    for (const auto& r : records) {
        if (r.id < 1) ++c.games;
        if (!r.user_text.empty()) ++c.notes;
    }
    return c;
}

UserDataDiff user_data_diff(const std::vector<GAMES2_ARRAY_TYPE>& today, const std::vector<GAMES2_ARRAY_TYPE>& backup) {
    UserDataDiff d;
    const auto old_records = by_key(backup);
    const auto new_records = by_key(today);
    for (const auto& [key, r] : new_records) {
        const auto it = old_records.find(key);
        if (it == old_records.end())
            d.added.push_back(title_of(*r));
        else if (it->second->user_text != r->user_text || !(it->second->run == r->run))
            d.changed.push_back(title_of(*r));
    }
    for (const auto& [key, r] : old_records)
        if (!new_records.contains(key)) d.removed.push_back(title_of(*r));
    return d;
}

std::vector<UserBackup> user_backups_list(const std::string& user_dat_path) {
    std::vector<UserBackup> out;
    const std::string folder = backup_folder_of(user_dat_path);
    for (BackupEntry& entry : backups_list(folder, file_name_of_path(user_dat_path))) {
        UserBackup b;
        b.path = folder + entry.name;
        b.entry = std::move(entry);
        std::vector<GAMES2_ARRAY_TYPE> records;
        b.readable = complete(user_dat_read_records(b.path, records));
        b.counts = user_data_counts(records);
        out.push_back(std::move(b));
    }
    return out;
}

UserDataDiff user_backup_diff(const std::string& user_dat_path, const UserBackup& backup) {
    std::vector<GAMES2_ARRAY_TYPE> today, old;
    user_dat_read_records(user_dat_path, today);
    user_dat_read_records(backup.path, old);
    return user_data_diff(today, old);
}

std::optional<std::string> user_backup_restore(const std::string& user_dat_path, const UserBackup& backup) {
    std::vector<GAMES2_ARRAY_TYPE> records;
    if (!complete(user_dat_read_records(backup.path, records)))
        return "the backup " + backup.path + " is damaged";
    const std::string content = file_read_all(backup.path);
    if (const auto problem = backup_before_replace(user_dat_path, current_datetime()))
        return "today's file could not be kept first: " + *problem;
    if (!write_file_atomic(user_dat_path, content, false)) return "cannot write " + user_dat_path;
    return std::nullopt;
}

} // namespace tkv
