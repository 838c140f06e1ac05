#include "core/document.h"
#include "core/model/recovery.h"
#include "tests/support/allowingview.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedidle.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace vsolo {
namespace {

const auto at = [](int day, int h, int m) { return testing::dateTime(2024, 3, day, h, m); };

using testing::ScriptedIdle;

class IdleTest : public ::testing::Test {
protected:
    // Tracks "Coding" in Work.tpl, whose transaction file starts with no record.
    void track(TimeValue from) {
        m_clock.set(from);
        testing::writeBytes(m_dir.file("Work.tpl"),
                            testing::v4Template("Veltimo Solo File", 2, 2,
                                                {{1, 0, 0, 0, 1, 1, 0, "Alpha", "", ""},
                                                 {1, 0, 1, 1, 1, 2, 0, "Coding", "", ""}}));
        testing::writeBytes(m_dir.file("Work.trs"), testing::transactionHeader());
        ASSERT_TRUE(m_doc.open(m_dir.file("Work.tpl")) && m_settings.setIdleAsk(true));
        m_doc.idleWatch().setSource(&m_sources);
        m_tracker.setViewTarget(&m_view);
        m_tracker.tick(kMinuteClock);
        m_tracker.setItems(1, 1);
        m_tracker.setDescription("Coding");
        ASSERT_TRUE(m_tracker.start(false));
    }
    // Any open question is answered Keep. No input comes after `stopped`, the screen is locked from
    // `lockAt`, the computer is suspended from `asleep`, and input is back at `back`.
    void away(std::optional<TimeValue> stopped, TimeValue back,
              std::optional<TimeValue> lockAt = std::nullopt,
              std::optional<TimeValue> asleep = std::nullopt) {
        m_doc.answerIdle(IdleAnswer::Keep);
        while (m_clock.now() < back) {
            m_clock.set(asleep && m_clock.now() == *asleep ? back : m_clock.now() + TimeValue(60));
            const TimeValue now = m_clock.now();
            m_source.idle = stopped && *stopped < now ? (now - *stopped).seconds() : m_source.idle;
            m_source.locked = lockAt && !(now < *lockAt);
            m_tracker.tick(kMinuteClock);
            ASSERT_FALSE(m_doc.pollIdle()) << m_clock.now().clockTime();
        }
        m_source = ScriptedIdle{2, false};
        ASSERT_TRUE(m_doc.pollIdle() && m_doc.idleWatch().question());
        const IdleQuestion& q = *m_doc.idleWatch().question();
        EXPECT_EQ(q.level1Name + "/" + q.level2Name + " " + q.inputBack.clockTime(),
                  "Alpha/Coding " + back.clockTime());
    }
    TimeValue inputStopped() const { return m_doc.idleWatch().question()->inputStopped; }

    testing::TempDir m_dir;
    MemorySettingsStore m_store;
    Settings m_settings{m_store};
    testing::ScriptedPrompter m_prompter;
    SettableClock m_clock;
    CSoloDoc m_doc{m_settings, m_prompter, [] {}, m_clock};
    Tracker& m_tracker = m_doc.tracker();
    testing::AllowingView m_view;
    ScriptedIdle m_source;
    const ScriptedIdle m_silent{-1, std::nullopt}; // answers nothing, and comes first
    FirstAnsweringIdleSource m_sources{{&m_silent, nullptr, &m_source}};
};

struct AnswerCase {
    IdleAnswer answer;
    bool overMidnight; // away from 22:40 to 23:20, or from 23:40 to 00:20 the next day
    std::vector<testing::V4Record> stored;
    std::optional<TimeValue> runningFrom; // nothing: tracking stopped
};

class IdleAnswerTest : public IdleTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(IdleAnswerTest, ChangesOnlyWhatTheAnswerSays) {
    const AnswerCase& c = GetParam();
    const TimeValue from = at(15, c.overMidnight ? 23 : 22, 0);
    track(from);
    away(from + TimeValue(40 * 60), from + TimeValue(80 * 60));
    // Input and a second idle period while the question is open ask nothing more.
    for (std::int32_t idle : {3600, 0}) {
        m_source.idle = idle;
        EXPECT_FALSE(m_doc.pollIdle());
    }
    EXPECT_EQ(inputStopped(), from + TimeValue(40 * 60));
    // Killed now, the next start finds everything kept: the running transaction up to now.
    std::vector<Transaction> kept;
    ASSERT_TRUE(readRecoveryFile(m_doc.recoveryPath(), kept) && kept.size() == 1);
    EXPECT_TRUE(kept[0].sameTime(m_tracker.running()));
    ASSERT_TRUE(m_doc.answerIdle(c.answer));
    EXPECT_EQ(testing::readBytes(m_dir.file("Work.trs")),
              testing::records(testing::transactionHeader(), c.stored));
    const Transaction& r = m_tracker.running();
    EXPECT_EQ(m_tracker.isTracking() ? std::optional(r.date() + r.start()) : std::nullopt,
              c.runningFrom);
    EXPECT_EQ(testing::exists(m_doc.recoveryPath()), c.runningFrom.has_value());
}

const testing::V4Record kSplit{1, 1, "03/15/2024", "23:00", "23:59", 0, "Coding"};
const testing::V4Record kTo2340{1, 1, "03/15/2024", "23:00", "23:40", 0, "Coding"};
const testing::V4Record kTo2240{1, 1, "03/15/2024", "22:00", "22:40", 0, "Coding"};
using A = IdleAnswer;
INSTANTIATE_TEST_SUITE_P(
    Answers, IdleAnswerTest,
    ::testing::Values(AnswerCase{A::Keep, false, {}, at(15, 22, 0)},
                      AnswerCase{A::StopAt, false, {kTo2240}, std::nullopt},
                      AnswerCase{A::DiscardAndGoOn, false, {kTo2240}, at(15, 23, 20)},
                      AnswerCase{A::Keep, true, {kSplit}, at(16, 0, 0)},
                      AnswerCase{A::StopAt, true, {kTo2340}, std::nullopt},
                      AnswerCase{A::DiscardAndGoOn, true, {kTo2340}, at(16, 0, 20)}));

TEST_F(IdleTest, IdleStartsNoEarlierThanTheWorkAndCountsALockAndASuspendedComputer) {
    m_source.idle = 7200;
    track(at(15, 9, 0));
    away(at(15, 7, 0), at(15, 9, 30));
    EXPECT_EQ(inputStopped(), at(15, 9, 0));
    m_source.idle.reset();
    away(std::nullopt, at(15, 10, 0), at(15, 9, 35));
    EXPECT_EQ(inputStopped(), at(15, 9, 35));
    away(std::nullopt, at(15, 11, 30), std::nullopt, at(15, 10, 5));
    EXPECT_EQ(inputStopped(), at(15, 10, 5));
}

TEST_F(IdleTest, TheSettingIsOffAndTenMinutesByDefaultAndTheCountKeptInRange) {
    EXPECT_TRUE(!m_settings.idleAsk() && m_settings.idleMinutes() == 10);
    ASSERT_TRUE(m_settings.setIdleMinutes(500) && m_settings.idleMinutes() == 240);
    ASSERT_TRUE(m_settings.setIdleMinutes(0) && m_store.readInt("UserConfig", "IdleMinutes") == 1);
    ASSERT_TRUE(m_store.writeInt("UserConfig", "IdleMinutes", 241) &&
                m_settings.idleMinutes() == 10);
}

} // namespace
} // namespace vsolo
