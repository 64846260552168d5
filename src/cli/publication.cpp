#include "cli/publication.h"

#include "shell/files.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace tkv::cli {

bool Publication::fail(std::string message) {
    error = std::move(message);
    return false;
}

namespace {

bool make_parent(const std::string& path) {
    return folder_create(folder_of_path(path));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whether the file at path holds exactly bytes; a missing or unreadable file does not.
bool file_holds(const std::string& path, std::string_view bytes) {
    if (file_size(path) != static_cast<std::int64_t>(bytes.size())) return false;
    return file_read_all(path) == bytes;
}

// Whether two files hold the same bytes, read piece by piece: profile files can be large.
bool same_files(const std::string& a, const std::string& b) {
    const std::int64_t size = file_size(a);
    if (size < 0 || size != file_size(b)) return false;
    const File fa(std::fopen(a.c_str(), "rb")), fb(std::fopen(b.c_str(), "rb"));
    if (!fa || !fb) return false;
    char pa[8192], pb[8192];
    for (;;) {
        const std::size_t na = std::fread(pa, 1, sizeof pa, fa.get());
        const std::size_t nb = std::fread(pb, 1, sizeof pb, fb.get());
        if (na != nb || std::memcmp(pa, pb, na) != 0) return false;
        if (na < sizeof pa) return !std::ferror(fa.get()) && !std::ferror(fb.get());
    }
}

} // namespace

template <typename Same> bool Publication::take_over(const std::string& relative, Same same) {
    if (previous.empty()) return false;
    const std::string old = previous + relative;
    const std::string path = root + relative;
    if (!same(old)) return false;
    // A link that fails (another file system below the tree) only costs writing the file.
    ::unlink(path.c_str());
    if (::link(old.c_str(), path.c_str()) != 0) return false;
    kept.push_back(relative);
    return true;
}

bool Publication::write(const std::string& relative, std::string_view bytes) {
    const std::string path = root + relative;
    if (!make_parent(path)) return fail("cannot write " + path);
    if (take_over(relative, [&](const std::string& old) { return file_holds(old, bytes); })) return true;
    // Never write through a link taken over: that would change the tree being served.
    ::unlink(path.c_str());
    if (!write_text_file(path, bytes)) return fail("cannot write " + path);
    written.push_back(relative);
    return true;
}

bool Publication::copy(const std::string& source, const std::string& relative) {
    const std::string path = root + relative;
    if (!make_parent(path)) return fail("cannot copy " + source + " to " + path);
    if (take_over(relative, [&](const std::string& old) { return same_files(old, source); })) return true;
    ::unlink(path.c_str());
    if (!file_copy(source, path)) return fail("cannot copy " + source + " to " + path);
    written.push_back(relative);
    return true;
}

bool Publication::zip(const std::string& relative, const std::vector<ZipEntry>& entries) {
    const std::string path = root + relative;
    std::string why;
    ::unlink(path.c_str());
    if (!make_parent(path) || !zip_write(path, entries, why))
        return fail("cannot write the archive " + path + (why.empty() ? "" : " (" + why + ")"));
    // The archive is made to compare it: it follows from its entries' files and their dates.
    if (take_over(relative, [&](const std::string& old) { return same_files(old, path); })) return true;
    written.push_back(relative);
    return true;
}

std::int64_t Publication::size(const std::string& relative) const {
    return file_size(root + relative);
}

bool usable_path_part(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32 || c == 127;
    });
}

} // namespace tkv::cli
