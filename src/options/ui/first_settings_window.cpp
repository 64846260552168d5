#include "options/ui/first_settings_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tkv {

namespace {

constexpr int row_step = 24;
// In normal mode the mail check box takes the first row of the mail block, and everything
// below it moves down by a whole row, so that the box stays clear of the framed edit under it.
constexpr int check_box_row = row_step;

} // namespace

QFrame* framed_panel(QWidget* client, const char* name, const QRect& geometry) {
    auto* panel = new QFrame(client);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    auto* frame = new TTKV_Frame(client);
    frame->setObjectName(QString("tkvf_") + name);
    frame->setControl(panel);
    return panel;
}

CheckedFields::CheckedFields(QWidget* panel, const ProgramContext& context, const char* box_name,
                             int box_caption, const std::vector<Row>& rows, const FieldsPlace& place) {
    const double s = context.screen_scale;
    const int edit_left = place.left + place.label_width + 4;
    box_ = new QCheckBox(caption_text(context, box_caption), panel);
    box_->setObjectName(box_name);
    box_->setGeometry(
        scaled_rect(place.left, place.box_top, edit_left + place.edit_width - place.left, 17, s));
    int top = place.rows_top;
    for (const Row& row : rows) {
        auto* label = new QLabel(caption_text(context, row.caption), panel);
        label->setObjectName(QString::fromStdString("lb_" + row.name));
        label->setGeometry(scaled_rect(place.left, top + 2, place.label_width, 14, s));
        set_skin_class(label, "F");
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QString::fromStdString("ed_" + row.name));
        edit->setFrame(false);
        edit->setGeometry(scaled_rect(edit_left, top, place.edit_width, 17, s));
        label->setBuddy(edit);
        auto* frame = new TTKV_Frame(panel);
        frame->setObjectName(QString::fromStdString("tkvf_ed_" + row.name));
        frame->setControl(edit);
        labels_.push_back(label);
        edits_.push_back(edit);
        top += row_step;
    }
    QObject::connect(box_, &QCheckBox::toggled, box_, [this] { box_changed(); });
    box_changed();
}

void CheckedFields::box_changed() {
    const bool shown = box_->isChecked();
    for (QLabel* label : labels_)
        label->setVisible(shown);
    for (QLineEdit* edit : edits_)
        edit->setVisible(shown);
}

ProxyFields::ProxyFields(QWidget* panel, const ProgramContext& context, const char* box_name,
                         const std::string& prefix, int first_caption, const FieldsPlace& place)
    : CheckedFields(panel, context, box_name, first_caption,
                    {{prefix + "http_proxyhost", first_caption + 1},
                     {prefix + "http_proxyport", first_caption + 2},
                     {prefix + "http_proxyname", first_caption + 3},
                     {prefix + "http_proxycode", first_caption + 4}},
                    place) {}

void ProxyFields::show(const OPTIONS_TYPE& o) {
    edit(0)->setText(qt_utf8(o.proxy_server));
    edit(1)->setText(qt_utf8(o.proxy_port));
    edit(2)->setText(qt_utf8(o.proxy_user));
    edit(3)->setText(qt_utf8(o.proxy_password));
    box()->setChecked(o.use_proxy);
}

void ProxyFields::store(OPTIONS_TYPE& o) const {
    o.use_proxy = box()->isChecked();
    o.proxy_server = utf8_of(edit(0)->text());
    o.proxy_port = utf8_of(edit(1)->text());
    o.proxy_user = utf8_of(edit(2)->text());
    o.proxy_password = utf8_of(edit(3)->text());
}

