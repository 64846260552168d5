#include "profiles/profile_table.h"
#include "profiles/profile_notes.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "database/dat_text.h"
#include "shell/files.h"
#include "shell/text.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

DatHeader valid_header() {
    return {std::string(main_dat_magic), "PC", "Personal computer", "English", "20030515123000000"};
}

// A main.dat of an empty database: the header, the end of the types and the end of the games.
std::string main_dat(const DatHeader& h) {
    return encode_dat_header(h) + std::string(2 + 5, '\0');
}

void write_profile(const TempDir& dir, const std::string& folder, const DatHeader& h = valid_header()) {
    dir.write("profiles/" + folder + "/main.dat", main_dat(h));
}

PROFILES_TYPE profile(std::string id, std::string name = "", std::string folder = "") {
    PROFILES_TYPE p;
    p.id = std::move(id);
    p.name = std::move(name);
    p.folder = std::move(folder);
    return p;
}

std::vector<std::string> names_of(const ProfileTable& t) {
    std::vector<std::string> names;
    for (const PROFILES_TYPE& p : t.profiles)
        names.push_back(p.name);
    return names;
}

TEST(ProfileLoad, ReadsTheHeaderOfAValidProfile) {
    TempDir dir;
    write_profile(dir, "pc-folder");
    ProfileTable t;
    ASSERT_TRUE(profile_ini_load(t, dir.path("profiles"), "pc-folder"));
    ASSERT_EQ(t.profiles.size(), 1u);
    const PROFILES_TYPE& p = t.profiles[0];
    EXPECT_EQ(p.folder, "pc-folder");
    EXPECT_EQ(p.id, "PC");
    EXPECT_EQ(p.name, "Personal computer");
    EXPECT_EQ(p.language, "English");
    EXPECT_EQ(p.main_date, make_datetime({2003, 5, 15, 12, 30, 0, 0}));
    EXPECT_EQ(p.user_date, DateTime{});
    EXPECT_EQ(p.last_game, "");
}

