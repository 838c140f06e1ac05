#include "core/document.h"
#include "core/idle.h"
#include "core/model/recovery.h"
#include "tests/support/allowingview.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace vsolo {
namespace {

using testing::dateTime;
using Rec = testing::V4Record;

struct ScriptedIdle final : IdleSource {
    std::optional<std::int32_t> idle = 0;
    std::optional<bool> locked;
    std::optional<std::int32_t> idleSeconds() const override { return idle; }
    std::optional<bool> screenLocked() const override { return locked; }
};

// Tracks "Coding" from `from` in Work.tpl, whose transaction file starts with no record.
class IdleTest : public ::testing::Test {
protected:
    void track(TimeValue from) {
        m_clock.set(from);
        testing::writeBytes(m_dir.file("Work.tpl"),
                            testing::v4Template("Veltimo Solo File", 2, 2,
                                                {{1, 0, 0, 0, 1, 1, 0, "Alpha", "", ""},
                                                 {1, 0, 1, 1, 1, 2, 0, "Coding", "", ""}}));
        testing::writeBytes(m_dir.file("Work.trs"), testing::transactionHeader());
        ASSERT_TRUE(m_doc.open(m_dir.file("Work.tpl")));
        ASSERT_TRUE(m_settings.setIdleAsk(true));
        m_doc.idleWatch().setSource(&m_source);
        m_doc.tracker().setViewTarget(&m_view);
        m_doc.tracker().tick(kMinuteClock);
        m_doc.tracker().setItems(1, 1);
        m_doc.tracker().setDescription("Coding");
        ASSERT_TRUE(m_doc.tracker().start(false));
    }
    // Minute by minute until `back`, with no input after `stopped` and the screen locked from
    // `lockAt`, then input again.
    void awayUntil(TimeValue back, std::optional<TimeValue> stopped,
                   std::optional<TimeValue> lockAt = std::nullopt) {
        while (m_clock.now() < back) {
            m_clock.advance(TimeValue::kMinute);
            if (stopped && *stopped < m_clock.now()) {
                m_source.idle = (m_clock.now() - *stopped).seconds();
            }
            m_source.locked = lockAt && !(m_clock.now() < *lockAt);
            m_doc.tracker().tick(kMinuteClock);
            ASSERT_FALSE(m_doc.pollIdle()) << m_clock.now().clockTime();
        }
        m_source.idle = 2;
        m_source.locked = false;
        ASSERT_TRUE(m_doc.pollIdle());
        ASSERT_TRUE(m_doc.idleWatch().question());
        EXPECT_EQ(m_doc.idleWatch().question()->inputBack, back);
        EXPECT_EQ(m_doc.idleWatch().question()->description, "Coding");
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
    bool overMidnight;
    std::vector<Rec> stored;
    const char* runningFrom; // nullptr: tracking stopped
};

class IdleAnswerTest : public IdleTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(IdleAnswerTest, ChangesOnlyWhatTheAnswerSays) {
    const AnswerCase& c = GetParam();
    const int day = c.overMidnight ? 16 : 15;
    track(c.overMidnight ? dateTime(2024, 3, 15, 23, 0) : dateTime(2024, 3, 15, 9, 0));
    const TimeValue stopped =
        c.overMidnight ? dateTime(2024, 3, 15, 23, 40) : dateTime(2024, 3, 15, 9, 30);
    awayUntil(c.overMidnight ? dateTime(2024, 3, 16, 0, 20) : dateTime(2024, 3, 15, 10, 15),
              stopped);
    EXPECT_EQ(inputStopped(), stopped);

    // Input and a second idle period while the question is open ask nothing more.
    m_source.idle = 3600;
    EXPECT_FALSE(m_doc.pollIdle());
    m_source.idle = 0;
    EXPECT_FALSE(m_doc.pollIdle());
    EXPECT_EQ(inputStopped(), stopped);

