#include "core/leveledit.h"

#include "core/base/bytes.h"
#include "core/base/fileerrortext.h"
#include "core/base/placeholders.h"
#include "core/tracker.h"

#include <algorithm>
#include <map>
#include <unordered_set>

namespace vsolo {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

using ItemKey = std::pair<std::int32_t, std::int32_t>;

ItemKey keyOf(const LevelItem& item) {
    return {item.groupNumber(), item.subId()};
}

} // namespace

std::string typedTreeName(std::string_view typed) {
    while (!typed.empty() && isBlank(typed.front())) {
        typed.remove_prefix(1);
    }
    while (!typed.empty() && isBlank(typed.back())) {
        typed.remove_suffix(1);
    }
    std::size_t pos = 0;
    for (std::size_t n = 0; n < kTreeNameLimit && pos < typed.size(); ++n) {
        nextCodePoint(typed, pos);
    }
    return std::string(typed.substr(0, pos));
}

LevelList& LevelEditor::listOf(const LevelItem& item) {
    return item.subId() == 0 ? m_file.level1() : m_file.level2();
}

LevelItem* LevelEditor::addLevel1() {
    LevelItem item;
    item.setGroupNumber(m_file.store().takeGroupNumber());
    item.setName(m_file.level1().title());
    item.setDescription("");
    LevelItem* added = m_file.level1().add(item);
    if (added) {
        addLevel2(*added);
    }
    return added;
}

LevelItem* LevelEditor::addLevel2(const LevelItem& parent) {
    LevelItem item;
    item.setGroupNumber(parent.groupNumber());
    item.setSubId(m_file.store().takeSubId());
    item.setParentSubId(parent.subId());
    item.setDepth(parent.depth() + 1);
    item.setName(m_file.level2().title());
    item.setDescription("");
    return m_file.level2().add(item);
}

TargetChange LevelEditor::setTarget(LevelItem& item, int requested) {
    const TargetChange change = checkTargetChange(m_file.level1(), &item, requested);
    item.setTarget(static_cast<std::uint8_t>(change.target));
    return change;
}

std::vector<LevelItem*> LevelEditor::children(const LevelItem& item) const {
    std::vector<LevelItem*> found;
    for (const auto& candidate : m_file.level2().items()) {
        if (candidate->groupNumber() == item.groupNumber() &&
            candidate->parentSubId() == item.subId() && candidate->depth() == item.depth() + 1) {
            found.push_back(candidate.get());
        }
    }
    return found;
}

std::vector<LevelItem*> LevelEditor::subtree(const LevelItem& item) const {
    std::vector<LevelItem*> found{const_cast<LevelItem*>(&item)};
    for (std::size_t i = 0; i < found.size(); ++i) {
        // Each item's children follow it directly, so that the order is the tree's.
        const std::vector<LevelItem*> below = children(*found[i]);
        found.insert(found.begin() + static_cast<std::ptrdiff_t>(i) + 1, below.begin(),
                     below.end());
    }
    return found;
}

std::vector<LevelItem*> LevelEditor::deleteOrder(const LevelItem& item) const {
    std::vector<LevelItem*> order;
    // Children first, first child first, then the item: the order in which following first
    // children down to a leaf and deleting it reaches every item.
    const auto visit = [&](const auto& self, LevelItem* at) -> void {
        for (LevelItem* child : children(*at)) {
            self(self, child);
        }
        order.push_back(at);
    };
    visit(visit, const_cast<LevelItem*>(&item));
    return order;
}

bool LevelEditor::removeOne(const LevelItem& item) {
    return listOf(item).remove(&item);
}

bool LevelEditor::remove(const LevelItem& item) {
    bool removed = true;
    for (LevelItem* doomed : deleteOrder(item)) {
        removed = removeOne(*doomed) && removed;
    }
    return removed;
}

