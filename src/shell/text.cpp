#include "shell/text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>

#include "shell/text_lines.h"

namespace tkv {

namespace {

bool same_folded(char a, char b) {
    return ascii_lower(a) == ascii_lower(b);
}

bool equal_folded(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same_folded);
}

template <class F> std::string map_bytes(std::string_view s, F f) {
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(f(static_cast<unsigned char>(c)));
    return r;
}

std::string before_pos(std::string_view s, std::size_t pos) {
    return pos == std::string_view::npos ? std::string() : std::string(s.substr(0, pos));
}

std::string after_pos(std::string_view s, std::size_t pos) {
    return pos == std::string_view::npos ? std::string() : std::string(s.substr(pos + 1));
}

// What the trim helpers remove: single spaces, whole CR LF pairs, or both.
enum Blank { spaces = 1, crlf = 2, both = 3 };

std::string_view strip_front(std::string_view s, Blank what) {
    for (;;) {
        if ((what & spaces) && s.starts_with(' '))
            s.remove_prefix(1);
        else if ((what & crlf) && s.starts_with("\r\n"))
            s.remove_prefix(2);
        else
            return s;
    }
}

std::string_view strip_back(std::string_view s, Blank what) {
    for (;;) {
        if ((what & spaces) && s.ends_with(' '))
            s.remove_suffix(1);
        else if ((what & crlf) && s.ends_with("\r\n"))
            s.remove_suffix(2);
        else
            return s;
    }
}

std::string strip(std::string_view s, Blank what) {
    return std::string(strip_front(strip_back(s, what), what));
}

using ByteTable = std::array<unsigned char, 256>;

// Every byte maps to itself except those in `from`, which map to the byte at the same place in `to`.
constexpr ByteTable byte_table(std::initializer_list<int> from, std::initializer_list<int> to) {
    ByteTable t{};
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = static_cast<unsigned char>(i);
    auto f = from.begin();
    for (int b : to)
        t[static_cast<std::size_t>(*f++)] = static_cast<unsigned char>(b);
    return t;
}

// Hungarian letters beyond ASCII: CWI-2 DOS codes first, then code page 1250.
constexpr ByteTable lower_table =
    byte_table({141, 143, 144, 149, 151, 152, 153, 154, 167, 193, 201, 205, 211, 213, 214, 218, 219, 220},
               {161, 160, 130, 162, 163, 150, 148, 129, 147, 225, 233, 237, 243, 245, 246, 250, 251, 252});
// 244 (o circumflex) has no capital of its own and becomes O double acute.
constexpr ByteTable upper_table = byte_table(
    {129, 130, 147, 148, 150, 160, 161, 162, 163, 225, 233, 237, 243, 244, 245, 246, 250, 251, 252},
    {154, 144, 167, 153, 152, 143, 141, 149, 151, 193, 201, 205, 211, 213, 213, 214, 218, 219, 220});
constexpr ByteTable ansi_to_dos_table = byte_table(
    {193, 201, 205, 211, 213, 214, 218, 219, 220, 225, 233, 237, 243, 244, 245, 246, 250, 251, 252},
    {143, 144, 141, 149, 167, 153, 151, 152, 154, 160, 130, 161, 162, 147, 147, 148, 163, 150, 129});
constexpr ByteTable dos_to_ansi_table =
    byte_table({143, 144, 141, 149, 167, 153, 151, 152, 154, 160, 130, 161, 162, 147, 148, 163, 150, 129},
               {193, 201, 205, 211, 213, 214, 218, 219, 220, 225, 233, 237, 243, 245, 246, 250, 251, 252});

} // namespace

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ascii_lower_text(std::string_view s) {
    return map_bytes(s, [](unsigned char c) { return ascii_lower(static_cast<char>(c)); });
}

bool same_start(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    return n > 0 && equal_folded(a.substr(0, n), b.substr(0, n));
}

bool same_end(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    return n > 0 && equal_folded(a.substr(a.size() - n), b.substr(b.size() - n));
}

std::size_t common_start_length(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end(), same_folded).first -
                                    a.begin());
}

std::string left_part(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, n));
}
std::string right_part(std::string_view s, std::size_t n) {
    return std::string(s.substr(s.size() - std::min(n, s.size())));
}
std::string without_first(std::string_view s, std::size_t n) {
    return std::string(s.substr(std::min(n, s.size())));
}
std::string without_last(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, s.size() - std::min(n, s.size())));
}

std::string before_char(std::string_view s, char c) {
    return before_pos(s, s.find(c));
}
std::string after_char(std::string_view s, char c) {
    return after_pos(s, s.find(c));
}
std::string before_last_char(std::string_view s, char c) {
    return before_pos(s, s.rfind(c));
}
std::string after_last_char(std::string_view s, char c) {
    return after_pos(s, s.rfind(c));
}

