// The comparison task and Tupgrade_database against a real web server on 127.0.0.1.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "internet/ui/upgrade_window.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
// The publisher's writers of the served files (tkv_cli is not linked into this test).
#include "cli/publish_update_resources.cpp"

namespace tkv {
namespace {

GAMES2_ARRAY_TYPE game(std::int32_t id, std::int32_t revision, std::string names, std::string data = "") {
    return {id, std::move(names), std::move(data), revision, "", {}};
}

// Scripted answers, and a look at each message before it is answered.
struct WatchedDialogs : test::ScriptedDialogs {
    std::function<void(const MessageRequest&)> on_message;
    MessageAnswer message(const MessageRequest& r) override {
        if (on_message) on_message(r);
        return ScriptedDialogs::message(r);
    }
};

// The server's side of the profile "pc" and a program with that profile open.
struct Upgrade {
    test::TempDir home;
    test::TempDir root;
    test::HttpPeer server{root.folder()};
    ProgramContext c;
    WatchedDialogs dialogs;

    Upgrade() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.server = server.base();
        PROFILES_TYPE p;
        p.id = "pc";
        c.profiles.profiles.push_back(p);
        c.profiles.profile_index = 0;
    }
    void serve(const std::string& path, const std::string& bytes) const {
        root.write("profiles/pc/" + path, bytes);
    }
    void serve_record(const GAMES2_ARRAY_TYPE& g) const {
        serve("information/" + cli::game_record_file_name(g.id), cli::game_record_resource(g));
    }
    // The comparison with a server list of these games.
    UpdateList compare(const std::vector<GAMES2_ARRAY_TYPE>& server_games) {
        const std::string list = cli::game_list_resource(server_games);
        return u_progress_dbupdate2(c, dialogs, std::string_view(list).substr(22), nullptr);
    }
    std::size_t requests_of(const std::string& path) const {
        const std::string log = server.requests();
        std::size_t n = 0;
        for (auto at = log.find("\"GET " + path + " "); at != std::string::npos;
             at = log.find("\"GET " + path + " ", at + 1))
            ++n;
        return n;
    }
};

// Acts on the running window once ready says so, from inside its event loop.
void when(Tupgrade_database& window, std::function<bool()> ready, std::function<void()> act) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, [poll, ready = std::move(ready), act = std::move(act)] {
        if (!ready()) return;
        poll->stop();
        act();
    });
    poll->start(5);
}

QString text_of(const QWidget& w, const char* name) {
    return w.findChild<QLabel*>(name)->text();
}

TEST(UpgradeCompare, WantsMissingAndChangedGames) {
    Upgrade u;
    u.c.db.games = {game(-1, 0, "Mine"), game(5, 7, "Five"), game(8, 1, "Eight")};
    const UpdateList list = u.compare({game(5, 7, ""), game(9, 1, ""), game(8, 2, "")});
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.wanted_count, 2u);
    EXPECT_FALSE(list.entries[0].wanted);
    EXPECT_TRUE(list.entries[1].wanted);
    EXPECT_TRUE(list.entries[2].wanted);
}

