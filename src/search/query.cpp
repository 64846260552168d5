#include "search/query.h"

#include "search/text_fold.h"

#include <algorithm>
#include <unordered_map>

namespace tkv {

namespace {

using Kind = QueryItem::Kind;

std::u32string decoded(std::string_view utf8) {
    std::u32string out;
    for (Xapian::Utf8Iterator it(utf8.data(), utf8.size()); it != Xapian::Utf8Iterator(); ++it)
        out.push_back(*it);
    return out;
}

bool is_word_char(char32_t c) {
    return Xapian::Unicode::is_wordchar(c);
}

std::size_t letters(std::string_view utf8) {
    std::size_t n = 0;
    for (Xapian::Utf8Iterator it(utf8.data(), utf8.size()); it != Xapian::Utf8Iterator(); ++it)
        ++n;
    return n;
}

// Reads the folded query left to right; operators stay in capitals (fold_query keeps them).
class Reader {
  public:
    explicit Reader(std::u32string text) : text_(std::move(text)) {}

    std::vector<QueryItem> items() {
        std::vector<QueryItem> out;
        bool next_or = false, next_not = false;
        while (at_ < text_.size()) {
            const char32_t c = text_[at_];
            if (c == U'"') {
                ++at_;
                QueryItem item{Kind::phrase, phrase_words(), false, false};
                add(out, std::move(item), next_or, next_not);
                continue;
            }
            if (!is_word_char(c)) {
                ++at_;
                continue;
            }
            const char32_t sign = at_ > 0 && (at_ < 2 || !is_word_char(text_[at_ - 2])) ? text_[at_ - 1] : U' ';
            std::string word = read_word();
            if (word == "AND") continue;
            if (word == "OR") {
                next_or = !out.empty();
                continue;
            }
            if (word == "NOT") {
                next_not = true;
                continue;
            }
            if (word == "XOR" || word == "NEAR" || word == "ADJ") continue;
            QueryItem item{Kind::word, {std::move(word)}, sign == U'-', false};
            if (at_ < text_.size() && text_[at_] == U'*')
                item.kind = Kind::prefix;
            else if (at_ == text_.size() && letters(item.words[0]) >= partial_word_letters)
                item.kind = Kind::partial;
            add(out, std::move(item), next_or, next_not);
        }
        return out;
    }

  private:
    std::string read_word() {
        std::string word;
        while (at_ < text_.size() && is_word_char(text_[at_]))
            Xapian::Unicode::append_utf8(word, text_[at_++]);
        return word;
    }

    std::vector<std::string> phrase_words() {
        std::vector<std::string> words;
        while (at_ < text_.size() && text_[at_] != U'"') {
            if (is_word_char(text_[at_]))
                words.push_back(fold_word(read_word())); // AND, OR, NOT are words in a phrase
            else
                ++at_;
        }
        if (at_ < text_.size()) ++at_;
        return words;
    }

    static void add(std::vector<QueryItem>& out, QueryItem item, bool& next_or, bool& next_not) {
        item.excluded = item.excluded || next_not;
        item.or_previous = next_or && !item.excluded;
        next_or = next_not = false;
        if (item.words.empty() || out.size() >= query_items_max) return;
        if (std::find(out.begin(), out.end(), item) == out.end()) out.push_back(std::move(item));
    }

    std::u32string text_;
    std::size_t at_ = 0;
};

std::string quoted(std::string_view words) {
    std::string out = "\"";
    for (char c : words)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string item_expression(const QueryItem& item, const StemSiblings& siblings) {
    switch (item.kind) {
    case Kind::prefix:
        return quoted(item.words[0]) + "*";
    case Kind::phrase: {
        std::string joined;
        for (const std::string& w : item.words)
            joined += (joined.empty() ? "" : " ") + w;
        return quoted(joined);
    }
    case Kind::word:
    case Kind::partial: break;
    }
    std::vector<std::string> alternatives{quoted(item.words[0])};
    if (siblings)
        for (const std::string& w : siblings(item.words[0]))
            if (w != item.words[0]) alternatives.push_back(quoted(w));
    if (item.kind == Kind::partial) alternatives.push_back(quoted(item.words[0]) + "*");
    if (alternatives.size() == 1) return alternatives[0];
    std::string out = "(";
    for (std::size_t i = 0; i < alternatives.size(); ++i)
        out += (i ? " OR " : "") + alternatives[i];
    return out + ")";
}

} // namespace

TypedQuery parse_query(std::string_view typed, const Xapian::Stem& stemmer) {
    TypedQuery query;
    query.items = Reader(decoded(fold_query(typed))).items();
    for (QueryItem& item : query.items) {
        if (item.kind != Kind::phrase) item.words[0] = fold_word(item.words[0]);
        if (item.excluded) continue;
        switch (item.kind) {
        case Kind::phrase:
            query.terms.exact.insert(item.words.begin(), item.words.end());
            break;
        case Kind::prefix:
            query.terms.prefixes.insert(item.words[0]);
            break;
        case Kind::partial:
            query.terms.prefixes.insert(item.words[0]);
            [[fallthrough]];
        case Kind::word:
            if (stemmer.is_none())
                query.terms.exact.insert(item.words[0]);
            else
                query.terms.stems.insert(stemmer(item.words[0]));
            break;
        }
    }
    return query;
}

std::string match_expression(const TypedQuery& query, bool all_words, const StemSiblings& siblings) {
    std::vector<std::string> groups;
    std::string excluded;
    for (const QueryItem& item : query.items) {
        const std::string part = item_expression(item, siblings);
        if (item.excluded)
            excluded += (excluded.empty() ? "" : " OR ") + part;
        else if (item.or_previous && !groups.empty())
            groups.back() += " OR " + part;
        else
            groups.push_back(part);
    }
    if (groups.empty()) return {};
    std::string out;
    for (const std::string& g : groups)
        out += (out.empty() ? "(" : (all_words ? " AND (" : " OR (")) + g + ")";
    if (!excluded.empty()) out = "(" + out + ") NOT (" + excluded + ")";
    return out;
}

std::vector<std::string> correctable_words(const TypedQuery& query) {
    std::vector<std::string> out;
    for (const QueryItem& item : query.items)
        if (!item.excluded && (item.kind == Kind::word || item.kind == Kind::partial)) out.push_back(item.words[0]);
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
