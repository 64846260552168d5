// The two shortcut windows over a profile with games, writing launchers into a private home.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "profiles/ui/shortcut_window.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "widgets/ttkv_frame.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;

// Remembers where the folder dialog was asked to start.
struct RecordingDialogs : test::ScriptedDialogs {
    std::vector<std::string> folder_starts;
    std::optional<std::string> choose_folder(const std::string& title, const std::string& start) override {
        folder_starts.push_back(start);
        return ScriptedDialogs::choose_folder(title, start);
    }
};

// The profile "PC: Windows / DOS" (id pc) with two games; the first, current one has two names.
struct ShortcutHome {
    test::TempDir dir;
    ProgramContext c;
    RecordingDialogs dialogs;
    ShortcutPlaces places;

    explicit ShortcutHome(std::string profile_name = "PC: Windows / DOS",
                          std::string game_names = "Doom\r\nDoom Classic", const char* language = "English") {
        context_initialize(c, dir.folder() + "program/");
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        PROFILES_TYPE profile;
        profile.id = "pc";
        profile.name = std::move(profile_name);
        profile.language = language;
        c.profiles.profiles.push_back(profile);
        c.db.games.push_back({1, std::move(game_names), "", 1, "", {}});
        c.db.games.push_back({2, "Quake", "", 1, "", {}});
        c.db.current_game_index = 0;
        places = {dir.folder() + "bin/trickvault",
                  {dir.folder() + "Desktop", dir.folder() + "share/applications/"},
                  dir.folder() + "share/icons/hicolor/scalable/apps/"};
    }
    std::string desktop(const std::string& name) const {
        return places.folders.desktop + "/" + name + ".desktop";
    }
    std::string menu(const std::string& name) const { return places.folders.start_menu + name + ".desktop"; }
};

std::string profile_entry(const ShortcutHome& h, const std::string& name) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           name +
           "\n"
           "Comment=Run Trickvault and load profile: PC: Windows / DOS\n"
           "Exec=\"" +
           h.places.program_path +
           "\" \"/profile=pc\"\n"
           "Path=" +
           h.c.variables.program_folder +
           "\n"
           "Icon=trickvault-profile\n"
           "Terminal=false\n";
}

std::string game_entry(const ShortcutHome& h, const std::string& name, const std::string& game = "Doom") {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           name +
           "\n"
           "Comment=Run Trickvault and show the folowing game's information: " +
           game +
           "\n"
           "Exec=\"" +
           h.places.program_path + "\" \"/profile=pc\" \"/game=" + game +
           "\"\n"
           "Path=" +
           h.c.variables.program_folder +
           "\n"
           "Icon=trickvault-game\n"
           "Terminal=false\n";
}

enum class Kind { profile, game };

