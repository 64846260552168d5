#include "database/dat_text.h"
#include "shell/files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(DatText, EncodingsCutToTheirFields) {
    EXPECT_EQ(text8("ab"), std::string("\x02"
                                       "ab"));
    EXPECT_EQ(text16("ab"), std::string("\x00\x02"
                                        "ab",
                                        4));
    EXPECT_EQ(text32(""), std::string(4, '\0'));
    EXPECT_EQ(text8(std::string(300, 'x')), "\xFF" + std::string(255, 'x'));
    EXPECT_EQ(text16(std::string(70000, 'x')).size(), 2u + 65535u);
}

TEST(DatText, ReadersStopAtTheEnd) {
    test::TempDir dir;
    BinaryFile f;
    ASSERT_TRUE(file_open_read(
        f, dir.write("t", text8("abc") + text16("de") + std::string("\x00\x00\x00\x09xy", 6))));
    std::string s;
    EXPECT_TRUE(read_text8(f, s));
    EXPECT_EQ(s, "abc");
    EXPECT_TRUE(read_text16(f, s));
    EXPECT_EQ(s, "de");
    EXPECT_FALSE(read_text32(f, s)); // 9 bytes announced, 2 there
    EXPECT_TRUE(f.at_end());
}

TEST(DatText, AtomicWriteReplacesOnlyOnClose) {
    test::TempDir dir;
    const std::string path = dir.write("main.dat", "old");
    {
        BinaryFile f;
        ASSERT_TRUE(file_open_write_atomic(f, path));
        bool ok = true;
        write_text8(f, "new", ok);
        EXPECT_EQ(dir.read("main.dat"), "old"); // dropped without close: discarded
    }
    EXPECT_EQ(dir.read("main.dat"), "old");
    BinaryFile f;
    ASSERT_TRUE(file_open_write_atomic(f, path));
    bool ok = true;
    write_text8(f, "new", ok);
    EXPECT_TRUE(file_close(f));
    EXPECT_EQ(dir.read("main.dat"), "\x03new");
    EXPECT_EQ(folder_list_files(dir.folder(), ".*").size(), 0u);
}

} // namespace
} // namespace tkv
