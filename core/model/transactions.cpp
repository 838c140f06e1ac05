#include "core/model/transactions.h"

#include "core/model/levels.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <sys/mman.h>
#include <unordered_map>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VSOLO_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define VSOLO_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define VSOLO_POISON(p, n) static_cast<void>(0)
#define VSOLO_UNPOISON(p, n) static_cast<void>(0)
#endif

namespace vsolo {

namespace {

// The cells of freed transactions, taken again before a new block is carved. A free cell is
// poisoned for the address checker, so a use after free is still caught.
class TransactionPool {
public:
    void* take() {
        Lock lock(m_busy);
        void* cell = nullptr;
        if (!m_free.empty()) {
            cell = m_free.back();
            m_free.pop_back();
        } else {
            if (m_next == m_end) {
                carve();
            }
            cell = m_next;
            m_next += kCell;
        }
        VSOLO_UNPOISON(cell, kCell);
        return cell;
    }
    void give(void* cell) noexcept {
        Lock lock(m_busy);
        VSOLO_POISON(cell, kCell);
        try {
            m_free.push_back(cell);
        } catch (...) {
            // No room to list it: the cell is lost to the pool, nothing else.
        }
    }

private:
    static constexpr std::size_t kCell = (sizeof(Transaction) + alignof(Transaction) - 1) /
                                         alignof(Transaction) * alignof(Transaction);
    // One huge page of the system where it has them: the cells of a large file then come with a
    // few page faults instead of one per 4 KiB.
    static constexpr std::size_t kBlock = std::size_t{2} << 20;

    // Transactions are made and freed on one thread; the flag only keeps two from ever meeting.
    class Lock {
    public:
        explicit Lock(std::atomic_flag& flag) : m_flag(flag) {
            while (m_flag.test_and_set(std::memory_order_acquire)) {
            }
        }
        ~Lock() { m_flag.clear(std::memory_order_release); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        std::atomic_flag& m_flag;
    };

    void carve() {
        auto* block =
            static_cast<unsigned char*>(::operator new (kBlock, std::align_val_t{kBlock}));
        ::madvise(block, kBlock, MADV_HUGEPAGE); // a hint; without it the block works the same
        VSOLO_POISON(block, kBlock);
        m_next = block;
        m_end = block + kBlock / kCell * kCell;
    }

