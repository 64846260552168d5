#pragma once
// Tstartup: the program's windows for the start-up sequence.

#include <QString>
#include <QTimer>
#include <functional>
#include <map>

#include "app/startup_sequence.h"
#include "appearance/skin_table.h"
#include "appearance/ui/skin_apply.h"

namespace tkv {

class Tstartup : public StartupWindows {
  public:
    // The windows of the browsing and profile libraries, which are built on this one; each is
    // shown modally.
    struct BrowsingWindows {
        std::function<void()> main;           // the current profile's main window
        std::function<void()> manager;        // the profile manager
        std::function<void()> first_settings; // the mail and proxy settings of the first run
        std::function<void()> donate;         // the donation reminder
        std::function<void()> upgrade_notes;  // the welcome or what is new in this version
        std::function<void()> version_check;  // the automatic check for a newer version
    };
    Tstartup(ProgramContext& context, Dialogs& dialogs, BrowsingWindows windows);

    double screen_scale() override;
    SystemTitleColors system_title_colors() override;
    bool connection_present() override;
    void show_languages() override;
    void show_upgrade_notes() override;
    void show_first_settings() override;
    void show_version_check() override;
    void show_main() override;
    void show_manager() override;
    void show_donate() override;
    void unzip(UNZIP_REQUEST& request) override;
    void search_skins(SkinTable& table) override;
    void set_fonts() override;
    void register_filetypes() override;

  private:
    ProgramContext& context_;
    Dialogs& dialogs_;
    BrowsingWindows browsing_;
    QTimer tm_stats_; // the statistics' day change
};

} // namespace tkv
