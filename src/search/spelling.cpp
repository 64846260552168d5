#include "search/spelling.h"

#include "search/snippet.h"

#include <algorithm>
#include <xapian.h>

namespace tkv {

namespace {

std::u32string decoded(std::string_view utf8) {
    std::u32string out;
    for (Xapian::Utf8Iterator it(utf8.data(), utf8.size()); it != Xapian::Utf8Iterator(); ++it)
        out.push_back(*it);
    return out;
}

} // namespace

std::size_t edit_distance(std::u32string_view a, std::u32string_view b, std::size_t limit) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap > limit) return limit + 1;
    // Rows of the optimal string alignment distance, kept three at a time for the swaps.
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        std::size_t row_best = current[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
            row_best = std::min(row_best, current[j]);
        }
        if (row_best > limit) return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min(previous[b.size()], limit + 1);
}

std::string best_correction(std::string_view word, const std::vector<IndexWord>& candidates) {
    const std::u32string typed = decoded(word);
    const std::size_t limit = typed.size() <= 4 ? 1 : 2;
    const IndexWord* best = nullptr;
    std::size_t best_distance = limit + 1;
    for (const IndexWord& c : candidates) {
        const std::u32string candidate = decoded(c.word);
        if (candidate.size() < typed.size() || candidate == typed) continue;
        const std::size_t d = edit_distance(typed, candidate, limit);
        if (d < best_distance || (d == best_distance && best && c.documents > best->documents)) {
            best = &c;
            best_distance = d;
        }
    }
    return best && best_distance <= limit ? best->word : std::string();
}

std::string corrected_query(std::string_view folded, const std::map<std::string, std::string>& corrections) {
    std::string out, word;
    const auto end_word = [&] {
        const auto it = corrections.find(word);
        out += it == corrections.end() ? word : it->second;
        word.clear();
    };
    for (Xapian::Utf8Iterator it(folded.data(), folded.size()); it != Xapian::Utf8Iterator(); ++it) {
        if (Xapian::Unicode::is_wordchar(*it)) {
            Xapian::Unicode::append_utf8(word, *it);
        } else {
            end_word();
            Xapian::Unicode::append_utf8(out, *it);
        }
    }
    end_word();
    return one_line(out);
}

} // namespace tkv
