// Benchmarks of a full profile: 32766 games whose names give 65534 list rows, with a user.dat
// of 1000 records. Reading main.dat's bytes is measured beside the rest so figures compare.

#include "full_profile.h"
#include "database/database_files.h"
#include "database/game_list.h"
#include "database/open_database.h"
#include "database/record_codec.h"
#include "database/similar_names.h"
#include "database/text_export.h"
#include "internet/upgrade.h"
#include "shell/files.h"
#include "shell/text.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tkv {
namespace {

struct Opened {
    GameDatabase db;
    PROFILES_TYPE profile;
    Captions captions;
    Opened() {
        ensure_profile();
        CHANGE_TRACKING changes;
        database_open(db, changes, profile, folder + "main.dat", folder + "user.dat", true);
        captions_reset(captions);
    }
};

Opened& opened() {
    static Opened o;
    return o;
}

// The yardstick: main.dat's bytes into memory with one read.
void BM_ReadMainDatBytes(benchmark::State& state) {
    ensure_profile();
    for (auto _ : state) {
        std::FILE* f = std::fopen((folder + "main.dat").c_str(), "rb");
        std::string bytes(static_cast<std::size_t>(file_size(folder + "main.dat")), '\0');
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * file_size(folder + "main.dat"));
}

void BM_OpenProfile(benchmark::State& state) {
    ensure_profile();
    for (auto _ : state) {
        GameDatabase db;
        PROFILES_TYPE profile;
        CHANGE_TRACKING changes;
        database_open(db, changes, profile, folder + "main.dat", folder + "user.dat", true);
        benchmark::DoNotOptimize(db.game_list.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * file_size(folder + "main.dat"));
}

// One keystroke: the search after each typed letter of names spread over the list.
void BM_QuickSearchKeystroke(benchmark::State& state) {
    const auto& rows = opened().db.game_list;
    std::vector<std::string> typed;
    for (std::size_t r = 0; r < rows.size(); r += rows.size() / 8)
        for (std::size_t n = 1; n <= rows[r].name.size(); ++n) typed.push_back(rows[r].name.substr(0, n));
    typed.push_back("zzz"); // matches nothing: the whole list is scanned
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(search_gamename(rows, typed[i++ % typed.size()]));
}

void BM_SubstringSearch(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(search_substring(opened().db.game_list, "dragon ka"));
}

// The similar names' preparation, once per profile and after each rebuild of the list.
void BM_SimilarNamesPrepare(benchmark::State& state) {
    const CodePage cp = code_page_for_language(opened().profile.language);
    for (auto _ : state)
        benchmark::DoNotOptimize(SimilarNames(opened().db.game_list, cp));
}

// Names of rows spread over the list as a user types them into the search window: lower case,
// words turned around, two letters of the first swapped; then texts that find nothing.
std::vector<std::string> typed_like_names(std::size_t words_at_most) {
    const auto& rows = opened().db.game_list;
    std::vector<std::string> texts;
    for (std::size_t r = rows.size() / 16; r < rows.size(); r += rows.size() / 8) {
        std::vector<std::string> words;
        for (std::size_t start = 0, end = 0; start < rows[r].name.size(); start = end + 1) {
            end = std::min(rows[r].name.find(' ', start), rows[r].name.size());
            words.push_back(ascii_lower_text(rows[r].name.substr(start, end - start)));
        }
        std::reverse(words.begin(), words.end());
        if (words[0].size() >= 4) std::swap(words[0][1], words[0][2]);
        std::string text;
        for (std::size_t w = 0; w < words.size() && w < words_at_most; ++w)
            text += (w ? " " : "") + words[w];
        texts.push_back(text);
    }
    texts.push_back("zzz qqq");
    texts.push_back(std::string(1000, 'x'));
    return texts;
}

// One keystroke in the search window: the similar names of the text typed so far, the rows of
// the substring search left out. The texts above, typed one character after the other.
void BM_SimilarNamesKeystroke(benchmark::State& state) {
    const auto& rows = opened().db.game_list;
    const SimilarNames similar(rows, code_page_for_language(opened().profile.language));
    std::vector<std::pair<std::string, std::vector<std::int32_t>>> typed;
    for (const std::string& text : typed_like_names(SimilarNames::words_max))
        for (std::size_t n = 1; n <= text.size(); n += text.size() > 100 ? 100 : 1)
            typed.emplace_back(text.substr(0, n), search_substring(rows, text.substr(0, n)).rows);
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [text, shown] = typed[i++ % typed.size()];
        benchmark::DoNotOptimize(similar.find(text, shown));
    }
}

// The slowest text: as many words as are compared, each matched on its own and with its neighbour.
void BM_SimilarNamesLongest(benchmark::State& state) {
    const auto& rows = opened().db.game_list;
    const SimilarNames similar(rows, code_page_for_language(opened().profile.language));
    std::string text;
    for (const std::string& words : typed_like_names(SimilarNames::words_max))
        text += words + " ";
    const std::vector<std::string> words = [&] {
        std::vector<std::string> out;
        for (std::size_t start = 0, end = 0; start < text.size() && out.size() < SimilarNames::words_max;
             start = end + 1) {
            end = std::min(text.find(' ', start), text.size());
            if (end > start && end - start < 20) out.push_back(text.substr(start, end - start));
        }
        return out;
    }();
    std::string longest;
    for (const std::string& w : words)
        longest += (longest.empty() ? "" : " ") + w;
    for (auto _ : state)
        benchmark::DoNotOptimize(similar.find(longest, {}));
    state.SetLabel(std::to_string(words.size()) + " words");
}

void BM_ExpandGame(benchmark::State& state) {
    GAMES2_TEMP_ARRAY_TYPE g;
    for (auto _ : state) benchmark::DoNotOptimize(games_uncompress_data(opened().db, 12345, false, g));
}

void BM_Export(benchmark::State& state) {
    GAMES2_TEMP_ARRAY_TYPE g;
    games_uncompress_data(opened().db, 12345, false, g);
    const auto type = static_cast<SaveType>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(export_document(g, type, opened().captions, {"Courier New"}));
}

void BM_PlainText(benchmark::State& state) {
    GAMES2_TEMP_ARRAY_TYPE g;
    games_uncompress_data(opened().db, 12345, false, g);
    for (auto _ : state) benchmark::DoNotOptimize(games_convert_data_to_text(g, opened().captions));
}

void BM_SaveMainDat(benchmark::State& state) {
    for (auto _ : state) u_progress_dat_save_main(opened().db, opened().profile, home + "saved-main.dat", true);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * file_size(folder + "main.dat"));
}

