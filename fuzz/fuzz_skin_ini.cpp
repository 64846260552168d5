// skin.ini in either dialect. Font files are looked up in the skin's folder: whatever the file
// names, a font outside that folder (there is one beside it) is never taken.
#include "appearance/skin_file.h"
#include "fuzz/fuzz_support.h"

using namespace tkv;

namespace {

bool colour_ok(SkinColor c) {
    return c <= 0xFFFFFF;
}

bool item_ok(const SKINS_ITEM_TYPE& item) {
    return colour_ok(item.color) && colour_ok(item.font_color);
}

bool window_ok(const SKINS_WINDOWS_TYPE& w) {
    return colour_ok(w.background) && item_ok(w.buttons) && item_ok(w.panels) && item_ok(w.fields) &&
           item_ok(w.labels_panel) && item_ok(w.labels_normal) && colour_ok(w.title.left_active) &&
           colour_ok(w.title.right_active) && colour_ok(w.title.active_text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    scratch.write("skins/Blue/skin.ini", fuzz::bytes_of(data, size));
    scratch.add("skins/Blue/Font.ttf", "f");
    scratch.add("skins/Blue/fonts/title.ttf", "f");
    scratch.add("skins/outside.ttf", "f");
    scratch.add("secret.ttf", "f");

    static const SKINS_TYPE skin_default = skins_setdefault({});
    const std::optional<SKINS_TYPE> skin = skins_load(scratch.path("skins/"), "BLUE", skin_default);
    if (!skin) return 0;
    TKV_FUZZ_CHECK(skin->folder == "blue");
    TKV_FUZZ_CHECK(skin->fonts.size() <= skin_fonts_max);
    const std::string inside = scratch.path("skins/Blue/");
    for (const auto& font : skin->fonts) {
        TKV_FUZZ_CHECK(!font.name.empty());
        TKV_FUZZ_CHECK(font.file.compare(0, inside.size(), inside) == 0);
        TKV_FUZZ_CHECK(font.file.find("/..") == std::string::npos && font.file.find("/./") == std::string::npos);
    }
    for (const auto* w : {&skin->window_about, &skin->window_download, &skin->window_information, &skin->window_main,
                          &skin->window_manager, &skin->window_option, &skin->window_other})
        TKV_FUZZ_CHECK(window_ok(*w));
    for (SkinColor c : skin->progress_download) TKV_FUZZ_CHECK(colour_ok(c));
    for (SkinColor c : skin->progress_other) TKV_FUZZ_CHECK(colour_ok(c));
    return 0;
}
