#include "shell/files.h"
#include "shell/version_cleanup.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(VersionCleanup, MovesMailAddressesAndRemovesOldFiles) {
    test::TempDir dir;
    dir.write("informations/emails.txt", "a@example.org");
    dir.write("informations/servers.txt", "x");
    dir.write("informations/versions.txt", "x");
    dir.write("tkv.log", "x");
    dir.write("information/keep.txt", "x");
    version_initialization(dir.folder());
    EXPECT_EQ(dir.read("information/emails.txt"), "a@example.org");
    EXPECT_FALSE(folder_exists(dir.path("informations")));
    EXPECT_FALSE(file_exists(dir.path("tkv.log")));
    EXPECT_TRUE(file_exists(dir.path("information/keep.txt")));
}

TEST(VersionCleanup, ForeignFilesKeepTheOldFolder) {
    test::TempDir dir;
    dir.write("informations/mine.txt", "x");
    version_initialization(dir.folder()); // nothing to move: failures are ignored
    EXPECT_TRUE(file_exists(dir.path("informations/mine.txt")));
}

} // namespace
} // namespace tkv
