// The information window in its three modes, driven through its named controls.

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QUrl>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "appearance/ui/skin_apply.h"
#include "platform/qt/qt_text.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "support/peers.h"
#include "support/url_recorder.h"
#include "windows/ui/info_window.h"
#include "windows/ui/print_window.h"
#include "windows/ui/reading.h"
#include "widgets/ttkv_tabs.h"

namespace tkv {
namespace {

using test::UrlRecorder;

// A game of the publisher with two entries, two files and two home pages.
GAMES2_TEMP_ARRAY_TYPE sample_game() {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.id = 12;
    g.names = "Space Quest\r\nSQ1\r\nSpace Quest I";
    g.title = "Space Quest";
    g.infos = {{"Cheat codes", "IDDQD: god mode\r\nIDKFA: all keys"}, {"Tips & Tricks", "Save often."}};
    g.files = {
        {"file://Patch.ZIP", "1.2 MB", "Official patch 1.1", "Fixes the save bug.\r\nNeeds version 1.0."},
        {"http://files.example/trainer.exe", "80 KB", "Trainer", ""}};
    g.homepages = {{"http://spacequest.example/", "Fan site", "News and maps"},
                   {"http://publisher.example/", "Publisher", ""}};
    g.user_text = "My notes";
    return g;
}

GAMES2_TEMP_ARRAY_TYPE user_game(const std::string& names, const std::string& user_text) {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.id = -3;
    g.names = names;
    g.title = names.substr(0, names.find("\r\n"));
    g.user_text = user_text;
    return g;
}

struct InfoFolder {
    test::TempDir dir;
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    UrlRecorder desktop;

    explicit InfoFolder(const char* language = "English") {
        context_initialize(c, dir.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        PROFILES_TYPE p;
        p.folder = "demo";
        p.id = "demo-id";
        p.name = "Demo games";
        p.language = language;
        c.profiles.profiles.push_back(p);
        c.options.server = "http://files.example/";
        c.options.download_folder = dir.folder() + "downloads/";
        c.db.games.push_back({5, "Doom", "", 1, "", {}});
        c.db.games.push_back({-1, "My own game\r\nMOG", "", 0, "mine", {}});
        c.db.next_user_id = -4;
    }

    // Puts the game into the table (a new game stays outside it) and opens the window on it.
    std::unique_ptr<Tinfo> open(GAMES2_TEMP_ARRAY_TYPE game, InfoMode mode, bool show = true) {
        c.info_mode = mode;
        if (mode == InfoMode::add) {
            c.db.current_game_index = -1;
        } else {
            c.db.games.push_back({game.id, game.names, "", 1, game.user_text, game.run});
            c.db.current_game_index = static_cast<std::int32_t>(c.db.games.size() - 1);
        }
        c.db.current_game = std::move(game);
        auto w = std::make_unique<Tinfo>(c, dialogs);
        if (show) {
            w->show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        }
        return w;
    }
    std::unique_ptr<Tinfo> open_new() {
        GAMES2_TEMP_ARRAY_TYPE game;
        game.id = c.db.next_user_id;
        return open(game, InfoMode::add);
    }
};

template <class T> T* get(const QObject& w, const char* name) {
    T* found = w.findChild<T*>(name);
    if (!found) ADD_FAILURE() << name << " is missing";
    return found;
}

// Key presses go where the user's would: to the widget that has the focus.
void press(int key) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

QStringList header_of(QTableWidget* grid) {
    QStringList r;
    for (int c = 0; c < grid->columnCount(); ++c)
        r << grid->horizontalHeaderItem(c)->text();
    return r;
}

QStringList row_of(QTableWidget* grid, int row) {
    QStringList r;
    for (int c = 0; c < grid->columnCount(); ++c)
        r << grid->item(row, c)->text();
    return r;
}

void type_texts(Tinfo& w, const QString& name, const QString& user_text) {
    get<QLineEdit>(w, "ed_name")->setText(name);
    get<QPlainTextEdit>(w, "me_info_user")->setPlainText(user_text);
}

void click(Tinfo& w, const char* button) {
    QTest::mouseClick(get<QPushButton>(w, button), Qt::LeftButton);
}

TEST(Tinfo, ViewShowsTheGameTabByTab) {
    InfoFolder f;
    auto w = f.open(sample_game(), InfoMode::view);
    auto* tabs = get<TTKV_Tabs>(*w, "tabs_type");
    auto* main_memo = get<QPlainTextEdit>(*w, "me_info_main");
    auto* files = get<QTableWidget>(*w, "sg_info_internet");
    auto* homepages = get<QTableWidget>(*w, "sg_info_homepages");
    auto* web = get<QPlainTextEdit>(*w, "me_info_web");
    auto* user = get<QPlainTextEdit>(*w, "me_info_user");
    auto* download = get<QPushButton>(*w, "btc_download");
    auto* visit = get<QPushButton>(*w, "btc_visit");

    EXPECT_EQ(w->windowTitle(), "Trickvault - Demo games - Space Quest information");
    EXPECT_EQ(get<QLabel>(*w, "lb_name")->text(), "Name of the game:");
    EXPECT_EQ(get<QLineEdit>(*w, "ed_name")->text(), "Space Quest; SQ1; Space Quest I");
    EXPECT_TRUE(get<QLineEdit>(*w, "ed_name")->isReadOnly());
    EXPECT_TRUE(user->isReadOnly());
    EXPECT_FALSE(get<QLabel>(*w, "lb_exist")->isVisible());
    // A type name's "&" is shown, not taken as an accelerator.
    EXPECT_EQ(tabs->tabs(),
              QStringList({"Cheat codes", "Tips && Tricks", "Files", "Home page", "User's information"}));
    EXPECT_EQ(tabs->tabIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), get<QPushButton>(*w, "btc_ok"));
    EXPECT_TRUE(get<QPushButton>(*w, "btc_ok")->isEnabled());
    EXPECT_FALSE(get<QPushButton>(*w, "btc_run")->isEnabled()); // no launch path

    // The entry's text ends in a line break; the table's CR LF shows as plain line breaks.
    EXPECT_TRUE(main_memo->isVisible());
    EXPECT_EQ(main_memo->toPlainText(), "IDDQD: god mode\nIDKFA: all keys\n");
    EXPECT_FALSE(download->isEnabled());
    EXPECT_FALSE(visit->isVisible());

    press(Qt::Key_F12);
    EXPECT_EQ(main_memo->toPlainText(), "Save often.\n");
    EXPECT_EQ(QApplication::focusWidget(), main_memo);

    press(Qt::Key_F12);
    EXPECT_TRUE(files->isVisible());
    EXPECT_FALSE(main_memo->isVisible());
    EXPECT_EQ(header_of(files), QStringList({"Information", "Internet URL", "File size"}));
    EXPECT_EQ(row_of(files, 0), QStringList({"Official patch 1.1", "file://Patch.ZIP", "1.2 MB"}));
    EXPECT_EQ(files->rowCount(), 2);
    EXPECT_EQ(files->currentRow(), 0);
    EXPECT_EQ(files->columnWidth(1), 239);
    EXPECT_TRUE(web->isVisible());
    EXPECT_EQ(web->toPlainText(), "Fixes the save bug.\nNeeds version 1.0.");
    EXPECT_TRUE(download->isEnabled());
    // A row without a description hides the memo.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(files->item(1, 0)).center());
    EXPECT_EQ(files->currentRow(), 1);
    EXPECT_FALSE(web->isVisible());

