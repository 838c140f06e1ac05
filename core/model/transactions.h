#pragma once

#include "core/base/clock.h"
#include "core/base/timevalue.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vsolo {

class LevelItem;
class LevelList;

// One stretch of time on one level-2 item on one day.
class Transaction {
public:
    // Transactions come by the hundred thousand and are made and freed together: they are carved
    // from large blocks, which the next transactions use again, instead of asked one by one from
    // the heap.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size) noexcept;

    Transaction() = default;
    // A transaction with all its recorded fields, as read from a file: nothing is stamped modified.
    Transaction(TimeValue date, TimeValue start, TimeValue end, std::int32_t level1Key,
                std::int32_t level2Key, std::string description, bool sent = false)
        : m_date(date), m_start(start), m_end(end), m_level1Key(level1Key), m_level2Key(level2Key),
          m_sent(sent), m_description(std::move(description)) {}

    // As if a transaction made of these values were assigned, with the description's storage
    // kept: for readers that fill one transaction record after record.
    void assignRead(TimeValue date, TimeValue start, TimeValue end, std::int32_t level1Key,
                    std::int32_t level2Key, std::string_view description, bool sent);

    std::int32_t stamp() const { return m_stamp; }
    bool isSent() const { return m_sent; }
    bool isError() const { return m_error; }
    const std::string& description() const { return m_description; }
    TimeValue date() const { return m_date; }
    TimeValue start() const { return m_start; }
    TimeValue end() const { return m_end; }
    std::int32_t level1Key() const { return m_level1Key; }
    std::int32_t level2Key() const { return m_level2Key; }
    TimeValue modified() const { return m_modified; }

    // Gives the stamp to a transaction on its way into a store. The stamp only tells transactions
    // of a day apart; giving it is not a change of what was recorded, so modified stays as it is.
    void initStamp(std::int32_t value) { m_stamp = value; }

    // Every setter that changes a value stamps the modified time. A transaction held by a store is
    // reached only as const; it changes through TransactionStore::update.
    void setStamp(std::int32_t value);
    void setSent(bool value);
    void setError(bool value);
    void setDescription(std::string value);
    void setDate(TimeValue value);
    void setStart(TimeValue value);
    void setEnd(TimeValue value);
    void setLevel1Key(std::int32_t value);
    void setLevel2Key(std::int32_t value);

    // End minus start; 0 for a transaction marked in error, so error rows add nothing to a total,
    // and never below 0, so a transaction that ends before it starts cannot take time away.
    std::int32_t duration() const {
        return m_error || m_end <= m_start ? 0 : m_end.seconds() - m_start.seconds();
    }

    // Transactions order by (date, start, end).
    bool operator<(const Transaction& other) const { return key() < other.key(); }
    bool sameTime(const Transaction& other) const { return key() == other.key(); }

    // The items named by the keys: in the tree shape the level-1 item by group number and the
    // level-2 item by (group number, sub-id); in the legacy shape both by sub-id. Where the item
    // stands in its list is cached; a cached place is used only while the item there still has the
    // transaction's keys, so a removed, moved or re-keyed item is never reached through it.
    LevelItem* level1Item(const LevelList& level1, bool treeShape) const;
    LevelItem* level2Item(const LevelList& level2, bool treeShape) const;
    void forgetLevel1Item() const { m_item1 = kNoItem; }
    void forgetLevel2Item() const { m_item2 = kNoItem; }

private:
    struct Key {
        std::int32_t date, start, end;
        auto operator<=>(const Key&) const = default;
    };
    Key key() const { return {m_date.seconds(), m_start.seconds(), m_end.seconds()}; }
    void touch();

    TimeValue m_date;
    TimeValue m_start;
    TimeValue m_end;
    std::int32_t m_level1Key = 0;
    std::int32_t m_level2Key = 0;
    std::int32_t m_stamp = 0;
    TimeValue m_modified;
    bool m_sent = false;
    bool m_error = false;
    std::string m_description;
    // Places in the level lists, kept small: a store may hold millions of transactions.
    static constexpr std::uint32_t kNoItem = 0xFFFFFFFF;
    mutable std::uint32_t m_item1 = kNoItem;
    mutable std::uint32_t m_item2 = kNoItem;
};

// The name shown for a transaction's item: the item's name, or "?" when it cannot be found.
std::string_view level1Name(const Transaction& t, const LevelList& level1, bool treeShape);
std::string_view level2Name(const Transaction& t, const LevelList& level2, bool treeShape);
inline constexpr std::string_view kMissingItemName = "?";

// A read-only view of owned records: iterates `const T&`, so that stored records can only change
// through their owner.
template <typename T>
class OwnedView {
    using Base = typename std::vector<std::unique_ptr<T>>::const_iterator;

public:
    class iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        iterator() = default;
        explicit iterator(Base it) : m_it(it) {}
        const T& operator*() const { return **m_it; }
        const T* operator->() const { return m_it->get(); }
        iterator& operator++() {
            ++m_it;
            return *this;
        }
        iterator& operator--() {
            --m_it;
            return *this;
        }
        iterator operator+(difference_type n) const { return iterator(m_it + n); }
        difference_type operator-(const iterator& other) const { return m_it - other.m_it; }
        bool operator==(const iterator& other) const { return m_it == other.m_it; }

