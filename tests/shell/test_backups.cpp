#include "shell/backups.h"

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "shell/config_file.h"
#include "shell/files.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

using test::TempDir;

DateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return *make_datetime({year, month, day, hour, minute, second, 0});
}

std::vector<BackupEntry> entries(const std::vector<DateTime>& times) {
    std::vector<BackupEntry> out;
    for (DateTime t : times) out.push_back({backup_name("user.dat", t, 0), t, 0});
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.taken > b.taken; });
    return out;
}

TEST(Backups, NamesParseBackAndForeignNamesAreNotBackups) {
    const DateTime t = at(2026, 3, 4, 5, 6, 7);
    EXPECT_EQ(backup_name("user.dat", t, 0), "user-20260304-050607.dat");
    EXPECT_EQ(backup_name("tkv.ini", t, 2), "tkv-20260304-050607-2.ini");
    const auto e = backup_entry_of("tkv.ini", "tkv-20260304-050607-2.ini");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->taken, t);
    EXPECT_EQ(e->sequence, 2);
    for (const char* foreign : {"user.dat", "user-20260304-050607.ini", "user-20261304-050607.dat",
                                "user-2026030-4050607.dat", "user-20260304-050607-x.dat", "notes.txt",
                                "user-20260304-250607.dat", "tkv-20260304-050607.ini"})
        EXPECT_FALSE(backup_entry_of("user.dat", foreign)) << foreign;
}

TEST(Backups, RotationKeepsTheNewestTwentyThenOnePerDayForThirtyDays) {
    const DateTime now = at(2026, 6, 30, 12);
    std::vector<DateTime> times;
    for (int i = 0; i < 25; ++i) times.push_back(at(2026, 6, 30, 11, i)); // 25 saves today
    for (int day = 1; day <= 40; ++day)                                    // two a day before
        for (int hour : {9, 17}) times.push_back(add_days(at(2026, 6, 30, hour), -day));
    const std::vector<std::string> removed = backups_to_remove(entries(times), now);
    const auto is_removed = [&](DateTime t) {
        return std::find(removed.begin(), removed.end(), backup_name("user.dat", t, 0)) != removed.end();
    };
    // Today: the newest 20 stay, the 5 older ones go (today already has one kept).
    for (int i = 0; i < 25; ++i) EXPECT_EQ(is_removed(at(2026, 6, 30, 11, i)), i < 5) << i;
    // Days 1..29 back keep their evening save; older days keep nothing.
    for (int day = 1; day <= 40; ++day) {
        EXPECT_EQ(is_removed(add_days(at(2026, 6, 30, 17), -day)), day >= backups_kept_days) << day;
        EXPECT_TRUE(is_removed(add_days(at(2026, 6, 30, 9), -day))) << day;
    }
    // Fewer than twenty, however old, all stay.
    EXPECT_TRUE(backups_to_remove(entries({at(2020, 1, 1, 1), at(2021, 1, 1, 1)}), now).empty());
}

TEST(Backups, SavesOfTkvIniKeepTheReplacedFileOnceAndLeaveForeignFilesAlone) {
    TempDir dir;
    const std::string ini = dir.path("tkv.ini");
    dir.write("backups/readme.txt", "mine");
    dir.write("backups/tkv-19990101-000000.ini", "ancient"); // beyond 30 days, yet among the newest 20
    OPTIONS_TYPE options;
    UsageStats stats;
    ASSERT_TRUE(program_ini_save(ini, options, stats)); // nothing to keep yet
    EXPECT_EQ(backups_list(dir.folder() + "backups/", "tkv.ini").size(), 1u);
    options.autosave_after = 77;
    ASSERT_TRUE(program_ini_save(ini, options, stats));
    const auto list = backups_list(dir.folder() + "backups/", "tkv.ini");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(dir.read("backups/" + list.front().name), program_ini_text(OPTIONS_TYPE{}, stats));
    struct stat st {};
    ASSERT_EQ(::stat(dir.path("backups/" + list.front().name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Kept once; the second time the newest backup already holds it.
    ASSERT_EQ(backup_before_replace(ini, current_datetime()), std::nullopt);
    ASSERT_EQ(backup_before_replace(ini, current_datetime()), std::nullopt);
    EXPECT_EQ(backups_list(dir.folder() + "backups/", "tkv.ini").size(), 3u);
    EXPECT_EQ(dir.read("backups/readme.txt"), "mine");
}

TEST(Backups, AnUnwritableBackupFolderNeverStopsTheSaveAndIsReportedOnce) {
    TempDir dir;
    dir.write("backups", "a file where the folder should be");
    const std::string ini = dir.write("tkv.ini", "old");
    OPTIONS_TYPE options;
    UsageStats stats;
    EXPECT_TRUE(program_ini_save(ini, options, stats));
    EXPECT_EQ(dir.read("tkv.ini"), program_ini_text(options, stats));
    dir.write("tkv.ini", "old again");
    EXPECT_TRUE(program_ini_save(ini, options, stats));
    const auto problem = backup_problem_to_report();
    ASSERT_TRUE(problem);
    EXPECT_TRUE(problem->starts_with(dir.folder() + "backups/tkv-")) << *problem;
    EXPECT_FALSE(backup_problem_to_report());
}

TEST(Backups, LeftoversOfInterruptedSavesAreRemovedAndNothingElse) {
    TempDir dir;
    for (const char* name : {".user.dat.Ab12Cd", ".main.dat.zzzzzz", ".tkv.ini.q1w2e3", ".user.dat.short",
                             ".user.dat", "user.dat", ".other.dat.Ab12Cd"})
        dir.write(name, "x");
    EXPECT_EQ(remove_save_leftovers(dir.folder(), {"main.dat", "user.dat"}), 2u);
    for (const char* gone : {".user.dat.Ab12Cd", ".main.dat.zzzzzz"}) EXPECT_FALSE(file_exists(dir.path(gone)));
    for (const char* kept : {".tkv.ini.q1w2e3", ".user.dat.short", ".user.dat", "user.dat", ".other.dat.Ab12Cd"})
        EXPECT_TRUE(file_exists(dir.path(kept))) << kept;
}

} // namespace
} // namespace tkv
