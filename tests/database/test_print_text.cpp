#include "database/print_text.h"
#include "shell/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tkv {
namespace {

Captions english() {
    Captions c;
    captions_reset(c);
    return c;
}

const Captions captions = english();

// Game texts in Windows-1250: "\xF5" is "ő" there (and "õ" in the captions' Windows-1252).
GAMES2_TEMP_ARRAY_TYPE full_game() {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.title = "Abc";
    g.infos = {{"Cheats", "Press 1 2 3"}, {"Tipp\xF5", "Jump\r\nRun"}};
    g.files = {{"file://patch.zip", "1 KB", "Patch", "Fixes \xF5"}, {"http://x.example/f.zip", "", "", ""}};
    g.homepages = {{"http://x.example/", "Site", ""}, {"", "", "Only a description"}};
    g.user_text = "Mine";
    return g;
}

PrintTextSource source() {
    return {captions, CodePage::windows_1252, CodePage::windows_1250, "http://server.example/tkv/", "pc"};
}

PrintSelection only(bool info0, bool info1, bool files, bool homepages, bool user) {
    PrintSelection s;
    s.infos[0] = info0;
    s.infos[1] = info1;
    s.files = files;
    s.homepages = homepages;
    s.user = user;
    return s;
}

TEST(PrintText, BodyHoldsTheChosenPartsUnderUnderlinedTitles) {
    const std::string everything = "Cheats:\r\n-------\r\nPress 1 2 3\r\n\r\n"
                                   "Tipp\xC5\x91:\r\n------\r\nJump\r\nRun\r\n\r\n"
                                   "Files:\r\n------\r\n"
                                   "Name: Patch (1 KB)\r\n"
                                   "Address: http://server.example/tkv/profiles/pc/files/patch.zip\r\n"
                                   "Description: Fixes \xC5\x91\r\n\r\n"
                                   "Address: http://x.example/f.zip\r\n\r\n"
                                   "Homepages:\r\n----------\r\n"
                                   "Name: Site\r\nAddress: http://x.example/\r\n\r\n"
                                   "Description: Only a description\r\n\r\n"
                                   "User information:\r\n-----------------\r\n\r\nMine\r\n\r\n"
                                   "\r\n<< End of information >>";
    EXPECT_EQ(u_main_printinfo_infos(full_game(), {}, source()), everything);

    struct Case {
        const char* what;
        PrintSelection selection;
        std::string body;
    };
    const Case cases[] = {
        {"second entry", only(false, true, false, false, false),
         "Tipp\xC5\x91:\r\n------\r\nJump\r\nRun\r\n\r\n\r\n<< End of information >>"},
        {"user text", only(false, false, false, false, true),
         "User information:\r\n-----------------\r\n\r\nMine\r\n\r\n\r\n<< End of information >>"},
        {"nothing", only(false, false, false, false, false), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(u_main_printinfo_infos(full_game(), c.selection, source()), c.body) << c.what;
}

TEST(PrintText, PartsTheGameLacksPrintNothing) {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.title = "Empty";
    EXPECT_EQ(u_main_printinfo_infos(g, {}, source()), "");

    // More entries than flags: those without a flag are not printed.
    g.infos.assign(3, {"Cheats", "x"});
    PrintSelection two;
    two.infos = {false, true};
    EXPECT_EQ(u_main_printinfo_infos(g, two, source()), "Cheats:\r\n-------\r\nx\r\n\r\n\r\n<< End of information >>");
}

TEST(PrintText, OnlyTheFirstFileAddressOfTheProfileIsRewritten) {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.files = {{"file://a/file://b", "", "", ""}, {"FILE://c", "", "", ""}};
    EXPECT_EQ(u_main_printinfo_infos(g, only(false, false, true, false, false), source()),
              "Files:\r\n------\r\n"
              "Address: http://server.example/tkv/profiles/pc/files/a/file://b\r\n\r\n"
              "Address: FILE://c\r\n\r\n"
              "\r\n<< End of information >>");
}

TEST(PrintText, HeaderCountsThePrintedLinesAndCharacters) {
    const std::string body = u_main_printinfo_infos(full_game(), only(true, false, false, false, false), source());
    const std::vector<std::string> lines = split_lines(body);
    // "Cheats:" 7, "-------" 7, "Press 1 2 3" 11, "" 0, "" 0, the end line 24; each with CR LF.
    ASSERT_EQ(lines.size(), 6u);
    const std::vector<std::string> header =
        print_header(lines, {"Tipp\xC5\x91", "PC games", "12/01/26", "09:30"}, captions, CodePage::windows_1252);
    EXPECT_EQ(header, (std::vector<std::string>{"Name of the game: Tipp\xC5\x91 (PC games)",
                                                " Number of rows: 6 (61 characters)", "       Date: 12/01/26, 09:30",
                                                "  Created by: Trickvault (v3.50)"}));

    // Characters, not bytes: "ő" is one.
    EXPECT_EQ(print_header({"\xC5\x91"}, {}, captions, CodePage::windows_1252)[1], " Number of rows: 1 (3 characters)");
}

TEST(PrintText, FooterAndTheOptionOfPrintedParts) {
    EXPECT_EQ(print_footer(captions, CodePage::windows_1252), "{PAGESCOUNT} / {PAGESINDEX}. page");

    struct Case {
        const char* option;
        bool files, homepages, user;
    };
    const Case cases[] = {
        {"111", true, true, true}, {"010", false, true, false}, {"0x0", false, true, false},
        {"0", false, true, true},  {"", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        EXPECT_EQ(print_part_on(c.option, 0), c.files);
        EXPECT_EQ(print_part_on(c.option, 1), c.homepages);
        EXPECT_EQ(print_part_on(c.option, 2), c.user);
    }
    EXPECT_EQ(print_parts_option(true, false, true), "101");
    EXPECT_EQ(print_parts_option(false, true, false), "010");
}

} // namespace
} // namespace tkv
