// Installing the skins of an unpacked archive from its staging folder.

#include <gtest/gtest.h>

#include <filesystem>

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

    EXPECT_EQ(install_unpacked_skins(staging, skins), 1u);
    EXPECT_EQ(dir.read("skins/0001_ocean/main.jpg"), "new picture");
    EXPECT_EQ(dir.read("skins/0001_ocean/kept.txt"), "the user's");
    EXPECT_TRUE(std::filesystem::exists(skins + "0001_ocean/skin.ini"));
    EXPECT_FALSE(std::filesystem::exists(skins + "_preview"));
    EXPECT_FALSE(std::filesystem::exists(skins + "notes"));
    EXPECT_FALSE(std::filesystem::exists(skins + "loose.ini"));
    EXPECT_FALSE(std::filesystem::exists(staging));

    // An archive that held no skin installs nothing.
    dir.write("skins/.unpacking-x/readme.txt", "text");
    EXPECT_EQ(install_unpacked_skins(skins + ".unpacking-x/", skins), 0u);
    EXPECT_FALSE(std::filesystem::exists(skins + ".unpacking-x"));
}

} // namespace
} // namespace tkv
