#include "shell/datetime.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tkv {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    std::optional<DateTime> t = make_datetime({y, mo, d, h, mi, s, ms});
    EXPECT_TRUE(t) << y << '-' << mo << '-' << d;
    return t.value_or(DateTime{});
}

TEST(DateTime, CountsFromTheZeroDate) {
    EXPECT_EQ(at(1899, 12, 30).ms, 0);
    EXPECT_EQ(at(1899, 12, 31).ms, ms_per_day);
    EXPECT_EQ(at(2004, 1, 1).ms, 37987 * ms_per_day); // day number the data files have always used
    EXPECT_EQ(at(1899, 12, 30, 12, 0, 0, 1).ms, ms_per_day / 2 + 1);
    EXPECT_EQ(at(1899, 12, 29, 18).ms, -ms_per_day / 4);
}

TEST(DateTime, RejectsPartsThatNameNoMoment) {
    const CivilTime impossible[] = {
        {2003, 2, 29},       {1900, 2, 29},          {2003, 4, 31},
        {2003, 13, 1},       {2003, 0, 1},           {2003, 1, 0},
        {0, 1, 1},           {10000, 1, 1},          {2003, 1, 1, 24},
        {2003, 1, 1, 0, 60}, {2003, 1, 1, 0, 0, 60}, {2003, 1, 1, 0, 0, 0, 1000},
        {2003, 1, 1, -1},
    };
    for (const CivilTime& c : impossible)
        EXPECT_FALSE(make_datetime(c)) << c.year << '-' << c.month << '-' << c.day << ' ' << c.hour;
    EXPECT_TRUE(make_datetime({2004, 2, 29}));
    EXPECT_TRUE(make_datetime({2000, 2, 29}));
}

TEST(DateTime, CivilOfRoundTrips) {
    auto parts = [](const CivilTime& c) {
        return std::tuple(c.year, c.month, c.day, c.hour, c.minute, c.second, c.millisecond);
    };
    for (const CivilTime& c :
         {CivilTime{1, 1, 1}, CivilTime{1899, 12, 29, 23, 59, 59, 999}, CivilTime{2003, 5, 15, 12, 30, 0, 0},
          CivilTime{9999, 12, 31, 23, 59, 59, 999}})
        EXPECT_EQ(parts(civil_of(make_datetime(c).value())), parts(c)) << c.year;
}

TEST(DateTime, DayArithmetic) {
    DateTime t = at(2003, 5, 15, 12, 30);
    EXPECT_EQ(date_only(t), at(2003, 5, 15));
    EXPECT_EQ(date_only(at(1899, 12, 29, 18)), at(1899, 12, 29));
    EXPECT_EQ(add_days(t, 17), at(2003, 6, 1, 12, 30));
    EXPECT_EQ(add_days(t, -1), at(2003, 5, 14, 12, 30));
    EXPECT_EQ(whole_days_between(t, at(2003, 5, 17, 0, 30)), 1);
    EXPECT_EQ(whole_days_between(at(2003, 5, 17, 0, 30), t), -1);
}

TEST(DateTime, FormatsZeroPaddedTexts) {
    EXPECT_EQ(format_datetime(at(2004, 1, 1)), "20040101000000000");
    EXPECT_EQ(format_datetime(at(2003, 5, 15, 9, 8, 7, 6)), "20030515090807006");
    EXPECT_EQ(format_date(at(987, 6, 5, 23)), "09870605");
}

TEST(DateTime, ParsesDateTimeTexts) {
    const DateTime now = at(2010, 7, 20, 15, 45, 10, 250);
    EXPECT_EQ(parse_datetime("20030515123000000", now), at(2003, 5, 15, 12, 30));
    EXPECT_EQ(parse_datetime(format_datetime(now), DateTime{}), now);
    EXPECT_EQ(parse_datetime("20030231000000000", now), DateTime{}); // 31 February
    EXPECT_EQ(parse_datetime("", now), now);
    // Unreadable or out-of-range parts come from now.
    EXPECT_EQ(parse_datetime("2003xx1525 000999", now), at(2003, 7, 15, 15, 45, 0, 999));
    EXPECT_EQ(parse_datetime("20030515123000000trailing", now), at(2003, 5, 15, 12, 30));
}

TEST(DateTime, ParsesDateTexts) {
    const DateTime now = at(2010, 7, 20, 15, 45);
    EXPECT_EQ(parse_date("20030515", now), at(2003, 5, 15));
    EXPECT_EQ(parse_date("2003", now), at(2010, 7, 3)); // "    2003": the month 20 is out of range
    EXPECT_EQ(parse_date("", now), at(2010, 7, 20));
    EXPECT_EQ(parse_date("20030229", now), DateTime{});
    EXPECT_EQ(parse_date("2003051599", now), at(2003, 5, 15));
}

} // namespace
} // namespace tkv
