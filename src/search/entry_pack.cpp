#include "search/entry_pack.h"

#include <cstdint>
#include <zstd.h>

namespace tkv {

namespace {

// Far above any game's texts; a damaged size is not trusted beyond it.
constexpr std::uint32_t unpacked_max = 256u << 20;

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool get32(std::string_view& in, std::uint32_t& v) {
    if (in.size() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[static_cast<std::size_t>(i)])) << (8 * i);
    in.remove_prefix(4);
    return true;
}

bool get_text(std::string_view& in, std::string& text) {
    std::uint32_t size = 0;
    if (!get32(in, size) || size > in.size()) return false;
    text.assign(in.substr(0, size));
    in.remove_prefix(size);
    return true;
}

} // namespace

std::string pack_entries(const std::vector<SearchEntry>& entries) {
    std::string raw;
    for (const SearchEntry& e : entries) {
        raw += static_cast<char>(e.kind);
        put32(raw, static_cast<std::uint32_t>(e.entry));
        put32(raw, static_cast<std::uint32_t>(e.category.size()));
        raw += e.category;
        put32(raw, static_cast<std::uint32_t>(e.text.size()));
        raw += e.text;
    }
    std::string out;
    put32(out, static_cast<std::uint32_t>(raw.size()));
    out.resize(4 + ZSTD_compressBound(raw.size()));
    // The fastest level: the texts are packed while the whole profile is indexed.
    const std::size_t size = ZSTD_compress(out.data() + 4, out.size() - 4, raw.data(), raw.size(), 1);
    if (ZSTD_isError(size)) return {};
    out.resize(4 + size);
    return out;
}

std::optional<std::vector<SearchEntry>> unpack_entries(std::string_view packed) {
    std::uint32_t raw_size = 0;
    if (!get32(packed, raw_size) || raw_size > unpacked_max) return std::nullopt;
    std::string raw(raw_size, '\0');
    const std::size_t size = ZSTD_decompress(raw.data(), raw.size(), packed.data(), packed.size());
    if (ZSTD_isError(size) || size != raw_size) return std::nullopt;
    std::vector<SearchEntry> entries;
    std::string_view in = raw;
    while (!in.empty()) {
        SearchEntry e;
        std::uint32_t entry = 0;
        const auto kind = static_cast<unsigned char>(in[0]);
        in.remove_prefix(1);
        if (kind > static_cast<unsigned char>(EntryKind::user_text) || !get32(in, entry) ||
            !get_text(in, e.category) || !get_text(in, e.text))
            return std::nullopt;
        e.kind = static_cast<EntryKind>(kind);
        e.entry = entry;
        entries.push_back(std::move(e));
    }
    return entries;
}

} // namespace tkv
