#include "internet/ui/download_window.h"

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
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace tkv {

namespace {

// Where the body goes: a file (created or replaced) or memory.
class BodySink {
  public:
    explicit BodySink(const std::string& file) : file_(file.empty() ? nullptr : std::fopen(file.c_str(), "wb")) {}
    ~BodySink() { close(); }
    bool opened(const std::string& file) const { return file.empty() || file_; }
    bool write(std::string_view piece) {
        if (!file_) {
            memory_ += piece;
            return true;
        }
        return std::fwrite(piece.data(), 1, piece.size(), file_) == piece.size();
    }
    bool close() {
        if (!file_) return true;
        const bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }
    std::string& memory() { return memory_; }

  private:
    std::FILE* file_;
    std::string memory_;
};

} // namespace

Tdownload::Tdownload(ProgramContext& context, Dialogs& dialogs, DOWNLOAD_REQUEST& request, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), request_(request) {
    setObjectName("Tdownload");
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const CodePage cp = context.language.code_page;
    const auto caption = [&](int slot, std::initializer_list<std::string_view> values) {
        return qt_utf8(caption_format(to_utf8(context.CAPTIONS[slot], cp), values));
    };

    lb_download_ = skinned_label(client, "lb_download", at(8, 8, 305, 16));
    lb_download_->setText(qt_utf8(request.label));
    alp_download_ = new QProgressBar(client);
    alp_download_->setObjectName("alp_download");
    alp_download_->setGeometry(at(8, 28, 305, 18));
    alp_download_->setRange(0, 100);
    alp_download_->setValue(0);
    alp_download_->setTextVisible(false);
    lb_position_ = skinned_label(client, "lb_position", at(8, 52, 305, 16));
    lb_position_->setText(caption(caption_slot::download_position, {"???", "???", "0"}));
    lb_speed_ = skinned_label(client, "lb_speed", at(8, 70, 305, 16));
    lb_speed_->setText(caption(caption_slot::download_speed, {"?", "?", ""}));
    lb_timeleft_ = skinned_label(client, "lb_timeleft", at(8, 88, 305, 16));
    lb_timeleft_->setText(caption(caption_slot::download_time_left, {"??", "??"}));
    btc_abort_ = new QPushButton(client);
    btc_abort_->setObjectName("btc_abort");
    btc_abort_->setGeometry(at(120, 108, 80, 24));
    btc_abort_->setText(caption_text(context, caption_slot::download_cancel_button));
    connect(btc_abort_, &QPushButton::clicked, this, [this] { btc_abortClick(); });

    setWindowTitle(caption(caption_slot::download_title, {product_name}));
    help_on_f1(this, help::download_window, context.language.help_path);
    skin_->set_client_size(QSize(321, 137), s);
    centre_window(this, request.centre);
    skin_->apply(context.skin_current, context.skin_current.window_download,
                 skins_folder(context.variables), s);
    style_progress_bar(alp_download_, context.skin_current.progress_download);

    clock_.start();
    request_.succeeded = false;
    request_.aborted = false;
    QTimer::singleShot(10, this, [this] { tm_closerTimer(); });
}

Tdownload::~Tdownload() = default;

void Tdownload::tm_closerTimer() {
    if (request_.url.empty()) return CloseNow();
    if (!ascii_lower_text(request_.url).starts_with("http://")) {
        const Messages m = messages_of(context_, dialogs_);
        m.error(m.text(caption_slot::download_unknown_address));
        return CloseNow();
    }
    transfer();
    CloseNow();
}

void Tdownload::transfer() {
    const std::string& target = request_.target_file;
    BodySink sink(target);
    if (!sink.opened(target)) return;
    const HttpResult result = get_keeping_ui(
        client_, request_.url, proxy_of(context_.options), [&sink](std::string_view piece) { return sink.write(piece); },
        this, [this](std::int64_t received, std::int64_t total) { httpDocData(received, total); });
    btc_abort_->setEnabled(false);
    const bool complete = !request_.aborted && !result.transport_error && result.status == 200;
    if (target.empty()) {
        if (complete) request_.result_text = std::move(sink.memory());
        request_.succeeded = complete;
        return;
    }
    request_.succeeded = sink.close() && complete;
    if (!request_.succeeded) file_delete(target);
}

void Tdownload::httpDocData(std::int64_t received, std::int64_t total) {
    const std::int64_t elapsed = elapsed_for_display(clock_.elapsed());
    const bool advanced = elapsed != last_elapsed_;
    last_elapsed_ = elapsed;
    const DownloadFigures f = download_figures(received, total, advanced ? elapsed : 0);
    const CodePage cp = context_.language.code_page;
    const auto caption = [&](int slot, std::initializer_list<std::string_view> values) {
        return qt_utf8(caption_format(to_utf8(context_.CAPTIONS[slot], cp), values));
    };
    if (f.percent) alp_download_->setValue(*f.percent);
    if (const auto& p = f.position)
        lb_position_->setText(caption(caption_slot::download_position, {(*p)[0], (*p)[1], (*p)[2]}));
    if (const auto& v = f.speed) {
        lb_speed_->setText(caption(caption_slot::download_speed, {(*v)[0], (*v)[1], (*v)[2]}));
        context_.last_download_speed = speed_text(*f.speed);
    }
    if (const auto& t = f.time_left)
        lb_timeleft_->setText(caption(caption_slot::download_time_left, {(*t)[0], (*t)[1]}));
}

void Tdownload::btc_abortClick() {
    client_.abort();
    btc_abort_->setEnabled(false);
    request_.aborted = true;
    request_.succeeded = false;
    request_.result_text.clear();
}

void Tdownload::CloseNow() {
    btc_abort_->setEnabled(false);
    can_close_ = true;
    close();
}

void Tdownload::closeEvent(QCloseEvent* event) {
    if (!can_close_) return event->ignore();
    if (!request_.result_text.empty() && !request_.keep_line_ends && request_.target_file.empty())
        request_.result_text = lf_to_crlf(request_.result_text);
    event->accept();
    done(request_.succeeded ? Accepted : Rejected);
}

// Escape does not end a transfer; Cancel does.
void Tdownload::reject() {}

namespace {

// The request record of one download, shown in the window until it closes.
DOWNLOAD_REQUEST run_download(ProgramContext& c, Dialogs& dialogs, const std::string& url, const std::string& target,
                              const std::string& label, bool keep_line_ends, QWidget* caller) {
    DOWNLOAD_REQUEST request;
    request.url = url;
    request.target_file = target;
    request.label = label;
    request.keep_line_ends = keep_line_ends;
    request.centre = caller ? centre_of(caller->window()->frameGeometry()) : screen_centre();
    Tdownload(c, dialogs, request, caller).exec();
    return request;
}

} // namespace

bool download_string(ProgramContext& c, Dialogs& dialogs, const std::string& url, const std::string& label,
                     QWidget* caller, std::string& result) {
    result.clear();
    if (url.empty()) return false;
    const DOWNLOAD_REQUEST request = run_download(c, dialogs, url, "", label, false, caller);
    const std::optional<std::string> body =
        request.succeeded ? text_resource_body(request.result_text) : std::nullopt;
    if (body) result = *body;
    return body.has_value();
}

bool download_string2(ProgramContext& c, Dialogs& dialogs, const std::string& url, const std::string& label,
                      const std::string& expected_name, QWidget* caller, std::string& result) {
    result.clear();
    if (url.empty()) return false;
    const DOWNLOAD_REQUEST request = run_download(c, dialogs, url, "", label, true, caller);
    const std::optional<std::string> body =
        request.succeeded ? named_resource_body(request.result_text, expected_name) : std::nullopt;
    if (body) result = *body;
    return body.has_value();
}

bool download_file(ProgramContext& c, Dialogs& dialogs, const std::string& url, const std::string& target_file,
                   QWidget* caller, const std::string& label) {
    if (url.empty() || target_file.empty()) return false;
    return run_download(c, dialogs, url, target_file, label, false, caller).succeeded;
}

} // namespace tkv
