#pragma once
// The server's text resources. Each begins with the line ";Trickvault" so that the program's
// text downloads accept it; lines end with CR LF.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/datetime.h"

namespace tkv::cli {

// information/tkv_servers.tku: one server base address a line.
std::string server_list_resource(const std::vector<std::string>& servers);

// information/tkv_version.tku: the newest program version.
std::string version_resource(std::string_view latest_version);

// versions/<info file>.tku: the notes of one version (lines separated by CR LF), then the end.
std::string version_notes_resource(std::string_view version, std::string_view notes);

// One entry of information/tkv_profiles.tku.
struct ProfileOffer {
    std::string id;
    std::string name;
    std::string language;
    std::int64_t archive_size = 0; // bytes
    DateTime last_update;
};
std::string profile_list_resource(const std::vector<ProfileOffer>& offers);

} // namespace tkv::cli
