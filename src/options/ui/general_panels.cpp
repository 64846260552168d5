#include "options/ui/general_panels.h"

#include "context/program_context.h"
#include "appearance/messages.h"
#include "options/ui/by_text_combo.h"
#include "options/ui/first_settings_window.h"
#include "options/option_rules.h"
#include "options/ui/server_choice.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/text.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace tkv {

namespace {

constexpr int row = 22;      // between check boxes
constexpr int wide = 349;    // a control across the panel
constexpr int left = 8;
constexpr int indent = 26;   // controls that belong to the check box above

QPushButton* push_button(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

// An edit holding a folder and the button that chooses one, the dialog titled with caption title.
void folder_choice(OptionPanel* panel, Dialogs& dialogs, const ProgramContext& context, QLineEdit* edit,
                   QPushButton* browse, int title) {
    QObject::connect(browse, &QPushButton::clicked, panel, [&dialogs, &context, edit, title] {
        const Messages m = messages_of(context, dialogs);
        if (const auto folder = dialogs.choose_folder(m.text(title), utf8_of(edit->text())))
            edit->setText(qt_utf8(with_trailing_slash(*folder)));
    });
}

struct CheckRow {
    const char* name;
    int caption;
    bool OPTIONS_TYPE::*option;
};

// A title and the check boxes under it; returns where the next control may go.
int check_group(OptionPanel* p, const char* title, int title_caption, int top, std::initializer_list<CheckRow> rows) {
    if (title) {
        p->label(title, title_caption, p->at(left, top, wide, 16));
        top += 20;
    }
    for (const CheckRow& r : rows) {
        p->check(r.name, r.caption, p->at(left, top, wide, 18), r.option);
        top += row;
    }
    return top + 12;
}

} // namespace

OptionPanel* preferences_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings", parent);
    p->label("lb_be_alt_main", 380, p->at(left, 8, wide, 16));
    QCheckBox* autorun = p->check("ck_be_alt_autorun_profile", 381, p->at(left, 28, wide, 18),
                                  &OPTIONS_TYPE::last_profile_autorun);
    QLabel* delay_label = p->label("lb_be_alt_autorun_delay", 382, p->at(indent, 52, 250, 16));
    QComboBox* delay = p->index_combo("cb_be_alt_autorun_delay", p->at(280, 50, 60, 20), utf8_items(autorun_delay_items()),
                                      &OPTIONS_TYPE::last_profile_autorun_time);
    delay_label->setBuddy(delay);
    // The delay matters only while the last profile runs by itself.
    const auto autorun_changed = [autorun, delay_label, delay] {
        delay_label->setVisible(autorun->isChecked());
        delay->setVisible(autorun->isChecked());
    };
    QObject::connect(autorun, &QCheckBox::toggled, p, autorun_changed);
    autorun_changed();
    p->check("ck_be_alt_exit_to_os", 383, p->at(left, 76, wide, 18), &OPTIONS_TYPE::manager_hidden_after_exit);
    p->label("lb_be_alt_other", 384, p->at(left, 110, wide, 16));
    p->check("ck_be_alt_autoclose", 385, p->at(left, 130, wide, 18), &OPTIONS_TYPE::exit_on_game_run);
    QPushButton* reg = push_button(p, "btc_be_alt_register", p->caption(645), p->at(left, 168, wide, 26));
    QObject::connect(reg, &QPushButton::clicked, p, [] { register_program_filetypes(); });
    return p;
}

OptionPanel* file_download_panel(ProgramContext& context, Dialogs& dialogs, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_filedownload", parent);
    p->label("lb_settings_filedownload_directory", 386, p->at(left, 8, wide, 16));
    QLineEdit* folder = p->text_edit("ed_settings_filedownload_directory", p->at(left, 28, 258, 19),
                                     &OPTIONS_TYPE::download_folder);
    QPushButton* browse = push_button(p, "btc_settings_filedownload_directory", p->caption(387),
                                      p->at(272, 25, 85, 24));
    folder_choice(p, dialogs, context, folder, browse, 388);
    const QStringList actions = caption_items(context, 391, 5);
    p->label("lb_settings_filedownload_exe", 389, p->at(left, 64, wide, 16));
    p->index_combo("cb_settings_filedownload_exe", p->at(left, 84, wide, 20), actions, &OPTIONS_TYPE::exe_download_action);
    p->label("lb_settings_filedownload_other", 390, p->at(left, 116, wide, 16));
    p->index_combo("cb_settings_filedownload_other", p->at(left, 136, wide, 20), actions,
                   &OPTIONS_TYPE::other_download_action);
    return p;
}

