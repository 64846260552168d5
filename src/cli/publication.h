#pragma once
// A server tree being written: the program folder it comes from, the folder it goes to, and the
// first failure, which ends the publication.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/zip_writer.h"

namespace tkv::cli {

struct Publication {
    std::string home;  // the program folder published, ending in "/"
    std::string root;  // the folder written, ending in "/"
    std::string error; // what failed

    // Remembers the message and gives false.
    bool fail(std::string message);

    // Each writes root + relative (creating its folders) and fails with a message naming it.
    bool write(const std::string& relative, std::string_view bytes);
    bool copy(const std::string& source, const std::string& relative);
    bool zip(const std::string& relative, const std::vector<ZipEntry>& entries);

    // The size of a file written already.
    std::int64_t size(const std::string& relative) const;
};

// A name that can be one folder or file of the tree: not empty, not "." or "..", without "/",
// "\" or control characters.
bool usable_path_part(std::string_view name);

} // namespace tkv::cli
