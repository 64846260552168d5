#pragma once
// The options window's rules that need no window: choosing a combo box item by its text, the
// item lists whose texts are numbers, and where the two windows go while a skin is previewed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

// The first item equal to text in lower case, else fallback.
int select_by_text(const std::vector<std::string>& items, std::string_view text, int fallback);

// "0" ... "90", the seconds before the last profile runs by itself (index = seconds).
std::vector<std::string> autorun_delay_items();
// The change counts offered for automatic saving.
std::vector<std::string> autosave_items();
// Read back from the selected item's text; 10 when it is no number.
std::int32_t autosave_count(std::string_view item);
// "4" ... "24", the print font sizes (index + 4 = points).
std::vector<std::string> print_font_size_items();
constexpr int print_font_size_first = 4;
// The version-check period's item: the stored value when it is one of the five, else the default's.
int version_check_period_index(std::int32_t stored, std::int32_t default_value);

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
};
struct SidePlacement {
    int main_left = 0, main_top = 0;
    int options_left = 0, options_top = 0;
};
// move_windows: the main window and the options window side by side in the work area, or one over
// the other when the area is not wide enough.
SidePlacement move_windows_placement(ScreenRect work_area, ScreenRect main, ScreenRect options);

} // namespace tkv
