#include "search/text_highlight.h"

#include "search/stemmer.h"
#include "search/text_fold.h"

#include <unordered_map>

namespace tkv {

namespace {

// The typed words folded, each marking the words it begins and, through the stemmer, the words of
// the same stem.
QueryTerms as_you_type_terms(std::string_view typed, const Xapian::Stem& stemmer) {
    QueryTerms terms;
    const std::string folded = fold_word(typed);
    std::string word;
    const auto end_word = [&] {
        if (word.empty()) return;
        if (!stemmer.is_none()) terms.stems.insert(stemmer(word));
        terms.prefixes.insert(std::move(word));
        word.clear();
    };
    for (Xapian::Utf8Iterator it(folded.data(), folded.size()); it != Xapian::Utf8Iterator(); ++it) {
        if (Xapian::Unicode::is_wordchar(*it))
            Xapian::Unicode::append_utf8(word, *it);
        else
            end_word();
    }
    end_word();
    return terms;
}

} // namespace

std::vector<MatchedWord> matched_words(std::string_view text, const QueryTerms& terms, const Xapian::Stem& stemmer) {
    std::vector<MatchedWord> words;
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
        MatchedWord w;
        w.begin = static_cast<std::size_t>(it.raw() - text.data());
        while (it != end && Xapian::Unicode::is_wordchar(*it))
            ++it;
        w.end = it == end ? text.size() : static_cast<std::size_t>(it.raw() - text.data());
        w.term = match(fold_word(text.substr(w.begin, w.end - w.begin)));
        words.push_back(std::move(w));
    }
    return words;
}

TextHighlighter::TextHighlighter(std::string_view language, std::string_view typed, Typed how)
    : stemmer_(stemmer_for_language(language)) {
    if (how == Typed::as_you_type)
        terms_ = as_you_type_terms(typed, stemmer_);
    else // no index: the query's own words, nothing expanded or corrected from one
        terms_ = parse_query(Xapian::Database(), stemmer_, typed, Xapian::Query::OP_AND, false).terms;
}

std::vector<TextRange> TextHighlighter::ranges(std::string_view utf8_text) const {
    std::vector<TextRange> out;
    if (empty()) return out;
    for (const MatchedWord& w : matched_words(utf8_text, terms_, stemmer_))
        if (!w.term.empty()) out.push_back({w.begin, w.end});
    return out;
}

std::vector<TextRange> utf16_ranges(std::string_view utf8_text, std::span<const TextRange> byte_ranges) {
    std::vector<TextRange> out;
    out.reserve(byte_ranges.size());
    const Xapian::Utf8Iterator end;
    Xapian::Utf8Iterator it(utf8_text.data(), utf8_text.size());
    std::size_t units = 0;
    // The UTF-16 position of a byte offset at or after the last one asked for.
    const auto position = [&](std::size_t offset) {
        while (it != end && static_cast<std::size_t>(it.raw() - utf8_text.data()) < offset) {
            units += *it >= 0x10000 ? 2 : 1;
            ++it;
        }
        return units;
    };
    for (const TextRange& r : byte_ranges) {
        const std::size_t begin = position(r.begin);
        out.push_back({begin, position(r.end)});
    }
    return out;
}

} // namespace tkv
