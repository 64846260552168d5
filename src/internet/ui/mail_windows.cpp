#include "internet/ui/mail_windows.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/text_export.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/smtp_client.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "shell/text_lines.h"
#include "tasks/ui/progress_window.h"
#include "widgets/ttkv_frame.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>

#include <algorithm>
#include <ctime>

namespace tkv {

namespace {

// The dialogue's steps in order; each sender has a status and a failure caption per step.
enum MailStep : int { step_connect, step_helo, step_mail_from, step_recipient, step_data };

struct MailJob {
    std::string recipient; // the envelope's
    std::string to;
    std::string subject;
    std::vector<std::string> lines;
    std::vector<std::string> attachments; // file paths
};

std::string sender_value(const OPTIONS_TYPE& o) {
    return o.user_name + " <" + o.user_email + ">";
}

// Widgets show plain line breaks; the program's texts keep CR LF.
QString shown(std::string_view crlf_text) {
    return qt_utf8(replace_each(crlf_text, "\r\n", "\n"));
}
std::string crlf_text(const QString& s) {
    return lf_to_crlf(utf8_of(s));
}

std::string now_mail_date() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return mail_date(local, local.tm_gmtoff);
}

std::string new_boundary() {
    return "=_" + std::string(product_name) + "_" +
           QString::number(QRandomGenerator::global()->generate64(), 16).toStdString();
}

QPushButton* push_button(QWidget* client, const char* name, const QString& text, QRect r) {
    auto* b = new QPushButton(text, client);
    b->setObjectName(name);
    b->setGeometry(r);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* framed_edit(QWidget* client, const char* name, QRect r) {
    auto* e = new QLineEdit(client);
    e->setObjectName(name);
    e->setFrame(false);
    e->setGeometry(r);
    frame_control(e);
    return e;
}

QPlainTextEdit* framed_memo(QWidget* client, const char* name, QRect r) {
    auto* m = new QPlainTextEdit(client);
    m->setObjectName(name);
    m->setFrameShape(QFrame::NoFrame);
    m->setGeometry(r);
    frame_control(m);
    return m;
}

} // namespace

// The SMTP dialogue shared by the senders: each step issues its request and waits, keeping the
// windows alive, until the client reports it done; the reply code decides whether it succeeded.
class SmtpDialogue {
  public:
    explicit SmtpDialogue(const OPTIONS_TYPE& options) : options_(options) {
        client_.on_request_done = [this](SmtpClient::Request r) { smtpRequestDone(r); };
    }

    // Runs every step up to the message; show_step runs before each. Returns the failed step, or
    // nothing when the message was accepted.
    std::optional<MailStep> run(const MailJob& job, const std::function<void(MailStep)>& show_step) {
        using R = SmtpClient::Request;
        client_.host = options_.smtp_server;
        client_.port = options_.smtp_port;
        show_step(step_connect);
        if (!step(&SmtpClient::Connect, R::connect, "220")) return step_connect;
        client_.helo_name = product_name;
        show_step(step_helo);
        if (!step(&SmtpClient::Helo, R::helo, "250")) return step_helo;
        client_.mail_from = options_.user_email;
        show_step(step_mail_from);
        if (!step(&SmtpClient::MailFrom, R::mail_from, "250")) return step_mail_from;
        client_.recipients = {job.recipient};
        show_step(step_recipient);
        if (!step(&SmtpClient::Vrfy, R::rcpt_to, "250")) return step_recipient;
        client_.message = message_text(job);
        show_step(step_data);
        if (!step(&SmtpClient::Data, R::data, "250")) return step_data;
        return std::nullopt;
    }

    // The waiting step, if any, then fails.
    void abort() { client_.Abort(); }
    void abort_and_quit() {
        client_.Abort();
        client_.Quit();
    }

  private:
    bool step(void (SmtpClient::*request)(), SmtpClient::Request awaited, std::string_view code) {
        awaited_ = awaited;
        done_ = false;
        (client_.*request)();
        QEventLoop loop;
        loop_ = &loop;
        if (!done_) loop.exec();
        loop_ = nullptr;
        return client_.last_reply().starts_with(code);
    }

    // Whatever VRFY answers, the recipient is named at once; the step waits for that answer.
    void smtpRequestDone(SmtpClient::Request r) {
        if (r == SmtpClient::Request::vrfy && awaited_ == SmtpClient::Request::rcpt_to) return client_.RcptTo();
        if (r != awaited_) return;
        awaited_ = SmtpClient::Request::none;
        done_ = true;
        if (loop_) loop_->quit();
    }

