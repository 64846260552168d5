#include "internet/mail_message.h"

#include "appearance/caption_slots.h"
#include "platform/base64.h"

#include "shell/files.h"
#include "shell/product.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tkv {

namespace {

constexpr std::string_view crlf = "\r\n";

bool is_ascii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string encoded_word(std::string_view s) {
    return is_ascii(s) ? std::string(s) : "=?utf-8?B?" + base64_encode(s) + "?=";
}

// A file name fit for a quoted MIME parameter.
std::string parameter_text(std::string_view name) {
    std::string r;
    for (char c : name)
        if (c != '"' && c != '\\' && c != '\r' && c != '\n') r += c;
    return encoded_word(r);
}

bool only_blanks(std::string_view s, std::string_view blanks) {
    return s.find_first_not_of(blanks) == std::string_view::npos;
}

} // namespace

std::string header_value(std::string_view value) {
    std::string v;
    for (char c : value)
        if (c != '\r' && c != '\n') v += c;
    if (is_ascii(v)) return v;
    const std::size_t open = v.rfind(" <");
    if (open != std::string::npos && v.back() == '>' && is_ascii(std::string_view(v).substr(open)))
        return encoded_word(v.substr(0, open)) + v.substr(open);
    return encoded_word(v);
}

std::vector<std::string> mail_header_lines(const MailHeaders& h, std::string_view boundary) {
    std::vector<std::string> lines;
    if (!h.reply_to.empty()) lines.push_back("Reply-To: " + header_value(h.reply_to));
    lines.push_back("From: " + header_value(h.from));
    lines.push_back("To: " + header_value(h.to));
    lines.push_back("Subject: " + header_value(h.subject));
    lines.push_back("Sender: " + header_value(h.sender.empty() ? h.from : h.sender));
    lines.push_back("Mime-Version: 1.0");
    lines.push_back("Content-Type: multipart/mixed; boundary=\"" + std::string(boundary) + "\"");
    lines.push_back("Date: " + header_value(h.date));
    return lines;
}

void MailerLines::header_line(std::string& line) {
    if (added_) return;
    added_ = true;
    line += "\r\nX-Mailer: " + std::string(product_name) + " v" + std::string(product_version) +
            "\r\nX-Priority: 3 (Normal)";
}

std::string mail_body(const std::vector<std::string>& lines, const std::vector<MailAttachment>& attachments,
                      std::string_view boundary) {
    const std::string open = "--" + std::string(boundary) + "\r\n";
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append(crlf);
    std::string r = "This is a multi-part message in MIME format.\r\n\r\n";
    r += open;
    r += "Content-Type: text/plain; charset=\"utf-8\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n";
    r += quoted_printable(text);
    for (const MailAttachment& a : attachments) {
        const std::string name = parameter_text(a.file_name);
        r += "\r\n" + open;
        r += "Content-Type: application/octet-stream; name=\"" + name + "\"\r\n";
        r += "Content-Transfer-Encoding: base64\r\n";
        r += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n\r\n";
        r += base64_lines(a.bytes);
    }
    r += "\r\n--" + std::string(boundary) + "--\r\n";
    return r;
}

std::string mail_text(const std::vector<std::string>& header_lines, std::string_view body) {
    std::string text;
    for (const std::string& line : header_lines)
        text.append(line).append(crlf);
    text.append(crlf).append(body);
    if (!text.ends_with(crlf)) text += crlf;
    return text;
}

std::string mail_data(const std::vector<std::string>& header_lines, std::string_view body) {
    const std::string text = mail_text(header_lines, body);
    std::string r;
    r.reserve(text.size() + 16);
    bool line_start = true;
    for (char c : text) {
        if (line_start && c == '.') r += '.';
        r += c;
        line_start = c == '\n';
    }
    return r + ".\r\n";
}

std::string base64_lines(std::string_view bytes) {
    const std::string all = base64_encode(bytes);
    std::string r;
    for (std::size_t i = 0; i < all.size(); i += 76)
        r.append(all, i, 76).append(crlf);
    return r;
}

std::string quoted_printable(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string r;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(crlf, start);
        const bool ended = end != std::string_view::npos;
        if (!ended) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        std::size_t width = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool last = i + 1 == line.size();
            const bool literal = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last);
            const std::string piece = literal ? std::string(1, static_cast<char>(c))
                                              : std::string{'=', hex[c >> 4], hex[c & 15]};
            // A soft break keeps every line at 76 characters with its "=".
            if (width + piece.size() > 75 && !(last && width + piece.size() <= 76)) {
                r += "=\r\n";
                width = 0;
            }
            r += piece;
            width += piece.size();
        }
        if (ended) r += crlf;
        start = end + (ended ? 2 : 0);
    }
    return r;
}