    press(Qt::Key_F12);
    EXPECT_TRUE(homepages->isVisible());
    EXPECT_EQ(header_of(homepages), QStringList({"Home page", "URL to home page"}));
    EXPECT_EQ(row_of(homepages, 1), QStringList({"Publisher", "http://publisher.example/"}));
    EXPECT_EQ(web->toPlainText(), "News and maps");
    EXPECT_TRUE(web->isVisible());
    EXPECT_TRUE(visit->isVisible());
    EXPECT_EQ(visit->text(), "&View");
    EXPECT_FALSE(download->isEnabled());

    press(Qt::Key_F12);
    EXPECT_TRUE(user->isVisible());
    EXPECT_FALSE(web->isVisible());
    EXPECT_FALSE(visit->isVisible());
    EXPECT_EQ(user->toPlainText(), "My notes");

    press(Qt::Key_F12); // from the last tab to the first
    EXPECT_EQ(tabs->tabIndex(), 0);
    press(Qt::Key_F11); // and back
    EXPECT_EQ(tabs->tabIndex(), 4);
}

TEST(Tinfo, WithOneTabTheTabKeysDoNothing) {
    InfoFolder f;
    auto w = f.open(user_game("Solo", "only notes"), InfoMode::view);
    auto* tabs = get<TTKV_Tabs>(*w, "tabs_type");
    ASSERT_EQ(tabs->tabs(), QStringList({"User's information"}));
    QSignalSpy clicked(tabs, &TTKV_Tabs::clicked);
    press(Qt::Key_F11);
    press(Qt::Key_F12);
    EXPECT_EQ(tabs->tabIndex(), 0);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(w->isVisible());
}

TEST(Tinfo, ModifyAndAddOpenOnTheUserTab) {
    InfoFolder f;
    {
        auto w = f.open(sample_game(), InfoMode::modify);
        EXPECT_EQ(w->windowTitle(), "Trickvault - Demo games - Modify (Space Quest)");
        EXPECT_TRUE(get<QLineEdit>(*w, "ed_name")->isReadOnly()); // the publisher's names stay
        EXPECT_FALSE(get<QPlainTextEdit>(*w, "me_info_user")->isReadOnly());
        EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), 4);
        EXPECT_EQ(QApplication::focusWidget(), get<QPlainTextEdit>(*w, "me_info_user"));
        EXPECT_FALSE(get<QAction>(*w, "mn_edit")->isEnabled());
    }
    {
        auto w = f.open(user_game("Mine", "notes"), InfoMode::modify);
        EXPECT_FALSE(get<QLineEdit>(*w, "ed_name")->isReadOnly());
    }
    {
        auto w = f.open_new();
        EXPECT_EQ(w->windowTitle(), "Trickvault - Demo games - Add");
        EXPECT_EQ(get<QLineEdit>(*w, "ed_name")->text(), "");
        EXPECT_FALSE(get<QLineEdit>(*w, "ed_name")->isReadOnly());
        EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabs(), QStringList({"User's information"}));
        EXPECT_EQ(QApplication::focusWidget(), get<QLineEdit>(*w, "ed_name"));
        EXPECT_FALSE(get<QPushButton>(*w, "btc_ok")->isEnabled()); // nothing typed yet
        EXPECT_FALSE(get<QPushButton>(*w, "btc_run")->isEnabled());
        EXPECT_FALSE(get<QAction>(*w, "mn_print")->isEnabled());
    }
}

TEST(Tinfo, AnEmptyGameOpensForEditingOnTheUserTab) {
    InfoFolder f;
    GAMES2_TEMP_ARRAY_TYPE empty;
    empty.id = 40;
    empty.names = empty.title = "Blank";
    auto w = f.open(empty, InfoMode::view);
    EXPECT_EQ(f.c.info_mode, InfoMode::modify);
    EXPECT_EQ(w->windowTitle(), "Trickvault - Demo games - Modify (Blank)");
    EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabs(), QStringList({"User's information"}));
    EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), 0);
    EXPECT_FALSE(get<QPlainTextEdit>(*w, "me_info_user")->isReadOnly());
    EXPECT_TRUE(get<QPlainTextEdit>(*w, "me_info_user")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), get<QPlainTextEdit>(*w, "me_info_user"));
}

TEST(Tinfo, OkIsEnabledOnlyForACompleteFreeName) {
    struct {
        InfoMode mode;
        std::int32_t id; // of the game shown; add takes the next user id
        const char* name;
        const char* text;
        bool ok;
        bool exists_shown;
    } const cases[] = {
        {InfoMode::add, 0, "New game", "notes", true, false},
        {InfoMode::add, 0, "  ", "notes", false, false},
        {InfoMode::add, 0, "New game", " \n ", false, false},
        {InfoMode::add, 0, ";;", "notes", false, false}, // no name at all
        {InfoMode::add, 0, "New; doom", "notes", false, true},
        {InfoMode::add, 0, "mog", "notes", false, true},
        {InfoMode::modify, -1, "My own game; Sequel", "mine", true, false}, // its own name
        {InfoMode::modify, -3, "My own game", "mine", false, true},
        {InfoMode::modify, 12, "", "", true, false}, // the publisher's game: names are not typed
        {InfoMode::view, 12, "", "", true, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.name) + " / " + std::to_string(k.id));
        InfoFolder f;
        std::unique_ptr<Tinfo> w;
        if (k.mode == InfoMode::add) {
            w = f.open_new();
        } else if (k.id == -1) {
            GAMES2_TEMP_ARRAY_TYPE own = user_game("My own game\r\nMOG", "mine");
            own.id = -1;
            f.c.db.games.pop_back(); // it is in the table already; open() puts it back
            w = f.open(own, k.mode);
        } else {
            GAMES2_TEMP_ARRAY_TYPE game = k.id > 0 ? sample_game() : user_game("Another", "x");
            game.id = k.id;
            w = f.open(game, k.mode);
        }
        if (k.mode != InfoMode::view) type_texts(*w, k.name, k.text);
        EXPECT_EQ(get<QPushButton>(*w, "btc_ok")->isEnabled(), k.ok);
        EXPECT_EQ(get<QLabel>(*w, "lb_exist")->isVisible(), k.exists_shown);
        if (k.exists_shown) {
            EXPECT_EQ(get<QLabel>(*w, "lb_exist")->text(), "The name you have selected exists already!");
        }
    }
}

TEST(Tinfo, AcceptingStoresTheNormalisedTexts) {
    struct {
        const char* language;
        bool user_game;
        QString name;
        QString user_text;
        std::string names;  // stored afterwards
        std::string stored; // user_text afterwards
        std::string name_to_select;
    } const cases[] = {
        {"English", true, " x ;y; ; z ", "notes", "x\r\ny\r\nz", "notes", "x ;y; ; z"},
        {"English",
         false,
         {},
         "\n\n  hint\n",
         "Space Quest\r\nSQ1\r\nSpace Quest I",
         "  hint",
         "Space Quest; SQ1; Space Quest I"},
        {"English",
         false,
         {},
         "line 1\n\nline 3  \n \n",
         "Space Quest\r\nSQ1\r\nSpace Quest I",
         "line 1\r\n\r\nline 3",
         "Space Quest; SQ1; Space Quest I"},
        // Typed text is kept in the profile's code page (o with double acute is 0xF5 in windows-1250).
        {"Magyar", true, QString::fromUtf8("\u0150rs"), QString::fromUtf8("j\u00f3 \u0151"), "\xD5rs",
         "j\xF3 \xF5", "\xD5rs"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.names);
        InfoFolder f(k.language);
        f.c.variables.changes.change_count = 2;
        auto w = f.open(k.user_game ? user_game("Old name", "old notes") : sample_game(), InfoMode::modify);
        const std::int32_t id = f.c.db.current_game.id;
        if (!k.name.isNull()) get<QLineEdit>(*w, "ed_name")->setText(k.name);
        get<QPlainTextEdit>(*w, "me_info_user")->setPlainText(k.user_text);
        click(*w, "btc_ok");
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->outcome(), Tinfo::Outcome::stored);
        const auto& game = f.c.db.current_game;
        EXPECT_EQ(game.id, id);
        EXPECT_EQ(game.names, k.names);
        EXPECT_EQ(game.user_text, k.stored);
        EXPECT_EQ(f.c.name_to_select, k.name_to_select);
        EXPECT_EQ(f.c.variables.changes.change_count, 3);
        EXPECT_TRUE(f.c.variables.changes.user_changed);
        EXPECT_TRUE(f.c.variables.changes.cheat_added);
        EXPECT_FALSE(f.c.variables.changes.main_changed);
        EXPECT_GT(f.c.profiles.profiles[0].user_date, DateTime{});
    }
}

