// The main window over a real profile folder, driven through its named controls.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTime>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/program_folder.h"
#include "appearance/skin_file.h"
#include "database/database_files.h"
#include "database/open_database.h"
#include "database/record_codec.h"
#include "shell/publisher.h"
#include "support/main_window.h"
#include "support/modal.h"
#include "support/options_window_hook.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "windows/ui/main_window.h"
#include "windows/ui/print_window.h"
#include "widgets/ttkv_listbox.h"
#include "widgets/ttkv_tabs.h"
#include "shell/files.h"

namespace tkv {
namespace {

struct Game {
    std::string names;
    std::string cheat; // the publisher's text; empty for a game of the user
    std::string user_text;
};

std::string block_with(const std::string& cheat) {
    return block_compress(block_encode({{1, "", cheat}}, {}, {}));
}

// profiles/small/ with main.dat (the publisher's games) and user.dat (the user's games).
struct MainFolder {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<Tmain> w;

    explicit MainFolder(const std::vector<Game>& publisher, const std::vector<Game>& user = {}) {
        PROFILES_TYPE p;
        p.id = "small";
        p.name = "Small games";
        p.language = "English";
        p.main_date = parse_datetime("20261201120000000");
        GameDatabase db;
        db.info_types.push_back({1, "Cheat codes"});
        std::int32_t id = 0;
        for (const Game& g : publisher)
            db.games.push_back({++id, g.names, g.cheat.empty() ? "" : block_with(g.cheat), 1, g.user_text, {}});
        std::int32_t user_id = 0;
        for (const Game& g : user)
            db.games.push_back({--user_id, g.names, "", 0, g.user_text, {}});
        std::filesystem::create_directories(f.dir.path("profiles/small"));
        EXPECT_TRUE(u_progress_dat_save_main(db, p, f.dir.path("profiles/small/main.dat"), true));
        if (!user.empty()) {
            EXPECT_TRUE(u_progress_dat_save_user(db, p, f.dir.path("profiles/small/user.dat"), true));
        }
        f.select_profile(0);
        test::without_side_windows(f.c.options);
    }

    Tmain& open(MainWindowHooks hooks = {}) {
        w = std::make_unique<Tmain>(f.c, dialogs, std::move(hooks));
        test::show_loaded(*w);
        return *w;
    }

    template <class T> T* get(const char* name) const {
        T* c = w->findChild<T*>(name);
        if (!c) ADD_FAILURE() << name << " is missing";
        return c;
    }
    TTKV_ListBox* list() const { return get<TTKV_ListBox>("ls_gamename"); }
    QLineEdit* search() const { return get<QLineEdit>("ed_search"); }
    QAction* action(const char* name) const { return get<QAction>(name); }
    QString selected_text() const {
        const int row = w->selected_row();
        return row < 0 ? QString() : list()->model()->index(row, 0).data().toString();
    }
    QStringList rows() const {
        QStringList r;
        for (int i = 0; i < list()->model()->rowCount(); ++i)
            r << list()->model()->index(i, 0).data().toString();
        return r;
    }
    void click(const char* button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    const GAMES2_ARRAY_TYPE* game_named(const std::string& names) const {
        for (const auto& g : f.c.db.games)
            if (g.names == names) return &g;
        return nullptr;
    }
};

// The information window answers as the user would: texts typed, then OK (or Cancel when
// `ok` is false); what it showed is kept.
struct InfoAnswer {
    QString shown_name;
    QString title;
    void on_next(QString name, QString user_text, bool ok = true) {
        test::when_modal_opens("Tinfo", [this, name, user_text, ok](QDialog* info) {
            auto* ed_name = info->findChild<QLineEdit*>("ed_name");
            shown_name = ed_name ? ed_name->text() : QString();
            title = info->windowTitle();
            if (!name.isNull() && ed_name) ed_name->setText(name);
            if (!user_text.isNull()) {
                QWidget* memo = info->findChild<QWidget*>("me_info_user");
                if (auto* plain = qobject_cast<QPlainTextEdit*>(memo)) plain->setPlainText(user_text);
                if (auto* rich = qobject_cast<QTextEdit*>(memo)) rich->setPlainText(user_text);
            }
            auto* button = info->findChild<QPushButton*>(ok ? "btc_ok" : "btc_cancel");
            if (button) button->click();
            if (info->isVisible()) info->done(QDialog::Rejected);
        });
    }
};

const std::vector<Game> five = {{"Abc", "a", ""}, {"Sam", "s", ""}, {"Second", "2", ""}, {"Secret", "x", ""},
                                {"Set", "t", ""}};

TEST(Tmain, LoadsTheProfileSelectsTheLastGameAndShowsItsFigures) {
    MainFolder m(five);
    m.f.c.profiles.profiles[0].last_game = "Secret";
    Tmain& w = m.open();
    EXPECT_EQ(w.windowTitle(), "Trickvault - Small games - 5 data");
    EXPECT_EQ(m.rows(), QStringList({"Abc", "Sam", "Second", "Secret", "Set"}));
    EXPECT_EQ(m.selected_text(), "Secret");
    EXPECT_EQ(m.get<QLabel>("lb_gamecount")->text(), "Number of entries: 5");
    EXPECT_TRUE(m.get<QPushButton>("btc_view")->isEnabled());
    // Windows that do not exist yet leave their commands disabled rather than pretending.
    EXPECT_EQ(m.get<QPushButton>("btc_print")->isEnabled(), printer_installed());
    EXPECT_FALSE(m.get<QPushButton>("btc_options")->isEnabled());
    EXPECT_FALSE(m.action("mn_sendcheat")->isEnabled());
    test::save_screen(w, "Tmain");
}

// The information window sends its game in view mode through the main window's own sender, over
// itself; once switched to editing it no longer offers to.
TEST(Tmain, TheInformationWindowSendsItsGameByEmail) {
    MainFolder m(five);
    std::vector<std::pair<std::string, QString>> sent; // title, parent
    MainWindowHooks hooks;
    hooks.send_game = [&sent](QWidget* parent, const GAMES2_TEMP_ARRAY_TYPE& game) {
        sent.emplace_back(game.title, parent->objectName());
    };
    Tmain& w = m.open(std::move(hooks));
    w.search_gamename("Sam");
    bool enabled_in_view = false, enabled_after_edit = true;
    test::when_modal_opens("Tinfo", [&](QDialog* info) {
        QAction* send = info->findChild<QAction*>("mn_sendcheat");
        enabled_in_view = send && send->isEnabled();
        if (send) send->trigger();
        if (QAction* edit = info->findChild<QAction*>("mn_edit")) edit->trigger();
        enabled_after_edit = send && send->isEnabled();
        info->done(QDialog::Rejected);
    });
    m.click("btc_view");
    EXPECT_TRUE(enabled_in_view);
    EXPECT_FALSE(enabled_after_edit);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].first, "Sam");
    EXPECT_EQ(sent[0].second, "Tinfo");
}

// Launchers give the name in UTF-8; the list holds Windows-1252 bytes ("\x96" is the dash).
TEST(Tmain, AGameGivenOnTheCommandLineOpensAtOnce) {
    const std::vector<Game> games = {{"3D Pinball", "p", ""},
                                     {"3D Pinball for Windows \x96 Space Cadet", "c", ""},
                                     {"Second", "2", ""}};
    const struct {
        const char* given;
        const char* shown;
    } cases[] = {{"SECOND", "Second"},
                 {"3D Pinball for Windows \xE2\x80\x93 Space Cadet", "3D Pinball for Windows \xE2\x80\x93 Space Cadet"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.given);
        MainFolder m(games);
        m.f.c.variables.start_game = k.given;
        InfoAnswer info;
        info.on_next({}, {}, false);
        m.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !info.title.isEmpty(); }, 10000));
        EXPECT_EQ(info.shown_name, QString::fromUtf8(k.shown));
        EXPECT_TRUE(m.f.c.variables.start_game.empty());
        EXPECT_EQ(m.f.c.variables.stats.viewed_total, 1);
    }
}

