#include "shell/config_file.h"
#include "shell/text.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tkv {
namespace {

const DateTime now = *make_datetime({2026, 12, 10, 14, 30, 0, 0});

struct Loaded {
    OPTIONS_TYPE options = initialize_defaults("Owner Name", now);
    bool first_run = true;
    std::string stored_version = "3.50";
    UsageStats stats;
    Loaded() { stats_reset(stats, now); }
    IniTargets targets() { return {options, first_run, stored_version, stats}; }
};

Loaded load_text(const std::string& text) {
    test::TempDir dir;
    Loaded l;
    program_ini_load(dir.write("tkv.ini", text), l.targets(), now);
    return l;
}

std::string crlf(std::string_view s) {
    return replace_each(s, "\n", "\r\n");
}

// Every option with a value other than its default, in the order and form the writer uses.
const std::string full_options = R"([general]
first run=0
version=3.50
use internal language=0
language file=magyar.lng
last profile id=pc
last profile autorun=0
last profile autorun time=12
dont show the manager after exit=0
automatically exit to os on game run=0
show donate message # times=1
donate message was shown last=20261101

[file download]
download directory=/home/user/Downloads/
task with the exe file after downloading=4
task with the non-exe file after downloading=0

[internet]
start default program on click=0
copy the url to the clipboard on click=1
dont use external email client=0
smtp server=mail.example.org
smtp port=2525
name=Kis Anna
e-mail address=anna@example.org

[database]
autosave database=0
autosave database after this amount of changes=250
show successful save message=0
after adding a cheat show send message on exit=0
remember last game=0
small and large characters are equal=0

[editor]
add button visible=0
modify button visible=0
delete button visible=0

[save text]
save directory=/home/user/texts/
save to the last directory=0
type of text file=1

[print]
printer name=PDF
font name=DejaVu Sans Mono
font size=24
use fix width fonts only=0
confirmation=0
selective print=0
informations to print=101

[visual]
show splash screen=0
save main windows position=0
main windows x position=-20
main windows y position=300
effect on exit=0
custom coloured title bar=2
show add, modify and delete buttons=0
show loading skins window=0

[skins]
use skin=1
random skin=1
skins name=blue steel

[information window]
use specific information text style=0
information texts style=6
information texts font name=DejaVu Serif
information texts size offset=-3

[upgrade]
download with the systems default program=0
automatically download upgrade informations=0
automatically download skin previews=0
automatically download only when there is an internet connection=0
store upgrade informations=0
download skins in simple mode=0
automatic version check at startup=0
automatic version checks time=20261205
automatic version check only when there is an internet connection=0
automatic version checks period=4

[server]
use only main server=0
use this server=http://127.0.0.1:8080/
use proxy=1
httt proxy server=proxy.example.org
httt proxy port=3128
httt proxy user name=anna
httt proxy user password=s3cret=x

[upgrade skins]
skin rating lower value=1
skin rating upper value=4
skin category=12

[options window]
defaults all button enabled=0
defaults here button enabled=0
save last viewed option=0
last viewed option=15

[window sizes]
main window width=900
main window height=700
main window maximised=1
information window width=1024
information window height=768
information window maximised=1

)";

std::string statistics_section() {
    std::string s =
        "[statistics (for internal use only)]\nnumber of runs=41\nnumber of viewed infromations=17\n"
        "bytes of viewed infromations=123456\n";
    for (int i = 29; i >= 0; --i) {
        s += "days=" + format_date(add_days(now, -i)) + "," + std::to_string(i) + "," +
             std::to_string(2 * i) + "," + std::to_string(1000 + i) + "\n";
    }
    return s + "\n[#END#]\n";
}

TEST(ConfigFile, FullFileRoundTripsByteForByte) {
    const std::string original = crlf(full_options + statistics_section());
    Loaded l = load_text(original);
    EXPECT_FALSE(l.first_run);
    EXPECT_EQ(program_ini_text(l.options, l.stats), original);
    EXPECT_EQ(options_ini_text(l.options), crlf(full_options));
}

