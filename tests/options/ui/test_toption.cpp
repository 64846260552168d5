// The options window's tree, its controls bound to the options, the defaults, Apply, OK and
// Cancel, and the rules of closing.

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "options/ui/option_panel.h"
#include "options/ui/options_window.h"
#include "shell/config_file.h"
#include "shell/manual.h"
#include "support/scoped_env.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

// A program folder without a profile; nothing is fetched by itself.
struct Options {
    test::TempDir home;
    ProgramContext c;
    test::ScriptedDialogs dialogs;

    Options() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.auto_download_upgrade_info = false;
        c.skins.searched = true;
    }
    std::string option(const char* section, const char* key) const {
        return option_value_text(c.options, section, key).value_or("?");
    }
};

// Opens the window and waits for its first panel.
void open(Toption& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.current_panel() >= 0; }, 5000));
}

TEST(Toption, OpensAtTheLastViewedPanelAndRemembersTheChoice) {
    struct Case {
        bool save_last;
        int last, chosen, opened, stored;
    };
    for (const Case& k : {Case{false, 9, 3, 0, 0}, Case{true, 9, 3, 9, 3}, Case{true, 99, 4, 0, 4}}) {
        Options o;
        o.c.options.save_last_option = k.save_last;
        o.c.options.last_option = k.last;
        Toption w(o.c, o.dialogs);
        open(w);
        EXPECT_EQ(w.current_panel(), k.opened);
        EXPECT_TRUE(w.panel(k.opened)->isVisible());
        w.u_option_tv_option_show(k.chosen);
        EXPECT_TRUE(w.panel(k.chosen)->isVisible());
        EXPECT_FALSE(w.panel(k.opened == k.chosen ? 15 : k.opened)->isVisible());
        w.findChild<QPushButton*>("btc_cancel")->click();
        EXPECT_EQ(o.c.options.last_option, k.stored);
    }
}

TEST(Toption, TheKeyboardStartsOnThePanelsFirstControl) {
    const std::pair<int, const char*> cases[] = {{0, "ck_be_alt_autorun_profile"},
                                                 {1, "ed_settings_filedownload_directory"},
                                                 {3, "ck_be_db_autosave"},
                                                 {15, "ck_op_option_def_all"}};
    for (const auto& [last, control] : cases) {
        Options o;
        o.c.options.save_last_option = true;
        o.c.options.last_option = last;
        Toption w(o.c, o.dialogs);
        open(w);
        ASSERT_NE(w.focusWidget(), nullptr) << control;
        EXPECT_EQ(w.focusWidget()->objectName().toStdString(), control);
    }
}

TEST(Toption, TheTreeShowsEveryEntryAndRefusesToCollapse) {
    Options o;
    Toption w(o.c, o.dialogs);
    open(w);
    auto* tree = w.findChild<QTreeWidget*>("elt_option");
    EXPECT_EQ(tree->topLevelItemCount(), 4);
    QTreeWidgetItem* refresh = tree->topLevelItem(2);
    EXPECT_EQ(refresh->text(0), "Refresh");
    EXPECT_EQ(refresh->childCount(), 4);
    refresh->setExpanded(false);
    EXPECT_TRUE(refresh->isExpanded());
    tree->setCurrentItem(refresh->child(3));
    EXPECT_EQ(w.current_panel(), 14);
    EXPECT_EQ(w.findChild<QLabel*>("pa_title")->text(), "Search for new skins");
    tree->setCurrentItem(tree->topLevelItem(3));
    EXPECT_EQ(w.findChild<QLabel*>("pa_title")->text(), "Show Options window");
}

// F1 opens the page of the panel shown, whichever of its controls has the keyboard.
TEST(Toption, F1OpensThePageOfThePanelShown) {
    Options o;
    o.c.language.help_path = TKV_TEST_DATA "/../../data/help/english.html";
    Toption w(o.c, o.dialogs);
    open(w);
    for (int n = 0; n < Toption::panel_count; ++n) {
        w.u_option_tv_option_show(n);
        QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_F1);
        auto* browser = w.findChild<QTextBrowser*>("help_browser");
        ASSERT_TRUE(browser) << n;
        const QUrl source = browser->source();
        EXPECT_EQ(QFileInfo(source.toLocalFile()).fileName().toStdString() + "#" + source.fragment().toStdString(),
                  help_topic_target(options_panel_topics[n])) << "panel " << n;
    }
}

