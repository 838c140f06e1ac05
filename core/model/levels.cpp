#include "core/model/levels.h"

#include "core/base/namecompare.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace vsolo {

namespace {

template <typename T>
void setField(T& field, T value, LevelItem& item, void (LevelItem::*touch)()) {
    if (field != value) {
        field = std::move(value);
        (item.*touch)();
    }
}

std::uint64_t packKeys(std::int32_t high, std::int32_t low) {
    return (std::uint64_t{static_cast<std::uint32_t>(high)} << 32) |
           static_cast<std::uint32_t>(low);
}

std::int32_t nextSubIdAfter(std::int32_t candidate) {
    return candidate == std::numeric_limits<std::int32_t>::max()
               ? std::numeric_limits<std::int32_t>::min()
               : candidate + 1;
}

} // namespace

void LevelItem::touch() {
    m_modified = modificationClock().now();
}

// The owning list's index of numbers is dropped whenever a number changes.
void LevelItem::keysChanged() {
    if (m_owner.list) {
        m_owner.list->dropIndex();
    }
}

void LevelItem::setSubId(std::int32_t value) {
    setField(m_subId, value, *this, &LevelItem::touch);
    keysChanged();
}
void LevelItem::setTarget(std::uint8_t value) {
    setField(m_target, value, *this, &LevelItem::touch);
}
void LevelItem::setName(std::string value) {
    setField(m_name, std::move(value), *this, &LevelItem::touch);
    if (m_owner.list) {
        m_owner.list->dropNameIndex();
    }
}
void LevelItem::setDescription(std::string value) {
    setField(m_description, std::move(value), *this, &LevelItem::touch);
}
void LevelItem::setThirdText(std::string value) {
    setField(m_thirdText, std::move(value), *this, &LevelItem::touch);
}
void LevelItem::setActive(bool value) {
    setField(m_active, value, *this, &LevelItem::touch);
}
void LevelItem::setLevel(int value) {
    setField(m_level, value, *this, &LevelItem::touch);
}
void LevelItem::setParentSubId(std::int32_t value) {
    setField(m_parentSubId, value, *this, &LevelItem::touch);
}
void LevelItem::setGroupNumber(std::int32_t value) {
    setField(m_groupNumber, value, *this, &LevelItem::touch);
    keysChanged();
}
void LevelItem::setDepth(std::int32_t value) {
    setField(m_depth, value, *this, &LevelItem::touch);
}

void LevelItem::assign(LevelItem* item) {
    if (item && std::find(m_assigned.begin(), m_assigned.end(), item) == m_assigned.end()) {
        m_assigned.push_back(item);
    }
}

bool LevelItem::unassign(const LevelItem* item) {
    const auto it = std::find(m_assigned.begin(), m_assigned.end(), item);
    if (it == m_assigned.end()) {
        return false;
    }
    m_assigned.erase(it);
    if (m_assigned.empty()) {
        m_assigned.shrink_to_fit();
    }
    return true;
}

bool LevelItem::isAssigned(std::int32_t subId) const {
    return std::any_of(m_assigned.begin(), m_assigned.end(),
                       [subId](const LevelItem* item) { return item->subId() == subId; });
}

LevelList::LevelList(int level, const Clock& clock) : m_clock(&clock), m_level(level) {}

LevelList::~LevelList() {
    clear();
    setPartner(nullptr);
}

void LevelList::setPartner(LevelList* partner) {
    if (partner == m_partner || partner == this) {
        return;
    }
    if (m_partner) {
        m_partner->m_partner = nullptr;
    }
    m_partner = partner;
    if (partner) {
        if (partner->m_partner) {
            partner->m_partner->m_partner = nullptr;
        }
        partner->m_partner = this;
    }
}

LevelItem* LevelList::adopt(std::unique_ptr<LevelItem> item) {
    item->setLevel(m_level);
    item->m_owner.list = this;
    m_items.push_back(std::move(item));
    // An item at the end is never the first with a key that an earlier item holds already, so the
    // indexes take it in as they are.
    indexAppended(*m_items.back(), static_cast<std::uint32_t>(m_items.size() - 1));
    return m_items.back().get();
}

