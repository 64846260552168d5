#include "profiles/profile_table.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "database/dat_text.h"
#include "shell/bytestream.h"
#include "shell/codepage.h"
#include "shell/datetime.h"
#include "shell/files.h"
#include "shell/quicksort.h"
#include "shell/text.h"

namespace tkv {

namespace {

std::string profiles_folder_of(const std::string& program_folder) {
    return with_trailing_slash(program_folder) + "profiles/";
}

// The folder name is used to delete files, so it must name one entry directly under profiles/.
bool is_plain_folder_name(std::string_view folder) {
    return !folder.empty() && folder != "." && folder != ".." && folder.find('/') == std::string_view::npos;
}

bool ids_match(std::string_view lowered_id, const PROFILES_TYPE& p) {
    return lower_text(p.id) == lowered_id;
}

} // namespace

void profiles_ini_load(ProfileTable& t, const std::string& program_folder) {
    const std::string profiles_folder = profiles_folder_of(program_folder);
    folder_create(profiles_folder);
    t.profiles.clear();
    t.profile_index = 0;
    for (const std::string& folder : folder_list_folders(profiles_folder))
        profile_ini_load(t, profiles_folder, folder);
}

bool profile_ini_load(ProfileTable& t, const std::string& profiles_folder, const std::string& folder) {
    if (t.profiles.size() >= profiles_max) return false;
    BinaryFile f;
    if (!file_open_read(f, with_trailing_slash(profiles_folder) + folder + "/main.dat")) return false;
    DatHeader h;
    if (!read_dat_header(f, h)) return false;
    const DateTime date = parse_datetime(h.date);
    if (h.magic != main_dat_magic || h.id.empty() || h.name.empty() || h.language.empty() ||
        date == DateTime{})
        return false;
    PROFILES_TYPE p;
    p.folder = folder;
    p.id = std::move(h.id);
    p.name = std::move(h.name);
    p.language = std::move(h.language);
    p.main_date = date;
    t.profiles.push_back(std::move(p));
    return true;
}

void profiles_sort(ProfileTable& t, std::size_t first, std::size_t last) {
    if (t.profiles.empty()) return;
    last = std::min(last, t.profiles.size() - 1);
    if (first >= last) return;
    std::vector<std::string> keys;
    keys.reserve(t.profiles.size());
    for (const PROFILES_TYPE& p : t.profiles)
        keys.push_back(ascii_lower_text(p.name));
    sort_by_keys(keys, static_cast<std::ptrdiff_t>(first), static_cast<std::ptrdiff_t>(last),
                 [&](std::size_t i, std::size_t j) { std::swap(t.profiles[i], t.profiles[j]); });
}

int profiles_search(const ProfileTable& t, std::string_view id) {
    if (t.profiles.empty()) return -1;
    if (id.empty()) return 0;
    const std::string wanted = lower_text(id);
    for (std::size_t i = 0; i < t.profiles.size(); ++i)
        if (ids_match(wanted, t.profiles[i])) return static_cast<int>(i);
    return 0;
}

int profiles_find_utf8(const ProfileTable& t, std::string_view utf8_id) {
    if (utf8_id.empty()) return -1;
    for (std::size_t i = 0; i < t.profiles.size(); ++i) {
        const PROFILES_TYPE& p = t.profiles[i];
        if (ids_match(lower_text(from_utf8(utf8_id, code_page_for_language(p.language))), p))
            return static_cast<int>(i);
    }
    return -1;
}

bool last_profile_autorun_allowed(const ProfileTable& t, const OPTIONS_TYPE& options) {
    return options.last_profile_autorun && !options.last_profile_id.empty() &&
           profiles_new_check_exist(t, options.last_profile_id);
}

bool profiles_new_check_exist(const ProfileTable& t, std::string_view id) {
    const std::string wanted = lower_text(id);
    for (const PROFILES_TYPE& p : t.profiles)
        if (ids_match(wanted, p)) return true;
    return false;
}

void profile_paths_set(VARIABLES_PROGRAM& v, const PROFILES_TYPE& p) {
    const std::string folder = profiles_folder_of(v.program_folder) + p.folder + "/";
    v.main_dat_path = folder + "main.dat";
    v.user_dat_path = folder + "user.dat";
}

void profile_select(ProfileTable& t, int index, OPTIONS_TYPE& options, VARIABLES_PROGRAM& v) {
    if (index < 0 || static_cast<std::size_t>(index) >= t.profiles.size()) return;
    const PROFILES_TYPE& p = t.profiles[static_cast<std::size_t>(index)];
    t.profile_index = index;
    options.last_profile_id = p.id;
    profile_paths_set(v, p);
}

void profile_delete(ProfileTable& t, std::size_t index, const std::string& program_folder,
                    bool delete_all_files) {
    if (index >= t.profiles.size()) return;
    const std::string& name = t.profiles[index].folder;
    if (is_plain_folder_name(name)) {
        const std::string folder = profiles_folder_of(program_folder) + name + "/";
        // Without main.dat the folder is no longer a profile, whatever fails below.
        file_delete(folder + "main.dat");
        if (delete_all_files) {
            // A files/ that links elsewhere loses the link, never what it points to.
            if (path_is_link(folder + "files")) {
                file_delete(folder + "files");
            } else {
                folder_delete_files(folder + "files/", "*.*");
                folder_remove(folder + "files");
            }
            // Backups the user wanted kept were moved out before (profile_keep_backups).
            if (path_is_link(folder + "backups"))
                file_delete(folder + "backups");
            else
                folder_delete_tree(folder + "backups/");
            folder_delete_files(folder, "*.*");
            folder_remove(folder);
        }
    }
    if (index + 1 < t.profiles.size()) t.profiles[index] = std::move(t.profiles.back());
    t.profiles.pop_back();
}

void profiles_remove_empty_folders(const std::string& program_folder) {
    folder_remove_empty_subfolders(profiles_folder_of(program_folder));
}

} // namespace tkv