// An empty find stands nowhere, so it changes nothing.
std::string replace_first(std::string_view s, std::string_view find, std::string_view repl) {
    std::string r(s);
    std::size_t pos = find.empty() ? std::string::npos : r.find(find);
    if (pos != std::string::npos) r.replace(pos, find.size(), repl);
    return r;
}

std::string replace_each(std::string_view s, std::string_view find, std::string_view repl) {
    if (find.empty()) return std::string(s);
    std::string r;
    std::size_t from = 0;
    for (std::size_t pos; (pos = s.find(find, from)) != std::string_view::npos; from = pos + find.size()) {
        r.append(s.substr(from, pos - from));
        r.append(repl);
    }
    r.append(s.substr(from));
    return r;
}

// repl must not contain find, or this never ends (callers never pass such a pair).
std::string replace_until_gone(std::string_view s, std::string_view find, std::string_view repl) {
    std::string r(s);
    while (!find.empty() && r.find(find) != std::string::npos)
        r = replace_each(r, find, repl);
    return r;
}

std::string trim_spaces_left(std::string_view s) {
    return std::string(strip_front(s, spaces));
}
std::string trim_spaces_right(std::string_view s) {
    return std::string(strip_back(s, spaces));
}
std::string trim_spaces(std::string_view s) {
    return strip(s, spaces);
}
std::string trim_crlf_left(std::string_view s) {
    return std::string(strip_front(s, crlf));
}
std::string trim_crlf_right(std::string_view s) {
    return std::string(strip_back(s, crlf));
}
std::string trim_crlf(std::string_view s) {
    return strip(s, crlf);
}
std::string trim_blank_left(std::string_view s) {
    return std::string(strip_front(s, both));
}
std::string trim_blank_right(std::string_view s) {
    return std::string(strip_back(s, both));
}
std::string trim_blank(std::string_view s) {
    return strip(s, both);
}

std::string trim_controls(std::string_view s) {
    auto control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    auto first = std::find_if_not(s.begin(), s.end(), control);
    auto last = std::find_if_not(s.rbegin(), std::make_reverse_iterator(first), control).base();
    return std::string(first, last);
}

std::string without_control_characters(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) continue;
        if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(s[i + 1]) <= 0x9F) {
            ++i;
            continue;
        }
        r += s[i];
    }
    return r;
}

std::string lf_to_crlf(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) r += '\r';
        r += s[i];
    }
    return r;
}

namespace {

// Where a line without a space is cut: at `width`, or before an entity that the cut would split (after
// it when the line starts with it, so each round still takes something).
std::size_t hard_cut(std::string_view line, std::size_t width, bool keep_entities) {
    if (!keep_entities) return width;
    const std::size_t amp = line.rfind('&', width - 1);
    if (amp == std::string_view::npos) return width;
    std::size_t end = amp + 1;
    if (end < line.size() && line[end] == '#') ++end;
    while (end < line.size() && std::isalnum(static_cast<unsigned char>(line[end])))
        ++end;
    const bool entity = end > amp + 1 && end < line.size() && line[end] == ';';
    if (!entity || end < width) return width;
    return amp > 0 ? amp : end + 1;
}

} // namespace

std::string wrap_lines(std::string_view s, std::size_t width, bool keep_entities) {
    // At width 0 a line would be cut down to nothing and never get shorter. From width 1 on each round
    // takes at least one character (or a leading space that is then dropped), so 0 counts as 1.
    width = std::max<std::size_t>(width, 1);
    std::string r;
    for (const std::string& whole : split_lines(s)) {
        std::string_view line = whole;
        while (line.size() > width) {
            std::string_view piece = line;
            while (piece.size() > width) {
                const std::size_t space = piece.rfind(' ');
                if (space == std::string_view::npos) {
                    piece = line.substr(0, hard_cut(line, width, keep_entities));
                    break;
                }
                piece = piece.substr(0, space);
            }
            r.append(piece).append("\r\n");
            line.remove_prefix(piece.size());
            line = strip_front(line, spaces);
        }
        r.append(line).append("\r\n");
    }
    if (r.ends_with("\r\n")) r.resize(r.size() - 2);
    return r;
}

std::string clean_file_name(std::string_view s) {
    std::string r;
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 32 &&
            std::string_view("\"*/:<>?\\|").find(c) == std::string_view::npos)
            r += c;
    return trim_controls(r);
}

unsigned char lower_char(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : lower_table[c];
}
unsigned char upper_char(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : upper_table[c];
}
std::string lower_text(std::string_view s) {
    return map_bytes(s, lower_char);
}
std::string upper_text(std::string_view s) {
    return map_bytes(s, upper_char);
}

unsigned char ansi_to_dos(unsigned char c) {
    return ansi_to_dos_table[c];
}
unsigned char dos_to_ansi(unsigned char c) {
    return dos_to_ansi_table[c];
}
std::string ansi_to_dos_text(std::string_view s) {
    return map_bytes(s, ansi_to_dos);
}
std::string dos_to_ansi_text(std::string_view s) {
    return map_bytes(s, dos_to_ansi);
}

} // namespace tkv
