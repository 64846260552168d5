#include "options/ui/manager_option_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "options/option_rules.h"
#include "options/ui/by_text_combo.h"
#include "options/ui/first_settings_window.h"
#include "options/ui/option_panel.h"
#include "options/ui/server_choice.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::manager_settings;
constexpr int autorun_delay_max = 90; // seconds; the item index is the delay

} // namespace

Tmanager_option::Tmanager_option(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs) {
    setObjectName("Tmanager_option");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls();
    show_settings(context.options);
    servers_->show_servers(context.options.server);
    ck_autorun_profileClick();

    setWindowTitle(
        qt_text(caption_format(context.CAPTIONS[caption_slot::manager_settings_title], {product_name}),
                context.language.code_page));
    const double s = context.screen_scale;
    skin_->set_client_size(QSize(393, 417), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
}

Tmanager_option::~Tmanager_option() = default;

void Tmanager_option::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto check_box = [&](QWidget* panel, const char* name, int slot, int top) {
        auto* box = new QCheckBox(caption_text(context_, slot), panel);
        box->setObjectName(name);
        box->setGeometry(at(8, top, 361, 17));
        return box;
    };
    const auto label = [&](QWidget* panel, const char* name, int slot, QRect r) {
        auto* l = new QLabel(caption_text(context_, slot), panel);
        l->setObjectName(name);
        l->setGeometry(r);
        set_skin_class(l, "F");
        return l;
    };
    // box: made on its panel.
    const auto combo_box = [&](auto* box, const char* name, QRect r) {
        box->setObjectName(name);
        box->setFrame(false);
        box->setGeometry(r);
        auto* frame = new TTKV_Frame(box->parentWidget());
        frame->setObjectName(QString("tkvf_") + name);
        frame->setControl(box);
        return box;
    };
    const auto button = [&](QWidget* parent, const char* name, int slot, QRect r) {
        auto* b = new QPushButton(caption_text(context_, slot), parent);
        b->setObjectName(name);
        b->setGeometry(r);
        b->setAutoDefault(false);
        return b;
    };

    QFrame* pa_autorun = framed_panel(client, "pa_autorun", at(8, 8, 377, 96));
    ck_autorun_profile_ =
        check_box(pa_autorun, "ck_autorun_profile", caption_slot::manager_settings_autorun, 10);
    lb_autorun_delay_ = label(pa_autorun, "lb_autorun_delay", 275, at(26, 40, 260, 14));
    cb_autorun_delay_ = combo_box(new QComboBox(pa_autorun), "cb_autorun_delay", at(290, 37, 60, 20));
    cb_autorun_delay_->addItems(utf8_items(autorun_delay_items()));
    lb_autorun_delay_->setBuddy(cb_autorun_delay_);
    ck_exit_to_os_ =
        check_box(pa_autorun, "ck_exit_to_os", caption_slot::manager_settings_exit_to_system, 68);

    QFrame* pa_servers = framed_panel(client, "pa_servers", at(8, 112, 377, 265));
    auto* ck_usemasterserver =
        check_box(pa_servers, "ck_usemasterserver", caption_slot::manager_settings_main_server_only, 10);
    auto* lb_use_this_server = label(pa_servers, "lb_use_this_server", 278, at(26, 36, 343, 14));
    auto* cb_servers =
        combo_box(new ByTextCombo("cb_servers", {}, pa_servers), "cb_servers", at(26, 54, 343, 20));
    lb_use_this_server->setBuddy(cb_servers);
    servers_ = std::make_unique<ServerChoice>(
        context_, dialogs_,
        ServerChoice::Controls{ck_usemasterserver, lb_use_this_server, cb_servers,
                               button(pa_servers, "btc_refresh",
                                      caption_slot::manager_settings_refresh_servers_button,
                                      at(26, 86, 168, 24)),
                               button(pa_servers, "btc_find_fastest",
                                      caption_slot::find_fastest_server_button, at(201, 86, 168, 24))},
        manager_server_captions, this);
    proxy_ = std::make_unique<ProxyFields>(pa_servers, context_, "ck_upgrade_server_proxyuse",
                                           "upgrade_server_", caption_slot::manager_settings_proxy_first,
                                           FieldsPlace{8, 128, 154, 130, 227});

    auto* btc_ok = button(client, "btc_ok", 271, at(8, 385, 120, 24));
    btc_ok->setDefault(true);
    auto* btc_defaults = button(client, "btc_defaults", 272, at(136, 385, 120, 24));
    auto* btc_cancel = button(client, "btc_cancel", 273, at(265, 385, 120, 24));

    connect(ck_autorun_profile_, &QCheckBox::toggled, this, [this] { ck_autorun_profileClick(); });
    connect(btc_ok, &QPushButton::clicked, this, [this] { btc_okClick(); });
    connect(btc_defaults, &QPushButton::clicked, this, [this] { btc_defaultsClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tmanager_option::show_settings(const OPTIONS_TYPE& o) {
    ck_autorun_profile_->setChecked(o.last_profile_autorun);
    cb_autorun_delay_->setCurrentIndex(std::clamp(o.last_profile_autorun_time, 0, autorun_delay_max));
    ck_exit_to_os_->setChecked(o.manager_hidden_after_exit);
    servers_->show_main_only(o.main_server_only);
    proxy_->show(o);
}

void Tmanager_option::ck_autorun_profileClick() {
    const bool shown = ck_autorun_profile_->isChecked();
    lb_autorun_delay_->setVisible(shown);
    cb_autorun_delay_->setVisible(shown);
}

void Tmanager_option::btc_defaultsClick() {
    show_settings(context_.option_defaults);
}

void Tmanager_option::btc_okClick() {
    OPTIONS_TYPE& o = context_.options;
    o.last_profile_autorun = ck_autorun_profile_->isChecked();
    o.last_profile_autorun_time = cb_autorun_delay_->currentIndex();
    o.manager_hidden_after_exit = ck_exit_to_os_->isChecked();
    servers_->store(o);
    proxy_->store(o);
    accept();
}

void Tmanager_option::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
