#include "profiles/ui/manager_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/languages_window.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/ui/download_window.h"
#include "options/ui/manager_option_window.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "profiles/profile_download.h"
#include "profiles/profile_table.h"
#include "profiles/ui/profile_new_window.h"
#include "profiles/ui/restore_notes_window.h"
#include "profiles/profile_notes.h"
#include "shell/folders.h"
#include "profiles/ui/shortcut_window.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "widgets/exit_effect.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::profile_manager;

FileDialogRequest notes_file_request(const Messages& m, int title, const std::string& file_name) {
    FileDialogRequest r;
    r.title = m.text(title);
    r.folder = user_dir("DOCUMENTS");
    r.file_name = file_name;
    r.filters = {{m.text(caption_slot::manager_notes_file_label) + " (*.json)", "*.json"}};
    r.default_extension = "json";
    return r;
}

} // namespace

Tmanager::Tmanager(ProgramContext& context, Dialogs& dialogs, std::function<void()> show_main,
                   QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), show_main_(std::move(show_main)) {
    setObjectName("Tmanager");
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls();
    skin_->set_client_size(QSize(321, 249), context.screen_scale);
    centre_window(this, screen_centre());
    u_manager_captions();
    apply_skin();

    profiles_buildlist();
    profiles_checkcount();
    const int last = profiles_search(context.profiles, context.options.last_profile_id);
    if (last < 0) {
        no_profiles_ = true;
        QTimer::singleShot(100, this, [this] { tm_showTimer(); });
    } else {
        select_row(last);
    }
    refresh_language_label();

    VARIABLES_PROGRAM& v = context.variables;
    if (last_profile_autorun_allowed(context.profiles, context.options) && !v.autorun_done && !v.manager_only) {
        v.autorun_done = true;
        countdown_ = context.options.last_profile_autorun_time;
        show_countdown();
        tkvf_pa_autorun_profile_->show();
        pa_autorun_profile_->show();
        tm_autorun_profile_.start();
    }
}

Tmanager::~Tmanager() = default;