struct Window {
    std::unique_ptr<ShortcutWindow> w;
    Window(Kind kind, ShortcutHome& h, QWidget* parent = nullptr) {
        if (kind == Kind::profile)
            w = std::make_unique<Tprofile_shortcut>(h.c, h.dialogs, parent, h.places);
        else
            w = std::make_unique<Tshortcut>(h.c, h.dialogs, parent, h.places);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    template <class T = QLineEdit> T* get(const char* name) {
        T* c = w->findChild<T*>(name);
        if (!c) ADD_FAILURE() << name << " is missing";
        return c;
    }
    QString text(const char* name) { return get(name)->text(); }
    bool ok_enabled() { return get<QPushButton>("btc_ok")->isEnabled(); }
    void click(const char* button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
};

TEST(ShortcutWindows, OpenWithTheirTextsTheCleanedNameAndTheDesktop) {
    struct {
        Kind kind;
        const char* object_name;
        const char* subject_label;
        const char* subject_field;
        QStringList labels;
        QString subject;
        QString name;
        QStringList buttons; // desktop, start menu, other, ok, cancel
        QString place;
    } const cases[] = {
        {Kind::profile,
         "Tprofile_shortcut",
         "lb_profile",
         "ed_profile",
         {"Pro&file:", "Shortcut's &name:", "Shortcut's &place:"},
         "PC: Windows / DOS",
         "PC Windows  DOS",
         {"&Desktop", "&Start menu", "Other dir&ectory", "&Ok", "&Cancel"},
         "Create on Desktop"},
        {Kind::game,
         "Tshortcut",
         "lb_game",
         "ed_game",
         {"&Game:", "Shortcut's &name:", "Shortcut's &place:"},
         "Doom",
         "Doom",
         {"&Desktop", "&Start Menu", "Other dir&ectory", "&Ok", "&Cancel"},
         "Create shortcut on the Desktop"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.object_name);
        ShortcutHome h;
        Window w(k.kind, h);
        EXPECT_EQ(w.w->objectName(), k.object_name);
        EXPECT_EQ(w.w->windowTitle(), "Trickvault - Create shortcut");
        const char* label_names[] = {k.subject_label, "lb_name", "lb_dir"};
        for (int i = 0; i < 3; ++i) {
            auto* label = w.get<QLabel>(label_names[i]);
            EXPECT_EQ(label->text(), k.labels[i]);
            EXPECT_EQ(label->property("tkv_skin_class").toString(), "N");
        }
        const char* button_names[] = {"btc_desktop", "btc_startmenu", "btc_dir", "btc_ok", "btc_cancel"};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(w.get<QPushButton>(button_names[i])->text(), k.buttons[i]);
        for (const char* field : {k.subject_field, "ed_name", "ed_dir"})
            EXPECT_EQ(w.get<TTKV_Frame>(("tkvf_" + std::string(field)).c_str())->control(), w.get(field));
        EXPECT_EQ(w.text(k.subject_field), k.subject);
        EXPECT_TRUE(w.get(k.subject_field)->isReadOnly());
        EXPECT_EQ(w.text("ed_name"), k.name);
        EXPECT_EQ(QApplication::focusWidget(), w.get("ed_name"));
        EXPECT_EQ(w.get("ed_name")->cursorPosition(), k.name.size());
        EXPECT_FALSE(w.get("ed_name")->hasSelectedText());
        EXPECT_EQ(w.text("ed_dir"), k.place);
        EXPECT_TRUE(w.get("ed_dir")->isReadOnly());
        EXPECT_TRUE(w.ok_enabled());
        EXPECT_TRUE(w.get<QPushButton>("btc_ok")->isDefault());
        EXPECT_EQ(w.get<QWidget>("client")->size(), QSize(401, 121));
    }
}

TEST(ShortcutWindows, CentredOverTheirOwnerAndScaled) {
    ShortcutHome h;
    h.c.screen_scale = 1.25;
    QWidget owner;
    owner.setGeometry(150, 90, 700, 500);
    owner.show();
    Window w(Kind::profile, h, &owner);
    EXPECT_EQ(w.get<QWidget>("client")->size(), QSize(501, 151));
    EXPECT_LE((w.w->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 6);
}

TEST(ShortcutWindows, OkNeedsANameLeftAfterCleaning) {
    struct {
        const char* typed;
        bool ok;
    } const cases[] = {{"", false}, {"   ", false}, {" :/\\|*?<>\" ", false}, {"x", true}, {" :x: ", true}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.typed);
        ShortcutHome h;
        Window w(Kind::game, h);
        w.get("ed_name")->setText(k.typed);
        EXPECT_EQ(w.ok_enabled(), k.ok);
        QTest::keyClick(w.get("ed_name"), Qt::Key_Return);
        EXPECT_EQ(w.w->isVisible(), !k.ok); // Enter does nothing either while Ok is disabled
    }
    // A profile whose name is all removed characters opens with Ok disabled.
    ShortcutHome h("<:/>");
    Window w(Kind::profile, h);
    EXPECT_EQ(w.text("ed_name"), "");
    EXPECT_FALSE(w.ok_enabled());
}

TEST(ShortcutWindows, OkWritesTheLauncherOnTheDesktopAndItsIcon) {
    for (const Kind kind : {Kind::profile, Kind::game}) {
        SCOPED_TRACE(static_cast<int>(kind));
        ShortcutHome h;
        Window w(kind, h);
        w.click("btc_ok");
        EXPECT_FALSE(w.w->isVisible());
        const std::string name = kind == Kind::profile ? "PC Windows  DOS" : "Doom";
        const std::string file = h.desktop(name);
        EXPECT_EQ(test::TempDir::read_file(file),
                  kind == Kind::profile ? profile_entry(h, name) : game_entry(h, name));
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u);
        const std::string icon = kind == Kind::profile ? "trickvault-profile.svg" : "trickvault-game.svg";
        EXPECT_TRUE(test::TempDir::read_file(h.places.icon_folder + icon).starts_with("<svg"));
    }
}

TEST(ShortcutWindows, TheNameTypedIsCleanedTheGameArgumentIsNot) {
    ShortcutHome h("PC", "Doom: Ultimate?\r\nUltimate Doom");
    Window w(Kind::game, h);
    EXPECT_EQ(w.text("ed_game"), "Doom: Ultimate?");
    EXPECT_EQ(w.text("ed_name"), "Doom Ultimate");
    w.get("ed_name")->setText("  My <best> game: ");
    w.click("btc_ok");
    // The game argument keeps the name as it is; only the file and the shown name are cleaned.
    EXPECT_EQ(test::TempDir::read_file(h.desktop("My best game")),
              game_entry(h, "My best game", "Doom: Ultimate?"));
}

TEST(ShortcutWindows, TextsOfTheProfilesCodePageAreWrittenAsUtf8) {
    // windows-1250: O with double acute, e acute.
    ShortcutHome h("Magyar PC", "\xD5rs\xE9g", "Magyar");
    Window w(Kind::game, h);
    EXPECT_EQ(w.text("ed_game"), QString::fromUtf8("\u0150rs\u00e9g"));
    w.click("btc_ok");
    const std::string text = test::TempDir::read_file(h.desktop("\xC5\x90rs\xC3\xA9g"));
    EXPECT_NE(
        text.find("Exec=\"" + h.places.program_path + "\" \"/profile=pc\" \"/game=\xC5\x90rs\xC3\xA9g\"\n"),
        std::string::npos)
        << text;
}

TEST(ShortcutWindows, StartMenuAndOtherFolders) {
    ShortcutHome h;
    Window w(Kind::game, h);
    w.click("btc_startmenu");
    EXPECT_EQ(w.text("ed_dir"), "Create shortcut in the Start Menu");

    // The dialog starts at the current place; the desktop and menu folders are those places.
    const std::string other = h.dir.folder() + "games";
    fs::create_directories(other);
    h.dialogs.expect_folder(h.places.folders.desktop + "/");
    w.click("btc_dir");
    EXPECT_EQ(w.text("ed_dir"), "Create shortcut on the Desktop");
    h.dialogs.expect_folder(other);
    w.click("btc_dir");
    EXPECT_EQ(w.text("ed_dir"), QString::fromStdString(other));
    h.dialogs.expect_folder(std::nullopt); // cancelled: the place stays
    w.click("btc_dir");
    EXPECT_EQ(w.text("ed_dir"), QString::fromStdString(other));
    h.dialogs.expect_folder(h.places.folders.start_menu);
    w.click("btc_dir");
    EXPECT_EQ(w.text("ed_dir"), "Create shortcut in the Start Menu");
    EXPECT_EQ(h.dialogs.folder_starts, (std::vector<std::string>{h.places.folders.start_menu,
                                                                 h.places.folders.desktop, other, other}));

    w.click("btc_ok");
    EXPECT_FALSE(w.w->isVisible());
    EXPECT_EQ(test::TempDir::read_file(h.menu("Doom")), game_entry(h, "Doom"));
    EXPECT_FALSE(fs::exists(h.desktop("Doom")));

    // A folder of its own is written into.
    ShortcutHome again;
    Window w2(Kind::profile, again);
    again.dialogs.expect_folder(other);
    w2.click("btc_dir");
    w2.click("btc_ok");
    EXPECT_EQ(test::TempDir::read_file(other + "/PC Windows  DOS.desktop"),
              profile_entry(again, "PC Windows  DOS"));
    EXPECT_FALSE(fs::exists(again.places.folders.desktop));
}

TEST(ShortcutWindows, AnExistingLauncherIsReplaced) {
    ShortcutHome h;
    h.dir.write("Desktop/Doom.desktop", "[Desktop Entry]\nName=an old one, longer than the new launcher\n" +
                                            std::string(400, '#') + "\n");
    Window w(Kind::game, h);
    w.click("btc_ok");
    EXPECT_FALSE(w.w->isVisible());
    EXPECT_EQ(test::TempDir::read_file(h.desktop("Doom")), game_entry(h, "Doom"));
}

TEST(ShortcutWindows, AFolderThatCannotBeWrittenShowsTheErrorAndStaysOpen) {
    ShortcutHome h;
    const std::string blocked = h.dir.write("not-a-folder", "a file") + "/Desktop";
    h.places.folders.desktop = blocked;
    Window w(Kind::game, h);
    h.dialogs.expect_message("Unable to create .lnk file", MessageAnswer::ok);
    w.click("btc_ok");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].title, "Trickvault - Error!");
    EXPECT_EQ(h.dialogs.messages[0].icon, MessageIcon::error);
    EXPECT_TRUE(w.w->isVisible());
    EXPECT_EQ(w.text("ed_name"), "Doom");

    // The user can choose another place and try again.
    w.click("btc_startmenu");
    w.click("btc_ok");
    EXPECT_FALSE(w.w->isVisible());
    EXPECT_EQ(test::TempDir::read_file(h.menu("Doom")), game_entry(h, "Doom"));
}

