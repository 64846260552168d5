#pragma once
// One profile's cheat database in memory: the game table, the information types, the displayed
// list and the expanded record of the game being viewed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tkv {

constexpr std::size_t games_max = 32766;       // records in the game table
constexpr std::size_t game_list_max = 65534;   // rows of the displayed list
constexpr std::size_t info_types_max = 255;    // predefined information types
constexpr std::size_t expanded_list_max = 255; // entries, files and home pages of one game

// How to launch a game; an empty path means it cannot be launched.
struct GAMES2_RUN_TYPE {
    std::string path;
    std::string folder;
    std::string parameters;
    friend bool operator==(const GAMES2_RUN_TYPE&, const GAMES2_RUN_TYPE&) = default;
};

struct GAMES2_ARRAY_TYPE {
    std::int32_t id = 0; // > 0 the publisher's game, < 0 a game of the user; never 0 in the table
    std::string names;   // the title, then alternative names, separated by CR LF
    std::string data;    // the bzip2-compressed information block; empty for the user's games
    std::int32_t revision = 0;
    std::string user_text;
    GAMES2_RUN_TYPE run;
};

struct INFO_TYPE_ENTRY {
    std::uint8_t type_number = 0;
    std::string type_name;
};

struct GAMES2_INFOS_TYPE {
    std::string type_name;
    std::string text;
};

struct GAMES2_FILES_TYPE {
    std::string url; // "file://" names a file in the profile's files/ folder
    std::string size;
    std::string title;
    std::string description;
};

struct GAMES2_HOMEPAGES_TYPE {
    std::string url;
    std::string title;
    std::string description;
};

// A game with its compressed block expanded. Each list holds at most expanded_list_max entries.
struct GAMES2_TEMP_ARRAY_TYPE {
    std::int32_t id = 0;
    std::string names;
    std::string title; // the first line of names
    std::string data;
    std::int32_t revision = 0;
    std::string user_text;
    GAMES2_RUN_TYPE run;
    std::vector<GAMES2_INFOS_TYPE> infos;
    std::vector<GAMES2_FILES_TYPE> files;
    std::vector<GAMES2_HOMEPAGES_TYPE> homepages;
};

struct GAMELIST2_ARRAY_TYPE {
    std::string name;            // one line of a game's names
    std::int32_t game_index = 0; // index into the game table
};

// The tables of the open profile. The vectors never grow past their limits: every operation that
// adds checks them.
struct GameDatabase {
    std::vector<GAMES2_ARRAY_TYPE> games;        // game_count == games.size()
    std::vector<INFO_TYPE_ENTRY> info_types;     // info_type_count == info_types.size()
    std::vector<GAMELIST2_ARRAY_TYPE> game_list; // game_list_count == game_list.size()
    std::int32_t next_user_id = -1;              // id of the next game the user creates
    GAMES2_TEMP_ARRAY_TYPE current_game;
    std::int32_t current_game_index = -1; // -1 while a new game is being created
    std::int32_t current_list_row = -1;
};

} // namespace tkv