void Tmanager::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto button = [&](const char* name, int top) {
        auto* b = new QPushButton(client);
        b->setObjectName(name);
        b->setGeometry(at(203, top, 110, 24));
        b->setAutoDefault(false);
        return b;
    };
    // A panel with a centred label of the panel's class.
    const auto panel = [&](const char* name, const char* label_name, QRect r, TTKV_Frame*& frame,
                           QLabel*& label) {
        auto* p = new QFrame(client);
        p->setObjectName(name);
        p->setGeometry(r);
        label = new QLabel(p);
        label->setObjectName(label_name);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        set_skin_class(label, "F");
        auto* layout = new QVBoxLayout(p);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(label);
        frame = new TTKV_Frame(client);
        frame->setObjectName(QString("tkvf_") + name);
        frame->setControl(p);
        return p;
    };

    lb_title_ = new QLabel(client);
    lb_title_->setObjectName("lb_title");
    lb_title_->setGeometry(at(10, 6, 185, 14));
    set_skin_class(lb_title_, "N");

    ls_profiles_ = new TTKV_ListBox(client);
    ls_profiles_->setObjectName("ls_profiles");
    ls_profiles_->setGeometry(at(10, 24, 183, 215));
    ls_profiles_->setSelectionMode(QAbstractItemView::SingleSelection);
    ls_profiles_->installEventFilter(this);
    ls_profiles_->viewport()->installEventFilter(this);
    frame_control(ls_profiles_);
    connect(ls_profiles_, &QListView::clicked, this, [this] { ls_profilesClick(); });
    connect(ls_profiles_, &QListView::doubleClicked, this, [this] { btc_startClick(); });

    btc_start_ = button("btc_start", 24);
    btc_start_->setDefault(true);
    btc_start_->setFocusPolicy(Qt::NoFocus);
    btc_profiles_ = button("btc_profiles", 54);
    btc_shortcut_ = button("btc_shortcut", 84);
    btc_settings_ = button("btc_settings", 114);
    btc_language_ = button("btc_language", 144);
    btc_exit_ = button("btc_exit", 174);

    pa_profile_language_ = panel("pa_profile_language", "lb_profile_language", at(205, 204, 106, 35),
                                 tkvf_pa_profile_language_, lb_profile_language_);
    // The countdown covers the lower right corner, the language panel included.
    pa_autorun_profile_ = panel("pa_autorun_profile", "lb_autorun_profile", at(205, 204, 106, 35),
                                tkvf_pa_autorun_profile_, lb_autorun_profile_);
    pa_autorun_profile_->hide();
    tkvf_pa_autorun_profile_->hide();

    connect(btc_start_, &QPushButton::clicked, this, [this] { btc_startClick(); });
    connect(btc_exit_, &QPushButton::clicked, this, [this] { btc_exitClick(); });
    connect(btc_shortcut_, &QPushButton::clicked, this, [this] { btc_shortcutClick(); });
    connect(btc_profiles_, &QPushButton::clicked, this, [this] { btc_profilesClick(); });
    connect(btc_language_, &QPushButton::clicked, this, [this] { btc_languageClick(); });
    connect(btc_settings_, &QPushButton::clicked, this, [this] {
        tm_autorun_profile_stop();
        Tmanager_option(context_, dialogs_, this).exec();
    });

    pm_ = new QMenu(this);
    pm_->setObjectName("pm");
    pm_add_ = pm_->addAction(QString());
    pm_add_->setObjectName("pm_add");
    pm_rename_ = pm_->addAction(QString());
    pm_rename_->setObjectName("pm_rename");
    pm_rename_->setEnabled(false); // profiles keep the name their publisher gave them
    pm_delete_ = pm_->addAction(QString());
    pm_delete_->setObjectName("pm_delete");
    pm_->addSeparator()->setObjectName("pm_line1");
    pm_cancel_ = pm_->addAction(QString());
    pm_cancel_->setObjectName("pm_cancel");
    connect(pm_add_, &QAction::triggered, this, [this] { pm_addClick(); });
    connect(pm_delete_, &QAction::triggered, this, [this] { pm_deleteClick(); });
    // The notes' own entries come after Delete, before the line.
    QAction* line1 = pm_->actions().at(pm_->actions().indexOf(pm_delete_) + 1);
    pm_restore_notes_ = new QAction(pm_);
    pm_restore_notes_->setObjectName("pm_restore_notes");
    pm_export_notes_ = new QAction(pm_);
    pm_export_notes_->setObjectName("pm_export_notes");
    pm_import_notes_ = new QAction(pm_);
    pm_import_notes_->setObjectName("pm_import_notes");
    pm_->insertActions(line1, {pm_restore_notes_, pm_export_notes_, pm_import_notes_});
    connect(pm_restore_notes_, &QAction::triggered, this, [this] { pm_restore_notesClick(); });
    connect(pm_export_notes_, &QAction::triggered, this, [this] { pm_export_notesClick(); });
    connect(pm_import_notes_, &QAction::triggered, this, [this] { pm_import_notesClick(); });

    tm_autorun_profile_.setInterval(1000);
    connect(&tm_autorun_profile_, &QTimer::timeout, this, [this] { tm_autorun_profileTimer(); });
}

void Tmanager::apply_skin() {
    skin_->apply(context_.skin_current, context_.skin_current.window_manager,
                 skins_folder(context_.variables), context_.screen_scale,
                 PictureNames{"manager.jpg", "manager.bmp"});
}

