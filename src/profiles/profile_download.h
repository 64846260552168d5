#pragma once
// The server's list of profiles offered for download: parsing, what may be offered, the order.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "appearance/captions.h"
#include "profiles/profile_table.h"
#include "shell/datetime.h"

namespace tkv {

struct DOWNPROS_TYPE {
    std::string id; // lower case
    std::string name;
    std::string language;
    std::int32_t size = 0; // of the archive in bytes; 0 when not given
    DateTime last_update;
};

constexpr std::size_t downpros_max = 101;

// The entries of the list text (without its marker line), at most downpros_max; key lines before
// the first section belong to no entry and are dropped.
std::vector<DOWNPROS_TYPE> profiles_new_parser(std::string_view text);
// Drops entries without a name or a language, those whose id is no safe file name, and those
// already installed; the rest keep their order.
void profiles_new_check_valid(std::vector<DOWNPROS_TYPE>& list, const ProfileTable& installed);
// The row text of the download window: caption_slot::profile_download_row, "language - name".
std::string profiles_new_row(const DOWNPROS_TYPE& entry, const Captions& captions);
// Sorts by the row text in lower case.
void profiles_new_sort(std::vector<DOWNPROS_TYPE>& list, const Captions& captions);
// The download button's kilobytes: size / 1024, halves to the even neighbour.
std::int64_t profile_archive_kilobytes(std::int32_t size);

} // namespace tkv
