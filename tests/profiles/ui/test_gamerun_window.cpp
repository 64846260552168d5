// The launch settings window over one game, driven through its named controls.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "profiles/ui/gamerun_window.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "widgets/ttkv_frame.h"

namespace tkv {
namespace {

// Remembers where the folder dialog was asked to start.
struct RecordingDialogs : test::ScriptedDialogs {
    std::vector<std::string> folder_starts;
    std::optional<std::string> choose_folder(const std::string& title, const std::string& start) override {
        folder_starts.push_back(start);
        return ScriptedDialogs::choose_folder(title, start);
    }
};

// A profile with two games; the first, current one has the launch settings given.
struct RunFolder {
    test::TempDir dir;
    ProgramContext c;
    RecordingDialogs dialogs;
    explicit RunFolder(GAMES2_RUN_TYPE run = {"/games/doom/doom", "/games/doom/", "-warp 1"}) {
        context_initialize(c, dir.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        PROFILES_TYPE profile;
        profile.id = "pc";
        profile.name = "PC";
        profile.language = "English";
        c.profiles.profiles.push_back(profile);
        c.db.games.push_back({1, "Doom\r\nDoom II: Hell on Earth", "", 1, "", run});
        c.db.games.push_back({2, "Quake", "", 1, "", {}});
        c.db.current_game_index = 0;
    }
    const GAMES2_RUN_TYPE& run() const { return c.db.games[0].run; }
    int changes() const { return c.variables.changes.change_count; }
};

struct Window {
    Tgamerun w;
    explicit Window(RunFolder& f, QWidget* parent = nullptr) : w(f.c, f.dialogs, parent) {
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    template <class T = QLineEdit> T* get(const char* name) {
        T* c = w.findChild<T*>(name);
        if (!c) ADD_FAILURE() << name << " is missing";
        return c;
    }
    QString text(const char* edit) { return get(edit)->text(); }
    void set(const char* edit, const QString& text) { get(edit)->setText(text); }
    void click(const char* button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
};

TEST(Tgamerun, OpensWithTheCurrentGamesSettings) {
    RunFolder f;
    Window k(f);
    EXPECT_EQ(k.w.windowTitle(), "Trickvault - Setup");
    const std::vector<std::pair<const char*, const char*>> labels = {{"lb_name", "&Game:"},
                                                                     {"lb_path", "&Path:"},
                                                                     {"lb_comm", "Para&meters:"},
                                                                     {"lb_work", "Dir&ectory:"}};
    for (const auto& [name, text] : labels) {
        auto* label = k.get<QLabel>(name);
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->property("tkv_skin_class").toString(), "N") << name;
    }
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"btc_path", "&Browse"}, {"btc_work", "B&rowse"},        {"btc_ok", "&Ok"},
        {"btc_test", "&Test"},   {"btc_forget", "&Disable run"}, {"btc_cancel", "&Cancel"}};
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(k.get<QPushButton>(name)->text(), text);
    EXPECT_EQ(k.text("ed_name"), "Doom; Doom II: Hell on Earth");
    EXPECT_TRUE(k.get("ed_name")->isReadOnly());
    EXPECT_EQ(k.text("ed_path"), "/games/doom/doom");
    EXPECT_EQ(k.text("ed_comm"), "-warp 1");
    EXPECT_EQ(k.text("ed_work"), "/games/doom/");
    for (const char* name : {"ed_name", "ed_path", "ed_comm", "ed_work"})
        EXPECT_EQ(k.get<TTKV_Frame>(("tkvf_" + std::string(name)).c_str())->control(), k.get(name));
    EXPECT_TRUE(k.get<QPushButton>("btc_test")->isEnabled());
    EXPECT_TRUE(k.get<QPushButton>("btc_ok")->isDefault());
    EXPECT_EQ(QApplication::focusWidget(), k.get("ed_path"));
}

TEST(Tgamerun, ClientAreaFollowsTheScreenScaleCentredOverTheMainWindow) {
    for (const auto& [scale, client] : {std::pair{1.0, QSize(425, 142)}, std::pair{1.5, QSize(638, 213)}}) {
        SCOPED_TRACE(scale);
        RunFolder f;
        f.c.screen_scale = scale;
        QWidget main;
        main.setGeometry(100, 60, 800, 600);
        main.show();
        Window k(f, &main);
        EXPECT_EQ(k.get<QWidget>("client")->size(), client);
        EXPECT_LE((k.w.frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 6);
    }
}

TEST(Tgamerun, TestIsEnabledExactlyForAPathThatIsNotBlank) {
    struct {
        const char* path;
        bool enabled;
    } const cases[] = {{"", false}, {"   ", false}, {"\t ", false}, {" /games/x ", true}, {"x", true}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.path);
        RunFolder opened_with({k.path, "", ""});
        Window w(opened_with);
        EXPECT_EQ(w.get<QPushButton>("btc_test")->isEnabled(), k.enabled);

        RunFolder f;
        Window typed(f);
        typed.set("ed_path", k.path);
        EXPECT_EQ(typed.get<QPushButton>("btc_test")->isEnabled(), k.enabled);
    }
}

TEST(Tgamerun, BrowseTakesTheFileAndItsFolderWithTheFinalSlash) {
    RunFolder f;
    Window k(f);
    f.dialogs.expect_open(FileDialogResult{"/games/X/run.sh", 2});
    k.click("btc_path");
    EXPECT_EQ(k.text("ed_path"), "/games/X/run.sh");
    EXPECT_EQ(k.text("ed_work"), "/games/X/");
    EXPECT_EQ(k.text("ed_comm"), "-warp 1");
    ASSERT_EQ(f.dialogs.file_dialogs.size(), 1u);
    const FileDialogRequest& r = f.dialogs.file_dialogs[0];
    EXPECT_EQ(r.title, "Select file that runs game Doom; Doom II: Hell on Earth");
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0].label, "Executables (*.exe,*.com,*.bat,*.pif)");
    EXPECT_EQ(r.filters[0].pattern, "*.exe;*.com;*.bat;*.pif");
    EXPECT_EQ(r.filters[1].label, "All files (*.*)");
    EXPECT_EQ(r.filters[1].pattern, "*"); // names without a dot too
    EXPECT_EQ(r.file_name, "/games/doom/doom");
    EXPECT_EQ(r.folder, "/games/doom/");

