#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/model/transactions.h"
#include "core/tracker.h"
#include "tests/support/dates.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

const TimeValue kDay = date(2024, 3, 15);
const TimeValue kNextDay = date(2024, 3, 16);

// What a receiver saw: the code, the value, and the engine's state at that moment.
struct Seen {
    int code;
    int value;
    bool tracking;
    Transaction running;
};

// A notification target that records everything and answers the two requests from a script;
// without a scripted answer it allows.
class RecordingListener final : public TrackerListener {
public:
    int trackerNotify(Tracker& tracker, int code, int value) override {
        seen.push_back({code, value, tracker.isTracking(), tracker.running()});
        if (log) {
            log->push_back(name + " " + std::to_string(code));
        }
        if (code != trackercode::kMayStart && code != trackercode::kMayStop) {
            return 0;
        }
        if (answers.empty()) {
            return 1;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<int> codes() const {
        std::vector<int> out;
        for (const Seen& s : seen) {
            out.push_back(s.code);
        }
        return out;
    }
    std::vector<Seen> ofCode(int code) const {
        std::vector<Seen> out;
        for (const Seen& s : seen) {
            if (s.code == code) {
                out.push_back(s);
            }
        }
        return out;
    }

    std::vector<Seen> seen;
    std::deque<int> answers;
    std::string name;
    std::vector<std::string>* log = nullptr;
};

class TrackerTest : public ::testing::Test {
protected:
    // A tracker made at the given time, with both targets set and the view's first notification
    // forgotten.
    Tracker& makeAt(TimeValue instant, TimeValue dayStart = TimeValue(30600)) {
        m_clock.set(instant);
        m_tracker.emplace(m_clock, dayStart);
        m_tracker->setViewTarget(&m_view);
        m_tracker->setMainTarget(&m_main);
        m_view.seen.clear();
        return *m_tracker;
    }

    // Sets the clock and passes one tick.
    Tracker::ClockAction tickAt(TimeValue instant, int clock = kMinuteClock) {
        m_clock.set(instant);
        return m_tracker->tick(clock);
    }

    SettableClock m_clock;
    RecordingListener m_view;
    RecordingListener m_main;
    std::optional<Tracker> m_tracker;
};

// ---------------------------------------------------------------------------------------------
// Construction and targets

TEST_F(TrackerTest, StartsIdleOnTodayAtTheCurrentMinute) {
    m_clock.set(kDay + hm(9, 14, 30));
    Tracker tracker(m_clock);
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.currentDay(), kDay);
    EXPECT_EQ(tracker.now(), hm(9, 14));
    EXPECT_EQ(tracker.running().date(), kDay);
    EXPECT_EQ(tracker.running().start(), hm(9, 14));
    EXPECT_EQ(tracker.running().end(), hm(9, 14));
    EXPECT_EQ(tracker.dayStart(), hm(8, 30));
}

TEST_F(TrackerTest, SettingTheViewTargetNotifiesIt) {
    m_clock.set(kDay + hm(9, 0));
    Tracker tracker(m_clock);
    tracker.setViewTarget(&m_view);
    ASSERT_EQ(m_view.seen.size(), 1u);
    EXPECT_EQ(m_view.seen[0].code, trackercode::kTick);
    EXPECT_EQ(m_view.seen[0].value, 0);
    EXPECT_EQ(tracker.viewTarget(), &m_view);
    tracker.setViewTarget(nullptr); // nothing to notify, nothing breaks
    EXPECT_EQ(tracker.viewTarget(), nullptr);
}

// A clock whose readings come from a list, the last one repeating: it shows whether the engine
// takes the date and the time of one moment from one reading.
class SteppingClock final : public Clock {
public:
    explicit SteppingClock(std::vector<TimeValue> readings) : m_readings(std::move(readings)) {}
    TimeValue now() const override {
        const TimeValue v = m_readings[m_next];
        if (m_next + 1 < m_readings.size()) {
            ++m_next;
        }
        return v;
    }

private:
    std::vector<TimeValue> m_readings;
    mutable std::size_t m_next = 0;
};

TEST(TrackerClockReading, ConstructionJustBeforeMidnightTakesDateAndTimeFromOneReading) {
    SteppingClock clock({kDay + hm(23, 59, 59), kNextDay + hm(0, 0, 0)});
    Tracker tracker(clock);
    EXPECT_EQ(tracker.currentDay(), kDay);
    EXPECT_EQ(tracker.running().date(), kDay);
    EXPECT_EQ(tracker.now(), hm(23, 59));
    EXPECT_EQ(tracker.running().start(), hm(23, 59));
}

TEST(TrackerClockReading, TickJustBeforeMidnightNeverGivesTheNewDayAnOldTime) {
    RecordingListener view, main;
    SteppingClock clock({kDay + hm(23, 50), kDay + hm(23, 59, 59), kNextDay + hm(0, 0, 0)});
    Tracker tracker(clock);
    tracker.setViewTarget(&view);
    tracker.setMainTarget(&main);
    ASSERT_TRUE(tracker.start(false));
    tracker.tick(kMinuteClock); // reads 23:59:59 once; any second reading would be the new day
    EXPECT_EQ(tracker.currentDay(), kDay);
    EXPECT_EQ(tracker.running().end(), hm(23, 59));
    EXPECT_TRUE(main.seen.empty());

    tracker.tick(kMinuteClock); // 0:00 of the next day
    const auto stored = main.ofCode(trackercode::kStore);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].running.date(), kDay);
    EXPECT_EQ(stored[0].running.start(), hm(23, 50));
    EXPECT_EQ(stored[0].running.end(), hm(23, 59));
    EXPECT_EQ(tracker.running().date(), kNextDay);
    EXPECT_EQ(tracker.running().start(), hm(0, 0));
}

