#pragma once
// Texts are kept as the single-byte bytes of their file; they become UTF-8 only to be shown.
// Central European languages use Windows-1250, all others Windows-1252.

#include <string>
#include <string_view>
#include <vector>

namespace tkv {

enum class CodePage { windows_1250, windows_1252 };

// The code page of a profile or language file, from its language name (English or native).
CodePage code_page_for_language(std::string_view language);

// Bytes the code page does not define become U+FFFD.
std::string to_utf8(std::string_view bytes, CodePage cp);
// Characters the code page cannot hold become "?"; invalid UTF-8 bytes too.
std::string from_utf8(std::string_view utf8, CodePage cp);

// The characters of a UTF-8 text that the code page cannot hold (the ones from_utf8 would turn
// into "?"), each once, in the order they first occur. Empty when the whole text can be stored.
std::vector<std::string> characters_not_in(std::string_view utf8, CodePage cp);
// Such characters for a message: each followed by its code point, "ł (U+0142), ✓ (U+2713)".
std::string character_list(const std::vector<std::string>& characters);

} // namespace tkv
