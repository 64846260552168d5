#include "shell/text_lines.h"

namespace tkv {

std::vector<std::string> split_lines(std::string_view s) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\r' && s[i] != '\n') continue;
        lines.emplace_back(s.substr(start, i - start));
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < s.size()) lines.emplace_back(s.substr(start));
    return lines;
}

} // namespace tkv