// ---------------------------------------------------------------------------------------------
// The clocks

TEST_F(TrackerTest, SecondClockIsSilentUntilTheWholeMinuteThenSwitchesToTheMinuteClock) {
    Tracker& tracker = makeAt(kDay + hm(9, 14, 30));
    ASSERT_TRUE(tracker.start(false));
    EXPECT_EQ(tracker.running().start(), hm(9, 14));
    m_view.seen.clear();

    for (int second = 31; second < 60; ++second) {
        EXPECT_EQ(tickAt(kDay + hm(9, 14, second), kSecondClock), Tracker::ClockAction::None)
            << second;
    }
    EXPECT_TRUE(m_view.seen.empty());
    EXPECT_EQ(tracker.running().end(), hm(9, 14));

    EXPECT_EQ(tickAt(kDay + hm(9, 15, 0), kSecondClock), Tracker::ClockAction::SwitchToMinuteClock);
    ASSERT_EQ(m_view.seen.size(), 1u);
    EXPECT_EQ(m_view.seen[0].code, trackercode::kTick);
    EXPECT_EQ(m_view.seen[0].value, kMinuteClock);
    EXPECT_EQ(tracker.running().end(), hm(9, 15));
    EXPECT_EQ(m_view.seen[0].running.end(), hm(9, 15)); // moved before the view is told

    EXPECT_EQ(tickAt(kDay + hm(9, 16, 0)), Tracker::ClockAction::None);
    EXPECT_EQ(tracker.running().end(), hm(9, 16));
    EXPECT_EQ(tickAt(kDay + hm(9, 17, 0)), Tracker::ClockAction::None);
    EXPECT_EQ(tracker.running().end(), hm(9, 17));
    EXPECT_EQ(tracker.running().start(), hm(9, 14));
    EXPECT_EQ(m_view.ofCode(trackercode::kTick).size(), 3u);
}

TEST_F(TrackerTest, IdleMinuteTicksMoveStartAndEndTogether) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    tickAt(kDay + hm(9, 1));
    EXPECT_EQ(tracker.running().start(), hm(9, 1));
    EXPECT_EQ(tracker.running().end(), hm(9, 1));
    // The minute tick reads the whole minute even when the timer fires a little late.
    tickAt(kDay + hm(9, 2, 1));
    EXPECT_EQ(tracker.running().start(), hm(9, 2));
    EXPECT_EQ(tracker.running().end(), hm(9, 2));
    EXPECT_EQ(tracker.now(), hm(9, 2));
}

