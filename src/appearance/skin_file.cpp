#include "appearance/skin_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <utility>

#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/text.h"
#include "shell/text_lines.h"

namespace tkv {

namespace {

// Real skin.ini files are a few kilobytes; a larger one is not a skin and is never read whole.
constexpr std::int64_t skin_ini_max = 8 << 20;

// The parts of a value, separated by commas; the last part a syntax reads takes all the rest.
class ValueParts {
  public:
    explicit ValueParts(std::string_view value) : rest_(value) {}
    std::string_view next() {
        const std::size_t comma = rest_.find(',');
        const std::string_view part = rest_.substr(0, comma);
        rest_ = comma == std::string_view::npos ? std::string_view() : rest_.substr(comma + 1);
        return part;
    }
    std::string_view last() { return std::exchange(rest_, std::string_view()); }

  private:
    std::string_view rest_;
};

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::uint8_t parse_font_style(std::string_view text) {
    return static_cast<std::uint8_t>(parse_int_in_range(text, 0, 0, 7));
}

int parse_font_size(std::string_view text, int max = 24) {
    return parse_int_in_range(text, 8, 4, max);
}

SkinProgressColors parse_progress(std::string_view value) {
    ValueParts parts(value);
    SkinProgressColors colors{};
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = parse_skin_color(i + 1 < colors.size() ? parts.next() : parts.last());
    return colors;
}

SkinColor brighter(SkinColor c) {
    return skin_rgb(std::min(skin_red(c) + 64, 255), std::min(skin_green(c) + 64, 255),
                    std::min(skin_blue(c) + 64, 255));
}

SKINS_WINDOWS_TYPE builtin_window(const SystemTitleColors& system) {
    const auto item = [](SkinColor color, SkinColor font_color) {
        return SKINS_ITEM_TYPE{color, font_color, "verdana", 7, 0};
    };
    SKINS_WINDOWS_TYPE w;
    w.background = skin_rgb(0x45, 0x81, 0xB7);
    w.buttons = item(skin_rgb(0x99, 0xCC, 0xFF), 0);
    w.panels = item(skin_rgb(0x77, 0x99, 0xCC), 0);
    w.fields = item(skin_rgb(0x77, 0x99, 0xCC), 0);
    w.labels_panel = item(skin_rgb(0x99, 0xCC, 0xFF), 0);
    w.labels_normal = item(skin_rgb(0xBB, 0xEE, 0xFF), skin_rgb(0x99, 0xCC, 0xFF));
    SKINS_WORDCAP_TYPE& t = w.title;
    t.left_active = system.active;
    t.left_inactive = system.inactive;
    t.right_active = system.gradient_captions ? system.gradient_active : system.active;
    t.right_inactive = system.gradient_captions ? system.gradient_inactive : system.inactive;
    t.active_text = system.active_text;
    t.inactive_text = system.inactive_text;
    t.system_font = true;
    t.font_name = "verdana";
    t.font_size = 7;
    t.font_style = font_bold;
    t.alignment = 0;
    return w;
}

SKINS_SPLASH_LABEL_TYPE builtin_splash_label(int top, int bottom) {
    return {0, 250, top, bottom, skin_rgb(0x89, 0xBC, 0xEF), "verdana", 7, font_bold, 1};
}

// The state of reading one skin.ini.
struct SkinReading {
    SKINS_TYPE skin;
    std::string skin_path; // the skin's folder as named on disk, ending in "/"
    std::string section;   // lower case
    bool named = false;
    bool old_dialect = false;
    bool marked_a = false;
    bool marked_b = false;
};

using Apply = void (*)(SkinReading&, std::string_view);

struct KeyRule {
    std::string_view section;
    std::string_view key;
    Apply apply;
};

void set_name(SkinReading& r, std::string_view value) {
    r.skin.name = value;
    r.named = true;
}

template <std::string SKINS_TYPE::*field> void set_text(SkinReading& r, std::string_view value) {
    r.skin.*field = value;
}

const KeyRule current_rules[] = {
    {"skin informations", "name", set_name},
    {"skin informations", "version", set_text<&SKINS_TYPE::version>},
    {"skin informations", "madeby", set_text<&SKINS_TYPE::maker>},
    {"skin informations", "email", set_text<&SKINS_TYPE::email>},
    {"skin informations", "homepage", set_text<&SKINS_TYPE::homepage>},
    {"skin informations", "program version", set_text<&SKINS_TYPE::program_version>},
    {"splash screen", "custom",
     [](SkinReading& r, std::string_view v) { r.skin.splash.custom = parse_bool(v); }},
    {"splash screen", "progress label",
     [](SkinReading& r, std::string_view v) { r.skin.splash.progress_label = parse_skin_splash_label(v); }},
    {"splash screen", "version label",
     [](SkinReading& r, std::string_view v) { r.skin.splash.version_label = parse_skin_splash_label(v); }},
    {"splash screen", "background color",
     [](SkinReading& r, std::string_view v) { r.skin.splash.background = parse_skin_color(v); }},
    {"other", "progress (download)",
     [](SkinReading& r, std::string_view v) { r.skin.progress_download = parse_progress(v); }},
    {"other", "progress (other)",
     [](SkinReading& r, std::string_view v) { r.skin.progress_other = parse_progress(v); }},
    {"other", "main data visible",
     [](SkinReading& r, std::string_view v) { r.skin.main_data_visible = parse_bool(v); }},
    {"other", "info font style",
     [](SkinReading& r, std::string_view v) { r.skin.info_font_style = parse_font_style(v); }},
};

const std::pair<std::string_view, SKINS_WINDOWS_TYPE SKINS_TYPE::*> window_sections[] = {
    {"window about", &SKINS_TYPE::window_about},
    {"window download", &SKINS_TYPE::window_download},
    {"window information", &SKINS_TYPE::window_information},
    {"window main", &SKINS_TYPE::window_main},
    {"window manager", &SKINS_TYPE::window_manager},
    {"window option", &SKINS_TYPE::window_option},
    {"window other", &SKINS_TYPE::window_other},
};

const std::pair<std::string_view, SKINS_ITEM_TYPE SKINS_WINDOWS_TYPE::*> window_items[] = {
    {"buttons", &SKINS_WINDOWS_TYPE::buttons},
    {"panels", &SKINS_WINDOWS_TYPE::panels},
    {"fields", &SKINS_WINDOWS_TYPE::fields},
    {"labels (panel)", &SKINS_WINDOWS_TYPE::labels_panel},
    {"labels (normal)", &SKINS_WINDOWS_TYPE::labels_normal},
};

// The old dialect names its texts and a few single values directly ...
const KeyRule old_rules[] = {
    {"stilus", "nev", set_name},
    {"stilus", "verzio", set_text<&SKINS_TYPE::version>},
    {"keszito", "nev", set_text<&SKINS_TYPE::maker>},
    {"keszito", "email", set_text<&SKINS_TYPE::email>},
    {"keszito", "honlap", set_text<&SKINS_TYPE::homepage>},
    {"adatok", "adatok latszanak",
     [](SkinReading& r, std::string_view v) { r.skin.main_data_visible = parse_bool(v); }},
    {"adatok", "informacio kiirasanak koversege",
     [](SkinReading& r, std::string_view v) { r.skin.info_font_style = parse_font_style(v); }},
    {"adatok", "ablakok hatterszine",
     [](SkinReading& r, std::string_view v) { r.skin.window_other.background = parse_skin_color(v); }},
};

// ... and every other key of its section "Adatok" is one part of one item.
enum class ItemPart : std::uint8_t { color, font_color, font_name, font_size, font_style };

struct OldItemRule {
    std::string_view key;
    SKINS_WINDOWS_TYPE SKINS_TYPE::*window;
    SKINS_ITEM_TYPE SKINS_WINDOWS_TYPE::*item;
    ItemPart part;
    int size_max;
    char mark; // 'A' or 'B' when reading it keeps a default of the completion from applying
};

constexpr auto other = &SKINS_TYPE::window_other;
constexpr auto option = &SKINS_TYPE::window_option;
constexpr auto labels = &SKINS_WINDOWS_TYPE::labels_normal;
constexpr auto fields = &SKINS_WINDOWS_TYPE::fields;
constexpr auto buttons = &SKINS_WINDOWS_TYPE::buttons;

const OldItemRule old_item_rules[] = {
    {"foablak betutipusanak a masodik szine", other, labels, ItemPart::color, 0, 0},
    {"foablak betutipusanak a szine", other, labels, ItemPart::font_color, 0, 0},
    {"foablak betutipusanak a neve", other, labels, ItemPart::font_name, 0, 0},
    {"foablak betutipusanak a relativ merete", other, labels, ItemPart::font_size, 16, 0},
    {"foablak betutipusanak a koversege", other, labels, ItemPart::font_style, 0, 0},
    {"lista hatterszine", other, fields, ItemPart::color, 0, 0},
    {"lista betutipusanak a szine", other, fields, ItemPart::font_color, 0, 0},
    {"lista betutipusanak a neve", other, fields, ItemPart::font_name, 0, 0},
    {"lista betutipusanak az abszolut merete", other, fields, ItemPart::font_size, 16, 0},
    {"lista betutipusanak a koversege", other, fields, ItemPart::font_style, 0, 0},
    {"opciok hatterszine", option, fields, ItemPart::color, 0, 'A'},
    {"opciok betutipusanak a szine", option, fields, ItemPart::font_color, 0, 'A'},
    {"opciok betutipusanak a neve", option, fields, ItemPart::font_name, 0, 'A'},
    {"opciok betutipusanak az abszolut merete", option, fields, ItemPart::font_size, 12, 'A'},
    {"opciok betutipusanak a koversege", option, fields, ItemPart::font_style, 0, 'A'},
    {"gombok hatterszine", other, buttons, ItemPart::color, 0, 'B'},
    {"gombok betutipusanak a szine", other, buttons, ItemPart::font_color, 0, 'B'},
    {"gombok betutipusanak a neve", other, buttons, ItemPart::font_name, 0, 'A'},
    {"gombok betutipusanak az abszolut merete", other, buttons, ItemPart::font_size, 12, 'A'},
    {"gombok betutipusanak a koversege", other, buttons, ItemPart::font_style, 0, 'A'},
};

void set_item_part(SKINS_ITEM_TYPE& item, const OldItemRule& rule, std::string_view value) {
    switch (rule.part) {
    case ItemPart::color:
        item.color = parse_skin_color(value);
        break;
    case ItemPart::font_color:
        item.font_color = parse_skin_color(value);
        break;
    case ItemPart::font_name:
        item.font_name = value;
        break;
    case ItemPart::font_size:
        item.font_size = parse_font_size(value, rule.size_max);
        break;
    case ItemPart::font_style:
        item.font_style = parse_font_style(value);
        break;
    }
}

bool apply_rule(std::span<const KeyRule> rules, SkinReading& r, std::string_view key,
                std::string_view value) {
    for (const KeyRule& rule : rules) {
        if (rule.section != r.section || rule.key != key) continue;
        rule.apply(r, value);
        return true;
    }
    return false;
}

void apply_window_key(SKINS_WINDOWS_TYPE& w, std::string_view key, std::string_view value) {
    if (key == "background color") w.background = parse_skin_color(value);
    if (key == "title") w.title = parse_skin_title(value);
    for (const auto& [item_key, item] : window_items)
        if (key == item_key) w.*item = parse_skin_item(value);
}

// The existing file at relative inside folder, each step found without regard to letter case.
// Steps that could leave the folder ("..", ".", empty, absolute) make it unusable.
std::optional<std::string> find_file_below(const std::string& folder, std::string_view relative) {
    std::string path = folder;
    std::string_view rest = relative;
    for (;;) {
        const std::size_t slash = rest.find_first_of("/\\");
        const std::string_view step = rest.substr(0, slash);
        if (step.empty() || step == "." || step == "..") return std::nullopt;
        const std::optional<std::string> found = find_name_in_folder(path, step);
        if (!found) return std::nullopt;
        path += *found;
        if (slash == std::string_view::npos) break;
        path += '/';
        rest.remove_prefix(slash + 1);
    }
    if (!file_exists(path)) return std::nullopt;
    return path;
}

void add_font(SkinReading& r, std::string_view name, std::string_view file) {
    if (name.empty() || file.empty() || r.skin.fonts.size() >= skin_fonts_max) return;
    if (auto path = find_file_below(r.skin_path, file))
        r.skin.fonts.push_back({std::string(name), std::move(*path)});
}

void apply_current_key(SkinReading& r, std::string_view key, std::string_view value) {
    if (apply_rule(current_rules, r, key, value)) return;
    if (r.section == "fonts") return add_font(r, key, value);
    for (const auto& [section, window] : window_sections)
        if (r.section == section) return apply_window_key(r.skin.*window, key, value);
}

void apply_old_key(SkinReading& r, std::string_view key, std::string_view value) {
    if (apply_rule(old_rules, r, key, value) || r.section != "adatok") return;
    for (const OldItemRule& rule : old_item_rules) {
        if (rule.key != key) continue;
        set_item_part(r.skin.*rule.window.*rule.item, rule, value);
        r.marked_a = r.marked_a || rule.mark == 'A';
        r.marked_b = r.marked_b || rule.mark == 'B';
        return;
    }
}

bool value_as_written(const SkinReading& r) {
    return r.old_dialect ? r.section == "stilus" || r.section == "keszito" : r.section == "skin informations";
}

// Reads one line; false when the line ends the file.
bool read_line(SkinReading& r, std::string_view raw) {
    const std::string line = trim_controls(raw);
    if (line.size() < 3 || line.front() == ';') return true;
    if (line.front() == '[') {
        if (line.back() != ']') return true;
        r.section = lower_text(trim_controls(std::string_view(line).substr(1, line.size() - 2)));
        if (r.section == "#end#") return false;
        if (r.section == "stilus") r.old_dialect = true;
        return true;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return true;
    const std::string key = lower_text(trim_controls(std::string_view(line).substr(0, equals)));
    std::string value = trim_controls(std::string_view(line).substr(equals + 1));
    if (!value_as_written(r)) value = lower_text(value);
    if (r.old_dialect)
        apply_old_key(r, key, value);
    else
        apply_current_key(r, key, value);
    return true;
}

// The labels on panels take the normal labels' font with the panels' text colour on a brighter
// panel colour.
void derive_labels_panel(SKINS_WINDOWS_TYPE& w) {
    w.labels_panel = w.labels_normal;
    w.labels_panel.color = brighter(w.panels.color);
    w.labels_panel.font_color = w.panels.font_color;
}

// The old dialect describes one window look; it is spread over every window record.
void complete_old_dialect(SkinReading& r) {
    SKINS_TYPE& s = r.skin;
    SKINS_WINDOWS_TYPE& other_window = s.window_other;
    SKINS_WINDOWS_TYPE& option_window = s.window_option;
    if (!r.marked_a) {
        option_window.fields = other_window.fields;
        other_window.buttons.font_name = other_window.fields.font_name;
        other_window.buttons.font_size = other_window.fields.font_size;
        other_window.buttons.font_style = other_window.fields.font_style;
    }
    if (!r.marked_b) {
        other_window.buttons.color = other_window.fields.color;
        other_window.buttons.font_color = other_window.fields.font_color;
    }
    other_window.panels = other_window.fields;
    derive_labels_panel(other_window);
    option_window.background = other_window.background;
    option_window.buttons = other_window.buttons;
    option_window.panels = option_window.fields;
    option_window.labels_normal = other_window.labels_normal;
    derive_labels_panel(option_window);
    for (auto window :
         {&SKINS_TYPE::window_about, &SKINS_TYPE::window_download, &SKINS_TYPE::window_information,
          &SKINS_TYPE::window_main, &SKINS_TYPE::window_manager})
        s.*window = other_window;
    const SkinColor text = other_window.fields.font_color;
    s.progress_download = {other_window.fields.color, text, text, text};
    s.progress_other = s.progress_download;
}

// The skin's folder as it is named on disk. Only a direct sub-folder of the skins folder counts.
std::optional<std::string> skin_folder_on_disk(const std::string& skins_folder, const std::string& folder) {
    if (folder.empty() || folder == "." || folder == ".." || folder.find('/') != std::string::npos ||
        folder.find('\0') != std::string::npos)
        return std::nullopt;
    if (folder_exists(skins_folder + folder)) return folder;
    const std::optional<std::string> found = find_name_in_folder(skins_folder, folder);
    if (!found || !folder_exists(skins_folder + *found)) return std::nullopt;
    return found;
}

} // namespace

SkinColor parse_skin_color(std::string_view text) {
    int d[6] = {};
    for (std::size_t i = 0; i < 6 && i < text.size(); ++i)
        d[i] = hex_digit(text[i]);
    return skin_rgb(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
}

std::string skin_color_text(SkinColor color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", static_cast<unsigned>(skin_red(color)),
                  static_cast<unsigned>(skin_green(color)), static_cast<unsigned>(skin_blue(color)));
    return text;
}

SKINS_ITEM_TYPE parse_skin_item(std::string_view value) {
    ValueParts parts(value);
    SKINS_ITEM_TYPE item;
    item.color = parse_skin_color(parts.next());
    item.font_color = parse_skin_color(parts.next());
    item.font_name = parts.next();
    item.font_size = parse_font_size(parts.next());
    item.font_style = parse_font_style(parts.last());
    return item;
}

SKINS_WORDCAP_TYPE parse_skin_title(std::string_view value) {
    ValueParts parts(value);
    SKINS_WORDCAP_TYPE title;
    title.left_active = parse_skin_color(parts.next());
    title.right_active = parse_skin_color(parts.next());
    title.left_inactive = parse_skin_color(parts.next());
    title.right_inactive = parse_skin_color(parts.next());
    title.active_text = parse_skin_color(parts.next());
    title.inactive_text = parse_skin_color(parts.next());
    title.system_font = parse_bool(parts.next());
    title.font_name = parts.next();
    title.font_size = parse_font_size(parts.next());
    title.font_style = parse_font_style(parts.next());
    title.alignment = static_cast<std::uint8_t>(parse_int_in_range(parts.last(), 0, 0, 7));
    return title;
}

SKINS_SPLASH_LABEL_TYPE parse_skin_splash_label(std::string_view value) {
    ValueParts parts(value);
    SKINS_SPLASH_LABEL_TYPE label;
    label.left = parse_int(parts.next(), 0);
    label.top = parse_int(parts.next(), 0);
    label.right = parse_int(parts.next(), 0);
    label.bottom = parse_int(parts.next(), 0);
    label.font_color = parse_skin_color(parts.next());
    label.font_name = parts.next();
    label.font_size = parse_font_size(parts.next());
    label.font_style = parse_font_style(parts.next());
    label.alignment = parse_int_in_range(parts.last(), 1, 0, 2);
    return label;
}

SKINS_TYPE skins_setdefault(const SystemTitleColors& system) {
    SKINS_TYPE s;
    const SKINS_WINDOWS_TYPE window = builtin_window(system);
    for (auto w : {&SKINS_TYPE::window_about, &SKINS_TYPE::window_download, &SKINS_TYPE::window_information,
                   &SKINS_TYPE::window_main, &SKINS_TYPE::window_manager, &SKINS_TYPE::window_option,
                   &SKINS_TYPE::window_other})
        s.*w = window;
    s.splash.custom = false;
    s.splash.progress_label = builtin_splash_label(270, 285);
    s.splash.version_label = builtin_splash_label(255, 270);
    s.splash.background = skin_rgb(0x45, 0x81, 0xB7);
    s.progress_download = {skin_rgb(0x77, 0x99, 0xCC), skin_rgb(0x57, 0x79, 0xAC), skin_rgb(0x77, 0x99, 0xCC),
                           skin_rgb(0x99, 0xCC, 0xFF)};
    s.progress_other = s.progress_download;
    s.main_data_visible = true;
    s.info_font_style = 0;
    return s;
}

std::optional<SKINS_TYPE> skins_load(const std::string& skins_folder, const std::string& folder,
                                     const SKINS_TYPE& skin_default) {
    const std::string base = with_trailing_slash(skins_folder);
    const std::optional<std::string> on_disk = skin_folder_on_disk(base, folder);
    if (!on_disk) return std::nullopt;
    SkinReading r;
    r.skin_path = base + *on_disk + "/";
    const std::optional<std::string> ini = find_name_in_folder(r.skin_path, "skin.ini");
    if (!ini) return std::nullopt;
    const std::string ini_path = r.skin_path + *ini;
    if (!file_exists(ini_path) || file_size(ini_path) > skin_ini_max) return std::nullopt;

    r.skin = skin_default;
    r.skin.folder = ascii_lower_text(folder);
    r.skin.name = folder;
    r.skin.version.clear();
    r.skin.maker.clear();
    r.skin.email.clear();
    r.skin.homepage.clear();
    for (const std::string& line : split_lines(file_read_all(ini_path)))
        if (!read_line(r, line)) break;
    if (r.old_dialect) complete_old_dialect(r);
    for (std::string* text : {&r.skin.email, &r.skin.homepage})
        if (text->size() < 2) *text = "-";
    if (!r.named) return std::nullopt;
    return std::move(r.skin);
}

} // namespace tkv
