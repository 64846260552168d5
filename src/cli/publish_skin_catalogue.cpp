#include "cli/publish_skin_catalogue.h"

#include "shell/numbers.h"

namespace tkv::cli {

namespace {

void field(std::string& out, std::uint8_t type, std::string_view value) {
    if (value.empty()) return;
    value = value.substr(0, 255);
    out.append(bytes_of_u8(type)).append(bytes_of_u8(static_cast<std::uint32_t>(value.size()))).append(value);
}

} // namespace

std::string skin_catalogue_resource(const std::vector<SkinOffer>& offers) {
    std::string out = catalogue_data_of({});
    for (const SkinOffer& s : offers) {
        out.append(bytes_of_u32(static_cast<std::uint32_t>(s.number)));
        field(out, 1, s.file_name);
        field(out, 2, std::to_string(s.size_kb));
        field(out, 3, format_date(s.date));
        field(out, 4, s.display_name);
        field(out, 5, s.author);
        field(out, 6, s.author_email);
        field(out, 7, s.author_homepage);
        field(out, 8, s.skin_version);
        field(out, 9, s.program_version);
        field(out, 10, std::to_string(s.rating));
        field(out, 11, s.categories);
        out.append(bytes_of_u8(0));
    }
    return out.append(bytes_of_u32(0));
}

} // namespace tkv::cli
