#include "shell/codepage.h"

#include "shell/text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iconv.h>

namespace tkv {

namespace {

const char* iconv_name(CodePage cp) {
    return cp == CodePage::windows_1250 ? "WINDOWS-1250" : "WINDOWS-1252";
}

// Converts with iconv; at a byte sequence it cannot convert, writes `replacement` and skips
// one input byte (or one whole UTF-8 sequence when `skip_utf8_sequence`), handing what it
// skipped to `skipped` when given.
std::string convert(std::string_view in, const char* to, const char* from, std::string_view replacement,
                    bool skip_utf8_sequence, std::vector<std::string>* skipped = nullptr) {
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    std::array<char, 4096> buffer{};
    while (src_left > 0) {
        char* dst = buffer.data();
        std::size_t dst_left = buffer.size();
        const std::size_t r = ::iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buffer.data(), buffer.size() - dst_left);
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL: an unconvertible or cut-off sequence.
        out += replacement;
        std::size_t skip = 1;
        if (skip_utf8_sequence) {
            const auto lead = static_cast<unsigned char>(*src);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            for (std::size_t i = 1; i < skip; ++i)
                if (i >= src_left || (static_cast<unsigned char>(src[i]) & 0xC0) != 0x80) skip = i;
        }
        if (skipped) skipped->emplace_back(src, skip);
        src += skip;
        src_left -= skip;
    }
    ::iconv_close(cd);
    return out;
}

} // namespace

CodePage code_page_for_language(std::string_view language) {
    static constexpr std::string_view central_european[] = {
        "hungarian", "magyar",  "czech",     "cesk",     "polish", "polski",   "slovak",
        "slovensk",  "slovene", "slovenian", "croatian", "hrvat",  "romanian", "roman",
    };
    const std::string name = ascii_lower_text(trim_controls(language));
    for (std::string_view prefix : central_european)
        if (name.starts_with(prefix)) return CodePage::windows_1250;
    return CodePage::windows_1252;
}

std::string to_utf8(std::string_view bytes, CodePage cp) {
    return convert(bytes, "UTF-8", iconv_name(cp), "\xEF\xBF\xBD", false);
}

std::string from_utf8(std::string_view utf8, CodePage cp) {
    return convert(utf8, iconv_name(cp), "UTF-8", "?", true);
}

std::vector<std::string> characters_not_in(std::string_view utf8, CodePage cp) {
    std::vector<std::string> skipped;
    convert(utf8, iconv_name(cp), "UTF-8", "?", true, &skipped);
    std::vector<std::string> r;
    for (std::string& c : skipped)
        if (std::find(r.begin(), r.end(), c) == r.end()) r.push_back(std::move(c));
    return r;
}

std::string character_list(const std::vector<std::string>& characters) {
    std::string r;
    for (const std::string& c : characters) {
        if (!r.empty()) r += ", ";
        // The code point from the UTF-8 sequence; a stray byte is shown by its value.
        const auto lead = static_cast<unsigned char>(c[0]);
        std::uint32_t code = c.size() == 1 ? lead : lead & (0xFFu >> (c.size() + 1));
        for (std::size_t i = 1; i < c.size(); ++i)
            code = code << 6 | (static_cast<unsigned char>(c[i]) & 0x3Fu);
        char hex[16];
        if (c.size() == 1 && lead >= 0x80) {
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(lead));
            r += hex;
        } else {
            std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
            r += c + " (" + hex + ")";
        }
    }
    return r;
}

} // namespace tkv