void Tmanager::u_manager_captions() {
    const CodePage cp = context_.language.code_page;
    setWindowTitle(
        qt_text(caption_format(context_.CAPTIONS[caption_slot::manager_title], {product_name}), cp));
    lb_title_->setText(caption_text(context_, caption_slot::manager_choose_profile_label));
    btc_start_->setText(caption_text(context_, caption_slot::manager_start_button));
    btc_exit_->setText(caption_text(context_, caption_slot::manager_exit_button));
    btc_shortcut_->setText(caption_text(context_, caption_slot::manager_shortcut_button));
    btc_profiles_->setText(caption_text(context_, caption_slot::manager_profiles_button));
    btc_settings_->setText(caption_text(context_, caption_slot::manager_settings_button));
    btc_language_->setText(caption_text(context_, caption_slot::manager_language_button));
    pm_add_->setText(caption_text(context_, caption_slot::manager_add_menu));
    pm_rename_->setText(caption_text(context_, caption_slot::manager_rename_menu));
    pm_delete_->setText(caption_text(context_, caption_slot::manager_delete_menu));
    pm_cancel_->setText(caption_text(context_, caption_slot::manager_cancel_menu));
    pm_restore_notes_->setText(caption_text(context_, caption_slot::manager_restore_notes_menu));
    pm_export_notes_->setText(caption_text(context_, caption_slot::manager_export_notes_menu));
    pm_import_notes_->setText(caption_text(context_, caption_slot::manager_import_notes_menu));
    ls_profilesClick();
}

void Tmanager::profiles_buildlist() {
    ProfileTable& t = context_.profiles;
    if (!t.profiles.empty()) profiles_sort(t, 0, t.profiles.size() - 1);
    QStringList rows;
    for (const PROFILES_TYPE& p : t.profiles)
        rows << qt_text(p.name, code_page_for_language(p.language));
    ls_profiles_->setRows(rows);
}

void Tmanager::profiles_checkcount() {
    const bool any = !context_.profiles.profiles.empty();
    btc_start_->setEnabled(any);
    btc_shortcut_->setEnabled(any);
    pa_profile_language_->setVisible(any);
    tkvf_pa_profile_language_->setVisible(any);
    if (!any) btc_profiles_->setFocus();
}

