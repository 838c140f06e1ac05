#pragma once

#include "core/base/fileresult.h"
#include "core/base/usertext.h"
#include "core/levelitemrules.h"
#include "core/model/templatefile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

class Tracker;

// The target and tracking messages are the legacy editor's (kTargetTotalText, kTrackedItemText).
inline constexpr const char* kDeleteLevelItemText =
    VSOLO_TR("Are you sure you want to delete this item and all its sub-items?");
inline constexpr const char* kSelectItemToDeleteText =
    VSOLO_TR("Please select the item you wish to delete.");
// Told before the question above when recorded time refers to what is deleted; %s is the count.
inline constexpr const char* kDeleteRecordedTimeText = VSOLO_TR(
    "%s recorded transaction(s) refer to this item or its sub-items. After the delete their time "
    "is still kept, but it is shown under \"?\" instead of a name.");
// Told instead when the transaction file cannot be read for the count; %s is why.
inline constexpr const char* kDeleteRecordedTimeUnknownText = VSOLO_TR(
    "The transaction file could not be read, so it is not known how many recorded transactions "
    "refer to this item or its sub-items. If any do, their time is still kept after the delete, "
    "but it is shown under \"?\" instead of a name.\r\n\r\n%s");

// The longest name typed into the level tree.
inline constexpr std::size_t kTreeNameLimit = 250;
// The longest description typed for a level item.
inline constexpr std::size_t kLevelDescriptionLimit = 255;

// How many recorded transactions refer to an item, or why that is not known.
struct RecordedCount {
    std::size_t count = 0;
    // Done when the count is known; otherwise what kept the transaction file from being read.
    FileResult failure;

    bool known() const { return failure.ok(); }
};

// What the user is told before being asked whether to delete an item with the given count:
// nothing when no recorded transaction refers to it.
std::string deleteWarningText(const RecordedCount& recorded);

// A typed name without leading and trailing blanks, cut to kTreeNameLimit characters (UTF-8
// sequences are never split).
std::string typedTreeName(std::string_view typed);

// The editing operations of a tree-shaped template's level items. The editor works on the
// template's two lists in place and takes new numbers from the template's counters; it says
// nothing to the user: the view turns its results into messages.
class LevelEditor {
public:
    explicit LevelEditor(TemplateFile& file) : m_file(file) {}

    // A level-1 item named after the level-1 title, with one level-2 item under it named after
    // the level-2 title. Returns the level-1 item, or nullptr when the list did not take it.
    LevelItem* addLevel1();
    // A level-2 item as the last child of parent, named after the level-2 title.
    LevelItem* addLevel2(const LevelItem& parent);

    // Gives a level-1 item the target if the total stays within 100, else what is left; the
    // answer says which.
    TargetChange setTarget(LevelItem& item, int requested);

    // The items directly under the item, in list order.
    std::vector<LevelItem*> children(const LevelItem& item) const;
    // The item followed by everything below it, each parent before its children.
    std::vector<LevelItem*> subtree(const LevelItem& item) const;
    // Everything below the item and then the item, one leaf at a time: always the deepest item
    // reached by following first children.
    std::vector<LevelItem*> deleteOrder(const LevelItem& item) const;
    // Deletes in deleteOrder(); false when some item could not be taken out of its list.
    bool remove(const LevelItem& item);

    // A new level-1 item with the subtree's names and descriptions below it under new numbers;
    // the copied items are not changed. Returns the new level-1 item.
    LevelItem* copyToNewLevel1(const LevelItem& item);

    // Whether dropping dragged on target does something: not on itself, and a move not into its
    // own subtree.
    bool canDrop(const LevelItem& dragged, const LevelItem& target, bool copy) const;
    // Puts a copy of the dragged subtree under target as level-2 items with new numbers; unless
    // copy, the dragged subtree goes. The level-2 list is put back into tree order. Returns the
    // new items, the one under target first; empty when canDrop() refuses.
    std::vector<LevelItem*> drop(const LevelItem& dragged, const LevelItem& target, bool copy);

    // The first level-1 item with nothing under it, or nullptr.
    const LevelItem* level1WithoutChildren() const;

    // How many recorded transactions refer to the item or an item below it. Reads the
    // transaction file for the count when no view holds the transactions; a template without a
    // transaction file has none, and a file that cannot be read leaves the count unknown.
    RecordedCount recordedTransactions(const LevelItem& item);
    // Whether the running transaction of a tracker that is tracking refers to the item or an item
    // below it.
    bool isTracked(const LevelItem& item, const Tracker& tracker) const;

private:
    LevelList& listOf(const LevelItem& item);
    bool removeOne(const LevelItem& item);

    TemplateFile& m_file;
};

} // namespace vsolo
