// The main and the information window in each skin that ships, rendered into
// screens/<Window>-<skin>.png for review, with every button's caption fitting its button.

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "appearance/skin_file.h"
#include "support/main_window.h"
#include "support/program_folder.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "widgets/ttkv_tabs.h"
#include "windows/ui/info_window.h"
#include "windows/ui/main_window.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;

const char* const shipped_folders[] = {"night", "paper", "contrast"};

// A program folder with the shipped skins, wearing one of them.
struct Skinned {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;

    explicit Skinned(const char* folder) {
        fs::copy(TKV_SHIPPED_SKINS, f.dir.path("skins"), fs::copy_options::recursive);
        f.add_profile("demo", "demo", "Demo games",
                      {"Age of Empires", "Doom\r\nDoom I", "Quake", "Space Quest\r\nSQ1", "Tetris"});
        f.select_profile(0);
        test::without_side_windows(f.c.options);
        f.c.options.auto_download_upgrade_info = false;
        f.c.options.custom_title_bar_active = true;
        f.c.options.use_skin = true;
        f.c.options.skin_name = folder;
        const auto skin = skins_load(f.dir.path("skins/"), folder, f.c.skin_default);
        EXPECT_TRUE(skin);
        if (skin) f.c.skin_current = *skin;
    }
};

// A caption cut at its button's edges cannot be read: each shown button's text fits inside it.
void expect_captions_fit(const QWidget& window) {
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        const int text = button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&'));
        EXPECT_LE(text + 4, button->width())
            << button->objectName().toStdString() << " \"" << button->text().toStdString() << "\"";
    }
}

TEST(ShippedSkins, MainWindowScreens) {
    for (const char* folder : shipped_folders) {
        SCOPED_TRACE(folder);
        Skinned s(folder);
        Tmain w(s.f.c, s.dialogs, {});
        test::show_loaded(w);
        expect_captions_fit(w);
        test::save_screen(w, std::string("Tmain-") + folder);
    }
}

TEST(ShippedSkins, InformationWindowScreens) {
    for (const char* folder : shipped_folders) {
        SCOPED_TRACE(folder);
        Skinned s(folder);
        GAMES2_TEMP_ARRAY_TYPE& g = s.f.c.db.current_game;
        g.id = 1;
        g.names = "Space Quest\r\nSQ1";
        g.title = "Space Quest";
        g.infos = {{"Cheat codes", "IDDQD: god mode\r\nIDKFA: all keys"}, {"Tips & Tricks", "Save often."}};
        g.files = {{"http://files.example/trainer.exe", "80 KB", "Trainer", "Infinite lives."}};
        g.homepages = {{"http://spacequest.example/", "Fan site", "News and maps"}};
        s.f.c.db.games.push_back({1, g.names, "", 1, "", {}});
        s.f.c.db.current_game_index = static_cast<std::int32_t>(s.f.c.db.games.size() - 1);
        s.f.c.info_mode = InfoMode::view;
        Tinfo w(s.f.c, s.dialogs);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        expect_captions_fit(w);
        test::save_screen(w, std::string("Tinfo-") + folder);
    }
}

} // namespace
} // namespace tkv
