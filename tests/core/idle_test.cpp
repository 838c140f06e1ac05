#include "core/document.h"
#include "core/model/recovery.h"
#include "tests/support/allowingview.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace vsolo {
namespace {

using Rec = testing::V4Record;

TimeValue at(int day, int hour, int minute) {
    return testing::dateTime(2024, 3, day, hour, minute);
}

struct ScriptedIdle final : IdleSource {
    ScriptedIdle(std::optional<std::int32_t> i = 0, std::optional<bool> l = {})
        : idle(i), locked(l) {}
    std::optional<std::int32_t> idle;
    std::optional<bool> locked;
    std::optional<std::int32_t> idleSeconds() const override { return idle; }
    std::optional<bool> screenLocked() const override { return locked; }
};

// Tracks "Coding" in Work.tpl, whose transaction file starts with no record, from `from`; no
// input comes after `stopped`, the screen is locked from `lockAt`, the computer is suspended from
// `asleep`, and input is back at `back`.
class IdleTest : public ::testing::Test {
protected:
    void away(TimeValue from, std::optional<TimeValue> stopped, TimeValue back,
              std::optional<TimeValue> lockAt = std::nullopt,
              std::optional<TimeValue> asleep = std::nullopt) {
        m_clock.set(from);
        testing::writeBytes(m_dir.file("Work.tpl"),
                            testing::v4Template("Veltimo Solo File", 1, 1, {}));
        testing::writeBytes(m_dir.file("Work.trs"), testing::transactionHeader());
        ASSERT_TRUE(m_doc.open(m_dir.file("Work.tpl")) && m_settings.setIdleAsk(true));
        m_doc.idleWatch().setSource(&m_source);
        Tracker& tracker = m_doc.tracker();
        tracker.setViewTarget(&m_view);
        tracker.tick(kMinuteClock);
        tracker.setItems(1, 1);
        tracker.setDescription("Coding");
        ASSERT_TRUE(tracker.start(false));
        while (m_clock.now() < back) {
            m_clock.set(asleep && m_clock.now() == *asleep ? back : m_clock.now() + TimeValue(60));
            if (stopped && *stopped < m_clock.now()) {
                m_source.idle = (m_clock.now() - *stopped).seconds();
            }
            m_source.locked = lockAt && !(m_clock.now() < *lockAt);
            tracker.tick(kMinuteClock);
            ASSERT_FALSE(m_doc.pollIdle()) << m_clock.now().clockTime();
        }
        m_source = ScriptedIdle{2, false};
        ASSERT_TRUE(m_doc.pollIdle() && m_doc.idleWatch().question());
        EXPECT_EQ(m_doc.idleWatch().question()->inputBack, back);
    }
    TimeValue inputStopped() const { return m_doc.idleWatch().question()->inputStopped; }

    testing::TempDir m_dir;
    MemorySettingsStore m_store;
    Settings m_settings{m_store};
    testing::ScriptedPrompter m_prompter;
    SettableClock m_clock;
    CSoloDoc m_doc{m_settings, m_prompter, [] {}, m_clock};
    testing::AllowingView m_view;
    ScriptedIdle m_source;
};

struct AnswerCase {
    IdleAnswer answer;
    int day; // 15: away from 09:30 to 10:15; 16: from 23:40 on the 15th to 00:20
    std::vector<Rec> stored;
    const char* runningFrom; // nullptr: tracking stopped
};

class IdleAnswerTest : public IdleTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(IdleAnswerTest, ChangesOnlyWhatTheAnswerSays) {
    const AnswerCase& c = GetParam();
    const bool overMidnight = c.day == 16;
    const TimeValue stopped = overMidnight ? at(15, 23, 40) : at(15, 9, 30);
    away(overMidnight ? at(15, 23, 0) : at(15, 9, 0), stopped,
         overMidnight ? at(16, 0, 20) : at(15, 10, 15));
    EXPECT_EQ(inputStopped(), stopped);
    // Input and a second idle period while the question is open ask nothing more.
    for (std::int32_t idle : {3600, 0}) {
        m_source.idle = idle;
        EXPECT_FALSE(m_doc.pollIdle());
    }
    EXPECT_EQ(inputStopped(), stopped);
    // Killed now, the next start finds everything kept: the running transaction up to now.
    std::vector<Transaction> kept;
    ASSERT_TRUE(readRecoveryFile(m_doc.recoveryPath(), kept) && kept.size() == 1);
    EXPECT_TRUE(kept[0].sameTime(m_doc.tracker().running()));