TEST(UpgradeDatabase, MergesEveryWantedRecord) {
    Upgrade u;
    u.c.db.info_types = {{1, "Old"}};
    u.c.db.games = {{-1, "My Doom\r\nDoom", "", 0, "my notes", {"doom.exe", "", ""}},
                    game(5, 7, "Five", "five block"),
                    {8, "Eight", "old block", 1, "eight notes", {"eight.exe", "", ""}}};
    const std::vector<GAMES2_ARRAY_TYPE> served = {game(5, 7, "Five"), game(8, 2, "Eight II", "new block"),
                                                   game(42, 3, "DOOM", "doom block"),
                                                   game(123456, 1, "Big\r\nBig Id", "big block")};
    for (const auto& g : served)
        u.serve_record(g);
    u.serve("informationtypes.tkv", cli::information_types_resource({{3, "Cheat codes"}, {4, "Hints"}}));
    const UpdateList list = u.compare(served);
    ASSERT_EQ(list.wanted_count, 3u);

    Tupgrade_database window(u.c, u.dialogs, list);
    EXPECT_EQ(window.windowTitle(), "Trickvault - Update database...");
    EXPECT_EQ(text_of(window, "lb_progress_overall"), "Downloads... (0. of 3)");
    when(
        window, [&] { return window.findChild<QPushButton*>("btc_abort")->isVisible(); },
        [&] { test::save_screen(window, "Tupgrade_database"); });
    window.exec();

    EXPECT_EQ(u.requests_of("/profiles/pc/informationtypes.tkv"), 1u);
    EXPECT_EQ(u.requests_of("/profiles/pc/information/00005.dat"), 0u);
    EXPECT_EQ(u.requests_of("/profiles/pc/information/00008.dat"), 1u);
    EXPECT_EQ(u.requests_of("/profiles/pc/information/00042.dat"), 1u);
    EXPECT_EQ(u.requests_of("/profiles/pc/information/123456.dat"), 1u);
    EXPECT_EQ(window.findChild<QProgressBar*>("alp_progress_overall")->value(), 100);
    EXPECT_EQ(text_of(window, "lb_progress_overall"), "Downloads... (3. of 3)");
    EXPECT_TRUE(window.list_rebuild_needed());

    ASSERT_EQ(u.c.db.info_types.size(), 2u);
    EXPECT_EQ(u.c.db.info_types[1].type_name, "Hints");
    const auto& games = u.c.db.games;
    ASSERT_EQ(games.size(), 4u);
    // The user's game became the publisher's and kept its text and launch settings.
    EXPECT_EQ(games[0].id, 42);
    EXPECT_EQ(games[0].names, "DOOM");
    EXPECT_EQ(games[0].data, "doom block");
    EXPECT_EQ(games[0].user_text, "my notes");
    EXPECT_EQ(games[0].run.path, "doom.exe");
    EXPECT_EQ(games[1].data, "five block");
    EXPECT_EQ(games[2].names, "Eight II");
    EXPECT_EQ(games[2].revision, 2);
    EXPECT_EQ(games[2].user_text, "eight notes");
    EXPECT_EQ(games[3].id, 123456);
    EXPECT_EQ(games[3].names, "Big\r\nBig Id");
    EXPECT_EQ(u.c.variables.changes.change_count, 3);
    EXPECT_TRUE(u.c.variables.changes.main_changed);
    EXPECT_TRUE(u.c.variables.changes.user_changed);
}

TEST(UpgradeDatabase, FailedAndMalformedRecords) {
    Upgrade u;
    u.c.db.info_types = {{1, "Kept"}};
    u.serve("informationtypes.tkv", "no header at all");
    const std::string good = cli::game_record_resource(game(5, 1, "Five"));
    u.serve("information/00004.dat", good.substr(0, good.size() - 1) + std::string(2, '\0')); // wrong length
    u.serve_record(game(5, 1, "Five"));
    const UpdateList list = u.compare({game(3, 1, ""), game(4, 1, ""), game(5, 1, "")});
    const std::string missing = u.server.url("profiles/pc/information/00003.dat");
    u.dialogs
        .expect_message("Unable to download file " + missing + ". Do you want to try", MessageAnswer::retry)
        .expect_message(missing, MessageAnswer::ignore);

    Tupgrade_database window(u.c, u.dialogs, list);
    window.exec();

    EXPECT_EQ(u.requests_of("/profiles/pc/information/00003.dat"), 2u);
    EXPECT_EQ(u.dialogs.messages.front().title, "Trickvault - Error!");
    EXPECT_EQ(u.dialogs.messages.front().buttons, MessageButtons::abort_retry_ignore);
    EXPECT_EQ(window.findChild<QProgressBar*>("alp_progress_overall")->value(), 100);
    ASSERT_EQ(u.c.db.games.size(), 1u);
    EXPECT_EQ(u.c.db.games[0].id, 5);
    EXPECT_EQ(u.c.db.info_types[0].type_name, "Kept");
    EXPECT_EQ(u.c.variables.changes.change_count, 1);
}

