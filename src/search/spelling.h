#pragma once
// "Did you mean": a word the index does not hold, corrected to a close word that it holds.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

struct IndexWord {
    std::string word;
    std::int64_t documents = 0;
};

// The edits (a letter inserted, deleted, changed, or two neighbours swapped) that make a into b,
// or limit + 1 once more are needed.
std::size_t edit_distance(std::u32string_view a, std::u32string_view b, std::size_t limit);

// The candidate closest to the word (one edit for words of up to four letters, two for longer
// ones), the one in most documents among equals; never one shorter than the word typed, as that
// would not be what the user goes on typing. Empty when none is close.
std::string best_correction(std::string_view word, const std::vector<IndexWord>& candidates);

// The folded query with its words replaced as corrections says, on one line.
std::string corrected_query(std::string_view folded, const std::map<std::string, std::string>& corrections);

} // namespace tkv
