#pragma once
// How well a skin's texts stand out from what they are drawn on: the contrast ratio of the Web
// Content Accessibility Guidelines, from 1 (no contrast) to 21 (black on white).

#include <string>
#include <vector>

#include "appearance/skin_types.h"

namespace tkv {

// Normal-size text needs this ratio at least to be readable with moderately low vision (level AA).
constexpr double contrast_minimum_aa = 4.5;

// 0 for black to 1 for white, from the sRGB channels linearised.
double relative_luminance(SkinColor color);
// (lighter + 0.05) / (darker + 0.05), the same either way round.
double contrast_ratio(SkinColor a, SkinColor b);

// One text colour and the colour it is drawn on; where names it as `tkv skin show` names the item
// ("window_main.buttons", "window_main.labels_normal.link", "splash.version_label").
struct SkinTextPair {
    std::string where;
    SkinColor text = 0;
    SkinColor background = 0;
};

// Every text the skin declares with its background, as the windows draw them: each window's
// buttons, panels and fields on their own colour, its labels on the window (normal) or on the
// panels (panel), link labels' hover colour likewise, title texts on both ends of their gradient,
// and a custom splash screen's labels on its background colour.
std::vector<SkinTextPair> skin_text_pairs(const SKINS_TYPE& skin);

} // namespace tkv
