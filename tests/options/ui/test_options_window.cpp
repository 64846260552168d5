// The options window's database panel against a real web server on 127.0.0.1.

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "options/ui/database_panel.h"
#include "options/ui/options_window.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
// The publisher's writers of the served files (tkv_cli is not linked into this test).
#include "cli/publish_update_resources.cpp"

namespace tkv {
namespace {

GAMES2_ARRAY_TYPE game(std::int32_t id, std::int32_t revision, std::string names) {
    return {id, std::move(names), "", revision, "", {}};
}

// A program with the profile "pc" open and the server's side of it.
struct Options {
    test::TempDir home;
    test::TempDir root;
    test::HttpPeer server{root.folder()};
    ProgramContext c;
    test::ScriptedDialogs dialogs;

    Options() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.server = server.base();
        c.options.auto_download_upgrade_info = false;
        // The window opens at the database panel.
        c.options.save_last_option = true;
        c.options.last_option = 13;
        c.skins.searched = true;
        PROFILES_TYPE p;
        p.id = "pc";
        c.profiles.profiles.push_back(p);
        c.profiles.profile_index = 0;
        c.db.games = {game(-1, 0, "Mine"), game(5, 1, "Five")};
    }
    void serve(const std::string& path, const std::string& bytes) const {
        root.write("profiles/pc/" + path, bytes);
    }
    void serve_list(const std::vector<GAMES2_ARRAY_TYPE>& games) const {
        serve("list.tkv", cli::game_list_resource(games));
    }
    void serve_record(const GAMES2_ARRAY_TYPE& g) const {
        serve("information/" + cli::game_record_file_name(g.id), cli::game_record_resource(g));
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

QString label(const QWidget& w, const char* name) {
    return w.findChild<QLabel*>(name)->text();
}

QPushButton* button(const QWidget& w, const char* name) {
    return w.findChild<QPushButton*>(name);
}

TEST(OptionsDatabase, AutomaticCompareUpdateAndResume) {
    Options o;
    o.c.options.auto_download_upgrade_info = true;
    o.c.options.auto_download_only_connected = false;
    o.serve_list({game(5, 2, ""), game(9, 1, "")});
    o.serve("informationtypes.tkv", cli::information_types_resource({{1, "Cheats"}}));
    o.serve_record(game(5, 2, "Five II"));

    Toption w(o.c, o.dialogs);
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return label(w, "lb_fr_db_games_latest").endsWith(": 2"); }, 10000));
    EXPECT_EQ(label(w, "pa_title"), "Update the database");
    EXPECT_EQ(label(w, "lb_fr_db_games_all"), "Games in the database: 2");
    EXPECT_EQ(label(w, "lb_fr_db_games_main"), "Number of main information: ???");
    EXPECT_EQ(label(w, "lb_fr_db_games_download"), "New or modified information to download: 2");
    EXPECT_TRUE(button(w, "btc_upgrade_database_start")->isEnabled());
    test::save_screen(w, "Toption-database");

    // Game 9 is not there yet: skipped, and still wanted afterwards.
    o.dialogs.expect_message("00009.dat", MessageAnswer::ignore);
    button(w, "btc_upgrade_database_start")->click();
    EXPECT_EQ(o.c.db.games[1].names, "Five II");
    EXPECT_EQ(label(w, "lb_fr_db_games_all"), "Games in the database: 2");
    EXPECT_EQ(label(w, "lb_fr_db_games_main"), "Number of main information: 1");
    EXPECT_EQ(label(w, "lb_fr_db_games_download"), "New or modified information to download: 1");
    EXPECT_TRUE(button(w, "btc_upgrade_database_start")->isEnabled());

    o.serve_record(game(9, 1, "Nine"));
    button(w, "btc_upgrade_database_start")->click();
    EXPECT_EQ(o.requests_of("/profiles/pc/list.tkv"), 1u);
    EXPECT_EQ(o.requests_of("/profiles/pc/information/00005.dat"), 1u);
    EXPECT_EQ(o.requests_of("/profiles/pc/information/00009.dat"), 2u);
    EXPECT_EQ(label(w, "lb_fr_db_games_all"), "Games in the database: 3");
    EXPECT_EQ(label(w, "lb_fr_db_games_main"), "Number of main information: 2");
    EXPECT_EQ(label(w, "lb_fr_db_games_download"), "New or modified information to download: 0");
    EXPECT_FALSE(button(w, "btc_upgrade_database_start")->isEnabled());
    // The list was rebuilt, so the table is in id order again and the rows point into it.
    std::vector<std::int32_t> ids;
    for (const auto& g : o.c.db.games)
        ids.push_back(g.id);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{-1, 5, 9}));
    ASSERT_EQ(o.c.db.game_list.size(), 3u);
    for (const auto& row : o.c.db.game_list)
        EXPECT_EQ(o.c.db.games[static_cast<std::size_t>(row.game_index)].names, row.name);

    button(w, "btc_ok")->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.outcome().accepted);
    EXPECT_TRUE(w.outcome().list_rebuild_needed);
}

