#include "options/ui/print_panel.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "options/option_rules.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/ttkv_printer.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QLabel>
#include <QStyle>

namespace tkv {

namespace {

// Sizes from 13 points (item 9) on get the warning picture: wide lines of the information text
// wrap on the page.
constexpr int large_size_first_index = 9;

} // namespace

PrintPanel::PrintPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : OptionPanel(context, "pa_settings_print", parent), context_(context), dialogs_(dialogs) {
    label("lb_be_pr_printer", caption_slot::options_printer_label, at(8, 6, 349, 16));
    cb_be_pr_printer_ = new ByTextCombo("cb_be_pr_printer", at(16, 24, 341, 22), this);
    cb_be_pr_printer_->addItems(utf8_items(SystemPrinters().printers()));
    bind([this](const OPTIONS_TYPE& o) { cb_be_pr_printer_->select_text(o.printer_name, 0); },
         [this](OPTIONS_TYPE& o) { o.printer_name = cb_be_pr_printer_->value(); });

    label("lb_be_pr_printer_font_name", caption_slot::options_print_font_label, at(8, 54, 258, 16));
    cb_be_pr_printer_font_name_ = new ByTextCombo("cb_be_pr_printer_font_name", at(16, 72, 250, 22), this);
    cb_be_pr_printer_font_name_->addItems(utf8_items(screen_fonts()));
    bind([this](const OPTIONS_TYPE& o) { cb_be_pr_printer_font_name_->select_text(o.print_font_name, -1); },
         [this](OPTIONS_TYPE& o) { o.print_font_name = cb_be_pr_printer_font_name_->value(); });

    label("lb_be_pr_printer_font_size", caption_slot::options_print_font_size_label, at(274, 54, 83, 16));
    const std::vector<std::string> sizes = print_font_size_items();
    cb_be_pr_printer_font_size_ = combo("cb_be_pr_printer_font_size", at(274, 72, 56, 22), utf8_items(sizes));
    bind(
        [this, sizes](const OPTIONS_TYPE& o) {
            cb_be_pr_printer_font_size_->setCurrentIndex(select_by_text(sizes, std::to_string(o.print_font_size), 0));
        },
        [this](OPTIONS_TYPE& o) {
            o.print_font_size = static_cast<std::uint8_t>(cb_be_pr_printer_font_size_->currentIndex() +
                                                          print_font_size_first);
        });
    im_be_pr_printer_font_size_ = new QLabel(this);
    im_be_pr_printer_font_size_->setObjectName("im_be_pr_printer_font_size");
    im_be_pr_printer_font_size_->setGeometry(at(336, 75, 16, 16));
    im_be_pr_printer_font_size_->setScaledContents(true);
    im_be_pr_printer_font_size_->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(im_be_pr_printer_font_size_->size()));

    ck_be_pr_onlyfixed_ =
        check("ck_be_pr_onlyfixed", 452, at(16, 100, 341, 20), &OPTIONS_TYPE::fixed_width_fonts_only);
    ck_be_pr_onlyfixed_->setToolTip(caption(caption_slot::options_fixed_width_fonts_hint));

    lb_be_pr_preview_ = new QLabel(this);
    lb_be_pr_preview_->setObjectName("lb_be_pr_preview");
    lb_be_pr_preview_->setGeometry(at(19, 127, 335, 72));
    lb_be_pr_preview_->setAlignment(Qt::AlignCenter);
    lb_be_pr_preview_->setAutoFillBackground(true);
    preview_frame_ = frame_control(lb_be_pr_preview_);

    check("ck_be_pr_printconfirmation", 453, at(16, 212, 341, 20), &OPTIONS_TYPE::print_confirmation);
    check("ck_be_pr_select", 644, at(16, 236, 341, 20), &OPTIONS_TYPE::selective_print);

    lb_be_pr_noprinter_ = label("lb_be_pr_noprinter", caption_slot::options_no_printer, at(8, 6, 349, 20));
    lb_be_pr_noprinter_->hide();

    // Filling the controls sets the box too; its list changes only once the printers were listed.
    connect(ck_be_pr_onlyfixed_, &QCheckBox::toggled, this, [this] { ck_be_pr_onlyfixedClick(); });
    connect(cb_be_pr_printer_font_name_, &QComboBox::currentIndexChanged, this,
            [this] { set_opt_printer_font_preview_style(); });
    connect(cb_be_pr_printer_font_size_, &QComboBox::currentIndexChanged, this,
            [this] { set_opt_printer_font_preview_style(); });
    set_opt_printer_font_preview_style();
}

void PrintPanel::set_objects_value_here(const OPTIONS_TYPE& options) {
    OptionPanel::set_objects_value_here(options);
    set_opt_printer_font_preview_style();
}

void PrintPanel::panel_shown(bool) {
    if (printers_listed_) return;
    printers_listed_ = true;
    const std::vector<std::string> printers = SystemPrinters().printers();
    if (printers.empty()) {
        no_printer_ = true;
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            w->setVisible(w == lb_be_pr_noprinter_);
        return;
    }
    cb_be_pr_printer_->refill(printers, 0);
    ck_be_pr_onlyfixedClick();
}

void PrintPanel::ck_be_pr_onlyfixedClick() {
    if (!printers_listed_ || no_printer_) return;
    const std::vector<std::string>& fonts =
        ck_be_pr_onlyfixed_->isChecked() ? fixed_pitch_fonts(context_, dialogs_, this) : screen_fonts();
    if (!cb_be_pr_printer_font_name_->refill(fonts, -1))
        cb_be_pr_printer_font_name_->select_text(context_.option_defaults.print_font_name, 0);
    set_opt_printer_font_preview_style();
}

void PrintPanel::set_opt_printer_font_preview_style() {
    const SKINS_ITEM_TYPE& fields = context_.skin_current.window_option.fields;
    QPalette p = lb_be_pr_preview_->palette();
    p.setColor(QPalette::Window, qt_colour(fields.color));
    p.setColor(QPalette::WindowText, qt_colour(fields.font_color));
    lb_be_pr_preview_->setPalette(p);
    const std::string name = cb_be_pr_printer_font_name_->value();
    const int index = cb_be_pr_printer_font_size_->currentIndex();
    lb_be_pr_preview_->setFont(skin_font(name, index + print_font_size_first, 0));
    lb_be_pr_preview_->setText(qt_utf8(name));
    im_be_pr_printer_font_size_->setVisible(!no_printer_ && index >= large_size_first_index);
    preview_frame_->refresh();
}

} // namespace tkv
