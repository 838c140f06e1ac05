#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/daterange.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "tests/support/dates.h"
#include "tests/support/recordingstore.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

TEST(MemorySettingsStore, KeepsIntegersAndTextsApartUnderOneName) {
    MemorySettingsStore store;
    EXPECT_FALSE(store.readInt("S", "n"));
    EXPECT_FALSE(store.readText("S", "n"));

    EXPECT_TRUE(store.writeText("S", "n", "42"));
    EXPECT_EQ(store.readText("S", "n"), "42");
    EXPECT_FALSE(store.readInt("S", "n"))
        << "a text is not an integer, even when it looks like one";

    EXPECT_TRUE(store.writeInt("S", "n", -7));
    EXPECT_EQ(store.readInt("S", "n"), -7);
    EXPECT_FALSE(store.readText("S", "n")) << "the integer replaces the text";
    EXPECT_EQ(store.size(), 1u);

    EXPECT_TRUE(store.writeText("S", "n", ""));
    EXPECT_EQ(store.readText("S", "n"), "") << "an empty text is a value";
    EXPECT_FALSE(store.readInt("S", "n"));
    EXPECT_EQ(store.size(), 1u);
}

TEST(MemorySettingsStore, SectionsAreSeparateAndRemoveTakesEitherType) {
    MemorySettingsStore store;
    store.writeInt("A", "n", 1);
    store.writeText("B", "n", "b");
    EXPECT_EQ(store.readInt("A", "n"), 1);
    EXPECT_FALSE(store.readInt("B", "n"));
    EXPECT_TRUE(store.contains("A", "n"));
    EXPECT_FALSE(store.contains("C", "n"));

    store.remove("A", "n");
    store.remove("B", "n");
    store.remove("C", "n"); // removing a missing value is harmless
    EXPECT_FALSE(store.contains("A", "n"));
    EXPECT_FALSE(store.contains("B", "n"));
    EXPECT_EQ(store.size(), 0u);
}

TEST(SettingsDefaults, AFreshUserGetsEveryDefaultAndNothingIsWritten) {
    MemorySettingsStore store;
    Settings settings(store);
    settings.load();

    EXPECT_EQ(settings.level1Title(), "Project");
    EXPECT_EQ(settings.level2Title(), "Activity");
    EXPECT_FALSE(settings.autoSelect());
    EXPECT_FALSE(settings.autoShrink());
    EXPECT_TRUE(settings.autoSave());
    EXPECT_FALSE(settings.autoLoad());
    EXPECT_EQ(settings.dayStart(), hm(8, 30));
    EXPECT_EQ(settings.hoursDayMin(), hm(7, 30));
    EXPECT_EQ(settings.hoursDayMax(), hm(8, 30));
    EXPECT_EQ(settings.templateLocation(), "");
    EXPECT_EQ(settings.oldLocation(), "");
    EXPECT_FALSE(settings.dragAndDrop());
    EXPECT_FALSE(settings.dragAndDropCopy());
    EXPECT_FALSE(settings.remote());
    EXPECT_FALSE(settings.remoteAssignments());
    EXPECT_EQ(settings.receiverAddress(), "");
    EXPECT_EQ(settings.senderAddress(), "");
    EXPECT_EQ(settings.mapiLogon(), "");
    EXPECT_EQ(settings.mapiPassword(), "");
    EXPECT_EQ(settings.tipStartUp(), 0);
    EXPECT_EQ(settings.tipFilePos(), 0);
    EXPECT_EQ(settings.tipTimeStamp(), "");
    EXPECT_TRUE(settings.trayIcon());
    EXPECT_FALSE(settings.closeToTray());

    EXPECT_TRUE(settings.saveAtExit());
    EXPECT_EQ(store.size(), 0u) << "a user who changed nothing leaves the store empty";
}

