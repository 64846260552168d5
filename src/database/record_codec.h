#pragma once
// The compressed information block of a game record, its expansion into the expanded record,
// and the launch text kept in user.dat.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/game_types.h"

namespace tkv {

// No block may expand beyond this: a tiny bzip2 bomb must not eat the memory.
inline constexpr std::size_t block_expansion_cap = std::size_t{64} << 20;

struct DecompressResult {
    std::string bytes; // on error: what was expanded before it
    int error = 0;     // 0, or libbz2's negative result code (BZ_MEM_ERROR when over the cap)
};

// Expands the first bzip2 stream of `compressed`; bytes after its end are ignored. An empty or
// cut-off stream gives BZ_UNEXPECTED_EOF.
DecompressResult block_decompress(std::string_view compressed);

// The publisher's side: the standard bzip2 format, 900k blocks, deterministic output. Gives an
// empty text only when libbz2 refuses the input (more than about 4 GiB).
std::string block_compress(std::string_view raw);

// The name of a predefined information type: the last entry with that number wins; none gives "".
std::string games_search_predifened_inormation_type(const std::vector<INFO_TYPE_ENTRY>& types, int number);

// Fills `out` from db.games[index], or with an empty record when new_record is set (the table is
// then not read and index may be -1). An index outside the table is taken as a new record too.
// Returns 0, or libbz2's error code when the block is damaged; `out` then holds the entries that
// were complete in what decompressed before the damage.
int games_uncompress_data(const GameDatabase& db, std::int32_t index, bool new_record,
                          GAMES2_TEMP_ARRAY_TYPE& out);

// The launch text: path, CR LF, folder, CR LF, parameters.
GAMES2_RUN_TYPE run_text_parse(std::string_view text);
std::string run_text_build(const GAMES2_RUN_TYPE& run);

// One information entry as the publisher stores it.
struct BlockInfo {
    std::uint8_t type_number = 0; // 1..255: a predefined type, no name stored
    std::string name;             // used when type_number is 0
    std::string text;
};

// The decompressed block: information entries, files, home pages. Every length is cut to its
// field so the result is always readable. What a zero length would turn into a section end
// (an inline name or url that is empty) cannot be stored, so such entries are left out.
std::string block_encode(const std::vector<BlockInfo>& infos, const std::vector<GAMES2_FILES_TYPE>& files,
                         const std::vector<GAMES2_HOMEPAGES_TYPE>& homepages);

} // namespace tkv
