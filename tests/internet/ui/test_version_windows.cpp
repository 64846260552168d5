// The notes window and the version check, against a real web server on 127.0.0.1.

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "internet/ui/version_windows.h"
#include "internet/version_check.h"
#include "support/peers.h"
#include "support/scoped_env.h"
#include "support/screens.h"
#include "support/temp_dir.h"
#include "support/url_recorder.h"

namespace tkv {
namespace {

struct Program {
    test::TempDir home;
    ProgramContext c;
    Program() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
    }
};

QDialog* visible_modal() {
    auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return w && w->isVisible() ? w : nullptr;
}

struct NotesShown {
    bool opened = false;
    QString title;
    QString text;
};

// Runs one of the notes entries, reads the window it shows and closes it with its OK button.
NotesShown notes_of(const std::function<void()>& run, const std::string& screen = {}) {
    NotesShown shown;
    QTimer watch;
    watch.callOnTimeout([&] {
        QDialog* w = visible_modal();
        if (!w) return;
        watch.stop();
        shown.opened = w->objectName() == "Tupgrade";
        shown.title = w->windowTitle();
        if (auto* memo = w->findChild<QPlainTextEdit*>("me_upgrade")) shown.text = memo->toPlainText();
        if (!screen.empty()) test::save_screen(*w, screen);
        if (auto* ok = w->findChild<QPushButton*>("btc_ok"))
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            w->reject();
    });
    watch.start(10);
    run();
    return shown;
}

TEST(Tupgrade, FirstRunWelcome) {
    Program p;
    p.c.first_run = true;
    const NotesShown shown = notes_of([&] { run_first(p.c); }, "Tupgrade");
    ASSERT_TRUE(shown.opened);
    EXPECT_EQ(shown.title, "Trickvault - First launch");
    EXPECT_TRUE(shown.text.startsWith("Welcome! You have launched Trickvault for the first time!\n\n"
                                      "Current version: 3.50\n\n"));
    EXPECT_TRUE(shown.text.contains("Press F1 in any window to open its help.\n"));
    EXPECT_TRUE(shown.text.endsWith("Thank you for reading.\n\nTrickvault Team\ninfo@trickvault.example"));
}

TEST(Tupgrade, NewerVersionShowsTheChangesSinceTheRecordedOne) {
    const std::tuple<const char*, bool, std::vector<const char*>> cases[] = {
        {"3.50 beta", true, {"3.50:"}},
        {"3.12", true, {"3.50:"}},
        {"3.11", true, {"3.12:", "3.50:"}},
        {"2.00", true, {"3.10:", "3.11:", "3.12:", "3.50:"}},
        {"4.00", false, {}},
        {"3.50 final", false, {}},
    };
    for (const auto& [recorded, opens, blocks] : cases) {
        Program p;
        p.c.first_run = false;
        p.c.stored_version = recorded;
        const NotesShown shown = notes_of([&] { run_newer(p.c); });
        EXPECT_EQ(shown.opened, opens) << recorded;
        if (!opens) continue;
        EXPECT_EQ(shown.title, "Trickvault - Update") << recorded;
        EXPECT_TRUE(shown.text.startsWith(QString("Welcome! You have launched this new version of Trickvault for "
                                                  "the first time!\n\nCurrent version: 3.50\nNew features since "
                                                  "previous versions (%1):")
                                              .arg(recorded)))
            << recorded;
        for (const char* heading : {"3.10:", "3.11:", "3.12:", "3.50:"}) {
            const bool wanted = std::find_if(blocks.begin(), blocks.end(), [&](const char* b) {
                                    return std::string_view(b) == heading;
                                }) != blocks.end();
            EXPECT_EQ(shown.text.contains(QString("\n\n%1\n====\n").arg(heading)), wanted) << recorded << heading;
        }
    }
}

struct Served : Program {
    test::TempDir root;
    test::HttpPeer server{root.folder()};
    Served() {
        c.options.server = server.base();
        c.options.version_check_time = {};
    }
};

// Runs the check; a window that has not closed by itself after five seconds is closed and reported.
bool check_closes_by_itself(ProgramContext& c) {
    bool stayed = false;
    QElapsedTimer clock;
    clock.start();
    QTimer watch;
    watch.callOnTimeout([&] {
        QDialog* w = visible_modal();
        if (!w || clock.elapsed() < 5000) return;
        stayed = true;
        w->done(QDialog::Rejected);
    });
    watch.start(20);
    check_new_version(c);
    return !stayed;
}

TEST(Tchecknew, ClosesSilentlyAndRecordsTheTimeOnlyWhenAVersionCame) {
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"the running version", ";Trickvault\r\nLatest Version=3.50\r\n", true},
        {"no version line", ";Trickvault\r\nVersion=3.60\r\n", false},
        {"an empty version", "Latest Version= \r\n", false},
        {"a body far too long", "Latest Version=3.60\r\n" + std::string(200000, 'x'), false},
    };
    for (const auto& [what, file, recorded] : cases) {
        Served s;
        s.root.write("information/tkv_version.tku", file);
        EXPECT_TRUE(check_closes_by_itself(s.c)) << what;
        EXPECT_EQ(s.c.options.version_check_time != DateTime{}, recorded) << what;
    }

    Served missing;
    EXPECT_TRUE(check_closes_by_itself(missing.c));
    EXPECT_EQ(missing.c.options.version_check_time, DateTime{}) << "404";
    EXPECT_NE(missing.server.requests().find("GET /information/tkv_version.tku HTTP/1.0"), std::string::npos);

    Program nobody;
    nobody.c.options.version_check_time = {};
    nobody.c.options.server = "http://127.0.0.1:" + std::to_string(test::free_port()) + "/";
    EXPECT_TRUE(check_closes_by_itself(nobody.c));
    EXPECT_EQ(nobody.c.options.version_check_time, DateTime{}) << "no server";
}

