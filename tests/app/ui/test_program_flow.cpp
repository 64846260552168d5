// The whole program through main()'s own path: the real start-up, manager and main window, each
// in its real modal loop, driven as a user would.

#include "app/ui/program.h"
#include "database/dat_text.h"
#include "database/database_files.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QDialog>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tkv {
namespace {

QDialog* visible_window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return qobject_cast<QDialog*>(w);
    return nullptr;
}

// Runs the steps one after the other, each once its condition holds; a step that waits longer
// than ten seconds fails the test and closes every window, so the program always ends.
class Script {
  public:
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(20);
    }
    std::size_t done() const { return next_; }

  private:
    void tick() {
        if (next_ >= steps_.size()) return timer_.stop();
        if (steps_[next_].ready()) {
            steps_[next_++].act();
            waited_ = 0;
        } else if (++waited_ > 500) {
            ADD_FAILURE() << "waited in vain for: " << steps_[next_].what;
            next_ = steps_.size();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->close();
        }
    }
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
    QTimer timer_;
};

class ProgramFlow : public testing::Test {
  protected:
    test::TempDir home;

    void SetUp() override {
        for (const char* id : {"one", "two"})
            home.write(std::string("profiles/") + id + "/main.dat",
                       encode_dat_header({std::string(main_dat_magic), id, std::string("Name ") + id, "English",
                                          "20261201120000000"}) +
                           std::string(7, '\0'));
        qputenv("TRICKVAULT_HOME", QByteArray::fromStdString(home.folder()));
    }
    void TearDown() override { qunsetenv("TRICKVAULT_HOME"); }

    void configure(const std::string& general, bool manager_after_exit = true) {
        home.write("tkv.ini", "[general]\r\nfirst run=0\r\nversion=3.50\r\nshow donate message # times=0\r\n"
                              "dont show the manager after exit=" +
                                  std::string(manager_after_exit ? "0" : "1") + "\r\n" + general +
                                  "[visual]\r\nshow splash screen=0\r\neffect on exit=0\r\n"
                                  "[upgrade]\r\nautomatic version check at startup=0\r\n");
    }
    static bool countdown_shown(QDialog* manager) {
        auto* panel = manager->findChild<QWidget*>("pa_autorun_profile");
        return panel && panel->isVisible();
    }
};

// The manager comes back after the main window, whichever way the profile was started, and its
// countdown does not start again.
TEST_F(ProgramFlow, TheManagerComesBackAfterTheMainWindow) {
    for (const bool by_countdown : {false, true}) {
        SCOPED_TRACE(by_countdown ? "started by the countdown" : "started with Start");
        configure("last profile id=two\r\nlast profile autorun=1\r\nlast profile autorun time=" +
                  std::string(by_countdown ? "1" : "30") + "\r\n");
        QDialog* manager = nullptr;
        bool countdown_at_first = false;
        bool back_without_countdown = false;
        Script script({
            {"the manager", [&] { return (manager = visible_window("Tmanager")) != nullptr; },
             [&] {
                 countdown_at_first = countdown_shown(manager);
                 // Start runs the main window's loop: clicked from a fresh event, so the script's
                 // own timer is free to go on meanwhile.
                 if (!by_countdown)
                     QTimer::singleShot(0, manager, [manager] {
                         QTest::mouseClick(manager->findChild<QPushButton*>("btc_start"), Qt::LeftButton);
                     });
             }},
            {"the main window", [] { return visible_window("Tmain") != nullptr; },
             [] { visible_window("Tmain")->close(); }},
            {"the manager again", [] { return visible_window("Tmanager") != nullptr && !visible_window("Tmain"); },
             [&] {
                 QTest::qWait(1500); // longer than the countdown's step
                 back_without_countdown = !countdown_shown(manager) && visible_window("Tmain") == nullptr;
                 QTest::mouseClick(manager->findChild<QPushButton*>("btc_exit"), Qt::LeftButton);
             }},
        });
        EXPECT_EQ(program_run({}), 0);
        EXPECT_EQ(script.done(), 3u);
        EXPECT_TRUE(countdown_at_first);
        EXPECT_TRUE(back_without_countdown);
        EXPECT_NE(home.read("tkv.ini").find("last profile id=two"), std::string::npos);
    }
}

