// The task window: its size and place, that it cannot be closed while its task runs, and the
// tasks the start-up and the placeholders use, each checked by what it leaves behind.

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "appearance/skin_file.h"
#include "appearance/ui/builtin_pictures.h"
#include "appearance/ui/jpeg_image.h"
#include "database/open_database.h"
#include "support/program_folder.h"
#include "shell/files.h"
#include "tasks/ui/progress_window.h"
#include "shell/unzip_task.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

// Shows the window and waits until its task has ended and it has closed itself.
void run_shown(Tprogress& w) {
    w.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 20000)) << "the task window stays open";
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

std::vector<std::string> list_names(const GameDatabase& db) {
    std::vector<std::string> names;
    for (const auto& row : db.game_list)
        names.push_back(row.name);
    return names;
}

TEST(Tprogress, NormalWindowIsSizedByTheScaleAndCentredOnTheRequestedPoint) {
    struct {
        double scale;
        bool custom_title_bar;
        QSize client;
    } const cases[] = {{1.0, false, {321, 57}}, {1.25, false, {401, 71}}, {1.0, true, {321, 57}}};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.scale << (k.custom_title_bar ? " custom title bar" : ""));
        test::ProgramFolder f;
        f.c.screen_scale = k.scale;
        f.c.options.custom_title_bar_active = k.custom_title_bar;
        test::ScriptedDialogs dialogs;
        Tprogress w(f.c, dialogs, {Task::info_fonts, {512, 384}, {}, nullptr, nullptr, {}});
        // Before the task starts.
        EXPECT_EQ(w.findChild<QWidget*>("client")->size(), k.client);
        EXPECT_EQ(w.pos(), QPoint(512 - w.width() / 2, 384 - w.height() / 2));
        EXPECT_TRUE(w.alp_progress()->isVisibleTo(&w));
        run_shown(w);
    }
}

TEST(Tprogress, TheBarTakesTheOtherProgressColoursOfTheSkin) {
    test::ProgramFolder f;
    const QColor background(250, 250, 210), border(200, 0, 0), start(0, 0, 255), end(0, 255, 0);
    const auto skin = [](const QColor& c) { return skin_rgb(c.red(), c.green(), c.blue()); };
    f.c.skin_current.progress_other = {skin(background), skin(border), skin(start), skin(end)};
    test::ScriptedDialogs dialogs;
    Tprogress w(f.c, dialogs, {Task::info_fonts, {512, 384}, {}, nullptr, nullptr, {}});
    w.set_gauge_position(50);
    w.show();
    const QImage bar = w.alp_progress()->grab().toImage();
    const int middle = bar.height() / 2;
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <
               40;
    };
    EXPECT_EQ(bar.pixelColor(0, middle), border);
    EXPECT_EQ(bar.pixelColor(bar.width() - 1, middle), border);
    EXPECT_EQ(bar.pixelColor(bar.width() - 3, middle), background);
    EXPECT_TRUE(near(bar.pixelColor(2, middle), start)) << bar.pixelColor(2, middle).name().toStdString();
    EXPECT_TRUE(near(bar.pixelColor(bar.width() / 2 - 3, middle), end))
        << bar.pixelColor(bar.width() / 2 - 3, middle).name().toStdString();
    run_shown(w);
}

TEST(Tprogress, RefusesToCloseUntilItsTaskHasEnded) {
    test::ProgramFolder f;
    f.c.db.games = {{1, "Zeta", "", 1, "", {}}, {2, "Alpha\r\nBeta", "", 1, "", {}}};
    test::ScriptedDialogs dialogs;
    Tprogress* window = nullptr;
    bool closed_during_task = true, visible_after_escape = false;
    std::vector<std::string> listed;
    TaskRequest request{Task::cheat_sort_and_list, {512, 384}, {}, nullptr, nullptr, {}};
    request.show_list = [&](Tprogress&) {
        listed = list_names(f.c.db);
        closed_during_task = window->close();
        QTest::keyClick(window, Qt::Key_Escape);
        visible_after_escape = window->isVisible();
    };
    Tprogress w(f.c, dialogs, request);
    window = &w;
    w.show();
    EXPECT_FALSE(w.close()) << "before the task";
    run_shown(w);
    EXPECT_FALSE(closed_during_task);
    EXPECT_TRUE(visible_after_escape);
    EXPECT_EQ(listed, (std::vector<std::string>{"Alpha", "Beta", "Zeta"}));
}

