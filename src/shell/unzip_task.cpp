#include "shell/unzip_task.h"

#include "shell/files.h"
#include "shell/zip_extract.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace tkv {
namespace {

// The extractor never reports more than the total; the guards only keep the bar in range.
int percent_of(std::uint64_t done, std::uint64_t total) {
    if (total == 0) return 100;
    const double share = std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
    return static_cast<int>(std::lround(share * 100.0));
}

// A file "name" beside "name.zip" may be left from an earlier unpacking into the same folder.
void delete_unpacked_leftover(const std::string& archive) {
    const std::string leftover = folder_of_path(archive) + base_name_of_path(archive);
    if (leftover != archive && file_exists(leftover)) file_delete(leftover);
}

} // namespace

void u_progress_unzip(UNZIP_REQUEST& request, UnzipUi& ui) {
    ui.set_progress(0);
    delete_unpacked_leftover(request.archive);

    std::optional<bool> overwrite; // one answer for the whole archive
    if (request.silent) overwrite = true;
    ZipCallbacks callbacks;
    callbacks.may_overwrite = [&](const std::string&) {
        if (!overwrite) overwrite = ui.ask_overwrite();
        return *overwrite;
    };
    callbacks.progress = [&](std::uint64_t done, std::uint64_t total) {
        ui.set_progress(percent_of(done, total));
    };
    request.unpacked = zip_extract(request.archive, request.target_folder, request.file_mask, callbacks).ok;

    if (!request.silent && !ui.ask_delete_archive(request.unpacked)) return;
    const bool deleted = file_delete(request.archive);
    if (!request.silent) ui.report_deletion(deleted);
}

} // namespace tkv