OptionPanel* internet_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_internet", parent);
    int top = check_group(p, "lb_be_int_adresses", 396, 8,
                          {{"ck_be_int_internetstart", 397, &OPTIONS_TYPE::open_url_on_click},
                           {"ck_be_int_internetcopy", 398, &OPTIONS_TYPE::copy_url_on_click}});
    top = check_group(p, "lb_be_int_email", 399, top,
                      {{"ck_be_int_internetemailint", 400, &OPTIONS_TYPE::internal_mail}});
    const struct {
        const char* label;
        const char* edit;
        int caption;
        std::string OPTIONS_TYPE::*option;
    } fields[] = {
        {"lb_be_int_smtp_server", "ed_be_int_smtp_server", 401, &OPTIONS_TYPE::smtp_server},
        {"lb_be_int_smtp_port", "ed_be_int_smtp_port", 402, &OPTIONS_TYPE::smtp_port},
        {"lb_be_int_user_name", "ed_be_int_user_name", 403, &OPTIONS_TYPE::user_name},
        {"lb_be_int_user_emailadd", "ed_be_int_user_emailadd", 404, &OPTIONS_TYPE::user_email},
    };
    for (const auto& f : fields) {
        QLabel* l = p->label(f.label, f.caption, p->at(indent, top + 2, 110, 16));
        l->setBuddy(p->text_edit(f.edit, p->at(140, top, 217, 19), f.option));
        top += 26;
    }
    return p;
}

OptionPanel* database_settings_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_database", parent);
    p->check("ck_be_db_autosave", 405, p->at(left, 8, wide, 18), &OPTIONS_TYPE::autosave);
    auto* after = new ByTextCombo("cb_be_db_saveafter", p->at(indent, 30, 60, 20), p);
    after->addItems(utf8_items(autosave_items()));
    // A count the list does not offer (set in tkv.ini) is kept until another is chosen.
    p->bind([after](const OPTIONS_TYPE& o) { after->select_text(std::to_string(o.autosave_after), -1); },
            [after](OPTIONS_TYPE& o) {
                o.autosave_after = static_cast<std::uint8_t>(autosave_count(after->value()));
            });
    check_group(p, nullptr, 0, 62,
                {{"ck_be_db_show_save_completed", 406, &OPTIONS_TYPE::show_save_message},
                 {"ck_be_db_rememberlastgame", 407, &OPTIONS_TYPE::remember_last_game},
                 {"ck_be_db_charactersequal", 408, &OPTIONS_TYPE::ignore_case}});
    return p;
}

OptionPanel* editor_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_editor", parent);
    check_group(p, "lb_be_szerk_function", 409, 8,
                {{"ck_be_szerk_datanew", 410, &OPTIONS_TYPE::add_button_visible},
                 {"ck_be_szerk_datamodify", 411, &OPTIONS_TYPE::modify_button_visible},
                 {"ck_be_szerk_dataerase", 412, &OPTIONS_TYPE::delete_button_visible}});
    return p;
}

OptionPanel* save_text_panel(ProgramContext& context, Dialogs& dialogs, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_savetext", parent);
    p->label("lb_be_save_path", 436, p->at(left, 8, wide, 16));
    // Kept exactly as typed: another case names another folder here.
    QLineEdit* path = p->text_edit("ed_be_save_path", p->at(left, 28, 258, 19), &OPTIONS_TYPE::save_folder);
    QPushButton* browse = push_button(p, "btc_be_save_path", p->caption(437), p->at(272, 25, 85, 24));
    folder_choice(p, dialogs, context, path, browse, 438);
    auto* fixed = new QRadioButton(p->caption(439), p);
    fixed->setObjectName("rb_be_save_path_fix");
    fixed->setGeometry(p->at(left, 56, wide, 18));
    auto* last = new QRadioButton(p->caption(440), p);
    last->setObjectName("rb_be_save_path_last");
    last->setGeometry(p->at(left, 56 + row, wide, 18));
    p->bind([fixed, last](const OPTIONS_TYPE& o) { (o.save_to_last_folder ? last : fixed)->setChecked(true); },
            [last](OPTIONS_TYPE& o) { o.save_to_last_folder = last->isChecked(); });
    p->label("lb_be_save_type", 441, p->at(left, 114, wide, 16));
    p->index_combo("cb_be_save_type", p->at(left, 134, 200, 20), caption_items(context, 442, 4),
                   &OPTIONS_TYPE::save_file_type);
    return p;
}

OptionPanel* visualization_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_design", parent);
    const int top = check_group(p, "lb_de_be_visual", 455, 8,
                                {{"ck_de_be_showsplash", 456, &OPTIONS_TYPE::show_splash},
                                 {"ck_de_be_savewindowspos", 457, &OPTIONS_TYPE::save_window_position},
                                 {"ck_de_be_effectonexit", 458, &OPTIONS_TYPE::exit_effect},
                                 {"ck_de_be_show_skins_search", 625, &OPTIONS_TYPE::show_skin_loading}});
    p->label("lb_de_be_colored_captions", 459, p->at(left, top, wide, 16));
    p->index_combo("co_de_be_colored_captions", p->at(left, top + 20, 200, 20), caption_items(context, 764, 3),
                   &OPTIONS_TYPE::custom_title_bar);
    return p;
}

