// The server's list of profiles to download. An entry that may be offered has a name, a language
// and an id that names nothing outside the profiles folder (the archive and the folder are named
// after it).
#include "fuzz/fuzz_support.h"
#include "internet/download_rules.h"
#include "profiles/profile_download.h"
#include "shell/files.h"

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<std::string> body = text_resource_body(fuzz::bytes_of(data, size));
    if (!body) return 0;
    std::vector<DOWNPROS_TYPE> list = profiles_new_parser(*body);
    TKV_FUZZ_CHECK(list.size() <= downpros_max);
    for (const auto& e : list) TKV_FUZZ_CHECK(e.size >= 0);

    ProfileTable installed;
    installed.profiles.push_back({});
    installed.profiles.back().id = "demo";
    profiles_new_check_valid(list, installed);
    static const Captions captions = [] {
        Captions c;
        captions_reset(c);
        return c;
    }();
    profiles_new_sort(list, captions);
    for (const auto& e : list) {
        TKV_FUZZ_CHECK(!e.name.empty() && !e.language.empty());
        TKV_FUZZ_CHECK(safe_file_name(e.id));
        TKV_FUZZ_CHECK(e.id != "demo");
        TKV_FUZZ_CHECK(profile_archive_kilobytes(e.size) >= 0);
    }
    return 0;
}
