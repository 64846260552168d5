#include "appearance/skin_install.h"

#include "shell/files.h"

namespace tkv {

std::string skin_staging_folder(const std::string& skins_folder, const std::string& key) {
    return with_trailing_slash(skins_folder) + ".unpacking-" + key + "/";
}

std::size_t install_unpacked_skins(const std::string& staging, const std::string& skins_folder) {
    std::size_t installed = 0;
    for (const std::string& name : folder_list_folders(staging)) {
        const std::string folder = with_trailing_slash(staging) + name + "/";
        if (name.starts_with('_') || name.starts_with('.') || path_is_link(folder) ||
            !find_name_in_folder(folder, "skin.ini"))
            continue;
        folder_move_into(folder, with_trailing_slash(skins_folder) + name);
        ++installed;
    }
    folder_delete_tree(staging);
    return installed;
}

} // namespace tkv
