// A game's compressed information block. The first byte chooses what the rest is: a bzip2 stream
// as stored (the expander's paths), or the expanded block, compressed here so that the entry
// parser sees every layout the fuzzer makes rather than only streams with a valid checksum.
#include "database/record_codec.h"
#include "fuzz/fuzz_support.h"

#include <bzlib.h>

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest = fuzz::bytes_of(data + 1, size - 1);
    const bool raw = (data[0] & 1) != 0;

    GameDatabase db;
    db.info_types = {{1, "Cheats"}, {2, "Hints"}, {7, "Codes"}};
    db.games = {{42, "Game", raw ? block_compress(rest) : std::string(rest), 1, "", {}}};

    const DecompressResult expanded = block_decompress(db.games[0].data);
    TKV_FUZZ_CHECK(expanded.bytes.size() <= block_expansion_cap);
    TKV_FUZZ_CHECK(expanded.error <= 0);
    if (raw) TKV_FUZZ_CHECK(expanded.error == 0 && expanded.bytes == rest);

    GAMES2_TEMP_ARRAY_TYPE record;
    const int error = games_uncompress_data(db, 0, false, record);
    TKV_FUZZ_CHECK(error == (db.games[0].data.empty() ? 0 : expanded.error)); // no block: an empty record
    TKV_FUZZ_CHECK(record.id == 42 && record.title == "Game");
    TKV_FUZZ_CHECK(record.infos.size() <= expanded_list_max);
    TKV_FUZZ_CHECK(record.files.size() <= expanded_list_max);
    TKV_FUZZ_CHECK(record.homepages.size() <= expanded_list_max);
    std::size_t text_bytes = 0;
    for (const auto& info : record.infos) text_bytes += info.text.size();
    for (const auto& f : record.files) text_bytes += f.url.size() + f.size.size() + f.title.size() + f.description.size();
    for (const auto& h : record.homepages) text_bytes += h.url.size() + h.title.size() + h.description.size();
    TKV_FUZZ_CHECK(text_bytes <= expanded.bytes.size());
    return 0;
}
