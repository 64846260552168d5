#pragma once
// Installing a downloaded skin archive: it is unpacked into a staging folder beside the skins and
// only the folders that are skins (they hold a skin.ini) move into the skins folder, so a damaged
// archive or one that is not a skin leaves nothing behind.

#include <cstddef>
#include <string>

namespace tkv {

// skins_folder + ".unpacking-" + key + "/": no skin folder begins with a dot.
std::string skin_staging_folder(const std::string& skins_folder, const std::string& key);

// Moves each folder of staging holding a skin.ini into skins_folder, merging with a skin of the
// same name (its files replaced), then deletes staging. Folders whose names begin with "_" or "."
// (the program's own folders below the skins) are not taken. Returns the skins installed.
std::size_t install_unpacked_skins(const std::string& staging, const std::string& skins_folder);

} // namespace tkv
