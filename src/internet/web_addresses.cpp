#include "internet/web_addresses.h"

#include <algorithm>
#include <array>

namespace tkv {

namespace {

constexpr std::array<std::string_view, 4> starts{"http://", "https://", "ftp://", "www."};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool starts_here(std::string_view text, std::size_t at, std::string_view start) {
    if (text.size() - at < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (lower(text[at + i]) != start[i]) return false;
    return true;
}

bool word_character(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           static_cast<unsigned char>(c) >= 0x80;
}

// What an address cannot follow: it would be the middle of a word, a mail address or a path.
bool joins_word(char c) {
    return word_character(c) || std::string_view("@._-/").find(c) != std::string_view::npos;
}

bool ends_address(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '<' || c == '>' || c == 0x7f;
}

bool closing_punctuation(char c) {
    return std::string_view(".,;:!?'").find(c) != std::string_view::npos;
}

// The address's end with sentence punctuation and unmatched closing brackets taken off.
std::size_t trimmed_end(std::string_view text, std::size_t begin, std::size_t end) {
    while (end > begin) {
        const char c = text[end - 1];
        if (closing_punctuation(c)) {
            --end;
            continue;
        }
        const std::size_t pair = std::string_view(")]}").find(c);
        if (pair == std::string_view::npos) break;
        const std::string_view part = text.substr(begin, end - begin);
        const char opening = "([{"[pair];
        if (std::count(part.begin(), part.end(), opening) >= std::count(part.begin(), part.end(), c)) break;
        --end;
    }
    return end;
}

} // namespace

std::vector<WebAddressAt> web_addresses(std::string_view text) {
    std::vector<WebAddressAt> found;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto start = std::find_if(starts.begin(), starts.end(),
                                        [&](std::string_view s) { return starts_here(text, at, s); });
        // An address starts a word: "xwww.a.b" or "shttp://" are no addresses.
        if (start == starts.end() || (at > 0 && joins_word(text[at - 1]))) {
            ++at;
            continue;
        }
        std::size_t end = at + start->size();
        while (end < text.size() && !ends_address(text[end]))
            ++end;
        end = trimmed_end(text, at, end);
        const std::size_t host = at + start->size();
        if (end > host && word_character(text[host])) {
            std::string address(text.substr(at, end - at));
            if (*start == "www.") address = "http://" + address;
            found.push_back({at, end, std::move(address)});
            at = end;
        } else {
            at = host;
        }
    }
    return found;
}

} // namespace tkv
