#include "options/ui/general_panels.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "context/program_context.h"
#include "options/option_rules.h"
#include "options/ui/by_text_combo.h"
#include "options/ui/first_settings_window.h"
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
    p->label("lb_be_alt_main", caption_slot::options_startup_defaults_label, p->at(left, 8, wide, 16));
    QCheckBox* autorun = p->check("ck_be_alt_autorun_profile", 381, p->at(left, 28, wide, 18),
                                  &OPTIONS_TYPE::last_profile_autorun);
    QLabel* delay_label = p->label("lb_be_alt_autorun_delay", caption_slot::options_autorun_delay_label,
                                   p->at(indent, 52, 250, 16));
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
    p->label("lb_be_alt_other", caption_slot::options_startup_other_label, p->at(left, 110, wide, 16));
    p->check("ck_be_alt_autoclose", 385, p->at(left, 130, wide, 18), &OPTIONS_TYPE::exit_on_game_run);
    QPushButton* reg =
        push_button(p, "btc_be_alt_register", p->caption(caption_slot::options_register_button),
                    p->at(left, 168, wide, 26));
    QObject::connect(reg, &QPushButton::clicked, p, [] { register_program_filetypes(); });
    return p;
}

OptionPanel* file_download_panel(ProgramContext& context, Dialogs& dialogs, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_filedownload", parent);
    p->label("lb_settings_filedownload_directory", caption_slot::options_download_folder_label,
             p->at(left, 8, wide, 16));
    QLineEdit* folder = p->text_edit("ed_settings_filedownload_directory", p->at(left, 28, 258, 19),
                                     &OPTIONS_TYPE::download_folder);
    QPushButton* browse =
        push_button(p, "btc_settings_filedownload_directory",
                    p->caption(caption_slot::options_download_folder_browse_button), p->at(272, 25, 85, 24));
    folder_choice(p, dialogs, context, folder, browse, caption_slot::options_download_folder_title);
    const QStringList actions = caption_items(context, caption_slot::options_download_actions_first, 5);
    p->label("lb_settings_filedownload_exe", caption_slot::options_exe_download_label,
             p->at(left, 64, wide, 16));
    p->index_combo("cb_settings_filedownload_exe", p->at(left, 84, wide, 20), actions, &OPTIONS_TYPE::exe_download_action);
    p->label("lb_settings_filedownload_other", caption_slot::options_other_download_label,
             p->at(left, 116, wide, 16));
    p->index_combo("cb_settings_filedownload_other", p->at(left, 136, wide, 20), actions,
                   &OPTIONS_TYPE::other_download_action);
    return p;
}

OptionPanel* internet_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_internet", parent);
    int top = check_group(p, "lb_be_int_adresses", caption_slot::options_addresses_label, 8,
                          {{"ck_be_int_internetstart", caption_slot::options_address_click_opens,
                            &OPTIONS_TYPE::open_url_on_click},
                           {"ck_be_int_internetcopy", caption_slot::options_address_click_copies,
                            &OPTIONS_TYPE::copy_url_on_click}});
    top = check_group(
        p, "lb_be_int_email", caption_slot::options_mail_label, top,
        {{"ck_be_int_internetemailint", caption_slot::options_internal_mail, &OPTIONS_TYPE::internal_mail}});
    const struct {
        const char* label;
        const char* edit;
        int caption;
        std::string OPTIONS_TYPE::*option;
    } fields[] = {
        {"lb_be_int_smtp_server", "ed_be_int_smtp_server", caption_slot::options_smtp_server_label,
         &OPTIONS_TYPE::smtp_server},
        {"lb_be_int_smtp_port", "ed_be_int_smtp_port", caption_slot::options_smtp_port_label,
         &OPTIONS_TYPE::smtp_port},
        {"lb_be_int_user_name", "ed_be_int_user_name", caption_slot::options_user_name_label,
         &OPTIONS_TYPE::user_name},
        {"lb_be_int_user_emailadd", "ed_be_int_user_emailadd", caption_slot::options_user_email_label,
         &OPTIONS_TYPE::user_email},
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
    check_group(
        p, nullptr, 0, 62,
        {{"ck_be_db_show_save_completed", caption_slot::options_show_save_message,
          &OPTIONS_TYPE::show_save_message},
         {"ck_be_db_rememberlastgame", caption_slot::options_remember_last_game,
          &OPTIONS_TYPE::remember_last_game},
         {"ck_be_db_charactersequal", caption_slot::options_ignore_case, &OPTIONS_TYPE::ignore_case}});
    return p;
}

