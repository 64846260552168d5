#pragma once
// The line a hit shows: the part of its text with the most of the query's words, the words marked
// "[" and "]".

#include <cstddef>
#include <string>
#include <string_view>
#include <xapian.h>

#include "search/query.h"

namespace tkv {

// About `length` bytes of the UTF-8 text around its best matches, on one line (line breaks and
// tabs become blanks), "..." where it was cut; the beginning of the text when no word matches.
std::string make_snippet(std::string_view text, const QueryTerms& terms, const Xapian::Stem& stemmer,
                         std::size_t length = 180);

// The text on one line: every run of blanks, line breaks, tabs and other control characters becomes
// one blank; none at either end.
std::string one_line(std::string_view text);

} // namespace tkv
