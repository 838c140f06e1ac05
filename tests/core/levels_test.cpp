#include "core/base/clock.h"
#include "core/model/levels.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vsolo {
namespace {

LevelItem makeItem(const std::string& name, std::int32_t subId = 0, std::uint8_t target = 0) {
    LevelItem item;
    item.setName(name);
    item.setSubId(subId);
    item.setTarget(target);
    return item;
}

// A level-2 item of the tree shape.
LevelItem makeNode(const std::string& name, std::int32_t group, std::int32_t subId,
                   std::int32_t parentSubId, std::int32_t depth) {
    LevelItem item = makeItem(name, subId);
    item.setLevel(2);
    item.setGroupNumber(group);
    item.setParentSubId(parentSubId);
    item.setDepth(depth);
    return item;
}

std::vector<std::string> namesOf(const LevelList& list) {
    std::vector<std::string> names;
    for (const auto& item : list.items()) {
        names.push_back(item->name());
    }
    return names;
}

std::vector<const LevelItem*> itemsOf(const LevelList& list) {
    std::vector<const LevelItem*> items;
    for (const auto& item : list.items()) {
        items.push_back(item.get());
    }
    return items;
}

// A level-1 and a level-2 list linked to each other, as the template file holds them.
struct LinkedLists {
    explicit LinkedLists(const Clock& clock = systemClock()) : level1(1, clock), level2(2, clock) {
        level1.setPartner(&level2);
        level2.setPartner(&level1);
    }
    LevelList level1;
    LevelList level2;
};

TEST(LevelListAddUnique, RefusesNamesEqualWithoutRegardToCase) {
    SettableClock clock(TimeValue(1000));
    LevelList list(1, clock);
    ASSERT_NE(list.addUnique(makeItem("Sales")), nullptr);
    EXPECT_EQ(list.addUnique(makeItem("sales")), nullptr);
    EXPECT_EQ(list.addUnique(makeItem("SALES", 77)), nullptr);
    // Latin-1 capitals fold too: ÉTÉ against été.
    ASSERT_NE(list.addUnique(makeItem("\xC3\x89T\xC3\x89")), nullptr);
    EXPECT_EQ(list.addUnique(makeItem("\xC3\xA9t\xC3\xA9")), nullptr);
    // Near misses are different names.
    EXPECT_NE(list.addUnique(makeItem("Sales ")), nullptr);
    EXPECT_NE(list.addUnique(makeItem("Sale")), nullptr);
    EXPECT_EQ(namesOf(list),
              (std::vector<std::string>{"Sales", "\xC3\x89T\xC3\x89", "Sales ", "Sale"}));
}

TEST(LevelListAddUnique, NumbersNewItemsFromTheClockSkippingTakenNumbers) {
    SettableClock clock(TimeValue(1000));
    LevelList list(2, clock);
    list.add(makeItem("taken a", 1000));
    list.add(makeItem("taken b", 1001));
    list.add(makeItem("taken c", 1003));

    const LevelItem original = makeItem("first");
    LevelItem* first = list.addUnique(original);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, &original);
    EXPECT_EQ(first->subId(), 1002);
    EXPECT_EQ(original.subId(), 0);
    EXPECT_EQ(first->level(), 2);
    EXPECT_EQ(list.addUnique(makeItem("second"))->subId(), 1004);

    // A number given by the caller is kept, even one below the clock.
    EXPECT_EQ(list.addUnique(makeItem("given", 7))->subId(), 7);

    clock.set(TimeValue(5000));
    EXPECT_EQ(list.addUnique(makeItem("later"))->subId(), 5000);

    // Only the list's own items count.
    LevelList other(2, clock);
    EXPECT_EQ(other.addUnique(makeItem("later"))->subId(), 5000);
    EXPECT_EQ(list.size(), 7u);
}

TEST(LevelListAddUnique, NeverHandsOutZeroAndWrapsAtTheTopOfTheRange) {
    SettableClock clock(TimeValue(0));
    LevelList list(1, clock);
    EXPECT_EQ(list.addUnique(makeItem("at zero"))->subId(), 1);

    clock.set(TimeValue(-1));
    list.add(makeItem("minus one", -1));
    EXPECT_EQ(list.addUnique(makeItem("below zero"))->subId(), 2);

    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    clock.set(TimeValue(kMax));
    list.add(makeItem("top", kMax));
    EXPECT_EQ(list.addUnique(makeItem("wrapped"))->subId(),
              std::numeric_limits<std::int32_t>::min());
}

