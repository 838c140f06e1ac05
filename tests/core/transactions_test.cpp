#include "core/model/levels.h"
#include "core/model/transactions.h"
#include "tests/support/dates.h"
#include "tests/support/transaction.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;
using testing::transaction;

constexpr std::int32_t kH = 3600;
constexpr std::int32_t kM = 60;

std::vector<std::string> times(const Day& day) {
    std::vector<std::string> out;
    for (const Transaction& t : day.transactions()) {
        out.push_back(t.start().clockTime() + "-" + t.end().clockTime());
    }
    return out;
}

class TransactionStoreTest : public ::testing::Test {
protected:
    TimeValue pastDay = date(1999, 3, 7);
    TimeValue today = date(2026, 12, 8);
    SettableClock clock{today + hm(14, 30) + TimeValue(25)};
    TransactionStore store{clock};
};

TEST_F(TransactionStoreTest, InsertionKeepsTimeOrderWithinADay) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    store.add(transaction(pastDay, hm(10, 0), hm(11, 0)));
    store.add(transaction(pastDay, hm(9, 0), hm(10, 0)));
    store.add(transaction(pastDay, hm(7, 0), hm(7, 30)));
    store.add(transaction(pastDay, hm(9, 0), hm(9, 30)));
    ASSERT_EQ(store.dayCount(), 1u);
    EXPECT_EQ(times(*store.day(0)),
              (std::vector<std::string>{"07:00-07:30", "08:00-09:00", "09:00-09:30", "09:00-10:00",
                                        "10:00-11:00"}));
}

TEST_F(TransactionStoreTest, EqualTransactionsGoAfterTheLastOrBeforeTheirTwin) {
    const Transaction* first = store.add(transaction(pastDay, hm(8, 0), hm(9, 0), 1, 1, "first"));
    const Transaction* second = store.add(transaction(pastDay, hm(8, 0), hm(9, 0), 1, 1, "second"));
    const Day& day = *store.day(0);
    EXPECT_EQ(day.at(0), first);
    EXPECT_EQ(day.at(1), second) << "equal to the last one: appended";

    store.add(transaction(pastDay, hm(10, 0), hm(11, 0)));
    const Transaction* third = store.add(transaction(pastDay, hm(8, 0), hm(9, 0), 1, 1, "third"));
    ASSERT_EQ(day.size(), 4u);
    EXPECT_EQ(day.at(0), third) << "later ones follow: inserted before the first equal one";
    EXPECT_EQ(day.at(1), first);
    EXPECT_EQ(day.at(2), second);
}

// Each transaction with its description naming where it came from, in store order.
std::vector<std::string> contents(const TransactionStore& s) {
    std::vector<std::string> out;
    for (const Day& day : s.days()) {
        for (const Transaction& t : day.transactions()) {
            out.push_back(day.date().shortDate() + " " + t.start().clockTime() + "-" +
                          t.end().clockTime() + " " + t.description() + " #" +
                          std::to_string(t.stamp()));
        }
    }
    return out;
}

// Adding many at once gives exactly what adding them one by one gives: the same days, the same
// order among equal transactions and the same stamps, whatever days the store held before.
TEST_F(TransactionStoreTest, AddingManyAtOnceEqualsAddingThemOneByOne) {
    std::mt19937 random(11);
    const std::vector<std::string> labels = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    for (int round = 0; round < 200; ++round) {
        TransactionStore one(clock), many(clock);
        // Few dates and few times, so that many transactions are equal.
        auto next = [&](int i) {
            const TimeValue day =
                pastDay + TimeValue(static_cast<std::int32_t>(random() % 3) * TimeValue::kDay);
            const int start = static_cast<int>(random() % 4);
            const int length = 1 + static_cast<int>(random() % 2);
            Transaction t =
                transaction(day, hm(8 + start, 0), hm(8 + start + length, 0), 1, 1,
                            labels[static_cast<std::size_t>(i) % labels.size()].c_str());
            if (random() % 3 != 0) {
                t.initStamp(1000 + i); // the others are given the time of day by the store
            }
            return t;
        };
        const int before = static_cast<int>(random() % 6);
        for (int i = 0; i < before; ++i) {
            const Transaction t = next(100 + i);
            one.add(t);
            many.add(t);
        }
        std::vector<std::unique_ptr<Transaction>> list;
        const int count = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            const Transaction t = next(i);
            one.add(t);
            list.push_back(std::make_unique<Transaction>(t));
        }
        many.addAll(std::move(list));
        ASSERT_EQ(contents(many), contents(one)) << "round " << round;
        for (std::size_t d = 0; d < many.dayCount(); ++d) {
            EXPECT_EQ(many.day(d)->total(), one.day(d)->total()) << "round " << round;
        }
    }
}

