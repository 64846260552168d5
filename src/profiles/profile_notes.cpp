#include "profiles/profile_notes.h"

#include <algorithm>

#include "database/database_files.h"
#include "database/open_database.h"
#include "profiles/profile_table.h"
#include "shell/backups.h"
#include "shell/files.h"

namespace tkv {

namespace {

VARIABLES_PROGRAM paths_of(const std::string& program_folder, const PROFILES_TYPE& p) {
    VARIABLES_PROGRAM v;
    v.program_folder = with_trailing_slash(program_folder);
    profile_paths_set(v, p);
    return v;
}

// The profile's tables as the main window loads them.
GameDatabase open_tables(const VARIABLES_PROGRAM& v, PROFILES_TYPE& p) {
    GameDatabase db;
    CHANGE_TRACKING changes;
    database_open(db, changes, p, v.main_dat_path, v.user_dat_path, true);
    return db;
}

} // namespace

std::string profile_user_dat_path(const std::string& program_folder, const PROFILES_TYPE& p) {
    return paths_of(program_folder, p).user_dat_path;
}

bool profile_has_backups(const std::string& program_folder, const PROFILES_TYPE& p) {
    const std::string user_dat = profile_user_dat_path(program_folder, p);
    return !backups_list(backup_folder_of(user_dat), file_name_of_path(user_dat)).empty();
}

std::string profile_kept_backups_folder(const std::string& program_folder, const PROFILES_TYPE& p) {
    const std::string id = to_utf8(p.id, code_page_for_language(p.language));
    return with_trailing_slash(program_folder) + "backups/" + (safe_file_name(id) ? id : p.folder) + "/";
}

void profile_keep_backups(const std::string& program_folder, const PROFILES_TYPE& p) {
    const std::string from = backup_folder_of(profile_user_dat_path(program_folder, p));
    if (!path_is_link(from) && folder_exists(from)) folder_move_into(from, profile_kept_backups_folder(program_folder, p));
}

std::optional<std::string> profile_notes_export(const std::string& program_folder, const PROFILES_TYPE& p,
                                                const std::string& path, std::size_t& games) {
    PROFILES_TYPE profile = p;
    const GameDatabase db = open_tables(paths_of(program_folder, p), profile);
    games = static_cast<std::size_t>(std::count_if(db.games.begin(), db.games.end(), has_user_data));
    if (!write_file_atomic(path, notes_export_text(db, profile), false)) return "cannot write " + path;
    return std::nullopt;
}

std::optional<std::string> profile_notes_import(const std::string& program_folder, PROFILES_TYPE& p,
                                                const NotesFile& file, NotesImport& report) {
    const VARIABLES_PROGRAM v = paths_of(program_folder, p);
    PROFILES_TYPE profile = p;
    GameDatabase db = open_tables(v, profile);
    NotesImport result = notes_import(db, file, code_page_for_language(p.language), current_datetime());
    if (result.changed()) {
        profile.user_date = current_datetime();
        if (!u_progress_dat_save_user(db, profile, v.user_dat_path, true)) return "cannot write " + v.user_dat_path;
        p.user_date = profile.user_date;
    }
    report = std::move(result);
    return std::nullopt;
}

} // namespace tkv