TEST(LevelListAddUnique, ARenamedOrRemovedItemNoLongerHoldsItsName) {
    LevelList list(1);
    LevelItem* first = list.addUnique(makeItem("Alpha", 1));
    ASSERT_NE(list.addUnique(makeItem("Beta", 2)), nullptr);
    EXPECT_EQ(list.addUnique(makeItem("ALPHA", 3)), nullptr);
    first->setName("Gamma");
    EXPECT_EQ(list.findByName("alpha"), nullptr);
    EXPECT_EQ(list.findByName("GAMMA"), first);
    ASSERT_NE(list.addUnique(makeItem("Alpha", 3)), nullptr);
    list.remove(list.findByName("beta"));
    ASSERT_NE(list.addUnique(makeItem("beta", 4)), nullptr);
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"Gamma", "Alpha", "beta"}));
}

TEST(LevelListAddUnique, ANumberFreedMeanwhileIsHandedOutAgain) {
    SettableClock clock(TimeValue(500));
    LevelList list(2, clock);
    for (const char* name : {"a", "b", "c"}) {
        list.addUnique(makeItem(name));
    }
    ASSERT_EQ(list.at(2)->subId(), 502);
    list.remove(list.at(1)); // 501
    EXPECT_EQ(list.addUnique(makeItem("d"))->subId(), 501);
    list.at(0)->setSubId(7); // 500
    EXPECT_EQ(list.addUnique(makeItem("e"))->subId(), 500);
    EXPECT_EQ(list.addUnique(makeItem("f"))->subId(), 503);
    clock.set(TimeValue(501));
    EXPECT_EQ(list.addUnique(makeItem("g"))->subId(), 504);
}

TEST(LevelListAdd, AppendsWithoutNameTestAndSetsTheLevel) {
    LevelList list(2);
    LevelItem source = makeItem("same");
    source.setLevel(1);
    LevelItem* copy = list.add(source);
    EXPECT_NE(copy, &source);
    EXPECT_EQ(copy->level(), 2);
    EXPECT_EQ(source.level(), 1);
    EXPECT_NE(list.add(makeItem("SAME")), nullptr);

    auto owned = std::make_unique<LevelItem>(makeItem("handed over"));
    LevelItem* raw = owned.get();
    EXPECT_EQ(list.add(std::move(owned)), raw);
    EXPECT_EQ(raw->level(), 2);
    EXPECT_EQ(list.add(std::unique_ptr<LevelItem>()), nullptr);

    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"same", "SAME", "handed over"}));
    EXPECT_EQ(list.at(2), raw);
}

TEST(LevelListRemove, TakesOutOnlyListedItemsAndDropsTheirAssignments) {
    LinkedLists lists;
    LevelItem* shared = lists.level2.add(makeItem("shared", 10));
    LevelItem* kept = lists.level2.add(makeItem("kept", 20));
    LevelItem* last = lists.level2.add(makeItem("last", 30));
    LevelItem* both = lists.level1.add(makeItem("both", 1));
    LevelItem* only = lists.level1.add(makeItem("only", 2));
    both->assign(shared);
    both->assign(kept);
    only->assign(shared);

    LevelList stranger(2);
    LevelItem* foreign = stranger.add(makeItem("foreign", 10));
    EXPECT_FALSE(lists.level2.remove(foreign));
    EXPECT_FALSE(lists.level2.remove(nullptr));
    EXPECT_EQ(lists.level2.size(), 3u);
    EXPECT_EQ(stranger.size(), 1u);

    EXPECT_TRUE(lists.level2.remove(shared));
    EXPECT_EQ(itemsOf(lists.level2), (std::vector<const LevelItem*>{kept, last}));
    EXPECT_EQ(both->assigned(), (std::vector<LevelItem*>{kept}));
    EXPECT_TRUE(only->assigned().empty());
    EXPECT_FALSE(only->isAssigned(10));
    EXPECT_EQ(lists.level1.assignmentCount(), 1);

    EXPECT_FALSE(lists.level2.remove(shared));
    EXPECT_TRUE(lists.level2.remove(last));
    EXPECT_EQ(itemsOf(lists.level2), (std::vector<const LevelItem*>{kept}));

    // A level-1 item takes only itself away.
    EXPECT_TRUE(lists.level1.remove(both));
    EXPECT_EQ(itemsOf(lists.level1), (std::vector<const LevelItem*>{only}));
    EXPECT_EQ(itemsOf(lists.level2), (std::vector<const LevelItem*>{kept}));
}

