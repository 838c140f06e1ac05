#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "tests/support/dates.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace vsolo {
namespace {

using testing::date;

TimeValue parsedDate(std::string_view text) {
    TimeValue v(-1);
    EXPECT_TRUE(v.parseDate(text)) << text;
    return v;
}

bool dateRefused(std::string_view text) {
    TimeValue v(12345);
    const bool refused = !v.parseDate(text);
    EXPECT_EQ(v.seconds(), 12345) << "a refused parse must leave the value alone: " << text;
    return refused;
}

bool timeRefused(std::string_view text) {
    TimeValue v(777);
    const bool refused = !v.parseTime(text);
    EXPECT_EQ(v.seconds(), 777) << "a refused parse must leave the value alone: " << text;
    return refused;
}

TEST(TimeValueCalendar, KnownDatesCountFromTheEpochAsUtc) {
    EXPECT_EQ(date(1970, 1, 2).seconds(), 86400);
    EXPECT_EQ(date(1999, 3, 7).seconds(), 920764800);
    EXPECT_EQ(date(2000, 2, 29).seconds(), 951782400);
    EXPECT_EQ(date(2038, 1, 19).seconds(), 2147472000);

    CalendarTime c{2026, 12, 8, 0, 14, 35, 9};
    const TimeValue point = TimeValue::fromCalendar(c);
    EXPECT_EQ(point.seconds(), 1796688000 + 14 * 3600 + 35 * 60 + 9);
    const CalendarTime back = point.toCalendar();
    EXPECT_EQ(back.year, 2026);
    EXPECT_EQ(back.month, 12);
    EXPECT_EQ(back.day, 8);
    EXPECT_EQ(back.weekday, 2); // a Tuesday
    EXPECT_EQ(back.hour, 14);
    EXPECT_EQ(back.minute, 35);
    EXPECT_EQ(back.second, 9);
    EXPECT_EQ(point.datePart(), date(2026, 12, 8));
    EXPECT_EQ(point.timeOfDay().seconds(), 14 * 3600 + 35 * 60 + 9);
}

TEST(TimeValueCalendar, BreakdownRoundTripsEveryDayOfTheRange) {
    // Every valid date survives a breakdown and a rebuild, and the weekday advances by one.
    int weekday = TimeValue(86400).toCalendar().weekday;
    for (std::int32_t s = 86400; s > 0 && s <= 2147472000; s += 86400) {
        const CalendarTime c = TimeValue(s).toCalendar();
        ASSERT_EQ(TimeValue::fromCalendar(c).seconds(), s);
        TimeValue rebuilt;
        ASSERT_TRUE(rebuilt.setDate(c.year, c.month, c.day));
        ASSERT_EQ(rebuilt.seconds(), s);
        ASSERT_EQ(c.weekday, weekday);
        weekday = (weekday + 1) % 7;
        if (s > 2147472000 - 86400) {
            break;
        }
    }
}

TEST(TimeValueCalendar, EarlyYearsGiveZeroAndNegativeCountsBreakDown) {
    CalendarTime old{1899, 12, 31, 0, 0, 0, 0};
    EXPECT_EQ(TimeValue::fromCalendar(old).seconds(), 0);
    CalendarTime y1900{1900, 1, 1, 1, 0, 0, 0};
    EXPECT_EQ(TimeValue::fromCalendar(y1900).seconds(), static_cast<std::int32_t>(-2208988800LL));
    const CalendarTime before = TimeValue(-1).toCalendar();
    EXPECT_EQ(before.year, 1969);
    EXPECT_EQ(before.month, 12);
    EXPECT_EQ(before.day, 31);
    EXPECT_EQ(before.hour, 23);
    EXPECT_EQ(before.second, 59);
    EXPECT_EQ(before.weekday, 3);
}

TEST(TimeValueCalendar, DateAndTimeOfDaySplitEveryValueOfTheRange) {
    // Past 2038-01-19 the clock's count wraps to the bottom of the range; splitting such a value
    // must stay defined and give a time of day of one day.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t s :
         {kMin, kMin + 1, kMin + 11647, kMin + 11648, -86401, -1, 0, 86399, 2147472000, kMax}) {
        const TimeValue value(s);
        const std::int32_t time = value.timeOfDay().seconds();
        EXPECT_GE(time, 0) << s;
        EXPECT_LT(time, TimeValue::kDay) << s;
        EXPECT_EQ(value.datePart() + value.timeOfDay(), value) << s;
    }
    EXPECT_EQ(TimeValue(kMax).datePart(), date(2038, 1, 19));
    EXPECT_EQ(TimeValue(kMax).timeOfDay().seconds(), 3 * 3600 + 14 * 60 + 7);
    EXPECT_EQ(TimeValue(kMin).timeOfDay().seconds(), 20 * 3600 + 45 * 60 + 52); // 1901-12-13
    EXPECT_EQ(TimeValue(-1).datePart().seconds(), -86400);
}