    std::atomic_flag m_busy = ATOMIC_FLAG_INIT;
    unsigned char* m_next = nullptr;
    unsigned char* m_end = nullptr;
    std::vector<void*> m_free;
};

// Never destroyed: a transaction may be freed by the destructor of another static object.
TransactionPool& transactionPool() {
    static auto* pool = new TransactionPool;
    return *pool;
}

} // namespace

void* Transaction::operator new(std::size_t size) {
    return size == sizeof(Transaction) ? transactionPool().take() : ::operator new(size);
}

void Transaction::operator delete(void* p, std::size_t size) noexcept {
    if (!p) {
        return;
    }
    if (size == sizeof(Transaction)) {
        transactionPool().give(p);
    } else {
        ::operator delete(p, size);
    }
}

namespace {

template <typename T>
bool changeField(T& field, T value) {
    if (field == value) {
        return false;
    }
    field = std::move(value);
    return true;
}

bool lessByTime(const std::unique_ptr<Transaction>& a, const Transaction& b) {
    return *a < b;
}

} // namespace

void Transaction::assignRead(TimeValue date, TimeValue start, TimeValue end, std::int32_t level1Key,
                             std::int32_t level2Key, std::string_view description, bool sent) {
    m_date = date;
    m_start = start;
    m_end = end;
    m_level1Key = level1Key;
    m_level2Key = level2Key;
    m_stamp = 0;
    m_modified = TimeValue();
    m_sent = sent;
    m_error = false;
    m_description.assign(description);
    m_item1 = kNoItem;
    m_item2 = kNoItem;
}

void Transaction::touch() {
    m_modified = modificationClock().now();
}

#define VSOLO_SETTER(name, field, type)                                                            \
    void Transaction::name(type value) {                                                           \
        if (changeField(field, std::move(value))) {                                                \
            touch();                                                                               \
        }                                                                                          \
    }
VSOLO_SETTER(setStamp, m_stamp, std::int32_t)
VSOLO_SETTER(setSent, m_sent, bool)
VSOLO_SETTER(setError, m_error, bool)
VSOLO_SETTER(setDescription, m_description, std::string)
VSOLO_SETTER(setDate, m_date, TimeValue)
VSOLO_SETTER(setStart, m_start, TimeValue)
VSOLO_SETTER(setEnd, m_end, TimeValue)
#undef VSOLO_SETTER

void Transaction::setLevel1Key(std::int32_t value) {
    if (changeField(m_level1Key, value)) {
        touch();
    }
}

void Transaction::setLevel2Key(std::int32_t value) {
    if (changeField(m_level2Key, value)) {
        touch();
    }
}

namespace {

// The item at the cached place when it still matches, else the first item with the keys, whose
// place is then cached.
template <typename Match>
LevelItem* cachedLookup(const LevelList& list, std::uint32_t& place, std::uint32_t none,
                        Match matches, LevelList::Key key, std::int32_t group, std::int32_t subId) {
    if (place < list.size() && matches(*list.at(place))) {
        return list.at(place);
    }
    const std::ptrdiff_t found = list.placeOf(key, group, subId);
    place = found < 0 ? none : static_cast<std::uint32_t>(found);
    return found < 0 ? nullptr : list.at(static_cast<std::size_t>(found));
}

} // namespace

LevelItem* Transaction::level1Item(const LevelList& level1, bool treeShape) const {
    return cachedLookup(
        level1, m_item1, kNoItem,
        [&](const LevelItem& item) {
            return (treeShape ? item.groupNumber() : item.subId()) == m_level1Key;
        },
        treeShape ? LevelList::Key::Group : LevelList::Key::SubId, m_level1Key, m_level1Key);
}

LevelItem* Transaction::level2Item(const LevelList& level2, bool treeShape) const {
    return cachedLookup(
        level2, m_item2, kNoItem,
        [&](const LevelItem& item) {
            return item.subId() == m_level2Key && (!treeShape || item.groupNumber() == m_level1Key);
        },
        treeShape ? LevelList::Key::GroupAndSubId : LevelList::Key::SubId, m_level1Key,
        m_level2Key);
}

std::string_view level1Name(const Transaction& t, const LevelList& level1, bool treeShape) {
    const LevelItem* item = t.level1Item(level1, treeShape);
    return item ? std::string_view(item->name()) : kMissingItemName;
}

std::string_view level2Name(const Transaction& t, const LevelList& level2, bool treeShape) {
    const LevelItem* item = t.level2Item(level2, treeShape);
    return item ? std::string_view(item->name()) : kMissingItemName;
}

int Day::indexOf(const Transaction* t) const {
    if (!t) {
        return -1;
    }
    // Search the run of transactions with the same times first; fall back to a full scan for a
    // transaction whose times were changed in place.
    auto it = std::lower_bound(m_transactions.begin(), m_transactions.end(), *t, lessByTime);
    for (; it != m_transactions.end() && (*it)->sameTime(*t); ++it) {
        if (it->get() == t) {
            return static_cast<int>(it - m_transactions.begin());
        }
    }
    for (std::size_t i = 0; i < m_transactions.size(); ++i) {
        if (m_transactions[i].get() == t) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int Day::countUnsent() const {
    return static_cast<int>(std::count_if(m_transactions.begin(), m_transactions.end(),
                                          [](const auto& t) { return !t->isSent(); }));
}

void Day::markSent() {
    if (countUnsent() == 0) {
        return;
    }
    for (std::size_t i = 0; i < m_transactions.size(); ++i) {
        change(i, [](Transaction& t) { t.setSent(true); });
    }
}

void Day::markErrors() {
    const std::size_t n = m_transactions.size();
    for (std::size_t i = 0; i < n; ++i) {
        Transaction& t = *m_transactions[i];
        if (t.isSent()) {
            continue;
        }
        bool error = t.end() <= t.start();
        if (!error && i + 1 < n) {
            error = m_transactions[i + 1]->start() < t.end();
        }
        if (!error && i > 0 && m_transactions[i - 1]->isSent()) {
            error = t.start() < m_transactions[i - 1]->end();
        }
        if (error != t.isError()) {
            change(i, [error](Transaction& changed) { changed.setError(error); });
        }
    }
}

std::int64_t Day::total(std::int32_t level1Key, std::int32_t level2Key) const {
    std::int64_t sum = 0;
    if (level1Key == 0 && level2Key == 0) {
        for (const Summary& s : m_summaries) {
            sum += s.duration;
        }
        return sum;
    }
    for (const Summary& s : m_summaries) {
        if ((level1Key == 0 || s.level1Key == level1Key) &&
            (level2Key == 0 || s.level2Key == level2Key)) {
            sum += s.duration;
        }
    }
    return sum;
}

std::int32_t Day::freeStampFromDate() const {
    std::vector<std::int32_t> stamps;
    stamps.reserve(m_transactions.size());
    for (const auto& t : m_transactions) {
        if (t->stamp() >= m_date.seconds()) {
            stamps.push_back(t->stamp());
        }
    }
    std::sort(stamps.begin(), stamps.end());
    std::int32_t candidate = m_date.seconds();
    for (std::int32_t stamp : stamps) {
        if (stamp > candidate) {
            break;
        }
        if (stamp == candidate) {
            ++candidate;
        }
    }
    return candidate;
}

Transaction* Day::insert(std::unique_ptr<Transaction> t) {
    Transaction* raw = t.get();
    const Summary summary = summarize(*t);
    if (m_transactions.empty() || !(*t < *m_transactions.back())) {
        m_transactions.push_back(std::move(t));
        m_summaries.push_back(summary);
    } else {
        const auto at =
            std::lower_bound(m_transactions.begin(), m_transactions.end(), *t, lessByTime);
        const auto index = at - m_transactions.begin();
        m_transactions.insert(at, std::move(t));
        m_summaries.insert(m_summaries.begin() + index, summary);
    }
    return raw;
}

void Day::replaceAll(std::vector<std::unique_ptr<Transaction>> ordered) {
    m_transactions = std::move(ordered);
    m_summaries.clear();
    m_summaries.reserve(m_transactions.size());
    for (const auto& t : m_transactions) {
        m_summaries.push_back(summarize(*t));
    }
}

std::unique_ptr<Transaction> Day::take(const Transaction* t) {
    const int index = indexOf(t);
    if (index < 0) {
        return nullptr;
    }
    const auto it = m_transactions.begin() + index;
    std::unique_ptr<Transaction> owned = std::move(*it);
    m_transactions.erase(it);
    m_summaries.erase(m_summaries.begin() + index);
    return owned;
}

const Transaction* TransactionStore::add(const Transaction& t) {
    return add(std::make_unique<Transaction>(t));
}

const Transaction* TransactionStore::add(std::unique_ptr<Transaction> t) {
    if (!t) {
        return nullptr;
    }
    if (t->stamp() == 0) {
        t->initStamp(m_clock->now().seconds());
    }
    return findOrCreateDay(t->date())->insert(std::move(t));
}

namespace {

// One transaction on its way into a day through addAll, and where add() would have put it among
// transactions of the same times: at the end when it was not earlier than the day's last one
// (after every equal one there then), else before every equal one there then. Since the day's last
// one only grows, the equal ones of a day end up as: those put before, the latest first; those
// already in the day; those put at the end, in their order.
struct Arrival {
    std::unique_ptr<Transaction> t;
    int rank; // 0 put before its equals, 1 already in the day, 2 put at the end
    std::size_t order;
};

struct DayArrivals {
    TimeValue date;
    Day* day = nullptr; // the day of the store, or nullptr for a new one
    const Transaction* last = nullptr;
    bool allAtTheEnd = true;
    std::vector<Arrival> arrivals;
};

bool arrivesEarlier(const Arrival& a, const Arrival& b) {
    if (*a.t < *b.t || *b.t < *a.t) {
        return *a.t < *b.t;
    }
    if (a.rank != b.rank) {
        return a.rank < b.rank;
    }
    return a.rank == 0 ? a.order > b.order : a.order < b.order;
}

} // namespace

bool TransactionStore::appendDay(std::vector<std::unique_ptr<Transaction>>& ordered) {
    if (ordered.empty()) {
        return true;
    }
    const TimeValue date = ordered.front() ? ordered.front()->date() : TimeValue();
    if (!ordered.front() || (!m_days.empty() && !(m_days.back()->date() < date))) {
        return false;
    }
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        if (!ordered[i] || ordered[i]->date() != date || *ordered[i] < *ordered[i - 1]) {
            return false;
        }
    }
    for (const auto& t : ordered) {
        if (t->stamp() == 0) {
            t->initStamp(m_clock->now().seconds());
        }
    }
    m_days.push_back(std::make_unique<Day>(date));
    m_days.back()->replaceAll(std::move(ordered));
    ordered.clear();
    return true;
}

void TransactionStore::addAll(std::vector<std::unique_ptr<Transaction>> list) {
    std::vector<DayArrivals> days;
    std::unordered_map<std::int32_t, std::size_t> dayOfDate;
    // Transactions of a day mostly come one after the other: the day of the last one is tried
    // first.
    std::size_t lastDay = 0;
    for (auto& t : list) {
        if (!t) {
            continue;
        }
        if (t->stamp() == 0) {
            t->initStamp(m_clock->now().seconds());
        }
        if (days.empty() || days[lastDay].date != t->date()) {
            const auto [found, fresh] = dayOfDate.try_emplace(t->date().seconds(), days.size());
            if (fresh) {
                DayArrivals entry;
                entry.date = t->date();
                entry.day = findDay(t->date());
                entry.last = entry.day ? entry.day->lastTransaction() : nullptr;
                days.push_back(std::move(entry));
            }
            lastDay = found->second;
        }
        DayArrivals& target = days[lastDay];
        const bool atTheEnd = !target.last || !(*t < *target.last);
        if (atTheEnd) {
            target.last = t.get();
        }
        target.allAtTheEnd = target.allAtTheEnd && atTheEnd;
        target.arrivals.push_back({std::move(t), atTheEnd ? 2 : 0, target.arrivals.size()});
    }
    bool newDays = false;
    for (DayArrivals& entry : days) {
        std::vector<std::unique_ptr<Transaction>> ordered;
        const std::size_t existing = entry.day ? entry.day->size() : 0;
        ordered.reserve(existing + entry.arrivals.size());
        if (entry.day) {
            for (std::size_t i = 0; i < existing; ++i) {
                entry.arrivals.push_back({std::move(entry.day->m_transactions[i]), 1, i});
            }
        }
        if (!entry.allAtTheEnd) {
            std::sort(entry.arrivals.begin(), entry.arrivals.end(), arrivesEarlier);
        } else if (existing > 0) {
            // Each came at the end: the day's own transactions stay in front of them.
            std::rotate(entry.arrivals.begin(),
                        entry.arrivals.end() - static_cast<std::ptrdiff_t>(existing),
                        entry.arrivals.end());
        }
        for (Arrival& a : entry.arrivals) {
            ordered.push_back(std::move(a.t));
        }
        if (!entry.day) {
            m_days.push_back(std::make_unique<Day>(entry.date));
            entry.day = m_days.back().get();
            newDays = true;
        }
        entry.day->replaceAll(std::move(ordered));
    }
    const auto byDate = [](const auto& a, const auto& b) { return a->date() < b->date(); };
    if (newDays && !std::is_sorted(m_days.begin(), m_days.end(), byDate)) {
        std::sort(m_days.begin(), m_days.end(), byDate);
    }
}

std::unique_ptr<Transaction> TransactionStore::take(const Transaction* t) {
    Day* day = dayOf(t);
    if (!day) {
        return nullptr;
    }
    std::unique_ptr<Transaction> owned = day->take(t);
    if (day->empty()) {
        removeDay(day);
    }
    return owned;
}

const Transaction* TransactionStore::update(const Transaction* t, const Transaction& value) {
    Day* day = dayOf(t);
    if (!day) {
        return nullptr;
    }
    if (t->sameTime(value)) {
        day->change(static_cast<std::size_t>(day->indexOf(t)),
                    [&value](Transaction& stored) { stored = value; });
        return t;
    }
    std::unique_ptr<Transaction> owned = take(t);
    *owned = value;
    return add(std::move(owned));
}

std::size_t TransactionStore::rekey(std::int32_t old1, std::int32_t old2, std::int32_t new1,
                                    std::int32_t new2) {
    return rekey({{{old1, old2}, {new1, new2}}});
}

std::size_t TransactionStore::rekey(const KeyChanges& newKeys) {
    return rekeyWhere(newKeys, false);
}

std::size_t TransactionStore::rekeyUnsent(const KeyChanges& newKeys) {
    return rekeyWhere(newKeys, true);
}

std::size_t TransactionStore::rekeyWhere(const KeyChanges& newKeys, bool unsentOnly) {
    std::size_t changed = 0;
    if (newKeys.empty()) {
        return changed;
    }
    for (const auto& day : m_days) {
        for (std::size_t i = 0; i < day->size(); ++i) {
            const Transaction& t = *day->at(i);
            const auto found = newKeys.find({t.level1Key(), t.level2Key()});
            if (found != newKeys.end() && !(unsentOnly && t.isSent())) {
                day->change(i, [&keys = found->second](Transaction& moved) {
                    moved.setLevel1Key(keys.first);
                    moved.setLevel2Key(keys.second);
                });
                ++changed;
            }
        }
    }
    return changed;
}

Day* TransactionStore::dayOf(const Transaction* t) {
    if (!t) {
        return nullptr;
    }
    const std::size_t index = lowerBound(t->date());
    if (index == m_days.size() || m_days[index]->date() != t->date() ||
        m_days[index]->indexOf(t) < 0) {
        return nullptr;
    }
    return m_days[index].get();
}

bool TransactionStore::removeDay(const Day* day) {
    if (!day) {
        return false;
    }
    const std::size_t index = lowerBound(day->date());
    if (index == m_days.size() || m_days[index].get() != day) {
        return false;
    }
    m_days.erase(m_days.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::size_t TransactionStore::lowerBound(TimeValue date) const {
    const auto it = std::lower_bound(m_days.begin(), m_days.end(), date,
                                     [](const auto& day, TimeValue d) { return day->date() < d; });
    return static_cast<std::size_t>(it - m_days.begin());
}

Day* TransactionStore::findOrCreateDay(TimeValue date) {
    if (m_days.empty() || m_days.back()->date() < date) {
        // Days filled in date order (a file being read) tend to be alike; starting with the size of
        // the day before spares most of the regrowing.
        const std::size_t expected = m_days.empty() ? 0 : m_days.back()->size();
        m_days.push_back(std::make_unique<Day>(date));
        m_days.back()->reserve(expected);
        return m_days.back().get();
    }
    if (m_days.back()->date() == date) {
        return m_days.back().get();
    }
    const std::size_t index = lowerBound(date);
    if (m_days[index]->date() == date) {
        return m_days[index].get();
    }
    const auto it = m_days.insert(m_days.begin() + static_cast<std::ptrdiff_t>(index),
                                  std::make_unique<Day>(date));
    return it->get();
}

const Day* TransactionStore::findDay(TimeValue date) const {
    const int index = indexOfDay(date);
    return index < 0 ? nullptr : m_days[static_cast<std::size_t>(index)].get();
}

Day* TransactionStore::findDay(TimeValue date) {
    const int index = indexOfDay(date);
    return index < 0 ? nullptr : m_days[static_cast<std::size_t>(index)].get();
}

int TransactionStore::indexOfDay(TimeValue date) const {
    const std::size_t index = lowerBound(date);
    return index < m_days.size() && m_days[index]->date() == date ? static_cast<int>(index) : -1;
}

TransactionStore::DayRange TransactionStore::dayRange(TimeValue from, TimeValue to) const {
    if (to < from) {
        std::swap(from, to);
    }
    const std::size_t first = lowerBound(from);
    if (first == m_days.size() || to < m_days[first]->date()) {
        return {};
    }
    // The last day not after `to` is the one before the first day after it.
    const auto afterLast =
        std::upper_bound(m_days.begin() + static_cast<std::ptrdiff_t>(first), m_days.end(), to,
                         [](TimeValue d, const auto& day) { return d < day->date(); });
    return {static_cast<int>(first), static_cast<int>(afterLast - m_days.begin()) - 1};
}

TransactionStore::DayRange TransactionStore::allDays() const {
    return m_days.empty() ? DayRange{} : DayRange{0, static_cast<int>(m_days.size()) - 1};
}

const Transaction* TransactionStore::findByKeys(std::int32_t level1Key,
                                                std::int32_t level2Key) const {
    for (const auto& day : m_days) {
        for (const Transaction& t : day->transactions()) {
            if (t.level1Key() == level1Key && t.level2Key() == level2Key) {
                return &t;
            }
        }
    }
    return nullptr;
}

std::int64_t TransactionStore::total(DayRange range, std::int32_t level1Key,
                                     std::int32_t level2Key) const {
    std::int64_t sum = 0;
    if (range.empty()) {
        return sum;
    }
    for (int i = range.first; i <= range.last; ++i) {
        sum += m_days[static_cast<std::size_t>(i)]->total(level1Key, level2Key);
    }
    return sum;
}

std::int64_t KeyPairTotals::of(std::int32_t level1Key, std::int32_t level2Key) const {
    const auto found = m_byPair.find(pack(level1Key, level2Key));
    return found == m_byPair.end() ? 0 : found->second;
}

KeyPairTotals TransactionStore::totalsByKeys(DayRange range) const {
    KeyPairTotals totals;
    if (range.empty()) {
        return totals;
    }
    // Transactions of one pair tend to follow each other, so the last sum found is tried first.
    std::int64_t* last = nullptr;
    std::uint64_t lastPair = 0;
    for (int i = range.first; i <= range.last; ++i) {
        for (const Day::Summary& s : m_days[static_cast<std::size_t>(i)]->m_summaries) {
            if (s.duration == 0) {
                continue;
            }
            const std::uint64_t pair = KeyPairTotals::pack(s.level1Key, s.level2Key);
            if (!last || pair != lastPair) {
                last = &totals.m_byPair[pair];
                lastPair = pair;
            }
            *last += s.duration;
            totals.m_all += s.duration;
        }
    }
    return totals;
}

std::size_t TransactionStore::count() const {
    std::size_t n = 0;
    for (const auto& day : m_days) {
        n += day->size();
    }
    return n;
}

void TransactionStore::forgetItem(std::int32_t key, int level) const {
    for (const auto& day : m_days) {
        for (const Transaction& t : day->transactions()) {
            if (level == 1 && t.level1Key() == key) {
                t.forgetLevel1Item();
            } else if (level == 2 && t.level2Key() == key) {
                t.forgetLevel2Item();
            }
        }
    }
}

void TransactionStore::markErrors(DayRange range) {
    if (range.empty()) {
        return;
    }
    for (int i = range.first; i <= range.last; ++i) {
        m_days[static_cast<std::size_t>(i)]->markErrors();
    }
}

PlaceResult TransactionStore::placeDuration(Transaction& t, TimeValue duration, bool insert) {
    const Day* day = findDay(t.date());
    const bool isToday = t.date() == m_clock->today();
    const std::int32_t limit = isToday ? m_clock->timeOfDay().seconds() : TimeValue::kLatestTime;
    const std::int32_t d = duration.seconds();
    if ((day ? day->total() : 0) + d > limit) {
        return PlaceResult::TooManyHours;
    }

    std::int32_t start = 0;
    if (!day) {
        start = t.start().seconds();
        if (limit < std::int64_t{start} + d) {
            start = isToday ? limit - d : 0;
        }
    } else {
        const OwnedView<Transaction> list = day->transactions();
        // The smallest gap strictly longer than the duration; the earliest wins a tie.
        std::int64_t bestGap = -1;
        for (std::size_t i = 1; i < list.size(); ++i) {
            const std::int64_t gap =
                std::int64_t{list[i].start().seconds()} - list[i - 1].end().seconds();
            if (gap > d && (bestGap < 0 || gap < bestGap)) {
                bestGap = gap;
                start = list[i - 1].end().seconds();
            }
        }
        if (bestGap < 0) {
            if (std::int64_t{list.back().end().seconds()} + d <= limit) {
                start = list.back().end().seconds();
            } else if (list.front().start().seconds() >= d) {
                start = list.front().start().seconds() - d;
            } else {
                return PlaceResult::NoRoom;
            }
        }
    }
    t.setStart(TimeValue(start));
    t.setEnd(TimeValue(start + d));
    if (insert) {
        add(t);
    }
    return PlaceResult::Placed;
}

} // namespace vsolo
