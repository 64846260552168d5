// main.dat as the program opens it: the profile scan's header check, the tables, the displayed
// list and each game's block. What was read must save and read back the same.
#include "database/database_files.h"
#include "database/game_list.h"
#include "database/game_table.h"
#include "database/record_codec.h"
#include "fuzz/fuzz_support.h"
#include "profiles/profile_table.h"

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    const std::string path = scratch.write("profiles/p/main.dat", fuzz::bytes_of(data, size));

    ProfileTable profiles;
    if (profile_ini_load(profiles, scratch.path("profiles"), "p")) {
        const PROFILES_TYPE& p = profiles.profiles.at(0);
        TKV_FUZZ_CHECK(!p.id.empty() && !p.name.empty() && !p.language.empty());
    }

    GameDatabase db;
    DateTime date;
    const DatReadReport report = u_progress_dat_load_main(db, path, date);
    TKV_FUZZ_CHECK(db.games.size() <= games_max);
    TKV_FUZZ_CHECK(db.info_types.size() <= info_types_max);
    TKV_FUZZ_CHECK(report.records == db.games.size() + report.records_beyond_limit);
    TKV_FUZZ_CHECK(report.records_beyond_limit == 0 || db.games.size() == games_max);
    for (const auto& g : db.games) {
        TKV_FUZZ_CHECK(g.id != 0);
        TKV_FUZZ_CHECK(g.names.size() <= 0xFFFF);
    }

    // What the program keeps of the publisher's games is written back unchanged.
    PROFILES_TYPE profile;
    TKV_FUZZ_CHECK(u_progress_dat_save_main(db, profile, scratch.path("again.dat"), true));
    GameDatabase again;
    const DatReadReport reread = u_progress_dat_load_main(again, scratch.path("again.dat"), date);
    TKV_FUZZ_CHECK(reread.problems.empty());
    TKV_FUZZ_CHECK(again.info_types.size() == db.info_types.size());
    for (std::size_t i = 0; i < db.info_types.size(); ++i) {
        TKV_FUZZ_CHECK(again.info_types[i].type_number == db.info_types[i].type_number);
        TKV_FUZZ_CHECK(again.info_types[i].type_name == db.info_types[i].type_name);
    }
    std::size_t kept = 0;
    for (const auto& g : db.games) {
        if (g.id <= 0) continue;
        TKV_FUZZ_CHECK(kept < again.games.size());
        const auto& r = again.games[kept++];
        TKV_FUZZ_CHECK(r.id == g.id && r.names == g.names && r.data == g.data && r.revision == g.revision);
    }
    TKV_FUZZ_CHECK(kept == again.games.size());

    u_progress_dat_list_build(db);
    u_progress_dat_list_sort(db, true);
    TKV_FUZZ_CHECK(db.game_list.size() <= game_list_max);
    for (const auto& row : db.game_list)
        TKV_FUZZ_CHECK(row.game_index >= 0 && static_cast<std::size_t>(row.game_index) < db.games.size());
    if (!db.game_list.empty()) {
        const std::string probe = db.game_list.front().name.substr(0, 3);
        const QuickSearch quick = search_gamename(db.game_list, probe);
        TKV_FUZZ_CHECK(quick.row < static_cast<std::int32_t>(db.game_list.size()));
        for (std::int32_t row : search_substring(db.game_list, probe).rows)
            TKV_FUZZ_CHECK(row >= 0 && static_cast<std::size_t>(row) < db.game_list.size());
    }

    // Expanding blocks is the costly part; a few games show every path of the block reader.
    for (std::size_t i = 0; i < db.games.size() && i < 4; ++i) {
        GAMES2_TEMP_ARRAY_TYPE expanded;
        games_uncompress_data(db, static_cast<std::int32_t>(i), false, expanded);
        TKV_FUZZ_CHECK(expanded.infos.size() <= expanded_list_max);
        TKV_FUZZ_CHECK(expanded.files.size() <= expanded_list_max);
        TKV_FUZZ_CHECK(expanded.homepages.size() <= expanded_list_max);
    }
    return 0;
}
