#include "shell/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/text.h"
#include "shell/text_lines.h"

namespace tkv {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr open_file(const std::string& p, const char* mode) {
    return FilePtr(std::fopen(p.c_str(), mode));
}

// Closes a file that was written: a failed flush is a failed write.
bool close_written(FilePtr f) {
    return std::fclose(f.release()) == 0;
}

// The entries of folder in the order the system lists them; none when it cannot be read.
std::vector<fs::directory_entry> entries_of(const std::string& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    return entries;
}

std::string name_of(const fs::directory_entry& e) {
    return e.path().filename().string();
}

bool write_all(int fd, std::string_view s) {
    while (!s.empty()) {
        ssize_t n = ::write(fd, s.data(), s.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        s.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The umask can only be read by setting it, so it is read once rather than on every save.
mode_t process_umask() {
    static const mode_t mask = [] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

} // namespace

std::string folder_of_path(std::string_view p) {
    std::size_t slash = p.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(p.substr(0, slash + 1));
}

// Without a "/", rfind gives npos and npos + 1 is 0: the whole text is the name.
std::string file_name_of_path(std::string_view p) {
    return std::string(p.substr(p.rfind('/') + 1));
}

std::string base_name_of_path(std::string_view p) {
    std::string name = file_name_of_path(p);
    return name.substr(0, name.rfind('.'));
}

// An empty text names no folder and stays empty, rather than becoming the root.
std::string with_trailing_slash(std::string_view folder) {
    std::string r(folder);
    if (!r.empty() && !r.ends_with('/')) r += '/';
    return r;
}

std::int64_t file_size(const std::string& p) {
    std::error_code ec;
    std::uintmax_t n = fs::file_size(p, ec);
    return ec ? -1 : static_cast<std::int64_t>(n);
}

DateTime file_date(const std::string& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return current_datetime();
    using namespace std::chrono;
    return local_datetime(system_clock::time_point(
        duration_cast<system_clock::duration>(seconds(st.st_mtim.tv_sec) + nanoseconds(st.st_mtim.tv_nsec))));
}

bool file_exists(const std::string& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool path_is_link(const std::string& p) {
    std::error_code ec;
    std::string path = p;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return fs::is_symlink(path, ec);
}

bool folder_exists(const std::string& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool file_delete(const std::string& p) {
    return ::unlink(p.c_str()) == 0;
}

bool file_copy(const std::string& from, const std::string& to) {
    // Opening the target would empty a file copied onto itself before it is read, so that fails.
    std::error_code ec;
    if (fs::equivalent(from, to, ec)) return false;
    FilePtr in = open_file(from, "rb");
    if (!in) return false;
    FilePtr out = open_file(to, "wb");
    if (!out) return false;
    char buffer[8192];
    bool ok = true;
    for (std::size_t n = sizeof buffer; ok && n == sizeof buffer;) {
        n = std::fread(buffer, 1, sizeof buffer, in.get());
        ok = std::fwrite(buffer, 1, n, out.get()) == n && !std::ferror(in.get());
    }
    return close_written(std::move(out)) && ok;
}

bool folder_create(const std::string& p) {
    std::error_code ec;
    fs::create_directories(p, ec);
    return folder_exists(p);
}

// rmdir ignores trailing "/" itself.
bool folder_remove(const std::string& p) {
    return ::rmdir(p.c_str()) == 0;
}

bool folder_delete_tree(const std::string& p) {
    for (const fs::directory_entry& e : entries_of(p)) {
        std::error_code ec;
        // A link to a folder is removed as a link: what it points to is not part of this tree.
        if (e.symlink_status(ec).type() == fs::file_type::directory)
            folder_delete_tree(e.path().string());
        else
            ::unlink(e.path().c_str());
    }
    return folder_remove(p);
}

void folder_move_into(const std::string& from, const std::string& to) {
    std::error_code ec;
    const fs::path target(to);
    fs::create_directories(target, ec);
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        const fs::path moved = target / entry.path().filename();
        if (entry.is_directory(ec) && !entry.is_symlink(ec))
            folder_move_into(entry.path().string(), moved.string());
        else
            fs::rename(entry.path(), moved, ec);
    }
}

void folder_delete_files(const std::string& folder, std::string_view mask) {
    for (const std::string& name : folder_list_files(folder, mask))
        file_delete((fs::path(folder) / name).string());
}

void folder_remove_empty_subfolders(const std::string& folder) {
    for (const std::string& name : folder_list_folders(folder))
        folder_remove((fs::path(folder) / name).string());
}

bool safe_file_name(std::string_view name) {
    if (name.find_first_not_of('.') == std::string_view::npos) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

bool mask_matches(std::string_view mask, std::string_view name) {
    if (mask == "*.*") return true; // every name, those without a dot too
    // Greedy matching that backtracks only to the last "*".
    std::size_t m = 0, n = 0, star = std::string_view::npos, star_n = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            star = m++;
            star_n = n;
        } else if (m < mask.size() && (mask[m] == '?' || ascii_lower(mask[m]) == ascii_lower(name[n]))) {
            ++m;
            ++n;
        } else if (star != std::string_view::npos) {
            m = star + 1;
            n = ++star_n;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

std::vector<std::string> folder_list_files(const std::string& folder, std::string_view mask) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : entries_of(folder)) {
        std::error_code ec;
        if (e.is_regular_file(ec) && mask_matches(mask, name_of(e))) names.push_back(name_of(e));
    }
    return names;
}

std::vector<std::string> folder_list_folders(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : entries_of(folder)) {
        std::error_code ec;
        if (e.is_directory(ec)) names.push_back(name_of(e));
    }
    return names;
}

std::optional<std::string> find_name_in_folder(const std::string& folder, std::string_view name) {
    std::optional<std::string> found;
    std::string wanted = ascii_lower_text(name);
    for (const fs::directory_entry& e : entries_of(folder)) {
        std::string entry = name_of(e);
        if (entry == name) return entry;
        if (!found && ascii_lower_text(entry) == wanted) found = entry;
    }
    return found;
}

std::string file_read_all(const std::string& p) {
    std::string r;
    FilePtr f = open_file(p, "rb");
    if (!f) return r;
    char buffer[8192];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0;)
        r.append(buffer, n);
    return r;
}

std::string read_text_file(const std::string& p) {
    std::vector<std::string> lines = split_lines(file_read_all(p));
    std::string r;
    for (std::size_t i = 0; i < lines.size(); ++i)
        r.append(i > 0 ? "\r\n" : "").append(lines[i]);
    return r;
}

bool write_text_file(const std::string& p, std::string_view s) {
    FilePtr f = open_file(p, "wb");
    if (!f) return false;
    bool ok = std::fwrite(s.data(), 1, s.size(), f.get()) == s.size();
    return close_written(std::move(f)) && ok;
}

int create_temp_beside(const std::string& p, bool owner_only, std::string& temp_path) {
    temp_path = folder_of_path(p) + "." + file_name_of_path(p) + ".XXXXXX";
    const int fd = ::mkstemp(temp_path.data());
    if (fd < 0) return -1;
    if (::fchmod(fd, owner_only ? 0600 : 0644 & ~process_umask()) != 0) {
        ::close(fd);
        ::unlink(temp_path.c_str());
        return -1;
    }
    return fd;
}

bool finish_temp(const std::string& temp_path, const std::string& p, bool ok) {
    ok = ok && ::rename(temp_path.c_str(), p.c_str()) == 0;
    if (!ok) ::unlink(temp_path.c_str());
    return ok;
}

bool write_file_atomic(const std::string& p, std::string_view s, bool owner_only) {
    std::string temp;
    const int fd = create_temp_beside(p, owner_only, temp);
    if (fd < 0) return false;
    bool ok = write_all(fd, s) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return finish_temp(temp, p, ok);
}

} // namespace tkv
