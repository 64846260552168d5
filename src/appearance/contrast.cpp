#include "appearance/contrast.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tkv {

namespace {

double linear_channel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

void add_item(std::vector<SkinTextPair>& pairs, const std::string& where, const SKINS_ITEM_TYPE& item) {
    pairs.push_back({where, item.font_color, item.color});
}

// A label's text and, as a link, its hover colour (the item's colour) on what lies beneath it.
void add_label(std::vector<SkinTextPair>& pairs, const std::string& where, const SKINS_ITEM_TYPE& label,
               SkinColor beneath) {
    pairs.push_back({where, label.font_color, beneath});
    pairs.push_back({where + ".link", label.color, beneath});
}

void add_window(std::vector<SkinTextPair>& pairs, const std::string& name, const SKINS_WINDOWS_TYPE& w) {
    add_item(pairs, name + ".buttons", w.buttons);
    add_item(pairs, name + ".panels", w.panels);
    add_item(pairs, name + ".fields", w.fields);
    add_label(pairs, name + ".labels_panel", w.labels_panel, w.panels.color);
    add_label(pairs, name + ".labels_normal", w.labels_normal, w.background);
    const SKINS_WORDCAP_TYPE& t = w.title;
    pairs.push_back({name + ".title.active_text.left", t.active_text, t.left_active});
    pairs.push_back({name + ".title.active_text.right", t.active_text, t.right_active});
    pairs.push_back({name + ".title.inactive_text.left", t.inactive_text, t.left_inactive});
    pairs.push_back({name + ".title.inactive_text.right", t.inactive_text, t.right_inactive});
}

} // namespace

double relative_luminance(SkinColor color) {
    return 0.2126 * linear_channel(skin_red(color)) + 0.7152 * linear_channel(skin_green(color)) +
           0.0722 * linear_channel(skin_blue(color));
}

double contrast_ratio(SkinColor a, SkinColor b) {
    const double la = relative_luminance(a);
    const double lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<SkinTextPair> skin_text_pairs(const SKINS_TYPE& skin) {
    std::vector<SkinTextPair> pairs;
    const std::pair<const char*, const SKINS_WINDOWS_TYPE*> windows[] = {
        {"window_about", &skin.window_about},
        {"window_download", &skin.window_download},
        {"window_information", &skin.window_information},
        {"window_main", &skin.window_main},
        {"window_manager", &skin.window_manager},
        {"window_option", &skin.window_option},
        {"window_other", &skin.window_other},
    };
    for (const auto& [name, window] : windows)
        add_window(pairs, name, *window);
    if (skin.splash.custom) {
        pairs.push_back(
            {"splash.progress_label", skin.splash.progress_label.font_color, skin.splash.background});
        pairs.push_back(
            {"splash.version_label", skin.splash.version_label.font_color, skin.splash.background});
    }
    return pairs;
}

} // namespace tkv