TEST_F(TransactionStoreTest, DaysStayInDateOrderOnePerDate) {
    std::mt19937 random(7);
    std::vector<int> offsets;
    for (int i = 0; i < 300; ++i) {
        offsets.push_back(static_cast<int>(random() % 60));
    }
    for (int offset : offsets) {
        store.add(transaction(pastDay + TimeValue(offset * TimeValue::kDay), hm(8, 0), hm(9, 0)));
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    ASSERT_EQ(store.dayCount(), offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        EXPECT_EQ(store.day(i)->date(), pastDay + TimeValue(offsets[i] * TimeValue::kDay));
        EXPECT_EQ(store.indexOfDay(store.day(i)->date()), static_cast<int>(i));
    }
    EXPECT_EQ(store.count(), 300u);
    EXPECT_EQ(store.indexOfDay(pastDay - TimeValue(TimeValue::kDay)), -1);
    EXPECT_EQ(store.findDay(pastDay + TimeValue(61 * TimeValue::kDay)), nullptr);
}

TEST_F(TransactionStoreTest, StampIsGivenOnlyWhenZero) {
    const Transaction* fresh = store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    EXPECT_EQ(fresh->stamp(), clock.now().seconds());
    Transaction kept = transaction(pastDay, hm(9, 0), hm(10, 0));
    kept.setStamp(42);
    EXPECT_EQ(store.add(kept)->stamp(), 42);

    // Stamps for transactions read from a file count up from the day's date value.
    Day& day = *store.day(0);
    EXPECT_EQ(day.freeStampFromDate(), pastDay.seconds());
    Transaction withDateStamp = transaction(pastDay, hm(11, 0), hm(12, 0));
    withDateStamp.setStamp(pastDay.seconds());
    store.add(withDateStamp);
    withDateStamp.setStamp(pastDay.seconds() + 2);
    store.add(withDateStamp);
    EXPECT_EQ(day.freeStampFromDate(), pastDay.seconds() + 1);
    withDateStamp.setStamp(pastDay.seconds() + 1);
    store.add(withDateStamp);
    EXPECT_EQ(day.freeStampFromDate(), pastDay.seconds() + 3);
}

TEST_F(TransactionStoreTest, RemovingTheLastTransactionRemovesTheDay) {
    const Transaction* only = store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    const Transaction* other = store.add(transaction(today, hm(8, 0), hm(9, 0)));
    std::unique_ptr<Transaction> taken = store.take(only);
    ASSERT_EQ(taken.get(), only);
    EXPECT_EQ(store.findDay(pastDay), nullptr);
    EXPECT_EQ(store.dayCount(), 1u);
    EXPECT_EQ(store.remove(only), -1) << "no day for that date any more";
    Transaction stranger = transaction(today, hm(8, 0), hm(9, 0));
    EXPECT_EQ(store.remove(&stranger), -1) << "the day does not hold it";
    EXPECT_EQ(store.remove(nullptr), -1);
    EXPECT_TRUE(store.removeAndDestroy(other));
    EXPECT_TRUE(store.empty());
}

TEST_F(TransactionStoreTest, UpdateKeepsTheAddressAndMovesToTheNewPlace) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    const Transaction* edited = store.add(transaction(pastDay, hm(10, 0), hm(11, 0), 1, 1, "old"));
    store.add(transaction(pastDay, hm(12, 0), hm(13, 0)));

    Transaction value = *edited;
    value.setDescription("new");
    value.setLevel1Key(5);
    EXPECT_EQ(store.update(edited, value), edited);
    EXPECT_EQ(store.day(0)->at(1), edited) << "same times: same place";
    EXPECT_EQ(edited->description(), "new");
    EXPECT_EQ(store.total(store.allDays(), 5), 60 * kM);

    value.setStart(hm(13, 30));
    value.setEnd(hm(14, 0));
    EXPECT_EQ(store.update(edited, value), edited);
    EXPECT_EQ(times(*store.day(0)),
              (std::vector<std::string>{"08:00-09:00", "12:00-13:00", "13:30-14:00"}));

    value.setDate(today);
    EXPECT_EQ(store.update(edited, value), edited);
    EXPECT_EQ(store.dayCount(), 2u);
    EXPECT_EQ(store.findDay(today)->at(0), edited);
    EXPECT_EQ(store.findDay(pastDay)->size(), 2u);

    Transaction stranger = transaction(today, hm(8, 0), hm(9, 0));
    EXPECT_EQ(store.update(&stranger, value), nullptr);
    EXPECT_EQ(store.count(), 3u);
}

