#pragma once

#include "core/base/clock.h"
#include "core/base/timevalue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace vsolo {

// One thing the user records time against. Level-1 items are the broad items, level-2 items the
// work under them. In the tree shape (format 4) a level-1 item is known by its group number and a
// level-2 item by (group number, sub-id); in the legacy shape an item is known by its sub-id within
// its list, and a level-1 item carries the set of level-2 items offered under it.
class LevelList;

class LevelItem {
public:
    // The value of a text that was never set; files store it as a single space.
    static constexpr std::string_view kUnsetText = " ";

    std::int32_t subId() const { return m_subId; }
    std::uint8_t target() const { return m_target; }
    const std::string& name() const { return m_name; }
    const std::string& description() const { return m_description; }
    const std::string& thirdText() const { return m_thirdText; }
    TimeValue modified() const { return m_modified; }
    bool isActive() const { return m_active; }
    int level() const { return m_level; }
    std::int32_t parentSubId() const { return m_parentSubId; }
    std::int32_t groupNumber() const { return m_groupNumber; }
    std::int32_t depth() const { return m_depth; }

    // Every setter that changes a value stamps the modified time.
    void setSubId(std::int32_t value);
    void setTarget(std::uint8_t value);
    void setName(std::string value);
    void setDescription(std::string value);
    void setThirdText(std::string value);
    void setActive(bool value);
    void setLevel(int value);
    void setParentSubId(std::int32_t value);
    void setGroupNumber(std::int32_t value);
    void setDepth(std::int32_t value);

    // Legacy assignments: the level-2 items offered under this level-1 item, in assignment order.
    const std::vector<LevelItem*>& assigned() const { return m_assigned; }
    void assign(LevelItem* item);
    bool unassign(const LevelItem* item);
    bool isAssigned(std::int32_t subId) const;
    void clearAssignments() { m_assigned.clear(); }

private:
    friend class LevelList;
    friend class AssignmentBatch;
    void touch();
    void keysChanged();

    // The list that owns the item; a copy belongs to no list until it is added to one.
    struct OwnerLink {
        LevelList* list = nullptr;
        OwnerLink() = default;
        OwnerLink(const OwnerLink&) {}
        OwnerLink& operator=(const OwnerLink&) { return *this; }
    };

    std::int32_t m_subId = 0;
    std::uint8_t m_target = 0;
    std::string m_name{kUnsetText};
    std::string m_description{kUnsetText};
    std::string m_thirdText{kUnsetText};
    std::vector<LevelItem*> m_assigned;
    TimeValue m_modified;
    bool m_active = true;
    int m_level = 1;
    std::int32_t m_parentSubId = 0;
    std::int32_t m_groupNumber = 0;
    std::int32_t m_depth = 0;
    OwnerLink m_owner;
};

// The ordered items of one level. The list order is the display order. The list owns its items;
// pointers to them stay valid until the item is removed or the list is cleared.
class LevelList {
public:
    explicit LevelList(int level, const Clock& clock = systemClock());
    LevelList(const LevelList&) = delete;
    LevelList& operator=(const LevelList&) = delete;
    ~LevelList();

    int level() const { return m_level; }
    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }

    // The list of the other level, against which legacy assignments are rebuilt. The link goes
    // both ways and is undone when either list is destroyed.
    LevelList* partner() const { return m_partner; }
    void setPartner(LevelList* partner);

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    LevelItem* at(std::size_t index) const { return m_items[index].get(); }
    const std::vector<std::unique_ptr<LevelItem>>& items() const { return m_items; }

    // Refuses (nullptr) when an item of this list has the same name without regard to case.
    // Otherwise appends a copy; a sub-id of 0 becomes the first number, counting up from the
    // current date and time in seconds, that no item of the list holds.
    LevelItem* addUnique(const LevelItem& item);
    LevelItem* add(const LevelItem& item);
    LevelItem* add(std::unique_ptr<LevelItem> item);
    // Destroys the item; a level-2 item is also taken out of every assignment set of the partner.
    bool remove(const LevelItem* item);
    // remove() for every item the test picks, in one pass over the list and the partner's sets.
    std::size_t removeWhere(const std::function<bool(const LevelItem&)>& picked);
    void clear();

    LevelItem* findBySubId(std::int32_t subId) const;
    LevelItem* findByGroup(std::int32_t groupNumber) const;
    // Tree shape: by (group number, sub-id); legacy shape: by sub-id alone.
    LevelItem* findLevel2(std::int32_t groupNumber, std::int32_t subId, bool treeShape) const;

    // The place of the first item with the key, through an index built on first use, kept up to
    // date as items are appended and dropped whenever the list or an item's number changes; -1
    // when no item has the key.
    enum class Key { SubId, Group, GroupAndSubId };
    std::ptrdiff_t placeOf(Key key, std::int32_t groupNumber, std::int32_t subId) const;
    // The first item with the name without regard to case, through an index of the same kind.
    LevelItem* findByName(std::string_view name) const;
    // The same search that passes over one item, the one whose name is being edited.
    LevelItem* findByNameExcept(std::string_view name, const LevelItem* skip) const;

    // Sum of the targets in 8 bits, as stored; a level-2 list answers 255.
    std::uint8_t totalTarget() const;
    int assignmentCount() const;
    // Stable sort by name without regard to case.
    void sortByName();
    // Moves the item to the end of the list, as an item taken out and appended again; its
    // assignments and the sets it belongs to stay as they are. False when it is not in the list.
    bool moveToEnd(const LevelItem* item);
    // Deep copy of another list's title, level and items, with the legacy assignment sets rebuilt
    // by sub-id against this list's partner.
    void copyFrom(const LevelList& other);

    // Tree shape: reorders the list so that every parent comes before its children: by depth from
    // 1 upwards, and within a depth first the items that have children, each group in list order.
    // Items with a depth below 1 (only in a damaged file) keep their order at the end.
    void reorderForTree();

