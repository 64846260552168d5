#pragma once
// A font file no system has installed: a copy of a system font whose family is renamed in its name
// table (same length as "DejaVu Sans", so every offset stays), written where a skin keeps it.

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace tkv::test {

inline std::string renamed_font(const TempDir& dir, const std::string& family,
                                const std::string& file = "skins/test/Wave.ttf") {
    const auto replace_all = [](std::string& s, const std::string& from, const std::string& to) {
        for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
    };
    const auto utf16be = [](const std::string& ascii) {
        std::string out;
        for (char ch : ascii)
            out += std::string(1, '\0') + ch;
        return out;
    };
    std::string bytes = TempDir::read_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (bytes.empty()) ADD_FAILURE() << "DejaVuSans.ttf is not installed";
    const std::string original = "DejaVu Sans";
    replace_all(bytes, original, family);
    replace_all(bytes, utf16be(original), utf16be(family));
    return dir.write(file, bytes);
}

} // namespace tkv::test
