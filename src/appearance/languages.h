#pragma once
// Language files: languages/*.lng replace caption texts by slot number and carry a header
// that names the language, its translator, its help file and its version notes.

#include <bitset>
#include <optional>
#include <string>
#include <vector>

#include "appearance/captions.h"
#include "shell/codepage.h"

namespace tkv {

struct OPTIONS_TYPE;

struct LANGUAGES_TYPE {
    bool built_in = false;
    std::string file_name;
    std::string language;
    std::string version;
    std::string help_file;
    std::string info_file;
    std::string maker_title;
    std::string maker;
    std::string email;
};

constexpr std::size_t languages_max = 100;

LANGUAGES_TYPE built_in_language();

// Reads the header of languages_folder + file_name. Empty when the file cannot be opened or
// lacks one of the required header values ("Madeby Title" may be missing).
std::optional<LANGUAGES_TYPE> languages_preload(const std::string& languages_folder,
                                                const std::string& file_name);

struct LanguageLoadResult {
    bool opened = false;
    std::bitset<caption_slots> slots_set; // caption slots the file gave (slot 0 for header lines)
    std::string language;                 // its "Language" header, which decides its code page
};
// Resets the captions, then applies the caption lines of the file over the defaults.
LanguageLoadResult languages_load(Captions& captions, const std::string& languages_folder,
                                  const std::string& file_name);

// The built-in entry first, then the complete *.lng files in listing order (at most
// languages_max entries in all), sorted by name after the built-in entry.
std::vector<LANGUAGES_TYPE> languages_search(const std::string& languages_folder);
// Sorts entries first..last (inclusive) by language name, ASCII letters folded.
void languages_sort(std::vector<LANGUAGES_TYPE>& languages, std::size_t first, std::size_t last);

// The row texts of the language list and the row to preselect for the current options.
std::vector<std::string> languages_list(const std::vector<LANGUAGES_TYPE>& languages,
                                        const Captions& captions);
std::size_t languages_preselected_row(const std::vector<LANGUAGES_TYPE>& languages,
                                      const OPTIONS_TYPE& options);

// What the language choice sets besides the captions.
struct LanguageChoice {
    int index = 0;                               // 0 when the built-in texts are used
    std::string language;                        // header "Language" of the chosen file, "English" built in
    std::string help_path;                       // full path of the help file to open with F1
    std::string info_file = "default";           // name of the version notes on the server
    CodePage code_page = CodePage::windows_1252; // of the captions
};

// The help file shown for a language's "HelpFile" value: x.hlp is shipped as x.html.
std::string help_file_path(const std::string& languages_folder, const std::string& help_file);

// The built-in language's help file: the one in languages_folder, else the one the installation
// ships in shipped_languages_folder (a user's folder made before the manual came has none), else
// the first, which the help window then names as missing.
std::string built_in_help_path(const std::string& languages_folder, const std::string& shipped_languages_folder);

// The languages folder of the installation's own data (installed_data_folder); empty when the
// program runs from its build folder.
std::string shipped_languages_folder();

// Applies the configured language after the captions were reset and tkv.ini was read: the
// captions come from the file even when its header is incomplete.
LanguageChoice apply_configured_language(Captions& captions, const OPTIONS_TYPE& options,
                                         const std::string& languages_folder);

} // namespace tkv
