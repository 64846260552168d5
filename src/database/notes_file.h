#pragma once
// The user's own data of a profile as a portable UTF-8 JSON file ("trickvault-notes"), and
// merging such a file into a profile by the rule that loads user.dat.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"
#include "database/profile_record.h"
#include "shell/codepage.h"
#include "shell/datetime.h"

namespace tkv {

// What an import file may hold at most; a bigger one is refused whole.
// The names and the launch settings must fit user.dat's 16-bit lengths (joined by CR LF).
constexpr std::size_t notes_file_bytes_max = std::size_t{32} << 20;
constexpr std::size_t notes_text_bytes_max = std::size_t{8} << 20; // one game's note
constexpr std::size_t notes_names_bytes_max = 0xFFFF;              // a game's names joined
constexpr std::size_t notes_launch_bytes_max = 0xFFFF - 4;          // its launch settings joined
constexpr std::size_t notes_profile_bytes_max = 255;               // the profile's id and name

// One game of the file; texts are UTF-8.
struct NotesGame {
    std::int32_t id = 0; // the publisher's id; 0 for the user's own games
    std::vector<std::string> names;
    std::string text;
    GAMES2_RUN_TYPE run;
    bool user_game = false;
};

struct NotesFile {
    std::string profile_id, profile_name; // UTF-8
    std::vector<NotesGame> games;
};

// The file's text: every game of the table with user data, texts converted from the profile's
// code page.
std::string notes_export_text(const GameDatabase& db, const PROFILES_TYPE& profile);

struct NotesRead {
    std::optional<NotesFile> file;
    std::string error; // why the whole file is refused
};
// Reads and checks the whole file; any fault (not JSON, cut short, wrong types, over a limit,
// control characters in names) refuses all of it.
NotesRead notes_read(std::string_view text);

// notes_read of the file at path, which is refused unread when it is missing or too big.
NotesRead notes_read_file(const std::string& path);

// Whether the file was exported from this profile (ids compared ignoring letter case).
bool notes_profile_matches(const NotesFile& file, const PROFILES_TYPE& profile);

struct NotesRefusal {
    enum class Why { code_page, table_full };
    std::string game; // its first name, UTF-8
    Why why = Why::code_page;
    std::string characters; // code_page: the characters, as character_list gives them
};

struct NotesImport {
    std::size_t attached = 0;     // notes put on a game without one, or already there
    std::size_t new_games = 0;    // games the user gets as their own
    std::size_t merged_notes = 0; // a different note was there: the imported one was appended
    std::vector<NotesRefusal> refused;
    bool changed() const { return attached + new_games + merged_notes > 0; }
};

// Merges the file's games into the table: each attaches where loading user.dat would attach it
// (a game of the user also to an own game with a fitting name), else becomes a new game of the
// user. A game's empty note takes the imported one; a different
// note keeps its text and gets the imported one appended under a line dated `now`. Launch
// settings fill only empty ones. A game with a text the code page cannot hold is refused whole.
NotesImport notes_import(GameDatabase& db, const NotesFile& file, CodePage cp, DateTime now);

// "\r\n\r\n--- 2026-12-11 ---\r\n": the line an appended note starts under.
std::string notes_appended_line(DateTime now);

} // namespace tkv