TEST(ProfileLoad, RejectsFoldersThatAreNoProfile) {
    const std::string header = encode_dat_header(valid_header());
    auto with = [](auto change) {
        DatHeader h = valid_header();
        change(h);
        return main_dat(h);
    };
    struct Case {
        const char* what;
        std::string bytes; // of main.dat
    } cases[] = {
        {"magic in other letter case", with([](DatHeader& h) { h.magic = "TrickVault350GameProfile"; })},
        {"user.dat magic", with([](DatHeader& h) { h.magic = std::string(user_dat_magic); })},
        {"empty id", with([](DatHeader& h) { h.id.clear(); })},
        {"empty name", with([](DatHeader& h) { h.name.clear(); })},
        {"empty language", with([](DatHeader& h) { h.language.clear(); })},
        {"31 February", with([](DatHeader& h) { h.date = "20030231000000000"; })},
        {"the zero date itself", with([](DatHeader& h) { h.date = "18991230000000000"; })},
        {"header cut inside the date", header.substr(0, header.size() - 1)},
        {"header cut after the magic", header.substr(0, 25)},
        {"empty file", ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("profiles/p/main.dat", c.bytes);
        ProfileTable t;
        EXPECT_FALSE(profile_ini_load(t, dir.path("profiles"), "p")) << c.what;
        EXPECT_TRUE(t.profiles.empty()) << c.what;
    }

    TempDir dir;
    fs::create_directories(dir.path("profiles/no-main-dat"));
    fs::create_directories(dir.path("profiles/dir-main-dat/main.dat"));
    ProfileTable t;
    EXPECT_FALSE(profile_ini_load(t, dir.path("profiles"), "no-main-dat"));
    EXPECT_FALSE(profile_ini_load(t, dir.path("profiles"), "dir-main-dat"));
    EXPECT_FALSE(profile_ini_load(t, dir.path("profiles"), "missing-folder"));
    EXPECT_TRUE(t.profiles.empty());
}

TEST(ProfileScan, CreatesTheFolderAndResetsTheTable) {
    TempDir dir;
    ProfileTable t;
    t.profiles.push_back(profile("OLD"));
    t.profile_index = 5;
    profiles_ini_load(t, dir.folder());
    EXPECT_TRUE(folder_exists(dir.path("profiles")));
    EXPECT_TRUE(t.profiles.empty());
    EXPECT_EQ(t.profile_index, 0);
    EXPECT_EQ(profiles_search(t, "OLD"), -1);
    EXPECT_EQ(profiles_search(t, ""), -1);
}

TEST(ProfileScan, TakesOnlyFoldersWithAValidMainDat) {
    TempDir dir;
    write_profile(dir, "good");
    DatHeader bad = valid_header();
    bad.language.clear();
    write_profile(dir, "bad", bad);
    // A file holding a valid profile header is not a folder.
    dir.write("profiles/file", main_dat(valid_header()));
    ProfileTable t;
    profiles_ini_load(t, dir.folder());
    ASSERT_EQ(t.profiles.size(), 1u);
    EXPECT_EQ(t.profiles[0].folder, "good");
}

TEST(ProfileScan, KeepsTheFirstHundredInListingOrder) {
    TempDir dir;
    for (int i = 0; i <= static_cast<int>(profiles_max); ++i)
        write_profile(dir, "p" + std::to_string(i));
    std::vector<std::string> listed = folder_list_folders(dir.path("profiles"));
    ASSERT_EQ(listed.size(), profiles_max + 1);

    ProfileTable t;
    profiles_ini_load(t, dir.folder());
    ASSERT_EQ(t.profiles.size(), profiles_max);
    for (std::size_t i = 0; i < profiles_max; ++i)
        EXPECT_EQ(t.profiles[i].folder, listed[i]);
    EXPECT_FALSE(profile_ini_load(t, dir.path("profiles"), listed.back()));
    EXPECT_EQ(t.profiles.size(), profiles_max);
}

TEST(ProfileSort, FoldsOnlyAsciiLettersAndComparesUnsignedBytes) {
    // \xC9, \xD6 and \xE9 are code page 1250 letters above every ASCII byte. The id search folds
    // \xC9 to \xE9; the sort does not, so \xD6 stays between them.
    ProfileTable t;
    for (const char* name : {"\xE9", "beta", "Zulu", "alpha", "\xD6", "ALPHA2", "\xC9", "gamma", "Alpha"})
        t.profiles.push_back(profile("", name));
    profiles_sort(t, 0, t.profiles.size() - 1);
    std::vector<std::string> names = names_of(t);
    ASSERT_EQ(names.size(), 9u);
    EXPECT_EQ(ascii_lower_text(names[0]), "alpha");
    EXPECT_EQ(ascii_lower_text(names[1]), "alpha");
    EXPECT_EQ(std::vector<std::string>(names.begin() + 2, names.end()),
              (std::vector<std::string>{"ALPHA2", "beta", "gamma", "Zulu", "\xC9", "\xD6", "\xE9"}));
}

TEST(ProfileSort, SortsOnlyTheRangeAndClampsItsEnd) {
    ProfileTable t;
    for (const char* name : {"e", "d", "c", "b", "a"})
        t.profiles.push_back(profile("", name));
    profiles_sort(t, 1, 3);
    EXPECT_EQ(names_of(t), (std::vector<std::string>{"e", "b", "c", "d", "a"}));
    profiles_sort(t, 3, 3);
    profiles_sort(t, 4, 1);
    EXPECT_EQ(names_of(t), (std::vector<std::string>{"e", "b", "c", "d", "a"}));
    profiles_sort(t, 0, static_cast<std::size_t>(-1));
    EXPECT_EQ(names_of(t), (std::vector<std::string>{"a", "b", "c", "d", "e"}));

    ProfileTable empty;
    profiles_sort(empty, 0, 10);
    EXPECT_TRUE(empty.profiles.empty());
}

TEST(ProfileSort, ManyEqualAndRandomNamesEndSortedAndComplete) {
    std::mt19937 random(7);
    for (const std::string letters : {"a", "aB", "abcXYZ\xE9"}) {
        ProfileTable t;
        for (std::size_t i = 0; i < profiles_max; ++i) {
            std::string name(1 + random() % 3, ' ');
            for (char& c : name)
                c = letters[random() % letters.size()];
            t.profiles.push_back(profile(std::to_string(i), name));
        }
        ProfileTable before = t;
        profiles_sort(t, 0, t.profiles.size() - 1);
        auto key = [](const PROFILES_TYPE& p) { return ascii_lower_text(p.name); };
        EXPECT_TRUE(std::is_sorted(t.profiles.begin(), t.profiles.end(), [&](const auto& a, const auto& b) {
            return key(a) < key(b);
        })) << letters;
        // Every entry moved whole: the id still belongs to its name.
        auto by_id = [](const auto& a, const auto& b) { return a.id < b.id; };
        std::sort(t.profiles.begin(), t.profiles.end(), by_id);
        std::sort(before.profiles.begin(), before.profiles.end(), by_id);
        EXPECT_EQ(names_of(t), names_of(before)) << letters;
    }
}

TEST(ProfileSearch, MatchesIdsIgnoringLetterCase) {
    ProfileTable t;
    for (const char* id : {"GBA", "PC", "\xC1RV", "pc"})
        t.profiles.push_back(profile(id));
    struct Case {
        const char* id;
        int index;
        bool exists;
    } cases[] = {
        {"pc", 1, true},     {"PC", 1, true},    {"gba", 0, true}, {"\xE1rv", 2, true},
        {"\xE1RV", 2, true}, {"xbox", 0, false}, {"", 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(profiles_search(t, c.id), c.index) << c.id;
        EXPECT_EQ(profiles_new_check_exist(t, c.id), c.exists) << c.id;
    }
    ProfileTable empty;
    EXPECT_EQ(profiles_search(empty, "PC"), -1);
    EXPECT_FALSE(profiles_new_check_exist(empty, "PC"));
}

TEST(ProfileSelect, SetsTheIndexTheLastIdAndBothPaths) {
    ProfileTable t;
    t.profiles = {profile("GBA", "", "gba"), profile("PS2", "", "ps2 disc")};
    OPTIONS_TYPE options;
    VARIABLES_PROGRAM v;
    v.program_folder = "/opt/tkv/";
    profile_select(t, 1, options, v);
    EXPECT_EQ(t.profile_index, 1);
    EXPECT_EQ(options.last_profile_id, "PS2");
    EXPECT_EQ(v.main_dat_path, "/opt/tkv/profiles/ps2 disc/main.dat");
    EXPECT_EQ(v.user_dat_path, "/opt/tkv/profiles/ps2 disc/user.dat");

    for (int outside : {-1, 2}) {
        profile_select(t, outside, options, v);
        EXPECT_EQ(t.profile_index, 1);
        EXPECT_EQ(options.last_profile_id, "PS2");
        EXPECT_EQ(v.main_dat_path, "/opt/tkv/profiles/ps2 disc/main.dat");
    }
}

class ProfileDelete : public ::testing::Test {
  protected:
    // "pc" holds the databases, files/ and another sub-folder; "gba" only its databases.
    void SetUp() override {
        write_profile(dir, "pc");
        dir.write("profiles/pc/user.dat", "u");
        dir.write("profiles/pc/notes.txt", "n");
        dir.write("profiles/pc/files/cheat.zip", "z");
        dir.write("profiles/pc/files/readme", "r");
        dir.write("profiles/pc/saves/slot1", "s");
        write_profile(dir, "gba");
        dir.write("profiles/gba/user.dat", "u");
        profiles_ini_load(t, dir.folder());
        ASSERT_EQ(t.profiles.size(), 2u);
    }
    std::size_t index_of(const std::string& folder) const {
        for (std::size_t i = 0; i < t.profiles.size(); ++i)
            if (t.profiles[i].folder == folder) return i;
        return t.profiles.size();
    }
    bool exists(const std::string& name) const { return fs::exists(dir.path("profiles/" + name)); }

    TempDir dir;
    ProfileTable t;
};

TEST_F(ProfileDelete, WithoutAllFilesRemovesOnlyMainDat) {
    profile_delete(t, index_of("pc"), dir.folder(), false);
    ASSERT_EQ(t.profiles.size(), 1u);
    EXPECT_EQ(t.profiles[0].folder, "gba");
    EXPECT_FALSE(exists("pc/main.dat"));
    for (const char* kept : {"pc/user.dat", "pc/notes.txt", "pc/files/cheat.zip", "pc/saves/slot1"})
        EXPECT_TRUE(exists(kept)) << kept;

    profiles_ini_load(t, dir.folder());
    ASSERT_EQ(t.profiles.size(), 1u);
    EXPECT_EQ(t.profiles[0].folder, "gba");
}

TEST_F(ProfileDelete, WithAllFilesKeepsOnlyOtherSubFolders) {
    profile_delete(t, index_of("pc"), dir.folder(), true);
    profile_delete(t, index_of("gba"), dir.folder(), true);
    EXPECT_TRUE(t.profiles.empty());
    for (const char* gone : {"pc/main.dat", "pc/user.dat", "pc/notes.txt", "pc/files", "gba"})
        EXPECT_FALSE(exists(gone)) << gone;
    EXPECT_TRUE(exists("pc/saves/slot1"));
}

TEST_F(ProfileDelete, BackupsGoWithAllFilesUnlessKeptInTheProgramFolder) {
    dir.write("profiles/pc/backups/user-20260101-000000.dat", "pc backup");
    dir.write("profiles/gba/backups/user-20260101-000000.dat", "gba backup");
    const PROFILES_TYPE pc = t.profiles[index_of("pc")];
    EXPECT_TRUE(profile_has_backups(dir.folder(), pc));
    EXPECT_FALSE(profile_has_backups(dir.folder(), PROFILES_TYPE{"none", "none", "", "", {}, {}, ""}));
    profile_keep_backups(dir.folder(), pc);
    profile_delete(t, index_of("pc"), dir.folder(), true);
    profile_delete(t, index_of("gba"), dir.folder(), true);
    const std::string kept = profile_kept_backups_folder(dir.folder(), pc);
    EXPECT_EQ(kept, dir.folder() + "backups/" + pc.id + "/");
    EXPECT_EQ(TempDir::read_file(kept + "user-20260101-000000.dat"), "pc backup");
    EXPECT_FALSE(exists("pc/backups"));
    EXPECT_FALSE(exists("gba"));
}

TEST_F(ProfileDelete, AFilesLinkLosesOnlyTheLink) {
    TempDir outside;
    outside.write("important.txt", "keep");
    fs::remove_all(dir.path("profiles/pc/files"));
    fs::create_directory_symlink(outside.path(""), dir.path("profiles/pc/files"));
    profile_delete(t, index_of("pc"), dir.folder(), true);
    EXPECT_EQ(outside.read("important.txt"), "keep");
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path("profiles/pc/files"))));
}