TEST_F(TrackerTest, OtherClockNumbersOnlyNotifyWithTheirNumber) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    ASSERT_TRUE(tracker.start(false));
    m_view.seen.clear();
    EXPECT_EQ(tickAt(kDay + hm(9, 5), 7), Tracker::ClockAction::None);
    ASSERT_EQ(m_view.seen.size(), 1u);
    EXPECT_EQ(m_view.seen[0].code, trackercode::kTick);
    EXPECT_EQ(m_view.seen[0].value, 7);
    EXPECT_EQ(tracker.running().end(), hm(9, 0));
    EXPECT_EQ(tracker.now(), hm(9, 5));
}

// ---------------------------------------------------------------------------------------------
// Starting

TEST_F(TrackerTest, StartNowAsksTheViewThenReportsTheStart) {
    Tracker& tracker = makeAt(kDay + hm(10, 20, 40));
    ASSERT_TRUE(tracker.start(false));
    EXPECT_TRUE(tracker.isTracking());
    EXPECT_EQ(tracker.running().date(), kDay);
    EXPECT_EQ(tracker.running().start(), hm(10, 20));
    EXPECT_EQ(tracker.running().end(), hm(10, 20));
    EXPECT_EQ(m_view.codes(), (std::vector<int>{trackercode::kMayStart, trackercode::kStarted}));
    EXPECT_FALSE(m_view.seen[0].tracking);
    EXPECT_TRUE(m_view.seen[1].tracking);
    EXPECT_TRUE(m_main.seen.empty());
}

TEST_F(TrackerTest, StartFromLastOffersTheDayStartFirstThenTheLastEnd) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.startFromLastTime(), hm(8, 30));
    EXPECT_TRUE(tracker.canStartFromLast());

    ASSERT_TRUE(tracker.start(true));
    EXPECT_EQ(tracker.running().start(), hm(8, 30));
    EXPECT_EQ(tracker.running().end(), hm(9, 0));
    tickAt(kDay + hm(10, 5));
    ASSERT_TRUE(tracker.stop());
    EXPECT_TRUE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.lastEnd(), hm(10, 5));
    EXPECT_EQ(tracker.startFromLastTime(), hm(10, 5));

    tickAt(kDay + hm(10, 40));
    EXPECT_TRUE(tracker.canStartFromLast());
    ASSERT_TRUE(tracker.start(true));
    EXPECT_EQ(tracker.running().start(), hm(10, 5));
    EXPECT_EQ(tracker.running().end(), hm(10, 40));
}

TEST_F(TrackerTest, StartFromLastIsUnavailableBeforeTheDayStart) {
    Tracker& tracker = makeAt(kDay + hm(8, 0));
    EXPECT_FALSE(tracker.canStartFromLast());
    // Refused without asking the view: the transaction would end before it began.
    EXPECT_FALSE(tracker.start(true));
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_TRUE(m_view.seen.empty());

    tickAt(kDay + hm(8, 29));
    EXPECT_FALSE(tracker.canStartFromLast());
    tickAt(kDay + hm(8, 30));
    EXPECT_TRUE(tracker.canStartFromLast()); // not later than now is enough
    ASSERT_TRUE(tracker.start(true));
    EXPECT_EQ(tracker.running().start(), hm(8, 30));
}

TEST_F(TrackerTest, AVetoedStartChangesNothing) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    tickAt(kDay + hm(9, 10));
    m_view.seen.clear();
    int running = 0;
    tracker.onRunning = [&running](const Tracker&) { ++running; };
    m_view.answers = {0, 0};
    EXPECT_FALSE(tracker.start(false));
    EXPECT_FALSE(tracker.start(true));
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_EQ(m_view.codes(), (std::vector<int>{trackercode::kMayStart, trackercode::kMayStart}));
    EXPECT_EQ(tracker.running().start(), hm(9, 10));
    EXPECT_EQ(running, 0);
}

