#pragma once
// The base letters of the accented Latin letters the profiles' code pages hold, so that searches
// can ignore accents: "é" is "e", "Æ" is "AE", "ß" is "ss".

#include <string_view>

namespace tkv {

// The letters of U+00C0..U+017F without their accents, in the character's letter case; empty for
// every other character, and for the signs × and ÷ in that block.
std::string_view latin_letter_base(char32_t ch);

} // namespace tkv
