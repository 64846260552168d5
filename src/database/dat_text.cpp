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

using LengthBytes = std::string (*)(std::uint32_t);
constexpr std::size_t text32_max = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

std::string with_length(std::string_view s, std::size_t max, LengthBytes length_bytes) {
    s = s.substr(0, max);
    return length_bytes(static_cast<std::uint32_t>(s.size())).append(s);
}

void write_with_length(BinaryFile& f, std::string_view s, std::size_t max, LengthBytes length_bytes,
                       bool& ok) {
    s = s.substr(0, max);
    file_write_bytes(f, length_bytes(static_cast<std::uint32_t>(s.size())), ok);
    file_write_bytes(f, s, ok);
}

} // namespace

bool read_text8(BinaryFile& f, std::string& out) {
    return read_text<std::uint8_t>(f, out, file_read_u8);
}
bool read_text16(BinaryFile& f, std::string& out) {
    return read_text<std::uint16_t>(f, out, file_read_u16);
}
bool read_text32(BinaryFile& f, std::string& out) {
    return read_text<std::int32_t>(f, out, file_read_u32);
}

std::string text8(std::string_view s) {
    return with_length(s, 0xFF, bytes_of_u8);
}
std::string text16(std::string_view s) {
    return with_length(s, 0xFFFF, bytes_of_u16);
}
std::string text32(std::string_view s) {
    return with_length(s, text32_max, bytes_of_u32);
}

void write_text8(BinaryFile& f, std::string_view s, bool& ok) {
    write_with_length(f, s, 0xFF, bytes_of_u8, ok);
}
void write_text16(BinaryFile& f, std::string_view s, bool& ok) {
    write_with_length(f, s, 0xFFFF, bytes_of_u16, ok);
}
void write_text32(BinaryFile& f, std::string_view s, bool& ok) {
    write_with_length(f, s, text32_max, bytes_of_u32, ok);
}

bool read_dat_header(BinaryFile& f, DatHeader& out) {
    return read_text8(f, out.magic) && read_text8(f, out.id) && read_text8(f, out.name) &&
           read_text8(f, out.language) && read_text8(f, out.date);
}

std::string encode_dat_header(const DatHeader& h) {
    return text8(h.magic) + text8(h.id) + text8(h.name) + text8(h.language) + text8(h.date);
}

} // namespace tkv
