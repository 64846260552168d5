#include "shell/usage_stats.h"

#include "shell/numbers.h"
#include "shell/text.h"

#include <algorithm>

namespace tkv {

void stats_reset(UsageStats& stats, DateTime now) {
    stats = UsageStats{};
    const DateTime today = date_only(now);
    for (std::size_t i = 0; i < stats_days; ++i)
        stats.day_stats[i].day = add_days(today, static_cast<std::int64_t>(i) - (stats_days - 1));
}

std::int32_t stats_parse_count(std::string_view value) {
    return parse_int_in_range(value, 0, 0, stats_count_max);
}

void stats_add_line(UsageStats& stats, std::string_view value, DateTime now) {
    // A value without a comma has an empty date part, which reads as today.
    const std::string date_part = before_char(value, ',');
    std::string rest = after_char(value, ',');
    const std::string runs = before_char(rest, ',');
    rest = after_char(rest, ',');
    const std::string viewed = before_char(rest, ',');
    const std::string chars = after_char(rest, ',');

    const DateTime day = parse_date(date_part, now);
    for (auto& record : stats.day_stats) {
        if (record.day != day) continue;
        record.runs = stats_parse_count(runs);
        record.viewed = stats_parse_count(viewed);
        record.viewed_chars = stats_parse_count(chars);
    }
}

bool stats_day_change(UsageStats& stats, DateTime now) {
    if (format_date(stats.day_stats.back().day) == format_date(now)) return false;
    std::move(stats.day_stats.begin() + 1, stats.day_stats.end(), stats.day_stats.begin());
    stats.day_stats.back() = {date_only(now), 0, 0, 0};
    return true;
}

namespace {

void add_saturating(std::int32_t& count, std::size_t n) {
    constexpr auto top = static_cast<std::size_t>(stats_count_max);
    const auto now = static_cast<std::size_t>(std::clamp(count, 0, stats_count_max));
    count = static_cast<std::int32_t>(n >= top - now ? top : now + n);
}

} // namespace

void stats_count_run(UsageStats& stats) {
    add_saturating(stats.runs_total, 1);
    add_saturating(stats.day_stats.back().runs, 1);
}

void stats_count_view(UsageStats& stats, std::size_t chars) {
    add_saturating(stats.viewed_total, 1);
    add_saturating(stats.viewed_chars_total, chars);
    add_saturating(stats.day_stats.back().viewed, 1);
    add_saturating(stats.day_stats.back().viewed_chars, chars);
}

} // namespace tkv
