// The search window over a small displayed list, driven by keys and clicks as the user would.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "database/game_list.h"
#include "database/similar_names.h"
#include "search/ui/text_search_service.h"
#include "support/screens.h"
#include "support/temp_dir.h"
#include "windows/ui/search_window.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

// Displayed rows, sorted by name:
//   0 Alpha Centauri (game 0)    1 Beta Quest (game 2)    2 Kart Racing Deluxe (game 1)
//   3 Pinball Alphabet (game 3)  4 Turbo Kart (game 1)
const std::vector<std::string> default_games = {"Alpha Centauri", "Turbo Kart\r\nKart Racing Deluxe",
                                                "Beta Quest", "Pinball Alphabet"};

struct SearchFolder {
    test::TempDir dir;
    ProgramContext c;
    explicit SearchFolder(const std::vector<std::string>& games = default_games,
                          const char* language = "English") {
        context_initialize(c, dir.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        PROFILES_TYPE profile;
        profile.id = "demo";
        profile.name = "Demo games";
        profile.language = language;
        c.profiles.profiles.push_back(profile);
        std::int32_t id = 0;
        for (const std::string& names : games)
            c.db.games.push_back({++id, names, "", 1, "", {}});
        u_progress_dat_list_build(c.db);
        u_progress_dat_list_sort(c.db, true);
    }
};

struct Controls {
    QLineEdit* edit;
    QLabel* name_label;
    QLabel* list_label;
    TTKV_ListBox* list;
    QPushButton* search;
    QPushButton* view;
    QPushButton* cancel;
    explicit Controls(Tsearch& w)
        : edit(w.findChild<QLineEdit*>("ed_name")), name_label(w.findChild<QLabel*>("lb_name")),
          list_label(w.findChild<QLabel*>("lb_list")), list(w.findChild<TTKV_ListBox*>("ls_list")),
          search(w.findChild<QPushButton*>("btc_search")), view(w.findChild<QPushButton*>("btc_view")),
          cancel(w.findChild<QPushButton*>("btc_cancel")) {
        if (!edit || !name_label || !list_label || !list || !search || !view || !cancel)
            ADD_FAILURE() << "a control is missing";
    }
    QStringList rows() const {
        QStringList r;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            r << list->model()->index(i, 0).data().toString();
        return r;
    }
    void run_search(const QString& text) const {
        edit->setText(text);
        QTest::mouseClick(search, Qt::LeftButton);
    }
    QPoint row_centre(int row) const { return list->visualRect(list->model()->index(row, 0)).center(); }
};

// Key presses go where the user's would: to the widget that has the focus.
void press(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key);
}

void show_active(Tsearch& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

TEST(Tsearch, OpensWithTheMainWindowsTextReadyToSearch) {
    SearchFolder f;
    Tsearch w(f.c, "Turbo");
    show_active(w);
    Controls k(w);
    EXPECT_EQ(w.windowTitle(), "Trickvault - Searching");
    EXPECT_EQ(k.name_label->text(), "Find text in games' names:");
    EXPECT_EQ(k.list_label->text(), "Search results:");
    EXPECT_EQ(QStringList({k.search->text(), k.view->text(), k.cancel->text()}),
              QStringList({"&Search", "&View", "&Close"}));
    EXPECT_EQ(k.edit->text(), "Turbo");
    EXPECT_EQ(k.edit->selectedText(), "Turbo"); // typing replaces it
    EXPECT_EQ(QApplication::focusWidget(), k.edit);
    EXPECT_EQ(k.list->model()->rowCount(), 0);
    EXPECT_TRUE(k.search->isDefault());
    EXPECT_FALSE(k.view->isDefault());
    EXPECT_FALSE(w.result().has_value());
}

TEST(Tsearch, ClientAreaFollowsTheScreenScaleAndTheWindowIsCentred) {
    struct {
        double scale;
        bool parent; // centred over it, else over the screen
        QSize client;
    } const cases[] = {{1.0, true, {560, 427}}, {1.25, false, {700, 534}}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.scale);
        SearchFolder f;
        f.c.screen_scale = k.scale;
        QWidget parent;
        parent.setGeometry(120, 80, 900, 640);
        parent.show();
        Tsearch w(f.c, "", k.parent ? &parent : nullptr);
        w.show();
        EXPECT_EQ(w.findChild<QWidget*>("client")->size(), k.client);
        const QRect over = k.parent ? parent.frameGeometry() : w.screen()->availableGeometry();
        const QPoint offset = w.frameGeometry().center() - over.center();
        EXPECT_LE(offset.manhattanLength(), 6); // the window frame is placed, not measured, before showing
    }
}

