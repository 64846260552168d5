#pragma once
// A game's parameter text becomes the argument list of its program, split the way a POSIX shell
// splits words: the user may quote a path with spaces as they would in a terminal.

#include <string>
#include <string_view>
#include <vector>

namespace tkv {

// Blanks separate words; '...' is literal; "..." keeps blanks and lets a backslash escape
// \ " $ ` and a line break; outside quotes a backslash escapes any character. Nothing is
// expanded. An unterminated quote runs to the end of the text.
std::vector<std::string> split_shell_words(std::string_view parameters);

} // namespace tkv
