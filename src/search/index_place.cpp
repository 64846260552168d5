#include "search/index_place.h"

#include "search/game_documents.h"
#include "shell/codepage.h"
#include "shell/folders.h"

#include <cstdio>
#include <filesystem>

namespace tkv {

namespace {

std::string hex(std::uint64_t value, int digits) {
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%0*llx", digits, static_cast<unsigned long long>(value));
    return std::string(buffer).substr(0, static_cast<std::size_t>(digits));
}

// The id as part of a folder name: letters, digits, '-' and '_' and any non-ASCII character
// stay, anything that could climb out of the folder or hide it becomes '_'.
std::string safe_id(const PROFILES_TYPE& profile) {
    std::string id = to_utf8(profile.id, code_page_for_language(profile.language));
    for (char& c : id) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80 && !std::isalnum(u) && c != '-' && c != '_') c = '_';
    }
    return id.empty() ? "_" : id;
}

} // namespace

std::string index_folder(const PROFILES_TYPE& profile, const std::string& profile_folder) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::absolute(profile_folder, ec).lexically_normal();
    std::string path = folder.string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return get_cache_folder() + "index/" + safe_id(profile) + "-" + hex(text_hash(path), 8) + "/";
}

std::string index_stamp(const GameDatabase& db, const PROFILES_TYPE& profile,
                        const std::string& main_dat_path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(main_dat_path, ec);
    const long long main_size = ec ? -1 : static_cast<long long>(size);
    const auto time = std::filesystem::last_write_time(main_dat_path, ec);
    const long long main_time = ec ? 0 : static_cast<long long>(time.time_since_epoch().count());
    std::uint64_t table = text_hash(profile.id + "\n" + profile.name + "\n" + profile.language + "\n" +
                                    format_datetime(profile.main_date));
    std::uint64_t user = 0;
    for (const auto& g : db.games) {
        if (g.id > 0)
            table = text_hash(std::to_string(g.id) + "/" + std::to_string(g.revision) + "/" +
                                  std::to_string(g.data.size()) + "/" + g.names,
                              table);
        if (g.id < 0 || !g.user_text.empty()) user = text_hash(game_key(g) + "\n" + g.user_text, user);
    }
    return "main.dat " + std::to_string(main_size) + " " + std::to_string(main_time) + "; table " +
           hex(table, 16) + "; user " + hex(user, 16);
}

} // namespace tkv
