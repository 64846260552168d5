#include "profiles/ui/gamerun_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/info_edit.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/datetime.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"
#include "widgets/ttkv_frame.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::launch_settings;

std::string trimmed(const QLineEdit* edit) {
    return trim_controls(utf8_of(edit->text()));
}

// Where the folder dialog starts: the typed folder without its final "/", the root when none.
std::string folder_dialog_start(const std::string& typed) {
    const std::string folder = trim_controls(typed);
    if (folder.empty()) return "/";
    return folder.size() > 1 && folder.back() == '/' ? without_last(folder, 1) : folder;
}

} // namespace

Tgamerun::Tgamerun(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs) {
    setObjectName("Tgamerun");
    auto& db = context.db;
    const bool has_game =
        db.current_game_index >= 0 && static_cast<std::size_t>(db.current_game_index) < db.games.size();
    GAMES2_ARRAY_TYPE* game = has_game ? &db.games[static_cast<std::size_t>(db.current_game_index)] : nullptr;
    run_ = game ? &game->run : nullptr;

    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls();
    if (game) {
        ed_name_->setText(qt_text(name_text_of_names(game->names), profile_code_page(context)));
        start_path_ = qt_utf8(run_->path);
        start_parameters_ = qt_utf8(run_->parameters);
        start_folder_ = qt_utf8(run_->folder);
    }
    ed_path_->setText(start_path_);
    ed_comm_->setText(start_parameters_);
    ed_work_->setText(start_folder_);
    ed_pathChange();

    const Messages m = messages_of(context, dialogs);
    setWindowTitle(qt_utf8(m.text(caption_slot::gamerun_title, {product_name})));
    const double s = context.screen_scale;
    // The designed outer size 433 x 169 less the window's frame and title bar.
    skin_->set_client_size(QSize(425, 142), s);
    centre_window(this, parent ? centre_of(parent->window()->frameGeometry()) : screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    ed_path_->setFocus();
}

Tgamerun::~Tgamerun() = default;

void Tgamerun::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto field = [&](const char* label_name, int label_slot, const char* name, int top, int width) {
        auto* label = new QLabel(caption_text(context_, label_slot), client);
        label->setObjectName(label_name);
        label->setGeometry(at(10, top + 2, 72, 14));
        set_skin_class(label, "N");
        auto* edit = new QLineEdit(client);
        edit->setObjectName(name);
        edit->setFrame(false);
        edit->setGeometry(at(86, top, width, 17));
        label->setBuddy(edit);
        auto* frame = new TTKV_Frame(client);
        frame->setObjectName(QString("tkvf_") + name);
        frame->setControl(edit);
        return edit;
    };
    const auto button = [&](const char* name, int slot, QRect r) {
        auto* b = new QPushButton(caption_text(context_, slot), client);
        b->setObjectName(name);
        b->setGeometry(r);
        b->setAutoDefault(false);
        return b;
    };

    // Created in tab order: the fields with their Browse buttons, then the buttons below.
    ed_name_ = field("lb_name", caption_slot::gamerun_name_label, "ed_name", 10, 329);
    ed_name_->setReadOnly(true);
    ed_path_ = field("lb_path", caption_slot::gamerun_path_label, "ed_path", 36, 245);
    auto* btc_path = button("btc_path", 117, at(338, 33, 77, 23));
    ed_comm_ = field("lb_comm", caption_slot::gamerun_parameters_label, "ed_comm", 62, 329);
    ed_work_ = field("lb_work", caption_slot::gamerun_folder_label, "ed_work", 88, 245);
    auto* btc_work = button("btc_work", 120, at(338, 85, 77, 23));

    auto* btc_ok = button("btc_ok", 121, at(10, 112, 96, 24));
    btc_ok->setDefault(true);
    btc_test_ = button("btc_test", 122, at(113, 112, 96, 24));
    btc_test_->setEnabled(false);
    auto* btc_forget = button("btc_forget", 123, at(216, 112, 96, 24));
    auto* btc_cancel = button("btc_cancel", 124, at(319, 112, 96, 24));

    connect(ed_path_, &QLineEdit::textChanged, this, [this] { ed_pathChange(); });
    connect(btc_path, &QPushButton::clicked, this, [this] { btc_pathClick(); });
    connect(btc_work, &QPushButton::clicked, this, [this] { btc_workClick(); });
    connect(btc_ok, &QPushButton::clicked, this, [this] { btc_okClick(); });
    connect(btc_test_, &QPushButton::clicked, this, [this] { btc_testClick(); });
    connect(btc_forget, &QPushButton::clicked, this, [this] { btc_forgetClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tgamerun::ed_pathChange() {
    btc_test_->setEnabled(!trimmed(ed_path_).empty());
}

void Tgamerun::btc_pathClick() {
    const Messages m = messages_of(context_, dialogs_);
    FileDialogRequest request;
    request.title =
        m.text(caption_slot::gamerun_choose_program_title, {product_name, utf8_of(ed_name_->text())});
    // "All files" is every name here, with or without a dot.
    request.filters = {{m.text(caption_slot::gamerun_programs_filter), "*.exe;*.com;*.bat;*.pif"},
                       {m.text(caption_slot::gamerun_all_files_filter), "*"}};
    request.default_extension = "exe";
    request.file_name = utf8_of(ed_path_->text());
    request.folder = folder_of_path(request.file_name);
    const std::optional<FileDialogResult> chosen = dialogs_.open_file(request);
    if (!chosen) return;
    ed_work_->setText(qt_utf8(folder_of_path(chosen->path)));
    ed_path_->setText(qt_utf8(chosen->path));
}

void Tgamerun::btc_workClick() {
    const Messages m = messages_of(context_, dialogs_);
    const std::optional<std::string> chosen = dialogs_.choose_folder(
        m.text(caption_slot::gamerun_choose_folder_title), folder_dialog_start(utf8_of(ed_work_->text())));
    if (chosen) ed_work_->setText(qt_utf8(with_trailing_slash(*chosen)));
}

void Tgamerun::btc_testClick() {
    launch_program(trimmed(ed_path_), trimmed(ed_comm_), trimmed(ed_work_));
}

void Tgamerun::btc_forgetClick() {
    ed_path_->clear();
    ed_comm_->clear();
    ed_work_->clear();
}

void Tgamerun::btc_okClick() {
    if (run_ && (ed_path_->text() != start_path_ || ed_comm_->text() != start_parameters_ ||
                 ed_work_->text() != start_folder_)) {
        record_user_change(context_.variables.changes, UserChange::launch_settings, current_profile(context_),
                           current_datetime());
        *run_ = {trimmed(ed_path_), trimmed(ed_work_), trimmed(ed_comm_)};
    }
    accept();
}

void Tgamerun::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
