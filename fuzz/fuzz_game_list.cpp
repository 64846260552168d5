// list.tkv, the server's games and revisions, compared with the game table. An entry is left out
// of the update only when the table holds that game at that revision.
#include "fuzz/fuzz_support.h"
#include "internet/download_rules.h"
#include "internet/upgrade.h"

#include <algorithm>

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<std::string> body =
        named_resource_body(fuzz::bytes_of(data, size), game_list_resource_name);
    if (!body) return 0;
    std::vector<UPDATE_LIST_ENTRY> entries = parse_update_list(*body);
    TKV_FUZZ_CHECK(entries.size() <= update_list_max);
    TKV_FUZZ_CHECK(entries.size() <= body->size() / 8);
    for (const auto& e : entries) TKV_FUZZ_CHECK(e.id > 0);

    // Sorted by id, as the table is whenever the list has been built.
    const std::vector<GAMES2_ARRAY_TYPE> games = {
        {-2, "Mine", "", 0, "", {}}, {1, "A", "", 1, "", {}}, {2, "B", "", 7, "", {}}, {300, "C", "", 2, "", {}}};
    int last_percent = -1;
    const std::size_t wanted = mark_wanted_games(entries, games, [&](int percent) {
        TKV_FUZZ_CHECK(percent >= 0 && percent <= 100);
        last_percent = percent;
    });
    TKV_FUZZ_CHECK(wanted == static_cast<std::size_t>(std::count_if(
                                 entries.begin(), entries.end(), [](const auto& e) { return e.wanted; })));
    for (const auto& e : entries) {
        if (e.wanted) continue;
        TKV_FUZZ_CHECK(std::any_of(games.begin(), games.end(),
                                   [&](const auto& g) { return g.id == e.id && g.revision == e.revision; }));
    }
    return 0;
}
