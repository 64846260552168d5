#include "shell/letter_base.h"

namespace tkv {

namespace {

// U+00C0..U+017F by base letter: '?' marks the letters that become two, ' ' the two signs.
constexpr std::string_view latin_bases = "AAAAAA?CEEEEIIIIDNOOOOO OUUUUY??aaaaaa?ceeeeiiiidnooooo ouuuuy?y"
                                         "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlL"
                                         "lLlNnNnNnnNnOoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(latin_bases.size() == 0x180 - 0xC0);

std::string_view two_letters(char32_t ch) {
    switch (ch) {
    case 0xC6: return "AE";
    case 0xDE: return "TH";
    case 0xDF: return "ss";
    case 0xE6: return "ae";
    case 0xFE: return "th";
    case 0x132: return "IJ";
    case 0x133: return "ij";
    case 0x152: return "OE";
    case 0x153: return "oe";
    default: return {};
    }
}

} // namespace

std::string_view latin_letter_base(char32_t ch) {
    if (ch < 0xC0 || ch >= 0x180) return {};
    const std::size_t i = ch - 0xC0;
    if (latin_bases[i] == '?') return two_letters(ch);
    if (latin_bases[i] == ' ') return {};
    return latin_bases.substr(i, 1);
}

} // namespace tkv
