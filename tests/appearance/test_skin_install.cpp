// Installing the skins of an unpacked archive from its staging folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "appearance/skin_install.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

TEST(SkinInstall, OnlyWholeSkinsMoveAndStagingGoes) {
    test::TempDir dir;
    const std::string skins = dir.folder() + "skins/";
    const std::string staging = skin_staging_folder(skins, "0001_ocean");
    EXPECT_EQ(staging, skins + ".unpacking-0001_ocean/");
    dir.write("skins/0001_ocean/kept.txt", "the user's");
    dir.write("skins/0001_ocean/main.jpg", "old picture");
    dir.write("skins/.unpacking-0001_ocean/0001_ocean/skin.ini", "[skin]");
    dir.write("skins/.unpacking-0001_ocean/0001_ocean/main.jpg", "new picture");
    dir.write("skins/.unpacking-0001_ocean/_preview/skin.ini", "[skin]");  // the program's own folder
    dir.write("skins/.unpacking-0001_ocean/notes/readme.txt", "not a skin");
    dir.write("skins/.unpacking-0001_ocean/loose.ini", "a file beside the folders");

    EXPECT_EQ(install_unpacked_skins(staging, skins), std::vector<std::string>{"0001_ocean"});
    EXPECT_EQ(dir.read("skins/0001_ocean/main.jpg"), "new picture");
    EXPECT_EQ(dir.read("skins/0001_ocean/kept.txt"), "the user's");
    EXPECT_TRUE(std::filesystem::exists(skins + "0001_ocean/skin.ini"));
    EXPECT_FALSE(std::filesystem::exists(skins + "_preview"));
    EXPECT_FALSE(std::filesystem::exists(skins + "notes"));
    EXPECT_FALSE(std::filesystem::exists(skins + "loose.ini"));
    EXPECT_FALSE(std::filesystem::exists(staging));

    // An archive that held no skin installs nothing.
    dir.write("skins/.unpacking-x/readme.txt", "text");
    EXPECT_EQ(install_unpacked_skins(skins + ".unpacking-x/", skins), std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(skins + ".unpacking-x"));
}

TEST(SkinInstall, NothingInTheSkinsFolderIsDeletedToMakeRoom) {
    test::TempDir dir;
    const std::string skins = dir.folder() + "skins/";
    dir.write("skins/neon", "a file of the user's");
    std::filesystem::create_directories(dir.path("elsewhere"));
    std::filesystem::create_directory_symlink(dir.path("elsewhere"), dir.path("skins/linked"));
    for (const char* name : {"neon", "linked", "wave"})
        dir.write(std::string("skins/.unpacking-k/") + name + "/skin.ini", "[skin]");

    EXPECT_EQ(install_unpacked_skins(skins + ".unpacking-k/", skins), std::vector<std::string>{"wave"});
    EXPECT_EQ(dir.read("skins/neon"), "a file of the user's");
    EXPECT_FALSE(std::filesystem::exists(dir.path("elsewhere/skin.ini"))) << "never written through a link";
    EXPECT_FALSE(std::filesystem::exists(skins + ".unpacking-k"));
}

TEST(SkinInstall, TheChoiceIsTheSkinNamedLikeTheArchiveElseTheFirst) {
    const struct {
        std::vector<std::string> installed;
        const char* archive;
        const char* chosen;
    } cases[] = {
        {{"neon2"}, "/home/u/Downloads/neon2 (1).tkvs", "neon2"},
        {{"a", "b"}, "b.tkvs", "b"},
        {{"a", "b"}, "B.tkvs", "a"}, // another name on a case-sensitive system
        {{}, "neon2.tkvs", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(installed_skin_choice(c.installed, c.archive), c.chosen) << c.archive;
}

} // namespace
} // namespace tkv