TEST(SettingsValues, EachSetterWritesAtOnceUnderItsOwnNameAndType) {
    MemorySettingsStore store;
    Settings settings(store);

    EXPECT_TRUE(settings.setAutoSave(false));
    EXPECT_TRUE(settings.setAutoLoad(true));
    EXPECT_TRUE(settings.setDayStart(hm(7, 45)));
    EXPECT_TRUE(settings.setHoursDayMin(hm(6, 0)));
    EXPECT_TRUE(settings.setHoursDayMax(hm(10, 15)));
    EXPECT_TRUE(settings.setTemplateLocation("/home/u/work.tpl"));
    EXPECT_TRUE(settings.setOldLocation("/mnt/share"));
    EXPECT_TRUE(settings.setDragAndDrop(true));
    EXPECT_TRUE(settings.setDragAndDropCopy(true));
    EXPECT_TRUE(settings.setReceiverAddress("hub@example.org"));
    EXPECT_TRUE(settings.setSenderAddress("me@example.org"));
    EXPECT_TRUE(settings.setMapiLogon("Default"));
    EXPECT_TRUE(settings.setMapiPassword("s3cret"));
    EXPECT_TRUE(settings.setTipStartUp(1));
    EXPECT_TRUE(settings.setTipFilePos(1234));
    EXPECT_TRUE(settings.setTipTimeStamp("12/08/2025 10:00:00"));

    const std::string_view ui = kUserConfigSection;
    EXPECT_EQ(store.readInt(ui, "AutoSave"), 0);
    EXPECT_EQ(store.readInt(ui, "AutoLoad"), 1);
    EXPECT_EQ(store.readInt(ui, "DayStart"), 27900);
    EXPECT_EQ(store.readInt(ui, "HoursDayMin"), 21600);
    EXPECT_EQ(store.readInt(ui, "HoursDayMax"), 36900);
    EXPECT_EQ(store.readText(ui, "TemplateLocation"), "/home/u/work.tpl");
    EXPECT_EQ(store.readText(ui, "OldLocation"), "/mnt/share");
    EXPECT_EQ(store.readInt(ui, "DD"), 1);
    EXPECT_EQ(store.readInt(ui, "DDC"), 1);
    EXPECT_EQ(store.readText(ui, "Receiver Address"), "hub@example.org");
    EXPECT_EQ(store.readText(ui, "Sender Address"), "me@example.org");
    EXPECT_EQ(store.readText(ui, "MAPILogon"), "Default");
    EXPECT_EQ(store.readText(ui, "MAPIPassword"), "s3cret");
    EXPECT_EQ(store.readInt("Tip", "StartUp"), 1);
    EXPECT_EQ(store.readInt("Tip", "FilePos"), 1234);
    EXPECT_EQ(store.readText("Tip", "TimeStamp"), "12/08/2025 10:00:00");
    EXPECT_EQ(store.size(), 16u);

    // A second accessor over the same store reads them all back.
    Settings again(store);
    EXPECT_FALSE(again.autoSave());
    EXPECT_TRUE(again.autoLoad());
    EXPECT_EQ(again.dayStart(), hm(7, 45));
    EXPECT_EQ(again.hoursDayMin(), hm(6, 0));
    EXPECT_EQ(again.hoursDayMax(), hm(10, 15));
    EXPECT_EQ(again.templateLocation(), "/home/u/work.tpl");
    EXPECT_EQ(again.oldLocation(), "/mnt/share");
    EXPECT_TRUE(again.dragAndDrop());
    EXPECT_TRUE(again.dragAndDropCopy());
    EXPECT_EQ(again.receiverAddress(), "hub@example.org");
    EXPECT_EQ(again.senderAddress(), "me@example.org");
    EXPECT_EQ(again.mapiLogon(), "Default");
    EXPECT_EQ(again.mapiPassword(), "s3cret");
    EXPECT_EQ(again.tipStartUp(), 1);
    EXPECT_EQ(again.tipFilePos(), 1234);
    EXPECT_EQ(again.tipTimeStamp(), "12/08/2025 10:00:00");
}

TEST(SettingsRecentItems, NewestFirstEachOnceAtMostFiveAndDamagedLinesLeftOut) {
    MemorySettingsStore store;
    Settings settings(store);
    for (std::int32_t level2 : {1, 2, 3, 2, 4, 5, 6}) {
        EXPECT_TRUE(settings.noteRecentItem({"/a.tpl", 1, level2}));
    }
    EXPECT_TRUE(settings.noteRecentItem({"/b.tpl", 1, 6})) << "the same keys in another template";
    const std::vector<RecentItem> expected{
        {"/b.tpl", 1, 6}, {"/a.tpl", 1, 6}, {"/a.tpl", 1, 5}, {"/a.tpl", 1, 4}, {"/a.tpl", 1, 2}};
    EXPECT_EQ(settings.recentItems(), expected);
    EXPECT_FALSE(settings.noteRecentItem({"", 1, 2}) || settings.noteRecentItem({"/a\nb", 1, 2}));
    store.writeText(kUserConfigSection, "RecentItems",
                    "3\t7\t/c.tpl\nx\t1\t/c\n4\t8\n5 9 /c\n\n3\t7\t/c.tpl\n-2\t0\t/d");
    const std::vector<RecentItem> read{{"/c.tpl", 3, 7}, {"/d", -2, 0}};
    EXPECT_EQ(settings.recentItems(), read);
}

