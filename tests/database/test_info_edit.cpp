#include "database/info_edit.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(InfoEdit, NamesShownOnOneLineAndReadBack) {
    EXPECT_EQ(name_text_of_names("a\r\nb\r\nc"), "a; b; c");
    EXPECT_EQ(name_text_of_names("Doom"), "Doom");

    const struct {
        const char* typed;
        const char* names;
    } cases[] = {
        {"x ;y; ; z", "x\r\ny\r\nz"},
        {"a; b; c", "a\r\nb\r\nc"},       // what the field shows comes back unchanged
        {"  Doom  ", "Doom"},             // blanks at both ends
        {"a  ;;;  b", "a\r\nb"},          // runs of blanks and empty names
        {";x;", "x"},                     // empty names at both ends
        {"Space  Quest", "Space  Quest"}, // blanks inside a name stay
        {" ; ;", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names_of_name_text(c.typed), c.names) << c.typed;
}

TEST(InfoEdit, UserTextLosesLeadingEmptyLinesAndTrailingBlanks) {
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {
        {"\r\n\r\n  hint\r\n", "  hint"},
        {"line 1\r\n\r\nline 3 \r\n \r\n", "line 1\r\n\r\nline 3"},
        {"  \r\nhint", "  \r\nhint"}, // a line of blanks is not empty
        {"\r\n \r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trim_user_text(c.typed), c.kept) << c.typed;
}

TEST(InfoEdit, UserGameTextsNeedANameATextAndFreeNames) {
    GameDatabase db;
    db.games.push_back({3, "Quake 2\r\nQ2", "", 0, "", {}});
    db.games.push_back({-1, "My game", "", 0, "notes", {}});
    db.games.push_back({7, "Ends in an empty name\r\n", "", 0, "", {}});
    const struct {
        std::int32_t id;
        const char* name;
        const char* text;
        NameCheck result;
    } cases[] = {
        {-2, "", "notes", NameCheck::incomplete},
        {-2, " ; ", "notes", NameCheck::incomplete},
        {-2, "New game", " \r\n ", NameCheck::incomplete},
        {-2, "New game", "notes", NameCheck::ok},
        {-2, "New; q2", "notes", NameCheck::taken}, // any name, letter case ignored
        {-2, "my GAME", "notes", NameCheck::taken},
        {-1, "My game; Sequel", "notes", NameCheck::ok}, // its own name does not count
        {-1, "x;;y", "notes", NameCheck::ok},            // checked as stored: no empty name to match
    };
    for (const auto& c : cases)
        EXPECT_EQ(check_user_game_texts(db, c.id, c.name, c.text), c.result) << c.id << " " << c.name;
}

TEST(InfoEdit, AUserChangeIsCountedForUserDatAndDatedAsItsKindSays) {
    const DateTime now{45'000'000'000};
    const struct {
        UserChange kind;
        bool dated;
        bool cheat_added;
    } cases[] = {
        {UserChange::launch_settings, false, false},
        {UserChange::game_text, true, true},
        {UserChange::game_removed, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        CHANGE_TRACKING changes;
        changes.change_count = 2;
        PROFILES_TYPE profile;
        profile.user_date = DateTime{7};
        record_user_change(changes, c.kind, &profile, now);
        EXPECT_EQ(changes.change_count, 3);
        EXPECT_TRUE(changes.user_changed);
        EXPECT_FALSE(changes.main_changed);
        EXPECT_EQ(changes.cheat_added, c.cheat_added);
        EXPECT_EQ(profile.user_date, c.dated ? now : DateTime{7});

        // Without an open profile only the dating is left out; a cheat added earlier in the run stays.
        CHANGE_TRACKING again;
        again.cheat_added = true;
        record_user_change(again, c.kind, nullptr, now);
        EXPECT_EQ(again.change_count, 1);
        EXPECT_TRUE(again.user_changed);
        EXPECT_TRUE(again.cheat_added);
    }
}

TEST(InfoEdit, ForgettingLaunchSettingsEmptiesOnlyThatGamesAndCountsTheChange) {
    for (const std::int32_t index : {0, 1, -1, 2}) {
        SCOPED_TRACE(index);
        GameDatabase db;
        db.games.push_back({3, "Quake 2", "", 0, "", {"/games/q2", "/games/", "+map base1"}});
        db.games.push_back({-1, "My game", "", 0, "notes", {"/games/mine", "/games/", ""}});
        CHANGE_TRACKING changes;
        changes.change_count = 1;
        forget_launch_settings(db, index, changes);
        EXPECT_EQ(db.games[0].run == GAMES2_RUN_TYPE{}, index == 0);
        EXPECT_EQ(db.games[1].run == GAMES2_RUN_TYPE{}, index == 1);
        EXPECT_EQ(db.games[1].user_text, "notes");
        EXPECT_EQ(changes.change_count, 2);
        EXPECT_TRUE(changes.user_changed);
        EXPECT_FALSE(changes.cheat_added);
    }
}

} // namespace
} // namespace tkv