    std::string message_text(const MailJob& job) {
        MailHeaders h;
        h.reply_to = h.from = h.sender = sender_value(options_);
        h.to = job.to;
        h.subject = job.subject;
        h.date = now_mail_date();
        const std::string boundary = new_boundary();
        std::vector<std::string> header = mail_header_lines(h, boundary);
        mailer_.start_message();
        for (std::string& line : header)
            mailer_.header_line(line);
        std::vector<MailAttachment> parts;
        for (const std::string& path : job.attachments)
            if (file_exists(path)) parts.push_back({file_name_of_path(path), file_read_all(path)});
        return mail_data(header, mail_body(job.lines, parts, boundary));
    }

    const OPTIONS_TYPE& options_;
    SmtpClient client_;
    MailerLines mailer_;
    SmtpClient::Request awaited_ = SmtpClient::Request::none;
    bool done_ = false;
    QEventLoop* loop_ = nullptr;
};

// --- Tsendcheat ---

void send_game_by_email(ProgramContext& c, Dialogs& dialogs, const GAMES2_TEMP_ARRAY_TYPE& game, QPoint centre,
                        const std::function<void()>& first_settings, QWidget* parent) {
    const auto complete = [&o = c.options] {
        return mail_settings_complete(o.smtp_server, o.smtp_port, o.user_name, o.user_email);
    };
    if (!complete()) {
        const Messages m = messages_of(c, dialogs);
        if (m.ask(m.text(caption_slot::send_info_no_smtp_server_warning), caption_slot::attention_title,
                  MessageIcon::warning, MessageButtons::ok_cancel) == MessageAnswer::ok &&
            first_settings) {
            c.variables.first_settings_mode = false;
            first_settings();
        }
    }
    if (complete()) Tsendcheat(c, dialogs, game, centre, parent).exec();
}

Tsendcheat::Tsendcheat(ProgramContext& context, Dialogs& dialogs, GAMES2_TEMP_ARRAY_TYPE game, QPoint centre,
                       QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), game_(std::move(game)),
      smtp_(std::make_unique<SmtpDialogue>(context.options)) {
    setObjectName("Tsendcheat");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls();
    const Messages m = messages_of(context, dialogs);
    setWindowTitle(qt_utf8(m.text(caption_slot::send_info_title, {product_name})));
    help_on_f1(this, help::mail_windows, context.language.help_path);
    const double s = context.screen_scale;
    skin_->set_client_size(QSize(538, 351), s);
    centre_window(this, centre);
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);

    // The largest font that shows 72 characters in the message box.
    QFont font(qt_utf8(context.options.info_font_name));
    const int room = me_message_->width() - 2 * static_cast<int>(me_message_->document()->documentMargin());
    const auto fits = [&](int size) {
        font.setPointSize(size);
        return QFontMetrics(font).horizontalAdvance(QString(72, 'm')) <= room;
    };
    int size = 20;
    while (size >= 7 && !fits(size))
        --size;
    font.setPointSize(std::max(size, 6));
    me_message_->setFont(font);

    const std::string info_file = context.variables.program_folder + "information/trickvault.txt";
    if (file_exists(info_file)) {
        attachments_.paths.push_back(info_file);
        attachments_.attached_bytes += file_size(info_file);
    }
    const PROFILES_TYPE* profile = current_profile(context);
    const CodePage pcp = profile_code_page(context);
    CheatMailValues values;
    values.profile_name = profile ? to_utf8(profile->name, pcp) : std::string();
    values.game_count = context.db.games.size();
    values.game_text = to_utf8(without_trailing_empty_lines(games_convert_data_to_text(game_, context.CAPTIONS)), pcp);
    values.user_name = context.options.user_name;
    values.user_email = context.options.user_email;
    values.home_page = home_page_address;
    const std::string message = cheat_mail_message(
        [&m](int slot, std::initializer_list<std::string_view> v) { return m.text(slot, v); }, values);
    me_message_->setPlainText(shown(message));
    if (profile) {
        const std::string files_folder =
            profiles_folder(context.variables) + profile->folder + "/files/";
        add_game_files(attachments_, game_.files, files_folder, static_cast<std::int64_t>(message.size()));
    }
    if (!attachments_.paths.empty())
        ed_attach_->setText(qt_utf8(m.text(caption_slot::send_info_attachment,
                                           {std::to_string(attachments_.paths.size()),
                                            std::to_string(attachments_.attached_bytes / 1024)})));
    read_emails();
    BoxTextChange();
}

