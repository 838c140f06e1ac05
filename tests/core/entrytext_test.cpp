#include "core/base/timevalue.h"
#include "core/entrytext.h"
#include "tests/support/dates.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

// Tuesday, March 10, 2026: the "today" of most date cases.
const TimeValue kToday = date(2026, 3, 10);

std::optional<TimeValue> dateEntry(std::string_view text, TimeValue today = kToday) {
    return parseDateEntry(text, today);
}

// ---- dates ----

TEST(DateEntry, ADayAloneIsInTheCurrentMonthAndYear) {
    EXPECT_EQ(dateEntry("5"), date(2026, 3, 5));
    EXPECT_EQ(dateEntry("15"), date(2026, 3, 15));
    EXPECT_EQ(dateEntry("05"), date(2026, 3, 5));
    EXPECT_EQ(dateEntry("31"), date(2026, 3, 31));
    EXPECT_EQ(dateEntry("0"), std::nullopt);
    EXPECT_EQ(dateEntry("00"), std::nullopt);
    EXPECT_EQ(dateEntry("32"), std::nullopt);
    EXPECT_EQ(dateEntry("123"), std::nullopt);
    // The month length comes from today's month: April has 30 days, February 2024 has 29.
    EXPECT_EQ(dateEntry("31", date(2026, 4, 1)), std::nullopt);
    EXPECT_EQ(dateEntry("30", date(2026, 4, 1)), date(2026, 4, 30));
    EXPECT_EQ(dateEntry("29", date(2024, 2, 1)), date(2024, 2, 29));
    EXPECT_EQ(dateEntry("29", date(2026, 2, 1)), std::nullopt);
}

TEST(DateEntry, MonthAndDayTakeTheCurrentYear) {
    EXPECT_EQ(dateEntry("10/19"), date(2026, 10, 19));
    EXPECT_EQ(dateEntry("1/1"), date(2026, 1, 1));
    EXPECT_EQ(dateEntry("12/31"), date(2026, 12, 31));
    EXPECT_EQ(dateEntry("2/29", date(2024, 7, 1)), date(2024, 2, 29));
    EXPECT_EQ(dateEntry("2/29"), std::nullopt);
    EXPECT_EQ(dateEntry("2/30", date(2024, 7, 1)), std::nullopt);
    EXPECT_EQ(dateEntry("13/1"), std::nullopt);
    EXPECT_EQ(dateEntry("0/1"), std::nullopt);
    // Nothing before or after the slash is refused rather than guessed.
    EXPECT_EQ(dateEntry("/5"), std::nullopt);
    EXPECT_EQ(dateEntry("5/"), std::nullopt);
    EXPECT_EQ(dateEntry("/"), std::nullopt);
}

TEST(DateEntry, MonthLengthsFollowTheMonth) {
    for (const char* month : {"4", "04", "6", "06", "9", "09", "11"}) {
        EXPECT_NE(dateEntry(std::string(month) + "/30/2026"), std::nullopt) << month;
        EXPECT_EQ(dateEntry(std::string(month) + "/31/2026"), std::nullopt) << month;
    }
    for (const char* month : {"1", "3", "5", "7", "8", "10", "12"}) {
        EXPECT_NE(dateEntry(std::string(month) + "/31/2026"), std::nullopt) << month;
        EXPECT_EQ(dateEntry(std::string(month) + "/32/2026"), std::nullopt) << month;
    }
    // A month written with extra zeros escapes the text rule but not the date parser.
    EXPECT_EQ(dateEntry("004/31/2026"), std::nullopt);
    EXPECT_EQ(dateEntry("004/30/2026"), date(2026, 4, 30));
}

TEST(DateEntry, FebruaryHas29DaysInYearsDivisibleByFour) {
    EXPECT_EQ(dateEntry("2/29/2024"), date(2024, 2, 29));
    EXPECT_EQ(dateEntry("2/29/2000"), date(2000, 2, 29));
    EXPECT_EQ(dateEntry("2/29/00"), date(2000, 2, 29));
    EXPECT_EQ(dateEntry("2/29/0"), date(2000, 2, 29));
    EXPECT_EQ(dateEntry("2/28/2023"), date(2023, 2, 28));
    EXPECT_EQ(dateEntry("2/29/2023"), std::nullopt);
    EXPECT_EQ(dateEntry("2/29/1999"), std::nullopt);
    EXPECT_EQ(dateEntry("2/30/2024"), std::nullopt);
}