// A Windows-1252 profile holds ó and € but not ł, ź or ✓: nothing is stored as "?" unseen.
TEST(Tinfo, CharactersTheProfileCannotHoldAreNamedAndLeftToEdit) {
    InfoFolder f;
    auto w = f.open_new();
    auto* name = get<QLineEdit>(*w, "ed_name");
    auto* memo = get<QPlainTextEdit>(*w, "me_info_user");
    type_texts(*w, QString::fromUtf8("Zzz Test \u0142\u00f3d\u017a \u2713"),
               QString::fromUtf8("my note: \u0142 \u2713 \u20ac done"));
    f.dialogs.expect_message("cannot be stored in this profile:\r\n\r\n"
                             "\u0142 (U+0142), \u017a (U+017A), \u2713 (U+2713)\r\n",
                             MessageAnswer::ok);
    click(*w, "btc_ok");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(f.c.variables.changes.change_count, 0);
    EXPECT_EQ(name->selectedText(), QString::fromUtf8("\u0142"));

    // The name is mended; the note still holds two of them.
    name->setText(QString::fromUtf8("Zzz Test l\u00f3dz"));
    f.dialogs.expect_message("\r\n\r\n\u0142 (U+0142), \u2713 (U+2713)\r\n", MessageAnswer::ok);
    click(*w, "btc_ok");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), 0);
    EXPECT_EQ(memo->textCursor().selectedText(), QString::fromUtf8("\u0142"));

    memo->setPlainText(QString::fromUtf8("my note: l \u20ac done"));
    click(*w, "btc_ok");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(f.c.db.current_game.names, "Zzz Test l\xF3" "dz");
    EXPECT_EQ(f.c.db.current_game.user_text, "my note: l \x80 done");
    EXPECT_TRUE(f.dialogs.all_answered());
}

TEST(Tinfo, ClosingWithoutAChangeStoresAndCountsNothing) {
    enum class How { ok_unchanged, ok_only_blanks_added, cancel, escape_in_name };
    struct {
        InfoMode mode;
        How how;
    } const cases[] = {
        {InfoMode::view, How::ok_unchanged},           {InfoMode::modify, How::ok_unchanged},
        {InfoMode::modify, How::ok_only_blanks_added}, {InfoMode::modify, How::cancel},
        {InfoMode::modify, How::escape_in_name},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.how));
        InfoFolder f;
        f.c.variables.changes.change_count = 4;
        auto w = f.open(user_game("Mine\r\nM2", "notes"), k.mode);
        auto* name = get<QLineEdit>(*w, "ed_name");
        switch (k.how) {
        case How::ok_unchanged:
            click(*w, "btc_ok");
            break;
        case How::ok_only_blanks_added:
            name->setText("  Mine; M2 ");
            get<QPlainTextEdit>(*w, "me_info_user")->setPlainText("\nnotes \n");
            click(*w, "btc_ok");
            break;
        case How::cancel:
            name->setText("Changed");
            click(*w, "btc_cancel");
            break;
        case How::escape_in_name:
            name->setText("Changed");
            name->setFocus();
            QTest::keyClick(name, Qt::Key_Escape);
            break;
        }
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->outcome(), Tinfo::Outcome::nothing_to_store);
        EXPECT_EQ(f.c.db.current_game.names, "Mine\r\nM2");
        EXPECT_EQ(f.c.variables.changes.change_count, 4);
        EXPECT_FALSE(f.c.variables.changes.user_changed);
        EXPECT_TRUE(f.c.name_to_select.empty());
    }
}

TEST(Tinfo, EnterInTheNameAcceptsOnlyWhatOkWouldAccept) {
    InfoFolder f;
    auto w = f.open_new();
    auto* name = get<QLineEdit>(*w, "ed_name");
    type_texts(*w, "Doom", "notes"); // taken: Enter must not close and lose the typing
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(w->isVisible());
    name->setText("Doom 64");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->outcome(), Tinfo::Outcome::stored);
    EXPECT_EQ(f.c.db.current_game.id, -4);
    EXPECT_EQ(f.c.db.current_game.names, "Doom 64");
    EXPECT_EQ(f.c.variables.changes.change_count, 1);

    // In view, Enter in the entry's text closes the window as OK does.
    auto v = f.open(sample_game(), InfoMode::view);
    auto* memo = get<QPlainTextEdit>(*v, "me_info_main");
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Enter);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(v->outcome(), Tinfo::Outcome::nothing_to_store);
}

TEST(Tinfo, TabStaysInTheUserText) {
    InfoFolder f;
    auto w = f.open(user_game("Mine", "notes"), InfoMode::modify);
    auto* user = get<QPlainTextEdit>(*w, "me_info_user");
    ASSERT_EQ(QApplication::focusWidget(), user);
    press(Qt::Key_Tab);
    press(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), user);
    EXPECT_EQ(user->toPlainText(), "notes");
}

TEST(Tinfo, EditFromViewSwitchesToModify) {
    struct {
        std::int32_t id;
        bool run_from_cd;
    } const cases[] = {{12, false}, {-3, false}, {12, true}};
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.id) + (k.run_from_cd ? " cd" : ""));
        InfoFolder f;
        f.c.variables.run_from_cd = k.run_from_cd;
        GAMES2_TEMP_ARRAY_TYPE game = sample_game();
        game.id = k.id;
        game.user_text.clear(); // so the user tab is added by the switch
        auto w = f.open(game, InfoMode::view);
        auto* tabs = get<TTKV_Tabs>(*w, "tabs_type");
        ASSERT_EQ(tabs->tabs().size(), 4);

        // Through the popup menu, which opens left of the button's right edge.
        click(*w, "btc_other");
        auto* menu = get<QMenu>(*w, "pm_info");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        auto* other = get<QPushButton>(*w, "btc_other");
        EXPECT_EQ(menu->geometry().right() + 1, other->mapToGlobal(QPoint(other->width(), 0)).x());
        EXPECT_EQ(get<QAction>(*w, "mn_print")->isEnabled(), printer_installed());
        EXPECT_FALSE(get<QAction>(*w, "mn_sendcheat")->isEnabled());
        QAction* edit = get<QAction>(*w, "mn_edit");
        ASSERT_TRUE(edit->isEnabled());
        if (k.run_from_cd)
            f.dialogs.expect_message("Trickvault is running from CD. No update or modification is possible!",
                                     MessageAnswer::ok);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(edit).center());

        if (k.run_from_cd) {
            EXPECT_EQ(f.dialogs.messages.back().title, "Trickvault - Error!");
            EXPECT_EQ(f.c.info_mode, InfoMode::view);
            EXPECT_EQ(tabs->tabs().size(), 4);
            EXPECT_TRUE(get<QPlainTextEdit>(*w, "me_info_user")->isReadOnly());
            EXPECT_TRUE(edit->isEnabled());
            continue;
        }
        EXPECT_EQ(f.c.info_mode, InfoMode::modify);
        EXPECT_EQ(w->windowTitle(), "Trickvault - Demo games - Modify (Space Quest)");
        EXPECT_EQ(tabs->tabs().size(), 5);
        EXPECT_EQ(tabs->tabIndex(), 4);
        EXPECT_FALSE(get<QPlainTextEdit>(*w, "me_info_user")->isReadOnly());
        EXPECT_EQ(get<QLineEdit>(*w, "ed_name")->isReadOnly(), k.id > 0);
        EXPECT_FALSE(edit->isEnabled());
        // A new user text is then accepted.
        get<QPlainTextEdit>(*w, "me_info_user")->setPlainText("added later");
        click(*w, "btc_ok");
        EXPECT_EQ(f.c.db.current_game.id, k.id);
        EXPECT_EQ(f.c.db.current_game.user_text, "added later");
    }
}

