#include "cli/tkv.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

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

// The real tool in a child process, as a shell runs it.
Result run_tool(const std::string& home, std::vector<std::string> args) {
    test::TempDir io;
    args.insert(args.begin(), {TKV_TOOL_PATH, "--home", home});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, io.path("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, io.path("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    int status = 0;
    const bool started = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&files);
    if (!started || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        ADD_FAILURE() << "tkv did not run to its end";
        return {-1, "", ""};
    }
    return {WEXITSTATUS(status), io.read("out"), io.read("err")};
}

TEST_F(Tkv, ConfigSetAppliesTheReadRuleAndSaysWhatItStored) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* stored; // what set prints and get gives afterwards
        int code;
    };
    const Case cases[] = {
        {"PRINT", "font size", "16", "16", cli::exit_ok},
        {"print", "font size", "30", "10", cli::exit_failed}, // out of range: the default
        {"internet", "name", "Anna Kis", "Anna Kis", cli::exit_ok},
        // The file is read trimmed.
        {"internet", "smtp server", " mail.example.org ", "mail.example.org", cli::exit_failed},
        {"server", "use only main server", "0", "0", cli::exit_ok},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.key) + "=" + k.value);
        const Result set = run_tool(home.folder(), {"config", "set", k.section, k.key, k.value});
        EXPECT_EQ(set.code, k.code) << set.err;
        EXPECT_EQ(set.out, std::string(k.stored) + "\n");
        EXPECT_EQ(set.err.empty(), k.code == cli::exit_ok) << set.err;
        EXPECT_EQ(run({"config", "get", k.section, k.key}).out, std::string(k.stored) + "\n");
    }
    EXPECT_NE(home.read("tkv.ini").find("\r\nfont size=10\r\n"), std::string::npos);

    // Other settings and the statistics survive a set.
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