TEST(DateEntry, FullDatesAndTheRange) {
    EXPECT_EQ(dateEntry("10/19/1999"), date(1999, 10, 19));
    EXPECT_EQ(dateEntry("03/07/1999"), date(1999, 3, 7));
    EXPECT_EQ(dateEntry("1/19/2038"), date(2038, 1, 19));
    EXPECT_EQ(dateEntry("1/20/2038"), std::nullopt);
    EXPECT_EQ(dateEntry("1/2/1970"), TimeValue(TimeValue::kDay));
    EXPECT_EQ(dateEntry("1/1/1970"), std::nullopt);
    EXPECT_EQ(dateEntry("12/31/1969"), std::nullopt);
    EXPECT_EQ(dateEntry("1/1/2039"), std::nullopt);
}

TEST(DateEntry, TwoDigitYearsTakeTheCurrentCentury) {
    EXPECT_EQ(dateEntry("1/19/38"), date(2038, 1, 19));
    EXPECT_EQ(dateEntry("1/20/38"), std::nullopt);
    EXPECT_EQ(dateEntry("3/7/26"), date(2026, 3, 7));
    EXPECT_EQ(dateEntry("3/7/07"), date(2007, 3, 7));
    // In 2026 "99" is 2099, out of range; the date parser alone would have made it 1999.
    EXPECT_EQ(dateEntry("3/7/99"), std::nullopt);
    EXPECT_EQ(dateEntry("3/7/70"), std::nullopt);
    // In 1999 the same texts land in the 1900s, and "00" is 1900, out of range.
    const TimeValue in1999 = date(1999, 6, 1);
    EXPECT_EQ(dateEntry("3/7/99", in1999), date(1999, 3, 7));
    EXPECT_EQ(dateEntry("1/2/70", in1999), TimeValue(TimeValue::kDay));
    EXPECT_EQ(dateEntry("3/7/00", in1999), std::nullopt);
}

TEST(DateEntry, OtherYearLengths) {
    // One digit goes to the date parser, which reads it as 2000 + n.
    EXPECT_EQ(dateEntry("3/7/7"), date(2007, 3, 7));
    // An empty year counts as not typed.
    EXPECT_EQ(dateEntry("3/7/"), date(2026, 3, 7));
    EXPECT_EQ(dateEntry("3/7/", date(2011, 1, 1)), date(2011, 3, 7));
    // Three or more characters are the year as written; leading zeros would otherwise let the
    // parser's small-year mapping turn "0099" into 1999.
    EXPECT_EQ(dateEntry("3/7/201"), std::nullopt);
    EXPECT_EQ(dateEntry("3/7/020"), std::nullopt);
    EXPECT_EQ(dateEntry("3/7/0099"), std::nullopt);
    EXPECT_EQ(dateEntry("3/7/02026"), std::nullopt);
    EXPECT_EQ(dateEntry("3/7/20260"), std::nullopt);
}

TEST(DateEntry, RefusesAnythingButDigitsAndTwoSlashes) {
    for (const char* text :
         {"",        " 5",           "5 ",        "+5",        "-5",       "5x",
          "x",       "1x/5/2026",    "1/5x/2026", "1/5/2026 ", "1/5/20x6", "1 /5",
          "1/ 5",    "1.5",          "1-5-2026",  "1/2/3/4",   "//",       "3//2026",
          "/7/2026", "\xef\xbc\x95", "\xd9\xa5",  "\xff",      "5\xc3\xa9"}) {
        EXPECT_EQ(dateEntry(text), std::nullopt) << text;
    }
    EXPECT_EQ(dateEntry(std::string_view("5\0", 2)), std::nullopt);
    // Leading zeros in month and day keep their meaning.
    EXPECT_EQ(dateEntry("003/007/2026"), date(2026, 3, 7));
    EXPECT_EQ(dateEntry("0000000005"), date(2026, 3, 5));
}

TEST(DateEntry, LongDigitRunsAreRefusedWithoutOverflow) {
    const std::string digits(40, '9');
    EXPECT_EQ(dateEntry(digits), std::nullopt);
    EXPECT_EQ(dateEntry(digits + "/1/2026"), std::nullopt);
    EXPECT_EQ(dateEntry("1/" + digits + "/2026"), std::nullopt);
    EXPECT_EQ(dateEntry("1/1/" + digits), std::nullopt);
    EXPECT_EQ(dateEntry("2/28/" + digits + "2024"), std::nullopt);
}

