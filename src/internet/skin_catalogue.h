#pragma once
// The publisher's skin catalogue: information/tkv_skins.tku read and filtered by grade, category,
// the skins installed and the skins the user chose to ignore; the category list; and the texts
// the skin panel shows and writes. Every name the catalogue gives a file is checked first: the
// key names files in the user's skins folder.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/captions.h"
#include "shell/datetime.h"

namespace tkv {

constexpr std::size_t catalogue_max = 2000;
// The name the catalogue begins with (download_string2 checks and removes it).
inline constexpr std::string_view skin_list_resource_name = "TRICKVAULT350SKINLIST";
// The catalogue's place below the server.
inline constexpr std::string_view skin_list_resource = "information/tkv_skins.tku";

struct DOWNSKINS_TYPE {
    std::int32_t number = 0;
    std::string file_name;
    std::string size_kb; // as the catalogue gives it
    DateTime date;
    std::string display_name;
    std::string author;
    std::string author_email;
    std::string author_homepage;
    std::string skin_version;
    std::string program_version;
    std::int64_t rating_hundredths = 0; // the grade times 100: 401 is 4.01
    std::string categories;             // "," + the codes + ","
    std::string key;                    // names the archive, the preview and the ignore marker
};

// The number with at least four digits, "_" and the file name, in lower case: "0012_blue".
std::string skin_key(std::int32_t number, std::string_view file_name);

// The catalogue as held for the program run: the length byte, the name, then body (what
// download_string2 gave).
std::string catalogue_data_of(std::string_view body);

struct SkinFilter {
    int lowest_grade = 1;  // 1..5
    int highest_grade = 5; // 1..5
    std::string category;  // a category's code; "0" or empty: every category
    // A skin of this key is installed, or the user chose to ignore it.
    std::function<bool(const std::string& key)> installed;
    std::function<bool(const std::string& key)> ignored;
    // Bytes read so far times 100 divided by all bytes, after each skin.
    std::function<void(int percent)> progress;
};

// The task "download skins": the skins of catalogue_data (header included) that pass the filter,
// in the catalogue's order, at most catalogue_max. A wrong header gives none. A skin whose key
// could name a file outside the skins folder (a "/" or "\", a control character, or a name of
// only dots) is left out whatever the filter says.
std::vector<DOWNSKINS_TYPE> u_progress_skin_download(std::string_view catalogue_data, const SkinFilter& filter);

// Caption 667: the display name and the grade cut to two decimals ("3.45").
std::string skin_list_row(const Captions& captions, const DOWNSKINS_TYPE& skin);
std::string rating_text(std::int64_t hundredths);

// The ignore marker's text (the caption_slot::skin_info_* slots); now is shown in the system's format
// and main_server is the main server's address.
std::string ignore_marker_text(const Captions& captions, const DOWNSKINS_TYPE& skin, std::string_view now,
                               std::string_view main_server);

struct SKIN_CATEGORIES_TYPE {
    std::string code;
    std::string caption;
};
// The 27 categories in list order (after "<< All >>"): the slots from caption_slot::skin_category_first
// on, sorted, folding accented vowels for a language named "hungarian".
std::vector<SKIN_CATEGORIES_TYPE> sorted_skin_categories(const Captions& captions, std::string_view language_name);

} // namespace tkv
