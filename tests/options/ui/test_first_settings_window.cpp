// The first-run settings window in both of its modes, driven through its named controls.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/program_folder.h"
#include "appearance/skin_file.h"
#include "options/ui/first_settings_window.h"
#include "support/screens.h"

namespace tkv {
namespace {

// The edits and the option each one edits.
struct EditedText {
    const char* edit;
    std::string OPTIONS_TYPE::*option;
};
const std::vector<EditedText> edited_texts{
    {"ed_email_server", &OPTIONS_TYPE::smtp_server},    {"ed_email_port", &OPTIONS_TYPE::smtp_port},
    {"ed_email_name", &OPTIONS_TYPE::user_name},        {"ed_email_address", &OPTIONS_TYPE::user_email},
    {"ed_http_proxyhost", &OPTIONS_TYPE::proxy_server}, {"ed_http_proxyport", &OPTIONS_TYPE::proxy_port},
    {"ed_http_proxyname", &OPTIONS_TYPE::proxy_user},   {"ed_http_proxycode", &OPTIONS_TYPE::proxy_password},
};
const std::vector<const char*> mail_controls{"lb_email_server",  "ed_email_server", "lb_email_port",
                                             "ed_email_port",    "lb_email_name",   "ed_email_name",
                                             "lb_email_address", "ed_email_address"};
const std::vector<const char*> proxy_controls{"lb_http_proxyhost", "ed_http_proxyhost", "lb_http_proxyport",
                                              "ed_http_proxyport", "lb_http_proxyname", "ed_http_proxyname",
                                              "lb_http_proxycode", "ed_http_proxycode"};

struct FirstSettings {
    test::ProgramFolder f;
    std::unique_ptr<Toption_first> w;

