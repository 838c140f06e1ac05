#include "core/base/datetext.h"

#include <array>
#include <cstdio>
#include <limits>

namespace vsolo {

namespace {

constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int twoDigitValue(const char* p) {
    return (p[0] - '0') * 10 + (p[1] - '0');
}

std::string twoDigitText(int value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

// The decimal number made of the leading digits of a text; an empty or digit-less text is 0.
// Saturates instead of overflowing so that absurd input simply fails the range checks.
int leadingNumber(std::string_view text) {
    std::int64_t value = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max()) {
            return std::numeric_limits<int>::max();
        }
    }
    return static_cast<int>(value);
}

bool allDigits(std::string_view text) {
    for (char c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<TimeValue> dateOf(int year, int month, int day) {
    TimeValue date;
    if (!date.setDate(TimeValue::expandYear(year), month, day)) {
        return std::nullopt;
    }
    return date;
}

std::optional<TimeValue> timeOf(int hours, int minutes) {
    TimeValue time;
    if (!time.setTime(hours, minutes, 0)) {
        return std::nullopt;
    }
    return time;
}

} // namespace

std::optional<TimeValue> readFixedDate(std::string_view text) {
    if (!isFixedDateText(text)) {
        return std::nullopt;
    }
    const char* p = text.data();
    return dateOf(twoDigitValue(p + 6) * 100 + twoDigitValue(p + 8), twoDigitValue(p),
                  twoDigitValue(p + 3));
}

std::optional<TimeValue> readFixedTime(std::string_view text) {
    if (!isFixedTimeText(text)) {
        return std::nullopt;
    }
    return timeOf(twoDigitValue(text.data()), twoDigitValue(text.data() + 3));
}

std::string fixedDateText(TimeValue date) {
    const CalendarTime c = date.toCalendar();
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%d", c.month, c.day, c.year);
    return buffer;
}

std::string fixedTimeText(TimeValue timeOfDay) {
    const std::int32_t minutes = timeOfDay.seconds() / TimeValue::kMinute;
    return twoDigitText(minutes / 60) + ":" + twoDigitText(minutes % 60);
}

std::optional<TimeValue> readDate(std::string_view text) {
    const auto first = text.find('/');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const auto second = text.find('/', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view yearPiece = text.substr(second + 1);
    const int month = leadingNumber(text.substr(0, first));
    const int day = leadingNumber(text.substr(first + 1, second - first - 1));
    const int year = allDigits(yearPiece) ? leadingNumber(yearPiece) : 32000;
    return dateOf(year, month, day);
}

std::optional<TimeValue> readTime(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (!isDigit(text[i]) && text[i] != ':') {
            return std::nullopt;
        }
    }
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    return timeOf(leadingNumber(text.substr(0, colon)), leadingNumber(text.substr(colon + 1)));
}

bool TimeValue::parseDate(std::string_view text) {
    const std::optional<TimeValue> date = readDate(text);
    if (date) {
        *this = *date;
    }
    return date.has_value();
}

bool TimeValue::parseTime(std::string_view text) {
    const std::optional<TimeValue> time = readTime(text);
    if (time) {
        *this = *time;
    }
    return time.has_value();
}

std::string TimeValue::shortDate() const {
    return fixedDateText(*this);
}

std::string TimeValue::longDate() const {
    const CalendarTime c = toCalendar();
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s, %s %d, %d",
                  kWeekdays[static_cast<std::size_t>(c.weekday)],
                  kMonths[static_cast<std::size_t>(c.month - 1)], c.day, c.year);
    return buffer;
}

std::string TimeValue::clockTime() const {
    const CalendarTime c = toCalendar();
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", c.hour, c.minute);
    return buffer;
}

std::string TimeValue::clockTimeNoPad() const {
    const CalendarTime c = toCalendar();
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d:%02d", c.hour, c.minute);
    return buffer;
}

} // namespace vsolo
