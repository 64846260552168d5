#include "database/dat_fixtures.h"
#include "database/database_files.h"
#include "database/open_database.h"
#include "database/record_codec.h"
#include "shell/files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tkv {
namespace {

using namespace test;

PROFILES_TYPE pc_profile() {
    PROFILES_TYPE p;
    p.id = "pc";
    p.name = "PC games";
    p.language = "English";
    p.main_date = parse_datetime(date_text);
    p.user_date = parse_datetime(date_text);
    return p;
}

struct Loaded {
    GameDatabase db;
    PROFILES_TYPE profile = pc_profile();
    DatReadReport main, user;
};

Loaded load(const TempDir& dir, const std::string& main_bytes, const std::string& user_bytes) {
    Loaded l;
    DateTime date;
    l.main = u_progress_dat_load_main(l.db, dir.write("main.dat", main_bytes), date);
    l.user = u_progress_dat_load_user(l.db, dir.write("user.dat", user_bytes), l.profile);
    return l;
}

TEST(DatabaseFiles, EmptyDatabaseBytes) {
    TempDir dir;
    GameDatabase db;
    PROFILES_TYPE p = pc_profile();
    p.last_game = "Doom";
    ASSERT_TRUE(u_progress_dat_save_main(db, p, dir.path("main.dat"), true));
    ASSERT_TRUE(u_progress_dat_save_user(db, p, dir.path("user.dat"), true));
    EXPECT_EQ(dir.read("main.dat"),
              header("TRICKVAULT350GAMEPROFILE") + std::string(2, '\0') + std::string(5, '\0'));
    EXPECT_EQ(dir.read("user.dat"), header("TRICKVAULT350USERPROFILE") + t16("Doom") + std::string(3, '\0'));
}

TEST(DatabaseFiles, LoadAndSaveRoundTripByteForByte) {
    const std::string main_bytes =
        main_dat({{1, "Cheats"}, {2, "Hints"}},
                 {{10, "Doom\r\nDoom I", "BZh-not-expanded-here", 3}, {20, "Quake", "", 1}});
    const std::string user_bytes =
        user_dat("Doom I", {{"Doom\r\nDoom I", 10, "my text", "doom.exe\r\n/games\r\n-warp 1"},
                            {"Mine", 0, "own game"}});
    TempDir dir;
    Loaded l = load(dir, main_bytes, user_bytes);
    EXPECT_TRUE(l.main.magic_ok && l.user.magic_ok);
    EXPECT_TRUE(l.main.problems.empty() && l.user.problems.empty());
    ASSERT_EQ(l.db.info_types.size(), 2u);
    EXPECT_EQ(l.db.info_types[1].type_number, 2);
    EXPECT_EQ(l.db.info_types[1].type_name, "Hints");
    ASSERT_EQ(l.db.games.size(), 3u);
    EXPECT_EQ(l.db.games[0].data, "BZh-not-expanded-here");
    EXPECT_EQ(l.db.games[0].revision, 3);
    EXPECT_EQ(l.db.games[0].user_text, "my text");
    EXPECT_EQ(l.db.games[0].run.parameters, "-warp 1");
    EXPECT_EQ(l.db.games[2].id, -1);
    EXPECT_EQ(l.db.next_user_id, -2);
    EXPECT_EQ(l.profile.last_game, "Doom I");

    ASSERT_TRUE(u_progress_dat_save_main(l.db, l.profile, dir.path("main2.dat"), true));
    ASSERT_TRUE(u_progress_dat_save_user(l.db, l.profile, dir.path("user2.dat"), true));
    EXPECT_EQ(dir.read("main2.dat"), main_bytes);
    EXPECT_EQ(dir.read("user2.dat"), user_bytes);
}

TEST(DatabaseFiles, UserRecordsAttachByIdThenByName) {
    const std::string main_bytes = main_dat({}, {{1, "Alpha"}, {2, "Beta\r\nB2"}, {3, "beta"}, {4, "Gamma"}});
    TempDir dir;
    Loaded l = load(dir, main_bytes,
                    user_dat("", {
                                     {"Alpha", 1, "by id"},
                                     {"Renamed", 4, "id fits, names do not: new user game"},
                                     {"BETA", 9, "renumbered: the last game with the name"},
                                     {"b2", 0, "no id: by name"},
                                     {"Gone", 0, "no match: user game"},
                                     {"Gone", 0, "again: user games are no candidates, so another one"},
                                 }));
    const auto& g = l.db.games;
    ASSERT_EQ(g.size(), 7u);
    EXPECT_EQ(g[0].user_text, "by id");
    EXPECT_EQ(g[1].user_text, "no id: by name");
    EXPECT_EQ(g[2].user_text, "renumbered: the last game with the name");
    EXPECT_EQ(g[3].user_text, "");
    EXPECT_EQ(g[4].names, "Renamed");
    EXPECT_EQ(g[4].id, -1);
    EXPECT_EQ(g[5].names, "Gone");
    EXPECT_EQ(g[5].id, -2);
    EXPECT_EQ(g[6].id, -3);
    // The id decides first: a match by id ends the search even if a later game has the name.
    GameDatabase db;
    db.games = {{5, "Same", "", 0, "", {}}, {6, "Same", "", 0, "", {}}};
    u_progress_dat_load_user_add_data(db, {5, "same", "", 0, "x", {}});
    EXPECT_EQ(db.games[0].user_text, "x");
    EXPECT_EQ(db.games[1].user_text, "");
}

TEST(DatabaseFiles, UserGameSurvivesARoundTripAsAUserGame) {
    TempDir dir;
    Loaded l = load(dir, main_dat({}, {{1, "Alpha"}}), user_dat("", {}));
    l.db.games.push_back({-1, "Mine", "", 0, "notes", {}});
    l.db.games.push_back({-2, "Empty", "", 0, "", {}}); // nothing to keep: not written
    l.db.games.push_back({-3, "Runnable", "", 0, "", {"/usr/games/x", "", ""}});
    ASSERT_TRUE(u_progress_dat_save_user(l.db, l.profile, dir.path("user.dat"), true));
    EXPECT_EQ(dir.read("user.dat"),
              user_dat("", {{"Mine", 0, "notes"}, {"Runnable", 0, "", "/usr/games/x\r\n\r\n"}}));

    // Next start: a publisher's game named "Mine" has appeared and takes the text.
    Loaded again = load(dir, main_dat({}, {{1, "Alpha"}, {2, "mine"}}), dir.read("user.dat"));
    EXPECT_EQ(again.db.games[1].user_text, "notes");
    EXPECT_EQ(again.db.games.size(), 3u);
}

TEST(DatabaseFiles, GameWithEmptyNamesIsNotWrittenToUserDat) {
    TempDir dir;
    GameDatabase db;
    db.games = {{-1, "", "", 0, "lost anyway", {}}, {-2, "Kept", "", 0, "kept", {}}};
    ASSERT_TRUE(u_progress_dat_save_user(db, pc_profile(), dir.path("user.dat"), true));
    GameDatabase back;
    PROFILES_TYPE p;
    u_progress_dat_load_user(back, dir.path("user.dat"), p);
    ASSERT_EQ(back.games.size(), 1u);
    EXPECT_EQ(back.games[0].user_text, "kept");
}

TEST(DatabaseFiles, TableLimits) {
    std::vector<std::pair<int, std::string>> types;
    for (int i = 0; i < 300; ++i)
        types.emplace_back(i % 255 + 1, "T" + std::to_string(i));
    std::vector<MainGame> games;
    for (int i = 1; i <= 40000; ++i)
        games.push_back({i, "G" + std::to_string(i)});
    TempDir dir;
    Loaded l = load(dir, main_dat(types, games), user_dat("", {{"New", 0, "dropped: table full"}}));
    EXPECT_EQ(l.db.info_types.size(), 255u);
    EXPECT_EQ(l.db.info_types.back().type_name, "T254");
    EXPECT_EQ(l.main.types, 300u);
    EXPECT_EQ(l.db.games.size(), games_max);
    EXPECT_EQ(l.db.games.back().id, 32766);
    EXPECT_EQ(l.main.records_beyond_limit, 40000u - games_max);
    EXPECT_TRUE(l.main.problems.empty());
    EXPECT_EQ(l.user.records_beyond_limit, 1u);
}

TEST(DatabaseFiles, EveryTruncationKeepsCompleteRecordsOnly) {
    const std::string main_bytes = main_dat({{1, "Cheats"}}, {{1, "One", "data1"}, {2, "Two", "data2"}});
    const std::string user_bytes = user_dat("x", {{"One", 1, "t1"}, {"Two", 2, "t2"}});
    TempDir dir;
    for (std::size_t n = 0; n < main_bytes.size(); ++n) {
        Loaded l = load(dir, main_bytes.substr(0, n), "");
        EXPECT_FALSE(l.main.problems.empty()) << n;
        for (const auto& g : l.db.games)
            EXPECT_EQ(g.data, "data" + std::to_string(g.id)) << n;
    }
    for (std::size_t n = 0; n < user_bytes.size(); ++n) {
        Loaded l = load(dir, main_bytes, user_bytes.substr(0, n));
        EXPECT_EQ(l.db.games.size(), 2u) << n;
        for (const auto& g : l.db.games)
            EXPECT_TRUE(g.user_text.empty() || g.user_text == "t" + std::to_string(g.id)) << n;
    }
}

TEST(DatabaseFiles, HostileLengthsAndMissingFiles) {
    TempDir dir;
    // Each length claims more than a tiny file holds, or is negative as a signed length; the
    // complete record before it stays and nothing else is read.
    const std::string main_start =
        header("TRICKVAULT350GAMEPROFILE") + u16(0) + main_game({1, "Kept", "data"});
    const std::string main_cases[] = {
        main_start + u32(2) + t16("A") + u32(0x7FFFFFF0) + "abc", // data of 2 GiB
        main_start + u32(2) + t16("A") + u32(0xFFFFFFF0) + "abc", // negative data lengths
        main_start + u32(2) + t16("A") + u32(0xFFFFFFFF) + "abc",
        main_start + u32(2) + u16(0xFFFF) + "abc", // names
    };
    for (const std::string& bytes : main_cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        Loaded l = load(dir, bytes, "");
        ASSERT_EQ(l.db.games.size(), 1u);
        EXPECT_EQ(l.db.games[0].data, "data");
        EXPECT_EQ(l.main.records, 1u);
        EXPECT_FALSE(l.main.problems.empty());
    }
    const std::string user_start =
        header("TRICKVAULT350USERPROFILE") + t16("") + t16("Kept") + u32(1) + t32("kept") + t16("\r\n\r\n");
    const std::string user_cases[] = {
        user_start + u16(0xFFFF) + "abc",                            // names
        user_start + t16("Kept") + u32(1) + u32(0xFFFFFFFF) + "abc", // user text
        user_start + t16("Kept") + u32(1) + u32(0x7FFFFFF0) + "abc",
        user_start + t16("Kept") + u32(1) + t32("lost") + u16(0xFFFF) + "abc", // launch text
    };
    for (const std::string& bytes : user_cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        Loaded l = load(dir, main_dat({}, {{1, "Kept"}}), bytes);
        ASSERT_EQ(l.db.games.size(), 1u);
        EXPECT_EQ(l.db.games[0].user_text, "kept");
        EXPECT_EQ(l.user.records, 1u);
        EXPECT_FALSE(l.user.problems.empty());
    }
    // The last game's name.
    const Loaded last =
        load(dir, main_dat({}, {{1, "Kept"}}), header("TRICKVAULT350USERPROFILE") + u16(0xFFFF) + "abc");
    EXPECT_EQ(last.user.records, 0u);
    EXPECT_FALSE(last.user.problems.empty());

    GameDatabase db;
    DateTime date;
    PROFILES_TYPE p;
    EXPECT_FALSE(u_progress_dat_load_main(db, dir.path("none.dat"), date).opened);
    EXPECT_FALSE(u_progress_dat_load_user(db, dir.path("none.dat"), p).opened);
    EXPECT_EQ(db.next_user_id, -1);
}

TEST(DatabaseFiles, SaveGuardsAndFailures) {
    TempDir dir;
    GameDatabase db;
    const std::string path = dir.write("main.dat", "old");
    EXPECT_FALSE(u_progress_dat_save_main(db, pc_profile(), path, false)); // unchanged: not written
    EXPECT_EQ(dir.read("main.dat"), "old");
    EXPECT_TRUE(u_progress_dat_save_main(db, pc_profile(), dir.path("new.dat"), false)); // missing: written

    // A path that cannot be replaced (a folder) fails and leaves no temporary file behind.
    dir.write("folder.dat/keep", "x");
    EXPECT_FALSE(u_progress_dat_save_user(db, pc_profile(), dir.path("folder.dat"), true));
    EXPECT_EQ(dir.read("folder.dat/keep"), "x");
    EXPECT_EQ(folder_list_files(dir.folder(), ".*").size(), 0u);
    EXPECT_FALSE(u_progress_dat_save_main(db, pc_profile(), dir.path("no/such/main.dat"), true));
}

TEST(DatabaseFiles, OverlongTextsAreCutToTheirFields) {
    TempDir dir;
    GameDatabase db;
    db.games = {{1, std::string(70000, 'n'), "", 0, "", {}}};
    PROFILES_TYPE p = pc_profile();
    p.name = std::string(300, 'x');
    ASSERT_TRUE(u_progress_dat_save_main(db, p, dir.path("main.dat"), true));
    GameDatabase back;
    DateTime date;
    const DatReadReport r = u_progress_dat_load_main(back, dir.path("main.dat"), date);
    EXPECT_TRUE(r.problems.empty());
    ASSERT_EQ(back.games.size(), 1u);
    EXPECT_EQ(back.games[0].names.size(), 65535u);
}

TEST(DatabaseFiles, ProgressReportsEachGame) {
    TempDir dir;
    GameDatabase db;
    db.games = {{1, "a", "", 0, "", {}}, {2, "b", "", 0, "", {}}, {3, "c", "", 0, "", {}}};
    std::vector<int> seen;
    u_progress_dat_save_main(db, pc_profile(), dir.path("m.dat"), true, [&](int p) { seen.push_back(p); });
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 33, 67}));
}

