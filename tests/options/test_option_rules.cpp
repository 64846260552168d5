// The options window's rules without a window.

#include <gtest/gtest.h>

#include "options/option_rules.h"

namespace tkv {
namespace {

TEST(OptionRules, SelectByTextAndNumberItems) {
    const std::vector<std::string> printers = {"PDF", "Office Laser", "laser"};
    EXPECT_EQ(select_by_text(printers, "office laser", 0), 1);
    EXPECT_EQ(select_by_text(printers, "LASER", 0), 2);
    EXPECT_EQ(select_by_text(printers, "Gone", 0), 0);
    EXPECT_EQ(select_by_text({}, "x", -1), -1);

    EXPECT_EQ(autorun_delay_items().size(), 91u);
    EXPECT_EQ(autorun_delay_items()[90], "90");
    const auto saves = autosave_items();
    EXPECT_EQ(select_by_text(saves, "15", 0), 6);
    EXPECT_EQ(select_by_text(saves, "7", 0), 0) << "a count not offered selects the first item";
    EXPECT_EQ(autosave_count("25"), 25);
    EXPECT_EQ(autosave_count("x"), 10);
    const auto sizes = print_font_size_items();
    EXPECT_EQ(sizes.front(), "4");
    EXPECT_EQ(sizes.back(), "24");
    EXPECT_EQ(select_by_text(sizes, "13", 0) + print_font_size_first, 13);
    for (const auto& [stored, index] : std::vector<std::pair<int, int>>{{0, 0}, {4, 4}, {5, 2}, {-1, 2}})
        EXPECT_EQ(version_check_period_index(stored, 2), index) << stored;
}

TEST(OptionRules, MoveWindowsSideBySideOrStacked) {
    const ScreenRect main{300, 200, 538, 351}, options{310, 220, 538, 351};
    struct Case {
        ScreenRect work;
        SidePlacement expected;
    };
    const Case cases[] = {
        // Wide enough for both: side by side at the top.
        {{0, 0, 1280, 1024}, {0, 0, 538, 0}},
        // Narrow and low: the main window right, this one at the bottom left.
        {{10, 20, 800, 600}, {10 + 800 - 538, 20, 10, 20 + 600 - 351}},
        // Narrow but tall: one over the other at the left.
        {{0, 0, 800, 1200}, {0, 0, 0, 351}},
    };
    for (const Case& c : cases) {
        const SidePlacement p = move_windows_placement(c.work, main, options);
        EXPECT_EQ(p.main_left, c.expected.main_left);
        EXPECT_EQ(p.main_top, c.expected.main_top);
        EXPECT_EQ(p.options_left, c.expected.options_left);
        EXPECT_EQ(p.options_top, c.expected.options_top);
    }
}

} // namespace
} // namespace tkv