    private:
        Base m_it;
    };

    explicit OwnedView(const std::vector<std::unique_ptr<T>>& items) : m_items(&items) {}
    iterator begin() const { return iterator(m_items->begin()); }
    iterator end() const { return iterator(m_items->end()); }
    std::size_t size() const { return m_items->size(); }
    bool empty() const { return m_items->empty(); }
    const T& operator[](std::size_t i) const { return *(*m_items)[i]; }
    const T& front() const { return *m_items->front(); }
    const T& back() const { return *m_items->back(); }

private:
    const std::vector<std::unique_ptr<T>>* m_items;
};

// The transactions of one date, in (date, start, end) order. Beside each transaction the day keeps
// its keys and duration in one compact array, so that sums over years of days read little memory.
class Day {
public:
    explicit Day(TimeValue date) : m_date(date) {}

    TimeValue date() const { return m_date; }
    std::size_t size() const { return m_transactions.size(); }
    bool empty() const { return m_transactions.empty(); }
    const Transaction* at(std::size_t index) const { return m_transactions[index].get(); }
    OwnedView<Transaction> transactions() const { return OwnedView<Transaction>(m_transactions); }
    const Transaction* lastTransaction() const {
        return m_transactions.empty() ? nullptr : m_transactions.back().get();
    }
    // Position of the transaction in the day, or -1.
    int indexOf(const Transaction* t) const;

    int countUnsent() const;
    // Sets the sent mark on every transaction, when at least one is unsent.
    void markSent();
    // Recomputes the error marks of the unsent transactions: a transaction is in error when it has
    // no length (or ends before it starts), when the next one starts before it ends, or when the
    // one before is sent and ends after it starts. Sent transactions keep their marks.
    void markErrors();
    // Sum of the durations, with both keys 0; a key of 0 does not filter.
    std::int64_t total(std::int32_t level1Key = 0, std::int32_t level2Key = 0) const;
    // The smallest number, counting up from the date's value, that no transaction of the day holds
    // as its stamp: the stamp given to transactions read from a file.
    std::int32_t freeStampFromDate() const;

private:
    friend class TransactionStore;
    struct Summary {
        std::int32_t level1Key;
        std::int32_t level2Key;
        std::int32_t duration;
    };
    static Summary summarize(const Transaction& t) {
        return {t.level1Key(), t.level2Key(), t.duration()};
    }
    Transaction* insert(std::unique_ptr<Transaction> t);
    std::unique_ptr<Transaction> take(const Transaction* t);
    // Replaces the transactions by the given ones, which are in day order.
    void replaceAll(std::vector<std::unique_ptr<Transaction>> ordered);
    void reserve(std::size_t n) {
        m_transactions.reserve(n);
        m_summaries.reserve(n);
    }
    // Changes the transaction at index in place through fn, keeping the summary in step.
    template <typename Fn>
    void change(std::size_t index, Fn fn) {
        fn(*m_transactions[index]);
        m_summaries[index] = summarize(*m_transactions[index]);
    }

    TimeValue m_date;
    std::vector<std::unique_ptr<Transaction>> m_transactions;
    std::vector<Summary> m_summaries;
};

// The time of the days of a range per pair of keys (level-1 key, level-2 key), gathered in one
// pass over the transactions.
class KeyPairTotals {
public:
    std::int64_t all() const { return m_all; }
    std::int64_t of(std::int32_t level1Key, std::int32_t level2Key) const;
    // Every pair with time, in no order.
    template <typename Fn>
    void forEach(Fn fn) const {
        for (const auto& [packed, seconds] : m_byPair) {
            fn(static_cast<std::int32_t>(packed >> 32),
               static_cast<std::int32_t>(packed & 0xFFFFFFFFu), seconds);
        }
    }

private:
    friend class TransactionStore;
    static std::uint64_t pack(std::int32_t level1Key, std::int32_t level2Key) {
        return (std::uint64_t{static_cast<std::uint32_t>(level1Key)} << 32) |
               static_cast<std::uint32_t>(level2Key);
    }
    std::unordered_map<std::uint64_t, std::int64_t> m_byPair;
    std::int64_t m_all = 0;
};

// Where a bare duration was put into a day.
enum class PlaceResult { Placed = 0, TooManyHours = 1, NoRoom = 2 };

// The days of all transactions of a template, in date order, one day per date, and no empty day.
// Days and transactions are owned by the store; their addresses stay valid until they are removed.
class TransactionStore {
public:
    explicit TransactionStore(const Clock& clock = systemClock()) : m_clock(&clock) {}
    TransactionStore(const TransactionStore&) = delete;
    TransactionStore& operator=(const TransactionStore&) = delete;

    const Clock& clock() const { return *m_clock; }

