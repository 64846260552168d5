// Contrast ratios as the accessibility guidelines compute them, and the skins that ship with the
// program held to them: every text they declare reads at level AA, in fonts every Debian desktop has.

#include "appearance/contrast.h"
#include "appearance/skin_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace tkv {
namespace {

const std::string shipped = TKV_SHIPPED_SKINS "/";
const char* const shipped_folders[] = {"night", "paper", "contrast"};

TEST(Contrast, RatiosOfKnownColourPairs) {
    const struct {
        const char* text;
        const char* background;
        double ratio;
    } cases[] = {
        {"000000", "FFFFFF", 21.0}, {"FFFFFF", "000000", 21.0}, // either way round
        {"777777", "777777", 1.0},  {"777777", "FFFFFF", 4.48}, // the grey that just fails AA on white
        {"767676", "FFFFFF", 4.54}, {"FF0000", "FFFFFF", 4.00}, // pure red weighs little
        {"0000FF", "FFFFFF", 8.59}, {"00FF00", "000000", 15.30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " on " + c.background);
        EXPECT_NEAR(contrast_ratio(parse_skin_color(c.text), parse_skin_color(c.background)), c.ratio, 0.01);
    }
    EXPECT_DOUBLE_EQ(relative_luminance(skin_rgb(255, 255, 255)), 1.0);
    // Below the sRGB knee a channel is linear: 10 / 255 / 12.92 for red weighs 0.2126 of that.
    EXPECT_NEAR(relative_luminance(skin_rgb(10, 0, 0)), 0.2126 * 10 / 255 / 12.92, 1e-9);
}

TEST(Contrast, PairsNameEveryTextWhereTheWindowsDrawIt) {
    SKINS_TYPE skin = skins_setdefault({});
    skin.window_main.labels_normal.font_color = skin_rgb(1, 2, 3);
    skin.window_main.background = skin_rgb(4, 5, 6);
    skin.window_option.title.inactive_text = skin_rgb(7, 8, 9);
    skin.window_option.title.right_inactive = skin_rgb(10, 11, 12);
    skin.window_about.labels_panel.color = skin_rgb(13, 14, 15);
    skin.window_about.panels.color = skin_rgb(16, 17, 18);
    const auto pairs = skin_text_pairs(skin);
    const auto find = [&](const std::string& where) {
        const auto it =
            std::find_if(pairs.begin(), pairs.end(), [&](const SkinTextPair& p) { return p.where == where; });
        EXPECT_NE(it, pairs.end()) << where;
        return it == pairs.end() ? SkinTextPair{} : *it;
    };
    const struct {
        const char* where;
        SkinColor text, background;
    } expected[] = {
        {"window_main.labels_normal", skin_rgb(1, 2, 3), skin_rgb(4, 5, 6)},
        {"window_option.title.inactive_text.right", skin_rgb(7, 8, 9), skin_rgb(10, 11, 12)},
        {"window_about.labels_panel.link", skin_rgb(13, 14, 15), skin_rgb(16, 17, 18)},
    };
    for (const auto& e : expected) {
        const SkinTextPair p = find(e.where);
        EXPECT_EQ(p.text, e.text) << e.where;
        EXPECT_EQ(p.background, e.background) << e.where;
    }
    // Eleven texts in each of the seven windows; the splash labels only with a skin's own splash.
    EXPECT_EQ(pairs.size(), 77u);
    skin.splash.custom = true;
    EXPECT_EQ(skin_text_pairs(skin).size(), 79u);
}

TEST(ShippedSkins, EveryTextReadsAtLevelAA) {
    for (const char* folder : shipped_folders) {
        SCOPED_TRACE(folder);
        const auto skin = skins_load(shipped, folder, skins_setdefault({}));
        ASSERT_TRUE(skin);
        EXPECT_TRUE(skin->splash.custom); // its own splash picture, and its labels checked below
        for (const SkinTextPair& pair : skin_text_pairs(*skin))
            EXPECT_GE(contrast_ratio(pair.text, pair.background), contrast_minimum_aa)
                << pair.where << ": " << skin_color_text(pair.text) << " on "
                << skin_color_text(pair.background);
    }
    // The high-contrast skin goes well beyond the minimum: level AAA (7:1) everywhere.
    const auto high = skins_load(shipped, "contrast", skins_setdefault({}));
    ASSERT_TRUE(high);
    for (const SkinTextPair& pair : skin_text_pairs(*high))
        EXPECT_GE(contrast_ratio(pair.text, pair.background), 7.0) << pair.where;
}

TEST(ShippedSkins, UseOnlyTheFontsEveryDebianDesktopHas) {
    const std::set<std::string> debian_fonts{"dejavu sans", "dejavu serif", "dejavu sans mono",
                                             "sans-serif",  "serif",        "monospace"};
    for (const char* folder : shipped_folders) {
        SCOPED_TRACE(folder);
        const auto skin = skins_load(shipped, folder, skins_setdefault({}));
        ASSERT_TRUE(skin);
        EXPECT_TRUE(skin->fonts.empty()) << "a skin that ships brings no font files";
        std::vector<std::string> names{skin->splash.progress_label.font_name,
                                       skin->splash.version_label.font_name};
        for (const auto* w :
             {&skin->window_about, &skin->window_download, &skin->window_information, &skin->window_main,
              &skin->window_manager, &skin->window_option, &skin->window_other}) {
            for (const auto* item :
                 {&w->buttons, &w->panels, &w->fields, &w->labels_panel, &w->labels_normal})
                names.push_back(item->font_name);
            names.push_back(w->title.font_name);
        }
        for (const std::string& name : names)
            EXPECT_TRUE(debian_fonts.contains(name)) << name;
    }
}

} // namespace
} // namespace tkv
