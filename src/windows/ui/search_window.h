#pragma once
// Tsearch: finds the games whose shown name contains a text anywhere (the main window's quick
// search only matches the beginning) and hands the chosen row of the displayed list back.

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "shell/codepage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;
class TTKV_ListBox;
class WindowSkin;

class Tsearch : public QDialog {
    Q_OBJECT
  public:
    // search_text: the text of the main window's search box, the starting point of the search.
    Tsearch(ProgramContext& context, const QString& search_text, QWidget* parent = nullptr);
    ~Tsearch() override;

    // The chosen row of the game list; none when the window was closed without a choice.
    std::optional<int> result() const { return result_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void btc_searchClick();
    void btc_viewClick();
    void ls_listEnter();
    void ed_nameEnter();
    void focus_ed_name();

    ProgramContext& context_;
    CodePage names_code_page_;                 // of the open profile, in which the game names are kept
    std::vector<std::int32_t> search_results_; // game list rows, in the order ls_list shows them
    std::optional<int> result_;
    QLineEdit* ed_name_;
    QLabel* lb_list_;
    TTKV_ListBox* ls_list_;
    QPushButton* btc_search_;
    QPushButton* btc_view_;
    std::unique_ptr<WindowSkin> skin_;
};

} // namespace tkv
