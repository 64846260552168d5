#include "database/record_codec.h"

#include <bzlib.h>

#include <algorithm>
#include <array>
#include <limits>

#include "database/dat_text.h"
#include "shell/bytestream.h"
#include "shell/numbers.h"

namespace tkv {

namespace {

constexpr std::size_t bz_piece = 65536;
constexpr std::size_t inline_name_max = 255; // codes from 256 on name a predefined type

bool read_length(MemoryStream& m, std::uint8_t& n) {
    return stream_read_u8(m, n);
}
bool read_length(MemoryStream& m, std::uint16_t& n) {
    return stream_read_u16(m, n);
}
bool read_length(MemoryStream& m, std::uint32_t& n) {
    std::int32_t v = 0;
    if (!stream_read_u32(m, v)) return false;
    n = static_cast<std::uint32_t>(v);
    return true;
}

// A text after its length; false when the buffer ends before the text is complete.
template <class Length> bool read_text(MemoryStream& m, std::string& out) {
    Length n{};
    return read_length(m, n) && stream_read_bytes(m, out, n);
}

// Each reader returns false when its section was cut off by the end of the buffer: the entry
// being read is dropped and no later section is read.
bool read_infos(MemoryStream& m, const std::vector<INFO_TYPE_ENTRY>& types,
                std::vector<GAMES2_INFOS_TYPE>& infos) {
    std::uint16_t code = 0;
    if (!stream_read_u16(m, code)) return false;
    while (code > 0) {
        GAMES2_INFOS_TYPE info;
        if (code > inline_name_max) {
            info.type_name = games_search_predifened_inormation_type(types, code >> 8);
            if (info.type_name.empty()) info.type_name = "???";
        } else if (!stream_read_bytes(m, info.type_name, code)) {
            return false;
        }
        if (!read_text<std::uint32_t>(m, info.text)) return false;
        // The name is never empty here (code > 0, unknown types show "???"); an empty text drops the entry.
        if (infos.size() < expanded_list_max && !info.text.empty()) infos.push_back(std::move(info));
        if (!stream_read_u16(m, code)) return false;
    }
    return true;
}

// A non-zero url length always gives a non-empty url, so only the list limit drops files and pages.
bool read_files(MemoryStream& m, std::vector<GAMES2_FILES_TYPE>& files) {
    std::uint16_t url_length = 0;
    if (!stream_read_u16(m, url_length)) return false;
    while (url_length > 0) {
        GAMES2_FILES_TYPE file;
        if (!stream_read_bytes(m, file.url, url_length) || !read_text<std::uint8_t>(m, file.size) ||
            !read_text<std::uint8_t>(m, file.title) || !read_text<std::uint16_t>(m, file.description))
            return false;
        if (files.size() < expanded_list_max) files.push_back(std::move(file));
        if (!stream_read_u16(m, url_length)) return false;
    }
    return true;
}

void read_homepages(MemoryStream& m, std::vector<GAMES2_HOMEPAGES_TYPE>& homepages) {
    std::uint16_t url_length = 0;
    if (!stream_read_u16(m, url_length)) return;
    while (url_length > 0) {
        GAMES2_HOMEPAGES_TYPE page;
        if (!stream_read_bytes(m, page.url, url_length) || !read_text<std::uint8_t>(m, page.title) ||
            !read_text<std::uint16_t>(m, page.description))
            return;
        if (homepages.size() < expanded_list_max) homepages.push_back(std::move(page));
        if (!stream_read_u16(m, url_length)) return;
    }
}

void expand_block(std::string block, const std::vector<INFO_TYPE_ENTRY>& types, GAMES2_TEMP_ARRAY_TYPE& out) {
    MemoryStream m{std::move(block), 0};
    if (read_infos(m, types, out.infos) && read_files(m, out.files)) read_homepages(m, out.homepages);
}

std::string first_name(const std::string& names) {
    if (names.find("\r\n") == std::string::npos) return names;
    return names.substr(0, names.find('\r'));
}

} // namespace

DecompressResult block_decompress(std::string_view compressed) {
    DecompressResult result;
    bz_stream strm{};
    result.error = BZ2_bzDecompressInit(&strm, 0, 0);
    if (result.error != BZ_OK) return result;
    std::array<char, bz_piece> out{};
    std::size_t offset = 0;
    for (;;) {
        if (strm.avail_in == 0 && offset < compressed.size()) {
            const std::size_t n = std::min(bz_piece, compressed.size() - offset);
            // libbz2 takes a non-const pointer but only reads the input.
            strm.next_in = const_cast<char*>(compressed.data() + offset);
            strm.avail_in = static_cast<unsigned>(n);
            offset += n;
        }
        strm.next_out = out.data();
        strm.avail_out = static_cast<unsigned>(out.size());
        const unsigned in_before = strm.avail_in;
        const int rc = BZ2_bzDecompress(&strm);
        if (rc != BZ_OK && rc != BZ_STREAM_END) {
            result.error = rc;
            break;
        }
        const std::size_t produced = out.size() - strm.avail_out;
        if (produced > block_expansion_cap - result.bytes.size()) {
            result.error = BZ_MEM_ERROR;
            break;
        }
        result.bytes.append(out.data(), produced);
        if (rc == BZ_STREAM_END) break;
        // No progress in either direction: the input ran out before the stream's end.
        if (produced == 0 && strm.avail_in == in_before) {
            result.error = BZ_UNEXPECTED_EOF;
            break;
        }
    }
    BZ2_bzDecompressEnd(&strm);
    return result;
}

std::string block_compress(std::string_view raw) {
    // libbz2's documented worst case: 1% larger plus 600 bytes.
    const std::size_t bound = raw.size() + raw.size() / 100 + 600;
    if (bound > std::numeric_limits<unsigned>::max()) return {};
    std::string out(bound, '\0');
    unsigned out_length = static_cast<unsigned>(bound);
    // libbz2 refuses a null source even when it is empty; it only reads the source.
    char none = 0;
    char* source = raw.empty() ? &none : const_cast<char*>(raw.data());
    const int rc =
        BZ2_bzBuffToBuffCompress(out.data(), &out_length, source, static_cast<unsigned>(raw.size()), 9, 0, 0);
    if (rc != BZ_OK) return {};
    out.resize(out_length);
    return out;
}

std::string games_search_predifened_inormation_type(const std::vector<INFO_TYPE_ENTRY>& types, int number) {
    std::string name;
    for (const INFO_TYPE_ENTRY& t : types)
        if (t.type_number == number) name = t.type_name;
    return name;
}

int games_uncompress_data(const GameDatabase& db, std::int32_t index, bool new_record,
                          GAMES2_TEMP_ARRAY_TYPE& out) {
    out = GAMES2_TEMP_ARRAY_TYPE{};
    // A new record is the empty one (its launch settings are those of an empty launch text).
    if (new_record || index < 0 || static_cast<std::size_t>(index) >= db.games.size()) return 0;
    const GAMES2_ARRAY_TYPE& game = db.games[static_cast<std::size_t>(index)];
    out.id = game.id;
    out.names = game.names;
    out.title = first_name(game.names);
    out.data = game.data;
    out.revision = game.revision;
    out.user_text = game.user_text;
    out.run = game.run;
    if (out.data.empty()) return 0;
    DecompressResult block = block_decompress(out.data);
    expand_block(std::move(block.bytes), db.info_types, out);
    return block.error;
}

GAMES2_RUN_TYPE run_text_parse(std::string_view text) {
    GAMES2_RUN_TYPE run;
    if (text.find("\r\n") == std::string_view::npos) return run;
    run.path = text.substr(0, text.find('\r'));
    const std::string_view rest = text.substr(text.find('\n') + 1);
    if (rest.find("\r\n") == std::string_view::npos) return run;
    run.folder = rest.substr(0, rest.find('\r'));
    run.parameters = rest.substr(rest.find('\n') + 1);
    return run;
}

std::string run_text_build(const GAMES2_RUN_TYPE& run) {
    return run.path + "\r\n" + run.folder + "\r\n" + run.parameters;
}

std::string block_encode(const std::vector<BlockInfo>& infos, const std::vector<GAMES2_FILES_TYPE>& files,
                         const std::vector<GAMES2_HOMEPAGES_TYPE>& homepages) {
    std::string r;
    for (const BlockInfo& info : infos) {
        if (info.type_number != 0)
            r += bytes_of_u16(std::uint32_t{info.type_number} << 8);
        else if (!info.name.empty())
            r += text16(std::string_view(info.name).substr(0, inline_name_max));
        else
            continue;
        r += text32(info.text);
    }
    r += bytes_of_u16(0);
    for (const GAMES2_FILES_TYPE& f : files)
        if (!f.url.empty()) r += text16(f.url) + text8(f.size) + text8(f.title) + text16(f.description);
    r += bytes_of_u16(0);
    for (const GAMES2_HOMEPAGES_TYPE& h : homepages)
        if (!h.url.empty()) r += text16(h.url) + text8(h.title) + text16(h.description);
    r += bytes_of_u16(0);
    return r;
}

} // namespace tkv