TEST(Tmain, QuickSearchSelectsTheFirstRowWithTheLongestCommonStart) {
    MainFolder m(five);
    m.open();
    struct Case {
        const char* typed;
        const char* selected; // empty: none
    };
    for (const Case& k : {Case{"sec", "Second"}, Case{"secr", "Secret"}, Case{"xyz", ""}, Case{"   ", "Abc"},
                          Case{"SAM", "Sam"}}) {
        SCOPED_TRACE(k.typed);
        m.search()->setFocus();
        m.search()->clear();
        QTest::keyClicks(m.search(), k.typed);
        EXPECT_EQ(m.selected_text(), k.selected);
        EXPECT_FALSE(m.action("mn_gamerun")->isEnabled());
    }
}

// A text no name begins with colours the box and says how to search everywhere: Ctrl+F opens the
// search window with it, and its choice opens the game.
TEST(Tmain, TheSearchBoxHintsAtCtrlFWhichSearchesEverywhere) {
    MainFolder m(five);
    m.open();
    m.search()->setFocus();
    QTest::keyClicks(m.search(), "sec");
    EXPECT_TRUE(m.search()->toolTip().isEmpty());
    EXPECT_TRUE(m.search()->styleSheet().isEmpty());
    m.search()->clear();
    QTest::keyClicks(m.search(), "cret");
    EXPECT_EQ(m.search()->toolTip(), "Press Ctrl+F to search everywhere");
    EXPECT_FALSE(m.search()->styleSheet().isEmpty());

    QString typed;
    test::when_modal_opens("Tsearch", [&typed](QDialog* search) {
        auto* edit = search->findChild<QLineEdit*>("ed_name");
        typed = edit->text();
        QTest::mouseClick(search->findChild<QPushButton*>("btc_search"), Qt::LeftButton);
        QTest::keyClick(search->focusWidget(), Qt::Key_Return);
    });
    InfoAnswer info;
    info.on_next({}, {}, false);
    QTest::keyClick(m.search(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(typed, "cret");
    EXPECT_EQ(info.shown_name, "Secret");
    EXPECT_TRUE(m.search()->text().isEmpty());
    EXPECT_TRUE(m.search()->toolTip().isEmpty()); // the hint went with the text
}

// A text found in a game's information: the search window lists it once the index is prepared,
// and View opens the game at that tab with the words marked.
TEST(Tmain, ATextHitOpensTheGameAtItsTabWithTheWordsMarked) {
    MainFolder m({{"Abc", "Jump over the gate of the water temple.", ""}, {"Sam", "s", ""}});
    m.open();
    QStringList hits;
    test::when_modal_opens("Tsearch", [&hits](QDialog* search) {
        search->findChild<QLineEdit*>("ed_name")->setText("temples");
        QTest::mouseClick(search->findChild<QPushButton*>("btc_search"), Qt::LeftButton);
        auto* texts = search->findChild<TTKV_ListBox*>("ls_texts");
        // The index is prepared in the background; the hits come when it is ready.
        static_cast<void>(QTest::qWaitFor([texts] { return texts->model()->rowCount() > 0; }, 20000));
        for (int i = 0; i < texts->model()->rowCount(); ++i)
            hits << texts->model()->index(i, 0).data().toString();
        if (hits.isEmpty()) return search->reject();
        QTest::mouseClick(texts->viewport(), Qt::LeftButton, {}, texts->visualRect(texts->model()->index(0, 0)).center());
        QTest::mouseClick(search->findChild<QPushButton*>("btc_view"), Qt::LeftButton);
    });
    QString marked;
    test::when_modal_opens("Tinfo", [&marked](QDialog* info) {
        for (const QTextEdit::ExtraSelection& s : info->findChild<QPlainTextEdit*>("me_info_main")->extraSelections())
            marked += "[" + s.cursor.selectedText() + "]";
        info->done(QDialog::Rejected);
    });
    m.click("btc_search");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_TRUE(hits[0].startsWith(QString::fromUtf8("Abc  \u2013  Cheat codes:"))) << hits[0].toStdString();
    EXPECT_EQ(marked, "[temple]");
    EXPECT_EQ(m.selected_text(), "Abc");
}

TEST(Tmain, KeysMoveFromTheSearchBoxToTheListAndLettersBack) {
    MainFolder m(five);
    m.open();
    QLineEdit* search = m.search();
    search->setFocus();
    QTest::keyClicks(search, "se");
    ASSERT_EQ(m.selected_text(), "Second");
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(m.selected_text(), "Secret");
    EXPECT_TRUE(search->text().isEmpty());
    EXPECT_TRUE(m.list()->hasFocus());

    // Letters typed on the list continue in the search box; other characters are dropped.
    QTest::keyClicks(m.list(), "a");
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(search->text(), "a");
    EXPECT_EQ(m.selected_text(), "Abc");

    struct Case {
        Qt::Key key;
        const char* from;
        const char* to;
    };
    for (const Case& k : {Case{Qt::Key_PageDown, "Set", "Set"}, Case{Qt::Key_Up, "Abc", "Abc"},
                          Case{Qt::Key_End, "Abc", "Set"}, Case{Qt::Key_Home, "Secret", "Abc"},
                          Case{Qt::Key_PageDown, "Abc", "Set"}}) {
        SCOPED_TRACE(k.from);
        search->setFocus();
        QTest::keyClicks(search, k.from);
        QTest::keyClick(search, k.key);
        EXPECT_EQ(m.selected_text(), k.to);
    }

    // Escape empties the search box and leaves the window open.
    search->setFocus();
    QTest::keyClicks(search, "sam");
    QTest::keyClick(search, Qt::Key_Escape);
    EXPECT_TRUE(search->text().isEmpty());
    EXPECT_TRUE(m.w->isVisible());

    // Enter views the game found.
    InfoAnswer info;
    info.on_next({}, {}, false);
    search->setFocus();
    QTest::keyClicks(search, "secr");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(info.shown_name, "Secret");
    EXPECT_TRUE(search->text().isEmpty()) << "emptied after viewing";
}

TEST(Tmain, ModifyStoresTheUserTextCountsTheChangeAndAutosavesAtTheConfiguredNumber) {
    MainFolder m(five);
    m.f.c.options.autosave_after = 2;
    Tmain& w = m.open();
    InfoAnswer info;

    w.search_gamename("Sam");
    info.on_next({}, "first hint");
    m.click("btc_modify");
    EXPECT_EQ(m.game_named("Sam")->user_text, "first hint");
    EXPECT_EQ(m.f.c.variables.changes.change_count, 1);
    EXPECT_TRUE(m.f.c.variables.changes.cheat_added);
    EXPECT_EQ(m.f.c.variables.stats.viewed_total, 1);
    EXPECT_FALSE(std::filesystem::exists(m.f.dir.path("profiles/small/user.dat")));

    w.search_gamename("Set");
    info.on_next({}, "second hint");
    m.click("btc_modify");
    EXPECT_EQ(m.f.c.variables.changes.change_count, 0) << "the second change saves";
    GameDatabase saved;
    CHANGE_TRACKING changes;
    database_open(saved, changes, m.f.c.profiles.profiles[0], m.f.c.variables.main_dat_path,
                  m.f.c.variables.user_dat_path, true);
    int with_text = 0;
    for (const auto& g : saved.games)
        with_text += !g.user_text.empty();
    EXPECT_EQ(with_text, 2);

    // Opening and pressing OK without a change counts nothing.
    info.on_next({}, {});
    m.click("btc_modify");
    EXPECT_EQ(m.f.c.variables.changes.change_count, 0);
}

TEST(Tmain, AddAppendsAUserGameAndSelectsIt) {
    MainFolder m(five);
    Tmain& w = m.open();
    InfoAnswer info;
    info.on_next("Beta; Zulu", "my own hint");
    m.click("btc_new");
    const GAMES2_ARRAY_TYPE* added = m.game_named("Beta\r\nZulu");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->id, -1);
    EXPECT_EQ(m.f.c.db.next_user_id, -2);
    EXPECT_EQ(m.rows(), QStringList({"Abc", "Beta", "Sam", "Second", "Secret", "Set", "Zulu"}));
    EXPECT_EQ(m.selected_text(), "Beta");
    EXPECT_EQ(w.windowTitle(), "Trickvault - Small games - 6 data");

    // Cancel adds nothing.
    info.on_next("Gamma", "text", false);
    m.click("btc_new");
    EXPECT_EQ(m.f.c.db.games.size(), 6u);
}

TEST(Tmain, AddIntoAnEmptyProfileMakesTheListUsable) {
    MainFolder m({});
    m.open();
    EXPECT_FALSE(m.get<QPushButton>("btc_view")->isEnabled());
    EXPECT_TRUE(m.get<QPushButton>("btc_new")->isEnabled());
    InfoAnswer info;
    info.on_next("First", "text");
    m.click("btc_new");
    EXPECT_EQ(m.rows(), QStringList({"First"}));
    EXPECT_TRUE(m.get<QPushButton>("btc_view")->isEnabled());
}

TEST(Tmain, RefusesAddToAFullTableAndEditingInReadOnlyMode) {
    MainFolder m(five);
    Tmain& w = m.open();
    m.f.c.db.games.resize(games_max, m.f.c.db.games.front());
    m.dialogs.expect_message("This profile is full: it cannot hold more than 32766 games.", MessageAnswer::ok);
    m.click("btc_new");
    EXPECT_EQ(m.dialogs.messages.back().title, "Trickvault - Error!");

    // Nothing selected: each command that needs a game says so.
    m.list()->selectionModel()->clearSelection();
    for (const char* button : {"btc_modify", "btc_erase"}) {
        m.dialogs.expect_message("No game is selected.", MessageAnswer::ok);
        m.click(button);
    }
    EXPECT_TRUE(m.dialogs.all_answered());

    m.f.c.variables.run_from_cd = true;
    w.search_gamename("Sam");
    m.click("btc_modify"); // nothing happens
    m.dialogs.expect_message("running from CD", MessageAnswer::ok);
    m.click("btc_erase");
    EXPECT_TRUE(m.dialogs.all_answered());
}

TEST(Tmain, DeleteRemovesOnlyTheUsersGames) {
    MainFolder m({{"Abc", "a", ""}}, {{"Mine", "", "hint"}, {"Zed", "", "z"}});
    Tmain& w = m.open();
    w.search_gamename("Abc");
    m.dialogs.expect_message("only the user information", MessageAnswer::ok);
    m.click("btc_erase");
    EXPECT_EQ(m.f.c.db.games.size(), 3u);

    w.search_gamename("Zed");
    m.dialogs.expect_message("really want to delete", MessageAnswer::no);
    m.click("btc_erase");
    EXPECT_EQ(m.f.c.db.games.size(), 3u);
    EXPECT_EQ(m.dialogs.messages.back().default_answer, MessageAnswer::no);

    m.dialogs.expect_message("really want to delete the following game from the database?\r\n\r\nZed",
                             MessageAnswer::yes);
    m.click("btc_erase");
    EXPECT_EQ(m.rows(), QStringList({"Abc", "Mine"}));
    EXPECT_EQ(m.selected_text(), "Mine") << "the last row was deleted: the new last row";
    EXPECT_EQ(m.f.c.variables.changes.change_count, 1);
    EXPECT_TRUE(m.f.c.variables.changes.user_changed);
}

TEST(Tmain, ADamagedGameShowsTheLibraryErrorAndOpensNothing) {
    MainFolder m(five);
    Tmain& w = m.open();
    m.f.c.db.games[0].data = m.f.c.db.games[0].data.substr(0, 20);
    w.search_gamename("Abc");
    m.dialogs.expect_message("error -", MessageAnswer::ok);
    m.click("btc_view");
    EXPECT_EQ(m.f.c.variables.stats.viewed_total, 0);
    m.dialogs.expect_message("error -", MessageAnswer::ok);
    QTest::keyClick(m.list(), Qt::Key_F5);
}

TEST(Tmain, CopiesAndSavesTheSelectedGamesText) {
    MainFolder m(five);
    Tmain& w = m.open();
    w.search_gamename("Sam");
    m.list()->setFocus();
    QTest::keyClick(m.list(), Qt::Key_F5);
    EXPECT_EQ(QApplication::clipboard()->text(), "Sam:\n====\n\nCheat codes:\n------------\ns\n\n");

    const std::string target = m.f.dir.path("sam.txt");
    m.dialogs.expect_save(FileDialogResult{target, 2});
    m.dialogs.expect_message("successfully saved", MessageAnswer::ok);
    m.click("btc_savetext");
    EXPECT_EQ(m.dialogs.file_dialogs.back().file_name, "Sam");
    // Wrapping drops the last line break of the text.
    EXPECT_EQ(test::TempDir::read_file(target), "Sam:\r\n====\r\n\r\nCheat codes:\r\n------------\r\ns\r\n");
    EXPECT_EQ(m.f.c.options.save_folder, m.f.dir.folder()) << "the folder is remembered";
}

TEST(Tmain, SaveFileGivesTheChosenTypesExtension) {
    MainFolder m(five);
    Tmain& w = m.open();
    w.search_gamename("Sam");
    const struct {
        const char* typed;
        int type;
        const char* written;
    } cases[] = {{"sam", 1, "sam.html"},        {"Dr. Sam", 4, "Dr. Sam.rtf"}, {"sam", 2, "sam.txt"},
                 {"sam", 3, "sam.txt"},         {"old.HTM", 1, "old.HTM"},     {"notes.txt", 4, "notes.txt"},
                 {"sam.html.bak", 1, "sam.html.bak.html"}};
    for (const auto& c : cases) {
        m.dialogs.expect_save(FileDialogResult{m.f.dir.path(c.typed), c.type});
        m.dialogs.expect_message(m.f.dir.path(c.written), MessageAnswer::ok);
        m.click("btc_savetext");
        EXPECT_TRUE(std::filesystem::exists(m.f.dir.path(c.written))) << c.typed;
        if (std::string_view(c.typed) != c.written) {
            EXPECT_FALSE(std::filesystem::exists(m.f.dir.path(c.typed))) << c.typed;
        }
    }
    EXPECT_TRUE(test::TempDir::read_file(m.f.dir.path("sam.html")).starts_with("<html>"));
}

// A profile folder that cannot take the file: the save task reports it, offers another file, and
// nothing is lost.
TEST(Tmain, AFailedSaveOffersAnotherFileAndClosingAsksBeforeLosingChanges) {
    MainFolder m(five);
    m.f.c.options.autosave = false;
    Tmain& w = m.open();
    InfoAnswer info;
    w.search_gamename("Sam");
    info.on_next({}, "keep me");
    m.click("btc_modify");
    // A file where the folder should be stops every writer, whoever runs the test.
    m.f.dir.write("blocker", "");
    m.f.c.variables.user_dat_path = m.f.dir.path("blocker/user.dat");
    m.dialogs.expect_message("Unable to save user database to file\r\n" + m.f.c.variables.user_dat_path,
                             MessageAnswer::ok);
    m.dialogs.expect_save(std::nullopt);
    QTest::keyClick(m.list(), Qt::Key_F2);
    EXPECT_EQ(m.f.c.variables.changes.change_count, 1);
    EXPECT_FALSE(m.f.c.last_save_ok);

    // Closing: the save fails again, the user keeps the window open.
    m.dialogs.expect_message("Unable to save user database", MessageAnswer::ok);
    m.dialogs.expect_save(std::nullopt);
    m.dialogs.expect_message("Database was not saved!", MessageAnswer::no);
    w.close();
    EXPECT_TRUE(w.isVisible());

    // Saved elsewhere on the second attempt; the window may close then.
    const std::string elsewhere = m.f.dir.path("user-copy.dat");
    m.dialogs.expect_message("Unable to save user database", MessageAnswer::ok);
    m.dialogs.expect_save(FileDialogResult{elsewhere, 1});
    w.close();
    EXPECT_FALSE(w.isVisible());
    GameDatabase saved;
    CHANGE_TRACKING changes;
    database_open(saved, changes, m.f.c.profiles.profiles[0], m.f.c.variables.main_dat_path, elsewhere, true);
    EXPECT_EQ(saved.games[1].user_text, "keep me");
}

// main.dat with a sound header and a body scrambled from the third game on: the user is told what
// was kept, and saving the user's own change leaves the damaged file as it was.
TEST(Tmain, ADamagedMainDatIsReportedAndNeverWrittenBackFromWhatWasKept) {
    MainFolder m(five);
    m.f.c.options.autosave = false;
    const std::string main_dat = m.f.dir.path("profiles/small/main.dat");
    std::string bytes = test::TempDir::read_file(main_dat);
    const std::size_t third = bytes.find("Second");
    ASSERT_NE(third, std::string::npos);
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(third - 6), bytes.end(), '\xFF');
    m.f.dir.write("profiles/small/main.dat", bytes);

    m.dialogs.expect_message("The main database is damaged and could only be read in part:\r\n" + main_dat +
                                 "\r\n\r\nKept: 2 games and 1 information types.",
                             MessageAnswer::ok);
    Tmain& w = m.open();
    EXPECT_EQ(m.dialogs.messages.back().title, "Trickvault - Error!");
    EXPECT_EQ(m.rows(), QStringList({"Abc", "Sam"}));

    InfoAnswer info;
    w.search_gamename("Sam");
    info.on_next({}, "my note");
    m.click("btc_modify");
    QTest::keyClick(m.list(), Qt::Key_F2);
    EXPECT_EQ(m.f.c.variables.changes.change_count, 0);
    EXPECT_EQ(test::TempDir::read_file(main_dat), bytes);
    GameDatabase saved;
    CHANGE_TRACKING changes;
    database_open(saved, changes, m.f.c.profiles.profiles[0], main_dat, m.f.dir.path("profiles/small/user.dat"),
                  true);
    ASSERT_EQ(saved.games.size(), 2u);
    EXPECT_EQ(saved.games[1].user_text, "my note");
    EXPECT_TRUE(m.dialogs.all_answered());
}

