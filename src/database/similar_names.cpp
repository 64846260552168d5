#include "database/similar_names.h"

#include "shell/letter_base.h"
#include "shell/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace tkv {

namespace {

// A term's cost for one typed word; the sum over the typed words ranks a row. Typos count 64
// each, so that a row with fewer typos always comes first (at most words_max * 2 below that).
constexpr std::uint8_t cost_exact = 0;
constexpr std::uint8_t cost_beginning = 1;
constexpr std::uint8_t cost_initials = 2;
constexpr std::uint8_t cost_per_typo = 64;
constexpr std::uint8_t no_match = std::numeric_limits<std::uint8_t>::max();
constexpr std::uint32_t unreachable = std::numeric_limits<std::uint32_t>::max();

// Typed words longer than this are compared without typos (the edit table has a fixed size).
constexpr std::size_t typo_length_max = 32;
// Initials are compared for typed words of this many letters and digits.
constexpr std::size_t initials_min = 2, initials_max = 8;

constexpr std::array<std::string_view, 40> romans{
    "",    "i",    "ii",    "iii",    "iv",    "v",    "vi",    "vii",    "viii",    "ix",
    "x",   "xi",   "xii",   "xiii",   "xiv",   "xv",   "xvi",   "xvii",   "xviii",   "xix",
    "xx",  "xxi",  "xxii",  "xxiii",  "xxiv",  "xxv",  "xxvi",  "xxvii",  "xxviii",  "xxix",
    "xxx", "xxxi", "xxxii", "xxxiii", "xxxiv", "xxxv", "xxxvi", "xxxvii", "xxxviii", "xxxix"};

// Words that initials may pass over ("kotor": Knights of the Old Republic, or "kor").
constexpr std::array<std::string_view, 24> small_words{
    "a",  "an", "the", "of", "and", "in",  "on",  "at",  "to",  "for", "by", "de",
    "la", "le", "les", "el", "der", "die", "das", "und", "von", "az",  "es", "with"};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_letter(char c) {
    return c >= 'a' && c <= 'z';
}

// One bit per letter and per digit of a folded text.
std::uint64_t letter_bits(std::string_view s) {
    std::uint64_t bits = 0;
    for (char c : s)
        bits |= std::uint64_t{1} << (is_digit(c) ? 26 + (c - '0') : c - 'a');
    return bits;
}
constexpr std::uint64_t digit_bits = std::uint64_t{0x3FF} << 26;

// The value of a folded word that is a number: up to nine digits, or a Roman numeral of 1..39.
std::int32_t number_value(std::string_view w) {
    if (w.empty()) return -1;
    if (w.size() <= 9 && std::all_of(w.begin(), w.end(), is_digit)) {
        std::int32_t v = 0;
        for (char c : w)
            v = v * 10 + (c - '0');
        return v;
    }
    const auto roman = std::find(romans.begin() + 1, romans.end(), w);
    return roman == romans.end() ? -1 : static_cast<std::int32_t>(roman - romans.begin());
}

// Optimal string alignment distance (edits: insert, delete, change, swap two neighbours) between a
// and b, or limit + 1 when it is larger. With `beginning`, the fewest edits between a and any
// beginning of b. a is at most typo_length_max long.
int edits(std::string_view a, std::string_view b, int limit, bool beginning) {
    const std::size_t m = a.size();
    if (beginning) b = b.substr(0, m + static_cast<std::size_t>(limit));
    const std::size_t n = b.size();
    constexpr std::size_t width = typo_length_max + 8;
    std::array<std::array<int, width>, 3> rows{}; // rows i-2, i-1, i, rotating
    for (std::size_t j = 0; j <= n; ++j)
        rows[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= m; ++i) {
        auto& cur = rows[i % 3];
        const auto& up = rows[(i - 1) % 3];
        const auto& up2 = rows[(i + 1) % 3];
        cur[0] = static_cast<int>(i);
        int lowest = cur[0];
        for (std::size_t j = 1; j <= n; ++j) {
            const int change = a[i - 1] == b[j - 1] ? 0 : 1;
            int d = std::min({up[j] + 1, cur[j - 1] + 1, up[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, up2[j - 2] + 1);
            cur[j] = d;
            lowest = std::min(lowest, d);
        }
        if (lowest > limit) return limit + 1; // no later row can come back under the limit
    }
    const auto& last = rows[m % 3];
    const int d = beginning
                      ? *std::min_element(last.begin(), last.begin() + static_cast<std::ptrdiff_t>(n) + 1)
                      : last[n];
    return std::min(d, limit + 1);
}

// The typos a typed word may hold: none in numbers and words of one or two letters.
int typos_allowed(std::string_view w) {
    if (w.size() > typo_length_max || std::all_of(w.begin(), w.end(), is_digit)) return 0;
    return w.size() <= 2 ? 0 : w.size() <= 5 ? 1 : 2;
}

// The folded form of one character of the code page, as UTF-8 gives it.
std::string fold_character(std::string_view utf8) {
    // The code point of the one character.
    const auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf8[i])); };
    char32_t u = 0xFFFD;
    if (utf8.size() == 2) u = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    if (utf8.size() == 3) u = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    switch (u) {
    case 0x192:
        return "f";
    case 0xB4:
    case 0x2018:
    case 0x2019:
        return ""; // apostrophes
    default:
        break;
    }
    const std::string_view base = latin_letter_base(u);
    if (base.empty()) return " ";
    return ascii_lower_text(base);
}

