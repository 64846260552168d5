#include "platform/file_types.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tkv {

namespace {

namespace fs = std::filesystem;

struct FileType {
    std::string_view mime;
    std::string_view glob;
    std::string_view comment;
};

constexpr FileType file_types[] = {
    {"application/x-trickvault-language", "*.tkvl", "Trickvault language archive"},
    {"application/x-trickvault-profile", "*.tkvp", "Trickvault profile archive"},
    {"application/x-trickvault-skin", "*.tkvs", "Trickvault skin archive"},
};

std::string xml_escaped(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string exec_quoted(std::string_view argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + "\"";
}

std::string desktop_string(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (const char c = value[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string mime_package(std::string_view icon_name) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (const FileType& t : file_types) {
        xml += "  <mime-type type=\"" + std::string(t.mime) + "\">\n";
        xml += "    <comment>" + std::string(t.comment) + "</comment>\n";
        xml += "    <sub-class-of type=\"application/zip\"/>\n"; // the archives are ZIP files
        xml += "    <icon name=\"" + xml_escaped(icon_name) + "\"/>\n";
        xml += "    <glob pattern=\"" + std::string(t.glob) + "\"/>\n";
        xml += "  </mime-type>\n";
    }
    return xml + "</mime-info>\n";
}

namespace {

// The program path as one Exec argument. A path without reserved characters stands as it is
// (simple launchers such as xdg-open take the program as the line's first word); otherwise it is
// quoted.
std::string exec_program(std::string_view path) {
    if (path.find_first_of(" \t\n\"'\\><~|&;$*?#()`%") == std::string_view::npos) return std::string(path);
    return desktop_string(exec_quoted(path));
}

} // namespace

std::string desktop_entry(std::string_view program_path, std::string_view icon_name) {
    std::string mime_types;
    for (const FileType& t : file_types)
        mime_types += std::string(t.mime) + ";";
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Trickvault\n"
           "Comment=Cheat codes, hints and walkthroughs for computer and console games\n"
           "Exec=" +
           exec_program(program_path) +
           " %f\n"
           "Icon=" +
           std::string(icon_name) +
           "\n"
           "MimeType=" +
           mime_types +
           "\n"
           "Terminal=false\n"
           "Categories=Game;Utility;\n";
}

namespace {

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Readers of these files see either the old or the new version whole. A file that already holds
// the text is left alone, so a symbolic link in its place survives a repeated registration.
bool write_file(const fs::path& p, const std::string& text) {
    std::error_code ec;
    if (fs::exists(p, ec) && read_file(p) == text) return true;
    fs::create_directories(p.parent_path(), ec);
    std::string temp = p.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), p.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t\r") - first + 1));
}

bool is_group_header(const std::string& line) {
    const std::string t = trimmed(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

// Makes this program the default of each type in the text of mimeapps.list. A default that names
// another application first is put into `previous` before it is replaced.
std::string with_our_defaults(const std::string& mimeapps, std::map<std::string, std::string>& previous) {
    std::vector<std::string> lines = split_lines(mimeapps);
    std::size_t header = 0;
    while (header < lines.size() && trimmed(lines[header]) != "[Default Applications]")
        ++header;
    if (header == lines.size()) {
        if (!lines.empty() && !trimmed(lines.back()).empty()) lines.emplace_back();
        lines.emplace_back("[Default Applications]");
        header = lines.size() - 1;
    }
    std::size_t end = header + 1;
    while (end < lines.size() && !is_group_header(lines[end]))
        ++end;
    std::size_t insert_at = end; // after the group's last line that is not blank
    while (insert_at > header + 1 && trimmed(lines[insert_at - 1]).empty())
        --insert_at;

    std::vector<std::string> missing;
    for (const FileType& t : file_types) {
        const std::string ours = std::string(t.mime) + "=" + std::string(program_desktop_id);
        bool found = false;
        for (std::size_t i = header + 1; i < end && !found; ++i) {
            const std::size_t eq = lines[i].find('=');
            if (eq == std::string::npos || trimmed(std::string_view(lines[i]).substr(0, eq)) != t.mime)
                continue;
            found = true;
            const std::string value = trimmed(std::string_view(lines[i]).substr(eq + 1));
            const std::string first = trimmed(value.substr(0, value.find(';')));
            if (first == program_desktop_id) continue;
            if (!first.empty()) previous[std::string(t.mime)] = value;
            lines[i] = ours;
        }
        if (!found) missing.push_back(ours);
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), missing.begin(), missing.end());

    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::map<std::string, std::string> read_associations(const fs::path& p) {
    std::map<std::string, std::string> entries;
    for (const std::string& line : split_lines(read_file(p))) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) entries[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return entries;
}

std::string associations_text(const std::map<std::string, std::string>& entries) {
    std::string text;
    for (const auto& [type, value] : entries)
        text += type + "=" + value + "\n";
    return text;
}

// The desktop's cache builders are optional; without them the desktop rescans by itself.
void run_if_installed(const char* program, const std::string& folder) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::string name = program;
    std::string argument = folder;
    char* argv[] = {name.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, program, &actions, nullptr, argv, environ) == 0) ::waitpid(pid, nullptr, 0);
    ::posix_spawn_file_actions_destroy(&actions);
}

} // namespace

bool register_filetypes(const std::string& data_home, const std::string& config_home,
                        const std::string& program_path, const std::string& icon_name) {
    const fs::path data(data_home);
    const fs::path mimeapps = fs::path(config_home) / "mimeapps.list";
    const fs::path old_associations = data / "trickvault" / "old-associations.txt";

    bool ok = write_file(data / "mime" / "packages" / "trickvault.xml", mime_package(icon_name));
    ok = write_file(data / "applications" / std::string(program_desktop_id), desktop_entry(program_path, icon_name)) && ok;

    std::map<std::string, std::string> previous = read_associations(old_associations);
    const std::string defaults = with_our_defaults(read_file(mimeapps), previous);
    // The defaults change only once the old ones are safe.
    const bool kept = previous.empty() || write_file(old_associations, associations_text(previous));
    ok = kept && write_file(mimeapps, defaults) && ok;

    run_if_installed("update-mime-database", (data / "mime").string());
    run_if_installed("update-desktop-database", (data / "applications").string());
    return ok;
}

} // namespace tkv
