#include "shell/files.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

mode_t mode_of(const std::string& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
}

TEST(Files, PathParts) {
    EXPECT_EQ(folder_of_path("/a/b.c/d.tkvl"), "/a/b.c/");
    EXPECT_EQ(folder_of_path("d.tkvl"), "");
    EXPECT_EQ(file_name_of_path("/a/b.c/d.tkvl"), "d.tkvl");
    EXPECT_EQ(file_name_of_path("d.tkvl"), "d.tkvl");
    EXPECT_EQ(file_name_of_path("/a/"), "");
    EXPECT_EQ(base_name_of_path("/a/game.tar.gz"), "game.tar");
    EXPECT_EQ(base_name_of_path("/a.b/game"), "game");
    EXPECT_EQ(with_trailing_slash("/a"), "/a/");
    EXPECT_EQ(with_trailing_slash("/a/"), "/a/");
    EXPECT_EQ(with_trailing_slash(""), "");
}

TEST(Files, SizeAndKind) {
    TempDir dir;
    std::string file = dir.write("f.bin", std::string("ab\0de", 5));
    fs::create_directory(dir.path("sub"));
    EXPECT_EQ(file_size(file), 5);
    EXPECT_EQ(file_size(dir.path("missing")), -1);
    EXPECT_EQ(file_size(dir.path("sub")), -1);
    EXPECT_TRUE(file_exists(file));
    EXPECT_FALSE(file_exists(dir.path("sub")));
    EXPECT_TRUE(folder_exists(dir.path("sub")));
    EXPECT_FALSE(folder_exists(file));
    EXPECT_TRUE(file_delete(file));
    EXPECT_FALSE(file_delete(file));
    EXPECT_FALSE(file_delete(dir.path("sub")));
}

TEST(Files, FileDateIsTheLocalLastWriteTime) {
    TempDir dir;
    std::string file = dir.write("f", "x");
    std::tm tm{};
    tm.tm_year = 2003 - 1900, tm.tm_mon = 4, tm.tm_mday = 15, tm.tm_hour = 12, tm.tm_min = 30, tm.tm_sec = 45;
    tm.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&tm), 123'456'789}, {std::mktime(&tm), 123'456'789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(file_date(file), make_datetime({2003, 5, 15, 12, 30, 45, 123}));

    DateTime before = current_datetime();
    EXPECT_GE(file_date(dir.path("missing")), before);
}

