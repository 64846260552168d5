// The mail text byte for byte, and the texts and choices of the three mail senders.

#include <gtest/gtest.h>

#include <ctime>

#include "internet/mail_message.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

MailHeaders headers() {
    MailHeaders h;
    h.from = "Ann Smith <ann@example.org>";
    h.to = "bob@example.net";
    h.subject = "Cheat: Doom";
    h.date = "Tue, 02 Jan 2024 13:04:05 +0100";
    return h;
}

TEST(MailMessage, HeaderLinesComeInTheirOrderWithSenderDefaultingToFrom) {
    MailHeaders h = headers();
    EXPECT_EQ(mail_header_lines(h, "B1"),
              (std::vector<std::string>{"From: Ann Smith <ann@example.org>", "To: bob@example.net",
                                        "Subject: Cheat: Doom", "Sender: Ann Smith <ann@example.org>",
                                        "Mime-Version: 1.0", "Content-Type: multipart/mixed; boundary=\"B1\"",
                                        "Date: Tue, 02 Jan 2024 13:04:05 +0100"}));
    h.reply_to = "Ann <reply@example.org>";
    h.sender = "Agent <agent@example.org>";
    const auto lines = mail_header_lines(h, "B1");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Reply-To: Ann <reply@example.org>");
    EXPECT_EQ(lines[4], "Sender: Agent <agent@example.org>");
}

