// Benchmarks of the main window on the full profile: what a user feels while typing into the
// search box and scrolling the list of 65534 names, painted on the offscreen platform.

#include "full_profile.h"

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "platform/dialogs.h"
#include "windows/ui/game_list_rows.h"
#include "windows/ui/main_window.h"
#include "widgets/ttkv_listbox.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <benchmark/benchmark.h>
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

// The full profile open in a shown main window.
struct OpenWindow {
    ProgramContext c;
    NoDialogs dialogs;
    std::unique_ptr<Tmain> w;
    OpenWindow() {
        ensure_profile();
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
// repainted. Letters and backspaces alternate, so every keystroke searches.
void BM_SearchBoxKeystroke(benchmark::State& state) {
    OpenWindow& o = window();
    o.search()->setFocus();
    QTest::keyClicks(o.search(), "dra");
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(o.search(), type ? 'g' : '\b');
        o.list()->viewport()->repaint();
        type = !type;
    }
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

BENCHMARK(BM_SearchBoxKeystroke)->Unit(benchmark::kMicrosecond);
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
