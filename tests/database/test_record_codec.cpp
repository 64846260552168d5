#include "database/record_codec.h"

#include <bzlib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "shell/numbers.h"
#include "support/temp_dir.h"

using namespace std::literals;

namespace tkv {
namespace {

struct Expanded {
    GAMES2_TEMP_ARRAY_TYPE record;
    int error = 0;
};

const std::vector<INFO_TYPE_ENTRY> standard_types = {{5, "Old cheats"}, {7, "Walkthrough"}, {5, "Cheats"}};

// Expands a game whose data is the given compressed block.
Expanded expand_compressed(std::string data, const std::vector<INFO_TYPE_ENTRY>& types = standard_types) {
    GameDatabase db;
    db.info_types = types;
    db.games.push_back({12, "Abc\r\nAbc 2", std::move(data), 34, "mine", {"abc.exe", "/games", "-x"}});
    Expanded e;
    e.error = games_uncompress_data(db, 0, false, e.record);
    return e;
}

Expanded expand(std::string_view block, const std::vector<INFO_TYPE_ENTRY>& types = standard_types) {
    return expand_compressed(block_compress(block), types);
}

std::string bzip2_tool(const std::string& input, const std::string& options) {
    test::TempDir dir;
    const std::string in = dir.write("in", input);
    const std::string command = "bzip2 " + options + " -c '" + in + "' > '" + dir.path("out") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir.read("out");
}

// The lists as readable lines, one per entry, fields separated by "|".
std::vector<std::string> infos_of(const GAMES2_TEMP_ARRAY_TYPE& g) {
    std::vector<std::string> r;
    for (const auto& i : g.infos)
        r.push_back(i.type_name + "|" + i.text);
    return r;
}
std::vector<std::string> files_of(const GAMES2_TEMP_ARRAY_TYPE& g) {
    std::vector<std::string> r;
    for (const auto& f : g.files)
        r.push_back(f.url + "|" + f.size + "|" + f.title + "|" + f.description);
    return r;
}
std::vector<std::string> homepages_of(const GAMES2_TEMP_ARRAY_TYPE& g) {
    std::vector<std::string> r;
    for (const auto& h : g.homepages)
        r.push_back(h.url + "|" + h.title + "|" + h.description);
    return r;
}

using Lines = std::vector<std::string>;

TEST(BlockCodec, ExpandsWhatTheEncoderWrote) {
    const std::string block =
        block_encode({{5, "", "Press 1 2 3"}, {0, "Tip", "Jump"}, {9, "", "Unknown type"}},
                     {{"file://patch.zip", "12 KB", "Patch", "Fixes\r\nthings"}},
                     {{"http://abc.example/", "Abc site", "Official"}});
    const Expanded e = expand(block);
    ASSERT_EQ(e.error, 0);
    EXPECT_EQ(infos_of(e.record), (Lines{"Cheats|Press 1 2 3", "Tip|Jump", "???|Unknown type"}));
    EXPECT_EQ(files_of(e.record), (Lines{"file://patch.zip|12 KB|Patch|Fixes\r\nthings"}));
    EXPECT_EQ(homepages_of(e.record), (Lines{"http://abc.example/|Abc site|Official"}));
    // The record's own fields come along unchanged.
    EXPECT_EQ(e.record.id, 12);
    EXPECT_EQ(e.record.names, "Abc\r\nAbc 2");
    EXPECT_EQ(e.record.title, "Abc");
    EXPECT_EQ(e.record.revision, 34);
    EXPECT_EQ(e.record.user_text, "mine");
    EXPECT_EQ(e.record.run, (GAMES2_RUN_TYPE{"abc.exe", "/games", "-x"}));
    EXPECT_EQ(e.record.data, block_compress(block));
}

TEST(BlockCodec, ReadsBlocksOfTheStandardBzip2Tool) {
    // A predefined code whose low byte is set, inline code 3, an entry with an empty text that is
    // dropped while reading goes on, one file and one home page.
    // clang-format off
    const std::string block = "\x05\x7F" "\x00\x00\x00\x04" "Keys"
                              "\x00\x03" "Tip" "\x00\x00\x00\x00"
                              "\x00\x03" "Tip" "\x00\x00\x00\x04" "Jump"
                              "\x00\x00"
                              "\x00\x05" "a.zip" "\x02" "1k" "\x01" "A" "\x00\x02" "dd"
                              "\x00\x00"
                              "\x00\x04" "http" "\x01" "H" "\x00\x00"
                              "\x00\x00"s;
    // clang-format on
    const Expanded e = expand_compressed(bzip2_tool(block, "-k"));
    ASSERT_EQ(e.error, 0);
    EXPECT_EQ(infos_of(e.record), (Lines{"Cheats|Keys", "Tip|Jump"}));
    EXPECT_EQ(files_of(e.record), (Lines{"a.zip|1k|A|dd"}));
    EXPECT_EQ(homepages_of(e.record), (Lines{"http|H|"}));
    // And the tool reads what the publisher's side writes.
    EXPECT_EQ(bzip2_tool(block_compress(block), "-d"), block);
}

TEST(BlockCodec, PredefinedTypeNames) {
    const std::string block = block_encode({{5, "", "Keys"}}, {}, {});
    EXPECT_EQ(expand(block).record.infos.at(0).type_name, "Cheats"); // the last entry of type 5 wins
    EXPECT_EQ(expand(block, {{7, "Walkthrough"}}).record.infos.at(0).type_name, "???");
    EXPECT_EQ(games_search_predifened_inormation_type(standard_types, 5), "Cheats");
    EXPECT_EQ(games_search_predifened_inormation_type(standard_types, 6), "");
}

TEST(BlockCodec, EntryCutOffByTheEndOfTheBlockIsDroppedWithEveryLaterSection) {
    const std::string full = block_encode({{0, "First", "one"}, {0, "Second", "second text"}},
                                          {{"file-url", "1", "File", "file description"}},
                                          {{"page-url", "Page", "page description"}});
    struct Case {
        std::size_t cut;
        std::size_t infos, files, homepages;
    };
    const Case cases[] = {
        {full.find("Second") - 1, 1, 0, 0},            // inside the second entry's code
        {full.find("second text") + 3, 1, 0, 0},       // inside its text
        {full.find("file-url") - 2, 2, 0, 0},          // right after the first section
        {full.find("file description") + 1, 2, 0, 0},  // inside the file's description
        {full.find("Page"), 2, 1, 0},                  // inside the home page's title
        {full.find("page description") + 16, 2, 1, 1}, // page complete, the section end missing
        {full.size(), 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cut);
        const Expanded e = expand(full.substr(0, c.cut));
        EXPECT_EQ(e.error, 0);
        EXPECT_EQ(e.record.infos.size(), c.infos);
        EXPECT_EQ(e.record.files.size(), c.files);
        EXPECT_EQ(e.record.homepages.size(), c.homepages);
    }
}

TEST(BlockCodec, LengthBeyondTheBlockDropsTheEntryAndEveryLaterSection) {
    const std::string info = bytes_of_u16(5) + "First" + bytes_of_u32(3) + "one";
    const std::string file_head = bytes_of_u16(3) + "url" + bytes_of_u8(1) + "1" + bytes_of_u8(1) + "T";
    const std::string end = bytes_of_u16(0);
    const std::string file = file_head + end; // with an empty description
    struct Case {
        std::string block;
        std::size_t infos, files;
    };
    const Case cases[] = {
        {info + bytes_of_u16(6) + "Second" + bytes_of_u32(0xFFFFFFFF) + "abc", 1, 0}, // an entry's text
        {info + end + file + bytes_of_u16(0xFFFF) + "abc", 1, 1},                     // a file's url
        {info + end + file_head + bytes_of_u16(0xFFFF) + "abc", 1, 0},                // a file's description
        {info + end + file + end + bytes_of_u16(1) + "h" + bytes_of_u8(0xFF) + "abc", 1, 1}, // a page's title
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.block));
        const Expanded e = expand(c.block);
        EXPECT_EQ(e.error, 0);
        EXPECT_EQ(infos_of(e.record), Lines(c.infos, "First|one"));
        EXPECT_EQ(e.record.files.size(), c.files);
        EXPECT_TRUE(e.record.homepages.empty());
    }
}

