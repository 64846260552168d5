#pragma once
// Tlanguages: the choice of the user-interface language. It cannot be closed without a choice.

#include <QDialog>

#include <vector>

#include "appearance/languages.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class TTKV_ListBox;
class TTKV_Frame;
class WindowSkin;

class Tlanguages : public QDialog {
    Q_OBJECT
  public:
    Tlanguages(ProgramContext& context, QWidget* parent = nullptr);
    ~Tlanguages() override;

    QString selectedRowText() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void ls_languagesClick();
    void btc_selectClick();
    int current_row() const;

    ProgramContext& context_;
    std::vector<LANGUAGES_TYPE> languages_;
    bool selected_ = false;
    TTKV_ListBox* ls_languages_;
    TTKV_Frame* tkvf_ls_languages_;
    QLabel* lb_maker_;
    QPlainTextEdit* me_maker_;
    TTKV_Frame* tkvf_me_maker_;
    QPushButton* btc_select_;
    std::unique_ptr<WindowSkin> skin_;
};

} // namespace tkv
