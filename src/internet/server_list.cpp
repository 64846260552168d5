#include "internet/server_list.h"

#include "shell/files.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "shell/text_lines.h"

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

} // namespace tkv