// Every control that edits an option, changed on the window and written by OK.
TEST(Toption, OkWritesEveryControlIntoItsOption) {
    using Change = std::variant<bool /* toggle */, int /* combo index */, QString /* edit text */>;
    struct Row {
        const char* control;
        Change change;
        const char* section;
        const char* key;
        const char* expected; // nullptr: a boolean that flips
    };
    const Row rows[] = {
        {"ck_be_alt_autorun_profile", true, "general", "last profile autorun", nullptr},
        {"cb_be_alt_autorun_delay", 45, "general", "last profile autorun time", "45"},
        {"ck_be_alt_exit_to_os", true, "general", "dont show the manager after exit", nullptr},
        {"ck_be_alt_autoclose", true, "general", "automatically exit to os on game run", nullptr},
        {"ed_settings_filedownload_directory", QString("/home/me/Downloads/"), "file download", "download directory",
         "/home/me/Downloads/"},
        {"cb_settings_filedownload_exe", 4, "file download", "task with the exe file after downloading", "4"},
        {"cb_settings_filedownload_other", 3, "file download", "task with the non-exe file after downloading", "3"},
        {"ck_be_int_internetstart", true, "internet", "start default program on click", nullptr},
        {"ck_be_int_internetcopy", true, "internet", "copy the url to the clipboard on click", nullptr},
        {"ck_be_int_internetemailint", true, "internet", "dont use external email client", nullptr},
        {"ed_be_int_smtp_server", QString("mail.example.org"), "internet", "smtp server", "mail.example.org"},
        {"ed_be_int_smtp_port", QString("587"), "internet", "smtp port", "587"},
        {"ed_be_int_user_name", QString("Anna Kis"), "internet", "name", "Anna Kis"},
        {"ed_be_int_user_emailadd", QString("anna@example.org"), "internet", "e-mail address", "anna@example.org"},
        {"ck_be_db_autosave", true, "database", "autosave database", nullptr},
        {"cb_be_db_saveafter", 7, "database", "autosave database after this amount of changes", "20"},
        {"ck_be_db_show_save_completed", true, "database", "show successful save message", nullptr},
        {"ck_be_db_rememberlastgame", true, "database", "remember last game", nullptr},
        {"ck_be_db_charactersequal", true, "database", "small and large characters are equal", nullptr},
        {"ck_be_szerk_datanew", true, "editor", "add button visible", nullptr},
        {"ck_be_szerk_datamodify", true, "editor", "modify button visible", nullptr},
        {"ck_be_szerk_dataerase", true, "editor", "delete button visible", nullptr},
        {"ed_be_save_path", QString("/Home/Me/Saved/"), "save text", "save directory", "/Home/Me/Saved/"},
        {"cb_be_save_type", 1, "save text", "type of text file", "1"},
        {"cb_be_pr_printer_font_size", 9, "print", "font size", "13"},
        {"ck_be_pr_printconfirmation", true, "print", "confirmation", nullptr},
        {"ck_be_pr_select", true, "print", "selective print", nullptr},
        {"ck_de_be_showsplash", true, "visual", "show splash screen", nullptr},
        {"ck_de_be_savewindowspos", true, "visual", "save main windows position", nullptr},
        {"ck_de_be_effectonexit", true, "visual", "effect on exit", nullptr},
        {"ck_de_be_show_skins_search", true, "visual", "show loading skins window", nullptr},
        {"co_de_be_colored_captions", 2, "visual", "custom coloured title bar", "2"},
        {"ck_fr_be_download", true, "upgrade", "download with the systems default program", nullptr},
        {"ck_upgrade_auto_download_info", true, "upgrade", "automatically download upgrade informations", nullptr},
        {"ck_upgrade_auto_download_skpr", true, "upgrade", "automatically download skin previews", nullptr},
        {"ck_upgrade_auto_if_connected", true, "upgrade",
         "automatically download only when there is an internet connection", nullptr},
        {"ck_fr_be_upg_saveinfo", true, "upgrade", "store upgrade informations", nullptr},
        {"ck_upgrade_skin_download_simp", true, "upgrade", "download skins in simple mode", nullptr},
        {"ck_upgrade_check_for_new", true, "upgrade", "automatic version check at startup", nullptr},
        {"ck_upgrade_cfn_if_connected", true, "upgrade",
         "automatic version check only when there is an internet connection", nullptr},
        {"cb_upgrade_cfn_period", 4, "upgrade", "automatic version checks period", "4"},
        {"ck_upgrade_server_proxyuse", true, "server", "use proxy", nullptr},
        {"ed_upgrade_server_http_proxyhost", QString("proxy.example.org"), "server", "httt proxy server",
         "proxy.example.org"},
        {"ed_upgrade_server_http_proxyport", QString("3128"), "server", "httt proxy port", "3128"},
        {"ed_upgrade_server_http_proxyname", QString("me"), "server", "httt proxy user name", "me"},
        {"ed_upgrade_server_http_proxycode", QString("s3cret"), "server", "httt proxy user password", "s3cret"},
        {"cb_fr_sk_rating1", 1, "upgrade skins", "skin rating lower value", "2"},
        {"cb_fr_sk_categories", 0, "upgrade skins", "skin category", "0"},
        {"ck_op_option_def_all", true, "options window", "defaults all button enabled", nullptr},
        {"ck_op_option_def_here", true, "options window", "defaults here button enabled", nullptr},
        {"ck_op_save_last_option", true, "options window", "save last viewed option", nullptr},
    };
    Options o;
    o.c.options.skin_category = "5";
    o.c.options.version_check_period = 2;
    Toption w(o.c, o.dialogs);
    open(w);
    // A grade or category changed filters the catalogue, which holds nothing yet.
    o.dialogs.expect_message("no further skins available", MessageAnswer::ok)
        .expect_message("no further skins available", MessageAnswer::ok);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.control);
        QWidget* control = w.findChild<QWidget*>(r.control);
        ASSERT_NE(control, nullptr);
        if (auto* box = qobject_cast<QCheckBox*>(control))
            box->setChecked(!box->isChecked());
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            combo->setCurrentIndex(std::get<int>(r.change));
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(std::get<QString>(r.change));
    }
    std::vector<std::string> before;
    for (const Row& r : rows)
        before.push_back(o.option(r.section, r.key));
    w.findChild<QPushButton*>("btc_ok")->click();
    EXPECT_TRUE(w.outcome().accepted);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        if (r.expected)
            EXPECT_EQ(o.option(r.section, r.key), r.expected) << r.control;
        else
            EXPECT_NE(o.option(r.section, r.key), before[i]) << r.control;
    }
    // The saving folder: the radio buttons.
    Toption again(o.c, o.dialogs);
    const bool last = o.c.options.save_to_last_folder;
    again.findChild<QRadioButton*>(last ? "rb_be_save_path_fix" : "rb_be_save_path_last")->setChecked(true);
    again.btc_okClick();
    EXPECT_NE(o.c.options.save_to_last_folder, last);
}

