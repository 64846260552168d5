// Trickvault: the entry creates the application and the start-up, which runs the program's whole
// life and returns when its last window has closed.

#include "app/program_context.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/single_instance.h"
#include "shell/folders.h"
#include "shell/ui/startup.h"
#include "options/first_settings_window.h"
#include "profiles/ui/manager_window.h"
#include "windows/about_window.h"
#include "windows/main_window.h"

#include <QApplication>
#include <QStyleFactory>
#include <random>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trickvault");
    // Fusion draws with the palette, so skins colour every control the same on every desktop.
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    // A second instance ends at once, silently.
    tkv::SingleInstance guard;
    if (!guard.acquired()) return 0;

    tkv::ProgramContext context;
    tkv::context_initialize(context, tkv::get_program_folder());
    tkv::QtDialogs dialogs;
    const auto show_main = [&] { tkv::Tmain(context, dialogs).exec(); };
    tkv::Tstartup windows(context, dialogs,
                          {show_main, [&] { tkv::Tmanager(context, dialogs, show_main).exec(); },
                           [&] { tkv::Toption_first(context).exec(); },
                           [&] { tkv::Tdonate(context, dialogs).exec(); }});

    std::random_device seed;
    std::mt19937 random(seed());
    tkv::StartupEnvironment environment;
    for (int i = 1; i < argc; ++i)
        environment.arguments.emplace_back(argv[i]);
    environment.random_below = [&random](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    tkv::startup_run(context, environment, windows, dialogs);
    return 0;
}
