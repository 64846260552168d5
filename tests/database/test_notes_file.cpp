#include "database/notes_file.h"

#include "database/database_files.h"
#include "database/game_table.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

PROFILES_TYPE pc() {
    PROFILES_TYPE p;
    p.id = "PC";
    p.name = "PC games";
    p.language = "Hungarian"; // Windows-1250
    return p;
}

GameDatabase edition(std::vector<std::pair<std::int32_t, std::string>> games) {
    GameDatabase db;
    for (auto& [id, names] : games) db.games.push_back({id, names, "block", 1, "", {}});
    return db;
}

// The user's data as user.dat would keep it, in table order, own games without their local id.
std::vector<std::string> user_data(const GameDatabase& db) {
    std::vector<std::string> out;
    for (const auto& g : db.games)
        if (has_user_data(g))
            out.push_back(std::to_string(g.id < 1 ? 0 : g.id) + "|" + g.names + "|" + g.user_text + "|" +
                          g.run.path + "|" + g.run.folder + "|" + g.run.parameters);
    return out;
}

GameDatabase with_notes() {
    GameDatabase db = edition({{2, "Quake\r\nQ1"}, {1, "\xC1rv\xEDz\r\nQuake 2"}, {3, "Doom"}});
    db.games[0].user_text = "god\r\n\"quoted\"\ttab";
    db.games[1].user_text = "\xC1 note in \xE8" "esky"; // Á, č
    db.games[1].run = {"/games/arviz", "/games/", "-w"};
    GAMES2_ARRAY_TYPE mine;
    mine.names = "Mine\r\nMy game";
    mine.user_text = "own";
    u_progress_dat_load_user_add_data(db, mine);
    return db;
}

NotesFile read_back(const std::string& text) {
    NotesRead r = notes_read(text);
    EXPECT_TRUE(r.file) << r.error;
    return r.file ? *r.file : NotesFile{};
}

TEST(NotesFile, ExportImportsIntoAnEmptyAndIntoANewerEditionAsTheOriginal) {
    const GameDatabase original = with_notes();
    const std::string text = notes_export_text(original, pc());
    const NotesFile file = read_back(text);
    EXPECT_EQ(file.profile_id, "PC");
    ASSERT_EQ(file.games.size(), 3u);
    EXPECT_EQ(file.games[1].names, (std::vector<std::string>{"\xC3\x81rv\xC3\xADz", "Quake 2"}));
    EXPECT_TRUE(file.games[2].user_game);
    EXPECT_TRUE(notes_profile_matches(file, pc()));

    GameDatabase empty = edition({{2, "Quake\r\nQ1"}, {1, "\xC1rv\xEDz\r\nQuake 2"}, {3, "Doom"}});
    NotesImport r = notes_import(empty, file, CodePage::windows_1250, {});
    EXPECT_EQ(user_data(empty), user_data(original));
    EXPECT_EQ(r.attached, 2u);
    EXPECT_EQ(r.new_games, 1u);

    // The newer edition renumbered Quake and added a game: Quake is found by its name.
    GameDatabase newer = edition({{7, "Heretic"}, {1, "\xC1rv\xEDz\r\nQuake 2"}, {12, "Quake\r\nQ1"}, {3, "Doom"}});
    r = notes_import(newer, file, CodePage::windows_1250, {});
    EXPECT_EQ(r.attached, 2u);
    EXPECT_EQ(newer.games[2].user_text, original.games[0].user_text);
    EXPECT_EQ(newer.games[1].user_text, original.games[1].user_text);
    EXPECT_EQ(newer.games[1].run, original.games[1].run);
    EXPECT_EQ(newer.games[4].names, "Mine\r\nMy game");

    // Importing the same file again changes nothing.
    const auto before = user_data(newer);
    r = notes_import(newer, file, CodePage::windows_1250, {});
    EXPECT_EQ(user_data(newer), before);
    EXPECT_EQ(r.merged_notes, 0u);
    EXPECT_EQ(r.new_games, 0u); // the own game attaches to itself by name
}

TEST(NotesFile, ADifferentNoteIsAppendedUnderADatedLine) {
    GameDatabase db = edition({{2, "Quake"}});
    db.games[0].user_text = "mine";
    db.games[0].run = {"/q", "", ""};
    NotesFile file;
    file.games.push_back({2, {"Quake"}, "theirs", {"/other", "", ""}, false});
    const DateTime now = *make_datetime({2026, 12, 11, 6, 0, 0, 0});
    const NotesImport r = notes_import(db, file, CodePage::windows_1252, now);
    EXPECT_EQ(r.merged_notes, 1u);
    EXPECT_EQ(db.games[0].user_text, "mine\r\n\r\n--- 2026-12-11 ---\r\ntheirs");
    EXPECT_EQ(db.games[0].run.path, "/q"); // launch settings the user has stay
}

