#pragma once
// A typed query made into a Xapian query. Any text gives a query: what the parser refuses is
// searched as its plain words.

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>
#include <xapian.h>

namespace tkv {

// The words a hit's snippet marks: a text word matches when it folds to an exact term, stems to a
// stemmed term, or begins with a prefix typed with '*'.
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

struct ParsedQuery {
    Xapian::Query query; // empty when the text holds no word
    QueryTerms terms;
    std::string corrected; // the query with its words' spelling corrected; empty when none was found
};

// Phrases ("water temple"), prefixes (temp*), +word, -word, AND, OR, NOT in capitals; the words
// joined by default_op. Accents and letter case are folded as the index folds them. Spelling
// corrections need an index that holds spelling data.
ParsedQuery parse_query(const Xapian::Database& index, const Xapian::Stem& stemmer, std::string_view typed,
                        Xapian::Query::op default_op, bool spelling);

} // namespace tkv
