#pragma once
// The publisher's servers: the list kept in information/servers.txt and the rule for a valid
// server address.

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

} // namespace tkv
