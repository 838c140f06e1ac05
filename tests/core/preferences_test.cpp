#include "core/document.h"
#include "core/preferences.h"
#include "core/settings.h"
#include "tests/support/dates.h"
#include "tests/support/recordingstore.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

namespace vsolo {
namespace {

using testing::hm;

struct PreferencesTest : ::testing::Test {
    testing::RecordingStore store;
    Settings settings{store};
    testing::ScriptedPrompter prompter;
    CSoloDoc doc{settings, prompter, [] {}};

    PreferencesTest() {
        settings.load();
        doc.newDocument();
    }

    static Preferences changed() {
        Preferences p;
        p.receiverAddress = "central@example.org";
        p.senderAddress = "ana@example.org";
        p.mapiLogon = "Work";
        p.mapiPassword = "secret";
        p.remote = true;
        p.remoteAssignments = true;
        p.level1Title = "Client";
        p.level2Title = "Task";
        p.hoursDayMax = hm(9, 0);
        p.hoursDayMin = hm(6, 0);
        p.dayStart = hm(7, 15);
        p.autoSelect = true;
        p.autoShrink = true;
        p.autoSave = true;
        p.autoLoad = true;
        p.idleAsk = true;
        p.idleMinutes = 25;
        p.trayIcon = false;
        p.closeToTray = true;
        return p;
    }
};

TEST_F(PreferencesTest, WritesTheStoredValuesInTheirOrderAndHoldsTheRestUntilExit) {
    ASSERT_TRUE(applyPreferences(changed(), doc));
    const std::vector<std::string> atOnce = {
        "Receiver Address",  "Sender Address", "MAPILogon",   "MAPIPassword", "Remote",
        "RemoteAssignments", "HoursDayMax",    "HoursDayMin", "DayStart",     "IdleAsk",
        "IdleMinutes",       "TrayIcon",       "CloseToTray", "AutoSave",     "AutoLoad"};
    EXPECT_EQ(store.writes(), atOnce);

    store.clearWrites();
    ASSERT_TRUE(settings.saveAtExit());
    const std::vector<std::string> atExit = {"Level1Def", "Level2Def", "AutoSelect", "AutoShrink"};
    EXPECT_EQ(store.writes(), atExit);
}

TEST_F(PreferencesTest, ReadingBackGivesWhatWasApplied) {
    const Preferences p = changed();
    ASSERT_TRUE(applyPreferences(p, doc));
    const Preferences back = Preferences::read(settings);
    EXPECT_EQ(back.receiverAddress, p.receiverAddress);
    EXPECT_EQ(back.senderAddress, p.senderAddress);
    EXPECT_EQ(back.mapiLogon, p.mapiLogon);
    EXPECT_EQ(back.mapiPassword, p.mapiPassword);
    EXPECT_TRUE(back.remote && back.remoteAssignments && back.autoSelect && back.autoShrink &&
                back.autoSave && back.autoLoad);
    EXPECT_EQ(back.level1Title, "Client");
    EXPECT_EQ(back.level2Title, "Task");
    EXPECT_EQ(back.hoursDayMax, hm(9, 0));
    EXPECT_EQ(back.hoursDayMin, hm(6, 0));
    EXPECT_EQ(back.dayStart, hm(7, 15));
    EXPECT_TRUE(!back.trayIcon && back.closeToTray);
    EXPECT_EQ(store.inner().readText("UserConfig", "Remote"), "1");
}

TEST_F(PreferencesTest, TheDocumentAndTheTrackerTakeTheNewValuesAtOnce) {
    ASSERT_TRUE(applyPreferences(changed(), doc));
    EXPECT_EQ(doc.templateFile().level1().title(), "Client");
    EXPECT_EQ(doc.templateFile().level2().title(), "Task");
    EXPECT_EQ(doc.tracker().dayStart(), hm(7, 15));
}

TEST_F(PreferencesTest, ARefusedWriteIsReportedAndTheLaterValuesAreStillWritten) {
    store.refuse("MAPIPassword");
    EXPECT_FALSE(applyPreferences(changed(), doc));
    EXPECT_EQ(store.writes().back(), "AutoLoad");
    EXPECT_EQ(store.inner().readText("UserConfig", "MAPILogon"), "Work");
    EXPECT_FALSE(store.inner().readText("UserConfig", "MAPIPassword"));
    EXPECT_EQ(doc.tracker().dayStart(), hm(7, 15));
}

struct TrimCase {
    const char* typed;
    const char* kept;
};

class TrimmedTitle : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimmedTitle, LosesTheBlanksAroundItOnly) {
    EXPECT_EQ(trimmedTitle(GetParam().typed), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Titles, TrimmedTitle,
                         ::testing::Values(TrimCase{"Client", "Client"},
                                           TrimCase{"  Big client \t", "Big client"},
                                           TrimCase{"   ", ""}, TrimCase{"\t\r\n", ""},
                                           TrimCase{"", ""},
                                           TrimCase{"Gr\xc3\xbcn ", "Gr\xc3\xbcn"}));

} // namespace
} // namespace vsolo
