#include "appearance/skin_table.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "shell/files.h"
#include "shell/quicksort.h"
#include "shell/text.h"

namespace tkv {

namespace {} // namespace

void skins_search_hidden(SkinTable& table, const std::string& skins_folder, const SKINS_TYPE& skin_default) {
    table.searched = true;
    table.skins.clear();
    table.current_skin_index = 0;
    for (const std::string& folder : folder_list_folders(skins_folder)) {
        if (table.skins.size() >= skins_max) break;
        if (auto skin = skins_load(skins_folder, folder, skin_default))
            table.skins.push_back(std::move(*skin));
    }
    if (table.skins.size() > 1) skins_sort(table, 0, table.skins.size() - 1);
}

void skins_sort(SkinTable& table, std::size_t first, std::size_t last) {
    if (table.skins.empty()) return;
    last = std::min(last, table.skins.size() - 1);
    if (first >= last) return;
    std::vector<std::string> keys;
    keys.reserve(table.skins.size());
    for (const SKINS_TYPE& skin : table.skins)
        keys.push_back(lower_text(skin.name));
    sort_by_keys(keys, static_cast<std::ptrdiff_t>(first), static_cast<std::ptrdiff_t>(last),
                 [&](std::size_t i, std::size_t j) { std::swap(table.skins[i], table.skins[j]); });
}

bool skins_exist(const SkinTable& table, std::string_view folder) {
    return std::any_of(table.skins.begin(), table.skins.end(),
                       [&](const SKINS_TYPE& skin) { return skin.folder == folder; });
}

SKINS_TYPE skins_initialize(OPTIONS_TYPE& options, std::string& start_skin, SkinTable& table,
                            const std::string& skins_folder, const SKINS_TYPE& skin_default,
                            const std::function<void(SkinTable&)>& search,
                            std::function<std::size_t(std::size_t)> random_below) {
    if (!start_skin.empty()) {
        if (auto skin = skins_load(skins_folder, start_skin, skin_default)) {
            options.skin_name = start_skin;
            options.use_skin = true;
            return std::move(*skin);
        }
        start_skin.clear();
    }
    if (!options.use_skin) return skin_default;
    if (options.random_skin) {
        search(table);
        if (table.skins.empty()) return skin_default;
        table.current_skin_index = std::min(random_below(table.skins.size()), table.skins.size() - 1);
        const SKINS_TYPE& chosen = table.skins[table.current_skin_index];
        options.skin_name = chosen.folder;
        return chosen;
    }
    if (auto skin = skins_load(skins_folder, options.skin_name, skin_default)) return std::move(*skin);
    options.skin_name.clear();
    options.use_skin = false;
    return skin_default;
}

SKINS_TYPE skins_configured(const OPTIONS_TYPE& options, const std::string& skins_folder,
                            const SKINS_TYPE& skin_default) {
    if (options.use_skin)
        if (auto skin = skins_load(skins_folder, options.skin_name, skin_default)) return std::move(*skin);
    return skin_default;
}

void skins_set_fonts(std::vector<SKINS_FONT_TYPE>& installed, const SKINS_TYPE& skin_current,
                     FontSystem& fonts) {
    const auto same_file = [](const SKINS_FONT_TYPE& a, const SKINS_FONT_TYPE& b) {
        return a.file == b.file;
    };
    if (std::equal(installed.begin(), installed.end(), skin_current.fonts.begin(), skin_current.fonts.end(),
                   same_file))
        return;
    for (const SKINS_FONT_TYPE& font : installed)
        fonts.remove_font_file(font.file);
    installed.clear();
    for (const SKINS_FONT_TYPE& font : skin_current.fonts) {
        if (fonts.has_family(lower_text(font.name))) continue;
        if (file_exists(font.file) && fonts.add_font_file(font.file)) installed.push_back(font);
    }
}

} // namespace tkv
