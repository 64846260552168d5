#pragma once
// The program's own versions: the notes window Tupgrade (the welcome of the first run and the
// changes since the recorded version) and the version-check window Tchecknew, which asks the
// current server for the newest version and says so only when it differs from this one.

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "platform/http_client.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class TTKV_Frame;
class WindowSkin;

class Tupgrade : public QDialog {
    Q_OBJECT
  public:
    // upgrade_text in UTF-8.
    Tupgrade(ProgramContext& context, const std::string& upgrade_text, QWidget* parent = nullptr);
    ~Tupgrade() override;

  private:
    std::unique_ptr<WindowSkin> skin_;
    QPlainTextEdit* me_upgrade_;
    QPushButton* btc_ok_;
};

class Tchecknew : public QDialog {
    Q_OBJECT
  public:
    explicit Tchecknew(ProgramContext& context, QWidget* parent = nullptr);
    ~Tchecknew() override;

  protected:
    // Cancel, Escape and the title bar's close: a running transfer is aborted first and the
    // window closes as soon as it has ended.
    void reject() override;

  private:
    void tm_closerTimer();
    // The version file's body; nothing on any failure or an abort.
    std::optional<std::string> fetch(const std::string& address);
    void show_newer(const std::string& version);
    void btc_homepageClick();

    ProgramContext& context_;
    std::unique_ptr<WindowSkin> skin_;
    HttpClient client_;
    bool fetching_ = false;
    QLabel* lb_information_;
    QPlainTextEdit* me_information_;
    TTKV_Frame* tkvf_me_information_;
    QPushButton* btc_abort_;
    QPushButton* btc_homepage_;
};

// The notes windows the start-up shows; both return when the window closed. version_initialization
// is the start-up's step before them.
void run_first(ProgramContext& context, QWidget* parent = nullptr);
// Shows the changes since context.stored_version, when that is older than the running version.
void run_newer(ProgramContext& context, QWidget* parent = nullptr);
// The automatic version check: Tchecknew, modal. Sets the option "automatic version checks time"
// only when the server named a version.
void check_new_version(ProgramContext& context, QWidget* parent = nullptr);

} // namespace tkv
