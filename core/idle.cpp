#include "core/idle.h"

#include "core/tracker.h"

#include <algorithm>
#include <utility>

namespace vsolo {

namespace {

TimeValue startOf(const Transaction& t) {
    return t.date() + t.start();
}

TimeValue endOf(const Transaction& t) {
    return t.date() + t.end();
}

// Longer than the gap between two minute ticks, which may be all the polls the program makes.
constexpr std::int64_t kLongestPause = 3 * TimeValue::kMinute;

// Rounded up, so that no second of work before it is ever counted as idle.
TimeValue wholeMinuteUp(TimeValue instant) {
    const std::int32_t past = instant.timeOfDay().seconds() % TimeValue::kMinute;
    return past == 0 ? instant : instant + TimeValue(TimeValue::kMinute - past);
}

} // namespace

std::optional<std::int32_t> FirstAnsweringIdleSource::idleSeconds() const {
    for (const IdleSource* source : m_sources) {
        const std::optional<std::int32_t> seconds = source ? source->idleSeconds() : std::nullopt;
        if (seconds && *seconds >= 0) {
            return seconds;
        }
    }
    return std::nullopt;
}

std::optional<bool> FirstAnsweringIdleSource::screenLocked() const {
    for (const IdleSource* source : m_sources) {
        if (const std::optional<bool> locked = source ? source->screenLocked() : std::nullopt) {
            return locked;
        }
    }
    return std::nullopt;
}

bool IdleWatch::poll(const Tracker& tracker, bool enabled, std::int32_t minutes) {
    if (m_question) {
        return false;
    }
    if (!enabled || !tracker.isTracking() || !m_source) {
        forgetIdle();
        m_parts.clear();
        return false;
    }
    const TimeValue now = m_clock->now();
    if (m_source->screenLocked().value_or(false)) {
        if (!m_lockedSince) {
            m_lockedSince = now;
        }
    } else {
        m_lockedSince.reset();
    }
    // Without an answer from the source, only a locked screen tells of absence.
    std::int64_t idle = std::max<std::int64_t>(0, m_source->idleSeconds().value_or(0));
    if (m_lockedSince) {
        idle = std::max<std::int64_t>(idle, (now - *m_lockedSince).seconds());
    }
    // A poll that comes long after the last one woke from a suspended computer, whose desktop
    // may count idle time from the wake-up: the program did not run, so nobody was at work.
    const std::int64_t limit = std::int64_t{minutes} * TimeValue::kMinute;
    if (m_lastPoll &&
        (now - *m_lastPoll).seconds() >= std::max<std::int64_t>(limit, kLongestPause)) {
        idle = std::max<std::int64_t>(idle, (now - *m_lastPoll).seconds());
    }
    m_lastPoll = now;
    const TimeValue lastInput(static_cast<std::int32_t>(now.seconds() - idle));

    if (m_noted) {
        if (idle >= m_lastIdle) {
            m_lastIdle = idle;
            return false;
        }
        const Transaction& running = tracker.running();
        m_question.emplace();
        m_question->level1Key = running.level1Key();
        m_question->level2Key = running.level2Key();
        m_question->description = running.description();
        m_question->inputStopped = m_inputStopped;
        m_question->inputBack = now;
        return true;
    }
    // A part that ended before input was last seen cannot hold the start of idle time.
    std::erase_if(m_parts, [lastInput](const Transaction& t) { return !(lastInput < endOf(t)); });
    if (idle < limit) {
        return false;
    }
    TimeValue stopped = std::max(lastInput, m_parts.empty() ? startOf(tracker.running())
                                                            : startOf(m_parts.front()));
    if (m_floor) {
        stopped = std::max(stopped, *m_floor);
    }
    m_noted = true;
    m_inputStopped = std::min(wholeMinuteUp(stopped), now);
    m_lastIdle = idle;
    return false;
}

void IdleWatch::noteSplitPart(const Transaction& part) {
    m_parts.push_back(part);
}

void IdleWatch::nameItems(std::string level1Name, std::string level2Name) {
    if (m_question) {
        m_question->level1Name = std::move(level1Name);
        m_question->level2Name = std::move(level2Name);
    }
}

void IdleWatch::trackingEnded() {
    m_question.reset();
    m_parts.clear();
    forgetIdle();
}

void IdleWatch::close() {
    m_question.reset();
    m_parts.clear();
    forgetIdle();
    m_floor = m_clock->now();
}

void IdleWatch::forgetIdle() {
    m_noted = false;
    m_lockedSince.reset();
    m_lastIdle = 0;
    m_lastPoll.reset();
}

} // namespace vsolo