// On a first start nothing was ever chosen: the manager opens without counting down.
TEST_F(ProgramFlow, NoCountdownForAProfileNeverChosen) {
    configure("last profile id=\r\nlast profile autorun=1\r\nlast profile autorun time=1\r\n");
    bool counting = true;
    Script script({{"the manager", [] { return visible_window("Tmanager") != nullptr; },
                    [&] {
                        QDialog* manager = visible_window("Tmanager");
                        QTest::qWait(1500);
                        counting = countdown_shown(manager) || visible_window("Tmain") != nullptr;
                        QTest::mouseClick(manager->findChild<QPushButton*>("btc_exit"), Qt::LeftButton);
                    }}});
    EXPECT_EQ(program_run({}), 0);
    EXPECT_EQ(script.done(), 1u);
    EXPECT_FALSE(counting);
}

// With "dont show the manager after exit" on, leaving the main window ends the program.
TEST_F(ProgramFlow, WithoutTheManagerAfterExitTheProgramEndsWithTheMainWindow) {
    configure("last profile id=\r\n", false);
    bool manager_again = false;
    Script script({
        {"the manager", [] { return visible_window("Tmanager") != nullptr; },
         [] {
             QDialog* manager = visible_window("Tmanager");
             QTimer::singleShot(0, manager, [manager] {
                 QTest::mouseClick(manager->findChild<QPushButton*>("btc_start"), Qt::LeftButton);
             });
         }},
        {"the main window", [] { return visible_window("Tmain") != nullptr; },
         [&] {
             visible_window("Tmain")->close();
             QTimer::singleShot(0, [&] { manager_again = visible_window("Tmanager") != nullptr; });
         }},
    });
    EXPECT_EQ(program_run({}), 0);
    EXPECT_EQ(script.done(), 2u);
    EXPECT_FALSE(manager_again);
    EXPECT_NE(home.read("tkv.ini").find("last profile id=one"), std::string::npos);
}

// Restoring notes runs from the manager through its own window and the message saying so, in
// the program's real loops; the backup the save made comes back.
TEST_F(ProgramFlow, RestoringNotesFromTheManagerBringsBackTheSavedBackup) {
    configure("last profile id=two\r\nlast profile autorun=0\r\n");
    PROFILES_TYPE profile;
    profile.id = "two";
    GameDatabase db;
    db.games.push_back({-1, "Mine", "", 0, "the old note", {}});
    ASSERT_TRUE(u_progress_dat_save_user(db, profile, home.path("profiles/two/user.dat"), true));
    const std::string old_file = home.read("profiles/two/user.dat");
    db.games[0].user_text = "a mistake";
    ASSERT_TRUE(u_progress_dat_save_user(db, profile, home.path("profiles/two/user.dat"), true));

    const auto later = [](QWidget* w, std::function<void()> f) { QTimer::singleShot(0, w, std::move(f)); };
    QDialog* manager = nullptr;
    Script script({
        {"the manager", [&] { return (manager = visible_window("Tmanager")) != nullptr; },
         [&] { later(manager, [manager] { manager->findChild<QAction*>("pm_restore_notes")->trigger(); }); }},
        {"the backups", [] { return visible_window("Trestore_notes") != nullptr; },
         [&] {
             QDialog* w = visible_window("Trestore_notes");
             later(w, [w] { w->findChild<QPushButton*>("btc_restore")->click(); });
         }},
        {"the message that says so",
         [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
         [] { qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->accept(); }},
        {"the manager again", [&] { return QApplication::activeModalWidget() == manager; },
         [&] { QTest::mouseClick(manager->findChild<QPushButton*>("btc_exit"), Qt::LeftButton); }},
    });
    EXPECT_EQ(program_run({}), 0);
    EXPECT_EQ(script.done(), 4u);
    EXPECT_EQ(home.read("profiles/two/user.dat"), old_file);
}

// The switches need no display: "--help" prints them and ends before the application starts, so
// an X platform without a display, which would abort the program, is never reached.
TEST(ProgramProcess, HelpPrintsTheSwitchesWithoutADisplay) {
    test::TempDir scratch;
    for (const char* arg : {"--help", "-h"}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("TRICKVAULT_HOME", QString::fromStdString(scratch.path("home")));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(TKV_PROGRAM_PATH, {"/manager", arg});
        ASSERT_TRUE(program.waitForFinished(30000)) << arg;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << arg;
        EXPECT_EQ(program.exitCode(), 0) << arg;
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith("Usage: trickvault")) << out.toStdString();
        for (const char* sw : {"/profile=ID", "/game=NAME", "/skin=FOLDER", "/manager", "/cd", "/uninstall"})
            EXPECT_TRUE(out.contains(sw)) << sw;
        EXPECT_EQ(program.readAllStandardError(), "") << arg;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.path("home"))); // nothing made
}

} // namespace
} // namespace tkv
