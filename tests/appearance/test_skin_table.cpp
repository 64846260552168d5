#include "appearance/skin_table.h"
#include "shell/text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace tkv {
namespace {

std::string skin_ini(const std::string& name) {
    return "[Skin Informations]\r\nName=" + name + "\r\n";
}

SKINS_TYPE builtin() {
    return skins_setdefault(SystemTitleColors{});
}

SKINS_TYPE named(std::string name) {
    SKINS_TYPE skin;
    skin.name = std::move(name);
    return skin;
}

std::vector<std::string> names_of(const SkinTable& table) {
    std::vector<std::string> names;
    for (const SKINS_TYPE& s : table.skins)
        names.push_back(s.name);
    return names;
}

TEST(SkinTable, SearchListsValidSkinsSortedByName) {
    test::TempDir dir;
    dir.write("skins/b/skin.ini", skin_ini("Beta"));
    dir.write("skins/A1/skin.ini", skin_ini("same"));
    dir.write("skins/zeta/skin.ini", skin_ini("Alpha"));
    dir.write("skins/a2/skin.ini", skin_ini("SAME"));
    dir.write("skins/broken/skin.ini", "[Skin Informations]\r\nVersion=1\r\n");
    dir.write("skins/bare/readme.txt", "no skin here");
    dir.write("skins/file.ini", skin_ini("not a folder"));
    SkinTable table;
    table.current_skin_index = 3;
    skins_search_hidden(table, dir.folder() + "skins/", builtin());

    EXPECT_TRUE(table.searched);
    EXPECT_EQ(table.current_skin_index, 0u);
    const std::vector<std::string> names = names_of(table);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], "Alpha");
    EXPECT_EQ(names[1], "Beta");
    EXPECT_EQ(std::set<std::string>(names.begin() + 2, names.end()), (std::set<std::string>{"same", "SAME"}));

    EXPECT_TRUE(skins_exist(table, "a1"));
    EXPECT_FALSE(skins_exist(table, "A1")); // folders are kept in lower case
    EXPECT_FALSE(skins_exist(table, "broken"));

    // Searching again starts from an empty table.
    skins_search_hidden(table, dir.folder() + "nothing/", builtin());
    EXPECT_TRUE(table.skins.empty());
}

TEST(SkinTable, SearchStopsAtTheTableLimit) {
    test::TempDir dir;
    dir.write("skin/skin.ini", skin_ini("Skin"));
    std::filesystem::create_directory(dir.path("skins"));
    for (std::size_t i = 0; i <= skins_max; ++i)
        std::filesystem::create_directory_symlink(dir.path("skin"), dir.path("skins/s" + std::to_string(i)));
    SkinTable table;
    skins_search_hidden(table, dir.folder() + "skins/", builtin());
    EXPECT_EQ(table.skins.size(), skins_max);
}

TEST(SkinTable, SortUsesAccentAwareLowerCaseAsUnsignedBytes) {
    SkinTable table;
    for (const char* name : {"zed", "\xC9vi", "b", "\xE9va", "Same", "a", "same", "SAME", "B"})
        table.skins.push_back(named(name));
    skins_sort(table, 0, table.skins.size() - 1);
    std::vector<std::string> keys;
    for (const std::string& name : names_of(table))
        keys.push_back(lower_text(name));
    EXPECT_EQ(keys,
              (std::vector<std::string>{"a", "b", "b", "same", "same", "same", "zed", "\xE9va", "\xE9vi"}));
}

TEST(SkinTable, SortKeepsEveryEntryAndHonoursItsRange) {
    SkinTable table;
    for (int i = 0; i < 600; ++i)
        table.skins.push_back(
            named(std::string(1, static_cast<char>('a' + (i * 37) % 7)) + std::to_string((600 - i) % 50)));
    std::vector<std::string> before = names_of(table);
    const std::string first = before[0];
    skins_sort(table, 1, 100000); // the end is clamped to the table
    std::vector<std::string> after = names_of(table);
    EXPECT_EQ(after[0], first);
    EXPECT_TRUE(std::is_sorted(after.begin() + 1, after.end()));
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);

    SkinTable empty;
    skins_sort(empty, 0, 5);
    EXPECT_TRUE(empty.skins.empty());
}

struct InitializeCase {
    const char* what;
    std::string start_skin;
    bool use_skin, random_skin;
    std::string skin_name;
    bool empty_skins_folder;
    // Expected:
    std::string name; // empty: the built-in skin
    bool use_skin_after;
    std::string skin_name_after;
    std::string start_skin_after;
};

