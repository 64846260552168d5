#include "internet/mail_reading.h"

#include "platform/base64.h"

#include "shell/codepage.h"
#include "shell/text.h"

#include <utility>

namespace tkv {

namespace {

constexpr std::string_view blanks = " \t";

// The line starting at pos without its CR LF or LF; pos moves past the line break.
std::string_view next_line(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t end = text.find('\n', start);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    return text.substr(start, end - start);
}

std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Where the colon of a header field line is, or npos: a name of printable ASCII, then the colon.
std::size_t field_colon(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] > ' ' && line[i] < 0x7F && line[i] != ':')
        ++i;
    if (i == 0) return std::string_view::npos;
    const std::size_t colon = line.find_first_not_of(blanks, i);
    return colon != std::string_view::npos && line[colon] == ':' ? colon : std::string_view::npos;
}

struct Field {
    std::string name; // lower case
    std::string value;
};

struct Entity {
    std::vector<Field> fields;
    std::string_view body;
    bool blank_line = false; // whether a blank line ended the header

    std::string_view field(std::string_view name) const {
        for (const Field& f : fields)
            if (f.name == name) return f.value;
        return {};
    }
};

// The header lines unfolded, up to the first blank line; the rest is the body. Lines that are
// neither fields nor their continuations are passed over.
Entity split_entity(std::string_view text) {
    Entity e;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::string_view line = next_line(text, pos);
        if (line.empty()) {
            e.blank_line = true;
            e.body = text.substr(pos);
            return e;
        }
        if (line[0] == ' ' || line[0] == '\t') {
            if (!e.fields.empty()) e.fields.back().value += line;
            continue;
        }
        const std::size_t colon = field_colon(line);
        if (colon == std::string_view::npos) continue;
        e.fields.push_back(
            {ascii_lower_text(trimmed(line.substr(0, colon))), std::string(line.substr(colon + 1))});
    }
    return e;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "=XX" (quoted-printable, RFC 2047 "Q") or "%XX" (RFC 2231) escapes decoded; an escape character
// without two hex digits stays as written.
std::string unescaped(std::string_view s, char escape, bool underscore_is_space) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == escape && s.size() - i >= 3 && hex_value(s[i + 1]) >= 0 && hex_value(s[i + 2]) >= 0) {
            r += static_cast<char>(hex_value(s[i + 1]) * 16 + hex_value(s[i + 2]));
            i += 2;
        } else {
            r += underscore_is_space && s[i] == '_' ? ' ' : s[i];
        }
    }
    return r;
}

std::string quoted_printable_decoded(std::string_view s) {
    std::string r;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t start = pos;
        std::string_view line = next_line(s, pos);
        const std::string_view line_break = s.substr(start + line.size(), pos - start - line.size());
        // Spaces at the end of a line were added on the way; "=" at the end is a soft break.
        line = line.substr(0, line.find_last_not_of(blanks) + 1);
        const bool soft = line.ends_with('=');
        r += unescaped(soft ? line.substr(0, line.size() - 1) : line, '=', false);
        if (!soft) r += line_break;
    }
    return r;
}

std::optional<std::string> charset_to_utf8(std::string_view charset, std::string bytes) {
    std::string name = ascii_lower_text(charset.substr(0, charset.find('*'))); // RFC 2231 language cut
    if (name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii") return bytes;
    if (name == "iso-8859-1" || name == "latin1" || name == "windows-1252" || name == "cp1252")
        return to_utf8(bytes, CodePage::windows_1252);
    if (name == "iso-8859-2" || name == "latin2" || name == "windows-1250" || name == "cp1250")
        return to_utf8(bytes, CodePage::windows_1250);
    return std::nullopt;
}

// The RFC 2047 word "=?charset?B|Q?text?=" starting at pos: its UTF-8 text and where it ends.
std::optional<std::pair<std::string, std::size_t>> encoded_word_at(std::string_view s, std::size_t pos) {
    const std::size_t charset_end = s.find('?', pos + 2);
    if (charset_end == std::string_view::npos || charset_end == pos + 2 || charset_end + 2 >= s.size() ||
        s[charset_end + 2] != '?')
        return std::nullopt;
    const std::size_t text_end = s.find('?', charset_end + 3);
    if (text_end == std::string_view::npos || text_end + 1 >= s.size() || s[text_end + 1] != '=')
        return std::nullopt;
    const std::string_view text = s.substr(charset_end + 3, text_end - charset_end - 3);
    std::optional<std::string> bytes;
    switch (s[charset_end + 1]) {
    case 'B':
    case 'b':
        bytes = base64_decode(text);
        break;
    case 'Q':
    case 'q':
        bytes = unescaped(text, '=', true);
        break;
    default:
        return std::nullopt;
    }
    if (!bytes) return std::nullopt;
    std::optional<std::string> utf8 =
        charset_to_utf8(s.substr(pos + 2, charset_end - pos - 2), std::move(*bytes));
    if (!utf8) return std::nullopt;
    return std::pair{std::move(*utf8), text_end + 2};
}

// A header text with its RFC 2047 words decoded; white space between two words goes, and a word
// that cannot be decoded stays as written.
std::string words_decoded(std::string_view s) {
    std::string r;
    std::size_t last_word_end = std::string::npos; // in r
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '=' && i + 1 < s.size() && s[i + 1] == '?') {
            if (auto word = encoded_word_at(s, i)) {
                if (last_word_end != std::string::npos &&
                    r.find_first_not_of(blanks, last_word_end) == std::string::npos)
                    r.resize(last_word_end);
                r += word->first;
                last_word_end = r.size();
                i = word->second;
                continue;
            }
        }
        r += s[i++];
    }
    return r;
}

