// The SMTP client against a real SMTP server on 127.0.0.1.

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

#include "internet/mail_message.h"
#include "platform/qt/smtp_client.h"
#include "support/peers.h"

namespace tkv {
namespace {

using Request = SmtpClient::Request;

// Issues requests one by one and waits for each to be reported done.
struct Session {
    SmtpClient client;
    std::vector<Request> done;
    explicit Session(int port) {
        client.host = "127.0.0.1";
        client.port = std::to_string(port);
        client.on_request_done = [this](Request r) { done.push_back(r); };
    }
    // The reply of the request, once it has been reported done.
    std::string run(void (SmtpClient::*request)(), Request name) {
        const std::size_t before = std::count(done.begin(), done.end(), name);
        (client.*request)();
        EXPECT_TRUE(std::count(done.begin(), done.end(), name) == static_cast<long>(before))
            << "reported done inside the call";
        EXPECT_TRUE(QTest::qWaitFor([&] { return std::count(done.begin(), done.end(), name) > static_cast<long>(before); },
                                    10000));
        return client.last_reply();
    }
};

TEST(SmtpClient, DeliversTheMessageWithItsEnvelope) {
    test::SmtpPeer peer;
    Session s(peer.port());
    s.client.helo_name = "Trickvault";
    s.client.mail_from = "ann@example.org";
    s.client.recipients = {"bob@example.net", "carl@example.net"};
    const std::string text = "From: Ann <ann@example.org>\r\nSubject: dots\r\n\r\n.first\r\nsecond\r\n..third\r\n";
    s.client.message = mail_data({"From: Ann <ann@example.org>", "Subject: dots"}, ".first\r\nsecond\r\n..third\r\n");

    EXPECT_EQ(s.run(&SmtpClient::Connect, Request::connect).substr(0, 3), "220");
    EXPECT_EQ(s.run(&SmtpClient::Helo, Request::helo), "250 localhost");
    EXPECT_EQ(s.run(&SmtpClient::MailFrom, Request::mail_from).substr(0, 3), "250");
    EXPECT_EQ(s.run(&SmtpClient::Vrfy, Request::vrfy).substr(0, 3), "252");
    EXPECT_EQ(s.run(&SmtpClient::RcptTo, Request::rcpt_to).substr(0, 3), "250");
    EXPECT_EQ(s.run(&SmtpClient::Data, Request::data).substr(0, 3), "250");
    EXPECT_EQ(s.run(&SmtpClient::Quit, Request::quit).substr(0, 3), "221");

    ASSERT_EQ(peer.count(), 1);
    EXPECT_EQ(peer.message(1), text) << "dot-stuffing undone by the server gives the text back";
    EXPECT_EQ(peer.envelope(1), R"({"helo": "Trickvault", "mail_from": "ann@example.org", )"
                                R"("rcpt_tos": ["bob@example.net", "carl@example.net"], "vrfy": ["bob@example.net"]})");
}

TEST(SmtpClient, RefusalsAndFailuresAreRepliesOfTheirRequest) {
    test::SmtpPeer peer({"refuse-rcpt"});
    Session s(peer.port());
    s.client.helo_name = "Trickvault";
    s.client.mail_from = "ann@example.org\r\nRCPT TO:<x@example.com>"; // a value never starts a command
    s.client.recipients = {"bob@example.net"};
    s.run(&SmtpClient::Connect, Request::connect);
    s.run(&SmtpClient::Helo, Request::helo);
    EXPECT_EQ(s.run(&SmtpClient::MailFrom, Request::mail_from).substr(0, 3), "501");
    EXPECT_EQ(s.run(&SmtpClient::RcptTo, Request::rcpt_to).substr(0, 3), "503") << "no sender accepted";
    s.client.mail_from = "ann@example.org";
    s.run(&SmtpClient::MailFrom, Request::mail_from);
    EXPECT_EQ(s.run(&SmtpClient::RcptTo, Request::rcpt_to), "550 5.1.1 Recipient address rejected");

    Session dead(test::free_port());
    const std::string reply = dead.run(&SmtpClient::Connect, Request::connect);
    EXPECT_FALSE(reply.starts_with("220"));
    EXPECT_FALSE(dead.run(&SmtpClient::Helo, Request::helo).starts_with("250")) << "nothing is connected";
}

TEST(SmtpClient, AbortEndsTheWaitingRequest) {
    test::SmtpPeer peer({"slow-data"});
    Session s(peer.port());
    s.client.helo_name = "Trickvault";
    s.client.mail_from = "ann@example.org";
    s.client.recipients = {"bob@example.net"};
    s.client.message = mail_data({"Subject: slow"}, "text\r\n");
    s.run(&SmtpClient::Connect, Request::connect);
    s.run(&SmtpClient::Helo, Request::helo);
    s.run(&SmtpClient::MailFrom, Request::mail_from);
    s.run(&SmtpClient::RcptTo, Request::rcpt_to);
    s.client.Data();
    QTest::qWait(300);
    EXPECT_TRUE(std::find(s.done.begin(), s.done.end(), Request::data) == s.done.end());
    s.client.Abort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.done.back() == Request::abort; }, 5000));
    EXPECT_EQ(std::vector<Request>(s.done.end() - 2, s.done.end()), (std::vector<Request>{Request::data, Request::abort}));
    EXPECT_EQ(s.client.last_reply(), "");
    EXPECT_EQ(peer.count(), 0);
}

} // namespace
} // namespace tkv
