#pragma once

#include "core/base/timevalue.h"

namespace vsolo {

// Every reading of the wall clock goes through a Clock, so that tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time to the second.
    virtual TimeValue now() const = 0;

    // The current local date at midnight.
    TimeValue today() const { return now().datePart(); }
    // The current local time of day; seconds only when asked for.
    TimeValue timeOfDay(bool withSeconds = false) const;
};

class SystemClock final : public Clock {
public:
    TimeValue now() const override;
};

// A clock that stands still until it is set or advanced.
class SettableClock final : public Clock {
public:
    explicit SettableClock(TimeValue now = TimeValue(0)) : m_now(now) {}
    TimeValue now() const override { return m_now; }
    void set(TimeValue now) { m_now = now; }
    void advance(std::int32_t seconds) { m_now += TimeValue(seconds); }

private:
    TimeValue m_now;
};

const Clock& systemClock();

// The clock that stamps the "modified" time of items and transactions when a setter changes a
// field. Records are plain values without an owner to ask, so they share this one; tests replace it
// with ScopedModificationClock.
const Clock& modificationClock();

class ScopedModificationClock {
public:
    explicit ScopedModificationClock(const Clock& clock);
    ~ScopedModificationClock();
    ScopedModificationClock(const ScopedModificationClock&) = delete;
    ScopedModificationClock& operator=(const ScopedModificationClock&) = delete;

private:
    const Clock* m_previous;
};

} // namespace vsolo