    explicit FirstSettings(bool first_run_mode) {
        f.c.variables.first_settings_mode = first_run_mode;
        f.c.first_run = first_run_mode;
    }
    Toption_first& open() {
        w = std::make_unique<Toption_first>(f.c);
        w->show();
        return *w;
    }
    template <class T = QWidget> T* get(const char* name) const {
        T* c = w->findChild<T*>(name);
        if (!c) ADD_FAILURE() << name << " is missing";
        return c;
    }
    void click(const char* button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    bool all_visible(const std::vector<const char*>& names, bool visible) const {
        for (const char* name : names)
            if (get(name)->isVisible() != visible) {
                ADD_FAILURE() << name << (visible ? " is hidden" : " shows");
                return false;
            }
        return true;
    }
};

TEST(Toption_first, TheFirstRunAsksForTheServersOnlyAndCannotBeCancelled) {
    FirstSettings s(true);
    ASSERT_TRUE(s.f.c.options.internal_mail);
    Toption_first& w = s.open();
    EXPECT_EQ(w.windowTitle(), "Trickvault - Important options");
    EXPECT_FALSE(s.get("ck_email_internal")->isVisible());
    EXPECT_TRUE(s.all_visible(mail_controls, true)) << "the default asks for the mail server";
    EXPECT_EQ(s.get<QLineEdit>("ed_email_port")->text(), "25");
    EXPECT_FALSE(s.get("btc_cancel")->isEnabled());
    EXPECT_TRUE(s.get("btc_ok")->isEnabled());
}

TEST(Toption_first, NormalModeMakesRoomForTheMailCheckBox) {
    FirstSettings first(true), normal(false);
    first.open();
    normal.open();
    constexpr int row = 24;
    EXPECT_EQ(normal.w->height() - first.w->height(), row);
    EXPECT_EQ(normal.get("pa_email")->height() - first.get("pa_email")->height(), row);
    for (const char* name : {"btc_ok", "btc_help", "btc_cancel", "pa_proxy", "lb_email_server", "ed_email_server",
                             "lb_email_port", "ed_email_port", "lb_email_name", "ed_email_name",
                             "lb_email_address", "ed_email_address"})
        EXPECT_EQ(normal.get(name)->y() - first.get(name)->y(), row) << name;
    EXPECT_EQ(normal.get("lb_email")->y(), first.get("lb_email")->y());
    EXPECT_EQ(normal.get("ck_email_internal")->y(), first.get("ed_email_server")->y())
        << "the check box sits where the first mail row was";
    EXPECT_TRUE(normal.get("ck_email_internal")->isVisible());
    EXPECT_TRUE(normal.get("btc_cancel")->isEnabled());
    // The box overlaps nothing on its panel: no label, edit or edit frame.
    const QRect box = normal.get("ck_email_internal")->geometry();
    for (const QWidget* other : normal.get("pa_email")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other->objectName() != "ck_email_internal" && other->isVisible()) {
            EXPECT_FALSE(box.intersects(other->geometry())) << other->objectName().toStdString();
        }
}

TEST(Toption_first, TheMailFieldsFollowTheMailCheckBoxAndOkStoresIt) {
    FirstSettings s(false);
    s.open();
    auto* box = s.get<QCheckBox>("ck_email_internal");
    ASSERT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    ASSERT_FALSE(box->isChecked());
    EXPECT_TRUE(s.all_visible(mail_controls, false));
    box->setChecked(true);
    EXPECT_TRUE(s.all_visible(mail_controls, true)) << "a change by the program counts too";
    box->setChecked(false);
    s.click("btc_ok");
    EXPECT_FALSE(s.f.c.options.internal_mail);
    EXPECT_FALSE(s.w->isVisible());
}

TEST(Toption_first, TheProxyFieldsFollowTheProxyCheckBox) {
    for (const bool use_proxy : {false, true}) {
        SCOPED_TRACE(use_proxy);
        FirstSettings s(true);
        s.f.c.options.use_proxy = use_proxy;
        s.open();
        auto* box = s.get<QCheckBox>("ck_proxy_use");
        EXPECT_EQ(box->isChecked(), use_proxy);
        EXPECT_TRUE(s.all_visible(proxy_controls, use_proxy));
        box->click();
        EXPECT_TRUE(s.all_visible(proxy_controls, !use_proxy));
    }
}

TEST(Toption_first, OkStoresEveryControlExactlyAsTyped) {
    FirstSettings s(false);
    OPTIONS_TYPE& o = s.f.c.options;
    o.smtp_server = "mail.example.org";
    o.user_name = "Zoë Quill";
    o.proxy_password = "old";
    s.open();
    EXPECT_EQ(s.get<QLineEdit>("ed_email_server")->text(), "mail.example.org");
    EXPECT_EQ(s.get<QLineEdit>("ed_email_name")->text(), "Zoë Quill");
    EXPECT_EQ(s.get<QLineEdit>("ed_http_proxycode")->text(), "old");
    EXPECT_EQ(s.get<QLineEdit>("ed_http_proxycode")->echoMode(), QLineEdit::Normal);

    // Blanks, non-ASCII letters and texts that are no numbers stay as they are; an empty proxy
    // host is stored although the proxy is switched on.
    const std::vector<std::string> typed{" smtp.example.net ", "2525 ",     "Jörg Müller",
                                         "jm@example.net",     "",          "port",
                                         "proxy user",         "pa ss:wörd"};
    for (std::size_t i = 0; i < edited_texts.size(); ++i) {
        s.get<QLineEdit>(edited_texts[i].edit)->setText(QString::fromStdString(typed[i]));
    }
    s.get<QCheckBox>("ck_proxy_use")->setChecked(true);
    s.get<QCheckBox>("ck_email_internal")->setChecked(true);
    s.click("btc_ok");
    for (std::size_t i = 0; i < edited_texts.size(); ++i)
        EXPECT_EQ(o.*edited_texts[i].option, typed[i]) << edited_texts[i].edit;
    EXPECT_TRUE(o.use_proxy);
    EXPECT_TRUE(o.internal_mail);
}

TEST(Toption_first, CancelAndTheCloseBoxChangeNothing) {
    for (const bool first_run_mode : {false, true}) {
        SCOPED_TRACE(first_run_mode);
        FirstSettings s(first_run_mode);
        s.f.c.options.smtp_server = "mail.example.org";
        s.open();
        for (const EditedText& e : edited_texts)
            s.get<QLineEdit>(e.edit)->setText("changed");
        s.get<QCheckBox>("ck_proxy_use")->setChecked(true);
        s.get<QCheckBox>("ck_email_internal")->setChecked(false);
        if (first_run_mode)
            s.w->close();
        else
            s.click("btc_cancel");
        EXPECT_FALSE(s.w->isVisible());
        const OPTIONS_TYPE& o = s.f.c.options;
        const OPTIONS_TYPE& d = s.f.c.option_defaults;
        for (const EditedText& e : edited_texts)
            EXPECT_EQ(o.*e.option, e.option == &OPTIONS_TYPE::smtp_server ? "mail.example.org" : d.*e.option)
                << e.edit;
        EXPECT_FALSE(o.use_proxy);
        EXPECT_TRUE(o.internal_mail);
    }
}

TEST(Toption_first, HelpShowsItsOwnTopicInBothModes) {
    struct Case {
        bool first_run, first_run_mode;
        const char* topic;
    };
    for (const Case& k : {Case{true, true, "topic-10503"}, Case{false, false, "topic-10503"},
                          Case{false, true, "topic-10503"}}) {
        SCOPED_TRACE(testing::Message() << k.first_run << k.first_run_mode);
        FirstSettings s(k.first_run_mode);
        s.f.c.first_run = k.first_run;
        s.f.c.language.help_path = s.f.dir.write(
            "languages/english.html", "<html><body><a name=\"topic-10500\">First run</a><p>x</p><a "
                                      "name=\"topic-10503\">Mail</a></body></html>");
        s.open();
        for (const bool by_button : {false, true}) {
            if (by_button)
                s.click("btc_help");
            else
                QTest::keyClick(s.get("ed_email_server"), Qt::Key_F1);
            auto* browser = s.w->findChild<QTextBrowser*>("help_browser");
            ASSERT_NE(browser, nullptr);
            EXPECT_EQ(browser->source().fragment(), k.topic);
            browser->setSource(QUrl());
        }
    }
}

// What the user sees of the skin: a disabled button keeps the button colour, and the frames of
// fields that were hidden when the skin was applied take the fields' colour once they show.
TEST(Toption_first, DisabledButtonsAndFieldsShownLaterKeepTheSkin) {
    const QColor button(0xC0, 0x40, 0x40), button_text(0x10, 0x10, 0x80), field(0x20, 0x60, 0x30);
    const auto skinned = [&](FirstSettings& s) {
        SKINS_TYPE skin = skins_setdefault({});
        skin.window_other.buttons.color = skin_rgb(0xC0, 0x40, 0x40);
        skin.window_other.buttons.font_color = skin_rgb(0x10, 0x10, 0x80);
        skin.window_other.fields.color = skin_rgb(0x20, 0x60, 0x30);
        s.f.c.skin_current = skin;
    };
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <=
               40;
    };

