// tkv.ini: whatever the file holds, the options it gives write a file of the same shape (no
// value adds a line or a key) that reads back to the same options.
#include "fuzz/fuzz_support.h"
#include "shell/config_file.h"
#include "shell/text_lines.h"

using namespace tkv;

namespace {

constexpr DateTime now{std::int64_t{46000} * 86400000}; // a fixed day in 2025

struct Loaded {
    OPTIONS_TYPE options;
    bool first_run = true;
    std::string version;
    UsageStats stats;
};

Loaded fresh() {
    Loaded l;
    stats_reset(l.stats, now);
    return l;
}

Loaded load(const std::string& path) {
    Loaded l = fresh();
    program_ini_load(path, {l.options, l.first_run, l.version, l.stats}, now);
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& scratch = fuzz::Scratch::instance();
    const Loaded first = load(scratch.write("tkv.ini", fuzz::bytes_of(data, size)));
    const std::string text = program_ini_text(first.options, first.stats);

    static const std::size_t default_lines = [] {
        const Loaded defaults = fresh();
        return split_lines(program_ini_text(defaults.options, defaults.stats)).size();
    }();
    TKV_FUZZ_CHECK(split_lines(text).size() == default_lines);

    const Loaded second = load(scratch.add("again.ini", text));
    TKV_FUZZ_CHECK(program_ini_text(second.options, second.stats) == text);
    return 0;
}
