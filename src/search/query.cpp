#include "search/query.h"

#include "search/text_fold.h"

#include <unordered_map>
#include <vector>

namespace tkv {

namespace {

constexpr unsigned parser_flags = Xapian::QueryParser::FLAG_PHRASE | Xapian::QueryParser::FLAG_BOOLEAN |
                                  Xapian::QueryParser::FLAG_LOVEHATE | Xapian::QueryParser::FLAG_WILDCARD;
// Broad prefixes ("a*") expand to the most frequent words only, so that they stay fast.
constexpr Xapian::termcount wildcard_expansion = 200;

// The words of the folded query, and those typed with a '*' after them.
void split_words(std::string_view folded, std::vector<std::string>& words, std::set<std::string>& prefixes) {
    std::string word;
    const auto end_word = [&](bool star) {
        if (word.empty()) return;
        if (star) prefixes.insert(fold_word(word));
        words.push_back(fold_word(word));
        word.clear();
    };
    for (Xapian::Utf8Iterator it(folded.data(), folded.size()); it != Xapian::Utf8Iterator(); ++it) {
        if (Xapian::Unicode::is_wordchar(*it))
            Xapian::Unicode::append_utf8(word, *it);
        else
            end_word(*it == '*');
    }
    end_word(false);
}

// The query of the plain words, each stemmed as the parser stems them, when the parser refuses
// the text.
Xapian::Query plain_query(const std::vector<std::string>& words, const Xapian::Stem& stemmer,
                          Xapian::Query::op default_op) {
    std::vector<Xapian::Query> parts;
    for (const std::string& w : words)
        parts.emplace_back(stemmer.is_none() ? w : "Z" + stemmer(w));
    return parts.empty() ? Xapian::Query() : Xapian::Query(default_op, parts.begin(), parts.end());
}

QueryTerms terms_of(const Xapian::Query& query, std::set<std::string> prefixes) {
    QueryTerms terms;
    for (auto it = query.get_unique_terms_begin(); it != query.get_unique_terms_end(); ++it) {
        const std::string term = *it;
        if (term.starts_with('Z'))
            terms.stems.insert(term.substr(1));
        else
            terms.exact.insert(term);
    }
    terms.prefixes = std::move(prefixes);
    return terms;
}

} // namespace

ParsedQuery parse_query(const Xapian::Database& index, const Xapian::Stem& stemmer, std::string_view typed,
                        Xapian::Query::op default_op, bool spelling) {
    const std::string folded = fold_query(typed);
    std::vector<std::string> words;
    std::set<std::string> prefixes;
    split_words(folded, words, prefixes);
    ParsedQuery out;
    try {
        Xapian::QueryParser parser;
        parser.set_database(index);
        parser.set_stemmer(stemmer);
        parser.set_stemming_strategy(Xapian::QueryParser::STEM_SOME);
        parser.set_default_op(default_op);
        parser.set_max_expansion(wildcard_expansion, Xapian::Query::WILDCARD_LIMIT_MOST_FREQUENT);
        const unsigned flags =
            parser_flags | (spelling ? unsigned{Xapian::QueryParser::FLAG_SPELLING_CORRECTION} : 0u);
        out.query = parser.parse_query(folded, flags);
        if (spelling) out.corrected = parser.get_corrected_query_string();
    } catch (const Xapian::Error&) {
        out.query = plain_query(words, stemmer, default_op);
        out.corrected.clear();
    }
    out.terms = terms_of(out.query, std::move(prefixes));
    return out;
}

std::vector<MatchedWord> matched_words(std::string_view text, const QueryTerms& terms,
                                       const Xapian::Stem& stemmer) {
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

} // namespace tkv