Tsendcheat::~Tsendcheat() = default;

void Tsendcheat::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };

    skinned_label(client, "lb_recipient", at(8, 10, 80, 16))
        ->setText(caption_text(context_, caption_slot::send_info_recipient_label));
    cb_recipient_ = new QComboBox(client);
    cb_recipient_->setObjectName("cb_recipient");
    cb_recipient_->setEditable(true);
    cb_recipient_->setInsertPolicy(QComboBox::NoInsert);
    cb_recipient_->setGeometry(at(92, 8, 438, 21));
    skinned_label(client, "lb_subject", at(8, 37, 80, 16))
        ->setText(caption_text(context_, caption_slot::send_info_subject_label));
    ed_subject_ = framed_edit(client, "ed_subject", at(92, 35, 438, 19));
    ed_subject_->setText(qt_utf8(caption_format(
        to_utf8(context_.CAPTIONS[caption_slot::send_info_subject], context_.language.code_page),
        {to_utf8(game_.title, profile_code_page(context_))})));
    skinned_label(client, "lb_attach", at(8, 62, 80, 16))
        ->setText(caption_text(context_, caption_slot::send_info_attachment_label));
    ed_attach_ = framed_edit(client, "ed_attach", at(92, 60, 438, 19));
    ed_attach_->setReadOnly(true);
    ed_attach_->setText(caption_text(context_, caption_slot::send_info_no_attachment));
    me_message_ = framed_memo(client, "me_message", at(8, 86, 522, 226));
    lb_status_ = skinned_label(client, "lb_status", at(8, 322, 340, 16));
    btc_send_ = push_button(client, "btc_send", caption_text(context_, caption_slot::send_info_send_button),
                            at(354, 318, 84, 25));
    btc_cancel_ =
        push_button(client, "btc_cancel", caption_text(context_, caption_slot::send_info_cancel_button),
                    at(446, 318, 84, 25));

    connect(cb_recipient_, &QComboBox::editTextChanged, this, [this] { BoxTextChange(); });
    connect(ed_subject_, &QLineEdit::textChanged, this, [this] { BoxTextChange(); });
    connect(me_message_, &QPlainTextEdit::textChanged, this, [this] { BoxTextChange(); });
    connect(btc_send_, &QPushButton::clicked, this, [this] { btc_sendClick(); });
    connect(btc_cancel_, &QPushButton::clicked, this, [this] { btc_cancelClick(); });
}

void Tsendcheat::read_emails() {
    const RecipientHistory history =
        read_recipient_history(read_text_file(context_.variables.program_folder + "information/emails.txt"));
    recipient_history_ = history.text;
    cb_recipient_->clear();
    for (const std::string& address : history.addresses)
        cb_recipient_->addItem(qt_utf8(address));
    cb_recipient_->setEditText(QString());
}

void Tsendcheat::BoxTextChange() {
    const bool ready = cheat_mail_ready(utf8_of(cb_recipient_->currentText()), utf8_of(ed_subject_->text()),
                                        crlf_text(me_message_->toPlainText()));
    // While a mail is on its way a second one must not start.
    btc_send_->setEnabled(ready && !busy_);
    lb_status_->setText(
        caption_text(context_, ready ? caption_slot::send_info_ready : caption_slot::send_info_incomplete));
}

void Tsendcheat::btc_sendClick() {
    if (busy_ || !btc_send_->isEnabled()) return;
    const CodePage cp = context_.language.code_page;
    const std::string message = trim_blank_right(crlf_text(me_message_->toPlainText()));
    me_message_->setPlainText(shown(message));
    busy_ = true;
    btc_send_->setEnabled(false);
    btc_send_->setText(caption_text(context_, caption_slot::send_info_sending_button));
    btc_cancel_->setText(caption_text(context_, caption_slot::send_info_cancel_button));

    MailJob job;
    job.recipient = trim_controls(utf8_of(cb_recipient_->currentText()));
    job.to = job.recipient;
    job.subject = utf8_of(ed_subject_->text());
    job.lines = split_lines(message);
    job.attachments = attachments_.paths;
    const std::optional<MailStep> failed = smtp_->run(job, [this, cp](MailStep step) {
        lb_status_->setText(caption_text(context_, caption_slot::send_info_step_first + 2 * step));
    });
    if (failed) {
        SMTP_Quit(caption_slot::send_info_step_failed_first + 2 * *failed);
        BoxTextChange();
        me_message_->setFocus();
        return sending_ended();
    }
    const Messages m = messages_of(context_, dialogs_);
    m.information(m.text(caption_slot::send_info_sent));
    smtp_->abort_and_quit();
    if (const auto history = recipient_history_after_send(recipient_history_, job.recipient))
        write_text_file(context_.variables.program_folder + "information/emails.txt", *history);
    sending_ended();
    done(Accepted);
}

