#include "windows/ui/main_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/game_list.h"
#include "database/game_table.h"
#include "database/info_edit.h"
#include "database/record_codec.h"
#include "search/game_documents.h"
#include "database/save_task.h"
#include "database/text_export.h"
#include "internet/ui/addresses.h"
#include "internet/ui/mail_windows.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "profiles/ui/gamerun_window.h"
#include "profiles/ui/shortcut_window.h"
#include "shell/config_file.h"
#include "shell/datetime.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "statistics/ui/stat_window.h"
#include "tasks/ui/progress_window.h"
#include "widgets/anchors.h"
#include "widgets/exit_effect.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"
#include "windows/ui/about_window.h"
#include "windows/ui/credits_window.h"
#include "windows/ui/game_list_rows.h"
#include "windows/ui/game_text.h"
#include "windows/ui/print_window.h"
#include "windows/ui/search_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTime>

#include <cmath>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::main_window;
constexpr int label_tops[] = {88, 120, 152, 184, 200, 232, 248};
constexpr int label_column_left = 234;
constexpr int label_column_width = 204;

int random_below(int n) {
    return static_cast<int>(QRandomGenerator::global()->bounded(n));
}

bool is_navigation_key(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
           key == Qt::Key_Home || key == Qt::Key_End;
}

} // namespace

Tmain::Tmain(ProgramContext& context, Dialogs& dialogs, MainWindowHooks hooks, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), hooks_(std::move(hooks)) {
    setObjectName("Tmain");
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    skin_->set_client_size(QSize(538, 351), context.screen_scale, WindowFrame::Sizing::grows);
    create_controls();
    captions_main();
    database_reset(context.db, context.variables.changes);

    const OPTIONS_TYPE& o = context.options;
    restore_window(this, {o.main_window_width, o.main_window_height}, o.main_window_maximised, [this, &o] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        centre_window(this, screen ? centre_of(screen->availableGeometry()) : screen_centre());
        centred_position_ = pos();
        if (o.save_window_position && (o.window_x != -1 || o.window_y != -1)) move(o.window_x, o.window_y);
    });

    u_main_skin_show();

    refresh_pending_ = true;
    if (context.options.show_splash)
        run_task(Task::show_splash_screen, centre());
    else
        load_pending_ = true;

    cheat_button_countdown_ = 120 + random_below(20);
    tm_cheat_.setInterval(500);
    connect(&tm_cheat_, &QTimer::timeout, this, [this] { tm_cheatTimer(); });
    tm_cheat_.start();
}

Tmain::~Tmain() = default;

