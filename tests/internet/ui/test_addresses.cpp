// Opening web and mail addresses as the internet options say.

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

#include "context/program_context.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "support/url_recorder.h"
#include "internet/ui/addresses.h"

namespace tkv {
namespace {

struct AddressFolder {
    test::TempDir dir;
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    test::UrlRecorder desktop;
    AddressFolder() { context_initialize(c, dir.folder()); }
};

TEST(Addresses, WebAddressesGoToTheClipboardAndOrTheDesktop) {
    AddressFolder f;
    QApplication::clipboard()->clear();
    f.c.options.copy_url_on_click = true;
    f.c.options.open_url_on_click = false;
    open_web_address(f.c, "http://www.example.org/cheats");
    EXPECT_EQ(QApplication::clipboard()->text(), "http://www.example.org/cheats");
    EXPECT_TRUE(f.desktop.opened.isEmpty());

    f.c.options.open_url_on_click = true;
    open_web_address(f.c, "http://www.example.org/");
    ASSERT_EQ(f.desktop.opened.size(), 1);
    EXPECT_EQ(f.desktop.opened[0].toString(), "http://www.example.org/");
}

TEST(Addresses, MailAddressesGetTheirSchemeOnce) {
    EXPECT_EQ(mailto_address("info@example.org"), "mailto:info@example.org");
    EXPECT_EQ(mailto_address("MailTo:info@example.org"), "MailTo:info@example.org");

    AddressFolder f;
    f.c.options.internal_mail = false;
    f.c.options.copy_url_on_click = true;
    open_mail_address(f.c, f.dialogs, "info@example.org", "Info", {});
    EXPECT_EQ(QApplication::clipboard()->text(), "mailto:info@example.org");
    ASSERT_EQ(f.desktop.opened.size(), 1);
    EXPECT_EQ(f.desktop.opened[0].toString(), "mailto:info@example.org");
}

TEST(Addresses, TheProgramsOwnMailAsksForMissingSettingsFirst) {
    AddressFolder f;
    f.c.options.internal_mail = true;
    f.c.options.smtp_server.clear();
    int settings_shown = 0;
    std::vector<std::string> sent;
    MailWindows windows;
    windows.first_settings = [&] {
        ++settings_shown;
        f.c.options.smtp_server = "127.0.0.1";
        f.c.options.user_name = "Me";
        f.c.options.user_email = "me@example.org";
    };
    windows.send_mail = [&](const std::string& address, const std::string& name, QPoint) {
        sent.push_back(address + " / " + name);
    };

    f.dialogs.expect_message("", MessageAnswer::cancel);
    open_mail_address(f.c, f.dialogs, "info@example.org", "Info", {}, windows);
    EXPECT_EQ(settings_shown, 0);
    EXPECT_TRUE(sent.empty());

    f.dialogs.expect_message("", MessageAnswer::ok);
    open_mail_address(f.c, f.dialogs, "info@example.org", "Info", {}, windows);
    EXPECT_EQ(f.dialogs.messages.back().title, "Trickvault - Attention!");
    EXPECT_EQ(settings_shown, 1);
    EXPECT_EQ(sent, std::vector<std::string>{"info@example.org / Info"});

    // Complete settings: straight to the mail window.
    open_mail_address(f.c, f.dialogs, "mailto:cheats@example.org", "Cheats", {}, windows);
    EXPECT_EQ(sent.back(), "cheats@example.org / Cheats");
    EXPECT_TRUE(f.desktop.opened.isEmpty());
}

} // namespace
} // namespace tkv
