// Renders the start-up's windows into screens/<WindowClass>[-variant].png under the built-in skin
// and the two test skins, so their looks can be reviewed side by side.

#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "appearance/ui/languages_window.h"
#include "support/program_folder.h"
#include "shell/codepage.h"
#include "tasks/ui/progress_window.h"
#include "app/ui/startup.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;

// The games of the demo profile's source, one entry per game, its names CR LF separated.
std::vector<std::string> demo_game_names() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(TKV_TEST_DATA) / "../../data/demo/games"))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> games;
    for (const auto& file : files) {
        std::ifstream in(file);
        std::string line, names;
        while (std::getline(in, line))
            if (line.starts_with("name=")) names += (names.empty() ? "" : "\r\n") + line.substr(5);
        games.push_back(from_utf8(names, CodePage::windows_1252)); // as the profile's texts are kept
    }
    return games;
}

struct Variant {
    const char* suffix;
    const char* skin; // folder under skins/; none for the built-in skin
};

TEST(Screens, StartUpWindowsUnderEachSkin) {
    const std::vector<std::string> games = demo_game_names();
    ASSERT_FALSE(games.empty());
    for (const Variant v : {Variant{"", nullptr}, Variant{"-ocean", "Ocean"}, Variant{"-retro", "retro"}}) {
        SCOPED_TRACE(v.suffix);
        test::ProgramFolder f;
        fs::copy(fs::path(TKV_TEST_DATA) / "skins", f.dir.path("skins"), fs::copy_options::recursive);
        f.dir.write("languages/deutsch.lng", "Language=Deutsch\r\nVersion=3.50\r\nHelpFile=deutsch.hlp\r\n"
                                             "InfoFile=german\r\nMadeby Title=\xDC"
                                             "bersetzt von:\r\nMadeby=Hans Schmidt\r\n"
                                             "Email=hans@example.org\r\n");
        f.dir.write("languages/magyar.lng", "Language=Magyar\r\nVersion=3.50\r\nHelpFile=magyar.hlp\r\n"
                                            "InfoFile=hungarian\r\nMadeby Title=Ford\xEDtotta:\r\n"
                                            "Madeby=Sz\xF5ke Anna\r\nEmail=anna@example.org\r\n");
        f.add_profile("demo", "demo", "Demo games", games);
        f.add_profile("tools", "tools", "Utilities", {"Archiver"});
        f.select_profile(0);
        test::ScriptedDialogs dialogs;
        Tstartup startup(f.c, dialogs, {});
        f.c.options.custom_title_bar_active = true; // so the shots show the title bars too
        f.c.skin_default = skins_setdefault(startup.system_title_colors());
        f.c.skin_current = f.c.skin_default;
        if (v.skin) {
            const auto skin = skins_load(f.dir.path("skins") + "/", v.skin, f.c.skin_default);
            ASSERT_TRUE(skin.has_value());
            f.c.skin_current = *skin;
        }
        startup.set_fonts();
        const std::string suffix = v.suffix;
        const QString loading = QString::fromLatin1(f.c.CAPTIONS[304].c_str());

        {
            Tlanguages w(f.c);
            w.show();
            test::save_screen(w, "Tlanguages" + suffix);
        }
        {
            // Shown and drawn, then released before its task starts.
            Tprogress w(f.c, dialogs, {Task::show_normal_screen, {512, 384}, {}, nullptr, nullptr, {}});
            w.set_label(loading);
            w.set_gauge_position(45);
            w.show();
            test::save_screen(w, "Tprogress" + suffix);
        }
        {
            Tprogress w(f.c, dialogs, {Task::show_splash_screen, {0, 0}, {}, nullptr, nullptr, {}});
            w.set_label(loading);
            w.show();
            test::save_screen(w, "Tprogress-splash" + suffix);
        }
    }
}

} // namespace
} // namespace tkv