// Opening reports a rising percentage, many steps while main.dat is read and 100 at the end, also
// when main.dat breaks off; the table is the one an open without progress gives.
TEST(DatabaseFiles, OpenProgressRisesToAHundred) {
    std::vector<MainGame> games;
    for (int id = 1; id <= 200; ++id) games.push_back({id, "Game " + std::to_string(id), std::string(500, 'x')});
    const std::string sound = main_dat({{1, "Cheats"}}, games);
    for (const std::string& main_bytes : {sound, sound.substr(0, sound.size() / 2)}) {
        TempDir dir;
        const std::string main_path = dir.write("main.dat", main_bytes);
        const std::string user_path = dir.write("user.dat", user_dat("", {{"Mine", 0, "own game"}}));
        std::vector<int> seen;
        GameDatabase db, quiet;
        CHANGE_TRACKING changes;
        PROFILES_TYPE profile = pc_profile();
        database_open(db, changes, profile, main_path, user_path, true, [&](int p) { seen.push_back(p); });
        database_open(quiet, changes, profile, main_path, user_path, true);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), 100);
        EXPECT_GT(std::set<int>(seen.begin(), seen.end()).size(), 20u) << "main.dat of " << main_bytes.size();
        EXPECT_EQ(db.games.size(), quiet.games.size());
        EXPECT_EQ(db.game_list.size(), quiet.game_list.size());
    }
}

} // namespace
} // namespace tkv

