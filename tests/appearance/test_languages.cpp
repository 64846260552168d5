#include "appearance/languages.h"
#include "shell/files.h"
#include "shell/options.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

std::string fixture_folder() {
    return TKV_TEST_DATA "/languages/";
}

std::string language_file(const std::string& name, const std::string& extra = "") {
    return "Language=" + name + "\r\nVersion=1.0\r\nHelpFile=" + name + ".hlp\r\nInfoFile=" + name +
           "\r\nMadeby=Someone\r\nEmail=someone@example.org\r\n" + extra;
}

TEST(Languages, LoadAppliesCaptionLinesOverTheDefaults) {
    Captions t;
    const LanguageLoadResult r = languages_load(t, fixture_folder(), "magyar.lng");
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.language, "Magyar");
    EXPECT_EQ(t[1], "&Rendben");
    EXPECT_EQ(t[20], "%1 (v%2)");            // unquoted: blanks trimmed
    EXPECT_EQ(t[21], "  Be\xE9p\xEDtett  "); // quotes keep blanks
    EXPECT_EQ(t[22], "\"");                  // a lone quote stays
    EXPECT_EQ(t[560], "Trickvault - Hiba!");
    EXPECT_EQ(t[585], "Els\xF5 sor\r\nm\xE1sodik sor");
    EXPECT_EQ(t[1000], "utols\xF3");
    EXPECT_EQ(t[2], "%1 - First launch"); // slots the file does not give keep their default
    EXPECT_TRUE(r.slots_set.test(0));     // header lines and the non-number key
    EXPECT_TRUE(r.slots_set.test(1000));
    EXPECT_FALSE(r.slots_set.test(2));
}

TEST(Languages, MissingFileKeepsDefaults) {
    Captions t;
    t[1] = "stale";
    EXPECT_FALSE(languages_load(t, fixture_folder(), "none.lng").opened);
    EXPECT_EQ(t[1], "&Ok");
    EXPECT_FALSE(languages_preload(fixture_folder(), "none.lng"));
}

TEST(Languages, PreloadReadsTheHeader) {
    const auto l = languages_preload(fixture_folder(), "magyar.lng");
    ASSERT_TRUE(l);
    EXPECT_FALSE(l->built_in);
    EXPECT_EQ(l->file_name, "magyar.lng");
    EXPECT_EQ(l->language, "Magyar");
    EXPECT_EQ(l->help_file, "magyar.hlp");
    EXPECT_EQ(l->info_file, "hungarian");
    EXPECT_EQ(l->maker_title, "Ford\xEDtotta:");
    EXPECT_EQ(l->maker, "Kis Anna"); // "MADEBY": header keys ignore case
    EXPECT_EQ(l->email, "anna@example.org");
    EXPECT_FALSE(languages_preload(fixture_folder(), "incomplete.lng"));
}

TEST(Languages, SearchListsCompleteFilesSortedAfterBuiltIn) {
    test::TempDir dir;
    dir.write("zulu.lng", language_file("zulu"));
    dir.write("Alpha.LNG", language_file("Alpha"));
    dir.write("broken.lng", "Language=Broken\r\n");
    dir.write("readme.txt", language_file("Text"));
    dir.write("folder.lng/x", "");
    const auto langs = languages_search(dir.folder());
    ASSERT_EQ(langs.size(), 3u);
    EXPECT_TRUE(langs[0].built_in);
    EXPECT_EQ(langs[1].language, "Alpha");
    EXPECT_EQ(langs[2].language, "zulu");

    Captions t;
    captions_reset(t);
    const auto rows = languages_list(langs, t);
    EXPECT_EQ(rows[0], "English  (Built-in)");
    EXPECT_EQ(rows[1], "Alpha  (alpha.lng / v1.0)");

    OPTIONS_TYPE o;
    EXPECT_EQ(languages_preselected_row(langs, o), 0u);
    o.use_internal_language = false;
    o.language_file = "ZULU.lng";
    EXPECT_EQ(languages_preselected_row(langs, o), 2u);
    o.language_file = "gone.lng";
    EXPECT_EQ(languages_preselected_row(langs, o), 0u);
}

TEST(Languages, NoFilesListsOnlyEnglish) {
    test::TempDir dir;
    const auto langs = languages_search(dir.folder());
    ASSERT_EQ(langs.size(), 1u);
    EXPECT_EQ(langs[0].info_file, "default");
}