TEST(Tsearch, FindsAnyPartOfTheNamesIgnoringLetterCase) {
    const QString none = "Search results:  (No games found!)";
    struct {
        const char* typed;
        const char* shown; // the edit's text afterwards
        QStringList rows;
        QString list_label;
    } const cases[] = {
        {"ALPHA", "alpha", {"Alpha Centauri", "Pinball Alphabet"}, "Search results:  (2 games)"},
        {"alpha", "alpha", {"Alpha Centauri", "Pinball Alphabet"}, "Search results:  (2 games)"},
        {"Alpha CENTAURI", "alpha centauri", {"Alpha Centauri"}, "Search results:  (1 games)"},
        // A game with two names is listed once per name.
        {" \tKart  ", "kart", {"Kart Racing Deluxe", "Turbo Kart"}, "Search results:  (2 games)"},
        {"   ", "", {}, none},
        {"", "", {}, none},
        {"Zebra", "zebra", {}, none},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.typed);
        SearchFolder f;
        Tsearch w(f.c, "");
        show_active(w);
        Controls controls(w);
        controls.run_search(k.typed);
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(controls.edit->text(), k.shown);
        EXPECT_EQ(controls.rows(), k.rows);
        EXPECT_EQ(controls.list_label->text(), k.list_label);
        if (k.rows.isEmpty()) {
            EXPECT_EQ(QApplication::focusWidget(), controls.edit);
            EXPECT_EQ(controls.edit->selectedText(), controls.edit->text());
            EXPECT_TRUE(controls.search->isDefault());
        } else {
            EXPECT_EQ(QApplication::focusWidget(), controls.list);
            EXPECT_EQ(controls.list->currentIndex().row(), 0);
            EXPECT_TRUE(controls.list->selectionModel()->isSelected(controls.list->currentIndex()));
            EXPECT_TRUE(controls.view->isDefault());
            EXPECT_FALSE(controls.search->isDefault());
        }
    }
}

TEST(Tsearch, NamesAndTheSearchTextUseTheProfilesCodePage) {
    // "\xD5rs\xE9g" is O-double-acute "rs" e-acute "g" in windows-1250, the Hungarian code page.
    SearchFolder f({"\xD5rs\xE9g Kalandok", "Balaton"}, "Magyar");
    Tsearch w(f.c, "");
    show_active(w);
    Controls k(w);
    k.run_search(QString::fromUtf8("\u0150RS"));
    EXPECT_EQ(k.edit->text(), QString::fromUtf8("\u0150rs")); // only A..Z are folded
    EXPECT_EQ(k.rows(), QStringList({QString::fromUtf8("\u0150rs\u00e9g Kalandok")}));
}

TEST(Tsearch, ChoosingAResultReturnsItsRowOfTheDisplayedList) {
    enum class How { view, double_click };
    struct {
        const char* text;
        int result_row; // in ls_list
        How how;
        int game_list_row;
        int game; // the game that row belongs to
    } const cases[] = {
        {"alpha", 0, How::view, 0, 0}, // the first row of the displayed list is a choice too
        {"alpha", 1, How::double_click, 3, 3},
        {"kart", 0, How::double_click, 2, 1},
        {"kart", 1, How::view, 4, 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.text) + " " + std::to_string(k.result_row));
        SearchFolder f;
        Tsearch w(f.c, "");
        show_active(w);
        Controls controls(w);
        controls.run_search(k.text);
        const QPoint centre = controls.row_centre(k.result_row);
        QTest::mouseClick(controls.list->viewport(), Qt::LeftButton, {}, centre);
        if (k.how == How::view)
            QTest::mouseClick(controls.view, Qt::LeftButton);
        else
            QTest::mouseDClick(controls.list->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_FALSE(w.isVisible());
        ASSERT_EQ(w.result(), k.game_list_row);
        EXPECT_EQ(f.c.db.game_list[static_cast<std::size_t>(k.game_list_row)].game_index, k.game);
    }
}

