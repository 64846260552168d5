#include "shell/text.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

using Edit = std::string (*)(std::string_view);

TEST(Text, SameStartAndEndCompareOverTheShorterText) {
    EXPECT_TRUE(same_start("/cd", "/c"));
    EXPECT_TRUE(same_start("/c", "/CD"));
    EXPECT_FALSE(same_start("/cd", ""));
    EXPECT_FALSE(same_start("", ""));
    EXPECT_FALSE(same_start("/cd", "/x"));
    EXPECT_TRUE(same_end(".tkvl", "L"));
    EXPECT_TRUE(same_end("L", "game.TKVL"));
    EXPECT_FALSE(same_end(".tkvl", ".tkvp"));
    EXPECT_FALSE(same_end("", "x"));
}

TEST(Text, CommonStartLengthFoldsAsciiOnly) {
    EXPECT_EQ(common_start_length("Doom", "dOOM 3"), 4u);
    EXPECT_EQ(common_start_length("abc", "xbc"), 0u);
    EXPECT_EQ(common_start_length("", "a"), 0u);
    EXPECT_EQ(common_start_length("\xC1", "\xE1"), 0u); // accented letters are not folded here
    EXPECT_EQ(ascii_lower_text("AbZ@[\xC1"), "abz@[\xC1");
}

TEST(Text, CuttingClampsCounts) {
    EXPECT_EQ(left_part("abc", 2), "ab");
    EXPECT_EQ(left_part("abc", 9), "abc");
    EXPECT_EQ(right_part("abc", 2), "bc");
    EXPECT_EQ(right_part("abc", 9), "abc");
    EXPECT_EQ(without_first("abc", 1), "bc");
    EXPECT_EQ(without_first("abc", 9), "");
    EXPECT_EQ(without_last("abc", 1), "ab");
    EXPECT_EQ(without_last("abc", 9), "");
}

TEST(Text, PartsAroundACharacter) {
    EXPECT_EQ(before_char("a=b=c", '='), "a");
    EXPECT_EQ(after_char("a=b=c", '='), "b=c");
    EXPECT_EQ(before_last_char("a=b=c", '='), "a=b");
    EXPECT_EQ(after_last_char("a=b=c", '='), "c");
    for (auto cut : {before_char, after_char, before_last_char, after_last_char})
        EXPECT_EQ(cut("abc", '='), "");
}

TEST(Text, Replacing) {
    EXPECT_EQ(replace_first("a-b-c", "-", "+"), "a+b-c");
    EXPECT_EQ(replace_first("abc", "-", "+"), "abc");
    // Scanning continues after the inserted text, so a repl holding find does not loop.
    EXPECT_EQ(replace_each("a-b-c", "-", "--"), "a--b--c");
    EXPECT_EQ(replace_each("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replace_each("Aa", "a", "x"), "Ax");
    EXPECT_EQ(replace_each("a    b", "  ", " "), "a  b");
    EXPECT_EQ(replace_until_gone("a    b", "  ", " "), "a b");
    for (auto replace : {replace_first, replace_each, replace_until_gone})
        EXPECT_EQ(replace("ab", "", "x"), "ab");
}

TEST(Text, Trimming) {
    struct Case {
        Edit trim;
        std::string in, out;
    };
    const Case cases[] = {
        {trim_spaces_left, "  a b  ", "a b  "},
        {trim_spaces_right, "  a b  ", "  a b"},
        {trim_spaces, " \r\n a ", "\r\n a"},
        {trim_crlf_left, "\r\n\r\n\na\r\n", "\na\r\n"},
        {trim_crlf_right, "\r\na\r\n\r\n\r", "\r\na\r\n\r\n\r"}, // only whole pairs
        {trim_crlf, "\r\n a \r\n", " a "},
        {trim_blank_left, " \r\n \r\na \r\n", "a \r\n"},
        {trim_blank_right, " a \r\n \r\n ", " a"},
        {trim_blank, " \r\n\ta\n ", "\ta\n"},
        {trim_controls, "\t\x01 a\x7F\xC1 \n", "a\x7F\xC1"},
        {trim_controls, " \r\n", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.trim(c.in), c.out) << c.in;
}

TEST(Text, LfToCrlfLeavesExistingPairs) {
    EXPECT_EQ(lf_to_crlf("\na\nb\r\nc\n\n\r"), "\r\na\r\nb\r\nc\r\n\r\n\r");
}

TEST(Text, WrapLines) {
    struct Case {
        std::string in;
        std::size_t width;
        std::string out;
    };
    const Case cases[] = {
        {"short", 10, "short"},
        {"hello world foo", 11, "hello world\r\nfoo"},
        {"one two\r\nthree", 5, "one\r\ntwo\r\nthree"},
        {"abcdefgh", 3, "abc\r\ndef\r\ngh"},
        {"ab   cd", 4, "ab  \r\ncd"}, // cut at the last space only; the rest loses its leading spaces
        {"a b\nc", 1, "a\r\nb\r\nc"},
        {"a\r\n\r\nb\r\n", 5, "a\r\n\r\nb"},
        {"", 5, ""},
        {"ab c", 0, "a\r\nb\r\nc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrap_lines(c.in, c.width), c.out) << c.in << " at " << c.width;
}

TEST(Text, CleanFileName) {
    EXPECT_EQ(clean_file_name(" a:b*?<>|\"/\\c\x01 .txt\t"), "abc .txt");
    EXPECT_EQ(clean_file_name("\x1F\xC1rv\xEDz\x1F"), "\xC1rv\xEDz");
}

TEST(Text, CaseTables) {
    EXPECT_EQ(lower_text("\xC1RV\xCDZ"), "\xE1rv\xEDz");
    EXPECT_EQ(upper_text("\xE1rv\xEDz \xF4"), "\xC1RV\xCDZ \xD5");
    EXPECT_EQ(lower_text("\x8F\x90\x8D\xA7"), "\xA0\x82\xA1\x93"); // CWI-2 capitals
    EXPECT_EQ(upper_char(244), 213);
    EXPECT_EQ(lower_char(200), 200);
    // Every letter the tables lower comes back through upper, and the reverse (but for 244).
    int lowered = 0, raised = 0;
    for (int c = 0; c < 256; ++c) {
        auto b = static_cast<unsigned char>(c);
        if (lower_char(b) != b) {
            ++lowered;
            EXPECT_EQ(upper_char(lower_char(b)), b) << c;
        }
        if (upper_char(b) != b) {
            ++raised;
            if (c != 244) {
                EXPECT_EQ(lower_char(upper_char(b)), b) << c;
            }
        }
    }
    EXPECT_EQ(lowered, 26 + 18);
    EXPECT_EQ(raised, 26 + 19);
}

TEST(Text, CodePageConversion) {
    const std::string ansi = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";
    const std::string dos = "\x8Frv\xA1zt\x96r\x93 t\x81k\x94rf\xA3r\xA2g\x82p";
    EXPECT_EQ(ansi_to_dos_text(ansi), dos);
    EXPECT_EQ(dos_to_ansi_text(dos), ansi);
    EXPECT_EQ(ansi_to_dos(244), 147);
    EXPECT_EQ(dos_to_ansi(147), 245);
    EXPECT_EQ(ansi_to_dos(143), 143);
    EXPECT_EQ(dos_to_ansi(193), 193);
}

} // namespace
} // namespace tkv
