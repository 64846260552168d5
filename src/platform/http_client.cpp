#include "platform/http_client.h"

#include "platform/base64.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace tkv {

namespace {

const std::vector<std::string> request_headers = {
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*",
    "Accept-Language: en",
    "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows 98)",
    "Pragma: no-cache",
};

struct Transfer {
    const HttpClient::Write* write;
    const HttpClient::Progress* progress;
    bool write_failed = false;
};

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (!(*t->write)(std::string_view(data, n))) {
        t->write_failed = true;
        return 0; // curl ends the transfer with a write error
    }
    return n;
}

int on_progress(void* user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (*t->progress && received > 0) (*t->progress)(received, total);
    return 0;
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// curl_global_init before the first transfer, once for the program.
void global_init() {
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
}

} // namespace

long http_stall_time() {
    const char* text = std::getenv(http_stall_variable);
    if (!text || !*text) return http_stall_seconds;
    char* end = nullptr;
    const long seconds = std::strtol(text, &end, 10);
    return *end == '\0' && seconds >= 1 && seconds <= http_stall_seconds ? seconds : http_stall_seconds;
}

std::string http_request_headers_text() {
    std::string text;
    for (const std::string& h : request_headers)
        text += h + "\r\n";
    return text;
}

std::string proxy_authorization_header(std::string_view user, std::string_view password) {
    return "Proxy-Authorization: Basic " + base64_encode(std::string(user) + ":" + std::string(password));
}

HttpClient::HttpClient() {
    global_init();
}

HttpClient::~HttpClient() = default;

void HttpClient::abort() {
    std::lock_guard lock(mutex_);
    abort_ = true;
    if (multi_) curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

HttpResult HttpClient::get(const std::string& url, const HttpProxy& proxy, const Write& write,
                           const Progress& progress) {
    HttpResult result;
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        result.transport_error = true;
        result.error = "the HTTP library could not start";
        return result;
    }
    Transfer transfer{&write, &progress};
    std::unique_ptr<curl_slist, ListDeleter> headers;
    const auto add_header = [&headers](const std::string& line) {
        headers.reset(curl_slist_append(headers.release(), line.c_str()));
    };
    for (const std::string& h : request_headers)
        add_header(h);
    add_header("Expect:");
    if (!proxy.host.empty() && !proxy.user.empty()) add_header(proxy_authorization_header(proxy.user, proxy.password));

    CURL* c = easy.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    // Below one byte a second for the whole stall time counts as no answer at all.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, http_stall_time());
    // An empty proxy switches off the environment's proxy variables as well.
    const std::string proxy_address = proxy.host.empty() ? "" : proxy.host + ":" + proxy.port;
    curl_easy_setopt(c, CURLOPT_PROXY, proxy_address.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_multi_add_handle(multi.get(), c);
    {
        std::lock_guard lock(mutex_);
        multi_ = multi.get();
    }

    int running = 1;
    CURLcode code = CURLE_OK;
    while (running > 0 && !abort_) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        if (running > 0) curl_multi_poll(multi.get(), nullptr, 0, 200, nullptr);
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left))
        if (msg->msg == CURLMSG_DONE) code = msg->data.result;
    {
        std::lock_guard lock(mutex_);
        multi_ = nullptr;
        result.aborted = abort_.exchange(false);
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    curl_multi_remove_handle(multi.get(), c);
    if (result.aborted) {
        result.error = "aborted";
        return result;
    }
    result.status = static_cast<int>(status);
    if (running > 0 || code != CURLE_OK) {
        result.transport_error = true;
        result.error = transfer.write_failed ? "the body could not be stored" : curl_easy_strerror(code);
    }
    return result;
}

} // namespace tkv