LevelItem* LevelEditor::copyToNewLevel1(const LevelItem& item) {
    const std::vector<LevelItem*> items = subtree(item);
    LevelItem root;
    root.setGroupNumber(m_file.store().takeGroupNumber());
    root.setName(item.name());
    root.setDescription(item.description());
    root.setThirdText("");
    LevelItem* added = m_file.level1().add(root);
    if (!added) {
        return nullptr;
    }
    std::map<ItemKey, std::int32_t> newSubIds{{keyOf(item), 0}};
    for (std::size_t i = 1; i < items.size(); ++i) {
        const LevelItem& from = *items[i];
        LevelItem copy;
        copy.setGroupNumber(added->groupNumber());
        copy.setSubId(m_file.store().takeSubId());
        copy.setDepth(from.depth() - item.depth());
        copy.setName(from.name());
        copy.setDescription(from.description());
        copy.setThirdText("");
        // Parents come before their children, so the parent's new number is known.
        copy.setParentSubId(newSubIds[{from.groupNumber(), from.parentSubId()}]);
        newSubIds[keyOf(from)] = copy.subId();
        m_file.level2().add(copy);
    }
    return added;
}

bool LevelEditor::canDrop(const LevelItem& dragged, const LevelItem& target, bool copy) const {
    if (&dragged == &target) {
        return false;
    }
    if (copy) {
        return true;
    }
    const std::vector<LevelItem*> moved = subtree(dragged);
    return std::find(moved.begin(), moved.end(), &target) == moved.end();
}

std::vector<LevelItem*> LevelEditor::drop(const LevelItem& dragged, const LevelItem& target,
                                          bool copy, RecordedTime recorded) {
    if (!canDrop(dragged, target, copy)) {
        return {};
    }
    const std::vector<LevelItem*> items = subtree(dragged);
    const std::int32_t offset = target.depth() - dragged.depth() + 1;
    const std::int32_t group = target.groupNumber();
    std::map<ItemKey, std::int32_t> newSubIds{{keyOf(dragged), 0}};
    TransactionStore::KeyChanges moves;
    std::vector<LevelItem*> added;
    for (const LevelItem* from : items) {
        LevelItem copyOf;
        copyOf.setGroupNumber(group);
        copyOf.setSubId(m_file.store().takeSubId());
        copyOf.setDepth(from->depth() + offset);
        copyOf.setName(from->name());
        copyOf.setDescription(from->description());
        copyOf.setTarget(from->target());
        copyOf.setThirdText(from->thirdText());
        copyOf.setParentSubId(from == &dragged
                                  ? target.subId()
                                  : newSubIds[{from->groupNumber(), from->parentSubId()}]);
        newSubIds[keyOf(*from)] = copyOf.subId();
        moves.emplace(keyOf(*from), ItemKey{group, copyOf.subId()});
        added.push_back(m_file.level2().add(copyOf));
    }
    if (!copy) {
        for (const LevelItem* moved : std::vector<LevelItem*>(items.rbegin(), items.rend())) {
            removeOne(*moved);
        }
        followMoves(moves, recorded);
    }
    m_file.level2().reorderForTree();
    return added;
}

void LevelEditor::followMoves(const TransactionStore::KeyChanges& moves, RecordedTime recorded) {
    // Time an earlier move takes to one of the moved items goes on to its new place with the rest,
    // or keeps the keys it has in the file.
    TransactionStore::KeyChanges& pending = m_file.pendingKeyChanges();
    for (auto it = pending.begin(); it != pending.end();) {
        const auto moved = moves.find(it->second);
        if (moved == moves.end()) {
            ++it;
        } else if (recorded == RecordedTime::Goes) {
            it->second = moved->second;
            ++it;
        } else {
            it = pending.erase(it);
        }
    }
    if (recorded == RecordedTime::Goes) {
        pending.insert(moves.begin(), moves.end());
    }
}

const LevelItem* LevelEditor::level1WithoutChildren() const {
    std::unordered_set<std::int32_t> groups;
    for (const auto& item : m_file.level2().items()) {
        groups.insert(item->groupNumber());
    }
    for (const auto& item : m_file.level1().items()) {
        if (!groups.contains(item->groupNumber())) {
            return item.get();
        }
    }
    return nullptr;
}

namespace {

struct SubtreeKeys {
    std::int32_t group;
    bool wholeGroup;
    std::unordered_set<std::int32_t> subIds;

