#include "shell/backups.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>

#include "shell/files.h"

namespace tkv {

namespace {

std::mutex problem_mutex;
// The source file whose last backup failed, and the file that could not be read or written.
std::optional<std::pair<std::string, std::string>> pending_problem;
bool problem_reported = false;

void note_problem(const std::string& path, const std::string& problem) {
    const std::lock_guard lock(problem_mutex);
    pending_problem.emplace(path, problem);
}

void note_success(const std::string& path) {
    const std::lock_guard lock(problem_mutex);
    if (pending_problem && pending_problem->first == path) pending_problem.reset();
}

// "user.dat" -> {"user", ".dat"}; a name without a dot has no extension.
std::pair<std::string_view, std::string_view> split_extension(std::string_view file_name) {
    const std::size_t dot = file_name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {file_name, {}};
    return {file_name.substr(0, dot), file_name.substr(dot)};
}

bool all_digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number_of(std::string_view digits) {
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

std::string two_digits(int n) {
    return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

bool newer(const BackupEntry& a, const BackupEntry& b) {
    return a.taken != b.taken ? a.taken > b.taken : a.sequence > b.sequence;
}

} // namespace

std::string backup_time_text(DateTime taken) {
    const CivilTime c = civil_of(taken);
    return std::to_string(c.year) + "-" + two_digits(c.month) + "-" + two_digits(c.day) + " " + two_digits(c.hour) +
           ":" + two_digits(c.minute) + ":" + two_digits(c.second);
}

std::string backup_folder_of(const std::string& path) {
    return folder_of_path(path) + "backups/";
}

std::string backup_name(std::string_view file_name, DateTime taken, int sequence) {
    const auto [stem, extension] = split_extension(file_name);
    const CivilTime c = civil_of(taken);
    std::string name(stem);
    name += "-" + std::to_string(c.year) + two_digits(c.month) + two_digits(c.day) + "-" + two_digits(c.hour) +
            two_digits(c.minute) + two_digits(c.second);
    if (sequence > 0) name += "-" + std::to_string(sequence);
    return name.append(extension);
}

std::optional<BackupEntry> backup_entry_of(std::string_view file_name, std::string_view name) {
    const auto [stem, extension] = split_extension(file_name);
    if (name.size() < stem.size() + extension.size() + 16 || !name.starts_with(stem) ||
        !name.ends_with(extension))
        return std::nullopt;
    std::string_view rest = name.substr(stem.size(), name.size() - stem.size() - extension.size());
    // "-YYYYMMDD-HHMMSS" and an optional "-N"
    if (rest[0] != '-' || rest[9] != '-' || !all_digits(rest.substr(1, 8)) || !all_digits(rest.substr(10, 6)))
        return std::nullopt;
    int sequence = 0;
    if (rest.size() > 16) {
        const std::string_view tail = rest.substr(16);
        if (tail[0] != '-' || tail.size() > 5 || !all_digits(tail.substr(1))) return std::nullopt;
        sequence = number_of(tail.substr(1));
    }
    const std::string_view d = rest.substr(1, 8), t = rest.substr(10, 6);
    const auto taken = make_datetime({number_of(d.substr(0, 4)), number_of(d.substr(4, 2)), number_of(d.substr(6, 2)),
                                      number_of(t.substr(0, 2)), number_of(t.substr(2, 2)), number_of(t.substr(4, 2)),
                                      0});
    if (!taken) return std::nullopt;
    return BackupEntry{std::string(name), *taken, sequence};
}

std::vector<BackupEntry> backups_list(const std::string& folder, std::string_view file_name) {
    std::vector<BackupEntry> out;
    for (const std::string& name : folder_list_files(folder, "*"))
        if (auto entry = backup_entry_of(file_name, name)) out.push_back(std::move(*entry));
    std::sort(out.begin(), out.end(), newer);
    return out;
}

std::vector<std::string> backups_to_remove(const std::vector<BackupEntry>& newest_first, DateTime now) {
    std::vector<std::string> remove;
    std::set<std::int64_t> days_kept;
    const DateTime today = date_only(now);
    for (std::size_t i = 0; i < newest_first.size(); ++i) {
        const DateTime day = date_only(newest_first[i].taken);
        const bool recent_day = whole_days_between(day, today) < backups_kept_days;
        if (i < backups_kept_newest || (recent_day && !days_kept.contains(day.ms)))
            days_kept.insert(day.ms);
        else
            remove.push_back(newest_first[i].name);
    }
    return remove;
}

std::optional<std::string> backup_before_replace(const std::string& path, DateTime now) {
    if (!file_exists(path)) return std::nullopt;
    const std::string folder = backup_folder_of(path);
    const std::string file_name = file_name_of_path(path);
    const std::string content = file_read_all(path);
    if (content.size() != static_cast<std::size_t>(std::max<std::int64_t>(file_size(path), 0))) {
        note_problem(path, path);
        return path;
    }
    std::vector<BackupEntry> existing = backups_list(folder, file_name);
    if (!existing.empty() && file_read_all(folder + existing.front().name) == content) {
        note_success(path);
        return std::nullopt;
    }
    int sequence = 0;
    while (file_exists(folder + backup_name(file_name, now, sequence))) ++sequence;
    const std::string name = backup_name(file_name, now, sequence);
    if (!folder_create(folder) || !write_file_atomic(folder + name, content, /*owner_only=*/true)) {
        note_problem(path, folder + name);
        return folder + name;
    }
    existing.insert(existing.begin(), BackupEntry{name, now, sequence});
    std::sort(existing.begin(), existing.end(), newer);
    for (const std::string& old : backups_to_remove(existing, now)) file_delete(folder + old);
    note_success(path);
    return std::nullopt;
}

std::optional<std::string> backup_problem_to_report() {
    const std::lock_guard lock(problem_mutex);
    if (problem_reported || !pending_problem) return std::nullopt;
    problem_reported = true;
    return pending_problem->second;
}

std::size_t remove_save_leftovers(const std::string& folder, const std::vector<std::string_view>& file_names) {
    std::size_t removed = 0;
    for (const std::string& name : folder_list_files(folder, ".*")) {
        for (std::string_view file_name : file_names) {
            const std::size_t prefix = file_name.size() + 2; // ".user.dat."
            if (name.size() == prefix + 6 && name[0] == '.' && name.substr(1, file_name.size()) == file_name &&
                name[prefix - 1] == '.' && file_delete(folder + name)) {
                ++removed;
                break;
            }
        }
    }
    return removed;
}

} // namespace tkv
