#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace vsolo {

// A calendar breakdown of a TimeValue, read as UTC (no zone or daylight shift is ever applied).
struct CalendarTime {
    int year = 1970;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int weekday = 4; // 0 = Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// One signed 32-bit count of seconds. It is a date (seconds from 1970-01-01 00:00 to local
// midnight, local wall-clock time counted as though it were UTC), a time of day (seconds since
// midnight) or a duration; the field that holds it decides which.
class TimeValue {
public:
    static constexpr std::int32_t kDay = 86400;
    static constexpr std::int32_t kHour = 3600;
    static constexpr std::int32_t kMinute = 60;
    static constexpr std::int32_t kLatestTime = 23 * kHour + 59 * kMinute; // 23:59

    constexpr TimeValue() = default;
    constexpr explicit TimeValue(std::int32_t seconds) : m_seconds(seconds) {}

    constexpr std::int32_t seconds() const { return m_seconds; }

    static constexpr TimeValue fromParts(std::int32_t days, std::int32_t hours,
                                         std::int32_t minutes, std::int32_t seconds) {
        return TimeValue(static_cast<std::int32_t>(std::int64_t{days} * kDay +
                                                   std::int64_t{hours} * kHour +
                                                   std::int64_t{minutes} * kMinute + seconds));
    }
    // A breakdown whose year is below 1900 gives 0; any other is counted from 1970-01-01 and
    // truncated to 32 bits, as the stored files expect.
    static TimeValue fromCalendar(const CalendarTime& c);
    CalendarTime toCalendar() const;

    // Each setter returns false and leaves the value unchanged when the input is out of range.
    bool setTime(int hours, int minutes, int seconds);
    // Valid dates run from 1970-01-02 to 2038-01-19: the count must be positive and fit 32 bits.
    bool setDate(int year, int month, int day);
    // "m/d/y" with the year mapped by expandYear.
    bool parseDate(std::string_view text);
    // The one year rule of every date text: 95..99 mean 1995..1999, 0..94 mean 2000..2094, any
    // other year is taken as written.
    static constexpr int expandYear(int year) {
        if (year >= 95 && year <= 99) {
            return year + 1900;
        }
        return year >= 0 && year <= 94 ? year + 2000 : year;
    }
    // "h:m", 24-hour clock, 0:00 to 23:59.
    bool parseTime(std::string_view text);

    // The date part and the time-of-day part of a point in time. The time of day is always
    // 0..86399 and the two add up to the value again; only the earliest partial day of the range,
    // whose midnight lies below the 32-bit range, has a date part that wraps like the stored
    // values do.
    constexpr TimeValue datePart() const {
        return TimeValue(static_cast<std::int32_t>(dayStart(m_seconds)));
    }
    constexpr TimeValue timeOfDay() const {
        return TimeValue(static_cast<std::int32_t>(std::int64_t{m_seconds} - dayStart(m_seconds)));
    }

    std::string shortDate() const;      // 03/07/1999
    std::string longDate() const;       // Sunday, March 7, 1999
    std::string clockTime() const;      // 08:05
    std::string clockTimeNoPad() const; // 8:05
    // The duration language: %H %M %S %d %h %m %s %%, with '#' dropping the zero padding of
    // %h %m %s; a '%' followed by any other character prints nothing and consumes it.
    std::string formatDuration(std::string_view pattern) const;

    // 32-bit arithmetic that wraps like the stored values do, never undefined.
    constexpr TimeValue operator+(TimeValue other) const {
        return TimeValue(static_cast<std::int32_t>(std::int64_t{m_seconds} + other.m_seconds));
    }
    constexpr TimeValue operator-(TimeValue other) const {
        return TimeValue(static_cast<std::int32_t>(std::int64_t{m_seconds} - other.m_seconds));
    }
    constexpr TimeValue& operator+=(TimeValue other) { return *this = *this + other; }
    constexpr TimeValue& operator-=(TimeValue other) { return *this = *this - other; }
    constexpr auto operator<=>(const TimeValue&) const = default;

private:
    static constexpr std::int64_t floorDiv(std::int32_t s) {
        return s >= 0 ? s / kDay : -((-(std::int64_t{s} + 1)) / kDay) - 1;
    }
    static constexpr std::int64_t dayStart(std::int32_t s) { return floorDiv(s) * kDay; }

    std::int32_t m_seconds = 0;
};

// The duration language for counts that may exceed 32 bits (totals over many transactions).
std::string formatDuration(std::int64_t seconds, std::string_view pattern);

// The three duration forms used across the program.
inline constexpr std::string_view kDurationDayHours = "%#h:%m"; // 7:05
inline constexpr std::string_view kDurationPadded = "%h:%m";    // 07:05
inline constexpr std::string_view kDurationTotal = "%H:%m";     // 31:05

} // namespace vsolo