TEST(SettingsValues, ValuesOfTheWrongTypeOrOutsideADayReadAsTheDefault) {
    MemorySettingsStore store;
    store.writeText(kUserConfigSection, "AutoSave", "0");
    store.writeText(kUserConfigSection, "DayStart", "27900");
    store.writeInt(kUserConfigSection, "HoursDayMin", -60);
    store.writeInt(kUserConfigSection, "HoursDayMax", TimeValue::kDay);
    store.writeInt(kUserConfigSection, "TemplateLocation", 5);
    Settings settings(store);
    EXPECT_TRUE(settings.autoSave());
    EXPECT_EQ(settings.dayStart(), hm(8, 30));
    EXPECT_EQ(settings.hoursDayMin(), hm(7, 30));
    EXPECT_EQ(settings.hoursDayMax(), hm(8, 30));
    EXPECT_EQ(settings.templateLocation(), "");

    store.writeInt(kUserConfigSection, "HoursDayMax", TimeValue::kDay - 1);
    EXPECT_EQ(settings.hoursDayMax().seconds(), TimeValue::kDay - 1) << "23:59:59 is a time of day";
}

TEST(SettingsTextFlags, AreStoredAsOneCharacterTextsAndOnlyOneReadsAsOn) {
    MemorySettingsStore store;
    Settings settings(store);

    EXPECT_TRUE(settings.setRemote(true));
    EXPECT_EQ(store.readText(kUserConfigSection, "Remote"), "1");
    EXPECT_FALSE(store.readInt(kUserConfigSection, "Remote"));
    EXPECT_TRUE(settings.remote());
    EXPECT_TRUE(settings.setRemote(false));
    EXPECT_EQ(store.readText(kUserConfigSection, "Remote"), "0");
    EXPECT_FALSE(settings.remote());

    EXPECT_TRUE(settings.setRemoteAssignments(true));
    EXPECT_EQ(store.readText(kUserConfigSection, "RemoteAssignments"), "1");
    EXPECT_TRUE(settings.remoteAssignments());

    for (const char* other : {"yes", "true", "01", " 1", "1 ", "2", ""}) {
        store.writeText(kUserConfigSection, "Remote", other);
        EXPECT_FALSE(settings.remote()) << '"' << other << '"';
    }
    store.writeInt(kUserConfigSection, "RemoteAssignments", 1);
    EXPECT_FALSE(settings.remoteAssignments()) << "the flag is a text, not an integer";
}

TEST(SettingsHeldValues, AreReadAtLoadAndWrittenOnlyAtExit) {
    MemorySettingsStore store;
    store.writeText(kUserConfigSection, "Level1Def", "Client");
    store.writeText(kUserConfigSection, "Level2Def", "Task");
    store.writeInt(kUserConfigSection, "AutoSelect", 1);
    store.writeInt(kUserConfigSection, "AutoShrink", 0);

    Settings settings(store);
    EXPECT_EQ(settings.level1Title(), "Project") << "nothing is held before load()";
    settings.load();
    EXPECT_EQ(settings.level1Title(), "Client");
    EXPECT_EQ(settings.level2Title(), "Task");
    EXPECT_TRUE(settings.autoSelect());
    EXPECT_FALSE(settings.autoShrink());

    settings.setLevel1Title("Customer");
    settings.setLevel2Title("Job");
    settings.setAutoSelect(false);
    settings.setAutoShrink(true);
    EXPECT_EQ(settings.level1Title(), "Customer");
    EXPECT_TRUE(settings.autoShrink());
    EXPECT_EQ(store.readText(kUserConfigSection, "Level1Def"), "Client");
    EXPECT_EQ(store.readText(kUserConfigSection, "Level2Def"), "Task");
    EXPECT_EQ(store.readInt(kUserConfigSection, "AutoSelect"), 1);
    EXPECT_EQ(store.readInt(kUserConfigSection, "AutoShrink"), 0);

    // Another reader of the store (the reporting tool) still sees the old titles.
    Settings other(store);
    other.load();
    EXPECT_EQ(other.level1Title(), "Client");

    EXPECT_TRUE(settings.saveAtExit());
    EXPECT_EQ(store.readText(kUserConfigSection, "Level1Def"), "Customer");
    EXPECT_EQ(store.readText(kUserConfigSection, "Level2Def"), "Job");
    EXPECT_EQ(store.readInt(kUserConfigSection, "AutoSelect"), 0);
    EXPECT_EQ(store.readInt(kUserConfigSection, "AutoShrink"), 1);
}

