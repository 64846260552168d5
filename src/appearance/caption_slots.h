// The caption slots the program uses, by what their text is where it is shown. Language files and
// the table of English defaults are keyed by these numbers, so a number never changes; where code
// walks a range of slots, the first (and last) slot of the range is named.
#pragma once

namespace tkv::caption_slot {

// first launch, the notes of a new version and the version check window
inline constexpr int version_ok_button = 1;
inline constexpr int first_launch_title = 2;
inline constexpr int first_launch_welcome = 3;
inline constexpr int first_launch_current_version = 4;
inline constexpr int first_launch_notes_first = 5;
inline constexpr int first_launch_notes_last = 15;
inline constexpr int new_version_title = 16;
inline constexpr int new_version_welcome = 17;
inline constexpr int new_version_changes_since = 18;
inline constexpr int version_notes_thanks = 19;
inline constexpr int version_check_title = 37;
inline constexpr int version_check_checking = 38;
inline constexpr int version_check_cancel_button = 39;
inline constexpr int version_check_home_page_button = 40;
inline constexpr int version_check_ok_button = 41;
inline constexpr int version_check_newest_version = 42;
inline constexpr int notes_3_10_first = 672;
inline constexpr int notes_3_10_last = 684;
inline constexpr int notes_3_11_first = 714;
inline constexpr int notes_3_11_last = 717;
inline constexpr int notes_3_12_first = 752;
inline constexpr int notes_3_12_last = 755;
inline constexpr int notes_3_50 = 758;

// language window
inline constexpr int language_title = 20;
inline constexpr int language_built_in = 21;

// first-run settings window
inline constexpr int first_settings_title = 22;
inline constexpr int first_settings_ok_button = 23;
inline constexpr int first_settings_cancel_button = 24;
inline constexpr int first_settings_mail_label = 25;
inline constexpr int first_settings_internal_mail = 26;
inline constexpr int first_settings_smtp_server_label = 27;
inline constexpr int first_settings_smtp_port_label = 28;
inline constexpr int first_settings_user_name_label = 29;
inline constexpr int first_settings_user_email_label = 30;
inline constexpr int first_settings_internet_label = 31;
inline constexpr int first_settings_proxy_first = 32;
inline constexpr int first_settings_help_button = 626;

// main window: title, buttons, labels, menu and its messages
inline constexpr int main_title = 43;
inline constexpr int main_quit_unsaved_question = 45;
inline constexpr int main_cheat_button = 46;
inline constexpr int main_search_button = 47;
inline constexpr int main_view_button = 48;
inline constexpr int main_print_button = 49;
inline constexpr int main_save_text_button = 50;
inline constexpr int main_add_button = 51;
inline constexpr int main_modify_button = 52;
inline constexpr int main_delete_button = 53;
inline constexpr int main_save_database_menu = 54;
inline constexpr int main_options_button = 57;
inline constexpr int main_about_menu = 58;
inline constexpr int main_exit_button = 59;
inline constexpr int main_program_name = 60;
inline constexpr int main_program_version = 61;
inline constexpr int main_program_maker = 62;
inline constexpr int main_web_address = 63;
inline constexpr int main_email_address = 64;
inline constexpr int main_game_count = 65;
inline constexpr int main_last_modified = 66;
inline constexpr int main_mail_subject = 80;
inline constexpr int main_delete_game_question = 81;
inline constexpr int main_copy_to_clipboard_menu = 82;
inline constexpr int main_run_game_menu = 83;
inline constexpr int main_game_path_menu = 84;
inline constexpr int main_shortcut_menu = 85;
inline constexpr int main_view_menu = 86;
inline constexpr int main_print_menu = 87;
inline constexpr int main_save_text_menu = 88;
inline constexpr int main_cancel_menu = 89;
inline constexpr int main_loading_title = 299;
inline constexpr int main_share_user_database_question = 331;
inline constexpr int main_send_info_menu = 718;
inline constexpr int main_delete_only_user_info = 757;
inline constexpr int main_others_button = 774;
inline constexpr int main_donate_menu = 775;
inline constexpr int main_profile_full = 800;
inline constexpr int main_no_game_selected = 801;
inline constexpr int main_search_everywhere_hint = 829;

// printing a game's information: the question, the page texts and the print window
inline constexpr int print_question = 67;
inline constexpr int print_printer_unsupported = 68;
inline constexpr int print_job_title = 69;
inline constexpr int print_page_footer = 70;
inline constexpr int print_header_game = 71;
inline constexpr int print_header_rows = 72;
inline constexpr int print_header_date = 73;
inline constexpr int print_header_program = 74;
inline constexpr int print_end_of_information = 75;
inline constexpr int print_title = 627;
inline constexpr int print_choose_label = 628;
inline constexpr int print_files_heading = 635;
inline constexpr int print_home_pages_heading = 636;
inline constexpr int print_user_text_heading = 637;
inline constexpr int print_save_as_default = 638;
inline constexpr int print_ok_button = 639;
inline constexpr int print_file_name = 640;
inline constexpr int print_file_address = 641;
inline constexpr int print_home_page_name = 642;
inline constexpr int print_home_page_address = 643;
inline constexpr int print_cancel_button = 668;
inline constexpr int print_file_description = 767;
inline constexpr int print_home_page_description = 768;
inline constexpr int print_choose_hint = 780;

// about window and donation window
inline constexpr int about_title = 90;
inline constexpr int about_program_name = 91;
inline constexpr int about_program_version = 92;
inline constexpr int about_program_maker = 93;
inline constexpr int about_web_address = 94;
inline constexpr int about_email_address = 95;
inline constexpr int about_ok_button = 96;
inline constexpr int about_memo_first = 97;
inline constexpr int about_memo_last = 106;
inline constexpr int donate_title = 776;
inline constexpr int donate_button = 777;
inline constexpr int donate_cancel_button = 778;
inline constexpr int donate_letter = 779;
inline constexpr int donate_times_left = 781;
inline constexpr int donate_last_time = 782;

// download window
inline constexpr int download_title = 107;
inline constexpr int download_cancel_button = 108;
inline constexpr int download_position = 109;
inline constexpr int download_speed = 110;
inline constexpr int download_time_left = 111;
inline constexpr int download_unknown_address = 113;

// game launch settings window
inline constexpr int gamerun_title = 114;
inline constexpr int gamerun_name_label = 115;
inline constexpr int gamerun_path_label = 116;
inline constexpr int gamerun_parameters_label = 118;
inline constexpr int gamerun_folder_label = 119;
inline constexpr int gamerun_choose_program_title = 125;
inline constexpr int gamerun_choose_folder_title = 126;
inline constexpr int gamerun_programs_filter = 127;
inline constexpr int gamerun_all_files_filter = 128;
inline constexpr int gamerun_program_missing_question = 129;

// information window
inline constexpr int info_view_title = 130;
inline constexpr int info_modify_title = 131;
inline constexpr int info_add_title = 132;
inline constexpr int info_name_label = 133;
inline constexpr int info_text_label = 134;
inline constexpr int info_ok_button = 135;
inline constexpr int info_run_button = 136;
inline constexpr int info_download_button = 137;
inline constexpr int info_others_button = 138;
inline constexpr int info_cancel_button = 139;
inline constexpr int info_copy_to_clipboard_menu = 140;
inline constexpr int info_print_menu = 141;
inline constexpr int info_save_text_menu = 142;
inline constexpr int info_edit_menu = 143;
inline constexpr int info_cancel_menu = 144;
inline constexpr int info_name_exists = 145;
inline constexpr int info_files_tab = 158;
inline constexpr int info_user_text_tab = 159;
inline constexpr int info_files_name_column = 160;
inline constexpr int info_files_address_column = 161;
inline constexpr int info_files_size_column = 162;
inline constexpr int info_save_file_title = 163;
inline constexpr int info_save_file_filter = 164;
inline constexpr int info_downloading_file = 165;
inline constexpr int info_download_failed = 166;
inline constexpr int info_downloaded_open_question = 167;
inline constexpr int info_downloaded_open_folder_question = 168;
inline constexpr int info_downloaded = 169;
inline constexpr int info_copied_open_question = 170;
inline constexpr int info_copied_open_folder_question = 171;
inline constexpr int info_copied = 172;
inline constexpr int info_copy_failed = 593;
inline constexpr int info_home_pages_tab = 596;
inline constexpr int info_visit_button = 597;
inline constexpr int info_home_pages_name_column = 598;
inline constexpr int info_home_pages_address_column = 599;
inline constexpr int info_send_info_menu = 719;
inline constexpr int info_characters_not_stored = 802;
inline constexpr int info_find_label = 837;
inline constexpr int info_find_count = 838;
inline constexpr int info_find_none = 839;

// saving a game's information to a file
inline constexpr int info_save_title = 185;
inline constexpr int info_saved = 186;
inline constexpr int info_save_failed = 187;
inline constexpr int info_save_html_filter = 188;
inline constexpr int info_save_windows_text_filter = 189;
inline constexpr int info_save_dos_text_filter = 190;
inline constexpr int info_save_rtf_filter = 191;

// e-mail window
inline constexpr int mail_title = 192;
inline constexpr int mail_send_button = 193;
inline constexpr int mail_sending_button = 194;
inline constexpr int mail_cancel_button = 195;
inline constexpr int mail_close_button = 196;
inline constexpr int mail_sender_label = 197;
inline constexpr int mail_recipient_label = 198;
inline constexpr int mail_subject_label = 199;
inline constexpr int mail_message = 200;
inline constexpr int mail_attach_user_database = 201;
inline constexpr int mail_enter_subject = 202;
inline constexpr int mail_enter_message = 203;
inline constexpr int mail_enter_subject_and_message = 204;
inline constexpr int mail_ready = 205;
inline constexpr int mail_step_first = 206;
inline constexpr int mail_step_failed_first = 207;
inline constexpr int mail_sent = 216;
inline constexpr int mail_no_smtp_server_warning = 217;

// search window
inline constexpr int search_title = 218;
inline constexpr int search_search_button = 219;
inline constexpr int search_view_button = 220;
inline constexpr int search_close_button = 221;
inline constexpr int search_name_label = 222;
inline constexpr int search_results_label = 223;
inline constexpr int search_results_searching = 224;
inline constexpr int search_results_count = 225;
inline constexpr int search_results_none = 226;
inline constexpr int search_similar_names_heading = 830;
inline constexpr int search_texts_label = 831;
inline constexpr int search_texts_preparing = 832;
inline constexpr int search_texts_count = 833;
inline constexpr int search_texts_none = 834;
inline constexpr int search_texts_suggestion = 835;
inline constexpr int search_texts_in_names = 836;

// profile manager
inline constexpr int manager_title = 227;
inline constexpr int manager_choose_profile_label = 228;
inline constexpr int manager_start_button = 229;
inline constexpr int manager_exit_button = 230;
inline constexpr int manager_shortcut_button = 231;
inline constexpr int manager_profiles_button = 232;
inline constexpr int manager_settings_button = 233;
inline constexpr int manager_language_button = 234;
inline constexpr int manager_profile_language = 235;
inline constexpr int manager_autorun_countdown = 236;
inline constexpr int manager_no_profiles = 237;
inline constexpr int manager_add_menu = 238;
inline constexpr int manager_rename_menu = 239;
inline constexpr int manager_delete_menu = 240;
inline constexpr int manager_cancel_menu = 241;
inline constexpr int manager_downloading_profile_list = 242;
inline constexpr int manager_profile_list_missing = 243;
inline constexpr int manager_no_more_profiles = 244;
inline constexpr int manager_delete_profile_question = 256;
inline constexpr int manager_delete_profile_files_question = 257;
inline constexpr int manager_too_many_profiles = 586;

// profile download window
inline constexpr int profile_download_title = 245;
inline constexpr int profile_download_list_label = 246;
inline constexpr int profile_download_row = 247;
inline constexpr int profile_download_button_size = 248;
inline constexpr int profile_download_button = 249;
inline constexpr int profile_download_cancel_button = 250;
inline constexpr int profile_download_downloading = 251;
inline constexpr int profile_download_failed = 252;
inline constexpr int profile_download_unpacking = 253;

// shortcut windows: their first slots, the descriptions they write, the launcher's name
inline constexpr int shortcut_game_first = 173;
inline constexpr int shortcut_profile_first = 258;
inline constexpr int shortcut_profile_comment = 613;
inline constexpr int shortcut_game_comment = 614;
inline constexpr int shortcut_name_reserved = 820;

// profile manager settings window
inline constexpr int manager_settings_title = 270;
inline constexpr int manager_settings_autorun = 274;
inline constexpr int manager_settings_exit_to_system = 276;
inline constexpr int manager_settings_main_server_only = 277;
inline constexpr int manager_settings_refresh_servers_button = 279;
inline constexpr int find_fastest_server_button = 280;
inline constexpr int manager_server_list_downloading = 281;
inline constexpr int manager_server_list_ask_main = 282;
inline constexpr int manager_server_list_failed = 283;
inline constexpr int manager_server_list_updated = 284;
inline constexpr int manager_settings_proxy_first = 285;

// fastest server window
inline constexpr int fastest_checking_title = 290;
inline constexpr int fastest_select_title = 291;
inline constexpr int fastest_pinging = 292;
inline constexpr int fastest_abort_button = 293;
inline constexpr int fastest_servers_label = 294;
inline constexpr int fastest_server_response = 295;
inline constexpr int fastest_server_unavailable = 296;
inline constexpr int fastest_select_button = 297;
inline constexpr int fastest_cancel_button = 298;

// task window: its titles and what it is doing
inline constexpr int task_title = 300;
inline constexpr int task_version_line = 301;
inline constexpr int task_processing = 304;
inline constexpr int task_listing = 305;
inline constexpr int task_finding_fonts = 312;
inline constexpr int task_loading_skins = 624;
inline constexpr int task_main_database_damaged = 803;

// saving the databases
inline constexpr int save_main_progress = 313;
inline constexpr int save_user_progress = 314;
inline constexpr int save_main_failed = 315;
inline constexpr int save_user_failed = 316;
inline constexpr int save_main_dialog_title = 317;
inline constexpr int save_user_dialog_title = 318;
inline constexpr int save_file_filter = 319;
inline constexpr int save_done = 324;

// sending the user database to the publisher
inline constexpr int share_mail_cancel_button = 332;
inline constexpr int share_mail_step_first = 333;
inline constexpr int share_mail_failed = 338;
inline constexpr int share_mail_sent = 339;

// options window: tree, titles, buttons
inline constexpr int options_tree_first = 346;
inline constexpr int options_title = 362;
inline constexpr int options_panel_title_first = 363;
inline constexpr int options_defaults_all = 556;
inline constexpr int options_defaults_here = 557;

// options panels: startup, downloads, Internet, database, editing, saving, print, look, font
inline constexpr int options_startup_defaults_label = 380;
inline constexpr int options_autorun_delay_label = 382;
inline constexpr int options_startup_other_label = 384;
inline constexpr int options_download_folder_label = 386;
inline constexpr int options_download_folder_browse_button = 387;
inline constexpr int options_download_folder_title = 388;
inline constexpr int options_exe_download_label = 389;
inline constexpr int options_other_download_label = 390;
inline constexpr int options_download_actions_first = 391;
inline constexpr int options_addresses_label = 396;
inline constexpr int options_address_click_opens = 397;
inline constexpr int options_address_click_copies = 398;
inline constexpr int options_mail_label = 399;
inline constexpr int options_internal_mail = 400;
inline constexpr int options_smtp_server_label = 401;
inline constexpr int options_smtp_port_label = 402;
inline constexpr int options_user_name_label = 403;
inline constexpr int options_user_email_label = 404;
inline constexpr int options_show_save_message = 406;
inline constexpr int options_remember_last_game = 407;
inline constexpr int options_ignore_case = 408;
inline constexpr int options_edit_buttons_label = 409;
inline constexpr int options_add_button_visible = 410;
inline constexpr int options_modify_button_visible = 411;
inline constexpr int options_delete_button_visible = 412;
inline constexpr int options_save_folder_label = 436;
inline constexpr int options_save_folder_browse_button = 437;
inline constexpr int options_save_folder_title = 438;
inline constexpr int options_save_fixed_folder = 439;
inline constexpr int options_save_last_folder = 440;
inline constexpr int options_save_type_label = 441;
inline constexpr int options_save_types_first = 442;
inline constexpr int options_printer_label = 446;
inline constexpr int options_print_font_label = 447;
inline constexpr int options_print_font_size_label = 448;
inline constexpr int options_fixed_width_fonts_hint = 451;
inline constexpr int options_no_printer = 454;
inline constexpr int options_look_label = 455;
inline constexpr int options_show_splash = 456;
inline constexpr int options_save_window_position = 457;
inline constexpr int options_exit_effect = 458;
inline constexpr int options_colored_captions_label = 459;
inline constexpr int options_skins_label = 461;
inline constexpr int options_use_skins = 463;
inline constexpr int options_random_skin = 464;
inline constexpr int options_skin_version = 466;
inline constexpr int options_skin_version_for_program = 467;
inline constexpr int options_no_skins = 469;
inline constexpr int options_info_font_style_label = 470;
inline constexpr int options_info_font_bold = 472;
inline constexpr int options_info_font_italic = 473;
inline constexpr int options_info_font_underline = 474;
inline constexpr int options_info_font_name_label = 475;
inline constexpr int options_show_skin_loading = 625;
inline constexpr int options_register_button = 645;
inline constexpr int options_colored_captions_choices_first = 764;

// options panels: refresh, servers, options
inline constexpr int options_download_label = 478;
inline constexpr int options_download_with_default_program = 479;
inline constexpr int options_auto_download_upgrade_info = 480;
inline constexpr int options_auto_download_skin_previews = 481;
inline constexpr int options_auto_download_only_connected = 482;
inline constexpr int options_not_connected = 483;
inline constexpr int options_connected = 484;
inline constexpr int options_refresh_other_label = 485;
inline constexpr int options_store_upgrade_info = 486;
inline constexpr int options_simple_skin_download = 487;
inline constexpr int options_check_for_new_label = 488;
inline constexpr int options_check_periods_first = 491;
inline constexpr int options_server_label = 496;
inline constexpr int options_main_server_only = 497;
inline constexpr int options_use_server_label = 498;
inline constexpr int options_server_list_downloading = 501;
inline constexpr int options_server_list_ask_main = 502;
inline constexpr int options_server_list_failed = 503;
inline constexpr int options_server_list_updated = 504;
inline constexpr int options_proxy_label = 505;
inline constexpr int options_proxy_first = 506;
inline constexpr int options_defaults_buttons_label = 555;
inline constexpr int options_other_label = 558;
inline constexpr int options_save_last_option = 559;

// program and database panels of the options window
inline constexpr int program_whats_new_label = 511;
inline constexpr int program_whats_new_hint = 512;
inline constexpr int program_notes_missing = 513;
inline constexpr int program_downloading_notes = 514;
inline constexpr int program_notes_unavailable = 515;
inline constexpr int program_no_newer_version = 516;
inline constexpr int program_newest_version = 517;
inline constexpr int program_home_page_label = 518;
inline constexpr int database_downloading_list = 521;
inline constexpr int database_list_unavailable = 522;
inline constexpr int database_comparing = 523;
inline constexpr int database_games_all = 770;
inline constexpr int database_games_main = 771;
inline constexpr int database_games_latest = 772;
inline constexpr int database_games_to_download = 773;

// skin catalogue: the panel, a skin's details and its e-mail
inline constexpr int skin_catalogue_count = 529;
inline constexpr int skin_catalogue_download_button = 530;
inline constexpr int skin_catalogue_filter_label = 531;
inline constexpr int skin_catalogue_selected_label = 532;
inline constexpr int skin_details_mail_subject = 533;
inline constexpr int skin_catalogue_preview_button = 534;
inline constexpr int skin_catalogue_downloading_preview = 535;
inline constexpr int skin_catalogue_not_stored = 536;
inline constexpr int skin_catalogue_downloading_list = 537;
inline constexpr int skin_catalogue_list_unavailable = 538;
inline constexpr int skin_catalogue_no_more_skins = 539;
inline constexpr int skin_catalogue_file_filter = 540;
inline constexpr int skin_catalogue_downloading_skin = 541;
inline constexpr int skin_catalogue_download_failed = 542;
inline constexpr int skin_catalogue_downloaded = 543;
inline constexpr int skin_catalogue_downloaded_install_question = 544;
inline constexpr int skin_catalogue_unpacking = 545;
inline constexpr int skin_catalogue_ignore_menu = 546;
inline constexpr int skin_info_file_name = 547;
inline constexpr int skin_info_size = 548;
inline constexpr int skin_info_name = 549;
inline constexpr int skin_info_version = 550;
inline constexpr int skin_info_author = 551;
inline constexpr int skin_info_author_email = 552;
inline constexpr int skin_info_author_home_page = 553;
inline constexpr int skin_info_unavailable = 554;
inline constexpr int skin_info_program_version = 611;
inline constexpr int skin_info_download = 612;
inline constexpr int skin_catalogue_processing_list = 615;
inline constexpr int skin_catalogue_download_all_button = 646;
inline constexpr int skin_catalogue_lowest_grade_label = 660;
inline constexpr int skin_catalogue_highest_grade_label = 661;
inline constexpr int skin_grade_first = 662;
inline constexpr int skin_catalogue_row = 667;
inline constexpr int skin_catalogue_category_label = 685;
inline constexpr int skin_catalogue_all_categories = 686;
inline constexpr int skin_category_first = 687;

// message box titles
inline constexpr int error_title = 560;
inline constexpr int attention_title = 561;
inline constexpr int question_title = 562;
inline constexpr int information_title = 563;
inline constexpr int message_title_first = error_title;
inline constexpr int message_title_last = information_title;

// database upgrade window
inline constexpr int upgrade_title = 564;
inline constexpr int upgrade_progress = 570;
inline constexpr int upgrade_cancel_button = 571;
inline constexpr int upgrade_downloading_file = 572;
inline constexpr int upgrade_download_failed_question = 576;
inline constexpr int upgrade_cancel_question = 578;
inline constexpr int upgrade_start_button = 669;

// unpacking archives, the read-only mode
inline constexpr int unpack_title = 579;
inline constexpr int unpack_overwrite_question = 580;
inline constexpr int unpack_failed_delete_question = 581;
inline constexpr int unpack_done_delete_question = 582;
inline constexpr int unpack_delete_failed = 583;
inline constexpr int unpack_deleted = 584;
inline constexpr int read_only_mode = 585;
inline constexpr int unpacking_language = 587;
inline constexpr int language_unpack_failed = 588;
inline constexpr int unpacking_profile = 589;
inline constexpr int profile_unpack_failed = 590;
inline constexpr int unpacking_skin = 591;
inline constexpr int skin_unpack_failed = 592;

// statistics window
inline constexpr int stat_title = 616;
inline constexpr int stat_close_button = 617;
inline constexpr int stat_summary = 621;
inline constexpr int stat_days_axis = 622;

// skin download window
inline constexpr int skin_download_title = 647;
inline constexpr int skin_download_count = 648;
inline constexpr int skin_download_row_waiting = 649;
inline constexpr int skin_download_row_downloading = 650;
inline constexpr int skin_download_row_unpacking = 651;
inline constexpr int skin_download_row_ready = 652;
inline constexpr int skin_download_overall = 653;
inline constexpr int skin_download_start_button = 654;
inline constexpr int skin_download_abort_button = 655;
inline constexpr int skin_download_downloading = 656;
inline constexpr int skin_download_unpacking = 657;
inline constexpr int skin_download_failed_question = 658;
inline constexpr int skin_download_done = 659;

// sending a game's information in e-mail
inline constexpr int send_info_no_smtp_server_warning = 720;
inline constexpr int send_info_title = 721;
inline constexpr int send_info_send_button = 722;
inline constexpr int send_info_sending_button = 723;
inline constexpr int send_info_cancel_button = 724;
inline constexpr int send_info_close_button = 725;
inline constexpr int send_info_recipient_label = 726;
inline constexpr int send_info_subject_label = 727;
inline constexpr int send_info_subject = 728;
inline constexpr int send_info_attachment_label = 729;
inline constexpr int send_info_no_attachment = 730;
inline constexpr int send_info_attachment = 731;
inline constexpr int send_info_mail_greeting = 732;
inline constexpr int send_info_mail_signature = 733;
inline constexpr int send_info_incomplete = 734;
inline constexpr int send_info_ready = 735;
inline constexpr int send_info_step_first = 736;
inline constexpr int send_info_step_failed_first = 737;
inline constexpr int send_info_sent = 746;
inline constexpr int send_info_mail_body = 751;

// start-up
inline constexpr int startup_delete_old_files_question = 750;

// backups of the user's notes, restoring, exporting and importing them
inline constexpr int save_backup_failed = 840;
inline constexpr int manager_restore_notes_menu = 841;
inline constexpr int manager_export_notes_menu = 842;
inline constexpr int manager_import_notes_menu = 843;
inline constexpr int restore_notes_title = 844;
inline constexpr int restore_notes_explanation = 845;
inline constexpr int restore_notes_date_column = 846;
inline constexpr int restore_notes_games_column = 847;
inline constexpr int restore_notes_notes_column = 848;
inline constexpr int restore_notes_differences_column = 849;
inline constexpr int restore_notes_differences = 850;
inline constexpr int restore_notes_added = 851;
inline constexpr int restore_notes_removed = 852;
inline constexpr int restore_notes_changed = 853;
inline constexpr int restore_notes_restore_button = 854;
inline constexpr int restore_notes_cancel_button = 855;
inline constexpr int manager_no_backups = 856;
inline constexpr int restore_notes_restored = 857;
inline constexpr int restore_notes_not_restored = 858;
inline constexpr int restore_notes_damaged = 859;
inline constexpr int manager_notes_file_label = 860;
inline constexpr int manager_export_title = 861;
inline constexpr int manager_import_title = 862;
inline constexpr int manager_exported = 863;
inline constexpr int manager_not_exported = 864;
inline constexpr int manager_not_imported = 865;
inline constexpr int manager_other_profile_question = 866;
inline constexpr int manager_imported = 867;
inline constexpr int manager_refused_characters = 868;
inline constexpr int manager_refused_full = 869;
inline constexpr int manager_keep_backups_question = 870;

// names a screen reader gives the controls that show no caption of their own
inline constexpr int main_games_list_name = 871;
inline constexpr int main_quick_search_name = 872;
inline constexpr int options_search_skins_again = 873;
inline constexpr int options_open_kept_copy = 874;
inline constexpr int options_download_again = 875;
inline constexpr int options_panels_name = 876;
inline constexpr int languages_list_name = 877;

// The help window: the manual's contents, back and forward, the search in the manual.
inline constexpr int help_title = 880;
inline constexpr int help_back_button = 881;
inline constexpr int help_forward_button = 882;
inline constexpr int help_search_label = 883;
inline constexpr int help_search_hint = 884;
inline constexpr int help_contents_name = 885;
inline constexpr int help_results_name = 886;
inline constexpr int help_page_name = 887;
inline constexpr int help_not_available = 888;

} // namespace tkv::caption_slot
