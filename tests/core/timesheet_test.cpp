#include "core/timesheet.h"
#include "tests/support/dates.h"

#include <gtest/gtest.h>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

// A version-4 template with one project (group 1: Alpha) and one activity (sub-id 7: Design).
class TimeSheetRowsTest : public ::testing::Test {
protected:
    TimeSheetRowsTest() {
        file.setFormat(TemplateFormat::Version4);
        LevelItem project;
        project.setName("Alpha");
        project.setGroupNumber(1);
        file.level1().add(project);
        LevelItem activity;
        activity.setName("Design");
        activity.setGroupNumber(1);
        activity.setSubId(7);
        activity.setDepth(1);
        file.level2().add(activity);
    }

    const Transaction* add(TimeValue day, TimeValue start, TimeValue end, bool sent = false,
                           std::int32_t level2 = 7, const char* description = "work") {
        return file.store().add(Transaction(day, start, end, 1, level2, description, sent));
    }

    std::string text(std::size_t row, int column) const { return rows.cellText(row, column, file); }

    SettableClock clock{date(2026, 3, 10)};
    TemplateFile file{clock};
    TimeSheetRows rows;
};

TEST_F(TimeSheetRowsTest, DaysShowTheirDateFirstAndTheirTotalLast) {
    const TimeValue monday = date(2026, 3, 2);
    add(date(2026, 2, 27), hm(8, 0), hm(9, 0)); // outside the range
    add(monday, hm(8, 0), hm(9, 0));
    add(monday, hm(9, 0), hm(10, 30), false, 99);
    add(monday, hm(11, 0), hm(11, 5));
    add(date(2026, 3, 3), hm(7, 5), hm(8, 0));
    EXPECT_FALSE(rows.rebuild(file.store(), date(2026, 3, 5), monday)) << "no error row";
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows.transactionRows(), 4u);
    EXPECT_EQ(text(0, TimeSheetRows::Date), "Monday, March 2, 2026");
    EXPECT_EQ(text(1, TimeSheetRows::Date), "");
    EXPECT_EQ(text(2, TimeSheetRows::Date), "");
    EXPECT_EQ(text(0, TimeSheetRows::Total), "");
    EXPECT_EQ(text(2, TimeSheetRows::Total), "2:35");
    EXPECT_EQ(text(3, TimeSheetRows::Date), "Tuesday, March 3, 2026");
    EXPECT_EQ(text(3, TimeSheetRows::Total), "0:55");
    EXPECT_EQ(text(1, TimeSheetRows::Level1), "Alpha");
    EXPECT_EQ(text(1, TimeSheetRows::Level2), "?") << "an item that is gone";
    EXPECT_EQ(text(3, TimeSheetRows::Start), "7:05");
    EXPECT_EQ(text(3, TimeSheetRows::End), "8:00");
    EXPECT_EQ(text(1, TimeSheetRows::Duration), "1:30");
    EXPECT_EQ(text(1, TimeSheetRows::Description), "work");
    EXPECT_TRUE(rows.isClosingRow(4));
    EXPECT_EQ(text(4, TimeSheetRows::Date), "   Total");
    EXPECT_EQ(text(4, TimeSheetRows::Total), "3:30");
    EXPECT_EQ(text(4, TimeSheetRows::Description), "");
    EXPECT_EQ(rows.rowOf(rows.row(3).transaction), 3);
    EXPECT_EQ(rows.rowOf(file.store().day(0)->at(0)), -1) << "outside the range";
}

TEST_F(TimeSheetRowsTest, ErrorRowsAreMarkedRedAndCountNothing) {
    const TimeValue day = date(2026, 3, 2);
    add(day, hm(8, 0), hm(10, 0));
    add(day, hm(9, 30), hm(11, 0));
    add(day, hm(12, 0), hm(13, 0), true);
    EXPECT_TRUE(rows.rebuild(file.store(), day, day));
    EXPECT_EQ(rows.shade(0), TimeSheetRows::Shade::Error);
    EXPECT_EQ(text(0, TimeSheetRows::Description), "ERROR");
    EXPECT_EQ(text(0, TimeSheetRows::Duration), "0:00");
    EXPECT_EQ(text(2, TimeSheetRows::Total), "2:30");
    EXPECT_EQ(text(3, TimeSheetRows::Total), "2:30");
}

TEST_F(TimeSheetRowsTest, ShadesAlternateByTheDaysPlaceInTheWholeStore) {
    add(date(2026, 3, 1), hm(8, 0), hm(9, 0)); // store day 0, outside the range
    add(date(2026, 3, 2), hm(8, 0), hm(9, 0)); // day 1
    add(date(2026, 3, 4), hm(8, 0), hm(9, 0)); // day 2
    rows.rebuild(file.store(), date(2026, 3, 2), date(2026, 3, 31));
    EXPECT_EQ(rows.shade(0), TimeSheetRows::Shade::OddDay);
    EXPECT_EQ(rows.shade(1), TimeSheetRows::Shade::EvenDay);
    EXPECT_EQ(rows.shade(2), TimeSheetRows::Shade::OddDay) << "the closing row is the next day";

    TimeSheetRows empty;
    empty.rebuild(file.store(), date(2025, 1, 1), date(2025, 1, 2));
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty.shade(0), TimeSheetRows::Shade::OddDay);
    EXPECT_EQ(empty.cellText(0, TimeSheetRows::Total, file), "") << "an empty range has no total";
    EXPECT_EQ(empty.cellText(0, TimeSheetRows::Date, file), "   Total");
}

TEST_F(TimeSheetRowsTest, RefreshFollowsTheStore) {
    const TimeValue day = date(2026, 3, 2);
    const Transaction* first = add(day, hm(8, 0), hm(9, 0));
    rows.rebuild(file.store(), day, day);
    add(day, hm(7, 0), hm(7, 30));
    add(date(2026, 3, 3), hm(7, 0), hm(7, 30)); // outside
    rows.refresh();
    ASSERT_EQ(rows.transactionRows(), 2u);
    EXPECT_EQ(rows.rowOf(first), 1);
    file.store().removeAndDestroy(first);
    file.store().removeAndDestroy(rows.row(0).transaction);
    rows.refresh();
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows.days().empty());
}

} // namespace
} // namespace vsolo
