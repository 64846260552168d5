// A language file: its header and its caption lines. Slots the file does not give keep their
// built-in texts, and every text it gives can be formatted.
#include "appearance/captions.h"
#include "appearance/languages.h"
#include "fuzz/fuzz_support.h"

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    scratch.write("languages/fuzz.lng", fuzz::bytes_of(data, size));
    const std::string folder = scratch.path("languages/");

    static const Captions defaults = [] {
        Captions c;
        captions_reset(c);
        return c;
    }();
    Captions captions;
    const LanguageLoadResult result = languages_load(captions, folder, "fuzz.lng");
    TKV_FUZZ_CHECK(result.opened);
    for (std::size_t slot = 1; slot < captions.size(); ++slot) {
        if (!result.slots_set.test(slot)) {
            TKV_FUZZ_CHECK(captions[slot] == defaults[slot]);
            continue;
        }
        const std::string shown = caption_format(captions[slot], {"one", "two"});
        TKV_FUZZ_CHECK(shown.size() <= 2 * captions[slot].size()); // "%1" grows to "one" at most
    }

    if (const auto header = languages_preload(folder, "fuzz.lng")) {
        TKV_FUZZ_CHECK(!header->language.empty());
        const auto found = languages_search(folder);
        TKV_FUZZ_CHECK(found.size() == 2);
    }
    return 0;
}
