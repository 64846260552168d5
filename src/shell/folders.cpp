#include "shell/folders.h"

#include "shell/files.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace tkv {

namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string home_folder() {
    std::string home = env("HOME");
    if (home.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    return home;
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string xdg_folder(const char* variable, const char* fallback) {
    std::string folder = env(variable);
    if (folder.empty() || folder.front() != '/') folder = home_folder() + "/" + fallback;
    return with_trailing_slash(folder);
}

} // namespace

std::string executable_folder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : with_trailing_slash(exe.parent_path().string());
}

std::string get_program_folder() {
    if (const std::string home = env("TRICKVAULT_HOME"); !home.empty()) return with_trailing_slash(home);
    const std::string exe_folder = executable_folder();
    // An installed program (its data shipped beside it) keeps the user's files in the user's own
    // folder, even when run by someone who may write into the program's folder.
    if (!exe_folder.empty() && installed_data_folder().empty() &&
        (::access(exe_folder.c_str(), W_OK) == 0 || folder_exists(exe_folder + "profiles")))
        return exe_folder;
    return xdg_folder("XDG_DATA_HOME", ".local/share") + "trickvault/";
}

std::string installed_data_folder() {
#ifdef TKV_INSTALLED_DATA
    const std::string exe_folder = executable_folder();
    if (!exe_folder.empty() && folder_exists(exe_folder + TKV_INSTALLED_DATA))
        return with_trailing_slash(exe_folder + TKV_INSTALLED_DATA);
#endif
    return {};
}

bool seed_program_folder(const std::string& program_folder, const std::string& data_folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::path(program_folder).lexically_normal().parent_path(); // without the "/"
    if (data_folder.empty() || fs::exists(target, ec) || !folder_exists(data_folder)) return false;
    if (!folder_create(target.parent_path().string())) return false;
    std::string staging = target.string() + ".seeding-XXXXXX";
    if (::mkdtemp(staging.data()) == nullptr) return false;
    fs::copy(data_folder, staging, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(staging, target, ec);
    if (ec) fs::remove_all(staging, ec);
    return folder_exists(target.string()) && !fs::exists(staging);
}

std::string get_windows_folder() {
    return xdg_folder("XDG_CONFIG_HOME", ".config") + "trickvault/";
}

std::string get_cache_folder() {
    return xdg_folder("XDG_CACHE_HOME", ".cache") + "trickvault/";
}

std::string user_dirs_value(std::string_view file_text, std::string_view kind, const std::string& home) {
    const std::string name = "XDG_" + std::string(kind) + "_DIR";
    std::string found;
    for (const std::string& raw : split_lines(file_text)) {
        const std::string line = trim_blank(raw);
        if (line.empty() || line.front() == '#' || before_char(line, '=') != name) continue;
        std::string value = after_char(line, '=');
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value == "$HOME" || value.starts_with("$HOME/")) value = home + value.substr(5);
        // The file is read by a shell: a later line sets the variable again.
        found = value.starts_with("/") ? value : std::string();
    }
    return found;
}

std::string user_dir(std::string_view kind) {
    const std::string home = home_folder();
    std::string folder = user_dirs_value(
        file_read_all(xdg_folder("XDG_CONFIG_HOME", ".config") + "user-dirs.dirs"), kind, home);
    if (folder.empty()) folder = env(("XDG_" + std::string(kind) + "_DIR").c_str());
    if (folder.empty() || folder.front() != '/') folder = home;
    return with_trailing_slash(folder);
}

std::string get_current_folder() {
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    return ec ? std::string("/") : with_trailing_slash(cwd.string());
}

std::string owner_name() {
    if (const passwd* pw = ::getpwuid(::getuid())) {
        // The full name is the first comma-separated field of GECOS.
        std::string full = pw->pw_gecos ? pw->pw_gecos : "";
        full = full.substr(0, full.find(','));
        if (!full.empty()) return full;
        if (pw->pw_name && *pw->pw_name) return pw->pw_name;
    }
    return env("USER");
}

} // namespace tkv
