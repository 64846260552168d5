#include "cli/tkv.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace tkv {
namespace {

struct Result {
    int code;
    std::string out, err;
};

class SkinCommand : public testing::Test {
  protected:
    test::TempDir home;

    void SetUp() override {
        std::filesystem::create_directories(home.path("skins"));
        std::filesystem::copy(TKV_TEST_DATA "/skins/Ocean", home.path("skins/x"),
                              std::filesystem::copy_options::recursive);
    }

    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.folder()});
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return {code, out.str(), err.str()};
    }
};

TEST_F(SkinCommand, ShowPrintsEveryFieldInRecordOrder) {
    const Result r = run({"skin", "show", "X"});
    ASSERT_EQ(r.code, cli::exit_ok) << r.err;
    const std::string skins = home.folder() + "skins/x/";
    EXPECT_TRUE(r.out.starts_with("folder=x\n"
                                  "name=Oc\xC3\xA9"
                                  "an Blue\n"
                                  "version=1.2 Beta\n"
                                  "maker=Kis Anna\n"
                                  "email=-\n"
                                  "homepage=http://Example.org/Ocean\n"
                                  "program_version=3.50\n"
                                  "fonts=wave sans:" +
                                  skins + "Wave.TTF;deep serif:" + skins +
                                  "Extra/Deep.otf\n"
                                  "window_about.background=102030\n"
                                  "window_about.buttons.color=FF0000\n"
                                  "window_about.buttons.font_color=000000\n"
                                  "window_about.buttons.font_name=\n"
                                  "window_about.buttons.font_size=8\n"
                                  "window_about.buttons.font_style=0\n"
                                  "window_about.panels.color=112233\n"
                                  "window_about.panels.font_color=445566\n"
                                  "window_about.panels.font_name=tahoma\n"
                                  "window_about.panels.font_size=9\n"
                                  "window_about.panels.font_style=1\n"
                                  "window_about.fields.color=AABBCC\n"
                                  "window_about.fields.font_color=010203\n"
                                  "window_about.fields.font_name=arial\n"
                                  "window_about.fields.font_size=8\n"
                                  "window_about.fields.font_style=0\n"
                                  "window_about.labels_panel.color=0A0B0C\n"
                                  "window_about.labels_panel.font_color=0D0E0F\n"
                                  "window_about.labels_panel.font_name=verdana\n"
                                  "window_about.labels_panel.font_size=24\n"
                                  "window_about.labels_panel.font_style=7\n"
                                  "window_about.labels_normal.color=FFFFFF\n"
                                  "window_about.labels_normal.font_color=000000\n"
                                  "window_about.labels_normal.font_name=times new roman\n"
                                  "window_about.labels_normal.font_size=4\n"
                                  "window_about.labels_normal.font_style=2\n"
                                  "window_about.title.left_active=010101\n"
                                  "window_about.title.right_active=020202\n"
                                  "window_about.title.left_inactive=030303\n"
                                  "window_about.title.right_inactive=040404\n"
                                  "window_about.title.active_text=050505\n"
                                  "window_about.title.inactive_text=060606\n"
                                  "window_about.title.system_font=1\n"
                                  "window_about.title.font_name=\n"
                                  "window_about.title.font_size=8\n"
                                  "window_about.title.font_style=0\n"
                                  "window_about.title.alignment=0\n"
                                  "window_download.background=200000\n"))
        << r.out;
    // The built-in title bar of the tool has the all-zero system colours.
    EXPECT_NE(r.out.find("\nwindow_other.title.left_active=000000\n"
                         "window_other.title.right_active=000000\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\nwindow_other.title.font_style=1\n"
                         "window_other.title.alignment=0\n"
                         "splash.custom=1\n"
                         "splash.progress_label.left=10\n"
                         "splash.progress_label.right=200\n"
                         "splash.progress_label.top=20\n"
                         "splash.progress_label.bottom=40\n"
                         "splash.progress_label.font_color=FFFFFF\n"
                         "splash.progress_label.font_name=arial\n"
                         "splash.progress_label.font_size=9\n"
                         "splash.progress_label.font_style=1\n"
                         "splash.progress_label.alignment=2\n"
                         "splash.version_label.left=1\n"),
              std::string::npos);
    EXPECT_TRUE(r.out.ends_with("\nsplash.background=ABCDEF\n"
                                "progress_download=010101,020202,030303,040404\n"
                                "progress_other=0A0A0A,0B0B0B,0C0C0C,000000\n"
                                "main_data_visible=0\n"
                                "info_font_style=5\n"));
}

TEST_F(SkinCommand, RawKeepsTheFileBytes) {
    const Result r = run({"skin", "show", "--raw", "x"});
    ASSERT_EQ(r.code, cli::exit_ok);
    EXPECT_NE(r.out.find("\nname=Oc\xE9"
                         "an Blue\n"),
              std::string::npos);
}

TEST_F(SkinCommand, FailuresAndUsage) {
    home.write("skins/noname/skin.ini", "[Skin Informations]\r\nVersion=1\r\n");
    for (const char* folder : {"missing", "noname", ".."}) {
        const Result r = run({"skin", "show", folder});
        EXPECT_EQ(r.code, cli::exit_failed) << folder;
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("is not a skin"), std::string::npos) << r.err;
    }
    const std::vector<std::vector<std::string>> bad = {
        {"skin"},
        {"skin", "show"},
        {"skin", "list", "x"},
        {"skin", "show", "x", "y"},
        {"skin", "show", "--bogus"},
        {"skin", "contrast"},
        {"skin", "contrast", "x", "--raw"},
    };
    for (const auto& args : bad) {
        const Result r = run(args);
        EXPECT_EQ(r.code, cli::exit_usage);
        EXPECT_NE(r.err.find("skin show FOLDER [--raw]"), std::string::npos);
    }
}

TEST_F(SkinCommand, ShippedSkinsShowAndPassTheContrastCheck) {
    std::filesystem::copy(TKV_SHIPPED_SKINS, home.path("skins"), std::filesystem::copy_options::recursive);
    for (const auto& [folder, name] :
         {std::pair{"night", "Night"}, {"paper", "Paper"}, {"contrast", "Contrast"}}) {
        SCOPED_TRACE(folder);
        const Result show = run({"skin", "show", folder});
        ASSERT_EQ(show.code, cli::exit_ok) << show.err;
        EXPECT_NE(show.out.find(std::string("\nname=") + name + "\n"), std::string::npos);
        EXPECT_NE(show.out.find("\nsplash.custom=1\n"), std::string::npos);
        const Result contrast = run({"skin", "contrast", folder});
        EXPECT_EQ(contrast.code, cli::exit_ok) << contrast.err;
        EXPECT_NE(contrast.out.find("\nwindow_main.fields="), std::string::npos) << contrast.out;
        EXPECT_NE(contrast.out.find("\nsplash.version_label="), std::string::npos) << contrast.out;
    }
}

TEST_F(SkinCommand, ContrastNamesTheTextsBelowTheMinimum) {
    // The fixture's white progress label on light blue, and its title texts on their own colours.
    const Result r = run({"skin", "contrast", "x"});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_NE(r.out.find("\nsplash.progress_label=1.65 (FFFFFF on ABCDEF)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nsplash.version_label=12.71 (000000 on ABCDEF)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("texts have a contrast below 4.5:1"), std::string::npos) << r.err;
}

} // namespace
} // namespace tkv
