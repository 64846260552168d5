#pragma once
// Real network peers for the tests, on 127.0.0.1 only: the test web server (http_peer.py), nginx
// (the web server a publisher runs), tinyproxy with Basic authentication and the test SMTP server
// (smtp_peer.py). Each is a child process that ends with the object.

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/loopback.h"
#include "support/nginx_conf.h"
#include "support/temp_dir.h"

namespace tkv::test {

class ChildProcess {
  public:
    explicit ChildProcess(std::vector<std::string> argv) : pid_(spawn_quietly(argv)) {
        if (pid_ <= 0) ADD_FAILURE() << "cannot start " << argv[0];
    }
    ~ChildProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        wait();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Checks without waiting; a child that ended is collected.
    bool running() {
        if (pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_) pid_ = -1;
        return pid_ > 0;
    }
    // Ends the child at once, as a power cut would: it cannot tidy up.
    void kill_at_once() {
        if (pid_ > 0) kill(pid_, SIGKILL);
    }
    // The wait status once the child has ended.
    int wait() {
        if (pid_ > 0 && waitpid(pid_, &status_, 0) == pid_) pid_ = -1;
        return status_;
    }

  private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Serves the files below root; url("x/y") addresses root/x/y.
class HttpPeer {
  public:
    explicit HttpPeer(const std::string& root)
        : process_({"/usr/bin/python3", TKV_TEST_SUPPORT "/http_peer.py", root, dir_.path("port"),
                    dir_.path("requests.log")}) {
        EXPECT_TRUE(wait_until([&] { return std::filesystem::exists(dir_.path("port")); }))
            << "the test web server did not start";
        std::ifstream(dir_.path("port")) >> port_;
        EXPECT_TRUE(wait_until([&] { return port_answers(port_); }));
    }
    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    std::string url(const std::string& path) const { return base() + path; }
    // Every request so far, one JSON object per line with its request line and header lines.
    std::string requests() const { return TempDir::read_file(dir_.path("requests.log")); }

  private:
    TempDir dir_;
    ChildProcess process_;
    int port_ = 0;
};

// nginx serving the files below root; url("x/y") addresses root/x/y.
class NginxPeer {
  public:
    explicit NginxPeer(const std::string& root) : port_(free_port()), process_(start(dir_, port_, root)) {
        EXPECT_TRUE(wait_until([&] { return port_answers(port_); }))
            << "nginx did not start: " << TempDir::read_file(dir_.path("error.log"));
    }
    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    std::string url(const std::string& path) const { return base() + path; }

  private:
    static std::vector<std::string> start(const TempDir& dir, int port, const std::string& root) {
        dir.write("nginx.conf", nginx_config(dir.folder(), port, root));
        return {"/usr/sbin/nginx", "-c", dir.path("nginx.conf"), "-p", dir.folder()};
    }
    TempDir dir_;
    int port_;
    ChildProcess process_;
};

// tinyproxy on 127.0.0.1, asking for Basic authentication with user "tkv" and password "s3cret".
class ProxyPeer {
  public:
    ProxyPeer() : port_(free_port()), process_(start(dir_, port_)) {
        EXPECT_TRUE(wait_until([&] { return port_answers(port_); })) << "tinyproxy did not start";
    }
    int port() const { return port_; }

  private:
    static std::vector<std::string> start(const TempDir& dir, int port) {
        std::ostringstream conf;
        conf << "Port " << port << "\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 30\nMaxClients 10\n"
             << "BasicAuth tkv s3cret\nLogLevel Critical\n";
        dir.write("tinyproxy.conf", conf.str());
        return {"/usr/bin/tinyproxy", "-d", "-c", dir.path("tinyproxy.conf")};
    }
    TempDir dir_;
    int port_;
    ChildProcess process_;
};

// The test SMTP server (smtp_peer.py, aiosmtpd) on 127.0.0.1; flags such as "refuse-rcpt" change
// its answers. Each accepted message is kept with its envelope.
class SmtpPeer {
  public:
    explicit SmtpPeer(const std::vector<std::string>& flags = {}) : port_(free_port()), process_(start(dir_, port_, flags)) {
        EXPECT_TRUE(wait_until([&] { return port_answers(port_); })) << "the test SMTP server did not start";
    }
    int port() const { return port_; }
    // Messages received so far.
    int count() const {
        int n = 0;
        while (std::filesystem::exists(dir_.path(std::to_string(n + 1) + ".eml")))
            ++n;
        return n;
    }
    // Message n (from 1) as sent after DATA, and its envelope as JSON (helo, mail_from, rcpt_tos, vrfy).
    std::string message(int n) const { return dir_.read(std::to_string(n) + ".eml"); }
    std::string envelope(int n) const { return dir_.read(std::to_string(n) + ".json"); }

  private:
    static std::vector<std::string> start(const TempDir& dir, int port, const std::vector<std::string>& flags) {
        std::vector<std::string> argv = {"/usr/bin/python3", TKV_TEST_SUPPORT "/smtp_peer.py", std::to_string(port),
                                         dir.folder()};
        argv.insert(argv.end(), flags.begin(), flags.end());
        return argv;
    }
    TempDir dir_;
    int port_;
    ChildProcess process_;
};

} // namespace tkv::test
