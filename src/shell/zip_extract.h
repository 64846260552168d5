#pragma once
// Extraction of a ZIP archive into a folder (libzip). Archives come from downloads and from the
// command line, so every entry name is checked before anything is written, and each file appears
// under its real name only when it is complete.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tkv {

struct ZipCallbacks {
    // Asked for each file that already exists; false skips that entry. Unset means overwrite.
    std::function<bool(const std::string& path)> may_overwrite;
    // After each block written: bytes written so far and the uncompressed size of the whole archive.
    std::function<void(std::uint64_t bytes_done, std::uint64_t bytes_total)> progress;
};

struct ZipExtractResult {
    bool ok = false;
    std::string error; // why it failed; empty when ok
    std::uint64_t bytes_written = 0;
    std::size_t files = 0; // files written (skipped ones not counted)
};

// Extracts the entries whose file name matches file_mask (mask_matches) into target_folder,
// keeping their relative paths and creating folders as needed. The archive fails, with nothing
// written, when any entry is a symbolic link or has a name that could leave the target (absolute,
// a drive letter, a ".." part with "/" or "\" separators). An entry that fails its CRC or expands
// beyond its declared size fails the archive. ok only when every matching entry was written or
// skipped by may_overwrite.
// Profiles, skins and language files are far smaller; an archive declaring more is refused.
inline constexpr std::uint64_t zip_unpacked_max = std::uint64_t{4} << 30;

ZipExtractResult zip_extract(const std::string& archive, const std::string& target_folder,
                             std::string_view file_mask, const ZipCallbacks& callbacks);

} // namespace tkv
