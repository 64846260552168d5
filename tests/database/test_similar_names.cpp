#include "database/game_list.h"
#include "database/similar_names.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(SimilarNames, FoldsCaseAccentsAndApostrophes) {
    EXPECT_EQ(fold_name("\xC1rv\xEDzt\xFBr\xF5 T\xDCK\xD6RF\xDAR\xD3G\xC9P", CodePage::windows_1250),
              "arvizturo tukorfurogep");
    EXPECT_EQ(fold_name("Stra\xDF"
                        "e \xC6on Assassin's Creed \x92"
                        "97",
                        CodePage::windows_1252),
              "strasse aeon assassins creed 97");
    EXPECT_EQ(fold_name("Half-Life: 2\xD7\x81", CodePage::windows_1252), "half life  2  ");
}

// Each case: the typed text; names that must be among the similar names, in this order; names
// that must not be.
TEST(SimilarNames, Rules) {
    const std::vector<std::string> names{"Grand Theft Auto: San Andreas",
                                         "Grand Theft Auto: Vice City",
                                         "Star Wars: Knights of the Old Republic",
                                         "Star Wars: Battlefront",
                                         "Final Fantasy VII",
                                         "Final Fantasy VIII",
                                         "The Legend of Zelda",
                                         "The Legend of Zelda: Ocarina of Time",
                                         "Zelad Legends",
                                         "Half-Life",
                                         "Half-Life 2",
                                         "Pok\xE9mon Red Version",
                                         "Doom II: Hell on Earth",
                                         "Age of Empires II",
                                         "Assassin's Creed",
                                         "StarCraft",
                                         "Heroes of Might and Magic 3",
                                         "\xC6on Flux",
                                         "Mega Man X"};
    std::vector<GAMELIST2_ARRAY_TYPE> rows;
    for (const auto& n : names)
        rows.push_back({n, static_cast<std::int32_t>(rows.size())});
    const SimilarNames similar(rows, CodePage::windows_1252);

    const struct {
        const char* typed;
        std::vector<std::string> found, absent;
    } cases[] = {
        // Letter case and accents.
        {"pokemon", {"Pok\xE9mon Red Version"}, {}},
        {"POK\xC9MON red", {"Pok\xE9mon Red Version"}, {}},
        {"aeon flux", {"\xC6on Flux"}, {}},
        // Every word anywhere; exact words, then longer names, then typos.
        {"zelda legend",
         {"The Legend of Zelda", "The Legend of Zelda: Ocarina of Time", "Zelad Legends"},
         {}},
        {"zeld legend", {"The Legend of Zelda", "The Legend of Zelda: Ocarina of Time"}, {}},
        {"zelda 2", {}, {"The Legend of Zelda", "The Legend of Zelda: Ocarina of Time"}},
        // Initials and short forms.
        {"gta sa", {"Grand Theft Auto: San Andreas"}, {"Grand Theft Auto: Vice City"}},
        {"gta vc", {"Grand Theft Auto: Vice City"}, {"Grand Theft Auto: San Andreas"}},
        {"kotor", {"Star Wars: Knights of the Old Republic"}, {"Star Wars: Battlefront"}},
        {"kor", {"Star Wars: Knights of the Old Republic"}, {}},
        {"ff7", {"Final Fantasy VII"}, {"Final Fantasy VIII"}},
        {"ffvii", {"Final Fantasy VII"}, {"Final Fantasy VIII"}},
        {"homm3", {"Heroes of Might and Magic 3"}, {}},
        {"aoe 2", {"Age of Empires II"}, {}},
        // Numbers in Arabic and Roman numerals.
        {"final fantasy 7", {"Final Fantasy VII"}, {"Final Fantasy VIII"}},
        {"doom 2", {"Doom II: Hell on Earth"}, {}},
        {"heroes iii", {"Heroes of Might and Magic 3"}, {}},
        {"mega man 10", {"Mega Man X"}, {}},
        {"half life ii", {"Half-Life 2"}, {"Half-Life"}},
        // Words joined or split.
        {"halflife", {"Half-Life", "Half-Life 2"}, {}},
        {"assassins creed", {"Assassin's Creed"}, {}},
        {"star craft", {"StarCraft"}, {"Star Wars: Battlefront", "Star Wars: Knights of the Old Republic"}},
        // Typos: one in words up to five letters, two in longer ones, none in numbers.
        {"zelad", {"The Legend of Zelda", "The Legend of Zelda: Ocarina of Time"}, {}},
        {"half lfe", {"Half-Life", "Half-Life 2"}, {}},
        {"fnial fantsy", {"Final Fantasy VII", "Final Fantasy VIII"}, {}},
        {"lzeda", {}, {"The Legend of Zelda"}},
        {"doom 3", {}, {"Doom II: Hell on Earth"}},
        {"xyz", {}, {"Mega Man X"}},
        {" - ", {}, {}},
    };
    for (const auto& c : cases) {
        const SubstringSearch shown = search_substring(rows, c.typed);
        const std::vector<std::int32_t> found = similar.find(c.typed, shown.rows);
        std::vector<std::string> found_names;
        for (const std::int32_t r : found) {
            ASSERT_GE(r, 0);
            ASSERT_LT(static_cast<std::size_t>(r), names.size());
            EXPECT_EQ(std::count(shown.rows.begin(), shown.rows.end(), r), 0) << c.typed << ": " << names[r];
            EXPECT_EQ(std::count(found.begin(), found.end(), r), 1) << c.typed << ": " << names[r];
            found_names.push_back(names[static_cast<std::size_t>(r)]);
        }
        auto at = found_names.begin();
        for (const auto& name : c.found) {
            at = std::find(at, found_names.end(), name);
            EXPECT_NE(at, found_names.end()) << c.typed << " should find, in order: " << name;
        }
        for (const auto& name : c.absent)
            EXPECT_EQ(std::count(found_names.begin(), found_names.end(), name), 0) << c.typed << ": " << name;
    }
    // What the substring search shows stays out: "zelad" is part of one name already.
    EXPECT_EQ(similar.find("zelad", search_substring(rows, "zelad").rows), (std::vector<std::int32_t>{6, 7}));
    EXPECT_TRUE(similar.find("a b c d e f g h i j k l m", {}).empty()); // more than words_max words
    EXPECT_TRUE(SimilarNames().find("zelda", {}).empty());
}

} // namespace
} // namespace tkv
