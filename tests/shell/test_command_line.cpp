#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

VARIABLES_PROGRAM parsed(std::vector<std::string> args, std::vector<std::string> existing = {}) {
    VARIABLES_PROGRAM v;
    v.current_folder = "/home/anna/";
    parse_command_line(v, args, [&](const std::string& p) {
        return std::find(existing.begin(), existing.end(), p) != existing.end();
    });
    return v;
}

TEST(CommandLine, Switches) {
    for (const char* arg : {"/c", "/CD", "/cdrom"})
        EXPECT_TRUE(parsed({arg}).run_from_cd) << arg;
    const VARIABLES_PROGRAM slash = parsed({"/"});
    EXPECT_TRUE(slash.run_from_cd && slash.uninstall && slash.manager_only);
    const VARIABLES_PROGRAM root = parsed({"/"}, {"/"}); // on Linux "/" is the root folder
    EXPECT_FALSE(root.run_from_cd || root.uninstall || root.manager_only);
    EXPECT_EQ(slash.start_profile, "");
    EXPECT_FALSE(parsed({""}).run_from_cd);
    EXPECT_FALSE(parsed({"cd"}).run_from_cd);

    const VARIABLES_PROGRAM v = parsed({"/profile=abc", "/game=Doom", "/profile=def", "/SKIN=blue"});
    EXPECT_EQ(v.start_profile, "def");
    EXPECT_EQ(v.start_game, "Doom");
    EXPECT_EQ(v.start_skin, "blue");
    EXPECT_EQ(parsed({"/game=x"}).start_game, ""); // without a profile
}

TEST(CommandLine, FileArguments) {
    const VARIABLES_PROGRAM v = parsed({"pack.TKVS", "/tmp/a.tkvl", "first.tkvp", "sub/second.tkvp"});
    EXPECT_EQ(v.skin_file_arg, "/home/anna/pack.TKVS");
    EXPECT_EQ(v.language_file_arg, "/tmp/a.tkvl");
    EXPECT_EQ(v.profile_file_arg, "sub/second.tkvp"); // the last one; a path keeps its folder
}

TEST(CommandLine, PathsAreNeverSwitches) {
    const VARIABLES_PROGRAM v = parsed({"/cdrom/skins/x.tkvs", "/media/data"}, {"/media/data"});
    EXPECT_FALSE(v.run_from_cd);
    EXPECT_FALSE(v.manager_only);
    EXPECT_EQ(v.skin_file_arg, "/cdrom/skins/x.tkvs");
    EXPECT_TRUE(parsed({"/m"}).manager_only);
    EXPECT_FALSE(parsed({"/m"}, {"/m"}).manager_only); // an existing folder named /m
}

TEST(CommandLine, KeepsElevenArguments) {
    std::vector<std::string> args(15, "x");
    args[14] = "/manager";
    EXPECT_EQ(parsed(args).arguments.size(), arguments_max);
    EXPECT_FALSE(parsed(args).manager_only);
}

} // namespace
} // namespace tkv