OptionPanel* editor_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_editor", parent);
    check_group(
        p, "lb_be_szerk_function", caption_slot::options_edit_buttons_label, 8,
        {{"ck_be_szerk_datanew", caption_slot::options_add_button_visible, &OPTIONS_TYPE::add_button_visible},
         {"ck_be_szerk_datamodify", caption_slot::options_modify_button_visible,
          &OPTIONS_TYPE::modify_button_visible},
         {"ck_be_szerk_dataerase", caption_slot::options_delete_button_visible,
          &OPTIONS_TYPE::delete_button_visible}});
    return p;
}

OptionPanel* save_text_panel(ProgramContext& context, Dialogs& dialogs, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_settings_savetext", parent);
    p->label("lb_be_save_path", caption_slot::options_save_folder_label, p->at(left, 8, wide, 16));
    // Kept exactly as typed: another case names another folder here.
    QLineEdit* path = p->text_edit("ed_be_save_path", p->at(left, 28, 258, 19), &OPTIONS_TYPE::save_folder);
    QPushButton* browse =
        push_button(p, "btc_be_save_path", p->caption(caption_slot::options_save_folder_browse_button),
                    p->at(272, 25, 85, 24));
    folder_choice(p, dialogs, context, path, browse, caption_slot::options_save_folder_title);
    auto* fixed = new QRadioButton(p->caption(caption_slot::options_save_fixed_folder), p);
    fixed->setObjectName("rb_be_save_path_fix");
    fixed->setGeometry(p->at(left, 56, wide, 18));
    auto* last = new QRadioButton(p->caption(caption_slot::options_save_last_folder), p);
    last->setObjectName("rb_be_save_path_last");
    last->setGeometry(p->at(left, 56 + row, wide, 18));
    p->bind([fixed, last](const OPTIONS_TYPE& o) { (o.save_to_last_folder ? last : fixed)->setChecked(true); },
            [last](OPTIONS_TYPE& o) { o.save_to_last_folder = last->isChecked(); });
    p->label("lb_be_save_type", caption_slot::options_save_type_label, p->at(left, 114, wide, 16));
    p->index_combo("cb_be_save_type", p->at(left, 134, 200, 20),
                   caption_items(context, caption_slot::options_save_types_first, 4),
                   &OPTIONS_TYPE::save_file_type);
    return p;
}

OptionPanel* visualization_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_design", parent);
    const int top =
        check_group(p, "lb_de_be_visual", caption_slot::options_look_label, 8,
                    {{"ck_de_be_showsplash", caption_slot::options_show_splash, &OPTIONS_TYPE::show_splash},
                     {"ck_de_be_savewindowspos", caption_slot::options_save_window_position,
                      &OPTIONS_TYPE::save_window_position},
                     {"ck_de_be_effectonexit", caption_slot::options_exit_effect, &OPTIONS_TYPE::exit_effect},
                     {"ck_de_be_show_skins_search", caption_slot::options_show_skin_loading,
                      &OPTIONS_TYPE::show_skin_loading}});
    p->label("lb_de_be_colored_captions", caption_slot::options_colored_captions_label,
             p->at(left, top, wide, 16));
    p->index_combo("co_de_be_colored_captions", p->at(left, top + 20, 200, 20),
                   caption_items(context, caption_slot::options_colored_captions_choices_first, 3),
                   &OPTIONS_TYPE::custom_title_bar);
    return p;
}

