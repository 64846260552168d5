#pragma once
// Replacing a whole folder so that it is never seen half-written, and one writer at a time.

#include <functional>
#include <string>

namespace tkv::cli {

// Fills the folder it is given (ending in "/"); false with a message in error.
using FolderFiller = std::function<bool(const std::string& folder, std::string& error)>;

// Builds the new content in a temporary sibling of target with fill, then puts it in target's
// place with one rename (exchanging it with an existing target, whose old content is then
// deleted). While fill runs, target still holds the old content, for fill to take files from.
// When fill or the rename fails, target is left as it was, the temporary folder is removed and
// error says why. The new folder is readable by everyone: a web server serves it.
//
// A second replacement of the same target while one runs is refused: the first holds a lock on
// the file folder_lock_path(target), which the system releases when its process ends, however
// it ends, and which is removed when the replacement is over.
bool replace_folder(const std::string& target, const FolderFiller& fill, std::string& error);

// The lock file beside target: ".NAME.lock" in its parent folder, whatever way target is written
// (relative, with "." or "..", through a symbolic link).
std::string folder_lock_path(const std::string& target);

// One writer at a time into a folder: an flock on a lock file, which the system releases when the
// process ends, however it ends; the file is removed when the lock object ends.
class FolderLock {
  public:
    FolderLock() = default;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();
    // Takes the lock on path, or says in error why not: `busy` when someone else holds it.
    bool take(const std::string& path, const std::string& busy, std::string& error);

  private:
    void release();
    int fd_ = -1;
    std::string path_;
};

} // namespace tkv::cli