TEST(ShortcutWindows, TheProgramsOwnEntryNameIsRefusedAndTheEntryKept) {
    for (const Kind kind : {Kind::profile, Kind::game}) {
        ShortcutHome h;
        const std::string entry = "[Desktop Entry]\nName=Trickvault\nMimeType=application/x-trickvault-skin;\n";
        h.dir.write("share/applications/trickvault.desktop", entry);
        Window w(kind, h);
        w.click("btc_startmenu");
        w.get("ed_name")->setText("trickvault");
        h.dialogs.expect_message("The name \"trickvault\" belongs to Trickvault's own launcher", MessageAnswer::ok);
        w.click("btc_ok");
        ASSERT_EQ(h.dialogs.messages.size(), 1u);
        EXPECT_EQ(h.dialogs.messages[0].icon, MessageIcon::error);
        EXPECT_TRUE(w.w->isVisible());
        EXPECT_EQ(test::TempDir::read_file(h.menu("trickvault")), entry);

        // Another name, even one that differs only in letter case, is another file.
        w.get("ed_name")->setText("Trickvault");
        w.click("btc_ok");
        EXPECT_FALSE(w.w->isVisible());
        EXPECT_TRUE(fs::exists(h.menu("Trickvault")));
        EXPECT_EQ(test::TempDir::read_file(h.menu("trickvault")), entry);
    }
}

