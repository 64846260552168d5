#pragma once
// The options window's program panel: the server's notes of the program versions newer than this
// one, fetched on demand (and once automatically when the options say so) or loaded from the
// copy kept in information/versions.txt, and the address of the download page.

#include "options/ui/option_panel.h"
#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;

class ProgramPanel : public OptionPanel {
    Q_OBJECT
  public:
    // Opens a web address (UTF-8) the way the internet options say.
    using OpenWeb = std::function<void(const std::string& address)>;

    ProgramPanel(ProgramContext& context, Dialogs& dialogs, OpenWeb open_web, QWidget* parent = nullptr);

    // Each time the options window shows this panel. connected: what the connection detector said
    // when the window opened. The first time, the notes may be fetched.
    void panel_shown(bool connected) override;

    void btc_fr_pr_refreshClick();
    void btc_fr_pr_loadClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shows the sections of text newer than the running version; a download records the check time.
    void fr_pr_check(const std::string& text, bool after_download);
    void show_load_button();
    std::string stored_notes_path() const;

    ProgramContext& context_;
    Dialogs& dialogs_;
    OpenWeb open_web_;
    bool refreshed_ = false; // the notes were fetched, or tried, in this options window
    QLabel* lb_fr_pr_whatsnew_;
    QPlainTextEdit* me_fr_pr_whatsnew_;
    QPushButton* btc_fr_pr_refresh_;
    QPushButton* btc_fr_pr_load_;
    QLabel* lb_fr_pr_web_;
    QLabel* ulb_fr_pr_webaddress_;
};

} // namespace tkv
