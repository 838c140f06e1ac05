#include "core/entrytext.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace vsolo {

namespace {

// Puts a '0' in front. Not by insert(0, "0"), which GCC 12 takes, inlined into an optimised
// build, for an overlapping copy (-Wrestrict).
void withLeadingZero(std::string& text) {
    text = std::string(1, '0') + text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

bool hasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), isDigit);
}

// The value of a digit string, capped well above any day number so that a long run of digits
// cannot overflow; the cap is refused by every range test that follows.
int cappedNumber(std::string_view digits) {
    constexpr int kCap = 1'000'000;
    int value = 0;
    for (char c : digits) {
        value = std::min(kCap, value * 10 + (c - '0'));
    }
    return value;
}

// ---- dates ----

struct DateParts {
    std::string month;
    std::string day;
    std::string year;
};

std::string zeroPadded(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// Splits "m/d/y", "m/d" or "d"; parts that were not typed are taken from `today`.
std::optional<DateParts> splitDate(std::string_view text, const CalendarTime& today) {
    if (std::count(text.begin(), text.end(), '/') > 2) {
        return std::nullopt;
    }
    DateParts parts;
    const auto first = text.find('/');
    if (first == std::string_view::npos) {
        parts.month = zeroPadded(today.month);
        parts.day = std::string(text);
    } else {
        parts.month = std::string(text.substr(0, first));
        const auto second = text.find('/', first + 1);
        if (second == std::string_view::npos) {
            parts.day = std::string(text.substr(first + 1));
        } else {
            parts.day = std::string(text.substr(first + 1, second - first - 1));
            parts.year = std::string(text.substr(second + 1));
        }
    }
    return parts;
}

// Brings the parts to the "mm/dd/yyyy" shape. An empty year (as in "3/7/") counts as not typed:
// the date parser would read it as the year 2000, which nobody types on purpose.
bool normaliseDate(DateParts& parts, const CalendarTime& today) {
    if (parts.month.size() == 1) {
        withLeadingZero(parts.month);
    }
    if (parts.day.size() < 2) {
        withLeadingZero(parts.day);
    }
    if (parts.year.empty()) {
        parts.year = std::to_string(today.year);
    } else if (parts.year.size() == 2) {
        parts.year.insert(0, std::to_string(today.year / 100));
    } else if (parts.year.size() >= 3 && parts.year[0] == '0') {
        // The date parser maps small year numbers to 1995..2094; a year written with three or
        // more characters is meant as written, so "0099" must not become 1999.
        return false;
    }
    return true;
}

// The month length by the text of the month. Years are divisible by 4 exactly when they are leap
// years within the range the date parser accepts.
int daysInMonth(const std::string& month, const std::string& year) {
    if (month == "04" || month == "06" || month == "09" || month == "11") {
        return 30;
    }
    if (month == "02") {
        const std::size_t from = year.size() > 2 ? year.size() - 2 : 0;
        const int lastTwo = cappedNumber(std::string_view(year).substr(from));
        return lastTwo % 4 == 0 ? 29 : 28;
    }
    return 31;
}

// ---- times ----

// "h.f" decimal hours as "hh:mm": the fraction is turned into minutes truncated toward zero and the
// hours are taken modulo 24. Both parts are read digit by digit, so any length is exact.
std::optional<std::string> decimalHours(std::string_view text) {
    const auto dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = text.substr(dot + 1);
    if (!allDigits(whole) || !allDigits(fraction) || !hasDigit(text)) {
        return std::nullopt;
    }
    int hours = 0;
    for (char c : whole) {
        hours = (hours * 10 + (c - '0')) % 24;
    }
    // floor(0.fraction * 60): multiply the decimal digits by 60 from the last one; what carries
    // out past the first digit is the whole number of minutes.
    int minutes = 0;
    for (auto it = fraction.rbegin(); it != fraction.rend(); ++it) {
        minutes = ((*it - '0') * 60 + minutes) / 10;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", hours, minutes);
    return std::string(buffer);
}

// Expands "h", "hh", "hmm", "hhmm" and "h:mm" to a text the time parser reads as meant.
std::string normaliseClock(std::string_view text) {
    std::string out(text);
    switch (out.size()) {
    case 1:
        return "0" + out + ":00";
    case 2:
        return out + ":00";
    case 3:
        withLeadingZero(out);
        break;
    case 4:
        break;
    default:
        return out;
    }
    // Four characters.
    if (out.find(':') == std::string::npos) {
        return out.substr(0, 2) + ":" + out.substr(2);
    }
    if (out[1] == ':') {
        return "0" + out;
    }
    return out;
}

} // namespace

std::optional<TimeValue> parseDateEntry(std::string_view text, TimeValue today) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '/'; })) {
        return std::nullopt;
    }
    const CalendarTime now = today.toCalendar();
    std::optional<DateParts> parts = splitDate(text, now);
    if (!parts || !normaliseDate(*parts, now)) {
        return std::nullopt;
    }
    if (cappedNumber(parts->day) > daysInMonth(parts->month, parts->year)) {
        return std::nullopt;
    }
    TimeValue value;
    if (!value.parseDate(parts->month + "/" + parts->day + "/" + parts->year)) {
        return std::nullopt;
    }
    return value;
}

std::optional<TimeValue> parseTimeEntry(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::string normal;
    if (text.find('.') != std::string_view::npos) {
        std::optional<std::string> decimal = decimalHours(text);
        if (!decimal) {
            return std::nullopt;
        }
        normal = *decimal;
    } else {
        // The time parser lets its last character be anything and reads only leading digits, so
        // "12:3x" or "1:2:3" would pass it; the entry field takes digits and one colon only.
        const bool clockAlphabet =
            std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == ':'; });
        if (!clockAlphabet || std::count(text.begin(), text.end(), ':') > 1 || !hasDigit(text)) {
            return std::nullopt;
        }
        normal = normaliseClock(text);
    }
    TimeValue value;
    if (!value.parseTime(normal)) {
        return std::nullopt;
    }
    return value;
}

} // namespace vsolo
