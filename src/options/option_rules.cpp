#include "options/option_rules.h"

#include "shell/numbers.h"
#include "shell/text.h"

namespace tkv {

int select_by_text(const std::vector<std::string>& items, std::string_view text, int fallback) {
    const std::string wanted = lower_text(text);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (lower_text(items[i]) == wanted) return static_cast<int>(i);
    return fallback;
}

std::vector<std::string> autorun_delay_items() {
    std::vector<std::string> items;
    for (int seconds = 0; seconds <= 90; ++seconds)
        items.push_back(std::to_string(seconds));
    return items;
}

std::vector<std::string> autosave_items() {
    return {"1", "2", "3", "4", "5", "10", "15", "20", "25"};
}

std::int32_t autosave_count(std::string_view item) {
    return parse_int(item, 10);
}

std::vector<std::string> print_font_size_items() {
    std::vector<std::string> items;
    for (int size = print_font_size_first; size <= 24; ++size)
        items.push_back(std::to_string(size));
    return items;
}

int version_check_period_index(std::int32_t stored, std::int32_t default_value) {
    return stored >= 0 && stored <= 4 ? stored : default_value;
}

SidePlacement move_windows_placement(ScreenRect w, ScreenRect main, ScreenRect options) {
    SidePlacement p;
    p.main_top = w.top;
    if (w.width >= 2 * options.width) {
        p.main_left = w.left;
        p.options_left = w.left + main.width;
        p.options_top = w.top;
    } else if (w.height < 2 * options.height) {
        p.main_left = w.left + w.width - main.width;
        p.options_left = w.left;
        p.options_top = w.top + w.height - options.height;
    } else {
        p.main_left = w.left;
        p.options_left = w.left;
        p.options_top = w.top + main.height;
    }
    return p;
}

} // namespace tkv