int Tmanager::selected_row() const {
    const QModelIndexList rows = ls_profiles_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Tmanager::select_row(int row) {
    if (row < 0 || row >= ls_profiles_->model()->rowCount())
        ls_profiles_->selectionModel()->clear();
    else
        ls_profiles_->setCurrentIndex(ls_profiles_->model()->index(row, 0));
}

void Tmanager::refresh_language_label() {
    const int row = selected_row();
    const auto& profiles = context_.profiles.profiles;
    const std::string language = row >= 0 ? profiles[static_cast<std::size_t>(row)].language : std::string();
    const CodePage cp = context_.language.code_page;
    lb_profile_language_->setText(
        qt_utf8(caption_format(to_utf8(context_.CAPTIONS[caption_slot::manager_profile_language], cp),
                               {to_utf8(language, code_page_for_language(language))})));
}

void Tmanager::ls_profilesClick() {
    tm_autorun_profile_stop();
    refresh_language_label();
}

void Tmanager::show_countdown() {
    lb_autorun_profile_->setText(
        qt_text(caption_format(context_.CAPTIONS[caption_slot::manager_autorun_countdown],
                               {std::to_string(countdown_)}),
                context_.language.code_page));
    lb_autorun_profile_->repaint();
}

void Tmanager::tm_autorun_profileTimer() {
    --countdown_;
    show_countdown();
    if (countdown_ >= 1) return;
    tm_autorun_profile_stop();
    btc_startClick();
}

void Tmanager::tm_autorun_profile_stop() {
    tm_autorun_profile_.stop();
    pa_autorun_profile_->hide();
    tkvf_pa_autorun_profile_->hide();
}

void Tmanager::btc_startClick() {
    tm_autorun_profile_stop();
    const int row = selected_row();
    if (row < 0) return;
    profile_select(context_.profiles, row, context_.options, context_.variables);
    context_.exit_request = false;
    context_.variables.changes.cheat_added = false;
    hide();
    show_main_();
    apply_skin();
    if (context_.exit_request || context_.options.manager_hidden_after_exit)
        btc_exitClick();
    else
        show();
}

int Tmanager::exec() {
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
    show();
    return loop.exec(QEventLoop::DialogExec);
}

void Tmanager::btc_exitClick() {
    tm_autorun_profile_stop();
    close();
}

void Tmanager::btc_shortcutClick() {
    tm_autorun_profile_stop();
    const int row = selected_row();
    if (row < 0) return;
    context_.profiles.profile_index = row;
    Tprofile_shortcut(context_, dialogs_, this).exec();
}

void Tmanager::btc_profilesClick() {
    tm_autorun_profile_stop();
    pm_->popup(btc_profiles_->mapToGlobal(QPoint(btc_profiles_->width() - 3, -3)));
}

void Tmanager::btc_languageClick() {
    tm_autorun_profile_stop();
    Tlanguages(context_, this).exec();
    u_manager_captions();
}

void Tmanager::tm_showTimer() {
    if (!no_profiles_) return;
    const Messages m = messages_of(context_, dialogs_);
    m.information(m.text(caption_slot::manager_no_profiles, {profiles_folder(context_.variables)}));
}

void Tmanager::pm_addClick() {
    const Messages m = messages_of(context_, dialogs_);
    if (context_.variables.run_from_cd) return m.error(m.text(caption_slot::read_only_mode));
    if (context_.profiles.profiles.size() > profiles_max - 1)
        return m.error(m.text(caption_slot::manager_too_many_profiles, {"100"}));
    std::string text;
    if (context_.profile_list) {
        text = *context_.profile_list;
    } else if (!download_string(context_, dialogs_, context_.options.server + "information/tkv_profiles.tku",
                                m.text(caption_slot::manager_downloading_profile_list), this, text)) {
        return m.error(m.text(caption_slot::manager_profile_list_missing, {context_.options.server}));
    }
    std::vector<DOWNPROS_TYPE> list = profiles_new_parser(text);
    profiles_new_check_valid(list, context_.profiles);
    if (list.empty()) return m.error(m.text(caption_slot::manager_no_more_profiles));
    profiles_new_sort(list, context_.CAPTIONS);
    context_.profile_list = text;
    Tprofile_new window(context_, dialogs_, std::move(list), this);
    window.exec();
    if (!window.installed_id().empty()) {
        profiles_ini_load(context_.profiles, context_.variables.program_folder);
        profiles_buildlist();
        select_row(profiles_search(context_.profiles, window.installed_id()));
    }
    profiles_checkcount();
    u_manager_captions();
    if (isVisible()) ls_profiles_->setFocus();
}

void Tmanager::pm_deleteClick() {
    const Messages m = messages_of(context_, dialogs_);
    if (context_.variables.run_from_cd) return m.error(m.text(caption_slot::read_only_mode));
    const int row = selected_row();
    auto& profiles = context_.profiles.profiles;
    if (profiles.empty() || row < 0) return;
    const PROFILES_TYPE& profile = profiles[static_cast<std::size_t>(row)];
    const std::string name = to_utf8(profile.name, code_page_for_language(profile.language));
    if (m.ask(m.text(caption_slot::manager_delete_profile_question, {name}), caption_slot::attention_title,
              MessageIcon::warning, MessageButtons::yes_no, MessageAnswer::no) != MessageAnswer::yes)
        return;
    const bool all_files = m.ask(m.text(caption_slot::manager_delete_profile_files_question, {name}),
                                 caption_slot::question_title, MessageIcon::question, MessageButtons::yes_no,
                                 MessageAnswer::yes) == MessageAnswer::yes;
    const std::string& program_folder = context_.variables.program_folder;
    if (all_files && profile_has_backups(program_folder, profile) &&
        m.ask(m.text(caption_slot::manager_keep_backups_question, {profile_kept_backups_folder(program_folder, profile)}), 562,
              MessageIcon::question, MessageButtons::yes_no, MessageAnswer::yes) == MessageAnswer::yes)
        profile_keep_backups(program_folder, profile);
    profile_delete(context_.profiles, static_cast<std::size_t>(row), context_.variables.program_folder,
                   all_files);
    profiles_buildlist();
    profiles_checkcount();
    select_row(0);
    refresh_language_label();
    if (isVisible()) ls_profiles_->setFocus();
}

PROFILES_TYPE* Tmanager::selected_profile() {
    const int row = selected_row();
    auto& profiles = context_.profiles.profiles;
    return row >= 0 && static_cast<std::size_t>(row) < profiles.size() ? &profiles[static_cast<std::size_t>(row)]
                                                                        : nullptr;
}

void Tmanager::pm_restore_notesClick() {
    tm_autorun_profile_stop();
    const Messages m = messages_of(context_, dialogs_);
    if (context_.variables.run_from_cd) return m.error(m.text(caption_slot::read_only_mode));
    const PROFILES_TYPE* profile = selected_profile();
    if (!profile) return;
    Trestore_notes window(context_, dialogs_, *profile, this);
    if (!window.has_backups()) return m.information(m.text(caption_slot::manager_no_backups));
    window.exec();
}

void Tmanager::pm_export_notesClick() {
    tm_autorun_profile_stop();
    const PROFILES_TYPE* profile = selected_profile();
    if (!profile) return;
    const Messages m = messages_of(context_, dialogs_);
    const auto chosen = dialogs_.save_file(notes_file_request(m, caption_slot::manager_export_title, profile->folder + "-notes.json"));
    if (!chosen) return;
    std::size_t games = 0;
    if (const auto problem = profile_notes_export(context_.variables.program_folder, *profile, chosen->path, games))
        return m.error(m.text(caption_slot::manager_not_exported, {*problem}));
    m.information(m.text(caption_slot::manager_exported, {std::to_string(games), chosen->path}));
}

void Tmanager::pm_import_notesClick() {
    tm_autorun_profile_stop();
    const Messages m = messages_of(context_, dialogs_);
    if (context_.variables.run_from_cd) return m.error(m.text(caption_slot::read_only_mode));
    PROFILES_TYPE* profile = selected_profile();
    if (!profile) return;
    const auto chosen = dialogs_.open_file(notes_file_request(m, caption_slot::manager_import_title, {}));
    if (!chosen) return;
    const NotesRead read = notes_read_file(chosen->path);
    if (!read.file) return m.error(m.text(caption_slot::manager_not_imported, {read.error}));
    const CodePage cp = code_page_for_language(profile->language);
    if (!notes_profile_matches(*read.file, *profile) &&
        m.ask(m.text(caption_slot::manager_other_profile_question, {read.file->profile_id, to_utf8(profile->id, cp)}), 562,
              MessageIcon::question, MessageButtons::yes_no, MessageAnswer::no) != MessageAnswer::yes)
        return;
    NotesImport report;
    if (const auto problem = profile_notes_import(context_.variables.program_folder, *profile, *read.file, report))
        return m.error(m.text(caption_slot::manager_not_imported, {*problem}));
    const auto count = [](std::size_t n) { return std::to_string(n); };
    std::string text = m.text(caption_slot::manager_imported, {to_utf8(profile->name, cp), count(report.attached),
                                              count(report.new_games), count(report.merged_notes),
                                              count(report.refused.size())});
    for (const NotesRefusal& r : report.refused)
        text += "\r\n" + (r.why == NotesRefusal::Why::code_page ? m.text(caption_slot::manager_refused_characters, {r.game, r.characters})
                                                                 : m.text(caption_slot::manager_refused_full, {r.game}));
    m.information(text);
}

bool Tmanager::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ls_profiles_ && event->type() == QEvent::KeyRelease) ls_profilesClick();
    if (watched == ls_profiles_->viewport() && event->type() == QEvent::MouseButtonPress)
        tm_autorun_profile_stop();
    return QDialog::eventFilter(watched, event);
}

void Tmanager::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

void Tmanager::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized()) tm_autorun_profile_stop();
    QDialog::changeEvent(event);
}

// Escape does not close the manager: only Exit and the window's close button do.
void Tmanager::reject() {}

void Tmanager::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        tm_autorun_profile_stop();
        if (context_.options.exit_effect && isVisible()) removewindow(this);
        profiles_remove_empty_folders(context_.variables.program_folder);
    }
    event->accept();
    done(QDialog::Rejected);
}

} // namespace tkv
