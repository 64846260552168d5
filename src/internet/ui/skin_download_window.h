#pragma once
// Tskindownload: downloads every skin of the filtered catalogue from the current server into the
// skins folder and unpacks each, with an overall and a per-file bar.

#include <QDialog>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "internet/skin_catalogue.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class HttpClient;
class TTKV_ListBox;
class WindowSkin;

class Tskindownload : public QDialog {
    Q_OBJECT
  public:
    // Waits for Start; the window keeps its own copy of the entries.
    Tskindownload(ProgramContext& context, Dialogs& dialogs, const std::vector<DOWNSKINS_TYPE>& catalogue,
                  QWidget* parent = nullptr);
    ~Tskindownload() override;

    // Skins installed into the skins folder during this window's run.
    std::size_t downloaded() const { return downloaded_; }

    // Progress of the running transfer: received bytes and the announced length (0: none).
    void httpDocData(std::int64_t received, std::int64_t total);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void btc_startClick();
    // GETs the skin's archive into the skins folder; true for status 200 with every byte stored.
    bool ud_download_file(std::size_t index);
    // Installs the skins of the downloaded archive; true when at least one was installed.
    bool ud_unpack_file(std::size_t index);
    void btc_abortClick();

    std::string skins_folder() const;
    std::string address_of(std::size_t index) const;
    std::string archive_of(std::size_t index) const;
    // Row index as caption slot shows it: "%1 (%2 KBytes) - ...".
    void set_row(std::size_t index, int slot);

    ProgramContext& context_;
    Dialogs& dialogs_;
    const std::vector<DOWNSKINS_TYPE> catalogue_;
    std::unique_ptr<WindowSkin> skin_;
    std::unique_ptr<HttpClient> transfer_; // the running GET; null between transfers
    std::int64_t total_kb_ = 0;            // every entry's size_kb
    std::int64_t done_kb_ = 0;             // size_kb of the entries downloaded so far
    std::int64_t current_kb_ = 0;          // size_kb of the entry being downloaded
    std::size_t downloaded_ = 0;
    bool started_ = false;
    bool running_ = false;
    bool can_close_ = true;
    QLabel* lb_files_;
    TTKV_ListBox* ls_files_;
    QLabel* lb_progress_overall_;
    QProgressBar* alp_progress_overall_;
    QLabel* lb_progress_process_;
    QProgressBar* alp_progress_process_;
    QPushButton* btc_start_;
    QPushButton* btc_abort_;
};

} // namespace tkv