TEST(TimeValueSet, TimeAcceptsOnlyAClockReading) {
    TimeValue v;
    EXPECT_TRUE(v.setTime(23, 59, 59));
    EXPECT_EQ(v.seconds(), 86399);
    EXPECT_TRUE(v.setTime(0, 0, 0));
    EXPECT_EQ(v.seconds(), 0);
    v = TimeValue(5);
    EXPECT_FALSE(v.setTime(24, 0, 0));
    EXPECT_FALSE(v.setTime(12, 60, 0));
    EXPECT_FALSE(v.setTime(12, 0, 60));
    EXPECT_FALSE(v.setTime(-1, 0, 0));
    EXPECT_FALSE(v.setTime(0, -1, 0));
    EXPECT_FALSE(v.setTime(0, 0, -1));
    EXPECT_EQ(v.seconds(), 5);
}

TEST(TimeValueSet, DateRangeAndMonthLengths) {
    TimeValue v(42);
    EXPECT_FALSE(v.setDate(1970, 1, 1)) << "the count of the epoch itself is 0";
    EXPECT_FALSE(v.setDate(2038, 1, 20)) << "does not fit in 32 bits";
    EXPECT_FALSE(v.setDate(2038, 12, 31));
    EXPECT_FALSE(v.setDate(1969, 12, 31));
    EXPECT_FALSE(v.setDate(2039, 1, 1));
    EXPECT_FALSE(v.setDate(1999, 2, 29));
    EXPECT_FALSE(v.setDate(1900 + 100, 2, 30));
    EXPECT_FALSE(v.setDate(1999, 4, 31));
    EXPECT_FALSE(v.setDate(1999, 0, 1));
    EXPECT_FALSE(v.setDate(1999, 13, 1));
    EXPECT_FALSE(v.setDate(1999, 1, 0));
    EXPECT_FALSE(v.setDate(1999, 1, 32));
    EXPECT_EQ(v.seconds(), 42);
    EXPECT_TRUE(v.setDate(1970, 1, 2));
    EXPECT_TRUE(v.setDate(2000, 2, 29));
    EXPECT_TRUE(v.setDate(2024, 2, 29));
    EXPECT_TRUE(v.setDate(1999, 12, 31));
}

TEST(TimeValueSet, FromPartsAndArithmetic) {
    EXPECT_EQ(TimeValue::fromParts(1, 2, 3, 4).seconds(), 86400 + 7200 + 180 + 4);
    EXPECT_EQ(TimeValue::fromParts(0, 0, -30, 0).seconds(), -1800);
    const TimeValue day = date(1999, 3, 7);
    const TimeValue point = day + TimeValue::fromParts(0, 8, 5, 0);
    EXPECT_EQ(point - day, TimeValue(29100));
    EXPECT_LT(day, point);
    EXPECT_GE(point, point);
    EXPECT_NE(day, point);
    TimeValue moving = day;
    moving += TimeValue(TimeValue::kDay);
    EXPECT_EQ(moving, date(1999, 3, 8));
    moving -= TimeValue(TimeValue::kDay);
    EXPECT_EQ(moving, day);
    // Arithmetic wraps in 32 bits instead of being undefined.
    EXPECT_EQ((TimeValue(2147483647) + TimeValue(1)).seconds(), -2147483647 - 1);
}

TEST(TimeValueParse, DatesInEveryAcceptedForm) {
    EXPECT_EQ(parsedDate("2/29/2000"), date(2000, 2, 29));
    EXPECT_EQ(parsedDate("1/19/38"), date(2038, 1, 19));
    EXPECT_EQ(parsedDate("3/7/99"), date(1999, 3, 7));
    EXPECT_EQ(parsedDate("03/07/1999"), date(1999, 3, 7));
    EXPECT_EQ(parsedDate("3/7/95"), date(1995, 3, 7));
    EXPECT_EQ(parsedDate("3/7/0"), date(2000, 3, 7));
    EXPECT_EQ(parsedDate("3/7/00"), date(2000, 3, 7));
    EXPECT_EQ(parsedDate("12/31/37"), date(2037, 12, 31));
    // Month and day take their leading digits; an empty year piece counts as 0, i.e. 2000.
    EXPECT_EQ(parsedDate("3x/7y/1999"), date(1999, 3, 7));
    EXPECT_EQ(parsedDate("3/7/"), date(2000, 3, 7));
}

