#include "core/base/timevalue.h"

#include <array>
#include <cstdio>
#include <limits>

namespace vsolo {

namespace {

bool isLeapYear(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// Days from 1970-01-01 to the given proleptic Gregorian date. Counts whole 400-year eras from
// 0000-03-01 so that the leap day falls at the end of each computed year.
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t monthFromMarch = m > 2 ? m - 3 : m + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + d - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, CalendarTime& out) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    out.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    out.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    out.year = static_cast<int>(yearOfEra + era * 400 + (out.month <= 2 ? 1 : 0));
}

std::string twoDigits(std::int64_t value, bool padded) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, padded ? "%02lld" : "%lld", static_cast<long long>(value));
    return buffer;
}

} // namespace

TimeValue TimeValue::fromCalendar(const CalendarTime& c) {
    if (c.year < 1900) {
        return TimeValue(0);
    }
    // Months outside 1..12 carry into the year, as the platform's conversion would refuse them;
    // callers pass valid breakdowns, this only keeps the arithmetic defined.
    std::int64_t year = c.year + (c.month - 1) / 12;
    std::int64_t month = (c.month - 1) % 12 + 1;
    if (month < 1) {
        month += 12;
        --year;
    }
    const std::int64_t total = daysFromCivil(year, month, c.day) * kDay +
                               std::int64_t{c.hour} * kHour + std::int64_t{c.minute} * kMinute +
                               c.second;
    return TimeValue(static_cast<std::int32_t>(total));
}

CalendarTime TimeValue::toCalendar() const {
    CalendarTime c;
    const std::int64_t days = floorDiv(m_seconds);
    const std::int64_t rest = std::int64_t{m_seconds} - days * kDay;
    civilFromDays(days, c);
    c.weekday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    c.hour = static_cast<int>(rest / kHour);
    c.minute = static_cast<int>(rest % kHour / kMinute);
    c.second = static_cast<int>(rest % kMinute);
    return c;
}

bool TimeValue::setTime(int hours, int minutes, int seconds) {
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        return false;
    }
    m_seconds = hours * kHour + minutes * kMinute + seconds;
    return true;
}

bool TimeValue::setDate(int year, int month, int day) {
    if (year < 1970 || year > 2038 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return false;
    }
    const std::int64_t count = daysFromCivil(year, month, day) * kDay;
    if (count <= 0 || count > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    m_seconds = static_cast<std::int32_t>(count);
    return true;
}

std::string TimeValue::formatDuration(std::string_view pattern) const {
    return vsolo::formatDuration(m_seconds, pattern);
}

std::string formatDuration(std::int64_t count, std::string_view pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        if (++i >= pattern.size()) {
            break;
        }
        bool padded = true;
        if (pattern[i] == '#') {
            padded = false;
            if (++i >= pattern.size()) {
                break;
            }
        }
        switch (pattern[i]) {
        case 'H':
            out += std::to_string(count / TimeValue::kHour);
            break;
        case 'M':
            out += std::to_string(count / TimeValue::kMinute);
            break;
        case 'S':
            out += std::to_string(count);
            break;
        case 'd':
            out += std::to_string(count / TimeValue::kDay);
            break;
        case 'h':
            out += twoDigits(count % TimeValue::kDay / TimeValue::kHour, padded);
            break;
        case 'm':
            out += twoDigits(count % TimeValue::kHour / TimeValue::kMinute, padded);
            break;
        case 's':
            out += twoDigits(count % TimeValue::kMinute, padded);
            break;
        case '%':
            out += '%';
            break;
        default:
            break; // an unknown directive prints nothing
        }
    }
    return out;
}

} // namespace vsolo