TEST_F(TransactionStoreTest, RekeyChangesOnlyTheMatchingPair) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0), 3, 4));
    store.add(transaction(pastDay, hm(9, 0), hm(10, 0), 3, 5));
    store.add(transaction(today, hm(8, 0), hm(8, 30), 3, 4));
    store.add(transaction(today, hm(9, 0), hm(9, 30), 4, 4));
    EXPECT_EQ(store.rekey(3, 4, 1, 2), 2u);
    EXPECT_EQ(store.total(store.allDays(), 1, 2), 90 * kM);
    EXPECT_EQ(store.total(store.allDays(), 3), 60 * kM);
    EXPECT_EQ(store.findByKeys(3, 4), nullptr);
    EXPECT_EQ(store.rekey(7, 7, 1, 1), 0u);
}

TEST_F(TransactionStoreTest, RemoveDayAndClear) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    store.add(transaction(pastDay, hm(9, 0), hm(10, 0)));
    store.add(transaction(today, hm(8, 0), hm(9, 0)));
    Day foreign(pastDay);
    EXPECT_FALSE(store.removeDay(&foreign));
    EXPECT_TRUE(store.removeDay(store.findDay(pastDay)));
    EXPECT_EQ(store.count(), 1u);
    store.clear();
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(store.count(), 0u);
}

TEST_F(TransactionStoreTest, DayRangeSwapsBoundsAndFindsOnlyDaysInside) {
    for (int d : {1, 5, 9}) {
        store.add(transaction(date(2026, 3, d), hm(8, 0), hm(9, 0)));
    }
    auto range = store.dayRange(date(2026, 3, 2), date(2026, 3, 8));
    EXPECT_EQ(range.first, 1);
    EXPECT_EQ(range.last, 1);
    range = store.dayRange(date(2026, 3, 8), date(2026, 3, 2));
    EXPECT_EQ(range.first, 1);
    EXPECT_EQ(range.last, 1);
    range = store.dayRange(date(2026, 3, 1), date(2026, 3, 9));
    EXPECT_EQ(range.first, 0);
    EXPECT_EQ(range.last, 2);
    EXPECT_TRUE(store.dayRange(date(2026, 3, 6), date(2026, 3, 8)).empty());
    EXPECT_TRUE(store.dayRange(date(2026, 3, 10), date(2026, 4, 8)).empty());
    EXPECT_TRUE(store.dayRange(date(2026, 2, 1), date(2026, 2, 28)).empty());
    range = store.dayRange(date(2026, 2, 1), date(2026, 3, 1));
    EXPECT_EQ(range.first, 0);
    EXPECT_EQ(range.last, 0);
    EXPECT_EQ(store.allDays().last, 2);
    TransactionStore empty{clock};
    EXPECT_TRUE(empty.dayRange(date(2026, 2, 1), date(2026, 3, 1)).empty());
    EXPECT_TRUE(empty.allDays().empty());
}

