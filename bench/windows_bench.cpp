// Benchmarks of the main window on the full profile: what a user feels while typing into the
// search box and scrolling the list of 65534 names, painted on the offscreen platform, also while
// the full-text index is being built on its worker thread.

#include "full_profile.h"

#include "context/program_context.h"
#include "appearance/skin_file.h"
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
#include <filesystem>
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

// The full profile open in a shown main window. Its full-text index is made from nothing in the
// bench's own cache, so the window opens while it is being built.
struct OpenWindow {
    ProgramContext c;
    NoDialogs dialogs;
    std::unique_ptr<Tmain> w;
    OpenWindow() {
        ensure_profile();
        std::filesystem::remove_all(home + "cache-windows");
        ::setenv("XDG_CACHE_HOME", (home + "cache-windows").c_str(), 1);
        context_initialize(c, home);
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.show_splash = false;
        profiles_ini_load(c.profiles, home);
        profile_select(c.profiles, profiles_search(c.profiles, "full"), c.options, c.variables);
        w = std::make_unique<Tmain>(c, dialogs);
        w->show();
        if (!QTest::qWaitFor([&] { return w->ready(); }, 60000))
            std::fprintf(stderr, "The full profile did not open.\n");
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
// while the full-text index is being built (it runs first, right after the window opened); the
// second once it is done.
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

BENCHMARK(BM_SearchBoxKeystroke)->ArgName("while_indexing")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListRows)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tkv

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tkv::opened.reset();
    return 0;
}