    bool refersTo(ItemKey keys) const {
        return keys.first == group && (wholeGroup || subIds.contains(keys.second));
    }
};

// With wholeGroup everything of the item's group refers to it: for a level-1 item, records of items
// no longer there too.
SubtreeKeys keysOf(const LevelItem& item, const std::vector<LevelItem*>& items, bool wholeGroup) {
    SubtreeKeys keys{item.groupNumber(), wholeGroup, {}};
    for (const LevelItem* x : items) {
        keys.subIds.insert(x->subId());
    }
    return keys;
}

// Why the file could not be read, without the closing notice: nothing closes over a count.
std::string readFailureText(const FileResult& failure) {
    std::string why;
    for (const FileMessage& message : messagesOf(failure)) {
        if (message.kind != FileMessage::Kind::Closing) {
            why += (why.empty() ? "" : "\r\n\r\n") + message.text;
        }
    }
    return why;
}

// Reads the transaction file for the count when no view holds the transactions. An unsent
// transaction counts under the keys a pending move gives it.
RecordedCount countRecorded(TemplateFile& file, const SubtreeKeys& keys) {
    const bool held = file.isLoaded() || !file.store().empty();
    if (!held && file.path().empty()) {
        return {};
    }
    if (!held) {
        FileResult read = file.loadTransactions();
        if (!read.ok()) {
            file.unloadTransactions(false);
            // No transaction file yet: nothing was ever recorded.
            const bool none =
                read.what == FileResult::What::FileError && read.error.code == FileError::kNotFound;
            return none ? RecordedCount{} : RecordedCount{0, 0, std::move(read)};
        }
    }
    const TransactionStore::KeyChanges& pending = file.pendingKeyChanges();
    RecordedCount recorded{0, 0, FileResult::done()};
    for (const Day& day : file.store().days()) {
        for (const Transaction& t : day.transactions()) {
            ItemKey at{t.level1Key(), t.level2Key()};
            if (const auto moved = pending.find(at); !t.isSent() && moved != pending.end()) {
                at = moved->second;
            }
            if (keys.refersTo(at)) {
                ++recorded.count;
                recorded.sent += t.isSent() ? 1 : 0;
            }
        }
    }
    if (!held) {
        file.unloadTransactions(false);
    }
    return recorded;
}

} // namespace

std::string deleteWarningText(const RecordedCount& recorded) {
    if (recorded.known()) {
        return recorded.count == 0 ? std::string()
                                   : fillPlaceholders(tx(kDeleteRecordedTimeText),
                                                      {std::to_string(recorded.count)});
    }
    return fillPlaceholders(tx(kDeleteRecordedTimeUnknownText),
                            {readFailureText(recorded.failure)});
}

std::optional<RecordedTime> askAboutRecordedTime(Prompter& prompter, const RecordedCount& recorded,
                                                 std::string_view itemName) {
    using Answer = Prompter::Answer;
    if (!recorded.known()) {
        const std::string text = fillPlaceholders(tx(kMoveRecordedTimeUnknownText),
                                                  {itemName, readFailureText(recorded.failure)});
        return prompter.ask(text, Prompter::Buttons::YesNo, Answer::Yes, Prompter::Icon::Warning) ==
                       Answer::Yes
                   ? std::optional(RecordedTime::Stays)
                   : std::nullopt;
    }
    const std::string unsent = std::to_string(recorded.count - recorded.sent);
    const std::string sent = std::to_string(recorded.sent);
    if (recorded.count == recorded.sent) {
        if (recorded.sent > 0) {
            prompter.show(fillPlaceholders(tx(kMoveSentTimeText), {sent, itemName}),
                          Prompter::Icon::Warning);
        }
        return RecordedTime::Stays;
    }
    std::string text = fillPlaceholders(tx(kMoveRecordedTimeText), {unsent, itemName});
    if (recorded.sent > 0) {
        text += "\r\n\r\n" + fillPlaceholders(tx(kMoveSentTimeStaysText), {sent, itemName});
    }
    switch (
        prompter.ask(text, Prompter::Buttons::YesNoCancel, Answer::Yes, Prompter::Icon::Question)) {
    case Answer::Yes:
        return RecordedTime::Goes;
    case Answer::No:
        return RecordedTime::Stays;
    default:
        return std::nullopt;
    }
}

RecordedCount LevelEditor::recordedTransactions(const LevelItem& item) {
    return countRecorded(m_file, keysOf(item, subtree(item), item.subId() == 0));
}

RecordedCount LevelEditor::recordedTransactionsOfMove(const LevelItem& item) {
    return countRecorded(m_file, keysOf(item, subtree(item), false));
}

bool LevelEditor::isTracked(const LevelItem& item, const Tracker& tracker) const {
    const Transaction& running = tracker.running();
    return tracker.isTracking() && keysOf(item, subtree(item), item.subId() == 0)
                                       .refersTo({running.level1Key(), running.level2Key()});
}

} // namespace vsolo
