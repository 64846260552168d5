#pragma once
// Tdownload: the window of one HTTP download from the current server, with its progress, speed
// and time left, and a Cancel that ends the transfer at once. The three entry points fetch a text
// resource, a named binary resource or a file; each blocks its caller until the window closed.

#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>
#include <memory>
#include <string>

#include "platform/http_client.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;

struct DOWNLOAD_REQUEST {
    std::string url;
    std::string target_file; // empty: the body is kept in result_text
    std::string label;       // UTF-8, the window's first line
    QPoint centre;           // of the calling window
    std::string result_text;
    bool succeeded = false;  // status 200 and, for a file, everything stored
    bool keep_line_ends = false;
    bool aborted = false;
};

class Tdownload : public QDialog {
    Q_OBJECT
  public:
    Tdownload(ProgramContext& context, Dialogs& dialogs, DOWNLOAD_REQUEST& request, QWidget* parent = nullptr);
    ~Tdownload() override;

    // Progress of the running transfer: received bytes and the announced length (0 or less: none).
    void httpDocData(std::int64_t received, std::int64_t total);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void tm_closerTimer();
    void transfer();
    void btc_abortClick();
    void CloseNow();

    ProgramContext& context_;
    Dialogs& dialogs_;
    DOWNLOAD_REQUEST& request_;
    std::unique_ptr<WindowSkin> skin_;
    HttpClient client_;
    QElapsedTimer clock_;
    std::int64_t last_elapsed_ = 0;
    bool can_close_ = false;
    QLabel* lb_download_;
    QProgressBar* alp_download_;
    QLabel* lb_position_;
    QLabel* lb_speed_;
    QLabel* lb_timeleft_;
    QPushButton* btc_abort_;
};

// Label texts are UTF-8. A false result leaves result empty.
bool download_string(ProgramContext& context, Dialogs& dialogs, const std::string& url, const std::string& label,
                     QWidget* caller, std::string& result);
bool download_string2(ProgramContext& context, Dialogs& dialogs, const std::string& url, const std::string& label,
                      const std::string& expected_name, QWidget* caller, std::string& result);
bool download_file(ProgramContext& context, Dialogs& dialogs, const std::string& url, const std::string& target_file,
                   QWidget* caller, const std::string& label);

} // namespace tkv