TEST(LevelListClear, DestroysAllItemsAndTheirAssignments) {
    LinkedLists lists;
    LevelItem* x = lists.level2.add(makeItem("x", 1));
    LevelItem* y = lists.level2.add(makeItem("y", 2));
    LevelItem* root = lists.level1.add(makeItem("root", 5));
    LevelItem* other = lists.level1.add(makeItem("other", 6));
    root->assign(x);
    root->assign(y);
    other->assign(y);

    lists.level2.clear();
    EXPECT_TRUE(lists.level2.empty());
    EXPECT_TRUE(root->assigned().empty());
    EXPECT_TRUE(other->assigned().empty());
    EXPECT_EQ(lists.level1.assignmentCount(), 0);
    EXPECT_EQ(itemsOf(lists.level1), (std::vector<const LevelItem*>{root, other}));

    // Clearing an empty list is harmless, and the list takes new items afterwards.
    lists.level2.clear();
    EXPECT_TRUE(lists.level2.empty());
    LevelItem* fresh = lists.level2.add(makeItem("fresh", 1));
    root->assign(fresh);
    lists.level1.clear();
    EXPECT_TRUE(lists.level1.empty());
    EXPECT_EQ(itemsOf(lists.level2), (std::vector<const LevelItem*>{fresh}));
}

TEST(LevelListFind, BySubIdGroupAndLevel2Key) {
    LevelList list(2);
    LevelItem* a = list.add(makeNode("a", 1, 5, 0, 1));
    LevelItem* b = list.add(makeNode("b", 2, 5, 0, 1));
    LevelItem* c = list.add(makeNode("c", 2, 6, 5, 2));

    EXPECT_EQ(list.findBySubId(5), a);
    EXPECT_EQ(list.findBySubId(6), c);
    EXPECT_EQ(list.findBySubId(7), nullptr);
    EXPECT_EQ(list.findByGroup(2), b);
    EXPECT_EQ(list.findByGroup(1), a);
    EXPECT_EQ(list.findByGroup(3), nullptr);

    EXPECT_EQ(list.findLevel2(2, 5, true), b);
    EXPECT_EQ(list.findLevel2(1, 5, true), a);
    EXPECT_EQ(list.findLevel2(1, 6, true), nullptr);
    EXPECT_EQ(list.findLevel2(3, 5, true), nullptr);
    // The legacy shape knows items by sub-id alone.
    EXPECT_EQ(list.findLevel2(3, 5, false), a);
    EXPECT_EQ(list.findLevel2(1, 6, false), c);
    EXPECT_EQ(list.findLevel2(2, 9, false), nullptr);
}

TEST(LevelListFind, ByNameWithoutRegardToCase) {
    LevelList list(1);
    LevelItem* sales = list.add(makeItem("Sales"));
    LevelItem* other = list.add(makeItem("Other"));
    LevelItem* sales2 = list.add(makeItem("sales"));
    LevelItem* summer = list.add(makeItem("\xC3\xA9t\xC3\xA9"));

    EXPECT_EQ(list.findByName("SALES"), sales);
    EXPECT_EQ(list.findByName("\xC3\x89T\xC3\x89"), summer);
    EXPECT_EQ(list.findByName("Sale"), nullptr);
    EXPECT_EQ(list.findByName("Sales "), nullptr);
    EXPECT_EQ(list.findByName(""), nullptr);

    // The edited item is passed over; a namesake is found before or after it.
    EXPECT_EQ(list.findByNameExcept("sales", sales), sales2);
    EXPECT_EQ(list.findByNameExcept("sales", sales2), sales);
    EXPECT_EQ(list.findByNameExcept("OTHER", other), nullptr);
    EXPECT_EQ(list.findByNameExcept("other", sales), other);
    EXPECT_EQ(list.findByNameExcept("sales", nullptr), sales);
}

TEST(LevelListTarget, TotalIsKeptInEightBits) {
    LevelList level1(1);
    EXPECT_EQ(level1.totalTarget(), 0);
    level1.add(makeItem("a", 1, 40));
    level1.add(makeItem("b", 2, 60));
    EXPECT_EQ(level1.totalTarget(), 100);
    level1.add(makeItem("c", 3, 1));
    EXPECT_EQ(level1.totalTarget(), 101);

    LevelList wrapping(1);
    wrapping.add(makeItem("a", 1, 200));
    wrapping.add(makeItem("b", 2, 100));
    EXPECT_EQ(wrapping.totalTarget(), 44);

    LevelList level2(2);
    EXPECT_EQ(level2.totalTarget(), 255);
    level2.add(makeItem("a", 1, 10));
    EXPECT_EQ(level2.totalTarget(), 255);

    EXPECT_EQ(displayedTotalTarget(0), 0);
    EXPECT_EQ(displayedTotalTarget(44), 44);
    EXPECT_EQ(displayedTotalTarget(100), 100);
    EXPECT_EQ(displayedTotalTarget(101), 100);
    EXPECT_EQ(displayedTotalTarget(255), 100);
}

