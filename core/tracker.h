#pragma once

#include "core/base/clock.h"
#include "core/model/transactions.h"

#include <functional>

namespace vsolo {

class Tracker;

// A receiver of the tracking engine's notifications. Answers matter for the two requests: non-zero
// allows the start or stop. A missing receiver counts as the answer 0.
class TrackerListener {
public:
    virtual ~TrackerListener() = default;
    virtual int trackerNotify(Tracker& tracker, int code, int value) = 0;
};

// The notification codes.
namespace trackercode {
inline constexpr int kStopping = 1; // to the view: a stop was accepted and is about to happen
inline constexpr int kStarted = 2;  // to the view: tracking has started
inline constexpr int kTick =
    3; // to the view: a clock tick (value = clock), after a stop, or a new target
inline constexpr int kMayStop = 4;  // to the view: may tracking stop?
inline constexpr int kMayStart = 5; // to the view: may tracking start?
inline constexpr int kStore = 6;    // to the main target: store the finished transaction
} // namespace trackercode

// The clocks that drive tracking: clock 1 ticks every second until the first whole minute, then
// clock 2 ticks every minute.
inline constexpr int kSecondClock = 1;
inline constexpr int kMinuteClock = 2;
inline constexpr int kSecondClockPeriodMs = 1000;
inline constexpr int kMinuteClockPeriodMs = 60000;

// The live tracking engine: the running transaction, the start and stop rules, the minute clock and
// the split at midnight. It never calls windows; it notifies two listeners, the active view and
// the main target (which stores finished transactions).
class Tracker {
public:
    explicit Tracker(const Clock& clock, TimeValue dayStart = TimeValue(30600));

    void setViewTarget(TrackerListener* view); // and notifies it (tick, value 0)
    TrackerListener* viewTarget() const { return m_view; }
    void setMainTarget(TrackerListener* main) { m_main = main; }

    // Starts now, or at the start-from-last time; succeeds at once when already tracking. Start
    // from Last fails while its time is later than now: the transaction would end before it began.
    bool start(bool fromLast);
    // Stops; a transaction with a length is handed to the main target to be stored.
    bool stop();
    // A stop that must happen (a new day, another template): the view is asked to take over what
    // is typed in its fields, but its answer cannot keep tracking on.
    void forceStop();
    // Ends the running transaction at `end`, a time of its own day: stored as every stop stores
    // it when it has a length, dropped when it has none. The view takes over its fields first but
    // cannot keep tracking on. With `goOn` a new transaction of the same items and description
    // starts at once from the current minute, as after the midnight split.
    void endAt(TimeValue end, bool goOn);
    // True while the midnight split stores the old day's part: the stop it makes is not the end
    // of the work.
    bool isSplittingDay() const { return m_splittingDay; }

    // What the owner of the clocks must do after a tick.
    enum class ClockAction { None, SwitchToMinuteClock };
    // Every tick of clock 1 or 2 reads the clock once and first checks the day: on a new day a
    // running transaction ends at the previous tick's time and continues, dated the new day, from
    // the current minute, whatever the view answers. Clock 2, and clock 1 on a whole minute, then
    // move the end (and, while idle, the start) to the current minute.
    ClockAction tick(int clockNumber);

    // The end of the last transaction of the day, or the day start when none is known.
    TimeValue startFromLastTime() const;
    bool canStartFromLast() const { return !(m_now < startFromLastTime()); }

    bool isTracking() const { return m_tracking; }
    bool lastEndKnown() const { return m_lastEndKnown; }
    TimeValue lastEnd() const { return m_lastEnd; }
    TimeValue dayStart() const { return m_dayStart; }
    void setDayStart(TimeValue dayStart) { m_dayStart = dayStart; }
    TimeValue currentDay() const { return m_currentDay; }
    TimeValue now() const { return m_now; }
    const Transaction& running() const { return m_running; }

    void setItems(std::int32_t level1Key, std::int32_t level2Key);
    void setDescription(std::string description);
    void setStart(TimeValue start);
    void setEnd(TimeValue end);

    // When a template is opened or emptied: no items, no description, no last end.
    void reset();
    // The last stored transaction of today, whose end Start from Last uses; nothing when none.
    void takeLastTransaction(const Transaction* lastOfToday);

    // Called after every start and every whole-minute tick while tracking, and after every stop,
    // so that the running transaction can be kept safe on disk while it runs.
    std::function<void(const Tracker&)> onRunning;
    std::function<void(const Tracker&)> onStopped;
    // Called at every whole-minute tick, tracking or not, before onRunning.
    std::function<void(const Tracker&)> onMinute;

private:
    int notifyView(int code, int value);
    void begin(TimeValue start);
    void minuteTick();
    void dayCheck(TimeValue today);
    void finishStop();

    const Clock* m_clock;
    TrackerListener* m_view = nullptr;
    TrackerListener* m_main = nullptr;
    Transaction m_running;
    bool m_tracking = false;
    bool m_lastEndKnown = false;
    bool m_splittingDay = false;
    TimeValue m_dayStart;
    TimeValue m_lastEnd;
    TimeValue m_currentDay;
    TimeValue m_now;
};

} // namespace vsolo
