#include "platform/qt/smtp_client.h"

#include <QTcpSocket>
#include <QTimer>

#include <charconv>
#include <optional>

namespace tkv {

namespace {

// A value inside a command stays on the command's line.
std::string one_line(const std::string& s) {
    std::string r;
    for (char c : s)
        if (c != '\r' && c != '\n') r += c;
    return r;
}

std::optional<quint16> port_number(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<quint16>(value);
}

} // namespace

SmtpClient::SmtpClient(QObject* parent) : QObject(parent), socket_(new QTcpSocket(this)) {
    connect(socket_, &QTcpSocket::readyRead, this, [this] { received(); });
    connect(socket_, &QTcpSocket::errorOccurred, this,
            [this] { failed(socket_->errorString().toStdString()); });
}

SmtpClient::~SmtpClient() = default;

void SmtpClient::Connect() {
    socket_->abort();
    received_.clear();
    pending_ = Request::connect;
    const std::optional<quint16> number = port_number(port);
    if (!number) return failed("invalid port");
    socket_->connectToHost(QString::fromStdString(host), *number);
}

void SmtpClient::Helo() {
    command(Request::helo, "HELO " + one_line(helo_name));
}

void SmtpClient::MailFrom() {
    command(Request::mail_from, "MAIL FROM:<" + one_line(mail_from) + ">");
}

void SmtpClient::Vrfy() {
    command(Request::vrfy, "VRFY " + one_line(recipients.empty() ? std::string() : recipients.front()));
}

void SmtpClient::RcptTo() {
    next_recipient_ = 0;
    if (recipients.empty()) {
        pending_ = Request::rcpt_to;
        return failed("no recipient");
    }
    command(Request::rcpt_to, "RCPT TO:<" + one_line(recipients.front()) + ">");
    next_recipient_ = 1;
}

void SmtpClient::Data() {
    data_sent_ = false;
    command(Request::data, "DATA");
}

void SmtpClient::Quit() {
    command(Request::quit, "QUIT");
}

void SmtpClient::Abort() {
    const Request waiting = pending_;
    pending_ = Request::none;
    socket_->abort();
    received_.clear();
    if (waiting != Request::none) {
        last_reply_.clear();
        complete(waiting);
    }
    complete(Request::abort);
}

void SmtpClient::command(Request request, const std::string& line) {
    pending_ = request;
    if (socket_->state() != QAbstractSocket::ConnectedState) return failed("not connected");
    socket_->write(QByteArray::fromStdString(line + "\r\n"));
}

// Replies may come in pieces and span several lines ("250-..." continues, "250 ..." ends).
void SmtpClient::received() {
    const QByteArray bytes = socket_->readAll();
    received_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (std::size_t end; (end = received_.find('\n')) != std::string::npos;) {
        std::string line = received_.substr(0, end);
        received_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        last_reply_ = line;
        if (line.size() >= 4 && line[3] == '-') continue;
        reply_complete();
    }
}

void SmtpClient::reply_complete() {
    const Request request = pending_;
    const bool positive = last_reply_.starts_with('2');
    if (request == Request::rcpt_to && positive && next_recipient_ < recipients.size()) {
        socket_->write(QByteArray::fromStdString("RCPT TO:<" + one_line(recipients[next_recipient_++]) + ">\r\n"));
        return;
    }
    if (request == Request::data && !data_sent_ && last_reply_.starts_with("354")) {
        data_sent_ = true;
        socket_->write(QByteArray::fromStdString(message));
        return;
    }
    if (request == Request::none) return; // nobody waits for it
    pending_ = Request::none;
    if (request == Request::quit) socket_->disconnectFromHost();
    complete(request);
}

void SmtpClient::failed(const std::string& reason) {
    const Request request = pending_;
    if (request == Request::none) return;
    pending_ = Request::none;
    last_reply_ = reason;
    complete(request);
}

void SmtpClient::complete(Request request) {
    QTimer::singleShot(0, this, [this, request] {
        if (on_request_done) on_request_done(request);
    });
}

} // namespace tkv