TEST(BlockCodec, EachListKeepsItsFirst255Entries) {
    std::vector<BlockInfo> infos;
    std::vector<GAMES2_FILES_TYPE> files;
    std::vector<GAMES2_HOMEPAGES_TYPE> pages;
    for (int i = 0; i < 256; ++i) {
        const std::string n = std::to_string(i);
        infos.push_back({0, "t" + n, "x"});
        files.push_back({"f" + n, "", "", ""});
        pages.push_back({"p" + n, "", ""});
    }
    const Expanded e = expand(block_encode(infos, files, pages));
    ASSERT_EQ(e.record.infos.size(), 255u);
    ASSERT_EQ(e.record.files.size(), 255u);
    ASSERT_EQ(e.record.homepages.size(), 255u);
    EXPECT_EQ(e.record.infos.back().type_name, "t254");
    EXPECT_EQ(e.record.files.back().url, "f254");
    EXPECT_EQ(e.record.homepages.back().url, "p254");
}

TEST(BlockCodec, EncoderCutsLengthsAndLeavesOutWhatCannotBeStored) {
    const std::string long_name(300, 'n');
    const std::string long_description(70000, 'd');
    const Expanded e =
        expand(block_encode({{0, "", "no name"}, {0, long_name, "text"}},
                            {{"", "1", "no url", ""}, {"u", std::string(300, 's'), "T", long_description}},
                            {{"", "no url", ""}, {"h", std::string(256, 't'), ""}}));
    ASSERT_EQ(e.record.infos.size(), 1u);
    EXPECT_EQ(e.record.infos[0].type_name, long_name.substr(0, 255));
    ASSERT_EQ(e.record.files.size(), 1u);
    EXPECT_EQ(e.record.files[0].size, std::string(255, 's'));
    EXPECT_EQ(e.record.files[0].description, long_description.substr(0, 65535));
    ASSERT_EQ(e.record.homepages.size(), 1u);
    EXPECT_EQ(e.record.homepages[0].title, std::string(255, 't'));
}

