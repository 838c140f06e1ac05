#include "core/transactionentry.h"
#include "tests/support/dates.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/transaction.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;
using testing::ScriptedPrompter;
using testing::transaction;

std::vector<std::string> times(const Day* day) {
    std::vector<std::string> out;
    if (!day) {
        return out;
    }
    for (const Transaction& t : day->transactions()) {
        out.push_back(t.start().clockTimeNoPad() + "-" + t.end().clockTimeNoPad() +
                      (t.isError() ? " error" : ""));
    }
    return out;
}

// ----- The checks made on OK -----

// Today is Friday, March 20, 2026, 15:30:45; the time sheet shows March 2026.
class EntryChecksTest : public ::testing::Test {
protected:
    TimeValue today = date(2026, 3, 20);
    EntryContext context;
    Transaction running;

    EntryChecksTest() {
        context.rangeFrom = date(2026, 3, 1);
        context.rangeTo = date(2026, 3, 31);
        context.now = today + TimeValue::fromParts(0, 15, 30, 45);
        context.level1Title = "Project";
        context.level2Title = "Activity";
    }

    // A valid entry on a past day of the range with a level-2 item selected.
    static EntryValues entry(TimeValue day, TimeValue start, TimeValue end) {
        EntryValues v;
        v.date = day;
        v.start = start;
        v.end = end;
        v.hasSelection = true;
        return v;
    }

    void trackSince(TimeValue start, TimeValue currentEnd) {
        running = transaction(today, start, currentEnd);
        context.running = &running;
    }
};

TEST_F(EntryChecksTest, AValidEntryPasses) {
    EXPECT_FALSE(checkEntry(entry(date(2026, 3, 19), hm(9, 0), hm(17, 0)), context));
    // The bounds of the range are inside it.
    EXPECT_FALSE(checkEntry(entry(date(2026, 3, 1), hm(9, 0), hm(17, 0)), context));
    EXPECT_FALSE(checkEntry(entry(today, hm(0, 0), hm(0, 1)), context));
}

TEST_F(EntryChecksTest, DateOutsideTheRangeGoesBackToTheNearerBound) {
    const std::string message =
        "Please make sure the date entered is between Sunday, March 1, 2026 and Tuesday, March "
        "31, 2026. \r\n\r\nOr select GOTO, DATE RANGE from the menu.";

    auto before = checkEntry(entry(date(2026, 2, 28), hm(9, 0), hm(10, 0)), context);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->focus, EntryField::Date);
    EXPECT_EQ(before->field, EntryField::Date);
    EXPECT_EQ(before->value, date(2026, 3, 1));
    EXPECT_EQ(before->message, message);

    // After the range, and after today too: the range is checked first.
    auto after = checkEntry(entry(date(2026, 4, 5), hm(9, 0), hm(10, 0)), context);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->value, date(2026, 3, 31));
    EXPECT_EQ(after->message, message);

    // Bounds given the wrong way round name the same range.
    std::swap(context.rangeFrom, context.rangeTo);
    auto swapped = checkEntry(entry(date(2026, 2, 28), hm(9, 0), hm(10, 0)), context);
    ASSERT_TRUE(swapped);
    EXPECT_EQ(swapped->value, date(2026, 3, 1));
    EXPECT_EQ(swapped->message, message);
}

TEST_F(EntryChecksTest, ADateAfterTodayBecomesToday) {
    // Start equal to end as well: the date is checked first.
    auto refusal = checkEntry(entry(date(2026, 3, 21), hm(9, 0), hm(9, 0)), context);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->focus, EntryField::Date);
    EXPECT_EQ(refusal->field, EntryField::Date);
    EXPECT_EQ(refusal->value, today);
    EXPECT_EQ(refusal->message, "Cannot add future time.");
}

