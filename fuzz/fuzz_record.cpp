// A record file (information/NNNNN.dat) merged into a small table: it replaces its game, takes
// over a game of the user, or is appended; the user's texts stay and no other game changes.
#include "database/record_codec.h"
#include "fuzz/fuzz_support.h"
#include "internet/upgrade.h"

using namespace tkv;

namespace {

GameDatabase small_table() {
    GameDatabase db;
    db.info_types = {{1, "Cheats"}};
    db.games = {{1, "Doom", "", 1, "my notes", {"doom", "", ""}},
                {7, "Quake", "", 2, "", {}},
                {-1, "Mine\r\nQuake II", "", 0, "own text", {}}};
    db.next_user_id = -2;
    return db;
}

bool same_game(const GAMES2_ARRAY_TYPE& a, const GAMES2_ARRAY_TYPE& b) {
    return a.id == b.id && a.names == b.names && a.data == b.data && a.revision == b.revision &&
           a.user_text == b.user_text && a.run.path == b.run.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file = fuzz::bytes_of(data, size);
    const std::optional<GAMES2_ARRAY_TYPE> record = parse_game_record(file);
    if (record) TKV_FUZZ_CHECK(record->id > 0 && record->names.size() <= 0xFFFF && record->data.size() < size);

    const GameDatabase before = small_table();
    GameDatabase db = before;
    CHANGE_TRACKING changes;
    const std::optional<MergeResult> result = insert_data_into_database(db, changes, file);
    TKV_FUZZ_CHECK(result.has_value() == record.has_value());
    if (!result) {
        TKV_FUZZ_CHECK(db.games.size() == before.games.size() && changes.change_count == 0);
        for (std::size_t i = 0; i < db.games.size(); ++i) TKV_FUZZ_CHECK(same_game(db.games[i], before.games[i]));
        return 0;
    }
    TKV_FUZZ_CHECK(*result != MergeResult::dropped);
    TKV_FUZZ_CHECK(db.games.size() == before.games.size() + (*result == MergeResult::appended ? 1 : 0));
    std::size_t changed = 0;
    for (std::size_t i = 0; i < before.games.size(); ++i) {
        const auto& g = db.games[i];
        if (same_game(g, before.games[i])) continue;
        ++changed;
        TKV_FUZZ_CHECK(g.id == record->id && g.names == record->names && g.data == record->data);
        TKV_FUZZ_CHECK(g.user_text == before.games[i].user_text);
    }
    TKV_FUZZ_CHECK(changed <= 1);

    GAMES2_TEMP_ARRAY_TYPE expanded;
    const auto index = static_cast<std::int32_t>(*result == MergeResult::appended ? db.games.size() - 1 : 0);
    games_uncompress_data(db, index, false, expanded);
    TKV_FUZZ_CHECK(expanded.infos.size() <= expanded_list_max);
    return 0;
}
