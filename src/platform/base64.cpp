#include "platform/base64.h"

#include <algorithm>
#include <cstdint>

namespace tkv {

std::string base64_encode(std::string_view bytes) {
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string r;
    r.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 3; ++k)
            v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            r += k <= n ? digits[(v >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return r;
}

std::optional<std::string> base64_decode(std::string_view text) {
    std::string r;
    r.reserve(text.size() / 4 * 3 + 3);
    std::uint32_t bits = 0;
    std::size_t sextets = 0; // of the group being read
    std::size_t padding = 0;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        if (padding > 0) return std::nullopt;
        std::uint32_t v = 0;
        if (c >= 'A' && c <= 'Z')
            v = static_cast<std::uint32_t>(c - 'A');
        else if (c >= 'a' && c <= 'z')
            v = static_cast<std::uint32_t>(c - 'a' + 26);
        else if (c >= '0' && c <= '9')
            v = static_cast<std::uint32_t>(c - '0' + 52);
        else if (c == '+')
            v = 62;
        else if (c == '/')
            v = 63;
        else
            return std::nullopt;
        bits = (bits << 6) | v;
        if (++sextets == 4) {
            r += static_cast<char>(bits >> 16);
            r += static_cast<char>(bits >> 8);
            r += static_cast<char>(bits);
            bits = 0;
            sextets = 0;
        }
    }
    // A last group of one character holds no whole byte; padding, when present, completes its group.
    if (sextets == 1 || (padding > 0 && (sextets < 2 || sextets + padding != 4))) return std::nullopt;
    if (sextets >= 2) r += static_cast<char>(bits >> (6 * sextets - 8));
    if (sextets == 3) r += static_cast<char>(bits >> 2);
    return r;
}

} // namespace tkv