TEST(Tprogress, InfoFontsListsTheFixedPitchFonts) {
    test::ProgramFolder f;
    f.c.fixed_fonts = {"stale entry"};
    test::ScriptedDialogs dialogs;
    Tprogress w(f.c, dialogs, {Task::info_fonts, {512, 384}, {}, nullptr, nullptr, {}});
    run_shown(w);
    EXPECT_TRUE(f.c.fixed_fonts_built);
    ASSERT_FALSE(f.c.fixed_fonts.empty());
    EXPECT_LE(f.c.fixed_fonts.size(), 500u);
    for (const std::string& name : f.c.fixed_fonts)
        EXPECT_TRUE(QFontDatabase::isFixedPitch(QString::fromStdString(name))) << name;
    EXPECT_NE(std::find(f.c.fixed_fonts.begin(), f.c.fixed_fonts.end(), "DejaVu Sans Mono"),
              f.c.fixed_fonts.end());
    EXPECT_EQ(w.alp_progress()->value(), 100);
}

TEST(Tprogress, UnzipAsksBeforeOverwritingAndKeepsTheArchiveWhenTold) {
    test::TempDir dir;
    dir.write("src/a.txt", "new a");
    dir.write("src/sub/b.txt", "new b");
    const std::string archive = dir.path("pack.zip");
    const std::string command = "cd '" + dir.path("src") + "' && zip -q -r '" + archive + "' .";
    ASSERT_EQ(std::system(command.c_str()), 0);
    dir.write("out/a.txt", "old a");

    test::ProgramFolder f;
    UNZIP_REQUEST unzip;
    unzip.archive = archive;
    unzip.target_folder = dir.path("out") + "/";
    unzip.file_mask = "*.*";
    unzip.label_text = "Unpacking...";
    test::ScriptedDialogs dialogs;
    dialogs.expect_message("Do you want to overwrite files?", MessageAnswer::yes)
        .expect_message("Files successfully unpacked. Do you want to delete the packed file?",
                        MessageAnswer::no);
    Tprogress w(f.c, dialogs, {Task::unzip_file, {512, 384}, {}, &unzip, nullptr, {}});
    run_shown(w);
    EXPECT_TRUE(unzip.unpacked);
    EXPECT_EQ(dir.read("out/a.txt"), "new a");
    EXPECT_EQ(dir.read("out/sub/b.txt"), "new b");
    EXPECT_TRUE(file_exists(archive));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].text.find(archive), std::string::npos);
}

TEST(Tprogress, ShowNormalScreenLoadsTheProfileAndShowsTheList) {
    test::ProgramFolder f;
    f.add_profile("small", "small", "Small games", {"Zeta", "Alpha\r\nBeta"});
    f.select_profile();
    test::ScriptedDialogs dialogs;
    int shown = 0;
    std::vector<std::string> listed;
    TaskRequest request{Task::show_normal_screen, {512, 384}, {}, nullptr, nullptr, {}};
    request.show_list = [&](Tprogress&) {
        ++shown;
        listed = list_names(f.c.db);
    };
    Tprogress w(f.c, dialogs, request);
    run_shown(w);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(f.c.db.games.size(), 2u);
    EXPECT_EQ(listed, (std::vector<std::string>{"Alpha", "Beta", "Zeta"}));
}