TEST_F(EntryChecksTest, StartNotBeforeEndTakesTheEnd) {
    for (TimeValue start : {hm(10, 0), hm(11, 0)}) {
        auto refusal = checkEntry(entry(date(2026, 3, 19), start, hm(10, 0)), context);
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->focus, EntryField::Start);
        EXPECT_EQ(refusal->field, EntryField::Start);
        EXPECT_EQ(refusal->value, hm(10, 0));
        EXPECT_EQ(refusal->message, "The start time should be before the end time.");
    }
    // Once the start equals the end, the same refusal comes again until a field changes.
    auto again = checkEntry(entry(date(2026, 3, 19), hm(10, 0), hm(10, 0)), context);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->message, "The start time should be before the end time.");
}

TEST_F(EntryChecksTest, TimeAfterTheRunningStartOverlapsTheRunningTransaction) {
    trackSince(hm(14, 0), hm(15, 30));
    const std::string message = "Time overlap with running transaction.\r\n\r\n(Running "
                                "transaction: Start time 14:00 End time 15:30).";

    // Ending exactly where tracking started touches it without overlapping.
    EXPECT_FALSE(checkEntry(entry(today, hm(13, 0), hm(14, 0)), context));

    auto endLater = checkEntry(entry(today, hm(13, 0), hm(14, 1)), context);
    ASSERT_TRUE(endLater);
    EXPECT_EQ(endLater->focus, EntryField::Start);
    EXPECT_EQ(endLater->field, EntryField::End);
    EXPECT_EQ(endLater->value, hm(14, 0));
    EXPECT_EQ(endLater->message, message);

    auto startLater = checkEntry(entry(today, hm(14, 30), hm(15, 0)), context);
    ASSERT_TRUE(startLater);
    EXPECT_EQ(startLater->focus, EntryField::Start);
    EXPECT_EQ(startLater->field, EntryField::Start);
    EXPECT_EQ(startLater->value, hm(14, 0));
    EXPECT_EQ(startLater->message, message);

    // Another day is not touched by what is tracked today.
    EXPECT_FALSE(checkEntry(entry(date(2026, 3, 19), hm(13, 0), hm(16, 0)), context));
}

TEST_F(EntryChecksTest, StartAfterEndIsReportedBeforeTheOverlap) {
    trackSince(hm(14, 0), hm(15, 30));
    auto refusal = checkEntry(entry(today, hm(15, 0), hm(14, 30)), context);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "The start time should be before the end time.");
}

TEST_F(EntryChecksTest, TimeAfterTheCurrentMinuteBecomesTheCurrentMinute) {
    // 15:30:45 counts as 15:30: an end at 15:30 is fine, 15:31 is not.
    EXPECT_FALSE(checkEntry(entry(today, hm(15, 0), hm(15, 30)), context));

    auto endLater = checkEntry(entry(today, hm(15, 0), hm(15, 31)), context);
    ASSERT_TRUE(endLater);
    EXPECT_EQ(endLater->focus, EntryField::End);
    EXPECT_EQ(endLater->field, EntryField::End);
    EXPECT_EQ(endLater->value, hm(15, 30));
    EXPECT_EQ(endLater->message, "Cannot enter future time.\r\n\r\nCurrent time: 15:30.");

    auto startLater = checkEntry(entry(today, hm(15, 31), hm(16, 0)), context);
    ASSERT_TRUE(startLater);
    EXPECT_EQ(startLater->focus, EntryField::Start);
    EXPECT_EQ(startLater->field, EntryField::Start);
    EXPECT_EQ(startLater->value, hm(15, 30));

    // A single-digit hour is shown without padding.
    context.now = today + TimeValue::fromParts(0, 8, 5, 59);
    auto morning = checkEntry(entry(today, hm(8, 0), hm(9, 0)), context);
    ASSERT_TRUE(morning);
    EXPECT_EQ(morning->message, "Cannot enter future time.\r\n\r\nCurrent time: 8:05.");
    EXPECT_EQ(morning->value, hm(8, 5));

    // Yesterday may run to the end of the day.
    EXPECT_FALSE(checkEntry(entry(date(2026, 3, 19), hm(22, 0), hm(23, 59)), context));
}

TEST_F(EntryChecksTest, DurationModeSkipsTheTimeChecksButNotTheDateChecks) {
    trackSince(hm(14, 0), hm(15, 30));
    EntryValues values = entry(today, hm(0, 0), hm(0, 0));
    values.durationMode = true;
    EXPECT_FALSE(checkEntry(values, context));

    values.date = date(2026, 3, 21);
    auto refusal = checkEntry(values, context);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Cannot add future time.");
}