TEST(Toption, DefaultsFillTheControlsButOnlyApplyOrOkWrite) {
    Options o;
    o.c.options.smtp_server = "mail.example.org";
    o.c.options.autosave_after = 25;
    o.c.options.exit_effect = false;
    o.c.options.main_server_only = false;
    const std::string before = options_ini_text(o.c.options);
    {
        Toption w(o.c, o.dialogs);
        open(w);
        w.btc_default_allClick();
        EXPECT_EQ(w.findChild<QLineEdit*>("ed_be_int_smtp_server")->text(), "");
        EXPECT_TRUE(w.findChild<QCheckBox*>("ck_de_be_effectonexit")->isChecked());
        w.findChild<QPushButton*>("btc_cancel")->click();
        EXPECT_FALSE(w.outcome().accepted);
    }
    EXPECT_EQ(options_ini_text(o.c.options), before);

    // "Defaults here" refills only the panel shown.
    Toption w(o.c, o.dialogs);
    open(w);
    w.u_option_tv_option_show(2);
    w.btc_default_hereClick();
    EXPECT_EQ(w.findChild<QLineEdit*>("ed_be_int_smtp_server")->text(), "");
    EXPECT_EQ(w.findChild<QComboBox*>("cb_be_db_saveafter")->currentText(), "25");
    w.btc_applyClick();
    EXPECT_EQ(o.c.options.smtp_server, "");
    EXPECT_EQ(o.c.options.autosave_after, 25);
}

