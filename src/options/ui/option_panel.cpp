#include "options/ui/option_panel.h"

#include "appearance/ui/caption_text.h"
#include "context/program_context.h"
#include "appearance/ui/skin_apply.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tkv {

namespace {

constexpr int panel_width = 365;
constexpr int panel_height = 276;

} // namespace

OptionPanel::OptionPanel(const ProgramContext& context, const char* object_name, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(object_name);
    resize(scaled(panel_width, context.screen_scale), scaled(panel_height, context.screen_scale));
}

void OptionPanel::set_objects_value_here(const OPTIONS_TYPE& options) {
    for (const auto& binding : bindings_)
        binding.first(options);
}

void OptionPanel::get_objects_value(OPTIONS_TYPE& options) const {
    for (const auto& binding : bindings_)
        binding.second(options);
}

void OptionPanel::panel_shown(bool connected) {
    if (shown_action_) shown_action_(connected);
}

QRect OptionPanel::at(int x, int y, int w, int h) const {
    const double s = context_.screen_scale;
    QRect r = scaled_rect(x, y, w, h, s);
    // Position and size are rounded each on its own, which can take a control designed against the
    // panel's far edge a pixel past it, where it would be cut off.
    if (x + w <= panel_width) r.setRight(std::min(r.right(), scaled(panel_width, s) - 1));
    if (y + h <= panel_height) r.setBottom(std::min(r.bottom(), scaled(panel_height, s) - 1));
    return r;
}

QString OptionPanel::caption(int slot) const {
    return caption_text(context_, slot);
}

QLabel* OptionPanel::label(const char* name, int caption_slot, QRect geometry) {
    QLabel* l = skinned_label(this, name, geometry, "F");
    if (caption_slot) l->setText(caption(caption_slot));
    return l;
}

QCheckBox* OptionPanel::check(const char* name, int caption_slot, QRect geometry, bool OPTIONS_TYPE::*option) {
    auto* box = new QCheckBox(caption(caption_slot), this);
    box->setObjectName(name);
    box->setGeometry(geometry);
    bind([box, option](const OPTIONS_TYPE& o) { box->setChecked(o.*option); },
         [box, option](OPTIONS_TYPE& o) { o.*option = box->isChecked(); });
    return box;
}

QLineEdit* OptionPanel::text_edit(const char* name, QRect geometry, std::string OPTIONS_TYPE::*option) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setFrame(false);
    edit->setGeometry(geometry);
    frame_control(edit);
    bind([edit, option](const OPTIONS_TYPE& o) { edit->setText(qt_utf8(o.*option)); },
         [edit, option](OPTIONS_TYPE& o) { o.*option = utf8_of(edit->text()); });
    return edit;
}

QComboBox* OptionPanel::combo(const char* name, QRect geometry, const QStringList& items) {
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->setGeometry(geometry);
    c->addItems(items);
    return c;
}

QPushButton* OptionPanel::icon_button(const char* name, QStyle::StandardPixmap icon, int tip, QRect geometry) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setIcon(style()->standardIcon(icon));
    button->setToolTip(caption(tip).remove('&'));
    button->setAccessibleName(button->toolTip());
    return button;
}

void OptionPanel::bind(std::function<void(const OPTIONS_TYPE&)> set, std::function<void(OPTIONS_TYPE&)> get) {
    bindings_.emplace_back(std::move(set), std::move(get));
}

QStringList utf8_items(const std::vector<std::string>& texts) {
    QStringList items;
    for (const std::string& t : texts)
        items << qt_utf8(t);
    return items;
}

QStringList caption_items(const ProgramContext& context, int first_slot, int count) {
    QStringList items;
    for (int slot = first_slot; slot < first_slot + count; ++slot)
        items << caption_text(context, slot);
    return items;
}

} // namespace tkv
