#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tkv {

// The lines of a text read as a text file: ended by CR LF, LF or a lone CR; a final line end
// does not start another line.
std::vector<std::string> split_lines(std::string_view s);

} // namespace tkv