// Closes the next modal window of that name with Escape, counting it.
void close_with_escape(const char* name, int& opened) {
    test::when_modal_opens(name, [&opened](QDialog* w) {
        ++opened;
        QTest::keyClick(w, Qt::Key_Escape);
        if (w->isVisible()) w->done(QDialog::Rejected);
    });
}

TEST(Tmain, TheTypedSequenceOpensTheCreditsAndTheHiddenButtonTheChart) {
    MainFolder m(five);
    m.open();
    int credits = 0;
    for (int attempt = 0; attempt < 2 && credits == 0; ++attempt) { // a new minute may start meanwhile
        close_with_escape("Tcheatcheat", credits);
        m.search()->setFocus();
        QTest::keyClicks(m.search(), "5" + QTime::currentTime().toString("HHmm"));
        QTest::qWait(50);
    }
    EXPECT_EQ(credits, 1);
    EXPECT_TRUE(m.search()->text().isEmpty());

    auto* cheat = m.get<QPushButton>("btc_cheat");
    EXPECT_FALSE(cheat->isVisible()) << "it first shows after a minute";
    int charts = 0;
    close_with_escape("Tstat", charts);
    cheat->click();
    EXPECT_EQ(charts, 1);
}

TEST(Tmain, F9StartsTheGameOrOpensItsLaunchSettings) {
    MainFolder m(five);
    Tmain& w = m.open();
    w.search_gamename("Sam");
    int settings = 0;
    test::when_modal_opens("Tgamerun", [&](QDialog* g) {
        ++settings;
        g->findChild<QLineEdit*>("ed_path")->setText(QString::fromStdString(m.f.dir.path("no/such/program")));
        QTest::mouseClick(g->findChild<QPushButton*>("btc_ok"), Qt::LeftButton);
    });
    QTest::keyClick(m.list(), Qt::Key_F9);
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(m.game_named("Sam")->run.path, m.f.dir.path("no/such/program"));
    EXPECT_TRUE(m.action("mn_gamerun")->isEnabled());
    EXPECT_EQ(m.f.c.variables.changes.change_count, 1);

    // The program is gone: the user agrees to disable the game.
    m.dialogs.expect_message("Selected file not found!", MessageAnswer::yes);
    QTest::keyClick(m.list(), Qt::Key_F9);
    EXPECT_TRUE(m.game_named("Sam")->run.path.empty());
    EXPECT_FALSE(m.action("mn_gamerun")->isEnabled());
    EXPECT_EQ(m.f.c.variables.changes.change_count, 2);
}