TEST(Tinfo, RunStartsTheGameOrLeavesItToTheMainWindow) {
    for (const bool exit_on_run : {false, true}) {
        SCOPED_TRACE(exit_on_run);
        InfoFolder f;
        f.c.options.exit_on_game_run = exit_on_run;
        const std::string marker = f.dir.path("started");
        const std::string script = f.dir.write("game/run.sh", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        GAMES2_TEMP_ARRAY_TYPE game = sample_game();
        game.run = {script, f.dir.path("game"), "level-2 " + marker};
        auto w = f.open(game, InfoMode::view);
        ASSERT_TRUE(get<QPushButton>(*w, "btc_run")->isEnabled());
        press(Qt::Key_F9);
        // Leaving the program is the main window's to decide: the window only reports.
        EXPECT_FALSE(f.c.exit_request);
        if (exit_on_run) {
            EXPECT_EQ(w->outcome(), Tinfo::Outcome::start_game);
            EXPECT_FALSE(w->isVisible());
            QTest::qWait(200);
            EXPECT_FALSE(std::filesystem::exists(marker));
        } else {
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return test::TempDir::read_file(marker) == "level-2\n"; }, 5000));
            EXPECT_TRUE(w->isVisible());
        }
    }
}

TEST(Tinfo, RunOfAMissingProgramOffersToDisableTheGame) {
    for (const bool disable : {false, true}) {
        SCOPED_TRACE(disable);
        InfoFolder f;
        f.c.variables.changes.change_count = 1;
        GAMES2_TEMP_ARRAY_TYPE game = sample_game();
        game.run = {"/nowhere/spacequest", "/nowhere", "-x"};
        auto w = f.open(game, InfoMode::modify);
        QSignalSpy disabled(w.get(), &Tinfo::gameRunDisabled);
        f.dialogs.expect_message(
            "Selected file not found!\r\n(/nowhere/spacequest)\r\n\r\nDo you want to disable "
            "the game?",
            disable ? MessageAnswer::yes : MessageAnswer::no);
        click(*w, "btc_run");
        EXPECT_EQ(f.dialogs.messages.back().title, "Trickvault - Error!");
        EXPECT_EQ(f.dialogs.messages.back().buttons, MessageButtons::yes_no);
        const auto& stored = f.c.db.games[static_cast<std::size_t>(f.c.db.current_game_index)];
        EXPECT_EQ(stored.run.path.empty(), disable);
        EXPECT_EQ(f.c.variables.changes.change_count, disable ? 2 : 1);
        EXPECT_EQ(f.c.variables.changes.user_changed, disable);
        EXPECT_EQ(disabled.count(), disable ? 1 : 0);
        EXPECT_EQ(get<QPushButton>(*w, "btc_run")->isEnabled(), !disable);
        if (!disable) continue;
        EXPECT_EQ(QApplication::focusWidget(), get<QPushButton>(*w, "btc_ok"));
        // A text accepted afterwards does not bring the launch entry back.
        get<QPlainTextEdit>(*w, "me_info_user")->setPlainText("new notes");
        click(*w, "btc_ok");
        EXPECT_TRUE(f.c.db.current_game.run.path.empty());
    }
}