TEST_F(TrackerTest, WithoutAViewThereIsNoStartAndNoStop) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    tracker.setViewTarget(nullptr);
    EXPECT_FALSE(tracker.start(false));
    EXPECT_FALSE(tracker.isTracking());

    tracker.setViewTarget(&m_view);
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 30));
    tracker.setViewTarget(nullptr);
    EXPECT_FALSE(tracker.stop());
    EXPECT_TRUE(tracker.isTracking());
    EXPECT_TRUE(m_main.seen.empty());
}

// ---------------------------------------------------------------------------------------------
// Stopping

TEST_F(TrackerTest, StopAsksTheViewAndHandsTheTransactionToTheMainTargetOnly) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    tracker.setItems(3, 7);
    tracker.setDescription("Review");
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 45));
    m_view.seen.clear();

    ASSERT_TRUE(tracker.stop());
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_EQ(m_view.codes(), (std::vector<int>{trackercode::kMayStop, trackercode::kStopping,
                                                trackercode::kTick}));
    EXPECT_TRUE(m_view.seen[1].tracking);  // told before it happens
    EXPECT_FALSE(m_view.seen[2].tracking); // and after
    EXPECT_EQ(m_view.seen[2].value, 0);

    ASSERT_EQ(m_main.seen.size(), 1u);
    const Seen& store = m_main.seen[0];
    EXPECT_EQ(store.code, trackercode::kStore);
    EXPECT_EQ(store.running.date(), kDay);
    EXPECT_EQ(store.running.start(), hm(9, 0));
    EXPECT_EQ(store.running.end(), hm(9, 45));
    EXPECT_EQ(store.running.level1Key(), 3);
    EXPECT_EQ(store.running.level2Key(), 7);
    EXPECT_EQ(store.running.description(), "Review");
    EXPECT_EQ(tracker.lastEnd(), hm(9, 45));
}

TEST_F(TrackerTest, StartWhileTrackingAndStopWhileIdleSucceedWithoutNotifying) {
    Tracker& tracker = makeAt(kDay + hm(10, 0));
    EXPECT_TRUE(tracker.stop());
    EXPECT_TRUE(m_view.seen.empty());
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(10, 30));
    m_view.seen.clear();
    EXPECT_TRUE(tracker.start(false));
    EXPECT_TRUE(tracker.start(true));
    EXPECT_TRUE(m_view.seen.empty());
    EXPECT_EQ(tracker.running().start(), hm(10, 0));
    EXPECT_TRUE(m_main.seen.empty());
}
TEST_F(TrackerTest, AVetoedStopKeepsTrackingAndStoresNothing) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 30));
    int stopped = 0;
    tracker.onStopped = [&stopped](const Tracker&) { ++stopped; };
    m_view.seen.clear();
    m_view.answers = {0};
    EXPECT_FALSE(tracker.stop());
    EXPECT_TRUE(tracker.isTracking());
    EXPECT_EQ(m_view.codes(), (std::vector<int>{trackercode::kMayStop}));
    EXPECT_TRUE(m_main.seen.empty());
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(stopped, 0);
    // The next minute still moves the end.
    tickAt(kDay + hm(9, 31));
    EXPECT_EQ(tracker.running().end(), hm(9, 31));
}

TEST_F(TrackerTest, AStopWithinTheStartMinuteStoresNothingAndKeepsTheLastEnd) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(10, 5));
    ASSERT_TRUE(tracker.stop());
    ASSERT_EQ(m_main.seen.size(), 1u);

    tickAt(kDay + hm(10, 7));
    ASSERT_TRUE(tracker.start(false));
    m_clock.set(kDay + hm(10, 7, 40));
    m_view.seen.clear();
    ASSERT_TRUE(tracker.stop());
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_EQ(m_main.seen.size(), 1u); // nothing more was stored
    EXPECT_EQ(tracker.lastEnd(), hm(10, 5));
    EXPECT_EQ(tracker.startFromLastTime(), hm(10, 5));
    // The view still hears the stop.
    EXPECT_EQ(m_view.codes(), (std::vector<int>{trackercode::kMayStop, trackercode::kStopping,
                                                trackercode::kTick}));
}