    FirstSettings first(true);
    skinned(first);
    first.open();
    QPushButton* cancel = first.get<QPushButton>("btc_cancel");
    ASSERT_FALSE(cancel->isEnabled());
    EXPECT_EQ(cancel->palette().color(QPalette::Disabled, QPalette::Button), button);
    const QColor text = cancel->palette().color(QPalette::Disabled, QPalette::ButtonText);
    EXPECT_TRUE(near(text, QColor(0x68, 0x28, 0x60)))
        << text.name().toStdString() << ": faded into the button";
    // Drawn with the same face as the enabled Help beside it.
    const QImage disabled = cancel->grab().toImage(), enabled = first.get("btc_help")->grab().toImage();
    const QPoint face(4, disabled.height() / 2);
    EXPECT_EQ(disabled.pixelColor(face), enabled.pixelColor(face))
        << disabled.pixelColor(face).name().toStdString();

    FirstSettings normal(false);
    skinned(normal);
    normal.f.c.options.internal_mail = false;
    normal.f.c.options.use_proxy = true;
    normal.open();
    ASSERT_FALSE(normal.get("ed_email_server")->isVisible());
    QTest::mouseClick(normal.get<QCheckBox>("ck_email_internal"), Qt::LeftButton, {}, QPoint(6, 6));
    ASSERT_TRUE(normal.get("ed_email_server")->isVisible());
    // A frame around a field that showed from the start is the measure.
    const QImage shown_later = normal.get("tkvf_ed_email_server")->grab().toImage();
    const QImage shown_first = normal.get("tkvf_ed_http_proxyhost")->grab().toImage();
    for (const QPoint at : {QPoint(1, 6), QPoint(0, 6), QPoint(2, 6), QPoint(6, 1)})
        EXPECT_EQ(shown_later.pixelColor(at), shown_first.pixelColor(at)) << at.x() << "," << at.y();
    EXPECT_EQ(normal.get("ed_email_server")->palette().color(QPalette::Base), field);
}

TEST(Toption_first, Screens) {
    for (const auto& [first_run_mode, name] :
         {std::pair{true, "Toption_first"}, std::pair{false, "Toption_first-normal"}}) {
        FirstSettings s(first_run_mode);
        s.f.c.options.custom_title_bar_active = true; // so the picture shows the title bar too
        s.f.c.options.use_proxy = true;
        s.f.c.options.smtp_server = "mail.example.org";
        s.f.c.skin_current = skins_setdefault({skin_rgb(10, 36, 106), skin_rgb(128, 128, 128),
                                               skin_rgb(166, 202, 240), skin_rgb(192, 192, 192),
                                               skin_rgb(255, 255, 255), skin_rgb(212, 208, 200), true});
        test::save_screen(s.open(), name);
    }
}

} // namespace
} // namespace tkv
