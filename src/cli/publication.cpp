#include "cli/publication.h"

#include "shell/files.h"

#include <algorithm>
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

} // namespace

bool Publication::write(const std::string& relative, std::string_view bytes) {
    const std::string path = root + relative;
    if (!make_parent(path) || !write_text_file(path, bytes)) return fail("cannot write " + path);
    return true;
}

bool Publication::copy(const std::string& source, const std::string& relative) {
    const std::string path = root + relative;
    if (!make_parent(path) || !file_copy(source, path)) return fail("cannot copy " + source + " to " + path);
    return true;
}

bool Publication::zip(const std::string& relative, const std::vector<ZipEntry>& entries) {
    const std::string path = root + relative;
    std::string why;
    if (!make_parent(path) || !zip_write(path, entries, why))
        return fail("cannot write the archive " + path + (why.empty() ? "" : " (" + why + ")"));
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
