#include "shell/folders.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace tkv {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Folders, ProgramFolderFromTheEnvironment) {
    ScopedEnv home("TRICKVAULT_HOME", "/srv/tv");
    EXPECT_EQ(get_program_folder(), "/srv/tv/");
}

TEST(Folders, ProgramFolderIsTheExecutablesWhenWritable) {
    ScopedEnv home("TRICKVAULT_HOME", nullptr);
    ASSERT_FALSE(executable_folder().empty());
    EXPECT_EQ(get_program_folder(), executable_folder()); // the build folder is writable
}

TEST(Folders, ConfigurationFolderFollowsXdg) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(get_windows_folder(), "/tmp/cfg/trickvault/");
    }
    ScopedEnv config("XDG_CONFIG_HOME", "relative/is/ignored");
    ScopedEnv user_home("HOME", "/home/anna");
    EXPECT_EQ(get_windows_folder(), "/home/anna/.config/trickvault/");
}

TEST(Folders, CurrentFolderAndOwner) {
    EXPECT_TRUE(get_current_folder().ends_with("/"));
    EXPECT_FALSE(owner_name().empty());
}

} // namespace
} // namespace tkv