private:
    friend class LevelItem;
    LevelItem* adopt(std::unique_ptr<LevelItem> item);
    void dropIndex() const {
        m_indexValid = false;
        m_nameIndexValid = false;
        m_freeSearchValid = false;
    }
    void dropNameIndex() const { m_nameIndexValid = false; }
    void buildIndex() const;
    void buildNameIndex() const;
    // Takes an item appended at `place` into the indexes that are built.
    void indexAppended(const LevelItem& item, std::uint32_t place) const;
    std::int32_t freeSubIdFrom(std::int32_t start) const;

    const Clock* m_clock;
    std::vector<std::unique_ptr<LevelItem>> m_items;
    std::string m_title;
    LevelList* m_partner = nullptr;
    int m_level;
    mutable std::unordered_map<std::uint64_t, std::uint32_t> m_index[3];
    mutable bool m_indexValid = false;
    mutable std::unordered_map<std::u32string, std::uint32_t> m_nameIndex;
    mutable bool m_nameIndexValid = false;
    // The last search for a free sub-id: every number from `from` up to `found` was taken. Items
    // are only appended while it is valid, which frees no number, so a search from a start in
    // that stretch goes on from `found`.
    mutable std::int32_t m_freeSearchFrom = 0;
    mutable std::int32_t m_freeSearchFound = 0;
    mutable bool m_freeSearchValid = false;
};

// Assigns many level-2 items with the result LevelItem::assign gives for each in turn, but in
// time proportional to their number: assign() looks through the owner's whole set every time.
// Only the batch may change the sets of the owners it has touched while it is in use.
class AssignmentBatch {
public:
    void assign(LevelItem& owner, LevelItem* item);
    // Empties the owner's set, as LevelItem::clearAssignments does.
    void clear(LevelItem& owner);

private:
    void learn(LevelItem& owner);
    struct PairHash {
        std::size_t operator()(const std::pair<const LevelItem*, const LevelItem*>& p) const {
            return std::hash<const void*>()(p.first) * 31 + std::hash<const void*>()(p.second);
        }
    };
    std::unordered_set<std::pair<const LevelItem*, const LevelItem*>, PairHash> m_pairs;
    std::unordered_set<const LevelItem*> m_known;
};

// The total target as shown: the number, but above 100 it is shown as 100.
int displayedTotalTarget(std::uint8_t total);

// The rule applied when the user changes one level-1 item's target to `requested`: S is the total
// of all other level-1 items; S + requested above 100 is refused with the message and 100 - S
// (never below 0) is offered instead.
struct TargetChange {
    int target;
    bool overLimit; // "The total target percentage must not be greater than 100%." is due
};
TargetChange checkTargetChange(const LevelList& level1, const LevelItem* item, int requested);

// Where a tree-shaped template's level-2 items go, in an order in which each parent is placed
// before its children. parent is a level-1 item for depth 1, else a level-2 item.
struct TreePlacement {
    LevelItem* item;
    LevelItem* parent;
};
struct LevelTree {
    std::vector<TreePlacement> placements;
    std::vector<LevelItem*> orphans; // no parent could be found (damaged or half-edited data)
};
// Reorders level2 for the tree first (see LevelList::reorderForTree).
LevelTree buildLevelTree(const LevelList& level1, LevelList& level2);

// The tree of a legacy template as item pickers show it: one root per level-1 item with at least
// one assigned item, its assigned items as children, roots sorted by name. With activeOnly, removed
// roots and removed children are left out, and a root needs an active child to appear.
struct PickerRoot {
    LevelItem* item;
    std::vector<LevelItem*> children;
};
std::vector<PickerRoot> legacyPickerTree(const LevelList& level1, bool activeOnly);

} // namespace vsolo
