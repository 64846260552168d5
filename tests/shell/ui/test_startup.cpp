// The start-up's Qt parts: the skin fonts registered with Qt, and the stand-ins for the main
// window and the profile manager over real profiles.

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

#include "program_folder.h"
#include "shell/ui/placeholder_windows.h"
#include "shell/ui/startup.h"
#include "support/scripted_dialogs.h"
#include "windows/widgets/ttkv_listbox.h"

namespace tkv {
namespace {

void replace_all(std::string& s, const std::string& from, const std::string& to) {
    for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

std::string utf16be(const std::string& ascii) {
    std::string out;
    for (char ch : ascii)
        out += std::string(1, '\0') + ch;
    return out;
}

// A copy of a system font whose family is renamed in its name table (same length, so every offset
// stays), so the family is one no system has installed.
std::string renamed_font(const test::TempDir& dir, const std::string& family) {
    std::string bytes = test::TempDir::read_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (bytes.empty()) ADD_FAILURE() << "DejaVuSans.ttf is not installed";
    const std::string original = "DejaVu Sans";
    replace_all(bytes, original, family);
    replace_all(bytes, utf16be(original), utf16be(family));
    return dir.write("skins/test/Wave.ttf", bytes);
}

QStringList rows_of(const TTKV_ListBox* list) {
    QStringList rows;
    for (int i = 0; list && i < list->model()->rowCount(); ++i)
        rows << list->model()->index(i, 0).data().toString();
    return rows;
}

TEST(Tstartup, SkinFontsAreAddedWhileTheSkinIsInUseAndWithdrawnAfterwards) {
    test::ProgramFolder f;
    const std::string family = "Trickvault1"; // as long as "DejaVu Sans"
    const std::string font = renamed_font(f.dir, family);
    test::ScriptedDialogs dialogs;
    Tstartup startup(f.c, dialogs);
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

TEST(MainPlaceholder, LoadsTheSelectedProfileAndListsItsNames) {
    test::ProgramFolder f;
    f.add_profile("first", "first", "A profile", {"Other game"});
    f.add_profile("small", "small", "Small games", {"Zeta", "Alpha\r\nBeta"});
    f.select_profile(1);
    test::ScriptedDialogs dialogs;
    MainPlaceholder w(f.c, dialogs);
    w.show();
    auto* list = w.findChild<TTKV_ListBox*>("ls_gamename");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() > 0; }, 10000));
    EXPECT_EQ(rows_of(list), QStringList({"Alpha", "Beta", "Zeta"}));
    EXPECT_EQ(w.windowTitle(), "Trickvault - Small games");
    EXPECT_TRUE(w.findChild<QLabel*>("lb_placeholder")->text().contains("2 games, 3 names"));
    QTest::mouseClick(w.findChild<QPushButton*>("btc_ok"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

// Closes the main stand-in once it lists its names, remembering them; a fallback closes any
// modal window after a while so a fault cannot hang the test.
struct MainWatcher {
    QStringList rows;
    QString title;
    QTimer poll;
    QElapsedTimer since;
    MainWatcher() {
        since.start();
        poll.callOnTimeout([this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            auto* list = modal->findChild<TTKV_ListBox*>("ls_gamename");
            if (modal->objectName() == "Tmain" && list && list->model()->rowCount() > 0) {
                rows = rows_of(list);
                title = modal->windowTitle();
                static_cast<QDialog*>(modal)->accept();
            } else if (modal->objectName() == "Tmanager" && !rows.isEmpty()) {
                static_cast<QDialog*>(modal)->accept();
            } else if (since.elapsed() > 15000) {
                static_cast<QDialog*>(modal)->done(QDialog::Rejected);
            }
        });
        poll.start(20);
    }
};

TEST(Tstartup, TheManagerStandInListsTheProfilesAndStartsTheChosenOne) {
    test::ProgramFolder f;
    f.add_profile("first", "first", "A profile", {"Other game"});
    f.add_profile("small", "small", "Small games", {"Zeta", "Alpha\r\nBeta"});
    f.select_profile(0);
    test::ScriptedDialogs dialogs;
    Tstartup startup(f.c, dialogs);
    QStringList profiles;
    bool start_enabled = false;
    // Inside the manager: read its list, choose the second profile and start it.
    QTimer::singleShot(0, [&] {
        QWidget* manager = QApplication::activeModalWidget();
        ASSERT_NE(manager, nullptr);
        auto* list = manager->findChild<TTKV_ListBox*>("ls_profiles");
        auto* start = manager->findChild<QPushButton*>("btc_ok");
        profiles = rows_of(list);
        start_enabled = start->isEnabled();
        list->setCurrentIndex(list->model()->index(1, 0));
        start->click();
    });
    MainWatcher watcher;
    startup.show_manager();
    EXPECT_EQ(profiles, QStringList({"A profile", "Small games"}));
    EXPECT_TRUE(start_enabled);
    EXPECT_EQ(watcher.title, "Trickvault - Small games");
    EXPECT_EQ(watcher.rows, QStringList({"Alpha", "Beta", "Zeta"}));
    EXPECT_EQ(f.c.profiles.profile_index, 1);
    EXPECT_EQ(f.c.options.last_profile_id, "small");
}

TEST(ManagerPlaceholder, WithoutProfilesNothingCanBeStarted) {
    test::ProgramFolder f;
    f.select_profile();
    test::ScriptedDialogs dialogs;
    ManagerPlaceholder w(f.c, dialogs);
    w.show();
    EXPECT_TRUE(rows_of(w.findChild<TTKV_ListBox*>("ls_profiles")).isEmpty());
    EXPECT_FALSE(w.findChild<QPushButton*>("btc_ok")->isEnabled());
    EXPECT_EQ(w.findChild<QLabel*>("lb_placeholder")->text(), "No profile is installed.");
}

} // namespace
} // namespace tkv
