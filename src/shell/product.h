#pragma once
// Fixed facts about the program that files, captions and servers carry.

#include <string_view>

namespace tkv {

inline constexpr std::string_view product_name = "Trickvault";
inline constexpr std::string_view product_version = "3.50";
// The publisher's main server: the default server, the fallback entry of the server list and
// the server asked for a fresh list.
inline constexpr std::string_view main_server_address = "http://www.trickvault.example/";

} // namespace tkv
