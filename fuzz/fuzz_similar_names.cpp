// The similar-names search over any names and any typed text. Input: one byte choosing the code
// page, then the typed text's line, then one name a line.
#include "database/game_list.h"
#include "database/similar_names.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <set>

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const CodePage cp = data[0] & 1 ? CodePage::windows_1252 : CodePage::windows_1250;
    std::string_view input = fuzz::bytes_of(data + 1, size - 1);
    const std::string typed(input.substr(0, input.find('\n')));
    input.remove_prefix(std::min(input.size(), typed.size() + 1));
    std::vector<GAMELIST2_ARRAY_TYPE> rows;
    while (!input.empty() && rows.size() < game_list_max - 1) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        rows.push_back({std::string(input.substr(0, end)), static_cast<std::int32_t>(rows.size())});
        input.remove_prefix(std::min(input.size(), end + 1));
    }

    const std::string folded = fold_name(typed, cp);
    TKV_FUZZ_CHECK(std::all_of(folded.begin(), folded.end(), [](char c) {
        return c == ' ' || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    }));
    // A name of the typed words in the other order is always among the results.
    std::vector<std::string> words;
    for (std::size_t start = 0, end = 0; start < folded.size(); start = end + 1) {
        end = std::min(folded.find(' ', start), folded.size());
        if (end > start) words.push_back(folded.substr(start, end - start));
    }
    std::string reversed;
    for (auto w = words.rbegin(); w != words.rend(); ++w)
        reversed += (reversed.empty() ? "" : ", ") + *w;
    rows.push_back({reversed, static_cast<std::int32_t>(rows.size())});

    const std::vector<std::int32_t> shown = search_substring(rows, typed).rows;
    const std::vector<std::int32_t> found = SimilarNames(rows, cp).find(typed, shown);
    std::set<std::int32_t> seen;
    for (const std::int32_t r : found) {
        TKV_FUZZ_CHECK(r >= 0 && static_cast<std::size_t>(r) < rows.size());
        TKV_FUZZ_CHECK(seen.insert(r).second);
        TKV_FUZZ_CHECK(std::find(shown.begin(), shown.end(), r) == shown.end());
    }
    const auto last = static_cast<std::int32_t>(rows.size() - 1);
    if (!words.empty() && words.size() <= SimilarNames::words_max)
        TKV_FUZZ_CHECK(seen.contains(last) || std::find(shown.begin(), shown.end(), last) != shown.end());
    return 0;
}
