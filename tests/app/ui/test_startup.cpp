// The start-up's Qt parts: the skin fonts registered with Qt, and the stand-ins for the main
// window and the profile manager over real profiles.

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "support/program_folder.h"
#include "profiles/ui/manager_window.h"
#include "app/ui/startup.h"
#include "support/renamed_font.h"
#include "support/scripted_dialogs.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

QStringList rows_of(const TTKV_ListBox* list) {
    QStringList rows;
    for (int i = 0; list && i < list->model()->rowCount(); ++i)
        rows << list->model()->index(i, 0).data().toString();
    return rows;
}

TEST(Tstartup, SkinFontsAreAddedWhileTheSkinIsInUseAndWithdrawnAfterwards) {
    test::ProgramFolder f;
    const std::string family = "Trickvault1"; // as long as "DejaVu Sans"
    const std::string font = test::renamed_font(f.dir, family);
    test::ScriptedDialogs dialogs;
    Tstartup startup(f.c, dialogs, {});
    const auto available = [&] { return QFontDatabase::families().contains(QString::fromStdString(family)); };
    ASSERT_FALSE(available());

    f.c.skin_current.fonts = {{"trickvault1", font}};
    startup.set_fonts();
    EXPECT_TRUE(available());
    EXPECT_EQ(QFontInfo(QFont(QString::fromStdString(family))).family().toStdString(), family);

    f.c.skin_current.fonts = {};
    startup.set_fonts();
    EXPECT_FALSE(available());
}

TEST(QtFontSystem, FilesThatAreNoFontsAreRefusedAndMissingOnesIgnored) {
    test::TempDir dir;
    QtFontSystem fonts;
    const QStringList before = QFontDatabase::families();
    EXPECT_FALSE(fonts.add_font_file(dir.write("not-a-font.ttf", "just text")));
    EXPECT_TRUE(fonts.add_font_file(dir.path("missing.ttf")));
    EXPECT_EQ(QFontDatabase::families(), before);
    fonts.remove_font_file(dir.path("missing.ttf")); // never added: nothing happens
}

TEST(Tstartup, TheManagerListsTheProfilesAndStartsTheChosenOne) {
    test::ProgramFolder f;
    f.add_profile("first", "first", "A profile", {"Other game"});
    f.add_profile("small", "small", "Small games", {"Zeta", "Alpha\r\nBeta"});
    f.select_profile(0);
    test::ScriptedDialogs dialogs;
    std::vector<std::string> started; // the profile open when the main window was asked for
    const auto show_main = [&] {
        started.push_back(f.c.profiles.profiles[static_cast<std::size_t>(f.c.profiles.profile_index)].id);
    };
    Tstartup startup(f.c, dialogs, {show_main, [&] { Tmanager(f.c, dialogs, show_main).exec(); }, {}, {}, {}, {}});
    QStringList profiles;
    bool start_enabled = false;
    // Inside the manager: read its list, choose the second profile, start it and close.
    QTimer::singleShot(0, [&] {
        QWidget* manager = QApplication::activeModalWidget();
        ASSERT_NE(manager, nullptr);
        auto* list = manager->findChild<TTKV_ListBox*>("ls_profiles");
        auto* start = manager->findChild<QPushButton*>("btc_start");
        profiles = rows_of(list);
        start_enabled = start->isEnabled();
        list->setCurrentIndex(list->model()->index(1, 0));
        start->click(); // "dont show the manager after exit" is on: the manager ends after the main window
    });
    startup.show_manager();
    EXPECT_EQ(profiles, QStringList({"A profile", "Small games"}));
    EXPECT_TRUE(start_enabled);
    EXPECT_EQ(started, std::vector<std::string>{"small"});
    EXPECT_EQ(f.c.options.last_profile_id, "small");
}

TEST(Tstartup, ArchivesOnTheCommandLineInstallWhatTheyHoldAndDeleteNothingElse) {
    test::ProgramFolder f;
    f.dir.write("tkv.ini", "[general]\r\nfirst run=0\r\nversion=3.50\r\n[skins]\r\nskins name=ocean\r\n");
    test::TempDir work;
    // Files of the user's without an extension, named like the archives beside them.
    work.write("odd", "the user's notes");
    work.write("neon2 (1)", "more notes");
    work.write("lng/odd.lng", "Language=English\r\n");
    work.write("skin/neon2/skin.ini", "[skin]\r\n");
    for (const auto& [folder, archive] : {std::pair{"lng", "odd.tkvl"}, std::pair{"skin", "neon2 (1).tkvs"}}) {
        const std::string zip = "cd '" + work.path(folder) + "' && zip -q -r '" + work.path(archive) + "' .";
        ASSERT_EQ(std::system(zip.c_str()), 0);
    }
    test::ScriptedDialogs dialogs;
    dialogs.expect_message("Files successfully unpacked. Do you want to delete the packed file?", MessageAnswer::yes)
        .expect_message("Packed file successfully deleted", MessageAnswer::ok)
        .expect_message("Files successfully unpacked. Do you want to delete the packed file?", MessageAnswer::no);
    Tstartup startup(f.c, dialogs, {});
    startup_run(f.c, {{work.path("odd.tkvl"), work.path("neon2 (1).tkvs")}, [](std::size_t) { return std::size_t{0}; }},
                startup, dialogs);

    EXPECT_EQ(work.read("odd"), "the user's notes");
    EXPECT_EQ(work.read("neon2 (1)"), "more notes");
    EXPECT_FALSE(std::filesystem::exists(work.path("odd.tkvl")));
    EXPECT_TRUE(std::filesystem::exists(work.path("neon2 (1).tkvs")));
    EXPECT_EQ(f.dir.read("languages/odd.lng"), "Language=English\r\n");
    EXPECT_EQ(f.dir.read("skins/neon2/skin.ini"), "[skin]\r\n");
    // The next start finds the skin the archive brought.
    EXPECT_EQ(f.c.options.skin_name, "neon2");
    EXPECT_NE(f.dir.read("tkv.ini").find("skins name=neon2\r\n"), std::string::npos);
}

} // namespace
} // namespace tkv
