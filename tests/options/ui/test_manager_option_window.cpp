// The profile manager's settings window, driven through its named controls.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/program_folder.h"
#include "appearance/skin_file.h"
#include "options/ui/manager_option_window.h"
#include "shell/publisher.h"
#include "support/modal.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"

namespace tkv {
namespace {

const std::vector<std::string> three_servers{"http://a.example/", "http://b.example/", "http://c.example/"};

struct ManagerSettings {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<Tmanager_option> w;

    ManagerSettings() {
        f.c.server_list = three_servers;
        f.c.options.server = "http://b.example/";
        f.c.options.main_server_only = false;
    }
    Tmanager_option& open() {
        w = std::make_unique<Tmanager_option>(f.c, dialogs);
        w->show();
        return *w;
    }
    template <class T = QWidget> T* get(const char* name) const {
        T* c = w->findChild<T*>(name);
        if (!c) ADD_FAILURE() << name << " is missing";
        return c;
    }
    QCheckBox* box(const char* name) const { return get<QCheckBox>(name); }
    QComboBox* combo(const char* name) const { return get<QComboBox>(name); }
    QLineEdit* edit(const char* name) const { return get<QLineEdit>(name); }
    void click(const char* button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    QStringList servers_shown() const {
        QStringList items;
        for (int i = 0; i < combo("cb_servers")->count(); ++i)
            items << combo("cb_servers")->itemText(i);
        return items;
    }
};

const char* const proxy_edits[] = {"ed_upgrade_server_http_proxyhost", "ed_upgrade_server_http_proxyport",
                                   "ed_upgrade_server_http_proxyname", "ed_upgrade_server_http_proxycode"};

TEST(Tmanager_option, ShowsTheOptions) {
    ManagerSettings s;
    OPTIONS_TYPE& o = s.f.c.options;
    o.last_profile_autorun_time = 30;
    o.manager_hidden_after_exit = false;
    o.use_proxy = true;
    o.proxy_server = "proxy.example";
    o.proxy_port = "3128";
    o.proxy_user = "tkv";
    o.proxy_password = "s3cret";
    Tmanager_option& w = s.open();
    EXPECT_EQ(w.windowTitle(), "Trickvault - Set defaults");
    EXPECT_TRUE(s.box("ck_autorun_profile")->isChecked());
    auto* delay = s.combo("cb_autorun_delay");
    ASSERT_EQ(delay->count(), 91);
    EXPECT_EQ(delay->itemText(0), "0");
    EXPECT_EQ(delay->itemText(90), "90");
    EXPECT_EQ(delay->currentText(), "30");
    EXPECT_FALSE(s.box("ck_exit_to_os")->isChecked());
    EXPECT_FALSE(s.box("ck_usemasterserver")->isChecked());
    EXPECT_EQ(s.servers_shown(), QStringList({"http://a.example/", "http://b.example/", "http://c.example/"}));
    EXPECT_EQ(s.combo("cb_servers")->currentText(), "http://b.example/");
    EXPECT_TRUE(s.box("ck_upgrade_server_proxyuse")->isChecked());
    const QStringList proxy{"proxy.example", "3128", "tkv", "s3cret"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.edit(proxy_edits[i])->text(), proxy[i]);
    EXPECT_EQ(s.edit("ed_upgrade_server_http_proxycode")->echoMode(), QLineEdit::Normal);
}

// A server set by hand that the list lacks is shown and kept; names are compared ignoring case.
TEST(Tmanager_option, AServerThatIsNotInTheListIsShownAndKept) {
    struct Case {
        const char* server;
        int selected;       // -1: none, the server is shown as it is
        const char* stored; // by Ok without a choice
    };
    for (const Case& k :
         {Case{"http://127.0.0.1:8000/", -1, "http://127.0.0.1:8000/"},
          Case{"http://B.example/", 1, "http://b.example/"}, Case{"", 0, "http://a.example/"}}) {
        SCOPED_TRACE(k.server);
        ManagerSettings s;
        s.f.c.options.server = k.server;
        s.open();
        QComboBox* servers = s.combo("cb_servers");
        EXPECT_EQ(servers->currentIndex(), k.selected);
        if (k.selected < 0) {
            EXPECT_EQ(servers->placeholderText(), k.server);
        }
        s.click("btc_ok");
        EXPECT_EQ(s.f.c.options.server, k.stored);
    }
    // Until the user picks another.
    ManagerSettings s;
    s.f.c.options.server = "http://127.0.0.1:8000/";
    s.open();
    QComboBox* servers = s.combo("cb_servers");
    servers->setFocus();
    QTest::keyClick(servers, Qt::Key_End);
    s.click("btc_ok");
    EXPECT_EQ(s.f.c.options.server, "http://c.example/");
}

TEST(Tmanager_option, EachBlockFollowsItsCheckBox) {
    struct Block {
        const char* box;
        bool shown_when_checked;
        std::vector<const char*> controls;
    };
    const std::vector<Block> blocks{
        {"ck_autorun_profile", true, {"lb_autorun_delay", "cb_autorun_delay"}},
        {"ck_usemasterserver", false, {"lb_use_this_server", "cb_servers", "btc_refresh", "btc_find_fastest"}},
        {"ck_upgrade_server_proxyuse",
         true,
         {"lb_upgrade_server_http_proxyhost", "ed_upgrade_server_http_proxyhost", "lb_upgrade_server_http_proxyport",
          "ed_upgrade_server_http_proxyport", "lb_upgrade_server_http_proxyname", "ed_upgrade_server_http_proxyname",
          "lb_upgrade_server_http_proxycode", "ed_upgrade_server_http_proxycode"}},
    };
    for (const bool checked_at_start : {false, true}) {
        ManagerSettings s;
        s.f.c.options.last_profile_autorun = checked_at_start;
        s.f.c.options.main_server_only = checked_at_start;
        s.f.c.options.use_proxy = checked_at_start;
        s.open();
        for (const Block& b : blocks) {
            SCOPED_TRACE(b.box);
            const auto expect_shown = [&](bool checked) {
                for (const char* name : b.controls)
                    EXPECT_EQ(s.get(name)->isVisible(), checked == b.shown_when_checked) << name;
            };
            QCheckBox* box = s.box(b.box);
            ASSERT_EQ(box->isChecked(), checked_at_start);
            expect_shown(checked_at_start);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
            expect_shown(!checked_at_start);
            box->setChecked(checked_at_start);
            expect_shown(checked_at_start);
        }
    }
}

TEST(Tmanager_option, DefaultsResetEverythingButTheServerChoice) {
    ManagerSettings s;
    OPTIONS_TYPE& o = s.f.c.options;
    o.last_profile_autorun = false;
    o.last_profile_autorun_time = 5;
    o.manager_hidden_after_exit = false;
    o.use_proxy = true;
    o.proxy_server = "proxy.example";
    o.proxy_port = "3128";
    o.proxy_user = "tkv";
    o.proxy_password = "s3cret";
    const OPTIONS_TYPE before = o;
    s.open();
    s.combo("cb_servers")->setCurrentIndex(2);
    s.click("btc_defaults");

    const OPTIONS_TYPE& d = s.f.c.option_defaults;
    EXPECT_EQ(s.box("ck_autorun_profile")->isChecked(), d.last_profile_autorun);
    EXPECT_EQ(s.combo("cb_autorun_delay")->currentText(), QString::number(d.last_profile_autorun_time));
    EXPECT_EQ(s.box("ck_exit_to_os")->isChecked(), d.manager_hidden_after_exit);
    EXPECT_EQ(s.box("ck_usemasterserver")->isChecked(), d.main_server_only);
    EXPECT_FALSE(s.box("ck_upgrade_server_proxyuse")->isChecked());
    EXPECT_FALSE(s.get("ed_upgrade_server_http_proxyhost")->isVisible());
    const QStringList proxy{"", "80", "", ""};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.edit(proxy_edits[i])->text(), proxy[i]);
    EXPECT_EQ(s.combo("cb_servers")->currentIndex(), 2);
    EXPECT_EQ(o.last_profile_autorun_time, before.last_profile_autorun_time) << "nothing is stored yet";
    EXPECT_EQ(o.proxy_server, before.proxy_server);
}

TEST(Tmanager_option, OkStoresTheControlsAndTheServerTheBoxAllows) {
    struct Case {
        bool main_server_only;
        int selected;
        std::string stored;
    };
    for (const Case& k : {Case{false, 2, "http://c.example/"}, Case{false, 0, "http://a.example/"},
                          Case{true, 2, std::string(main_server_address)}}) {
        SCOPED_TRACE(k.stored);
        ManagerSettings s;
        s.open();
        s.combo("cb_servers")->setCurrentIndex(k.selected);
        s.box("ck_usemasterserver")->setChecked(k.main_server_only);
        s.box("ck_autorun_profile")->setChecked(false);
        s.combo("cb_autorun_delay")->setCurrentIndex(45);
        s.box("ck_exit_to_os")->setChecked(false);
        s.box("ck_upgrade_server_proxyuse")->setChecked(true);
        const std::vector<std::string> typed{"", " 8080", "user name", "pass wörd"};
        for (int i = 0; i < 4; ++i)
            s.edit(proxy_edits[i])->setText(QString::fromStdString(typed[static_cast<std::size_t>(i)]));
        s.click("btc_ok");
        EXPECT_FALSE(s.w->isVisible());
        const OPTIONS_TYPE& o = s.f.c.options;
        EXPECT_EQ(o.server, k.stored);
        EXPECT_EQ(o.main_server_only, k.main_server_only);
        EXPECT_FALSE(o.last_profile_autorun);
        EXPECT_EQ(o.last_profile_autorun_time, 45);
        EXPECT_FALSE(o.manager_hidden_after_exit);
        EXPECT_TRUE(o.use_proxy);
        EXPECT_EQ(std::vector<std::string>({o.proxy_server, o.proxy_port, o.proxy_user, o.proxy_password}), typed);
    }
}

TEST(Tmanager_option, CancelKeepsTheOptions) {
    ManagerSettings s;
    const OPTIONS_TYPE before = s.f.c.options;
    s.open();
    s.combo("cb_servers")->setCurrentIndex(2);
    s.box("ck_usemasterserver")->setChecked(true);
    s.box("ck_autorun_profile")->setChecked(false);
    s.combo("cb_autorun_delay")->setCurrentIndex(45);
    s.box("ck_upgrade_server_proxyuse")->setChecked(true);
    s.edit("ed_upgrade_server_http_proxyhost")->setText("proxy.example");
    s.click("btc_cancel");
    EXPECT_FALSE(s.w->isVisible());
    const OPTIONS_TYPE& o = s.f.c.options;
    EXPECT_EQ(o.server, before.server);
    EXPECT_EQ(o.main_server_only, before.main_server_only);
    EXPECT_EQ(o.last_profile_autorun, before.last_profile_autorun);
    EXPECT_EQ(o.last_profile_autorun_time, before.last_profile_autorun_time);
    EXPECT_EQ(o.use_proxy, before.use_proxy);
    EXPECT_EQ(o.proxy_server, before.proxy_server);
}

TEST(Tmanager_option, ARefreshReplacesTheListAndSelectsTheServerItCameFrom) {
    ManagerSettings s;
    test::TempDir root;
    test::HttpPeer peer(root.folder());
    root.write("information/tkv_servers.tku",
               ";Trickvault\r\nhttp://x.example/\r\n" + peer.base() + "\r\nhttp://y.example/\r\n");
    s.f.c.server_list = {"http://a.example/", peer.base()};
    s.f.c.options.server = peer.base();
    s.open();
    s.dialogs.expect_message("Server list successfully updated!", MessageAnswer::ok);
    s.click("btc_refresh");
    EXPECT_TRUE(s.dialogs.all_answered());
    const QString base = QString::fromStdString(peer.base());
    EXPECT_EQ(s.servers_shown(), QStringList({"http://x.example/", base, "http://y.example/"}));
    EXPECT_EQ(s.combo("cb_servers")->currentText(), base);

    // Cancel keeps the new list but not a server chosen from it.
    s.combo("cb_servers")->setCurrentIndex(0);
    s.click("btc_cancel");
    EXPECT_EQ(s.f.c.server_list, std::vector<std::string>({"http://x.example/", peer.base(), "http://y.example/"}));
    EXPECT_EQ(s.f.c.options.server, peer.base());
}

TEST(Tmanager_option, TheFastestServerSearchSelectsTheServerChosenThere) {
    ManagerSettings s;
    s.f.c.server_list = {"http://127.0.0.1:8080/", "http://127.0.0.1:8081/", "http://127.0.0.1:8082/"};
    s.f.c.options.server = "http://127.0.0.1:8081/";
    s.open();

    // Closed while measuring: the selection stays.
    QWidget* opened_over = nullptr;
    test::when_modal_opens("Tservers_fastest", [&](QDialog* fastest) {
        opened_over = fastest->parentWidget();
        fastest->reject();
    });
    s.click("btc_find_fastest");
    EXPECT_EQ(opened_over, s.w.get());
    EXPECT_EQ(s.combo("cb_servers")->currentIndex(), 1);

    // The row of port 8082 chosen from the measured list, wherever its time puts it.
    test::when_modal_opens("Tservers_fastest", [](QDialog* fastest) {
        auto* list = fastest->findChild<QListView*>("ls_servers");
        auto* poll = new QTimer(fastest);
        QObject::connect(poll, &QTimer::timeout, [poll, fastest, list] {
            if (list->isHidden()) return;
            poll->stop();
            for (int row = 0; row < list->model()->rowCount(); ++row)
                if (list->model()->index(row, 0).data().toString().startsWith("127.0.0.1:8082 "))
                    list->setCurrentIndex(list->model()->index(row, 0));
            QTest::mouseClick(fastest->findChild<QPushButton*>("btc_select"), Qt::LeftButton);
        });
        poll->start(20);
        QTimer::singleShot(30000, fastest, [fastest] {
            ADD_FAILURE() << "the search did not finish";
            fastest->done(QDialog::Rejected);
        });
    });
    s.click("btc_find_fastest");
    EXPECT_EQ(s.combo("cb_servers")->currentText(), "http://127.0.0.1:8082/");
    EXPECT_EQ(s.f.c.options.server, "http://127.0.0.1:8081/") << "the choice counts only after Ok";
}

TEST(Tmanager_option, F1ShowsTheManagerSettingsTopic) {
    ManagerSettings s;
    s.f.c.language.help_path =
        s.f.dir.write("languages/english.html", "<html><body><a name=\"topic-10502\">Settings</a></body></html>");
    s.open();
    QTest::keyClick(s.combo("cb_servers"), Qt::Key_F1);
    auto* browser = s.w->findChild<QTextBrowser*>("help_browser");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "topic-10502");
}

TEST(Tmanager_option, Screen) {
    ManagerSettings s;
    s.f.c.options.custom_title_bar_active = true; // so the picture shows the title bar too
    s.f.c.options.use_proxy = true;
    s.f.c.skin_current =
        skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128), skin_rgb(166, 202, 240),
                          skin_rgb(192, 192, 192), skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
    test::save_screen(s.open(), "Tmanager_option");
}

} // namespace
} // namespace tkv
