#pragma once
// Number and boolean texts as the configuration and data files write them.

#include <cstdint>
#include <string>
#include <string_view>

namespace tkv {

// The whole decimal number in s (optional sign, no blanks); default when s is not one
// or does not fit in 32 bits.
std::int32_t parse_int(std::string_view s, std::int32_t default_value);
std::int32_t parse_int_in_range(std::string_view s, std::int32_t default_value, std::int32_t min,
                                std::int32_t max);
// False only for the exact text "0".
bool parse_bool(std::string_view s);
std::string format_bool(bool b);
std::string format_int_padded(std::int64_t n, int width);

std::string bytes_of_u8(std::uint32_t n);
std::string bytes_of_u16(std::uint32_t n);
std::string bytes_of_u32(std::uint32_t n);

} // namespace tkv
