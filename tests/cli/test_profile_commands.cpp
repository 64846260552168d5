#include "cli/profile_source.h"
#include "cli/synthetic_profile.h"
#include "cli/tkv.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tkv {
namespace {

struct Result {
    int code;
    std::string out, err;
};

// A home folder with one profile built from a small source folder.
class ProfileCommands : public testing::Test {
  protected:
    test::TempDir home, source;

    void SetUp() override {
        source.write("profile.txt", "id=PC\nname=PC games\nlanguage=Hungarian\ndate=20261201120000000\n");
        source.write("types.txt", "1=Cheats\n2=Hints\n");
        source.write("games/a.txt",
                     "id=2\nrevision=4\nname=Quake\nname=Q1\n@info #1\n\nGOD - god mode\n@@ not a section\n\n"
                     "@info Speedrun\nbunny hop\n@file\nurl=file://q.zip\nsize=1 KB\ntitle=Save\n"
                     "description=Level 3\n@homepage\nurl=http://www.example/\ntitle=Fans\n");
        source.write(
            "games/b.txt",
            "id=1\nrevision=1\nname=\xC3\x81rv\xC3\xADz\nname=Quake 2\n@info #2\nLook behind you.\n");
        ASSERT_EQ(run({"build", source.folder(), home.path("profiles/pc")}).code, cli::exit_ok);
    }

    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.folder()});
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return {code, out.str(), err.str()};
    }
};

TEST_F(ProfileCommands, ProfilesAndList) {
    EXPECT_EQ(run({"profiles"}).out, "PC\tPC games\tHungarian\tpc\n");
    EXPECT_EQ(run({"list", "pc"}).out, "Q1\nQuake\nQuake 2\n\xC3\x81rv\xC3\xADz\n");
    EXPECT_EQ(run({"list", "pc", "--raw"}).out, "Q1\nQuake\nQuake 2\n\xC1rv\xEDz\n"); // Windows-1250 bytes
    const Result unknown = run({"list", "xbox"});
    EXPECT_EQ(unknown.code, cli::exit_usage);
    EXPECT_NE(unknown.err.find("xbox"), std::string::npos);
}

TEST_F(ProfileCommands, ListFollowsTheCaseOption) {
    ASSERT_EQ(run({"config", "set", "database", "small and large characters are equal", "0"}).code,
              cli::exit_ok);
    EXPECT_EQ(run({"list", "PC"}).out, "Q1\nQuake\nQuake 2\n\xC3\x81rv\xC3\xADz\n");
    source.write("games/c.txt", "id=3\nname=quake 3\n");
    ASSERT_EQ(run({"build", source.folder(), home.path("profiles/pc")}).code, cli::exit_ok);
    EXPECT_EQ(run({"list", "PC"}).out, "Q1\nQuake\nQuake 2\nquake 3\n\xC3\x81rv\xC3\xADz\n");
}

TEST_F(ProfileCommands, SearchAndFind) {
    EXPECT_EQ(run({"search", "pc", "QUAKE 3"}).out, "2\tQuake 2\n");
    const Result none = run({"search", "pc", "zzz"});
    EXPECT_EQ(none.code, cli::exit_failed);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(run({"search", "pc", "\xC3\xA1r"}).out, ""); // only A..Z fold: á does not find Á
    EXPECT_EQ(run({"find", "pc", "uak"}).out, "1\tQuake\n2\tQuake 2\n");
    EXPECT_EQ(run({"find", "pc", "nothing"}).code, cli::exit_failed);
}

// The substring results as without --similar, then the similar names after them.
TEST_F(ProfileCommands, FindSimilar) {
    source.write("games/c.txt", "id=3\nname=Quake II Mission Pack\n");
    ASSERT_EQ(run({"build", source.folder(), home.path("profiles/pc")}).code, cli::exit_ok);
    EXPECT_EQ(run({"find", "pc", "QUAKE 2"}).out, "2\tQuake 2\n");
    EXPECT_EQ(run({"find", "pc", "QUAKE 2", "--similar"}).out, "2\tQuake 2\n3\tQuake II Mission Pack\tsimilar\n");
    const Result accents = run({"find", "pc", "arviz", "--similar"});
    EXPECT_EQ(accents.code, cli::exit_ok);
    EXPECT_EQ(accents.out, "4\t\xC3\x81rv\xC3\xADz\tsimilar\n");
    EXPECT_EQ(run({"find", "pc", "arviz"}).code, cli::exit_failed);
    EXPECT_EQ(run({"find", "pc", "zzz", "--similar"}).code, cli::exit_failed);
    EXPECT_EQ(run({"list", "pc", "--similar"}).code, cli::exit_usage);
}

