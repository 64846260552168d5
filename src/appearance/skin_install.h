#pragma once
// Installing a skin archive: it is unpacked into a staging folder beside the skins and only the
// folders that are skins (they hold a skin.ini) move into the skins folder, so a damaged archive
// or one that is not a skin leaves nothing behind.

#include <string>
#include <vector>

namespace tkv {

// skins_folder + ".unpacking-" + key + "/": no skin folder begins with a dot.
std::string skin_staging_folder(const std::string& skins_folder, const std::string& key);

// Moves each folder of staging holding a skin.ini into skins_folder, merging with a skin of the
// same name (its files replaced), then deletes staging. Folders whose names begin with "_" or "."
// (the program's own folders below the skins) are not taken, nor a skin whose name is held by a
// file or a link in skins_folder (nothing there is deleted to make room).
// Returns the folders installed, in name order.
std::vector<std::string> install_unpacked_skins(const std::string& staging, const std::string& skins_folder);

// The installed folder that "skins name" takes after an archive was installed: the one named like
// the archive (its file name without folder and extension), else the first; empty when none was.
// A browser saves a second "neon2.tkvs" as "neon2 (1).tkvs", which still holds "neon2/".
std::string installed_skin_choice(const std::vector<std::string>& installed, const std::string& archive);

} // namespace tkv
