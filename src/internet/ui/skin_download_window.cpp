#include "internet/ui/skin_download_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/skin_install.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/download_rules.h"
#include "platform/http_client.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/http_worker.h"
#include "platform/qt/qt_text.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/numbers.h"
#include "shell/product.h"
#include "shell/zip_extract.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tkv {

namespace {

// A size the catalogue gives that is not a whole number (or is below zero) counts as nothing.
std::int64_t kilobytes_of(const DOWNSKINS_TYPE& skin) {
    return std::max<std::int32_t>(0, parse_int(skin.size_kb, 0));
}

} // namespace

Tskindownload::Tskindownload(ProgramContext& context, Dialogs& dialogs,
                             const std::vector<DOWNSKINS_TYPE>& catalogue, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), catalogue_(catalogue) {
    setObjectName("Tskindownload");
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
        b->setGeometry(at(140, 256, 81, 24));
        b->setText(qt_utf8(m.text(slot)));
        return b;
    };

    lb_files_ = skinned_label(client, "lb_files", at(8, 8, 345, 14));
    lb_files_->setText(
        qt_utf8(m.text(caption_slot::skin_download_count, {std::to_string(catalogue_.size())})));
    ls_files_ = new TTKV_ListBox(client);
    ls_files_->setObjectName("ls_files");
    ls_files_->setGeometry(at(8, 24, 345, 136));
    ls_files_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* frame = new TTKV_Frame(client);
    frame->setObjectName("tkvf_ls_files");
    frame->setControl(ls_files_);
    lb_files_->setBuddy(ls_files_);

    lb_progress_overall_ = skinned_label(client, "lb_progress_overall", at(8, 168, 345, 16));
    lb_progress_overall_->setText(qt_utf8(m.text(caption_slot::skin_download_overall)));
    alp_progress_overall_ = bar("alp_progress_overall", at(8, 186, 345, 16));
    lb_progress_process_ = skinned_label(client, "lb_progress_process", at(8, 208, 345, 16));
    alp_progress_process_ = bar("alp_progress_process", at(8, 226, 345, 16));
    btc_abort_ = button("btc_abort", caption_slot::skin_download_abort_button);
    btc_abort_->hide();
    btc_abort_->setEnabled(false);
    connect(btc_abort_, &QPushButton::clicked, this, [this] { btc_abortClick(); });
    btc_start_ = button("btc_start", caption_slot::skin_download_start_button);
    btc_start_->setDefault(true);
    connect(btc_start_, &QPushButton::clicked, this, [this] { btc_startClick(); });

    const CodePage cp = context.language.code_page;
    QStringList rows;
    for (const DOWNSKINS_TYPE& skin : catalogue_) {
        rows << qt_text(caption_format(context.CAPTIONS[caption_slot::skin_download_row_waiting],
                                       {skin.display_name, skin.size_kb}),
                        cp);
        total_kb_ += kilobytes_of(skin);
    }
    ls_files_->setRows(rows);

    setWindowTitle(qt_utf8(m.text(caption_slot::skin_download_title, {product_name})));
    help_on_f1(this, help::skin_download, context.language.help_path);
    skin_->set_client_size(QSize(361, 289), s);
    centre_over(this, parent);
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 tkv::skins_folder(context.variables), s);
}

Tskindownload::~Tskindownload() = default;

std::string Tskindownload::skins_folder() const {
    return tkv::skins_folder(context_.variables);
}

std::string Tskindownload::address_of(std::size_t index) const {
    return context_.options.server + "skins/" + catalogue_[index].key + ".tkvs";
}

std::string Tskindownload::archive_of(std::size_t index) const {
    return skins_folder() + catalogue_[index].key + ".tkvs";
}

void Tskindownload::set_row(std::size_t index, int slot) {
    const DOWNSKINS_TYPE& skin = catalogue_[index];
    const QModelIndex row = ls_files_->model()->index(static_cast<int>(index), 0);
    ls_files_->model()->setData(
        row, qt_text(caption_format(context_.CAPTIONS[static_cast<std::size_t>(slot)], {skin.display_name, skin.size_kb}),
                     context_.language.code_page));
}

