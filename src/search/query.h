#pragma once
// A typed query read into its parts, and made into the match expression of the index. Any text
// gives a query: what cannot be read as an operator is searched as plain words.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>
#include <xapian.h>

namespace tkv {

// The words a hit's snippet marks: a text word matches when it folds to an exact term, stems to a
// stemmed term, or begins with a prefix.
struct QueryTerms {
    std::set<std::string> exact;
    std::set<std::string> stems;
    std::set<std::string> prefixes;
    bool empty() const { return exact.empty() && stems.empty() && prefixes.empty(); }
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
std::vector<MatchedWord> matched_words(std::string_view text, const QueryTerms& terms,
                                       const Xapian::Stem& stemmer);

struct QueryItem {
    enum class Kind {
        word,    // the word and the words of its stem
        partial, // the last word typed, still being typed: also every word it begins
        prefix,  // typed with '*' after it: every word it begins
        phrase,  // "water temple": these words in this order, exactly
    };
    Kind kind = Kind::word;
    std::vector<std::string> words; // folded; one but for a phrase
    bool excluded = false;          // -word, NOT word
    bool or_previous = false;       // word OR word: either of the two will do
    bool operator==(const QueryItem&) const = default;
};

struct TypedQuery {
    std::vector<QueryItem> items;
    QueryTerms terms;
    bool empty() const { return items.empty(); }
};

// The last word of a query is taken as the beginning of a word once it has this many letters.
inline constexpr std::size_t partial_word_letters = 3;
// At most this many different parts of a query are searched; the rest are dropped.
inline constexpr std::size_t query_items_max = 32;

// Phrases ("water temple", a quote left open runs to the end), prefixes (temp*), +word, -word, and
// AND, OR, NOT typed in capitals; other punctuation separates words. Accents and letter case are
// folded as the index folds them. The last word, when nothing follows it and it is not quoted,
// also matches the words it begins ("pepp" finds "pepperoni").
TypedQuery parse_query(std::string_view typed, const Xapian::Stem& stemmer);

// The other words of the index with the stem of a word (the stemmer's siblings of "jumping":
// "jump", "jumps"); empty without a stemmer.
using StemSiblings = std::function<std::vector<std::string>(const std::string& word)>;

// The full-text match expression of the query: every part wanted when all_words, else any of
// them; excluded parts never. Empty when nothing is left to search for.
std::string match_expression(const TypedQuery& query, bool all_words, const StemSiblings& siblings);

// The words a query searches for that a speller may correct: plain and partial words not excluded.
std::vector<std::string> correctable_words(const TypedQuery& query);

} // namespace tkv
