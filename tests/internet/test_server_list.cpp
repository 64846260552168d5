#include "internet/server_list.h"
#include "shell/publisher.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(ServerList, ValidAddresses) {
    const std::pair<const char*, bool> cases[] = {
        {"http://a.example/", true}, {"HTTP://A.EXAMPLE/x/", true}, {"http://", false},
        {"http://x", false},         {"https://a.example/", false}, {"ftp://a.example/", false},
        {"http:/a.example/", false},
    };
    for (const auto& [line, valid] : cases)
        EXPECT_EQ(valid_server_address(line), valid) << line;
}

TEST(ServerList, LoadKeepsValidLinesUpToTheLimit) {
    test::TempDir dir;
    std::string text = "; comment\r\n  http://one.example/  \r\nhttp://bad\r\n\r\nhttp://two.example/tv/\n";
    for (int i = 0; i < 120; ++i)
        text += "http://m" + std::to_string(i) + ".example/\r\n";
    dir.write("information/servers.txt", text);
    const auto servers = servers_load(dir.folder());
    ASSERT_EQ(servers.size(), servers_max);
    EXPECT_EQ(servers[0], "http://one.example/");
    EXPECT_EQ(servers[1], "http://two.example/tv/");
    EXPECT_EQ(servers.back(), "http://m97.example/");
}

TEST(ServerList, MissingOrEmptyFileGivesTheMainServer) {
    test::TempDir dir;
    EXPECT_EQ(servers_load(dir.folder()), std::vector<std::string>{std::string(main_server_address)});
    dir.write("information/servers.txt", "nothing useful\r\n");
    EXPECT_EQ(servers_load(dir.folder()), std::vector<std::string>{std::string(main_server_address)});
}

} // namespace
} // namespace tkv