TEST_F(ProfileCommands, GrepSearchesTheTextsAndIndexSaysWhatItDid) {
    test::TempDir cache;
    test::ScopedEnv cache_home("XDG_CACHE_HOME", cache.folder());
    const Result built = run({"index", "pc"});
    EXPECT_EQ(built.code, cli::exit_ok);
    EXPECT_EQ(built.out.rfind(
                  "built: 2 games indexed, 0 removed, in " + cache.folder() + "trickvault/index/PC-", 0),
              0u)
        << built.out;
    EXPECT_EQ(run({"index", "pc"}).out.rfind("up to date", 0), 0u);

    EXPECT_EQ(run({"grep", "pc", "god mode"}).out,
              "1\tQuake\tCheats\t[GOD] - [god] [mode] @ not a section\n");
    EXPECT_EQ(run({"grep", "pc", "ARVIZ"}).out,
              "3\t\xC3\x81rv\xC3\xADz\tNames\t[\xC3\x81rv\xC3\xADz] Quake 2\n");
    EXPECT_EQ(run({"grep", "pc", "quake", "--limit", "1"}).out.find('\n'),
              run({"grep", "pc", "quake"}).out.find('\n'));
    EXPECT_EQ(run({"grep", "pc", "level save"}).out, "1\tQuake\tFiles\t[Save] [Level] 3\n");
    const Result none = run({"grep", "pc", "qauke"});
    EXPECT_EQ(none.code, cli::exit_failed);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "nothing found; did you mean: quake\n");
    EXPECT_EQ(run({"grep", "pc"}).code, cli::exit_usage);
    EXPECT_EQ(run({"grep", "pc", "quake", "--limit", "0"}).code, cli::exit_usage);
}

TEST_F(ProfileCommands, ShowWritesTheSavedDocument) {
    const Result text = run({"show", "pc", "q1"});
    ASSERT_EQ(text.code, cli::exit_ok) << text.err;
    EXPECT_TRUE(text.out.starts_with(
        "Quake:\r\n======\r\n\r\nCheats:\r\n-------\r\nGOD - god mode\r\n@ not a section\r\n\r\n"
        "Speedrun:\r\n---------\r\nbunny hop\r\n\r\n"))
        << text.out;
    EXPECT_NE(text.out.find("Save\r\nfile://q.zip\r\n1 KB\r\nLevel 3\r\n"), std::string::npos);
    EXPECT_TRUE(run({"show", "pc", "#3", "--format", "html"}).out.starts_with("<html>\r\n<head>"));
    EXPECT_TRUE(run({"show", "pc", "#3", "--format", "rtf"}).out.starts_with("{\\rtf1"));
    EXPECT_EQ(run({"show", "pc", "#9"}).code, cli::exit_usage);
    EXPECT_EQ(run({"show", "pc", "q1", "--format", "pdf"}).code, cli::exit_usage);
}

// Game names and profile ids are typed in UTF-8 and stored in the profile's code page.
TEST_F(ProfileCommands, NamesAndIdsTypedInUtf8) {
    test::TempDir other;
    other.write("profile.txt", "id=\xC3\x84" "CC\nname=Accessories\nlanguage=English\ndate=20261201120000000\n");
    other.write("types.txt", "1=Cheats\n");
    other.write("games/a.txt", "id=1\nname=3D Pinball\n@info #1\nplain\n");
    other.write("games/b.txt", "id=2\nname=3D Pinball for Windows \xE2\x80\x93 Space Cadet\n@info #1\nBALL\n");
    ASSERT_EQ(run({"build", other.folder(), home.path("profiles/acc")}).code, cli::exit_ok);

    const Result shown = run({"show", "\xC3\x84" "CC", "3D Pinball for Windows \xE2\x80\x93 Space Cadet"});
    ASSERT_EQ(shown.code, cli::exit_ok) << shown.err;
    EXPECT_TRUE(shown.out.starts_with("3D Pinball for Windows \x96 Space Cadet:")) << shown.out;
    EXPECT_NE(shown.out.find("BALL"), std::string::npos);
    EXPECT_EQ(run({"list", "\xC3\x84" "CC", "--raw"}).out, "3D Pinball\n3D Pinball for Windows \x96 Space Cadet\n");
    EXPECT_EQ(run({"list", "ACC"}).code, cli::exit_usage); // no other profile stands in for it
}

TEST_F(ProfileCommands, WindowsTextIsTheTextAsItIs) {
    // Dash, quotes and a Hungarian letter are Windows-1250 bytes already; no DOS table may touch them.
    source.write("games/c.txt", "id=3\nname=Dash\n@info #1\nA \xE2\x80\x93 \xE2\x80\x9Cq\xE2\x80\x9D \xC5\x91\n");
    ASSERT_EQ(run({"build", source.folder(), home.path("profiles/pc")}).code, cli::exit_ok);
    const Result windows = run({"show", "pc", "Dash", "--format", "windows"});
    ASSERT_EQ(windows.code, cli::exit_ok) << windows.err;
    EXPECT_NE(windows.out.find("\r\nA \x96 \x93q\x94 \xF5\r\n"), std::string::npos) << windows.out;
    EXPECT_EQ(windows.out + "\r\n", run({"show", "pc", "Dash"}).out);
    EXPECT_EQ(run({"show", "pc", "Dash", "--format", "dos"}).out.find("\x96 \x93q\x94 \xF5"), std::string::npos);
}

