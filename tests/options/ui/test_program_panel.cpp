// The options window's program panel against a real web server on 127.0.0.1.

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "appearance/ui/skin_apply.h"
#include "options/ui/program_panel.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

const std::string notes_body = ";Trickvault\r\n"
                               "; notes of the program versions\r\n"
                               "[3.60]\r\n"
                               "+ Faster search\r\n"
                               "[3.51]\r\n"
                               "> Printing fixed\r\n"
                               "[3.40]\r\n"
                               "+ Old news\r\n"
                               "[#END#]\r\n";
const QString newer_notes = "The newest program version available is: 3.60\n\n3.60:\n+ Faster search\n\n"
                            "3.51:\n> Printing fixed\n";

// The panel in a skinned window, as the options window holds it.
struct Panel {
    test::TempDir home;
    test::TempDir root;
    test::HttpPeer server{root.folder()};
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    std::vector<std::string> opened;
    QDialog window;
    std::unique_ptr<WindowSkin> skin;
    ProgramPanel* panel = nullptr;

    Panel() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.server = server.base();
        c.options.version_check_time = {};
        skin = std::make_unique<WindowSkin>(&window, false);
        panel = new ProgramPanel(c, dialogs, [this](const std::string& a) { opened.push_back(a); }, skin->client());
        skin->set_client_size(panel->size(), 1.0);
        skin->apply(c.skin_current, c.skin_current.window_option, c.variables.program_folder + "skins/", 1.0);
        window.show();
    }
    QString memo() const { return panel->findChild<QPlainTextEdit*>("me_fr_pr_whatsnew")->toPlainText(); }
    bool load_visible() const { return panel->findChild<QPushButton*>("btc_fr_pr_load")->isVisible(); }
    void click(const char* button) { QTest::mouseClick(panel->findChild<QPushButton*>(button), Qt::LeftButton); }
    std::size_t fetches() const {
        const std::string log = server.requests();
        std::size_t n = 0;
        for (std::size_t at = log.find("GET /versions/"); at != std::string::npos; at = log.find("GET /versions/", at + 1))
            ++n;
        return n;
    }
};

TEST(ProgramPanel, RefreshListsNewerSectionsAndKeepsACopy) {
    Panel p;
    p.c.language.info_file = "magyar";
    p.root.write("versions/magyar.tku", notes_body);
    EXPECT_EQ(p.memo(), "Click on the upper-right button to verify!");
    EXPECT_FALSE(p.load_visible());

    p.click("btc_fr_pr_refresh");
    EXPECT_EQ(p.memo(), newer_notes);
    EXPECT_NE(p.c.options.version_check_time, DateTime{});
    EXPECT_EQ(p.home.read("information/versions.txt"), notes_body.substr(notes_body.find("\r\n") + 2));
    EXPECT_TRUE(p.load_visible());
    test::save_screen(p.window, "Toption-program");

    // The stored copy gives the same notes without counting as a check.
    p.c.options.version_check_time = {};
    p.panel->findChild<QPlainTextEdit*>("me_fr_pr_whatsnew")->clear();
    p.click("btc_fr_pr_load");
    EXPECT_EQ(p.memo(), newer_notes);
    EXPECT_EQ(p.c.options.version_check_time, DateTime{});
}

TEST(ProgramPanel, NothingNewerAndNoCopyWhenStoringIsOff) {
    Panel p;
    p.c.options.store_upgrade_info = false;
    p.root.write("versions/default.tku", ";Trickvault\n[3.50]\n+ This one\n[3.12]\n+ Older\n");
    p.click("btc_fr_pr_refresh");
    EXPECT_EQ(p.memo(), "No newer version available.");
    EXPECT_EQ(p.c.options.version_check_time, DateTime{});
    EXPECT_FALSE(std::filesystem::exists(p.home.path("information/versions.txt")));
    EXPECT_FALSE(p.load_visible());
}

TEST(ProgramPanel, FailedDownloadKeepsTheStoredCopy) {
    Panel p;
    p.home.write("information/versions.txt", "[3.70]\r\n+ Kept\r\n");
    p.root.write("versions/default.tku", "no marker line\r\n[3.80]\r\n");
    p.panel->panel_shown(false);
    EXPECT_TRUE(p.load_visible());
    p.dialogs.expect_message("Information actually not available.", MessageAnswer::ok);
    p.click("btc_fr_pr_refresh");
    EXPECT_EQ(p.dialogs.messages.back().title, "Trickvault - Error!");
    EXPECT_EQ(p.memo(), "Click on the upper-right button to verify!");
    EXPECT_EQ(p.c.options.version_check_time, DateTime{});
    EXPECT_EQ(p.home.read("information/versions.txt"), "[3.70]\r\n+ Kept\r\n");
}

TEST(ProgramPanel, LoadingAnEmptyOrMissingCopyHidesTheButton) {
    Panel p;
    p.home.write("information/versions.txt", "\r\n");
    p.panel->panel_shown(false);
    ASSERT_TRUE(p.load_visible());
    p.dialogs.expect_message("No such information is stored!", MessageAnswer::ok);
    p.click("btc_fr_pr_load");
    EXPECT_FALSE(p.load_visible());

    std::filesystem::remove(p.home.path("information/versions.txt"));
    p.dialogs.expect_message("No such information is stored!", MessageAnswer::ok);
    p.panel->btc_fr_pr_loadClick();
    EXPECT_EQ(p.memo(), "Click on the upper-right button to verify!");
}

TEST(ProgramPanel, AutomaticRefreshOncePerWindow) {
    const std::tuple<bool, bool, bool, std::size_t> cases[] = {
        // automatic download, only when connected, connected, fetches
        {true, true, true, 1},
        {true, true, false, 0},
        {true, false, false, 1},
        {false, false, true, 0},
    };
    for (const auto& [automatic, only_connected, connected, fetches] : cases) {
        Panel p;
        p.root.write("versions/default.tku", notes_body);
        p.c.options.auto_download_upgrade_info = automatic;
        p.c.options.auto_download_only_connected = only_connected;
        p.panel->panel_shown(connected);
        p.panel->panel_shown(connected);
        EXPECT_EQ(p.fetches(), fetches) << automatic << only_connected << connected;
        EXPECT_EQ(p.memo() == newer_notes, fetches == 1);
    }

    // A refresh by hand, even a failed one, is the window's refresh too.
    Panel p;
    p.c.options.auto_download_upgrade_info = true;
    p.dialogs.expect_message("Information actually not available.", MessageAnswer::ok);
    p.click("btc_fr_pr_refresh");
    p.panel->panel_shown(true);
    EXPECT_EQ(p.fetches(), 1);
}

TEST(ProgramPanel, AddressLabelOpensTheDownloadPage) {
    Panel p;
    QTest::mouseClick(p.panel->findChild<QWidget*>("ulb_fr_pr_webaddress"), Qt::LeftButton);
    ASSERT_EQ(p.opened.size(), 1);
    EXPECT_EQ(p.opened[0], "http://www.trickvault.example/download.html");
}

} // namespace
} // namespace tkv
