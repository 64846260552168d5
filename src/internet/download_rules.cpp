#include "internet/download_rules.h"

#include "shell/publisher.h"
#include "shell/text.h"

#include <cmath>

namespace tkv {

namespace {

// Whole numbers from a division, halves to even.
std::int64_t rounded(double v) {
    return static_cast<std::int64_t>(std::nearbyint(v));
}

} // namespace

std::optional<std::string> text_resource_body(std::string_view body) {
    if (body.substr(0, text_resource_marker.size()) != text_resource_marker) return std::nullopt;
    // The marker line and its CR LF.
    return std::string(body.size() > text_resource_marker.size() + 2 ? body.substr(text_resource_marker.size() + 2) : std::string_view());
}

std::optional<std::string> named_resource_body(std::string_view body, std::string_view expected_name) {
    if (body.empty()) return std::nullopt;
    const std::size_t n = static_cast<unsigned char>(body[0]);
    if (body.size() < n + 1 || ascii_lower_text(body.substr(1, n)) != ascii_lower_text(expected_name))
        return std::nullopt;
    return std::string(body.substr(n + 1));
}

HttpProxy proxy_of(const OPTIONS_TYPE& o) {
    if (!o.use_proxy) return {};
    return {o.proxy_server, o.proxy_port, o.proxy_user, o.proxy_password};
}

std::string server_of(const OPTIONS_TYPE& o) {
    return o.main_server_only ? std::string(main_server_address) : o.server;
}

std::int64_t elapsed_for_display(std::int64_t ms) {
    return ms % 10 == 9 ? ms + 1 : ms;
}

DownloadFigures download_figures(std::int64_t r, std::int64_t t, std::int64_t e) {
    DownloadFigures f;
    if (t > 0) {
        f.percent = static_cast<int>(r * 100 / t);
        f.position = {std::to_string(t / 1024), std::to_string(r / 1024), std::to_string(r * 100 / t)};
    }
    if (r <= 0 || e <= 0) return f;
    const std::int64_t s = rounded(static_cast<double>(r) / static_cast<double>(e) * 1000.0);
    f.speed = {std::to_string(s / 1024), std::to_string((s % 1020) / 102), std::to_string((s % 100) / 10)};
    if (t > 0 && s > 0) {
        const std::int64_t left = rounded(static_cast<double>(t - r) / static_cast<double>(s));
        const std::int64_t seconds = left % 60;
        f.time_left = {std::to_string(left / 60), (seconds < 10 ? "0" : "") + std::to_string(seconds)};
    }
    return f;
}

std::string speed_text(const std::array<std::string, 3>& s) {
    return s[0] + "." + s[1] + s[2];
}

} // namespace tkv
