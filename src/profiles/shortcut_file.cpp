#include "profiles/shortcut_file.h"

#include "shell/files.h"
#include "shell/text.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace tkv {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view removed_from_names = "\"*/:<>?\\|";

bool write_all(int fd, std::string_view s) {
    while (!s.empty()) {
        const ssize_t n = ::write(fd, s.data(), s.size());
        if (n <= 0) return false;
        s.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The same folder however it is written: "a/b/", "a/b" and "a//b/." name one folder; so does a
// link to it.
bool same_folder(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    const auto normal = [](const std::string& p) {
        std::string s = fs::path(p).lexically_normal().string();
        while (s.size() > 1 && s.back() == '/')
            s.pop_back();
        return s;
    };
    if (normal(a) == normal(b)) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// A profile: a stack of three records. A game: a joypad. Both on a rounded tile.
constexpr std::string_view profile_svg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <rect x="2" y="2" width="44" height="44" rx="8" fill="#1f4e8c"/>
  <rect x="10" y="11" width="28" height="7" rx="2" fill="#ffffff"/>
  <rect x="10" y="21" width="28" height="7" rx="2" fill="#cfe0f5"/>
  <rect x="10" y="31" width="28" height="7" rx="2" fill="#9fc0ea"/>
</svg>
)";

constexpr std::string_view game_svg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <rect x="2" y="2" width="44" height="44" rx="8" fill="#2e7d32"/>
  <rect x="7" y="15" width="34" height="19" rx="9" fill="#ffffff"/>
  <rect x="12" y="23" width="10" height="3" fill="#2e7d32"/>
  <rect x="15.5" y="19.5" width="3" height="10" fill="#2e7d32"/>
  <circle cx="31" cy="22" r="2.2" fill="#2e7d32"/>
  <circle cx="35" cy="27" r="2.2" fill="#2e7d32"/>
</svg>
)";

} // namespace

std::string clean_shortcut_name(std::string_view name) {
    std::string kept;
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 32 && removed_from_names.find(c) == std::string_view::npos)
            kept += c;
    return trim_controls(kept);
}

std::vector<std::string> shortcut_arguments(const Shortcut& shortcut) {
    std::vector<std::string> arguments{"/profile=" + shortcut.profile_id};
    if (shortcut.kind == ShortcutKind::game) arguments.push_back("/game=" + shortcut.game);
    return arguments;
}

std::string shortcut_file_text(const Shortcut& shortcut) {
    std::string exec = exec_quoted(shortcut.program_path);
    for (const std::string& argument : shortcut_arguments(shortcut))
        exec += " " + exec_quoted(argument);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           desktop_string(shortcut.name) +
           "\n"
           "Comment=" +
           desktop_string(shortcut.comment) +
           "\n"
           "Exec=" +
           desktop_string(exec) +
           "\n"
           "Path=" +
           desktop_string(shortcut.working_folder) +
           "\n"
           "Icon=" +
           shortcut_icon_name(shortcut.kind) +
           "\n"
           "Terminal=false\n";
}

std::string shortcut_file_path(std::string_view folder, std::string_view name) {
    return with_trailing_slash(folder) + std::string(name) + ".desktop";
}

bool shortcut_name_is_programs_entry(std::string_view name) {
    return std::string(name) + ".desktop" == program_desktop_id;
}

bool write_shortcut_file(const std::string& folder, const Shortcut& shortcut) {
    if (shortcut_name_is_programs_entry(shortcut.name) || !folder_create(folder)) return false;
    const std::string path = shortcut_file_path(folder, shortcut.name);
    std::string temp;
    const int fd = create_temp_beside(path, false, temp);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0755) == 0 && write_all(fd, shortcut_file_text(shortcut)) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return finish_temp(temp, path, ok);
}

std::string shortcut_icon_name(ShortcutKind kind) {
    return kind == ShortcutKind::profile ? "trickvault-profile" : "trickvault-game";
}

std::string shortcut_icon_svg(ShortcutKind kind) {
    return std::string(kind == ShortcutKind::profile ? profile_svg : game_svg);
}

bool install_shortcut_icon(const std::string& icon_folder, ShortcutKind kind) {
    const std::string path = with_trailing_slash(icon_folder) + shortcut_icon_name(kind) + ".svg";
    const std::string svg = shortcut_icon_svg(kind);
    if (file_exists(path) && file_read_all(path) == svg) return true;
    return folder_create(icon_folder) && write_file_atomic(path, svg, false);
}

ShortcutPlace place_of_folder(const ShortcutFolders& folders, const std::string& picked) {
    if (same_folder(picked, folders.desktop)) return ShortcutPlace::desktop;
    if (same_folder(picked, folders.start_menu)) return ShortcutPlace::start_menu;
    return ShortcutPlace::folder;
}

std::string folder_of_place(const ShortcutFolders& folders, ShortcutPlace place,
                            const std::string& other_folder) {
    switch (place) {
    case ShortcutPlace::desktop:
        return folders.desktop;
    case ShortcutPlace::start_menu:
        return folders.start_menu;
    case ShortcutPlace::folder:
        break;
    }
    return other_folder;
}

} // namespace tkv
