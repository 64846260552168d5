#pragma once
// The program's HTTP client: one GET at a time, HTTP/1.0, the headers every request of the program
// carries, an optional proxy with preemptive Basic authentication, progress reports and an abort
// that ends a running transfer at once. run() blocks; the windows call it from a worker thread
// and keep their event loop going (see platform/qt/http_worker.h).

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace tkv {

struct HttpProxy {
    std::string host; // empty: a direct connection (the environment's proxy variables are not used)
    std::string port = "80";
    std::string user; // not empty: "Proxy-Authorization: Basic ..." goes with every request
    std::string password;
};

// A transfer during which no byte arrives for this many seconds ends with a transport error: a
// server that accepts the connection and never answers would otherwise hold the caller for good.
inline constexpr long http_stall_seconds = 60;
// The environment variable that shortens the stall time (a whole number of seconds, 1 to 60;
// anything else is ignored), so a test against a silent server ends in seconds.
inline constexpr const char* http_stall_variable = "TRICKVAULT_HTTP_STALL_SECONDS";
// http_stall_seconds, or the shorter time the environment asks for.
long http_stall_time();

struct HttpResult {
    int status = 0;           // the server's status code; 0 when no answer came
    bool transport_error = false; // no connection, a broken one, or no byte for http_stall_time()
    bool aborted = false;
    std::string error;        // what went wrong, for logs and tests
};

class HttpClient {
  public:
    // write gets the body in pieces and returns false to stop the transfer (a full disk, say).
    using Write = std::function<bool(std::string_view)>;
    // Bytes received so far and the announced length (0 when the server gave none).
    using Progress = std::function<void(std::int64_t received, std::int64_t total)>;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    HttpResult get(const std::string& url, const HttpProxy& proxy, const Write& write, const Progress& progress);
    // From any thread: a running get() returns at once with aborted set. Called while no get()
    // runs, it ends the next one before it sends anything (the user may cancel before the worker
    // thread has started).
    void abort();

  private:
    std::mutex mutex_;
    void* multi_ = nullptr; // the running transfer's CURLM, while get() runs
    std::atomic<bool> abort_{false};
};

// The header lines every request carries besides Host (which the client adds).
std::string http_request_headers_text();
// "Proxy-Authorization: Basic " and the Base64 of user ":" password.
std::string proxy_authorization_header(std::string_view user, std::string_view password);

} // namespace tkv
