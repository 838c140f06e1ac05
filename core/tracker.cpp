#include "core/tracker.h"

namespace vsolo {

namespace {

// The time of day of an instant with the seconds dropped.
TimeValue wholeMinuteOf(TimeValue instant) {
    const std::int32_t s = instant.timeOfDay().seconds();
    return TimeValue(s - s % TimeValue::kMinute);
}

} // namespace

// Date and time come from one reading of the clock: two readings could fall on either side of
// midnight and give a transaction of the new day that starts at 23:59.
Tracker::Tracker(const Clock& clock, TimeValue dayStart) : m_clock(&clock), m_dayStart(dayStart) {
    const TimeValue instant = clock.now();
    m_currentDay = instant.datePart();
    m_now = wholeMinuteOf(instant);
    m_running.setDate(m_currentDay);
    m_running.setStart(m_now);
    m_running.setEnd(m_now);
}

int Tracker::notifyView(int code, int value) {
    return m_view ? m_view->trackerNotify(*this, code, value) : 0;
}

void Tracker::setViewTarget(TrackerListener* view) {
    m_view = view;
    notifyView(trackercode::kTick, 0);
}

TimeValue Tracker::startFromLastTime() const {
    return m_lastEndKnown ? m_lastEnd : m_dayStart;
}

bool Tracker::start(bool fromLast) {
    if (m_tracking) {
        return true;
    }
    if (fromLast && !canStartFromLast()) {
        return false;
    }
    if (notifyView(trackercode::kMayStart, 0) == 0) {
        return false;
    }
    begin(fromLast ? startFromLastTime() : m_now);
    return true;
}

void Tracker::begin(TimeValue start) {
    m_running.setStart(start);
    m_running.setEnd(m_now);
    m_tracking = true;
    notifyView(trackercode::kStarted, 0);
    if (onRunning) {
        onRunning(*this);
    }
}

bool Tracker::stop() {
    if (!m_tracking) {
        return true;
    }
    if (notifyView(trackercode::kMayStop, 0) == 0) {
        return false;
    }
    finishStop();
    return true;
}

void Tracker::finishStop() {
    notifyView(trackercode::kStopping, 0);
    if (m_running.start() < m_running.end()) {
        m_lastEnd = m_running.end();
        m_lastEndKnown = true;
        if (m_main) {
            m_main->trackerNotify(*this, trackercode::kStore, 0);
        }
    }
    m_tracking = false;
    if (onStopped) {
        onStopped(*this);
    }
    notifyView(trackercode::kTick, 0);
}

void Tracker::forceStop() {
    if (!m_tracking) {
        return;
    }
    notifyView(trackercode::kMayStop, 0);
    finishStop();
}

void Tracker::endAt(TimeValue end, bool goOn) {
    if (!m_tracking) {
        return;
    }
    notifyView(trackercode::kMayStop, 0);
    // Set after the view took over its fields, which would otherwise put its shown end back.
    m_running.setEnd(end);
    finishStop();
    if (goOn) {
        begin(m_now);
    }
}

void Tracker::dayCheck(TimeValue today) {
    if (today == m_currentDay) {
        return;
    }
    if (m_tracking) {
        // The old day's transaction ends with the times it has. The new one continues the same
        // work, so it is not a start the view could refuse: a refusal (or a missing view) would
        // end tracking at midnight without anyone noticing.
        m_splittingDay = true;
        forceStop();
        m_splittingDay = false;
        m_currentDay = today;
        m_running.setDate(today);
        begin(m_now);
    }
    m_currentDay = today;
    m_running.setDate(today);
    m_lastEndKnown = false;
}

void Tracker::minuteTick() {
    m_running.setEnd(m_now);
    if (!m_tracking) {
        m_running.setStart(m_now);
    }
    notifyView(trackercode::kTick, kMinuteClock);
    if (onMinute) {
        onMinute(*this);
    }
    if (m_tracking && onRunning) {
        onRunning(*this);
    }
}

Tracker::ClockAction Tracker::tick(int clockNumber) {
    const TimeValue instant = m_clock->now();
    m_now = wholeMinuteOf(instant);
    if (clockNumber != kMinuteClock && clockNumber != kSecondClock) {
        notifyView(trackercode::kTick, clockNumber);
        return ClockAction::None;
    }
    // Every tick that moves "now" checks the day too, so that a start between ticks never pairs
    // a time of the new day with the old date.
    dayCheck(instant.datePart());
    if (clockNumber == kSecondClock) {
        if (instant.timeOfDay().seconds() % TimeValue::kMinute != 0) {
            return ClockAction::None;
        }
        minuteTick();
        return ClockAction::SwitchToMinuteClock;
    }
    minuteTick();
    return ClockAction::None;
}

void Tracker::setItems(std::int32_t level1Key, std::int32_t level2Key) {
    m_running.setLevel1Key(level1Key);
    m_running.setLevel2Key(level2Key);
}

void Tracker::setDescription(std::string description) {
    m_running.setDescription(std::move(description));
}

void Tracker::setStart(TimeValue start) {
    m_running.setStart(start);
}

void Tracker::setEnd(TimeValue end) {
    m_running.setEnd(end);
}

void Tracker::reset() {
    m_running.setLevel1Key(0);
    m_running.setLevel2Key(0);
    m_running.setDescription("");
    m_lastEndKnown = false;
}

void Tracker::takeLastTransaction(const Transaction* lastOfToday) {
    m_lastEndKnown = lastOfToday != nullptr;
    if (lastOfToday) {
        m_lastEnd = lastOfToday->end();
    }
}

} // namespace vsolo
