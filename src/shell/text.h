#pragma once
// Text helpers shared by the whole program. Texts are byte strings of single-byte
// characters, kept exactly as read; line breaks are CR LF.

#include <cstddef>
#include <string>
#include <string_view>

namespace tkv {

// Comparison. These fold only A..Z; the program's own case tables are lower_char/upper_char.
bool same_start(std::string_view a, std::string_view b);
bool same_end(std::string_view a, std::string_view b);
std::size_t common_start_length(std::string_view a, std::string_view b);
char ascii_lower(char c);
std::string ascii_lower_text(std::string_view s);

// Cutting and replacing. Counts larger than the text are clamped.
std::string left_part(std::string_view s, std::size_t n);
std::string right_part(std::string_view s, std::size_t n);
std::string without_first(std::string_view s, std::size_t n);
std::string without_last(std::string_view s, std::size_t n);
std::string before_char(std::string_view s, char c);
std::string after_char(std::string_view s, char c);
std::string before_last_char(std::string_view s, char c);
std::string after_last_char(std::string_view s, char c);
std::string replace_first(std::string_view s, std::string_view find, std::string_view repl);
std::string replace_each(std::string_view s, std::string_view find, std::string_view repl);
std::string replace_until_gone(std::string_view s, std::string_view find, std::string_view repl);
std::string trim_spaces_left(std::string_view s);
std::string trim_spaces_right(std::string_view s);
std::string trim_spaces(std::string_view s);
std::string trim_crlf_left(std::string_view s);
std::string trim_crlf_right(std::string_view s);
std::string trim_crlf(std::string_view s);
std::string trim_blank_left(std::string_view s);
std::string trim_blank_right(std::string_view s);
std::string trim_blank(std::string_view s);
// Removes leading and trailing bytes with codes 0..32 (the configuration reader's trim).
std::string trim_controls(std::string_view s);
// A UTF-8 text without C0 controls, DEL and C1 controls: safe to show on a terminal.
std::string without_control_characters(std::string_view s);
std::string lf_to_crlf(std::string_view s);
// Breaks each line at its last space before `width`, or at `width` when it has none. With
// `keep_entities` a cut never falls inside an HTML entity such as "&amp;": it moves before it.
std::string wrap_lines(std::string_view s, std::size_t width, bool keep_entities = false);
std::string clean_file_name(std::string_view s);

// The program's own letter-case tables (ASCII, CWI-2 Hungarian DOS letters, code page 1250 letters).
unsigned char lower_char(unsigned char c);
unsigned char upper_char(unsigned char c);
std::string lower_text(std::string_view s);
std::string upper_text(std::string_view s);

// Hungarian letters between code page 1250 and the DOS code page (plain-text export).
unsigned char ansi_to_dos(unsigned char c);
unsigned char dos_to_ansi(unsigned char c);
std::string ansi_to_dos_text(std::string_view s);
std::string dos_to_ansi_text(std::string_view s);

} // namespace tkv
