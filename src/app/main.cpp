// Trickvault: the entry creates the application and the start-up, which runs the program's whole
// life and returns when its last window has closed.

#include "app/program_context.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/single_instance.h"
#include "shell/folders.h"
#include "internet/ui/mail_windows.h"
#include "internet/ui/version_windows.h"
#include "options/first_settings_window.h"
#include "options/options_window.h"
#include "platform/file_types.h"
#include "platform/qt/desktop.h"
#include "profiles/ui/manager_window.h"
#include "shell/ui/startup.h"
#include "windows/about_window.h"
#include "windows/main_window.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <random>

namespace {

// The main window's windows from the libraries built on top of it.
tkv::MainWindowHooks main_window_hooks(tkv::ProgramContext& c, tkv::Dialogs& dialogs) {
    tkv::MainWindowHooks hooks;
    hooks.first_settings = [&c](QWidget* parent) { tkv::Toption_first(c, parent).exec(); };
    hooks.options = [&c, &dialogs](QWidget* parent, const tkv::MainWindowHooks::OptionsCalls& calls) {
        tkv::Toption window(c, dialogs, parent, {calls.mail, calls.skin_show, calls.buttons_refresh});
        window.exec();
        const tkv::Toption::Outcome outcome = window.outcome();
        return tkv::MainWindowHooks::OptionsResult{outcome.accepted, outcome.list_rebuild_needed};
    };
    hooks.send_game = [&c, &dialogs, first_settings = hooks.first_settings](
                          QWidget* parent, const tkv::GAMES2_TEMP_ARRAY_TYPE& game) {
        tkv::send_game_by_email(
            c, dialogs, game, tkv::centre_of(parent->frameGeometry()), [first_settings, parent] { first_settings(parent); },
            parent);
    };
    hooks.send_userfile = [&c, &dialogs](QWidget* parent) {
        tkv::send_userfile_via_email(c, dialogs, tkv::centre_of(parent->frameGeometry()), parent);
    };
    return hooks;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trickvault");
    // The desktop finds the program's entry and icon by these names (installed or registered).
    QApplication::setDesktopFileName(QString::fromUtf8(tkv::program_icon_name.data(), tkv::program_icon_name.size()));
    QApplication::setWindowIcon(QIcon::fromTheme(QApplication::desktopFileName()));
    // Fusion draws with the palette, so skins colour every control the same on every desktop.
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    // A second instance ends at once, silently.
    tkv::SingleInstance guard;
    if (!guard.acquired()) return 0;

    tkv::ProgramContext context;
    const std::string program_folder = tkv::get_program_folder();
    tkv::seed_program_folder(program_folder, tkv::installed_data_folder());
    tkv::context_initialize(context, program_folder);
    tkv::QtDialogs dialogs;
    const auto show_main = [&] { tkv::Tmain(context, dialogs, main_window_hooks(context, dialogs)).exec(); };
    tkv::Tstartup windows(context, dialogs,
                          {show_main, [&] { tkv::Tmanager(context, dialogs, show_main).exec(); },
                           [&] { tkv::Toption_first(context).exec(); },
                           [&] { tkv::Tdonate(context, dialogs).exec(); },
                           [&] { context.first_run ? tkv::run_first(context) : tkv::run_newer(context); },
                           [&] { tkv::check_new_version(context); }});

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