TEST(Languages, TableHoldsAtMostOneHundredEntries) {
    test::TempDir dir;
    for (int i = 0; i < 150; ++i)
        dir.write("l" + std::to_string(i) + ".lng", language_file("L" + std::to_string(i)));
    const auto langs = languages_search(dir.folder());
    EXPECT_EQ(langs.size(), languages_max);
    // The 99 are the first in listing order.
    const auto listed = folder_list_files(dir.folder(), "*.lng");
    for (std::size_t i = 1; i < langs.size(); ++i)
        EXPECT_NE(std::find(listed.begin(), listed.begin() + 99, langs[i].file_name), listed.begin() + 99);
}

TEST(Languages, ConfiguredLanguageAtStart) {
    test::TempDir dir;
    dir.write("magyar.lng", file_read_all(fixture_folder() + "magyar.lng"));
    dir.write("incomplete.lng", file_read_all(fixture_folder() + "incomplete.lng"));
    OPTIONS_TYPE o;
    Captions t;
    captions_reset(t);

    LanguageChoice c = apply_configured_language(t, o, dir.folder());
    EXPECT_EQ(c.index, 0);
    EXPECT_EQ(c.help_path, dir.folder() + "english.html");
    EXPECT_EQ(c.info_file, "default");

    o.use_internal_language = false;
    o.language_file = "magyar.lng";
    c = apply_configured_language(t, o, dir.folder());
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.info_file, "hungarian");
    EXPECT_EQ(c.help_path, dir.folder() + "english.html"); // magyar.html is not there
    EXPECT_EQ(t[1], "&Rendben");
    dir.write("magyar.html", "<html></html>");
    EXPECT_EQ(apply_configured_language(t, o, dir.folder()).help_path, dir.folder() + "magyar.html");

    // The configuration keeps the name in lower case; the file may have capitals.
    dir.write("Deutsch.lng", language_file("Deutsch", "1=&Gut\r\n"));
    o.language_file = "deutsch.lng";
    EXPECT_EQ(apply_configured_language(t, o, dir.folder()).index, 1);
    EXPECT_EQ(t[1], "&Gut");

    // An incomplete header still gives its captions, but counts as no language.
    o.language_file = "incomplete.lng";
    c = apply_configured_language(t, o, dir.folder());
    EXPECT_EQ(c.index, 0);
    EXPECT_EQ(c.info_file, "default");
    EXPECT_EQ(t[1], "&Ok ja");
}

// A user's folder made before the manual came has none: the installation's own is shown.
TEST(Languages, BuiltInHelpFromTheUsersFolderElseTheInstallations) {
    test::TempDir own, shipped;
    const std::string own_languages = own.folder(), shipped_languages = shipped.folder();
    EXPECT_EQ(built_in_help_path(own_languages, shipped_languages), own_languages + "english.html");
    shipped.write("english/index.html", "<html></html>");
    EXPECT_EQ(built_in_help_path(own_languages, shipped_languages), shipped_languages + "english.html");
    EXPECT_EQ(built_in_help_path(own_languages, ""), own_languages + "english.html");
    own.write("english.html", "<html></html>");
    EXPECT_EQ(built_in_help_path(own_languages, shipped_languages), own_languages + "english.html");
}

TEST(Languages, HostileFilesDoNotCrash) {
    test::TempDir dir;
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>((i * 131) % 256);
    dir.write("binary.lng", binary);
    dir.write("huge.lng", "1=" + std::string(1 << 20, 'x') + "\r\n2=\"\r\n3=\"\"\r\n=\r\n");
    Captions t;
    EXPECT_TRUE(languages_load(t, dir.folder(), "binary.lng").opened);
    EXPECT_TRUE(languages_load(t, dir.folder(), "huge.lng").opened);
    EXPECT_EQ(t[1].size(), 1u << 20);
    EXPECT_EQ(t[2], "\"");
    EXPECT_EQ(t[3], "");
    EXPECT_FALSE(languages_preload(dir.folder(), "binary.lng"));

    // Slot numbers outside the table change nothing (those beyond 32 bits are no number and land in
    // slot 0 like other such keys); the lines around them still apply.
    dir.write("slots.lng", "1=one\r\n99999=x\r\n1001=x\r\n-1=x\r\n-2147483648=x\r\n4294967297=x\r\n"
                           "99999999999999999999=x\r\n2=two\r\n0=zero\r\n");
    dir.write("plain.lng", "1=one\r\n2=two\r\n0=zero\r\n");
    Captions slots;
    Captions plain;
    const LanguageLoadResult r = languages_load(slots, dir.folder(), "slots.lng");
    languages_load(plain, dir.folder(), "plain.lng");
    EXPECT_EQ(slots, plain);
    EXPECT_EQ(slots[2], "two");
    EXPECT_EQ(r.slots_set.count(), 3u);
}

} // namespace
} // namespace tkv