    // Cancel keeps what is there; nothing is stored before Ok.
    f.dialogs.expect_open(std::nullopt);
    k.click("btc_path");
    EXPECT_EQ(k.text("ed_path"), "/games/X/run.sh");
    EXPECT_EQ(f.run().path, "/games/doom/doom");
    EXPECT_EQ(f.changes(), 0);
}

TEST(Tgamerun, DirectoryBrowseStartsAtTheTypedFolderAndAddsTheFinalSlash) {
    struct {
        const char* typed;
        const char* start;
        std::optional<std::string> picked;
        const char* shown;
    } const cases[] = {
        {"", "/", "/games/y", "/games/y/"},
        {"  /games/x/  ", "/games/x", "/games/z/", "/games/z/"},
        {"/", "/", "/", "/"},
        {"/games/x", "/games/x", std::nullopt, "/games/x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        RunFolder f;
        Window k(f);
        k.set("ed_work", c.typed);
        f.dialogs.expect_folder(c.picked);
        k.click("btc_work");
        EXPECT_EQ(f.dialogs.folder_starts, std::vector<std::string>{c.start});
        EXPECT_EQ(k.text("ed_work"), c.shown);
    }
}

TEST(Tgamerun, OkStoresTrimmedChangesAsOneChangeOfTheUserDatabase) {
    RunFolder f;
    Window k(f);
    k.set("ed_path", "  /games/doom/doom2 ");
    k.set("ed_comm", " -nomonsters ");
    k.set("ed_work", "/games/doom2/ ");
    k.click("btc_ok");
    EXPECT_FALSE(k.w.isVisible());
    EXPECT_EQ(f.run(), (GAMES2_RUN_TYPE{"/games/doom/doom2", "/games/doom2/", "-nomonsters"}));
    EXPECT_EQ(f.changes(), 1);
    EXPECT_TRUE(f.c.variables.changes.user_changed);
    EXPECT_FALSE(f.c.variables.changes.main_changed);
    EXPECT_EQ(f.c.db.games[1].run, GAMES2_RUN_TYPE{}); // the other game keeps its own
}

// Launch settings are file names and arguments, kept as the system's UTF-8 whatever the profile's
// code page: a folder name no code page holds is stored exactly, without a question.
TEST(Tgamerun, LaunchTextsOutsideTheProfilesCodePageAreKeptExactly) {
    RunFolder f; // an English profile: Windows-1252
    Window k(f);
    k.set("ed_path", QString::fromUtf8("/home/\u0142ukasz/gry \u2713/doom"));
    k.set("ed_comm", QString::fromUtf8("-name \u017bbik"));
    k.set("ed_work", QString::fromUtf8("/home/\u0142ukasz/gry \u2713/"));
    k.click("btc_ok");
    EXPECT_FALSE(k.w.isVisible());
    EXPECT_EQ(f.run(), (GAMES2_RUN_TYPE{"/home/\u0142ukasz/gry \u2713/doom", "/home/\u0142ukasz/gry \u2713/",
                                        "-name \u017bbik"}));
    EXPECT_TRUE(f.dialogs.all_answered());
}

TEST(Tgamerun, DisableRunThenOkEmptiesTheSettings) {
    RunFolder f;
    Window k(f);
    k.click("btc_forget");
    for (const char* name : {"ed_path", "ed_comm", "ed_work"})
        EXPECT_EQ(k.text(name), "") << name;
    EXPECT_FALSE(k.get<QPushButton>("btc_test")->isEnabled());
    EXPECT_EQ(f.run().path, "/games/doom/doom"); // only Ok stores
    k.click("btc_ok");
    EXPECT_EQ(f.run(), GAMES2_RUN_TYPE{});
    EXPECT_EQ(f.changes(), 1);
    EXPECT_TRUE(f.c.variables.changes.user_changed);
}

TEST(Tgamerun, NothingChangedOrCancelledCountsNoChange) {
    enum class How { ok_untouched, ok_after_undoing, cancel, escape };
    for (const How how : {How::ok_untouched, How::ok_after_undoing, How::cancel, How::escape}) {
        SCOPED_TRACE(static_cast<int>(how));
        RunFolder f;
        Window k(f);
        if (how != How::ok_untouched) {
            k.set("ed_path", "/elsewhere");
            k.click("btc_forget");
        }
        if (how == How::ok_after_undoing) {
            k.set("ed_path", "/games/doom/doom");
            k.set("ed_comm", "-warp 1");
            k.set("ed_work", "/games/doom/");
        }
        if (how == How::cancel)
            k.click("btc_cancel");
        else if (how == How::escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            k.click("btc_ok");
        EXPECT_FALSE(k.w.isVisible());
        EXPECT_EQ(f.run(), (GAMES2_RUN_TYPE{"/games/doom/doom", "/games/doom/", "-warp 1"}));
        EXPECT_EQ(f.changes(), 0);
        EXPECT_FALSE(f.c.variables.changes.user_changed);
    }
}

TEST(Tgamerun, EnterIsOk) {
    RunFolder f;
    Window k(f);
    k.set("ed_comm", "-fast");
    QTest::keyClick(k.get("ed_comm"), Qt::Key_Return);
    EXPECT_FALSE(k.w.isVisible());
    EXPECT_EQ(f.run().parameters, "-fast");
    EXPECT_EQ(f.changes(), 1);
}

TEST(Tgamerun, TestStartsTheProgramAsTypedInItsFolderAndStoresNothing) {
    RunFolder f;
    const std::string script = f.dir.write(
        "game dir/start game.sh", "#!/bin/sh\n"
                                  "out=\"$(dirname \"$0\")/started.txt\"\n"
                                  "pwd -P > \"$out.part\"\n"
                                  "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.part\"; done\n"
                                  "mv \"$out.part\" \"$out\"\n");
    ::chmod(script.c_str(), 0755);
    const std::string work = f.dir.path("work dir");
    std::filesystem::create_directories(work);
    Window k(f);
    k.set("ed_path", QString::fromStdString(" " + script + " "));
    k.set("ed_comm", " -skill 4 \"two words\" ");
    k.set("ed_work", QString::fromStdString(work + "/ "));
    k.click("btc_test");
    const std::string started = f.dir.path("game dir/started.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(started); }, 10000));
    EXPECT_EQ(test::TempDir::read_file(started),
              std::filesystem::canonical(work).string() + "\n-skill\n4\ntwo words\n");
    EXPECT_TRUE(k.w.isVisible());
    EXPECT_EQ(f.run().path, "/games/doom/doom");
    EXPECT_EQ(f.changes(), 0);
}

TEST(Tgamerun, WithoutACurrentGameItShowsNothingAndStoresNothing) {
    RunFolder f;
    f.c.db.current_game_index = -1;
    Window k(f);
    for (const char* name : {"ed_name", "ed_path", "ed_comm", "ed_work"})
        EXPECT_EQ(k.text(name), "") << name;
    k.set("ed_path", "/x");
    k.click("btc_ok");
    EXPECT_FALSE(k.w.isVisible());
    EXPECT_EQ(f.changes(), 0);
    EXPECT_EQ(f.run().path, "/games/doom/doom");
}

TEST(Tgamerun, F1ShowsTheLaunchSettingsTopic) {
    RunFolder f;
    f.c.language.help_path = f.dir.write("languages/english.html",
                                         "<html><body><a name=\"topic-10506\">Launching</a></body></html>");
    Window k(f);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    auto* browser = k.w.findChild<QTextBrowser*>("help_browser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "topic-10506");
}

TEST(Tgamerun, Screen) {
    RunFolder f;
    f.c.options.custom_title_bar_active = true; // so the picture shows the title bar too
    f.c.skin_current =
        skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128), skin_rgb(166, 202, 240),
                          skin_rgb(192, 192, 192), skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
    Window k(f);
    test::save_screen(k.w, "Tgamerun");
}

} // namespace
} // namespace tkv
