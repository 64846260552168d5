#include "app/ui/program.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "context/program_context.h"
#include "internet/ui/mail_windows.h"
#include "internet/ui/version_windows.h"
#include "options/ui/first_settings_window.h"
#include "options/ui/options_window.h"
#include "platform/file_types.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/single_instance.h"
#include "profiles/ui/manager_window.h"
#include "shell/folders.h"
#include "app/ui/startup.h"
#include "windows/ui/about_window.h"
#include "windows/ui/main_window.h"
#include "shell/product.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <random>

namespace tkv {

namespace {

// The main window's windows from the libraries built on top of it.
MainWindowHooks main_window_hooks(ProgramContext& c, Dialogs& dialogs) {
    MainWindowHooks hooks;
    hooks.first_settings = [&c](QWidget* parent) { Toption_first(c, parent).exec(); };
    hooks.options = [&c, &dialogs](QWidget* parent, const MainWindowHooks::OptionsCalls& calls) {
        Toption window(c, dialogs, parent, {calls.mail, calls.skin_show, calls.buttons_refresh});
        window.exec();
        const Toption::Outcome outcome = window.outcome();
        return MainWindowHooks::OptionsResult{outcome.accepted, outcome.list_rebuild_needed};
    };
    hooks.send_game = [&c, &dialogs, first_settings = hooks.first_settings](QWidget* parent,
                                                                           const GAMES2_TEMP_ARRAY_TYPE& game) {
        send_game_by_email(
            c, dialogs, game, centre_of(parent->frameGeometry()), [first_settings, parent] { first_settings(parent); },
            parent);
    };
    hooks.send_userfile = [&c, &dialogs](QWidget* parent) {
        send_userfile_via_email(c, dialogs, centre_of(parent->frameGeometry()), parent);
    };
    return hooks;
}

} // namespace

void program_application_setup() {
    QApplication::setApplicationName(QString::fromUtf8(product_name.data(), product_name.size()));
    // The desktop finds the program's entry and icon by these names (installed or registered).
    QApplication::setDesktopFileName(QString::fromUtf8(program_icon_name.data(), program_icon_name.size()));
    QApplication::setWindowIcon(QIcon::fromTheme(QApplication::desktopFileName()));
    // Fusion draws with the palette, so skins colour every control the same on every desktop.
    QApplication::setStyle(QStyleFactory::create("Fusion"));
}

namespace {

// The help window's texts follow the language chosen, also one chosen while the program runs.
void help_in_program_language(const ProgramContext& context) {
    set_help_texts([&context] {
        const auto text = [&context](int slot) { return caption_text(context, slot); };
        HelpTexts t;
        t.title = caption_text(context, caption_slot::help_title, {product_name});
        t.back = text(caption_slot::help_back_button);
        t.forward = text(caption_slot::help_forward_button);
        t.search = text(caption_slot::help_search_label);
        t.search_hint = text(caption_slot::help_search_hint);
        t.contents = text(caption_slot::help_contents_name);
        t.results = text(caption_slot::help_results_name);
        t.page = text(caption_slot::help_page_name);
        // %1 stays for the help window, which puts in the file it could not read.
        t.not_available = caption_text(context, caption_slot::help_not_available, {"%1"});
        return t;
    });
}

} // namespace

int program_run(const std::vector<std::string>& arguments) {
    SingleInstance guard;
    if (!guard.acquired()) return 0;

    ProgramContext context;
    const std::string program_folder = get_program_folder();
    seed_program_folder(program_folder, installed_data_folder());
    context_initialize(context, program_folder);
    help_in_program_language(context);
    QtDialogs dialogs;
    const auto show_main = [&] { Tmain(context, dialogs, main_window_hooks(context, dialogs)).exec(); };
    Tstartup windows(context, dialogs,
                     {show_main, [&] { Tmanager(context, dialogs, show_main).exec(); },
                      [&] { Toption_first(context).exec(); }, [&] { Tdonate(context, dialogs).exec(); },
                      [&] { context.first_run ? run_first(context) : run_newer(context); },
                      [&] { check_new_version(context); }});

    std::random_device seed;
    std::mt19937 random(seed());
    StartupEnvironment environment;
    environment.arguments = arguments;
    environment.random_below = [&random](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    startup_run(context, environment, windows, dialogs);
    set_help_texts({});
    return 0;
}

} // namespace tkv
