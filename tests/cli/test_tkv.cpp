#include "cli/tkv.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tkv {
namespace {

struct Result {
    int code;
    std::string out, err;
};

class Tkv : public testing::Test {
  protected:
    test::TempDir home;

    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.folder()});
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return {code, out.str(), err.str()};
    }
};

TEST_F(Tkv, ConfigSetAppliesTheReadRuleAndSaves) {
    EXPECT_EQ(run({"config", "set", "PRINT", "font size", "16"}).code, cli::exit_ok);
    EXPECT_NE(home.read("tkv.ini").find("\r\nfont size=16\r\n"), std::string::npos);
    EXPECT_EQ(run({"config", "get", "print", "font size"}).out, "16\n");

    EXPECT_EQ(run({"config", "set", "print", "font size", "99"}).code, cli::exit_ok);
    EXPECT_EQ(run({"config", "get", "print", "font size"}).out, "10\n");

    // Other settings and the statistics survive a set.
    EXPECT_EQ(run({"config", "set", "internet", "name", "Anna Kis"}).code, cli::exit_ok);
    const Result list = run({"config", "list"});
    EXPECT_NE(list.out.find("\r\nname=Anna Kis\r\n"), std::string::npos);
    EXPECT_TRUE(list.out.starts_with("[general]\r\nfirst run=0\r\nversion=3.50\r\n"));
    EXPECT_EQ(list.out.find("statistics"), std::string::npos);
    EXPECT_EQ(list.out.find("[#END#]"), std::string::npos);
    EXPECT_NE(home.read("tkv.ini").find("[statistics (for internal use only)]"), std::string::npos);
}

TEST_F(Tkv, ConfigListOfAnEmptyHomeShowsDefaults) {
    const Result r = run({"config", "list"});
    EXPECT_EQ(r.code, cli::exit_ok);
    EXPECT_NE(r.out.find("\r\n[options window]\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\r\nfont name=Courier New\r\n"), std::string::npos);
    EXPECT_TRUE(home.read("tkv.ini").empty()); // listing writes nothing
}

TEST_F(Tkv, BadArgumentsGiveUsageAndExitTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"config"},
        {"config", "get", "print"},
        {"config", "get", "print", "Font Size"},
        {"config", "set", "nosuch", "x", "1"},
        {"config", "list", "extra"},
        {"captions", "--missing"},
        {"captions", "--language"},
        {"captions", "--bogus"},
    };
    for (const auto& args : bad) {
        const Result r = run(args);
        EXPECT_EQ(r.code, cli::exit_usage) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage: tkv"), std::string::npos);
    }
    std::ostringstream out, err;
    EXPECT_EQ(cli::run({"--home"}, out, err), cli::exit_usage);
}

TEST_F(Tkv, UnwritableConfigurationFails) {
    home.write("tkv.ini/blocker", ""); // a folder where the file should be
    const Result r = run({"config", "set", "print", "font size", "16"});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);
}

TEST_F(Tkv, CaptionsBuiltIn) {
    const Result r = run({"captions"});
    EXPECT_EQ(r.code, cli::exit_ok);
    EXPECT_TRUE(r.out.starts_with("1\t&Ok\n"));
    EXPECT_NE(r.out.find("\n560\tTrickvault - Error!\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n621\tYou have launched Trickvault %1 times and viewed\\r\\n%2 information"),
              std::string::npos);
    EXPECT_NE(r.out.find("\n783\tCAPTIONS[783]\n"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("\n1000\t\n"));
}

TEST_F(Tkv, CaptionsOfALanguageFileInItsCodePage) {
    home.write("languages/magyar.lng", test::TempDir::read_file(TKV_TEST_DATA "/languages/magyar.lng"));
    Result r = run({"captions", "--language", "magyar.lng"});
    EXPECT_EQ(r.code, cli::exit_ok);
    EXPECT_NE(r.out.find("\n585\tEls\xC5\x91 sor\\r\\nm\xC3\xA1sodik sor\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n2\t%1 - First launch\n"), std::string::npos);

    r = run({"captions", "--language", "magyar.lng", "--missing"});
    EXPECT_EQ(r.out.find("\n585\t"), std::string::npos);
    EXPECT_EQ(r.out.find("1\t&Rendben"), std::string::npos);
    EXPECT_TRUE(r.out.starts_with("2\t%1 - First launch\n"));
    EXPECT_EQ(r.out.find("\n1000\t"), std::string::npos);

    r = run({"captions", "--language", "none.lng"});
    EXPECT_EQ(r.code, cli::exit_failed);
    EXPECT_NE(r.err.find("none.lng"), std::string::npos);
}

} // namespace
} // namespace tkv
