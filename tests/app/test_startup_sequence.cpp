#include "app/startup_sequence.h"
#include "database/dat_text.h"
#include "shell/config_file.h"
#include "shell/files.h"
#include "shell/zip_extract.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace tkv {
namespace {

// Records which windows the start-up opened, in order.
class FakeWindows : public StartupWindows {
  public:
    explicit FakeWindows(ProgramContext& c) : c_(c) {}
    std::vector<std::string> shown;
    std::vector<UNZIP_REQUEST> unzipped;
    std::string main_profile; // the profile id the main window opened with
    bool connected = true;

    double screen_scale() override { return 1.25; }
    SystemTitleColors system_title_colors() override { return {}; }
    bool connection_present() override { return connected; }
    void show_languages() override { shown.push_back("languages"); }
    void show_upgrade_notes() override { shown.push_back("upgrade notes"); }
    void show_first_settings() override {
        shown.push_back(c_.variables.first_settings_mode ? "first settings (first run)" : "first settings");
    }
    void show_version_check() override { shown.push_back("version check"); }
    void show_main() override {
        shown.push_back("main");
        main_profile = c_.profiles.profiles[static_cast<std::size_t>(c_.profiles.profile_index)].id;
    }
    void show_manager() override { shown.push_back("manager"); }
    void show_donate() override { shown.push_back("donate"); }
    // Unpacks for real, without the task window's questions.
    void unzip(UNZIP_REQUEST& r) override {
        r.unpacked = zip_extract(r.archive, r.target_folder, r.file_mask, {}).ok;
        unzipped.push_back(r);
    }
    void search_skins(SkinTable& table) override {
        skins_search_hidden(table, c_.variables.program_folder + "skins/", c_.skin_default);
    }
    void set_fonts() override {}
    void register_filetypes() override { shown.push_back("register file types"); }

  private:
    ProgramContext& c_;
};

class Startup : public testing::Test {
  protected:
    test::TempDir home;
    test::ScriptedDialogs dialogs;

