#pragma once
// The skins found in the skins folder, the choice of the skin at start-up, and the fonts the
// current skin brings along.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/skin_file.h"
#include "shell/options.h"

namespace tkv {

struct SkinTable {
    std::vector<SKINS_TYPE> skins; // at most skins_max
    bool searched = false;         // the skins folder was searched in this run
    std::size_t current_skin_index = 0;
};

// Rebuilds the table from every valid skin folder, sorted by name.
void skins_search_hidden(SkinTable& table, const std::string& skins_folder, const SKINS_TYPE& skin_default);
// Sorts skins first..last (clamped to the table) by the lower-case name.
void skins_sort(SkinTable& table, std::size_t first, std::size_t last);
// Whether a skin with exactly this (lower-case) folder is in the table.
bool skins_exist(const SkinTable& table, std::string_view folder);

// The skin to use at start-up, from "/skin=" (start_skin, forgotten when it cannot be loaded) or
// the options; a configured skin that cannot be loaded switches skins off in the options. search
// fills the table for the random choice; random_below(n) gives a whole number from 0 to n - 1.
SKINS_TYPE skins_initialize(OPTIONS_TYPE& options, std::string& start_skin, SkinTable& table,
                            const std::string& skins_folder, const SKINS_TYPE& skin_default,
                            const std::function<void(SkinTable&)>& search,
                            std::function<std::size_t(std::size_t)> random_below);

// The skin the options name, as the windows show it, leaving the options alone: the built-in skin
// when skins are off or the named one cannot be loaded.
SKINS_TYPE skins_configured(const OPTIONS_TYPE& options, const std::string& skins_folder,
                            const SKINS_TYPE& skin_default);

// The platform's fonts, as far as a skin's font files need them.
class FontSystem {
  public:
    virtual ~FontSystem() = default;
    virtual bool has_family(const std::string& lower_case_name) = 0;
    virtual bool add_font_file(const std::string& path) = 0;
    virtual void remove_font_file(const std::string& path) = 0;
};

// Makes the fonts the program added (installed) match skin_current's fonts.
void skins_set_fonts(std::vector<SKINS_FONT_TYPE>& installed, const SKINS_TYPE& skin_current,
                     FontSystem& fonts);

} // namespace tkv
