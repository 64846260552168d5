#include "appearance/skin_install.h"

#include "shell/files.h"

#include <algorithm>

namespace tkv {

std::string skin_staging_folder(const std::string& skins_folder, const std::string& key) {
    return with_trailing_slash(skins_folder) + ".unpacking-" + key + "/";
}

std::vector<std::string> install_unpacked_skins(const std::string& staging, const std::string& skins_folder) {
    std::vector<std::string> names = folder_list_folders(staging);
    std::sort(names.begin(), names.end());
    std::vector<std::string> installed;
    for (const std::string& name : names) {
        const std::string folder = with_trailing_slash(staging) + name + "/";
        if (name.starts_with('_') || name.starts_with('.') || path_is_link(folder) ||
            !find_name_in_folder(folder, "skin.ini"))
            continue;
        const std::string target = with_trailing_slash(skins_folder) + name;
        if (file_exists(target) || path_is_link(target)) continue; // never replaced, never written through
        folder_move_into(folder, target);
        installed.push_back(name);
    }
    folder_delete_tree(staging);
    return installed;
}

std::string installed_skin_choice(const std::vector<std::string>& installed, const std::string& archive) {
    if (installed.empty()) return {};
    const std::string named = base_name_of_path(archive);
    const auto same = std::find(installed.begin(), installed.end(), named);
    return same != installed.end() ? *same : installed.front();
}

} // namespace tkv