OptionPanel* upgrade_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_upgrade", parent);
    int top = check_group(p, "lb_fr_be_download", 478, 0,
                          {{"ck_fr_be_download", 479, &OPTIONS_TYPE::download_with_default_program},
                           {"ck_upgrade_auto_download_info", 480, &OPTIONS_TYPE::auto_download_upgrade_info},
                           {"ck_upgrade_auto_download_skpr", 481, &OPTIONS_TYPE::auto_download_skin_previews},
                           {"ck_upgrade_auto_if_connected", 482, &OPTIONS_TYPE::auto_download_only_connected}});
    QLabel* connection = p->label("lb_upgrade_auto_if_connected", 0, p->at(indent, top - 14, 331, 16));
    p->set_shown_action([p, connection](bool connected) { connection->setText(p->caption(connected ? 484 : 483)); });
    top = check_group(p, "lb_fr_be_other", 485, top + 4,
                      {{"ck_fr_be_upg_saveinfo", 486, &OPTIONS_TYPE::store_upgrade_info},
                       {"ck_upgrade_skin_download_simp", 487, &OPTIONS_TYPE::simple_skin_download}});
    p->label("lb_upgrade_check_for_new", 488, p->at(left, top - 12, wide, 16));
    top += 6;
    p->check("ck_upgrade_check_for_new", 489, p->at(left, top, 220, 18), &OPTIONS_TYPE::version_check_at_start);
    QComboBox* period = p->combo("cb_upgrade_cfn_period", p->at(236, top - 1, 121, 20), caption_items(context, 491, 5));
    const std::int32_t default_period = context.option_defaults.version_check_period;
    p->bind([period, default_period](const OPTIONS_TYPE& o) {
                period->setCurrentIndex(version_check_period_index(o.version_check_period, default_period));
            },
            [period](OPTIONS_TYPE& o) { o.version_check_period = period->currentIndex(); });
    p->check("ck_upgrade_cfn_if_connected", 490, p->at(left, top + row, wide, 18),
             &OPTIONS_TYPE::version_check_only_connected);
    return p;
}

OptionPanel* window_options_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_option", parent);
    const int top = check_group(p, "lb_op_default", 555, 8,
                                {{"ck_op_option_def_all", 556, &OPTIONS_TYPE::defaults_all_enabled},
                                 {"ck_op_option_def_here", 557, &OPTIONS_TYPE::defaults_here_enabled}});
    check_group(p, "lb_options_other", 558, top, {{"ck_op_save_last_option", 559, &OPTIONS_TYPE::save_last_option}});
    return p;
}

ServerPanel::ServerPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : OptionPanel(context, "pa_upgrade_server", parent) {
    label("lb_up_def_server", 496, at(left, 4, wide, 16));
    auto* master = new QCheckBox(caption(497), this);
    master->setObjectName("ck_up_def_server_master");
    master->setGeometry(at(left, 22, wide, 18));
    QLabel* use = label("lb_up_def_use_this_server", 498, at(indent, 46, 331, 16));
    auto* servers = new ByTextCombo("cb_up_def_servers", at(indent, 64, 271, 20), this);
    use->setBuddy(servers);
    // The two actions have no captions of their own here: icons with the manager's texts as tips.
    const auto tip_button = [this](const char* name, QStyle::StandardPixmap icon, int tip, QRect geometry) {
        QPushButton* b = icon_button(name, icon, geometry);
        b->setToolTip(caption(tip).remove('&'));
        return b;
    };
    servers_ = std::make_unique<ServerChoice>(
        context, dialogs,
        ServerChoice::Controls{master, use, servers,
                               tip_button("btc_up_def_refresh", QStyle::SP_BrowserReload, 279, at(303, 62, 24, 24)),
                               tip_button("btc_up_def_find_fastest", QStyle::SP_MediaSeekForward, 280,
                                           at(333, 62, 24, 24))},
        options_server_captions, parent ? parent->window() : this);
    label("lb_upgrade_server_proxyuse", 505, at(left, 100, wide, 16));
    proxy_ = std::make_unique<ProxyFields>(this, context, "ck_upgrade_server_proxyuse", "upgrade_server_", 506,
                                           FieldsPlace{left, 118, 144, 130, 215});
}

ServerPanel::~ServerPanel() = default;

void ServerPanel::set_objects_value_here(const OPTIONS_TYPE& o) {
    servers_->show_main_only(o.main_server_only);
    servers_->show_servers(o.server);
    proxy_->show(o);
}

void ServerPanel::get_objects_value(OPTIONS_TYPE& o) const {
    servers_->store(o);
    proxy_->store(o);
}

} // namespace tkv
