#pragma once
// Tabout and Tdonate: the program's about window and the donation window.

#include <QDialog>

#include <memory>
#include <string>

#include "appearance/captions.h"
#include "internet/ui/addresses.h"

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class WindowSkin;

class Tabout : public QDialog {
    Q_OBJECT
  public:
    // mail: how the address label sends mail; without it the system's mail program is used.
    Tabout(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr, MailWindows mail = {});
    ~Tabout() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void captions_about();
    void skin_about();
    bool form_key_down(QKeyEvent* event);
    void ulb_webaddClick();
    void ulb_emailaddClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    MailWindows mail_;
    std::unique_ptr<WindowSkin> skin_;
    QLabel* lb_programname_;
    QLabel* lb_programver_;
    QLabel* lb_programmaker_;
    QLabel* ulb_webadd_;
    QLabel* ulb_emailadd_;
    QPlainTextEdit* me_info_;
    QPushButton* btc_ok_;
};

// The donation letter (caption_slot::donate_letter) ending with how many more times the start-up shows it:
// times_left is the configured count before this showing.
std::string donate_message(const Captions& captions, int times_left);

class Tdonate : public QDialog {
    Q_OBJECT
  public:
    Tdonate(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
    ~Tdonate() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void btc_donateClick();
    void btc_cancelClick();

    std::unique_ptr<WindowSkin> skin_;
    QPlainTextEdit* me_info_;
};

} // namespace tkv
