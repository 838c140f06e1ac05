#include "core/levelitemrules.h"

#include "core/base/placeholders.h"
#include "core/preferences.h"

#include <charconv>

namespace vsolo {

std::string fillNumbered(std::string_view pattern, int number,
                         std::initializer_list<std::string_view> values) {
    std::string numbered(pattern);
    const std::size_t at = numbered.find("%d");
    if (at != std::string::npos) {
        numbered.replace(at, 2, std::to_string(number));
    }
    return fillPlaceholders(numbered, values);
}

namespace {

// The number a target field holds: an empty field is 0, blanks around the number are allowed,
// anything else (or a number too large for an int) is none.
std::optional<int> targetNumber(std::string_view text) {
    const std::string trimmed = trimmedTitle(text);
    if (trimmed.empty()) {
        return 0;
    }
    int value = 0;
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (*first == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        return std::nullopt;
    }
    return value;
}

} // namespace

int otherTargetsTotal(const LevelList& list, const LevelItem* edited) {
    if (list.level() != 1) {
        return -1;
    }
    int total = 0;
    for (const auto& item : list.items()) {
        if (item.get() != edited) {
            total += item->target();
        }
    }
    return total;
}

ItemCheck checkItemEntry(const LevelList& list, const LevelItem* edited, const ItemEntry& entry,
                         int otherTotal) {
    ItemCheck check;
    check.name = trimmedTitle(entry.name);
    if (check.name.empty() || list.findByNameExcept(check.name, edited)) {
        check.field = ItemField::Name;
        check.message = tx(kUniqueNameText);
        return check;
    }
    if (otherTotal < 0) {
        return check;
    }
    const std::optional<int> target = targetNumber(entry.target);
    check.field = ItemField::Target;
    if (!target) {
        check.message = tx(kEnterIntegerText);
    } else if (*target < 0 || *target > 100) {
        check.message = tx(kTargetRangeText);
    } else if (*target + otherTotal > 100) {
        check.message = tx(kTargetTotalText);
    } else {
        check.field = ItemField::None;
        check.target = *target;
    }
    return check;
}

std::optional<int> leftToAllocate(std::string_view targetText, int otherTotal) {
    const int target = targetNumber(targetText).value_or(0);
    if (target < 0 || target + otherTotal > 100) {
        return std::nullopt;
    }
    return 100 - otherTotal - target;
}

const LevelItem* trackedItemOf(const LevelList& list, const Tracker& tracker) {
    if (!tracker.isTracking()) {
        return nullptr;
    }
    const Transaction& running = tracker.running();
    return list.findBySubId(list.level() == 1 ? running.level1Key() : running.level2Key());
}

std::optional<std::string> deleteRefusal(const LevelList& list, const LevelItem& item,
                                         const Tracker& tracker) {
    if (trackedItemOf(list, tracker) != &item) {
        return std::nullopt;
    }
    return fillPlaceholders(tx(kTrackedItemText), {list.title()});
}

std::string deleteQuestion(const LevelList& list) {
    return fillPlaceholders(tx(kDeleteItemText), {list.title()});
}

void deleteItem(LevelList& list, const LevelItem& item, const TransactionStore& store) {
    store.forgetItem(item.subId(), list.level());
    // The list takes a level-2 item out of its partner's assignment sets as it destroys it.
    list.remove(&item);
}

void rebuildAssignments(LevelItem& owner, const LevelList& level2,
                        const std::vector<std::string>& chosenNames, const LevelList& level1,
                        const Tracker& tracker) {
    owner.clearAssignments();
    for (const std::string& name : chosenNames) {
        if (LevelItem* item = level2.findByName(name)) {
            owner.assign(item);
        }
    }
    if (trackedItemOf(level1, tracker) == &owner) {
        if (LevelItem* tracked = level2.findBySubId(tracker.running().level2Key())) {
            owner.assign(tracked);
        }
    }
}

} // namespace vsolo