TEST_F(ProfileCommands, HtmlWrapNeverSplitsAnEntity) {
    // Addresses without spaces, each putting "&amp;" at another place around the cut at 70.
    std::string text;
    for (int pad = 60; pad <= 72; ++pad)
        text += "http://x.example/" + std::string(static_cast<std::size_t>(pad - 17), 'a') + "&file=" +
                std::to_string(pad) + "&lt\n";
    source.write("games/c.txt", "id=3\nname=Links\n@info #1\n\n" + text);
    ASSERT_EQ(run({"build", source.folder(), home.path("profiles/pc")}).code, cli::exit_ok);
    const Result html = run({"show", "pc", "Links", "--format", "html"});
    ASSERT_EQ(html.code, cli::exit_ok) << html.err;
    for (std::size_t amp = html.out.find('&'); amp != std::string::npos; amp = html.out.find('&', amp + 1)) {
        const std::size_t end = html.out.find_first_of(";\r", amp);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(html.out[end], ';') << html.out.substr(amp > 40 ? amp - 40 : 0, 60);
    }
    // Cut only between characters: joined again, every address is whole.
    std::string joined = html.out;
    std::erase(joined, '\r');
    std::erase(joined, '\n');
    for (int pad = 60; pad <= 72; ++pad)
        EXPECT_NE(joined.find("a&amp;file=" + std::to_string(pad) + "&amp;lt"), std::string::npos) << pad;
}

TEST_F(ProfileCommands, DamagedBlockAndCheck) {
    const std::string main_dat = home.path("profiles/pc/main.dat");
    EXPECT_EQ(run({"check", main_dat}).code, cli::exit_ok);
    std::string bytes = home.read("profiles/pc/main.dat");
    const auto bz = bytes.find("BZh");
    ASSERT_NE(bz, std::string::npos);
    bytes[bz + 20] ^= 0x55;
    home.write("profiles/pc/main.dat", bytes);
    const Result show = run({"show", "pc", "Quake 2"});
    const Result other = run({"show", "pc", "Quake"});
    EXPECT_TRUE((show.code == cli::exit_failed && show.err.starts_with("error -")) ||
                (other.code == cli::exit_failed && other.err.starts_with("error -")));
    const Result check = run({"check", main_dat, home.path("missing.dat")});
    EXPECT_EQ(check.code, cli::exit_failed);
    EXPECT_NE(check.out.find("does not expand: error -"), std::string::npos);
    EXPECT_NE(check.out.find("missing.dat: cannot be read"), std::string::npos);

    home.write("cut.dat", bytes.substr(0, bytes.size() - 9));
    EXPECT_NE(run({"check", home.path("cut.dat")}).out.find("problem: the file ends inside game 2"),
              std::string::npos);
    home.write("other.dat", "\x05hello");
    EXPECT_NE(run({"check", home.path("other.dat")}).out.find("neither"), std::string::npos);
}

TEST_F(ProfileCommands, BuildIsDeterministicAndReportsSourceErrors) {
    ASSERT_EQ(run({"build", source.folder(), home.path("again")}).code, cli::exit_ok);
    EXPECT_EQ(home.read("again/main.dat"), home.read("profiles/pc/main.dat"));

    const std::pair<const char*, const char*> broken[] = {
        {"games/c.txt", "id=2\nname=Twice\n"},
        {"games/c.txt", "id=5\n"},
        {"games/c.txt", "id=5\nname=x\n@info #\n"},
        {"games/c.txt", "id=5\nname=x\n@video\n"},
        {"games/c.txt", "id=5\nname=\xE4\xB8\xAD\n"}, // a letter no Windows code page has
        {"types.txt", "300=Too big\n"},
    };
    for (const auto& [file, text] : broken) {
        test::TempDir copy;
        copy.write("profile.txt", source.read("profile.txt"));
        copy.write("types.txt", source.read("types.txt"));
        copy.write("games/a.txt", source.read("games/a.txt"));
        copy.write(file, text);
        const Result r = run({"build", copy.folder(), home.path("broken")});
        EXPECT_EQ(r.code, cli::exit_failed) << text;
        EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
    }
}

TEST_F(ProfileCommands, GenerateIsDeterministicAndMeetsTheRowCount) {
    ASSERT_EQ(
        run({"generate", "--games", "40", "--rows", "100", "--seed", "9", home.path("profiles/syn")}).code,
        cli::exit_ok);
    ASSERT_EQ(
        run({"generate", "--games", "40", "--rows", "100", "--seed", "9", "--id", "syn", home.path("syn2")})
            .code,
        cli::exit_ok);
    EXPECT_EQ(home.read("profiles/syn/main.dat"), home.read("syn2/main.dat"));
    const Result list = run({"list", "syn"});
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 100);
    EXPECT_EQ(run({"check", home.path("syn2/main.dat")}).code, cli::exit_ok);
    EXPECT_EQ(run({"generate", "--games", "40", "--rows", "200", home.path("x")}).code, cli::exit_usage);
    EXPECT_EQ(run({"generate", "--games", "40"}).code, cli::exit_usage);
}

} // namespace
} // namespace tkv
