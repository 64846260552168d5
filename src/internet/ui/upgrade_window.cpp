#include "internet/ui/upgrade_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/download_rules.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/http_worker.h"
#include "platform/qt/qt_text.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "tasks/ui/progress_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>


namespace tkv {

std::string profile_server_address(const ProgramContext& context, std::string_view name) {
    const PROFILES_TYPE* profile = current_profile(context);
    if (!profile) return {};
    return profile_resource_address(context.options.server, profile->id, name);
}

UpdateList u_progress_dbupdate2(ProgramContext& context, Dialogs& dialogs, std::string_view list_text,
                                QWidget* caller) {
    UpdateList list;
    TaskRequest request;
    request.task = Task::database_update;
    request.centre = caller ? centre_of(caller->window()->frameGeometry()) : screen_centre();
    request.work = [&](Tprogress& task) {
        task.set_label(caption_text(context, caption_slot::database_comparing));
        list.entries = parse_update_list(list_text);
        list.wanted_count = mark_wanted_games(list.entries, context.db.games,
                                              [&task](int percent) { task.set_gauge_position(percent); });
    };
    Tprogress::run(context, dialogs, std::move(request), caller);
    return list;
}

Tupgrade_database::Tupgrade_database(ProgramContext& context, Dialogs& dialogs, const UpdateList& list,
                                     QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), list_(list) {
    setObjectName("Tupgrade_database");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const Messages m = messages_of(context, dialogs);
    const auto bar = [&](const char* name, QRect geometry) {
        return skinned_progress_bar(client, name, geometry, context.skin_current.progress_other);
    };
    const auto button = [&](const char* name, int slot) {
        auto* b = new QPushButton(client);
        b->setObjectName(name);
        b->setGeometry(at(140, 90, 81, 24));
        b->setText(qt_utf8(m.text(slot)));
        return b;
    };

    lb_progress_overall_ = skinned_label(client, "lb_progress_overall", at(8, 8, 345, 16));
    alp_progress_overall_ = bar("alp_progress_overall", at(8, 26, 345, 16));
    lb_progress_process_ = skinned_label(client, "lb_progress_process", at(8, 48, 345, 16));
    alp_progress_process_ = bar("alp_progress_process", at(8, 66, 345, 16));
    btc_abort_ = button("btc_abort", caption_slot::upgrade_cancel_button);
    btc_abort_->hide();
    connect(btc_abort_, &QPushButton::clicked, this, [this] { btc_abortClick(); });
    btc_start_ = button("btc_start", caption_slot::upgrade_start_button);
    btc_start_->setDefault(true);
    connect(btc_start_, &QPushButton::clicked, this, [this] { btc_startClick(); });
    set_overall(0);

    setWindowTitle(qt_utf8(m.text(caption_slot::upgrade_title, {product_name})));
    help_on_f1(this, help::database_upgrade, context.language.help_path);
    skin_->set_client_size(QSize(361, 121), s);
    centre_over(this, parent);
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    QTimer::singleShot(10, this, [this] { tm_startTimer(); });
}

Tupgrade_database::~Tupgrade_database() = default;

void Tupgrade_database::set_overall(std::size_t number) {
    const Messages m = messages_of(context_, dialogs_);
    lb_progress_overall_->setText(qt_utf8(m.text(
        caption_slot::upgrade_progress, {std::to_string(number), std::to_string(list_.wanted_count)})));
}

void Tupgrade_database::tm_startTimer() {
    if (isVisible()) btc_startClick();
}

void Tupgrade_database::btc_startClick() {
    if (started_) return;
    started_ = true;
    can_close_ = false;
    btc_start_->setDefault(false);
    btc_start_->hide();
    btc_abort_->show();
    btc_abort_->setDefault(true);

    // Running already while the information types arrive, so a cancel then ends the run too.
    running_ = true;
    const Messages m = messages_of(context_, dialogs_);
    UpdateRunHooks hooks;
    hooks.fetch = [this](const std::string& name) -> std::optional<std::string> {
        if (!DownloadData(profile_server_address(context_, name))) return std::nullopt;
        return std::move(buffer_);
    };
    hooks.failed = [&](const std::string& name) {
        const MessageAnswer answer = m.ask(
            m.text(caption_slot::upgrade_download_failed_question, {profile_server_address(context_, name)}),
            caption_slot::error_title, MessageIcon::error, MessageButtons::abort_retry_ignore);
        return answer == MessageAnswer::abort    ? FailedDownload::abort
               : answer == MessageAnswer::ignore ? FailedDownload::ignore
                                                 : FailedDownload::retry;
    };
    hooks.running = [this] { return running_; };
    hooks.record_started = [this](std::size_t number) { set_overall(number); };
    hooks.record_done = [this](std::size_t done) {
        alp_progress_overall_->setValue(
            static_cast<int>((done * 200 + list_.wanted_count) / (2 * list_.wanted_count)));
    };
    if (run_database_update(context_.db, context_.variables.changes, list_, hooks).accepted() > 0)
        list_rebuild_needed_ = true;
    running_ = false;
    btc_abort_->setEnabled(false);
    can_close_ = true;
    close();
}

bool Tupgrade_database::DownloadData(const std::string& address) {
    btc_abort_->setEnabled(true);
    alp_progress_process_->setValue(0);
    const Messages m = messages_of(context_, dialogs_);
    lb_progress_process_->setText(qt_utf8(m.text(caption_slot::upgrade_downloading_file)));
    buffer_.clear();
    if (address.empty()) return false;
    const HttpResult result = get_keeping_ui(
        client_, address, proxy_of(context_.options),
        [this](std::string_view piece) {
            buffer_ += piece;
            return true;
        },
        this, [this](std::int64_t received, std::int64_t total) { httpDocData(received, total); });
    return !result.aborted && !result.transport_error && result.status == 200;
}

void Tupgrade_database::httpDocData(std::int64_t received, std::int64_t total) {
    if (total > 0 && received > 0) alp_progress_process_->setValue(static_cast<int>(received * 100 / total));
}

void Tupgrade_database::btc_abortClick() {
    if (!running_) return;
    const Messages m = messages_of(context_, dialogs_);
    if (m.ask(m.text(caption_slot::upgrade_cancel_question), caption_slot::attention_title,
              MessageIcon::question, MessageButtons::yes_no, MessageAnswer::no) != MessageAnswer::yes)
        return;
    running_ = false;
    client_.abort();
    can_close_ = true;
    close();
}

void Tupgrade_database::closeEvent(QCloseEvent* event) {
    if (!can_close_) return event->ignore();
    event->accept();
    done(Accepted);
}

// Escape is the abort button while the run is in progress.
void Tupgrade_database::reject() {
    if (running_) return btc_abortClick();
    if (can_close_) QDialog::reject();
}

} // namespace tkv
