#pragma once

#include "core/base/usertext.h"
#include "core/model/levels.h"
#include "core/model/transactions.h"
#include "core/tracker.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules of the legacy level editor (two flat lists with assignment sets): what the item dialog
// accepts, what deleting an item does, and how a level-1 item's assignments are rebuilt from the
// names chosen for it. The windows only show the results.
namespace vsolo {

inline constexpr const char* kUniqueNameText =
    VSOLO_TR("Please enter a unique value for the name.");
inline constexpr const char* kEnterIntegerText = VSOLO_TR("Please enter an integer.");
inline constexpr const char* kTargetRangeText =
    VSOLO_TR("Please enter a number between 0 and 100.");
inline constexpr const char* kTargetTotalText =
    VSOLO_TR("The total target percentage must not be greater than 100%.");
inline constexpr const char* kLeftToAllocateText = VSOLO_TR("%% (%d%% left to allocate)");
inline constexpr const char* kTrackedItemText = VSOLO_TR(
    "You are currently tracking using this %s name.  Please stop tracking before deleting it.");
inline constexpr const char* kDeleteItemText =
    VSOLO_TR("Are you sure you want to delete this %s from the list?");

// A pattern's "%d" replaced by the number, then its other placeholders ("%s", "%%") filled.
std::string fillNumbered(std::string_view pattern, int number,
                         std::initializer_list<std::string_view> values = {});

// What the item dialog holds when OK is pressed, as typed.
struct ItemEntry {
    std::string name;
    std::string description;
    std::string target;
};

enum class ItemField { None, Name, Description, Target };

// The outcome of the dialog's checks: the first failing field with its message, or the values to
// store (the name trimmed, the target as a number).
struct ItemCheck {
    ItemField field = ItemField::None;
    const char* message = nullptr;
    std::string name;
    int target = 0;
    bool ok() const { return field == ItemField::None; }
};

// The targets of every item of the list but `edited` (none when adding); -1 for a list without
// targets (level 2).
int otherTargetsTotal(const LevelList& list, const LevelItem* edited);

// Checks in the order the user is told: the name, then the target. `otherTotal` of -1 means the
// list has no targets, and the target is then 0 whatever the field holds.
ItemCheck checkItemEntry(const LevelList& list, const LevelItem* edited, const ItemEntry& entry,
                         int otherTotal);

// What is left to allocate once the target field holds `targetText`: none when the field holds a
// negative number or one that the other targets leave no room for. An empty field counts as 0.
std::optional<int> leftToAllocate(std::string_view targetText, int otherTotal);

// The item of `list` that tracking runs against, when tracking is on.
const LevelItem* trackedItemOf(const LevelList& list, const Tracker& tracker);

// Deleting: refused with this text (the level title filled in) while the item is being tracked;
// none when the question may be asked.
std::optional<std::string> deleteRefusal(const LevelList& list, const LevelItem& item,
                                         const Tracker& tracker);
std::string deleteQuestion(const LevelList& list);
// Takes the item out of every assignment set (level 2), forgets it in the transactions that name
// it and destroys it.
void deleteItem(LevelList& list, const LevelItem& item, const TransactionStore& store);

// Rebuilds the owner's assignment set from the chosen names, each looked up in `level2` without
// regard to case. While tracking runs against the owner, its tracked level-2 item stays assigned.
void rebuildAssignments(LevelItem& owner, const LevelList& level2,
                        const std::vector<std::string>& chosenNames, const LevelList& level1,
                        const Tracker& tracker);

} // namespace vsolo
