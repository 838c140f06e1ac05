#pragma once

#include "core/base/clock.h"
#include "core/model/transactions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vsolo {

class Tracker;

// What the desktop says about the user's presence. Every reading goes through an IdleSource, so
// that tests can script it.
class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Seconds since the session's last keyboard or mouse input; nothing when no source answers.
    virtual std::optional<std::int32_t> idleSeconds() const = 0;
    // Whether the screen is locked; nothing when the desktop does not tell.
    virtual std::optional<bool> screenLocked() const = 0;
};

// Several desktop sources in the order they are tried: the idle time of the first that answers
// with one (a negative time is no answer), and the lock state of the first that tells it. The
// sources are not owned and must outlive this one.
class FirstAnsweringIdleSource final : public IdleSource {
public:
    explicit FirstAnsweringIdleSource(std::vector<const IdleSource*> sources)
        : m_sources(std::move(sources)) {}
    std::optional<std::int32_t> idleSeconds() const override;
    std::optional<bool> screenLocked() const override;
    // Whether any source gives an idle time now; without one the question cannot be offered.
    bool available() const { return idleSeconds().has_value(); }

private:
    std::vector<const IdleSource*> m_sources;
};

// The user's three answers to the idle question.
enum class IdleAnswer {
    Keep,          // the idle time stays tracked
    StopAt,        // the time ends where input stopped, and tracking stops
    DiscardAndGoOn // the time ends where input stopped, and tracking goes on from now
};

// The question put to the user who comes back: the tracked items and description, the moment
// input stopped and the moment it came back, each a date and time.
struct IdleQuestion {
    std::int32_t level1Key = 0;
    std::int32_t level2Key = 0;
    std::string description;
    // The items' names as the document knows them.
    std::string level1Name;
    std::string level2Name;
    // A whole minute, never before the tracked work began nor before the last answer.
    TimeValue inputStopped;
    TimeValue inputBack;
};

// Watches for the user going away while tracking runs and decides when to ask about it. It changes
// nothing itself: the document applies the answer (CSoloDoc::answerIdle).
//
// Fed by poll() every few seconds and after every tick of the tracker. Once the time without
// input reaches the limit, the moment input stopped is noted (a locked screen counts from the
// moment of locking, a suspended computer from the last poll before it); the first poll that finds
// the idle time smaller than before raises the question. While it is open nothing else is asked,
// whatever the input does.
class IdleWatch {
public:
    explicit IdleWatch(const Clock& clock) : m_clock(&clock) {}

    // No source: the desktop cannot tell, and nothing is ever asked.
    void setSource(const IdleSource* source) { m_source = source; }
    const IdleSource* source() const { return m_source; }

    // Reads the clock and the source once. `enabled` and `minutes` are the user's settings. True
    // when this poll raised the question.
    bool poll(const Tracker& tracker, bool enabled, std::int32_t minutes);
    // A part the midnight split stored while tracking went on.
    void noteSplitPart(const Transaction& part);
    // Tracking ended with a stop: what was noted, and an open question, are dropped.
    void trackingEnded();

    bool asking() const { return m_question.has_value(); }
    const std::optional<IdleQuestion>& question() const { return m_question; }
    // The parts the midnight split stored that the question may reach into, oldest first.
    const std::vector<Transaction>& splitParts() const { return m_parts; }
    // Gives the open question the names of its items.
    void nameItems(std::string level1Name, std::string level2Name);
    // Closes the question once it is answered. Idle time noted later starts after this moment.
    void close();

private:
    void forgetIdle();

    const Clock* m_clock;
    const IdleSource* m_source = nullptr;
    std::vector<Transaction> m_parts;
    std::optional<IdleQuestion> m_question;
    std::optional<TimeValue> m_lockedSince;
    // Idle time starts no earlier than this (the last answer).
    std::optional<TimeValue> m_floor;
    bool m_noted = false;
    TimeValue m_inputStopped;
    std::int64_t m_lastIdle = 0;
    std::optional<TimeValue> m_lastPoll;
};

} // namespace vsolo