Toption_first::Toption_first(ProgramContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("Toption_first");
    const bool normal_mode = !context.variables.first_settings_mode;
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls(normal_mode);

    const OPTIONS_TYPE& o = context.options;
    email_->edit(0)->setText(qt_utf8(o.smtp_server));
    email_->edit(1)->setText(qt_utf8(o.smtp_port));
    email_->edit(2)->setText(qt_utf8(o.user_name));
    email_->edit(3)->setText(qt_utf8(o.user_email));
    email_->box()->setChecked(o.internal_mail);
    proxy_->show(o);

    setWindowTitle(
        qt_text(caption_format(context.CAPTIONS[caption_slot::first_settings_title], {product_name}),
                context.language.code_page));
    const double s = context.screen_scale;
    skin_->set_client_size(QSize(321, 337 + (normal_mode ? check_box_row : 0)), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
}

Toption_first::~Toption_first() = default;

void Toption_first::create_controls(bool normal_mode) {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const int shift = normal_mode ? check_box_row : 0;
    const auto panel_title = [&](QFrame* panel, const char* name, int slot) {
        auto* label = new QLabel(caption_text(context_, slot), panel);
        label->setObjectName(name);
        label->setGeometry(at(8, 6, 289, 14));
        set_skin_class(label, "F");
    };
    const auto button = [&](const char* name, int slot, int left) {
        auto* b = new QPushButton(caption_text(context_, slot), client);
        b->setObjectName(name);
        b->setGeometry(at(left, 301 + shift, 95, 24));
        b->setAutoDefault(false);
        return b;
    };

    QFrame* pa_email = framed_panel(client, "pa_email", at(8, 8, 305, 123 + shift));
    panel_title(pa_email, "lb_email", caption_slot::first_settings_mail_label);
    email_ = std::make_unique<CheckedFields>(
        pa_email, context_, "ck_email_internal", caption_slot::first_settings_internal_mail,
        std::vector<CheckedFields::Row>{{"email_server", caption_slot::first_settings_smtp_server_label},
                                        {"email_port", caption_slot::first_settings_smtp_port_label},
                                        {"email_name", caption_slot::first_settings_user_name_label},
                                        {"email_address", caption_slot::first_settings_user_email_label}},
        FieldsPlace{8, 26, 26 + shift, 120, 165});
    // During the first run the mail program is not offered: only the server settings are asked.
    email_->box()->setVisible(normal_mode);

    QFrame* pa_proxy = framed_panel(client, "pa_proxy", at(8, 139 + shift, 305, 145));
    panel_title(pa_proxy, "lb_proxy", caption_slot::first_settings_internet_label);
    proxy_ = std::make_unique<ProxyFields>(pa_proxy, context_, "ck_proxy_use", "",
                                           caption_slot::first_settings_proxy_first,
                                           FieldsPlace{8, 26, 48, 120, 165});

    auto* btc_ok = button("btc_ok", caption_slot::first_settings_ok_button, 8);
    btc_ok->setDefault(true);
    auto* btc_help = button("btc_help", caption_slot::first_settings_help_button, 113);
    // The first run's settings cannot be skipped by a button.
    auto* btc_cancel = button("btc_cancel", caption_slot::first_settings_cancel_button, 218);
    btc_cancel->setEnabled(normal_mode);

    connect(btc_ok, &QPushButton::clicked, this, [this] { btc_okClick(); });
    connect(btc_help, &QPushButton::clicked, this, [this] { btc_helpClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Its own topic in both modes: the first-run topic (10500) is the language window's.
help::Topic Toption_first::help_topic() const {
    return help::first_settings;
}

void Toption_first::btc_okClick() {
    OPTIONS_TYPE& o = context_.options;
    o.internal_mail = email_->box()->isChecked();
    o.smtp_server = utf8_of(email_->edit(0)->text());
    o.smtp_port = utf8_of(email_->edit(1)->text());
    o.user_name = utf8_of(email_->edit(2)->text());
    o.user_email = utf8_of(email_->edit(3)->text());
    proxy_->store(o);
    accept();
}

void Toption_first::btc_helpClick() {
    checkhelp(Qt::Key_F1, help_topic(), context_.language.help_path, this);
}

void Toption_first::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic(), context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
