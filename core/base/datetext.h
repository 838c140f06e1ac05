#pragma once

#include "core/base/timevalue.h"

#include <optional>
#include <string>
#include <string_view>

namespace vsolo {

// Dates and times of day as text: the fixed forms that the files hold and the loose forms a user
// types. Every reader maps a year through TimeValue::expandYear and gives nothing for a text or a
// value out of range.

namespace detail {
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace detail

// "MM/DD/YYYY": two-digit month and day, four-digit year. (In the header: the readers of the
// files check two fields of every record.)
inline bool isFixedDateText(std::string_view text) {
    using detail::isDigit;
    return text.size() == 10 && text[2] == '/' && text[5] == '/' && isDigit(text[0]) &&
           isDigit(text[1]) && isDigit(text[3]) && isDigit(text[4]) && isDigit(text[6]) &&
           isDigit(text[7]) && isDigit(text[8]) && isDigit(text[9]);
}
std::optional<TimeValue> readFixedDate(std::string_view text);
// "HH:MM", 00:00 to 23:59.
inline bool isFixedTimeText(std::string_view text) {
    using detail::isDigit;
    return text.size() == 5 && text[2] == ':' && isDigit(text[0]) && isDigit(text[1]) &&
           isDigit(text[3]) && isDigit(text[4]);
}
std::optional<TimeValue> readFixedTime(std::string_view text);
// The fixed forms of a date and of a time of day (whole minutes; seconds are dropped).
std::string fixedDateText(TimeValue date);
std::string fixedTimeText(TimeValue timeOfDay);

// "m/d/y": any number of leading digits in the month and day, a year of digits only.
std::optional<TimeValue> readDate(std::string_view text);
// "h:m", 24-hour clock; every character but the last is a digit or the colon.
std::optional<TimeValue> readTime(std::string_view text);

} // namespace vsolo
