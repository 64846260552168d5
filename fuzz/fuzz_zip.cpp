// ZIP extraction into a folder. Whatever the archive holds, nothing appears outside the target,
// no link is made, a file the user chose to keep stays as it was, and a refused archive writes
// nothing at all.
#include "fuzz/fuzz_support.h"
#include "shell/files.h"
#include "shell/zip_extract.h"

#include <filesystem>

using namespace tkv;
namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    const std::string archive = scratch.write("a.zip", fuzz::bytes_of(data, size));
    const std::string target = scratch.path("target/");
    scratch.add("target/keep.txt", "kept");

    ZipCallbacks callbacks;
    callbacks.may_overwrite = [](const std::string& path) { return file_name_of_path(path) != "keep.txt"; };
    std::uint64_t last_done = 0;
    callbacks.progress = [&](std::uint64_t done, std::uint64_t total) {
        TKV_FUZZ_CHECK(done >= last_done && done <= total);
        last_done = done;
    };
    const ZipExtractResult result = zip_extract(archive, target, "*.*", callbacks);
    TKV_FUZZ_CHECK(result.ok == result.error.empty());

    // Only the archive and the target folder are in the scratch folder, and nothing beside it.
    for (const auto& entry : fs::directory_iterator(scratch.root()))
        TKV_FUZZ_CHECK(entry.path().filename() == "in");
    for (const auto& entry : fs::directory_iterator(scratch.folder())) {
        const std::string name = entry.path().filename().string();
        TKV_FUZZ_CHECK(name == "a.zip" || name == "target");
    }
    std::uint64_t on_disk = 0;
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(target)) {
        TKV_FUZZ_CHECK(!entry.is_symlink());
        TKV_FUZZ_CHECK(entry.is_directory() || entry.is_regular_file());
        if (entry.is_regular_file() && entry.path().filename() != "keep.txt") {
            on_disk += entry.file_size();
            ++files;
        }
    }
    TKV_FUZZ_CHECK(file_read_all(target + "keep.txt") == "kept");
    TKV_FUZZ_CHECK(result.bytes_written >= on_disk && result.files >= files);
    const bool refused = result.error.find("would leave the target folder") != std::string::npos ||
                         result.error.find("is a symbolic link") != std::string::npos ||
                         result.error.find("more than 4 GiB") != std::string::npos;
    if (refused) TKV_FUZZ_CHECK(files == 0 && result.bytes_written == 0);
    return 0;
}