void LevelList::indexAppended(const LevelItem& item, std::uint32_t place) const {
    if (m_indexValid) {
        m_index[0].emplace(packKeys(0, item.subId()), place);
        m_index[1].emplace(packKeys(0, item.groupNumber()), place);
        m_index[2].emplace(packKeys(item.groupNumber(), item.subId()), place);
    }
    if (m_nameIndexValid) {
        m_nameIndex.emplace(foldedName(item.name()), place);
    }
}

std::int32_t LevelList::freeSubIdFrom(std::int32_t start) const {
    buildIndex();
    const bool resume = m_freeSearchValid && m_freeSearchFrom <= m_freeSearchFound &&
                        m_freeSearchFrom <= start && start <= m_freeSearchFound;
    const std::int32_t from = resume ? m_freeSearchFrom : start;
    std::int32_t candidate = resume ? m_freeSearchFound : start;
    // 0 means "no number"; skip it when counting up wraps around.
    while (candidate == 0 || m_index[0].count(packKeys(0, candidate)) != 0) {
        candidate = nextSubIdAfter(candidate);
    }
    m_freeSearchFrom = from;
    m_freeSearchFound = candidate;
    m_freeSearchValid = true;
    return candidate;
}

LevelItem* LevelList::addUnique(const LevelItem& item) {
    if (findByName(item.name())) {
        return nullptr;
    }
    auto copy = std::make_unique<LevelItem>(item);
    if (copy->subId() == 0) {
        copy->setSubId(freeSubIdFrom(m_clock->now().seconds()));
    }
    return adopt(std::move(copy));
}

LevelItem* LevelList::add(const LevelItem& item) {
    return adopt(std::make_unique<LevelItem>(item));
}

LevelItem* LevelList::add(std::unique_ptr<LevelItem> item) {
    return item ? adopt(std::move(item)) : nullptr;
}

std::size_t LevelList::removeWhere(const std::function<bool(const LevelItem&)>& picked) {
    std::unordered_set<const LevelItem*> leaving;
    for (const auto& item : m_items) {
        if (picked(*item)) {
            leaving.insert(item.get());
        }
    }
    if (leaving.empty()) {
        return 0;
    }
    if (m_partner) {
        for (const auto& other : m_partner->m_items) {
            auto& set = other->m_assigned;
            set.erase(std::remove_if(set.begin(), set.end(),
                                     [&leaving](const LevelItem* a) { return leaving.count(a); }),
                      set.end());
            if (set.empty()) {
                set.shrink_to_fit();
            }
        }
    }
    m_items.erase(
        std::remove_if(m_items.begin(), m_items.end(),
                       [&leaving](const auto& item) { return leaving.count(item.get()); }),
        m_items.end());
    dropIndex();
    return leaving.size();
}

bool LevelList::remove(const LevelItem* item) {
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [item](const auto& owned) { return owned.get() == item; });
    if (it == m_items.end()) {
        return false;
    }
    if (m_partner) {
        for (const auto& other : m_partner->m_items) {
            other->unassign(item);
        }
    }
    m_items.erase(it);
    dropIndex();
    return true;
}

bool LevelList::moveToEnd(const LevelItem* item) {
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [item](const auto& owned) { return owned.get() == item; });
    if (it == m_items.end()) {
        return false;
    }
    std::rotate(it, it + 1, m_items.end());
    dropIndex();
    return true;
}

void LevelList::clear() {
    if (m_items.empty()) {
        return;
    }
    if (m_partner) {
        std::unordered_set<const LevelItem*> leaving;
        for (const auto& item : m_items) {
            leaving.insert(item.get());
        }
        for (const auto& other : m_partner->m_items) {
            auto& set = other->m_assigned;
            set.erase(std::remove_if(set.begin(), set.end(),
                                     [&leaving](const LevelItem* a) { return leaving.count(a); }),
                      set.end());
        }
    }
    m_items.clear();
    dropIndex();
}

