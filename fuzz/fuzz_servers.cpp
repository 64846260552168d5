// The server list: information/servers.txt as kept, and the list a server sends. The program only
// ever talks to valid addresses, and the file it writes holds one address a line.
#include "fuzz/fuzz_support.h"
#include "internet/download_rules.h"
#include "internet/server_list.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "shell/text_lines.h"

using namespace tkv;

namespace {

constexpr std::string_view main_server = "http://main.example/";

void check_list(const std::vector<std::string>& servers, std::string_view fallback) {
    TKV_FUZZ_CHECK(!servers.empty() && servers.size() <= servers_max);
    for (const auto& s : servers) TKV_FUZZ_CHECK(valid_server_address(s) || s == fallback);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    const std::string_view input = fuzz::bytes_of(data, size);
    scratch.write("information/servers.txt", input);
    check_list(servers_load(scratch.folder()), main_server_address);

    const std::optional<std::string> body = text_resource_body(input);
    if (!body) return 0;
    const DownloadedServerList list = process_downloaded_list_of_servers(*body, main_server);
    check_list(list.servers, main_server);
    if (!list.updated) TKV_FUZZ_CHECK(list.servers == std::vector<std::string>{std::string(main_server)});
    for (const std::string& line : split_lines(list.file_text)) {
        TKV_FUZZ_CHECK(line.size() > 7 && lower_text(line.substr(0, 7)) == "http://");
        TKV_FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    }

    // What was written is read as a list of valid addresses again.
    scratch.add("again/information/servers.txt", list.file_text);
    check_list(servers_load(scratch.path("again/")), main_server_address);
    return 0;
}
