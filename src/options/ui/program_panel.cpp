#include "options/ui/program_panel.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/ui/download_window.h"
#include "internet/version_check.h"
#include "platform/qt/qt_text.h"
#include "shell/datetime.h"
#include "shell/files.h"
#include "shell/product.h"
#include "widgets/ttkv_frame.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace tkv {

ProgramPanel::ProgramPanel(ProgramContext& context, Dialogs& dialogs, OpenWeb open_web, QWidget* parent)
    : OptionPanel(context, "pa_upgrade_program", parent), context_(context), dialogs_(dialogs),
      open_web_(std::move(open_web)) {
    const CodePage cp = context.language.code_page;
    const Captions& captions = context.CAPTIONS;

    lb_fr_pr_whatsnew_ = skinned_label(this, "lb_fr_pr_whatsnew", at(8, 12, 280, 16), "F");
    lb_fr_pr_whatsnew_->setText(qt_text(captions[caption_slot::program_whats_new_label], cp));
    btc_fr_pr_load_ = icon_button("btc_fr_pr_load", QStyle::SP_DialogOpenButton, caption_slot::options_open_kept_copy,
                                  at(305, 6, 24, 24));
    btc_fr_pr_load_->hide();
    connect(btc_fr_pr_load_, &QPushButton::clicked, this, [this] { btc_fr_pr_loadClick(); });
    btc_fr_pr_refresh_ = icon_button("btc_fr_pr_refresh", QStyle::SP_BrowserReload, caption_slot::options_download_again,
                                     at(333, 6, 24, 24));
    connect(btc_fr_pr_refresh_, &QPushButton::clicked, this, [this] { btc_fr_pr_refreshClick(); });

    me_fr_pr_whatsnew_ = new QPlainTextEdit(this);
    me_fr_pr_whatsnew_->setObjectName("me_fr_pr_whatsnew");
    me_fr_pr_whatsnew_->setReadOnly(true);
    me_fr_pr_whatsnew_->setFrameShape(QFrame::NoFrame);
    me_fr_pr_whatsnew_->setGeometry(at(8, 34, 349, 186));
    me_fr_pr_whatsnew_->setPlainText(qt_text(captions[caption_slot::program_whats_new_hint], cp));
    frame_control(me_fr_pr_whatsnew_);

    lb_fr_pr_web_ = skinned_label(this, "lb_fr_pr_web", at(8, 232, 349, 16), "F");
    lb_fr_pr_web_->setText(qt_text(captions[caption_slot::program_home_page_label], cp));
    ulb_fr_pr_webaddress_ = skinned_label(this, "ulb_fr_pr_webaddress", at(8, 252, 349, 16), "F");
    ulb_fr_pr_webaddress_->setText(qt_utf8(download_page_address));
    set_link_label(ulb_fr_pr_webaddress_);
    ulb_fr_pr_webaddress_->installEventFilter(this);
}

std::string ProgramPanel::stored_notes_path() const {
    return context_.variables.program_folder + "information/versions.txt";
}

void ProgramPanel::show_load_button() {
    btc_fr_pr_load_->setVisible(file_size(stored_notes_path()) > 0);
}

void ProgramPanel::panel_shown(bool connected) {
    show_load_button();
    const OPTIONS_TYPE& o = context_.options;
    if (o.auto_download_upgrade_info && (connected || !o.auto_download_only_connected) && !refreshed_)
        btc_fr_pr_refreshClick();
}

void ProgramPanel::btc_fr_pr_refreshClick() {
    refreshed_ = true;
    const Messages m = messages_of(context_, dialogs_);
    const std::string address = context_.options.server + version_notes_resource(context_.language.info_file);
    std::string text;
    if (!download_string(context_, dialogs_, address, m.text(caption_slot::program_downloading_notes), this,
                         text))
        return m.error(m.text(caption_slot::program_notes_unavailable));
    if (context_.options.store_upgrade_info && folder_create(information_folder(context_.variables)))
        write_file_atomic(stored_notes_path(), text, false);
    show_load_button();
    fr_pr_check(text, true);
}

void ProgramPanel::btc_fr_pr_loadClick() {
    const std::string text = read_text_file(stored_notes_path());
    if (!text.empty()) return fr_pr_check(text, false);
    btc_fr_pr_load_->hide();
    const Messages m = messages_of(context_, dialogs_);
    m.error(m.text(caption_slot::program_notes_missing));
}

void ProgramPanel::fr_pr_check(const std::string& text, bool after_download) {
    const CodePage cp = context_.language.code_page;
    const NewerNotes newer = newer_version_notes(text, product_version);
    if (newer.notes.empty())
        return me_fr_pr_whatsnew_->setPlainText(
            caption_text(context_, caption_slot::program_no_newer_version));
    const std::string shown =
        caption_format(context_.CAPTIONS[caption_slot::program_newest_version], {newer.latest}) + "\r\n" +
        newer.notes;
    me_fr_pr_whatsnew_->setPlainText(qt_text(shown, cp).replace("\r\n", "\n"));
    if (after_download) context_.options.version_check_time = current_datetime();
}

bool ProgramPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ulb_fr_pr_webaddress_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        open_web_(std::string(download_page_address));
    return QWidget::eventFilter(watched, event);
}

} // namespace tkv