TEST(NotesFile, TextsTheCodePageCannotHoldAreRefusedWithTheirGame) {
    GameDatabase db = edition({{2, "Quake"}});
    NotesFile file;
    file.games.push_back({2, {"Quake"}, "\xC5\x82\xE2\x9C\x93 ok", {}, false}); // ł ✓
    file.games.push_back({0, {"Own \xE2\x9C\x93"}, "x", {}, true});
    file.games.push_back({0, {"Fine"}, "\xC3\xA9", {}, true}); // é is in Windows-1252
    const NotesImport r = notes_import(db, file, CodePage::windows_1252, {});
    ASSERT_EQ(r.refused.size(), 2u);
    EXPECT_EQ(r.refused[0].game, "Quake");
    EXPECT_EQ(r.refused[0].characters, "\xC5\x82 (U+0142), \xE2\x9C\x93 (U+2713)");
    EXPECT_EQ(r.refused[1].game, "Own \xE2\x9C\x93");
    EXPECT_EQ(db.games[0].user_text, "");
    ASSERT_EQ(db.games.size(), 2u);
    EXPECT_EQ(db.games[1].user_text, "\xE9");
}

TEST(NotesFile, HostileFilesAreRefusedWhole) {
    const std::string game = R"({"id": 2, "user_game": false, "names": ["Quake"], "text": "t", )"
                             R"("launch": {"path": "", "folder": "", "parameters": ""}})";
    const auto file = [](const std::string& games, const std::string& id = "\"PC\"") {
        return R"({"format": "trickvault-notes", "version": 1, "profile": {"id": )" + id +
               R"(, "name": "PC"}, "games": [)" + games + "]}";
    };
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string g = game;
        g.replace(g.find(from), from.size(), to);
        return file(g);
    };
    std::string many;
    for (int i = 0; i < 100000; ++i) many += (i ? "," : "") + game;
    const struct {
        std::string text, error_start;
    } cases[] = {
        {"not json", "the file is not valid JSON: line 1, column 1"},
        {file(game).substr(0, 80), "the file is not valid JSON"},
        {"[]", "the file is not a notes file"},
        {R"({"format": "other"})", "the file is not a notes file"},
        {R"({"format": "trickvault-notes", "version": 2})", "the file has format version 2"},
        {R"({"format": "trickvault-notes", "version": 1, "profile": {"id": "PC", "name": "PC"}, "games": {}})",
         "the file: \"games\" has the wrong type"},
        {file(game, "7"), "the profile: \"id\" has the wrong type"},
        {file("3"), "game 1 is not an object"},
        {with("\"id\": 2", "\"id\": \"2\""), "game 1: \"id\" has the wrong type"},
        {with("\"id\": 2", "\"id\": 2.5"), "game 1: \"id\" must be 0"},
        {with("\"id\": 2", "\"id\": -4"), "game 1: \"id\" must be 0"},
        {with("\"user_game\": false", "\"user_game\": 0"), "game 1: \"user_game\" has the wrong type"},
        {with("[\"Quake\"]", "[]"), "game 1: \"names\" is empty"},
        {with("[\"Quake\"]", "[\"" + std::string(40000, 'q') + "\", \"" + std::string(30000, 'q') + "\"]"),
         "game 1: the names are longer than 65535 bytes together"},
        {with("\"path\": \"\", \"folder\": \"\"",
              "\"path\": \"" + std::string(40000, 'p') + "\", \"folder\": \"" + std::string(30000, 'f') + "\""),
         "game 1: the launch settings are longer than 65531 bytes together"},
        {with("[\"Quake\"]", "[\"Qua\\u0007ke\"]"), "game 1: a name holds a control character"},
        {with("[\"Quake\"]", "[\"Qua\\nke\"]"), "game 1: a name holds a control character"},
        {with("[\"Quake\"]", "[\" \"]"), "game 1: a name is empty"},
        {with("[\"Quake\"]", "[1]"), "game 1: a name has the wrong type"},
        {with("\"text\": \"t\"", "\"text\": \"" + std::string(10 << 20, 'x') + "\""), "game 1: \"text\" is longer"},
        {with("\"text\": \"t\", ", ""), "game 1: \"text\" is missing"},
        {with("\"path\": \"\"", "\"path\": null"), "game 1: \"path\" has the wrong type"},
        {file(many), "the file holds 100000 games; a profile holds at most 32766"},
        {std::string(notes_file_bytes_max + 1, ' '), "the file is bigger than 32 MB"},
    };
    for (const auto& c : cases) {
        const NotesRead r = notes_read(c.text);
        EXPECT_FALSE(r.file) << c.error_start;
        EXPECT_TRUE(r.error.starts_with(c.error_start)) << r.error << "\n  expected: " << c.error_start;
    }
    EXPECT_TRUE(notes_read(file(game)).file);
    EXPECT_FALSE(notes_profile_matches(*notes_read(file(game, "\"XBOX\"")).file, pc()));
}

} // namespace
} // namespace tkv