TEST_F(ProfileDelete, TheLastEntryTakesTheFreedSlot) {
    t.profiles.push_back(profile("X", "", "x"));
    const std::size_t first = index_of("pc") == 0 ? 0 : 1;
    const std::string other = t.profiles[1 - first].folder;
    profile_delete(t, first, dir.folder(), false);
    ASSERT_EQ(t.profiles.size(), 2u);
    EXPECT_EQ(t.profiles[first].folder, "x");
    EXPECT_EQ(t.profiles[1 - first].folder, other);

    profile_delete(t, 2, dir.folder(), true);
    EXPECT_EQ(t.profiles.size(), 2u);
}

TEST_F(ProfileDelete, FolderNamesOutsideProfilesTouchNoFile) {
    // Each name would reach main.dat in profiles/, in the program folder or in a nested folder.
    write_profile(dir, "a/b");
    dir.write("profiles/main.dat", "p");
    dir.write("main.dat", "m");
    for (const char* name : {"", ".", "..", "a/b"}) {
        t.profiles.push_back(profile("X", "", name));
        profile_delete(t, t.profiles.size() - 1, dir.folder(), true);
        EXPECT_EQ(t.profiles.size(), 2u);
    }
    EXPECT_TRUE(exists("a/b/main.dat"));
    EXPECT_TRUE(exists("main.dat"));
    EXPECT_TRUE(fs::exists(dir.path("main.dat")));
}

TEST(ProfileCleanUp, RemovesOnlyEmptyProfileFolders) {
    TempDir dir;
    fs::create_directories(dir.path("profiles/empty"));
    fs::create_directories(dir.path("profiles/nested/inner"));
    dir.write("profiles/full/user.dat", "u");
    profiles_remove_empty_folders(dir.folder());
    EXPECT_FALSE(fs::exists(dir.path("profiles/empty")));
    EXPECT_TRUE(fs::exists(dir.path("profiles/nested/inner")));
    EXPECT_TRUE(fs::exists(dir.path("profiles/full/user.dat")));

    TempDir none;
    profiles_remove_empty_folders(none.folder());
    EXPECT_FALSE(fs::exists(none.path("profiles")));
}

} // namespace
} // namespace tkv