// "type/subtype; name=value; name="quoted value"": the first item in lower case and the parameters.
struct StructuredValue {
    std::string item;
    std::vector<std::pair<std::string, std::string>> parameters; // names in lower case

    const std::string* parameter(std::string_view name) const {
        for (const auto& [n, v] : parameters)
            if (n == name) return &v;
        return nullptr;
    }
};

StructuredValue structured_value(std::string_view s) {
    StructuredValue v;
    std::size_t i = std::min(s.find(';'), s.size());
    v.item = ascii_lower_text(trimmed(s.substr(0, i)));
    while (i < s.size()) {
        ++i; // the ';'
        const std::size_t name_end = std::min(s.find_first_of("=;", i), s.size());
        std::string name = ascii_lower_text(trimmed(s.substr(i, name_end - i)));
        i = name_end;
        if (i == s.size() || s[i] == ';') continue;
        i = std::min(s.find_first_not_of(blanks, i + 1), s.size());
        std::string value;
        if (i < s.size() && s[i] == '"') {
            for (++i; i < s.size() && s[i] != '"'; ++i) {
                if (s[i] == '\\' && i + 1 < s.size()) ++i;
                value += s[i];
            }
            i = std::min(s.find(';', i), s.size());
        } else {
            const std::size_t end = std::min(s.find(';', i), s.size());
            value = trimmed(s.substr(i, end - i));
            i = end;
        }
        if (!name.empty()) v.parameters.emplace_back(std::move(name), std::move(value));
    }
    return v;
}

// A file name parameter: RFC 2231 "name*=charset'language'%XX" before plain "name=".
std::optional<std::string> file_name_parameter(const StructuredValue& v, const std::string& name) {
    if (const std::string* extended = v.parameter(name + "*")) {
        const std::size_t charset_end = extended->find('\'');
        const std::size_t language_end =
            charset_end == std::string::npos ? std::string::npos : extended->find('\'', charset_end + 1);
        if (language_end != std::string::npos)
            if (auto utf8 = charset_to_utf8(
                    std::string_view(*extended).substr(0, charset_end),
                    unescaped(std::string_view(*extended).substr(language_end + 1), '%', false)))
                return utf8;
    }
    if (const std::string* plain = v.parameter(name)) return words_decoded(*plain);
    return std::nullopt;
}

// The name under which an attachment may be saved: no control characters and no folders.
std::string attachment_name(std::string_view raw, std::size_t number) {
    std::string name = trim_spaces(without_control_characters(raw));
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = trim_spaces(std::string_view(name).substr(slash + 1));
    if (name.empty() || name == "." || name == "..") name = "attachment-" + std::to_string(number);
    return name;
}

struct Decoded {
    std::optional<std::string> bytes;
    std::string problem; // what is wrong when bytes is empty, to follow "has"
};

Decoded transfer_decoded(std::string_view encoding_field, std::string_view body) {
    const std::string encoding = ascii_lower_text(trimmed(encoding_field));
    if (encoding == "base64") {
        std::optional<std::string> bytes = base64_decode(body);
        if (!bytes) return {std::nullopt, "broken Base64 encoding"};
        return {std::move(bytes), {}};
    }
    if (encoding == "quoted-printable") return {quoted_printable_decoded(body), {}};
    if (encoding.empty() || encoding == "7bit" || encoding == "8bit" || encoding == "binary")
        return {std::string(body), {}};
    return {std::nullopt, "the unknown transfer encoding \"" + without_control_characters(encoding) + "\""};
}

