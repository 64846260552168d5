#include "shell/datetime.h"

#include <algorithm>
#include <ctime>

#include "shell/numbers.h"

namespace tkv {

namespace {

struct CivilDate {
    std::int64_t year;
    int month, day;
    bool operator==(const CivilDate&) const = default;
};

// Days from 1 January 1970 in the proleptic Gregorian calendar (H. Hinnant's days_from_civil).
std::int64_t days_from_civil(CivilDate c) {
    std::int64_t m = c.month, y = c.year - (m <= 2 ? 1 : 0);
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t year_of_era = y - era * 400;
    std::int64_t day_of_year = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + c.day - 1;
    std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

CivilDate civil_from_days(std::int64_t z) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t day_of_era = z - era * 146097;
    std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    std::int64_t mp = (5 * day_of_year + 2) / 153;
    int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

constexpr std::int64_t zero_date_days = -25569; // 30 December 1899 counted from 1 January 1970

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

bool in_range(int v, int min, int max) {
    return v >= min && v <= max;
}

// One part of the fixed-width date-time text: where it stands, its range and the CivilTime member.
struct TextPart {
    std::size_t pos, width;
    int min, max;
    int CivilTime::*part;
};
constexpr TextPart text_parts[] = {
    {0, 4, 1, 9999, &CivilTime::year},        {4, 2, 1, 12, &CivilTime::month},
    {6, 2, 1, 31, &CivilTime::day},           {8, 2, 0, 23, &CivilTime::hour},
    {10, 2, 0, 59, &CivilTime::minute},       {12, 2, 0, 59, &CivilTime::second},
    {14, 3, 0, 999, &CivilTime::millisecond},
};

std::string format_parts(DateTime d, std::size_t count) {
    CivilTime c = civil_of(d);
    std::string r;
    for (std::size_t i = 0; i < count; ++i)
        r += format_int_padded(c.*text_parts[i].part, static_cast<int>(text_parts[i].width));
    return r;
}

// Reads the first `count` parts of s, padded with spaces in front to the full width; a part that is
// unreadable or out of its range keeps its value from `now`.
DateTime parse_parts(std::string_view s, DateTime now, std::size_t count) {
    const TextPart& last = text_parts[count - 1];
    std::string text(s.substr(0, last.pos + last.width));
    text.insert(0, last.pos + last.width - text.size(), ' ');
    CivilTime c = civil_of(now);
    for (std::size_t i = 0; i < count; ++i) {
        const TextPart& p = text_parts[i];
        c.*p.part =
            parse_int_in_range(std::string_view(text).substr(p.pos, p.width), c.*p.part, p.min, p.max);
    }
    return make_datetime(c).value_or(DateTime{});
}

} // namespace

std::optional<DateTime> make_datetime(const CivilTime& c) {
    CivilDate date{c.year, c.month, c.day};
    if (!in_range(c.year, 1, 9999) || !in_range(c.hour, 0, 23) || !in_range(c.minute, 0, 59) ||
        !in_range(c.second, 0, 59) || !in_range(c.millisecond, 0, 999))
        return std::nullopt;
    std::int64_t days = days_from_civil(date);
    // Month 13, 31 April or 29 February of a common year land on another date.
    if (civil_from_days(days) != date) return std::nullopt;
    return DateTime{(days - zero_date_days) * ms_per_day +
                    ((c.hour * 60 + c.minute) * 60 + c.second) * std::int64_t{1000} + c.millisecond};
}

CivilTime civil_of(DateTime d) {
    std::int64_t days = floor_div(d.ms, ms_per_day);
    int ms = static_cast<int>(d.ms - days * ms_per_day);
    CivilDate date = civil_from_days(days + zero_date_days);
    return {static_cast<int>(date.year),
            date.month,
            date.day,
            ms / 3'600'000,
            ms / 60'000 % 60,
            ms / 1000 % 60,
            ms % 1000};
}

DateTime local_datetime(std::chrono::system_clock::time_point t) {
    using namespace std::chrono;
    auto whole_seconds = floor<seconds>(t);
    std::time_t tt = system_clock::to_time_t(whole_seconds);
    std::tm tm{};
    ::localtime_r(&tt, &tm);
    int ms = static_cast<int>(duration_cast<milliseconds>(t - whole_seconds).count());
    // A leap second (tm_sec 60) is kept inside its minute.
    CivilTime c{tm.tm_year + 1900, tm.tm_mon + 1,           tm.tm_mday, tm.tm_hour,
                tm.tm_min,         std::min(tm.tm_sec, 59), ms};
    return make_datetime(c).value_or(DateTime{});
}

DateTime current_datetime() {
    return local_datetime(std::chrono::system_clock::now());
}

DateTime date_only(DateTime d) {
    return DateTime{floor_div(d.ms, ms_per_day) * ms_per_day};
}
DateTime add_days(DateTime d, std::int64_t days) {
    return DateTime{d.ms + days * ms_per_day};
}
std::int64_t whole_days_between(DateTime a, DateTime b) {
    return (b.ms - a.ms) / ms_per_day;
}

std::string format_date(DateTime d) {
    return format_parts(d, 3);
}
std::string format_datetime(DateTime d) {
    return format_parts(d, std::size(text_parts));
}

DateTime parse_date(std::string_view s, DateTime now) {
    return parse_parts(s, date_only(now), 3);
}
DateTime parse_date(std::string_view s) {
    return parse_date(s, current_datetime());
}
DateTime parse_datetime(std::string_view s, DateTime now) {
    return parse_parts(s, now, std::size(text_parts));
}
DateTime parse_datetime(std::string_view s) {
    return parse_datetime(s, current_datetime());
}

} // namespace tkv
