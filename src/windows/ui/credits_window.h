#pragma once
// Tcheatcheat: the full-screen credits. Two scrolling lines, a blue gradient between them and game
// names popping up at random places; only Enter, Escape or Space close it.

#include <QDialog>
#include <QTimer>

#include <array>

#include "shell/codepage.h"

class QLabel;

namespace tkv {

struct ProgramContext;

class Tcheatcheat : public QDialog {
    Q_OBJECT
  public:
    explicit Tcheatcheat(ProgramContext& context, QWidget* parent = nullptr);
    ~Tcheatcheat() override;

    // One tick of the 200 ms timer: the next label in turn shows a random game at a random place.
    void tm_cheatcheatTimer();

    // Refused unless one of the closing keys was pressed.
    void done(int result) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    static constexpr int label_count = 25;

    ProgramContext& context_;
    CodePage names_code_page_;
    std::array<QLabel*, label_count> labels_{};
    int last_label_ = 0; // 1 to 25 once a label was used
    bool may_close_ = false;
    QTimer tm_cheatcheat_;
};

} // namespace tkv