TEST(SettingsHeldValues, OnlyChangedValuesAreWrittenAndFlagsAsOneOrZero) {
    MemorySettingsStore store;
    Settings settings(store);
    settings.load();

    settings.setLevel2Title("Phase");
    settings.setLevel2Title("Activity"); // back to what was loaded
    settings.setAutoSelect(true);
    EXPECT_TRUE(settings.saveAtExit());
    EXPECT_EQ(store.readInt(kUserConfigSection, "AutoSelect"), 1);
    EXPECT_EQ(store.size(), 1u);

    // A change after a save is written by the next save; an undone one is written back.
    settings.setAutoSelect(false);
    settings.setLevel1Title("Matter");
    EXPECT_TRUE(settings.saveAtExit());
    EXPECT_EQ(store.readInt(kUserConfigSection, "AutoSelect"), 0);
    EXPECT_EQ(store.readText(kUserConfigSection, "Level1Def"), "Matter");
    EXPECT_EQ(store.size(), 2u);
}

TEST(SettingsHeldValues, ARefusedSaveReportsFailureAndIsTriedAgain) {
    testing::RecordingStore refusing;
    refusing.refuseAll();
    MemorySettingsStore& memory = refusing.inner();
    Settings settings(refusing);
    settings.load();
    settings.setAutoShrink(true);
    EXPECT_FALSE(settings.saveAtExit());
    EXPECT_FALSE(settings.setAutoSave(false));
    EXPECT_EQ(memory.size(), 0u);

    Settings writable(memory);
    writable.load();
    writable.setAutoShrink(true);
    EXPECT_TRUE(writable.saveAtExit());
    writable.setAutoShrink(false);
    EXPECT_TRUE(writable.saveAtExit());
    EXPECT_EQ(memory.readInt(kUserConfigSection, "AutoShrink"), 0);
}

TEST(SettingsHeldValues, ABlankStoredTitleReadsAsTheDefault) {
    MemorySettingsStore store;
    store.writeText(kUserConfigSection, "Level1Def", "");
    store.writeText(kUserConfigSection, "Level2Def", " \t ");
    Settings settings(store);
    settings.load();
    EXPECT_EQ(settings.level1Title(), "Project");
    EXPECT_EQ(settings.level2Title(), "Activity");
}

TEST(SettingsGeneric, WritingNoTextRemovesTheValueAndAnEmptyTextIsKept) {
    MemorySettingsStore store;
    Settings settings(store);
    EXPECT_EQ(settings.readText("Missing", "fallback"), "fallback");
    EXPECT_EQ(settings.readInt("Missing", -3, kTipSection), -3);
    EXPECT_EQ(store.size(), 0u);

    EXPECT_TRUE(settings.writeText("Note", ""));
    EXPECT_EQ(settings.readText("Note", "fallback"), "");
    EXPECT_TRUE(settings.writeText("Note", std::nullopt));
    EXPECT_FALSE(store.contains(kUserConfigSection, "Note"));
    EXPECT_EQ(settings.readText("Note", "fallback"), "fallback");

    EXPECT_TRUE(settings.setTemplateLocation("/t/a.tpl"));
    EXPECT_TRUE(settings.removeTemplateLocation());
    EXPECT_FALSE(store.contains(kUserConfigSection, "TemplateLocation"));

    // Removing goes for an integer under the name too.
    EXPECT_TRUE(settings.writeInt("Count", 3, kTipSection));
    EXPECT_TRUE(settings.writeText("Count", std::nullopt, kTipSection));
    EXPECT_FALSE(store.contains(kTipSection, "Count"));

    testing::RecordingStore refusing;
    refusing.inner().writeText(kUserConfigSection, "TemplateLocation", "/t/b.tpl");
    refusing.refuseAll();
    Settings readOnly(refusing);
    EXPECT_FALSE(readOnly.removeTemplateLocation()) << "a value that stays is not reported gone";
}

