#pragma once
// The words of a text that a search marks: the search window's snippets, the information window's
// highlights of a full-text query and of its find-as-you-type all follow one rule.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>
#include <xapian.h>

#include "search/query.h"

namespace tkv {

// [begin, end) in a text: bytes of UTF-8, or UTF-16 code units after utf16_ranges.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const TextRange&) const = default;
};

// A word of a text and the query term it matched; term is empty when it matched none.
struct MatchedWord {
    std::size_t begin = 0; // bytes
    std::size_t end = 0;
    std::string term;
};

// The words of the UTF-8 text, each with the term it matches: a word matches when it folds to an
// exact term, stems to a stemmed term, or begins with a prefix. Bytes that are not UTF-8 are read
// as Latin-1 characters.
std::vector<MatchedWord> matched_words(std::string_view text, const QueryTerms& terms, const Xapian::Stem& stemmer);

class TextHighlighter {
  public:
    enum class Typed {
        full_text_query, // as in the search window: its words, stems and prefixes (temp*)
        as_you_type,     // every word also matches as a word's beginning: "temp" marks "temple"
    };
    // language: the profile's language name in UTF-8, which chooses the stemmer.
    TextHighlighter(std::string_view language, std::string_view typed, Typed how);

    // True when the typed text holds no word: nothing is marked.
    bool empty() const { return terms_.empty(); }
    // The matching words of the UTF-8 text, in order.
    std::vector<TextRange> ranges(std::string_view utf8_text) const;

  private:
    Xapian::Stem stemmer_;
    QueryTerms terms_;
};

// The byte ranges of a UTF-8 text (in order, not overlapping, on character boundaries) as UTF-16
// positions, as a QString or a text cursor counts them. Bytes that are not UTF-8 count as one
// character each.
std::vector<TextRange> utf16_ranges(std::string_view utf8_text, std::span<const TextRange> byte_ranges);

} // namespace tkv
