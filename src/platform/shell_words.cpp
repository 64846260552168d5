#include "platform/shell_words.h"

namespace tkv {

namespace {

// CR counts as a blank too: parameter texts are stored with CR LF line breaks.
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool escapable_in_double_quotes(char c) {
    return c == '\\' || c == '"' || c == '$' || c == '`' || c == '\n';
}

} // namespace

std::vector<std::string> split_shell_words(std::string_view parameters) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false; // "" is a word of its own, so emptiness cannot tell
    const std::size_t n = parameters.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = parameters[i];
        if (is_blank(c)) {
            if (in_word) words.push_back(std::move(word));
            word.clear();
            in_word = false;
            continue;
        }
        if (c == '\\' && i + 1 < n && parameters[i + 1] == '\n') {
            ++i; // a backslash before a line break joins the lines
            continue;
        }
        in_word = true;
        if (c == '\\') {
            word += i + 1 == n ? c : parameters[++i]; // a final backslash has nothing to escape
        } else if (c == '\'') {
            const std::size_t end = parameters.find('\'', i + 1);
            const std::size_t stop = end == std::string_view::npos ? n : end;
            word.append(parameters.substr(i + 1, stop - i - 1));
            i = stop;
        } else if (c == '"') {
            for (++i; i < n && parameters[i] != '"'; ++i) {
                if (parameters[i] == '\\' && i + 1 < n && escapable_in_double_quotes(parameters[i + 1])) {
                    if (parameters[++i] != '\n') word += parameters[i];
                } else {
                    word += parameters[i];
                }
            }
        } else {
            word += c;
        }
    }
    if (in_word) words.push_back(std::move(word));
    return words;
}

} // namespace tkv