LevelItem* LevelList::findBySubId(std::int32_t subId) const {
    const std::ptrdiff_t place = placeOf(Key::SubId, 0, subId);
    return place < 0 ? nullptr : at(static_cast<std::size_t>(place));
}

LevelItem* LevelList::findByGroup(std::int32_t groupNumber) const {
    const std::ptrdiff_t place = placeOf(Key::Group, groupNumber, 0);
    return place < 0 ? nullptr : at(static_cast<std::size_t>(place));
}

LevelItem* LevelList::findLevel2(std::int32_t groupNumber, std::int32_t subId,
                                 bool treeShape) const {
    if (!treeShape) {
        return findBySubId(subId);
    }
    const std::ptrdiff_t place = placeOf(Key::GroupAndSubId, groupNumber, subId);
    return place < 0 ? nullptr : at(static_cast<std::size_t>(place));
}

void LevelList::buildNameIndex() const {
    if (m_nameIndexValid) {
        return;
    }
    m_nameIndex.clear();
    m_nameIndex.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_nameIndex.emplace(foldedName(m_items[i]->name()), static_cast<std::uint32_t>(i));
    }
    m_nameIndexValid = true;
}

LevelItem* LevelList::findByName(std::string_view name) const {
    buildNameIndex();
    const auto found = m_nameIndex.find(foldedName(name));
    return found == m_nameIndex.end() ? nullptr : at(found->second);
}

LevelItem* LevelList::findByNameExcept(std::string_view name, const LevelItem* skip) const {
    for (const auto& item : m_items) {
        if (item.get() != skip && namesEqual(item->name(), name)) {
            return item.get();
        }
    }
    return nullptr;
}

std::uint8_t LevelList::totalTarget() const {
    if (m_level == 2) {
        return 255;
    }
    std::uint8_t total = 0;
    for (const auto& item : m_items) {
        total = static_cast<std::uint8_t>(total + item->target());
    }
    return total;
}

int LevelList::assignmentCount() const {
    int count = 0;
    for (const auto& item : m_items) {
        count += static_cast<int>(item->assigned().size());
    }
    return count;
}

void LevelList::sortByName() {
    dropIndex();
    std::stable_sort(m_items.begin(), m_items.end(), [](const auto& a, const auto& b) {
        return compareNames(a->name(), b->name()) < 0;
    });
}

void LevelList::copyFrom(const LevelList& other) {
    if (&other == this) {
        return;
    }
    clear();
    m_title = other.m_title;
    m_level = other.m_level;
    m_items.reserve(other.m_items.size());
    AssignmentBatch batch;
    for (const auto& source : other.m_items) {
        auto copy = std::make_unique<LevelItem>(*source);
        copy->clearAssignments();
        if (m_partner) {
            for (const LevelItem* assigned : source->assigned()) {
                batch.assign(*copy, m_partner->findBySubId(assigned->subId()));
            }
        }
        copy->m_owner.list = this;
        m_items.push_back(std::move(copy));
    }
    dropIndex();
}

void LevelList::reorderForTree() {
    std::unordered_set<std::int32_t> parents;
    for (const auto& item : m_items) {
        parents.insert(item->parentSubId());
    }
    // Rank: depth first, then parents before leaves; non-positive depths go last.
    auto rank = [&parents](const LevelItem& item) {
        const std::int64_t depth = item.depth() >= 1
                                       ? item.depth()
                                       : std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        const bool hasChildren = item.depth() >= 1 && parents.count(item.subId()) != 0;
        return depth * 2 + (hasChildren ? 0 : 1);
    };
    std::stable_sort(m_items.begin(), m_items.end(),
                     [&rank](const auto& a, const auto& b) { return rank(*a) < rank(*b); });
    dropIndex();
}