// The files tab of the sample game, with the profile's local copy of the patch when given.
struct FilesTab {
    InfoFolder f;
    std::unique_ptr<Tinfo> w;
    QTableWidget* grid = nullptr;
    explicit FilesTab(bool local_copy) {
        if (local_copy) f.dir.write("profiles/demo/files/patch.zip", "PK patch bytes");
        w = f.open(sample_game(), InfoMode::view);
        get<TTKV_Tabs>(*w, "tabs_type")->setTabIndex(2);
        grid = get<QTableWidget>(*w, "sg_info_internet");
    }
    std::string local() const { return f.dir.path("profiles/demo/files/patch.zip"); }
    void double_click(int row) const {
        const QPoint at = grid->visualItemRect(grid->item(row, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST(Tinfo, AProfileFileIsCopiedToTheChosenTarget) {
    FilesTab t(true);
    t.f.c.options.other_download_action = 4; // just report
    const std::string target = t.f.dir.write("out/copy.zip", "old contents");
    t.f.dialogs.expect_save(FileDialogResult{target, 1});
    const std::string copied = "File successfully copied\r\nfrom " + t.local() + " \r\nto " + target + ".";
    t.f.dialogs.expect_message(copied, MessageAnswer::ok);
    t.double_click(0);

    EXPECT_EQ(test::TempDir::read_file(target), "PK patch bytes");
    ASSERT_EQ(t.f.dialogs.file_dialogs.size(), 1u);
    const FileDialogRequest& asked = t.f.dialogs.file_dialogs[0];
    EXPECT_EQ(asked.title, "Save  (file://Patch.ZIP)");
    ASSERT_EQ(asked.filters.size(), 1u);
    EXPECT_EQ(asked.filters[0].label, "ZIP files (*.zip)");
    EXPECT_EQ(asked.filters[0].pattern, "*.zip");
    EXPECT_EQ(asked.folder, t.f.dir.folder() + "downloads/");
    EXPECT_EQ(asked.file_name, "Patch.ZIP");
    EXPECT_EQ(asked.default_extension, "zip");
    EXPECT_TRUE(asked.confirm_overwrite);
    EXPECT_EQ(t.f.dialogs.messages.back().title, "Trickvault - Information");
    EXPECT_TRUE(t.f.desktop.opened.isEmpty());
}

TEST(Tinfo, ACopyThatCannotBeMadeLosesNothing) {
    struct {
        const char* what;
        bool onto_itself; // else into a folder that does not exist
    } const cases[] = {{"onto the local copy", true}, {"into a missing folder", false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        FilesTab t(true);
        const std::string target = k.onto_itself ? t.local() : t.f.dir.path("missing/copy.zip");
        t.f.dialogs.expect_save(FileDialogResult{target, 1});
        t.f.dialogs.expect_message("Copying of file failed!", MessageAnswer::ok);
        click(*t.w, "btc_download");
        EXPECT_EQ(test::TempDir::read_file(t.local()), "PK patch bytes");
        EXPECT_EQ(t.f.dialogs.messages.back().title, "Trickvault - Error!");
    }
    // Cancelling the dialog copies nothing and says nothing.
    FilesTab t(true);
    t.f.dialogs.expect_save(std::nullopt);
    click(*t.w, "btc_download");
    EXPECT_TRUE(t.f.dialogs.messages.empty());
}

TEST(Tinfo, FilesWithoutALocalCopyComeFromTheServer) {
    // The desktop's handler when the options ask for it, for the profile's file and any other.
    for (const int row : {0, 1}) {
        FilesTab t(false);
        t.grid->setCurrentCell(row, 0);
        click(*t.w, "btc_download");
        EXPECT_EQ(t.f.desktop.opened, QList<QUrl>{QUrl(row == 0 ? "http://files.example/profiles/demo-id/files/Patch.ZIP"
                                                                : "http://files.example/trainer.exe")});
        EXPECT_TRUE(t.f.dialogs.file_dialogs.empty());
    }

    // Otherwise the program downloads it from the server into the chosen target.
    test::TempDir served;
    served.write("profiles/demo-id/files/Patch.ZIP", "PK served bytes");
    test::HttpPeer server(served.folder());
    FilesTab t(false);
    t.f.c.options.download_with_default_program = false;
    t.f.c.options.other_download_action = 4; // just report
    t.f.c.options.server = server.base();
    const std::string target = t.f.dir.path("out-patch.zip");
    t.f.dialogs.expect_save(FileDialogResult{target, 1});
    t.f.dialogs.expect_message("File successfully downloaded", MessageAnswer::ok);
    t.grid->setCurrentCell(0, 0);
    click(*t.w, "btc_download");
    EXPECT_EQ(test::TempDir::read_file(target), "PK served bytes");
    EXPECT_TRUE(t.f.desktop.opened.isEmpty());

    // A file the server does not have: the failure is reported and nothing stays behind.
    served.write("gone", "");
    std::filesystem::remove(served.path("profiles/demo-id/files/Patch.ZIP"));
    t.f.dialogs.expect_save(FileDialogResult{target, 1});
    t.f.dialogs.expect_message("File download failed!\r\n\r\n" + server.base() + "profiles/demo-id/files/Patch.ZIP",
                               MessageAnswer::ok);
    click(*t.w, "btc_download");
    EXPECT_FALSE(std::filesystem::exists(target));

    // An address the program does not download itself goes to the desktop.
    t.f.c.options.server = "ftp://mirror.example/";
    click(*t.w, "btc_download");
    EXPECT_EQ(t.f.desktop.opened, QList<QUrl>{QUrl("ftp://mirror.example/profiles/demo-id/files/Patch.ZIP")});
}

TEST(Tinfo, AFetchedFileIsOpenedAsTheOptionsSay) {
    enum class Opens { nothing, file, folder };
    struct {
        Tinfo::Fetched how;
        const char* target_name;
        int action; // the option for non-exe files; exe files have "do nothing"
        const char* message;
        MessageAnswer answer;
        Opens opens;
    } const cases[] = {
        {Tinfo::Fetched::copied, "a.zip", 0, "File successfully copied", MessageAnswer::ok, Opens::file},
        {Tinfo::Fetched::copied, "a.zip", 1, "Do you want to open the file?", MessageAnswer::yes,
         Opens::file},
        {Tinfo::Fetched::copied, "a.zip", 1, "Do you want to open the file?", MessageAnswer::no,
         Opens::nothing},
        {Tinfo::Fetched::downloaded, "a.zip", 2, "downloaded (at 12.5 KBytes/s)", MessageAnswer::ok,
         Opens::folder},
        {Tinfo::Fetched::downloaded, "a.zip", 3, "open the file's directory?", MessageAnswer::yes,
         Opens::folder},
        {Tinfo::Fetched::downloaded, "a.zip", 4, "downloaded (at 12.5 KBytes/s)", MessageAnswer::ok,
         Opens::nothing},
        {Tinfo::Fetched::copied, "SETUP.EXE", 0, "File successfully copied", MessageAnswer::ok,
         Opens::nothing},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.message) + " " + std::to_string(k.action));
        InfoFolder f;
        f.c.options.other_download_action = static_cast<std::uint8_t>(k.action);
        f.c.options.exe_download_action = 4;
        auto w = f.open(sample_game(), InfoMode::view);
        const std::string target = f.dir.write(std::string("out/") + k.target_name, "x");
        f.dialogs.expect_message(k.message, k.answer);
        w->open_downloaded_file("/src/a.zip", target, k.how, "12.5");
        const bool question = k.action == 1 || k.action == 3;
        EXPECT_EQ(f.dialogs.messages.back().title,
                  question ? "Trickvault - Question" : "Trickvault - Information");
        // Paths are shown as they are: another case would name another file.
        EXPECT_NE(f.dialogs.messages.back().text.find(target), std::string::npos);
        const QList<QUrl> expected =
            k.opens == Opens::file     ? QList<QUrl>{QUrl::fromLocalFile(qt_utf8(target))}
            : k.opens == Opens::folder ? QList<QUrl>{QUrl::fromLocalFile(qt_utf8(f.dir.path("out/")))}
                                       : QList<QUrl>{};
        EXPECT_EQ(f.desktop.opened, expected);
    }
}

TEST(Tinfo, VisitOpensTheSelectedHomePage) {
    InfoFolder f;
    auto w = f.open(sample_game(), InfoMode::view);
    get<TTKV_Tabs>(*w, "tabs_type")->setTabIndex(3);
    auto* grid = get<QTableWidget>(*w, "sg_info_homepages");
    click(*w, "btc_visit");
    const QPoint second = grid->visualItemRect(grid->item(1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(f.desktop.opened,
              QList<QUrl>({QUrl("http://spacequest.example/"), QUrl("http://publisher.example/")}));
}

TEST(Tinfo, GridsDrawTheHeaderLighterAndTheSelectedRowInverted) {
    struct {
        SkinColor grid;
        SkinColor text;
        QColor header;
    } const cases[] = {
        {skin_rgb(40, 60, 250), skin_rgb(255, 255, 0), QColor(56, 76, 255)},
        {skin_rgb(255, 255, 255), skin_rgb(0, 0, 0), QColor(255, 255, 255)}, // white stays white
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.header.name().toStdString());
        InfoFolder f;
        f.c.skin_current.window_information.fields.color = k.grid;
        f.c.skin_current.window_information.fields.font_color = k.text;
        auto w = f.open(sample_game(), InfoMode::view);
        get<TTKV_Tabs>(*w, "tabs_type")->setTabIndex(2);
        auto* grid = get<QTableWidget>(*w, "sg_info_internet");
        const QImage image = grid->grab().toImage();
        const int header = grid->horizontalHeader()->height();
        const int row = grid->rowHeight(0);
        EXPECT_EQ(header, row);
        EXPECT_EQ(QColor(image.pixel(1, 1)), k.header);
        EXPECT_EQ(QColor(image.pixel(1, header + 1)), qt_colour(k.text)); // row 0 is selected
        EXPECT_EQ(QColor(image.pixel(1, header + row + 1)), qt_colour(k.grid));
    }
}

// How wide a line of the memo's text can be.
int line_width(const QPlainTextEdit& memo) {
    return memo.viewport()->width() - static_cast<int>(std::ceil(2 * memo.document()->documentMargin())) -
           memo.cursorWidth();
}

TEST(Tinfo, TextFontIsTheLargestThatFitsSeventyTwoLetters) {
    struct {
        double scale;
        bool own_style; // else the skin's style
        bool bold;
        bool italic;
    } const cases[] = {{1.0, true, true, false}, {2.0, false, false, true}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.scale);
        InfoFolder f;
        f.c.screen_scale = k.scale;
        f.c.options.info_font_name = "DejaVu Sans Mono";
        f.c.options.info_style_enabled = k.own_style;
        f.c.options.info_style = info_style_bold;
        f.c.skin_current.info_font_style = font_italic;
        auto w = f.open(sample_game(), InfoMode::view);
        const QFont font = get<QPlainTextEdit>(*w, "me_info_main")->font();
        EXPECT_EQ(font.family(), "DejaVu Sans Mono");
        EXPECT_EQ(font.bold(), k.bold);
        EXPECT_EQ(font.italic(), k.italic);
        for (const char* other : {"ed_name", "me_info_user", "me_info_web"})
            EXPECT_EQ(get<QWidget>(*w, other)->font(), font) << other;
        const int width = line_width(*get<QPlainTextEdit>(*w, "me_info_main"));
        const auto fits = [&](int points) {
            QFont f2 = font;
            f2.setPointSize(points);
            return QFontMetrics(f2).horizontalAdvance(QString(72, 'm')) <= width;
        };
        const int size = font.pointSize();
        ASSERT_GE(size, 6);
        ASSERT_LE(size, 20);
        EXPECT_TRUE(size == 6 || fits(size)) << size;
        EXPECT_TRUE(size == 20 || !fits(size + 1)) << size;
    }
}

TEST(Tinfo, ClientAreaFollowsTheScreenScaleCentredOverTheParent) {
    for (const double scale : {1.0, 1.25}) {
        SCOPED_TRACE(scale);
        InfoFolder f;
        f.c.screen_scale = scale;
        QWidget parent;
        parent.setGeometry(100, 60, 900, 640);
        parent.show();
        f.c.info_mode = InfoMode::view;
        f.c.db.current_game = sample_game();
        Tinfo w(f.c, f.dialogs, &parent);
        w.show();
        EXPECT_EQ(w.findChild<QWidget*>("client")->size(), scale == 1.0 ? QSize(538, 351) : QSize(673, 439));
        const QPoint offset = w.frameGeometry().center() - parent.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 6);
    }
}

TEST(Tinfo, HelpAndClipboardKeys) {
    InfoFolder f;
    f.c.language.help_path = f.dir.write("languages/english.html",
                                         "<html><body><a name=\"topic-10507\">Information</a></body></html>");
    auto w = f.open(sample_game(), InfoMode::view);
    QApplication::clipboard()->clear();
    press(Qt::Key_F5);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Space Quest:\n"));
    EXPECT_TRUE(QApplication::clipboard()->text().contains("IDKFA: all keys"));
    press(Qt::Key_F10);
    EXPECT_TRUE(w->isVisible());

    press(Qt::Key_F1);
    auto* browser = w->findChild<QTextBrowser*>("help_browser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "topic-10507");
}

// The marked words of a memo: "{Save}" the current match, "[save]" another.
QString marks_of(QPlainTextEdit* memo, const QColor& current_colour) {
    QString out;
    for (const QTextEdit::ExtraSelection& s : memo->extraSelections())
        out += s.format.background().color() == current_colour ? "{" + s.cursor.selectedText() + "}"
                                                               : "[" + s.cursor.selectedText() + "]";
    return out;
}

void key(int k, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(k), modifiers);
}

const QColor current_mark(255, 150, 40);

TEST(Tinfo, FindMarksTheMatchesOfAllTabsAndStepsThroughThem) {
    InfoFolder f;
    GAMES2_TEMP_ARRAY_TYPE game = sample_game();
    game.user_text = "Saves in slot 2";
    auto w = f.open(game, InfoMode::view);
    auto* tabs = get<TTKV_Tabs>(*w, "tabs_type");
    auto* bar = get<QWidget>(*w, "pa_find");
    auto* find = get<QLineEdit>(*w, "ed_find");
    auto* count = get<QLabel>(*w, "lb_find_count");
    auto* main_memo = get<QPlainTextEdit>(*w, "me_info_main");
    auto* web = get<QPlainTextEdit>(*w, "me_info_web");
    auto* user = get<QPlainTextEdit>(*w, "me_info_user");
    EXPECT_FALSE(bar->isVisible());

    key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), find);
    EXPECT_EQ(get<QLabel>(*w, "lb_find")->text(), "Find:");
    // Word beginnings, any case: the first match from the tab in view is current, the typing goes on.
    QTest::keyClicks(find, "SAV");
    EXPECT_EQ(tabs->tabIndex(), 1);
    EXPECT_EQ(marks_of(main_memo, current_mark), "{Save}");
    EXPECT_EQ(marks_of(user, current_mark), "[Saves]"); // marked on its tab already
    EXPECT_EQ(count->text(), "1 of 3");
    EXPECT_EQ(QApplication::focusWidget(), find);

    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int tab;
        QPlainTextEdit* memo;
        const char* marks;
        const char* count;
    } steps[] = {
        {Qt::Key_F3, {}, 2, web, "{save}", "2 of 3"},                  // a file's description
        {Qt::Key_Return, {}, 4, user, "{Saves}", "3 of 3"},            // Enter in the bar too
        {Qt::Key_F3, {}, 1, main_memo, "{Save}", "1 of 3"},            // wraps to the first
        {Qt::Key_F3, Qt::ShiftModifier, 4, user, "{Saves}", "3 of 3"}, // and back
        {Qt::Key_F3, Qt::ShiftModifier, 2, web, "{save}", "2 of 3"},
    };
    for (const auto& step : steps) {
        key(step.key, step.modifiers);
        EXPECT_EQ(tabs->tabIndex(), step.tab) << step.count;
        EXPECT_TRUE(step.memo->isVisible()) << step.count;
        EXPECT_EQ(marks_of(step.memo, current_mark), step.marks) << step.count;
        EXPECT_EQ(count->text(), step.count);
    }
    EXPECT_EQ(get<QTableWidget>(*w, "sg_info_internet")->currentRow(), 0);

    find->setText("zzz");
    EXPECT_EQ(count->text(), "No match");
    EXPECT_TRUE(user->extraSelections().isEmpty());
    find->setText("sav");

    // Escape ends the find first; only then does it close the window.
    key(Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(web->extraSelections().isEmpty());
    EXPECT_TRUE(user->extraSelections().isEmpty());
    key(Qt::Key_F3); // nothing left to find
    EXPECT_EQ(tabs->tabIndex(), 2);
    key(Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

TEST(Tinfo, AFullTextHitOpensAtItsTabWithTheMatchesInView) {
    GAMES2_TEMP_ARRAY_TYPE game = sample_game();
    for (int i = 0; i < 80; ++i)
        game.infos[1].text += "\r\nline " + std::to_string(i);
    game.infos[1].text += "\r\nJumping here, jumps there";
    game.files[1].description = "A jump start";
    game.homepages[1].description = "Jumpers";
    game.user_text = "I jumped";
    const struct {
        EntryKind kind;
        std::size_t entry;
        int tab;
        int row; // of the grid of files or home pages
        const char* memo;
        const char* marks;
    } cases[] = {
        {EntryKind::info, 1, 1, -1, "me_info_main", "{Jumping}[jumps]"},
        {EntryKind::file, 1, 2, 1, "me_info_web", "{jump}"},
        {EntryKind::homepage, 1, 3, 1, "me_info_web", "{Jumpers}"}, // the last word also marks words it begins
        {EntryKind::user_text, 0, 4, -1, "me_info_user", "{jumped}"},
        {EntryKind::names, 0, 0, -1, "me_info_main", ""},
        {EntryKind::info, 9, 0, -1, "me_info_main", ""}, // an entry the game no longer has
    };
    for (const auto& c : cases) {
        InfoFolder f;
        auto w = f.open(game, InfoMode::view, false);
        w->show_matches("jump", c.kind, c.entry);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QApplication::processEvents();
        auto* memo = get<QPlainTextEdit>(*w, c.memo);
        EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), c.tab) << c.marks;
        if (c.row >= 0) {
            EXPECT_EQ(
                get<QTableWidget>(*w, c.tab == 2 ? "sg_info_internet" : "sg_info_homepages")->currentRow(),
                c.row);
        }
        EXPECT_EQ(marks_of(memo, current_mark), c.marks);
        if (*c.marks) {
            EXPECT_TRUE(memo->viewport()->rect().contains(memo->cursorRect().center())) << c.marks;
        }
    }
    // The long entry had to scroll; F3 goes on from the hit across the tabs.
    InfoFolder f;
    auto w = f.open(game, InfoMode::view, false);
    w->show_matches("jump", EntryKind::info, 1);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QApplication::processEvents();
    EXPECT_GT(get<QPlainTextEdit>(*w, "me_info_main")->verticalScrollBar()->value(), 0);
    key(Qt::Key_F3);
    EXPECT_EQ(marks_of(get<QPlainTextEdit>(*w, "me_info_main"), current_mark), "[Jumping]{jumps}");
    key(Qt::Key_F3);
    EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), 2);
    EXPECT_EQ(get<QTableWidget>(*w, "sg_info_internet")->currentRow(), 1);
}

