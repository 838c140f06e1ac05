#include "core/base/fileerrortext.h"
#include "core/base/placeholders.h"
#include "core/leveledit.h"
#include "core/tracker.h"
#include "tests/support/allowingview.h"
#include "tests/support/filelayouts.h"
#include "tests/support/templatefixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace vsolo::testing {
namespace {

// What identifies an item and places it in the tree.
struct Row {
    std::int32_t group;
    std::int32_t subId;
    std::int32_t parent;
    std::int32_t depth;
    std::string name;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << r.group << "," << r.subId << "," << r.parent << "," << r.depth << "," << r.name
        << "}";
}

std::vector<Row> rows(const LevelList& list) {
    std::vector<Row> out;
    for (const auto& item : list.items()) {
        out.push_back(
            {item->groupNumber(), item->subId(), item->parentSubId(), item->depth(), item->name()});
    }
    return out;
}

std::vector<std::string> names(const std::vector<LevelItem*>& items) {
    std::vector<std::string> out;
    for (const LevelItem* item : items) {
        out.push_back(item->name());
    }
    return out;
}

// A tree-shaped template: Build (group 1) holding Design > Draft > Sketch and Review below it,
// and Sales (group 2) holding Calls.
class LevelEditTest : public TemplateFileFixture {
protected:
    LevelEditTest() {
        file.setFormat(TemplateFormat::Version4);
        file.level1().setTitle("Project");
        file.level2().setTitle("Activity");
        level1("Build", 1);
        level1("Sales", 2);
        level2("Design", 1, 1, 0, 1);
        level2("Draft", 1, 2, 1, 2);
        level2("Sketch", 1, 3, 2, 3);
        level2("Review", 1, 4, 0, 1);
        level2("Calls", 2, 5, 0, 1);
        file.store().setNextGroupNumber(3);
        file.store().setNextSubId(6);
    }

    void level1(const char* name, std::int32_t group) {
        LevelItem item;
        item.setName(name);
        item.setGroupNumber(group);
        file.level1().add(item);
    }
    void level2(const char* name, std::int32_t group, std::int32_t subId, std::int32_t parent,
                std::int32_t depth) {
        LevelItem item;
        item.setName(name);
        item.setGroupNumber(group);
        item.setSubId(subId);
        item.setParentSubId(parent);
        item.setDepth(depth);
        file.level2().add(item);
    }
    LevelItem& item(const char* name) {
        for (LevelList* list : {&file.level1(), &file.level2()}) {
            if (LevelItem* found = list->findByName(name)) {
                return *found;
            }
        }
        throw std::runtime_error(name);
    }

