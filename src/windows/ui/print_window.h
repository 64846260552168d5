#pragma once
// Printing a game: the question, the printer, the selection window Tprint and the job itself.

#include <QDialog>
#include <QPoint>

#include <memory>

#include "database/print_text.h"

class QCheckBox;

namespace tkv {

struct ProgramContext;
class Dialogs;
class PrinterSystem;
class TTKV_ListBox;
class WindowSkin;

// Whether at least one printer is installed: print commands are offered only then.
bool printer_installed();

// Prints game game_index of the table: asks when the options say so, lets the user choose the
// parts (Tprint, centred over parent's window) and prints them on the configured printer, or on
// the system's current one when that is gone (the option then follows).
void u_main_printinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent, int game_index);
// The same on the given printers.
void u_main_printinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent, int game_index,
                      PrinterSystem& printers);

// Which parts of a game to print. OK fills print_selection() (and with "Save as default" the
// option of the printed parts); any other way out leaves print_cancelled().
class Tprint : public QDialog {
    Q_OBJECT
  public:
    Tprint(ProgramContext& context, const GAMES2_TEMP_ARRAY_TYPE& game, QPoint centre, QWidget* parent = nullptr);
    ~Tprint() override;

    const PrintSelection& print_selection() const { return selection_; }
    bool print_cancelled() const { return result() != QDialog::Accepted; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QCheckBox* check_box(const char* name, int caption, int top);
    void btc_okClick();

    ProgramContext& context_;
    PrintSelection selection_;
    std::unique_ptr<WindowSkin> skin_;
    TTKV_ListBox* ls_infos_;
    QCheckBox* ck_internet_;
    QCheckBox* ck_homepages_;
    QCheckBox* ck_user_;
    QCheckBox* ck_saveasdefault_;
};

} // namespace tkv
