#pragma once
// A skin: colours, fonts, pictures and title bars of every window group, and the splash screen.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tkv {

// An RGB colour with red in the lowest byte (red + 256 * green + 65536 * blue); skin.ini writes it
// as RRGGBB.
using SkinColor = std::uint32_t;

constexpr SkinColor skin_rgb(int red, int green, int blue) {
    return static_cast<SkinColor>(red) | static_cast<SkinColor>(green) << 8 |
           static_cast<SkinColor>(blue) << 16;
}
constexpr int skin_red(SkinColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int skin_green(SkinColor c) {
    return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int skin_blue(SkinColor c) {
    return static_cast<int>(c >> 16 & 0xFF);
}

// Font style bits.
enum SkinFontStyle : std::uint8_t { font_bold = 1, font_italic = 2, font_underline = 4 };

struct SKINS_ITEM_TYPE {
    SkinColor color = 0;
    SkinColor font_color = 0;
    std::string font_name;
    int font_size = 8;
    std::uint8_t font_style = 0;
};

struct SKINS_WORDCAP_TYPE {
    SkinColor left_active = 0;
    SkinColor right_active = 0;
    SkinColor left_inactive = 0;
    SkinColor right_inactive = 0;
    SkinColor active_text = 0;
    SkinColor inactive_text = 0;
    bool system_font = true;
    std::string font_name;
    int font_size = 8;
    std::uint8_t font_style = 0;
    std::uint8_t alignment = 0; // 0 left, 1 centre, 2 right; other values: left
};

struct SKINS_WINDOWS_TYPE {
    SkinColor background = 0;
    SKINS_ITEM_TYPE buttons;
    SKINS_ITEM_TYPE panels;
    SKINS_ITEM_TYPE fields;
    SKINS_ITEM_TYPE labels_panel;
    SKINS_ITEM_TYPE labels_normal;
    SKINS_WORDCAP_TYPE title;
};

struct SKINS_SPLASH_LABEL_TYPE {
    int left = 0, right = 0, top = 0, bottom = 0; // pixels at scale 1
    SkinColor font_color = 0;
    std::string font_name;
    int font_size = 8;
    std::uint8_t font_style = 0;
    int alignment = 1; // 0 left, 1 centre, 2 right
};

struct SKINS_SPLASH_TYPE {
    bool custom = false;
    SKINS_SPLASH_LABEL_TYPE progress_label;
    SKINS_SPLASH_LABEL_TYPE version_label;
    SkinColor background = 0;
};

struct SKINS_FONT_TYPE {
    std::string name; // face name, lower case
    std::string file; // full path of the font file in the skin's folder
};

constexpr std::size_t skin_fonts_max = 43;
constexpr std::size_t skins_max = 2000;

// Background, border, bar gradient start, bar gradient end.
using SkinProgressColors = std::array<SkinColor, 4>;

struct SKINS_TYPE {
    std::string folder; // under skins/, lower case; empty for the built-in skin
    std::string name;
    std::string version;
    std::string maker;
    std::string email;
    std::string homepage;
    std::string program_version;
    std::vector<SKINS_FONT_TYPE> fonts; // at most skin_fonts_max
    SKINS_WINDOWS_TYPE window_about;
    SKINS_WINDOWS_TYPE window_download;
    SKINS_WINDOWS_TYPE window_information;
    SKINS_WINDOWS_TYPE window_main;
    SKINS_WINDOWS_TYPE window_manager;
    SKINS_WINDOWS_TYPE window_option;
    SKINS_WINDOWS_TYPE window_other;
    SKINS_SPLASH_TYPE splash;
    SkinProgressColors progress_download{};
    SkinProgressColors progress_other{};
    bool main_data_visible = true;
    std::uint8_t info_font_style = 0;
};

} // namespace tkv
