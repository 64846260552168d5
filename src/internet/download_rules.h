#pragma once
// What a download must look like to count, and the figures the download window shows while it
// runs. Text resources begin with the line ";Trickvault"; binary ones with a length-prefixed name.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/http_client.h"
#include "shell/options.h"

namespace tkv {

// The first line of every text resource a server gives (the server's tree writes it too).
inline constexpr std::string_view text_resource_marker = ";Trickvault";

// The text after the marker line of a body whose line ends are CR LF already; none without it.
std::optional<std::string> text_resource_body(std::string_view body);
// The bytes after the length-prefixed name when the name is the expected one (letter case ignored).
std::optional<std::string> named_resource_body(std::string_view body, std::string_view expected_name);

// The proxy the options ask for; without "use proxy" a direct connection.
HttpProxy proxy_of(const OPTIONS_TYPE& options);
// The server the options ask for: the main server while "use only main server" is on, else
// "use this server".
std::string server_of(const OPTIONS_TYPE& options);

// What changes on the download window after progress: received R, announced length T (0 or less
// when unknown), E whole milliseconds since the window opened (as elapsed_for_display gives them).
struct DownloadFigures {
    std::optional<int> percent;                       // the bar, when T is known
    std::optional<std::array<std::string, 3>> position; // total KB, received KB, percent
    std::optional<std::array<std::string, 3>> speed;    // KB, then two separately computed digits
    std::optional<std::array<std::string, 2>> time_left; // minutes, seconds with two digits
};
DownloadFigures download_figures(std::int64_t received, std::int64_t total, std::int64_t elapsed_ms);
// Milliseconds as the window counts them: one more when the last digit is 9.
std::int64_t elapsed_for_display(std::int64_t milliseconds);
// The speed as callers quote it: "4.90".
std::string speed_text(const std::array<std::string, 3>& speed);

} // namespace tkv
