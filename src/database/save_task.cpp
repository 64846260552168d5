#include "database/save_task.h"

#include "appearance/caption_slots.h"
#include "database/database_files.h"
#include "shell/backups.h"
#include "shell/text.h"

namespace tkv {

namespace {

using SaveFile = bool (*)(const GameDatabase&, const PROFILES_TYPE&, const std::string&, bool,
                          const FileProgress&);

struct FileToSave {
    std::string path;
    bool& changed;
    SaveFile save;
    int label_caption; // "Saving main database..."
    int error_caption; // "Unable to save main database to file ..."
    int title_caption; // "Save main database"
    const char* file_name;
};

// Writes one file, offering other paths until it is written or the user gives up. True when done.
bool save_with_retry(const GameDatabase& db, const PROFILES_TYPE& profile, FileToSave file,
                     const Captions& captions, SaveTaskUi& ui, bool& retried) {
    if (!file.changed) return true;
    std::string path = file.path;
    const auto progress = [&ui](int percent) { ui.set_progress(percent); };
    for (;;) {
        ui.set_label(captions[static_cast<std::size_t>(file.label_caption)]);
        if (file.save(db, profile, path, file.changed, progress)) return true;
        ui.show_error(caption_format(captions[static_cast<std::size_t>(file.error_caption)], {path}));
        const auto chosen =
            ui.ask_save_path(file.file_name, captions[static_cast<std::size_t>(file.title_caption)],
                             save_dialog_filter(captions));
        if (!chosen) return false;
        path = *chosen;
        retried = true;
    }
}

} // namespace

std::string save_dialog_filter(const Captions& captions) {
    return caption_format(captions[caption_slot::save_file_filter], {"dat", "DAT"}) + "|*.dat";
}

SaveTaskResult u_progress_dat_save(const GameDatabase& db, const PROFILES_TYPE& profile,
                                   const VARIABLES_PROGRAM& paths, CHANGE_TRACKING& changes,
                                   const OPTIONS_TYPE& options, const Captions& captions, SaveTaskUi& ui) {
    SaveTaskResult result;
    const bool main_done =
        save_with_retry(db, profile,
                        {paths.main_dat_path, changes.main_changed, u_progress_dat_save_main,
                         caption_slot::save_main_progress, caption_slot::save_main_failed,
                         caption_slot::save_main_dialog_title, "main.dat"},
                        captions, ui, result.retried);
    const bool user_done =
        save_with_retry(db, profile,
                        {paths.user_dat_path, changes.user_changed, u_progress_dat_save_user,
                         caption_slot::save_user_progress, caption_slot::save_user_failed,
                         caption_slot::save_user_dialog_title, "user.dat"},
                        captions, ui, result.retried);
    if (main_done) changes.main_changed = false;
    if (user_done) changes.user_changed = false;
    if (!main_done || !user_done) return result;

    result.last_save_ok = true;
    // After a refused save the user has heard enough about the disk; a backup that is still
    // failing shows at the next plain save.
    if (!result.retried)
        if (const auto problem = backup_problem_to_report())
            ui.show_error(caption_format(captions[caption_slot::save_backup_failed], {*problem}));
    const bool had_changes = changes.change_count > 0;
    changes.change_count = 0;
    if (!result.retried && had_changes)
        ui.show_success(captions[caption_slot::save_done], options.show_save_message ? 2001 : 0);
    return result;
}

bool save_needed(const CHANGE_TRACKING& changes) {
    return changes.change_count > 0 || changes.user_changed;
}

bool autosave_due(const OPTIONS_TYPE& options, const CHANGE_TRACKING& changes) {
    return options.autosave && changes.change_count >= options.autosave_after;
}

} // namespace tkv
