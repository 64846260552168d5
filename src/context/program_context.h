#pragma once
// The program-wide records, created once in main() (or by a test) and handed to whoever needs
// them.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "appearance/captions.h"
#include "appearance/languages.h"
#include "appearance/messages.h"
#include "appearance/skin_table.h"
#include "appearance/skin_types.h"
#include "database/game_types.h"
#include "profiles/profile_table.h"
#include "shell/options.h"
#include "shell/variables.h"

namespace tkv {

enum class InfoMode { view = 1, modify = 2, add = 3 };

// Where the user left a game's information: its tab, the row of the files or home pages, and how
// far the text was scrolled.
struct ReadingPlace {
    int tab = 0;
    int row = -1;
    int scroll = 0;
};

struct ProgramContext {
    VARIABLES_PROGRAM variables;
    OPTIONS_TYPE option_defaults;
    OPTIONS_TYPE options;
    Captions CAPTIONS;
    LanguageChoice language;
    bool first_run = true;
    std::string stored_version;
    double screen_scale = 1.0; // screen pixels per inch / 96, at least 1
    std::vector<std::string> server_list;
    ProfileTable profiles;
    SKINS_TYPE skin_default;
    SKINS_TYPE skin_current;
    SkinTable skins;
    std::vector<SKINS_FONT_TYPE> installed_fonts; // the fonts added for skin_current
    GameDatabase db;                              // the open profile's tables
    DateTime main_file_date;                      // of the open profile's main.dat
    bool last_save_ok = false;
    std::vector<std::string> fixed_fonts; // the fixed-pitch fonts found by "info_fonts"
    bool fixed_fonts_built = false;

    // Between the main window and the windows it opens.
    InfoMode info_mode = InfoMode::view;  // how the information window opens
    bool exit_request = false;            // a game is to be started and the program left
    std::string name_to_select;           // a row text to select after the next list rebuild
    std::string current_mail_subject;     // of the next mail the program's mail window writes
    std::string last_download_speed;      // "4.90" KB/s of the last download that reported progress
    std::string skin_catalogue_data;      // the skin catalogue fetched or loaded in this run, header included
    std::optional<std::string> profile_list; // the server's list of profiles, once fetched in this run
    std::map<std::string, ReadingPlace> reading_places; // by profile and game, for this run

    // Between the main window and the options window: the skin to go back to when the options
    // window is left without OK (its Apply and OK update them), and whether a skin was previewed.
    bool options_left_without_ok = false;
    std::string skin_name_before_options;
    SKINS_TYPE skin_before_options;
    bool skin_previewed = false;
};

// The profile that is open (or about to be); null when the index is outside the table.
PROFILES_TYPE* current_profile(ProgramContext& context);
const PROFILES_TYPE* current_profile(const ProgramContext& context);
// The code page of the open profile's texts (game names, information).
CodePage profile_code_page(const ProgramContext& context);
// Message boxes with the captions of the program's language.
Messages messages_of(const ProgramContext& context, Dialogs& dialogs);

// Captions, defaults, folders and statistics as a start sets them up, before tkv.ini is read.
void context_initialize(ProgramContext& context, const std::string& program_folder);
// Creates the data folders below the program folder when missing (errors are ignored).
void context_create_folders(const ProgramContext& context);
// Reads tkv.ini into the context and applies the configured language.
void context_load_configuration(ProgramContext& context);
// Writes tkv.ini from the context; false when it could not be written.
bool context_save_configuration(const ProgramContext& context);

} // namespace tkv
