#include "search/text_highlight.h"

#include "search/query.h"
#include "search/stemmer.h"
#include "search/text_fold.h"

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

struct TextHighlighter::Rule {
    Xapian::Stem stemmer;
    QueryTerms terms;
};

TextHighlighter::TextHighlighter(std::string_view language, std::string_view typed, Typed how)
    : rule_(std::make_unique<Rule>()) {
    rule_->stemmer = stemmer_for_language(language);
    if (how == Typed::as_you_type)
        rule_->terms = as_you_type_terms(typed, rule_->stemmer);
    else
        rule_->terms = parse_query(typed, rule_->stemmer).terms;
}

TextHighlighter::~TextHighlighter() = default;
TextHighlighter::TextHighlighter(TextHighlighter&&) noexcept = default;
TextHighlighter& TextHighlighter::operator=(TextHighlighter&&) noexcept = default;

bool TextHighlighter::empty() const {
    return rule_->terms.empty();
}

std::vector<TextRange> TextHighlighter::ranges(std::string_view utf8_text) const {
    std::vector<TextRange> out;
    if (empty()) return out;
    for (const MatchedWord& w : matched_words(utf8_text, rule_->terms, rule_->stemmer))
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
