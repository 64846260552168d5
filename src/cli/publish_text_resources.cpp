#include "cli/publish_text_resources.h"

#include "internet/download_rules.h"

namespace tkv::cli {

namespace {

constexpr std::string_view crlf = "\r\n";

std::string with_marker(std::string_view body) {
    std::string text(text_resource_marker);
    text.append(crlf).append(body);
    return text;
}

} // namespace

std::string server_list_resource(const std::vector<std::string>& servers) {
    std::string body;
    for (const std::string& server : servers)
        body.append(server).append(crlf);
    return with_marker(body);
}

std::string version_resource(std::string_view latest_version) {
    std::string body("Latest Version=");
    body.append(latest_version).append(crlf);
    return with_marker(body);
}

std::string version_notes_resource(std::string_view version, std::string_view notes) {
    std::string body("[");
    body.append(version).append("]").append(crlf).append(notes).append(crlf).append("[#END#]").append(crlf);
    return with_marker(body);
}

std::string profile_list_resource(const std::vector<ProfileOffer>& offers) {
    std::string body;
    for (const ProfileOffer& p : offers) {
        body.append("[").append(p.id).append("]").append(crlf);
        body.append("Name=").append(p.name).append(crlf);
        body.append("Language=").append(p.language).append(crlf);
        body.append("Size=").append(std::to_string(p.archive_size)).append(crlf);
        body.append("Last update=").append(format_date(p.last_update)).append(crlf);
    }
    return with_marker(body.append("[#END#]").append(crlf));
}

} // namespace tkv::cli
