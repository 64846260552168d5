#include "internet/server_list.h"

#include "shell/files.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <algorithm>

namespace tkv {

bool valid_server_address(std::string_view line) {
    return line.size() > 7 && same_start(line, "http://") && line.back() == '/';
}

std::vector<std::string> servers_load(const std::string& program_folder) {
    std::vector<std::string> servers;
    for (const std::string& raw : split_lines(file_read_all(program_folder + "information/servers.txt"))) {
        const std::string line = trim_controls(raw);
        if (valid_server_address(line) && servers.size() < servers_max) servers.push_back(line);
    }
    if (servers.empty()) servers.emplace_back(main_server_address);
    return servers;
}

DownloadedServerList process_downloaded_list_of_servers(std::string_view text, std::string_view main_server) {
    DownloadedServerList list;
    std::string file_text;
    for (const std::string& line : split_lines(text)) {
        if (valid_server_address(line) && list.servers.size() < servers_max) list.servers.push_back(line);
        if (line.size() <= 7 || !same_start(line, "http://")) continue;
        if (!file_text.empty()) file_text += "\r\n";
        file_text += line;
    }
    list.file_text = std::move(file_text);
    list.updated = !list.servers.empty();
    if (!list.updated) list.servers.emplace_back(main_server);
    return list;
}

namespace {

std::string up_to(std::string_view s, char c) {
    return std::string(s.substr(0, s.find(c)));
}

} // namespace

std::string server_host(std::string_view address) {
    return up_to(address.substr(std::min<std::size_t>(7, address.size())), '/');
}

std::string host_without_port(std::string_view host) {
    return up_to(host, ':');
}

void servers_checked_sort(std::vector<SERVERS_CHECKED_TYPE>& servers, int left, int right) {
    if (left >= right) return;
    const auto ms = [&](int k) { return servers[static_cast<std::size_t>(k)].response_ms; };
    const std::int32_t pivot = ms(left + (right - left) / 2);
    int i = left;
    int j = right;
    do {
        while (ms(i) < pivot)
            ++i;
        while (ms(j) > pivot)
            --j;
        if (i <= j) {
            if (ms(i) > ms(j))
                std::swap(servers[static_cast<std::size_t>(i)], servers[static_cast<std::size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (left < j) servers_checked_sort(servers, left, j);
    if (i < right) servers_checked_sort(servers, i, right);
}

void servers_unavailable_last(std::vector<SERVERS_CHECKED_TYPE>& servers) {
    const auto first_available = std::find_if(
        servers.begin(), servers.end(), [](const SERVERS_CHECKED_TYPE& s) { return s.response_ms != -1; });
    std::rotate(servers.begin(), first_available, servers.end());
}

} // namespace tkv
