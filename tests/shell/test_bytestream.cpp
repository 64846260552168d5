#include "shell/bytestream.h"

#include <gtest/gtest.h>

#include "shell/numbers.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

using test::TempDir;

std::string pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i * 13);
    return s;
}

const std::string numbers = bytes_of_u8(0xAB) + bytes_of_u16(0x1234) + bytes_of_u32(0xFFFFFFFE);

TEST(BinaryFile, WritesAndReadsBack) {
    TempDir dir;
    const std::string p = dir.path("main.dat"), blob = pattern(3000);
    BinaryFile f;
    ASSERT_TRUE(file_open_write(f, p));
    bool ok = true;
    file_write_bytes(f, numbers, ok);
    file_write_bytes(f, blob, ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(file_close(f));
    EXPECT_EQ(dir.read("main.dat"), numbers + blob);

    ASSERT_TRUE(file_open_read(f, p));
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::int32_t i32 = 0;
    std::string bytes;
    EXPECT_TRUE(file_read_u8(f, u8) && file_read_u16(f, u16) && file_read_u32(f, i32));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i32, -2);
    EXPECT_FALSE(f.at_end());
    EXPECT_TRUE(file_read_bytes(f, bytes, blob.size()));
    EXPECT_EQ(bytes, blob);
    EXPECT_TRUE(f.at_end());
    EXPECT_FALSE(file_read_u16(f, u16));
    EXPECT_EQ(u16, 0x1234);
    EXPECT_TRUE(file_close(f));
    EXPECT_FALSE(file_close(f));
}

TEST(BinaryFile, TruncatedFileKeepsCompletePiecesOnly) {
    TempDir dir;
    const std::string data = pattern(2048 + 100);
    BinaryFile f;
    ASSERT_TRUE(file_open_read(f, dir.write("cut.dat", data)));
    std::string out = "stale";
    EXPECT_FALSE(file_read_bytes(f, out, 4096));
    EXPECT_EQ(out, data.substr(0, 2048));

    ASSERT_TRUE(file_open_read(f, dir.write("short.dat", "\x01\x02\x03")));
    std::int32_t value = 77;
    EXPECT_FALSE(file_read_u32(f, value));
    EXPECT_EQ(value, 77);
    EXPECT_FALSE(file_open_read(f, dir.path("missing")));
    EXPECT_FALSE(f.is_open());
}

TEST(BinaryFile, ReportsFailedWrites) {
    BinaryFile f;
    ASSERT_TRUE(file_open_write(f, "/dev/full"));
    bool ok = true;
    file_write_bytes(f, "small", ok); // still in the buffer: the failure shows when it is flushed
    EXPECT_TRUE(ok);
    EXPECT_FALSE(file_close(f));

    ASSERT_TRUE(file_open_write(f, "/dev/full"));
    file_write_bytes(f, pattern(100000), ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(file_close(f));

    TempDir dir;
    ASSERT_TRUE(file_open_write(f, dir.path("x")));
    file_write_bytes(f, "fine", ok);
    EXPECT_FALSE(ok); // a later good write never clears an earlier failure
    EXPECT_TRUE(file_close(f));
}

TEST(MemoryStream, ReadsBigEndianAndNeverPastTheEnd) {
    MemoryStream m{numbers + "xyz", 0};
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::int32_t i32 = 0;
    EXPECT_TRUE(stream_read_u8(m, u8) && stream_read_u16(m, u16) && stream_read_u32(m, i32));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i32, -2);
    EXPECT_FALSE(stream_read_u32(m, i32));
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(m.pos, 7u);
    std::string out;
    EXPECT_TRUE(stream_read_bytes(m, out, 3));
    EXPECT_EQ(out, "xyz");
    EXPECT_TRUE(m.at_end());
    EXPECT_FALSE(stream_read_u8(m, u8));
    EXPECT_EQ(stream_contents(m), numbers + "xyz");

    m.pos = 1000;
    EXPECT_FALSE(stream_read_u16(m, u16));
    EXPECT_FALSE(stream_read_bytes(m, out, 1));
    EXPECT_EQ(out, "");
}

TEST(MemoryStream, ShortReadKeepsCompletePiecesOnly) {
    const std::string data = pattern(3000);
    MemoryStream m{data, 0};
    std::string out;
    EXPECT_FALSE(stream_read_bytes(m, out, std::size_t{1} << 40));
    EXPECT_EQ(out, data.substr(0, 2048));
    EXPECT_EQ(m.pos, 2048u);
}

} // namespace
} // namespace tkv