TEST(Tsearch, ViewWithoutAResultChoosesNothing) {
    SearchFolder f;
    Tsearch w(f.c, "zebra");
    show_active(w);
    Controls k(w);
    QTest::mouseClick(k.view, Qt::LeftButton); // before any search
    k.run_search("zebra");
    QTest::mouseClick(k.view, Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.result().has_value());
}

TEST(Tsearch, EnterSearchesFromTheEditThenOpensTheFirstResult) {
    SearchFolder f;
    Tsearch w(f.c, "");
    show_active(w);
    Controls k(w);
    QTest::keyClicks(QApplication::focusWidget(), "KART");
    press(Qt::Key_Return);
    EXPECT_EQ(k.rows(), QStringList({"Kart Racing Deluxe", "Turbo Kart"}));
    EXPECT_EQ(k.edit->text(), "kart");
    EXPECT_TRUE(w.isVisible());
    press(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), 2);
}

TEST(Tsearch, TheDefaultButtonFollowsTheFocus) {
    SearchFolder f;
    Tsearch w(f.c, "");
    show_active(w);
    Controls k(w);
    k.run_search("kart");
    QTest::mouseClick(k.edit, Qt::LeftButton);
    EXPECT_TRUE(k.search->isDefault());
    EXPECT_FALSE(k.view->isDefault());
    QTest::mouseClick(k.list->viewport(), Qt::LeftButton, {}, k.row_centre(1));
    EXPECT_TRUE(k.view->isDefault());
    EXPECT_FALSE(k.search->isDefault());
    press(Qt::Key_Return);
    EXPECT_EQ(w.result(), 4);

    // An empty list does not take Enter away from the search.
    Tsearch again(f.c, "");
    show_active(again);
    Controls a(again);
    a.run_search("zebra");
    QTest::mouseClick(a.list->viewport(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), a.list);
    EXPECT_TRUE(a.search->isDefault());
    EXPECT_FALSE(a.view->isDefault());
}

TEST(Tsearch, ClosingWithoutViewChoosesNothing) {
    enum class How { escape, close_button, window_close };
    for (const How how : {How::escape, How::close_button, How::window_close}) {
        SCOPED_TRACE(static_cast<int>(how));
        SearchFolder f;
        Tsearch w(f.c, "alpha");
        show_active(w);
        Controls k(w);
        QTest::mouseClick(k.search, Qt::LeftButton);
        ASSERT_EQ(k.list->currentIndex().row(), 0); // a result is selected
        switch (how) {
        case How::escape:
            press(Qt::Key_Escape);
            break;
        case How::close_button:
            QTest::mouseClick(k.cancel, Qt::LeftButton);
            break;
        case How::window_close:
            w.close();
            break;
        }
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.result().has_value());
    }
}

