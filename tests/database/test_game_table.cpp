#include "database/game_table.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

GameDatabase with_games(std::initializer_list<std::pair<std::int32_t, const char*>> games) {
    GameDatabase db;
    for (const auto& [id, names] : games)
        db.games.push_back({id, names, "", 0, "", {}});
    return db;
}

TEST(GameTable, NameLinesMatch) {
    const struct {
        const char* existing;
        const char* wanted;
        bool match;
    } cases[] = {
        {"Doom\r\nDoom II", "doom ii", true},
        {"Doom", "Doo", false},
        {"Doom", "x\r\nDOOM", true},
        {"Doom II", "Doom", false},
        {"Doom", "", false},
        {"", "", true},
        {"Doom\r\n", "", true}, // the empty last line
        {"Doom", "Doom\r\n", true},
        {"A\rB", "a\rb", true},                // a lone CR is part of the line
        {"\xC1rv\xEDz", "\xE1rv\xEDz", false}, // only A..Z are folded
    };
    for (const auto& c : cases)
        EXPECT_EQ(name_lines_match(c.existing, c.wanted), c.match) << c.existing << "|" << c.wanted;
}

TEST(GameTable, CheckIdExist) {
    GameDatabase db =
        with_games({{-2, "Quake"}, {7, "Doom"}, {-1, "quake\r\nQ1"}, {7, "Doom again"}, {-3, "Other"}});
    EXPECT_EQ(games_check_id_exist(db, 7, "anything"), 1);
    EXPECT_EQ(games_check_id_exist(db, 9, "QUAKE"), 2); // the last user game with the name
    EXPECT_EQ(games_check_id_exist(db, 9, "Doom"), -1); // publisher's games are no candidates
    // The walk stops at the id: candidates after it do not count.
    EXPECT_EQ(games_check_id_exist(db, -2, "Other"), 0);
}

TEST(GameTable, CheckNameExist) {
    GameDatabase db = with_games({{3, "Quake 2"}, {-1, "My game"}});
    EXPECT_TRUE(games_check_name_exist(db, "Quake\r\n Quake 2", 0));
    EXPECT_TRUE(games_check_name_exist(db, "  quake 2 \r\nx", 0));
    EXPECT_FALSE(games_check_name_exist(db, "Quake 2", 3)); // the game's own name
    EXPECT_TRUE(games_check_name_exist(db, "my game", 3));
    EXPECT_EQ(normalize_names(" a \r\n  \r\n b \r\n"), "a\r\n\r\nb");
}

TEST(GameTable, AddAndRemoveUserGames) {
    GameDatabase db = with_games({{5, "Pub"}});
    db.next_user_id = -1;
    ASSERT_TRUE(games_append_user_game(db, {0, "Mine", "", 0, "text", {}}));
    ASSERT_TRUE(games_append_user_game(db, {0, "Mine 2", "", 0, "", {}}));
    EXPECT_EQ(db.games[1].id, -1);
    EXPECT_EQ(db.games[2].id, -2);
    EXPECT_EQ(db.next_user_id, -3);

    EXPECT_FALSE(games_remove_user_game(db, 0)); // the publisher's game stays
    EXPECT_FALSE(games_remove_user_game(db, 9));
    EXPECT_TRUE(games_remove_user_game(db, 1)); // the last record moves into its place
    ASSERT_EQ(db.games.size(), 2u);
    EXPECT_EQ(db.games[1].names, "Mine 2");
    EXPECT_TRUE(games_remove_user_game(db, 1));
    EXPECT_EQ(db.games.size(), 1u);
}

TEST(GameTable, FullTableRefusesNewGames) {
    GameDatabase db;
    db.games.resize(games_max);
    EXPECT_TRUE(games_table_full(db));
    EXPECT_FALSE(games_append_user_game(db, {}));
    EXPECT_EQ(db.games.size(), games_max);
    EXPECT_EQ(db.next_user_id, -1);
}

} // namespace
} // namespace tkv