void Tskindownload::btc_startClick() {
    if (started_) return;
    started_ = true;
    running_ = true;
    can_close_ = false;
    btc_start_->setDefault(false);
    btc_start_->hide();
    btc_abort_->show();
    btc_abort_->setDefault(true);

    const Messages m = messages_of(context_, dialogs_);
    bool every_skin = true;
    bool every_unpacked = true;
    for (std::size_t i = 0; i < catalogue_.size();) {
        const QModelIndex row = ls_files_->model()->index(static_cast<int>(i), 0);
        ls_files_->setCurrentIndex(row);
        ls_files_->scrollTo(row);
        if (ud_download_file(i)) {
            if (!ud_unpack_file(i)) every_unpacked = false;
            file_delete(archive_of(i));
            ++i;
            continue;
        }
        if (m.ask(m.text(caption_slot::skin_download_failed_question, {address_of(i)}),
                  caption_slot::error_title, MessageIcon::error,
                  MessageButtons::yes_no) != MessageAnswer::yes) {
            every_skin = false;
            break;
        }
    }
    running_ = false;
    // A downloaded archive that held no skin is not reported as a success.
    if (every_skin)
        every_unpacked ? m.information(m.text(caption_slot::skin_download_done))
                       : m.error(m.text(caption_slot::skin_unpack_failed));
    can_close_ = true;
    close();
}

bool Tskindownload::ud_download_file(std::size_t index) {
    const DOWNSKINS_TYPE& skin = catalogue_[index];
    btc_abort_->setEnabled(true);
    set_row(index, caption_slot::skin_download_row_downloading);
    const Messages m = messages_of(context_, dialogs_);
    lb_progress_process_->setText(qt_utf8(m.text(caption_slot::skin_download_downloading)));
    alp_progress_process_->setValue(0);
    current_kb_ = kilobytes_of(skin);

    const std::string target = archive_of(index);
    folder_create(skins_folder());
    // A leftover archive (or a link in its place) is replaced, never written through.
    file_delete(target);
    bool ok = false;
    if (std::FILE* file = std::fopen(target.c_str(), "wbx")) {
        transfer_ = std::make_unique<HttpClient>();
        const HttpResult result = get_keeping_ui(
            *transfer_, address_of(index), proxy_of(context_.options),
            [file](std::string_view piece) { return std::fwrite(piece.data(), 1, piece.size(), file) == piece.size(); },
            this, [this](std::int64_t received, std::int64_t total) { httpDocData(received, total); });
        transfer_.reset();
        const bool closed = std::fclose(file) == 0;
        ok = closed && !result.aborted && !result.transport_error && result.status == 200;
    }
    if (!ok) file_delete(target);
    btc_abort_->setEnabled(false);
    if (ok) done_kb_ += current_kb_;
    return ok;
}

void Tskindownload::httpDocData(std::int64_t received, std::int64_t total) {
    if (received <= 0 || total <= 0 || total_kb_ <= 0) return;
    const double bytes = static_cast<double>(received) * (static_cast<double>(current_kb_) * 1024.0 /
                                                          static_cast<double>(total)) +
                         static_cast<double>(done_kb_) * 1024.0;
    alp_progress_overall_->setValue(
        static_cast<int>(std::lround(bytes * 100.0 / (static_cast<double>(total_kb_) * 1024.0))));
    alp_progress_process_->setValue(static_cast<int>(received * 100 / total));
}

bool Tskindownload::ud_unpack_file(std::size_t index) {
    const DOWNSKINS_TYPE& skin = catalogue_[index];
    set_row(index, caption_slot::skin_download_row_unpacking);
    const Messages m = messages_of(context_, dialogs_);
    lb_progress_process_->setText(qt_utf8(m.text(caption_slot::skin_download_unpacking)));
    alp_progress_process_->setValue(0);

    // Unpacked beside the skins first: only complete skin folders ever reach the skins folder.
    const std::string skins = skins_folder();
    const std::string staging = skin_staging_folder(skins, skin.key);
    folder_delete_tree(staging); // left by a run that was cut short
    std::size_t installed = 0;
    if (zip_extract(archive_of(index), staging, "*.*", {}).ok) {
        installed = install_unpacked_skins(staging, skins).size();
    } else {
        folder_delete_tree(staging);
    }
    downloaded_ += installed;
    set_row(index, caption_slot::skin_download_row_ready);
    return installed > 0;
}

// The window closes only when the run ends: the question that follows the interrupted skin may
// still try it again.
void Tskindownload::btc_abortClick() {
    if (!transfer_) return;
    transfer_->abort();
    btc_abort_->setEnabled(false);
}

void Tskindownload::closeEvent(QCloseEvent* event) {
    if (!can_close_) return event->ignore();
    event->accept();
    done(started_ ? Accepted : Rejected);
}

// Escape is the abort button while the run is in progress.
void Tskindownload::reject() {
    if (running_) return btc_abortClick();
    if (can_close_) QDialog::reject();
}

} // namespace tkv