TEST(ShortcutWindows, CancelWritesNothing) {
    for (const Kind kind : {Kind::profile, Kind::game}) {
        ShortcutHome h;
        Window w(kind, h);
        w.click("btc_cancel");
        EXPECT_FALSE(w.w->isVisible());
        EXPECT_FALSE(fs::exists(h.places.folders.desktop));
        EXPECT_FALSE(fs::exists(h.places.icon_folder));
    }
}

TEST(ShortcutWindows, WithNothingToPointAtOkStaysDisabled) {
    ShortcutHome h;
    h.c.db.current_game_index = 5;
    Window game(Kind::game, h);
    game.get("ed_name")->setText("Anything");
    EXPECT_FALSE(game.ok_enabled());

    h.c.profiles.profile_index = -1;
    Window profile(Kind::profile, h);
    profile.get("ed_name")->setText("Anything");
    EXPECT_FALSE(profile.ok_enabled());
}

TEST(ShortcutWindows, F1ShowsTheShortcutTopic) {
    ShortcutHome h;
    h.c.language.help_path = h.dir.write("languages/english.html",
                                         "<html><body><a name=\"topic-10514\">Shortcuts</a></body></html>");
    Window w(Kind::profile, h);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    auto* browser = w.w->findChild<QTextBrowser*>("help_browser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "topic-10514");
}

TEST(ShortcutWindows, Screens) {
    for (const auto& [kind, name] :
         {std::pair{Kind::profile, "Tprofile_shortcut"}, std::pair{Kind::game, "Tshortcut"}}) {
        ShortcutHome h;
        h.c.options.custom_title_bar_active = true; // so the picture shows the title bar too
        h.c.skin_current = skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128),
                                             skin_rgb(166, 202, 240), skin_rgb(192, 192, 192),
                                             skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
        Window w(kind, h);
        test::save_screen(*w.w, name);
    }
}

} // namespace
} // namespace tkv
