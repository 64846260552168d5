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

} // namespace

void u_progress_unzip(UNZIP_REQUEST& request, UnzipUi& ui) {
    // A file named like the archive without its extension is left alone: on Linux that is an
    // ordinary name ("ocean" beside "ocean.tkvs"), not something an earlier unpacking left.
    ui.set_progress(0);

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
