#include "platform/file_types.h"

#include "support/temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace tkv {
namespace {

using test::TempDir;

bool installed(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, got);
        ::pclose(pipe);
    }
    return out;
}

class FileTypes : public testing::Test {
  protected:
    TempDir dir;
    std::string data = dir.path("data");
    std::string config = dir.path("config");
    std::string program = dir.write("Trick Vault/trickvault", "#!/bin/sh\n");

    void SetUp() override { std::filesystem::permissions(program, std::filesystem::perms::owner_all); }
    bool run() { return register_filetypes(data, config, program, "trickvault"); }
};

TEST_F(FileTypes, DeclaresTheTypesAndTheProgram) {
    ASSERT_TRUE(run());
    const std::string package = dir.read("data/mime/packages/trickvault.xml");
    for (const char* part : {"type=\"application/x-trickvault-language\"", "<glob pattern=\"*.tkvl\"/>",
                             "type=\"application/x-trickvault-profile\"", "<glob pattern=\"*.tkvp\"/>",
                             "type=\"application/x-trickvault-skin\"", "<glob pattern=\"*.tkvs\"/>",
                             "<comment>Trickvault skin archive</comment>"})
        EXPECT_NE(package.find(part), std::string::npos) << part;

    const std::string entry = dir.read("data/applications/trickvault.desktop");
    for (const std::string& line : std::vector<std::string>{
             "[Desktop Entry]\n", "\nType=Application\n", "\nName=Trickvault\n",
             "\nExec=\"" + program + "\" %f\n", "\nIcon=trickvault\n",
             "\nMimeType=application/x-trickvault-language;application/x-trickvault-profile;"
             "application/x-trickvault-skin;\n",
             "\nTerminal=false\n", "\nCategories=Game;Utility;\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
}

TEST_F(FileTypes, ExecQuotesWhatTheDesktopWouldOtherwiseInterpret) {
    // A plain path stays as it is: xdg-open takes the Exec line's first word as the program.
    ASSERT_TRUE(register_filetypes(data, config, "/usr/bin/trickvault", "trickvault"));
    EXPECT_NE(dir.read("data/applications/trickvault.desktop").find("\nExec=/usr/bin/trickvault %f\n"),
              std::string::npos);
    ASSERT_TRUE(register_filetypes(data, config, "/opt/a\"b`c$d\\e 100%/tv", "trickvault"));
    EXPECT_NE(dir.read("data/applications/trickvault.desktop")
                  .find("\nExec=\"/opt/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e 100%%/tv\" %f\n"),
              std::string::npos);
}

TEST_F(FileTypes, BecomesTheDefaultAndKeepsThePreviousOne) {
    dir.write("config/mimeapps.list", "[Default Applications]\n"
                                      "text/html=browser.desktop\n"
                                      "application/x-trickvault-skin = archiver.desktop;viewer.desktop;\n"
                                      "\n"
                                      "[Added Associations]\n"
                                      "application/x-trickvault-profile=archiver.desktop;\n");
    ASSERT_TRUE(run());
    EXPECT_EQ(dir.read("config/mimeapps.list"), "[Default Applications]\n"
                                                "text/html=browser.desktop\n"
                                                "application/x-trickvault-skin=trickvault.desktop\n"
                                                "application/x-trickvault-language=trickvault.desktop\n"
                                                "application/x-trickvault-profile=trickvault.desktop\n"
                                                "\n"
                                                "[Added Associations]\n"
                                                "application/x-trickvault-profile=archiver.desktop;\n");
    EXPECT_EQ(dir.read("data/trickvault/old-associations.txt"),
              "application/x-trickvault-skin=archiver.desktop;viewer.desktop;\n");
}

TEST_F(FileTypes, CreatesTheDefaultsGroupWhenMissing) {
    dir.write("config/mimeapps.list", "[Added Associations]\ntext/plain=editor.desktop;");
    ASSERT_TRUE(run());
    EXPECT_EQ(dir.read("config/mimeapps.list"), "[Added Associations]\n"
                                                "text/plain=editor.desktop;\n"
                                                "\n"
                                                "[Default Applications]\n"
                                                "application/x-trickvault-language=trickvault.desktop\n"
                                                "application/x-trickvault-profile=trickvault.desktop\n"
                                                "application/x-trickvault-skin=trickvault.desktop\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("data/trickvault/old-associations.txt")));
}

TEST_F(FileTypes, SecondRunChangesNothing) {
    dir.write("config/mimeapps.list",
              "[Default Applications]\napplication/x-trickvault-language=old.desktop\n");
    ASSERT_TRUE(run());
    const char* files[] = {"data/mime/packages/trickvault.xml", "data/applications/trickvault.desktop",
                           "config/mimeapps.list", "data/trickvault/old-associations.txt"};
    std::vector<std::string> first;
    for (const char* f : files)
        first.push_back(dir.read(f));
    ASSERT_TRUE(run());
    for (std::size_t i = 0; i < std::size(files); ++i)
        EXPECT_EQ(dir.read(files[i]), first[i]) << files[i];
    EXPECT_EQ(first[3], "application/x-trickvault-language=old.desktop\n");
}

TEST_F(FileTypes, TheDesktopReadsThemAsMeant) {
    if (!installed("update-mime-database") || !installed("gio"))
        GTEST_SKIP() << "needs update-mime-database and gio";
    // A folder name with every character the Exec line must quote.
    const std::string odd =
        dir.write("a\"b`c$d\\e f/tv", "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$0.out\"\n");
    std::filesystem::permissions(odd, std::filesystem::perms::owner_all);
    ASSERT_TRUE(register_filetypes(data, config, odd, "trickvault"));
    const std::string env =
        "XDG_DATA_HOME='" + data + "' XDG_CONFIG_HOME='" + config + "' XDG_DATA_DIRS=/usr/share ";
    const std::string skin = dir.write("my pack.TKVS", "PK\x03\x04");
    EXPECT_NE(output_of(env + "gio info -a standard::content-type '" + skin + "'")
                  .find("application/x-trickvault-skin"),
              std::string::npos);
    EXPECT_NE(output_of(env + "gio mime application/x-trickvault-profile").find("trickvault.desktop"),
              std::string::npos);

    output_of(env + "gio launch '" + data + "/applications/trickvault.desktop' '" + skin + "'");
    std::string launched;
    for (int i = 0; i < 100 && launched.empty(); ++i, ::usleep(50'000))
        launched = TempDir::read_file(odd + ".out");
    EXPECT_EQ(launched, odd + "\n" + skin + "\n");
}

} // namespace
} // namespace tkv