TEST_F(EntryChecksTest, TheTreeMustNameALevel2Item) {
    context.level1Title = "Client";
    context.level2Title = "Task";
    EntryValues values = entry(date(2026, 3, 19), hm(9, 0), hm(10, 0));
    values.selectionHasChildren = true;
    auto parent = checkEntry(values, context);
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->focus, EntryField::Tree);
    EXPECT_EQ(parent->field, EntryField::None);
    EXPECT_EQ(parent->message, "Task missing. Please select from list.");

    values.hasSelection = false;
    values.selectionHasChildren = false;
    auto nothing = checkEntry(values, context);
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->focus, EntryField::Tree);
    EXPECT_EQ(nothing->message, "Client and Task missing. Please select from list.");

    // The tree comes last: wrong times are reported first.
    values.start = hm(11, 0);
    auto times = checkEntry(values, context);
    ASSERT_TRUE(times);
    EXPECT_EQ(times->message, "The start time should be before the end time.");
}

// ----- The commit after OK -----

// Today is March 20, 2026, 15:30:45; the day starts at 8:30.
class EntryCommitTest : public ::testing::Test {
protected:
    TimeValue today = date(2026, 3, 20);
    TimeValue tuesday = date(2026, 3, 10);
    SettableClock clock{today + TimeValue::fromParts(0, 15, 30, 45)};
    TransactionStore store{clock};
    ScriptedPrompter prompter;

    EntryCommitRequest addRequest(const Transaction& t, int flags = entryflag::kTimesChanged) {
        EntryCommitRequest r;
        r.addMode = true;
        r.workingCopy = t;
        r.changeFlags = flags;
        r.dayStart = hm(8, 30);
        return r;
    }

    EntryCommitRequest addDuration(TimeValue day, TimeValue duration) {
        EntryCommitRequest r = addRequest(transaction(day, hm(0, 0), hm(0, 0), 1, 2, "typed"),
                                          entryflag::kDurationMode);
        r.duration = duration;
        return r;
    }

    EntryCommitRequest editRequest(const Transaction* edited, const Transaction& value, int flags) {
        EntryCommitRequest r;
        r.edited = edited;
        r.workingCopy = value;
        r.changeFlags = flags;
        r.dayStart = hm(8, 30);
        return r;
    }
};

TEST_F(EntryCommitTest, AddModeStoresTheWorkingCopy) {
    store.add(transaction(tuesday, hm(10, 0), hm(11, 0)));
    const EntryCommit c = commitEntry(
        store, addRequest(transaction(tuesday, hm(8, 0), hm(9, 0), 3, 4, "notes")), prompter);
    ASSERT_NE(c.stored, nullptr);
    EXPECT_TRUE(c.added);
    EXPECT_TRUE(c.placedAgain);
    EXPECT_EQ(c.oldDate, tuesday);
    EXPECT_EQ(c.newDate, tuesday);
    EXPECT_EQ(store.findDay(tuesday)->at(0), c.stored);
    EXPECT_EQ(c.stored->level1Key(), 3);
    EXPECT_EQ(c.stored->level2Key(), 4);
    EXPECT_EQ(c.stored->description(), "notes");
    // A new transaction is stamped on its way in.
    EXPECT_EQ(c.stored->stamp(), clock.now().seconds());
    EXPECT_TRUE(prompter.empty());
}

