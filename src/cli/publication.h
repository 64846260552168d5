#pragma once
// A server tree being written: the program folder it comes from, the folder it goes to, and the
// first failure, which ends the publication. Given the tree published last, every file whose
// bytes it already holds is taken over from it as a hard link instead of being written again,
// so a publication after a small change writes little and the served files keep their dates.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/zip_writer.h"

namespace tkv::cli {

struct Publication {
    std::string home;     // the program folder published, ending in "/"
    std::string root;     // the folder written, ending in "/"
    std::string error;    // what failed
    std::string previous; // the tree published last, ending in "/"; empty writes every file

    std::vector<std::string> written; // relative paths written anew, in the order written
    std::vector<std::string> kept;    // relative paths taken over from previous

    // Remembers the message and gives false.
    bool fail(std::string message);

    // Each puts root + relative in place (creating its folders) and fails with a message naming it.
    bool write(const std::string& relative, std::string_view bytes);
    bool copy(const std::string& source, const std::string& relative);
    bool zip(const std::string& relative, const std::vector<ZipEntry>& entries);

    // The size of a file written already.
    std::int64_t size(const std::string& relative) const;

  private:
    // Links previous + relative to root + relative when same tells that it holds the new bytes.
    template <typename Same> bool take_over(const std::string& relative, Same same);
};

// A name that can be one folder or file of the tree: not empty, not "." or "..", without "/",
// "\" or control characters.
bool usable_path_part(std::string_view name);

} // namespace tkv::cli
