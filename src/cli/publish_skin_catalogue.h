#pragma once
// information/tkv_skins.tku, the catalogue of the skins the server offers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "internet/skin_catalogue.h"
#include "shell/datetime.h"

namespace tkv::cli {

struct SkinOffer {
    std::int32_t number = 1; // 1 or more
    std::string file_name;   // base name of the archive and preview, before the key's number
    std::int64_t size_kb = 0;
    DateTime date;
    std::string display_name;
    std::string author;
    std::string author_email;
    std::string author_homepage;
    std::string skin_version;
    std::string program_version;
    int rating = 0;         // hundredths of a grade: 350 is 3.50
    std::string categories; // category codes separated by ","
};

// Every skin as its number and its fields; empty texts are left out, longer ones cut to the
// 255 bytes a field holds.
std::string skin_catalogue_resource(const std::vector<SkinOffer>& offers);

} // namespace tkv::cli