TEST(TimeValueParse, DatesThatMustBeRefused) {
    EXPECT_TRUE(dateRefused("2/29/1999"));
    EXPECT_TRUE(dateRefused("4/31/1999"));
    EXPECT_TRUE(dateRefused("1/20/38"));
    EXPECT_TRUE(dateRefused("1/1/39"));
    EXPECT_TRUE(dateRefused("1/1/1970"));
    EXPECT_TRUE(dateRefused("3/7/9x"));
    EXPECT_TRUE(dateRefused("3/7/ 99"));
    EXPECT_TRUE(dateRefused("3/7/-1"));
    EXPECT_TRUE(dateRefused("3/7"));
    EXPECT_TRUE(dateRefused("3/7/99/1"));
    EXPECT_TRUE(dateRefused(""));
    EXPECT_TRUE(dateRefused("//"));
    EXPECT_TRUE(dateRefused("3/7/100")) << "a three-digit year is taken as written";
    EXPECT_TRUE(dateRefused("3/7/94")) << "94 means 2094";
    EXPECT_TRUE(dateRefused("99999999999999999999/1/2000"));
    EXPECT_TRUE(dateRefused("1/1/99999999999999999999"));
}

TEST(TimeValueParse, TimesInEveryAcceptedForm) {
    struct Case {
        const char* text;
        std::int32_t seconds;
    };
    for (const Case& c :
         {Case{"23:59", 86340}, Case{"0:00", 0}, Case{"7:5", 7 * 3600 + 300}, Case{":30", 1800},
          Case{"12:", 12 * 3600}, Case{"08:05", 29100}, Case{"7:5x", 7 * 3600 + 300},
          Case{"7:3:4", 7 * 3600 + 180}, Case{":", 0}}) {
        TimeValue v(-1);
        EXPECT_TRUE(v.parseTime(c.text)) << c.text;
        EXPECT_EQ(v.seconds(), c.seconds) << c.text;
    }
}

TEST(TimeValueParse, TimesThatMustBeRefused) {
    for (const char* text : {"24:00", "12:60", "12", "", "7.5", "a:30", "7 :30", "1x:00", "-1:00",
                             "99999999999:00", "00:99999999999"}) {
        EXPECT_TRUE(timeRefused(text)) << text;
    }
}

TEST(TimeValueParse, RandomBytesNeverCrashAndAcceptedValuesAreInRange) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string alphabet = "0123456789/:";
    for (int i = 0; i < 20000; ++i) {
        std::string text(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : text) {
            // Mostly digits and separators, so that many inputs get deep into the parsers.
            const int b = byte(random);
            c = b < 200 ? alphabet[static_cast<std::size_t>(b) % alphabet.size()]
                        : static_cast<char>(b);
        }
        TimeValue d;
        if (d.parseDate(text)) {
            ASSERT_GT(d.seconds(), 0) << text;
            ASSERT_EQ(d.seconds() % 86400, 0) << text;
        }
        TimeValue t;
        if (t.parseTime(text)) {
            ASSERT_GE(t.seconds(), 0) << text;
            ASSERT_LE(t.seconds(), 86340) << text;
            ASSERT_EQ(t.seconds() % 60, 0) << text;
        }
    }
}

TEST(TimeValueFormat, DateAndClockForms) {
    const TimeValue d = date(1999, 3, 7);
    EXPECT_EQ(d.shortDate(), "03/07/1999");
    EXPECT_EQ(d.longDate(), "Sunday, March 7, 1999");
    EXPECT_EQ(date(2038, 1, 19).longDate(), "Tuesday, January 19, 2038");
    EXPECT_EQ(date(1999, 10, 19).longDate(), "Tuesday, October 19, 1999");
    EXPECT_EQ(date(2026, 12, 25).shortDate(), "12/25/2026");
    EXPECT_EQ(date(2026, 12, 25).longDate(), "Friday, December 25, 2026");

    EXPECT_EQ(TimeValue(86340).clockTime(), "23:59");
    EXPECT_EQ(TimeValue(29100).clockTime(), "08:05");
    EXPECT_EQ(TimeValue(29100).clockTimeNoPad(), "8:05");
    EXPECT_EQ(TimeValue(0).clockTimeNoPad(), "0:00");
    EXPECT_EQ(TimeValue(59).clockTime(), "00:00") << "seconds are not shown";
    // A point in time shows its time of day.
    EXPECT_EQ((d + TimeValue(13 * 3600 + 7 * 60)).clockTime(), "13:07");

    // Every form parses back to the value it was made from.
    for (std::int32_t s = 86400; s <= 2147472000 - 86400 * 997; s += 86400 * 997) {
        TimeValue back;
        ASSERT_TRUE(back.parseDate(TimeValue(s).shortDate()));
        ASSERT_EQ(back.seconds(), s);
    }
    for (std::int32_t s = 0; s <= 86340; s += 60) {
        TimeValue back;
        ASSERT_TRUE(back.parseTime(TimeValue(s).clockTime()));
        ASSERT_EQ(back.seconds(), s);
        ASSERT_TRUE(back.parseTime(TimeValue(s).clockTimeNoPad()));
        ASSERT_EQ(back.seconds(), s);
    }
}