void Tmain::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto button = [&](const char* name, QRect r) {
        auto* b = new QPushButton(client);
        b->setObjectName(name);
        b->setGeometry(r);
        b->setAutoDefault(false);
        b->installEventFilter(this);
        return b;
    };
    const auto label = [&](const char* name, int height) {
        auto* l = new QLabel(client);
        l->setObjectName(name);
        l->setGeometry(at(label_column_left, label_tops[0], label_column_width, height));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        set_skin_class(l, "N");
        return l;
    };

    // Created in tab order: the list and the search box, then the buttons.
    ls_gamename_ = new TTKV_ListBox(client);
    ls_gamename_->setObjectName("ls_gamename");
    ls_gamename_->setRowHeight(scaled(16, s));
    ls_gamename_->setWholeRows(true);
    ls_gamename_->setGeometry(at(10, 10, 214, 304));
    ls_gamename_->setSelectionMode(QAbstractItemView::SingleSelection);
    ls_gamename_->setContextMenuPolicy(Qt::NoContextMenu);
    ls_gamename_->installEventFilter(this);
    ls_gamename_->viewport()->installEventFilter(this);
    frame_control(ls_gamename_);
    connect(ls_gamename_, &QListView::doubleClicked, this, [this] { btc_viewClick(); });

    ed_search_ = new QLineEdit(client);
    ed_search_->setObjectName("ed_search");
    ed_search_->setFrame(false);
    ed_search_->setGeometry(at(10, 324, 214, 17));
    ed_search_->installEventFilter(this);
    frame_control(ed_search_);
    set_accessible_names(context_, {{ls_gamename_, caption_slot::main_games_list_name},
                                    {ed_search_, caption_slot::main_quick_search_name}});
    connect(ed_search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (ed_search_->hasFocus())
            search_gamename(from_qt(text, profile_code_page(context_)));
        else if (text.isEmpty())
            show_search_hint(false); // the hint goes with the text
    });

    btc_view_ = button("btc_view", at(448, 10, 80, 24));
    btc_view_->setDefault(true);
    btc_search_ = button("btc_search", at(448, 40, 80, 24));
    btc_print_ = button("btc_print", at(448, 70, 80, 24));
    btc_savetext_ = button("btc_savetext", at(448, 100, 80, 24));
    btc_new_ = button("btc_new", at(234, 86, 64, 22));
    btc_modify_ = button("btc_modify", at(304, 86, 64, 22));
    btc_erase_ = button("btc_erase", at(374, 86, 64, 22));
    btc_options_ = button("btc_options", at(448, 226, 80, 24));
    btc_other_ = button("btc_other", at(448, 256, 80, 24));
    btc_exit_ = button("btc_exit", at(448, 317, 80, 24));
    btc_cheat_ = button("btc_cheat", at(0, 0, 80, 24));
    btc_cheat_->setFocusPolicy(Qt::NoFocus);
    btc_cheat_->setMouseTracking(true);
    btc_cheat_->hide();

    lb_programname_ = label("lb_programname", 30);
    lb_programver_ = label("lb_programver", 16);
    lb_programmaker_ = label("lb_programmaker", 16);
    ulb_webadd_ = label("ulb_webadd", 16);
    ulb_emailadd_ = label("ulb_emailadd", 16);
    lb_gamecount_ = label("lb_gamecount", 16);
    lb_lastmodify_ = label("lb_lastmodify", 16);
    for (QLabel* link : {ulb_webadd_, ulb_emailadd_}) {
        set_link_label(link);
        link->installEventFilter(this);
    }

    connect(btc_view_, &QPushButton::clicked, this, [this] { btc_viewClick(); });
    connect(btc_search_, &QPushButton::clicked, this, [this] { btc_searchClick(); });
    connect(btc_print_, &QPushButton::clicked, this, [this] { btc_printClick(); });
    connect(btc_savetext_, &QPushButton::clicked, this, [this] { btc_savetextClick(); });
    connect(btc_new_, &QPushButton::clicked, this, [this] { btc_newClick(); });
    connect(btc_modify_, &QPushButton::clicked, this, [this] { btc_modifyClick(); });
    connect(btc_erase_, &QPushButton::clicked, this, [this] { btc_eraseClick(); });
    connect(btc_options_, &QPushButton::clicked, this, [this] { btc_optionsClick(); });
    connect(btc_other_, &QPushButton::clicked, this, [this] { btc_otherClick(); });
    connect(btc_exit_, &QPushButton::clicked, this, [this] { close(); });
    connect(btc_cheat_, &QPushButton::clicked, this, [this] { Tstat(context_, this).exec(); });

    pm_gamename_ = new QMenu(this);
    pm_gamename_->setObjectName("pm_gamename");
    const auto item = [this](const char* name, auto handler) {
        QAction* a = pm_gamename_->addAction(QString());
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    mn_copytoclipboard_ = item("mn_copytoclipboard", [this] { mn_copytoclipboardClick(); });
    pm_gamename_->addSeparator()->setObjectName("mn_line1");
    mn_sendcheat_ = item("mn_sendcheat", [this] { mn_sendcheatClick(); });
    pm_gamename_->addSeparator()->setObjectName("mn_line2");
    mn_gamerun_ = item("mn_gamerun", [this] { mn_gamerunClick(); });
    mn_gamerun_->setEnabled(false);
    mn_gamepath_ = item("mn_gamepath", [this] { mn_gamepathClick(); });
    mn_shortcut_ = item("mn_shortcut", [this] { mn_shortcutClick(); });
    pm_gamename_->addSeparator()->setObjectName("mn_line3");
    mn_view_ = item("mn_view", [this] { btc_viewClick(); });
    mn_print_ = item("mn_print", [this] { btc_printClick(); });
    mn_savetext_ = item("mn_savetext", [this] { btc_savetextClick(); });
    pm_gamename_->addSeparator()->setObjectName("mn_line4");
    mn_savedb_ = item("mn_savedb", [this] { savefiles(); });
    mn_savedb_->setEnabled(false);
    pm_gamename_->addSeparator()->setObjectName("mn_line5");
    mn_donate_ = item("mn_donate", [this] { Tdonate(context_, dialogs_, this).exec(); });
    mn_about_ = item("mn_about", [this] { Tabout(context_, dialogs_, this, mail_windows()).exec(); });
    pm_gamename_->addSeparator()->setObjectName("mn_line6");
    item("mn_cancel", [this] { pm_gamename_->close(); });
    btc_options_->setEnabled(bool(hooks_.options));

    connect(ls_gamename_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { check_game_runable(); });

    // Growing, the list takes the room; the search box stays under it, the rest keeps to the right.
    auto* anchors = new Anchors(client, skin_->frame().designed_client_size());
    anchors->add(ls_gamename_, all_edges);
    anchors->add(ed_search_, across_bottom);
    for (QWidget* w : std::initializer_list<QWidget*>{
             btc_view_, btc_search_, btc_print_, btc_savetext_, btc_new_, btc_modify_, btc_erase_, btc_options_,
             btc_other_, lb_programname_, lb_programver_, lb_programmaker_, ulb_webadd_, ulb_emailadd_,
             lb_gamecount_, lb_lastmodify_})
        anchors->add(w, right_top);
    anchors->add(btc_exit_, right_bottom);
}

QPoint Tmain::centre() const {
    return centre_of(frameGeometry());
}