TEST(BlockCodec, EmptyDataAndNewRecordsGiveAnEmptyRecord) {
    const Expanded empty = expand_compressed("");
    EXPECT_EQ(empty.error, 0);
    EXPECT_EQ(empty.record.title, "Abc");
    EXPECT_TRUE(empty.record.infos.empty() && empty.record.files.empty() && empty.record.homepages.empty());

    GameDatabase db;
    db.games.push_back(
        {12, "Abc", block_compress(block_encode({{0, "A", "b"}}, {}, {})), 3, "u", {"p", "", ""}});
    // With the flag the table is not read; an index outside the table is taken as a new record.
    for (auto [index, flag] :
         {std::pair{-1, true}, std::pair{0, true}, std::pair{1, false}, std::pair{-1, false}}) {
        SCOPED_TRACE(index);
        GAMES2_TEMP_ARRAY_TYPE out;
        out.infos.push_back({"left", "over"});
        out.title = "left over";
        EXPECT_EQ(games_uncompress_data(db, index, flag, out), 0);
        EXPECT_EQ(out.id, 0);
        EXPECT_EQ(out.names, "");
        EXPECT_EQ(out.title, "");
        EXPECT_EQ(out.data, "");
        EXPECT_EQ(out.user_text, "");
        EXPECT_EQ(out.run, GAMES2_RUN_TYPE{});
        EXPECT_TRUE(out.infos.empty());
    }
}

TEST(BlockCodec, TitleIsTheFirstName) {
    GameDatabase db;
    db.games.push_back({1, "Only", "", 0, "", {}});
    db.games.push_back({2, "Doom\r\nDoom II", "", 0, "", {}});
    GAMES2_TEMP_ARRAY_TYPE out;
    games_uncompress_data(db, 0, false, out);
    EXPECT_EQ(out.title, "Only");
    games_uncompress_data(db, 1, false, out);
    EXPECT_EQ(out.title, "Doom");
}