// Settings the boxes do not list survive OK and Apply, even when their panels were never shown:
// the user's own server (matched to the list ignoring case) and an autosave count set in tkv.ini.
TEST(Toption, ValuesTheBoxesDoNotListAreKept) {
    Options o;
    o.c.server_list = {"http://a.example/", "http://b.example/"};
    o.c.options.main_server_only = false;
    o.c.options.server = "http://127.0.0.1:8000/";
    o.c.options.autosave_after = 7;
    Toption w(o.c, o.dialogs);
    open(w);
    auto* servers = w.findChild<QComboBox*>("cb_up_def_servers");
    auto* after = w.findChild<QComboBox*>("cb_be_db_saveafter");
    EXPECT_EQ(servers->placeholderText(), "http://127.0.0.1:8000/");
    EXPECT_EQ(after->placeholderText(), "7");
    QTest::mouseClick(w.findChild<QPushButton*>("btc_apply"), Qt::LeftButton);
    EXPECT_EQ(o.c.options.server, "http://127.0.0.1:8000/");
    EXPECT_EQ(o.c.options.autosave_after, 7);

    w.u_option_tv_option_show(3);
    after->setCurrentIndex(5); // "10"
    QTest::mouseClick(w.findChild<QPushButton*>("btc_ok"), Qt::LeftButton);
    EXPECT_EQ(o.c.options.server, "http://127.0.0.1:8000/");
    EXPECT_EQ(o.c.options.autosave_after, 10);

    o.c.options.server = "HTTP://B.EXAMPLE/";
    Toption again(o.c, o.dialogs);
    open(again);
    EXPECT_EQ(again.findChild<QComboBox*>("cb_up_def_servers")->currentText(), "http://b.example/");
}

// The folders' defaults are the user's download and documents folders, never a Windows drive.
TEST(Toption, DefaultsGiveTheUsersDownloadAndDocumentsFolders) {
    test::TempDir dir;
    test::ScopedEnv home("HOME", dir.path("Me"));
    test::ScopedEnv config("XDG_CONFIG_HOME", dir.path("config"));
    dir.write("config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n");
    const QString downloads = QString::fromStdString(dir.path("Me/Downloads/"));
    const QString documents = QString::fromStdString(dir.path("Me/Documents/"));
    Options o;
    o.c.options.download_folder = "/srv/In/";
    o.c.options.save_folder = "/srv/Out/";
    Toption w(o.c, o.dialogs);
    open(w);
    auto* download = w.findChild<QLineEdit*>("ed_settings_filedownload_directory");
    auto* save = w.findChild<QLineEdit*>("ed_be_save_path");
    const auto click = [&](const char* button) { QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton); };
    EXPECT_EQ(download->text(), "/srv/In/");
    w.u_option_tv_option_show(1);
    click("btc_default_here");
    EXPECT_EQ(download->text(), downloads);
    EXPECT_EQ(save->text(), "/srv/Out/");
    w.u_option_tv_option_show(5);
    click("btc_default_here");
    EXPECT_EQ(save->text(), documents);

    download->setText("/srv/In/");
    save->setText("/srv/Out/");
    click("btc_default_all");
    EXPECT_EQ(download->text(), downloads);
    EXPECT_EQ(save->text(), documents);
    click("btc_ok");
    EXPECT_EQ(o.c.options.download_folder, dir.path("Me/Downloads/"));
    EXPECT_EQ(o.c.options.save_folder, dir.path("Me/Documents/"));
}

TEST(Toption, DefaultsHereIsAlwaysOfferedOnTheProgramAndDatabasePanels) {
    Options o;
    o.c.options.defaults_here_enabled = false;
    o.c.options.defaults_all_enabled = false;
    Toption w(o.c, o.dialogs);
    open(w);
    auto* here = w.findChild<QPushButton*>("btc_default_here");
    EXPECT_FALSE(w.findChild<QPushButton*>("btc_default_all")->isEnabled());
    for (int n = 0; n < Toption::panel_count; ++n) {
        w.u_option_tv_option_show(n);
        EXPECT_EQ(here->isEnabled(), n == 12 || n == 13) << n;
    }
    // Apply takes the new choice at once.
    w.findChild<QCheckBox*>("ck_op_option_def_here")->setChecked(true);
    w.findChild<QCheckBox*>("ck_op_option_def_all")->setChecked(true);
    w.btc_applyClick();
    EXPECT_TRUE(here->isEnabled());
    EXPECT_TRUE(w.findChild<QPushButton*>("btc_default_all")->isEnabled());
}