void Tsendcheat::btc_cancelClick() {
    if (!busy_) return void(close());
    smtp_->abort();
    me_message_->setFocus();
    btc_send_->setText(caption_text(context_, caption_slot::send_info_send_button));
    btc_cancel_->setText(caption_text(context_, caption_slot::send_info_cancel_button));
    busy_ = false;
    BoxTextChange();
}

void Tsendcheat::SMTP_Quit(int caption) {
    const Messages m = messages_of(context_, dialogs_);
    m.error(m.text(caption));
    smtp_->abort_and_quit();
}

void Tsendcheat::sending_ended() {
    btc_send_->setText(caption_text(context_, caption_slot::send_info_send_button));
    btc_cancel_->setText(caption_text(context_, caption_slot::send_info_close_button));
    busy_ = false;
    BoxTextChange();
}

void Tsendcheat::closeEvent(QCloseEvent* event) {
    if (busy_) return event->ignore();
    QDialog::closeEvent(event);
}

void Tsendcheat::reject() {
    if (busy_) return;
    smtp_->abort_and_quit();
    QDialog::reject();
}

// --- Tsendmail ---

void send_mail(ProgramContext& c, Dialogs& dialogs, const std::string& address, const std::string& name,
               QPoint centre, const std::function<void()>& save_databases, QWidget* parent) {
    Tsendmail(c, dialogs, address, name, centre, save_databases, parent).exec();
}

Tsendmail::Tsendmail(ProgramContext& context, Dialogs& dialogs, std::string address, const std::string& name,
                     QPoint centre, std::function<void()> save_databases, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), address_(std::move(address)),
      save_databases_(std::move(save_databases)), smtp_(std::make_unique<SmtpDialogue>(context.options)) {
    setObjectName("Tsendmail");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    create_controls();
    const CodePage cp = context.language.code_page;
    const Messages m = messages_of(context, dialogs);
    setWindowTitle(qt_utf8(m.text(caption_slot::mail_title, {product_name})));
    help_on_f1(this, help::mail_windows, context.language.help_path);
    ed_sender_->setText(qt_utf8(sender_value(context.options)));
    ed_recipient_->setText(qt_utf8(name + " <" + address_ + ">"));
    ed_subject_->setText(qt_text(context.current_mail_subject, cp));
    me_message_->setPlainText(shown(to_utf8(context.CAPTIONS[caption_slot::mail_message], cp)));
    me_message_->moveCursor(QTextCursor::End);
    lb_status_->setText(caption_text(context, caption_slot::mail_enter_message));
    BoxTextChange();

    const double s = context.screen_scale;
    int height = 295;
    const auto& games = context.db.games;
    if (address_ == publisher_info_address &&
        std::any_of(games.begin(), games.end(), [](const GAMES2_ARRAY_TYPE& g) { return !g.user_text.empty(); })) {
        height += 20;
        pa_status_->resize(pa_status_->width(), pa_status_->height() + scaled(20, s));
        for (QPushButton* b : {btc_send_, btc_cancel_})
            b->move(b->x(), b->y() + scaled(20, s));
        ck_attach_user_dat_->show();
        ck_attach_user_dat_->setChecked(true);
    }
    skin_->set_client_size(QSize(408, height), s);
    centre_window(this, centre);
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    me_message_->setFocus();
}

Tsendmail::~Tsendmail() = default;