// A skin whose colours tell the parts of the window apart.
// A publisher's line is 70 columns: at the designed size and the configured default font the text
// shows at least 72, so no such line breaks.
TEST(Tinfo, SeventyTwoColumnsFitAtTheDesignedSize) {
    for (const double scale : {1.0, 1.25, 2.0}) {
        SCOPED_TRACE(scale);
        InfoFolder f;
        f.c.screen_scale = scale;
        ASSERT_EQ(f.c.options.info_font_name, OPTIONS_TYPE().info_font_name);
        GAMES2_TEMP_ARRAY_TYPE game = sample_game();
        const std::string line(72, 'W');
        game.infos[0].text = line + "\r\n" + std::string(72, 'm');
        auto w = f.open(game, InfoMode::view);
        auto* memo = get<QPlainTextEdit>(*w, "me_info_main");
        const QFontMetrics metrics(memo->font());
        EXPECT_LE(metrics.horizontalAdvance(QString(72, 'm')), line_width(*memo));
        for (QTextBlock b = memo->document()->begin(); b.isValid() && !b.text().isEmpty(); b = b.next())
            EXPECT_EQ(b.layout()->lineCount(), 1) << b.text().toStdString();
    }
}

TEST(Tinfo, GrowingGivesTheRoomToTheTextsAndKeepsTheButtonsAtTheirEdges) {
    InfoFolder f;
    auto w = f.open(sample_game(), InfoMode::view);
    QWidget* client = get<QWidget>(*w, "client");
    const auto from_right = [&](const char* name) {
        const QRect r = get<QWidget>(*w, name)->geometry();
        return QPoint(client->width() - r.x(), client->height() - r.y());
    };
    const auto from_left = [&](const char* name) {
        const QRect r = get<QWidget>(*w, name)->geometry();
        return QPoint(r.x(), client->height() - r.y());
    };
    const QSize designed = w->size();
    EXPECT_EQ(w->minimumSize(), designed);
    const QSize memo = get<QWidget>(*w, "me_info_main")->size();
    const QSize tabs = get<QWidget>(*w, "tabs_type")->size();
    const QSize ok = get<QWidget>(*w, "btc_ok")->size();
    const QPoint cancel_at = from_right("btc_cancel"), ok_at = from_left("btc_ok"), other_at = from_left("btc_other");
    const QPoint find_at = from_right("pa_find");
    const QSize growth(300, 200);

    w->resize(designed + growth);
    EXPECT_EQ(get<QWidget>(*w, "me_info_main")->size(), memo + growth);
    EXPECT_EQ(get<QWidget>(*w, "tabs_type")->size(), tabs + QSize(growth.width(), 0));
    EXPECT_EQ(get<QWidget>(*w, "btc_ok")->size(), ok);
    EXPECT_EQ(from_right("btc_cancel"), cancel_at);
    EXPECT_EQ(from_left("btc_ok"), ok_at);
    EXPECT_EQ(from_left("btc_other"), other_at);
    EXPECT_EQ(from_right("pa_find").x(), find_at.x());
    // The files' grid and its address column grow with the width, the description below it with both.
    press(Qt::Key_F12);
    press(Qt::Key_F12);
    auto* files = get<QTableWidget>(*w, "sg_info_internet");
    EXPECT_EQ(files->columnWidth(1), 239 + growth.width());
    EXPECT_EQ(get<QWidget>(*w, "me_info_web")->height(), 69 + growth.height());
    // The background picture still covers the window.
    const QLabel* picture = get<QLabel>(*w, "im_background");
    EXPECT_TRUE(picture->isVisible());
    EXPECT_GE(picture->width(), client->width());
    EXPECT_GE(picture->height(), client->height());

    w->resize(designed);
    EXPECT_EQ(get<QWidget>(*w, "me_info_main")->size(), memo);
    EXPECT_EQ(from_right("btc_cancel"), cancel_at);
    EXPECT_EQ(files->columnWidth(1), 239);
}