TEST_F(TransactionStoreTest, TotalsFilterByKeysAndSkipErrors) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0), 1, 10));
    store.add(transaction(pastDay, hm(9, 0), hm(9, 30), 1, 11));
    store.add(transaction(pastDay + TimeValue(TimeValue::kDay), hm(8, 0), hm(10, 0), 2, 10));
    Transaction faultyRow =
        transaction(pastDay + TimeValue(TimeValue::kDay), hm(11, 0), hm(15, 0), 1, 10);
    faultyRow.setError(true);
    const Transaction* faulty = store.add(faultyRow);
    store.add(transaction(pastDay + TimeValue(2 * TimeValue::kDay), hm(8, 0), hm(8, 15), 1, 10));

    const auto all = store.allDays();
    EXPECT_EQ(store.total(all), (60 + 30 + 120 + 15) * kM);
    EXPECT_EQ(store.total(all, 1), (60 + 30 + 15) * kM);
    EXPECT_EQ(store.total(all, 1, 10), (60 + 15) * kM);
    EXPECT_EQ(store.total(all, 0, 10), (60 + 120 + 15) * kM)
        << "a zero level-1 key does not filter";
    EXPECT_EQ(store.total(all, 3), 0);
    EXPECT_EQ(store.total(store.dayRange(pastDay, pastDay), 1), 90 * kM);
    EXPECT_EQ(store.total({}), 0);
    EXPECT_EQ(store.day(1)->total(), 120 * kM);
    EXPECT_EQ(faulty->duration(), 0);
}

TEST_F(TransactionStoreTest, FindByKeysTakesTheFirstInStoreOrder) {
    store.add(
        transaction(pastDay + TimeValue(TimeValue::kDay), hm(8, 0), hm(9, 0), 4, 7, "later day"));
    const Transaction* earliest =
        store.add(transaction(pastDay, hm(10, 0), hm(11, 0), 4, 7, "earlier day"));
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0), 4, 8));
    EXPECT_EQ(store.findByKeys(4, 7), earliest);
    EXPECT_EQ(store.findByKeys(4, 9), nullptr);
    EXPECT_EQ(store.findByKeys(7, 4), nullptr);
}

TEST_F(TransactionStoreTest, ErrorMarksFlagOverlapsAndRespectSentNeighbours) {
    const Transaction* a = store.add(transaction(pastDay, hm(8, 0), hm(10, 0)));
    const Transaction* b = store.add(transaction(pastDay, hm(9, 30), hm(11, 0)));
    const Transaction* empty = store.add(transaction(pastDay, hm(12, 0), hm(12, 0)));
    store.markErrors(store.allDays());
    EXPECT_TRUE(a->isError()) << "the next one starts before it ends";
    EXPECT_FALSE(b->isError());
    EXPECT_TRUE(empty->isError()) << "no length";
    const TimeValue nextDay = pastDay + TimeValue(TimeValue::kDay);
    const Transaction* backwards = store.add(transaction(nextDay, hm(15, 0), hm(14, 0)));
    EXPECT_EQ(backwards->duration(), 0) << "ending before its start takes no time away";
    EXPECT_EQ(store.total(store.dayRange(nextDay, nextDay)), 0);
    store.markErrors(store.allDays());
    EXPECT_TRUE(backwards->isError());

    // A sent transaction keeps whatever mark it has, and marks its unsent successor when the
    // successor starts before it ends.
    store.clear();
    auto sentRow = [&](TimeValue start, TimeValue end, bool error) {
        Transaction t = transaction(pastDay, start, end);
        t.setSent(true);
        t.setError(error);
        return store.add(t);
    };
    const Transaction* sent = sentRow(hm(8, 0), hm(10, 0), false);
    const Transaction* after = store.add(transaction(pastDay, hm(9, 0), hm(11, 0)));
    const Transaction* sentZero = sentRow(hm(12, 0), hm(12, 0), false);
    const Transaction* clean = store.add(transaction(pastDay, hm(12, 0), hm(13, 0)));
    const Transaction* sentOverlapped = sentRow(hm(12, 30), hm(14, 0), true);
    store.day(0)->markErrors();
    EXPECT_FALSE(sent->isError()) << "sent transactions are never re-marked";
    EXPECT_TRUE(after->isError()) << "starts before the sent one before it ends";
    EXPECT_FALSE(sentZero->isError()) << "sent transactions are never re-marked";
    EXPECT_TRUE(clean->isError()) << "the next one starts before it ends";
    EXPECT_TRUE(sentOverlapped->isError());

    // Marks are recomputed, so a fixed overlap clears the mark.
    store.take(after);
    store.day(0)->markErrors();
    EXPECT_TRUE(clean->isError());
    EXPECT_EQ(store.total(store.allDays()), 120 * kM);
    Transaction later = *sentOverlapped;
    later.setStart(hm(13, 0));
    EXPECT_EQ(store.update(sentOverlapped, later), sentOverlapped);
    store.day(0)->markErrors();
    EXPECT_FALSE(clean->isError());
    EXPECT_EQ(store.total(store.allDays()), 180 * kM) << "sums follow the changed marks";
}

