#include "shell/numbers.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(Numbers, ParseIntTakesOnlyAWholeDecimalNumber) {
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+7", 7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", -1},
        {"-2147483649", -1},
        {"", -1},
        {"-", -1},
        {"+", -1},
        {"+-1", -1},
        {" 1", -1},
        {"1 ", -1},
        {"12abc", -1},
        {"$1F", -1},
        {"0x1F", -1},
        {"1.5", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse_int(c.text, -1), c.value) << '"' << c.text << '"';
}

TEST(Numbers, ParseIntInRangeFallsBackOutsideTheRange) {
    EXPECT_EQ(parse_int_in_range("1", 5, 1, 12), 1);
    EXPECT_EQ(parse_int_in_range("12", 5, 1, 12), 12);
    EXPECT_EQ(parse_int_in_range("13", 5, 1, 12), 5);
    EXPECT_EQ(parse_int_in_range("0", 5, 1, 12), 5);
    EXPECT_EQ(parse_int_in_range("x", 5, 1, 12), 5);
}

TEST(Numbers, BooleansAreFalseOnlyForZero) {
    EXPECT_FALSE(parse_bool("0"));
    for (const char* text : {"", "00", "1", "false", " 0"})
        EXPECT_TRUE(parse_bool(text)) << text;
    EXPECT_EQ(format_bool(true), "1");
    EXPECT_EQ(format_bool(false), "0");
}

TEST(Numbers, FormatIntPadded) {
    EXPECT_EQ(format_int_padded(7, 3), "007");
    EXPECT_EQ(format_int_padded(1234, 3), "1234");
    EXPECT_EQ(format_int_padded(0, 0), "0");
    EXPECT_EQ(format_int_padded(20040101000000000, 17), "20040101000000000");
}

TEST(Numbers, BytesAreBigEndianAndCutToWidth) {
    EXPECT_EQ(bytes_of_u8(0x1AB), "\xAB");
    EXPECT_EQ(bytes_of_u16(0x12345), std::string("\x23\x45", 2));
    EXPECT_EQ(bytes_of_u32(0x01020304), std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(bytes_of_u32(0xFF0000FE), std::string("\xFF\x00\x00\xFE", 4));
}

} // namespace
} // namespace tkv
