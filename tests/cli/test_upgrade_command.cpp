// tkv upgrade against a newer edition of the demo profile published by tkv publish and served by a
// real web server.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/http_client.h"
#include "shell/publisher.h"
#include "support/demo_editions.h"
#include "support/scoped_env.h"

namespace tkv {
namespace {

using test::DemoEditions;
using test::run_tkv;

TEST(UpgradeCommand, BringsTheProfileToTheNewerEditionKeepingUserTexts) {
    DemoEditions e;
    const std::string home = e.installed.folder();
    const std::string before = e.listing(home);
    ASSERT_EQ(run_tkv(home, {"config", "set", "server", "use only main server", "0"}).code, cli::exit_ok);
    ASSERT_EQ(run_tkv(home, {"config", "set", "server", "use this server", e.server_base()}).code, cli::exit_ok);

    const test::TkvResult r = run_tkv(home, {"upgrade", "demo"});
    EXPECT_EQ(r.code, cli::exit_ok) << r.err;
    // 40 games, the user's own one taken over by game 41; games 1, 2 and 41 were wanted.
    EXPECT_EQ(r.out, "games 41, latest 41, wanted 3, merged 3, failed 0\n");
    EXPECT_EQ(r.err, "");

    const std::string after = e.listing(home);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, e.newer_listing_with_user_texts_of_installed());
    const std::string pinball = run_tkv(home, {"show", "demo", "Space Cadet Pinball"}).out;
    EXPECT_NE(pinball.find(DemoEditions::pinball_notes), std::string::npos);
    EXPECT_NE(pinball.find("Glitches"), std::string::npos);
    const std::string own = run_tkv(home, {"show", "demo", DemoEditions::own_game}).out;
    EXPECT_NE(own.find(DemoEditions::own_notes), std::string::npos);
    EXPECT_NE(own.find("Any% in 12 minutes"), std::string::npos);

    // Up to date: nothing wanted, nothing written.
    const auto written = std::filesystem::last_write_time(e.installed.path("profiles/demo/main.dat"));
    const test::TkvResult again = run_tkv(home, {"upgrade", "demo", "--server", e.server_base()});
    EXPECT_EQ(again.code, cli::exit_ok);
    EXPECT_EQ(again.out, "games 41, latest 41, wanted 0, merged 0, failed 0\n");
    EXPECT_EQ(std::filesystem::last_write_time(e.installed.path("profiles/demo/main.dat")), written);
}

TEST(UpgradeCommand, SkipsRecordsThatFailAndSavesTheRest) {
    DemoEditions e;
    e.unpublish("information/00041.dat");
    std::filesystem::resize_file(e.site.path("www/profiles/demo/information/00002.dat"), 30); // cut short
    const test::TkvResult r = run_tkv(e.installed.folder(), {"upgrade", "demo", "--server", e.server_base()});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_EQ(r.out, "games 41, latest 41, wanted 3, merged 1, failed 2\n");
    EXPECT_NE(r.err.find(e.server_base() + "profiles/demo/information/00041.dat: status 404; skipped"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("1 record files were not valid"), std::string::npos) << r.err;
    // The merged record was saved; a second run wants only the two that failed.
    EXPECT_EQ(run_tkv(e.installed.folder(), {"upgrade", "demo", "--server", e.server_base()}).out,
              "games 41, latest 41, wanted 2, merged 0, failed 2\n");
}

TEST(UpgradeCommand, ListThatCannotBeHadEndsWithoutChanges) {
    DemoEditions e;
    const std::string main_dat = test::TempDir::read_file(e.installed.path("profiles/demo/main.dat"));
    const std::string cases[][2] = {
        {"", "status 404"},                                  // no list at all
        {"TRICKVAULT350SKINLIST", "not a list of games"},    // another resource's name
    };
    for (const auto& [served, error] : cases) {
        if (served.empty())
            e.unpublish("list.tkv");
        else
            e.site.write("www/profiles/demo/list.tkv", char(served.size()) + served);
        const test::TkvResult r = run_tkv(e.installed.folder(), {"upgrade", "demo", "--server", e.server_base()});
        EXPECT_EQ(r.code, 2) << error;
        EXPECT_NE(r.err.find(error), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(test::TempDir::read_file(e.installed.path("profiles/demo/main.dat")), main_dat);
    EXPECT_EQ(run_tkv(e.installed.folder(), {"upgrade", "nosuch", "--server", e.server_base()}).code, cli::exit_usage);
    EXPECT_EQ(run_tkv(e.installed.folder(), {"upgrade", "demo", "--server", "ftp://x/"}).code, cli::exit_usage);
}

TEST(UpgradeCommand, UsesTheMainServerWhileOnlyTheMainServerIsToBeUsed) {
    DemoEditions e;
    const std::string home = e.installed.folder();
    // The test web server stands in as the proxy, so the main server's requests arrive there too;
    // it serves their paths from its root, where the publication appears as well.
    std::filesystem::create_directory_symlink(e.site.path("www/profiles"), e.site.path("profiles"));
    for (const std::vector<std::string>& setting :
         {std::vector<std::string>{"use this server", "http://127.0.0.1:1/"}, {"use proxy", "1"},
          {"httt proxy server", "127.0.0.1"}, {"httt proxy port", std::to_string(e.server.port())}})
        ASSERT_EQ(run_tkv(home, {"config", "set", "server", setting[0], setting[1]}).code, cli::exit_ok);

    const test::TkvResult r = run_tkv(home, {"upgrade", "demo"});
    EXPECT_EQ(r.code, cli::exit_ok) << r.err;
    EXPECT_EQ(r.out, "games 41, latest 41, wanted 3, merged 3, failed 0\n");
    const std::string requests = e.server.requests();
    EXPECT_NE(requests.find("GET " + std::string(main_server_address) + "profiles/demo/list.tkv HTTP/1.0"),
              std::string::npos)
        << requests;
    EXPECT_EQ(requests.find("127.0.0.1:1/"), std::string::npos) << requests;
}

TEST(UpgradeCommand, AServerThatNeverAnswersEndsTheToolWithExitTwo) {
    DemoEditions e;
    const test::ScopedEnv stall(http_stall_variable, "1");
    // The real tool in a child process: an answer that never comes must not hold it.
    test::ChildProcess tool({TKV_TOOL_PATH, "--home", e.installed.folder(), "upgrade", "demo", "--server",
                             e.server.url("__silent/0/")});
    const auto started = std::chrono::steady_clock::now();
    const bool ended = test::wait_until([&] { return !tool.running(); }, 20000);
    EXPECT_TRUE(ended) << "still waiting after 20 s";
    if (!ended) tool.kill_at_once();
    const int status = tool.wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15));
    EXPECT_NE(e.server.requests().find("GET /__silent/0/profiles/demo/list.tkv"), std::string::npos);
}

} // namespace
} // namespace tkv
