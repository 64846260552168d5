#pragma once
// Every user setting, one field per tkv.ini key, in the order the file lists them.

#include <cstdint>
#include <string>

#include "shell/datetime.h"

namespace tkv {

// Bits of OPTIONS_TYPE::info_style.
enum InfoStyle : std::uint8_t { info_style_bold = 1, info_style_italic = 2, info_style_underline = 4 };

// The information text's size offset in points, and the largest window size kept, in pixels.
inline constexpr std::int32_t info_text_size_offset_min = -10;
inline constexpr std::int32_t info_text_size_offset_max = 20;
inline constexpr std::int32_t window_size_max = 16384;

// Custom title bar choices.
enum TitleBarChoice : std::uint8_t { title_bar_never = 0, title_bar_automatic = 1, title_bar_always = 2 };

struct OPTIONS_TYPE {
    // general
    bool use_internal_language = true;
    std::string language_file;
    bool last_profile_autorun = true;
    std::int32_t last_profile_autorun_time = 30; // seconds
    bool manager_hidden_after_exit = true;
    std::string last_profile_id;
    bool exit_on_game_run = true;
    std::uint8_t donate_count = 3;
    DateTime donate_last_shown;
    // file download
    std::string download_folder; // initialize_defaults: the user's download folder
    std::uint8_t exe_download_action = 1;
    std::uint8_t other_download_action = 1;
    // internet
    bool open_url_on_click = true;
    bool copy_url_on_click = false;
    bool internal_mail = true;
    std::string smtp_server;
    std::string smtp_port = "25";
    std::string user_name;
    std::string user_email;
    // database
    bool autosave = true;
    std::uint8_t autosave_after = 10;
    bool show_save_message = true;
    bool offer_send_after_adding = true;
    bool remember_last_game = true;
    bool ignore_case = true;
    // editor
    bool add_button_visible = true;
    bool modify_button_visible = true;
    bool delete_button_visible = true;
    // save text
    std::string save_folder; // initialize_defaults: the user's documents folder
    bool save_to_last_folder = true;
    std::uint8_t save_file_type = 3;
    // print
    std::string printer_name;
    std::string print_font_name = "Courier New";
    std::uint8_t print_font_size = 10;
    bool fixed_width_fonts_only = true;
    bool print_confirmation = true;
    bool selective_print = true;
    std::string print_selection = "111"; // files, home pages, user text: "1" prints the part
    // visual
    bool show_splash = true;
    bool save_window_position = true;
    std::int32_t window_x = -1;
    std::int32_t window_y = -1;
    bool exit_effect = true;
    std::uint8_t custom_title_bar = title_bar_automatic;
    bool custom_title_bar_active = false; // derived at start-up, not in the file
    bool show_edit_buttons = true;
    bool show_skin_loading = true;
    // skins
    bool use_skin = false;
    bool random_skin = false;
    std::string skin_name;
    // information window
    bool info_style_enabled = true;
    std::uint8_t info_style = 0; // InfoStyle bits
    std::string info_font_name = "Courier New";
    std::int32_t info_text_size_offset = 0; // points added to the information text's font (Ctrl+plus, Ctrl+minus)
    // upgrade
    bool download_with_default_program = true;
    bool auto_download_upgrade_info = true;
    bool auto_download_skin_previews = true;
    bool auto_download_only_connected = true;
    bool store_upgrade_info = true;
    bool simple_skin_download = true;
    bool version_check_at_start = true;
    DateTime version_check_time;
    bool version_check_only_connected = true;
    std::int32_t version_check_period = 2;
    // server
    bool main_server_only = true;
    std::string server;
    bool use_proxy = false;
    std::string proxy_server;
    std::string proxy_port = "80";
    std::string proxy_user;
    std::string proxy_password; // plain text, as the file format requires
    // upgrade skins
    std::int32_t skin_rating_low = 3;
    std::int32_t skin_rating_high = 5;
    std::string skin_category = "0";
    // options window
    bool defaults_all_enabled = true;
    bool defaults_here_enabled = true;
    bool save_last_option = true;
    std::int32_t last_option = 0;
    // window sizes: 0 is the designed size
    std::int32_t main_window_width = 0;
    std::int32_t main_window_height = 0;
    bool main_window_maximised = false;
    std::int32_t info_window_width = 0;
    std::int32_t info_window_height = 0;
    bool info_window_maximised = false;
};

// The default of every setting: the member initialisers above plus the values that depend on
// the machine and the day (the owner's name, the user's download and documents folders, the
// version check 30 days ago, the main server).
OPTIONS_TYPE initialize_defaults(const std::string& owner_name, DateTime now);

} // namespace tkv