TEST(BlockDecompress, DamagedStreamsGiveLibbz2Codes) {
    const std::string good = block_compress(block_encode({{0, "A", "text"}}, {}, {}));
    std::string flipped = good;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x55);
    struct Case {
        std::string data;
        int error;
        std::size_t infos;
    };
    const Case cases[] = {
        {"garbage, not a block", BZ_DATA_ERROR_MAGIC, 0},
        {flipped, BZ_DATA_ERROR, 0},
        // Only the stream's end marker is missing: the block came out whole and its entry stays.
        {good.substr(0, good.size() - 5), BZ_UNEXPECTED_EOF, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const Expanded e = expand_compressed(c.data);
        EXPECT_EQ(e.error, c.error);
        EXPECT_EQ(e.record.infos.size(), c.infos);
    }
    EXPECT_EQ(block_decompress("").error, BZ_UNEXPECTED_EOF);
}

TEST(BlockDecompress, IgnoresBytesAfterTheFirstStream) {
    const DecompressResult r = block_decompress(block_compress("first") + block_compress("second") + "junk");
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.bytes, "first");
}

TEST(BlockDecompress, DamagedBlockKeepsTheEntriesExpandedBeforeTheDamage) {
    // More than one 900k bzip2 block of poorly compressible text, cut inside the last block.
    std::vector<BlockInfo> infos;
    std::uint32_t seed = 1;
    for (int i = 0; i < 255; ++i) {
        std::string text(6000, ' ');
        for (char& c : text) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>('a' + (seed >> 16) % 26);
        }
        infos.push_back({0, "n" + std::to_string(i), text});
    }
    const std::string compressed = block_compress(block_encode(infos, {}, {}));
    const Expanded e = expand_compressed(compressed.substr(0, compressed.size() - 1000));
    EXPECT_EQ(e.error, BZ_UNEXPECTED_EOF);
    ASSERT_GT(e.record.infos.size(), 100u);
    ASSERT_LT(e.record.infos.size(), 255u);
    for (std::size_t i = 0; i < e.record.infos.size(); ++i)
        ASSERT_EQ(e.record.infos[i].text, infos[i].text) << i;
}

TEST(BlockDecompress, ExpansionStopsAtTheCap) {
    const DecompressResult at_cap = block_decompress(block_compress(std::string(block_expansion_cap, '\0')));
    EXPECT_EQ(at_cap.error, 0);
    EXPECT_EQ(at_cap.bytes.size(), block_expansion_cap);

    // A record whose last entry holds 100 MiB: the block stops at the cap and the record keeps the
    // entries that were complete before it.
    const std::string bomb_block = block_compress(block_encode(
        {{0, "First", "one"}, {0, "Second", "two"}, {0, "Big", std::string(std::size_t{100} << 20, '\0')}},
        {}, {}));
    const DecompressResult bomb = block_decompress(bomb_block);
    EXPECT_EQ(bomb.error, BZ_MEM_ERROR);
    EXPECT_LE(bomb.bytes.size(), block_expansion_cap);
    EXPECT_GT(bomb.bytes.size(), block_expansion_cap - 65536);
    const Expanded e = expand_compressed(bomb_block);
    EXPECT_EQ(e.error, BZ_MEM_ERROR);
    EXPECT_EQ(infos_of(e.record), (Lines{"First|one", "Second|two"}));
}

TEST(RunText, BuildAndParse) {
    const GAMES2_RUN_TYPE run{"C:/games/abc.exe", "C:/games", "-nosound -x"};
    EXPECT_EQ(run_text_build(run), "C:/games/abc.exe\r\nC:/games\r\n-nosound -x");
    EXPECT_EQ(run_text_parse(run_text_build(run)), run);
    struct Case {
        std::string text;
        GAMES2_RUN_TYPE run;
    };
    const Case cases[] = {
        {"", {}},
        {"abc.exe", {}}, // a path alone is not a launch text
        {"abc.exe\r\n/games", {"abc.exe", "", ""}},
        {"a\r\n\r\n", {"a", "", ""}},
        {"a\r\nf\r\np1\r\np2", {"a", "f", "p1\r\np2"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run_text_parse(c.text), c.run) << c.text;
}

} // namespace
} // namespace tkv