TEST(Tprogress, SaveAllFilesWritesTheChangedDatabasesWithoutQuestions) {
    test::ProgramFolder f;
    f.add_profile("small", "small", "Small games", {"Zeta", "Alpha"});
    f.select_profile();
    ASSERT_EQ(f.c.profiles.profiles.size(), 1u);
    auto& profile = f.c.profiles.profiles[0];
    database_open(f.c.db, f.c.variables.changes, profile, f.c.variables.main_dat_path,
                  f.c.variables.user_dat_path, true);
    f.c.db.games[0].names = "Renamed";
    f.c.variables.changes = {1, true, true, false};
    f.c.options.show_save_message = false;

    test::ScriptedDialogs dialogs; // no question expected
    Tprogress w(f.c, dialogs, {Task::save_allfiles, {512, 384}, {}, nullptr, nullptr, {}});
    run_shown(w);
    EXPECT_TRUE(f.c.last_save_ok);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(f.c.variables.changes.main_changed);
    EXPECT_FALSE(f.c.variables.changes.user_changed);
    EXPECT_TRUE(file_exists(f.c.variables.user_dat_path));

    GameDatabase reread;
    CHANGE_TRACKING changes;
    database_open(reread, changes, profile, f.c.variables.main_dat_path, f.c.variables.user_dat_path, true);
    EXPECT_EQ(list_names(reread), (std::vector<std::string>{"Alpha", "Renamed"}));
}

TEST(Tprogress, SplashShowsTheBuiltInPictureForAtLeastTwoSeconds) {
    test::ProgramFolder f;
    f.add_profile("small", "small", "Small games", {"Alpha"});
    f.select_profile();
    test::ScriptedDialogs dialogs;
    bool listed = false;
    TaskRequest request{Task::show_splash_screen, {0, 0}, {}, nullptr, nullptr, {}};
    request.show_list = [&](Tprogress&) { listed = !f.c.db.game_list.empty(); };
    QElapsedTimer since_created;
    since_created.start();
    Tprogress w(f.c, dialogs, request);
    EXPECT_TRUE(w.splash_mode());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    const QImage splash = builtin_splash();
    EXPECT_EQ(w.size(), splash.size());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w.pos(), screen.topLeft() +
                           QPoint((screen.width() - w.width()) / 2, (screen.height() - w.height()) / 2));
    w.show();
    // Above the two labels the window is the picture itself.
    const QRect picture_part(0, 0, splash.width(), 240);
    EXPECT_EQ(w.grab().toImage().copy(picture_part).convertToFormat(QImage::Format_RGB32),
              splash.copy(picture_part).convertToFormat(QImage::Format_RGB32));
    run_shown(w);
    EXPECT_GE(since_created.elapsed(), 2000);
    EXPECT_TRUE(listed);
}

TEST(Tprogress, SplashOfEachShippedSkinShowsItsOwnPictureAndLabels) {
    for (const char* folder : {"night", "paper", "contrast"}) {
        SCOPED_TRACE(folder);
        test::ProgramFolder f;
        std::filesystem::copy(TKV_SHIPPED_SKINS, f.dir.path("skins"), std::filesystem::copy_options::recursive);
        const auto skin = skins_load(f.dir.path("skins"), folder, f.c.skin_default);
        ASSERT_TRUE(skin);
        f.c.skin_current = *skin;
        test::ScriptedDialogs dialogs;
        Tprogress w(f.c, dialogs, {Task::show_splash_screen, {0, 0}, {}, nullptr, nullptr, {}});
        const QImage picture = load_jpeg(f.dir.path(std::string("skins/") + folder + "/splash.jpg"));
        ASSERT_FALSE(picture.isNull()) << "the program's reader refuses the picture";
        EXPECT_EQ(w.size(), picture.size());
        const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect picture_part(0, 0, picture.width(), 240);
        EXPECT_EQ(shown.copy(picture_part), picture.copy(picture_part).convertToFormat(QImage::Format_RGB32));
        const SkinColor version = skin->splash.version_label.font_color;
        EXPECT_EQ(w.findChild<QLabel*>("lb_version")->palette().color(QPalette::WindowText),
                  QColor(skin_red(version), skin_green(version), skin_blue(version)));
        test::save_screen(w, std::string("Tprogress-splash-") + folder);
    }
}

} // namespace
} // namespace tkv
