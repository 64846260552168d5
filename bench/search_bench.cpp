// Benchmarks of the full-text search on the full profile: building its index against the floor of
// expanding every game's block once on one core, and a two-word query with the snippets of its
// first 50 hits. The index's size on disk is shown beside main.dat's.

#include "database/open_database.h"
#include "database/record_codec.h"
#include "full_profile.h"
#include "search/text_index.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace tkv {
namespace {

struct Opened {
    GameDatabase db;
    PROFILES_TYPE profile;
    Opened() {
        ensure_profile();
        // The bench's own cache, beside the profile.
        ::setenv("XDG_CACHE_HOME", (home + "cache").c_str(), 1);
        CHANGE_TRACKING changes;
        database_open(db, changes, profile, folder + "main.dat", folder + "user.dat", true);
    }
};

Opened& opened() {
    static Opened o;
    return o;
}

double mib(std::uintmax_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::uintmax_t folder_bytes(const std::string& path) {
    std::uintmax_t total = 0;
    std::error_code ec;
    for (const auto& f : std::filesystem::recursive_directory_iterator(path, ec))
        if (f.is_regular_file(ec)) total += f.file_size(ec);
    return total;
}

// Time spent on this thread's core: on a machine busy with other work the ratio to the floor stays
// the same.
double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double floor_seconds = 0; // set by the floor, read by the build that follows it

// The floor: every game's block expanded once, on this thread.
void BM_ExpandEveryGame(benchmark::State& state) {
    const GameDatabase& db = opened().db;
    for (auto _ : state) {
        const double start = thread_seconds();
        for (std::size_t i = 0; i < db.games.size(); ++i) {
            GAMES2_TEMP_ARRAY_TYPE game;
            benchmark::DoNotOptimize(games_uncompress_data(db, static_cast<std::int32_t>(i), false, game));
        }
        floor_seconds = thread_seconds() - start;
        state.counters["cpu_s"] = floor_seconds;
    }
}

// The whole index made from nothing, as on a first opening, on this thread.
void BM_BuildIndex(benchmark::State& state) {
    Opened& o = opened();
    TextIndex index(o.profile, folder + "main.dat");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(index.folder());
        state.ResumeTiming();
        const double start = thread_seconds();
        const PrepareReport report = index.prepare(o.db);
        const double seconds = thread_seconds() - start;
        if (report.action != IndexAction::built) state.SkipWithError(describe(report).c_str());
        state.counters["cpu_s"] = seconds;
        if (floor_seconds > 0) state.counters["x_floor"] = seconds / floor_seconds;
    }
    state.counters["index_MiB"] = mib(folder_bytes(index.folder()));
    state.counters["main_dat_MiB"] = mib(std::filesystem::file_size(folder + "main.dat"));
}

// Two words from the middle of the profile's texts, all words wanted, the first 50 hits with
// their snippets.
void BM_FullTextQuery(benchmark::State& state) {
    Opened& o = opened();
    TextIndex index(o.profile, folder + "main.dat");
    if (!index.ready(o.db)) index.prepare(o.db);
    GAMES2_TEMP_ARRAY_TYPE game;
    games_uncompress_data(o.db, static_cast<std::int32_t>(o.db.games.size() / 2), false, game);
    std::string query;
    std::size_t words = 0;
    for (std::size_t at = 0; words < 2 && !game.infos.empty();) {
        const std::string& text = game.infos[0].text;
        const auto end = text.find_first_of(" \r\n", at);
        if (end == std::string::npos) break;
        if (end - at >= 5) query += (words++ ? " " : "") + text.substr(at, end - at);
        at = end + 1;
    }
    std::size_t hits = 0;
    for (auto _ : state)
        hits = index.search(o.db, query, 50).hits.size();
    state.counters["hits"] = static_cast<double>(hits);
    state.SetLabel(query);
}

BENCHMARK(BM_ExpandEveryGame)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_BuildIndex)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FullTextQuery)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tkv

BENCHMARK_MAIN();