// Each byte's folded form, per code page.
const std::array<std::string, 256>& fold_table(CodePage cp) {
    static const auto tables = [] {
        std::array<std::array<std::string, 256>, 2> t;
        for (const CodePage page : {CodePage::windows_1250, CodePage::windows_1252}) {
            auto& table = t[page == CodePage::windows_1250 ? 0 : 1];
            for (int byte = 0; byte < 256; ++byte) {
                const char c = ascii_lower(static_cast<char>(byte));
                if (byte >= 0x80)
                    table[byte] = fold_character(to_utf8(std::string(1, c), page));
                else if (c != '\'' && c != '`') // apostrophes fold to nothing
                    table[byte].assign(1, is_letter(c) || is_digit(c) ? c : ' ');
            }
        }
        return t;
    }();
    return tables[cp == CodePage::windows_1250 ? 0 : 1];
}

std::vector<std::string_view> words_of(std::string_view folded) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start < folded.size();) {
        const std::size_t end = std::min(folded.find(' ', start), folded.size());
        if (end > start) words.push_back(folded.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

} // namespace

std::string fold_name(std::string_view text, CodePage cp) {
    const auto& table = fold_table(cp);
    std::string folded;
    folded.reserve(text.size());
    for (char c : text)
        folded += table[static_cast<unsigned char>(c)];
    return folded;
}

// A typed word, or two neighbouring ones joined. Joined words are matched without typos, which
// could otherwise swallow a whole short word ("zelda 2" is not "Zelda").
struct SimilarNames::Variant {
    std::string text;
    std::uint64_t letters = 0;
    std::int32_t number = -1;
    int typos = 0;

    Variant(std::string t, bool joined)
        : text(std::move(t)), letters(letter_bits(text)), number(number_value(text)),
          typos(joined ? 0 : typos_allowed(text)) {}
};

SimilarNames::SimilarNames(const std::vector<GAMELIST2_ARRAY_TYPE>& rows, CodePage cp) : cp_(cp) {
    std::unordered_map<std::string, std::uint32_t> ids;
    const auto term_id = [&](std::string text, bool word) {
        const auto [it, added] = ids.try_emplace(std::move(text), static_cast<std::uint32_t>(terms_.size()));
        if (added) {
            const std::string& t = it->first;
            Term term;
            term.offset = static_cast<std::uint32_t>(chars_.size());
            term.length = static_cast<std::uint32_t>(t.size());
            term.letters = letter_bits(t);
            term.number = number_value(t);
            term.small = std::find(small_words.begin(), small_words.end(), t) != small_words.end();
            chars_ += t;
            terms_.push_back(term);
        }
        terms_[it->second].word = terms_[it->second].word || word;
        return it->second;
    };
    row_start_.reserve(rows.size() + 1);
    row_words_.reserve(rows.size());
    row_initials_.reserve(rows.size());
    for (const auto& row : rows) {
        row_start_.push_back(static_cast<std::uint32_t>(row_terms_.size()));
        const std::string folded = fold_name(row.name, cp);
        const auto words = words_of(folded);
        std::uint64_t initials = 0;
        for (const auto w : words) {
            const std::uint32_t id = term_id(std::string(w), true);
            row_terms_.push_back(id);
            const Term& t = terms_[id];
            if (is_letter(w[0])) initials |= letter_bits(w.substr(0, 1));
            if (t.number >= 0) initials |= digit_bits | (t.number < 40 ? letter_bits(romans[t.number]) : 0);
        }
        for (std::size_t i = 1; i < words.size(); ++i)
            row_terms_.push_back(term_id(std::string(words[i - 1]) + std::string(words[i]), false));
        row_words_.push_back(static_cast<std::uint32_t>(words.size()));
        row_initials_.push_back(initials);
    }
    row_start_.push_back(static_cast<std::uint32_t>(row_terms_.size()));
}

// Every term's cost for the typed word (no_match where it does not match).
void SimilarNames::match_terms(const Variant& v, std::vector<std::uint8_t>& costs) const {
    costs.assign(terms_.size(), no_match);
    const std::string_view q = v.text;
    for (std::size_t id = 0; id < terms_.size(); ++id) {
        const Term& t = terms_[id];
        const std::string_view s = text_of(t);
        if (s.starts_with(q)) {
            costs[id] = s.size() == q.size() ? cost_exact : cost_beginning;
            continue;
        }
        if (v.number >= 0 && v.number == t.number) {
            costs[id] = cost_exact;
            continue;
        }
        if (v.typos == 0 || std::popcount(v.letters & ~t.letters) > v.typos) continue;
        const std::size_t gap = s.size() > q.size() ? s.size() - q.size() : q.size() - s.size();
        if (gap <= static_cast<std::size_t>(v.typos)) {
            const int e = edits(q, s, v.typos, false);
            if (e <= v.typos) { // after the same number of typos, a whole word before a beginning
                costs[id] = static_cast<std::uint8_t>(cost_per_typo * e + cost_beginning);
                continue;
            }
        }
        // A word being typed, with a typo: only real words, and not for very short beginnings.
        if (t.word && q.size() >= 4 && s.size() > q.size()) {
            const int e = edits(q, s, v.typos, true);
            if (e <= v.typos) costs[id] = static_cast<std::uint8_t>(cost_per_typo * e + cost_initials);
        }
    }
}

// Whether the typed word spells the initials of neighbouring words of the row, starting at any of
// them; small words may be passed over, numbers are given whole (in digits or as a Roman numeral).
bool SimilarNames::initials_match(std::string_view token, std::size_t row) const {
    if ((letter_bits(token) & ~row_initials_[row]) != 0) return false;
    const std::size_t m = token.size();
    std::uint32_t reach = 0; // bit p: the first p characters are spelled by the words so far
    const std::uint32_t* words = row_terms_.data() + row_start_[row];
    for (std::uint32_t k = 0; k < row_words_[row]; ++k) {
        const Term& t = terms_[words[k]];
        const std::string_view w = text_of(t);
        std::uint32_t next = 0;
        for (std::uint32_t from = reach | 1; from != 0; from &= from - 1) {
            const auto p = static_cast<std::size_t>(std::countr_zero(from));
            if (p > 0 && t.small) next |= 1u << p;
            if (p >= m) continue;
            if (is_letter(token[p]) && token[p] == w[0]) next |= 1u << (p + 1);
            if (t.number < 0) continue;
            std::size_t digits = p;
            while (digits < m && is_digit(token[digits]))
                ++digits;
            if (digits > p && number_value(token.substr(p, digits - p)) == t.number) next |= 1u << digits;
            if (t.number > 0 && t.number < 40 && token.substr(p).starts_with(romans[t.number]))
                next |= 1u << (p + romans[t.number].size());
        }
        if (next & (1u << m)) return true;
        reach = next & ~1u;
    }
    return false;
}

std::vector<std::int32_t> SimilarNames::find(std::string_view text,
                                             const std::vector<std::int32_t>& shown) const {
    const std::string folded = fold_name(text, cp_);
    const auto tokens = words_of(folded);
    const std::size_t n = tokens.size();
    if (n == 0 || n > words_max) return {};
    // Variants 0..n-1 are the typed words, n..2n-2 each two neighbours joined.
    std::vector<Variant> variants;
    for (const auto token : tokens)
        variants.emplace_back(std::string(token), false);
    for (std::size_t i = 1; i < n; ++i)
        variants.emplace_back(std::string(tokens[i - 1]) + std::string(tokens[i]), true);
    std::vector<std::vector<std::uint8_t>> costs(variants.size());
    for (std::size_t v = 0; v < variants.size(); ++v)
        match_terms(variants[v], costs[v]);

    const std::size_t row_count = row_words_.size();
    std::vector<bool> hidden(row_count);
    for (const std::int32_t r : shown)
        if (r >= 0 && static_cast<std::size_t>(r) < row_count) hidden[static_cast<std::size_t>(r)] = true;

    struct Found {
        std::uint32_t cost, words;
        std::int32_t row;
    };
    std::vector<Found> found;
    std::array<std::uint32_t, words_max + 1> best{}; // best[i]: the cheapest cover of the first i words
    for (std::size_t r = 0; r < row_count; ++r) {
        if (hidden[r]) continue;
        const std::uint32_t* begin = row_terms_.data() + row_start_[r];
        const std::uint32_t* end = row_terms_.data() + row_start_[r + 1];
        const auto cheapest = [&](const std::vector<std::uint8_t>& c) {
            std::uint8_t lowest = no_match;
            for (const std::uint32_t* t = begin; t != end; ++t)
                lowest = std::min(lowest, c[*t]);
            return lowest;
        };
        best.fill(unreachable);
        best[0] = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (best[i] != unreachable) {
                std::uint8_t c = cheapest(costs[i]);
                if (c > cost_initials && tokens[i].size() >= initials_min &&
                    tokens[i].size() <= initials_max && initials_match(tokens[i], r))
                    c = cost_initials;
                if (c != no_match) best[i + 1] = best[i] + c;
            }
            if (i > 0 && best[i - 1] != unreachable) {
                const std::uint8_t c = cheapest(costs[n + i - 1]);
                if (c != no_match) best[i + 1] = std::min(best[i + 1], best[i - 1] + c);
            }
            if (best[i + 1] == unreachable && best[i] == unreachable) break;
        }
        if (best[n] != unreachable) found.push_back({best[n], row_words_[r], static_cast<std::int32_t>(r)});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.cost != b.cost ? a.cost < b.cost : a.words != b.words ? a.words < b.words : a.row < b.row;
    });
    std::vector<std::int32_t> rows;
    rows.reserve(found.size());
    for (const Found& f : found)
        rows.push_back(f.row);
    return rows;
}

} // namespace tkv