void Tmain::captions_main() {
    const CodePage cp = context_.language.code_page;
    const auto button_caption = [&](int slot) { return qt_text(without_alt_s(context_.CAPTIONS[slot]), cp); };
    const PROFILES_TYPE* profile = current_profile(context_);
    const std::string profile_name = profile ? to_utf8(profile->name, profile_code_page(context_)) : "";
    setWindowTitle(caption_text(context_, caption_slot::main_loading_title, {product_name, profile_name}));
    btc_cheat_->setText(button_caption(caption_slot::main_cheat_button));
    btc_search_->setText(button_caption(caption_slot::main_search_button));
    btc_view_->setText(button_caption(caption_slot::main_view_button));
    btc_print_->setText(button_caption(caption_slot::main_print_button));
    btc_savetext_->setText(button_caption(caption_slot::main_save_text_button));
    btc_new_->setText(button_caption(caption_slot::main_add_button));
    btc_modify_->setText(button_caption(caption_slot::main_modify_button));
    btc_erase_->setText(button_caption(caption_slot::main_delete_button));
    btc_options_->setText(button_caption(caption_slot::main_options_button));
    btc_other_->setText(button_caption(caption_slot::main_others_button));
    btc_exit_->setText(button_caption(caption_slot::main_exit_button));
    lb_programname_->setText(caption_text(context_, caption_slot::main_program_name, {product_name}));
    lb_programver_->setText(caption_text(context_, caption_slot::main_program_version, {product_version}));
    lb_programmaker_->setText(caption_text(context_, caption_slot::main_program_maker, {author_name}));
    ulb_webadd_->setText(caption_text(context_, caption_slot::main_web_address, {home_page_address}));
    ulb_emailadd_->setText(
        caption_text(context_, caption_slot::main_email_address, {publisher_info_address}));
    lb_gamecount_->setText(caption_text(context_, caption_slot::main_game_count, {"???"}));
    lb_lastmodify_->setText(caption_text(context_, caption_slot::main_last_modified, {"???"}));
    mn_copytoclipboard_->setText(caption_text(context_, caption_slot::main_copy_to_clipboard_menu) + "\tF5");
    mn_sendcheat_->setText(caption_text(context_, caption_slot::main_send_info_menu));
    mn_gamerun_->setText(caption_text(context_, caption_slot::main_run_game_menu) + "\tF9");
    mn_gamepath_->setText(caption_text(context_, caption_slot::main_game_path_menu));
    mn_shortcut_->setText(caption_text(context_, caption_slot::main_shortcut_menu));
    mn_view_->setText(caption_text(context_, caption_slot::main_view_menu));
    mn_print_->setText(caption_text(context_, caption_slot::main_print_menu));
    mn_savetext_->setText(caption_text(context_, caption_slot::main_save_text_menu));
    mn_savedb_->setText(caption_text(context_, caption_slot::main_save_database_menu) + "\tF2");
    mn_donate_->setText(caption_text(context_, caption_slot::main_donate_menu));
    mn_about_->setText(caption_text(context_, caption_slot::main_about_menu));
    findChild<QAction*>("mn_cancel")->setText(caption_text(context_, caption_slot::main_cancel_menu));
}

void Tmain::refresh_database_information() {
    const CodePage cp = context_.language.code_page;
    const PROFILES_TYPE* profile = current_profile(context_);
    const std::string profile_name = profile ? to_utf8(profile->name, profile_code_page(context_)) : "";
    const std::string count = std::to_string(context_.db.games.size());
    setWindowTitle(qt_utf8(caption_format(to_utf8(context_.CAPTIONS[caption_slot::main_title], cp),
                                          {product_name, profile_name, count})));
    lb_gamecount_->setText(
        qt_utf8(caption_format(to_utf8(context_.CAPTIONS[caption_slot::main_game_count], cp), {count})));
    const CivilTime day = civil_of(context_.main_file_date);
    const QString date = QLocale::system().toString(QDate(day.year, day.month, day.day), QLocale::ShortFormat);
    lb_lastmodify_->setText(qt_utf8(
        caption_format(to_utf8(context_.CAPTIONS[caption_slot::main_last_modified], cp), {utf8_of(date)})));
    mn_savedb_->setEnabled(context_.variables.changes.change_count >= 1);
}

void Tmain::refresh_main_buttons() {
    refresh_database_information();
    const OPTIONS_TYPE& o = context_.options;
    const bool printable = printer_installed();
    const bool editable = !context_.db.game_list.empty();
    if (!editable) ls_gamename_->setRows({});
    for (QPushButton* b : {btc_search_, btc_view_, btc_savetext_})
        b->setEnabled(editable);
    for (QAction* a : {mn_view_, mn_savetext_})
        a->setEnabled(editable);
    mn_shortcut_->setEnabled(editable);
    mn_sendcheat_->setEnabled(editable && hooks_.send_game);
    btc_print_->setEnabled(editable && printable);
    mn_print_->setEnabled(editable && printable);
    btc_new_->setEnabled(!editable || o.add_button_visible);
    btc_modify_->setEnabled(editable && o.modify_button_visible);
    btc_erase_->setEnabled(editable && o.delete_button_visible);
    if (!editable && isVisible()) btc_new_->setFocus();

    for (QPushButton* b : {btc_new_, btc_modify_, btc_erase_})
        b->setVisible(o.show_edit_buttons);
    place_labels();
    mn_savedb_->setEnabled(context_.variables.changes.change_count > 0);
}