constexpr Rect kScreen{0, 0, 1024, 768};

TEST(WindowPlacementPacking, StoresLeftTopAndRightBottomAsHighAndLowHalves) {
    const WindowPlacement placement{100, 50, 740, 530, kShowNormal};
    const PackedPlacement packed = packPlacement(placement);
    EXPECT_EQ(packed.position, 6553650);
    EXPECT_EQ(packed.size, 48497170);
    EXPECT_EQ(packed.style, 1);
    EXPECT_EQ(unpackPlacement(packed), placement);
    EXPECT_EQ(pullBackIntoWorkArea(unpackPlacement(packed), kScreen), placement);
}

TEST(WindowPlacementPacking, HalvesAreUnsignedSixteenBitsWithoutOverflow) {
    // A left edge of 32768 or more sets the sign bit of the stored integer.
    const WindowPlacement wide{40000, 65535, 65535, 1, kShowMaximized};
    const PackedPlacement packed = packPlacement(wide);
    EXPECT_EQ(packed.position, static_cast<std::int32_t>(0x9C40FFFFu));
    EXPECT_LT(packed.position, 0);
    EXPECT_EQ(packed.size, static_cast<std::int32_t>(0xFFFF0001u));
    EXPECT_EQ(unpackPlacement(packed), wide);

    EXPECT_EQ(packEdges(0, 0), 0);
    EXPECT_EQ(packEdges(1, 0), 65536);
    EXPECT_EQ(packEdges(0xFFFF, 0xFFFF), -1);

    // Stored patterns read back as unsigned halves, whatever their sign.
    const WindowPlacement minusOne = unpackPlacement({-1, -65536, kShowNormal});
    EXPECT_EQ(minusOne.left, 65535);
    EXPECT_EQ(minusOne.top, 65535);
    EXPECT_EQ(minusOne.right, 65535);
    EXPECT_EQ(minusOne.bottom, 0);
}

TEST(WindowPlacementPacking, OutOfRangeEdgesAreLimitedInsteadOfBorrowing) {
    // A window partly off the left or top of the screen: without the limit, top -10 would borrow
    // one from the left edge.
    EXPECT_EQ(packEdges(100, -10), packEdges(100, 0));
    EXPECT_EQ(packEdges(-5, 20), packEdges(0, 20));
    EXPECT_EQ(packEdges(70000, 20), packEdges(65535, 20));
    EXPECT_EQ(packEdges(20, 70000), packEdges(20, 65535));
}

TEST(WindowPlacementRestore, DefaultsComeFromTheWorkArea) {
    const Rect belowPanel{0, 32, 1920, 1080};
    const PackedPlacement defaults = defaultPackedPlacement(belowPanel);
    EXPECT_EQ(defaults.position, 32);
    EXPECT_EQ(defaults.size, 640 * 65536 + 480);
    EXPECT_EQ(defaults.style, 1);

    MemorySettingsStore store;
    Settings settings(store);
    EXPECT_EQ(settings.windowPlacement(windowname::kMainWindow, belowPanel),
              (WindowPlacement{0, 32, 640, 480, kShowNormal}));
    EXPECT_EQ(store.size(), 0u);
}

TEST(WindowPlacementRestore, APositionOffASmallerScreenMovesToTheTopLeftCorner) {
    MemorySettingsStore store;
    Settings settings(store);
    store.writeInt(kUserConfigSection, "MainWindowPosition", packEdges(3000, 2000));
    EXPECT_EQ(settings.windowPlacement(windowname::kMainWindow, kScreen),
              (WindowPlacement{0, 0, 640, 480, kShowNormal}));

    // Each edge is judged on its own, and the work area's own corner is used.
    const Rect offset{100, 30, 1024, 768};
    EXPECT_EQ(pullBackIntoWorkArea({1500, 40, 1600, 400, kShowNormal}, offset),
              (WindowPlacement{100, 40, 1024, 400, kShowNormal}));
    EXPECT_EQ(pullBackIntoWorkArea({200, 900, 600, 1000, kShowNormal}, offset),
              (WindowPlacement{200, 30, 600, 768, kShowNormal}));
    // An edge exactly on the work area's edge stays.
    EXPECT_EQ(pullBackIntoWorkArea({10, 10, 1024, 768, kShowNormal}, kScreen),
              (WindowPlacement{10, 10, 1024, 768, kShowNormal}));
}

