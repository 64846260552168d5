#include "cli/staged_folder.h"

#include "shell/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tkv::cli {

namespace {

std::string without_trailing_slash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

bool FolderLock::take(const std::string& path, const std::string& busy, std::string& error) {
    // A lock file removed by the holder before it let go is no longer the one at path: the
    // lock taken on it would exclude nobody, so it is taken again on the new file.
    for (int attempt = 0; attempt < 10; ++attempt) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error = "cannot create the lock file " + path + ": " + std::strerror(errno);
            return false;
        }
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            release();
            error = why == EWOULDBLOCK ? busy + " (it holds " + path + "); try again when it has finished"
                                       : "cannot lock " + path + ": " + std::strerror(why);
            return false;
        }
        struct stat held {}, named {};
        if (::fstat(fd_, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev) {
            path_ = path;
            return true;
        }
        release();
    }
    error = "cannot lock " + path + ": it keeps being replaced";
    return false;
}

FolderLock::~FolderLock() {
    // Removed while still held, so that nobody locks the file about to disappear.
    if (!path_.empty()) ::unlink(path_.c_str());
    release();
}

void FolderLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::string folder_lock_path(const std::string& target) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(without_trailing_slash(target), ignored);
    const std::string path = without_trailing_slash(std::filesystem::weakly_canonical(absolute, ignored).string());
    return folder_of_path(path) + "." + file_name_of_path(path) + ".lock";
}

bool replace_folder(const std::string& target, const FolderFiller& fill, std::string& error) {
    const std::string path = without_trailing_slash(target);
    FolderLock lock;
    if (!lock.take(folder_lock_path(path), "another publication is being written into " + path, error)) return false;
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