TEST_F(EntryCommitTest, ATotalGoesIntoTheSmallestGapLongerThanItElseAfterTheDay) {
    store.add(transaction(tuesday, hm(9, 0), hm(10, 0)));
    store.add(transaction(tuesday, hm(12, 0), hm(17, 0)));

    // The gap 10:00-12:00 is exactly 2:00, not longer: the total goes after 17:00.
    const EntryCommit two = commitEntry(store, addDuration(tuesday, hm(2, 0)), prompter);
    EXPECT_EQ(two.placement, PlaceResult::Placed);
    ASSERT_NE(two.stored, nullptr);
    EXPECT_EQ(two.stored->start(), hm(17, 0));
    EXPECT_EQ(two.stored->end(), hm(19, 0));
    EXPECT_EQ(two.stored->description(), "typed");

    // A shorter one fits the gap.
    const EntryCommit oneAndAHalf =
        commitEntry(store, addDuration(tuesday, TimeValue::fromParts(0, 1, 30, 0)), prompter);
    EXPECT_EQ(oneAndAHalf.stored->start(), hm(10, 0));
    EXPECT_EQ(oneAndAHalf.stored->end(), hm(11, 30));
    EXPECT_EQ(
        times(store.findDay(tuesday)),
        (std::vector<std::string>{"9:00-10:00", "10:00-11:30", "12:00-17:00", "17:00-19:00"}));
    EXPECT_TRUE(prompter.empty());
}

TEST_F(EntryCommitTest, ATotalInAnEmptyDayStartsAtTheDayStart) {
    EntryCommitRequest r = addDuration(tuesday, TimeValue::fromParts(0, 1, 30, 0));
    const EntryCommit c = commitEntry(store, r, prompter);
    EXPECT_EQ(times(store.findDay(tuesday)), (std::vector<std::string>{"8:30-10:00"}));
    EXPECT_EQ(c.newDate, tuesday);

    // Today a total that would run past the current minute ends at it.
    r = addDuration(today, hm(2, 0));
    r.dayStart = hm(14, 30);
    commitEntry(store, r, prompter);
    EXPECT_EQ(times(store.findDay(today)), (std::vector<std::string>{"13:30-15:30"}));
}

TEST_F(EntryCommitTest, TooManyHoursStoresAZeroLengthRowInError) {
    store.add(transaction(tuesday, hm(9, 0), hm(17, 0)));
    const EntryCommit c = commitEntry(store, addDuration(tuesday, hm(16, 0)), prompter);
    EXPECT_EQ(c.placement, PlaceResult::TooManyHours);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Too many hours.  Take note:\r\n\r\n1. Cannot add future "
                                        "time.\r\n2. Maximum hours for one day is 23:59."}));
    ASSERT_NE(c.stored, nullptr);
    EXPECT_TRUE(c.added);
    EXPECT_EQ(times(store.findDay(tuesday)),
              (std::vector<std::string>{"0:00-0:00 error", "9:00-17:00"}));
    // What was typed besides the total is kept, to be corrected in the time sheet.
    EXPECT_EQ(c.stored->description(), "typed");
    EXPECT_EQ(c.stored->duration(), 0);

    // 24 hours fit no day; an empty day gets the error row alone.
    const TimeValue friday = date(2026, 3, 13);
    commitEntry(store, addDuration(friday, hm(23, 59) + hm(0, 1)), prompter);
    EXPECT_EQ(prompter.entries().size(), 2u);
    EXPECT_EQ(times(store.findDay(friday)), (std::vector<std::string>{"0:00-0:00 error"}));
    EXPECT_EQ(store.dayCount(), 2u);
}

TEST_F(EntryCommitTest, TodayTheCurrentMinuteLimitsTheDay) {
    store.add(transaction(today, hm(8, 0), hm(15, 0)));
    // Up to the current minute, 15:30, fits.
    const EntryCommit fits = commitEntry(store, addDuration(today, hm(0, 30)), prompter);
    EXPECT_EQ(fits.placement, PlaceResult::Placed);
    EXPECT_EQ(fits.stored->end(), hm(15, 30));
    // 7:30 worked and 8:01 more is past 15:30; on another day it would fit.
    const EntryCommit c = commitEntry(store, addDuration(today, hm(8, 1)), prompter);
    EXPECT_EQ(c.placement, PlaceResult::TooManyHours);
    EXPECT_EQ(prompter.entries().size(), 1u);
    EXPECT_EQ(times(store.findDay(today)),
              (std::vector<std::string>{"0:00-0:00 error", "8:00-15:00", "15:00-15:30"}));
}