TEST(UpgradeDatabase, IgnoringEveryFailureEndsAtFullBarWithNothingMerged) {
    Upgrade u;
    const UpdateList list = u.compare({game(1, 1, ""), game(2, 1, "")});
    u.dialogs.expect_message("00001.dat", MessageAnswer::ignore)
        .expect_message("00002.dat", MessageAnswer::ignore);
    Tupgrade_database window(u.c, u.dialogs, list);
    window.exec();
    EXPECT_EQ(window.findChild<QProgressBar*>("alp_progress_overall")->value(), 100);
    EXPECT_TRUE(u.c.db.games.empty());
    EXPECT_FALSE(window.list_rebuild_needed());
    EXPECT_EQ(u.c.variables.changes.change_count, 0);
}

TEST(UpgradeDatabase, AbortOnADeadServerEndsTheRun) {
    Upgrade u;
    const UpdateList list = u.compare({game(1, 1, ""), game(2, 1, "")});
    u.c.options.server = "http://127.0.0.1:" + std::to_string(test::free_port()) + "/";
    u.dialogs.expect_message("00001.dat", MessageAnswer::abort);
    Tupgrade_database window(u.c, u.dialogs, list);
    window.exec();
    EXPECT_TRUE(u.dialogs.all_answered());
    EXPECT_EQ(u.dialogs.messages.size(), 1u);
    EXPECT_FALSE(window.isVisible());
}

TEST(UpgradeDatabase, CancelDuringARecordKeepsWhatWasMerged) {
    Upgrade u;
    u.serve_record(game(1, 1, "One"));
    const UpdateList list = u.compare({game(1, 1, ""), game(2, 1, ""), game(3, 1, "")});
    const std::string slow_server = u.server.url("__slow/20000/");
    // Record 2 is missing; the retry fetches it from an address the test server answers slowly.
    u.dialogs.on_message = [&](const MessageRequest& r) {
        if (r.text.find("00002.dat") != std::string::npos) u.c.options.server = slow_server;
    };
    u.dialogs.expect_message("00002.dat", MessageAnswer::retry)
        .expect_message("Do you really want to cancel update process", MessageAnswer::yes)
        .expect_message("00002.dat", MessageAnswer::retry); // asked once more, but the run ends
    Tupgrade_database window(u.c, u.dialogs, list);
    auto* process = window.findChild<QProgressBar*>("alp_progress_process");
    when(
        window, [&] { return u.c.options.server == slow_server && process->value() > 0; },
        [&] { window.findChild<QPushButton*>("btc_abort")->click(); });
    window.exec();

    EXPECT_TRUE(u.dialogs.all_answered());
    EXPECT_EQ(u.dialogs.messages[1].title, "Trickvault - Attention!");
    EXPECT_EQ(u.dialogs.messages[1].default_answer, MessageAnswer::no);
    EXPECT_EQ(u.requests_of("/__slow/20000/profiles/pc/information/00002.dat"), 1u);
    EXPECT_EQ(u.requests_of("/__slow/20000/profiles/pc/information/00003.dat"), 0u);
    ASSERT_EQ(u.c.db.games.size(), 1u);
    EXPECT_EQ(u.c.db.games[0].names, "One");
    EXPECT_TRUE(window.list_rebuild_needed());
}

TEST(UpgradeDatabase, CancelWhileTheTypesArriveEndsTheRun) {
    Upgrade u;
    const UpdateList list = u.compare({game(1, 1, "")});
    u.c.options.server = u.server.url("__slow/20000/");
    u.dialogs.expect_message("Do you really want to cancel update process", MessageAnswer::no)
        .expect_message("Do you really want to cancel update process", MessageAnswer::yes);
    Tupgrade_database window(u.c, u.dialogs, list);
    auto* process = window.findChild<QProgressBar*>("alp_progress_process");
    when(
        window, [&] { return process->value() > 0; },
        [&] {
            QPushButton* abort = window.findChild<QPushButton*>("btc_abort");
            abort->click();
            EXPECT_TRUE(window.isVisible()); // No goes on
            abort->click();
        });
    window.exec();

    EXPECT_TRUE(u.dialogs.all_answered());
    EXPECT_EQ(u.requests_of("/__slow/20000/profiles/pc/information/00001.dat"), 0u);
    EXPECT_FALSE(window.list_rebuild_needed());
}

} // namespace
} // namespace tkv
