#include "search/game_documents.h"

#include "database/game_table.h"
#include "database/record_codec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>

namespace tkv {

std::uint64_t text_hash(std::string_view bytes, std::uint64_t seed) {
    const std::uint64_t h = std::hash<std::string_view>{}(bytes);
    return seed ^ (h + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2));
}

std::string game_key(const GAMES2_ARRAY_TYPE& game) {
    if (game.id > 0) return "g" + std::to_string(game.id);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(text_hash(game.names)));
    return std::string("u") + hex;
}

std::uint64_t game_signature(const GAMES2_ARRAY_TYPE& game) {
    std::uint64_t h = text_hash(std::to_string(game.id) + "/" + std::to_string(game.revision));
    h = text_hash(game.names, h);
    h = text_hash(game.data, h);
    return text_hash(game.user_text, h);
}

std::unordered_map<std::string, std::vector<std::size_t>> games_by_key(const GameDatabase& db) {
    std::unordered_map<std::string, std::vector<std::size_t>> out;
    out.reserve(db.games.size());
    for (std::size_t i = 0; i < db.games.size(); ++i)
        out[game_key(db.games[i])].push_back(i);
    return out;
}

std::unordered_map<std::string, std::vector<std::size_t>> games_of_keys(const GameDatabase& db,
                                                                        const std::vector<std::string>& keys) {
    std::unordered_map<std::string, std::vector<std::size_t>> out;
    std::unordered_map<std::int32_t, const std::string*> publisher; // id -> its key
    std::size_t user_keys = 0;
    GAMES2_ARRAY_TYPE probe; // a publisher's game of the id read: its key must be the key read
    for (const std::string& key : keys) {
        const std::string_view digits = std::string_view(key).substr(1);
        std::int32_t id = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
        probe.id = id;
        if (key.starts_with('g') && error == std::errc() && end == digits.data() + digits.size() && id > 0 &&
            game_key(probe) == key)
            publisher.emplace(id, &key);
        else
            ++user_keys;
    }
    for (std::size_t i = 0; i < db.games.size(); ++i) {
        const GAMES2_ARRAY_TYPE& game = db.games[i];
        if (game.id > 0) {
            if (const auto it = publisher.find(game.id); it != publisher.end()) out[*it->second].push_back(i);
        } else if (user_keys > 0) {
            std::string key = game_key(game);
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) out[std::move(key)].push_back(i);
        }
    }
    return out;
}

std::vector<SearchEntry> game_entries(const GameDatabase& db, std::size_t index, CodePage cp) {
    GAMES2_TEMP_ARRAY_TYPE game;
    games_uncompress_data(db, static_cast<std::int32_t>(index), false, game);
    std::vector<SearchEntry> out;
    const auto add = [&](EntryKind kind, std::size_t entry, std::string_view category,
                         std::string_view text) {
        if (text.empty()) return;
        out.push_back({kind, entry, to_utf8(category, cp), to_utf8(text, cp)});
    };
    std::string names;
    for_each_name_line(game.names, [&](std::string_view line) { (names += line) += '\n'; });
    // Every game has its names entry, even an empty one: it carries the game's signature.
    out.push_back({EntryKind::names, 0, {}, to_utf8(names, cp)});
    for (std::size_t i = 0; i < game.infos.size(); ++i)
        add(EntryKind::info, i, game.infos[i].type_name, game.infos[i].text);
    for (std::size_t i = 0; i < game.files.size(); ++i)
        add(EntryKind::file, i, {}, game.files[i].title + "\n" + game.files[i].description);
    for (std::size_t i = 0; i < game.homepages.size(); ++i)
        add(EntryKind::homepage, i, {}, game.homepages[i].title + "\n" + game.homepages[i].description);
    add(EntryKind::user_text, 0, {}, game.user_text);
    return out;
}

} // namespace tkv
