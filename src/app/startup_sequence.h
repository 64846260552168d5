#pragma once
// The life of the program from its start to its end: command line, configuration, language and
// skin, archives to install, the first-run and newer-version steps, the version check schedule,
// the first window, the donation reminder and the final save. Windows are opened through
// StartupWindows, so the sequence runs the same under tests.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "platform/dialogs.h"
#include "shell/unzip_task.h"

namespace tkv {

class StartupWindows {
  public:
    virtual ~StartupWindows() = default;
    virtual double screen_scale() = 0;
    virtual SystemTitleColors system_title_colors() = 0;
    virtual bool connection_present() = 0;
    // Modal windows; each returns when the user closed it.
    virtual void show_languages() = 0;
    virtual void show_upgrade_notes() = 0; // the notes of the first run or of a newer version
    virtual void show_first_settings() = 0;
    virtual void show_version_check() = 0;
    virtual void show_main() = 0; // the current profile's main window
    virtual void show_manager() = 0;
    virtual void show_donate() = 0;
    // The task window's tasks.
    virtual void unzip(UNZIP_REQUEST& request) = 0;
    virtual void search_skins(SkinTable& table) = 0;
    // Makes the fonts of context.skin_current available (and the others withdrawn).
    virtual void set_fonts() = 0;
    virtual void register_filetypes() = 0;
};

struct StartupEnvironment {
    std::vector<std::string> arguments;
    std::function<std::size_t(std::size_t)> random_below; // a whole number from 0 to n - 1
};

// FormCreate: runs the whole sequence and returns when the program is to end.
void startup_run(ProgramContext& context, const StartupEnvironment& environment, StartupWindows& windows,
                 Dialogs& dialogs);

// The steps, for the windows that repeat one of them.
void reinitialize(ProgramContext& context);
bool version_check_due(const OPTIONS_TYPE& options, DateTime now, bool connected);
bool donation_due(const OPTIONS_TYPE& options, DateTime now);

} // namespace tkv
