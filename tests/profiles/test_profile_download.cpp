// The server's list of profiles: parsing, filtering and the order offered.

#include <gtest/gtest.h>

#include "profiles/profile_download.h"

namespace tkv {
namespace {

const char* const list_text =
    "; comment line\r\n"
    "Name=Before any section\r\n"
    "[GBA]\r\n"
    "Name = Game Boy Advance\r\n"
    "LANGUAGE=English\r\n"
    "Size=1536\r\n"
    "Last update=20260314\r\n"
    "[psx]\r\n"
    "Name=PlayStation\r\n"
    "Size=lots\r\n"
    "[N64]\r\n"
    "Name=Nintendo 64\r\n"
    "Language=Deutsch\r\n"
    "Size=2560\r\n"
    "[pc]\r\n"
    "Name=PC games\r\n"
    "Language=English\r\n"
    // The id names the archive and the profile's folder: these would leave profiles/.
    "[../up]\r\nName=Escape\r\nLanguage=English\r\n"
    "[a\\b]\r\nName=Back\r\nLanguage=English\r\n"
    "[..]\r\nName=Dots\r\nLanguage=English\r\n"
    "[#end#]\r\n"
    "[late]\r\n"
    "Name=After the end\r\n"
    "Language=English\r\n";

TEST(ProfileDownload, ParsesEntriesUntilTheEndSection) {
    const auto list = profiles_new_parser(list_text);
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0].id, "gba");
    EXPECT_EQ(list[0].name, "Game Boy Advance");
    EXPECT_EQ(list[0].language, "English");
    EXPECT_EQ(list[0].size, 1536);
    EXPECT_EQ(format_date(list[0].last_update), "20260314");
    EXPECT_EQ(list[1].size, 0) << "not a number";
    EXPECT_TRUE(list[1].language.empty());
    EXPECT_EQ(list[3].id, "pc");
}

TEST(ProfileDownload, OffersOnlyCompleteEntriesNotInstalledSortedByLanguageAndName) {
    Captions captions;
    captions_reset(captions);
    ProfileTable installed;
    installed.profiles.push_back({"pc-folder", "PC", "PC games", "English", {}, {}, ""});
    auto list = profiles_new_parser(list_text);
    profiles_new_check_valid(list, installed);
    profiles_new_sort(list, captions);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(profiles_new_row(list[0], captions), "Deutsch - Nintendo 64");
    EXPECT_EQ(profiles_new_row(list[1], captions), "English - Game Boy Advance");
}

TEST(ProfileDownload, KilobytesRoundHalvesToEven) {
    EXPECT_EQ(profile_archive_kilobytes(1536), 2);
    EXPECT_EQ(profile_archive_kilobytes(2560), 2);
    EXPECT_EQ(profile_archive_kilobytes(1600), 2);
    EXPECT_EQ(profile_archive_kilobytes(500), 0);
}

TEST(ProfileDownload, ALongListKeepsItsLimit) {
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "[p" + std::to_string(i) + "]\r\nName=P\r\nLanguage=English\r\n";
    EXPECT_EQ(profiles_new_parser(text).size(), downpros_max);
}

} // namespace
} // namespace tkv
