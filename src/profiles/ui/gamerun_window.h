#pragma once
// Tgamerun: the launch settings of the current game (db.current_game_index): the program that
// starts it, its parameters and the folder to start in. Ok stores them as one change of the
// user database; Test starts the game with the settings as typed.

#include <QDialog>

#include <memory>
#include <string>

class QLineEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
struct GAMES2_RUN_TYPE;
class Dialogs;
class WindowSkin;

class Tgamerun : public QDialog {
    Q_OBJECT
  public:
    Tgamerun(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);
    ~Tgamerun() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void create_controls();
    void ed_pathChange();
    void btc_pathClick();
    void btc_workClick();
    void btc_testClick();
    void btc_forgetClick();
    void btc_okClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    GAMES2_RUN_TYPE* run_; // of the current game; null when there is none
    QString start_path_, start_parameters_, start_folder_;
    std::unique_ptr<WindowSkin> skin_;
    QLineEdit* ed_name_ = nullptr;
    QLineEdit* ed_path_ = nullptr;
    QLineEdit* ed_comm_ = nullptr;
    QLineEdit* ed_work_ = nullptr;
    QPushButton* btc_test_ = nullptr;
};

} // namespace tkv
