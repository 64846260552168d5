#pragma once
// The publisher's servers: the list kept in information/servers.txt and the rule for a valid
// server address.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

constexpr std::size_t servers_max = 100;

// Longer than 7 characters, starting with "http://" (any letter case) and ending in "/".
bool valid_server_address(std::string_view line);

// servers_load: the valid addresses of program_folder + "information/servers.txt" (blanks
// trimmed, at most 100); never empty: without one it holds main_server_address alone.
std::vector<std::string> servers_load(const std::string& program_folder);

// A server list downloaded from a server ("information/tkv_servers.tku" after its marker line).
struct DownloadedServerList {
    std::vector<std::string> servers; // its valid lines taken as they are, at most 100; never empty:
                                      // without one it holds main_server alone
    std::string file_text;            // the new information/servers.txt: every line that is longer
                                      // than 7 characters and starts with "http://", joined with CR LF
    bool updated = false;             // at least one valid address came
};
DownloadedServerList process_downloaded_list_of_servers(std::string_view text, std::string_view main_server);

// One server measured by the fastest-server search.
struct SERVERS_CHECKED_TYPE {
    std::string host;              // as shown: the address after "http://" up to the next "/"
    std::int32_t response_ms = -1; // round-trip time; -1: not available
    std::int32_t server_index = 0; // position in the server list
};

// The host part of a server address as the search shows it, with a port when the address has one.
std::string server_host(std::string_view address);
// The name to send an echo to: the host without its port.
std::string host_without_port(std::string_view host);

// Sorts entries left..right ascending by response_ms. Equal times end in whatever order this
// quicksort leaves them, which is not the list order.
void servers_checked_sort(std::vector<SERVERS_CHECKED_TYPE>& servers, int left, int right);
// After the sort, the unavailable servers (-1) lead; they move behind the others, keeping their order.
void servers_unavailable_last(std::vector<SERVERS_CHECKED_TYPE>& servers);

} // namespace tkv