TEST(MailMessage, HeaderValuesCannotAddHeaderLines) {
    const struct {
        std::string value, written;
    } cases[] = {
        {"Hi\r\nBcc: victim@example.com", "HiBcc: victim@example.com"},
        {"line\nbreak\r", "linebreak"},
        {"Caf\xC3\xA9", "=?utf-8?B?Q2Fmw6k=?="},                             // only words, never raw bytes
        {"J\xC3\xBCrgen <j@example.de>", "=?utf-8?B?SsO8cmdlbg==?= <j@example.de>"}, // the address stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(header_value(c.value), c.written) << c.value;
    MailHeaders h = headers();
    h.subject = "a\r\nb";
    EXPECT_EQ(mail_header_lines(h, "B")[2], "Subject: ab");
}

TEST(MailMessage, MailerLinesFollowTheFirstHeaderLineOfEachMessage) {
    MailerLines mailer;
    std::vector<std::string> lines = {"From: a", "To: b"};
    for (auto& l : lines)
        mailer.header_line(l);
    EXPECT_EQ(lines[0], "From: a\r\nX-Mailer: Trickvault v3.50\r\nX-Priority: 3 (Normal)");
    EXPECT_EQ(lines[1], "To: b");
    std::string next = "Reply-To: c";
    mailer.header_line(next);
    EXPECT_EQ(next, "Reply-To: c") << "no second time within one message";
    mailer.start_message();
    mailer.header_line(next);
    EXPECT_EQ(next, "Reply-To: c\r\nX-Mailer: Trickvault v3.50\r\nX-Priority: 3 (Normal)");
}

TEST(MailMessage, BodyHasATextPartAndBase64AttachmentsWithTheirNames) {
    const std::string body =
        mail_body({"Price = 5 ", "Caf\xC3\xA9"}, {{"user.dat", "hello"}, {"a\"b.txt", ""}}, "=_B");
    EXPECT_EQ(body,
              "This is a multi-part message in MIME format.\r\n\r\n"
              "--=_B\r\n"
              "Content-Type: text/plain; charset=\"utf-8\"\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
              "Price =3D 5=20\r\n"
              "Caf=C3=A9\r\n"
              "\r\n--=_B\r\n"
              "Content-Type: application/octet-stream; name=\"user.dat\"\r\n"
              "Content-Transfer-Encoding: base64\r\n"
              "Content-Disposition: attachment; filename=\"user.dat\"\r\n\r\n"
              "aGVsbG8=\r\n"
              "\r\n--=_B\r\n"
              "Content-Type: application/octet-stream; name=\"ab.txt\"\r\n"
              "Content-Transfer-Encoding: base64\r\n"
              "Content-Disposition: attachment; filename=\"ab.txt\"\r\n\r\n"
              "\r\n--=_B--\r\n");
}

TEST(MailMessage, DataDoublesLeadingDotsAndEndsWithTheDotLine) {
    EXPECT_EQ(mail_data({"From: a", "Subject: .b"}, ".one\r\ntwo.\r\n..three\r\n."),
              "From: a\r\nSubject: .b\r\n\r\n..one\r\ntwo.\r\n...three\r\n..\r\n.\r\n");
}

TEST(MailMessage, Base64FollowsTheRfcVectorsInLinesOf76) {
    const struct {
        std::string in, out;
    } cases[] = {{"", ""},
                 {"f", "Zg==\r\n"},
                 {"fo", "Zm8=\r\n"},
                 {"foo", "Zm9v\r\n"},
                 {"foob", "Zm9vYg==\r\n"},
                 {"fooba", "Zm9vYmE=\r\n"},
                 {"foobar", "Zm9vYmFy\r\n"},
                 {std::string("\xFF\x00\xFE", 3), "/wD+\r\n"}};
    for (const auto& c : cases)
        EXPECT_EQ(base64_lines(c.in), c.out) << c.in;
    std::string one_line;
    for (int i = 0; i < 19; ++i)
        one_line += "YWFh";
    EXPECT_EQ(base64_lines(std::string(57, 'a')), one_line + "\r\n");
    const std::string two = base64_lines(std::string(58, 'a'));
    EXPECT_EQ(two.find("\r\n"), 76u);
    EXPECT_EQ(two.size(), 76u + 2 + 4 + 2);
}

TEST(MailMessage, QuotedPrintableKeepsLinesAt76) {
    const std::string exact(76, 'a');
    EXPECT_EQ(quoted_printable(exact + "\r\n"), exact + "\r\n");
    EXPECT_EQ(quoted_printable(std::string(100, 'a') + "\r\n"),
              std::string(75, 'a') + "=\r\n" + std::string(25, 'a') + "\r\n");
    // An encoded byte is never split by a soft break.
    const std::string encoded = quoted_printable(std::string(74, 'a') + "=b\r\n");
    EXPECT_EQ(encoded, std::string(74, 'a') + "=\r\n=3Db\r\n");
    EXPECT_EQ(quoted_printable("tab\tend\t\r\n"), "tab\tend=09\r\n");
}

TEST(MailMessage, DateIsInTheMailFormat) {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_wday = 2;
    t.tm_hour = 13;
    t.tm_min = 4;
    t.tm_sec = 5;
    EXPECT_EQ(mail_date(t, 3600), "Tue, 02 Jan 2024 13:04:05 +0100");
    EXPECT_EQ(mail_date(t, -(5 * 3600 + 30 * 60)), "Tue, 02 Jan 2024 13:04:05 -0530");
    EXPECT_EQ(mail_date(t, 0), "Tue, 02 Jan 2024 13:04:05 +0000");
}

TEST(MailMessage, GameMailBodyIsGreetingGameRegardsAndSignature) {
    const auto caption = [](int slot, std::initializer_list<std::string_view> v) {
        std::vector<std::string> values(v.begin(), v.end());
        values.resize(3);
        switch (slot) {
        case 732:
            return "Hi!\r\n\r\nYour friend has sent to you the following information from " + values[0] +
                   " that is one of the " + values[2] + " entries of its \"" + values[1] + "\" database:";
        case 751:
            return "\r\n" + values[0] + "\r\nRegards,\r\n" + values[1] + "\r\nmailto:" + values[2];
        case 733:
            return "-- \r\nThis E-mail was sent from the " + values[0] + " v" + values[1] + " program.\r\n" +
                   values[2];
        }
        return std::string("?");
    };
    CheatMailValues v;
    v.profile_name = "PC";
    v.game_count = 1234;
    v.game_text = without_trailing_empty_lines("Doom:\r\n=====\r\n\r\nIDDQD\r\n\r\n\r\n");
    v.user_name = "Ann";
    v.user_email = "ann@example.org";
    v.home_page = "http://www.trickvault.example/";
    EXPECT_EQ(cheat_mail_message(caption, v),
              "Hi!\r\n\r\nYour friend has sent to you the following information from Trickvault\r\n"
              "that is one of the 1234 entries of its \"PC\" database:\r\n"
              "\r\nDoom:\r\n=====\r\n\r\nIDDQD\r\n\r\nRegards,\r\nAnn\r\nmailto:ann@example.org\r\n"
              "-- \r\nThis E-mail was sent from the Trickvault v3.50 program.\r\nhttp://www.trickvault.example/");
}

TEST(MailMessage, TrailingEmptyLinesOfTheGameTextGo) {
    const struct {
        std::string in, out;
    } cases[] = {{"a\r\n\r\n\r\n", "a\r\n"}, {"a\r\n", "a\r\n"}, {"a", "a"}, {"\r\n\r\n", "\r\n"}, {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(without_trailing_empty_lines(c.in), c.out);
}

TEST(MailMessage, RecipientHistoryTakesOnlyPlausibleAddresses) {
    const struct {
        const char* line;
        bool taken;
    } cases[] = {
        {"bob@example.net", true},    {"  bob@example.net  ", true}, {"abc.d@example.net", true},
        {"a.smith@example.net", false}, // first "." at position 2
        {"@example.net", false},       {";bob@example.net", false},   {"bob@examplenet", false},
        {"bobexample.net", false},     {"", false},                   {"x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(recipient_line_taken(c.line), c.taken) << c.line;

    const RecipientHistory h = read_recipient_history("bob@example.net\r\na.smith@example.net\n carl@example.com \r\n");
    EXPECT_EQ(h.text, "\r\nbob@example.net\r\ncarl@example.com\r\n");
    EXPECT_EQ(h.addresses, (std::vector<std::string>{"bob@example.net", "carl@example.com"}));
    EXPECT_EQ(read_recipient_history("").text, "\r\n");
}

TEST(MailMessage, HistoryGrowsOnlyByAddressesItDoesNotContain) {
    const std::string history = "\r\nbob@example.net\r\n";
    EXPECT_EQ(recipient_history_after_send(history, "dan@example.com"), "bob@example.net\r\ndan@example.com");
    EXPECT_EQ(recipient_history_after_send(history, "b@example.net"), std::nullopt) << "a substring counts as known";
    EXPECT_EQ(recipient_history_after_send("\r\n", "dan@example.com"), "dan@example.com");
}

TEST(MailMessage, GameFilesAreAttachedInOrderWhileTheyFit) {
    test::TempDir dir;
    const std::string folder = dir.folder();
    dir.write("big.zip", std::string(1000000, 'b'));
    dir.write("Second.ZIP", std::string(600000, 's'));
    dir.write("small.txt", std::string(1000, 't'));
    dir.write("web.txt", "w");
    std::vector<GAMES2_FILES_TYPE> files = {{"FILE://big.zip", "", "", ""},
                                            {"file://second.zip", "", "", ""}, // too much with big.zip
                                            {"file://missing.zip", "", "", ""},
                                            {"http://example.com/web.txt", "", "", ""},
                                            {"file://small.txt", "", "", ""}};
    CheatAttachments list;
    list.paths.push_back("info.txt");
    list.attached_bytes = 100;
    add_game_files(list, files, folder, 500);
    EXPECT_EQ(list.paths, (std::vector<std::string>{"info.txt", folder + "big.zip", folder + "small.txt"}));
    EXPECT_EQ(list.attached_bytes, 100 + 1000000 + 1000);

    // The limit is reached exactly: not attached.
    CheatAttachments exact;
    add_game_files(exact, {{"file://small.txt", "", "", ""}}, folder, cheat_mail_bytes_max - 1000);
    EXPECT_TRUE(exact.paths.empty());
    add_game_files(exact, {{"file://Second.zip", "", "", ""}}, folder, 0);
    EXPECT_EQ(exact.paths, std::vector<std::string>{folder + "Second.ZIP"}) << "letter case of names is ignored";
}

TEST(MailMessage, NoMoreThanAHundredFilesAreAttached) {
    test::TempDir dir;
    std::vector<GAMES2_FILES_TYPE> files;
    for (int i = 0; i < 101; ++i) {
        dir.write("f" + std::to_string(i), "x");
        files.push_back({"file://f" + std::to_string(i), "", "", ""});
    }
    CheatAttachments list;
    add_game_files(list, files, dir.folder(), 0);
    EXPECT_EQ(list.paths.size(), cheat_attachments_max);
}

TEST(MailMessage, SendIsOfferedOnlyWithEverythingFilledIn) {
    EXPECT_TRUE(cheat_mail_ready("a@b.cc", "Cheat", "text"));
    EXPECT_FALSE(cheat_mail_ready("   ", "Cheat", "text"));
    EXPECT_FALSE(cheat_mail_ready("a@b.cc", "  ", "text"));
    EXPECT_FALSE(cheat_mail_ready("a@b.cc", "Cheat", " \r\n \r\n"));

    const struct {
        const char *subject, *message;
        int caption;
    } cases[] = {{"Hello", "text", 205}, {" ", "\r\n ", 204}, {"", "text", 202}, {"Hello", " \r\n", 203}};
    for (const auto& c : cases)
        EXPECT_EQ(free_mail_status_caption(c.subject, c.message), c.caption) << c.subject << "|" << c.message;
}

TEST(MailMessage, UserDatabaseReport) {
    EXPECT_EQ(userfile_report_lines("PC", "English", "2/1/24, 1:04 PM", -1),
              (std::vector<std::string>{"USER.DAT:", "=========", "Profile ID       = PC",
                                        "Profile Language = English", "Date             = 2/1/24, 1:04 PM",
                                        "File Size        = -1"}));
}

TEST(MailMessage, MailSettingsNeedAllFourValues) {
    EXPECT_TRUE(mail_settings_complete("smtp.example", "25", "Ann", "ann@example.org"));
    EXPECT_FALSE(mail_settings_complete("", "25", "Ann", "ann@example.org"));
    EXPECT_FALSE(mail_settings_complete("smtp.example", "", "Ann", "ann@example.org"));
    EXPECT_FALSE(mail_settings_complete("smtp.example", "25", "", "ann@example.org"));
    EXPECT_FALSE(mail_settings_complete("smtp.example", "25", "Ann", ""));
}

} // namespace
} // namespace tkv
