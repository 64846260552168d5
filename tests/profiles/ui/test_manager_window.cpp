// The profile manager over a real program folder, driven through its named controls.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/database_files.h"
#include "database/open_database.h"
#include "shell/backups.h"
#include "support/program_folder.h"
#include "profiles/ui/manager_window.h"
#include "support/modal.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

// Three profiles: "Zeta games" (zeta, Deutsch), "Alpha games" (alpha), "Mid games" (mid).
struct ManagerFolder {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    std::vector<std::string> started; // the profile open each time the main window was asked for
    std::function<void()> in_main;    // what the user does in the main window
    std::unique_ptr<Tmanager> w;

    ManagerFolder() {
        f.add_profile("zeta", "zeta", "Zeta games", {"Z"});
        f.add_profile("alpha", "alpha", "Alpha games", {"A"});
        f.add_profile("mid", "mid", "Mid games", {"M"});
        f.select_profile(0);
        f.c.options.exit_effect = false;
        f.c.options.last_profile_id = "mid";
        f.c.options.last_profile_autorun_time = 2;
    }

    Tmanager& open() {
        w = std::make_unique<Tmanager>(f.c, dialogs, [this] {
            started.push_back(f.c.profiles.profiles[static_cast<std::size_t>(f.c.profiles.profile_index)].id);
            if (in_main) in_main();
        });
        w->show();
        return *w;
    }
    template <class T> T* get(const char* name) const {
        T* c = w->findChild<T*>(name);
        if (!c) ADD_FAILURE() << name << " is missing";
        return c;
    }
    QStringList rows() const {
        auto* list = get<TTKV_ListBox>("ls_profiles");
        QStringList r;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            r << list->model()->index(i, 0).data().toString();
        return r;
    }
    QString selected() const {
        const QModelIndexList s = get<TTKV_ListBox>("ls_profiles")->selectionModel()->selectedIndexes();
        return s.isEmpty() ? QString() : s.first().data().toString();
    }
    QString countdown_text() const { return get<QLabel>("lb_autorun_profile")->text(); }
};

TEST(Tmanager, ListsTheProfilesByNameAndCountsDownToTheLastOne) {
    ManagerFolder m;
    Tmanager& w = m.open();
    EXPECT_EQ(w.windowTitle(), "Trickvault - Profile manager");
    EXPECT_EQ(m.rows(), QStringList({"Alpha games", "Mid games", "Zeta games"}));
    EXPECT_EQ(m.selected(), "Mid games");
    EXPECT_EQ(m.get<QLabel>("lb_profile_language")->text(), "Profile's language:\r\nEnglish");
    ASSERT_TRUE(w.counting_down());
    EXPECT_EQ(m.countdown_text(), "Loading: 2");
    test::save_screen(w, "Tmanager");

    w.tm_autorun_profileTimer();
    EXPECT_EQ(m.countdown_text(), "Loading: 1");
    EXPECT_TRUE(m.started.empty());
    w.tm_autorun_profileTimer();
    EXPECT_EQ(m.countdown_text(), "Loading: 0");
    EXPECT_EQ(m.started, std::vector<std::string>{"mid"});
    EXPECT_FALSE(w.isVisible()) << "the manager is not shown again after the main window";
    EXPECT_EQ(m.f.c.options.last_profile_id, "mid");
}

TEST(Tmanager, AnyUserActionStopsTheCountdownForTheRestOfTheRun) {
    ManagerFolder m;
    m.f.c.options.manager_hidden_after_exit = false;
    Tmanager& w = m.open();
    ASSERT_TRUE(w.counting_down());
    QTest::keyClick(m.get<TTKV_ListBox>("ls_profiles"), Qt::Key_Up);
    EXPECT_FALSE(w.counting_down());
    EXPECT_FALSE(m.get<QLabel>("lb_autorun_profile")->isVisible());
    EXPECT_EQ(m.selected(), "Alpha games");

    // Start and return: the manager shows again, without a second countdown.
    QTest::mouseClick(m.get<QPushButton>("btc_start"), Qt::LeftButton);
    EXPECT_EQ(m.started, std::vector<std::string>{"alpha"});
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.counting_down());
    m.w.reset();
    m.open();
    EXPECT_FALSE(m.w->counting_down()) << "once per run";
}

TEST(Tmanager, NoCountdownWhenTheManagerWasAskedFor) {
    ManagerFolder m;
    m.f.c.variables.manager_only = true;
    EXPECT_FALSE(m.open().counting_down());
}

