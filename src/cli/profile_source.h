#pragma once
// The publisher's side of a profile: a folder of plain UTF-8 texts (profile.txt, types.txt,
// games/*.txt) that `tkv build` turns into main.dat. The format is described in the README.

#include <string>
#include <variant>
#include <vector>

#include "database/game_types.h"
#include "database/profile_record.h"
#include "database/record_codec.h"

namespace tkv {

struct SourceGame {
    std::string file; // its file's name in games/
    std::int32_t id = 0;
    std::int32_t revision = 0;
    std::string names; // CR LF between names
    std::vector<BlockInfo> infos;
    std::vector<GAMES2_FILES_TYPE> files;
    std::vector<GAMES2_HOMEPAGES_TYPE> homepages;
};

struct ProfileSource {
    PROFILES_TYPE profile; // id, name, language, main_date
    std::vector<INFO_TYPE_ENTRY> types;
    std::vector<SourceGame> games; // ascending id
};

struct SourceError {
    std::string file;
    int line = 0; // 0 when the error is about the whole file
    std::string message;
};

// "file:line: message", or "file: message" for the whole file.
std::string source_error_text(const SourceError& error);

// An entry's text from its lines: joined by CR LF, blank lines at both ends dropped.
std::string entry_text(const std::vector<std::string>& lines);

// Reads a source folder; texts are converted to the code page of the profile's language.
std::variant<ProfileSource, SourceError> read_profile_source(const std::string& folder);

// The game record of a source game, its information compressed as the publisher stores it.
GAMES2_ARRAY_TYPE compile_game(const SourceGame& game);

// Writes folder/main.dat (creating the folder). False when it could not be written.
bool write_profile(const std::string& folder, const PROFILES_TYPE& profile, const GameDatabase& db);

} // namespace tkv
