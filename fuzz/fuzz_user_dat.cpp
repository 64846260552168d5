// user.dat merged over a small publisher's database: the user's records attach to games or
// become games of the user, and never change what the publisher's games are.
#include "database/database_files.h"
#include "database/game_table.h"
#include "fuzz/fuzz_support.h"

#include <set>

using namespace tkv;

namespace {

GameDatabase publisher_games() {
    GameDatabase db;
    db.info_types = {{1, "Cheats"}, {2, "Hints"}};
    db.games = {{1, "Doom\r\nDoom I", "", 3, "", {}}, {2, "Quake", "", 1, "", {}}, {5, "Mine", "", 1, "", {}}};
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    const std::string path = scratch.write("user.dat", fuzz::bytes_of(data, size));

    const GameDatabase before = publisher_games();
    GameDatabase db = before;
    PROFILES_TYPE profile;
    const DatReadReport report = u_progress_dat_load_user(db, path, profile);

    TKV_FUZZ_CHECK(db.games.size() <= games_max);
    TKV_FUZZ_CHECK(db.games.size() >= before.games.size());
    for (std::size_t i = 0; i < before.games.size(); ++i) {
        const auto& g = db.games[i];
        TKV_FUZZ_CHECK(g.id == before.games[i].id && g.names == before.games[i].names);
        TKV_FUZZ_CHECK(g.data == before.games[i].data && g.revision == before.games[i].revision);
    }
    std::set<std::int32_t> user_ids;
    for (std::size_t i = before.games.size(); i < db.games.size(); ++i) {
        const std::int32_t id = db.games[i].id;
        TKV_FUZZ_CHECK(id < 0 && id > db.next_user_id);
        TKV_FUZZ_CHECK(user_ids.insert(id).second);
    }
    TKV_FUZZ_CHECK(report.records_beyond_limit <= report.records);

    // The merged table saves and merges again into the same publisher's games.
    TKV_FUZZ_CHECK(u_progress_dat_save_user(db, profile, scratch.path("again.dat"), true));
    GameDatabase again = before;
    PROFILES_TYPE profile_again;
    const DatReadReport reread = u_progress_dat_load_user(again, scratch.path("again.dat"), profile_again);
    TKV_FUZZ_CHECK(reread.problems.empty());
    TKV_FUZZ_CHECK(profile_again.last_game == profile.last_game.substr(0, 0xFFFF));
    return 0;
}