TEST(Tmanager, AGameLaunchedFromTheMainWindowClosesTheManagerToo) {
    ManagerFolder m;
    m.f.c.options.manager_hidden_after_exit = false;
    m.in_main = [&] { m.f.c.exit_request = true; };
    Tmanager& w = m.open();
    QTest::mouseClick(m.get<QPushButton>("btc_start"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

TEST(Tmanager, DeleteAsksTwiceAndKeepsWhatTheUserWantsKept) {
    ManagerFolder m;
    m.f.c.options.last_profile_autorun = false;
    m.f.dir.write("profiles/mid/user.dat", "kept");
    m.f.dir.write("profiles/alpha/user.dat", "gone");
    Tmanager& w = m.open();
    auto* del = m.get<QAction>("pm_delete");

    m.dialogs.expect_message("delete selected profile\r\n\r\nMid games", MessageAnswer::no);
    del->trigger();
    EXPECT_EQ(m.rows().size(), 3);
    EXPECT_EQ(m.dialogs.messages.back().default_answer, MessageAnswer::no);

    m.dialogs.expect_message("delete selected profile", MessageAnswer::yes);
    m.dialogs.expect_message("delete all files", MessageAnswer::no);
    del->trigger();
    EXPECT_EQ(m.rows(), QStringList({"Alpha games", "Zeta games"}));
    EXPECT_EQ(m.selected(), "Alpha games");
    EXPECT_FALSE(std::filesystem::exists(m.f.dir.path("profiles/mid/main.dat")));
    EXPECT_TRUE(std::filesystem::exists(m.f.dir.path("profiles/mid/user.dat")));

    m.dialogs.expect_message("delete selected profile", MessageAnswer::yes);
    m.dialogs.expect_message("delete all files", MessageAnswer::yes);
    del->trigger();
    EXPECT_EQ(m.rows(), QStringList({"Zeta games"}));
    EXPECT_FALSE(std::filesystem::exists(m.f.dir.path("profiles/alpha")));

    EXPECT_FALSE(m.get<QAction>("pm_rename")->isEnabled());
    w.close();
}

// Saves the note of the first game of profiles/mid as the main window does.
std::string save_mid_note(const ManagerFolder& m, const std::string& note) {
    PROFILES_TYPE p;
    GameDatabase db;
    CHANGE_TRACKING changes;
    const std::string user_dat = m.f.dir.path("profiles/mid/user.dat");
    database_open(db, changes, p, m.f.dir.path("profiles/mid/main.dat"), user_dat, true);
    db.games[0].user_text = note;
    EXPECT_TRUE(u_progress_dat_save_user(db, p, user_dat, true));
    return m.f.dir.read("profiles/mid/user.dat");
}

std::string mid_note(const ManagerFolder& m) {
    std::vector<GAMES2_ARRAY_TYPE> records;
    user_dat_read_records(m.f.dir.path("profiles/mid/user.dat"), records);
    return records.empty() ? "" : records[0].user_text;
}

TEST(Tmanager, RestoreNotesListsTheBackupsWithTheirDifferencesAndRestoresTheChosenOne) {
    ManagerFolder m;
    m.f.c.options.last_profile_autorun = false;
    Tmanager& w = m.open();
    m.dialogs.expect_message("no backups", MessageAnswer::ok);
    m.get<QAction>("pm_restore_notes")->trigger();

    const std::string first = save_mid_note(m, "first");
    save_mid_note(m, "second");
    test::when_modal_opens("Trestore_notes", [](QDialog* d) {
        auto* tree = d->findChild<QTreeWidget*>("tv_backups");
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* backup = tree->topLevelItem(0);
        EXPECT_EQ(backup->text(1), "0");
        EXPECT_EQ(backup->text(2), "1");
        EXPECT_EQ(backup->text(3), "0 added, 0 removed, 1 notes changed");
        ASSERT_EQ(backup->childCount(), 1);
        EXPECT_EQ(backup->child(0)->text(0), "Notes changed: 1");
        tree->setCurrentItem(backup->child(0)->child(0));
        EXPECT_EQ(backup->child(0)->child(0)->text(0), "M");
        d->findChild<QPushButton*>("btc_restore")->click();
    });
    m.dialogs.expect_message("were restored", MessageAnswer::ok);
    m.get<QAction>("pm_restore_notes")->trigger();
    EXPECT_EQ(m.f.dir.read("profiles/mid/user.dat"), first);
    EXPECT_EQ(backups_list(m.f.dir.folder() + "profiles/mid/backups/", "user.dat").size(), 2u);
    w.close();
}

TEST(Tmanager, ExportAndImportNotesAppendAConflictingNoteAndRefuseBadFiles) {
    ManagerFolder m;
    m.f.c.options.last_profile_autorun = false;
    save_mid_note(m, "mine");
    Tmanager& w = m.open();
    const std::string file = m.f.dir.path("mid.json");
    m.dialogs.expect_save(FileDialogResult{file, 1});
    m.dialogs.expect_message("The notes of 1 games were exported to:\r\n" + file, MessageAnswer::ok);
    m.get<QAction>("pm_export_notes")->trigger();
    EXPECT_EQ(m.dialogs.file_dialogs.back().file_name, "mid-notes.json");

    save_mid_note(m, "changed");
    m.dialogs.expect_open(FileDialogResult{file, 1});
    m.dialogs.expect_message("Notes merged (appended under a dated line): 1", MessageAnswer::ok);
    m.get<QAction>("pm_import_notes")->trigger();
    const std::string merged = mid_note(m);
    EXPECT_TRUE(merged.starts_with("changed\r\n\r\n--- ")) << merged;
    EXPECT_TRUE(merged.ends_with(" ---\r\nmine")) << merged;

    std::string text = m.f.dir.read("mid.json");
    m.f.dir.write("cut.json", text.substr(0, text.size() - 3));
    m.dialogs.expect_open(FileDialogResult{m.f.dir.path("cut.json"), 1});
    m.dialogs.expect_message("Nothing was imported: the file is not valid JSON", MessageAnswer::ok);
    m.get<QAction>("pm_import_notes")->trigger();
    text.replace(text.find("\"mid\""), 5, "\"zeta\"");
    text.replace(text.find("\"mine\""), 6, "\"theirs\"");
    m.f.dir.write("zeta.json", text);
    m.dialogs.expect_open(FileDialogResult{m.f.dir.path("zeta.json"), 1});
    m.dialogs.expect_message("notes of the profile \"zeta\", not of \"mid\"", MessageAnswer::no);
    m.get<QAction>("pm_import_notes")->trigger();
    EXPECT_EQ(mid_note(m), merged);
    w.close();
}

TEST(Tmanager, DeletingWithAllFilesAsksToKeepTheBackups) {
    ManagerFolder m;
    m.f.c.options.last_profile_autorun = false;
    save_mid_note(m, "first");
    const std::string first = m.f.dir.read("profiles/mid/user.dat");
    save_mid_note(m, "second");
    Tmanager& w = m.open();
    m.dialogs.expect_message("delete selected profile", MessageAnswer::yes);
    m.dialogs.expect_message("delete all files", MessageAnswer::yes);
    m.dialogs.expect_message("Keep the backups of this profile's notes in\r\n" + m.f.dir.folder() + "backups/mid/",
                             MessageAnswer::yes);
    m.get<QAction>("pm_delete")->trigger();
    EXPECT_EQ(m.dialogs.messages.back().default_answer, MessageAnswer::yes);
    EXPECT_FALSE(std::filesystem::exists(m.f.dir.path("profiles/mid")));
    const auto kept = backups_list(m.f.dir.folder() + "backups/mid/", "user.dat");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(m.f.dir.read("backups/mid/" + kept[0].name), first);
    w.close();
}

TEST(Tmanager, AddInstallsAProfileFromTheServerAndNothingFromAnArchiveThatIsNone) {
    ManagerFolder m;
    m.f.c.options.last_profile_autorun = false;
    // The publisher's side: the list and two archives, one of them not a profile.
    test::ProgramFolder publisher;
    publisher.add_profile("newone", "newone", "New games", {"Fresh game"});
    test::TempDir served;
    served.write("information/tkv_profiles.tku",
                 ";Trickvault\n[newone]\nName=New games\nLanguage=English\nSize=2048\n"
                 "[broken]\nName=Broken\nLanguage=English\n[mid]\nName=Mid games\nLanguage=English\n");
    std::filesystem::create_directories(served.path("profiles/newone"));
    std::filesystem::create_directories(served.path("profiles/broken"));
    ASSERT_EQ(std::system(("cd " + publisher.dir.path("profiles") + " && zip -qr " +
                           served.path("profiles/newone/newone.tkvp") + " newone")
                              .c_str()),
              0);
    served.write("readme.txt", "not a profile");
    ASSERT_EQ(std::system(("cd " + served.folder() + " && zip -q " + served.path("profiles/broken/broken.tkvp") +
                           " readme.txt")
                              .c_str()),
              0);
    test::HttpPeer server(served.folder());
    m.f.c.options.server = server.base();
    Tmanager& w = m.open();

    QStringList offered;
    QString button;
    test::when_modal_opens("Tprofile_new", [&](QDialog* d) {
        auto* list = d->findChild<TTKV_ListBox*>("ls_profiles");
        for (int i = 0; i < list->model()->rowCount(); ++i)
            offered << list->model()->index(i, 0).data().toString();
        list->setCurrentIndex(list->model()->index(1, 0));
        button = d->findChild<QPushButton*>("btc_download")->text();
        list->setCurrentIndex(list->model()->index(0, 0));
        d->findChild<QPushButton*>("btc_download")->click(); // Broken: unpacks, installs nothing
        EXPECT_TRUE(d->isVisible());
        list->setCurrentIndex(list->model()->index(1, 0));
        d->findChild<QPushButton*>("btc_download")->click();
    });
    m.get<QAction>("pm_add")->trigger();
    EXPECT_EQ(offered, QStringList({"English - Broken", "English - New games"}));
    EXPECT_EQ(button, "&Download (2 KB)");
    EXPECT_EQ(m.rows(), QStringList({"Alpha games", "Mid games", "New games", "Zeta games"}));
    EXPECT_EQ(m.selected(), "New games");
    EXPECT_TRUE(std::filesystem::exists(m.f.dir.path("profiles/newone/main.dat")));
    EXPECT_FALSE(std::filesystem::exists(m.f.dir.path("profiles/readme.txt")));
    EXPECT_FALSE(std::filesystem::exists(m.f.dir.path("profiles/newone.tkvp")));
    for (const auto& entry : std::filesystem::directory_iterator(m.f.dir.path("profiles")))
        EXPECT_NE(entry.path().filename().string().front(), '.') << "a staging folder stayed";

    // The list is fetched once per run: the second Add offers what is left without asking again.
    offered.clear();
    test::when_modal_opens("Tprofile_new", [&](QDialog* d) {
        auto* list = d->findChild<TTKV_ListBox*>("ls_profiles");
        for (int i = 0; i < list->model()->rowCount(); ++i)
            offered << list->model()->index(i, 0).data().toString();
        test::save_screen(*d, "Tprofile_new");
        d->reject();
    });
    m.get<QAction>("pm_add")->trigger();
    EXPECT_EQ(offered, QStringList({"English - Broken"}));
    const std::string log = server.requests();
    const std::string request = "\"path\": \"/information/tkv_profiles.tku\"";
    std::size_t fetched = 0;
    for (std::size_t at = log.find(request); at != std::string::npos; at = log.find(request, at + 1))
        ++fetched;
    EXPECT_EQ(fetched, 1u);
    w.close();
}

TEST(Tmanager, AddAndDeleteAreRefusedInReadOnlyModeAndAddReportsAMissingList) {
    ManagerFolder m;
    m.f.c.options.last_profile_autorun = false;
    test::TempDir empty;
    test::HttpPeer server(empty.folder());
    m.f.c.options.server = server.base();
    m.open();
    m.dialogs.expect_message("Unable to find profile list on server:\r\n\r\n" + server.base(), MessageAnswer::ok);
    m.get<QAction>("pm_add")->trigger();
    m.f.c.variables.run_from_cd = true;
    m.dialogs.expect_message("running from CD", MessageAnswer::ok);
    m.get<QAction>("pm_add")->trigger();
    m.dialogs.expect_message("running from CD", MessageAnswer::ok);
    m.get<QAction>("pm_delete")->trigger();
}

TEST(Tmanager, AnEmptyTableSaysWhereProfilesGoAndClosingTidiesTheFolder) {
    test::ProgramFolder f;
    f.select_profile();
    std::filesystem::create_directories(f.dir.path("profiles/leftover"));
    test::ScriptedDialogs dialogs;
    dialogs.expect_message("No profiles found in directory:\r\n" + f.dir.folder() + "profiles/",
                           MessageAnswer::ok);
    Tmanager w(f.c, dialogs, [] { ADD_FAILURE() << "nothing to start"; });
    w.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.all_answered(); }, 5000));
    EXPECT_FALSE(w.findChild<QPushButton*>("btc_start")->isEnabled());
    EXPECT_FALSE(w.findChild<QPushButton*>("btc_shortcut")->isEnabled());
    EXPECT_FALSE(w.findChild<QWidget*>("pa_profile_language")->isVisible());
    QTest::mouseClick(w.findChild<QPushButton*>("btc_exit"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(std::filesystem::exists(f.dir.path("profiles/leftover")));
}

} // namespace
} // namespace tkv
