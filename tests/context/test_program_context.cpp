#include "context/program_context.h"
#include "shell/files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(ProgramContext, StartsWithDefaultsThenReadsTheConfigurationAndLanguage) {
    test::TempDir home;
    home.write("languages/magyar.lng", test::TempDir::read_file(TKV_TEST_DATA "/languages/magyar.lng"));
    home.write("tkv.ini", "[general]\r\nfirst run=0\r\nversion=3.40\r\nuse internal language=0\r\n"
                          "language file=magyar.lng\r\n[print]\r\nfont size=12\r\n");
    ProgramContext c;
    context_initialize(c, home.path(""));
    EXPECT_EQ(c.variables.program_folder, home.folder());
    EXPECT_TRUE(c.first_run);
    EXPECT_EQ(c.CAPTIONS[1], "&Ok");

    context_load_configuration(c);
    EXPECT_FALSE(c.first_run);
    EXPECT_EQ(c.stored_version, "3.40");
    EXPECT_EQ(c.options.print_font_size, 12);
    EXPECT_EQ(c.option_defaults.print_font_size, 10);
    EXPECT_EQ(c.CAPTIONS[1], "&Rendben");
    EXPECT_EQ(c.language.info_file, "hungarian");

    ASSERT_TRUE(context_save_configuration(c));
    EXPECT_NE(home.read("tkv.ini").find("version=3.50\r\n"), std::string::npos);
}

TEST(ProgramContext, CreatesTheDataFolders) {
    test::TempDir home;
    ProgramContext c;
    context_initialize(c, home.folder());
    context_create_folders(c);
    for (const char* f : {"information", "languages", "profiles", "skins"})
        EXPECT_TRUE(folder_exists(home.path(f))) << f;
}

} // namespace
} // namespace tkv
