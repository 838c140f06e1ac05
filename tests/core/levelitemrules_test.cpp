#include "core/base/clock.h"
#include "core/levelitemrules.h"
#include "core/model/levels.h"
#include "core/model/transactions.h"
#include "core/tracker.h"
#include "tests/support/allowingview.h"
#include "tests/support/dates.h"

#include <cctype>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::hm;

// Two legacy lists: Sales (40) and Admin (30) on level 1; Letters and Calls on level 2, Letters
// assigned to Sales.
class LegacyLists : public ::testing::Test {
protected:
    LegacyLists() {
        level1.setPartner(&level2);
        level1.setTitle("Project");
        level2.setTitle("Activity");
        sales = level1.addUnique(item("Sales", 11, 40));
        admin = level1.addUnique(item("Admin", 12, 30));
        letters = level2.addUnique(item("Letters", 21));
        calls = level2.addUnique(item("Calls", 22));
        sales->assign(letters);
    }

    static LevelItem item(const std::string& name, std::int32_t subId, std::uint8_t target = 0) {
        LevelItem i;
        i.setName(name);
        i.setSubId(subId);
        i.setTarget(target);
        return i;
    }

    void track(std::int32_t level1Key, std::int32_t level2Key) {
        tracker.setViewTarget(&view);
        tracker.setItems(level1Key, level2Key);
        ASSERT_TRUE(tracker.start(false));
    }

    SettableClock clock{testing::dateTime(2024, 5, 6, 12, 0)};
    LevelList level1{1, clock};
    LevelList level2{2, clock};
    LevelItem* sales;
    LevelItem* admin;
    LevelItem* letters;
    LevelItem* calls;
    testing::AllowingView view;
    Tracker tracker{clock};
};

struct EntryCase {
    const char* what;
    const char* name;
    const char* target;
    bool editSales;
    ItemField field;
    const char* message;
};