void Tmain::place_labels() {
    const double s = context_.screen_scale;
    const int shift = context_.options.show_edit_buttons ? scaled(24, s) : 0;
    const QLabel* labels[] = {lb_programname_, lb_programver_, lb_programmaker_, ulb_webadd_,
                              ulb_emailadd_,   lb_gamecount_,  lb_lastmodify_};
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        auto* l = const_cast<QLabel*>(labels[i]);
        l->move(l->x(), scaled(label_tops[i], s) + shift);
    }
}

void Tmain::u_main_skin_show() {
    skin_fonts_follow(context_.installed_fonts, context_.skin_current); // a skin put back after the options window brings its fonts back
    refresh_main_buttons();
    for (QLabel* l : {lb_programname_, lb_programver_, lb_programmaker_, ulb_webadd_, ulb_emailadd_,
                      lb_gamecount_, lb_lastmodify_})
        l->setVisible(context_.skin_current.main_data_visible);
    skin_->apply(context_.skin_current, context_.skin_current.window_main,
                 skins_folder(context_.variables), context_.screen_scale,
                 PictureNames{"main.jpg", "main.bmp"});
    QFont big = lb_programname_->font();
    big.setPointSize(context_.skin_current.window_main.labels_normal.font_size + 12);
    lb_programname_->setFont(big);
    // The column's designed centre, moved as far as a grown window moved the column.
    const double s = context_.screen_scale;
    const int column_centre = scaled(label_column_left + label_column_width / 2, s) + lb_programname_->x() -
                              scaled(label_column_left, s);
    for (QLabel* link : {ulb_webadd_, ulb_emailadd_}) {
        link->adjustSize();
        link->move(column_centre - link->width() / 2, link->y());
    }
}

void Tmain::run_task(Task task, QPoint centre) {
    TaskRequest request{task, centre, {}, nullptr, nullptr, {}};
    request.show_list = [this](Tprogress& task) { u_progress_dat_list_show(task); };
    Tprogress::run(context_, dialogs_, std::move(request), this);
    if (task == Task::show_splash_screen || task == Task::show_normal_screen) open_text_search();
}

// The texts' index of the profile just loaded (or upgraded) is prepared in the background.
void Tmain::open_text_search() {
    const PROFILES_TYPE* profile = current_profile(context_);
    if (!profile || context_.variables.main_dat_path.empty()) return;
    text_search_.open(*profile, context_.variables.main_dat_path, context_.db);
}

void Tmain::games_changed(const std::vector<std::string>& keys) {
    text_search_.games_changed(context_.db, keys);
}

void Tmain::u_progress_dat_list_show(Tprogress& task) {
    task.set_gauge_position(0);
    similar_names_.reset();
    ls_gamename_->setRows(game_list_rows(context_.db.game_list, profile_code_page(context_),
                                         [&task](int percent) { task.report_progress(percent); }));
}

void Tmain::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_once_) return;
    shown_once_ = true;
    QTimer::singleShot(50, this, [this] { load_after_show(); });
}

void Tmain::load_after_show() {
    if (load_pending_) {
        load_pending_ = false;
        repaint();
        run_task(Task::show_normal_screen, centre());
    }
    if (!refresh_pending_) return;
    refresh_pending_ = false;
    refresh_main_buttons();
    if (!context_.db.game_list.empty()) select_row(0);
    std::string& start_game = context_.variables.start_game;
    if (!start_game.empty()) {
        // Launchers and the command line give the name in UTF-8; the list holds the code page's bytes.
        const std::string name = from_utf8(start_game, profile_code_page(context_));
        search_gamename(name);
        check_game_runable();
        const int row = selected_row();
        if (row >= 0 && lower_text(context_.db.game_list[static_cast<std::size_t>(row)].name) == lower_text(name))
            btc_viewClick();
        start_game.clear();
    } else if (context_.options.remember_last_game) {
        if (const PROFILES_TYPE* profile = current_profile(context_)) search_gamename(profile->last_game);
        check_game_runable();
    }
}

