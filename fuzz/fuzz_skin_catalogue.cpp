// The skin catalogue. Every skin offered has a key that names files only inside the skins
// folder, and the texts the panel shows of it can be made.
#include "fuzz/fuzz_support.h"
#include "internet/skin_catalogue.h"
#include "shell/files.h"

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Captions captions = [] {
        Captions c;
        captions_reset(c);
        return c;
    }();
    SkinFilter filter;
    int last_percent = 0;
    filter.progress = [&](int percent) {
        TKV_FUZZ_CHECK(percent >= last_percent && percent <= 100);
        last_percent = percent;
    };
    filter.installed = [](const std::string& key) { return key == "0001_blue"; };
    const std::vector<DOWNSKINS_TYPE> skins = u_progress_skin_download(fuzz::bytes_of(data, size), filter);
    TKV_FUZZ_CHECK(skins.size() <= catalogue_max);
    for (const auto& skin : skins) {
        TKV_FUZZ_CHECK(skin.number > 0);
        TKV_FUZZ_CHECK(skin.key == skin_key(skin.number, skin.file_name) && skin.key != "0001_blue");
        TKV_FUZZ_CHECK(safe_file_name(skin.key) && safe_file_name(skin.key + ".tkvs"));
        TKV_FUZZ_CHECK(skin.rating_hundredths >= 100 && skin.rating_hundredths <= 500);
        TKV_FUZZ_CHECK(!skin_list_row(captions, skin).empty());
        TKV_FUZZ_CHECK(!ignore_marker_text(captions, skin, "2026-12-10", "http://main.example/").empty());
    }
    return 0;
}
