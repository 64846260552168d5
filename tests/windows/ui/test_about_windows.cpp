// The about, donation and credits windows.

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/program_folder.h"
#include "platform/qt/desktop.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/url_recorder.h"
#include "windows/ui/about_window.h"
#include "windows/ui/credits_window.h"

namespace tkv {
namespace {

struct Folder {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    test::UrlRecorder desktop;
    ProgramContext& c = f.c;
};

template <class T> T* child(const QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    if (!c) ADD_FAILURE() << name << " is missing";
    return c;
}

QString text_of(const QWidget& w, const char* name) {
    const QLabel* l = child<QLabel>(w, name);
    return l ? l->text() : QString();
}

QString url(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// About --------------------------------------------------------------------------------------

TEST(Tabout, ShowsTheProgramItsMakerAddressesAndNotes) {
    Folder f;
    Tabout w(f.c, f.dialogs);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Trickvault - About");
    EXPECT_EQ(text_of(w, "lb_programname"), "Trickvault");
    EXPECT_EQ(text_of(w, "lb_programver"), "Version: 3.50");
    EXPECT_EQ(text_of(w, "lb_programmaker"), "Written by: " + url(author_name));
    EXPECT_EQ(text_of(w, "ulb_webadd"), url(home_page_address));
    EXPECT_EQ(text_of(w, "ulb_emailadd"), url(publisher_info_address));
    EXPECT_EQ(child<QPushButton>(w, "btc_ok")->text(), "&Ok");
    const QLabel* name = child<QLabel>(w, "lb_programname");
    const QLabel* version = child<QLabel>(w, "lb_programver");
    EXPECT_EQ(name->font().pointSize(), f.c.skin_current.window_about.labels_normal.font_size + 12);
    EXPECT_EQ(version->font().pointSize(), f.c.skin_current.window_about.labels_normal.font_size);

    // Captions 97 to 106 one after another, in plain lines.
    const QPlainTextEdit* memo = child<QPlainTextEdit>(w, "me_info");
    ASSERT_TRUE(memo);
    EXPECT_TRUE(memo->isReadOnly());
    const QString info = memo->toPlainText();
    EXPECT_TRUE(info.startsWith("If you have a question, a suggestion or something to share, please write to us.\n"
                                "Questions about the program"))
        << info.toStdString();
    EXPECT_TRUE(info.endsWith("Have fun with your games!\n\nMany thanks to everybody who sent cheats, skins and "
                              "translations."));
    EXPECT_FALSE(info.contains('\r'));
    EXPECT_TRUE(w.findChild<QWidget*>("tkvf_me_info"));
    test::save_screen(w, "Tabout");
}

TEST(Tabout, TakesTheScreensScaleAndCentresOverItsParentAndItsLinksOnTheirText) {
    struct Case {
        double scale;
        QSize client;
    };
    for (const Case k : {Case{1.0, QSize(409, 281)}, Case{1.5, QSize(614, 422)}}) {
        SCOPED_TRACE(k.scale);
        Folder f;
        f.c.screen_scale = k.scale;
        QWidget parent;
        parent.setGeometry(60, 40, 700, 500);
        Tabout w(f.c, f.dialogs, &parent);
        const QWidget* client = child<QWidget>(w, "client");
        EXPECT_EQ(client->size(), k.client);
        EXPECT_EQ(centre_of(w.geometry()), centre_of(parent.frameGeometry()));
        struct Link {
            const char* name;
            int designed_top;
        };
        for (const Link l : {Link{"ulb_webadd", 86}, Link{"ulb_emailadd", 102}}) {
            SCOPED_TRACE(l.name);
            const QLabel* link = child<QLabel>(w, l.name);
            EXPECT_LT(link->width(), client->width() / 2) << "as wide as its text";
            const QPoint designed = scaled_rect(10, l.designed_top, 389, 16, k.scale).center();
            EXPECT_LE((link->geometry().center() - designed).manhattanLength(), 1) << "around the same centre";
        }
    }
}

TEST(Tabout, LinksOpenTheHomePageAndAMailToThePublisher) {
    Folder f;
    f.c.options.internal_mail = false;
    Tabout w(f.c, f.dialogs);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(child<QLabel>(w, "ulb_webadd"), Qt::LeftButton);
    ASSERT_EQ(f.desktop.opened.size(), 1);
    EXPECT_EQ(f.desktop.opened[0].toString(), url(home_page_address));

    QTest::mouseClick(child<QLabel>(w, "ulb_emailadd"), Qt::LeftButton);
    ASSERT_EQ(f.desktop.opened.size(), 2);
    EXPECT_EQ(f.desktop.opened[1].toString(), "mailto:" + url(publisher_info_address));
    EXPECT_EQ(f.c.current_mail_subject, "E-mail from Trickvault");
    EXPECT_TRUE(w.isVisible()) << "the links leave the window open";
}

TEST(Tabout, EnterAndEscapeCloseItFromTheWindowAndTheNotes) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        for (const char* target : {"me_info", "btc_ok"}) {
            SCOPED_TRACE(std::string(target) + " " + std::to_string(key));
            Folder f;
            Tabout w(f.c, f.dialogs);
            w.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
            QWidget* focus = child<QWidget>(w, target);
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Down);
            EXPECT_TRUE(w.isVisible());
            QTest::keyClick(focus, key);
            EXPECT_FALSE(w.isVisible());
        }
    }
    Folder f;
    Tabout w(f.c, f.dialogs);
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "btc_ok"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

// Donation -----------------------------------------------------------------------------------

TEST(Tdonate, TheLetterEndsWithHowOftenItWillBeShownAgain) {
    Captions captions;
    captions_reset(captions);
    struct Case {
        int times;
        std::string ending;
    };
    const std::string again = "(This window will be displayed %1 times more using this version of the program.)";
    const std::string last =
        "(This window won't be displayed again if you don't change this program to a newer version.)";
    for (const Case& k : {Case{3, caption_format(again, {"2"})}, Case{2, caption_format(again, {"1"})},
                          Case{1, last}, Case{0, last}, Case{255, caption_format(again, {"254"})}}) {
        SCOPED_TRACE(k.times);
        const std::string text = donate_message(captions, k.times);
        EXPECT_TRUE(text.starts_with("Dear User,\r\n\r\n")) << text;
        EXPECT_TRUE(text.ends_with("Thank you for your help!\r\n\r\n" + k.ending)) << text;
    }
}

TEST(Tdonate, ShowsTheLetterAndItsButtons) {
    Folder f;
    f.c.options.donate_count = 3;
    Tdonate w(f.c, f.dialogs);
    EXPECT_EQ(centre_of(w.geometry()), screen_centre());
    w.show();
    EXPECT_EQ(w.windowTitle(), "Trickvault - Donate");
    const QPlainTextEdit* memo = child<QPlainTextEdit>(w, "me_info");
    ASSERT_TRUE(memo);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_TRUE(memo->toPlainText().startsWith("Dear User,\n\n"));
    EXPECT_TRUE(memo->toPlainText().endsWith("displayed 2 times more using this version of the program.)"));
    EXPECT_TRUE(w.findChild<QWidget*>("tkvf_me_info"));
    const QPushButton* donate = child<QPushButton>(w, "btc_donate");
    EXPECT_EQ(donate->text(), "&Donate");
    EXPECT_TRUE(donate->isDefault());
    EXPECT_EQ(child<QPushButton>(w, "btc_cancel")->text(), "&Cancel");
    EXPECT_EQ(child<QWidget>(w, "client")->size(), QSize(505, 321));
    test::save_screen(w, "Tdonate");
}

TEST(Tdonate, DonateOpensTheDonationPageAndCancelOnlyCloses) {
    const QString page = url(home_page_address) + "index.php?goto=donate";
    struct Case {
        const char* what;
        std::function<void(Tdonate&)> act;
        bool opens;
    };
    const auto key_in_notes = [](Qt::Key key) {
        return [key](Tdonate& w) { QTest::keyClick(w.findChild<QPlainTextEdit*>("me_info"), key); };
    };
    const auto click = [](const char* button) {
        return [button](Tdonate& w) { QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton); };
    };
    const Case cases[] = {{"Donate", click("btc_donate"), true},
                          {"Cancel", click("btc_cancel"), false},
                          {"Enter in the letter", key_in_notes(Qt::Key_Return), true},
                          {"Escape in the letter", key_in_notes(Qt::Key_Escape), false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Folder f;
        Tdonate w(f.c, f.dialogs);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        k.act(w);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(f.desktop.opened, k.opens ? QList<QUrl>{QUrl(page)} : QList<QUrl>{});
    }
}

// Credits ------------------------------------------------------------------------------------

struct Credits {
    Folder f;
    std::unique_ptr<Tcheatcheat> w;
    explicit Credits(const std::vector<std::string>& names) {
        for (const std::string& n : names)
            f.c.db.game_list.push_back({n, 0});
        w = std::make_unique<Tcheatcheat>(f.c);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    QLabel* label(int number) const { return child<QLabel>(*w, ("lb_game" + std::to_string(number)).c_str()); }
};

TEST(Tcheatcheat, CoversTheScreenWithoutABorder) {
    Credits k({"Alpha"});
    EXPECT_EQ(k.w->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(k.w->windowFlags() & Qt::FramelessWindowHint);
}

TEST(Tcheatcheat, ClosesOnlyOnEnterEscapeOrSpace) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        SCOPED_TRACE(key);
        Credits k({"Alpha"});
        QTest::keyClick(k.w.get(), Qt::Key_A);
        EXPECT_FALSE(k.w->close()) << "the system's close command is refused";
        k.w->reject();
        k.w->accept();
        EXPECT_TRUE(k.w->isVisible());
        QTest::keyClick(k.w.get(), key);
        EXPECT_FALSE(k.w->isVisible());
    }
}

TEST(Tcheatcheat, EachTickPopsTheNextLabelWithARandomGameInside) {
    const QStringList names = {"Alpha Centauri", "Beta Quest", "Kart Racing"};
    Credits k({"Alpha Centauri", "Beta Quest", "Kart Racing"});
    const QRect screen = k.w->rect();
    for (int tick = 1; tick <= 25; ++tick) {
        SCOPED_TRACE(tick);
        k.w->tm_cheatcheatTimer();
        const QLabel* l = k.label(tick);
        ASSERT_TRUE(l);
        EXPECT_TRUE(l->isVisible());
        EXPECT_TRUE(names.contains(l->text()));
        EXPECT_GE(l->y(), 20) << "below the top line";
        EXPECT_LE(l->geometry().bottom(), screen.height() - 21);
        EXPECT_GE(l->x(), 0);
        EXPECT_LT(l->geometry().right(), screen.width() - 1);
        // red 60 + e, green 96 + (e + 60) x 144 div 240, blue 240, with e from 0 to 119
        const QColor c = l->palette().color(QPalette::WindowText);
        const int e = c.red() - 60;
        EXPECT_TRUE(e >= 0 && e <= 119) << c.red();
        EXPECT_EQ(c.green(), 96 + (e + 60) * 144 / 240);
        EXPECT_EQ(c.blue(), 240);
    }
    test::save_screen(*k.w, "Tcheatcheat");
    // The 26th tick takes the first label again and leaves the others.
    k.label(1)->setText("used");
    k.label(2)->setText("kept");
    k.w->tm_cheatcheatTimer();
    EXPECT_TRUE(names.contains(k.label(1)->text()));
    EXPECT_EQ(k.label(2)->text(), "kept");
    EXPECT_FALSE(k.w->findChild<QLabel*>("lb_game26"));
}

TEST(Tcheatcheat, WithAnEmptyListTheLabelsStayEmpty) {
    Credits k({});
    for (int tick = 0; tick < 30; ++tick)
        k.w->tm_cheatcheatTimer();
    for (int n = 1; n <= 25; ++n)
        EXPECT_EQ(k.label(n)->text(), "");
}

} // namespace
} // namespace tkv