TEST_F(EntryCommitTest, NoRoomStoresAZeroLengthRowInErrorAndNamesTheDay) {
    store.add(transaction(tuesday, hm(0, 10), hm(11, 0)));
    store.add(transaction(tuesday, hm(13, 0), hm(23, 50)));
    const EntryCommit c = commitEntry(store, addDuration(tuesday, hm(2, 0)), prompter);
    EXPECT_EQ(c.placement, PlaceResult::NoRoom);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{
                  "Not enough hours remaining for time interval. You can:\r\n\r\n1. Enter "
                  "multiple rows or\r\n2. Delete existing rows for Tuesday, March 10, 2026 and "
                  "re-enter hours."}));
    EXPECT_EQ(times(store.findDay(tuesday)),
              (std::vector<std::string>{"0:00-0:00 error", "0:10-11:00", "13:00-23:50"}));
}

TEST_F(EntryCommitTest, EditingATotalPlacesTheTransactionWithoutItsOwnTimes) {
    store.add(transaction(tuesday, hm(9, 0), hm(10, 0)));
    const Transaction* edited = store.add(transaction(tuesday, hm(12, 0), hm(17, 0), 1, 1, "old"));
    Transaction value = *edited;
    value.setDescription("new");
    EntryCommitRequest r = editRequest(edited, value, entryflag::kDurationMode);
    r.duration = hm(2, 0);

    const EntryCommit c = commitEntry(store, r, prompter);
    // Its own 5 hours no longer count: it goes right after 10:00.
    EXPECT_EQ(c.stored, edited);
    EXPECT_EQ(c.placement, PlaceResult::Placed);
    EXPECT_TRUE(c.placedAgain);
    EXPECT_FALSE(c.added);
    EXPECT_EQ(times(store.findDay(tuesday)),
              (std::vector<std::string>{"9:00-10:00", "10:00-12:00"}));
    EXPECT_EQ(edited->description(), "new");
    EXPECT_EQ(store.count(), 2u);
}

TEST_F(EntryCommitTest, AFailedTotalInEditModeKeepsTheRecordedTimes) {
    store.add(transaction(tuesday, hm(17, 0), hm(18, 0)));
    const Transaction* edited =
        store.add(transaction(tuesday, hm(9, 0), hm(17, 0), 1, 1, "billed"));
    Transaction value = *edited;
    value.setDescription("changed");
    EntryCommitRequest r = editRequest(edited, value, entryflag::kDurationMode);
    r.duration = hm(23, 0);

    const EntryCommit c = commitEntry(store, r, prompter);
    EXPECT_EQ(c.placement, PlaceResult::TooManyHours);
    EXPECT_EQ(prompter.entries().size(), 1u);
    EXPECT_EQ(c.stored, edited);
    EXPECT_FALSE(c.placedAgain);
    EXPECT_EQ(times(store.findDay(tuesday)),
              (std::vector<std::string>{"9:00-17:00", "17:00-18:00"}));
    EXPECT_EQ(edited->description(), "billed");
    EXPECT_EQ(edited->duration(), 8 * 3600);
}

TEST_F(EntryCommitTest, AnEditThatMovesToAnotherDayKeepsTheAddressAndMarksBothDays) {
    const Transaction* first = store.add(transaction(tuesday, hm(9, 0), hm(10, 30)));
    const Transaction* moved =
        store.add(transaction(tuesday, hm(10, 0), hm(11, 0), 1, 1, "move me"));
    const TimeValue thursday = date(2026, 3, 12);
    const Transaction* there = store.add(transaction(thursday, hm(10, 30), hm(12, 0)));
    store.markErrors(store.allDays());
    ASSERT_TRUE(first->isError());
    const std::int32_t stamp = moved->stamp();

    Transaction value = *moved;
    value.setDate(thursday);
    const EntryCommit c =
        commitEntry(store, editRequest(moved, value, entryflag::kTimesChanged), prompter);

    EXPECT_EQ(c.stored, moved);
    EXPECT_TRUE(c.placedAgain);
    EXPECT_EQ(c.oldDate, tuesday);
    EXPECT_EQ(c.newDate, thursday);
    EXPECT_EQ(moved->date(), thursday);
    EXPECT_EQ(moved->stamp(), stamp);
    // The old day no longer overlaps; on the new day the moved one runs into the next one.
    EXPECT_FALSE(first->isError());
    EXPECT_TRUE(moved->isError());
    EXPECT_FALSE(there->isError());
    EXPECT_EQ(times(store.findDay(thursday)),
              (std::vector<std::string>{"10:00-11:00 error", "10:30-12:00"}));
}

