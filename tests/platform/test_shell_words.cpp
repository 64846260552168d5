#include "platform/shell_words.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tkv {
namespace {

using Words = std::vector<std::string>;

struct Case {
    const char* text;
    Words words;
    bool shell_accepts; // /bin/sh reads it without expanding anything, so it must agree
};

const Case cases[] = {
    {"", {}, true},
    {" \t\n ", {}, true},
    {"-window  -level 3", {"-window", "-level", "3"}, true},
    {"/map\te1m1\r\n-fast", {"/map", "e1m1", "-fast"}, false}, // sh has no CR blank
    {"'C:/My Games/x' b", {"C:/My Games/x", "b"}, true},
    {"'a\\b \"c\" $HOME'", {"a\\b \"c\" $HOME"}, true},
    {"\"say \\\"hi\\\" \\\\ \\$HOME \\`x\\`\"", {"say \"hi\" \\ $HOME `x`"}, true},
    {"\"keep \\n and \\'\"", {"keep \\n and \\'"}, true},
    {"a\\ b \\'c\\\" \\\\", {"a b", "'c\"", "\\"}, true},
    {"pre'mid dle'\"post fix\"end", {"premid dlepost fixend"}, true},
    {"'' \"\" x''", {"", "", "x"}, true},
    {"one\\\ntwo \\\n three", {"onetwo", "three"}, true},
    {"\"two\\\nlines\"", {"twolines"}, true},
    {"a 'unterminated rest", {"a", "unterminated rest"}, false},
    {"a \"open \\\" to end", {"a", "open \" to end"}, false},
    {"trailing\\", {"trailing\\"}, false},
};

TEST(ShellWords, SplitsAsAShellWould) {
    for (const Case& c : cases)
        EXPECT_EQ(split_shell_words(c.text), c.words) << "text: " << c.text;
}

// The real shell settles what the table above claims.
Words words_of_real_shell(const std::string& text) {
    const std::string script = "set -- " + text + "\nfor a; do printf '%s\\0' \"$a\"; done";
    std::string quoted = "'";
    for (char c : script)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    FILE* pipe = ::popen(("/bin/sh -c " + quoted).c_str(), "r");
    if (!pipe) return {"(no shell)"};
    std::string out;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, got);
    ::pclose(pipe);
    Words words;
    for (std::size_t start = 0, end; (end = out.find('\0', start)) != std::string::npos; start = end + 1)
        words.push_back(out.substr(start, end - start));
    return words;
}

TEST(ShellWords, TableAgreesWithTheSystemShell) {
    for (const Case& c : cases) {
        if (!c.shell_accepts) continue;
        EXPECT_EQ(words_of_real_shell(c.text), c.words) << "text: " << c.text;
    }
}

} // namespace
} // namespace tkv
