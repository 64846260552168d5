#include "cli/publish_update_resources.h"

#include "shell/numbers.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace tkv::cli {

namespace {

std::string short_string(std::string_view s) {
    return bytes_of_u8(static_cast<std::uint32_t>(s.size())).append(s);
}

std::string u32(std::int32_t n) {
    return bytes_of_u32(static_cast<std::uint32_t>(n));
}

// Neither the records nor the types file carries a meaning in it; the reader only requires it.
constexpr char trailing_byte = '\0';

} // namespace

std::string game_list_resource(const std::vector<GAMES2_ARRAY_TYPE>& games) {
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    for (const GAMES2_ARRAY_TYPE& g : games)
        if (g.id > 0) pairs.emplace_back(g.id, g.revision);
    // The program compares by walking its table and this list together in ascending id.
    std::sort(pairs.begin(), pairs.end());
    std::string out = short_string("TRICKVAULT350GAMELIST");
    for (const auto& [id, revision] : pairs)
        out.append(u32(id)).append(u32(revision));
    return out.append(u32(0));
}

std::string information_types_resource(const std::vector<INFO_TYPE_ENTRY>& types) {
    std::string out = short_string("TRICKVAULT350GAMEIT");
    for (const INFO_TYPE_ENTRY& t : types)
        out.append(bytes_of_u8(t.type_number)).append(short_string(t.type_name));
    return out.append(bytes_of_u16(0)).append(1, trailing_byte);
}

std::string game_record_resource(const GAMES2_ARRAY_TYPE& game) {
    std::string out = short_string("TRICKVAULT350GAMEDATA");
    out.append(u32(game.id));
    out.append(bytes_of_u16(static_cast<std::uint32_t>(game.names.size()))).append(game.names);
    out.append(u32(static_cast<std::int32_t>(game.data.size()))).append(game.data);
    out.append(u32(game.revision));
    return out.append(1, trailing_byte);
}

std::string game_record_file_name(std::int32_t id) {
    return format_int_padded(id, 5) + ".dat";
}

} // namespace tkv::cli
