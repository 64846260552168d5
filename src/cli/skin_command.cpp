// tkv skin show: a skin of the home folder as the program reads it, one field per line.
// tkv skin contrast: the contrast ratio of each of its texts against its background.

#include "appearance/contrast.h"
#include "appearance/skin_file.h"
#include "cli/command.h"
#include "shell/codepage.h"

#include <cstdio>

namespace tkv::cli {

namespace {

// Prints "path=value" lines. Texts of skin.ini are Windows-1252 bytes and become UTF-8 unless
// raw; folder and file names are the file system's own and are printed as they are.
class SkinPrinter {
  public:
    SkinPrinter(std::ostream& out, bool raw) : out_(out), raw_(raw) {}

    void skin(const SKINS_TYPE& s) {
        line("folder", s.folder);
        text("name", s.name);
        text("version", s.version);
        text("maker", s.maker);
        text("email", s.email);
        text("homepage", s.homepage);
        text("program_version", s.program_version);
        std::string fonts;
        for (const SKINS_FONT_TYPE& font : s.fonts)
            fonts.append(fonts.empty() ? "" : ";").append(shown(font.name)).append(":").append(font.file);
        line("fonts", fonts);
        window("window_about", s.window_about);
        window("window_download", s.window_download);
        window("window_information", s.window_information);
        window("window_main", s.window_main);
        window("window_manager", s.window_manager);
        window("window_option", s.window_option);
        window("window_other", s.window_other);
        number("splash.custom", s.splash.custom);
        splash_label("splash.progress_label", s.splash.progress_label);
        splash_label("splash.version_label", s.splash.version_label);
        color("splash.background", s.splash.background);
        progress("progress_download", s.progress_download);
        progress("progress_other", s.progress_other);
        number("main_data_visible", s.main_data_visible);
        number("info_font_style", s.info_font_style);
    }

  private:
    std::ostream& out_;
    bool raw_;

    std::string shown(const std::string& text) const {
        return raw_ ? text : to_utf8(text, CodePage::windows_1252);
    }
    void line(std::string_view path, std::string_view value) { out_ << path << '=' << value << '\n'; }
    void text(std::string_view path, const std::string& value) { line(path, shown(value)); }
    void number(std::string_view path, int value) { line(path, std::to_string(value)); }
    void color(std::string_view path, SkinColor value) { line(path, skin_color_text(value)); }

    void item(const std::string& path, const SKINS_ITEM_TYPE& i) {
        color(path + ".color", i.color);
        color(path + ".font_color", i.font_color);
        text(path + ".font_name", i.font_name);
        number(path + ".font_size", i.font_size);
        number(path + ".font_style", i.font_style);
    }

    void title(const std::string& path, const SKINS_WORDCAP_TYPE& t) {
        color(path + ".left_active", t.left_active);
        color(path + ".right_active", t.right_active);
        color(path + ".left_inactive", t.left_inactive);
        color(path + ".right_inactive", t.right_inactive);
        color(path + ".active_text", t.active_text);
        color(path + ".inactive_text", t.inactive_text);
        number(path + ".system_font", t.system_font);
        text(path + ".font_name", t.font_name);
        number(path + ".font_size", t.font_size);
        number(path + ".font_style", t.font_style);
        number(path + ".alignment", t.alignment);
    }

    void window(const std::string& path, const SKINS_WINDOWS_TYPE& w) {
        color(path + ".background", w.background);
        item(path + ".buttons", w.buttons);
        item(path + ".panels", w.panels);
        item(path + ".fields", w.fields);
        item(path + ".labels_panel", w.labels_panel);
        item(path + ".labels_normal", w.labels_normal);
        title(path + ".title", w.title);
    }

    void splash_label(const std::string& path, const SKINS_SPLASH_LABEL_TYPE& l) {
        number(path + ".left", l.left);
        number(path + ".right", l.right);
        number(path + ".top", l.top);
        number(path + ".bottom", l.bottom);
        color(path + ".font_color", l.font_color);
        text(path + ".font_name", l.font_name);
        number(path + ".font_size", l.font_size);
        number(path + ".font_style", l.font_style);
        number(path + ".alignment", l.alignment);
    }

    void progress(std::string_view path, const SkinProgressColors& colors) {
        std::string value;
        for (SkinColor c : colors)
            value.append(value.empty() ? "" : ",").append(skin_color_text(c));
        line(path, value);
    }
};

// "where=ratio (text on background)" per text; fails when any text is below the AA minimum.
int print_contrast(const SKINS_TYPE& skin, CommandIo io) {
    int low = 0;
    for (const SkinTextPair& pair : skin_text_pairs(skin)) {
        const double ratio = contrast_ratio(pair.text, pair.background);
        char shown[16];
        std::snprintf(shown, sizeof shown, "%.2f", ratio);
        io.out << pair.where << '=' << shown << " (" << skin_color_text(pair.text) << " on "
               << skin_color_text(pair.background) << ")\n";
        if (ratio < contrast_minimum_aa) ++low;
    }
    if (low == 0) return exit_ok;
    io.err << "tkv: " << low << " texts have a contrast below 4.5:1\n";
    return exit_failed;
}

int run_skin(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    if (args.empty() || (args[0] != "show" && args[0] != "contrast")) return usage_error(io, skin_command);
    const bool contrast = args[0] == "contrast";
    std::string folder;
    bool raw = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--raw" && !contrast)
            raw = true;
        else if (folder.empty() && !args[i].empty() && !args[i].starts_with("--"))
            folder = args[i];
        else
            return usage_error(io, skin_command);
    }
    if (folder.empty()) return usage_error(io, skin_command);

    // The tool has no window system: the built-in title bars take all-zero system colours.
    const std::string skins_folder = tkv::skins_folder(context.variables);
    const auto skin = skins_load(skins_folder, folder, skins_setdefault(SystemTitleColors{}));
    if (!skin) {
        io.err << "tkv: " << skins_folder << folder << " is not a skin (no skin.ini or no name in it)\n";
        return exit_failed;
    }
    if (contrast) return print_contrast(*skin, io);
    SkinPrinter(io.out, raw).skin(*skin);
    return exit_ok;
}

} // namespace

const Command skin_command{"skin", "skin show FOLDER [--raw] | skin contrast FOLDER", run_skin};

} // namespace tkv::cli