TEST_F(TransactionStoreTest, ErrorMarksOnlyTouchTheGivenRange) {
    const Transaction* first = store.add(transaction(pastDay, hm(8, 0), hm(8, 0)));
    const Transaction* second = store.add(transaction(today, hm(8, 0), hm(8, 0)));
    store.markErrors(store.dayRange(today, today));
    EXPECT_FALSE(first->isError());
    EXPECT_TRUE(second->isError());
    store.markErrors({});
    EXPECT_FALSE(first->isError());
}

TEST_F(TransactionStoreTest, SentMarksPerDay) {
    Transaction alreadySent = transaction(pastDay, hm(8, 0), hm(9, 0));
    alreadySent.setSent(true);
    const Transaction* a = store.add(alreadySent);
    const Transaction* b = store.add(transaction(pastDay, hm(9, 0), hm(10, 0)));
    Day& day = *store.day(0);
    EXPECT_EQ(day.countUnsent(), 1);
    const TimeValue aModified = a->modified();
    {
        SettableClock later(TimeValue(999));
        ScopedModificationClock scope(later);
        day.markSent();
        EXPECT_EQ(a->modified(), aModified) << "already sent: not changed, not stamped";
        EXPECT_EQ(b->modified().seconds(), 999) << "setting the mark stamps the change";
    }
    EXPECT_TRUE(b->isSent());
    EXPECT_EQ(day.countUnsent(), 0);
    EXPECT_EQ(day.lastTransaction(), b);
}

TEST(TransactionNames, ItemsAreFoundByShapeAndMissingOnesShowAQuestionMark) {
    LevelList level1(1);
    LevelList level2(2);
    level1.setPartner(&level2);
    level2.setPartner(&level1);
    LevelItem project;
    project.setName("Build");
    project.setGroupNumber(3);
    project.setSubId(0);
    LevelItem* p = level1.add(project);
    LevelItem activity;
    activity.setName("Design");
    activity.setGroupNumber(3);
    activity.setSubId(17);
    LevelItem* a = level2.add(activity);
    LevelItem sameSubOtherGroup;
    sameSubOtherGroup.setName("Elsewhere");
    sameSubOtherGroup.setGroupNumber(4);
    sameSubOtherGroup.setSubId(18);
    level2.add(sameSubOtherGroup);

    Transaction t = transaction(date(2026, 1, 5), hm(8, 0), hm(9, 0), 3, 17);
    EXPECT_EQ(t.level1Item(level1, true), p);
    EXPECT_EQ(level1Name(t, level1, true), "Build");
    EXPECT_EQ(level2Name(t, level2, true), "Design");
    EXPECT_EQ(level1Name(t, level1, false), "?") << "legacy lookup uses the sub-id, 0 here";

    t.setLevel2Key(18);
    EXPECT_EQ(level2Name(t, level2, true), "?") << "sub-id 18 belongs to another group";
    EXPECT_EQ(level2Name(t, level2, false), "Elsewhere");

    // A cached link never outlives its item.
    t.setLevel2Key(17);
    EXPECT_EQ(t.level2Item(level2, true), a);
    ASSERT_TRUE(level2.remove(a));
    EXPECT_EQ(level2Name(t, level2, true), "?");

    // Re-keyed items are found under their new numbers, not through the old link.
    EXPECT_EQ(t.level1Item(level1, true), p);
    p->setGroupNumber(9);
    EXPECT_EQ(level1Name(t, level1, true), "?");
    t.setLevel1Key(9);
    EXPECT_EQ(level1Name(t, level1, true), "Build");

    // A link cached against one list is not taken for an item of another list.
    LevelList otherList(1);
    EXPECT_EQ(t.level1Item(otherList, true), nullptr);
}