TEST(Tsearch, F1ShowsTheSearchTopic) {
    SearchFolder f;
    f.c.language.help_path =
        f.dir.write("languages/english.html", "<html><body><a name=\"topic-10508\">Searching</a>"
                                              "</body></html>");
    Tsearch w(f.c, "alpha");
    show_active(w);
    Controls k(w);
    QTest::mouseClick(k.search, Qt::LeftButton);
    press(Qt::Key_F1); // the list has the focus
    auto* browser = w.findChild<QTextBrowser*>("help_browser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "topic-10508");
    EXPECT_TRUE(w.isVisible());
}

// The names like the text under their heading, and the games whose texts hold the words, each
// chosen with Enter as the names are.
TEST(Tsearch, SimilarNamesAndTextHits) {
    SearchFolder f;
    f.c.db.games[2].user_text = "Jumping over the gate of the water temple opens the last level.";
    const SimilarNames similar(f.c.db.game_list, CodePage::windows_1252);
    TextSearchService texts;
    texts.open(f.c.profiles.profiles[0], f.dir.path("profiles/demo/main.dat"), f.c.db);
    EXPECT_FALSE(texts.ready()); // prepared once the window's events ran
    QTRY_VERIFY_WITH_TIMEOUT(texts.ready(), 20000);
    EXPECT_EQ(texts.last_report().action, IndexAction::built);
    // The same table opened again: its stored index is searched at once, nothing is prepared.
    TextSearchService again;
    again.open(f.c.profiles.profiles[0], f.dir.path("profiles/demo/main.dat"), f.c.db);
    EXPECT_TRUE(again.ready());
    EXPECT_EQ(again.last_report().action, IndexAction::up_to_date);
    EXPECT_EQ(again.search(f.c.db, "water temple", 5)->hits.size(), 1u);

    struct {
        const char* typed;
        QStringList names;
        QStringList texts;
        QString texts_label;
        int chosen_row; // of the game list, after Enter
        bool text_choice;
    } const cases[] = {
        {"kart turbo", {"Similar names:", "Turbo Kart"}, {"Turbo Kart  \u2013  Names:  Turbo Kart Kart Racing Deluxe"},
         "In the texts:  (1 games)", 4, false},
        // The last word typed also finds the words it begins in the texts.
        {"alpha", {"Alpha Centauri", "Pinball Alphabet"},
         {"Alpha Centauri  \u2013  Names:  Alpha Centauri", "Pinball Alphabet  \u2013  Names:  Pinball Alphabet"},
         "In the texts:  (2 games)", 0, false},
        // A finished word is whole in the texts, where the names match any part.
        {"alpha ", {"Alpha Centauri", "Pinball Alphabet"}, {"Alpha Centauri  \u2013  Names:  Alpha Centauri"},
         "In the texts:  (1 games)", 0, false},
        {"jump temple", {}, {"Beta Quest  \u2013  User's information:  Jumping over the gate of the water temple "
          "opens the last level."}, "In the texts:  (1 games)", 1, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.typed);
        Tsearch w(f.c, "", nullptr, {&similar, &texts});
        show_active(w);
        Controls controls(w);
        auto* texts_list = w.findChild<TTKV_ListBox*>("ls_texts");
        auto* texts_label = w.findChild<QLabel*>("lb_texts");
        ASSERT_TRUE(texts_list && texts_label);
        controls.run_search(k.typed);
        EXPECT_EQ(controls.rows(), k.names);
        QStringList shown;
        for (int i = 0; i < texts_list->model()->rowCount(); ++i)
            shown << texts_list->model()->index(i, 0).data().toString();
        EXPECT_EQ(shown.join("|").toStdString(),
                  QStringList(k.texts).join("|").replace("\\u2013", QString(QChar(0x2013))).toStdString());
        EXPECT_EQ(texts_label->text().toStdString(), k.texts_label.toStdString());
        press(Qt::Key_Return);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), k.chosen_row);
        ASSERT_EQ(w.text_choice().has_value(), k.text_choice);
        if (k.text_choice) {
            EXPECT_EQ(w.text_choice()->query, k.typed);
            EXPECT_EQ(w.text_choice()->kind, EntryKind::user_text);
            // The matched words are marked bold.
            const QList<int> marks =
                texts_list->model()->index(0, 0).data(TTKV_ListBox::marks_role).value<QList<int>>();
            EXPECT_EQ(marks.size(), 4);
        }
    }

    // Nothing found offers the spelling suggestion as a link that searches it.
    Tsearch w(f.c, "", nullptr, {&similar, &texts});
    show_active(w);
    Controls controls(w);
    controls.run_search("tempel");
    auto* texts_label = w.findChild<QLabel*>("lb_texts");
    EXPECT_TRUE(texts_label->text().contains("<a href=\"temple\">temple</a>")) << texts_label->text().toStdString();
    emit texts_label->linkActivated("temple");
    EXPECT_EQ(controls.edit->text(), "temple");
    EXPECT_EQ(texts_label->text(), "In the texts:  (1 games)");
}

TEST(Tsearch, Screen) {
    SearchFolder f;
    f.c.options.custom_title_bar_active = true; // so the picture shows the title bar too
    f.c.skin_current =
        skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128), skin_rgb(166, 202, 240),
                          skin_rgb(192, 192, 192), skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
    Tsearch w(f.c, "a");
    show_active(w);
    QTest::mouseClick(w.findChild<QPushButton*>("btc_search"), Qt::LeftButton);
    test::save_screen(w, "Tsearch");
}

} // namespace
} // namespace tkv
