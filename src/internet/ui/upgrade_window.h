#pragma once
// The database upgrade's windows: the task "database update" that compares the server's list of
// games with the game table, and Tupgrade_database, which downloads the information types and each
// wanted record file from the current server and merges them into the tables. Nothing here writes
// a database file: the change marks make the normal save write both.

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "internet/upgrade.h"
#include "platform/http_client.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;

// The address of a resource of the open profile on the current server; empty without a profile.
std::string profile_server_address(const ProgramContext& context, std::string_view name);

// The task "database update": parses the body of list.tkv (after its name) and marks the wanted
// games, in the task window centred over caller's window.
UpdateList u_progress_dbupdate2(ProgramContext& context, Dialogs& dialogs, std::string_view list_text,
                                QWidget* caller);

class Tupgrade_database : public QDialog {
    Q_OBJECT
  public:
    // Starts by itself once shown; list must outlive the window.
    Tupgrade_database(ProgramContext& context, Dialogs& dialogs, const UpdateList& list,
                      QWidget* parent = nullptr);
    ~Tupgrade_database() override;

    // At least one record was accepted: the list must be rebuilt (which sorts the table again).
    bool list_rebuild_needed() const { return list_rebuild_needed_; }

    // Progress of the running transfer: received bytes and the announced length (0: none).
    void httpDocData(std::int64_t received, std::int64_t total);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void tm_startTimer();
    void btc_startClick();
    // GETs address into the record buffer; true for status 200.
    bool DownloadData(const std::string& address);
    void btc_abortClick();
    // "Downloads... (number. of wanted)"
    void set_overall(std::size_t number);

    ProgramContext& context_;
    Dialogs& dialogs_;
    const UpdateList& list_;
    std::unique_ptr<WindowSkin> skin_;
    HttpClient client_;
    std::string buffer_; // the bytes of the last download
    bool started_ = false;
    bool running_ = false;
    bool can_close_ = true;
    bool list_rebuild_needed_ = false;
    QLabel* lb_progress_overall_;
    QProgressBar* alp_progress_overall_;
    QLabel* lb_progress_process_;
    QProgressBar* alp_progress_process_;
    QPushButton* btc_start_;
    QPushButton* btc_abort_;
};

} // namespace tkv
