#pragma once
// Names found however they are typed: the search window's second kind of name results, after the
// rows whose name contains the text. Every typed word must match a word of the name, anywhere and
// in any order, as
//   - the same word, letter case and accents ignored ("pokemon" is "Pokémon"), numbers equal in
//     Arabic and Roman numerals ("7" is "VII", "ii" is "2");
//   - the beginning of a word ("zeld");
//   - two neighbouring words written as one ("halflife"), or one written as two ("star craft");
//   - the initials of neighbouring words ("gta", "kotor"; small words such as "of" and "the" may be
//     left out), numbers given whole ("ff7" is "Final Fantasy VII");
//   - a word with a typo or two: insertions, deletions, changes and swaps of neighbouring letters;
//     none in numbers and words of one or two letters, one up to five letters, two in longer ones.
// The rows are prepared once per list; each search then walks them without allocating per row.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"
#include "shell/codepage.h"

namespace tkv {

// A text as the similar-names search compares it: A..Z lowered by the quick search's rule
// (ascii_lower), the code page's accented letters as their base letters ("é" as "e", "ß" as "ss",
// "Æ" as "ae"), apostrophes dropped, every other character a space.
std::string fold_name(std::string_view text, CodePage cp);

class SimilarNames {
  public:
    // A text of more words than this finds no similar names.
    static constexpr std::size_t words_max = 12;

    SimilarNames() = default; // holds no rows: finds nothing
    // Prepares the list's rows (names in the profile's code page); again after the list changes.
    SimilarNames(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, CodePage cp);

    // The rows whose name is like the text (in the code page), best first: fewest typos, then
    // exact words before beginnings and initials, then fewer words in the name, then list order.
    // Rows in `shown` (the substring search's results, listed before these) are left out.
    std::vector<std::int32_t> find(std::string_view text, const std::vector<std::int32_t>& shown) const;

  private:
    struct Term {
        std::uint32_t offset = 0, length = 0; // in chars_
        std::uint64_t letters = 0;            // letter_bits() of the term
        std::int32_t number = -1;             // value of an Arabic or Roman number, else -1
        bool word = false;                    // a word of some name, not only two joined
        bool small = false;                   // "of", "the" ...: may be left out of initials
    };
    struct Variant;

    std::string_view text_of(const Term& t) const { return {chars_.data() + t.offset, t.length}; }
    void match_terms(const Variant& v, std::vector<std::uint8_t>& costs) const;
    bool initials_match(std::string_view token, std::size_t row) const;

    CodePage cp_ = CodePage::windows_1252;
    std::string chars_;       // every distinct term's letters
    std::vector<Term> terms_; // the distinct words, and neighbouring words joined
    // Row r's terms are row_terms_[row_start_[r] .. row_start_[r + 1]): its words in order (the
    // first row_words_[r]), then each two neighbours joined.
    std::vector<std::uint32_t> row_start_, row_terms_;
    std::vector<std::uint32_t> row_words_;
    std::vector<std::uint64_t> row_initials_; // letter_bits() that initials of the row can give
};

} // namespace tkv
