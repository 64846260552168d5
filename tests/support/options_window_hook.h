#pragma once
// The main window's options hook as the program sets it: the real options window, modal. seen,
// when given, gets the window's outcome.

#include <functional>

#include "context/program_context.h"
#include "options/ui/options_window.h"
#include "windows/ui/main_window.h"

namespace tkv::test {

inline auto options_window_hook(ProgramContext& c, Dialogs& dialogs,
                                std::function<void(const Toption::Outcome&)> seen = {}) {
    return
        [&c, &dialogs, seen = std::move(seen)](QWidget* parent, const MainWindowHooks::OptionsCalls& calls) {
            Toption window(c, dialogs, parent, {calls.mail, calls.skin_show, calls.buttons_refresh});
            window.exec();
            const Toption::Outcome outcome = window.outcome();
            if (seen) seen(outcome);
            return MainWindowHooks::OptionsResult{outcome.accepted, outcome.list_rebuild_needed};
        };
}

} // namespace tkv::test