TEST(LevelListTarget, ChangeIsCappedByTheOtherItems) {
    LevelList level1(1);
    LevelItem* first = level1.add(makeItem("a", 1, 40));
    level1.add(makeItem("b", 2, 40));
    LevelItem* third = level1.add(makeItem("c", 3, 0));

    TargetChange change = checkTargetChange(level1, third, 30);
    EXPECT_EQ(change.target, 20);
    EXPECT_TRUE(change.overLimit);
    change = checkTargetChange(level1, third, 20);
    EXPECT_EQ(change.target, 20);
    EXPECT_FALSE(change.overLimit);
    // The item's own old target does not count against it.
    change = checkTargetChange(level1, first, 60);
    EXPECT_EQ(change.target, 60);
    EXPECT_FALSE(change.overLimit);
    // An item not yet in the list has all the others against it.
    change = checkTargetChange(level1, nullptr, 21);
    EXPECT_EQ(change.target, 20);
    EXPECT_TRUE(change.overLimit);

    LevelList full(1);
    LevelItem* lone = full.add(makeItem("lone", 1, 0));
    change = checkTargetChange(full, lone, 100);
    EXPECT_EQ(change.target, 100);
    EXPECT_FALSE(change.overLimit);
    change = checkTargetChange(full, lone, 101);
    EXPECT_EQ(change.target, 100);
    EXPECT_TRUE(change.overLimit);

    // Damaged data already above 100: nothing is left, never a negative target.
    LevelList damaged(1);
    damaged.add(makeItem("a", 1, 70));
    damaged.add(makeItem("b", 2, 60));
    LevelItem* victim = damaged.add(makeItem("c", 3, 0));
    change = checkTargetChange(damaged, victim, 10);
    EXPECT_EQ(change.target, 0);
    EXPECT_TRUE(change.overLimit);
}

TEST(LevelItemAssignments, ABatchGivesWhatAssigningOneByOneGives) {
    LevelList level2(2);
    LevelItem* x = level2.add(makeItem("x", 10));
    LevelItem* y = level2.add(makeItem("y", 20));
    LevelItem* z = level2.add(makeItem("z", 30));
    LevelItem first = makeItem("first", 1);
    LevelItem second = makeItem("second", 2);
    first.assign(z); // held before the batch starts

    AssignmentBatch batch;
    for (LevelItem* item : {y, z, x, y, static_cast<LevelItem*>(nullptr), x}) {
        batch.assign(first, item);
        batch.assign(second, item);
    }
    EXPECT_EQ(first.assigned(), (std::vector<LevelItem*>{z, y, x}));
    EXPECT_EQ(second.assigned(), (std::vector<LevelItem*>{y, z, x}));
    // Emptied, the set takes the same items again.
    batch.clear(first);
    EXPECT_TRUE(first.assigned().empty());
    batch.assign(first, x);
    batch.assign(first, x);
    EXPECT_EQ(first.assigned(), (std::vector<LevelItem*>{x}));
}

TEST(LevelListRemove, RemovingWhereATestHoldsIsRemovingEachInTurn) {
    LinkedLists lists;
    LevelItem* root = lists.level1.add(makeItem("root", 1));
    LevelItem* a = lists.level2.add(makeItem("a", 10));
    LevelItem* b = lists.level2.add(makeItem("b", 20));
    LevelItem* c = lists.level2.add(makeItem("c", 30));
    for (LevelItem* item : {c, a, b}) {
        root->assign(item);
    }
    ASSERT_EQ(lists.level2.findBySubId(30), c);
    EXPECT_EQ(lists.level2.removeWhere([](const LevelItem& item) { return item.subId() != 20; }),
              2u);
    EXPECT_EQ(itemsOf(lists.level2), (std::vector<const LevelItem*>{b}));
    EXPECT_EQ(root->assigned(), (std::vector<LevelItem*>{b}));
    EXPECT_EQ(lists.level2.findBySubId(30), nullptr);
    EXPECT_EQ(lists.level2.findBySubId(20), b);
    EXPECT_EQ(lists.level2.removeWhere([](const LevelItem&) { return false; }), 0u);
}

