#include "shell/config_file.h"
#include "shell/usage_stats.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

const DateTime now = *make_datetime({2026, 3, 1, 9, 15, 0, 0});

TEST(UsageStats, ResetCoversTheLastThirtyWholeDays) {
    UsageStats s;
    s.runs_total = 5;
    stats_reset(s, now);
    EXPECT_EQ(s.runs_total, 0);
    EXPECT_EQ(format_date(s.day_stats.front().day), "20260131");
    EXPECT_EQ(s.day_stats.back().day, date_only(now));
}

struct LineCase {
    const char* value;
    int runs, viewed, chars; // expected counts of today
};

class DaysLine : public testing::TestWithParam<LineCase> {};

TEST_P(DaysLine, SetsTodaysCounts) {
    UsageStats s;
    stats_reset(s, now);
    s.day_stats[29].runs = 7;
    stats_add_line(s, GetParam().value, now);
    EXPECT_EQ(s.day_stats[29].runs, GetParam().runs);
    EXPECT_EQ(s.day_stats[29].viewed, GetParam().viewed);
    EXPECT_EQ(s.day_stats[29].viewed_chars, GetParam().chars);
}

INSTANTIATE_TEST_SUITE_P(UsageStats, DaysLine,
                         testing::Values(LineCase{"20260301,3,4,5", 3, 4, 5},
                                         // Without a comma the date part is empty and reads as today.
                                         LineCase{"20260301", 0, 0, 0}, LineCase{"20260301,3,-4,x", 3, 0, 0},
                                         LineCase{"20260301,3,4,5,6", 3, 4, 0},
                                         LineCase{"20260228,3,4,5", 7, 0, 0},
                                         LineCase{"20260130,3,4,5", 7, 0, 0}));

TEST(UsageStats, OlderDayInsideTheWindow) {
    UsageStats s;
    stats_reset(s, now);
    stats_add_line(s, "20260131,1,2,3", now);
    EXPECT_EQ(s.day_stats[0].runs, 1);
    EXPECT_EQ(s.day_stats[0].viewed_chars, 3);
}

TEST(UsageStats, DayChangeMovesOneRecordPerCheck) {
    UsageStats s;
    stats_reset(s, now);
    s.day_stats[29].runs = 5;
    EXPECT_FALSE(stats_day_change(s, now));
    const DateTime three_days_later = add_days(now, 3);
    EXPECT_TRUE(stats_day_change(s, three_days_later));
    EXPECT_EQ(s.day_stats[28].runs, 5);
    EXPECT_EQ(s.day_stats[29].runs, 0);
    EXPECT_EQ(s.day_stats[29].day, date_only(three_days_later));
    EXPECT_EQ(format_date(s.day_stats[0].day), "20260201"); // the oldest left; the window has a gap now
    EXPECT_FALSE(stats_day_change(s, three_days_later));
}

} // namespace
TEST(UsageStats, ViewsCountTotalAndTodayAndStopAtTheLargestCount) {
    UsageStats s;
    stats_reset(s, parse_datetime("20261210120000000"));
    stats_count_view(s, 120);
    stats_count_view(s, 30);
    EXPECT_EQ(s.viewed_total, 2);
    EXPECT_EQ(s.viewed_chars_total, 150);
    EXPECT_EQ(s.day_stats.back().viewed, 2);
    EXPECT_EQ(s.day_stats.back().viewed_chars, 150);
    EXPECT_EQ(s.day_stats.front().viewed, 0);

    s.viewed_chars_total = 2147483600;
    stats_count_view(s, 5000);
    EXPECT_EQ(s.viewed_chars_total, stats_count_max);
}

// A counter at its top stays there, and tkv.ini gives it back as it was (a count the reader
// refuses would start again at 0).
TEST(UsageStats, CountersAtTheTopSurviveTkvIni) {
    test::TempDir dir;
    const DateTime today = parse_datetime("20261210120000000");
    UsageStats s;
    stats_reset(s, today);
    s.runs_total = s.viewed_total = s.viewed_chars_total = stats_count_max;
    s.day_stats.back() = {date_only(today), stats_count_max, stats_count_max, stats_count_max - 1};
    stats_count_run(s);
    stats_count_view(s, 7);
    OPTIONS_TYPE options;
    ASSERT_TRUE(program_ini_save(dir.path("tkv.ini"), options, s));

    UsageStats read;
    stats_reset(read, today);
    bool first_run = true;
    std::string version;
    program_ini_load(dir.path("tkv.ini"), {options, first_run, version, read}, today);
    for (const std::int32_t count :
         {read.runs_total, read.viewed_total, read.viewed_chars_total, read.day_stats.back().runs,
          read.day_stats.back().viewed, read.day_stats.back().viewed_chars})
        EXPECT_EQ(count, stats_count_max);
}

} // namespace tkv