TEST(Tchecknew, NewerVersionIsShownWithTheHomePageButton) {
    Served s;
    s.root.write("information/tkv_version.tku", ";Trickvault\r\nlatest version = 3.51\r\n");
    test::UrlRecorder urls;
    QString memo;
    QString ok_text;
    QTimer watch;
    watch.callOnTimeout([&] {
        QDialog* w = visible_modal();
        if (!w) return;
        auto* me = w->findChild<QPlainTextEdit*>("me_information");
        if (!me->isVisible()) return;
        watch.stop();
        memo = me->toPlainText();
        EXPECT_FALSE(w->findChild<QLabel*>("lb_information")->isVisible());
        auto* ok = w->findChild<QPushButton*>("btc_abort");
        ok_text = ok->text();
        auto* homepage = w->findChild<QPushButton*>("btc_homepage");
        EXPECT_TRUE(w->rect().contains(homepage->mapTo(w, homepage->rect().bottomRight())));
        test::save_screen(*w, "Tchecknew");
        QTest::mouseClick(homepage, Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    watch.start(10);
    check_new_version(s.c);
    EXPECT_EQ(memo, "The newest program version is: 3.51\n\nChanges made since last version can be seen in "
                    "OPTIONS/UPDATES/PROGRAM window.");
    EXPECT_EQ(ok_text, "&Ok");
    EXPECT_NE(s.c.options.version_check_time, DateTime{});
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened[0].toString().toStdString(), whats_new_page_address);
}

TEST(Tchecknew, AServerThatNeverAnswersEndsTheCheckSilently) {
    Served s;
    const test::ScopedEnv stall(http_stall_variable, "1");
    s.c.options.server = s.server.url("__silent/0/");
    EXPECT_TRUE(check_closes_by_itself(s.c)); // by itself, as the start-up check must
    EXPECT_EQ(s.c.options.version_check_time, DateTime{});
    EXPECT_NE(s.server.requests().find("GET /__silent/0/information/tkv_version.tku"), std::string::npos);
}

TEST(Tchecknew, CancelEndsARunningTransfer) {
    Served s;
    s.c.options.server = s.server.url("__slow/200000/"); // 1000 bytes every 0.2 s
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(300, [] {
        if (QDialog* w = visible_modal()) QTest::mouseClick(w->findChild<QPushButton*>("btc_abort"), Qt::LeftButton);
    });
    EXPECT_TRUE(check_closes_by_itself(s.c));
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_EQ(s.c.options.version_check_time, DateTime{});
}

} // namespace
} // namespace tkv

#include "support/moc_url_recorder.cpp" // the recorder is not among this target's sources