TEST_F(TrackerTest, ForceStopStopsEvenWhenTheViewRefuses) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 20));
    m_view.answers = {0};
    tracker.forceStop();
    EXPECT_FALSE(tracker.isTracking());
    ASSERT_EQ(m_main.seen.size(), 1u);
    EXPECT_EQ(m_main.seen[0].running.end(), hm(9, 20));
    // Idle: nothing more happens.
    m_view.seen.clear();
    tracker.forceStop();
    EXPECT_TRUE(m_view.seen.empty());
    EXPECT_EQ(m_main.seen.size(), 1u);
}

TEST_F(TrackerTest, TheViewsTakeOverDuringTheStopRequestIsWhatIsStored) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 50));

    // A view that copies its fields into the running transaction when asked.
    class TakingView final : public TrackerListener {
    public:
        int trackerNotify(Tracker& t, int code, int) override {
            if (code == trackercode::kMayStop) {
                t.setStart(hm(9, 10));
                t.setEnd(hm(9, 40));
                t.setDescription("typed");
            }
            return 1;
        }
    } view;
    tracker.setViewTarget(&view);
    ASSERT_TRUE(tracker.stop());
    ASSERT_EQ(m_main.seen.size(), 1u);
    EXPECT_EQ(m_main.seen[0].running.start(), hm(9, 10));
    EXPECT_EQ(m_main.seen[0].running.end(), hm(9, 40));
    EXPECT_EQ(m_main.seen[0].running.description(), "typed");
    EXPECT_EQ(tracker.lastEnd(), hm(9, 40));
}

// ---------------------------------------------------------------------------------------------
// Midnight

class TrackerMidnightTest : public TrackerTest {
protected:
    // Tracking since 23:15 with the 23:59 tick done.
    Tracker& trackingAtMidnight() {
        Tracker& tracker = makeAt(kDay + hm(23, 15));
        tracker.setItems(2, 5);
        tracker.setDescription("Night shift");
        EXPECT_TRUE(tracker.start(false));
        tickAt(kDay + hm(23, 59));
        m_view.seen.clear();
        return tracker;
    }

    void expectSplit(const Tracker& tracker) {
        ASSERT_EQ(m_main.seen.size(), 1u);
        const Transaction& old = m_main.seen[0].running;
        EXPECT_EQ(old.date(), kDay);
        EXPECT_EQ(old.start(), hm(23, 15));
        EXPECT_EQ(old.end(), hm(23, 59));
        EXPECT_EQ(old.level1Key(), 2);
        EXPECT_EQ(old.level2Key(), 5);
        EXPECT_EQ(old.description(), "Night shift");

        EXPECT_TRUE(tracker.isTracking());
        EXPECT_EQ(tracker.currentDay(), kNextDay);
        EXPECT_EQ(tracker.running().date(), kNextDay);
        EXPECT_EQ(tracker.running().start(), hm(0, 0));
        EXPECT_EQ(tracker.running().end(), hm(0, 0));
        EXPECT_EQ(tracker.running().level1Key(), 2);
        EXPECT_EQ(tracker.running().level2Key(), 5);
        EXPECT_EQ(tracker.running().description(), "Night shift");
        EXPECT_FALSE(tracker.lastEndKnown()); // 23:59 was the old day's end
    }
};

TEST_F(TrackerMidnightTest, SplitsIntoTheOldDayUpTo2359AndANewOneFromMidnight) {
    Tracker& tracker = trackingAtMidnight();
    tickAt(kNextDay + hm(0, 0));
    expectSplit(tracker);
    EXPECT_EQ(m_view.codes(),
              (std::vector<int>{trackercode::kMayStop, trackercode::kStopping, trackercode::kTick,
                                trackercode::kStarted, trackercode::kTick}));
    EXPECT_EQ(m_view.seen.back().value, kMinuteClock);

    // The next minute belongs to the new transaction.
    tickAt(kNextDay + hm(0, 1));
    EXPECT_EQ(tracker.running().end(), hm(0, 1));
    ASSERT_TRUE(tracker.stop());
    ASSERT_EQ(m_main.seen.size(), 2u);
    EXPECT_EQ(m_main.seen[1].running.date(), kNextDay);
    EXPECT_EQ(m_main.seen[1].running.start(), hm(0, 0));
    EXPECT_EQ(m_main.seen[1].running.end(), hm(0, 1));
}

