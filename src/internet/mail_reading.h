#pragma once
// A received e-mail as a mail client saves it (.eml): the sender and the attached files. Lines may
// end in CR LF or LF alone; multipart bodies are walked into, forwarded messages too. A message
// captured from SMTP DATA is taken as it is: its dot-stuffing is not undone.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "internet/mail_message.h" // MailAttachment

namespace tkv {

// Bounds that keep a hostile message from costing more than its size: multiparts and forwarded
// messages nested at most this deep, and at most this many parts in all.
constexpr std::size_t mail_nesting_max = 8;
constexpr std::size_t mail_parts_max = 1000;

struct ReceivedMail {
    // The From value, RFC 2047 words decoded to UTF-8, control characters removed.
    std::string from;
    // The parts with Content-Disposition "attachment" or a file name, in message order. The file
    // name is decoded to UTF-8 without control characters and keeps only what follows its last
    // "/" or "\"; a part without a usable name is called "attachment-N" (N counting from 1).
    std::vector<MailAttachment> attachments;
};

struct MailRead {
    std::optional<ReceivedMail> mail;
    std::string error; // a sentence for the user when mail is empty
};

MailRead read_mail(std::string_view text);

} // namespace tkv
