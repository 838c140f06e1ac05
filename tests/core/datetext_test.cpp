#include "core/base/datetext.h"

#include <gtest/gtest.h>
#include <string>

namespace vsolo {
namespace {

TEST(DateTextTest, FixedFormsReadBackWhatTheWritersMakeForEveryDay) {
    // Every day of the range the program can hold, a day at a time from 1970-01-02.
    for (std::int32_t day = 1; day < 24855; ++day) {
        const TimeValue date(day * TimeValue::kDay);
        const std::string text = fixedDateText(date);
        ASSERT_TRUE(isFixedDateText(text)) << text;
        ASSERT_EQ(readFixedDate(text), date) << text;
        ASSERT_EQ(readDate(text), date) << text;
    }
    for (std::int32_t minute = 0; minute < 24 * 60; ++minute) {
        const TimeValue time(minute * TimeValue::kMinute);
        const std::string text = fixedTimeText(time);
        ASSERT_EQ(readFixedTime(text), time) << text;
        ASSERT_EQ(readTime(text), time) << text;
    }
}

TEST(DateTextTest, FixedReadersRefuseEveryOtherForm) {
    for (const char* text : {"3/07/1999", "03/7/1999", "03/07/99", "03-07-1999", "03/07/1999 ",
                             "13/01/2000", "02/30/2000", "0a/07/1999", ""}) {
        EXPECT_FALSE(readFixedDate(text).has_value()) << text;
    }
    for (const char* text : {"8:05", "08:5", "24:00", "12:60", "08.05", "08:05 ", ""}) {
        EXPECT_FALSE(readFixedTime(text).has_value()) << text;
    }
}

TEST(DateTextTest, YearsMapByTheOneYearRule) {
    EXPECT_EQ(readFixedDate("03/07/0099"), readFixedDate("03/07/1999"));
    EXPECT_EQ(readFixedDate("03/07/0005"), readFixedDate("03/07/2005"));
    EXPECT_EQ(readDate("3/7/99"), readFixedDate("03/07/1999"));
}

TEST(DateTextTest, LooseFormsTakeWhatAUserTypes) {
    EXPECT_EQ(readDate("3/7/1999"), readFixedDate("03/07/1999"));
    EXPECT_EQ(readTime("8:5"), readFixedTime("08:05"));
    EXPECT_FALSE(readDate("3/7").has_value());
    EXPECT_FALSE(readDate("3/7/19x9").has_value());
    EXPECT_FALSE(readTime("8h05").has_value());
}

TEST(DateTextTest, FixedTimeTextCountsWholeMinutes) {
    EXPECT_EQ(fixedTimeText(TimeValue::fromParts(0, 8, 5, 59)), "08:05");
    EXPECT_EQ(fixedTimeText(TimeValue(0)), "00:00");
    EXPECT_EQ(fixedTimeText(TimeValue(TimeValue::kLatestTime)), "23:59");
}

} // namespace
} // namespace vsolo
