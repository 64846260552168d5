// The server's version file and version notes, read against the running version.
#include "fuzz/fuzz_support.h"
#include "internet/download_rules.h"
#include "internet/version_check.h"

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytes_of(data, size);
    const std::string latest = latest_version_of(input);
    TKV_FUZZ_CHECK(latest.size() <= size);
    TKV_FUZZ_CHECK(latest.find_first_of("\r\n") == std::string::npos);
    (void)upgrade_notes_due(latest, "3.50");

    const std::optional<std::string> body = text_resource_body(input);
    if (!body) return 0;
    for (const std::string_view running : {"3.50", "0", ""}) {
        const NewerNotes notes = newer_version_notes(*body, running);
        TKV_FUZZ_CHECK(notes.latest >= running);
        TKV_FUZZ_CHECK(notes.notes.size() <= 2 * body->size() + 8);
    }
    return 0;
}
