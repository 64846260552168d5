#pragma once
// A small SMTP client on the user-interface thread. Each request writes its command and returns at
// once; it completes later through on_request_done, which names the request, after which
// last_reply() holds the server's last reply line (or what went wrong with the connection, never
// starting with a reply code; empty after Abort). Completion always comes from the event loop,
// never from inside the call, so a handler may issue the next request at once.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QTcpSocket;

namespace tkv {

class SmtpClient : public QObject {
  public:
    enum class Request { none, connect, helo, mail_from, vrfy, rcpt_to, data, quit, abort };

    explicit SmtpClient(QObject* parent = nullptr);
    ~SmtpClient() override;
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    // What the requests use; texts are UTF-8.
    std::string host;
    std::string port;
    std::string helo_name;
    std::string mail_from;               // the envelope sender
    std::vector<std::string> recipients; // Vrfy asks for the first, RcptTo names each
    // What Data sends after the server's 354: header, body, dot-stuffing and the closing line
    // already in place.
    std::string message;

    std::function<void(Request)> on_request_done;

    void Connect();
    void Helo();
    void MailFrom();
    void Vrfy();
    void RcptTo();
    void Data();
    void Quit();
    // Drops the connection; a request still waiting completes with an empty reply.
    void Abort();

    const std::string& last_reply() const { return last_reply_; }

  private:
    void command(Request request, const std::string& line);
    void received();
    void reply_complete();
    void failed(const std::string& reason);
    void complete(Request request);

    QTcpSocket* socket_;
    Request pending_ = Request::none;
    bool data_sent_ = false; // Data: the message went out after the server's 354
    std::size_t next_recipient_ = 0;
    std::string received_;
    std::string last_reply_;
};

} // namespace tkv
