#include "profiles/profile_download.h"

#include "appearance/caption_slots.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/quicksort.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <cmath>
#include <limits>

namespace tkv {

std::vector<DOWNPROS_TYPE> profiles_new_parser(std::string_view text) {
    std::vector<DOWNPROS_TYPE> list;
    std::string id;
    bool in_entry = false;
    for (const std::string& line : split_lines(text)) {
        if (line.size() < 2 || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() == ']') id = lower_text(line.substr(1, line.size() - 2));
            if (upper_text(id) == "#END#") break;
            // Entries past the list's size are not taken; their keys go nowhere.
            in_entry = list.size() < downpros_max;
            if (in_entry) list.push_back({id, "", "", 0, {}});
            continue;
        }
        const auto equals = line.find('=');
        if (!in_entry || line.size() < 3 || equals == std::string::npos) continue;
        const std::string key = ascii_lower_text(trim_blank(line.substr(0, equals)));
        const std::string value = trim_blank(line.substr(equals + 1));
        DOWNPROS_TYPE& entry = list.back();
        if (key == "name")
            entry.name = value;
        else if (key == "language")
            entry.language = value;
        else if (key == "size")
            entry.size = parse_int_in_range(value, 0, 0, std::numeric_limits<std::int32_t>::max());
        else if (key == "last update")
            entry.last_update = parse_date(value);
    }
    return list;
}

void profiles_new_check_valid(std::vector<DOWNPROS_TYPE>& list, const ProfileTable& installed) {
    std::erase_if(list, [&](const DOWNPROS_TYPE& e) {
        // The id names the archive and the folder the profile is installed into.
        return e.name.empty() || e.language.empty() || !safe_file_name(e.id) ||
               profiles_new_check_exist(installed, e.id);
    });
}

std::string profiles_new_row(const DOWNPROS_TYPE& entry, const Captions& captions) {
    return caption_format(captions[caption_slot::profile_download_row], {entry.language, entry.name});
}

void profiles_new_sort(std::vector<DOWNPROS_TYPE>& list, const Captions& captions) {
    if (list.size() < 2) return;
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const DOWNPROS_TYPE& e : list)
        keys.push_back(lower_text(profiles_new_row(e, captions)));
    sort_by_keys(keys, 0, static_cast<std::ptrdiff_t>(list.size()) - 1,
                 [&](std::size_t i, std::size_t j) { std::swap(list[i], list[j]); });
}

std::int64_t profile_archive_kilobytes(std::int32_t size) {
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(size) / 1024.0));
}

} // namespace tkv
