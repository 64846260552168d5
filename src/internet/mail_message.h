#pragma once
// The text of one e-mail as the SMTP client sends it (header lines, a MIME text part and Base64
// attachments, dot-stuffing), and the texts the program's three mail senders compose. Mail texts
// are UTF-8; line breaks are CR LF.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"
#include "internet/version_check.h" // CaptionText

namespace tkv {

struct MailHeaders {
    std::string reply_to; // empty: no Reply-To line
    std::string from;
    std::string to;
    std::string subject;
    std::string sender; // empty: the From value
    std::string date;   // as mail_date writes it
};

struct MailAttachment {
    std::string file_name;
    std::string bytes;
};

// A header value kept on its own line: CR and LF removed, so no value can add header lines.
// Values with characters beyond ASCII are written as RFC 2047 words; in "Name <address>" only the
// name is.
std::string header_value(std::string_view value);

// Reply-To (when set), From, To, Subject, Sender, Mime-Version, Content-Type, Date.
std::vector<std::string> mail_header_lines(const MailHeaders& headers, std::string_view boundary);

// The program names itself in the header: the first header line of each message gets the
// X-Mailer and X-Priority lines appended.
class MailerLines {
  public:
    void start_message() { added_ = false; }
    void header_line(std::string& line);

  private:
    bool added_ = false;
};

// What follows the header's blank line: the text part (the lines, quoted-printable UTF-8) and one
// Base64 part per attachment with its file name, each opened by the boundary.
std::string mail_body(const std::vector<std::string>& lines, const std::vector<MailAttachment>& attachments,
                      std::string_view boundary);

// The message as the recipient's mail program saves it: header lines, blank line, body ending in CR LF.
std::string mail_text(const std::vector<std::string>& header_lines, std::string_view body);

// What the client sends after DATA: header lines, blank line, body, every line that starts with
// "." doubled, and the closing "." line.
std::string mail_data(const std::vector<std::string>& header_lines, std::string_view body);

// RFC 2045 Base64 in lines of 76 characters, each ended by CR LF.
std::string base64_lines(std::string_view bytes);
// Quoted-printable of a text whose lines end in CR LF; lines longer than 76 get soft breaks.
std::string quoted_printable(std::string_view text);
// "Tue, 02 Jan 2024 13:04:05 +0100" for a local time and its offset from UTC in seconds.
std::string mail_date(const std::tm& local, long utc_offset_seconds);

// The mail settings are complete when server, port, name and address are all set.
bool mail_settings_complete(std::string_view server, std::string_view port, std::string_view name,
                            std::string_view address);

// --- Tsendcheat ---

// The game's text without trailing empty lines: while it ends in CR LF CR LF, its last CR LF goes.
std::string without_trailing_empty_lines(std::string text);

struct CheatMailValues {
    std::string profile_name; // UTF-8
    std::size_t game_count = 0;
    std::string game_text; // UTF-8, as without_trailing_empty_lines leaves it
    std::string user_name;
    std::string user_email;
    std::string home_page;
};
// Greeting (wrapped at 70), the game with the sender's regards, and the signature, joined by CR LF.
std::string cheat_mail_message(const CaptionText& caption, const CheatMailValues& v);

constexpr std::size_t cheat_attachments_max = 100;
constexpr std::int64_t cheat_mail_bytes_max = 1572864; // 1.5 MiB: attachments and message together

struct CheatAttachments {
    std::vector<std::string> paths;
    std::int64_t attached_bytes = 0;
};
// Adds the local copies of the game's "file://" entries found in files_folder (names compared
// ignoring A..Z case) while fewer than 100 files are attached and each file with what is
// attached and the message stays below 1.5 MiB; a file that does not fit is skipped.
void add_game_files(CheatAttachments& list, const std::vector<GAMES2_FILES_TYPE>& files,
                    const std::string& files_folder, std::int64_t message_length);

// Whether a line of the recipient history file is an address worth offering.
bool recipient_line_taken(std::string_view line);
struct RecipientHistory {
    std::string text = "\r\n"; // CR LF, then each address followed by CR LF
    std::vector<std::string> addresses;
};
RecipientHistory read_recipient_history(std::string_view file_text);
// The history file's new text after a mail to recipient, or nothing when the recipient occurs
// anywhere in the history already.
std::optional<std::string> recipient_history_after_send(std::string_view history, std::string_view recipient);

// Send is possible when recipient and subject have more than spaces and the message more than
// spaces and line breaks.
bool cheat_mail_ready(std::string_view recipient, std::string_view subject, std::string_view message);

// --- Tsendmail ---

// The status caption: caption_slot::mail_ready, or which of subject and message is missing.
int free_mail_status_caption(std::string_view subject, std::string_view message);

// --- the user database sent to the publisher ---

std::vector<std::string> userfile_report_lines(std::string_view profile_id, std::string_view profile_language,
                                               std::string_view date_time, std::int64_t file_size);

} // namespace tkv
