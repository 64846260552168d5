// Refreshing the server list from a real web server on 127.0.0.1, which also plays the main server.

#include <gtest/gtest.h>

#include <filesystem>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "internet/ui/server_refresh.h"
#include "support/peers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

struct Served {
    test::TempDir home;
    test::TempDir root;
    test::HttpPeer server{root.folder()};
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    const std::vector<std::string> old_list{"http://old.example/"};
    Served() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.server_list = old_list;
    }
    std::string main_server() const { return server.base(); }
    std::string mirror() const { return server.url("mirror/"); }
    std::string servers_txt() const { return home.read("information/servers.txt"); }
    bool servers_txt_written() const { return std::filesystem::exists(home.path("information/servers.txt")); }
};

const std::string updated = "Server list successfully updated!";

std::string failed_from(const std::string& server) {
    return "Unable to download server list from address:\r\n\r\n" + server + "information/tkv_servers.tku";
}

TEST(RefreshServerList, TakesTheSelectedServersList) {
    Served s;
    std::string lines;
    std::string file;
    for (int i = 0; i < 150; ++i) {
        const std::string server = "http://m" + std::to_string(i) + ".example/";
        lines += server + "\n";
        file += (i ? "\r\n" : "") + server;
    }
    s.root.write("mirror/information/tkv_servers.tku", ";Trickvault\n; mirrors\n" + lines);
    s.dialogs.expect_message(updated, MessageAnswer::ok);

    EXPECT_EQ(
        refresh_server_list(s.c, s.dialogs, s.mirror(), manager_server_captions, nullptr, s.main_server()),
        s.mirror());
    ASSERT_EQ(s.c.server_list.size(), 100u);
    EXPECT_EQ(s.c.server_list.front(), "http://m0.example/");
    EXPECT_EQ(s.c.server_list.back(), "http://m99.example/");
    EXPECT_EQ(s.servers_txt(), file) << "all 150 lines";
    ASSERT_FALSE(s.dialogs.messages.empty());
    EXPECT_EQ(s.dialogs.messages.back().title, "Trickvault - Information");
}

TEST(RefreshServerList, AListWithoutValidLinesLeavesTheMainServerSilently) {
    Served s;
    s.root.write("mirror/information/tkv_servers.tku", ";Trickvault\nhttp://noslash.example\nnothing\n");
    EXPECT_EQ(
        refresh_server_list(s.c, s.dialogs, s.mirror(), manager_server_captions, nullptr, s.main_server()),
        s.mirror());
    EXPECT_EQ(s.c.server_list, std::vector<std::string>{s.main_server()});
    EXPECT_EQ(s.servers_txt(), "http://noslash.example");
}

TEST(RefreshServerList, AFailedServerOffersTheMainServer) {
    Served s;
    s.root.write("information/tkv_servers.tku", ";Trickvault\nhttp://a.example/\nhttp://b.example/\n");
    s.dialogs.expect_message(failed_from(s.mirror()) +
                                 "\r\n\r\nDo you want to download list from default server " +
                                 s.main_server() + "?",
                             MessageAnswer::yes);
    s.dialogs.expect_message(updated, MessageAnswer::ok);

    EXPECT_EQ(
        refresh_server_list(s.c, s.dialogs, s.mirror(), manager_server_captions, nullptr, s.main_server()),
        s.main_server());
    EXPECT_EQ(s.c.server_list, (std::vector<std::string>{"http://a.example/", "http://b.example/"}));
    EXPECT_EQ(s.servers_txt(), "http://a.example/\r\nhttp://b.example/");
    EXPECT_EQ(s.dialogs.messages.front().title, "Trickvault - Error!");
    EXPECT_EQ(s.dialogs.messages.front().buttons, MessageButtons::yes_no);
}

TEST(RefreshServerList, NoToTheMainServerChangesNothing) {
    Served s;
    s.root.write("information/tkv_servers.tku", ";Trickvault\nhttp://a.example/\n");
    s.dialogs.expect_message("Do you want to download list from default server", MessageAnswer::no);
    EXPECT_EQ(
        refresh_server_list(s.c, s.dialogs, s.mirror(), options_server_captions, nullptr, s.main_server()),
        std::nullopt);
    EXPECT_EQ(s.c.server_list, s.old_list);
    EXPECT_FALSE(s.servers_txt_written());
}

// The manager's caption ends in two line breaks, the options window's does not.
TEST(RefreshServerList, FailuresOfTheMainServerAreReported) {
    for (const ServerListCaptions& captions : {manager_server_captions, options_server_captions}) {
        const std::string end = captions.failed == 283 ? "\r\n\r\n" : "";
        { // the selected server is the main server: no question
            Served s;
            s.root.write("plain/information/tkv_servers.tku", "no marker\n");
            const std::string main = s.server.url("plain/");
            s.dialogs.expect_message(failed_from(main) + end, MessageAnswer::ok);
            EXPECT_EQ(refresh_server_list(s.c, s.dialogs, main, captions, nullptr, main), std::nullopt);
            EXPECT_EQ(s.dialogs.messages.back().text, failed_from(main) + end);
            EXPECT_EQ(s.c.server_list, s.old_list);
            EXPECT_FALSE(s.servers_txt_written());
        }
        { // the main server fails after Yes
            Served s;
            const std::string main = s.server.url("gone/");
            s.dialogs.expect_message("Do you want to download list from default server " + main,
                                     MessageAnswer::yes);
            s.dialogs.expect_message(failed_from(main) + end, MessageAnswer::ok);
            EXPECT_EQ(refresh_server_list(s.c, s.dialogs, s.mirror(), captions, nullptr, main), std::nullopt);
            EXPECT_EQ(s.c.server_list, s.old_list);
            EXPECT_EQ(s.dialogs.messages.back().text, failed_from(main) + end);
            EXPECT_EQ(s.dialogs.messages.back().title, "Trickvault - Error!");
        }
    }
}

} // namespace
} // namespace tkv