TEST(Tinfo, TheSizeIsRememberedAndRestoredWithinTheScreen) {
    InfoFolder f;
    QSize designed;
    {
        auto w = f.open(sample_game(), InfoMode::view);
        designed = w->size();
        w->done(QDialog::Rejected);
        EXPECT_EQ(f.c.options.info_window_width, 0); // the designed size is no size of its own
        EXPECT_EQ(f.c.options.info_window_height, 0);
    }
    {
        auto w = f.open(sample_game(), InfoMode::view);
        w->resize(designed + QSize(120, 80));
        w->done(QDialog::Rejected);
        EXPECT_EQ(f.c.options.info_window_width, designed.width() + 120);
        EXPECT_EQ(f.c.options.info_window_height, designed.height() + 80);
        EXPECT_FALSE(f.c.options.info_window_maximised);
    }
    EXPECT_EQ(f.open(sample_game(), InfoMode::view)->size(), designed + QSize(120, 80));

    // Larger than the screen (another monitor, a file edited by hand): the screen's area at most.
    f.c.options.info_window_width = 9000;
    f.c.options.info_window_height = 7000;
    auto w = f.open(sample_game(), InfoMode::view);
    const QRect screen = w->screen()->availableGeometry();
    // (the window manager adds its frame around it)
    EXPECT_LE(w->width(), screen.width());
    EXPECT_LE(w->height(), screen.height());
    EXPECT_TRUE(screen.contains(w->geometry().topLeft()));
    EXPECT_GE(w->width(), designed.width());
}

TEST(Tinfo, ReadingKeys) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        ReadingKey expected;
    } cases[] = {
        {Qt::Key_Plus, Qt::ControlModifier, ReadingKey::larger},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, ReadingKey::larger}, // plus over "="
        {Qt::Key_Equal, Qt::ControlModifier, ReadingKey::larger},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, ReadingKey::larger},
        {Qt::Key_Minus, Qt::ControlModifier, ReadingKey::smaller},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, ReadingKey::smaller},
        {Qt::Key_0, Qt::ControlModifier, ReadingKey::normal_size},
        {Qt::Key_Tab, Qt::ControlModifier, ReadingKey::next_tab},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, ReadingKey::previous_tab},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, ReadingKey::previous_tab},
        {Qt::Key_PageDown, Qt::ControlModifier, ReadingKey::next_tab},
        {Qt::Key_PageUp, Qt::ControlModifier, ReadingKey::previous_tab},
        // without Ctrl, or with Alt as well, the keys keep their own meaning
        {Qt::Key_Plus, {}, ReadingKey::none},
        {Qt::Key_Tab, {}, ReadingKey::none},
        {Qt::Key_PageDown, {}, ReadingKey::none},
        {Qt::Key_0, Qt::ControlModifier | Qt::AltModifier, ReadingKey::none},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::ShiftModifier, ReadingKey::none},
        {Qt::Key_A, Qt::ControlModifier, ReadingKey::none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reading_key(c.key, c.modifiers), c.expected) << c.key << " " << c.modifiers.toInt();
}