TEST(WindowPlacementRestore, RightAndBottomAreLimitedToTheWorkArea) {
    EXPECT_EQ(pullBackIntoWorkArea({200, 100, 1900, 1100, kShowMaximized}, kScreen),
              (WindowPlacement{200, 100, 1024, 768, kShowMaximized}));
    // A window that was left at (3000, 2000) with its own size fills the smaller screen.
    EXPECT_EQ(pullBackIntoWorkArea({3000, 2000, 3640, 2480, kShowNormal}, kScreen),
              (WindowPlacement{0, 0, 1024, 768, kShowNormal}));
}

TEST(WindowPlacementRestore, AnEmptyRectangleBecomesTheDefaultWindow) {
    // A zero Size (damaged or hand-edited) would give a window with no width or height.
    EXPECT_EQ(pullBackIntoWorkArea(unpackPlacement({packEdges(100, 50), 0, kShowNormal}), kScreen),
              (WindowPlacement{0, 0, 640, 480, kShowNormal}));
    // Right of left after limiting: a left edge on the work area's right edge.
    EXPECT_EQ(pullBackIntoWorkArea({1024, 10, 1500, 400, kShowNormal}, kScreen),
              (WindowPlacement{0, 0, 640, 480, kShowNormal}));
    // On a work area that does not start at the origin, the default size is kept.
    const Rect second{1920, 0, 3200, 1024};
    EXPECT_EQ(pullBackIntoWorkArea({1920, 0, 640, 480, kShowNormal}, second),
              (WindowPlacement{1920, 0, 2560, 480, kShowNormal}));
    // And it never grows past a tiny work area.
    EXPECT_EQ(pullBackIntoWorkArea({0, 0, 0, 0, kShowNormal}, Rect{0, 0, 320, 200}),
              (WindowPlacement{0, 0, 320, 200, kShowNormal}));
}

TEST(WindowPlacementStore, RoundTripsByWindowNameWithUnknownStylesReadAsNormal) {
    MemorySettingsStore store;
    Settings settings(store);
    const WindowPlacement sheet{100, 50, 740, 530, kShowMaximized};
    EXPECT_TRUE(settings.setWindowPlacement(windowname::kTimeSheet, sheet));
    EXPECT_EQ(store.readInt(kUserConfigSection, "TimeSheetPosition"), 6553650);
    EXPECT_EQ(store.readInt(kUserConfigSection, "TimeSheetSize"), 48497170);
    EXPECT_EQ(store.readInt(kUserConfigSection, "TimeSheetStyle"), 3);
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(settings.windowPlacement(windowname::kTimeSheet, kScreen), sheet);
    EXPECT_EQ(settings.windowPlacement(windowname::kPieWindow, kScreen),
              (WindowPlacement{0, 0, 640, 480, kShowNormal}))
        << "each window name has its own record";

    for (std::int32_t style : {0, 4, 7, -1}) {
        store.writeInt(kUserConfigSection, "TimeSheetStyle", style);
        EXPECT_EQ(settings.windowPlacement(windowname::kTimeSheet, kScreen).showState, kShowNormal)
            << style;
    }
    store.writeInt(kUserConfigSection, "TimeSheetStyle", kShowMinimized);
    EXPECT_EQ(settings.windowPlacement(windowname::kTimeSheet, kScreen).showState, kShowMinimized);

    testing::RecordingStore refusing;
    refusing.refuseAll();
    Settings readOnly(refusing);
    EXPECT_FALSE(readOnly.setWindowPlacement(windowname::kMainWindow, sheet));
}

