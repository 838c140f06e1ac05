#pragma once

#include "core/base/timevalue.h"

#include <stdexcept>
#include <string>

// Dates and times of day for tests. A value that is no date or no time of day is a mistake in the
// test itself: it throws, naming the values, so that the test fails where it was written instead
// of running on with a zero. Both test frameworks in use report a thrown exception as a failure;
// thrown while a constant at namespace scope is made, it ends the program with the message.
namespace vsolo::testing {

// A calendar day, from 1970-01-02 to 2038-01-19.
inline TimeValue date(int year, int month, int day) {
    TimeValue value;
    if (!value.setDate(year, month, day)) {
        throw std::logic_error("date(" + std::to_string(year) + ", " + std::to_string(month) +
                               ", " + std::to_string(day) + ") is not a date a TimeValue holds");
    }
    return value;
}

// A time of day on the 24-hour clock, 00:00:00 to 23:59:59.
inline TimeValue hm(int hours, int minutes, int seconds = 0) {
    TimeValue value;
    if (!value.setTime(hours, minutes, seconds)) {
        throw std::logic_error("hm(" + std::to_string(hours) + ", " + std::to_string(minutes) +
                               ", " + std::to_string(seconds) + ") is not a time of day");
    }
    return value;
}

// A moment: the day and the time of day on it.
inline TimeValue dateTime(int year, int month, int day, int hours, int minutes, int seconds = 0) {
    return date(year, month, day) + hm(hours, minutes, seconds);
}

} // namespace vsolo::testing
