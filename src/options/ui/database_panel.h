#pragma once
// The options window's database panel: compares the open profile's game table with the server's
// list of games (on demand, and once automatically when the options say so) and runs the update
// of the wanted games. The same button resumes an interrupted update, because the comparison is
// repeated after every run.

#include "options/ui/option_panel.h"

#include <string>

#include "internet/upgrade.h"

class QLabel;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;

class DatabasePanel : public OptionPanel {
    Q_OBJECT
  public:
    DatabasePanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);

    // Each time the options window shows this panel. connected: what the connection detector said
    // when the window opened. The first time, the comparison may run by itself.
    void panel_shown(bool connected) override;

    // The game table changed and the list was rebuilt behind the main window's back: it must
    // rebuild its own (keeping its selection).
    bool main_list_outdated() const { return main_list_outdated_; }

    void btc_fr_db_refreshClick();
    void check_differences(const std::string& list_text);
    void btc_upgrade_database_startClick();

  private:
    void show_table_counts();

    ProgramContext& context_;
    Dialogs& dialogs_;
    bool database_panel_visited_ = false;
    bool main_list_outdated_ = false;
    std::string update_list_text_; // the body of the last list.tkv fetched
    UpdateList update_list_;
    QPushButton* btc_fr_db_refresh_;
    QPushButton* btc_upgrade_database_start_;
    QLabel* lb_fr_db_games_all_;
    QLabel* lb_fr_db_games_main_;
    QLabel* lb_fr_db_games_latest_;
    QLabel* lb_fr_db_games_download_;
};

} // namespace tkv