TEST(DateRangeStore, NothingStoredGivesTodayPlusMinusFifteenDaysAndFixed) {
    MemorySettingsStore store;
    SettableClock now(date(2024, 10, 1) + hm(14, 20));
    const DateRange range = loadDateRange(store, daterangekey::kTimeSheet, now);
    EXPECT_EQ(range.from, date(2024, 9, 16));
    EXPECT_EQ(range.to, date(2024, 10, 16));
    EXPECT_EQ((range.to - range.from).seconds(), 2 * 1296000);
    EXPECT_TRUE(range.fixed);
    EXPECT_EQ(store.size(), 0u);

    now.set(date(2024, 10, 2));
    EXPECT_EQ(loadDateRange(store, daterangekey::kTimeSheet, now).from, date(2024, 9, 17))
        << "until a range is confirmed it follows the calendar";
}

TEST(DateRangeStore, AMovingRangeKeepsItsDistanceFromToday) {
    MemorySettingsStore store;
    SettableClock now(date(2024, 10, 1) + hm(9, 0));
    EXPECT_TRUE(storeDateRange(store, daterangekey::kTimeSheet,
                               {date(2024, 9, 25), date(2024, 10, 1), false}, now));
    EXPECT_EQ(store.readInt(kUserConfigSection, "TimeSheetFromDate"), date(2024, 9, 25).seconds());
    EXPECT_EQ(store.readInt(kUserConfigSection, "TimeSheetToDate"), date(2024, 10, 1).seconds());
    EXPECT_EQ(store.readInt(kUserConfigSection, "TimeSheetSave"), date(2024, 10, 1).seconds())
        << "stamped with the date, not the moment";

    now.set(date(2024, 10, 5) + hm(23, 59));
    const DateRange moved = loadDateRange(store, daterangekey::kTimeSheet, now);
    EXPECT_EQ(moved, (DateRange{date(2024, 9, 29), date(2024, 10, 5), false}));

    // Yesterday-to-today confirmed yesterday reads today as today-to-tomorrow.
    now.set(date(2024, 12, 31));
    storeDateRange(store, daterangekey::kReports, {date(2024, 12, 31), date(2025, 1, 1), false},
                   now);
    now.set(date(2025, 1, 1));
    EXPECT_EQ(loadDateRange(store, daterangekey::kReports, now),
              (DateRange{date(2025, 1, 1), date(2025, 1, 2), false}));
}

TEST(DateRangeStore, AFixedRangeStaysAndTheKeysAreIndependent) {
    MemorySettingsStore store;
    SettableClock now(date(2024, 10, 1));
    const DateRange fixed{date(2024, 1, 1), date(2024, 3, 31), true};
    EXPECT_TRUE(storeDateRange(store, daterangekey::kReports, fixed, now));
    EXPECT_EQ(store.readInt(kUserConfigSection, "ReportsSave"), 0);

    now.set(date(2025, 6, 15));
    EXPECT_EQ(loadDateRange(store, daterangekey::kReports, now), fixed);
    const DateRange sheet = loadDateRange(store, daterangekey::kTimeSheet, now);
    EXPECT_EQ(sheet.from, date(2025, 5, 31));
    EXPECT_EQ(loadDateRange(store, daterangekey::kSend, now), sheet);
}

TEST(DateRangeStore, AFromDateAfterTheToDateIsStoredSwapped) {
    MemorySettingsStore store;
    SettableClock now(date(2024, 10, 1));
    EXPECT_TRUE(storeDateRange(store, daterangekey::kSend,
                               {date(2024, 10, 20), date(2024, 10, 3), true}, now));
    EXPECT_EQ(store.readInt(kUserConfigSection, "SendFromDate"), date(2024, 10, 3).seconds());
    EXPECT_EQ(store.readInt(kUserConfigSection, "SendToDate"), date(2024, 10, 20).seconds());
    EXPECT_EQ(loadDateRange(store, daterangekey::kSend, now),
              (DateRange{date(2024, 10, 3), date(2024, 10, 20), true}));

    const DateRange oneDay{date(2024, 5, 5), date(2024, 5, 5), false};
    EXPECT_EQ(oneDay.ordered(), oneDay);
    EXPECT_EQ((DateRange{date(2024, 5, 6), date(2024, 5, 5), false}.ordered()),
              (DateRange{date(2024, 5, 5), date(2024, 5, 6), false}));

    testing::RecordingStore refusing;
    refusing.refuseAll();
    EXPECT_FALSE(storeDateRange(refusing, daterangekey::kSend, oneDay, now));
}

} // namespace
} // namespace vsolo
