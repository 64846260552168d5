#include "cli/zip_writer.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

namespace tkv::cli {

bool zip_write(const std::string& archive, const std::vector<ZipEntry>& entries, std::string& error) {
    int code = 0;
    zip_t* za = zip_open(archive.c_str(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        error = archive + ": " + zip_error_strerror(&e);
        zip_error_fini(&e);
        return false;
    }
    const auto failed = [&](const std::string& why) {
        error = why;
        zip_discard(za); // libzip writes the archive only on a successful close
        return false;
    };
    for (const ZipEntry& entry : entries) {
        // libzip reads the file only when the archive is closed and then names the archive alone.
        if (std::FILE* f = std::fopen(entry.source.c_str(), "rb"))
            std::fclose(f);
        else
            return failed(entry.source + ": " + std::strerror(errno));
        // 0 takes the file to its end.
        zip_source_t* source = zip_source_file(za, entry.source.c_str(), 0, 0);
        if (!source) return failed(entry.source + ": " + zip_strerror(za));
        if (zip_file_add(za, entry.name.c_str(), source, 0) < 0) {
            zip_source_free(source);
            return failed(entry.name + ": " + zip_strerror(za));
        }
    }
    if (zip_close(za) != 0) return failed(archive + ": " + zip_strerror(za));
    return true;
}

std::optional<std::vector<std::string>> files_below(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::path base(folder);
    if (!base.has_filename()) base = base.parent_path(); // "a/b/" lists as "a/b"
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(base, ec), end; it != end; it.increment(ec)) {
        if (ec) return std::nullopt;
        if (!it->is_symlink(ec) && it->is_regular_file(ec))
            files.push_back(it->path().lexically_relative(base).generic_string());
    }
    if (ec) return std::nullopt;
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace tkv::cli