void BM_SaveUserDat(benchmark::State& state) {
    for (auto _ : state) u_progress_dat_save_user(opened().db, opened().profile, home + "saved-user.dat", true);
}

// The "database update" task on a server list of 32766 games: parsing list.tkv's body and the
// walk that marks the wanted games (every hundredth game has a newer revision on the server).
void BM_CompareUpdateList(benchmark::State& state) {
    const auto& games = opened().db.games;
    std::string body;
    const auto put = [&body](std::int32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) body += static_cast<char>((v >> shift) & 0xFF);
    };
    std::size_t publisher_games = 0;
    for (std::size_t i = 0; i < games.size(); ++i) {
        if (games[i].id <= 0) continue;
        ++publisher_games;
        put(games[i].id);
        put(games[i].revision + (i % 100 == 0 ? 1 : 0));
    }
    put(0);
    for (auto _ : state) {
        std::vector<UPDATE_LIST_ENTRY> entries = parse_update_list(body);
        benchmark::DoNotOptimize(mark_wanted_games(entries, games));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * publisher_games));
}

BENCHMARK(BM_ReadMainDatBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProfile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSearchKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SubstringSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimilarNamesPrepare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimilarNamesKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimilarNamesLongest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Export)->DenseRange(1, 4)->ArgName("type")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveMainDat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveUserDat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareUpdateList)->Unit(benchmark::kMillisecond);

// Peak memory of a process that opens the full profile (tkv list), against main.dat's size.
void report_peak_memory() {
    ensure_profile();
    // posix_spawn shares no pages with this process, whose own memory would count otherwise.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string binary = TKV_BINARY, home_arg = "--home", list = "list", id = "synthetic", h = home;
    char* argv[] = {binary.data(), home_arg.data(), h.data(), list.data(), id.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, binary.c_str(), &actions, nullptr, argv, environ) != 0) return;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;
    const double size = static_cast<double>(file_size(folder + "main.dat"));
    std::printf("main.dat: %.1f MiB; peak memory of opening it (tkv list): %.1f MiB = %.2f x main.dat\n",
                size / 1048576.0, peak / 1048576.0, peak / size);
}

} // namespace
} // namespace tkv

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    tkv::report_peak_memory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
