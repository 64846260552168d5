// The profiles' resources: what the database upgrade and the profile download fetch.

#include "cli/publish_parts.h"
#include "cli/publish_text_resources.h"
#include "cli/publish_update_resources.h"
#include "database/database_files.h"
#include "internet/upgrade.h"
#include "profiles/profile_table.h"
#include "shell/files.h"
#include "shell/text.h"

#include <algorithm>
#include <map>
#include <optional>

namespace tkv::cli {

namespace {

struct LoadedProfile {
    PROFILES_TYPE profile;
    GameDatabase db;
};

// The folder's main.dat as the program reads it. A main.dat that is no sound profile fails:
// publishing it would hand its damage on to every user.
std::optional<LoadedProfile> load_profile(Publication& pub, const std::string& profiles,
                                          const std::string& folder) {
    const std::string main_dat = profiles + folder + "/main.dat";
    ProfileTable table;
    if (!profile_ini_load(table, profiles, folder)) {
        pub.fail(main_dat + " cannot be read or has no valid profile header");
        return std::nullopt;
    }
    LoadedProfile loaded{table.profiles.front(), {}};
    DateTime file_date;
    const DatReadReport report = u_progress_dat_load_main(loaded.db, main_dat, file_date);
    if (!report.problems.empty()) {
        pub.fail(main_dat + ": " + report.problems.front());
        return std::nullopt;
    }
    return loaded;
}

// What the database upgrade fetches below profiles/ID/.
bool publish_upgrade(Publication& pub, const std::string& dir, const GameDatabase& db) {
    if (!pub.write(dir + "list.tkv", game_list_resource(db.games)) ||
        !pub.write(dir + std::string(information_types_file), information_types_resource(db.info_types)))
        return false;
    return std::all_of(db.games.begin(), db.games.end(), [&](const GAMES2_ARRAY_TYPE& game) {
        return pub.write(dir + "information/" + game_record_file_name(game.id), game_record_resource(game));
    });
}

// The files of the profile's files/ folder, relative to it; none without the folder.
std::optional<std::vector<std::string>> profile_files(Publication& pub, const std::string& source) {
    if (!folder_exists(source + "files")) return std::vector<std::string>{};
    auto files = files_below(source + "files/");
    if (!files) pub.fail("cannot read " + source + "files/");
    return files;
}

// The archive unpacks into profiles/ as the folder the download looks for: the id in lower case.
bool publish_archive(Publication& pub, const std::string& source, const std::string& lower_id,
                     const std::vector<std::string>& files) {
    std::vector<ZipEntry> entries{{lower_id + "/main.dat", source + "main.dat"}};
    for (const std::string& file : files)
        entries.push_back({lower_id + "/files/" + file, source + "files/" + file});
    return pub.zip("profiles/" + lower_id + "/" + lower_id + ".tkvp", entries);
}

} // namespace

bool publish_profiles(Publication& pub) {
    const std::string profiles = pub.home + "profiles/";
    std::vector<std::string> folders = folder_list_folders(profiles);
    std::sort(folders.begin(), folders.end());
    std::map<std::string, std::string> folder_of_id; // by lower-case id
    std::vector<ProfileOffer> offers;
    for (const std::string& folder : folders) {
        // A folder without main.dat is no profile (deleting one leaves user.dat behind).
        if (!file_exists(profiles + folder + "/main.dat")) continue;
        const auto loaded = load_profile(pub, profiles, folder);
        if (!loaded) return false;
        const PROFILES_TYPE& p = loaded->profile;
        const std::string lower_id = lower_text(p.id);
        if (!usable_path_part(p.id) || !usable_path_part(lower_id))
            return pub.fail(profiles + folder + ": the id \"" + p.id +
                            "\" cannot name a folder on the server");
        if (const auto [it, added] = folder_of_id.emplace(lower_id, folder); !added)
            return pub.fail("the profiles in " + profiles + it->second + " and " + profiles + folder +
                            " have the same id \"" + p.id + "\"");
        const std::string source = profiles + folder + "/";
        const auto files = profile_files(pub, source);
        if (!files) return false;
        const std::string dir = "profiles/" + p.id + "/";
        if (!publish_upgrade(pub, dir, loaded->db)) return false;
        for (const std::string& file : *files)
            if (!pub.copy(source + "files/" + file, dir + "files/" + file)) return false;
        if (!publish_archive(pub, source, lower_id, *files)) return false;
        offers.push_back({lower_id, p.name, p.language,
                          pub.size("profiles/" + lower_id + "/" + lower_id + ".tkvp"), p.main_date});
    }
    return pub.write("information/tkv_profiles.tku", profile_list_resource(offers));
}

} // namespace tkv::cli