TEST(ConfigFile, DefaultsAreWrittenInTheirOwnForm) {
    Loaded l;
    const std::string text = program_ini_text(l.options, l.stats);
    for (const char* line :
         {"\r\ndonate message was shown last=18991230\r\n", "\r\nautomatic version checks time=20261110\r\n",
          "\r\nname=Owner Name\r\n", "\r\nuse this server=http://www.trickvault.example/\r\n",
          "\r\ncustom coloured title bar=1\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_TRUE(text.ends_with("\r\n\r\n[#END#]\r\n"));
}

struct ReadCase {
    const char* file;
    const char* section;
    const char* key;
    const char* expected; // as the writer gives it back
};

class ReadRule : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadRule, GivesTheExpectedValue) {
    const ReadCase& c = GetParam();
    Loaded l = load_text(crlf(c.file));
    EXPECT_EQ(option_value_text(l.options, c.section, c.key), c.expected) << c.file;
}

INSTANTIATE_TEST_SUITE_P(
    ConfigFile, ReadRule,
    testing::Values(
        ReadCase{"[#END#]\n[general]\nuse internal language=0\n", "general", "use internal language", "1"},
        ReadCase{"[GENERAL]\nuse internal language=0\n", "general", "use internal language", "0"},
        ReadCase{"[general]\nUse Internal Language=0\n", "general", "use internal language", "1"},
        ReadCase{"[general]\nshow donate message # times=5\n", "general", "show donate message # times", "3"},
        ReadCase{"[general]\nshow donate message # times=1\n", "general", "show donate message # times", "1"},
        ReadCase{"[general]\nshow donate message # times=2\nshow donate message # times=3\n", "general",
                 "show donate message # times", "2"},
        ReadCase{"[print]\nfont size=30\n", "print", "font size", "10"},
        ReadCase{"[print]\nfont size=abc\n", "print", "font size", "10"},
        ReadCase{"[print]\nfont size=12\nfont size=20\n", "print", "font size", "20"},
        ReadCase{"[database]\nautosave database after this amount of changes=300\n", "database",
                 "autosave database after this amount of changes", "44"},
        ReadCase{"[information window]\ninformation texts style=5\n", "information window",
                 "information texts style", "5"},
        ReadCase{"[visual]\ncustom coloured title bar=2\ncustom coloured title bar=3\n", "visual",
                 "custom coloured title bar", "2"},
        ReadCase{"[options window]\nlast viewed option=16\n", "options window", "last viewed option", "0"},
        ReadCase{"[upgrade]\nautomatic version checks period=-1\n", "upgrade",
                 "automatic version checks period", "2"},
        ReadCase{"[visual]\nmain windows x position=x\n", "visual", "main windows x position", "-1"},
        // Sizes out of range fall back to the designed size, offsets to none.
        ReadCase{"[window sizes]\nmain window width=-5\n", "window sizes", "main window width", "0"},
        ReadCase{"[window sizes]\ninformation window height=99999\n", "window sizes",
                 "information window height", "0"},
        ReadCase{"[information window]\ninformation texts size offset=-11\n", "information window",
                 "information texts size offset", "0"},
        ReadCase{"[information window]\ninformation texts size offset=20\n", "information window",
                 "information texts size offset", "20"},
        // Blanks and control characters around keys, values and lines are trimmed.
        ReadCase{"  [print]  \n\t font name = Courier   \n", "print", "font name", "Courier"},
        ReadCase{"[print]\nfont name==x\n", "print", "font name", "=x"},
        // Comments, short lines, lines without "=" and a broken header change nothing.
        ReadCase{"[print]\n;font name=A\nx=\n[skins\nfont name=B\nno equals sign\n", "print", "font name",
                 "B"},
        ReadCase{"font name=A\n[print\nfont name=B\n", "print", "font name", "Courier New"},
        ReadCase{"[upgrade skins]\nskin rating upper value=0\n", "upgrade skins", "skin rating upper value",
                 "5"},
        ReadCase{"[general]\ndonate message was shown last=20250231\n", "general",
                 "donate message was shown last", "18991230"},
        ReadCase{"[general]\ndonate message was shown last=2003\n", "general",
                 "donate message was shown last", "20261203"}));

TEST(ConfigFile, FirstRunAndVersion) {
    EXPECT_TRUE(load_text("[general]\r\nfirst run=\r\n").first_run);
    EXPECT_TRUE(load_text("[general]\r\nfirst run=00\r\n").first_run);
    EXPECT_FALSE(load_text("[general]\r\nfirst run=0\r\n").first_run);
    EXPECT_EQ(load_text("[general]\r\nversion=3.40\r\n").stored_version, "3.40");
    EXPECT_EQ(load_text("[skins]\r\nversion=3.40\r\n").stored_version, "3.50");
}

TEST(ConfigFile, MissingEmptyBinaryAndTruncatedFilesKeepDefaults) {
    const std::string defaults = options_ini_text(Loaded().options);
    test::TempDir dir;
    Loaded missing;
    program_ini_load(dir.path("none.ini"), missing.targets(), now);
    EXPECT_EQ(options_ini_text(missing.options), defaults);
    EXPECT_TRUE(missing.first_run);

    EXPECT_EQ(options_ini_text(load_text("").options), defaults);
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    EXPECT_EQ(options_ini_text(load_text(binary).options), defaults);

    // Cut off in the middle of a line: what came before still counts.
    Loaded cut = load_text("[print]\r\nfont size=12\r\nfont na");
    EXPECT_EQ(option_value_text(cut.options, "print", "font size"), "12");
    EXPECT_EQ(option_value_text(cut.options, "print", "font name"), "Courier New");
}

TEST(ConfigFile, ValuesWithLineBreaksCannotAddKeys) {
    Loaded l;
    l.options.user_name = "Anna\r\n[server]\r\nuse proxy=1";
    Loaded again = load_text(program_ini_text(l.options, l.stats));
    EXPECT_FALSE(again.options.use_proxy);
    EXPECT_EQ(again.options.user_name, "Anna[server]use proxy=1");
}

TEST(ConfigFile, StatisticsSection) {
    const std::string today = format_date(now);
    Loaded l = load_text(
        crlf("[statistics (for internal use only)]\nnumber of runs=-5\nnumber of viewed infromations=abc\n"
             "bytes of viewed infromations=2147483646\ndays=" +
             today + ",3,4,5\ndays=" + format_date(add_days(now, -31)) + ",9,9,9\n"));
    EXPECT_EQ(l.stats.runs_total, 0);
    EXPECT_EQ(l.stats.viewed_total, 0);
    EXPECT_EQ(l.stats.viewed_chars_total, 2147483646);
    EXPECT_EQ(l.stats.day_stats[29].runs, 3);
    const std::string text = program_ini_text(l.options, l.stats);
    EXPECT_NE(text.find("days=" + today + ",3,4,5\r\n"), std::string::npos);
    EXPECT_EQ(text.find(",9,9,9"), std::string::npos);
}

TEST(ConfigFile, SaveIsAtomicAndPrivate) {
    test::TempDir dir;
    Loaded l;
    l.options.proxy_password = "secret";
    const std::string path = dir.path("tkv.ini");
    dir.write("tkv.ini", "old");
    ASSERT_TRUE(program_ini_save(path, l.options, l.stats));
    EXPECT_EQ(dir.read("tkv.ini"), program_ini_text(l.options, l.stats));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A folder that cannot exist (a file is in the way) fails without touching anything.
    dir.write("blocker", "x");
    EXPECT_FALSE(program_ini_save(dir.path("blocker/tkv.ini"), l.options, l.stats));
    EXPECT_EQ(dir.read("blocker"), "x");
}

TEST(ConfigFile, SaveCreatesTheConfigurationFolder) {
    test::TempDir dir;
    Loaded l;
    EXPECT_TRUE(program_ini_save(dir.path("config/trickvault/tkv.ini"), l.options, l.stats));
    EXPECT_FALSE(dir.read("config/trickvault/tkv.ini").empty());
}

// The folders default to the user's download and documents folders; the Windows default "c:\"
// of an old file names nothing here and counts as unset. Other paths stay exactly as written.
TEST(ConfigFile, FoldersDefaultToTheUsersFoldersAndAnOldDriveCountsAsUnset) {
    test::TempDir dir;
    test::ScopedEnv home("HOME", dir.path("Me"));
    test::ScopedEnv config("XDG_CONFIG_HOME", dir.path("config"));
    dir.write("config/user-dirs.dirs",
              "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    const std::string downloads = dir.path("Me/Downloads/"), documents = dir.path("Me/Dokumente/");
    for (const char* old : {"c:\\", "C:\\"}) {
        const Loaded l = load_text(crlf(std::string("[file download]\ndownload directory=") + old +
                                        "\n[save text]\nsave directory=" + old + "\n"));
        EXPECT_EQ(l.options.download_folder, downloads);
        EXPECT_EQ(l.options.save_folder, documents);
    }
    const Loaded l = load_text(crlf("[file download]\ndownload directory=D:\\Games\\\n"
                                    "[save text]\nsave directory=/home/Me/Saved Texts/\n"));
    EXPECT_EQ(l.options.download_folder, "D:\\Games\\");
    EXPECT_EQ(l.options.save_folder, "/home/Me/Saved Texts/");
}

TEST(ConfigFile, OptionKeysForTheCommandLine) {
    OPTIONS_TYPE o = initialize_defaults("x", now);
    EXPECT_TRUE(option_apply(o, "PRINT", "font size", "30", now));
    EXPECT_EQ(option_value_text(o, "print", "font size"), "10");
    EXPECT_TRUE(option_apply(o, "print", "font size", "16", now));
    EXPECT_EQ(o.print_font_size, 16);
    EXPECT_FALSE(option_apply(o, "print", "Font Size", "16", now));
    EXPECT_FALSE(option_value_text(o, "general", "first run"));
    EXPECT_FALSE(option_value_text(o, "nosuch", "font size"));
}

TEST(ConfigFile, IniPathFollowsReadOnlyMode) {
    VARIABLES_PROGRAM v;
    v.program_folder = "/opt/tkv/";
    v.windows_folder = "/home/u/.config/trickvault/";
    EXPECT_EQ(ini_path(v), "/opt/tkv/tkv.ini");
    v.run_from_cd = true;
    EXPECT_EQ(ini_path(v), "/home/u/.config/trickvault/tkv.ini");
}

} // namespace
} // namespace tkv
