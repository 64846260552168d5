#include "search/snippet.h"

#include "search/text_fold.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace tkv {

namespace {

struct Word {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string term; // the query term it matched; empty when none
};

// The words of the text with the query term each one matches.
std::vector<Word> matched_words(std::string_view text, const QueryTerms& terms, const Xapian::Stem& stemmer) {
    std::vector<Word> words;
    std::unordered_map<std::string, std::string> matches; // folded word -> term ("" for none)
    const auto match = [&](const std::string& folded) -> const std::string& {
        auto [it, fresh] = matches.try_emplace(folded);
        if (!fresh) return it->second;
        if (terms.exact.contains(folded)) {
            it->second = folded;
        } else if (!terms.stems.empty() &&
                   terms.stems.contains(stemmer.is_none() ? folded : stemmer(folded))) {
            it->second = stemmer.is_none() ? folded : stemmer(folded);
        } else {
            for (const std::string& prefix : terms.prefixes)
                if (folded.starts_with(prefix)) it->second = prefix;
        }
        return it->second;
    };
    const Xapian::Utf8Iterator end;
    Xapian::Utf8Iterator it(text.data(), text.size());
    while (it != end) {
        if (!Xapian::Unicode::is_wordchar(*it)) {
            ++it;
            continue;
        }
        Word w;
        w.begin = static_cast<std::size_t>(it.raw() - text.data());
        while (it != end && Xapian::Unicode::is_wordchar(*it))
            ++it;
        w.end = it == end ? text.size() : static_cast<std::size_t>(it.raw() - text.data());
        w.term = match(fold_word(text.substr(w.begin, w.end - w.begin)));
        words.push_back(std::move(w));
    }
    return words;
}

// The first matched word of the window with the most distinct matched terms.
std::size_t best_window(const std::vector<Word>& words, std::size_t length) {
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
    const std::vector<Word> words = matched_words(text, terms, stemmer);
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
