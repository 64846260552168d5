// The skin catalogue's resources.

#include "appearance/skin_file.h"
#include "appearance/skin_table.h"
#include "cli/publish_parts.h"
#include "cli/publish_skin_catalogue.h"
#include "shell/files.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace tkv::cli {

namespace {

// A grade in the middle, so that the lower and the upper grade filter can each hide it.
constexpr int published_rating = 300;
// "Others".
constexpr const char* published_categories = "1";

// The folder name as a part of an address: whatever a URL would have to escape becomes "_".
std::string address_safe(std::string name) {
    std::replace_if(
        name.begin(), name.end(),
        [](char c) {
            return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                     c == '_' || c == '-');
        },
        '_');
    return name;
}

// The skin's own picture that shows it best, if it has one in JPEG.
std::optional<std::string> preview_picture(const std::string& folder) {
    for (const char* picture : {"main.jpg", "splash.jpg"})
        if (const auto name = find_name_in_folder(folder, picture); name && file_exists(folder + *name))
            return folder + *name;
    return std::nullopt;
}

bool publish_skin(Publication& pub, const SKINS_TYPE& skin, const std::string& folder, SkinOffer& offer) {
    const std::string key = skin_key(offer.number, offer.file_name);
    const auto files = files_below(folder);
    if (!files) return pub.fail("cannot read " + folder);
    // Unpacked into skins/, the skin's folder is named by its key: the catalogue then sees it
    // as installed and no longer offers it.
    std::vector<ZipEntry> entries;
    for (const std::string& file : *files)
        entries.push_back({key + "/" + file, folder + file});
    const std::string archive = "skins/" + key + ".tkvs";
    if (!pub.zip(archive, entries)) return false;
    if (const auto picture = preview_picture(folder); picture && !pub.copy(*picture, "skins/" + key + ".jpg"))
        return false;
    offer.size_kb = (pub.size(archive) + 1023) / 1024;
    offer.date = file_date(folder + find_name_in_folder(folder, "skin.ini").value_or("skin.ini"));
    offer.display_name = skin.name;
    offer.author = skin.maker;
    offer.author_email = skin.email;
    offer.author_homepage = skin.homepage;
    offer.skin_version = skin.version;
    offer.program_version = skin.program_version;
    offer.rating = published_rating;
    offer.categories = published_categories;
    return true;
}

} // namespace

bool publish_skins(Publication& pub) {
    const std::string skins_folder = pub.home + "skins/";
    SkinTable table;
    skins_search_hidden(table, skins_folder, skins_setdefault({}));
    std::vector<SkinOffer> offers;
    for (const SKINS_TYPE& skin : table.skins) {
        const auto folder = find_name_in_folder(skins_folder, skin.folder);
        if (!folder) return pub.fail("the skin folder " + skins_folder + skin.folder + " went away");
        SkinOffer offer;
        offer.number = static_cast<std::int32_t>(offers.size() + 1);
        offer.file_name = address_safe(skin.folder);
        if (!publish_skin(pub, skin, skins_folder + *folder + "/", offer)) return false;
        offers.push_back(std::move(offer));
    }
    return pub.write(std::string(skin_list_resource), skin_catalogue_resource(offers));
}

} // namespace tkv::cli
