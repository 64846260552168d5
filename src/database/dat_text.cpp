#include "database/dat_text.h"

#include "shell/numbers.h"

#include <limits>

namespace tkv {

namespace {

template <class Length, class ReadLength>
bool read_text(BinaryFile& f, std::string& out, ReadLength read_length) {
    Length length{};
    if (!read_length(f, length)) return false;
    // A u32 length is read as signed; a negative one cannot be satisfied by any file.
    if constexpr (std::is_signed_v<Length>)
        if (length < 0) return false;
    return file_read_bytes(f, out, static_cast<std::size_t>(length));
}

std::string with_length(std::string_view s, std::size_t max, std::string (*length_bytes)(std::uint32_t)) {
    s = s.substr(0, max);
    return length_bytes(static_cast<std::uint32_t>(s.size())).append(s);
}

} // namespace

bool read_text8(BinaryFile& f, std::string& out) { return read_text<std::uint8_t>(f, out, file_read_u8); }
bool read_text16(BinaryFile& f, std::string& out) { return read_text<std::uint16_t>(f, out, file_read_u16); }
bool read_text32(BinaryFile& f, std::string& out) { return read_text<std::int32_t>(f, out, file_read_u32); }

std::string text8(std::string_view s) { return with_length(s, 0xFF, bytes_of_u8); }
std::string text16(std::string_view s) { return with_length(s, 0xFFFF, bytes_of_u16); }
std::string text32(std::string_view s) {
    return with_length(s, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()), bytes_of_u32);
}

bool read_dat_header(BinaryFile& f, DatHeader& out) {
    return read_text8(f, out.magic) && read_text8(f, out.id) && read_text8(f, out.name) &&
           read_text8(f, out.language) && read_text8(f, out.date);
}

std::string encode_dat_header(const DatHeader& h) {
    return text8(h.magic) + text8(h.id) + text8(h.name) + text8(h.language) + text8(h.date);
}

} // namespace tkv