int Tmain::selected_row() const {
    const QModelIndexList rows = ls_gamename_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Tmain::select_row(int row) {
    if (row < 0 || row >= ls_gamename_->model()->rowCount()) {
        ls_gamename_->selectionModel()->clear();
        return;
    }
    ls_gamename_->setCurrentIndex(ls_gamename_->model()->index(row, 0));
}

// The search box says when no name begins with its text, and how to look further.
void Tmain::show_search_hint(bool shown) {
    ed_search_->setStyleSheet(shown ? "QLineEdit { background: #ffd8d0; color: #000000; }" : "");
    ed_search_->setToolTip(shown ? caption_text(context_, caption_slot::main_search_everywhere_hint) : QString());
}

void Tmain::search_gamename(const std::string& text) {
    const QuickSearch found = tkv::search_gamename(context_.db.game_list, text);
    show_search_hint(ed_search_->hasFocus() && !quick_search_found(context_.db.game_list, found, text));
    if (!found.change) return;
    select_row(found.row);
    if (found.click) check_game_runable();
}

void Tmain::buildlist(QPoint centre) {
    run_task(Task::cheat_sort_and_list, centre);
    // The buttons follow the new list: the first game of an empty profile makes View usable.
    refresh_main_buttons();
    if (!context_.db.game_list.empty()) select_row(0);
    if (!context_.name_to_select.empty()) {
        search_gamename(context_.name_to_select);
        context_.name_to_select.clear();
    }
    ls_gamename_->viewport()->update();
}

void Tmain::check_game_runable() {
    const auto& db = context_.db;
    if (db.games.empty()) {
        mn_gamerun_->setEnabled(false);
        mn_gamepath_->setEnabled(false);
        return;
    }
    const int row = selected_row();
    if (row < 0) {
        mn_gamerun_->setEnabled(false);
        mn_gamepath_->setEnabled(true);
        return;
    }
    const auto index = static_cast<std::size_t>(db.game_list[static_cast<std::size_t>(row)].game_index);
    mn_gamerun_->setEnabled(index < db.games.size() && !db.games[index].run.path.empty());
    mn_gamepath_->setEnabled(true);
}

void Tmain::check_count_of_changes() {
    const CHANGE_TRACKING& changes = context_.variables.changes;
    if (autosave_due(context_.options, changes) && changes.change_count != failed_save_count_) savefiles();
    refresh_database_information();
}

void Tmain::savefiles() {
    CHANGE_TRACKING& changes = context_.variables.changes;
    if (save_needed(changes)) {
        context_.last_save_ok = false;
        run_task(Task::save_allfiles, centre());
        failed_save_count_ = context_.last_save_ok ? -1 : changes.change_count;
    }
    refresh_database_information();
}

bool Tmain::expand_game(int game_index) {
    const int error = games_uncompress_data(context_.db, game_index, false, context_.db.current_game);
    if (error == 0) return true;
    const Messages m = messages_of(context_, dialogs_);
    m.error("error " + std::to_string(error));
    return false;
}

bool Tmain::expand_selected() {
    const int row = selected_row();
    if (row < 0) return false;
    return expand_game(context_.db.game_list[static_cast<std::size_t>(row)].game_index);
}

Tinfo::Outcome Tmain::show_info_window(const std::optional<Tsearch::TextChoice>& matches) {
    Tinfo info(context_, dialogs_, this, hooks_.send_game);
    if (matches) info.show_matches(matches->query, matches->kind, matches->entry);
    connect(&info, &Tinfo::gameRunDisabled, this, [this] {
        check_game_runable();
        check_count_of_changes();
    });
    info.exec();
    return info.outcome();
}

void Tmain::btc_viewClick() {
    open_selected(InfoMode::view);
}

void Tmain::btc_modifyClick() {
    if (context_.variables.run_from_cd) return;
    if (selected_row() < 0) {
        const Messages m = messages_of(context_, dialogs_);
        m.error(m.text(caption_slot::main_no_game_selected));
        return;
    }
    open_selected(InfoMode::modify);
}

void Tmain::open_selected(InfoMode mode, const std::optional<Tsearch::TextChoice>& matches) {
    const int row = selected_row();
    if (row < 0) return;
    auto& db = context_.db;
    const GAMELIST2_ARRAY_TYPE entry = db.game_list[static_cast<std::size_t>(row)];
    db.current_list_row = row;
    db.current_game_index = entry.game_index;
    if (!expand_game(entry.game_index)) return;
    if (PROFILES_TYPE* profile = current_profile(context_)) {
        if (mode == InfoMode::modify) {
            profile->last_game = db.current_game.title;
        } else if (profile->last_game != entry.name) {
            profile->last_game = entry.name; // user.dat keeps it
            context_.variables.changes.user_changed = true;
        }
    }
    context_.info_mode = mode;
    stats_count_view(context_.variables.stats,
                     games_convert_data_to_text(db.current_game, context_.CAPTIONS).size());
    const Tinfo::Outcome outcome = show_info_window(matches);

    const GAMES2_TEMP_ARRAY_TYPE& game = db.current_game;
    const auto index = static_cast<std::size_t>(db.current_game_index);
    if (outcome == Tinfo::Outcome::stored && index < db.games.size()) {
        const std::string key_before = game_key(db.games[index]);
        db.games[index].user_text = game.user_text;
        db.games[index].run = game.run;
        const bool renamed = game.id < 0 && db.games[index].names != game.names;
        if (renamed) db.games[index].names = game.names;
        games_changed({key_before, game_key(db.games[index])});
        if (renamed) buildlist(centre());
    }
    if (outcome == Tinfo::Outcome::start_game) mn_gamerunClick();
    ls_gamename_->setFocus();
    check_count_of_changes();
    if (mode == InfoMode::view) ed_search_->clear();
}

void Tmain::btc_newClick() {
    if (context_.variables.run_from_cd) return;
    auto& db = context_.db;
    if (games_table_full(db)) {
        const Messages m = messages_of(context_, dialogs_);
        m.error(m.text(caption_slot::main_profile_full, {std::to_string(games_max)}));
        return;
    }
    db.current_list_row = -1;
    db.current_game_index = -1;
    games_uncompress_data(db, -1, true, db.current_game);
    db.current_game.id = db.next_user_id;
    context_.info_mode = InfoMode::add;
    const GAMES2_TEMP_ARRAY_TYPE& game = db.current_game;
    if (show_info_window() == Tinfo::Outcome::stored &&
        games_append_user_game(db, {game.id, game.names, game.data, game.revision, game.user_text, game.run})) {
        games_changed({game_key(db.games.back())});
        buildlist(centre());
    }
    ls_gamename_->setFocus();
    check_count_of_changes();
}

void Tmain::btc_eraseClick() {
    const Messages m = messages_of(context_, dialogs_);
    const int row = selected_row();
    if (context_.variables.run_from_cd || row < 0) {
        m.error(m.text(context_.variables.run_from_cd ? caption_slot::read_only_mode
                                                      : caption_slot::main_no_game_selected));
        return;
    }
    auto& db = context_.db;
    const auto index = static_cast<std::size_t>(db.game_list[static_cast<std::size_t>(row)].game_index);
    if (db.games[index].id >= 0) {
        m.ask(m.text(caption_slot::main_delete_only_user_info), caption_slot::attention_title,
              MessageIcon::warning, MessageButtons::ok);
        return;
    }
    const std::string names = to_utf8(db.games[index].names, profile_code_page(context_));
    if (m.ask(m.text(caption_slot::main_delete_game_question, {names}), caption_slot::attention_title,
              MessageIcon::warning, MessageButtons::yes_no, MessageAnswer::no) == MessageAnswer::yes) {
        record_user_change(context_.variables.changes, UserChange::game_removed, current_profile(context_),
                           current_datetime());
        const std::string key = game_key(db.games[index]);
        games_remove_user_game(db, index);
        games_changed({key});
        buildlist(centre());
        select_row(std::min(row, static_cast<int>(db.game_list.size()) - 1));
    }
    ls_gamename_->viewport()->update();
    check_count_of_changes();
}

void Tmain::btc_searchClick() {
    if (context_.db.game_list.empty()) return;
    if (!similar_names_) similar_names_.emplace(context_.db.game_list, profile_code_page(context_));
    Tsearch search(context_, ed_search_->text(), this, {&*similar_names_, &text_search_});
    search.exec();
    if (const auto row = search.result()) {
        select_row(*row);
        open_selected(InfoMode::view, search.text_choice());
    }
    ed_search_->clear();
}

void Tmain::btc_optionsClick() {
    if (!hooks_.options) return;
    const int row = selected_row();
    const std::string selection_before_options =
        row >= 0 ? context_.db.game_list[static_cast<std::size_t>(row)].name : std::string();
    context_.skin_before_options = context_.skin_current;
    context_.skin_name_before_options = context_.options.skin_name;
    context_.options_left_without_ok = true;
    const MainWindowHooks::OptionsResult result = hooks_.options(
        this, {mail_windows(), [this] { u_main_skin_show(); }, [this] { refresh_main_buttons(); }});
    // A skin previewed and not taken with Apply or OK goes.
    if (!result.accepted && (context_.skin_current.folder != context_.skin_before_options.folder ||
                             context_.options.skin_name != context_.skin_name_before_options)) {
        context_.skin_current = context_.skin_before_options;
        context_.options.skin_name = context_.skin_name_before_options;
        u_main_skin_show();
    }
    if (result.list_rebuild_needed) {
        context_.name_to_select = selection_before_options;
        buildlist(centre());
        open_text_search(); // an upgrade may have merged games: their documents are written again
    }
    refresh_main_buttons();
    check_count_of_changes();
    if (isVisible()) ls_gamename_->setFocus();
}

void Tmain::btc_printClick() {
    const int row = selected_row();
    if (row < 0) return;
    u_main_printinfo(context_, dialogs_, this, context_.db.game_list[static_cast<std::size_t>(row)].game_index);
    ls_gamename_->setFocus();
}

void Tmain::btc_savetextClick() {
    if (!expand_selected()) return;
    games_save_info_to_textfile(context_, dialogs_, context_.db.current_game);
    ls_gamename_->setFocus();
}

void Tmain::btc_otherClick() {
    const QPoint right_bottom = btc_other_->mapToGlobal(QPoint(btc_other_->width(), btc_other_->height()));
    pm_gamename_->popup(right_bottom - QPoint(pm_gamename_->sizeHint().width(), 0));
}

void Tmain::popup_at(QPoint global) {
    pm_gamename_->popup(global);
}

void Tmain::mn_copytoclipboardClick() {
    if (expand_selected()) copy_game_text(context_, context_.db.current_game);
}

void Tmain::mn_gamerunClick() {
    const int row = selected_row();
    if (row < 0) return;
    auto& db = context_.db;
    db.current_list_row = row;
    db.current_game_index = db.game_list[static_cast<std::size_t>(row)].game_index;
    const GAMES2_RUN_TYPE& run = db.games[static_cast<std::size_t>(db.current_game_index)].run;
    if (file_exists(run.path)) {
        launch_program(run.path, run.parameters, run.folder);
        if (context_.options.exit_on_game_run) {
            context_.exit_request = true;
            // Closing can be refused (changes the user will not lose): the program then stays.
            if (!close()) context_.exit_request = false;
        }
        return;
    }
    const Messages m = messages_of(context_, dialogs_);
    if (m.ask(m.text(caption_slot::gamerun_program_missing_question, {run.path}), caption_slot::error_title,
              MessageIcon::error, MessageButtons::yes_no) != MessageAnswer::yes)
        return;
    forget_launch_settings(db, db.current_game_index, context_.variables.changes);
    check_game_runable();
    check_count_of_changes();
}

void Tmain::mn_gamepathClick() {
    const int row = selected_row();
    if (row < 0) return;
    context_.db.current_game_index = context_.db.game_list[static_cast<std::size_t>(row)].game_index;
    Tgamerun(context_, dialogs_, this).exec();
    check_game_runable();
    check_count_of_changes();
}

void Tmain::mn_shortcutClick() {
    const int row = selected_row();
    if (row < 0) return;
    context_.db.current_list_row = row;
    context_.db.current_game_index = context_.db.game_list[static_cast<std::size_t>(row)].game_index;
    Tshortcut(context_, dialogs_, this).exec();
}

void Tmain::mn_sendcheatClick() {
    if (!hooks_.send_game || !expand_selected()) return;
    hooks_.send_game(this, context_.db.current_game);
}

void Tmain::run_or_launch_settings() {
    if (mn_gamerun_->isEnabled())
        mn_gamerunClick();
    else
        mn_gamepathClick();
}

void Tmain::ulb_webaddClick() {
    open_web_address(context_, std::string(home_page_address));
}

void Tmain::ulb_emailaddClick() {
    context_.current_mail_subject =
        caption_format(context_.CAPTIONS[caption_slot::main_mail_subject], {product_name});
    open_mail_address(context_, dialogs_, std::string(publisher_info_address), std::string(author_name), centre(),
                      mail_windows());
}

MailWindows Tmain::mail_windows() {
    MailWindows windows;
    if (hooks_.first_settings) windows.first_settings = [this] { hooks_.first_settings(this); };
    windows.send_mail = [this](const std::string& address, const std::string& name, QPoint centre) {
        send_mail(context_, dialogs_, address, name, centre, [this] { savefiles(); }, this);
    };
    return windows;
}

void Tmain::tm_cheatTimer() {
    if (typed_keys_ != typed_keys_previous_)
        typed_keys_previous_ = typed_keys_;
    else
        typed_keys_.clear();

    if (cheat_button_countdown_ > 0) {
        --cheat_button_countdown_;
    } else if (btc_cheat_->isVisible()) {
        btc_cheat_->hide();
        cheat_button_countdown_ = random_below(120);
    } else {
        const QWidget* client = skin_->client();
        const int x = random_below(std::max(1, client->width() - btc_cheat_->width() - 1));
        const int y = random_below(std::max(1, client->height() - btc_cheat_->height() - 1));
        btc_cheat_->move(x, y);
        btc_cheat_->show();
        btc_cheat_->raise();
    }
}

// Keys ---------------------------------------------------------------------------------------

bool Tmain::form_key_down(QKeyEvent* e) {
    checkhelp(e->key(), help_topic, context_.language.help_path, this);
    if (e->key() == Qt::Key_F2) {
        savefiles();
        return true;
    }
    if (e->key() == Qt::Key_Escape) {
        if (ls_gamename_->isEnabled()) ls_gamename_->setFocus();
        return false;
    }
    if (e->key() == Qt::Key_F && e->modifiers() == Qt::ControlModifier) {
        btc_searchClick(); // with the text typed so far
        return true;
    }
    if (e->key() == Qt::Key_S && e->modifiers() == Qt::AltModifier) {
        if (hooks_.options) {
            // The options window opens at its skins page this once. The earlier choice comes back
            // unless the user switched remembering off there (taken with Apply or OK).
            const bool remembered = context_.options.save_last_option;
            context_.options.save_last_option = true;
            context_.options.last_option = 8;
            btc_optionsClick();
            if (context_.options.save_last_option) context_.options.save_last_option = remembered;
        }
        return true;
    }
    return false;
}

bool Tmain::ed_searchKeyDown(QKeyEvent* e) {
    if (!isVisible()) return false;
    const int count = static_cast<int>(context_.db.game_list.size());
    const int selected = selected_row();
    const int per_page = std::max(1, ls_gamename_->viewport()->height() / ls_gamename_->rowHeight());
    int row = selected;
    switch (e->key()) {
    case Qt::Key_Up: row = selected - 1; break;
    case Qt::Key_Down: row = selected + 1; break;
    case Qt::Key_PageUp: row = selected - per_page + 1; break;
    case Qt::Key_PageDown: row = selected + per_page - 1; break;
    case Qt::Key_Home: row = 0; break;
    case Qt::Key_End: row = count - 1; break;
    case Qt::Key_F5: mn_copytoclipboardClick(); break;
    case Qt::Key_F9: run_or_launch_settings(); break;
    default: return false;
    }
    ls_gamename_->setFocus();
    ed_search_->clear();
    select_row(std::clamp(row, 0, std::max(0, count - 1)));
    check_game_runable();
    return true;
}

bool Tmain::ed_searchKeyPress(QKeyEvent* e) {
    if (e->text().isEmpty()) return false;
    const bool escape = e->key() == Qt::Key_Escape;
    if (escape) ed_search_->clear();
    typed_keys_ += escape ? '\0' : e->text().toLatin1().front();
    const QTime now = QTime::currentTime();
    const std::string sequence =
        std::to_string(context_.db.games.size()) + QString::asprintf("%02d%02d", now.hour(), now.minute()).toStdString();
    if (typed_keys_ == sequence) {
        Tcheatcheat(context_, this).exec();
        ed_search_->clear();
        return true;
    }
    return escape;
}

bool Tmain::ls_gamenameKeyDown(QKeyEvent* e) {
    if (is_navigation_key(e->key())) {
        ed_search_->clear();
        return false;
    }
    const int row = selected_row();
    if (e->key() == Qt::Key_Menu || (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier)) {
        if (row >= 0) {
            const QRect r = ls_gamename_->visualRect(ls_gamename_->model()->index(row, 0));
            popup_at(ls_gamename_->viewport()->mapToGlobal(r.bottomLeft()));
        }
        return true;
    }
    if (e->key() == Qt::Key_F5) {
        mn_copytoclipboardClick();
        return true;
    }
    if (e->key() == Qt::Key_F9) {
        run_or_launch_settings();
        return true;
    }
    return false;
}

bool Tmain::ls_gamenameKeyPress(QKeyEvent* e) {
    const QString text = e->text();
    if (text.isEmpty() || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Tab ||
        e->key() == Qt::Key_Backtab || e->key() == Qt::Key_Escape)
        return false;
    const QChar c = text.front();
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    if (letter || (digit && isVisible())) {
        ed_search_->setFocus();
        ed_search_->setText(ed_search_->text() + c);
        ed_search_->end(false);
    }
    return true;
}

void Tmain::ls_gamenameMouseDown(QMouseEvent* e) {
    const QModelIndex index = ls_gamename_->indexAt(e->position().toPoint());
    if (!index.isValid()) return;
    select_row(index.row());
    check_game_runable();
    popup_at(e->globalPosition().toPoint());
}

bool Tmain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (form_key_down(e)) return true;
        if (watched == ed_search_) return ed_searchKeyDown(e) || ed_searchKeyPress(e);
        if (watched == ls_gamename_) return ls_gamenameKeyDown(e) || ls_gamenameKeyPress(e);
        // Escape on a button only moves the focus; it never closes the window.
        return e->key() == Qt::Key_Escape;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (watched == ls_gamename_->viewport() && e->button() == Qt::RightButton) {
            ls_gamenameMouseDown(e);
            return true;
        }
        if (watched == btc_cheat_ && cheat_button_countdown_ == 0) cheat_button_countdown_ = 1;
    }
    if (event->type() == QEvent::MouseMove && watched == btc_cheat_ && cheat_button_countdown_ == 0)
        cheat_button_countdown_ = 1;
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ulb_webadd_) ulb_webaddClick();
        if (watched == ulb_emailadd_) ulb_emailaddClick();
    }
    return QDialog::eventFilter(watched, event);
}

