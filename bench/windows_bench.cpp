// Benchmarks of the main window on the full profile: what a user feels while opening it, typing
// into the search box and scrolling the list of 65534 names, painted on the offscreen platform, also
// while the full-text index is being built on its worker thread.

#include "full_profile.h"

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "database/open_database.h"
#include "platform/dialogs.h"
#include "search/text_index.h"
#include "windows/ui/game_list_rows.h"
#include "windows/ui/main_window.h"
#include "widgets/ttkv_listbox.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

namespace tkv {
namespace {

class NoDialogs : public Dialogs {
  public:
    MessageAnswer message(const MessageRequest&) override { return MessageAnswer::cancel; }
    std::optional<FileDialogResult> open_file(const FileDialogRequest&) override { return {}; }
    std::optional<FileDialogResult> save_file(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> choose_folder(const std::string&, const std::string&) override { return {}; }
    std::optional<FontChoice> choose_font(const std::string&, const FontChoice&) override { return {}; }
};

// The demo profile beside the full one, copied from the build's program folder.
void ensure_demo_profile() {
    const std::string demo = home + "profiles/demo/";
    if (file_exists(demo + "main.dat")) return;
    std::filesystem::create_directories(demo);
    std::filesystem::copy_file(TKV_DEMO_FOLDER "/main.dat", demo + "main.dat");
}

// A context as the program starts it on this profile, without the splash screen.
void context_on_profile(ProgramContext& c, const std::string& profile_id) {
    ensure_profile();
    ensure_demo_profile();
    context_initialize(c, home);
    c.skin_default = skins_setdefault({});
    c.skin_current = c.skin_default;
    c.options.show_splash = false;
    profiles_ini_load(c.profiles, home);
    profile_select(c.profiles, profiles_search(c.profiles, profile_id), c.options, c.variables);
}

// Shows the window and returns when its list is shown, or false after a minute.
bool show_until_ready(Tmain& w) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    w.show();
    // The window's cheat-button timer wakes the loop at least every half second.
    while (!w.ready() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return w.ready();
}

// The full profile open in a shown main window. Its full-text index is made from nothing in a
// cache of its own, so the window opens while it is being built.
struct OpenWindow {
    ProgramContext c;
    NoDialogs dialogs;
    std::unique_ptr<Tmain> w;
    OpenWindow() {
        std::filesystem::remove_all(home + "cache-windows");
        ::setenv("XDG_CACHE_HOME", (home + "cache-windows").c_str(), 1);
        context_on_profile(c, "full");
        w = std::make_unique<Tmain>(c, dialogs);
        if (!show_until_ready(*w)) std::fprintf(stderr, "The full profile did not open.\n");
    }
    QLineEdit* search() const { return w->findChild<QLineEdit*>("ed_search"); }
    // Whether the full-text index of the open profile is complete on disk.
    bool index_built() {
        TextIndex index(*current_profile(c), c.variables.main_dat_path);
        return index.ready(c.db);
    }
    TTKV_ListBox* list() const { return w->findChild<TTKV_ListBox*>("ls_gamename"); }
};

} // namespace

// Released in main(), before the application it needs.
std::unique_ptr<OpenWindow> opened;

namespace {

OpenWindow& window() {
    if (!opened) opened = std::make_unique<OpenWindow>();
    return *opened;
}

// One keystroke in the search box: the search, the new selection scrolled into view and the list
// repainted. Letters and backspaces alternate, so every keystroke searches. The first run types
// while the full-text index is being built (right after the window opened); the second once it is
// done.
void BM_SearchBoxKeystroke(benchmark::State& state) {
    OpenWindow& o = window();
    const bool while_indexing = state.range(0) == 1;
    if (!while_indexing && !QTest::qWaitFor([&] { return o.index_built(); }, 600000))
        state.SkipWithError("the full-text index was not built");
    o.search()->setFocus();
    o.search()->clear();
    QTest::keyClicks(o.search(), "dra");
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(o.search(), type ? 'g' : '\b');
        o.list()->viewport()->repaint();
        type = !type;
    }
    // Typing went on while the index was built only when it is not done yet.
    if (while_indexing && o.index_built()) state.SkipWithError("the index was built before the typing ended");
}

// Scrolling the list by one page and painting it.
void BM_ScrollOnePage(benchmark::State& state) {
    OpenWindow& o = window();
    QScrollBar* bar = o.list()->verticalScrollBar();
    bar->setValue(0);
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        o.list()->viewport()->repaint();
    }
}

// The list's rows converted for the list box after every load or rebuild.
void BM_ListRows(benchmark::State& state) {
    OpenWindow& o = window();
    for (auto _ : state) benchmark::DoNotOptimize(game_list_rows(o.c.db.game_list, CodePage::windows_1252).size());
}

// Seconds per iteration of the opening benchmarks that ran, by name, for the ratio.
std::map<std::string, double> open_seconds;

void record_open(benchmark::State& state, const std::string& name, double seconds) {
    if (state.iterations() > 0) open_seconds[name] = seconds / static_cast<double>(state.iterations());
}

// The core open of the full profile (load, merge, build, sort) as the window runs it, into an
// empty table as the window's is.
void BM_CoreOpenFull(benchmark::State& state) {
    ProgramContext c;
    context_on_profile(c, "full");
    double total = 0;
    for (auto _ : state) {
        GameDatabase db;
        const auto start = std::chrono::steady_clock::now();
        database_open(db, c.variables.changes, *current_profile(c), c.variables.main_dat_path,
                      c.variables.user_dat_path, c.options.ignore_case);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
    }
    record_open(state, "core", total);
}

// A new main window on a profile, from its creation until its list is shown. Against the core
// open: ratio = full window / (core open + demo window), the goal is at most 1.5.
void BM_OpenMainWindow(benchmark::State& state, const std::string& profile_id) {
    NoDialogs dialogs;
    double total = 0;
    std::size_t games = 0;
    for (auto _ : state) {
        auto c = std::make_unique<ProgramContext>();
        context_on_profile(*c, profile_id);
        const auto start = std::chrono::steady_clock::now();
        auto w = std::make_unique<Tmain>(*c, dialogs);
        if (!show_until_ready(*w)) state.SkipWithError("the profile did not open");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
        games = c->db.games.size();
        w.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    record_open(state, profile_id, total);
    state.counters["games"] = static_cast<double>(games);
    if (profile_id == "full" && open_seconds.contains("core") && open_seconds.contains("demo"))
        state.counters["ratio"] = open_seconds["full"] / (open_seconds["core"] + open_seconds["demo"]);
}

BENCHMARK(BM_CoreOpenFull)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenMainWindow, demo, std::string("demo"))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenMainWindow, full, std::string("full"))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchBoxKeystroke)->ArgName("while_indexing")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListRows)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tkv

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The text index the windows start preparing stays in the build folder, not the user's cache.
    qputenv("XDG_CACHE_HOME", TKV_BENCH_DATA "/cache");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tkv::opened.reset();
    return 0;
}