    void add_profile(const std::string& folder, const std::string& id) {
        home.write("profiles/" + folder + "/main.dat",
                   encode_dat_header(
                       {std::string(main_dat_magic), id, "Name " + id, "English", "20261201120000000"}) +
                       std::string(7, '\0'));
    }
    // A configuration that skips the first run; extra lines go into [general] unless they name
    // a section of their own.
    void configure(const std::string& lines) {
        home.write("tkv.ini",
                   "[general]\r\nfirst run=0\r\nversion=3.50\r\nshow donate message # times=0\r\n" + lines +
                       "[upgrade]\r\nautomatic version check at startup=0\r\n");
    }
    std::vector<std::string> run(ProgramContext& c, FakeWindows& w, std::vector<std::string> args = {}) {
        context_initialize(c, home.folder());
        startup_run(c, {std::move(args), [](std::size_t) { return std::size_t{0}; }}, w, dialogs);
        return w.shown;
    }
    std::string ini() const { return home.read("tkv.ini"); }
};

TEST_F(Startup, FirstRun) {
    ProgramContext c;
    FakeWindows w(c);
    // A new configuration is due for everything, the donation reminder included.
    EXPECT_EQ(run(c, w),
              (std::vector<std::string>{"languages", "upgrade notes", "first settings (first run)",
                                        "register file types", "version check", "manager", "donate"}));
    EXPECT_NE(ini().find("first run=0\r\n"), std::string::npos);
    EXPECT_NE(ini().find("number of runs=1\r\n"), std::string::npos);
    for (const char* folder : {"information", "languages", "profiles", "skins"})
        EXPECT_TRUE(folder_exists(home.path(folder))) << folder;
    EXPECT_DOUBLE_EQ(c.screen_scale, 1.25);
}

TEST_F(Startup, UninstallAsksAndKeepsTheConfigurationUntouched) {
    configure("");
    add_profile("pc", "pc");
    const std::string before = ini();
    {
        ProgramContext c;
        FakeWindows w(c);
        dialogs.expect_message("Do you want to delete the skins, profiles", MessageAnswer::no);
        EXPECT_TRUE(run(c, w, {"/uninstall"}).empty());
        EXPECT_TRUE(file_exists(home.path("profiles/pc/main.dat")));
    }
    ProgramContext c;
    FakeWindows w(c);
    dialogs.expect_message("Do you want to delete the skins, profiles", MessageAnswer::yes);
    run(c, w, {"/uninstall"});
    EXPECT_FALSE(folder_exists(home.path("profiles")));
    EXPECT_FALSE(folder_exists(home.path("skins")));
    EXPECT_EQ(ini(), before);
    EXPECT_EQ(dialogs.messages.back().title, "Trickvault - Attention!");
}

TEST_F(Startup, ArchiveArgumentsAreInstalledAndNothingElseOpens) {
    configure("");
    home.write("blue.tkvs", "PK-any-bytes");
    home.write("empty.tkvl", "");
    ProgramContext c;
    FakeWindows w(c);
    dialogs.expect_message("Error unpacking language file!", MessageAnswer::ok)
        .expect_message("Error unpacking profile!", MessageAnswer::ok);
    run(c, w, {home.path("empty.tkvl"), home.path("blue.tkvs"), home.path("missing.tkvp")});
    ASSERT_EQ(w.unzipped.size(), 1u);
    EXPECT_EQ(w.unzipped[0].target_folder, home.folder() + "skins/.unpacking-blue/"); // beside the skins
    EXPECT_EQ(w.unzipped[0].label_text, "Unpacking skin...");
    EXPECT_EQ(w.unzipped[0].file_mask, "*.*");
    EXPECT_FALSE(w.unzipped[0].silent);
    EXPECT_TRUE(w.shown.empty());
    EXPECT_EQ(ini().find("number of runs=1"), std::string::npos); // an install is no run
}

TEST_F(Startup, SkinsNameIsTheFolderTheArchiveInstalled) {
    // Each archive holds these files; the earlier choice is "ocean".
    const struct {
        const char* what;
        const char* archive;
        std::vector<std::string> files; // empty: not an archive at all
        const char* skin_name;
        bool error; // "Error unpacking skin!"
    } cases[] = {
        {"a browser's second copy", "neon2 (1).tkvs", {"neon2/skin.ini"}, "neon2", false},
        {"the archive's own name first", "b.tkvs", {"a/skin.ini", "b/skin.ini"}, "b", false},
        {"else the first skin", "c.tkvs", {"z/skin.ini", "y/skin.ini", "x/notes.txt"}, "y", false},
        {"no skin in it", "notes.tkvs", {"notes/readme.txt"}, "ocean", true},
        {"damaged", "broken.tkvs", {}, "ocean", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir files;
        const std::string archive = files.path(c.archive);
        if (c.files.empty()) {
            files.write(c.archive, "PK\3\4 cut short");
        } else {
            for (const std::string& f : c.files)
                files.write("src/" + f, "[skin]\r\n");
            const std::string zip = "cd '" + files.path("src") + "' && zip -q -r '" + archive + "' .";
            ASSERT_EQ(std::system(zip.c_str()), 0);
        }
        configure("");
        home.write("tkv.ini", ini() + "[skins]\r\nskins name=ocean\r\n");
        ProgramContext ctx;
        FakeWindows w(ctx);
        if (c.error) dialogs.expect_message("Error unpacking skin!", MessageAnswer::ok);
        run(ctx, w, {archive});
        EXPECT_EQ(ctx.options.skin_name, c.skin_name);
        EXPECT_NE(ini().find(std::string("skins name=") + c.skin_name + "\r\n"), std::string::npos) << ini();
        if (!c.error && std::string(c.skin_name) != "ocean") {
            EXPECT_TRUE(file_exists(home.path("skins/" + std::string(c.skin_name) + "/skin.ini")));
        }
    }
    // Only skins arrived, and nothing of the unpacking is left.
    std::vector<std::string> skins = folder_list_folders(home.path("skins"));
    std::sort(skins.begin(), skins.end());
    EXPECT_EQ(skins, (std::vector<std::string>{"a", "b", "neon2", "y", "z"}));
}

TEST_F(Startup, MissingProfileArchiveReportsItsError) {
    configure("");
    ProgramContext c;
    FakeWindows w(c);
    dialogs.expect_message("Error unpacking profile!", MessageAnswer::ok);
    run(c, w, {home.path("gone.tkvp")});
    EXPECT_EQ(dialogs.messages.at(0).title, "Trickvault - Error!");
}

TEST_F(Startup, FirstWindowChoice) {
    add_profile("a", "alpha");
    add_profile("b", "beta");
    const struct {
        std::string config;
        std::vector<std::string> args;
        std::vector<std::string> shown;
        std::string main_profile;
    } cases[] = {
        {"last profile id=BETA\r\nlast profile autorun time=0\r\ndont show the manager after exit=0\r\n",
         {},
         {"main", "manager"},
         "beta"},
        {"last profile id=beta\r\nlast profile autorun time=5\r\n", {}, {"manager"}, ""},
        {"last profile id=beta\r\nlast profile autorun time=0\r\n", {"/manager"}, {"manager"}, ""},
        {"last profile autorun=0\r\n", {"/profile=ALPHA", "/game=Doom"}, {"main"}, "alpha"},
        {"last profile autorun=0\r\ndont show the manager after exit=1\r\n",
         {"/profile=nope"},
         {"main"},
         "alpha"},
        // A "/skin=" that cannot be loaded is forgotten, so it opens no profile.
        {"last profile autorun=0\r\nlast profile id=beta\r\n", {"/skin=none"}, {"manager"}, ""},
    };
    for (const auto& k : cases) {
        configure(k.config);
        ProgramContext c;
        FakeWindows w(c);
        EXPECT_EQ(run(c, w, k.args), k.shown) << k.config;
        EXPECT_EQ(w.main_profile, k.main_profile) << k.config;
        if (!k.main_profile.empty()) {
            EXPECT_NE(ini().find("last profile id=" + k.main_profile + "\r\n"), std::string::npos);
            EXPECT_EQ(c.variables.main_dat_path,
                      home.folder() + "profiles/" + k.main_profile.substr(0, 1) + "/main.dat");
            EXPECT_TRUE(c.variables.autorun_done);
        }
    }
}

// Launchers give "/profile=" in UTF-8; the id is stored in its profile's code page ("\xC4" is Ä).
TEST_F(Startup, AProfileIdOutsideAsciiFromALauncherOpensThatProfile) {
    add_profile("a", "ACC");
    add_profile("u", "\xC4" "CC");
    configure("last profile autorun=0\r\n");
    ProgramContext c;
    FakeWindows w(c);
    EXPECT_EQ(run(c, w, {"/profile=\xC3\x84" "CC"}), std::vector<std::string>{"main"});
    EXPECT_EQ(w.main_profile, "\xC4" "CC");
    EXPECT_EQ(c.variables.main_dat_path, home.folder() + "profiles/u/main.dat");
}

TEST_F(Startup, NoProfilesOpenTheManager) {
    configure("last profile autorun time=0\r\n");
    ProgramContext c;
    FakeWindows w(c);
    EXPECT_EQ(run(c, w), std::vector<std::string>{"manager"});
}

TEST_F(Startup, NewerVersionShowsTheNotes) {
    home.write("tkv.ini", "[general]\r\nfirst run=0\r\nversion=3.40\r\nshow donate message # "
                          "times=0\r\n[upgrade]\r\nautomatic version check at startup=0\r\n");
    ProgramContext c;
    FakeWindows w(c);
    EXPECT_EQ(run(c, w), (std::vector<std::string>{"upgrade notes", "manager"}));
}

TEST(StartupRules, VersionCheckSchedule) {
    OPTIONS_TYPE o;
    const DateTime now = *make_datetime({2026, 12, 10, 12, 0, 0, 0});
    o.version_check_period = 2; // 7 days
    o.version_check_time = DateTime{now.ms - 7 * ms_per_day + 3600000};
    EXPECT_FALSE(version_check_due(o, now, true)); // 6 days and 23 hours
    o.version_check_time = add_days(now, -7);
    EXPECT_TRUE(version_check_due(o, now, true));
    EXPECT_FALSE(version_check_due(o, now, false));
    o.version_check_period = 9; // unknown: 7 days
    EXPECT_TRUE(version_check_due(o, now, true));
    o.version_check_period = 0;
    o.version_check_time = add_days(now, -1);
    EXPECT_TRUE(version_check_due(o, now, true));
    o.version_check_at_start = false;
    EXPECT_FALSE(version_check_due(o, now, true));
}

TEST(StartupRules, DonationSchedule) {
    OPTIONS_TYPE o;
    const DateTime now = *make_datetime({2026, 12, 10, 12, 0, 0, 0});
    o.donate_count = 2;
    o.donate_last_shown = add_days(now, -14);
    EXPECT_FALSE(donation_due(o, now)); // exactly 14 days: not later
    o.donate_last_shown = DateTime{add_days(now, -14).ms - 1};
    EXPECT_TRUE(donation_due(o, now));
    o.donate_count = 0;
    EXPECT_FALSE(donation_due(o, now));
}

TEST_F(Startup, DonationReminderCountsDown) {
    home.write(
        "tkv.ini",
        "[general]\r\nfirst run=0\r\nversion=3.50\r\nshow donate message # times=2\r\n"
        "donate message was shown last=20000101\r\n[upgrade]\r\nautomatic version check at startup=0\r\n");
    ProgramContext c;
    FakeWindows w(c);
    EXPECT_EQ(run(c, w), (std::vector<std::string>{"manager", "donate"}));
    EXPECT_NE(ini().find("show donate message # times=1\r\n"), std::string::npos);
    EXPECT_NE(ini().find("donate message was shown last=" + format_date(current_datetime())),
              std::string::npos);
}

TEST_F(Startup, ReinitializeRules) {
    configure("[print]\r\ninformations to print=111000101\r\n[visual]\r\ncustom coloured title bar=1\r\n"
              "[server]\r\nuse only main server=1\r\nuse this server=http://other.example/\r\n");
    ProgramContext c;
    FakeWindows w(c);
    run(c, w);
    EXPECT_EQ(c.options.print_selection, "101");
    EXPECT_TRUE(c.options.custom_title_bar_active);
    EXPECT_EQ(c.options.server, "http://www.trickvault.example/");
}

} // namespace
} // namespace tkv