TEST(Tinfo, CtrlKeysSizeTheTextAndSwitchTabs) {
    InfoFolder f;
    f.c.options.info_font_name = "DejaVu Sans Mono";
    auto w = f.open(sample_game(), InfoMode::view);
    auto* tabs = get<TTKV_Tabs>(*w, "tabs_type");
    auto* memo = get<QPlainTextEdit>(*w, "me_info_main");
    const int size = memo->font().pointSize();

    key(Qt::Key_Plus, Qt::ControlModifier);
    key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(memo->font().pointSize(), size + 2);
    EXPECT_EQ(get<QWidget>(*w, "me_info_user")->font().pointSize(), size + 2);
    EXPECT_EQ(get<QWidget>(*w, "ed_name")->font().pointSize(), size); // the name keeps its size
    EXPECT_EQ(f.c.options.info_text_size_offset, 2);
    key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(memo->font().pointSize(), size + 1);
    EXPECT_EQ(f.c.options.info_text_size_offset, 1);
    // The next window starts at the size the user chose.
    EXPECT_EQ(get<QPlainTextEdit>(*f.open(sample_game(), InfoMode::view, false), "me_info_main")->font().pointSize(),
              size + 1);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(memo->font().pointSize(), size);
    EXPECT_EQ(f.c.options.info_text_size_offset, 0);
    // Smaller stops at 6 points.
    for (int i = 0; i < 30; ++i)
        key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(memo->font().pointSize(), 6);
    key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(memo->font().pointSize(), 7);

    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int tab;
    } steps[] = {{Qt::Key_Tab, Qt::ControlModifier, 1},
                 {Qt::Key_PageDown, Qt::ControlModifier, 2},
                 {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 1},
                 {Qt::Key_PageUp, Qt::ControlModifier, 0},
                 {Qt::Key_PageUp, Qt::ControlModifier, 4}};
    for (const auto& s : steps) {
        key(s.key, s.modifiers);
        EXPECT_EQ(tabs->tabIndex(), s.tab) << s.key;
    }
    // In the user's text as well, where Tab alone stays in the text.
    EXPECT_EQ(QApplication::focusWidget(), get<QWidget>(*w, "me_info_user"));
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->tabIndex(), 0);
}

// A long text, scrolled: the game opens again where it was left, another game at its start.
TEST(Tinfo, AGameOpensAgainAtTheTabAndPlaceItWasLeft) {
    InfoFolder f;
    GAMES2_TEMP_ARRAY_TYPE game = sample_game();
    for (int i = 0; i < 200; ++i)
        game.infos[1].text += "\r\nLine " + std::to_string(i);
    const auto scroll_of = [](Tinfo& w) {
        return get<QPlainTextEdit>(w, "me_info_main")->verticalScrollBar()->value();
    };
    int left_at = 0;
    {
        auto w = f.open(game, InfoMode::view);
        key(Qt::Key_Tab, Qt::ControlModifier);
        auto* bar = get<QPlainTextEdit>(*w, "me_info_main")->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 100);
        bar->setValue(120);
        left_at = bar->value();
        w->done(QDialog::Rejected);
    }
    const std::int32_t index = f.c.db.current_game_index;
    f.c.db.games.pop_back(); // open() puts the game into the table again
    {
        auto w = f.open(game, InfoMode::view);
        EXPECT_EQ(f.c.db.current_game_index, index);
        EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), 1);
        EXPECT_EQ(scroll_of(*w), left_at);
        // the files' tab at its row
        key(Qt::Key_Tab, Qt::ControlModifier);
        get<QTableWidget>(*w, "sg_info_internet")->setCurrentCell(1, 0);
        w->done(QDialog::Accepted);
    }
    f.c.db.games.pop_back();
    {
        auto w = f.open(game, InfoMode::view);
        EXPECT_EQ(get<TTKV_Tabs>(*w, "tabs_type")->tabIndex(), 2);
        EXPECT_EQ(get<QTableWidget>(*w, "sg_info_internet")->currentRow(), 1);
    }
    // Another game, and the same game to change, open as they always did.
    EXPECT_EQ(get<TTKV_Tabs>(*f.open(user_game("Other", "notes"), InfoMode::view), "tabs_type")->tabIndex(), 0);
    f.c.db.games.resize(2);
    auto modify = f.open(game, InfoMode::modify);
    EXPECT_EQ(get<TTKV_Tabs>(*modify, "tabs_type")->tabIndex(), 4);
}

// Addresses in the texts open as the internet options say, as the main window's address does.
TEST(Tinfo, WebAddressesInTheTextOpenOnAClick) {
    InfoFolder f;
    GAMES2_TEMP_ARRAY_TYPE game = sample_game();
    game.infos[0].text = "Maps: see www.maps.example/sq1 (all levels).\r\nNo address here.";
    auto w = f.open(game, InfoMode::view);
    auto* memo = get<QPlainTextEdit>(*w, "me_info_main");
    QTextCursor on(memo->document());
    on.setPosition(static_cast<int>(QString("Maps: see www.m").size()));
    EXPECT_TRUE(QTextCursor(on).charFormat().fontUnderline());
    const QPoint address = memo->cursorRect(on).center() + QPoint(2, 0);
    QTextCursor off(memo->document());
    off.setPosition(static_cast<int>(QString("Maps: s").size()));
    EXPECT_FALSE(off.charFormat().fontUnderline());

    const struct {
        bool open_on_click;
        bool copy_on_click;
        QPoint at;
        QStringList opened;
        QString clipboard;
    } cases[] = {
        {true, false, address, {"http://www.maps.example/sq1"}, "before"},
        {true, true, address, {"http://www.maps.example/sq1"}, "http://www.maps.example/sq1"},
        {false, true, address, {}, "http://www.maps.example/sq1"},
        {true, false, memo->cursorRect(off).center(), {}, "before"},
        {true, false, QPoint(memo->viewport()->width() - 5, memo->cursorRect(on).center().y()), {}, "before"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at.x());
        f.desktop.opened.clear();
        QApplication::clipboard()->setText("before");
        f.c.options.open_url_on_click = c.open_on_click;
        f.c.options.copy_url_on_click = c.copy_on_click;
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, c.at);
        QStringList opened;
        for (const QUrl& url : f.desktop.opened)
            opened << url.toString();
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard);
    }
}

void screen_skin(ProgramContext& c) {
    c.options.custom_title_bar_active = true;
    c.skin_current =
        skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128), skin_rgb(166, 202, 240),
                          skin_rgb(192, 192, 192), skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
}

TEST(Tinfo, Screens) {
    {
        InfoFolder f;
        screen_skin(f.c);
        auto w = f.open(sample_game(), InfoMode::view);
        get<TTKV_Tabs>(*w, "tabs_type")->setTabIndex(2);
        test::save_screen(*w, "Tinfo-view");
    }
    {
        InfoFolder f;
        screen_skin(f.c);
        auto w = f.open(sample_game(), InfoMode::modify);
        get<QPlainTextEdit>(*w, "me_info_user")->setPlainText("My notes\nThe code works on level 2 only.");
        test::save_screen(*w, "Tinfo-modify");
    }
    {
        InfoFolder f;
        screen_skin(f.c);
        auto w = f.open_new();
        type_texts(*w, "My own game", "Hold fire for ten seconds.");
        EXPECT_TRUE(get<QLabel>(*w, "lb_exist")->isVisible());
        test::save_screen(*w, "Tinfo-add");
    }
    {
        InfoFolder f;
        screen_skin(f.c);
        auto w = f.open(sample_game(), InfoMode::view);
        key(Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(get<QLineEdit>(*w, "ed_find"), "i");
        test::save_screen(*w, "Tinfo-find");
    }
}

} // namespace
} // namespace tkv