TEST_F(TrackerMidnightTest, SplitsEvenWhenTheViewRefusesTheStop) {
    Tracker& tracker = trackingAtMidnight();
    m_view.answers = {0};
    tickAt(kNextDay + hm(0, 0));
    expectSplit(tracker);
}

TEST_F(TrackerMidnightTest, ContinuesEvenWhenTheViewWouldRefuseAStart) {
    Tracker& tracker = trackingAtMidnight();
    m_view.answers = {0, 0};
    tickAt(kNextDay + hm(0, 0));
    expectSplit(tracker);
    EXPECT_TRUE(m_view.ofCode(trackercode::kMayStart).empty());
}

TEST_F(TrackerMidnightTest, ContinuesWithoutAnyView) {
    Tracker& tracker = trackingAtMidnight();
    tracker.setViewTarget(nullptr);
    tickAt(kNextDay + hm(0, 0));
    expectSplit(tracker);
}

TEST_F(TrackerMidnightTest, ALateSecondClockTickAfterMidnightMovesTheDateWithTheTime) {
    // The program started at 23:59:30; clock 1's tick of 0:00:00 came late, at 0:00:01, and the
    // user starts before the next whole minute.
    Tracker& tracker = makeAt(kDay + hm(23, 59, 30));
    EXPECT_EQ(tickAt(kNextDay + hm(0, 0, 1), kSecondClock), Tracker::ClockAction::None);
    EXPECT_EQ(tracker.currentDay(), kNextDay);
    EXPECT_EQ(tracker.running().date(), kNextDay);
    ASSERT_TRUE(tracker.start(false));
    EXPECT_EQ(tracker.running().date(), kNextDay);
    EXPECT_EQ(tracker.running().start(), hm(0, 0));

    EXPECT_EQ(tickAt(kNextDay + hm(0, 1, 0), kSecondClock),
              Tracker::ClockAction::SwitchToMinuteClock);
    ASSERT_TRUE(tracker.stop());
    ASSERT_EQ(m_main.seen.size(), 1u);
    EXPECT_EQ(m_main.seen[0].running.date(), kNextDay);
    EXPECT_EQ(m_main.seen[0].running.start(), hm(0, 0));
    EXPECT_EQ(m_main.seen[0].running.end(), hm(0, 1));
}

TEST_F(TrackerMidnightTest, ANewDayForgetsTheLastEndWhileIdle) {
    Tracker& tracker = makeAt(kDay + hm(17, 0));
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(18, 0));
    ASSERT_TRUE(tracker.stop());
    EXPECT_TRUE(tracker.lastEndKnown());
    tickAt(kDay + hm(23, 59));
    EXPECT_TRUE(tracker.lastEndKnown());
    m_view.seen.clear();

    tickAt(kNextDay + hm(0, 0));
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.startFromLastTime(), hm(8, 30));
    EXPECT_EQ(tracker.running().date(), kNextDay);
    EXPECT_EQ(tracker.currentDay(), kNextDay);
    EXPECT_FALSE(tracker.isTracking());
    EXPECT_EQ(m_main.seen.size(), 1u);
    EXPECT_EQ(m_view.codes(), (std::vector<int>{trackercode::kTick}));
}

TEST_F(TrackerMidnightTest, TheFirstTickAfterALongSleepSplitsAtThePreviousTick) {
    Tracker& tracker = makeAt(kDay + hm(22, 0));
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(22, 40));
    // The machine slept; the next tick comes two days later.
    tickAt(date(2024, 3, 17) + hm(7, 5));
    ASSERT_EQ(m_main.seen.size(), 1u);
    EXPECT_EQ(m_main.seen[0].running.date(), kDay);
    EXPECT_EQ(m_main.seen[0].running.end(), hm(22, 40));
    EXPECT_EQ(tracker.running().date(), date(2024, 3, 17));
    EXPECT_EQ(tracker.running().start(), hm(7, 5));
}

// ---------------------------------------------------------------------------------------------
// Reset, last transaction, running callbacks

