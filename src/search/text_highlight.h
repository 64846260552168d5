#pragma once
// The words of a text that a search marks: the search window's snippets, the information window's
// highlights of a full-text query and of its find-as-you-type all follow one rule.

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace tkv {

// [begin, end) in a text: bytes of UTF-8, or UTF-16 code units after utf16_ranges.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const TextRange&) const = default;
};

class TextHighlighter {
  public:
    enum class Typed {
        full_text_query, // as in the search window: its words, stems and prefixes (temp*)
        as_you_type,     // every word also matches as a word's beginning: "temp" marks "temple"
    };
    // language: the profile's language name in UTF-8, which chooses the stemmer.
    TextHighlighter(std::string_view language, std::string_view typed, Typed how);

    ~TextHighlighter();
    TextHighlighter(TextHighlighter&&) noexcept;
    TextHighlighter& operator=(TextHighlighter&&) noexcept;

    // True when the typed text holds no word: nothing is marked.
    bool empty() const;
    // The matching words of the UTF-8 text, in order.
    std::vector<TextRange> ranges(std::string_view utf8_text) const;

  private:
    struct Rule; // the stemmer and the terms, Xapian kept out of this header (it clashes with Qt's keywords)
    std::unique_ptr<Rule> rule_;
};

// The byte ranges of a UTF-8 text (in order, not overlapping, on character boundaries) as UTF-16
// positions, as a QString or a text cursor counts them. Bytes that are not UTF-8 count as one
// character each.
std::vector<TextRange> utf16_ranges(std::string_view utf8_text, std::span<const TextRange> byte_ranges);

} // namespace tkv
