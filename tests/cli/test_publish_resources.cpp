// The writers of the server's resources, each against the bytes its format gives, and the ZIP
// writer against the program's own extraction.

#include "cli/publish_skin_catalogue.h"
#include "cli/publish_text_resources.h"
#include "cli/publish_update_resources.h"
#include "cli/zip_writer.h"
#include "shell/zip_extract.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tkv::cli {
namespace {

using namespace std::string_literals;

DateTime day(int year, int month, int d) {
    return *make_datetime({year, month, d});
}

TEST(PublishTextResources, CarryTheMarkerAndCrLfLines) {
    const struct {
        std::string written, expected;
    } cases[] = {
        {server_list_resource({"http://a.example/", "http://b.example/x/"}),
         ";Trickvault\r\nhttp://a.example/\r\nhttp://b.example/x/\r\n"},
        {version_resource("3.50"), ";Trickvault\r\nLatest Version=3.50\r\n"},
        {version_notes_resource("3.50", "+ one\r\n> two"),
         ";Trickvault\r\n[3.50]\r\n+ one\r\n> two\r\n[#END#]\r\n"},
        {profile_list_resource({}), ";Trickvault\r\n[#END#]\r\n"},
        {profile_list_resource({{"pc", "PC games", "Hungarian", 1536, day(2026, 12, 1)},
                                {"c64", "C64", "English", 0, day(1999, 1, 31)}}),
         ";Trickvault\r\n"
         "[pc]\r\nName=PC games\r\nLanguage=Hungarian\r\nSize=1536\r\nLast update=20261201\r\n"
         "[c64]\r\nName=C64\r\nLanguage=English\r\nSize=0\r\nLast update=19990131\r\n"
         "[#END#]\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.written, c.expected);
}

TEST(PublishUpdateResources, GameListHoldsPublisherGamesInAscendingIdAndEndsWithZero) {
    std::vector<GAMES2_ARRAY_TYPE> games(3);
    games[0].id = 9, games[0].revision = 1;
    games[1].id = -3, games[1].revision = 4; // the user's own game is not the publisher's
    games[2].id = 70000, games[2].revision = 7;
    games.push_back(games[0]);
    games.back().id = 5;
    EXPECT_EQ(game_list_resource(games), "\x15"
                                         "TRICKVAULT350GAMELIST"
                                         "\0\0\0\x05\0\0\0\x01"
                                         "\0\0\0\x09\0\0\0\x01"
                                         "\0\x01\x11\x70\0\0\0\x07"
                                         "\0\0\0\0"s);
    EXPECT_EQ(game_list_resource({}), "\x15TRICKVAULT350GAMELIST\0\0\0\0"s);
}

TEST(PublishUpdateResources, InformationTypesEndWithTwoZerosAndOneByte) {
    EXPECT_EQ(information_types_resource({{1, "Cheats"}, {200, "X"}}), "\x13"
                                                                       "TRICKVAULT350GAMEIT"
                                                                       "\x01\x06"
                                                                       "Cheats"
                                                                       "\xC8\x01"
                                                                       "X"
                                                                       "\0\0\0"s);
}

TEST(PublishUpdateResources, GameRecordKeepsTheBlockAndEndsWithOneByte) {
    GAMES2_ARRAY_TYPE game;
    game.id = 42;
    game.names = "A\r\nB";
    game.data = "BZh\0z"s;
    game.revision = 0x01020304;
    game.user_text = "never published";
    EXPECT_EQ(game_record_resource(game), "\x15"
                                          "TRICKVAULT350GAMEDATA"
                                          "\0\0\0\x2A"
                                          "\0\x04"
                                          "A\r\nB"
                                          "\0\0\0\x05"
                                          "BZh\0z"
                                          "\x01\x02\x03\x04"
                                          "\0"s);
    const std::pair<std::int32_t, const char*> names[] = {
        {42, "00042.dat"}, {1, "00001.dat"}, {99999, "99999.dat"}, {123456, "123456.dat"}};
    for (const auto& [id, name] : names)
        EXPECT_EQ(game_record_file_name(id), name);
}

TEST(PublishSkinCatalogue, KeyIsFourDigitsAndLowerCase) {
    EXPECT_EQ(skin_key(12, "Blue"), "0012_blue");
    EXPECT_EQ(skin_key(12345, "X.y"), "12345_x.y");
}

TEST(PublishSkinCatalogue, FieldsByTypeWithoutEmptyOnes) {
    SkinOffer blue;
    blue.number = 12;
    blue.file_name = "Blue";
    blue.size_kb = 3;
    blue.date = day(2024, 5, 6);
    blue.display_name = "Blue sky";
    blue.author_email = "a@b";
    blue.skin_version = "1.0";
    blue.program_version = "3.50";
    blue.rating = 401;
    blue.categories = "3,13";
    SkinOffer bare;
    bare.number = 13;
    bare.file_name = "x";
    bare.display_name = std::string(300, 'n'); // a field holds 255 bytes
    const std::string expected_blue = "\x15"
                                      "TRICKVAULT350SKINLIST"
                                      "\0\0\0\x0C"
                                      "\x01\x04"
                                      "Blue"
                                      "\x02\x01"
                                      "3"
                                      "\x03\x08"
                                      "20240506"
                                      "\x04\x08"
                                      "Blue sky"
                                      "\x06\x03"
                                      "a@b"
                                      "\x08\x03"
                                      "1.0"
                                      "\x09\x04"
                                      "3.50"
                                      "\x0A\x03"
                                      "401"
                                      "\x0B\x04"
                                      "3,13"
                                      "\0"s;
    const std::string expected_bare = "\0\0\0\x0D"
                                      "\x01\x01"
                                      "x"
                                      "\x02\x01"
                                      "0"
                                      "\x03\x08"
                                      "18991230"
                                      "\x04\xFF"s +
                                      std::string(255, 'n') + "\x0A\x01" + "0" + "\0"s;
    EXPECT_EQ(skin_catalogue_resource({blue, bare}), expected_blue + expected_bare + "\0\0\0\0"s);
}

class ZipWriter : public testing::Test {
  protected:
    test::TempDir dir;
};

TEST_F(ZipWriter, ProgramUnpacksWhatItWrote) {
    const std::string big(200000, 'q'); // beyond one read of the source
    const std::vector<ZipEntry> entries{{"demo/main.dat", dir.write("src/main.dat", big)},
                                        {"demo/files/empty.zip", dir.write("src/empty", "")},
                                        {"demo/files/a b.txt", dir.write("src/ab", "\r\nx\0"s)}};
    std::string error;
    ASSERT_TRUE(zip_write(dir.path("a.tkvp"), entries, error)) << error;
    EXPECT_TRUE(dir.read("a.tkvp").starts_with("PK\x03\x04"));
    const ZipExtractResult r = zip_extract(dir.path("a.tkvp"), dir.folder() + "out/", "*.*", {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.files, 3u);
    EXPECT_EQ(dir.read("out/demo/main.dat"), big);
    EXPECT_EQ(dir.read("out/demo/files/empty.zip"), "");
    EXPECT_EQ(dir.read("out/demo/files/a b.txt"), "\r\nx\0"s);
}

TEST_F(ZipWriter, FailuresLeaveNoArchiveAndKeepAnExistingOne) {
    std::string error;
    EXPECT_FALSE(zip_write(dir.path("a.zip"), {{"x", dir.path("missing")}}, error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path("a.zip")));

    dir.write("b.zip", "keep me");
    error.clear();
    EXPECT_FALSE(zip_write(dir.path("b.zip"), {{"x", dir.write("x", "x")}}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(dir.read("b.zip"), "keep me");
}

TEST_F(ZipWriter, FilesBelowAreRelativeSortedAndWithoutLinks) {
    dir.write("t/b.txt", "");
    dir.write("t/a/z.txt", "");
    dir.write("t/a/y/x.txt", "");
    std::filesystem::create_symlink("/etc/passwd", dir.path("t/link"));
    std::filesystem::create_directories(dir.path("t/empty"));
    const std::vector<std::string> expected{"a/y/x.txt", "a/z.txt", "b.txt"};
    EXPECT_EQ(files_below(dir.folder() + "t/"), expected);
    EXPECT_EQ(files_below(dir.path("t")), expected);
    EXPECT_FALSE(files_below(dir.path("missing")));
}

} // namespace
} // namespace tkv::cli