TEST_F(TrackerTest, ResetClearsItemsDescriptionAndLastEnd) {
    Tracker& tracker = makeAt(kDay + hm(9, 0));
    tracker.setItems(4, 9);
    tracker.setDescription("Something");
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 30));
    ASSERT_TRUE(tracker.stop());
    ASSERT_TRUE(tracker.lastEndKnown());

    tracker.reset();
    EXPECT_EQ(tracker.running().level1Key(), 0);
    EXPECT_EQ(tracker.running().level2Key(), 0);
    EXPECT_EQ(tracker.running().description(), "");
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.startFromLastTime(), hm(8, 30));
    EXPECT_EQ(tracker.running().date(), kDay);
}

TEST_F(TrackerTest, TakeLastTransactionSetsOrClearsTheLastEnd) {
    Tracker& tracker = makeAt(kDay + hm(12, 0));
    const Transaction last(kDay, hm(10, 0), hm(11, 15), 1, 1, "Review");
    tracker.takeLastTransaction(&last);
    EXPECT_TRUE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.lastEnd(), hm(11, 15));
    EXPECT_EQ(tracker.startFromLastTime(), hm(11, 15));
    ASSERT_TRUE(tracker.start(true));
    EXPECT_EQ(tracker.running().start(), hm(11, 15));
    ASSERT_TRUE(tracker.stop());

    tracker.takeLastTransaction(nullptr);
    EXPECT_FALSE(tracker.lastEndKnown());
    EXPECT_EQ(tracker.startFromLastTime(), hm(8, 30));
}

TEST_F(TrackerTest, RunningAndStoppedCallbacksFollowStartMinutesAndStop) {
    std::vector<std::string> log;
    Tracker& tracker = makeAt(kDay + hm(9, 14, 30));
    m_view.name = "view";
    m_main.name = "main";
    m_view.log = &log;
    m_main.log = &log;
    tracker.onRunning = [&log](const Tracker& t) {
        log.push_back("running " + t.running().start().clockTime() + "-" +
                      t.running().end().clockTime());
    };
    tracker.onStopped = [&log](const Tracker& t) {
        log.push_back(std::string("stopped ") + (t.isTracking() ? "tracking" : "idle"));
    };

    tickAt(kDay + hm(9, 14, 40), kSecondClock); // idle: nothing
    EXPECT_TRUE(log.empty());
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(9, 14, 50), kSecondClock); // not a whole minute
    tickAt(kDay + hm(9, 15, 0), kSecondClock);
    tickAt(kDay + hm(9, 16, 0));
    tickAt(kDay + hm(9, 16, 30), 7); // another clock
    ASSERT_TRUE(tracker.stop());
    tickAt(kDay + hm(9, 17, 0)); // idle again

    EXPECT_EQ(log, (std::vector<std::string>{"view 5", "view 2", "running 09:14-09:14", "view 3",
                                             "running 09:14-09:15", "view 3", "running 09:14-09:16",
                                             "view 3", "view 4", "view 1", "main 6", "stopped idle",
                                             "view 3", "view 3"}));
}

TEST_F(TrackerTest, CallbacksAtMidnightStoreTheOldDayBeforeTheNewOneRuns) {
    std::vector<std::string> log;
    m_main.name = "main";
    m_main.log = &log;
    Tracker& tracker = makeAt(kDay + hm(23, 30));
    tracker.onRunning = [&log](const Tracker& t) {
        log.push_back("running " + t.running().date().shortDate() + " " +
                      t.running().start().clockTime() + "-" + t.running().end().clockTime());
    };
    tracker.onStopped = [&log](const Tracker&) { log.push_back("stopped"); };
    ASSERT_TRUE(tracker.start(false));
    tickAt(kDay + hm(23, 59));
    tickAt(kNextDay + hm(0, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"running 03/15/2024 23:30-23:30",
                                             "running 03/15/2024 23:30-23:59", "main 6", "stopped",
                                             "running 03/16/2024 00:00-00:00",
                                             "running 03/16/2024 00:00-00:00"}));
}

} // namespace
} // namespace vsolo
