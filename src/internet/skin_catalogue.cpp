#include "internet/skin_catalogue.h"

#include "appearance/caption_slots.h"
#include "shell/bytestream.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/text.h"

#include <algorithm>
#include <utility>

namespace tkv {

namespace {

constexpr int category_count = 27;

// A field of a skin: its type and value; false when the data ends inside it.
bool read_field(MemoryStream& m, std::uint8_t& type, std::string& value) {
    std::uint8_t length = 0;
    return stream_read_u8(m, type) && (type == 0 || (stream_read_u8(m, length) && stream_read_bytes(m, value, length)));
}

void store_field(DOWNSKINS_TYPE& skin, std::uint8_t type, std::string value) {
    switch (type) {
    case 1: skin.file_name = std::move(value); break;
    case 2: skin.size_kb = std::move(value); break;
    case 3: skin.date = parse_date(value); break;
    case 4: skin.display_name = std::move(value); break;
    case 5: skin.author = std::move(value); break;
    case 6: skin.author_email = std::move(value); break;
    case 7: skin.author_homepage = std::move(value); break;
    case 8: skin.skin_version = std::move(value); break;
    case 9: skin.program_version = std::move(value); break;
    case 10: skin.rating_hundredths = parse_int(value, 0); break;
    case 11: skin.categories = "," + value + ","; break;
    default: break;
    }
}

bool passes(const DOWNSKINS_TYPE& skin, const SkinFilter& f) {
    return skin.rating_hundredths >= f.lowest_grade * 100 && skin.rating_hundredths <= f.highest_grade * 100 &&
           (f.category.empty() || f.category == "0" ||
            skin.categories.find("," + f.category + ",") != std::string::npos) &&
           safe_file_name(skin.key) && !(f.installed && f.installed(skin.key)) && !(f.ignored && f.ignored(skin.key));
}

// Hungarian captions sort with their accented vowels as the plain ones (Windows-1250 bytes).
std::string hungarian_folded(std::string_view caption) {
    std::string s = lower_text(caption);
    for (char& c : s) {
        switch (static_cast<unsigned char>(c)) {
        case 0xE1: c = 'a'; break;
        case 0xE9: c = 'e'; break;
        case 0xED: c = 'i'; break;
        case 0xF3: case 0xF5: case 0xF6: c = 'o'; break;
        case 0xFA: case 0xFB: case 0xFC: c = 'u'; break;
        default: break;
        }
    }
    return s;
}

} // namespace

std::string skin_key(std::int32_t number, std::string_view file_name) {
    return lower_text(format_int_padded(number, 4) + "_" + std::string(file_name));
}

std::string catalogue_data_of(std::string_view body) {
    return bytes_of_u8(static_cast<std::uint32_t>(skin_list_resource_name.size()))
        .append(skin_list_resource_name)
        .append(body);
}

std::vector<DOWNSKINS_TYPE> u_progress_skin_download(std::string_view catalogue_data, const SkinFilter& filter) {
    std::vector<DOWNSKINS_TYPE> kept;
    MemoryStream m{std::string(catalogue_data), 0};
    std::uint8_t name_length = 0;
    std::string name;
    if (!stream_read_u8(m, name_length) || !stream_read_bytes(m, name, name_length) || name != skin_list_resource_name)
        return kept;
    const std::size_t total = m.data.size();
    std::int32_t number = 0;
    while (kept.size() < catalogue_max && stream_read_u32(m, number) && number > 0) {
        DOWNSKINS_TYPE skin;
        skin.number = number;
        std::uint8_t type = 0;
        std::string value;
        bool complete = true;
        while ((complete = read_field(m, type, value)) && type != 0)
            store_field(skin, type, std::move(value));
        // A skin cut off by the end of the data is not offered.
        if (!complete) break;
        skin.key = skin_key(skin.number, skin.file_name);
        if (passes(skin, filter)) kept.push_back(std::move(skin));
        if (filter.progress) filter.progress(static_cast<int>(m.pos * 100 / total));
    }
    return kept;
}

std::string rating_text(std::int64_t hundredths) {
    const std::int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    return (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + std::to_string(magnitude / 10 % 10) +
           std::to_string(magnitude % 10);
}

std::string skin_list_row(const Captions& captions, const DOWNSKINS_TYPE& skin) {
    return caption_format(captions[caption_slot::skin_catalogue_row],
                          {skin.display_name, rating_text(skin.rating_hundredths)});
}

std::string ignore_marker_text(const Captions& captions, const DOWNSKINS_TYPE& skin, std::string_view now,
                               std::string_view main_server) {
    const std::pair<int, std::string> lines[] = {
        {caption_slot::skin_info_file_name, skin.key + ".tkvs"},
        {caption_slot::skin_info_size, skin.size_kb},
        {caption_slot::skin_info_name, skin.display_name},
        {caption_slot::skin_info_version, skin.skin_version},
        {caption_slot::skin_info_program_version, skin.program_version},
        {caption_slot::skin_info_author, skin.author},
        {caption_slot::skin_info_author_email, skin.author_email},
        {caption_slot::skin_info_author_home_page, skin.author_homepage},
        {caption_slot::skin_info_unavailable, std::string(now)},
        {caption_slot::skin_info_download, std::string(main_server) + "skins/" + skin.key + ".tkvs"},
    };
    std::string text;
    for (const auto& [slot, value] : lines)
        text += caption_format(captions[static_cast<std::size_t>(slot)], {value});
    return text;
}

std::vector<SKIN_CATEGORIES_TYPE> sorted_skin_categories(const Captions& captions, std::string_view language_name) {
    std::vector<SKIN_CATEGORIES_TYPE> list;
    for (int i = 0; i < category_count; ++i)
        list.push_back({std::to_string(i + 1),
                        captions[static_cast<std::size_t>(caption_slot::skin_category_first + i)]});
    const bool hungarian = lower_text(language_name) == "hungarian";
    const auto key = [hungarian](const std::string& caption) {
        return hungarian ? hungarian_folded(caption) : caption;
    };
    // The exchange sort: every later entry that compares below the current one is swapped in.
    for (std::size_t i = 0; i < list.size(); ++i)
        for (std::size_t j = i + 1; j < list.size(); ++j)
            if (key(list[j].caption) < key(list[i].caption)) std::swap(list[i], list[j]);
    return list;
}

} // namespace tkv
