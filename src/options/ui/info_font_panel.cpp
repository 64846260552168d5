#include "options/ui/info_font_panel.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "options/option_rules.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "tasks/ui/progress_window.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>

namespace tkv {

namespace {

// The label is measured against the memo the way the information window measures its text.
constexpr const char* preview_line = "AaBbCcDdEeFfGgHhIiJjKkLlMm 0123456789";
constexpr const char* preview_text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\nabcdefghijklmnopqrstuvwxyz\n"
                                     "0123456789 .,:;!?()[]+-*/=";

struct StyleBox {
    const char* name;
    int caption;
    std::uint8_t bit;
    int left;
    int width;
};
constexpr StyleBox style_box_layout[] = {
    {"ck_be_inf_infostyle_bold", caption_slot::options_info_font_bold, info_style_bold, 32, 100},
    {"ck_be_inf_infostyle_italic", caption_slot::options_info_font_italic, info_style_italic, 136, 100},
    {"ck_be_inf_infostyle_underline", caption_slot::options_info_font_underline, info_style_underline, 240,
     117},
};

} // namespace

std::vector<std::string> screen_fonts() {
    std::vector<std::string> fonts;
    for (const QString& family : QFontDatabase::families())
        fonts.push_back(utf8_of(family));
    return fonts;
}

const std::vector<std::string>& fixed_pitch_fonts(ProgramContext& context, Dialogs& dialogs, QWidget* over) {
    if (!context.fixed_fonts_built) {
        TaskRequest request;
        request.task = Task::info_fonts;
        request.centre = centre_of(over->window()->frameGeometry());
        Tprogress::run(context, dialogs, std::move(request), over);
    }
    return context.fixed_fonts;
}

InfoFontPanel::InfoFontPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : OptionPanel(context, "pa_design_information", parent), context_(context), dialogs_(dialogs) {
    label("lb_be_inf_infobold", caption_slot::options_info_font_style_label, at(8, 6, 349, 16));
    ck_be_inf_infostyle_spec_ =
        check("ck_be_inf_infostyle_spec", 471, at(16, 24, 341, 20), &OPTIONS_TYPE::info_style_enabled);
    for (const StyleBox& b : style_box_layout) {
        auto* box = new QCheckBox(caption(b.caption), this);
        box->setObjectName(b.name);
        box->setGeometry(at(b.left, 46, b.width, 20));
        style_boxes_.emplace_back(box, b.bit);
    }
    bind(
        [this](const OPTIONS_TYPE& o) {
            for (auto [box, bit] : style_boxes_)
                box->setChecked(o.info_style & bit);
        },
        [this](OPTIONS_TYPE& o) { o.info_style = boxes_style(); });

    label("lb_be_inf_infoname", caption_slot::options_info_font_name_label, at(8, 76, 349, 16));
    cb_be_inf_infoname_ = new ByTextCombo("cb_be_inf_infoname", at(16, 94, 341, 22), this);
    cb_be_inf_infoname_->addItems(utf8_items(screen_fonts()));
    bind([this](const OPTIONS_TYPE& o) { cb_be_inf_infoname_->select_text(o.info_font_name, -1); },
         [this](OPTIONS_TYPE& o) { o.info_font_name = cb_be_inf_infoname_->value(); });

    lb_be_inf_preview_ = label("lb_be_inf_preview", 0, at(16, 124, 341, 36));
    lb_be_inf_preview_->setText(preview_line);
    me_be_inf_preview_ = new QPlainTextEdit(preview_text, this);
    me_be_inf_preview_->setObjectName("me_be_inf_preview");
    me_be_inf_preview_->setReadOnly(true);
    me_be_inf_preview_->setFrameShape(QFrame::NoFrame);
    me_be_inf_preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    me_be_inf_preview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    me_be_inf_preview_->setGeometry(at(19, 167, 335, 100));
    frame_control(me_be_inf_preview_);

    connect(ck_be_inf_infostyle_spec_, &QCheckBox::toggled, this, [this] { set_opt_infoname_preview_style(); });
    for (const auto& box : style_boxes_)
        connect(box.first, &QCheckBox::toggled, this, [this] { set_opt_infoname_preview_style(); });
    connect(cb_be_inf_infoname_, &QComboBox::currentIndexChanged, this, [this] { set_opt_infoname_preview_style(); });
    set_opt_infoname_preview_style();
}

void InfoFontPanel::set_objects_value_here(const OPTIONS_TYPE& options) {
    OptionPanel::set_objects_value_here(options);
    set_opt_infoname_preview_style();
}

void InfoFontPanel::panel_shown(bool) {
    if (info_fonts_listed_) return;
    info_fonts_listed_ = true;
    cb_be_inf_infoname_->refill(fixed_pitch_fonts(context_, dialogs_, this), 0);
    set_opt_infoname_preview_style();
}

std::uint8_t InfoFontPanel::boxes_style() const {
    std::uint8_t style = 0;
    for (auto [box, bit] : style_boxes_)
        if (box->isChecked()) style |= bit;
    return style;
}

void InfoFontPanel::set_opt_infoname_preview_style() {
    const bool own_style = ck_be_inf_infostyle_spec_->isChecked();
    for (const auto& box : style_boxes_)
        box.first->setVisible(own_style);
    const std::uint8_t style = own_style ? boxes_style() : context_.skin_current.info_font_style;
    const std::string name = cb_be_inf_infoname_->value();
    me_be_inf_preview_->setFont(information_font(lb_be_inf_preview_, name, style, me_be_inf_preview_->width()));
}

} // namespace tkv
