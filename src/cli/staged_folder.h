#pragma once
// Replacing a whole folder so that it is never seen half-written.

#include <functional>
#include <string>

namespace tkv::cli {

// Fills the folder it is given (ending in "/"); false with a message in error.
using FolderFiller = std::function<bool(const std::string& folder, std::string& error)>;

// Builds the new content in a temporary sibling of target with fill, then puts it in target's
// place with one rename (exchanging it with an existing target, whose old content is then
// deleted). When fill or the rename fails, target is left as it was, the temporary folder is
// removed and error says why. The new folder is readable by everyone: a web server serves it.
bool replace_folder(const std::string& target, const FolderFiller& fill, std::string& error);

} // namespace tkv::cli