    // Killed now, the next start finds everything kept.
    std::vector<Transaction> recovered;
    ASSERT_TRUE(readRecoveryFile(m_doc.recoveryPath(), recovered));
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0].date() + recovered[0].start(),
              c.overMidnight ? dateTime(2024, 3, 16, 0, 0) : dateTime(2024, 3, 15, 9, 0));
    EXPECT_EQ(recovered[0].date() + recovered[0].end(), m_doc.idleWatch().question()->inputBack);

    ASSERT_TRUE(m_doc.answerIdle(c.answer));
    EXPECT_FALSE(m_doc.idleWatch().asking());
    EXPECT_EQ(testing::readBytes(m_dir.file("Work.trs")),
              testing::records(testing::transactionHeader(), c.stored));
    ASSERT_EQ(m_doc.tracker().isTracking(), c.runningFrom != nullptr);
    if (c.runningFrom) {
        EXPECT_EQ(m_doc.tracker().running().date(), testing::date(2024, 3, day));
        EXPECT_EQ(m_doc.tracker().running().start().clockTime(), c.runningFrom);
    } else {
        EXPECT_FALSE(testing::exists(m_doc.recoveryPath()));
    }
    EXPECT_TRUE(m_prompter.empty());
}

const Rec kSplit{1, 1, "03/15/2024", "23:00", "23:59", 0, "Coding"};
const Rec kUntil2340{1, 1, "03/15/2024", "23:00", "23:40", 0, "Coding"};
const Rec kUntil0930{1, 1, "03/15/2024", "09:00", "09:30", 0, "Coding"};

INSTANTIATE_TEST_SUITE_P(
    Answers, IdleAnswerTest,
    ::testing::Values(AnswerCase{IdleAnswer::Keep, false, {}, "09:00"},
                      AnswerCase{IdleAnswer::StopAt, false, {kUntil0930}, nullptr},
                      AnswerCase{IdleAnswer::DiscardAndGoOn, false, {kUntil0930}, "10:15"},
                      AnswerCase{IdleAnswer::Keep, true, {kSplit}, "00:00"},
                      AnswerCase{IdleAnswer::StopAt, true, {kUntil2340}, nullptr},
                      AnswerCase{IdleAnswer::DiscardAndGoOn, true, {kUntil2340}, "00:20"}));

TEST_F(IdleTest, IdleTimeStartsNoEarlierThanTheTransaction) {
    m_source.idle = 7200;
    track(dateTime(2024, 3, 15, 9, 0));
    awayUntil(dateTime(2024, 3, 15, 9, 30), dateTime(2024, 3, 15, 7, 0));
    EXPECT_EQ(inputStopped(), dateTime(2024, 3, 15, 9, 0));
}

TEST_F(IdleTest, ALockedScreenCountsFromItsLockingWithoutAnIdleTime) {
    track(dateTime(2024, 3, 15, 9, 0));
    m_source.idle.reset();
    awayUntil(dateTime(2024, 3, 15, 9, 30), std::nullopt, dateTime(2024, 3, 15, 9, 5));
    EXPECT_EQ(inputStopped(), dateTime(2024, 3, 15, 9, 5));
}

TEST(IdleSettings, OffAndTenMinutesByDefaultAndTheCountKeptInRange) {
    MemorySettingsStore store;
    Settings settings(store);
    EXPECT_FALSE(settings.idleAsk());
    EXPECT_EQ(settings.idleMinutes(), 10);
    ASSERT_TRUE(settings.setIdleAsk(true) && settings.setIdleMinutes(500));
    EXPECT_EQ(store.readInt("UserConfig", "IdleAsk"), 1);
    EXPECT_EQ(store.readInt("UserConfig", "IdleMinutes"), 240);
    ASSERT_TRUE(settings.setIdleMinutes(0));
    EXPECT_EQ(settings.idleMinutes(), 1);
    ASSERT_TRUE(store.writeInt("UserConfig", "IdleMinutes", 241));
    EXPECT_EQ(settings.idleMinutes(), 10);
}

} // namespace
} // namespace vsolo