TEST(Files, CopyInPieces) {
    TempDir dir;
    std::string data(20000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    std::string from = dir.write("from", data);
    std::string to = dir.write("to", std::string(30000, 'x'));
    EXPECT_TRUE(file_copy(from, to));
    EXPECT_EQ(dir.read("to"), data);

    EXPECT_TRUE(file_copy(dir.write("empty", ""), to));
    EXPECT_EQ(dir.read("to"), "");

    EXPECT_FALSE(file_copy(dir.path("missing"), dir.path("new")));
    EXPECT_FALSE(file_exists(dir.path("new")));
    EXPECT_FALSE(file_copy(from, dir.path("no/such/folder")));
    EXPECT_FALSE(file_copy(from, from));
    EXPECT_EQ(dir.read("from"), data);
}

TEST(Files, CreateAndRemoveFolders) {
    TempDir dir;
    EXPECT_TRUE(folder_create(dir.path("a/b/c")));
    EXPECT_TRUE(folder_create(dir.path("a/b/c")));
    EXPECT_FALSE(folder_create(dir.write("file", "x") + "/sub"));

    EXPECT_FALSE(folder_remove(dir.path("a")));
    EXPECT_TRUE(folder_remove(dir.path("a/b/c") + "/"));
    EXPECT_FALSE(folder_exists(dir.path("a/b/c")));
}

TEST(Files, DeleteTreeKeepsWhatLinksPointTo) {
    TempDir dir;
    std::string kept = dir.write("outside/keep.txt", "k");
    dir.write("tree/a/b/f.txt", "f");
    dir.write("tree/g.txt", "g");
    fs::create_directory_symlink(dir.path("outside"), dir.path("tree/a/link"));

    EXPECT_TRUE(folder_delete_tree(dir.path("tree")));
    EXPECT_FALSE(fs::exists(dir.path("tree")));
    EXPECT_TRUE(file_exists(kept));
    EXPECT_FALSE(folder_delete_tree(dir.path("tree")));
}

TEST(Files, DeleteMatchingFilesAndEmptySubfolders) {
    TempDir dir;
    dir.write("a.tmp", "");
    dir.write("B.TMP", "");
    dir.write("c.txt", "");
    dir.write("full/d.tmp", "");
    fs::create_directory(dir.path("empty"));

    folder_delete_files(dir.folder(), "*.tmp");
    EXPECT_EQ(sorted(folder_list_files(dir.folder(), "*.*")), std::vector<std::string>{"c.txt"});
    EXPECT_TRUE(file_exists(dir.path("full/d.tmp")));

    folder_remove_empty_subfolders(dir.folder());
    EXPECT_EQ(folder_list_folders(dir.folder()), std::vector<std::string>{"full"});
}

TEST(Files, SafeFileNamesStayInTheirFolder) {
    for (const char* name : {"demo", "0012_blue", "a.b", "..x", "x..", "\xE9t\xE9"})
        EXPECT_TRUE(safe_file_name(name)) << name;
    for (const char* name : {"", ".", "..", "...", "../x", "a/b", "/etc", "a\\b", "..\\x", "a\tb", "a\x7F"})
        EXPECT_FALSE(safe_file_name(name)) << name;
    EXPECT_FALSE(safe_file_name(std::string("a\0b", 3)));
}

TEST(Files, MaskMatches) {
    struct Case {
        std::string_view mask, name;
        bool match;
    };
    const Case cases[] = {
        {"*.*", "readme", true},
        {"*.*", "a.b", true},
        {"*.tkvl", "GAME.TKVL", true},
        {"*.tkvl", "a.tkvl.bak", false},
        {"g?me.*", "game.x", true},
        {"g?me", "gme", false},
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyy", false},
        {"*ab", "aab", true},
        {"*.t?t", "x.txt", true},
        {"\xC1*", "\xE1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mask_matches(c.mask, c.name), c.match) << c.mask << " / " << c.name;
}

TEST(Files, ListingsKeepFilesAndFoldersApart) {
    TempDir dir;
    dir.write("a.txt", "");
    dir.write("b.TXT", "");
    dir.write("c.dat", "");
    dir.write("d.txt/inner.txt", "");
    EXPECT_EQ(sorted(folder_list_files(dir.folder(), "*.txt")), (std::vector<std::string>{"a.txt", "b.TXT"}));
    EXPECT_EQ(folder_list_folders(dir.folder()), std::vector<std::string>{"d.txt"});
    EXPECT_TRUE(folder_list_files(dir.path("missing"), "*.*").empty());
    EXPECT_TRUE(folder_list_folders(dir.path("missing")).empty());
}

TEST(Files, FindNameIgnoringCase) {
    TempDir dir;
    dir.write("Skin.ini", "");
    dir.write("skin.INI", "");
    dir.write("fonts/x", "");
    EXPECT_EQ(find_name_in_folder(dir.folder(), "skin.INI"), "skin.INI");
    EXPECT_EQ(find_name_in_folder(dir.folder(), "Skin.ini"), "Skin.ini");
    EXPECT_EQ(find_name_in_folder(dir.folder(), "FONTS"), "fonts");
    EXPECT_EQ(find_name_in_folder(dir.folder(), "fonts/X"), std::nullopt);
    EXPECT_EQ(find_name_in_folder(dir.folder(), "missing"), std::nullopt);
    EXPECT_EQ(find_name_in_folder(dir.folder(), ""), std::nullopt);
    EXPECT_EQ(find_name_in_folder(dir.path("missing"), "x"), std::nullopt);
}

TEST(Files, ReadAndWriteWholeFiles) {
    TempDir dir;
    EXPECT_EQ(file_read_all(dir.write("bin", std::string("\0\xFF\r\n", 4))), std::string("\0\xFF\r\n", 4));
    EXPECT_EQ(read_text_file(dir.write("text", "a\r\nb\nc\rd\r\n\r\ne\n")), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(read_text_file(dir.write("blank", "\n\nx")), "\r\n\r\nx");
    EXPECT_EQ(file_read_all(dir.path("missing")), "");
    EXPECT_EQ(read_text_file(dir.path("missing")), "");

    EXPECT_TRUE(write_text_file(dir.write("out", "much longer old text"), "new\r\n"));
    EXPECT_EQ(dir.read("out"), "new\r\n");
    EXPECT_FALSE(write_text_file(dir.path("no/out"), "x"));
}

TEST(Files, AtomicWriteReplacesTheFileWhole) {
    TempDir dir;
    std::string p = dir.write("tkv.ini", "old");
    EXPECT_TRUE(write_file_atomic(p, "new text", true));
    EXPECT_EQ(dir.read("tkv.ini"), "new text");
    EXPECT_EQ(mode_of(p), 0600);

    mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_TRUE(write_file_atomic(p, "shared", false));
    EXPECT_EQ(mode_of(p), 0644 & ~mask);
    EXPECT_EQ(sorted(folder_list_files(dir.folder(), "*")), std::vector<std::string>{"tkv.ini"});
}

TEST(Files, FailedAtomicWriteLeavesNoTrace) {
    TempDir dir;
    EXPECT_FALSE(write_file_atomic(dir.path("missing/tkv.ini"), "x", true));
    EXPECT_FALSE(fs::exists(dir.path("missing")));

    // The rename over a folder fails after the temporary file was written.
    std::string target = dir.path("main.dat");
    dir.write("main.dat/keep", "k");
    EXPECT_FALSE(write_file_atomic(target, "x", false));
    EXPECT_EQ(dir.read("main.dat/keep"), "k");
    EXPECT_TRUE(folder_list_files(dir.folder(), "*").empty());
}

} // namespace
} // namespace tkv
