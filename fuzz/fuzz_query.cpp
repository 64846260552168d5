// The full-text search's query parsing and search with any bytes typed, over a small index of
// generated games with texts of the user.
#include "cli/synthetic_profile.h"
#include "database/game_list.h"
#include "fuzz/fuzz_support.h"
#include "search/text_index.h"

#include <cstdlib>
#include <filesystem>

using namespace tkv;

namespace {

struct Profile {
    std::string cache;
    GameDatabase db;
    std::unique_ptr<TextIndex> index;

    Profile() {
        cache = (std::filesystem::temp_directory_path() / "tkv-fuzz-query-XXXXXX").string();
        TKV_FUZZ_CHECK(::mkdtemp(cache.data()) != nullptr);
        ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
        auto generated = generate_profile({8, 1, 0, "fuzz"});
        TKV_FUZZ_CHECK(generated.has_value());
        db = std::move(generated->db);
        db.games[0].user_text = "Caf\xE9 na\xEFve \"quoted\" water temple (NOT AND OR) temp* -x +y";
        u_progress_dat_list_build(db);
        u_progress_dat_list_sort(db, true);
        index = std::make_unique<TextIndex>(generated->profile, cache + "/profile/main.dat");
        TKV_FUZZ_CHECK(index->prepare(db).indexed == db.games.size());
    }
    ~Profile() {
        index.reset();
        std::error_code ec;
        std::filesystem::remove_all(cache, ec);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Profile profile;
    const SearchResults results = profile.index->search(profile.db, fuzz::bytes_of(data, size), 5);
    TKV_FUZZ_CHECK(results.hits.size() <= 5);
    for (const SearchHit& hit : results.hits) {
        TKV_FUZZ_CHECK(hit.game_index >= 0 && static_cast<std::size_t>(hit.game_index) < profile.db.games.size());
        TKV_FUZZ_CHECK(hit.row >= 0 && static_cast<std::size_t>(hit.row) < profile.db.game_list.size());
        TKV_FUZZ_CHECK(hit.snippet.find_first_of("\t\r\n") == std::string::npos);
    }
    TKV_FUZZ_CHECK(results.suggestion.find('\n') == std::string::npos);
    return 0;
}
