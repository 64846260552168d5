#include "search/text_fold.h"

#include "shell/letter_base.h"

#include <array>
#include <xapian.h>

namespace tkv {

namespace {

bool is_combining_mark(unsigned ch) {
    const auto category = Xapian::Unicode::get_category(ch);
    return category == Xapian::Unicode::NON_SPACING_MARK || category == Xapian::Unicode::ENCLOSING_MARK ||
           category == Xapian::Unicode::COMBINING_SPACING_MARK;
}

void append_folded(std::string& out, unsigned ch, bool lower) {
    if (is_combining_mark(ch)) return;
    const std::string_view base = latin_letter_base(ch);
    if (base.empty()) return Xapian::Unicode::append_utf8(out, lower ? Xapian::Unicode::tolower(ch) : ch);
    for (const char c : base)
        out += lower ? static_cast<char>(Xapian::Unicode::tolower(static_cast<unsigned char>(c))) : c;
}

std::string fold(std::string_view utf8, bool lower) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[at]);
        if (c < 0x80) { // most texts are plain ASCII: no decoding for it
            out += static_cast<char>(lower && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            ++at;
            continue;
        }
        Xapian::Utf8Iterator it(utf8.data() + at, utf8.size() - at);
        append_folded(out, *it, lower);
        ++it;
        at = utf8.size() - it.left();
    }
    return out;
}

bool is_operator(std::string_view word) {
    static constexpr std::array operators{"AND", "OR", "NOT", "XOR", "NEAR", "ADJ"};
    for (std::string_view op : operators)
        if (word == op || (word.starts_with(op) && word.size() > op.size() && word[op.size()] == '/'))
            return true;
    return false;
}

} // namespace

std::string fold_accents(std::string_view utf8) {
    return fold(utf8, false);
}

std::string fold_word(std::string_view utf8) {
    return fold(utf8, true);
}

std::string fold_query(std::string_view utf8) {
    const std::string accentless = fold_accents(utf8);
    std::string out;
    out.reserve(accentless.size());
    std::size_t start = 0;
    while (start < accentless.size()) {
        std::size_t end = accentless.find(' ', start);
        if (end == std::string::npos) end = accentless.size();
        const std::string_view word = std::string_view(accentless).substr(start, end - start);
        out += is_operator(word) ? std::string(word) : fold_word(word);
        if (end < accentless.size()) out += ' ';
        start = end + 1;
    }
    return out;
}

} // namespace tkv
