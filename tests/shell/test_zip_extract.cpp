#include "shell/files.h"
#include "shell/zip_extract.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tkv {
namespace {

namespace fs = std::filesystem;

// Every file and folder below root with the files' contents.
std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> tree;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root, ec)) {
        const std::string name = fs::relative(e.path(), root).string();
        tree[name] = e.is_directory() ? "<folder>" : test::TempDir::read_file(e.path().string());
    }
    return tree;
}

void run(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Packs everything in dir/src/ with the zip tool into dir/name.
std::string zip_tool(const test::TempDir& dir, const std::string& name, const std::string& args) {
    run("cd '" + dir.path("src") + "' && zip -q -r " + args + " '" + dir.path(name) + "' .");
    return dir.path(name);
}

// Archives the zip tool refuses to make: the script gets the archive path as `a`.
std::string python_zip(const test::TempDir& dir, const std::string& name, const std::string& script) {
    const std::string py = dir.write("make.py", "import struct, sys, zipfile\na = sys.argv[1]\n" + script);
    run("/usr/bin/python3 '" + py + "' '" + dir.path(name) + "'");
    file_delete(py);
    return dir.path(name);
}

ZipExtractResult extract_all(const std::string& archive, const std::string& target) {
    return zip_extract(archive, target, "*.*", {});
}

TEST(ZipExtract, KeepsFoldersAndContents) {
    test::TempDir dir;
    dir.write("src/top.txt", "top");
    dir.write("src/sub/a.txt", "alpha");
    dir.write("src/sub/deeper/b.dat", "beta!");
    fs::create_directories(dir.path("src/empty"));
    const std::string archive = zip_tool(dir, "a.zip", "");

    const ZipExtractResult r = extract_all(archive, dir.path("out"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.files, 3u);
    EXPECT_EQ(r.bytes_written, 13u);
    const std::map<std::string, std::string> expected = {
        {"empty", "<folder>"},      {"sub", "<folder>"},           {"sub/a.txt", "alpha"},
        {"sub/deeper", "<folder>"}, {"sub/deeper/b.dat", "beta!"}, {"top.txt", "top"}};
    EXPECT_EQ(snapshot(dir.path("out")), expected); // and no temporary files
}

TEST(ZipExtract, MaskSelectsByFileNameIgnoringCase) {
    test::TempDir dir;
    dir.write("src/TOP.TXT", "1");
    dir.write("src/sub/a.txt", "2");
    dir.write("src/sub/b.dat", "3");
    dir.write("src/data/c.dat", "4");
    const std::string archive = zip_tool(dir, "a.zip", "");

    const ZipExtractResult r = zip_extract(archive, dir.path("out"), "*.txt", {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.files, 2u);
    const std::map<std::string, std::string> expected = {
        {"TOP.TXT", "1"}, {"sub", "<folder>"}, {"sub/a.txt", "2"}};
    EXPECT_EQ(snapshot(dir.path("out")), expected);
}

TEST(ZipExtract, BackslashSeparatedNamesLandInFolders) {
    test::TempDir dir;
    const std::string archive =
        python_zip(dir, "w.zip", "with zipfile.ZipFile(a, 'w') as z: z.writestr('win\\\\c.txt', 'c')\n");
    ASSERT_TRUE(extract_all(archive, dir.path("out")).ok);
    EXPECT_EQ(dir.read("out/win/c.txt"), "c");
}

TEST(ZipExtract, ProgressGrowsToTheWholeArchiveSize) {
    test::TempDir dir;
    std::string big;
    for (int i = 0; big.size() < 300000; ++i)
        big += std::to_string(i * 7919) + ",";
    dir.write("src/big.txt", big);
    dir.write("src/small.dat", "small");
    const std::string archive = zip_tool(dir, "a.zip", "");

    std::vector<std::uint64_t> done;
    std::vector<std::uint64_t> totals;
    ZipCallbacks callbacks;
    callbacks.progress = [&](std::uint64_t d, std::uint64_t t) {
        done.push_back(d);
        totals.push_back(t);
    };
    const std::uint64_t whole = big.size() + 5;
    ASSERT_TRUE(zip_extract(archive, dir.path("out"), "*.*", callbacks).ok);
    ASSERT_GT(done.size(), 2u); // reported per block, not per file
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_EQ(std::adjacent_find(done.begin(), done.end()), done.end());
    EXPECT_EQ(done.back(), whole);
    EXPECT_EQ(totals, std::vector<std::uint64_t>(totals.size(), whole));

    // The total stays the whole archive when the mask leaves entries out.
    done.clear();
    totals.clear();
    ASSERT_TRUE(zip_extract(archive, dir.path("out2"), "*.dat", callbacks).ok);
    EXPECT_EQ(done, std::vector<std::uint64_t>{5});
    EXPECT_EQ(totals, std::vector<std::uint64_t>{whole});
}

TEST(ZipExtract, AsksOnlyForExistingFilesAndSkipsRefusedOnes) {
    test::TempDir dir;
    dir.write("src/a.txt", "new a");
    dir.write("src/b.txt", "new b");
    dir.write("src/c.txt", "new c");
    const std::string archive = zip_tool(dir, "a.zip", "");
    dir.write("out/a.txt", "old a");
    dir.write("out/b.txt", "old b");

    std::vector<std::string> asked;
    ZipCallbacks callbacks;
    callbacks.may_overwrite = [&](const std::string& path) {
        asked.push_back(path);
        return path == dir.path("out/a.txt");
    };
    const ZipExtractResult r = zip_extract(archive, dir.path("out"), "*.*", callbacks);
    ASSERT_TRUE(r.ok) << r.error; // a refused file is skipped, not a failure
    EXPECT_EQ(r.files, 2u);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{dir.path("out/a.txt"), dir.path("out/b.txt")}));
    const std::map<std::string, std::string> expected = {
        {"a.txt", "new a"}, {"b.txt", "old b"}, {"c.txt", "new c"}};
    EXPECT_EQ(snapshot(dir.path("out")), expected);
}

// Each archive fails and changes nothing: not the target, not its parent, not the archive.
TEST(ZipExtract, BadArchivesFailAndChangeNothing) {
    // A good entry first: it must not be written either.
    const auto hostile = [](const std::string& add_entry) {
        return [add_entry](const test::TempDir& dir) {
            const std::string script = "with zipfile.ZipFile(a, 'w') as z:\n"
                                       "    z.writestr('good.txt', 'good')\n    ";
            return python_zip(dir, "h.zip", script + add_entry + "\n");
        };
    };
    // Gives every entry named "big..." another uncompressed size in both of its headers.
    const auto declaring = [](std::uint32_t size) {
        return "\nn = " + std::to_string(size) + R"(
d = bytearray(open(a, 'rb').read())
for signature, size_at, name_at in ((b'PK\x03\x04', 22, 30), (b'PK\x01\x02', 24, 46)):
    p = d.find(signature)
    while p >= 0:
        if d[p + name_at:p + name_at + 3] == b'big': struct.pack_into('<I', d, p + size_at, n)
        p = d.find(signature, p + 4)
open(a, 'wb').write(d)
)";
    };
    // 10000 bytes deflated: a tiny entry that can declare any size.
    const auto big = [](const std::string& name) {
        return "z.writestr('" + name + "', 'A' * 10000, zipfile.ZIP_DEFLATED)";
    };
    const auto lying_size = [=](std::uint32_t declared) {
        return [=](const test::TempDir& dir) {
            return python_zip(dir, "l.zip",
                              "with zipfile.ZipFile(a, 'w') as z:\n    " + big("big.txt") +
                                  declaring(declared));
        };
    };
    struct Case {
        const char* what;
        std::function<std::string(const test::TempDir&)> make;
        std::string error_part;
    };
    const std::vector<Case> cases = {
        {"parent", hostile("z.writestr('../evil.txt', 'x')"), "../evil.txt"},
        {"absolute", hostile("z.writestr('/abs.txt', 'x')"), "/abs.txt"},
        {"parent inside", hostile("z.writestr('a/../../x', 'x')"), "a/../../x"},
        {"backslash parent", hostile("z.writestr('..\\\\evil.txt', 'x')"), "..\\evil.txt"},
        {"drive letter", hostile("z.writestr('C:/evil.txt', 'x')"), "C:/evil.txt"},
        {"drive letter and backslash", hostile("z.writestr('C:\\\\evil.txt', 'x')"), "C:\\evil.txt"},
        {"symlink",
         hostile("i = zipfile.ZipInfo('link'); i.create_system = 3; i.external_attr = 0o120777 << 16; "
                 "z.writestr(i, '../outside')"),
         "link"},
        {"missing", [](const test::TempDir& dir) { return dir.path("none.zip"); }, "No such file"},
        {"empty file", [](const test::TempDir& dir) { return dir.write("e.zip", ""); }, "Not a zip archive"},
        {"not a zip", [](const test::TempDir& dir) { return dir.write("n.zip", "plain text, no archive"); },
         "Not a zip archive"},
        {"truncated",
         [](const test::TempDir& dir) {
             dir.write("src/a.txt", std::string(4000, 'a'));
             const std::string whole = test::TempDir::read_file(zip_tool(dir, "t.zip", ""));
             return dir.write("t.zip", whole.substr(0, whole.size() / 2));
         },
         "Not a zip archive"},
        {"CRC mismatch",
         [](const test::TempDir& dir) {
             dir.write("src/data.txt", "hello archive contents");
             std::string bytes = test::TempDir::read_file(zip_tool(dir, "c.zip", "-0"));
             bytes.replace(bytes.find("hello"), 5, "jello");
             return dir.write("c.zip", bytes);
         },
         "CRC"},
        {"larger than declared", lying_size(100), "larger than its declared size"},
        {"smaller than declared", lying_size(20000), "smaller than its declared size"},
        // Two entries of 2 GiB and a byte each after a good one: refused before anything is written.
        {"gigabytes declared", hostile(big("big1.txt") + "; " + big("big2.txt") + declaring(0x80000001u)),
         "more than 4 GiB"},
        // The ZIP64 mark without its extra field: libzip refuses the archive when opening it.
        {"size field 0xFFFFFFFF", hostile(big("big.txt") + declaring(0xFFFFFFFFu)), "Cannot unpack"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string archive = c.make(dir);
        fs::remove_all(dir.path("src"));
        dir.write("out/old.txt", "old");
        const auto before = snapshot(dir.folder());

        const ZipExtractResult r = extract_all(archive, dir.path("out"));
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(c.error_part), std::string::npos) << r.error;
        EXPECT_EQ(snapshot(dir.folder()), before);
    }
}

} // namespace
} // namespace tkv
