#pragma once
// The publisher's addresses and names. A build for a real publisher sets them with
// -DTKV_<NAME>="..." on the compiler command line (CMake: TKV_PUBLISHER_DEFINITIONS).

#include <string_view>

#ifndef TKV_MAIN_SERVER_ADDRESS
#define TKV_MAIN_SERVER_ADDRESS "http://www.trickvault.example/"
#endif
#ifndef TKV_HOME_PAGE_ADDRESS
#define TKV_HOME_PAGE_ADDRESS "http://www.trickvault.example/"
#endif
#ifndef TKV_PUBLISHER_INFO_ADDRESS
#define TKV_PUBLISHER_INFO_ADDRESS "info@trickvault.example"
#endif
#ifndef TKV_PUBLISHER_CHEATS_ADDRESS
#define TKV_PUBLISHER_CHEATS_ADDRESS "cheats@trickvault.example"
#endif
#ifndef TKV_PUBLISHER_DISPLAY_NAME
#define TKV_PUBLISHER_DISPLAY_NAME "Trickvault Team"
#endif
#ifndef TKV_AUTHOR_NAME
#define TKV_AUTHOR_NAME "The Trickvault Team"
#endif

namespace tkv {

// The main server: the default server, the fallback entry of the server list and the server
// asked for a fresh list. An "http://" base address ending in "/".
inline constexpr std::string_view main_server_address = TKV_MAIN_SERVER_ADDRESS;
// The program's home page, written into exported documents and e-mails.
inline constexpr std::string_view home_page_address = TKV_HOME_PAGE_ADDRESS;
inline constexpr std::string_view publisher_info_address = TKV_PUBLISHER_INFO_ADDRESS;
inline constexpr std::string_view publisher_cheats_address = TKV_PUBLISHER_CHEATS_ADDRESS;
inline constexpr std::string_view publisher_display_name = TKV_PUBLISHER_DISPLAY_NAME;
inline constexpr std::string_view author_name = TKV_AUTHOR_NAME;

} // namespace tkv