TEST(OptionsDatabase, AFailedCompareKeepsThePreviousList) {
    Options o;
    o.serve_list({game(5, 2, ""), game(9, 1, "")});
    Toption w(o.c, o.dialogs);
    w.show();
    DatabasePanel* panel = w.database_panel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }));
    EXPECT_EQ(label(w, "lb_fr_db_games_latest"), "Number of games in the latest database: ???");
    EXPECT_FALSE(button(w, "btc_upgrade_database_start")->isEnabled());
    panel->btc_fr_db_refreshClick();
    ASSERT_TRUE(button(w, "btc_upgrade_database_start")->isEnabled());

    std::string wrong_name = cli::game_list_resource({game(5, 3, "")});
    wrong_name[5] = 'X';
    const std::string dead = "http://127.0.0.1:" + std::to_string(test::free_port()) + "/";
    const std::tuple<std::string, std::string> cases[] = {
        // list.tkv served, server
        {wrong_name, o.server.base()},
        {";Trickvault\r\n", o.server.base()},
        {"", o.server.base()}, // no file: 404
        {cli::game_list_resource({game(5, 3, "")}), dead},
    };
    for (const auto& [list, server] : cases) {
        if (list.empty())
            std::filesystem::remove(o.root.path("profiles/pc/list.tkv"));
        else
            o.serve("list.tkv", list);
        o.c.options.server = server;
        o.dialogs.expect_message("Information is not available!", MessageAnswer::ok);
        panel->btc_fr_db_refreshClick();
        EXPECT_EQ(o.dialogs.messages.back().title, "Trickvault - Error!");
        EXPECT_EQ(label(w, "lb_fr_db_games_latest"), "Number of games in the latest database: 2");
        EXPECT_EQ(label(w, "lb_fr_db_games_download"), "New or modified information to download: 2");
        EXPECT_TRUE(button(w, "btc_upgrade_database_start")->isEnabled());
    }

    button(w, "btc_cancel")->click();
    EXPECT_FALSE(w.outcome().accepted);
    EXPECT_FALSE(w.outcome().list_rebuild_needed);
}

TEST(OptionsDatabase, ReadOnlyRefusesTheUpdate) {
    Options o;
    o.c.variables.run_from_cd = true;
    o.serve_list({game(9, 1, "")});
    DatabasePanel panel(o.c, o.dialogs);
    panel.btc_fr_db_refreshClick();
    o.dialogs.expect_message("Trickvault is running from CD. No update or modification is possible!",
                             MessageAnswer::ok);
    button(panel, "btc_upgrade_database_start")->click();
    EXPECT_EQ(o.requests_of("/profiles/pc/informationtypes.tkv"), 0u);
    EXPECT_EQ(o.c.db.games.size(), 2u);
    EXPECT_FALSE(panel.main_list_outdated());
}

TEST(OptionsDatabase, AutomaticCompareOncePerWindow) {
    const std::tuple<bool, bool, bool, std::size_t> cases[] = {
        // automatic download, only when connected, connected, fetches
        {true, true, true, 1},
        {true, true, false, 0},
        {true, false, false, 1},
        {false, false, true, 0},
    };
    for (const auto& [automatic, only_connected, connected, fetches] : cases) {
        Options o;
        o.serve_list({game(5, 1, "")});
        o.c.options.auto_download_upgrade_info = automatic;
        o.c.options.auto_download_only_connected = only_connected;
        DatabasePanel panel(o.c, o.dialogs);
        panel.panel_shown(connected);
        panel.panel_shown(connected);
        EXPECT_EQ(o.requests_of("/profiles/pc/list.tkv"), fetches)
            << automatic << only_connected << connected;
    }
}

} // namespace
} // namespace tkv
