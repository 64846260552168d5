#pragma once
// The options window's information panel: the font of the information window's texts, with a style
// of its own or the skin's, previewed at the size the information window would choose. Also the
// font lists that the print panel shares with it.

#include "options/ui/by_text_combo.h"
#include "options/ui/option_panel.h"

#include <QComboBox>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace tkv {

struct ProgramContext;
class Dialogs;

// Every font family of the screen (UTF-8).
std::vector<std::string> screen_fonts();
// The fixed-pitch fonts of this run: the task "info_fonts" finds them the first time, its window
// centred over `over`'s window.
const std::vector<std::string>& fixed_pitch_fonts(ProgramContext& context, Dialogs& dialogs, QWidget* over);

class InfoFontPanel : public OptionPanel {
    Q_OBJECT
  public:
    InfoFontPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent = nullptr);

    void set_objects_value_here(const OPTIONS_TYPE& options) override;
    // The first time: the fixed-pitch fonts become the choice.
    void panel_shown(bool connected) override;
    // The style boxes and both previews from the controls and the active skin; the options window
    // calls it again after a skin change, which resets the memo's font.
    void set_opt_infoname_preview_style();

  private:
    std::uint8_t boxes_style() const;

    ProgramContext& context_;
    Dialogs& dialogs_;
    bool info_fonts_listed_ = false;
    QCheckBox* ck_be_inf_infostyle_spec_;
    std::vector<std::pair<QCheckBox*, std::uint8_t>> style_boxes_; // with their InfoStyle bit
    ByTextCombo* cb_be_inf_infoname_;
    QLabel* lb_be_inf_preview_;
    QPlainTextEdit* me_be_inf_preview_;
};

} // namespace tkv
