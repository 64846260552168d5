// The tool as the user runs it: a separate process, its stdout, stderr and exit status.
#include "support/temp_dir.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace tkv {
namespace {

struct Outcome {
    int code = -1;
    std::string out, err;
};

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class TkvProcess : public testing::Test {
  protected:
    test::TempDir home, scratch;

    // The tool with these arguments (no --home added), its stderr caught in a scratch file.
    Outcome run_raw(const std::vector<std::string>& args) {
        std::string command = quoted(TKV_TOOL_PATH);
        for (const auto& a : args)
            command += " " + quoted(a);
        command += " 2>" + quoted(scratch.path("stderr"));
        Outcome r;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return r;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            r.out.append(buffer, n);
        const int status = ::pclose(pipe);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = scratch.read("stderr");
        return r;
    }

    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.folder()});
        return run_raw(args);
    }
};

TEST_F(TkvProcess, HelpPrintsTheUsageOnStdoutAndSucceeds) {
    const Outcome wrong = run_raw({"frobnicate"});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_EQ(wrong.out, "");
    ASSERT_NE(wrong.err.find("usage: tkv"), std::string::npos);
    const std::string usage = wrong.err.substr(wrong.err.find("usage: tkv"));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"--home", home.folder(), "--help"}}) {
        const Outcome help = run_raw(args);
        EXPECT_EQ(help.code, 0) << args.back();
        EXPECT_EQ(help.out, usage) << args.back();
        EXPECT_EQ(help.err, "") << args.back();
    }
    const Outcome command_help = run({"generate", "--help"});
    EXPECT_EQ(command_help.code, 0);
    EXPECT_TRUE(command_help.out.starts_with("usage: tkv [--home DIR] generate ")) << command_help.out;
    EXPECT_TRUE(home.read("tkv.ini").empty()); // help touches no home folder
}

TEST_F(TkvProcess, ShowHtmlUsesTheColoursOfTheHomesSkin) {
    ASSERT_EQ(run({"generate", "--games", "3", home.path("profiles/pc")}).code, 0);
    // Skins off: the built-in skin's information fields, as the program's save writes them.
    const Outcome builtin = run({"show", "pc", "#0", "--format", "html"});
    ASSERT_EQ(builtin.code, 0) << builtin.err;
    EXPECT_NE(builtin.out.find("<body bgcolor=\"#7799CC\" text=\"#000000\""), std::string::npos)
        << builtin.out;

    home.write("skins/mint/skin.ini", "[Skin Informations]\r\nName=Mint\r\n[Window Information]\r\n"
                                      "Fields=224466,F0E0D0,Arial,10,0\r\n");
    ASSERT_EQ(run({"config", "set", "skins", "use skin", "1"}).code, 0);
    ASSERT_EQ(run({"config", "set", "skins", "skins name", "mint"}).code, 0);
    const Outcome skinned = run({"show", "pc", "#0", "--format", "html"});
    EXPECT_NE(skinned.out.find("<body bgcolor=\"#224466\" text=\"#F0E0D0\""), std::string::npos)
        << skinned.out;

    // A skin that is gone: the program shows the built-in one, and so does the document.
    ASSERT_EQ(run({"config", "set", "skins", "skins name", "gone"}).code, 0);
    EXPECT_EQ(run({"show", "pc", "#0", "--format", "html"}).out, builtin.out);
}

TEST_F(TkvProcess, GenerateTakesTheIdAndWritesDistinctNames) {
    struct Case {
        std::vector<std::string> args;
        std::string folder, id;
    };
    const Case cases[] = {
        {{}, "profiles/arcade", "arcade"},
        {{}, "profiles/retro/", "retro"},
        {{"--id", "PC2"}, "profiles/other", "PC2"},
        {{"--id", "\xC3\x84"
                  "CC"},
         "profiles/acc",
         "\xC3\x84"
         "CC"}, // Ä, held by Windows-1252
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"generate", "--games", "5"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(home.path(c.folder));
        ASSERT_EQ(run(args).code, 0) << c.folder;
    }
    std::set<std::string> ids;
    std::istringstream profiles(run({"profiles"}).out);
    for (std::string line; std::getline(profiles, line);)
        ids.insert(line.substr(0, line.find('\t')));
    EXPECT_EQ(ids, (std::set<std::string>{"arcade", "retro", "PC2",
                                          "\xC3\x84"
                                          "CC"}));

    const Outcome bad = run({"generate", "--games", "5", "--id", "\xE4\xB8\xAD", home.path("x")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_NE(bad.err.find("code page"), std::string::npos);

    // A large profile: every row its own name, letter case ignored as the list compares them.
    ASSERT_EQ(
        run({"generate", "--games", "1000", "--rows", "3000", "--seed", "4", home.path("profiles/big")}).code,
        0);
    const Outcome list = run({"list", "big"});
    ASSERT_EQ(list.code, 0);
    std::set<std::string> names;
    std::size_t rows = 0;
    std::istringstream lines(list.out);
    for (std::string line; std::getline(lines, line); ++rows) {
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char ch) { return std::tolower(ch); });
        EXPECT_TRUE(names.insert(line).second) << "twice: " << line;
        // Whole words, as titles have them: no word cut to a syllable or two letters.
        std::istringstream words(line);
        for (std::string w; words >> w;)
            EXPECT_TRUE(w.size() >= 3 || w == "of" || std::isdigit(static_cast<unsigned char>(w[0])) ||
                        w == "ii")
                << line;
        if (HasFailure()) break;
    }
    EXPECT_EQ(rows, 3000u);
}

} // namespace
} // namespace tkv
