#include "core/base/clock.h"

#include <ctime>

namespace vsolo {

namespace {
const Clock* g_modificationClock = nullptr;
}

TimeValue Clock::timeOfDay(bool withSeconds) const {
    const TimeValue time = now().timeOfDay();
    const std::int32_t s = time.seconds();
    return withSeconds ? time : TimeValue(s - s % TimeValue::kMinute);
}

TimeValue SystemClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    CalendarTime c;
    c.year = local.tm_year + 1900;
    c.month = local.tm_mon + 1;
    c.day = local.tm_mday;
    c.hour = local.tm_hour;
    c.minute = local.tm_min;
    c.second = local.tm_sec > 59 ? 59 : local.tm_sec; // a leap second stays in its minute
    return TimeValue::fromCalendar(c);
}

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

const Clock& modificationClock() {
    return g_modificationClock ? *g_modificationClock : systemClock();
}

ScopedModificationClock::ScopedModificationClock(const Clock& clock)
    : m_previous(g_modificationClock) {
    g_modificationClock = &clock;
}

ScopedModificationClock::~ScopedModificationClock() {
    g_modificationClock = m_previous;
}

} // namespace vsolo
