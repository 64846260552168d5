#include "shell/zip_extract.h"

#include "shell/files.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace tkv {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); } // read only: nothing to save
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using EntryFile = std::unique_ptr<zip_file_t, EntryCloser>;

// One entry as it will be written.
struct Entry {
    zip_uint64_t index = 0;
    std::string name; // as stored, for messages
    std::string path; // below the target, "/" separated
    bool folder = false;
    std::uint64_t size = 0; // declared uncompressed size
};

std::string error_text(int code) {
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    std::string text = zip_error_strerror(&e);
    zip_error_fini(&e);
    return text;
}

bool is_ascii_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The entry's path below the target, or nothing when it could lead out of it. Windows tools may
// separate with "\", so that counts as a separator too: "..\x" is refused and "a\b" lands in a/.
std::optional<std::string> relative_path(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.empty() || name.front() == '/') return std::nullopt;
    if (name.size() >= 2 && name[1] == ':' && is_ascii_letter(name[0])) return std::nullopt;
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.compare(start, end - start, "..") == 0) return std::nullopt;
        start = end + 1;
    }
    return name;
}

bool is_symlink(zip_t* za, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(za, index, 0, &opsys, &attributes) != 0) return false;
    // Some Windows tools store Unix modes too without saying so, hence no test of opsys.
    return ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// Every entry, checked before anything is written; the error names the first refused entry.
std::optional<std::vector<Entry>> read_entries(zip_t* za, std::string& error) {
    std::vector<Entry> entries;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
            !(st.valid & ZIP_STAT_SIZE)) {
            error = zip_error_strerror(zip_get_error(za));
            return std::nullopt;
        }
        Entry e{i, st.name, "", false, st.size};
        const std::optional<std::string> path = relative_path(e.name);
        if (!path) {
            error = "entry \"" + e.name + "\" would leave the target folder";
            return std::nullopt;
        }
        if (is_symlink(za, i)) {
            error = "entry \"" + e.name + "\" is a symbolic link";
            return std::nullopt;
        }
        e.folder = path->back() == '/';
        e.path = e.folder ? path->substr(0, path->size() - 1) : *path;
        entries.push_back(std::move(e));
    }
    return entries;
}

class Extraction {
  public:
    Extraction(zip_t* za, const ZipCallbacks& callbacks, std::uint64_t total, ZipExtractResult& result)
        : za_(za), callbacks_(callbacks), total_(total), result_(result) {}

    // Streams the entry into a temporary file beside path and renames it into place only when it
    // is whole and valid. Returns the reason of a failure, empty on success.
    std::string write_file(const Entry& e, const std::string& path) {
        EntryFile file(zip_fopen_index(za_, e.index, 0));
        if (!file) return zip_error_strerror(zip_get_error(za_));
        std::string temp;
        const int fd = create_temp_beside(path, false, temp);
        std::FILE* out = fd < 0 ? nullptr : ::fdopen(fd, "wb");
        if (!out) {
            if (fd >= 0) {
                ::close(fd);
                finish_temp(temp, path, false);
            }
            return "cannot create a file in " + folder_of_path(path);
        }
        std::string error = copy(file.get(), out, e.size);
        if (std::fclose(out) != 0 && error.empty()) error = "cannot write " + path;
        if (!finish_temp(temp, path, error.empty()) && error.empty()) error = "cannot rename into " + path;
        return error;
    }

  private:
    std::string copy(zip_file_t* file, std::FILE* out, std::uint64_t declared) {
        std::vector<char> buffer(64 * 1024);
        std::uint64_t done = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
            if (n < 0) return zip_file_strerror(file); // CRC and data errors surface here
            if (n == 0) break;
            done += static_cast<std::uint64_t>(n);
            if (done > declared) return "larger than its declared size";
            if (std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), out) !=
                static_cast<std::size_t>(n))
                return "cannot write";
            result_.bytes_written += static_cast<std::uint64_t>(n);
            if (callbacks_.progress) callbacks_.progress(result_.bytes_written, total_);
        }
        if (done != declared) return "smaller than its declared size";
        return {};
    }

    zip_t* za_;
    const ZipCallbacks& callbacks_;
    std::uint64_t total_;
    ZipExtractResult& result_;
};

std::uint64_t total_size(const std::vector<Entry>& entries) {
    std::uint64_t total = 0;
    for (const Entry& e : entries) // declared sizes may be absurd: saturate instead of wrapping
        total = e.size > std::numeric_limits<std::uint64_t>::max() - total
                    ? std::numeric_limits<std::uint64_t>::max()
                    : total + e.size;
    return total;
}

} // namespace

ZipExtractResult zip_extract(const std::string& archive, const std::string& target_folder,
                             std::string_view file_mask, const ZipCallbacks& callbacks) {
    ZipExtractResult result;
    const auto fail = [&](const std::string& why) {
        result.error = "Cannot unpack " + archive + ": " + why;
        return result;
    };
    int code = 0;
    // The stricter checks also refuse central and local headers that disagree about an entry.
    const Archive za(zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!za) return fail(error_text(code));

    std::string error;
    const std::optional<std::vector<Entry>> entries = read_entries(za.get(), error);
    if (!entries) return fail(error);

    // Entries never grow past their declared sizes, so this bounds what an archive can write.
    const std::uint64_t total = total_size(*entries);
    if (total > zip_unpacked_max) return fail("it would unpack to more than 4 GiB");
    const std::string target = with_trailing_slash(target_folder);
    Extraction extraction(za.get(), callbacks, total, result);
    for (const Entry& e : *entries) {
        if (!mask_matches(file_mask, file_name_of_path(e.path))) continue;
        const std::string path = target + e.path;
        if (e.folder) {
            if (!folder_create(path)) return fail("cannot create folder " + path);
            continue;
        }
        if (!folder_create(folder_of_path(path))) return fail("cannot create folder " + folder_of_path(path));
        if (file_exists(path) && callbacks.may_overwrite && !callbacks.may_overwrite(path)) continue;
        error = extraction.write_file(e, path);
        if (!error.empty()) return fail("entry \"" + e.name + "\": " + error);
        ++result.files;
    }
    result.ok = true;
    return result;
}

} // namespace tkv