void Tmain::keyPressEvent(QKeyEvent* event) {
    if (form_key_down(event) || event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

// Closing ------------------------------------------------------------------------------------

bool Tmain::FormCloseQuery() {
    const CHANGE_TRACKING& changes = context_.variables.changes;
    if (changes.change_count <= 0 && !changes.user_changed) return true;
    savefiles();
    if (context_.last_save_ok) return true;
    const Messages m = messages_of(context_, dialogs_);
    return m.ask(m.text(caption_slot::main_quit_unsaved_question), caption_slot::attention_title,
                 MessageIcon::warning, MessageButtons::yes_no, MessageAnswer::no) == MessageAnswer::yes;
}

void Tmain::FormClose() {
    OPTIONS_TYPE& o = context_.options;
    o.window_x = -1;
    o.window_y = -1;
    if (o.save_window_position && pos() != centred_position_) {
        o.window_x = x();
        o.window_y = y();
    }
    const QSize size = remembered_size(this);
    o.main_window_width = size.width() > 0 ? size.width() : 0;
    o.main_window_height = size.height() > 0 ? size.height() : 0;
    o.main_window_maximised = isMaximized();
    context_save_configuration(context_);
    const CHANGE_TRACKING& changes = context_.variables.changes;
    if (o.offer_send_after_adding && changes.cheat_added && !o.smtp_server.empty() && !o.smtp_port.empty() &&
        !o.user_name.empty() && !o.user_email.empty() && hooks_.send_userfile) {
        const Messages m = messages_of(context_, dialogs_);
        if (m.ask(m.text(caption_slot::main_share_user_database_question), caption_slot::question_title,
                  MessageIcon::information, MessageButtons::ok_cancel) == MessageAnswer::ok)
            hooks_.send_userfile(this);
    }
    if (o.exit_effect && o.manager_hidden_after_exit && !context_.exit_request) removewindow(this);
    tm_cheat_.stop();
}

void Tmain::closeEvent(QCloseEvent* event) {
    if (closed_) return event->accept();
    if (!FormCloseQuery()) return event->ignore();
    FormClose();
    closed_ = true;
    event->accept();
    done(QDialog::Rejected);
}

void Tmain::reject() {
    close();
}

} // namespace tkv
