// A skin chosen in the options window, as the program runs it: the main window with the real
// options window, and what the user then sees on both.

#include <QCheckBox>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/program_folder.h"
#include "options/ui/options_window.h"
#include "support/main_window.h"
#include "support/modal.h"
#include "support/renamed_font.h"
#include "support/scripted_dialogs.h"
#include "windows/ui/main_window.h"

namespace tkv {
namespace {

// A skin that brings its own font for the buttons of the main and the options window.
constexpr const char* skin_ini = "[Skin Informations]\r\nName=Wave\r\n"
                                 "[Fonts]\r\nTrickvault3=Wave.ttf\r\n"
                                 "[Window Main]\r\nBackground Color=204060\r\n"
                                 "Buttons=C04040,101080,Trickvault3,9,0\r\n"
                                 "[Window Option]\r\nBackground Color=306090\r\n"
                                 "Buttons=C04040,101080,Trickvault3,9,0\r\n";

struct Program {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;

    Program() {
        f.add_profile("small", "small", "Small games", {"Doom", "Quake"});
        f.select_profile(0);
        test::without_side_windows(f.c.options);
        f.c.options.auto_download_upgrade_info = false;
        f.c.options.show_skin_loading = false;
        f.c.options.use_skin = false;
        f.c.options.save_last_option = true;
        f.c.options.last_option = Toption::skins_panel;
        f.dir.write("skins/wave/skin.ini", skin_ini);
        test::renamed_font(f.dir, "Trickvault3", "skins/wave/Wave.ttf");
    }
};

// The user ticks "use skin" (its first showing puts nothing on) and presses OK: both windows wear
// the skin at once, with the font it brings.
TEST(SkinInProgram, ASkinTakenWithOkShowsOnTheMainWindowWithItsFonts) {
    Program p;
    MainWindowHooks hooks;
    QColor options_background;
    QString options_button_font;
    hooks.options = [&](QWidget* parent, const MainWindowHooks::OptionsCalls& calls) {
        Toption window(p.f.c, p.dialogs, parent, {calls.mail, calls.skin_show, calls.buttons_refresh});
        window.exec();
        return MainWindowHooks::OptionsResult{window.outcome().accepted, window.outcome().list_rebuild_needed};
    };
    Tmain w(p.f.c, p.dialogs, hooks);
    test::show_loaded(w);
    QPushButton* view = w.findChild<QPushButton*>("btc_view");
    const QColor before = view->palette().color(QPalette::Button);

    test::when_modal_opens("Toption", [&](QDialog* options) {
        options->findChild<QCheckBox*>("ck_be_sk_useskin")->click();
        options->findChild<QPushButton*>("btc_ok")->click();
        QPushButton* ok = options->findChild<QPushButton*>("btc_ok");
        options_background = ok->parentWidget()->palette().color(QPalette::Window);
        options_button_font = QFontInfo(ok->font()).family();
    });
    w.findChild<QPushButton*>("btc_options")->click();
    ASSERT_EQ(p.f.c.options.skin_name, "wave");

    EXPECT_NE(before, QColor(0xC0, 0x40, 0x40));
    EXPECT_EQ(view->palette().color(QPalette::Button), QColor(0xC0, 0x40, 0x40));
    EXPECT_EQ(view->palette().color(QPalette::ButtonText), QColor(0x10, 0x10, 0x80));
    EXPECT_EQ(QFontInfo(view->font()).family(), "Trickvault3") << "the skin's own font, not a stand-in";
    EXPECT_EQ(options_button_font, "Trickvault3");
}

} // namespace
} // namespace tkv
