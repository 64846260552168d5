#include "windows/ui/about_window.h"

#include "appearance/caption_slots.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "internet/ui/addresses.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "widgets/ttkv_frame.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace tkv {

namespace {

constexpr help::Topic about_help_topic = help::about_window;

bool is_enter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Caption texts keep CR LF; the memo shows plain line breaks.
QString memo_text(const std::string& bytes, CodePage cp) {
    return qt_text(bytes, cp).replace("\r\n", "\n");
}

QPlainTextEdit* create_memo(QWidget* client, QRect geometry) {
    auto* memo = new QPlainTextEdit(client);
    memo->setObjectName("me_info");
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the lines wrap
    memo->setGeometry(geometry);
    auto* frame = new TTKV_Frame(client);
    frame->setObjectName("tkvf_me_info");
    frame->setControl(memo);
    return memo;
}

} // namespace

// About --------------------------------------------------------------------------------------

Tabout::Tabout(ProgramContext& context, Dialogs& dialogs, QWidget* parent, MailWindows mail)
    : QDialog(parent), context_(context), dialogs_(dialogs), mail_(std::move(mail)) {
    setObjectName("Tabout");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };
    const auto label = [&](const char* name, QRect geometry) {
        auto* l = new QLabel(client);
        l->setObjectName(name);
        l->setGeometry(geometry);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        set_skin_class(l, "N");
        return l;
    };

    lb_programname_ = label("lb_programname", at(10, 8, 389, 38));
    lb_programver_ = label("lb_programver", at(10, 50, 389, 16));
    lb_programmaker_ = label("lb_programmaker", at(10, 66, 389, 16));
    ulb_webadd_ = label("ulb_webadd", at(10, 86, 389, 16));
    ulb_emailadd_ = label("ulb_emailadd", at(10, 102, 389, 16));
    for (QLabel* link : {ulb_webadd_, ulb_emailadd_}) {
        set_link_label(link);
        link->installEventFilter(this);
    }
    me_info_ = create_memo(client, at(12, 126, 385, 112));
    me_info_->installEventFilter(this);
    btc_ok_ = new QPushButton(client);
    btc_ok_->setObjectName("btc_ok");
    btc_ok_->setGeometry(at(162, 248, 85, 24));
    btc_ok_->setDefault(true);
    btc_ok_->installEventFilter(this);
    connect(btc_ok_, &QPushButton::clicked, this, &QDialog::accept);

    captions_about();
    skin_->set_client_size(QSize(409, 281), s);
    centre_over(this, parent);
    skin_about();
    btc_ok_->setFocus();
}

Tabout::~Tabout() = default;

void Tabout::captions_about() {
    const CodePage cp = context_.language.code_page;
    setWindowTitle(caption_text(context_, caption_slot::about_title, {product_name}));
    lb_programname_->setText(caption_text(context_, caption_slot::about_program_name, {product_name}));
    lb_programver_->setText(caption_text(context_, caption_slot::about_program_version, {product_version}));
    lb_programmaker_->setText(caption_text(context_, caption_slot::about_program_maker, {author_name}));
    ulb_webadd_->setText(caption_text(context_, caption_slot::about_web_address, {home_page_address}));
    ulb_emailadd_->setText(
        caption_text(context_, caption_slot::about_email_address, {publisher_info_address}));
    btc_ok_->setText(caption_text(context_, caption_slot::about_ok_button));
    std::string info;
    for (int slot = caption_slot::about_memo_first; slot <= caption_slot::about_memo_last; ++slot)
        info += context_.CAPTIONS[slot];
    me_info_->setPlainText(memo_text(info, cp));
}

void Tabout::skin_about() {
    const SKINS_WINDOWS_TYPE& record = context_.skin_current.window_about;
    skin_->apply(context_.skin_current, record, skins_folder(context_.variables),
                 context_.screen_scale, PictureNames{"about.jpg", "about.bmp"});
    QFont big = lb_programname_->font();
    big.setPointSize(record.labels_normal.font_size + 12);
    lb_programname_->setFont(big);
    // A link reacts only over its text, so it is cut to the text around the same centre.
    for (QLabel* link : {ulb_webadd_, ulb_emailadd_}) {
        const QPoint centre = link->geometry().center();
        link->adjustSize();
        link->move(centre.x() - link->width() / 2, centre.y() - link->height() / 2);
    }
}

void Tabout::ulb_webaddClick() {
    open_web_address(context_, std::string(home_page_address));
}

void Tabout::ulb_emailaddClick() {
    context_.current_mail_subject =
        caption_format(context_.CAPTIONS[caption_slot::main_mail_subject], {product_name});
    open_mail_address(context_, dialogs_, std::string(publisher_info_address), std::string(author_name),
                      centre_of(frameGeometry()), mail_);
}

bool Tabout::form_key_down(QKeyEvent* e) {
    checkhelp(e->key(), about_help_topic, context_.language.help_path, this);
    if (is_enter(e->key()) || e->key() == Qt::Key_Escape) {
        accept();
        return true;
    }
    return false;
}

bool Tabout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && form_key_down(static_cast<QKeyEvent*>(event))) return true;
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ulb_webadd_) ulb_webaddClick();
        if (watched == ulb_emailadd_) ulb_emailaddClick();
    }
    return QDialog::eventFilter(watched, event);
}

void Tabout::keyPressEvent(QKeyEvent* event) {
    if (!form_key_down(event)) QDialog::keyPressEvent(event);
}

// Donation -----------------------------------------------------------------------------------

std::string donate_message(const Captions& captions, int times_left) {
    const std::string remaining = caption_format(
        captions[times_left < 2 ? caption_slot::donate_last_time : caption_slot::donate_times_left],
        {std::to_string(times_left - 1)});
    return caption_format(captions[caption_slot::donate_letter], {remaining});
}

Tdonate::Tdonate(ProgramContext& context, Dialogs&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tdonate");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const CodePage cp = context.language.code_page;

    me_info_ = create_memo(client, scaled_rect(12, 12, 481, 261, s));
    me_info_->setPlainText(memo_text(donate_message(context.CAPTIONS, context.options.donate_count), cp));
    me_info_->installEventFilter(this);

    auto* btc_donate = new QPushButton(caption_text(context, caption_slot::donate_button), client);
    btc_donate->setObjectName("btc_donate");
    btc_donate->setGeometry(scaled_rect(313, 287, 85, 24, s));
    btc_donate->setDefault(true);
    auto* btc_cancel = new QPushButton(caption_text(context, caption_slot::donate_cancel_button), client);
    btc_cancel->setObjectName("btc_cancel");
    btc_cancel->setGeometry(scaled_rect(408, 287, 85, 24, s));
    connect(btc_donate, &QPushButton::clicked, this, [this] { btc_donateClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, [this] { btc_cancelClick(); });

    setWindowTitle(qt_text(caption_format(context.CAPTIONS[caption_slot::donate_title], {product_name}), cp));
    skin_->set_client_size(QSize(505, 321), s);
    centre_window(this, screen_centre());
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    me_info_->setFocus();
}

Tdonate::~Tdonate() = default;

void Tdonate::btc_donateClick() {
    open_address(std::string(home_page_address) + "index.php?goto=donate");
    accept();
}

void Tdonate::btc_cancelClick() {
    reject();
}

bool Tdonate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == me_info_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (is_enter(key)) {
            btc_donateClick();
            return true;
        }
        if (key == Qt::Key_Escape) {
            btc_cancelClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tkv
