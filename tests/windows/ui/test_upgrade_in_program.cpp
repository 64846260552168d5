// The database upgrade as a user runs it: the main window's Options, the database panel's two
// buttons against a newer edition of the demo profile on a real web server, OK, then saving.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "options/ui/options_window.h"
#include "profiles/profile_table.h"
#include "support/demo_editions.h"
#include "support/main_window.h"
#include "support/modal.h"
#include "support/options_window_hook.h"
#include "support/scripted_dialogs.h"
#include "windows/ui/main_window.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

QStringList rows_of(const Tmain& w) {
    const auto* model = w.findChild<TTKV_ListBox*>("ls_gamename")->model();
    QStringList rows;
    for (int i = 0; i < model->rowCount(); ++i)
        rows << model->index(i, 0).data().toString();
    return rows;
}

TEST(UpgradeInProgram, OptionsDatabasePanelBringsTheOpenProfileToTheNewerEdition) {
    test::DemoEditions e;
    ProgramContext c;
    context_initialize(c, e.installed.folder());
    c.skin_default = skins_setdefault({});
    c.skin_current = c.skin_default;
    c.options.server = e.server_base();
    c.options.auto_download_upgrade_info = false;
    test::without_side_windows(c.options);
    profiles_ini_load(c.profiles, e.installed.folder());
    profile_select(c.profiles, 0, c.options, c.variables);
    test::ScriptedDialogs dialogs;

    MainWindowHooks hooks;
    bool list_rebuild_reported = false;
    hooks.options = test::options_window_hook(c, dialogs, [&](const Toption::Outcome& outcome) {
        list_rebuild_reported = outcome.list_rebuild_needed;
    });
    Tmain w(c, dialogs, hooks);
    test::show_loaded(w);
    auto* search = w.findChild<QLineEdit*>("ed_search");
    search->setFocus();
    QTest::keyClicks(search, "Doom");
    ASSERT_EQ(rows_of(w).value(w.selected_row()), "Doom");

    test::when_modal_opens("Toption", [](QDialog* options) {
        options->findChild<QPushButton*>("btc_fr_db_refresh")->click(); // download and compare
        QPushButton* start = options->findChild<QPushButton*>("btc_upgrade_database_start");
        EXPECT_TRUE(start->isEnabled());
        start->click(); // Tupgrade_database runs by itself and closes
        EXPECT_FALSE(start->isEnabled()) << "nothing is wanted any more";
        options->findChild<QPushButton*>("btc_ok")->click();
    });
    w.findChild<QPushButton*>("btc_options")->click();
    EXPECT_TRUE(list_rebuild_reported);
    EXPECT_TRUE(dialogs.messages.empty());

    // The open profile is in the new state before anything is saved, and the selection stayed.
    const test::TkvResult newer_list = test::run_tkv(e.publisher.folder(), {"list", "demo"});
    EXPECT_EQ(rows_of(w).join('\n') + '\n', QString::fromStdString(newer_list.out));
    EXPECT_EQ(rows_of(w)[w.selected_row()], "Doom");

    w.findChild<QAction*>("mn_savedb")->trigger();
    EXPECT_FALSE(c.variables.changes.main_changed);
    EXPECT_FALSE(c.variables.changes.user_changed);
    EXPECT_EQ(e.listing(e.installed.folder()), e.newer_listing_with_user_texts_of_installed());
    // The listings carry the same user.dat, so the user's texts are looked for by themselves.
    const auto shown = [&](const char* game) { return test::run_tkv(e.installed.folder(), {"show", "demo", game}).out; };
    EXPECT_NE(shown("Space Cadet Pinball").find(test::DemoEditions::pinball_notes), std::string::npos);
    EXPECT_NE(shown(test::DemoEditions::own_game).find(test::DemoEditions::own_notes), std::string::npos);
}

} // namespace
} // namespace tkv
