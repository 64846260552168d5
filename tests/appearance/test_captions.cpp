#include "appearance/captions.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

struct FormatCase {
    const char* text;
    std::initializer_list<std::string_view> values;
    const char* expected;
};

TEST(Captions, Format) {
    const FormatCase cases[] = {
        {"%1 - %2", {"Trickvault"}, "Trickvault - "},
        {"100%% sure", {}, "100% sure"},
        {"%%1", {"x"}, "%1"},
        {"%1", {"%2"}, "%2"},
        {"%3%2%1", {"a", "b", "c"}, "cba"},
        {"%5 and %6", {"1", "2", "3", "4", "5"}, "5 and %6"},
        {"ends with %", {}, "ends with %"},
        {"%%R", {}, "%R"},
        {"", {"x"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(caption_format(c.text, c.values), c.expected) << c.text;
}

TEST(Captions, ExpandBreaks) {
    Captions t;
    const std::pair<const char*, const char*> cases[] = {
        {"one%Rtwo%rthree", "one\r\ntwo\r\nthree"},
        {"%%R stays", "%%R stays"},
        {"%%%R", "%%\r\n"},
        {"%R", "\r\n"},
        {"100%", "100%"},
    };
    for (const auto& [in, out] : cases) {
        t[7] = in;
        captions_expand_breaks(t, 7);
        EXPECT_EQ(t[7], out) << in;
    }
    captions_expand_breaks(t, 1001); // outside the table: nothing happens
}

TEST(Captions, ResetFillsDefaultsPlaceholdersAndTitles) {
    Captions t;
    t[1] = "changed";
    captions_reset(t);
    EXPECT_EQ(t[0], "CAPTIONS[0]");
    EXPECT_EQ(t[1], "&Ok");
    EXPECT_EQ(t[783], "CAPTIONS[783]");
    EXPECT_EQ(t[801], "No game is selected. Select a game in the list first!"); // a later built-in text
    EXPECT_EQ(t[999], "CAPTIONS[999]");
    EXPECT_EQ(t[1000], "");
    EXPECT_EQ(t[560], "Trickvault - Error!");
    EXPECT_EQ(t[563], "Trickvault - Information");
    EXPECT_EQ(t[20], "%1 (v%2)");
    // "%R" is expanded once, when the table is filled.
    EXPECT_NE(t[621].find("viewed\r\n%2"), std::string::npos);
}

TEST(Captions, WithoutAltS) {
    EXPECT_EQ(without_alt_s("&Save file"), "Save file");
    EXPECT_EQ(without_alt_s("Sav&e database"), "Sav&e database");
    EXPECT_EQ(without_alt_s("Sea&rch &s"), "Sea&rch s");
    EXPECT_EQ(without_alt_s("Options &"), "Options &");
}

} // namespace
} // namespace tkv