void Tsendmail::create_controls() {
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaled_rect(x, y, w, h, s); };

    skinned_label(client, "lb_sender", at(8, 10, 64, 16))
        ->setText(caption_text(context_, caption_slot::mail_sender_label));
    ed_sender_ = framed_edit(client, "ed_sender", at(76, 8, 324, 19));
    ed_sender_->setReadOnly(true);
    skinned_label(client, "lb_recipient", at(8, 35, 64, 16))
        ->setText(caption_text(context_, caption_slot::mail_recipient_label));
    ed_recipient_ = framed_edit(client, "ed_recipient", at(76, 33, 324, 19));
    ed_recipient_->setReadOnly(true);
    auto* lb_subject = skinned_label(client, "lb_subject", at(8, 60, 64, 16));
    lb_subject->setText(caption_text(context_, caption_slot::mail_subject_label));
    ed_subject_ = framed_edit(client, "ed_subject", at(76, 58, 324, 19));
    lb_subject->setBuddy(ed_subject_);
    me_message_ = framed_memo(client, "me_message", at(8, 84, 392, 150));
    me_message_->installEventFilter(this);
    pa_status_ = new QFrame(client);
    pa_status_->setObjectName("pa_status");
    pa_status_->setFrameShape(QFrame::StyledPanel);
    pa_status_->setGeometry(at(8, 240, 392, 22));
    lb_status_ = skinned_label(pa_status_, "lb_status", at(4, 3, 384, 16), "F");
    ck_attach_user_dat_ =
        new QCheckBox(caption_text(context_, caption_slot::mail_attach_user_database), pa_status_);
    ck_attach_user_dat_->setObjectName("ck_attach_user_dat");
    ck_attach_user_dat_->setGeometry(at(4, 22, 384, 17));
    ck_attach_user_dat_->hide();
    btc_send_ = push_button(client, "btc_send", caption_text(context_, caption_slot::mail_send_button),
                            at(228, 266, 84, 25));
    btc_cancel_ = push_button(client, "btc_cancel", caption_text(context_, caption_slot::mail_cancel_button),
                              at(316, 266, 84, 25));

    connect(ed_subject_, &QLineEdit::textChanged, this, [this] { BoxTextChange(); });
    connect(me_message_, &QPlainTextEdit::textChanged, this, [this] { BoxTextChange(); });
    connect(btc_send_, &QPushButton::clicked, this, [this] { btc_sendClick(); });
    connect(btc_cancel_, &QPushButton::clicked, this, [this] { btc_cancelClick(); });
}

void Tsendmail::BoxTextChange() {
    const int status = free_mail_status_caption(utf8_of(ed_subject_->text()), crlf_text(me_message_->toPlainText()));
    btc_send_->setEnabled(status == caption_slot::mail_ready && !busy_);
    lb_status_->setText(caption_text(context_, status));
}

