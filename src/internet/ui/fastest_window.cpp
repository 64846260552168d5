#include "internet/ui/fastest_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "platform/icmp_echo.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tkv {

namespace {

// The round-trip time to a server's host, -1 when it is unknown or does not answer. The echo
// goes to the name alone: a port belongs to HTTP, not to the machine.
int pinging(const std::string& host, std::stop_token stop) {
    return icmp_echo(host_without_port(host), stop).round_trip_ms;
}

QPushButton* button(QWidget* parent, const char* name, QRect r, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(r);
    return b;
}

} // namespace

Tservers_fastest::Tservers_fastest(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName("Tservers_fastest");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto button_text = [&](int slot) {
        return caption_text(context, slot);
    };

    lb_recalculate_ = skinned_label(client, "lb_recalculate", at(8, 8, 249, 32));
    btc_abort_ =
        button(client, "btc_abort", at(92, 48, 81, 25), button_text(caption_slot::fastest_abort_button));
    lb_servers_ = skinned_label(client, "lb_servers", at(8, 8, 249, 14));
    lb_servers_->setText(caption(caption_slot::fastest_servers_label, {}));
    ls_servers_ = new TTKV_ListBox(client);
    ls_servers_->setObjectName("ls_servers");
    ls_servers_->setGeometry(at(8, 24, 249, 121));
    tkvf_ls_servers_ = new TTKV_Frame(client);
    tkvf_ls_servers_->setObjectName("tkvf_ls_servers");
    tkvf_ls_servers_->setControl(ls_servers_);
    btc_select_ =
        button(client, "btc_select", at(44, 153, 81, 25), button_text(caption_slot::fastest_select_button));
    btc_select_->setDefault(true);
    btc_cancel_ =
        button(client, "btc_cancel", at(140, 153, 81, 25), button_text(caption_slot::fastest_cancel_button));
    for (QWidget* w : choosing_controls())
        w->hide();

    setWindowTitle(caption(caption_slot::fastest_checking_title, {product_name}));
    help_on_f1(this, help::fastest_server, context.language.help_path);
    show_progress(1);
    skin_->set_client_size(QSize(265, 81), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);

    connect(btc_abort_, &QPushButton::clicked, this, [this] { btc_abortClick(); });
    connect(btc_select_, &QPushButton::clicked, this, [this] { btc_selectClick(); });
    connect(ls_servers_, &QListView::doubleClicked, this, [this] { btc_selectClick(); });
    connect(btc_cancel_, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    // Measuring starts once the window is up.
    tm_recalculate_ = new QTimer(this);
    tm_recalculate_->setObjectName("tm_recalculate");
    tm_recalculate_->setSingleShot(true);
    connect(tm_recalculate_, &QTimer::timeout, this, [this] { tm_recalculateTimer(); });
    tm_recalculate_->start(50);
}

Tservers_fastest::~Tservers_fastest() = default;

std::array<QWidget*, 4> Tservers_fastest::choosing_controls() const {
    return {lb_servers_, ls_servers_, btc_select_, btc_cancel_};
}

QString Tservers_fastest::caption(int slot, std::initializer_list<std::string_view> values) const {
    const CodePage cp = context_.language.code_page;
    return qt_utf8(caption_format(to_utf8(context_.CAPTIONS[slot], cp), values)).replace("\r\n", "\n");
}

void Tservers_fastest::show_progress(int measuring) {
    lb_recalculate_->setText(
        caption(caption_slot::fastest_pinging,
                {std::to_string(context_.server_list.size()), std::to_string(measuring)}));
}

// The echoes run on a thread of their own so that the window keeps drawing and Abort is heard.
void Tservers_fastest::tm_recalculateTimer() {
    std::vector<std::string> hosts;
    for (const std::string& address : context_.server_list)
        hosts.push_back(server_host(address));
    measuring_ = std::jthread([this, hosts](std::stop_token stop) {
        std::vector<SERVERS_CHECKED_TYPE> measured;
        for (std::size_t i = 0; i < hosts.size(); ++i) {
            if (stop.stop_requested()) return;
            QMetaObject::invokeMethod(
                this, [this, i] { show_progress(static_cast<int>(i) + 1); }, Qt::QueuedConnection);
            measured.push_back({hosts[i], pinging(hosts[i], stop), static_cast<std::int32_t>(i)});
        }
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(
            this, [this, measured] { show_results(measured); }, Qt::QueuedConnection);
    });
}

void Tservers_fastest::show_results(std::vector<SERVERS_CHECKED_TYPE> measured) {
    if (measuring_.get_stop_token().stop_requested()) return; // aborted as the last echo came back
    const double s = context_.screen_scale;
    setWindowTitle(caption(caption_slot::fastest_select_title, {product_name}));
    lb_recalculate_->hide();
    btc_abort_->hide();
    for (QWidget* w : choosing_controls())
        w->show();
    tkvf_ls_servers_->refresh();
    move(x(), y() - scaled(52, s));
    skin_->set_client_size(QSize(265, 185), s);
    ls_servers_->setFocus();

    servers_checked_sort(measured, 0, static_cast<int>(measured.size()) - 1);
    servers_unavailable_last(measured);
    QStringList rows;
    for (const SERVERS_CHECKED_TYPE& server : measured)
        rows << (server.response_ms == -1 ? caption(caption_slot::fastest_server_unavailable, {server.host})
                                          : caption(caption_slot::fastest_server_response,
                                                    {server.host, std::to_string(server.response_ms)}));
    servers_checked_ = std::move(measured);
    ls_servers_->setRows(rows);
    if (!rows.isEmpty()) ls_servers_->setCurrentIndex(ls_servers_->model()->index(0, 0));
}

void Tservers_fastest::btc_selectClick() {
    const int row = ls_servers_->currentIndex().row();
    if (row >= 0 && row < static_cast<int>(servers_checked_.size()))
        chosen_ = servers_checked_[static_cast<std::size_t>(row)].server_index;
    accept();
}

// The servers not measured yet are skipped; a running lookup or echo ends at once.
void Tservers_fastest::btc_abortClick() {
    tm_recalculate_->stop();
    measuring_.request_stop();
    QDialog::reject();
}

// Escape and the title bar's close button: Abort while measuring, Cancel afterwards.
void Tservers_fastest::reject() {
    if (!btc_abort_->isHidden())
        btc_abortClick();
    else
        QDialog::reject();
}

} // namespace tkv
