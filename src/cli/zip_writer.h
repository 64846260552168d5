#pragma once
// Writing ZIP archives (libzip) of files on disk: the profile and skin archives the server offers.

#include <optional>
#include <string>
#include <vector>

namespace tkv::cli {

struct ZipEntry {
    std::string name;   // inside the archive, "/" separated
    std::string source; // the file on disk
};

// Creates archive with the entries in the given order; an existing archive is an error. On
// failure nothing is left at archive and error says why.
bool zip_write(const std::string& archive, const std::vector<ZipEntry>& entries, std::string& error);

// The regular files below folder, as paths relative to it with "/" separators, sorted; nothing
// when the folder or one below it cannot be read. Symbolic links are left out: an archive with
// one would be refused when it is unpacked.
std::optional<std::vector<std::string>> files_below(const std::string& folder);

} // namespace tkv::cli