// Ctrl+Enter in the message sends it.
bool Tsendmail::eventFilter(QObject* watched, QEvent* event) {
    if (watched == me_message_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ControlModifier)) {
            btc_sendClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tsendmail::btc_sendClick() {
    if (busy_ || !btc_send_->isEnabled()) return;
    const CodePage cp = context_.language.code_page;
    const bool attach = !ck_attach_user_dat_->isHidden() && ck_attach_user_dat_->isChecked();
    if (attach && context_.variables.changes.user_changed && save_databases_) save_databases_();
    const std::string message = trim_blank_right(crlf_text(me_message_->toPlainText()));
    me_message_->setPlainText(shown(message));
    busy_ = true;
    btc_send_->setEnabled(false);
    btc_send_->setText(caption_text(context_, caption_slot::mail_sending_button));
    btc_cancel_->setText(caption_text(context_, caption_slot::mail_cancel_button));

    MailJob job;
    job.recipient = address_;
    job.to = utf8_of(ed_recipient_->text());
    job.subject = utf8_of(ed_subject_->text());
    job.lines = split_lines(message);
    const std::string& user_dat = context_.variables.user_dat_path;
    if (attach && file_exists(user_dat)) job.attachments.push_back(user_dat);
    const std::optional<MailStep> failed = smtp_->run(job, [this, cp](MailStep step) {
        lb_status_->setText(caption_text(context_, caption_slot::mail_step_first + 2 * step));
    });
    if (failed) {
        SMTP_Quit(caption_slot::mail_step_failed_first + 2 * *failed);
        me_message_->setFocus();
        return sending_ended();
    }
    const Messages m = messages_of(context_, dialogs_);
    m.information(m.text(caption_slot::mail_sent));
    smtp_->abort_and_quit();
    sending_ended();
    done(Accepted);
}

void Tsendmail::btc_cancelClick() {
    if (!busy_) return void(close());
    smtp_->abort();
    me_message_->setFocus();
    btc_send_->setText(caption_text(context_, caption_slot::mail_send_button));
    btc_cancel_->setText(caption_text(context_, caption_slot::mail_cancel_button));
    busy_ = false;
    BoxTextChange();
}

void Tsendmail::SMTP_Quit(int caption) {
    const Messages m = messages_of(context_, dialogs_);
    m.error(m.text(caption));
    smtp_->abort_and_quit();
}

void Tsendmail::sending_ended() {
    btc_send_->setText(caption_text(context_, caption_slot::mail_send_button));
    btc_cancel_->setText(caption_text(context_, caption_slot::mail_close_button));
    busy_ = false;
    BoxTextChange();
}

void Tsendmail::closeEvent(QCloseEvent* event) {
    if (busy_) return event->ignore();
    QDialog::closeEvent(event);
}

void Tsendmail::reject() {
    if (busy_) return;
    smtp_->abort_and_quit();
    QDialog::reject();
}

// --- the task "send userfile via email" ---

namespace {

void u_progress_sendmail(ProgramContext& c, Dialogs& dialogs, Tprogress& w, QPoint centre) {
    const CodePage cp = c.language.code_page;
    const auto caption = [&](int slot) { return shown(to_utf8(c.CAPTIONS[static_cast<std::size_t>(slot)], cp)); };
    const double s = c.screen_scale;
    QWidget* client = w.lb_progress()->parentWidget();
    const int grow = scaled(81, s) - client->height();
    client->setFixedHeight(client->height() + grow);
    w.setFixedSize(w.width(), w.height() + grow);
    centre_window(&w, centre);
    w.alp_progress()->hide();
    QLabel* label = w.lb_progress();
    label->resize(label->width(), scaled(33, s));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    w.set_label(caption(caption_slot::share_mail_step_first));
    auto* btc_sendmail = push_button(client, "btc_sendmail", caption(caption_slot::share_mail_cancel_button),
                                     scaled_rect(100, 48, 121, 25, s));
    skin_control(btc_sendmail, c.skin_current.window_other);
    btc_sendmail->show();

    SmtpDialogue smtp(c.options);
    bool busy = true;
    const auto click = QObject::connect(btc_sendmail, &QPushButton::clicked, [&] {
        if (!busy) return;
        smtp.abort();
        btc_sendmail->setEnabled(false);
    });

    const PROFILES_TYPE* profile = current_profile(c);
    const CodePage pcp = profile_code_page(c);
    const std::string id = profile ? to_utf8(profile->id, pcp) : std::string();
    const std::string language = profile ? to_utf8(profile->language, pcp) : std::string();
    const QLocale locale = QLocale::system();
    const std::string now = utf8_of(locale.toString(QDate::currentDate(), QLocale::ShortFormat) + ", " +
                                    locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    const std::string& user_dat = c.variables.user_dat_path;
    MailJob job;
    job.lines = userfile_report_lines(id, language, now, file_size(user_dat));
    job.recipient = publisher_cheats_address;
    job.to = std::string(publisher_display_name) + " <" + std::string(publisher_cheats_address) + ">";
    job.subject = "USER.DAT (" + id + ")";
    if (file_exists(user_dat)) job.attachments.push_back(user_dat);
    const std::optional<MailStep> failed = smtp.run(
        job, [&](MailStep step) { w.set_label(caption(caption_slot::share_mail_step_first + step)); });
    const Messages m = messages_of(c, dialogs);
    if (failed)
        m.error(m.text(caption_slot::share_mail_failed));
    else
        m.information(m.text(caption_slot::share_mail_sent));
    smtp.abort_and_quit();
    btc_sendmail->setEnabled(true);
    busy = false;
    QObject::disconnect(click); // the handler refers to this function's locals
}

} // namespace

void send_userfile_via_email(ProgramContext& c, Dialogs& dialogs, QPoint centre, QWidget* parent) {
    TaskRequest request;
    request.task = Task::send_userfile_via_email;
    request.centre = centre;
    request.work = [&c, &dialogs, centre](Tprogress& w) { u_progress_sendmail(c, dialogs, w, centre); };
    Tprogress::run(c, dialogs, std::move(request), parent);
}

} // namespace tkv
