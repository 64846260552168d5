#include "shell/folders.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace tkv {
namespace {

using test::ScopedEnv;

TEST(Folders, ProgramFolderFromTheEnvironment) {
    ScopedEnv home("TRICKVAULT_HOME", "/srv/tv");
    EXPECT_EQ(get_program_folder(), "/srv/tv/");
}

TEST(Folders, ProgramFolderIsTheExecutablesWhenWritable) {
    ScopedEnv home("TRICKVAULT_HOME", nullptr);
    ASSERT_FALSE(executable_folder().empty());
    EXPECT_EQ(get_program_folder(), executable_folder()); // the build folder is writable
}

TEST(Folders, AnInstalledProgramSeedsOnlyAFolderThatDoesNotExistYet) {
    test::TempDir dir;
    dir.write("share/profiles/demo/main.dat", "demo");
    dir.write("share/languages/english.html", "help");
    const std::string data = dir.path("share/");
    const std::string program_folder = dir.path("home/.local/share/trickvault/");

    EXPECT_FALSE(seed_program_folder(program_folder, "")); // run from the build folder: no data
    // A copy cut short earlier left only its staging folder: the next start seeds afresh.
    dir.write("home/.local/share/trickvault.seeding-AbC123/profiles/x", "half");
    ASSERT_TRUE(seed_program_folder(program_folder, data));
    EXPECT_EQ(dir.read("home/.local/share/trickvault/profiles/demo/main.dat"), "demo");
    EXPECT_EQ(dir.read("home/.local/share/trickvault/languages/english.html"), "help");

    // From then on the folder is the user's: what they removed stays removed.
    std::filesystem::remove_all(dir.path("home/.local/share/trickvault/profiles/demo"));
    EXPECT_FALSE(seed_program_folder(program_folder, data));
    EXPECT_FALSE(std::filesystem::exists(dir.path("home/.local/share/trickvault/profiles/demo")));
}

TEST(Folders, ConfigurationFolderFollowsXdg) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(get_windows_folder(), "/tmp/cfg/trickvault/");
    }
    ScopedEnv config("XDG_CONFIG_HOME", "relative/is/ignored");
    ScopedEnv user_home("HOME", "/home/anna");
    EXPECT_EQ(get_windows_folder(), "/home/anna/.config/trickvault/");
}

TEST(Folders, CurrentFolderAndOwner) {
    EXPECT_TRUE(get_current_folder().ends_with("/"));
    EXPECT_FALSE(owner_name().empty());
}

} // namespace
} // namespace tkv
