// The three mail senders end to end against a real SMTP server on 127.0.0.1.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "internet/mail_reading.h"
#include "internet/ui/mail_windows.h"
#include "platform/qt/desktop.h"
#include "shell/publisher.h"
#include "support/modal.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

struct Mailing {
    test::TempDir home;
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    GAMES2_TEMP_ARRAY_TYPE game;

    explicit Mailing(int smtp_port) {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.smtp_server = "127.0.0.1";
        c.options.smtp_port = std::to_string(smtp_port);
        c.options.user_name = "Ann Smith";
        c.options.user_email = "ann@example.org";
        c.profiles.profiles.push_back({"pc", "PC", "PC Games", "English", {}, {}, ""});
        c.profiles.profile_index = 0;
        c.db.games.resize(3);
        c.variables.user_dat_path = home.path("profiles/pc/user.dat");
        game.title = "Doom";
        game.names = "Doom";
        game.infos = {{"Codes", "IDDQD\r\n.god mode"}};
        game.files = {{"file://map.zip", "12", "Map", "Extra map"}, {"http://example.com/x.zip", "1", "X", ""}};
        home.write("profiles/pc/files/map.zip", "PK map bytes");
        home.write("information/trickvault.txt", "About Trickvault");
    }
};

QPushButton* button(QDialog* w, const char* name) {
    return w->findChild<QPushButton*>(name);
}

TEST(Tsendcheat, SendsTheGameWithItsFilesAndRemembersTheRecipient) {
    test::SmtpPeer peer;
    Mailing m(peer.port());
    m.home.write("information/emails.txt", "bob@example.net\r\na.b@example.net\r\n");
    m.dialogs.expect_message("E-mail successfully sent!", MessageAnswer::ok);
    test::when_modal_opens("Tsendcheat", [&](QDialog* w) {
        auto* recipient = w->findChild<QComboBox*>("cb_recipient");
        EXPECT_EQ(recipient->count(), 1) << "only plausible history lines are offered";
        EXPECT_EQ(w->findChild<QLineEdit*>("ed_subject")->text(), "Cheat: Doom");
        EXPECT_EQ(w->findChild<QLineEdit*>("ed_attach")->text(), "2 file(s) (0 KByte).");
        EXPECT_FALSE(button(w, "btc_send")->isEnabled());
        EXPECT_EQ(w->findChild<QLabel*>("lb_status")->text(), "Enter recipient's email address, subject and message!");
        recipient->setEditText("dan@example.com");
        EXPECT_TRUE(button(w, "btc_send")->isEnabled());
        test::save_screen(*w, "Tsendcheat");
        QTest::mouseClick(button(w, "btc_send"), Qt::LeftButton);
    });
    send_game_by_email(m.c, m.dialogs, m.game, screen_centre(), {});

    ASSERT_EQ(peer.count(), 1);
    const std::string mail = peer.message(1);
    EXPECT_TRUE(mail.starts_with("Reply-To: Ann Smith <ann@example.org>\r\nX-Mailer: Trickvault v3.50\r\n"
                                 "X-Priority: 3 (Normal)\r\nFrom: Ann Smith <ann@example.org>\r\n"
                                 "To: dan@example.com\r\nSubject: Cheat: Doom\r\nSender: Ann Smith <ann@example.org>\r\n"
                                 "Mime-Version: 1.0\r\nContent-Type: multipart/mixed;"))
        << mail;
    for (const char* part : {"Doom:\r\n=3D=3D=3D=3D=3D\r\n", "IDDQD\r\n.god mode\r\n", "Regards,\r\nAnn Smith\r\nmailto:ann@example.org",
                             "filename=\"trickvault.txt\"", "filename=\"map.zip\"", "UEsgbWFwIGJ5dGVz\r\n"})
        EXPECT_NE(mail.find(part), std::string::npos) << part;
    EXPECT_EQ(mail.find("filename=\"x.zip\""), std::string::npos) << "files on the web are not attached";
    EXPECT_NE(peer.envelope(1).find(R"("rcpt_tos": ["dan@example.com"])"), std::string::npos);
    EXPECT_EQ(m.home.read("information/emails.txt"), "bob@example.net\r\ndan@example.com");
}

