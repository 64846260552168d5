#pragma once
// Usage counters: starts and viewed game information, in total and for the last 30 days.

#include <array>
#include <cstdint>
#include <string_view>

#include "shell/datetime.h"

namespace tkv {

struct DAY_STATS_TYPE {
    DateTime day; // a whole date
    std::int32_t runs = 0;
    std::int32_t viewed = 0;
    std::int32_t viewed_chars = 0;
};

constexpr std::size_t stats_days = 30;

struct UsageStats {
    std::int32_t runs_total = 0;
    std::int32_t viewed_total = 0;
    std::int32_t viewed_chars_total = 0;
    std::array<DAY_STATS_TYPE, stats_days> day_stats; // oldest first; the last is today
};

// Totals 0; the days today - 29 .. today with zero counts.
void stats_reset(UsageStats& stats, DateTime now);
// One "days" value of tkv.ini: "YYYYMMDD,runs,viewed,chars" sets the counts of that day when it
// is one of the 30; other days change nothing.
void stats_add_line(UsageStats& stats, std::string_view value, DateTime now);
// The day change, checked every 30 seconds: when today is not the last record's day, the records
// move up by one and today starts at zero (one record per check, even after several days).
bool stats_day_change(UsageStats& stats, DateTime now);
// The largest count the read rule accepts: the counters stop here, so that tkv.ini never holds a
// count that reads back as 0.
constexpr std::int32_t stats_count_max = 2147483646;
// A start of the program, in total and today.
void stats_count_run(UsageStats& stats);
// A game's information opened for viewing or modifying, with the length of its plain text.
void stats_count_view(UsageStats& stats, std::size_t chars);
// The totals' read rule: whole numbers 0..stats_count_max, anything else 0.
std::int32_t stats_parse_count(std::string_view value);

} // namespace tkv