TEST(TransactionNames, ForgetItemClearsMatchingLinksOnly) {
    SettableClock clock(TimeValue(1000));
    TransactionStore store(clock);
    LevelList level1(1);
    LevelItem item;
    item.setName("A");
    item.setSubId(5);
    level1.add(item);
    const TimeValue day = date(2020, 1, 1);
    const Transaction* mine = store.add(transaction(day, hm(8, 0), hm(9, 0), 5, 1));
    const Transaction* other = store.add(transaction(day, hm(9, 0), hm(10, 0), 6, 1));
    EXPECT_NE(mine->level1Item(level1, false), nullptr);
    store.forgetItem(6, 1);
    store.forgetItem(5, 2);
    store.forgetItem(5, 1);
    // After forgetting, the next lookup finds the item again by its key.
    EXPECT_EQ(level1Name(*mine, level1, false), "A");
    EXPECT_EQ(level1Name(*other, level1, false), "?");
}

TEST(TransactionRecord, SettersStampOnlyRealChanges) {
    SettableClock fixed(TimeValue(5000));
    ScopedModificationClock scope(fixed);
    Transaction t;
    t.setDescription("x");
    EXPECT_EQ(t.modified().seconds(), 5000);
    fixed.set(TimeValue(6000));
    t.setDescription("x");
    t.setSent(false);
    t.setLevel1Key(0);
    EXPECT_EQ(t.modified().seconds(), 5000);
    t.setEnd(TimeValue(60));
    EXPECT_EQ(t.modified().seconds(), 6000);
    EXPECT_EQ(t.duration(), 60);
    t.setError(true);
    EXPECT_EQ(t.duration(), 0);
}

class PlaceDurationTest : public TransactionStoreTest {
protected:
    PlaceResult place(TimeValue day, TimeValue duration, TimeValue proposedStart = hm(8, 30),
                      bool insert = false) {
        placed = transaction(day, proposedStart, proposedStart);
        return store.placeDuration(placed, duration, insert);
    }
    std::string placedTimes() const {
        return placed.start().clockTime() + "-" + placed.end().clockTime();
    }
    Transaction placed;
};