    // The item-number counters saved in the template header.
    std::int32_t nextGroupNumber() const { return m_nextGroupNumber; }
    std::int32_t nextSubId() const { return m_nextSubId; }
    void setNextGroupNumber(std::int32_t value) { m_nextGroupNumber = value; }
    void setNextSubId(std::int32_t value) { m_nextSubId = value; }
    std::int32_t takeGroupNumber() { return m_nextGroupNumber++; }
    std::int32_t takeSubId() { return m_nextSubId++; }

    std::size_t dayCount() const { return m_days.size(); }
    bool empty() const { return m_days.empty(); }
    const Day* day(std::size_t index) const { return m_days[index].get(); }
    Day* day(std::size_t index) { return m_days[index].get(); }
    OwnedView<Day> days() const { return OwnedView<Day>(m_days); }

    // Inserts the transaction into the day of its date, after every transaction that is earlier
    // or, when it is not earlier than the day's last one, at the end. A stamp of 0 becomes the
    // current date and time in seconds. Returns the stored transaction, which keeps its address
    // until it is removed. Stored transactions change only through update().
    const Transaction* add(const Transaction& t);
    const Transaction* add(std::unique_ptr<Transaction> t);
    // add() for each transaction in turn, with the same days, order and stamps, in time
    // proportional to n log n however the transactions come (a file read in any order).
    void addAll(std::vector<std::unique_ptr<Transaction>> list);
    // Adds a day after every day held: transactions of one date, in time order, which add() would
    // put in the same order. False, with nothing taken, for any others.
    bool appendDay(std::vector<std::unique_ptr<Transaction>>& ordered);
    // Gives the stored transaction all values of `value`. When its date or times change it moves
    // to its new place (and day); it keeps its address either way. nullptr when not stored here.
    const Transaction* update(const Transaction* t, const Transaction& value);
    // Gives every transaction with the keys (old1, old2) the keys (new1, new2); returns how many.
    std::size_t rekey(std::int32_t old1, std::int32_t old2, std::int32_t new1, std::int32_t new2);
    // The same for many pairs in one pass, so that no transaction is re-keyed twice.
    using KeyPair = std::pair<std::int32_t, std::int32_t>;
    using KeyChanges = std::map<KeyPair, KeyPair>;
    std::size_t rekey(const KeyChanges& newKeys);
    // rekey() of the transactions not sent yet: a sent one stays as the central server has it.
    std::size_t rekeyUnsent(const KeyChanges& newKeys);
    // Takes the transaction out of its day (the day goes when it is left empty) and hands it back;
    // nullptr when its date has no day or the day does not hold it.
    std::unique_ptr<Transaction> take(const Transaction* t);
    // 0 when removed, -1 when the date has no day or the day does not hold it.
    int remove(const Transaction* t) { return take(t) ? 0 : -1; }
    bool removeAndDestroy(const Transaction* t) { return remove(t) == 0; }
    bool removeDay(const Day* day);
    void clear() { m_days.clear(); }

    const Day* findDay(TimeValue date) const;
    Day* findDay(TimeValue date);
    // Position of the day of the date counted from 0, or -1.
    int indexOfDay(TimeValue date) const;
    // The first and last day inside [from, to]; the bounds are exchanged when from is after to.
    // Both are -1 when no day falls inside.
    struct DayRange {
        int first = -1;
        int last = -1;
        bool empty() const { return first < 0; }
    };
    DayRange dayRange(TimeValue from, TimeValue to) const;
    DayRange allDays() const;

    // First transaction, in store order, with both keys equal.
    const Transaction* findByKeys(std::int32_t level1Key, std::int32_t level2Key) const;
    // Sum of the durations of the days of the range; a key of 0 does not filter.
    std::int64_t total(DayRange range, std::int32_t level1Key = 0,
                       std::int32_t level2Key = 0) const;
    // The sums of the days of the range for every pair of keys, in one pass.
    KeyPairTotals totalsByKeys(DayRange range) const;
    std::size_t count() const;
    // Clears the cached item link of every transaction whose level-1 (level 1) or level-2 key
    // (level 2) equals key.
    void forgetItem(std::int32_t key, int level) const;
    void markErrors(DayRange range);

    // Puts a bare duration into the day of t's date, starting from the proposed start t.start()
    // when the day is empty. Sets t's start and end; inserts it when asked.
    PlaceResult placeDuration(Transaction& t, TimeValue duration, bool insert);

private:
    Day* findOrCreateDay(TimeValue date);
    // Index of the first day whose date is not before the given date.
    std::size_t lowerBound(TimeValue date) const;
    // The day that holds t, or nullptr.
    Day* dayOf(const Transaction* t);
    std::size_t rekeyWhere(const KeyChanges& newKeys, bool unsentOnly);

    const Clock* m_clock;
    std::vector<std::unique_ptr<Day>> m_days;
    std::int32_t m_nextGroupNumber = 1;
    std::int32_t m_nextSubId = 1;
};

} // namespace vsolo