OptionPanel* upgrade_panel(ProgramContext& context, QWidget* parent) {
    auto* p = new OptionPanel(context, "pa_upgrade", parent);
    int top =
        check_group(p, "lb_fr_be_download", caption_slot::options_download_label, 0,
                    {{"ck_fr_be_download", caption_slot::options_download_with_default_program,
                      &OPTIONS_TYPE::download_with_default_program},
                     {"ck_upgrade_auto_download_info", caption_slot::options_auto_download_upgrade_info,
                      &OPTIONS_TYPE::auto_download_upgrade_info},
                     {"ck_upgrade_auto_download_skpr", caption_slot::options_auto_download_skin_previews,
                      &OPTIONS_TYPE::auto_download_skin_previews},
                     {"ck_upgrade_auto_if_connected", caption_slot::options_auto_download_only_connected,
                      &OPTIONS_TYPE::auto_download_only_connected}});
    QLabel* connection = p->label("lb_upgrade_auto_if_connected", 0, p->at(indent, top - 14, 331, 16));
    p->set_shown_action([p, connection](bool connected) {
        connection->setText(
            p->caption(connected ? caption_slot::options_connected : caption_slot::options_not_connected));
    });
    top = check_group(p, "lb_fr_be_other", caption_slot::options_refresh_other_label, top + 4,
                      {{"ck_fr_be_upg_saveinfo", caption_slot::options_store_upgrade_info,
                        &OPTIONS_TYPE::store_upgrade_info},
                       {"ck_upgrade_skin_download_simp", caption_slot::options_simple_skin_download,
                        &OPTIONS_TYPE::simple_skin_download}});
    p->label("lb_upgrade_check_for_new", caption_slot::options_check_for_new_label,
             p->at(left, top - 12, wide, 16));
    top += 6;
    p->check("ck_upgrade_check_for_new", 489, p->at(left, top, 220, 18), &OPTIONS_TYPE::version_check_at_start);
    QComboBox* period = p->combo("cb_upgrade_cfn_period", p->at(236, top - 1, 121, 20),
                                 caption_items(context, caption_slot::options_check_periods_first, 5));
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
    const int top = check_group(
        p, "lb_op_default", caption_slot::options_defaults_buttons_label, 8,
        {{"ck_op_option_def_all", caption_slot::options_defaults_all, &OPTIONS_TYPE::defaults_all_enabled},
         {"ck_op_option_def_here", caption_slot::options_defaults_here,
          &OPTIONS_TYPE::defaults_here_enabled}});
    check_group(p, "lb_options_other", caption_slot::options_other_label, top,
                {{"ck_op_save_last_option", caption_slot::options_save_last_option,
                  &OPTIONS_TYPE::save_last_option}});
    return p;
}

ServerPanel::ServerPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : OptionPanel(context, "pa_upgrade_server", parent) {
    label("lb_up_def_server", caption_slot::options_server_label, at(left, 4, wide, 16));
    auto* master = new QCheckBox(caption(caption_slot::options_main_server_only), this);
    master->setObjectName("ck_up_def_server_master");
    master->setGeometry(at(left, 22, wide, 18));
    QLabel* use =
        label("lb_up_def_use_this_server", caption_slot::options_use_server_label, at(indent, 46, 331, 16));
    auto* servers = new ByTextCombo("cb_up_def_servers", at(indent, 64, 271, 20), this);
    use->setBuddy(servers);
    // The two actions have no captions of their own here: icons with the manager's texts as tips.
    servers_ = std::make_unique<ServerChoice>(
        context, dialogs,
        ServerChoice::Controls{
            master, use, servers,
            icon_button("btc_up_def_refresh", QStyle::SP_BrowserReload, 279, at(303, 62, 24, 24)),
            icon_button("btc_up_def_find_fastest", QStyle::SP_MediaSeekForward,
                        caption_slot::find_fastest_server_button, at(333, 62, 24, 24))},
        options_server_captions, parent ? parent->window() : this);
    label("lb_upgrade_server_proxyuse", caption_slot::options_proxy_label, at(left, 100, wide, 16));
    proxy_ = std::make_unique<ProxyFields>(this, context, "ck_upgrade_server_proxyuse", "upgrade_server_",
                                           caption_slot::options_proxy_first,
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