TEST(TimeValueFormat, EveryDurationDirective) {
    const TimeValue t(111907); // 1 day 7 hours 5 minutes 7 seconds = 31:05:07
    EXPECT_EQ(t.formatDuration("%H"), "31");
    EXPECT_EQ(t.formatDuration("%M"), "1865");
    EXPECT_EQ(t.formatDuration("%S"), "111907");
    EXPECT_EQ(t.formatDuration("%d"), "1");
    EXPECT_EQ(t.formatDuration("%h"), "07");
    EXPECT_EQ(t.formatDuration("%m"), "05");
    EXPECT_EQ(t.formatDuration("%s"), "07");
    EXPECT_EQ(t.formatDuration("%#h"), "7");
    EXPECT_EQ(t.formatDuration("%#m"), "5");
    EXPECT_EQ(t.formatDuration("%#s"), "7");
    EXPECT_EQ(t.formatDuration("%#H|%#M|%#S|%#d"), "31|1865|111907|1") << "# only affects h m s";
    EXPECT_EQ(t.formatDuration("%%"), "%");
    EXPECT_EQ(t.formatDuration("100%% done"), "100% done");
    EXPECT_EQ(t.formatDuration("a%qb%Zc"), "abc") << "unknown letters print nothing";
    EXPECT_EQ(t.formatDuration("x%"), "x");
    EXPECT_EQ(t.formatDuration("x%#"), "x");
    EXPECT_EQ(t.formatDuration("%d days, %h:%m:%s"), "1 days, 07:05:07");
}

TEST(TimeValueFormat, NamedDurationForms) {
    const TimeValue t(111900);
    EXPECT_EQ(t.formatDuration(kDurationTotal), "31:05");
    EXPECT_EQ(t.formatDuration(kDurationDayHours), "7:05");
    EXPECT_EQ(t.formatDuration(kDurationPadded), "07:05");
    EXPECT_EQ(TimeValue(0).formatDuration(kDurationTotal), "0:00");
    EXPECT_EQ(TimeValue(10 * 3600 + 59 * 60 + 59).formatDuration(kDurationDayHours), "10:59");
    // Totals of many transactions go past 32 bits.
    EXPECT_EQ(formatDuration(std::int64_t{3600} * 1000000 + 60, kDurationTotal), "1000000:01");
}

TEST(Clock, SettableClockDrivesTodayAndTimeOfDay) {
    SettableClock clock(date(2026, 12, 8) + TimeValue(9 * 3600 + 41 * 60 + 17));
    EXPECT_EQ(clock.today(), date(2026, 12, 8));
    EXPECT_EQ(clock.timeOfDay().seconds(), 9 * 3600 + 41 * 60);
    EXPECT_EQ(clock.timeOfDay(true).seconds(), 9 * 3600 + 41 * 60 + 17);
    clock.advance(14 * 3600 + 19 * 60);
    EXPECT_EQ(clock.today(), date(2026, 12, 9));
    EXPECT_EQ(clock.timeOfDay(true).seconds(), 17);
    clock.set(date(1999, 3, 7));
    EXPECT_EQ(clock.now(), date(1999, 3, 7));
}

TEST(Clock, SystemClockReadsLocalTimeAsUtc) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::time_t before = std::time(nullptr);
    const TimeValue now = systemClock().now();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(now.seconds(), static_cast<std::int32_t>(before));
    EXPECT_LE(now.seconds(), static_cast<std::int32_t>(after));

    ::setenv("TZ", "EST5", 1); // five hours behind, no daylight saving
    ::tzset();
    const TimeValue shifted = systemClock().now();
    const std::int32_t expected = static_cast<std::int32_t>(std::time(nullptr)) - 5 * 3600;
    EXPECT_NEAR(shifted.seconds(), expected, 2);
    ::unsetenv("TZ");
    ::tzset();
}

TEST(Clock, ModificationClockCanBeReplacedForAScope) {
    SettableClock fixed(TimeValue(123456));
    {
        ScopedModificationClock scope(fixed);
        EXPECT_EQ(modificationClock().now().seconds(), 123456);
    }
    EXPECT_NE(&modificationClock(), static_cast<const Clock*>(&fixed));
}

} // namespace
} // namespace vsolo