// Run in the information window with "leave on game run": the main window starts the game and
// closes; when closing is refused to keep unsaved changes, the program stays and is not leaving.
TEST(Tmain, RunFromTheInformationWindowStartsTheGameAndLeaves) {
    for (const bool save_fails : {false, true}) {
        SCOPED_TRACE(save_fails);
        MainFolder m(five);
        m.f.c.options.exit_on_game_run = true;
        m.f.c.options.autosave = false;
        const std::string marker = m.f.dir.path("started");
        const std::string script = m.f.dir.write("game/run.sh", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        Tmain& w = m.open();
        for (auto& g : m.f.c.db.games)
            if (g.names == "Sam") g.run = {script, m.f.dir.path("game"), "level-2 " + marker};
        w.search_gamename("Sam");
        if (save_fails) {
            m.f.dir.write("blocker", "");
            m.f.c.variables.user_dat_path = m.f.dir.path("blocker/user.dat");
            m.dialogs.expect_message("Unable to save user database", MessageAnswer::ok);
            m.dialogs.expect_save(std::nullopt);
            m.dialogs.expect_message("Database was not saved!", MessageAnswer::no);
        }
        test::when_modal_opens("Tinfo", [](QDialog* info) {
            if (auto* run = info->findChild<QPushButton*>("btc_run")) run->click();
            if (info->isVisible()) info->done(QDialog::Rejected);
        });
        m.click("btc_view");
        EXPECT_TRUE(QTest::qWaitFor([&] { return test::TempDir::read_file(marker) == "level-2\n"; }, 5000));
        EXPECT_EQ(w.isVisible(), save_fails);
        EXPECT_EQ(m.f.c.exit_request, !save_fails);
        EXPECT_TRUE(m.dialogs.all_answered());
    }
}

TEST(Tmain, OptionsComeBackToTheSameGameAndAltSOpensTheSkinsPage) {
    MainFolder m(five);
    std::vector<std::pair<bool, int>> seen; // "save last viewed option" and "last viewed option" at the call
    MainWindowHooks hooks;
    hooks.options = [&](QWidget*, const MainWindowHooks::OptionsCalls&) {
        seen.emplace_back(m.f.c.options.save_last_option, m.f.c.options.last_option);
        m.f.c.skin_current.folder = "previewed"; // a skin previewed, then the window cancelled
        return MainWindowHooks::OptionsResult{false, true};
    };
    m.f.c.options.save_last_option = false;
    Tmain& w = m.open(hooks);
    w.search_gamename("Secret");
    QTest::keyClick(m.list(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(seen, (std::vector<std::pair<bool, int>>{{true, 8}}));
    EXPECT_FALSE(m.f.c.options.save_last_option) << "put back after the call";
    EXPECT_EQ(m.f.c.skin_current.folder, "") << "the skin of before the window";
    EXPECT_EQ(m.selected_text(), "Secret") << "the list was rebuilt on the same game";
}

// "Remember last viewed options" switched off in the window Alt+S opened stays off.
TEST(Tmain, AltSKeepsWhatTheUserChoseForRememberingThePage) {
    for (const bool untick : {true, false}) {
        SCOPED_TRACE(untick ? "unticked" : "left alone");
        MainFolder m(five);
        m.f.c.options.save_last_option = true;
        m.f.c.options.last_option = 2;
        m.f.c.options.auto_download_upgrade_info = false;
        m.f.c.skins.searched = true;
        MainWindowHooks hooks;
        hooks.options = test::options_window_hook(m.f.c, m.dialogs);
        m.open(hooks);
        int opened_at = -1;
        test::when_modal_opens("Toption", [&](QDialog* dialog) {
            auto& options = static_cast<Toption&>(*dialog);
            ASSERT_TRUE(QTest::qWaitFor([&] { return options.current_panel() >= 0; }, 5000));
            opened_at = options.current_panel();
            if (untick) options.findChild<QCheckBox*>("ck_op_save_last_option")->setChecked(false);
            QTest::mouseClick(options.findChild<QPushButton*>("btc_ok"), Qt::LeftButton);
        });
        QTest::keyClick(m.list(), Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(opened_at, Toption::skins_panel);
        EXPECT_EQ(m.f.c.options.save_last_option, !untick);
    }
}

TEST(Tmain, ClosingKeepsThePositionWritesTheConfigurationAndAsksToSend) {
    MainFolder m(five);
    OPTIONS_TYPE& o = m.f.c.options;
    o.save_window_position = true;
    o.manager_hidden_after_exit = true;
    o.smtp_server = "127.0.0.1";
    o.user_name = "Me";
    o.user_email = "me@example.org";
    o.exit_effect = true;
    int sent = 0;
    MainWindowHooks hooks;
    hooks.send_userfile = [&](QWidget*) { ++sent; };
    Tmain& w = m.open(hooks);
    m.f.c.variables.changes.cheat_added = true;
    w.move(w.x() + 13, w.y() + 7);
    const QPoint moved = w.pos();
    m.dialogs.expect_message("Please send me the modified file", MessageAnswer::ok);
    QTest::mouseClick(m.get<QPushButton>("btc_exit"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(QPoint(o.window_x, o.window_y), moved);
    EXPECT_EQ(sent, 1);
    EXPECT_TRUE(std::filesystem::exists(m.f.dir.path("tkv.ini")));
}

// The e-mail label goes to the program's own mail window, through the first-run settings while
// the mail settings are incomplete; the options window gets the same way for its labels.
TEST(Tmain, MailLabelsUseTheProgramsMailWindow) {
    MainFolder m({{"Doom", "idkfa", ""}}, {{"My game", "", "my notes"}});
    OPTIONS_TYPE& o = m.f.c.options;
    o.internal_mail = true;
    o.open_url_on_click = true;
    o.smtp_server.clear();
    int settings_shown = 0;
    bool options_got_mail = false;
    MainWindowHooks hooks;
    hooks.first_settings = [&](QWidget*) {
        ++settings_shown;
        o.smtp_server = "127.0.0.1";
        o.smtp_port = "25";
        o.user_name = "Me";
        o.user_email = "me@example.org";
    };
    hooks.options = [&](QWidget*, const MainWindowHooks::OptionsCalls& calls) {
        options_got_mail = calls.mail.send_mail && calls.mail.first_settings && calls.skin_show;
        return MainWindowHooks::OptionsResult{};
    };
    m.open(hooks);
    m.dialogs.expect_message("", MessageAnswer::ok); // settings incomplete: fill them in?
    QString recipient;
    bool attach_offered = false;
    test::when_modal_opens("Tsendmail", [&](QDialog* mail) {
        recipient = mail->findChild<QLineEdit*>("ed_recipient")->text();
        attach_offered = mail->findChild<QCheckBox*>("ck_attach_user_dat")->isChecked();
        mail->reject();
    });
    QTest::mouseClick(m.get<QLabel>("ulb_emailadd"), Qt::LeftButton);
    EXPECT_EQ(settings_shown, 1);
    EXPECT_EQ(recipient.toStdString(),
              std::string(author_name) + " <" + std::string(publisher_info_address) + ">");
    EXPECT_TRUE(attach_offered) << "the user's texts may go along";

    m.click("btc_options");
    EXPECT_TRUE(options_got_mail);
}

// The list shows whole rows only, at the designed size and grown, whatever the skin's row height.
TEST(Tmain, GrowingGivesTheRoomToTheListAndKeepsTheRestToTheRight) {
    MainFolder m(five);
    Tmain& w = m.open();
    QWidget* client = m.get<QWidget>("client");
    TTKV_ListBox* list = m.list();
    const auto whole_rows = [&] {
        SCOPED_TRACE(list->viewport()->height());
        EXPECT_GT(list->viewport()->height(), 10 * list->rowHeight());
        EXPECT_EQ(list->viewport()->height() % list->rowHeight(), 0);
        // what is left below the last row is the list's, not the window's
        EXPECT_LT(list->height() - list->viewport()->height(), list->rowHeight());
    };
    whole_rows();
    const auto from_right = [&](const char* name) {
        const QRect r = m.get<QWidget>(name)->geometry();
        return QPoint(client->width() - r.x(), r.y());
    };
    const QSize designed = w.size();
    const QSize list_size = list->size();
    const QRect search = m.search()->geometry();
    const QPoint view = from_right("btc_view"), add = from_right("btc_new"), count = from_right("lb_gamecount");
    const QPoint web = from_right("ulb_webadd");
    const QRect exit = m.get<QWidget>("btc_exit")->geometry();
    const QSize growth(250, 170);

    w.resize(designed + growth);
    EXPECT_EQ(list->size(), list_size + growth);
    whole_rows();
    EXPECT_EQ(m.search()->geometry(), search.adjusted(0, growth.height(), growth.width(), growth.height()));
    EXPECT_EQ(from_right("btc_view"), view);
    EXPECT_EQ(from_right("btc_new"), add);
    EXPECT_EQ(from_right("lb_gamecount"), count);
    EXPECT_EQ(m.get<QWidget>("btc_exit")->geometry(), exit.translated(growth.width(), growth.height()));
    // The labels keep their centre in the column after a skin change.
    w.u_main_skin_show();
    EXPECT_EQ(from_right("ulb_webadd"), web);
    EXPECT_FALSE(m.get<QLabel>("im_background")->hasScaledContents() &&
                 m.get<QLabel>("im_background")->width() < client->width());

    // Other skins bring other row heights.
    for (int points : {7, 11, 14}) {
        m.f.c.skin_current.window_main.fields.font_size = static_cast<std::uint8_t>(points);
        w.u_main_skin_show();
        SCOPED_TRACE(points);
        whole_rows();
        w.resize(designed);
        whole_rows();
        w.resize(designed + growth);
    }
}

TEST(Tmain, TheSizeIsRememberedAcrossRuns) {
    MainFolder m(five);
    QSize designed;
    {
        Tmain& w = m.open();
        designed = w.size();
        EXPECT_EQ(w.minimumSize(), designed);
        w.resize(designed + QSize(100, 60));
        w.close();
        EXPECT_EQ(m.f.c.options.main_window_width, designed.width() + 100);
        EXPECT_EQ(m.f.c.options.main_window_height, designed.height() + 60);
    }
    // as tkv.ini keeps it
    const std::string ini = file_read_all(m.f.dir.path("tkv.ini"));
    EXPECT_NE(ini.find("\r\n[window sizes]\r\nmain window width=" + std::to_string(designed.width() + 100) + "\r\n"),
              std::string::npos);
    Tmain& again = m.open();
    EXPECT_EQ(again.size(), designed + QSize(100, 60));
    again.resize(designed);
    again.close();
    EXPECT_EQ(m.f.c.options.main_window_width, 0);
}

// The last game opens again at the tab where the user left it during the run.
TEST(Tmain, TheLastGameOpensAtTheTabItWasLeftAt) {
    MainFolder m({{"Abc", "a", ""}, {"Sam", "s", "my notes"}}, {{"Mine", "", "mine"}});
    Tmain& w = m.open();
    w.search_gamename("Sam");
    int shown_tab = -1;
    const auto view = [&](bool next_tab) {
        test::when_modal_opens("Tinfo", [&shown_tab, next_tab](QDialog* info) {
            auto* tabs = info->findChild<TTKV_Tabs*>("tabs_type");
            shown_tab = tabs->tabIndex();
            if (next_tab) {
                QTest::keyClick(info, Qt::Key_Tab, Qt::ControlModifier);
                EXPECT_EQ(tabs->tabIndex(), 1);
            }
            info->done(QDialog::Rejected);
        });
        m.click("btc_view");
    };
    view(true);
    EXPECT_EQ(shown_tab, 0);
    view(false);
    EXPECT_EQ(shown_tab, 1);
    // A main window opened again on the profile (the manager's way back) finds it too.
    m.open();
    m.w->search_gamename("Sam");
    view(false);
    EXPECT_EQ(shown_tab, 1);
}

// Screens of both windows grown beyond their designed size.
TEST(Tmain, ScreensOfGrownWindows) {
    MainFolder m({{"Abc", "a", ""},
                  {"Sam", "Level codes from the publisher's site, www.sam.example/codes (all levels):\r\n"
                          "1 FIRE  2 WATER  3 EARTH  4 AIR  5 METAL  6 WOOD  7 ICE  8 STORM  9 LAST ONE",
                   "my notes"}},
                 {{"Mine", "", "mine"}});
    m.f.c.options.custom_title_bar_active = true;
    m.f.c.skin_current =
        skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128), skin_rgb(166, 202, 240),
                          skin_rgb(192, 192, 192), skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
    Tmain& w = m.open();
    w.resize(w.size() + QSize(260, 180));
    QTest::qWait(20);
    test::save_screen(w, "Tmain-grown");
    w.search_gamename("Sam");
    test::when_modal_opens("Tinfo", [](QDialog* info) {
        info->resize(info->size() + QSize(360, 220));
        QTest::qWait(20);
        test::save_screen(*info, "Tinfo-grown");
        info->done(QDialog::Rejected);
    });
    m.click("btc_view");
}

} // namespace
} // namespace tkv