TEST_F(EntryCommitTest, AnEditInPlaceClearsAnErrorThatNoLongerHolds) {
    const Transaction* edited = store.add(transaction(tuesday, hm(9, 0), hm(10, 30)));
    store.add(transaction(tuesday, hm(10, 0), hm(11, 0)));
    store.markErrors(store.allDays());
    ASSERT_TRUE(edited->isError());

    Transaction value = *edited;
    value.setEnd(hm(10, 0));
    const EntryCommit c =
        commitEntry(store, editRequest(edited, value, entryflag::kTimesChanged), prompter);
    EXPECT_EQ(c.stored, edited);
    EXPECT_TRUE(c.placedAgain);
    EXPECT_FALSE(edited->isError());

    // Only the description and items: the transaction stays where it is.
    value = *edited;
    value.setLevel2Key(7);
    value.setDescription("other work");
    const EntryCommit same = commitEntry(store, editRequest(edited, value, 0), prompter);
    EXPECT_EQ(same.stored, edited);
    EXPECT_FALSE(same.placedAgain);
    EXPECT_EQ(edited->level2Key(), 7);
    EXPECT_EQ(edited->description(), "other work");
    EXPECT_EQ(store.findDay(tuesday)->total(1, 7), 3600);
}

TEST_F(EntryCommitTest, ATransactionThatIsNotInTheStoreChangesNothing) {
    // Another store's transaction, or a copy: an edit must not land in this store by accident.
    const Transaction* kept = store.add(transaction(tuesday, hm(9, 0), hm(10, 0)));
    const Transaction copy = *kept;
    Transaction value = copy;
    value.setDate(today);
    for (int flags : {0, entryflag::kTimesChanged, entryflag::kDurationMode}) {
        const EntryCommit c = commitEntry(store, editRequest(&copy, value, flags), prompter);
        EXPECT_EQ(c.stored, nullptr);
        EXPECT_EQ(store.count(), 1u);
        EXPECT_EQ(store.findDay(today), nullptr);
        EXPECT_EQ(kept->date(), tuesday);
    }
    EXPECT_TRUE(prompter.empty());
}

TEST_F(EntryCommitTest, ACommitMarksOnlyTheDaysItTouches) {
    // Years of days. One far day is left with an overlap that was never marked: a commit that
    // re-marked the whole store would mark it.
    for (int i = 1; i <= 3000; ++i) {
        const TimeValue day = date(2010, 1, 1) + TimeValue(i * TimeValue::kDay);
        for (int h = 8; h < 16; h += 2) {
            store.add(transaction(day, hm(h, 0), hm(h + 1, 0)));
        }
    }
    const TimeValue far = date(2012, 5, 5);
    store.add(transaction(far, hm(8, 30), hm(8, 45)));
    const Transaction* unmarked = store.findDay(far)->at(0);
    ASSERT_EQ(unmarked->start(), hm(8, 0));
    ASSERT_FALSE(unmarked->isError());

    const EntryCommit added =
        commitEntry(store, addRequest(transaction(tuesday, hm(9, 0), hm(10, 0))), prompter);
    Transaction moved = *added.stored;
    moved.setDate(date(2015, 6, 1));
    moved.setStart(hm(8, 30));
    const EntryCommit c =
        commitEntry(store, editRequest(added.stored, moved, entryflag::kTimesChanged), prompter);

    EXPECT_EQ(c.stored, added.stored);
    EXPECT_EQ(times(store.findDay(date(2015, 6, 1))),
              (std::vector<std::string>{"8:00-9:00 error", "8:30-10:00", "10:00-11:00",
                                        "12:00-13:00", "14:00-15:00"}));
    EXPECT_EQ(store.findDay(tuesday), nullptr);
    EXPECT_FALSE(unmarked->isError());
}

} // namespace
} // namespace vsolo