void LevelList::buildIndex() const {
    if (m_indexValid) {
        return;
    }
    for (auto& index : m_index) {
        index.clear();
        index.reserve(m_items.size());
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const LevelItem& item = *m_items[i];
        const auto place = static_cast<std::uint32_t>(i);
        // emplace keeps the first item with a key
        m_index[0].emplace(packKeys(0, item.subId()), place);
        m_index[1].emplace(packKeys(0, item.groupNumber()), place);
        m_index[2].emplace(packKeys(item.groupNumber(), item.subId()), place);
    }
    m_indexValid = true;
}

std::ptrdiff_t LevelList::placeOf(Key key, std::int32_t groupNumber, std::int32_t subId) const {
    buildIndex();
    const auto& index = m_index[static_cast<int>(key)];
    const std::uint64_t packed = key == Key::SubId   ? packKeys(0, subId)
                                 : key == Key::Group ? packKeys(0, groupNumber)
                                                     : packKeys(groupNumber, subId);
    const auto found = index.find(packed);
    return found == index.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
}

void AssignmentBatch::learn(LevelItem& owner) {
    if (m_known.insert(&owner).second) {
        for (const LevelItem* item : owner.m_assigned) {
            m_pairs.emplace(&owner, item);
        }
    }
}

void AssignmentBatch::assign(LevelItem& owner, LevelItem* item) {
    if (!item) {
        return;
    }
    learn(owner);
    if (m_pairs.emplace(&owner, item).second) {
        owner.m_assigned.push_back(item);
    }
}

void AssignmentBatch::clear(LevelItem& owner) {
    learn(owner);
    for (const LevelItem* item : owner.m_assigned) {
        m_pairs.erase({&owner, item});
    }
    owner.clearAssignments();
}

int displayedTotalTarget(std::uint8_t total) {
    return total > 100 ? 100 : total;
}

TargetChange checkTargetChange(const LevelList& level1, const LevelItem* item, int requested) {
    int others = 0;
    for (const auto& other : level1.items()) {
        if (other.get() != item) {
            others += other->target();
        }
    }
    if (others + requested <= 100) {
        return {requested, false};
    }
    return {std::max(0, 100 - others), true};
}

LevelTree buildLevelTree(const LevelList& level1, LevelList& level2) {
    level2.reorderForTree();
    struct Key {
        std::int32_t group;
        std::int32_t subId;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<std::int64_t>()((std::int64_t{k.group} << 32) ^
                                             static_cast<std::uint32_t>(k.subId));
        }
    };
    std::unordered_map<Key, LevelItem*, KeyHash> placed;
    LevelTree tree;
    tree.placements.reserve(level2.size());
    for (const auto& owned : level2.items()) {
        LevelItem* item = owned.get();
        LevelItem* parent = nullptr;
        if (item->depth() == 1) {
            parent = level1.findByGroup(item->groupNumber());
        } else if (item->depth() > 1) {
            const auto it = placed.find({item->groupNumber(), item->parentSubId()});
            parent = it == placed.end() ? nullptr : it->second;
        }
        if (!parent) {
            tree.orphans.push_back(item);
            continue;
        }
        tree.placements.push_back({item, parent});
        placed.emplace(Key{item->groupNumber(), item->subId()}, item);
    }
    return tree;
}

std::vector<PickerRoot> legacyPickerTree(const LevelList& level1, bool activeOnly) {
    std::vector<PickerRoot> roots;
    for (const auto& owned : level1.items()) {
        if (activeOnly && !owned->isActive()) {
            continue;
        }
        PickerRoot root{owned.get(), {}};
        for (LevelItem* child : owned->assigned()) {
            if (!activeOnly || child->isActive()) {
                root.children.push_back(child);
            }
        }
        if (!root.children.empty()) {
            roots.push_back(std::move(root));
        }
    }
    std::stable_sort(roots.begin(), roots.end(), [](const PickerRoot& a, const PickerRoot& b) {
        return compareNames(a.item->name(), b.item->name()) < 0;
    });
    return roots;
}

} // namespace vsolo