TEST(Tsendcheat, ARefusedRecipientKeepsTheWindowOpenForAnotherTry) {
    test::SmtpPeer peer({"refuse-rcpt"});
    Mailing m(peer.port());
    m.dialogs.expect_message("Receiver's e-mail address is not correct!", MessageAnswer::ok);
    bool closed_by_user = false;
    test::when_modal_opens("Tsendcheat", [&](QDialog* w) {
        w->findChild<QComboBox*>("cb_recipient")->setEditText("nobody@example.com");
        QTest::mouseClick(button(w, "btc_send"), Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(button(w, "btc_cancel")->text(), "&Close");
        EXPECT_TRUE(button(w, "btc_send")->isEnabled());
        closed_by_user = true;
        QTest::mouseClick(button(w, "btc_cancel"), Qt::LeftButton);
    });
    send_game_by_email(m.c, m.dialogs, m.game, screen_centre(), {});
    EXPECT_TRUE(closed_by_user);
    EXPECT_EQ(peer.count(), 0);
    EXPECT_FALSE(std::filesystem::exists(m.home.path("information/emails.txt")));
}

TEST(Tsendcheat, CancelDuringTheMessageFailsThatStep) {
    test::SmtpPeer peer({"slow-data"});
    Mailing m(peer.port());
    m.dialogs.expect_message("Error sending message text. Unable to send e-mail!", MessageAnswer::ok);
    QTimer watch;
    test::when_modal_opens("Tsendcheat", [&](QDialog* w) {
        auto* status = w->findChild<QLabel*>("lb_status");
        watch.callOnTimeout([&, w, status] {
            if (status->text() != "Sending message text...") return;
            watch.stop();
            EXPECT_FALSE(w->close()) << "closing is refused while sending";
            QTest::mouseClick(button(w, "btc_cancel"), Qt::LeftButton);
        });
        watch.start(20);
        w->findChild<QComboBox*>("cb_recipient")->setEditText("dan@example.com");
        QTest::mouseClick(button(w, "btc_send"), Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());
        w->close();
    });
    send_game_by_email(m.c, m.dialogs, m.game, screen_centre(), {});
    EXPECT_EQ(peer.count(), 0);
}

TEST(SendGameByEmail, IncompleteSettingsAreAskedForFirst) {
    const struct {
        MessageAnswer answer;
        bool settings_filled;
        bool window_opens;
    } cases[] = {{MessageAnswer::cancel, true, false}, {MessageAnswer::ok, false, false}, {MessageAnswer::ok, true, true}};
    for (const auto& c : cases) {
        Mailing m(test::free_port());
        m.c.options.smtp_server.clear();
        m.c.variables.first_settings_mode = true;
        m.dialogs.expect_message("Insufficent data. E-mail sending requires", c.answer);
        int settings_shown = 0;
        bool opened = false;
        if (c.window_opens)
            test::when_modal_opens("Tsendcheat", [&](QDialog* w) {
                opened = true;
                w->close();
            });
        send_game_by_email(m.c, m.dialogs, m.game, screen_centre(), [&] {
            ++settings_shown;
            EXPECT_FALSE(m.c.variables.first_settings_mode) << "shown in its normal mode";
            if (c.settings_filled) m.c.options.smtp_server = "127.0.0.1";
        });
        EXPECT_EQ(settings_shown, c.answer == MessageAnswer::ok ? 1 : 0);
        EXPECT_EQ(opened, c.window_opens);
    }
}

TEST(Tsendmail, AttachesTheSavedUserDatabaseWhenWritingToThePublisher) {
    test::SmtpPeer peer;
    Mailing m(peer.port());
    m.c.db.games[1].user_text = "my notes";
    m.c.variables.changes.user_changed = true;
    m.c.current_mail_subject = "E-mail from Trickvault";
    int saved = 0;
    m.dialogs.expect_message("E-mail successfully sent!", MessageAnswer::ok);
    test::when_modal_opens("Tsendmail", [&](QDialog* w) {
        auto* attach = w->findChild<QCheckBox*>("ck_attach_user_dat");
        EXPECT_TRUE(attach->isVisible());
        EXPECT_TRUE(attach->isChecked());
        EXPECT_EQ(w->findChild<QLineEdit*>("ed_sender")->text(), "Ann Smith <ann@example.org>");
        EXPECT_EQ(w->findChild<QLabel*>("lb_status")->text(), "Enter message!");
        w->findChild<QLineEdit*>("ed_subject")->clear();
        EXPECT_EQ(w->findChild<QLabel*>("lb_status")->text(), "Enter subject and message!");
        w->findChild<QLineEdit*>("ed_subject")->setText("Hello");
        auto* message = w->findChild<QPlainTextEdit*>("me_message");
        message->setPlainText("Thanks for the program!\n\n");
        EXPECT_EQ(w->findChild<QLabel*>("lb_status")->text(), "Send message by clicking the SEND button.");
        test::save_screen(*w, "Tsendmail");
        QTest::keyClick(message, Qt::Key_Return, Qt::ControlModifier);
    });
    send_mail(m.c, m.dialogs, std::string(publisher_info_address), "The Team", screen_centre(), [&] {
        ++saved;
        m.home.write("profiles/pc/user.dat", "saved user db");
    });
    EXPECT_EQ(saved, 1);
    ASSERT_EQ(peer.count(), 1);
    const std::string mail = peer.message(1);
    for (const std::string& part : {"To: The Team <" + std::string(publisher_info_address) + ">\r\n",
                                   std::string("Subject: Hello\r\n"), std::string("Thanks for the program!\r\n\r\n--"),
                                   std::string("filename=\"user.dat\""), std::string("c2F2ZWQgdXNlciBkYg==\r\n")})
        EXPECT_NE(mail.find(part), std::string::npos) << part;
}

TEST(Tsendmail, ADeadServerIsReportedAtConnecting) {
    Mailing m(test::free_port());
    m.c.db.games[1].user_text = "my notes";
    m.c.current_mail_subject = "Question";
    m.dialogs.expect_message("Unable to connect to SMTP server!", MessageAnswer::ok);
    test::when_modal_opens("Tsendmail", [&](QDialog* w) {
        EXPECT_TRUE(w->findChild<QCheckBox*>("ck_attach_user_dat")->isHidden()) << "not the publisher's address";
        w->findChild<QPlainTextEdit*>("me_message")->setPlainText("Hi");
        QTest::mouseClick(button(w, "btc_send"), Qt::LeftButton);
        EXPECT_EQ(button(w, "btc_cancel")->text(), "&Close");
        w->close();
    });
    send_mail(m.c, m.dialogs, "someone@example.com", "Someone", screen_centre(), {});
}

TEST(SendUserfile, SendsUserDatWithItsReportToThePublisher) {
    test::SmtpPeer peer;
    Mailing m(peer.port());
    m.home.write("profiles/pc/user.dat", std::string(300, 'u'));
    m.dialogs.expect_message("E-mail successfully sent!\r\n\r\nThank you for sharing", MessageAnswer::ok);
    send_userfile_via_email(m.c, m.dialogs, screen_centre());
    ASSERT_EQ(peer.count(), 1);
    const std::string mail = peer.message(1);
    for (const std::string& part :
         {"To: " + std::string(publisher_display_name) + " <" + std::string(publisher_cheats_address) + ">\r\n",
          std::string("Subject: USER.DAT (PC)\r\n"), std::string("USER.DAT:\r\n"),
          std::string("Profile ID       =3D PC\r\n"), std::string("Profile Language =3D English\r\n"),
          std::string("File Size        =3D 300\r\n"), std::string("filename=\"user.dat\"")})
        EXPECT_NE(mail.find(part), std::string::npos) << part;
    EXPECT_NE(peer.envelope(1).find(std::string(publisher_cheats_address)), std::string::npos);
    // The publisher, reading the received message, gets the file back byte for byte.
    const MailRead received = read_mail(mail);
    ASSERT_TRUE(received.mail) << received.error;
    ASSERT_EQ(received.mail->attachments.size(), 1u);
    EXPECT_EQ(received.mail->attachments[0].file_name, "user.dat");
    EXPECT_EQ(received.mail->attachments[0].bytes, std::string(300, 'u'));
}

TEST(SendUserfile, ARefusalOrTheCancelButtonEndsInTheFailureMessage) {
    for (const char* flag : {"refuse-rcpt", "slow-data"}) {
        SCOPED_TRACE(flag);
        test::SmtpPeer peer({flag});
        Mailing m(peer.port());
        m.dialogs.expect_message("Error sending e-mail. E-mail was not sent!", MessageAnswer::ok);
        QTimer look;
        bool cancelled = false;
        if (std::string(flag) == "slow-data")
            test::when_modal_opens("Tprogress", [&](QDialog* w) {
                look.callOnTimeout([&, w] {
                    auto* label = w->findChild<QLabel*>("lb_progress");
                    if (!label->text().endsWith("Sending e-mail...")) return;
                    look.stop();
                    test::save_screen(*w, "Tprogress-sendmail");
                    auto* cancel = w->findChild<QPushButton*>("btc_sendmail");
                    EXPECT_EQ(cancel->text(), "&Cancel");
                    QTest::mouseClick(cancel, Qt::LeftButton);
                    EXPECT_FALSE(cancel->isEnabled());
                    cancelled = true;
                });
                look.start(10);
            });
        send_userfile_via_email(m.c, m.dialogs, screen_centre());
        EXPECT_EQ(peer.count(), 0);
        EXPECT_EQ(cancelled, std::string(flag) == "slow-data");
    }
}

} // namespace
} // namespace tkv
