#pragma once
// The save task: writes main.dat and/or user.dat as the change marks say, and when a file cannot
// be written lets the user choose another file or give up. The windows supply the questions.

#include <optional>
#include <string>

#include "appearance/captions.h"
#include "database/game_types.h"
#include "database/profile_record.h"
#include "shell/options.h"
#include "shell/variables.h"

namespace tkv {

// What the save task shows and asks; the task window implements it with its labels, progress bar,
// message boxes and save dialog.
class SaveTaskUi {
  public:
    virtual ~SaveTaskUi() = default;
    virtual void set_label(const std::string& text) = 0;
    virtual void set_progress(int percent) = 0;
    // An error box titled caption_slot::error_title.
    virtual void show_error(const std::string& text) = 0;
    // The save dialog: proposed file name, title and filter ("DAT file (*.dat)|*.dat"); starts in
    // "c:\" and asks before overwriting. Empty when the user cancels.
    virtual std::optional<std::string> ask_save_path(const std::string& file_name, const std::string& title,
                                                     const std::string& filter) = 0;
    // The closing success text; wait_ms > 0 keeps it on screen that long.
    virtual void show_success(const std::string& text, int wait_ms) = 0;
};

struct SaveTaskResult {
    bool last_save_ok = false; // every file that had to be written was written
    bool retried = false;      // a file went to another path chosen by the user
};

// The filter of the save dialog: caption_slot::save_file_filter with "dat" and "DAT", then "|*.dat".
std::string save_dialog_filter(const Captions& captions);

// u_progress_dat_save: main file, then user file; clears the changed mark of each file done and,
// when both are done, change_count.
SaveTaskResult u_progress_dat_save(const GameDatabase& db, const PROFILES_TYPE& profile,
                                   const VARIABLES_PROGRAM& paths, CHANGE_TRACKING& changes,
                                   const OPTIONS_TYPE& options, const Captions& captions, SaveTaskUi& ui);

// The main window saves only while something is unsaved.
bool save_needed(const CHANGE_TRACKING& changes);
// Automatic saving: on, and change_count has reached the configured number.
bool autosave_due(const OPTIONS_TYPE& options, const CHANGE_TRACKING& changes);

} // namespace tkv
