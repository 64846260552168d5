#include "search/snippet.h"

#include <algorithm>
#include <vector>

namespace tkv {

namespace {

// The first matched word of the window with the most distinct matched terms.
std::size_t best_window(const std::vector<MatchedWord>& words, std::size_t length) {
    std::size_t best = words.size();
    std::size_t best_count = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].term.empty()) continue;
        std::vector<std::string_view> seen;
        for (std::size_t j = i; j < words.size() && words[j].end <= words[i].begin + length; ++j)
            if (!words[j].term.empty() && std::find(seen.begin(), seen.end(), words[j].term) == seen.end())
                seen.push_back(words[j].term);
        if (seen.size() > best_count) {
            best = i;
            best_count = seen.size();
        }
    }
    return best;
}

void append_blanked(std::string& out, std::string_view part) {
    for (char c : part) {
        const bool blank = static_cast<unsigned char>(c) <= ' ';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
}

} // namespace

std::string one_line(std::string_view text) {
    std::string out;
    append_blanked(out, text);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string make_snippet(std::string_view text, const QueryTerms& terms, const Xapian::Stem& stemmer,
                         std::size_t length) {
    const std::vector<MatchedWord> words = matched_words(text, terms, stemmer);
    if (words.empty()) return one_line(text.substr(0, length));
    std::size_t first = best_window(words, length);
    if (first == words.size()) first = 0;
    // A little of the text before the first match.
    const std::size_t anchor = words[first].begin;
    while (first > 0 && anchor - words[first - 1].begin <= length / 4)
        --first;
    const std::size_t start = first == 0 ? 0 : words[first].begin;
    std::string out = start > 0 ? "..." : "";
    std::size_t at = start;
    std::size_t last = first;
    for (std::size_t i = first; i < words.size() && (i == first || words[i].end <= start + length); ++i) {
        last = i;
        if (words[i].term.empty()) continue;
        append_blanked(out, text.substr(at, words[i].begin - at));
        (out += '[') += text.substr(words[i].begin, words[i].end - words[i].begin);
        out += ']';
        at = words[i].end;
    }
    const std::size_t cut = last + 1 == words.size() ? text.size() : words[last].end;
    append_blanked(out, text.substr(at, cut - at));
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (cut < text.size()) out += "...";
    return out;
}

} // namespace tkv
