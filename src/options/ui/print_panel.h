#pragma once
// The options window's print panel: the printer, the print font and its size with a preview, and
// the print questions. The printers are listed again the first time the panel shows; from then on
// the font list follows the "only fixed width fonts" box.

#include "options/ui/info_font_panel.h"
#include "options/ui/option_panel.h"

class QCheckBox;
class QLabel;

namespace tkv {

struct ProgramContext;
class Dialogs;
class TTKV_Frame;

class PrintPanel : public OptionPanel {
    Q_OBJECT
  public:
    PrintPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);

    void set_objects_value_here(const OPTIONS_TYPE& options) override;
    // The first time: the installed printers, or the message that there is none.
    void panel_shown(bool connected) override;
    // The preview in the selected font and size, in the active skin's colours; the options window
    // calls it again after a skin change.
    void set_opt_printer_font_preview_style();
    // The font list for the box again, the previous font (else the default font, else the first)
    // selected. Nothing before the printers were listed, or when there is none.
    void ck_be_pr_onlyfixedClick();

  private:
    ProgramContext& context_;
    Dialogs& dialogs_;
    bool printers_listed_ = false;
    bool no_printer_ = false;
    ByTextCombo* cb_be_pr_printer_;
    ByTextCombo* cb_be_pr_printer_font_name_;
    QComboBox* cb_be_pr_printer_font_size_;
    QLabel* im_be_pr_printer_font_size_;
    QCheckBox* ck_be_pr_onlyfixed_;
    QLabel* lb_be_pr_preview_;
    TTKV_Frame* preview_frame_;
    QLabel* lb_be_pr_noprinter_;
};

} // namespace tkv
