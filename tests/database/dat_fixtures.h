#pragma once
// main.dat and user.dat bytes written out by hand, independent of the program's writer.

#include <cstdint>
#include <string>
#include <vector>

namespace tkv::test {

inline std::string u8(std::uint32_t v) {
    return std::string(1, static_cast<char>(v & 0xFF));
}
inline std::string u16(std::uint32_t v) {
    return u8(v >> 8) + u8(v);
}
inline std::string u32(std::uint32_t v) {
    return u16(v >> 16) + u16(v);
}
inline std::string t8(const std::string& s) {
    return u8(static_cast<std::uint32_t>(s.size())) + s;
}
inline std::string t16(const std::string& s) {
    return u16(static_cast<std::uint32_t>(s.size())) + s;
}
inline std::string t32(const std::string& s) {
    return u32(static_cast<std::uint32_t>(s.size())) + s;
}

inline const std::string date_text = "20261210143000000";

inline std::string header(const std::string& magic) {
    return t8(magic) + t8("pc") + t8("PC games") + t8("English") + t8(date_text);
}

struct MainGame {
    std::int32_t id;
    std::string names;
    std::string data = "";
    std::int32_t revision = 1;
};

inline std::string main_game(const MainGame& g) {
    return u32(static_cast<std::uint32_t>(g.id)) + t16(g.names) + t32(g.data) +
           u32(static_cast<std::uint32_t>(g.revision));
}

inline std::string main_dat(const std::vector<std::pair<int, std::string>>& types,
                            const std::vector<MainGame>& games) {
    std::string s = header("TRICKVAULT350GAMEPROFILE");
    for (const auto& [number, name] : types)
        s += u8(static_cast<std::uint32_t>(number)) + t8(name);
    s += u16(0);
    for (const auto& g : games)
        s += main_game(g);
    return s + u32(0) + u8(0);
}

struct UserRecord {
    std::string names;
    std::int32_t id;
    std::string user_text;
    std::string launch = "\r\n\r\n";
};

inline std::string user_dat(const std::string& last_game, const std::vector<UserRecord>& records) {
    std::string s = header("TRICKVAULT350USERPROFILE") + t16(last_game);
    for (const auto& r : records)
        s += t16(r.names) + u32(static_cast<std::uint32_t>(r.id)) + t32(r.user_text) + t16(r.launch);
    return s + u16(0) + u8(0);
}

} // namespace tkv::test
