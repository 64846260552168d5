#pragma once
// A typed query made into a Xapian query. Any text gives a query: what the parser refuses is
// searched as its plain words.

#include <set>
#include <string>
#include <string_view>
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