class ItemEntryChecks : public LegacyLists, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(ItemEntryChecks, FirstFailureInOrder) {
    const EntryCase& c = GetParam();
    const LevelItem* edited = c.editSales ? sales : nullptr;
    const ItemCheck check =
        checkItemEntry(level1, edited, {c.name, "", c.target}, otherTargetsTotal(level1, edited));
    EXPECT_EQ(check.field, c.field);
    EXPECT_STREQ(check.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Level1, ItemEntryChecks,
    ::testing::Values(
        EntryCase{"blank name", "   ", "0", false, ItemField::Name, kUniqueNameText},
        EntryCase{"name of another in other case", "sales", "0", false, ItemField::Name,
                  kUniqueNameText},
        EntryCase{"name before target", "Admin", "abc", false, ItemField::Name, kUniqueNameText},
        EntryCase{"another's name while editing", "ADMIN", "0", true, ItemField::Name,
                  kUniqueNameText},
        EntryCase{"edited item keeps its name", "sales", "40", true, ItemField::None, nullptr},
        EntryCase{"not a number", "Calls", "1x", false, ItemField::Target, kEnterIntegerText},
        EntryCase{"below 0", "Calls", "-1", false, ItemField::Target, kTargetRangeText},
        EntryCase{"above 100", "Calls", "101", false, ItemField::Target, kTargetRangeText},
        EntryCase{"over the total", "Calls", "31", false, ItemField::Target, kTargetTotalText},
        EntryCase{"exactly what is left", "Calls", "30", false, ItemField::None, nullptr},
        EntryCase{"edited item's own target left out", "Sales", "70", true, ItemField::None,
                  nullptr},
        EntryCase{"empty target", "Calls", "", false, ItemField::None, nullptr}),
    [](const auto& param) {
        std::string name = param.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

TEST_F(LegacyLists, AcceptedEntryIsTrimmedAndCounted) {
    const ItemCheck check = checkItemEntry(level1, nullptr, {"  Travel ", "", " 12 "}, 70);
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check.name, "Travel");
    EXPECT_EQ(check.target, 12);
}

TEST_F(LegacyLists, Level2ListHasNoTargetToCheck) {
    EXPECT_EQ(otherTargetsTotal(level2, nullptr), -1);
    const ItemCheck check = checkItemEntry(level2, nullptr, {"Travel", "", "500"}, -1);
    EXPECT_TRUE(check.ok());
    EXPECT_EQ(check.target, 0);
}

TEST(LeftToAllocate, FollowsTheTargetField) {
    EXPECT_EQ(leftToAllocate("", 70), 30);
    EXPECT_EQ(leftToAllocate("10", 70), 20);
    EXPECT_EQ(leftToAllocate("30", 70), 0);
    EXPECT_EQ(leftToAllocate("31", 70), std::nullopt);
    EXPECT_EQ(leftToAllocate("-5", 0), std::nullopt);
}

TEST(FillNumbered, FillsTheNumberThenTheTexts) {
    EXPECT_EQ(fillNumbered(kLeftToAllocateText, 30), "% (30% left to allocate)");
    EXPECT_EQ(fillNumbered("Step %d: %s", 2, {"Activity"}), "Step 2: Activity");
}

struct TrackedCase {
    int level;
    const char* refusal;
};

class TrackedItemDelete : public LegacyLists, public ::testing::WithParamInterface<TrackedCase> {};

TEST_P(TrackedItemDelete, RefusedOnlyForTheTrackedItem) {
    const LevelList& list = GetParam().level == 1 ? level1 : level2;
    const LevelItem& tracked = GetParam().level == 1 ? *sales : *letters;
    const LevelItem& other = GetParam().level == 1 ? *admin : *calls;
    EXPECT_EQ(deleteRefusal(list, tracked, tracker), std::nullopt);
    track(sales->subId(), letters->subId());
    EXPECT_EQ(deleteRefusal(list, tracked, tracker), std::string(GetParam().refusal));
    EXPECT_EQ(deleteRefusal(list, other, tracker), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    BothLevels, TrackedItemDelete,
    ::testing::Values(TrackedCase{1, "You are currently tracking using this Project name.  Please "
                                     "stop tracking before deleting it."},
                      TrackedCase{2, "You are currently tracking using this Activity name.  "
                                     "Please stop tracking before deleting it."}));

TEST_F(LegacyLists, DeleteQuestionNamesTheLevel) {
    EXPECT_EQ(deleteQuestion(level2),
              "Are you sure you want to delete this Activity from the list?");
}

TEST_F(LegacyLists, DeletedLevel2ItemLeavesEverySetAndItsTransactionsShowNoName) {
    admin->assign(letters);
    admin->assign(calls);
    TransactionStore store{clock};
    const Transaction& t =
        *store.add(Transaction(date(2024, 5, 6), hm(8, 0), hm(9, 0), 12, 21, ""));
    ASSERT_EQ(level2Name(t, level2, false), "Letters");

    deleteItem(level2, *letters, store);

    EXPECT_TRUE(sales->assigned().empty());
    EXPECT_EQ(admin->assigned(), std::vector<LevelItem*>{calls});
    EXPECT_EQ(level2.findBySubId(21), nullptr);
    EXPECT_EQ(level2Name(t, level2, false), "?");
}

TEST_F(LegacyLists, AssignmentsRebuiltFromNamesWithoutRegardToCase) {
    rebuildAssignments(*sales, level2, {"calls", "Nothing"}, level1, tracker);
    EXPECT_EQ(sales->assigned(), std::vector<LevelItem*>{calls});
}

TEST_F(LegacyLists, TrackedPairStaysAssigned) {
    track(sales->subId(), letters->subId());
    rebuildAssignments(*sales, level2, {}, level1, tracker);
    rebuildAssignments(*admin, level2, {}, level1, tracker);
    EXPECT_EQ(sales->assigned(), std::vector<LevelItem*>{letters});
    EXPECT_TRUE(admin->assigned().empty());
}

TEST_F(LegacyLists, MoveToEndKeepsAssignments) {
    ASSERT_TRUE(level2.moveToEnd(letters));
    EXPECT_EQ(level2.at(1), letters);
    EXPECT_EQ(level2.findByName("letters"), letters);
    EXPECT_EQ(sales->assigned(), std::vector<LevelItem*>{letters});
    EXPECT_FALSE(level2.moveToEnd(sales));
}

} // namespace
} // namespace vsolo