TEST(LevelItemAssignments, KeepOneReferencePerItemInOrder) {
    LevelList level2(2);
    LevelItem* x = level2.add(makeItem("x", 10));
    LevelItem* y = level2.add(makeItem("y", 20));
    LevelItem root = makeItem("root", 1);

    root.assign(y);
    root.assign(x);
    root.assign(y);
    root.assign(nullptr);
    EXPECT_EQ(root.assigned(), (std::vector<LevelItem*>{y, x}));
    EXPECT_TRUE(root.isAssigned(10));
    EXPECT_TRUE(root.isAssigned(20));
    EXPECT_FALSE(root.isAssigned(30));
    // The test follows the item's current number.
    x->setSubId(30);
    EXPECT_TRUE(root.isAssigned(30));
    EXPECT_FALSE(root.isAssigned(10));

    LevelItem stranger = makeItem("stranger", 20);
    EXPECT_FALSE(root.unassign(&stranger));
    EXPECT_TRUE(root.unassign(y));
    EXPECT_FALSE(root.unassign(y));
    EXPECT_EQ(root.assigned(), (std::vector<LevelItem*>{x}));
    EXPECT_TRUE(root.unassign(x));
    EXPECT_TRUE(root.assigned().empty());

    LevelList level1(1);
    level1.add(makeItem("none", 1));
    LevelItem* two = level1.add(makeItem("two", 2));
    LevelItem* one = level1.add(makeItem("one", 3));
    EXPECT_EQ(level1.assignmentCount(), 0);
    two->assign(x);
    two->assign(y);
    one->assign(x);
    EXPECT_EQ(level1.assignmentCount(), 3);

    // A copy carries its own set.
    LevelItem copy = *two;
    copy.unassign(x);
    EXPECT_EQ(two->assigned(), (std::vector<LevelItem*>{x, y}));
}

TEST(LevelItemSetters, StampModifiedOnlyWhenTheValueChanges) {
    SettableClock clock(TimeValue(500));
    ScopedModificationClock scope(clock);
    LevelItem item;
    EXPECT_EQ(item.name(), " ");
    EXPECT_EQ(item.description(), " ");
    EXPECT_EQ(item.thirdText(), " ");
    EXPECT_TRUE(item.isActive());
    EXPECT_EQ(item.level(), 1);
    EXPECT_EQ(item.modified(), TimeValue(0));

    std::int32_t now = 1000;
    // Each setter: the current value leaves the stamp alone, a new one stamps the clock's time.
    auto check = [&](const char* field, auto setSame, auto setNew) {
        SCOPED_TRACE(field);
        const TimeValue before = item.modified();
        clock.set(TimeValue(++now));
        setSame();
        EXPECT_EQ(item.modified(), before);
        clock.set(TimeValue(++now));
        setNew();
        EXPECT_EQ(item.modified(), TimeValue(now));
    };
    check(
        "sub-id", [&] { item.setSubId(0); }, [&] { item.setSubId(4); });
    check(
        "target", [&] { item.setTarget(0); }, [&] { item.setTarget(25); });
    check(
        "name", [&] { item.setName(" "); }, [&] { item.setName("Name"); });
    check(
        "name case", [&] { item.setName("Name"); }, [&] { item.setName("name"); });
    check(
        "description", [&] { item.setDescription(" "); }, [&] { item.setDescription("d"); });
    check(
        "third text", [&] { item.setThirdText(" "); }, [&] { item.setThirdText("t"); });
    check(
        "active", [&] { item.setActive(true); }, [&] { item.setActive(false); });
    check(
        "level", [&] { item.setLevel(1); }, [&] { item.setLevel(2); });
    check(
        "parent", [&] { item.setParentSubId(0); }, [&] { item.setParentSubId(9); });
    check(
        "group", [&] { item.setGroupNumber(0); }, [&] { item.setGroupNumber(3); });
    check(
        "depth", [&] { item.setDepth(0); }, [&] { item.setDepth(2); });

    EXPECT_EQ(item.subId(), 4);
    EXPECT_EQ(item.target(), 25);
    EXPECT_EQ(item.name(), "name");
    EXPECT_EQ(item.description(), "d");
    EXPECT_EQ(item.thirdText(), "t");
    EXPECT_FALSE(item.isActive());
    EXPECT_EQ(item.level(), 2);
    EXPECT_EQ(item.parentSubId(), 9);
    EXPECT_EQ(item.groupNumber(), 3);
    EXPECT_EQ(item.depth(), 2);

    // A copy keeps every field, the stamp included.
    clock.set(TimeValue(99999));
    const LevelItem copy = item;
    EXPECT_EQ(copy.modified(), TimeValue(now));
    EXPECT_EQ(copy.name(), "name");
    EXPECT_EQ(copy.thirdText(), "t");
    EXPECT_EQ(copy.depth(), 2);
}

