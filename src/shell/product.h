#pragma once
// Fixed facts about the program that files, captions and servers carry.

#include <string_view>

namespace tkv {

inline constexpr std::string_view product_name = "Trickvault";
inline constexpr std::string_view product_version = "3.50";

} // namespace tkv