class Reader {
  public:
    ReceivedMail mail;
    std::string error;

    bool read_entity(const Entity& e, std::string_view default_type, std::size_t depth) {
        const StructuredValue type = structured_value(e.field("content-type"));
        const std::string_view item = type.item.find('/') == std::string::npos ? default_type : type.item;
        if (item.starts_with("multipart/")) {
            const std::string* boundary = type.parameter("boundary");
            return read_multipart(e.body, boundary ? *boundary : std::string(),
                                  item == "multipart/digest" ? "message/rfc822" : "text/plain", depth);
        }
        const std::string_view encoding = e.field("content-transfer-encoding");
        if (item == "message/rfc822") {
            if (!enter(depth)) return false;
            const Decoded inner = transfer_decoded(encoding, e.body);
            if (!inner.bytes) return fail("A forwarded message in the mail has " + inner.problem + ".");
            return read_entity(split_entity(*inner.bytes), "text/plain", depth + 1);
        }
        const StructuredValue disposition = structured_value(e.field("content-disposition"));
        std::optional<std::string> name = file_name_parameter(disposition, "filename");
        if (!name) name = file_name_parameter(type, "name");
        if (!name && disposition.item != "attachment") return true;
        MailAttachment a;
        a.file_name = attachment_name(name.value_or(""), mail.attachments.size() + 1);
        Decoded bytes = transfer_decoded(encoding, e.body);
        if (!bytes.bytes) return fail("The attachment \"" + a.file_name + "\" has " + bytes.problem + ".");
        a.bytes = std::move(*bytes.bytes);
        mail.attachments.push_back(std::move(a));
        return true;
    }

  private:
    std::size_t parts_ = 0;

    bool fail(std::string message) {
        error = std::move(message);
        return false;
    }

    bool enter(std::size_t depth) {
        return depth < mail_nesting_max ||
               fail("The message nests parts more than " + std::to_string(mail_nesting_max) + " deep.");
    }

    // Each part runs from after its boundary line to the line break before the next one; the
    // closing boundary ends the last part, and what follows it is not read.
    bool read_multipart(std::string_view body, const std::string& boundary, std::string_view part_type,
                        std::size_t depth) {
        if (!enter(depth)) return false;
        if (boundary.empty()) return fail("The message has a multipart part without its boundary.");
        const std::string delimiter = "--" + boundary;
        std::optional<std::size_t> part_start;
        std::size_t pos = 0;
        while (pos < body.size()) {
            const std::size_t line_start = pos;
            const std::string_view line = next_line(body, pos);
            if (!line.starts_with(delimiter)) continue;
            std::string_view rest = line.substr(delimiter.size());
            const bool closing = rest.starts_with("--");
            if (closing) rest.remove_prefix(2);
            if (rest.find_first_not_of(blanks) != std::string_view::npos) continue;
            if (part_start) {
                std::size_t end = line_start;
                if (end > *part_start && body[end - 1] == '\n') --end;
                if (end > *part_start && body[end - 1] == '\r') --end;
                if (++parts_ > mail_parts_max)
                    return fail("The message has more than " + std::to_string(mail_parts_max) + " parts.");
                if (!read_entity(split_entity(body.substr(*part_start, end - *part_start)), part_type,
                                 depth + 1))
                    return false;
            }
            if (closing) return true;
            part_start = pos;
        }
        return fail("The message is cut short: a multipart part has no closing boundary.");
    }
};

} // namespace

MailRead read_mail(std::string_view text) {
    // A message taken from a mailbox file may keep the mailbox's "From " separator line.
    std::size_t pos = 0;
    if (text.starts_with("From ")) next_line(text, pos);
    const std::string_view message = text.substr(pos);
    std::size_t first_end = 0;
    if (field_colon(next_line(message, first_end)) == std::string_view::npos)
        return {std::nullopt, "This is not an e-mail message: it does not start with a header."};
    const Entity top = split_entity(message);
    if (!top.blank_line)
        return {std::nullopt, "This is not an e-mail message: its header is not followed by a blank line."};
    Reader reader;
    if (!reader.read_entity(top, "text/plain", 0)) return {std::nullopt, reader.error};
    reader.mail.from = without_control_characters(trimmed(words_decoded(top.field("from"))));
    return {std::move(reader.mail), {}};
}

} // namespace tkv