TEST(LevelListSort, IsStableAndIgnoresCase) {
    LevelList list(1);
    LevelItem* beta = list.add(makeItem("beta"));
    LevelItem* upper = list.add(makeItem("Alpha"));
    LevelItem* lower = list.add(makeItem("alpha"));
    list.sortByName();
    EXPECT_EQ(itemsOf(list), (std::vector<const LevelItem*>{upper, lower, beta}));

    // Letters fold to lower case, so '_' comes before them; accented letters come after 'z'.
    LevelItem* accented = list.add(makeItem("\xC3\x89t\xC3\xA9"));
    LevelItem* zulu = list.add(makeItem("Zulu"));
    LevelItem* underscore = list.add(makeItem("_x"));
    LevelItem* alpha2 = list.add(makeItem("ALPHA"));
    LevelItem* prefix = list.add(makeItem("Alp"));
    list.sortByName();
    EXPECT_EQ(itemsOf(list), (std::vector<const LevelItem*>{underscore, prefix, upper, lower,
                                                            alpha2, beta, zulu, accented}));
}

TEST(LevelListCopyFrom, CopiesDeeplyAndRelinksAssignmentsToThePartner) {
    LinkedLists source;
    source.level1.setTitle("Project");
    LevelItem* s10 = source.level2.add(makeItem("ten", 10));
    LevelItem* s20 = source.level2.add(makeItem("twenty", 20));
    LevelItem* s30 = source.level2.add(makeItem("thirty", 30));
    LevelItem* a = source.level1.add(makeItem("A", 1, 30));
    a->setDescription("first");
    a->setActive(false);
    a->assign(s10);
    a->assign(s20);
    LevelItem* b = source.level1.add(makeItem("B", 2, 70));
    b->assign(s30);

    // The destination starts as a level-2 list with an item of its own.
    // The partner outlives the list that links to it.
    LevelList partner(2);
    LevelList destination(2);
    destination.setPartner(&partner);
    destination.add(makeItem("old", 99));
    LevelItem* p30 = partner.add(makeItem("thirty", 30));
    LevelItem* p10 = partner.add(makeItem("ten", 10));

    destination.copyFrom(source.level1);
    EXPECT_EQ(destination.title(), "Project");
    EXPECT_EQ(destination.level(), 1);
    ASSERT_EQ(destination.size(), 2u);
    LevelItem* ca = destination.at(0);
    LevelItem* cb = destination.at(1);
    EXPECT_NE(ca, a);
    EXPECT_NE(cb, b);
    EXPECT_EQ(ca->name(), "A");
    EXPECT_EQ(ca->subId(), 1);
    EXPECT_EQ(ca->target(), 30);
    EXPECT_EQ(ca->description(), "first");
    EXPECT_FALSE(ca->isActive());
    EXPECT_EQ(cb->name(), "B");
    EXPECT_EQ(destination.totalTarget(), 100);

    // Assignments point into the destination's partner, in source order; 20 is missing there.
    EXPECT_EQ(ca->assigned(), (std::vector<LevelItem*>{p10}));
    EXPECT_FALSE(ca->isAssigned(20));
    EXPECT_EQ(cb->assigned(), (std::vector<LevelItem*>{p30}));
    EXPECT_EQ(destination.assignmentCount(), 2);

    // The source is untouched and independent of the copy.
    ca->setName("changed");
    EXPECT_EQ(a->name(), "A");
    EXPECT_EQ(a->assigned(), (std::vector<LevelItem*>{s10, s20}));
    EXPECT_EQ(source.level1.size(), 2u);

    // Without a partner there is nothing to point at.
    LevelList lonely(1);
    lonely.copyFrom(source.level1);
    ASSERT_EQ(lonely.size(), 2u);
    EXPECT_TRUE(lonely.at(0)->assigned().empty());
    EXPECT_EQ(lonely.assignmentCount(), 0);

    // Copying onto itself keeps everything.
    destination.copyFrom(destination);
    EXPECT_EQ(itemsOf(destination), (std::vector<const LevelItem*>{ca, cb}));
}

