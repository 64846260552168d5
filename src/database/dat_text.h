#pragma once
// Length-prefixed texts and the five-text header shared by main.dat and user.dat.

#include <string>
#include <string_view>

#include "shell/bytestream.h"

namespace tkv {

inline constexpr std::string_view main_dat_magic = "TRICKVAULT350GAMEPROFILE";
inline constexpr std::string_view user_dat_magic = "TRICKVAULT350USERPROFILE";

// A text after its u8 / u16 / u32 length; false when the file ends before it is complete.
bool read_text8(BinaryFile& f, std::string& out);
bool read_text16(BinaryFile& f, std::string& out);
bool read_text32(BinaryFile& f, std::string& out);

// The encoded forms. A text longer than its length field can hold is cut to the field's limit,
// so the length always tells the truth.
std::string text8(std::string_view s);
std::string text16(std::string_view s);
std::string text32(std::string_view s);

// The same encodings written straight to a file (large texts are not copied); ok turns false
// when a write fails.
void write_text8(BinaryFile& f, std::string_view s, bool& ok);
void write_text16(BinaryFile& f, std::string_view s, bool& ok);
void write_text32(BinaryFile& f, std::string_view s, bool& ok);

struct DatHeader {
    std::string magic;
    std::string id;
    std::string name;
    std::string language;
    std::string date; // 17-digit date-time text
};

// The five text8 header texts; false when the file ends inside them.
bool read_dat_header(BinaryFile& f, DatHeader& out);
std::string encode_dat_header(const DatHeader& h);

} // namespace tkv
