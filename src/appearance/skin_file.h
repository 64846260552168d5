#pragma once
// The built-in skin and the reader of a skin's skin.ini in both of its dialects.

#include <optional>
#include <string>
#include <string_view>

#include "appearance/skin_types.h"

namespace tkv {

// The windowing system's title bar colours: the built-in skin's title bars follow them.
struct SystemTitleColors {
    SkinColor active = 0;
    SkinColor inactive = 0;
    SkinColor gradient_active = 0;
    SkinColor gradient_inactive = 0;
    SkinColor active_text = 0;
    SkinColor inactive_text = 0;
    bool gradient_captions = false;
};

SKINS_TYPE skins_setdefault(const SystemTitleColors& system);

// Value syntaxes of skin.ini. A colour is RRGGBB: shorter texts are padded with "0", longer ones
// cut, other characters than hexadecimal digits count as 0.
SkinColor parse_skin_color(std::string_view text);
std::string skin_color_text(SkinColor color); // six upper-case digits, red first
// "color,font color,font name,font size,font style"
SKINS_ITEM_TYPE parse_skin_item(std::string_view value);
// "left active,right active,left inactive,right inactive,text active,text inactive,system font,
// font name,font size,font style,alignment"
SKINS_WORDCAP_TYPE parse_skin_title(std::string_view value);
// "left,top,right,bottom,font color,font name,font size,font style,alignment"
SKINS_SPLASH_LABEL_TYPE parse_skin_splash_label(std::string_view value);

// Reads skins_folder + folder + "/skin.ini" over a copy of skin_default. Folder names are matched
// without regard to letter case; the result's folder is the ASCII lower case of the given one.
// Nothing when the folder or its skin.ini is missing, the file is unreasonably large, or it gives
// no name.
std::optional<SKINS_TYPE> skins_load(const std::string& skins_folder, const std::string& folder,
                                     const SKINS_TYPE& skin_default);

} // namespace tkv
