// The upgrade's server files, the comparison walk and the merge rules.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "internet/upgrade.h"
#include "shell/numbers.h"
// The publisher's writers of the same files (tkv_cli is not linked into this test).
#include "cli/publish_update_resources.cpp"

namespace tkv {
namespace {

std::string i32(std::int32_t n) {
    return bytes_of_u32(static_cast<std::uint32_t>(n));
}

// list.tkv after its name, as download_string2 hands it over.
std::string list_body(const std::vector<GAMES2_ARRAY_TYPE>& games) {
    return cli::game_list_resource(games).substr(1 + game_list_resource_name.size());
}

GAMES2_ARRAY_TYPE game(std::int32_t id, std::int32_t revision, std::string names = "Game") {
    return {id, std::move(names), "", revision, "", {}};
}

std::vector<std::tuple<std::int32_t, std::int32_t, bool>>
flat(const std::vector<UPDATE_LIST_ENTRY>& entries) {
    std::vector<std::tuple<std::int32_t, std::int32_t, bool>> out;
    for (const auto& e : entries)
        out.emplace_back(e.id, e.revision, e.wanted);
    return out;
}

TEST(UpgradeAddresses, ProfileFolderAndPaddedRecordNames) {
    EXPECT_EQ(profile_resource_address("http://s/", "pc", "list.tkv"), "http://s/profiles/pc/list.tkv");
    EXPECT_EQ(game_record_path(42), "information/00042.dat");
    EXPECT_EQ(game_record_path(123456), "information/123456.dat");
    EXPECT_EQ(game_record_path(42), "information/" + cli::game_record_file_name(42));
}

TEST(UpdateList, PairsEndAtANonPositiveIdOrAnIncompletePair) {
    using Pairs = std::vector<std::tuple<std::int32_t, std::int32_t, bool>>;
    const std::tuple<std::string, Pairs> cases[] = {
        {list_body({game(5, 7), game(9, 1)}), {{5, 7, false}, {9, 1, false}}},
        {i32(5) + i32(7) + i32(-3) + i32(9) + i32(1), {{5, 7, false}}},
        {i32(5) + i32(7) + i32(-1) + i32(9) + i32(1), {{5, 7, false}}},       // an id of 0xFFFFFFFF
        {i32(5) + i32(7) + i32(9), {{5, 7, false}}},                          // a last id without revision
        {i32(5) + i32(7) + i32(9) + std::string("\0\0", 2), {{5, 7, false}}}, // a revision cut short
        {std::string("\0\0", 2), {}},
        {"", {}},
    };
    for (const auto& [body, pairs] : cases)
        EXPECT_EQ(flat(parse_update_list(body)), pairs);
}

TEST(UpdateList, PairsBeyondTheLimitAreLeftOut) {
    std::vector<GAMES2_ARRAY_TYPE> games;
    for (std::int32_t id = 1; id <= 40000; ++id)
        games.push_back(game(id, 1));
    const std::vector<UPDATE_LIST_ENTRY> entries = parse_update_list(list_body(games));
    ASSERT_EQ(entries.size(), update_list_max);
    EXPECT_EQ(entries.back().id, static_cast<std::int32_t>(update_list_max));
}

TEST(Comparison, WantsMissingGamesAndOtherRevisions) {
    struct Case {
        std::vector<GAMES2_ARRAY_TYPE> table; // sorted by id, user games first
        std::vector<GAMES2_ARRAY_TYPE> server;
        std::vector<bool> wanted;
    };
    const Case cases[] = {
        {{game(5, 7), game(8, 1)}, {game(5, 7), game(9, 1)}, {false, true}},
        {{game(5, 7)}, {game(5, 8)}, {true}},
        {{}, {game(1, 1), game(2, 1)}, {true, true}},
        {{game(-2, 0), game(-1, 0), game(3, 4), game(10, 2)},
         {game(1, 1), game(3, 4), game(10, 2), game(11, 1)},
         {true, false, false, true}},
        {{game(3, 4)}, {game(1, 1), game(2, 1)}, {true, true}},
    };
    for (const Case& c : cases) {
        std::vector<UPDATE_LIST_ENTRY> entries = parse_update_list(list_body(c.server));
        std::size_t expected_count = 0;
        std::vector<bool> wanted;
        const std::size_t count = mark_wanted_games(entries, c.table);
        for (const auto& e : entries)
            wanted.push_back(e.wanted);
        for (const bool w : c.wanted)
            expected_count += w ? 1 : 0;
        EXPECT_EQ(wanted, c.wanted);
        EXPECT_EQ(count, expected_count);
    }
}

TEST(Comparison, ReportsRoundedProgressBeforeEachEntry) {
    std::vector<UPDATE_LIST_ENTRY> entries(3, UPDATE_LIST_ENTRY{1, 1, false});
    std::vector<int> seen;
    mark_wanted_games(entries, {}, [&](int percent) { seen.push_back(percent); });
    EXPECT_EQ(seen, (std::vector<int>{0, 33, 67}));
}

TEST(InformationTypes, AValidFileReplacesTheTable) {
    GameDatabase db;
    db.info_types = {{1, "Old"}, {2, "Older"}, {3, "Oldest"}};
    const std::vector<INFO_TYPE_ENTRY> types = {{7, "Cheat codes"}, {9, ""}, {12, "Walkthrough"}};
    ASSERT_TRUE(update_information_types(db, cli::information_types_resource(types)));
    ASSERT_EQ(db.info_types.size(), 3u);
    EXPECT_EQ(db.info_types[0].type_number, 7);
    EXPECT_EQ(db.info_types[1].type_name, "");
    EXPECT_EQ(db.info_types[2].type_name, "Walkthrough");

    std::vector<INFO_TYPE_ENTRY> many;
    for (int i = 0; i < 300; ++i)
        many.push_back({static_cast<std::uint8_t>(i % 256), "T" + std::to_string(i)});
    ASSERT_TRUE(update_information_types(db, cli::information_types_resource(many)));
    ASSERT_EQ(db.info_types.size(), info_types_max);
    EXPECT_EQ(db.info_types.back().type_name, "T254");
}

TEST(InformationTypes, MalformedFilesChangeNothing) {
    const std::string good = cli::information_types_resource({{7, "Cheat codes"}});
    std::string wrong_name = good;
    wrong_name[1] = 't'; // the name is compared exactly
    const std::string cases[] = {
        good.substr(0, good.size() - 1), // no byte after the end mark
        good + "x",                      // two bytes after it
        good.substr(0, 25),              // a name cut short
        good.substr(0, 20),              // only the header
        good.substr(0, 20) + bytes_of_u16(0xFFFF) + "abc" + bytes_of_u16(0) + "x", // a name of 255 bytes
        wrong_name,
        cli::information_types_resource({}), // no entry at all
        "",
    };
    for (const std::string& file : cases) {
        GameDatabase db;
        db.info_types = {{1, "Kept"}};
        EXPECT_FALSE(update_information_types(db, file));
        ASSERT_EQ(db.info_types.size(), 1u);
        EXPECT_EQ(db.info_types[0].type_name, "Kept");
    }
}

TEST(GameRecord, ReadsTheFieldsOfAWholeFile) {
    const GAMES2_ARRAY_TYPE g{42, "Doom\r\nDoom II", std::string("BZh9\0\x01\x02", 7), 3, "", {}};
    const std::optional<GAMES2_ARRAY_TYPE> r = parse_game_record(cli::game_record_resource(g));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->id, 42);
    EXPECT_EQ(r->names, g.names);
    EXPECT_EQ(r->data, g.data);
    EXPECT_EQ(r->revision, 3);
}

TEST(GameRecord, RefusesMalformedFiles) {
    const std::string good = cli::game_record_resource({42, "Doom", "data", 3, "", {}});
    std::string wrong_name = good;
    wrong_name[5] = 'v';
    // Lengths that claim more than the file holds, or a negative data length.
    const std::string header = good.substr(0, 22);
    const std::string huge_names =
        header + i32(42) + bytes_of_u16(60000) + "Doom" + i32(4) + "data" + i32(3) + "x";
    const std::string huge_data =
        header + i32(42) + bytes_of_u16(4) + "Doom" + i32(0x7fffffff) + "data" + i32(3) + "x";
    const std::string negative_data =
        header + i32(42) + bytes_of_u16(4) + "Doom" + i32(-4) + "data" + i32(3) + "x";
    const std::string all_ones_data = // 0xFFFFFFFF
        header + i32(42) + bytes_of_u16(4) + "Doom" + i32(-1) + "data" + i32(3) + "x";
    const std::string all_ones_names =
        header + i32(42) + bytes_of_u16(0xFFFF) + "Doom" + i32(4) + "data" + i32(3) + "x";
    const std::string cases[] = {
        good + "x",                      // two trailing bytes
        good.substr(0, good.size() - 1), // none
        good.substr(0, good.size() - 3), // revision cut short
        wrong_name,
        huge_names,
        huge_data,
        negative_data,
        all_ones_data,
        all_ones_names,
        cli::game_record_resource({0, "Zero", "", 1, "", {}}),
        cli::game_record_resource({-5, "Mine", "", 1, "", {}}),
        "",
    };
    for (const std::string& file : cases)
        EXPECT_FALSE(parse_game_record(file)) << testing::PrintToString(file);
}

TEST(Merge, ReplacesTakesOverOrAppends) {
    GameDatabase db;
    db.games = {{-1, "My Doom\r\ndoom", "", 0, "my notes", {"doom.exe", "/g", "-x"}},
                {7, "Quake", "old", 1, "quake notes", {"quake.exe", "", ""}}};
    CHANGE_TRACKING changes;

    EXPECT_EQ(merge_game_record(db, changes, {7, "Quake I", "new", 2, "ignored", {"x", "", ""}}, 1),
              MergeResult::replaced);
    EXPECT_EQ(db.games[1].names, "Quake I");
    EXPECT_EQ(db.games[1].data, "new");
    EXPECT_EQ(db.games[1].revision, 2);
    EXPECT_EQ(db.games[1].user_text, "quake notes");
    EXPECT_EQ(db.games[1].run.path, "quake.exe");

    EXPECT_EQ(merge_game_record(db, changes, {42, "DOOM", "block", 5, "", {}}, 0), MergeResult::taken_over);
    EXPECT_EQ(db.games[0].id, 42);
    EXPECT_EQ(db.games[0].names, "DOOM");
    EXPECT_EQ(db.games[0].user_text, "my notes");
    EXPECT_EQ(db.games[0].run, (GAMES2_RUN_TYPE{"doom.exe", "/g", "-x"}));

    EXPECT_EQ(merge_game_record(db, changes, {50, "Heretic", "b", 1, "stray", {"h", "", ""}}, -1),
              MergeResult::appended);
    ASSERT_EQ(db.games.size(), 3u);
    EXPECT_EQ(db.games[2].id, 50);
    EXPECT_EQ(db.games[2].user_text, "");
    EXPECT_EQ(db.games[2].run, GAMES2_RUN_TYPE{});

    EXPECT_EQ(changes.change_count, 3);
    EXPECT_TRUE(changes.main_changed);
    EXPECT_TRUE(changes.user_changed);
}

TEST(Merge, AFullTableDropsNewRecordsButStillReplaces) {
    GameDatabase db;
    for (std::int32_t id = 1; id <= static_cast<std::int32_t>(games_max); ++id)
        db.games.push_back(game(id, 1));
    CHANGE_TRACKING changes;
    EXPECT_EQ(merge_game_record(db, changes, game(40000, 1, "New"), -1), MergeResult::dropped);
    EXPECT_EQ(db.games.size(), games_max);
    EXPECT_EQ(changes.change_count, 1);
    EXPECT_TRUE(changes.main_changed && changes.user_changed);
    EXPECT_EQ(merge_game_record(db, changes, game(3, 9, "Renamed"), 2), MergeResult::replaced);
    EXPECT_EQ(db.games[2].names, "Renamed");
}

} // namespace
} // namespace tkv