namespace tkv {
namespace {

// Damaged copies of sound files: whatever the bytes, loading and expanding stay within the tables
// (the sanitizer build turns any stray read into a failure).
TEST(DatabaseFiles, MutatedFilesNeverBreakTheReaders) {
    const std::string block = block_compress(block_encode({{1, "", "GOD - god mode"}, {0, "Tips", "Jump."}},
                                                          {{"http://x.example/a.zip", "1 KB", "A", "d"}},
                                                          {{"http://x.example/", "Home", "d"}}));
    const std::string main_bytes =
        test::main_dat({{1, "Cheats"}}, {{1, "One\r\nUno", block}, {2, "Two", block}});
    const std::string user_bytes = test::user_dat("One", {{"One", 1, "t1", "a\r\nb\r\nc"}, {"Mine", 0, "m"}});
    test::TempDir dir;
    std::uint32_t state = 12345;
    const auto next = [&] { return state = state * 1103515245u + 12345u; };
    for (int round = 0; round < 400; ++round) {
        std::string m = main_bytes, u = user_bytes;
        std::string& target = round % 2 ? m : u;
        for (int k = 0; k < 1 + round % 5; ++k)
            target[next() % target.size()] = static_cast<char>(next() >> 8);
        if (round % 7 == 0) target.resize(next() % target.size());
        GameDatabase db;
        DateTime date;
        PROFILES_TYPE p;
        u_progress_dat_load_main(db, dir.write("m.dat", m), date);
        u_progress_dat_load_user(db, dir.write("u.dat", u), p);
        ASSERT_LE(db.games.size(), games_max);
        ASSERT_LE(db.info_types.size(), info_types_max);
        for (std::size_t i = 0; i < db.games.size(); ++i) {
            GAMES2_TEMP_ARRAY_TYPE g;
            games_uncompress_data(db, static_cast<std::int32_t>(i), false, g);
            ASSERT_LE(g.infos.size(), expanded_list_max);
        }
    }
}

} // namespace
} // namespace tkv

namespace tkv {
namespace {

// Names that repeat one common line many times must cost one lookup, not one per repetition.
TEST(DatabaseFiles, RepeatedNameLinesMergeCheaply) {
    std::vector<test::MainGame> games;
    for (int i = 1; i <= static_cast<int>(games_max); ++i)
        games.push_back({i, "a"});
    std::string names = "a";
    for (int i = 0; i < 21000; ++i)
        names += "\r\na";
    test::TempDir dir;
    GameDatabase db;
    DateTime date;
    PROFILES_TYPE p;
    u_progress_dat_load_main(db, dir.write("m.dat", test::main_dat({}, games)), date);
    u_progress_dat_load_user(db, dir.write("u.dat", test::user_dat("", {{names, 0, "text"}})), p);
    EXPECT_EQ(db.games.back().user_text, "text"); // the last game with the name
}

} // namespace
} // namespace tkv
