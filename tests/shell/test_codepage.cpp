#include "shell/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tkv {
namespace {

TEST(CodePage, ChosenByLanguageName) {
    for (const char* name :
         {"Hungarian", "magyar", "Czech", "Polski", "Slovak", "Slovenian", "Croatian", "Romanian"})
        EXPECT_EQ(code_page_for_language(name), CodePage::windows_1250) << name;
    for (const char* name : {"English", "Deutsch", "French", "", "Espa\xF1ol"})
        EXPECT_EQ(code_page_for_language(name), CodePage::windows_1252) << name;
}

TEST(CodePage, SameByteDiffersBetweenPages) {
    // 0xF5 is o with double acute in 1250, o with tilde in 1252.
    EXPECT_EQ(to_utf8("\xF5", CodePage::windows_1250), "\xC5\x91");
    EXPECT_EQ(to_utf8("\xF5", CodePage::windows_1252), "\xC3\xB5");
    EXPECT_EQ(to_utf8("\x80 ok", CodePage::windows_1252), "\xE2\x82\xAC ok");
}

TEST(CodePage, UndefinedAndUnmappableCharacters) {
    EXPECT_EQ(to_utf8("a\x81z", CodePage::windows_1252), "a\xEF\xBF\xBDz");
    EXPECT_EQ(from_utf8("\xC5\x91", CodePage::windows_1250), "\xF5");
    EXPECT_EQ(from_utf8("a\xE4\xB8\xADz", CodePage::windows_1252), "a?z"); // a CJK letter
    EXPECT_EQ(from_utf8("a\xFFz\xC3", CodePage::windows_1252), "a?z?");    // broken UTF-8
}

// Exactly the characters from_utf8 would turn into "?", each once, in order.
TEST(CodePage, CharactersThePageCannotHold) {
    using List = std::vector<std::string>;
    const struct {
        const char* utf8;
        CodePage cp;
        List missing;
    } cases[] = {
        {"Zzz Test \u0142\u00f3d\u017a \u2713 \u0142", CodePage::windows_1252, {"\u0142", "\u017a", "\u2713"}},
        {"Zzz Test \u0142\u00f3d\u017a \u2713 \u0142", CodePage::windows_1250, {"\u2713"}},
        {"\u20ac \u00e9 \u0151", CodePage::windows_1250, {}},
        {"\u20ac \u00e9 \u0151 \U0001F600", CodePage::windows_1252, {"\u0151", "\U0001F600"}},
        {"a\xFFz\xC3", CodePage::windows_1252, {"\xFF", "\xC3"}}, // broken UTF-8
        {"", CodePage::windows_1252, {}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(characters_not_in(k.utf8, k.cp), k.missing) << k.utf8;
        std::string unmarked = from_utf8(k.utf8, k.cp);
        EXPECT_EQ(std::count(unmarked.begin(), unmarked.end(), '?') > 0, !k.missing.empty()) << k.utf8;
    }
    EXPECT_EQ(character_list({"\u0142", "\u2713", "\U0001F600", "\xFF"}),
              "\u0142 (U+0142), \u2713 (U+2713), \U0001F600 (U+1F600), 0xFF");
}

TEST(CodePage, RoundTripOfEveryDefinedByte) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const std::string back = from_utf8(to_utf8(all, CodePage::windows_1250), CodePage::windows_1250);
    ASSERT_EQ(back.size(), all.size());
    int differ = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        differ += back[i] != all[i];
    EXPECT_LE(differ, 5); // only the bytes 1250 leaves undefined come back as "?"
}

} // namespace
} // namespace tkv