std::string mail_date(const std::tm& t, long offset) {
    static constexpr std::array<const char*, 7> days = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  days[static_cast<std::size_t>(std::clamp(t.tm_wday, 0, 6))], t.tm_mday,
                  months[static_cast<std::size_t>(std::clamp(t.tm_mon, 0, 11))], t.tm_year + 1900, t.tm_hour,
                  t.tm_min, t.tm_sec, offset < 0 ? '-' : '+', minutes / 60 % 100, minutes % 60);
    return text;
}

bool mail_settings_complete(std::string_view server, std::string_view port, std::string_view name,
                            std::string_view address) {
    return !server.empty() && !port.empty() && !name.empty() && !address.empty();
}

std::string without_trailing_empty_lines(std::string text) {
    while (text.ends_with("\r\n\r\n"))
        text.resize(text.size() - 2);
    return text;
}

std::string cheat_mail_message(const CaptionText& caption, const CheatMailValues& v) {
    const std::string count = std::to_string(v.game_count);
    return wrap_lines(caption(caption_slot::send_info_mail_greeting, {product_name, v.profile_name, count}),
                      70) +
           "\r\n" + caption(caption_slot::send_info_mail_body, {v.game_text, v.user_name, v.user_email}) +
           "\r\n" +
           caption(caption_slot::send_info_mail_signature, {product_name, product_version, v.home_page});
}

void add_game_files(CheatAttachments& list, const std::vector<GAMES2_FILES_TYPE>& files,
                    const std::string& files_folder, std::int64_t message_length) {
    for (const GAMES2_FILES_TYPE& f : files) {
        if (!ascii_lower_text(f.url).starts_with("file://")) continue;
        const std::optional<std::string> name = find_name_in_folder(files_folder, after_last_char(f.url, '/'));
        if (!name) continue;
        const std::string path = files_folder + *name;
        const std::int64_t size = file_size(path);
        if (!file_exists(path) || list.paths.size() >= cheat_attachments_max ||
            size + list.attached_bytes + message_length >= cheat_mail_bytes_max)
            continue;
        list.paths.push_back(path);
        list.attached_bytes += size;
    }
}

bool recipient_line_taken(std::string_view raw) {
    const std::string line = trim_controls(raw);
    const std::size_t at = line.find('@');
    const std::size_t dot = line.find('.');
    return line.size() >= 2 && line[0] != ';' && at != std::string::npos && at >= 1 && dot != std::string::npos &&
           dot >= 3;
}

RecipientHistory read_recipient_history(std::string_view file_text) {
    RecipientHistory h;
    for (const std::string& raw : split_lines(file_text)) {
        if (!recipient_line_taken(raw)) continue;
        const std::string address = trim_controls(raw);
        h.text += address + "\r\n";
        h.addresses.push_back(address);
    }
    return h;
}

std::optional<std::string> recipient_history_after_send(std::string_view history, std::string_view recipient) {
    if (history.find(recipient) != std::string_view::npos) return std::nullopt;
    return trim_blank(std::string(history) + std::string(recipient));
}

bool cheat_mail_ready(std::string_view recipient, std::string_view subject, std::string_view message) {
    return !only_blanks(recipient, " ") && !only_blanks(subject, " ") && !only_blanks(message, " \r\n");
}

int free_mail_status_caption(std::string_view subject, std::string_view message) {
    const bool has_subject = !only_blanks(subject, " ");
    const bool has_message = !only_blanks(message, " \r\n");
    if (has_subject && has_message) return caption_slot::mail_ready;
    if (!has_subject && !has_message) return caption_slot::mail_enter_subject_and_message;
    return has_subject ? caption_slot::mail_enter_message : caption_slot::mail_enter_subject;
}

std::vector<std::string> userfile_report_lines(std::string_view id, std::string_view language,
                                               std::string_view date_time, std::int64_t size) {
    return {"USER.DAT:",
            "=========",
            "Profile ID       = " + std::string(id),
            "Profile Language = " + std::string(language),
            "Date             = " + std::string(date_time),
            "File Size        = " + std::to_string(size)};
}

} // namespace tkv