TEST(LevelTree, ReorderPutsParentsBeforeChildren) {
    LevelList level2(2);
    LevelItem* a = level2.add(makeNode("a", 1, 3, 1, 2));
    LevelItem* broken = level2.add(makeNode("broken", 1, 8, 0, 0));
    LevelItem* b = level2.add(makeNode("b", 1, 1, 0, 1));
    LevelItem* c = level2.add(makeNode("c", 1, 2, 0, 1));
    LevelItem* f = level2.add(makeNode("f", 2, 7, 6, 3));
    LevelItem* d = level2.add(makeNode("d", 2, 5, 0, 1));
    LevelItem* negative = level2.add(makeNode("negative", 2, 9, 0, -1));
    LevelItem* e = level2.add(makeNode("e", 2, 6, 5, 2));
    LevelItem* g = level2.add(makeNode("g", 1, 4, 0, 1));
    LevelItem* h = level2.add(makeNode("h", 1, 10, 1, 2));

    level2.reorderForTree();
    // Depth 1 with children, depth 1 leaves, depth 2 with children, depth 2 leaves, depth 3,
    // then the damaged depths in list order.
    EXPECT_EQ(itemsOf(level2),
              (std::vector<const LevelItem*>{b, d, c, g, e, a, h, f, broken, negative}));

    // Already in tree order: a second pass changes nothing.
    const auto once = itemsOf(level2);
    level2.reorderForTree();
    EXPECT_EQ(itemsOf(level2), once);
}

TEST(LevelTree, PlacesItemsUnderTheirParentsThreeDeep) {
    LevelList level1(1);
    LevelItem* p1 = level1.add(makeItem("P1"));
    p1->setGroupNumber(1);
    LevelItem* p2 = level1.add(makeItem("P2"));
    p2->setGroupNumber(2);

    LevelList level2(2);
    // Listed with children before their parents, as a file may hold them.
    LevelItem* deep = level2.add(makeNode("deep", 2, 7, 6, 3));
    LevelItem* mid = level2.add(makeNode("mid", 2, 6, 5, 2));
    LevelItem* top2 = level2.add(makeNode("top2", 2, 5, 0, 1));
    LevelItem* top1 = level2.add(makeNode("top1", 1, 1, 0, 1));
    LevelItem* under1 = level2.add(makeNode("under1", 1, 3, 1, 2));

    const LevelTree tree = buildLevelTree(level1, level2);
    EXPECT_TRUE(tree.orphans.empty());
    ASSERT_EQ(tree.placements.size(), 5u);
    std::vector<std::pair<const LevelItem*, const LevelItem*>> placed;
    for (const TreePlacement& p : tree.placements) {
        placed.emplace_back(p.item, p.parent);
    }
    const std::vector<std::pair<const LevelItem*, const LevelItem*>> expected{
        {top2, p2}, {top1, p1}, {mid, top2}, {under1, top1}, {deep, mid}};
    EXPECT_EQ(placed, expected);
    // The placement order is the list order after the reorder.
    EXPECT_EQ(itemsOf(level2), (std::vector<const LevelItem*>{top2, top1, mid, under1, deep}));
    EXPECT_EQ(deep->depth(), 3);
    EXPECT_EQ(mid->depth(), 2);
    EXPECT_EQ(mid->groupNumber(), deep->groupNumber());
}

TEST(LevelTree, ReportsOrphansAndLosesNoItem) {
    LevelList level1(1);
    LevelItem* p1 = level1.add(makeItem("P1"));
    p1->setGroupNumber(1);
    LevelItem* p2 = level1.add(makeItem("P2"));
    p2->setGroupNumber(2);

    LevelList level2(2);
    LevelItem* good = level2.add(makeNode("good", 1, 1, 0, 1));
    LevelItem* other = level2.add(makeNode("other", 2, 2, 0, 1));
    LevelItem* noGroup = level2.add(makeNode("no group", 9, 3, 0, 1));
    LevelItem* noParent = level2.add(makeNode("no parent", 1, 4, 99, 2));
    // Its parent number exists, but in the other group.
    LevelItem* wrongGroup = level2.add(makeNode("wrong group", 1, 5, 2, 2));
    LevelItem* underOrphan = level2.add(makeNode("under orphan", 9, 6, 3, 2));
    LevelItem* zeroDepth = level2.add(makeNode("zero depth", 1, 7, 0, 0));
    LevelItem* negative = level2.add(makeNode("negative", 2, 8, 0, -3));

    const LevelTree tree = buildLevelTree(level1, level2);
    std::set<std::pair<const LevelItem*, const LevelItem*>> placed;
    for (const TreePlacement& p : tree.placements) {
        placed.emplace(p.item, p.parent);
    }
    EXPECT_EQ(tree.placements.size(), 2u);
    EXPECT_EQ(placed,
              (std::set<std::pair<const LevelItem*, const LevelItem*>>{{good, p1}, {other, p2}}));

    const std::set<const LevelItem*> orphans(tree.orphans.begin(), tree.orphans.end());
    EXPECT_EQ(tree.orphans.size(), orphans.size());
    EXPECT_EQ(orphans, (std::set<const LevelItem*>{noGroup, noParent, wrongGroup, underOrphan,
                                                   zeroDepth, negative}));
    EXPECT_EQ(level2.size(), 8u);

    // Negative group numbers are ordinary keys.
    LevelList negatives1(1);
    LevelItem* root = negatives1.add(makeItem("root"));
    root->setGroupNumber(-4);
    LevelList negatives2(2);
    LevelItem* child = negatives2.add(makeNode("child", -4, -1, 0, 1));
    LevelItem* grandchild = negatives2.add(makeNode("grandchild", -4, -2, -1, 2));
    const LevelTree small = buildLevelTree(negatives1, negatives2);
    ASSERT_EQ(small.placements.size(), 2u);
    EXPECT_TRUE(small.orphans.empty());
    EXPECT_EQ(small.placements[0].parent, root);
    EXPECT_EQ(small.placements[1].item, grandchild);
    EXPECT_EQ(small.placements[1].parent, child);
}

