// The date helpers every test builds its values with: a mistyped date or time must stop the test
// that wrote it, never run on as a zero.

#include "tests/support/dates.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace vsolo {
namespace {

using testing::date;
using testing::dateTime;
using testing::hm;

// The message of what `make` throws, or "" when it throws nothing.
template <typename Make>
std::string thrownText(Make make) {
    try {
        make();
    } catch (const std::logic_error& e) {
        return e.what();
    }
    return "";
}

TEST(TestDatesTest, GiveTheValuesOfTheCalendarAndTheClock) {
    EXPECT_EQ(date(1970, 1, 2).seconds(), 86400);
    EXPECT_EQ(date(1999, 3, 7).shortDate(), "03/07/1999");
    EXPECT_EQ(hm(8, 5).seconds(), 8 * 3600 + 5 * 60);
    EXPECT_EQ(hm(23, 59, 59).seconds(), 86399);
    EXPECT_EQ(dateTime(1999, 3, 7, 8, 5, 30).seconds(), date(1999, 3, 7).seconds() + 29130);
}

TEST(TestDatesTest, ADateThatIsNoneThrowsNamingIt) {
    EXPECT_EQ(thrownText([] { date(2024, 2, 30); }),
              "date(2024, 2, 30) is not a date a TimeValue holds");
    EXPECT_EQ(thrownText([] { date(1970, 1, 1); }),
              "date(1970, 1, 1) is not a date a TimeValue holds");
    EXPECT_EQ(thrownText([] { dateTime(2038, 1, 20, 0, 0); }),
              "date(2038, 1, 20) is not a date a TimeValue holds");
}

TEST(TestDatesTest, ATimeThatIsNoTimeOfDayThrowsNamingIt) {
    EXPECT_EQ(thrownText([] { hm(24, 0); }), "hm(24, 0, 0) is not a time of day");
    EXPECT_EQ(thrownText([] { hm(9, 60); }), "hm(9, 60, 0) is not a time of day");
    EXPECT_EQ(thrownText([] { dateTime(2024, 5, 6, 12, 0, -1); }),
              "hm(12, 0, -1) is not a time of day");
}

} // namespace
} // namespace vsolo
