#include "database/game_list.h"

#include <gtest/gtest.h>
#include <random>

namespace tkv {
namespace {

GameDatabase listed(std::initializer_list<std::pair<std::int32_t, const char*>> games, bool ignore_case) {
    GameDatabase db;
    for (const auto& [id, names] : games)
        db.games.push_back({id, names, "", 0, "", {}});
    u_progress_dat_list_build(db);
    u_progress_dat_list_sort(db, ignore_case);
    return db;
}

std::vector<std::string> names(const GameDatabase& db) {
    std::vector<std::string> out;
    for (const auto& r : db.game_list)
        out.push_back(r.name);
    return out;
}

TEST(GameList, OneRowPerNameLineAndGamesSortedById) {
    GameDatabase db =
        listed({{5, "Half-Life\r\nHL\r\nHalf Life"}, {-2, "Mine"}, {3, "Doom\r\n"}, {-7, "Newer"}}, true);
    EXPECT_EQ(db.games[0].id, -7);
    EXPECT_EQ(db.games[3].id, 5);
    EXPECT_EQ(names(db),
              (std::vector<std::string>{"", "Doom", "Half Life", "Half-Life", "HL", "Mine", "Newer"}));
    for (const auto& r : db.game_list) {
        if (r.name.starts_with("H")) {
            EXPECT_EQ(db.games[static_cast<std::size_t>(r.game_index)].id, 5);
        }
    }
}

TEST(GameList, CaseModes) {
    EXPECT_EQ(names(listed({{1, "doom"}, {2, "Doom 3"}, {3, "\xC1rv\xEDz"}, {4, "alpha"}}, true)),
              (std::vector<std::string>{"alpha", "doom", "Doom 3", "\xC1rv\xEDz"}));
    EXPECT_EQ(names(listed({{1, "doom"}, {2, "Doom 3"}, {3, "\xC1rv\xEDz"}, {4, "alpha"}}, false)),
              (std::vector<std::string>{"Doom 3", "alpha", "doom", "\xC1rv\xEDz"}));
}

TEST(GameList, SortsLargeAndHostileInputs) {
    std::mt19937 rng(7);
    GameDatabase db;
    for (int i = 0; i < 20000; ++i) {
        std::string n;
        for (int k = 0; k < 1 + static_cast<int>(rng() % 6); ++k)
            n += static_cast<char>("aAbB"[rng() % 4]);
        db.games.push_back({static_cast<std::int32_t>(rng() % 1000) - 500 + (i == 0), n, "", 0, "", {}});
    }
    u_progress_dat_list_build(db);
    u_progress_dat_list_sort(db, true);
    for (std::size_t i = 1; i < db.games.size(); ++i)
        ASSERT_LE(db.games[i - 1].id, db.games[i].id);
    for (std::size_t i = 1; i < db.game_list.size(); ++i)
        ASSERT_LE(u_progress_dat_list_sort_quick_lowercase(db.game_list[i - 1].name, true),
                  u_progress_dat_list_sort_quick_lowercase(db.game_list[i].name, true));
    // Already sorted and all-equal inputs must not recurse deeply.
    GameDatabase same;
    same.game_list.assign(game_list_max, {"x", 0});
    u_progress_dat_list_sort(same, false);
    EXPECT_EQ(same.game_list.size(), game_list_max);
}

TEST(GameList, RowsStopAtTheListLimit) {
    GameDatabase db;
    db.games.assign(20000, {1, "a\r\nb\r\nc\r\nd", "", 0, "", {}});
    u_progress_dat_list_build(db);
    EXPECT_EQ(db.game_list.size(), game_list_max);
}

TEST(GameList, QuickSearch) {
    const auto rows = listed({{1, "Quake"}, {2, "Quake 2"}, {3, "Quest"}, {4, "Doom"}}, true).game_list;
    const struct {
        const char* text;
        std::int32_t row;
        bool click;
        bool found; // the selected row begins with the whole text
    } cases[] = {
        {"qu", 1, true, true},     {"qz", 1, true, false},  {"quake 2", 2, true, true},
        {"QUEST", 3, true, true},  {"x", -1, true, false},  {"   ", 0, false, true},
        {"", 0, false, true},      {"doom ii", 0, true, false},
    };
    for (const auto& c : cases) {
        const QuickSearch s = search_gamename(rows, c.text);
        EXPECT_TRUE(s.change);
        EXPECT_EQ(s.row, c.row) << c.text;
        EXPECT_EQ(s.click, c.click) << c.text;
        EXPECT_EQ(quick_search_found(rows, s, c.text), c.found) << c.text;
    }
    EXPECT_FALSE(search_gamename({}, "q").change);
}

TEST(GameList, SubstringSearch) {
    const auto rows =
        listed({{1, "Half-Life\r\nHalf-Life GOTY"}, {2, "Life Force"}, {3, "Doom"}}, true).game_list;
    SubstringSearch s = search_substring(rows, "  LIFE \t");
    EXPECT_EQ(s.text, "life");
    ASSERT_EQ(s.rows.size(), 3u);
    EXPECT_EQ(rows[static_cast<std::size_t>(s.rows[0])].name, "Half-Life");
    EXPECT_TRUE(search_substring(rows, "   ").rows.empty());
    EXPECT_TRUE(search_substring(rows, "zzz").rows.empty());
}

} // namespace
} // namespace tkv
