#include "shell/config_file.h"

#include "shell/backups.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/product.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <array>
#include <variant>

namespace tkv {

namespace {

enum class Rule {
    Bool,         // parse_bool
    Text,         // as is
    Folder,       // as is, but the old Windows default "c:\" leaves the value (the user's folder)
    Date,         // parse_date, written as a date text
    Range,        // parse_int_in_range(value, def, min, max)
    RangeCurrent, // parse_int_in_range(value, current, min, max)
    LowerOnly,    // parse_int_in_range(value, current, 0, current): can only be lowered
    Int,          // parse_int(value, def); an 8-bit field keeps the value modulo 256
};

using O = OPTIONS_TYPE;
using Field = std::variant<bool O::*, std::string O::*, DateTime O::*, std::uint8_t O::*, std::int32_t O::*>;

struct OptionKey {
    std::string_view section;
    std::string_view key;
    Field field;
    Rule rule;
    std::int32_t def = 0, min = 0, max = 0;
};

constexpr OptionKey B(std::string_view s, std::string_view k, bool O::*f) {
    return {s, k, f, Rule::Bool};
}
constexpr OptionKey T(std::string_view s, std::string_view k, std::string O::*f) {
    return {s, k, f, Rule::Text};
}
constexpr OptionKey F(std::string_view s, std::string_view k, std::string O::*f) {
    return {s, k, f, Rule::Folder};
}
constexpr OptionKey D(std::string_view s, std::string_view k, DateTime O::*f) {
    return {s, k, f, Rule::Date};
}
template <class I>
constexpr OptionKey N(std::string_view s, std::string_view k, I O::*f, Rule r, std::int32_t def = 0,
                      std::int32_t min = 0, std::int32_t max = 0) {
    return {s, k, f, r, def, min, max};
}

constexpr std::string_view general = "general", file_download = "file download", internet = "internet",
                           database = "database", editor = "editor", save_text = "save text", print = "print",
                           visual = "visual", skins = "skins", info_window = "information window",
                           upgrade = "upgrade", server = "server", upgrade_skins = "upgrade skins",
                           options_window = "options window", window_sizes = "window sizes";
constexpr std::string_view statistics = "statistics (for internal use only)";

// Every option key in the order the file is written.
const std::array option_keys{
    B(general, "use internal language", &O::use_internal_language),
    T(general, "language file", &O::language_file),
    T(general, "last profile id", &O::last_profile_id),
    B(general, "last profile autorun", &O::last_profile_autorun),
    N(general, "last profile autorun time", &O::last_profile_autorun_time, Rule::Range, 30, 0, 90),
    B(general, "dont show the manager after exit", &O::manager_hidden_after_exit),
    B(general, "automatically exit to os on game run", &O::exit_on_game_run),
    N(general, "show donate message # times", &O::donate_count, Rule::LowerOnly),
    D(general, "donate message was shown last", &O::donate_last_shown),
    F(file_download, "download directory", &O::download_folder),
    N(file_download, "task with the exe file after downloading", &O::exe_download_action, Rule::Range, 1, 0,
      4),
    N(file_download, "task with the non-exe file after downloading", &O::other_download_action, Rule::Range,
      1, 0, 4),
    B(internet, "start default program on click", &O::open_url_on_click),
    B(internet, "copy the url to the clipboard on click", &O::copy_url_on_click),
    B(internet, "dont use external email client", &O::internal_mail),
    T(internet, "smtp server", &O::smtp_server),
    T(internet, "smtp port", &O::smtp_port),
    T(internet, "name", &O::user_name),
    T(internet, "e-mail address", &O::user_email),
    B(database, "autosave database", &O::autosave),
    N(database, "autosave database after this amount of changes", &O::autosave_after, Rule::Int, 10),
    B(database, "show successful save message", &O::show_save_message),
    B(database, "after adding a cheat show send message on exit", &O::offer_send_after_adding),
    B(database, "remember last game", &O::remember_last_game),
    B(database, "small and large characters are equal", &O::ignore_case),
    B(editor, "add button visible", &O::add_button_visible),
    B(editor, "modify button visible", &O::modify_button_visible),
    B(editor, "delete button visible", &O::delete_button_visible),
    F(save_text, "save directory", &O::save_folder),
    B(save_text, "save to the last directory", &O::save_to_last_folder),
    N(save_text, "type of text file", &O::save_file_type, Rule::Range, 3, 0, 3),
    T(print, "printer name", &O::printer_name),
    T(print, "font name", &O::print_font_name),
    N(print, "font size", &O::print_font_size, Rule::Range, 10, 4, 24),
    B(print, "use fix width fonts only", &O::fixed_width_fonts_only),
    B(print, "confirmation", &O::print_confirmation),
    B(print, "selective print", &O::selective_print),
    T(print, "informations to print", &O::print_selection),
    B(visual, "show splash screen", &O::show_splash),
    B(visual, "save main windows position", &O::save_window_position),
    N(visual, "main windows x position", &O::window_x, Rule::Int, -1),
    N(visual, "main windows y position", &O::window_y, Rule::Int, -1),
    B(visual, "effect on exit", &O::exit_effect),
    N(visual, "custom coloured title bar", &O::custom_title_bar, Rule::RangeCurrent, 0, 0, 2),
    B(visual, "show add, modify and delete buttons", &O::show_edit_buttons),
    B(visual, "show loading skins window", &O::show_skin_loading),
    B(skins, "use skin", &O::use_skin),
    B(skins, "random skin", &O::random_skin),
    T(skins, "skins name", &O::skin_name),
    B(info_window, "use specific information text style", &O::info_style_enabled),
    N(info_window, "information texts style", &O::info_style, Rule::Range, 0, 0, 7),
    T(info_window, "information texts font name", &O::info_font_name),
    N(info_window, "information texts size offset", &O::info_text_size_offset, Rule::Range, 0,
      info_text_size_offset_min, info_text_size_offset_max),
    B(upgrade, "download with the systems default program", &O::download_with_default_program),
    B(upgrade, "automatically download upgrade informations", &O::auto_download_upgrade_info),
    B(upgrade, "automatically download skin previews", &O::auto_download_skin_previews),
    B(upgrade, "automatically download only when there is an internet connection",
      &O::auto_download_only_connected),
    B(upgrade, "store upgrade informations", &O::store_upgrade_info),
    B(upgrade, "download skins in simple mode", &O::simple_skin_download),
    B(upgrade, "automatic version check at startup", &O::version_check_at_start),
    D(upgrade, "automatic version checks time", &O::version_check_time),
    B(upgrade, "automatic version check only when there is an internet connection",
      &O::version_check_only_connected),
    N(upgrade, "automatic version checks period", &O::version_check_period, Rule::Range, 2, 0, 4),
    B(server, "use only main server", &O::main_server_only),
    T(server, "use this server", &O::server),
    B(server, "use proxy", &O::use_proxy),
    T(server, "httt proxy server", &O::proxy_server),
    T(server, "httt proxy port", &O::proxy_port),
    T(server, "httt proxy user name", &O::proxy_user),
    T(server, "httt proxy user password", &O::proxy_password),
    N(upgrade_skins, "skin rating lower value", &O::skin_rating_low, Rule::Range, 3, 1, 5),
    N(upgrade_skins, "skin rating upper value", &O::skin_rating_high, Rule::Range, 5, 1, 5),
    T(upgrade_skins, "skin category", &O::skin_category),
    B(options_window, "defaults all button enabled", &O::defaults_all_enabled),
    B(options_window, "defaults here button enabled", &O::defaults_here_enabled),
    B(options_window, "save last viewed option", &O::save_last_option),
    N(options_window, "last viewed option", &O::last_option, Rule::Range, 0, 0, 15),
    N(window_sizes, "main window width", &O::main_window_width, Rule::Range, 0, 0, window_size_max),
    N(window_sizes, "main window height", &O::main_window_height, Rule::Range, 0, 0, window_size_max),
    B(window_sizes, "main window maximised", &O::main_window_maximised),
    N(window_sizes, "information window width", &O::info_window_width, Rule::Range, 0, 0, window_size_max),
    N(window_sizes, "information window height", &O::info_window_height, Rule::Range, 0, 0, window_size_max),
    B(window_sizes, "information window maximised", &O::info_window_maximised),
};

template <class... F> struct overloaded : F... { using F::operator()...; };
template <class... F> overloaded(F...) -> overloaded<F...>;

const OptionKey* find_key(std::string_view section_lower, std::string_view key) {
    for (const auto& k : option_keys)
        if (k.section == section_lower && k.key == key) return &k;
    return nullptr;
}

void apply_rule(OPTIONS_TYPE& o, const OptionKey& k, std::string_view value, DateTime now) {
    std::visit(overloaded{
                   [&](bool O::*f) { o.*f = parse_bool(value); },
                   [&](std::string O::*f) {
                       // An old file's "c:\" names no folder here: the default stays.
                       if (k.rule == Rule::Folder && ascii_lower_text(value) == "c:\\") return;
                       o.*f = std::string(value);
                   },
                   [&](DateTime O::*f) { o.*f = parse_date(value, now); },
                   [&](auto f) {
                       const std::int32_t current = o.*f;
                       std::int32_t v = current;
                       switch (k.rule) {
                       case Rule::Range:
                           v = parse_int_in_range(value, k.def, k.min, k.max);
                           break;
                       case Rule::RangeCurrent:
                           v = parse_int_in_range(value, current, k.min, k.max);
                           break;
                       case Rule::LowerOnly:
                           v = parse_int_in_range(value, current, 0, current);
                           break;
                       case Rule::Int:
                           v = parse_int(value, k.def);
                           break;
                       default:
                           break;
                       }
                       // An 8-bit field keeps the value modulo 256.
                       o.*f = static_cast<std::remove_reference_t<decltype(o.*f)>>(v);
                   },
               },
               k.field);
}

// A value can hold no line break in this format; one would start a line of its own.
std::string single_line(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

std::string value_text(const OPTIONS_TYPE& o, const OptionKey& k) {
    return std::visit(overloaded{
                          [&](bool O::*f) { return format_bool(o.*f); },
                          [&](std::string O::*f) { return single_line(o.*f); },
                          [&](DateTime O::*f) { return format_date(o.*f); },
                          [&](auto f) { return std::to_string(static_cast<std::int64_t>(o.*f)); },
                      },
                      k.field);
}

constexpr std::string_view crlf = "\r\n";

void begin_section(std::string& out, std::string_view name, bool& first) {
    if (!first) out += crlf;
    first = false;
    out.append("[").append(name).append("]").append(crlf);
}

void add_line(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append(crlf);
}

} // namespace

std::string ini_path(const VARIABLES_PROGRAM& variables) {
    return (variables.run_from_cd ? variables.windows_folder : variables.program_folder) + "tkv.ini";
}

void program_ini_load(const std::string& path, IniTargets t, DateTime now) {
    const std::string content = file_read_all(path);
    std::string section;
    for (const std::string& raw : split_lines(content)) {
        const std::string line = trim_controls(raw);
        if (line.size() < 3 || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() == ']') section = lower_text(line.substr(1, line.size() - 2));
            if (section == "#end#") break;
            continue;
        }
        if (line.find('=') == std::string::npos) continue;
        const std::string key = trim_controls(before_char(line, '='));
        const std::string value = trim_controls(after_char(line, '='));
        if (section == general && key == "first run") {
            t.first_run = parse_bool(value);
        } else if (section == general && key == "version") {
            t.stored_version = value;
        } else if (section == statistics) {
            if (key == "number of runs")
                t.stats.runs_total = stats_parse_count(value);
            else if (key == "number of viewed infromations")
                t.stats.viewed_total = stats_parse_count(value);
            else if (key == "bytes of viewed infromations")
                t.stats.viewed_chars_total = stats_parse_count(value);
            else if (key == "days")
                stats_add_line(t.stats, value, now);
        } else if (const OptionKey* k = find_key(section, key)) {
            apply_rule(t.options, *k, value, now);
        }
    }
}

void program_ini_load(const std::string& path, IniTargets targets) {
    program_ini_load(path, targets, current_datetime());
}

std::string options_ini_text(const OPTIONS_TYPE& options) {
    std::string out;
    bool first = true;
    std::string_view section;
    for (const auto& k : option_keys) {
        if (k.section != section) {
            section = k.section;
            begin_section(out, section, first);
            if (section == general) {
                add_line(out, "first run", "0");
                add_line(out, "version", product_version);
            }
        }
        add_line(out, k.key, value_text(options, k));
    }
    out += crlf;
    return out;
}

std::string program_ini_text(const OPTIONS_TYPE& options, const UsageStats& stats) {
    std::string out = options_ini_text(options);
    out.append("[").append(statistics).append("]").append(crlf);
    add_line(out, "number of runs", std::to_string(stats.runs_total));
    add_line(out, "number of viewed infromations", std::to_string(stats.viewed_total));
    add_line(out, "bytes of viewed infromations", std::to_string(stats.viewed_chars_total));
    for (const auto& d : stats.day_stats)
        add_line(out, "days",
                 format_date(d.day) + "," + std::to_string(d.runs) + "," + std::to_string(d.viewed) + "," +
                     std::to_string(d.viewed_chars));
    out.append(crlf).append("[#END#]").append(crlf);
    return out;
}

bool program_ini_save(const std::string& path, const OPTIONS_TYPE& options, const UsageStats& stats) {
    folder_create(folder_of_path(path));
    backup_before_replace(path, current_datetime());
    return write_file_atomic(path, program_ini_text(options, stats), /*owner_only=*/true);
}

std::optional<std::string> option_value_text(const OPTIONS_TYPE& options, std::string_view section,
                                             std::string_view key) {
    const OptionKey* k = find_key(lower_text(section), key);
    if (!k) return std::nullopt;
    return value_text(options, *k);
}

bool option_apply(OPTIONS_TYPE& options, std::string_view section, std::string_view key,
                  std::string_view value, DateTime now) {
    const OptionKey* k = find_key(lower_text(section), key);
    if (!k) return false;
    apply_rule(options, *k, value, now);
    return true;
}

} // namespace tkv
