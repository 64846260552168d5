#pragma once
// Local date-times counted in milliseconds from the zero date (30 December 1899, 00:00),
// with the 8-digit date text YYYYMMDD and the 17-digit date-time text YYYYMMDDhhmmsszzz.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tkv {

struct DateTime {
    std::int64_t ms = 0; // 0 is the zero date
    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

constexpr std::int64_t ms_per_day = 86'400'000;

// Empty when the parts do not name a real moment (30 February, hour 24, year 0).
std::optional<DateTime> make_datetime(const CivilTime& c);
CivilTime civil_of(DateTime d);

DateTime current_datetime();                                      // local time, to the millisecond
DateTime local_datetime(std::chrono::system_clock::time_point t); // a system time seen locally
DateTime date_only(DateTime d);
DateTime add_days(DateTime d, std::int64_t days);
// Whole days from a to b, truncated toward zero.
std::int64_t whole_days_between(DateTime a, DateTime b);

std::string format_date(DateTime d);
std::string format_datetime(DateTime d);
// Unreadable parts default to the parts of `now`; an impossible date gives the zero date.
DateTime parse_date(std::string_view s, DateTime now);
DateTime parse_date(std::string_view s);
DateTime parse_datetime(std::string_view s, DateTime now);
DateTime parse_datetime(std::string_view s);

} // namespace tkv