TEST_F(PlaceDurationTest, FillsTheSmallestGapThatIsLongEnough) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    store.add(transaction(pastDay, hm(11, 0), hm(12, 0)));
    ASSERT_EQ(place(pastDay, hm(1, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "09:00-10:00");
    ASSERT_EQ(place(pastDay, hm(3, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "12:00-15:00") << "no gap is longer: after the last one";
    EXPECT_EQ(place(pastDay, hm(23, 0)), PlaceResult::TooManyHours);
    EXPECT_EQ(store.count(), 2u) << "nothing is inserted unless asked";

    // Gaps of 2:00, 1:00 and 1:30 for 0:45: the 1:00 gap; a gap of exactly the duration is skipped.
    store.clear();
    store.add(transaction(pastDay, hm(6, 0), hm(7, 0)));
    store.add(transaction(pastDay, hm(9, 0), hm(10, 0)));
    store.add(transaction(pastDay, hm(11, 0), hm(12, 0)));
    store.add(transaction(pastDay, hm(13, 30), hm(14, 0)));
    ASSERT_EQ(place(pastDay, hm(0, 45)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "10:00-10:45");
    ASSERT_EQ(place(pastDay, hm(1, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "12:00-13:00");

    // Two equal gaps: the earlier one.
    store.clear();
    store.add(transaction(pastDay, hm(6, 0), hm(7, 0)));
    store.add(transaction(pastDay, hm(9, 0), hm(10, 0)));
    store.add(transaction(pastDay, hm(12, 0), hm(13, 0)));
    ASSERT_EQ(place(pastDay, hm(1, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "07:00-08:00");
}

TEST_F(PlaceDurationTest, FallsBackToBeforeTheFirstOrReportsNoRoom) {
    store.add(transaction(pastDay, hm(1, 0), hm(12, 0)));
    store.add(transaction(pastDay, hm(12, 30), hm(23, 0)));
    ASSERT_EQ(place(pastDay, hm(1, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "00:00-01:00");

    store.clear();
    store.add(transaction(pastDay, hm(0, 30), hm(12, 0)));
    store.add(transaction(pastDay, hm(12, 30), hm(23, 0)));
    EXPECT_EQ(place(pastDay, hm(1, 0)), PlaceResult::NoRoom);
    ASSERT_EQ(place(pastDay, hm(0, 59)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "23:00-23:59") << "ending exactly at the limit is allowed";
}

TEST_F(PlaceDurationTest, EmptyDaysStartAtTheProposedStartWithinTheLimit) {
    ASSERT_EQ(place(pastDay, hm(2, 0), hm(8, 30)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "08:30-10:30");
    ASSERT_EQ(place(pastDay, hm(2, 0), hm(22, 30)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "00:00-02:00") << "a past day that overflows starts at midnight";
    ASSERT_EQ(place(pastDay, hm(23, 59), hm(0, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "00:00-23:59");
    EXPECT_EQ(place(pastDay, hm(23, 59) + TimeValue(60)), PlaceResult::TooManyHours);
}

TEST_F(PlaceDurationTest, TodayIsLimitedByTheClock) {
    // The clock reads 14:30:25; the limit is 14:30.
    ASSERT_EQ(place(today, hm(2, 0), hm(13, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "12:30-14:30") << "ends now instead of in the future";
    ASSERT_EQ(place(today, hm(14, 30), hm(8, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "00:00-14:30");
    EXPECT_EQ(place(today, hm(14, 31)), PlaceResult::TooManyHours);

    store.add(transaction(today, hm(8, 0), hm(12, 0)));
    ASSERT_EQ(place(today, hm(2, 30)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "12:00-14:30");
    ASSERT_EQ(place(today, hm(2, 31)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "05:29-08:00") << "after the last would pass the clock";
    EXPECT_EQ(place(today, hm(10, 31)), PlaceResult::TooManyHours);

    clock.advance(TimeValue::kDay); // tomorrow the same day is a past day
    ASSERT_EQ(place(today, hm(3, 0)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "12:00-15:00");
}

TEST_F(PlaceDurationTest, ErrorRowsCountNothingTowardsTheDay) {
    Transaction faulty = transaction(pastDay, hm(0, 0), hm(23, 0));
    faulty.setError(true);
    store.add(faulty);
    store.add(transaction(pastDay, hm(23, 0), hm(23, 10)));
    ASSERT_EQ(place(pastDay, hm(0, 40)), PlaceResult::Placed);
    EXPECT_EQ(placedTimes(), "23:10-23:50");
}

TEST_F(PlaceDurationTest, InsertsWhenAsked) {
    store.add(transaction(pastDay, hm(8, 0), hm(9, 0)));
    ASSERT_EQ(place(pastDay, hm(1, 0), hm(0, 0), true), PlaceResult::Placed);
    EXPECT_EQ(times(*store.day(0)), (std::vector<std::string>{"08:00-09:00", "09:00-10:00"}));
    ASSERT_EQ(place(date(1999, 3, 8), hm(1, 0), hm(7, 0), true), PlaceResult::Placed);
    EXPECT_EQ(store.dayCount(), 2u);
    EXPECT_EQ(times(*store.day(1)), (std::vector<std::string>{"07:00-08:00"}));
    EXPECT_EQ(place(pastDay, hm(23, 0), hm(0, 0), true), PlaceResult::TooManyHours);
    EXPECT_EQ(store.count(), 3u);
}

} // namespace
} // namespace vsolo
