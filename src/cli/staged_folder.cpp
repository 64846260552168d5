#include "cli/staged_folder.h"

#include "shell/files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tkv::cli {

bool replace_folder(const std::string& target, const FolderFiller& fill, std::string& error) {
    std::string path = target;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::string staging = folder_of_path(path) + "." + file_name_of_path(path) + ".XXXXXX";
    if (!::mkdtemp(staging.data())) {
        error = "cannot create a folder beside " + path + ": " + std::strerror(errno);
        return false;
    }
    const auto give_up = [&](const std::string& why) {
        folder_delete_tree(staging);
        error = why;
        return false;
    };
    if (std::string why; !fill(staging + "/", why)) return give_up(why);
    if (::chmod(staging.c_str(), 0755) != 0) return give_up("cannot open " + staging + " to readers");
    const bool exchange = folder_exists(path);
    const int moved = exchange
                          ? ::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE)
                          : ::rename(staging.c_str(), path.c_str());
    if (moved != 0)
        return give_up("cannot put the new folder in place of " + path + ": " + std::strerror(errno));
    // After the exchange the temporary name holds the old content.
    if (exchange) folder_delete_tree(staging);
    return true;
}

} // namespace tkv::cli
