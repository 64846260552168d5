#include "appearance/caption_defaults.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tkv {
namespace {

TEST(CaptionDefaults, QuotedTexts) {
    const struct {
        int slot;
        const char* text;
    } cases[] = {
        {1, "&Ok"},
        {20, "%1 (v%2)"},
        {21, "Built-in"},
        {73, "       Date: %1, %2"}, // leading blanks are part of the text
        {98, ""},                    // the about text's empty line
        {109, "%1 / %2 KBytes (%3%%)"},
        {163, "Save  (%1)"},
        {200, ""}, // the mail window's message starts empty
        {438, "Select directory to save language files to: "},
        {469, "No skins found!%R%RSkins must be placed in the SKINS\\\"skin name\" subdirectory.%R%R"
              "All skins' directory must contain a correspondent SKIN.INI file."},
        {548, "Skin size:        %1 KBytes%R%R"},
        {556, "\"Defaults to all\" button enabled"},
        {560, "%1 - Error!"},
        {561, "%1 - Attention!"},
        {562, "%1 - Question"},
        {563, "%1 - Information"},
        {585, "Trickvault is running from CD. No update or modification is possible!"},
        {587, "Unpacking language file..."},
        {588, "Error unpacking language file!"},
        {616, "Statistics on %1"},
        {621, "You have launched Trickvault %1 times and viewed%R%2 information  (%3 characters)."},
        {751, "%R%1%RRegards,%R%2%Rmailto:%3"},
        {782, "(This window won't be displayed again if you don't change this program to a newer version.)"},
    };
    for (const auto& c : cases) {
        const char* text = caption_default_text(c.slot);
        ASSERT_NE(text, nullptr) << c.slot;
        EXPECT_EQ(std::string(text), c.text) << c.slot;
    }
}

TEST(CaptionDefaults, SlotsWithoutText) {
    // 351 is a slot no window uses; the others lie outside the built-in range.
    for (int slot : {-1, 0, 351, 783, 800, 1000, 1001})
        EXPECT_EQ(caption_default_text(slot), nullptr) << slot;
}

TEST(CaptionDefaults, TextsAreSingleLineAndOnlyTheKnownOnesEmpty) {
    // Line breaks are written as "%R"; the table expands them once it is filled.
    int with_text = 0;
    for (int slot = 1; slot <= 999; ++slot) {
        const char* text = caption_default_text(slot);
        if (text == nullptr) continue;
        ++with_text;
        const std::string_view view(text);
        if (slot != 98 && slot != 200) {
            EXPECT_FALSE(view.empty()) << slot;
        }
        for (const char c : view)
            EXPECT_GE(static_cast<unsigned char>(c), 32) << slot;
    }
    EXPECT_GT(with_text, 500);
}

TEST(CaptionDefaults, WelcomeLinesEndInABreak) {
    // The first-launch text joins slots 5 to 15 without separators.
    for (int slot = 5; slot <= 15; ++slot) {
        const char* text = caption_default_text(slot);
        ASSERT_NE(text, nullptr) << slot;
        EXPECT_TRUE(std::string_view(text).ends_with("%R")) << slot;
    }
}

} // namespace
} // namespace tkv