TEST(Toption, ChangingTheCaseRuleRebuildsTheListEvenAfterApplyThenCancel) {
    for (const bool ok : {true, false}) {
        Options o;
        Toption w(o.c, o.dialogs);
        open(w);
        auto* equal = w.findChild<QCheckBox*>("ck_be_db_charactersequal");
        equal->setChecked(!equal->isChecked());
        if (ok) {
            w.btc_okClick();
        } else {
            w.btc_applyClick();
            w.findChild<QPushButton*>("btc_cancel")->click();
        }
        EXPECT_EQ(w.outcome().accepted, ok);
        EXPECT_TRUE(w.outcome().list_rebuild_needed);
        EXPECT_EQ(o.c.options_left_without_ok, !ok);
    }
    Options o;
    Toption w(o.c, o.dialogs);
    open(w);
    w.btc_okClick();
    EXPECT_FALSE(w.outcome().list_rebuild_needed);
}

// A skin chosen on the skins panel shows at once on both windows; Apply makes it the one to go
// back to, so Cancel afterwards keeps it, while a later preview is taken back.
TEST(Toption, SkinPreviewOnBothWindowsAndWhatCancelKeeps) {
    Options o;
    std::filesystem::copy(TKV_TEST_DATA "/skins", o.home.path("skins"), std::filesystem::copy_options::recursive);
    o.c.skins.searched = false;
    o.c.options.use_skin = true;
    o.c.options.skin_name = "ocean";
    o.c.options.save_last_option = true;
    o.c.options.last_option = Toption::skins_panel;
    o.c.skin_before_options = o.c.skin_current;
    QWidget main;
    main.resize(538, 351);
    main.show();
    int main_shown = 0;
    Toption w(o.c, o.dialogs, &main, {{}, [&] { ++main_shown; }, {}});
    open(w);
    EXPECT_EQ(main_shown, 0) << "filling the controls previews nothing";
    auto* list = w.findChild<QListView*>("ls_be_sk_list");
    const auto choose = [&](const char* folder) {
        for (int row = 0; row < list->model()->rowCount(); ++row)
            if (o.c.skins.skins[static_cast<std::size_t>(row)].folder == folder)
                list->setCurrentIndex(list->model()->index(row, 0));
    };
    choose("retro");
    EXPECT_EQ(main_shown, 1);
    EXPECT_EQ(o.c.skin_current.folder, "retro");
    EXPECT_TRUE(o.c.skin_previewed);
    w.btc_applyClick();
    EXPECT_EQ(o.c.options.skin_name, "retro");
    EXPECT_EQ(o.c.skin_before_options.folder, "retro");
    EXPECT_FALSE(o.c.skin_previewed);
    choose("ocean");
    EXPECT_EQ(main_shown, 2);
    w.findChild<QPushButton*>("btc_cancel")->click();
    EXPECT_FALSE(w.outcome().accepted);
    // The main window goes back to skin_before_options when it is left without OK.
    EXPECT_EQ(o.c.skin_before_options.folder, "retro");
    EXPECT_EQ(o.c.skin_name_before_options, "retro");
}

TEST(Toption, ClosingRemovesEmptySkinFolders) {
    Options o;
    std::filesystem::create_directories(o.home.path("skins/_preview"));
    o.home.write("skins/kept/skin.ini", "[Skin Informations]");
    Toption w(o.c, o.dialogs);
    open(w);
    w.findChild<QPushButton*>("btc_cancel")->click();
    EXPECT_FALSE(std::filesystem::exists(o.home.path("skins/_preview")));
    EXPECT_TRUE(std::filesystem::exists(o.home.path("skins/kept")));
}

TEST(Toption, ScreensOfEveryPanel) {
    Options o;
    Toption w(o.c, o.dialogs);
    open(w);
    for (int n = 0; n < Toption::panel_count; ++n) {
        w.u_option_tv_option_show(n);
        const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
        test::save_screen(w, ("Toption-" + number).c_str());
    }
}

} // namespace
} // namespace tkv
