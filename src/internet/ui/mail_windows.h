#pragma once
// The program's own mail: one game's information to anybody (Tsendcheat), a free message to an
// address the user clicked (Tsendmail), and the user database to the publisher (a task of the task
// window). All three run the same SMTP dialogue step by step, showing each step and naming the one
// that failed.

#include <QDialog>
#include <QPoint>
#include <functional>
#include <memory>
#include <string>

#include "database/game_types.h"
#include "internet/mail_message.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class SmtpDialogue;
class WindowSkin;

// "Send information in E-mail": asks for the mail settings when they are incomplete
// (first_settings shows Toption_first in its normal mode), then shows Tsendcheat for the game.
void send_game_by_email(ProgramContext& context, Dialogs& dialogs, const GAMES2_TEMP_ARRAY_TYPE& game,
                        QPoint centre, const std::function<void()>& first_settings, QWidget* parent = nullptr);

// Tsendmail to address (UTF-8, without "mailto:") and name, with current_mail_subject; when the user
// database is to be attached with unsaved changes, save_databases runs first.
void send_mail(ProgramContext& context, Dialogs& dialogs, const std::string& address, const std::string& name,
               QPoint centre, const std::function<void()>& save_databases, QWidget* parent = nullptr);

// The task "send userfile via email": the profile's user.dat to the publisher with a short report.
void send_userfile_via_email(ProgramContext& context, Dialogs& dialogs, QPoint centre, QWidget* parent = nullptr);

class Tsendcheat : public QDialog {
    Q_OBJECT
  public:
    Tsendcheat(ProgramContext& context, Dialogs& dialogs, GAMES2_TEMP_ARRAY_TYPE game, QPoint centre,
               QWidget* parent = nullptr);
    ~Tsendcheat() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void create_controls();
    void read_emails();
    void process_internet_informations();
    void BoxTextChange();
    void btc_sendClick();
    void btc_cancelClick();
    void SMTP_Quit(int caption);
    void sending_ended();

    ProgramContext& context_;
    Dialogs& dialogs_;
    GAMES2_TEMP_ARRAY_TYPE game_;
    std::unique_ptr<WindowSkin> skin_;
    std::unique_ptr<SmtpDialogue> smtp_;
    CheatAttachments attachments_;
    std::string recipient_history_;
    bool busy_ = false;
    QComboBox* cb_recipient_;
    QLineEdit* ed_subject_;
    QLineEdit* ed_attach_;
    QPlainTextEdit* me_message_;
    QLabel* lb_status_;
    QPushButton* btc_send_;
    QPushButton* btc_cancel_;
};

class Tsendmail : public QDialog {
    Q_OBJECT
  public:
    Tsendmail(ProgramContext& context, Dialogs& dialogs, std::string address, const std::string& name,
              QPoint centre, std::function<void()> save_databases, QWidget* parent = nullptr);
    ~Tsendmail() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void create_controls();
    void BoxTextChange();
    void btc_sendClick();
    void btc_cancelClick();
    void SMTP_Quit(int caption);
    void sending_ended();

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::string address_;
    std::function<void()> save_databases_;
    std::unique_ptr<WindowSkin> skin_;
    std::unique_ptr<SmtpDialogue> smtp_;
    bool busy_ = false;
    QLineEdit* ed_sender_;
    QLineEdit* ed_recipient_;
    QLineEdit* ed_subject_;
    QPlainTextEdit* me_message_;
    QFrame* pa_status_;
    QLabel* lb_status_;
    QCheckBox* ck_attach_user_dat_;
    QPushButton* btc_send_;
    QPushButton* btc_cancel_;
};

} // namespace tkv
