#include "internet/ui/version_windows.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/download_rules.h"
#include "internet/version_check.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/http_worker.h"
#include "platform/qt/qt_text.h"
#include "shell/datetime.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"
#include "widgets/ttkv_frame.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>


namespace tkv {

namespace {

// A version file is a few lines; a server sending more is not answering the question.
constexpr std::size_t version_file_limit = 64 * 1024;

CaptionText caption_text(const ProgramContext& c) {
    return [&c](int slot, std::initializer_list<std::string_view> values) {
        return caption_format(to_utf8(c.CAPTIONS[slot], c.language.code_page), values);
    };
}

QPlainTextEdit* create_memo(QWidget* client, const char* name, QRect geometry) {
    auto* memo = new QPlainTextEdit(client);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the lines wrap
    memo->setGeometry(geometry);
    return memo;
}

QPushButton* create_button(QWidget* client, const char* name, QRect geometry) {
    auto* button = new QPushButton(client);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

// Captions keep CR LF; the memo shows plain line breaks.
QString memo_text(const std::string& utf8) {
    return qt_utf8(utf8).replace("\r\n", "\n");
}

} // namespace

// Tupgrade ------------------------------------------------------------------------------------

Tupgrade::Tupgrade(ProgramContext& context, const std::string& upgrade_text, QWidget* parent) : QDialog(parent) {
    setObjectName("Tupgrade");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto caption = caption_text(context);

    me_upgrade_ = create_memo(client, "me_upgrade", scaled_rect(8, 8, 441, 297, s));
    frame_control(me_upgrade_);
    me_upgrade_->setPlainText(memo_text(upgrade_text));
    btc_ok_ = create_button(client, "btc_ok", scaled_rect(188, 313, 81, 25, s));
    btc_ok_->setText(qt_utf8(caption(caption_slot::version_ok_button, {})));
    btc_ok_->setDefault(true);
    connect(btc_ok_, &QPushButton::clicked, this, &QDialog::accept);

    setWindowTitle(qt_utf8(
        caption(context.first_run ? caption_slot::first_launch_title : caption_slot::new_version_title,
                {product_name})));
    help_on_f1(this, help::version_windows, context.language.help_path);
    skin_->set_client_size(QSize(457, 345), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    btc_ok_->setFocus();
}

Tupgrade::~Tupgrade() = default;

void run_first(ProgramContext& context, QWidget* parent) {
    Tupgrade(context, run_first_text(caption_text(context)), parent).exec();
}

void run_newer(ProgramContext& context, QWidget* parent) {
    if (!upgrade_notes_due(context.stored_version, product_version)) return;
    const std::string recorded = to_utf8(context.stored_version, context.language.code_page);
    Tupgrade(context, run_newer_text(recorded, caption_text(context)), parent).exec();
}

// Tchecknew -----------------------------------------------------------------------------------

Tchecknew::Tchecknew(ProgramContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("Tchecknew");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto caption = caption_text(context);

    lb_information_ = skinned_label(client, "lb_information", scaled_rect(8, 10, 297, 16, s));
    lb_information_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lb_information_->setText(qt_utf8(caption(caption_slot::version_check_checking, {})));
    me_information_ = create_memo(client, "me_information", scaled_rect(8, 8, 297, 88, s));
    tkvf_me_information_ = frame_control(me_information_);
    me_information_->hide();
    btc_abort_ = create_button(client, "btc_abort", scaled_rect(96, 32, 121, 25, s));
    btc_abort_->setText(qt_utf8(caption(caption_slot::version_check_cancel_button, {})));
    connect(btc_abort_, &QPushButton::clicked, this, &Tchecknew::reject);
    // Below the first client area: it comes into view with a newer version.
    btc_homepage_ = create_button(client, "btc_homepage", scaled_rect(32, 104, 121, 25, s));
    btc_homepage_->setText(qt_utf8(caption(caption_slot::version_check_home_page_button, {})));
    connect(btc_homepage_, &QPushButton::clicked, this, [this] { btc_homepageClick(); });

    setWindowTitle(qt_utf8(caption(caption_slot::version_check_title, {product_name})));
    help_on_f1(this, help::version_windows, context.language.help_path);
    skin_->set_client_size(QSize(313, 65), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    QTimer::singleShot(10, this, [this] { tm_closerTimer(); });
}

Tchecknew::~Tchecknew() = default;

void Tchecknew::tm_closerTimer() {
    const std::optional<std::string> body = fetch(context_.options.server + std::string(version_file_resource));
    btc_abort_->setEnabled(true);
    const std::string version = body ? latest_version_of(*body) : std::string();
    if (version.empty()) return done(Rejected);
    context_.options.version_check_time = current_datetime();
    if (version == product_version) return done(Accepted);
    show_newer(version);
}

std::optional<std::string> Tchecknew::fetch(const std::string& address) {
    if (!ascii_lower_text(address).starts_with("http://")) return std::nullopt;
    std::string body;
    fetching_ = true;
    const HttpResult result = get_keeping_ui(client_, address, proxy_of(context_.options),
                                             [&body](std::string_view piece) {
                                                 if (body.size() + piece.size() > version_file_limit) return false;
                                                 body += piece;
                                                 return true;
                                             },
                                             this);
    fetching_ = false;
    if (result.aborted || result.transport_error || result.status != 200) return std::nullopt;
    return body;
}

void Tchecknew::show_newer(const std::string& version) {
    const double s = context_.screen_scale;
    const auto caption = caption_text(context_);
    skin_->set_client_size(QSize(313, 137), s);
    btc_homepage_->move(scaled(32, s), btc_homepage_->y());
    btc_abort_->setText(qt_utf8(caption(caption_slot::version_check_ok_button, {})));
    btc_abort_->move(scaled(160, s), scaled(104, s));
    btc_abort_->setDefault(true);
    lb_information_->hide();
    me_information_->setPlainText(memo_text(caption(caption_slot::version_check_newest_version,
                                                    {to_utf8(version, context_.language.code_page)})));
    me_information_->show();
    tkvf_me_information_->refresh();
    centre_window(this, screen_centre());
}

void Tchecknew::reject() {
    if (fetching_) {
        // tm_closerTimer closes the window once the worker has returned.
        btc_abort_->setEnabled(false);
        client_.abort();
        return;
    }
    QDialog::reject();
}

void Tchecknew::btc_homepageClick() {
    open_address(std::string(whats_new_page_address));
}

void check_new_version(ProgramContext& context, QWidget* parent) {
    Tchecknew(context, parent).exec();
}

} // namespace tkv