    ASSERT_TRUE(m_doc.answerIdle(c.answer));
    EXPECT_EQ(testing::readBytes(m_dir.file("Work.trs")),
              testing::records(testing::transactionHeader(), c.stored));
    ASSERT_EQ(m_doc.tracker().isTracking(), c.runningFrom != nullptr);
    EXPECT_EQ(testing::exists(m_doc.recoveryPath()), c.runningFrom != nullptr);
    if (c.runningFrom) {
        EXPECT_EQ(m_doc.tracker().running().date(), testing::date(2024, 3, c.day));
        EXPECT_EQ(m_doc.tracker().running().start().clockTime(), c.runningFrom);
    }
    EXPECT_TRUE(m_prompter.empty());
}

const Rec kSplit{1, 1, "03/15/2024", "23:00", "23:59", 0, "Coding"};
const Rec kTo2340{1, 1, "03/15/2024", "23:00", "23:40", 0, "Coding"};
const Rec kTo0930{1, 1, "03/15/2024", "09:00", "09:30", 0, "Coding"};

using A = IdleAnswer;
INSTANTIATE_TEST_SUITE_P(Answers, IdleAnswerTest,
                         ::testing::Values(AnswerCase{A::Keep, 15, {}, "09:00"},
                                           AnswerCase{A::StopAt, 15, {kTo0930}, nullptr},
                                           AnswerCase{A::DiscardAndGoOn, 15, {kTo0930}, "10:15"},
                                           AnswerCase{A::Keep, 16, {kSplit}, "00:00"},
                                           AnswerCase{A::StopAt, 16, {kTo2340}, nullptr},
                                           AnswerCase{A::DiscardAndGoOn, 16, {kTo2340}, "00:20"}));

TEST_F(IdleTest, IdleTimeStartsNoEarlierThanTheTransaction) {
    m_source.idle = 7200;
    away(at(15, 9, 0), at(15, 7, 0), at(15, 9, 30));
    EXPECT_EQ(inputStopped(), at(15, 9, 0));
}

TEST_F(IdleTest, ALockedScreenCountsFromItsLockingWithoutAnIdleTime) {
    m_source.idle.reset();
    away(at(15, 9, 0), std::nullopt, at(15, 9, 30), at(15, 9, 5));
    EXPECT_EQ(inputStopped(), at(15, 9, 5));
}

TEST_F(IdleTest, ASuspendedComputerIsAwayFromTheLastPollBeforeIt) {
    away(at(15, 9, 0), std::nullopt, at(15, 10, 40), std::nullopt, at(15, 9, 10));
    EXPECT_EQ(inputStopped(), at(15, 9, 10));
}

TEST(IdleSettings, OffAndTenMinutesByDefaultAndTheCountKeptInRange) {
    MemorySettingsStore store;
    Settings settings(store);
    EXPECT_TRUE(!settings.idleAsk() && settings.idleMinutes() == 10);
    ASSERT_TRUE(settings.setIdleAsk(true) && settings.setIdleMinutes(500));
    EXPECT_TRUE(store.readInt("UserConfig", "IdleAsk") == 1 && settings.idleMinutes() == 240);
    ASSERT_TRUE(settings.setIdleMinutes(0) && store.readInt("UserConfig", "IdleMinutes") == 1);
    ASSERT_TRUE(store.writeInt("UserConfig", "IdleMinutes", 241) && settings.idleMinutes() == 10);
}

TEST(FirstAnsweringIdleSource, TakesEachAnswerFromTheFirstSourceThatGivesIt) {
    const ScriptedIdle silent(std::nullopt), broken(-5, true), later(42, false);
    EXPECT_FALSE(FirstAnsweringIdleSource({&silent, nullptr}).available());
    const FirstAnsweringIdleSource all({&silent, &broken, &later});
    EXPECT_TRUE(all.idleSeconds() == 42 && all.screenLocked() == true);
}

} // namespace
} // namespace vsolo
