#pragma once

#include "core/base/fileresult.h"
#include "core/base/usertext.h"
#include "core/levelitemrules.h"
#include "core/model/templatefile.h"
#include "core/prompter.h"

#include <cstddef>
#include <optional>
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

// Asked before a move whose items have recorded transactions that are not sent: %1 how many,
// %2 the moved item. The second text follows when some others were sent already: %1 how many of
// those, %2 the moved item.
inline constexpr const char* kMoveRecordedTimeText =
    VSOLO_TR("%1 recorded transaction(s) of %2 will no longer show under it. Move its recorded "
             "time along with it?");
inline constexpr const char* kMoveSentTimeStaysText =
    VSOLO_TR("%1 other transaction(s) of %2 were already sent and stay where they are, whatever "
             "the answer.");
// Told instead when every one of them was sent: %1 how many, %2 the moved item.
inline constexpr const char* kMoveSentTimeText = VSOLO_TR(
    "%1 recorded transaction(s) of %2 were already sent and stay where they are: after the move "
    "their time is shown under \"?\" instead of a name.");
// Asked instead when the transaction file cannot be read for the count: %1 the moved item, %2 why.
inline constexpr const char* kMoveRecordedTimeUnknownText = VSOLO_TR(
    "The transaction file could not be read, so the recorded time of %1 cannot move along with "
    "it: any there is stays where it is and is shown under \"?\" after the move. Move %1 "
    "anyway?\r\n\r\n%2");

// The longest name typed into the level tree.
inline constexpr std::size_t kTreeNameLimit = 250;
// The longest description typed for a level item.
inline constexpr std::size_t kLevelDescriptionLimit = 255;

// How many recorded transactions refer to an item, or why that is not known.
struct RecordedCount {
    std::size_t count = 0;
    // Of those, the ones sent to the central server already.
    std::size_t sent = 0;
    // Done when the count is known; otherwise what kept the transaction file from being read.
    FileResult failure;

    bool known() const { return failure.ok(); }
};

// What the user is told before being asked whether to delete an item with the given count:
// nothing when no recorded transaction refers to it.
std::string deleteWarningText(const RecordedCount& recorded);

// Whether the recorded time of moved items goes with them (their unsent transactions get the new
// items' keys when the template is next saved) or stays under the old keys.
enum class RecordedTime { Stays, Goes };

// Asks what becomes of the recorded time before a move of the item whose transactions were
// counted by LevelEditor::recordedTransactionsOfMove(): nothing when none are recorded, Yes/No/
// Cancel when some can go along, only a notice when every one was sent. Absent when the user
// cancels the move.
std::optional<RecordedTime> askAboutRecordedTime(Prompter& prompter, const RecordedCount& recorded,
                                                 std::string_view itemName);

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
    // copy, the dragged subtree goes, and its recorded time goes along or stays as `recorded`
    // says, time moved along by earlier moves included. The level-2 list is put back into tree
    // order. Returns the new items, the one under target first; empty when canDrop() refuses.
    std::vector<LevelItem*> drop(const LevelItem& dragged, const LevelItem& target, bool copy,
                                 RecordedTime recorded = RecordedTime::Stays);

    // The first level-1 item with nothing under it, or nullptr.
    const LevelItem* level1WithoutChildren() const;

    // How many recorded transactions refer to the item or an item below it. Reads the
    // transaction file for the count when no view holds the transactions; a template without a
    // transaction file has none, and a file that cannot be read leaves the count unknown.
    RecordedCount recordedTransactions(const LevelItem& item);
    // The same for the transactions a move of the item re-keys: those with the keys of the item or
    // of an item below it (a level-1 item's transactions of items no longer there are left out).
    // Both counts take the time that earlier moves take along as the moved items'.
    RecordedCount recordedTransactionsOfMove(const LevelItem& item);
    // Whether the running transaction of a tracker that is tracking refers to the item or an item
    // below it.
    bool isTracked(const LevelItem& item, const Tracker& tracker) const;

private:
    LevelList& listOf(const LevelItem& item);
    // Takes the moves (old keys to new keys) into the key changes pending for the next save.
    void followMoves(const TransactionStore::KeyChanges& moves, RecordedTime recorded);
    bool removeOne(const LevelItem& item);

    TemplateFile& m_file;
};

} // namespace vsolo