    LevelEditor editor{file};
};

TEST_F(LevelEditTest, AddingALevel1ItemGivesItOneLevel2ItemNamedAfterTheTitles) {
    const LevelItem* added = editor.addLevel1();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(rows(file.level1()).back(), (Row{3, 0, 0, 0, "Project"}));
    EXPECT_EQ(rows(file.level2()).back(), (Row{3, 6, 0, 1, "Activity"}));
    EXPECT_EQ(added->description(), "");
    EXPECT_EQ(added->thirdText(), " ");
    EXPECT_EQ(file.store().nextGroupNumber(), 4);
    EXPECT_EQ(file.store().nextSubId(), 7);
}

TEST_F(LevelEditTest, AddingALevel2ItemPutsItUnderItsParent) {
    editor.addLevel2(item("Sketch"));
    EXPECT_EQ(rows(file.level2()).back(), (Row{1, 6, 3, 4, "Activity"}));
}

// Targets of the two level-1 items before, the target typed into the second, what it keeps and
// whether the message is due.
using TargetCase = std::tuple<int, int, int, bool>;
class TargetRuleTest : public LevelEditTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(TargetRuleTest, TotalStaysWithin100) {
    const auto [first, typed, kept, message] = GetParam();
    item("Build").setTarget(static_cast<std::uint8_t>(first));
    item("Sales").setTarget(30);
    const TargetChange change = editor.setTarget(item("Sales"), typed);
    EXPECT_EQ(change.overLimit, message);
    EXPECT_EQ(item("Sales").target(), kept);
}

INSTANTIATE_TEST_SUITE_P(Targets, TargetRuleTest,
                         ::testing::Values(TargetCase{60, 30, 30, false},
                                           TargetCase{60, 40, 40, false},
                                           TargetCase{60, 302, 40, true},
                                           TargetCase{60, 41, 40, true}));

TEST_F(LevelEditTest, DeleteGoesLeafByLeafFollowingFirstChildren) {
    EXPECT_EQ(names(editor.deleteOrder(item("Build"))),
              (std::vector<std::string>{"Sketch", "Draft", "Design", "Review", "Build"}));
    EXPECT_TRUE(editor.remove(item("Build")));
    EXPECT_EQ(rows(file.level1()), (std::vector<Row>{{2, 0, 0, 0, "Sales"}}));
    EXPECT_EQ(rows(file.level2()), (std::vector<Row>{{2, 5, 0, 1, "Calls"}}));
}

TEST_F(LevelEditTest, CopyMakesANewLevel1ItemOfTheSameShape) {
    const std::vector<Row> before = rows(file.level2());
    const LevelItem* copy = editor.copyToNewLevel1(item("Design"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(rows(file.level1()).back(), (Row{3, 0, 0, 0, "Design"}));
    std::vector<Row> expected = before;
    expected.insert(expected.end(), {{3, 6, 0, 1, "Draft"}, {3, 7, 6, 2, "Sketch"}});
    EXPECT_EQ(rows(file.level2()), expected);
}

TEST_F(LevelEditTest, CopyOfALevel1ItemKeepsThreeNestedLevels) {
    const std::vector<Row> before = rows(file.level2());
    editor.copyToNewLevel1(item("Build"));
    std::vector<Row> expected = before;
    expected.insert(expected.end(), {{3, 6, 0, 1, "Design"},
                                     {3, 7, 6, 2, "Draft"},
                                     {3, 8, 7, 3, "Sketch"},
                                     {3, 9, 0, 1, "Review"}});
    EXPECT_EQ(rows(file.level2()), expected);
    EXPECT_EQ(item("Build").groupNumber(), 1);
}

// A level-1 item dropped on a level-2 item becomes a level-2 item under it; a move takes the
// original away, a copy keeps it.
class DropTest : public LevelEditTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DropTest, Level1ItemDroppedOnLevel2ItemGoesUnderIt) {
    const bool copy = GetParam();
    item("Sales").setTarget(30);
    const std::vector<LevelItem*> added = editor.drop(item("Sales"), item("Review"), copy);
    ASSERT_EQ(added.size(), 2u);
    // Every field but the numbers goes along, the target too.
    EXPECT_EQ(added.front()->target(), 30);
    std::vector<Row> level1{{1, 0, 0, 0, "Build"}};
    // Tree order: by depth, items with children first.
    std::vector<Row> level2{{1, 1, 0, 1, "Design"}, {1, 4, 0, 1, "Review"}};
    if (copy) {
        level1.push_back({2, 0, 0, 0, "Sales"});
        level2.push_back({2, 5, 0, 1, "Calls"});
    }
    level2.insert(level2.end(), {{1, 2, 1, 2, "Draft"},
                                 {1, 6, 4, 2, "Sales"},
                                 {1, 3, 2, 3, "Sketch"},
                                 {1, 7, 6, 3, "Calls"}});
    EXPECT_EQ(rows(file.level1()), level1);
    EXPECT_EQ(rows(file.level2()), level2);
}

INSTANTIATE_TEST_SUITE_P(MoveAndCopy, DropTest, ::testing::Bool());

TEST_F(LevelEditTest, MoveIntoItsOwnSubtreeIsRefused) {
    const std::vector<Row> before = rows(file.level2());
    EXPECT_FALSE(editor.canDrop(item("Design"), item("Sketch"), false));
    EXPECT_TRUE(editor.drop(item("Design"), item("Sketch"), false).empty());
    EXPECT_FALSE(editor.canDrop(item("Design"), item("Design"), true));
    EXPECT_TRUE(editor.canDrop(item("Design"), item("Sketch"), true));
    EXPECT_EQ(rows(file.level2()), before);
}

TEST_F(LevelEditTest, LeaveCheckFindsALevel1ItemWithoutChildren) {
    EXPECT_EQ(editor.level1WithoutChildren(), nullptr);
    editor.remove(item("Calls"));
    EXPECT_EQ(editor.level1WithoutChildren(), &item("Sales"));
}

TEST_F(LevelEditTest, CountsTheRecordedTransactionsOfAnItemAndItsSubItems) {
    writeBytes(trs(), records(transactionHeader(),
                              std::vector<V4Record>{
                                  {1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}, {2, 2}, {1, 2}}));
    EXPECT_EQ(editor.recordedTransactions(item("Draft")).count, 3u);
    EXPECT_EQ(editor.recordedTransactions(item("Build")).count, 5u);
    EXPECT_EQ(deleteWarningText(editor.recordedTransactions(item("Calls"))),
              fillPlaceholders(kDeleteRecordedTimeText, {"1"}));
    // The count reads the file without keeping its transactions.
    EXPECT_FALSE(file.isLoaded());
    EXPECT_TRUE(file.store().empty());
}

TEST_F(LevelEditTest, AnUnreadableTransactionFileLeavesTheCountUnknownAndSaysWhy) {
    EXPECT_EQ(deleteWarningText(editor.recordedTransactions(item("Build"))), ""); // no file yet
    std::filesystem::create_directory(trs());
    const RecordedCount recorded = editor.recordedTransactions(item("Build"));
    EXPECT_FALSE(recorded.known());
    const std::string warning = deleteWarningText(recorded);
    const std::string unknown = fillPlaceholders(kDeleteRecordedTimeUnknownText, {""});
    EXPECT_EQ(warning.substr(0, unknown.size()), unknown);
    // The reason names the file; nothing closes over a count.
    EXPECT_NE(warning.find(trs(), unknown.size()), std::string::npos) << warning;
    EXPECT_EQ(warning.find(kProgramWillClose), std::string::npos) << warning;
    EXPECT_EQ(warning.find("save"), std::string::npos) << warning; // a read, told as a read
}

// Time moved along counts at its new place and goes on with a second move; sent time stays.
TEST_F(LevelEditTest, AMoveCountsTheUnsentTimeThatGoesAlongWithTheItem) {
    const V4Record sent{1, 2, "03/07/1999", "10:00", "11:00", 1};
    writeBytes(trs(),
               records(transactionHeader(), std::vector<V4Record>{{1, 2}, {1, 3}, sent, {2, 5}}));
    editor.drop(item("Draft"), item("Calls"), false, RecordedTime::Goes);
    EXPECT_EQ(editor.recordedTransactionsOfMove(item("Calls")).count, 3u);
    editor.drop(item("Calls"), item("Review"), false, RecordedTime::Goes);
    EXPECT_EQ(editor.recordedTransactionsOfMove(item("Review")).count, 3u);
}

TEST_F(LevelEditTest, TheRunningTransactionMarksItsItemAndTheItemsAboveAsTracked) {
    Tracker tracker(clock);
    AllowingView view;
    tracker.setViewTarget(&view);
    tracker.setItems(1, 3);
    EXPECT_FALSE(editor.isTracked(item("Sketch"), tracker));
    ASSERT_TRUE(tracker.start(false));
    for (const char* tracked : {"Sketch", "Draft", "Design", "Build"}) {
        EXPECT_TRUE(editor.isTracked(item(tracked), tracker)) << tracked;
    }
    for (const char* other : {"Review", "Sales", "Calls"}) {
        EXPECT_FALSE(editor.isTracked(item(other), tracker)) << other;
    }
}

TEST(TypedTreeNameTest, TrimsBlanksAndKeeps250Characters) {
    EXPECT_EQ(typedTreeName("  Design \t"), "Design");
    std::string longName;
    for (int i = 0; i < 260; ++i) {
        longName += "\xC3\xA9"; // two bytes, one character
    }
    EXPECT_EQ(typedTreeName(" " + longName), longName.substr(0, 500));
}

} // namespace
} // namespace vsolo::testing
