// Received mails read back for their sender and attachments: what the program sends, what a mail
// client saves, and hostile files.

#include <gtest/gtest.h>

#include "internet/mail_message.h"
#include "internet/mail_reading.h"
#include "platform/base64.h"

namespace tkv {
namespace {

TEST(Base64Decode, ReadsBackWhatTheEncoderWrites) {
    std::string all_bytes;
    for (int c = 0; c < 256; ++c)
        all_bytes += static_cast<char>(c);
    for (std::size_t size = 0; size <= 7; ++size) {
        const std::string bytes = all_bytes.substr(250 - size * 30, size);
        EXPECT_EQ(base64_decode(base64_encode(bytes)), bytes) << size;
    }
    EXPECT_EQ(base64_decode(base64_lines(all_bytes + all_bytes)), all_bytes + all_bytes);
    EXPECT_EQ(base64_decode(" Zm9v\tYmE\n"), "fooba") << "white space skipped, padding missing at the end";
    EXPECT_EQ(base64_decode("Zm9vYg"), "foob");
}

TEST(Base64Decode, RefusesWhatNoEncoderWrites) {
    for (const char* text :
         {"Zm9v!", "Zm9vY", "Zg=", "Zm9v====", "Zg==Zg==", "=", "Zm9v.Yg==", "Zm9vYmFy\x80"})
        EXPECT_EQ(base64_decode(text), std::nullopt) << text;
}

std::string all_256_bytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

TEST(MailReading, ReadsTheUserDatabaseMailAsTheProgramSendsIt) {
    MailHeaders h;
    h.from = "J\xC3\xBCrgen M\xC3\xBCller <j@example.de>";
    h.to = "publisher@example.org";
    h.subject = "User database";
    h.date = "Tue, 02 Jan 2024 13:04:05 +0100";
    const std::string text =
        mail_text(mail_header_lines(h, "=_tkv_1"),
                  mail_body(userfile_report_lines("PC", "English", "2024-01-02 13:04", 256),
                            {{"report.txt", "USER.DAT:\r\n"}, {"user.dat", all_256_bytes()}}, "=_tkv_1"));

    const MailRead read = read_mail(text);
    ASSERT_TRUE(read.mail) << read.error;
    EXPECT_EQ(read.mail->from, h.from);
    ASSERT_EQ(read.mail->attachments.size(), 2u);
    EXPECT_EQ(read.mail->attachments[0].file_name, "report.txt");
    EXPECT_EQ(read.mail->attachments[0].bytes, "USER.DAT:\r\n");
    EXPECT_EQ(read.mail->attachments[1].file_name, "user.dat");
    EXPECT_EQ(read.mail->attachments[1].bytes, all_256_bytes());
}

TEST(MailReading, ReadsAMessageAsAMailClientSavesIt) {
    const std::string text = "return-path: <ann@example.org>\n"
                             "from: =?iso-8859-1?Q?Ren=E9e?=\n"
                             "\t=?utf-8?B?IFNtaXRo?= <ann@example.org>\n"
                             "subject: my notes\n"
                             "mime-version: 1.0\n"
                             "content-type: multipart/mixed;\n"
                             " boundary=\"------------outer\"\n"
                             "\n"
                             "This is a multi-part message in MIME format.\n"
                             "--------------outer\n"
                             "content-type: multipart/alternative; boundary=inner\n"
                             "\n"
                             "--inner\n"
                             "content-type: text/plain; charset=UTF-8\n"
                             "\n"
                             "Here it is.\n"
                             "--inner\n"
                             "content-type: text/html; charset=UTF-8\n"
                             "\n"
                             "<p>Here it is.</p>\n"
                             "--inner--\n"
                             "\n"
                             "--------------outer\n"
                             "Content-Type: application/octet-stream\n"
                             "Content-Transfer-Encoding: base64\n"
                             "Content-Disposition: attachment;\n"
                             "\tfilename=\"user.dat\"\n"
                             "\n"
                             "AAEC/w==\n"
                             "\n"
                             "--------------outer--\n"
                             "epilogue\n";
    const MailRead read = read_mail(text);
    ASSERT_TRUE(read.mail) << read.error;
    EXPECT_EQ(read.mail->from, "Ren\xC3\xA9"
                               "e Smith <ann@example.org>");
    ASSERT_EQ(read.mail->attachments.size(), 1u);
    EXPECT_EQ(read.mail->attachments[0].file_name, "user.dat");
    EXPECT_EQ(read.mail->attachments[0].bytes, std::string("\x00\x01\x02\xFF", 4));
}

TEST(MailReading, ReadsTheAttachmentsOfAForwardedMessage) {
    const std::string text = "From: Bob <bob@example.net>\r\n"
                             "Content-Type: multipart/mixed; boundary=B\r\n"
                             "\r\n"
                             "--B\r\n"
                             "Content-Type: message/rfc822\r\n"
                             "\r\n"
                             "From: Ann <ann@example.org>\r\n"
                             "Content-Type: multipart/mixed; boundary=C\r\n"
                             "\r\n"
                             "--C\r\n"
                             "Content-Type: text/plain; name=notes.txt\r\n"
                             "Content-Transfer-Encoding: quoted-printable\r\n"
                             "\r\n"
                             "caf=C3=A9 =3D soft=\r\n"
                             "ly broken  \r\n"
                             "--C--\r\n"
                             "--B--\r\n";
    const MailRead read = read_mail(text);
    ASSERT_TRUE(read.mail) << read.error;
    EXPECT_EQ(read.mail->from, "Bob <bob@example.net>");
    ASSERT_EQ(read.mail->attachments.size(), 1u);
    EXPECT_EQ(read.mail->attachments[0].file_name, "notes.txt");
    EXPECT_EQ(read.mail->attachments[0].bytes, "caf\xC3\xA9 = softly broken");
}

TEST(MailReading, AttachmentNamesCannotLeaveTheirFolder) {
    const struct {
        std::string header, name;
    } cases[] = {
        {"Content-Disposition: attachment; filename=\"../../etc/passwd\"", "passwd"},
        {"Content-Disposition: attachment; filename=C:\\Users\\ann\\user.dat", "user.dat"},
        {"Content-Disposition: attachment; filename=\"=?utf-8?Q?a=2Fb=0A=1Bc.dat?=\"", "bc.dat"},
        {"Content-Disposition: attachment; filename*=utf-8''dir%2F", "attachment-1"},
        {"Content-Disposition: attachment; filename*=utf-8''caf%C3%A9.dat; filename=x", "caf\xC3\xA9.dat"},
        {"Content-Disposition: attachment; filename=\"..\"", "attachment-1"},
        {"Content-Disposition: attachment", "attachment-1"},
        {"Content-Type: image/png; name=\"sub/dir/shot\t.png\"", "shot.png"},
    };
    for (const auto& c : cases) {
        const MailRead read = read_mail("From: a\nContent-Type: multipart/mixed; boundary=B\n\n--B\n" +
                                        c.header + "\n\ndata\n--B--\n");
        ASSERT_TRUE(read.mail) << c.header << ": " << read.error;
        ASSERT_EQ(read.mail->attachments.size(), 1u) << c.header;
        EXPECT_EQ(read.mail->attachments[0].file_name, c.name) << c.header;
        EXPECT_EQ(read.mail->attachments[0].bytes, "data") << c.header;
    }
}

// A message of parts nested `depth` multiparts deep, the innermost holding one attachment.
std::string nested(int depth) {
    std::string head = "From: a\n";
    std::string tail;
    for (int level = 0; level < depth; ++level) {
        const std::string b = "b" + std::to_string(level);
        head += "Content-Type: multipart/mixed; boundary=" + b + "\n\n--" + b + "\n";
        tail = "\n--" + b + "--\n" + tail;
    }
    return head + "Content-Disposition: attachment; filename=x\n\nx" + tail;
}

TEST(MailReading, BadMessagesGiveTheirErrorAndNothingElse) {
    std::string many_parts = "From: a\nContent-Type: multipart/mixed; boundary=B\n\n";
    for (std::size_t i = 0; i <= mail_parts_max; ++i)
        many_parts += "--B\n\n";
    many_parts += "--B--\n";
    const std::string mixed = "From: a\nContent-Type: multipart/mixed; boundary=B\n\n--B\n";
    const struct {
        std::string text, error;
    } cases[] = {
        {"", "This is not an e-mail message: it does not start with a header."},
        {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR:\xFF", 18),
         "This is not an e-mail message: it does not start with a header."},
        {"From: a\r\nSubject: b\r\n",
         "This is not an e-mail message: its header is not followed by a blank line."},
        {mixed + "Content-Disposition: attachment; filename=user.dat\n\nAAEC",
         "The message is cut short: a multipart part has no closing boundary."},
        {"From: a\nContent-Type: multipart/mixed\n\n--B\n\n--B--\n",
         "The message has a multipart part without its boundary."},
        {mixed + "Content-Transfer-Encoding: base64\nContent-Disposition: attachment; "
                 "filename=user.dat\n\nAA*C\n--B--\n",
         "The attachment \"user.dat\" has broken Base64 encoding."},
        {mixed + "Content-Transfer-Encoding: x-uuencode\nContent-Type: a/b; name=u.dat\n\nbegin\n--B--\n",
         "The attachment \"u.dat\" has the unknown transfer encoding \"x-uuencode\"."},
        {nested(9), "The message nests parts more than 8 deep."},
        {many_parts, "The message has more than 1000 parts."},
    };
    for (const auto& c : cases) {
        const MailRead read = read_mail(c.text);
        EXPECT_FALSE(read.mail) << c.text.substr(0, 200);
        EXPECT_EQ(read.error, c.error) << c.text.substr(0, 200);
    }
    const MailRead deepest = read_mail(nested(8));
    ASSERT_TRUE(deepest.mail) << deepest.error;
    EXPECT_EQ(deepest.mail->attachments.size(), 1u);
}

} // namespace
} // namespace tkv