TEST(SkinTable, InitializeChoosesTheStartSkin) {
    test::TempDir dir;
    dir.write("skins/Blue/skin.ini", skin_ini("Blue"));
    dir.write("skins/red/skin.ini", skin_ini("Red"));
    const InitializeCase cases[] = {
        {"skins off", "", false, false, "red", false, "", false, "red", ""},
        {"/skin= wins over the options", "blue", false, true, "red", false, "Blue", true, "blue", "blue"},
        {"/skin= of a missing folder is forgotten", "gone", false, false, "red", false, "", false, "red", ""},
        {"then the configured skin applies", "gone", true, false, "red", false, "Red", true, "red", ""},
        {"configured skin", "", true, false, "RED", false, "Red", true, "RED", ""},
        {"configured skin fails", "", true, false, "gone", false, "", false, "", ""},
        {"random skin", "", true, true, "red", false, "Red", true, "red", ""},
        {"random skin without skins", "", true, true, "red", true, "", true, "red", ""},
    };
    const SKINS_TYPE skin_default = builtin();
    for (const InitializeCase& c : cases) {
        SCOPED_TRACE(c.what);
        OPTIONS_TYPE options;
        options.use_skin = c.use_skin;
        options.random_skin = c.random_skin;
        options.skin_name = c.skin_name;
        std::string start_skin = c.start_skin;
        SkinTable table;
        const std::string skins_folder = dir.folder() + (c.empty_skins_folder ? "none/" : "skins/");
        int searches = 0;
        const auto search = [&](SkinTable& t) {
            ++searches;
            skins_search_hidden(t, skins_folder, skin_default);
        };
        const SKINS_TYPE skin = skins_initialize(options, start_skin, table, skins_folder, skin_default,
                                                 search, [](std::size_t n) { return n - 1; });
        EXPECT_EQ(skin.name, c.name);
        EXPECT_EQ(skin.folder.empty(), c.name.empty());
        EXPECT_EQ(options.use_skin, c.use_skin_after);
        EXPECT_EQ(options.skin_name, c.skin_name_after);
        EXPECT_EQ(start_skin, c.start_skin_after);
        EXPECT_EQ(searches, c.random_skin && c.use_skin && c.start_skin_after.empty() ? 1 : 0);
        if (c.random_skin && !table.skins.empty()) {
            EXPECT_EQ(table.current_skin_index, 1u);
        }
    }
}

class FakeFonts : public FontSystem {
  public:
    std::set<std::string> families{"arial"};
    std::vector<std::string> calls;

    bool has_family(const std::string& lower_case_name) override {
        return families.count(lower_case_name) > 0;
    }
    bool add_font_file(const std::string& path) override {
        calls.push_back("add " + path);
        return path.find("broken") == std::string::npos;
    }
    void remove_font_file(const std::string& path) override { calls.push_back("remove " + path); }
};

TEST(SkinTable, SetFontsAddsWhatTheSystemLacks) {
    test::TempDir dir;
    const std::string wave = dir.write("wave.ttf", "x");
    const std::string broken = dir.write("broken.ttf", "x");
    const std::string arial = dir.write("arial.ttf", "x");
    const std::string deep = dir.write("deep.ttf", "x");
    SKINS_TYPE skin;
    skin.fonts = {{"arial", arial}, {"wave", wave}, {"broken", broken}, {"gone", dir.path("gone.ttf")}};
    FakeFonts fonts;
    std::vector<SKINS_FONT_TYPE> installed;
    skins_set_fonts(installed, skin, fonts);
    EXPECT_EQ(fonts.calls, (std::vector<std::string>{"add " + wave, "add " + broken}));
    ASSERT_EQ(installed.size(), 1u);
    EXPECT_EQ(installed[0].file, wave);

    // The same list as installed: nothing to do.
    SKINS_TYPE same;
    same.fonts = {{"wave", wave}};
    fonts.calls.clear();
    skins_set_fonts(installed, same, fonts);
    EXPECT_TRUE(fonts.calls.empty());

    // Another skin: everything added before is withdrawn first.
    SKINS_TYPE other;
    other.fonts = {{"deep", deep}};
    skins_set_fonts(installed, other, fonts);
    EXPECT_EQ(fonts.calls, (std::vector<std::string>{"remove " + wave, "add " + deep}));

    // The built-in skin brings no fonts.
    fonts.calls.clear();
    skins_set_fonts(installed, builtin(), fonts);
    EXPECT_EQ(fonts.calls, (std::vector<std::string>{"remove " + deep}));
    EXPECT_TRUE(installed.empty());
}

} // namespace
} // namespace tkv
