#include "search/text_fold.h"

#include <array>
#include <xapian.h>

namespace tkv {

namespace {

// Base letters of U+00C0..U+017F, which hold every letter of the Windows-1250 and -1252 code
// pages: '?' marks the letters that become two ('Æ' -> "AE"), '*' a character kept as it is.
constexpr std::string_view latin_bases = "AAAAAA?CEEEEIIIIDNOOOOO*OUUUUY??aaaaaa?ceeeeiiiidnooooo*ouuuuy?y"
                                         "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlL"
                                         "lLlNnNnNnnNnOoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

std::string_view two_letters(unsigned ch) {
    switch (ch) {
    case 0xC6:
        return "AE";
    case 0xDE:
        return "TH";
    case 0xDF:
        return "ss";
    case 0xE6:
        return "ae";
    case 0xFE:
        return "th";
    case 0x132:
        return "IJ";
    case 0x133:
        return "ij";
    case 0x152:
        return "OE";
    case 0x153:
        return "oe";
    default:
        return {};
    }
}

bool is_combining_mark(unsigned ch) {
    const auto category = Xapian::Unicode::get_category(ch);
    return category == Xapian::Unicode::NON_SPACING_MARK || category == Xapian::Unicode::ENCLOSING_MARK ||
           category == Xapian::Unicode::COMBINING_SPACING_MARK;
}

void append_folded(std::string& out, unsigned ch, bool lower) {
    if (is_combining_mark(ch)) return;
    if (ch >= 0xC0 && ch < 0xC0 + latin_bases.size()) {
        const char base = latin_bases[ch - 0xC0];
        if (base == '?') {
            for (char c : two_letters(ch))
                out += lower ? static_cast<char>(Xapian::Unicode::tolower(static_cast<unsigned char>(c))) : c;
            return;
        }
        if (base != '*') ch = static_cast<unsigned char>(base);
    }
    Xapian::Unicode::append_utf8(out, lower ? Xapian::Unicode::tolower(ch) : ch);
}

std::string fold(std::string_view utf8, bool lower) {
    std::string out;
    out.reserve(utf8.size());
    for (Xapian::Utf8Iterator it(utf8.data(), utf8.size()); it != Xapian::Utf8Iterator(); ++it)
        append_folded(out, *it, lower);
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
