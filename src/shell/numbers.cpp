#include "shell/numbers.h"

#include <algorithm>
#include <charconv>

namespace tkv {

namespace {

std::string big_endian_bytes(std::uint32_t n, int count) {
    std::string r;
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8)
        r += static_cast<char>((n >> shift) & 0xFF);
    return r;
}

} // namespace

// Decimal only: blanks and hexadecimal forms ("$1F", "0x1F") are not numbers in these files.
std::int32_t parse_int(std::string_view s, std::int32_t default_value) {
    bool plus = s.starts_with('+');
    std::string_view digits = s.substr(plus || s.starts_with('-') ? 1 : 0);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return default_value;
    std::int32_t value = 0;
    bool fits = std::from_chars(s.data() + (plus ? 1 : 0), s.data() + s.size(), value).ec == std::errc();
    return fits ? value : default_value;
}

std::int32_t parse_int_in_range(std::string_view s, std::int32_t default_value, std::int32_t min,
                                std::int32_t max) {
    std::int32_t value = parse_int(s, default_value);
    return value < min || value > max ? default_value : value;
}

bool parse_bool(std::string_view s) {
    return s != "0";
}
std::string format_bool(bool b) {
    return b ? "1" : "0";
}

std::string format_int_padded(std::int64_t n, int width) {
    std::string r = std::to_string(n);
    if (static_cast<int>(r.size()) < width) r.insert(0, static_cast<std::size_t>(width) - r.size(), '0');
    return r;
}

std::string bytes_of_u8(std::uint32_t n) {
    return big_endian_bytes(n, 1);
}
std::string bytes_of_u16(std::uint32_t n) {
    return big_endian_bytes(n, 2);
}
std::string bytes_of_u32(std::uint32_t n) {
    return big_endian_bytes(n, 4);
}

} // namespace tkv
