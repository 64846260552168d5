#include "internet/server_list.h"
#include "shell/publisher.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

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

TEST(ServerList, DownloadedListKeepsValidLinesAndWritesEveryHttpLine) {
    const DownloadedServerList list = process_downloaded_list_of_servers(
        "; mirrors\r\nhttp://one.example/\r\nhttp://blank.example/ \r\nHTTP://CAPS.EXAMPLE/\r\n"
        "http://noslash.example\r\nhttp://\r\nftp://f.example/\r\n\r\nhttp://two.example/tv/",
        "http://main.example/");
    EXPECT_TRUE(list.updated);
    EXPECT_EQ(list.servers, (std::vector<std::string>{"http://one.example/", "HTTP://CAPS.EXAMPLE/",
                                                      "http://two.example/tv/"}));
    EXPECT_EQ(list.file_text, "http://one.example/\r\nhttp://blank.example/ \r\nHTTP://CAPS.EXAMPLE/\r\n"
                              "http://noslash.example\r\nhttp://two.example/tv/");
}

TEST(ServerList, DownloadedListBeyondTheLimitIsWrittenWhole) {
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "http://m" + std::to_string(i) + ".example/\r\n";
    const DownloadedServerList list = process_downloaded_list_of_servers(text, "http://main.example/");
    ASSERT_EQ(list.servers.size(), servers_max);
    EXPECT_EQ(list.servers.back(), "http://m99.example/");
    EXPECT_EQ(list.file_text, text.substr(0, text.size() - 2));
}

TEST(ServerList, DownloadedListWithoutValidLinesGivesTheMainServer) {
    for (const char* text : {"", "http://blank.example/ \r\nhttp://noslash.example\r\n"}) {
        const DownloadedServerList list = process_downloaded_list_of_servers(text, "http://main.example/");
        EXPECT_FALSE(list.updated) << text;
        EXPECT_EQ(list.servers, std::vector<std::string>{"http://main.example/"}) << text;
    }
}

TEST(ServerList, HostsOfServerAddresses) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"http://www.example.org/tkv/", "www.example.org", "www.example.org"},
        {"http://127.0.0.1:8080/", "127.0.0.1:8080", "127.0.0.1"},
        {"HTTP://Mirror.Example/", "Mirror.Example", "Mirror.Example"},
        {"http://bare.example", "bare.example", "bare.example"},
    };
    for (const auto& [address, shown, pinged] : cases) {
        EXPECT_EQ(server_host(address), shown);
        EXPECT_EQ(host_without_port(server_host(address)), pinged);
    }
}

// (response_ms, server_index) pairs before and after the sort and the move of unavailable servers.
using Measured = std::vector<std::pair<int, int>>;

std::vector<SERVERS_CHECKED_TYPE> measured(const Measured& values) {
    std::vector<SERVERS_CHECKED_TYPE> servers;
    for (const auto& [ms, index] : values)
        servers.push_back({"h" + std::to_string(index), ms, index});
    return servers;
}

Measured ordered(const Measured& values) {
    std::vector<SERVERS_CHECKED_TYPE> servers = measured(values);
    servers_checked_sort(servers, 0, static_cast<int>(servers.size()) - 1);
    servers_unavailable_last(servers);
    Measured result;
    for (const SERVERS_CHECKED_TYPE& s : servers) {
        EXPECT_EQ(s.host, "h" + std::to_string(s.server_index)) << "an entry was torn apart";
        result.emplace_back(s.response_ms, s.server_index);
    }
    return result;
}

TEST(ServersChecked, FastestFirstAndUnavailableLast) {
    const std::pair<Measured, Measured> cases[] = {
        {{{30, 0}, {-1, 1}, {10, 2}, {-1, 3}, {20, 4}}, {{10, 2}, {20, 4}, {30, 0}, {-1, 3}, {-1, 1}}},
        {{{-1, 0}, {-1, 1}}, {{-1, 0}, {-1, 1}}},
        {{{7, 0}}, {{7, 0}}},
        {{}, {}},
        // equal times come out as the quicksort leaves them
        {{{5, 0}, {5, 1}, {1, 2}}, {{1, 2}, {5, 1}, {5, 0}}},
        {{{0, 0}, {0, 1}, {-1, 2}}, {{0, 1}, {0, 0}, {-1, 2}}},
    };
    for (const auto& [before, after] : cases)
        EXPECT_EQ(ordered(before), after);
}

TEST(ServersChecked, SortsEveryOrderOfAFewTimes) {
    Measured values{{40, 0}, {-1, 1}, {3, 2}, {3, 3}, {900, 4}, {0, 5}, {-1, 6}};
    std::sort(values.begin(), values.end());
    const Measured all = values;
    do {
        std::vector<SERVERS_CHECKED_TYPE> servers = measured(values);
        servers_checked_sort(servers, 0, static_cast<int>(servers.size()) - 1);
        Measured result;
        for (const SERVERS_CHECKED_TYPE& s : servers)
            result.emplace_back(s.response_ms, s.server_index);
        ASSERT_TRUE(std::is_sorted(result.begin(), result.end(),
                                   [](const auto& a, const auto& b) { return a.first < b.first; }));
        std::sort(result.begin(), result.end());
        ASSERT_EQ(result, all) << "entries were lost or doubled";
    } while (std::next_permutation(values.begin(), values.end()));
}

} // namespace
} // namespace tkv