TEST(DateEntry, EveryDateOfTheRangeRoundTripsThroughItsEditingText) {
    const std::int32_t lastDay = date(2038, 1, 19).seconds() / TimeValue::kDay;
    for (std::int32_t n = 1; n <= lastDay; ++n) {
        const TimeValue day(n * TimeValue::kDay);
        const CalendarTime c = day.toCalendar();
        ASSERT_EQ(dateEntry(day.shortDate()), day) << day.shortDate();
        ASSERT_EQ(dateEntry(std::to_string(c.month) + "/" + std::to_string(c.day) + "/" +
                            std::to_string(c.year)),
                  day);
    }
}

// ---- times ----

TEST(TimeEntry, OneAndTwoCharactersAreWholeHours) {
    EXPECT_EQ(parseTimeEntry("0"), hm(0, 0));
    EXPECT_EQ(parseTimeEntry("7"), hm(7, 0));
    EXPECT_EQ(parseTimeEntry("9"), hm(9, 0));
    EXPECT_EQ(parseTimeEntry("07"), hm(7, 0));
    EXPECT_EQ(parseTimeEntry("10"), hm(10, 0));
    EXPECT_EQ(parseTimeEntry("23"), hm(23, 0));
    EXPECT_EQ(parseTimeEntry("24"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("99"), std::nullopt);
    // A colon in two characters: what stands before it is the hour, after it the minutes.
    EXPECT_EQ(parseTimeEntry("1:"), hm(1, 0));
    EXPECT_EQ(parseTimeEntry(":5"), hm(0, 5));
    EXPECT_EQ(parseTimeEntry(":"), std::nullopt);
}

TEST(TimeEntry, ThreeCharactersGetALeadingZero) {
    EXPECT_EQ(parseTimeEntry("730"), hm(7, 30));
    EXPECT_EQ(parseTimeEntry("000"), hm(0, 0));
    EXPECT_EQ(parseTimeEntry("959"), hm(9, 59));
    EXPECT_EQ(parseTimeEntry("960"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("7:3"), hm(7, 3));
    EXPECT_EQ(parseTimeEntry("7:0"), hm(7, 0));
    EXPECT_EQ(parseTimeEntry(":30"), hm(0, 30));
    EXPECT_EQ(parseTimeEntry(":60"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("12:"), hm(12, 0));
    EXPECT_EQ(parseTimeEntry("24:"), std::nullopt);
}

TEST(TimeEntry, FourCharacters) {
    EXPECT_EQ(parseTimeEntry("0930"), hm(9, 30));
    EXPECT_EQ(parseTimeEntry("2359"), hm(23, 59));
    EXPECT_EQ(parseTimeEntry("0000"), hm(0, 0));
    EXPECT_EQ(parseTimeEntry("2400"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("1260"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("9:30"), hm(9, 30));
    EXPECT_EQ(parseTimeEntry("9:59"), hm(9, 59));
    EXPECT_EQ(parseTimeEntry("9:60"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("12:3"), hm(12, 3));
    EXPECT_EQ(parseTimeEntry("23:5"), hm(23, 5));
    EXPECT_EQ(parseTimeEntry("123:"), std::nullopt);
    EXPECT_EQ(parseTimeEntry(":123"), std::nullopt);
}

TEST(TimeEntry, FiveOrMoreCharactersAreParsedAsTyped) {
    EXPECT_EQ(parseTimeEntry("09:30"), hm(9, 30));
    EXPECT_EQ(parseTimeEntry("00:00"), hm(0, 0));
    EXPECT_EQ(parseTimeEntry("23:59"), hm(23, 59));
    EXPECT_EQ(parseTimeEntry("24:00"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("12:60"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("12345"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("123:4"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("000009:05"), hm(9, 5));
}

TEST(TimeEntry, DecimalHoursTruncateToWholeMinutes) {
    EXPECT_EQ(parseTimeEntry("1.5"), hm(1, 30));
    EXPECT_EQ(parseTimeEntry("0.25"), hm(0, 15));
    EXPECT_EQ(parseTimeEntry("1.33"), hm(1, 19));
    EXPECT_EQ(parseTimeEntry("1.0"), hm(1, 0));
    EXPECT_EQ(parseTimeEntry(".5"), hm(0, 30));
    EXPECT_EQ(parseTimeEntry("5."), hm(5, 0));
    EXPECT_EQ(parseTimeEntry("0.999"), hm(0, 59));
    EXPECT_EQ(parseTimeEntry("23.99"), hm(23, 59));
    EXPECT_EQ(parseTimeEntry("8.05"), hm(8, 3));
    // Long fractions are exact, not rounded through a floating-point number.
    EXPECT_EQ(parseTimeEntry("1.3333333334"), hm(1, 20));
    EXPECT_EQ(parseTimeEntry("1.3333333333"), hm(1, 19));
    EXPECT_EQ(parseTimeEntry("1.0166666666666666666666"), hm(1, 0));
    EXPECT_EQ(parseTimeEntry("1.0166666666666666666667"), hm(1, 1));
    // Every two-digit fraction: minutes = fraction * 60 / 100, truncated.
    for (int f = 0; f < 100; ++f) {
        char text[8];
        std::snprintf(text, sizeof text, "3.%02d", f);
        EXPECT_EQ(parseTimeEntry(text), hm(3, f * 60 / 100)) << text;
    }
}

TEST(TimeEntry, DecimalHoursWrapAtTwentyFour) {
    EXPECT_EQ(parseTimeEntry("24.0"), hm(0, 0));
    EXPECT_EQ(parseTimeEntry("25.5"), hm(1, 30));
    EXPECT_EQ(parseTimeEntry("48.25"), hm(0, 15));
    // Read digit by digit, so any number of hours wraps exactly (123456789012345678901 % 24 = 13).
    EXPECT_EQ(parseTimeEntry("123456789012345678901.5"), hm(13, 30));
}

TEST(TimeEntry, RefusesAnythingButTheShorthandAlphabet) {
    for (const char* text :
         {"",        " ",     " 7",    "7 ",       "7:3 ",         "+7",   "-7",
          "-1.5",    "1.-5",  "+1.5",  " 1.5",     "1.5 ",         "1,5",  "12:3x",
          "1x:30",   "7h",    "1:2:3", "::",       "1::",          ".",    "..",
          "1.2.3",   "1:1.5", "1.5:",  "\xd9\xa7", "\xef\xbc\x97", "\xff", "7\xc3\xa9",
          "7:3\xff", "1.\xff"}) {
        EXPECT_EQ(parseTimeEntry(text), std::nullopt) << text;
    }
    EXPECT_EQ(parseTimeEntry(std::string_view("7\0", 2)), std::nullopt);
    EXPECT_EQ(parseTimeEntry(std::string_view("7:3\0", 4)), std::nullopt);
}

TEST(TimeEntry, LongDigitRunsAreRefusedWithoutOverflow) {
    const std::string digits(40, '9');
    EXPECT_EQ(parseTimeEntry(digits), std::nullopt);
    EXPECT_EQ(parseTimeEntry(digits + ":00"), std::nullopt);
    EXPECT_EQ(parseTimeEntry("12:" + digits), std::nullopt);
}

TEST(TimeEntry, EveryMinuteOfTheDayInEachForm) {
    for (int h = 0; h < 24; ++h) {
        for (int m = 0; m < 60; ++m) {
            const TimeValue expected = hm(h, m);
            char colon[8];
            char digitsOnly[8];
            std::snprintf(colon, sizeof colon, "%d:%02d", h, m);
            std::snprintf(digitsOnly, sizeof digitsOnly, "%d%02d", h, m);
            ASSERT_EQ(parseTimeEntry(colon), expected) << colon;
            ASSERT_EQ(parseTimeEntry(digitsOnly), expected) << digitsOnly;
            ASSERT_EQ(parseTimeEntry(expected.clockTime()), expected);
            ASSERT_EQ(parseTimeEntry(expected.clockTimeNoPad()), expected);
        }
    }
}

// ---- both ----

TEST(EntryText, RandomTextNeverCrashesAndOnlyYieldsValidValues) {
    const std::string alphabet = std::string("0123456789/:.  +-x") + "\xff\xc3\xa9" + '\0';
    std::mt19937 random(20260310);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const TimeValue lastDate = date(2038, 1, 19);
    for (int i = 0; i < 200000; ++i) {
        std::string text(length(random), ' ');
        for (char& c : text) {
            c = alphabet[pick(random)];
        }
        if (const auto d = parseDateEntry(text, kToday)) {
            ASSERT_GT(d->seconds(), 0) << text;
            ASSERT_LE(*d, lastDate) << text;
            ASSERT_EQ(d->datePart(), *d) << text;
            ASSERT_EQ(text.find_first_not_of("0123456789/"), std::string::npos) << text;
        }
        if (const auto t = parseTimeEntry(text)) {
            ASSERT_GE(t->seconds(), 0) << text;
            ASSERT_LE(t->seconds(), TimeValue::kLatestTime) << text;
            ASSERT_EQ(t->seconds() % 60, 0) << text;
            ASSERT_EQ(text.find_first_not_of("0123456789:."), std::string::npos) << text;
        }
    }
}

} // namespace
} // namespace vsolo