TEST(LevelLegacyPickerTree, ShowsAssignedItemsUnderSortedRoots) {
    LinkedLists lists;
    LevelItem* x = lists.level2.add(makeItem("x", 1));
    LevelItem* y = lists.level2.add(makeItem("y", 2));
    y->setActive(false);
    LevelItem* z = lists.level2.add(makeItem("z", 3));

    LevelItem* beta = lists.level1.add(makeItem("beta", 1));
    beta->assign(x);
    beta->assign(y);
    LevelItem* lower = lists.level1.add(makeItem("alpha", 2));
    lower->assign(z);
    lower->setActive(false);
    lists.level1.add(makeItem("empty", 3));
    LevelItem* onlyRemoved = lists.level1.add(makeItem("Alpha", 4));
    onlyRemoved->assign(y);
    LevelItem* gamma = lists.level1.add(makeItem("Gamma", 5));
    gamma->assign(z);
    gamma->assign(x);

    const std::vector<PickerRoot> all = legacyPickerTree(lists.level1, false);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].item, lower);
    EXPECT_EQ(all[1].item, onlyRemoved);
    EXPECT_EQ(all[2].item, beta);
    EXPECT_EQ(all[3].item, gamma);
    EXPECT_EQ(all[0].children, (std::vector<LevelItem*>{z}));
    EXPECT_EQ(all[1].children, (std::vector<LevelItem*>{y}));
    EXPECT_EQ(all[2].children, (std::vector<LevelItem*>{x, y}));
    EXPECT_EQ(all[3].children, (std::vector<LevelItem*>{z, x}));

    const std::vector<PickerRoot> active = legacyPickerTree(lists.level1, true);
    ASSERT_EQ(active.size(), 2u);
    EXPECT_EQ(active[0].item, beta);
    EXPECT_EQ(active[0].children, (std::vector<LevelItem*>{x}));
    EXPECT_EQ(active[1].item, gamma);
    EXPECT_EQ(active[1].children, (std::vector<LevelItem*>{z, x}));

    LevelList none(1);
    EXPECT_TRUE(legacyPickerTree(none, false).empty());
}

} // namespace
} // namespace vsolo

namespace vsolo {
namespace {

TEST(LevelListPartner, LinkGoesBothWaysAndEndsWithEitherList) {
    LevelList level1(1);
    {
        auto level2 = std::make_unique<LevelList>(2);
        level1.setPartner(level2.get());
        EXPECT_EQ(level2->partner(), &level1);
        LevelItem child;
        child.setName("child");
        child.setSubId(4);
        LevelItem parent;
        parent.setName("parent");
        level1.add(parent)->assign(level2->add(child));
        // Destroying the level-2 list first empties the assignment sets that pointed into it.
        level2.reset();
        EXPECT_EQ(level1.partner(), nullptr);
        EXPECT_TRUE(level1.at(0)->assigned().empty());
    }
    LevelList first(2);
    LevelList second(2);
    level1.setPartner(&first);
    level1.setPartner(&second);
    EXPECT_EQ(first.partner(), nullptr) << "re-linking undoes the old link";
    EXPECT_EQ(second.partner(), &level1);
    first.setPartner(&second);
    EXPECT_EQ(level1.partner(), nullptr);
    EXPECT_EQ(second.partner(), &first);
}

} // namespace
} // namespace vsolo
