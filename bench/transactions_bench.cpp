// Speed and memory of the transaction store over a large synthetic history: about 4,000 days of
// 250 transactions each. Figures are per transaction.

#include "core/model/transactions.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using vsolo::TimeValue;
using vsolo::Transaction;
using vsolo::TransactionStore;

constexpr int kTransactions = 1'000'000;
constexpr int kPerDay = 250;
constexpr int kFirstDay = 10'000; // days since 1970: 1997-05-19
constexpr int kLevel1Keys = 40;

Transaction makeTransaction(int index) {
    const int day = kFirstDay + index / kPerDay;
    const int slot = index % kPerDay; // five-minute slots from 00:00 to 20:50
    Transaction t(TimeValue(day * TimeValue::kDay), TimeValue(slot * 300),
                  TimeValue(slot * 300 + 240), 1 + index % kLevel1Keys, 1 + index % 97,
                  "task " + std::to_string(index % 100000000)); // at most 15 characters
    t.setStamp(day * TimeValue::kDay + slot);
    return t;
}

void fill(TransactionStore& store) {
    for (int i = 0; i < kTransactions; ++i) {
        store.add(makeTransaction(i));
    }
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

// One store shared by the benchmarks that only read it or restore it.
TransactionStore& sharedStore() {
    static TransactionStore* store = [] {
        auto* s = new TransactionStore;
        fill(*s);
        return s;
    }();
    return *store;
}

void BM_FillInDateOrder(benchmark::State& state) {
    std::vector<Transaction> input;
    input.reserve(kTransactions);
    for (int i = 0; i < kTransactions; ++i) {
        input.push_back(makeTransaction(i));
    }
    double bytesPerTransaction = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        auto store = std::make_unique<TransactionStore>();
        for (const Transaction& t : input) {
            store->add(t);
        }
        state.PauseTiming();
        bytesPerTransaction = static_cast<double>(heapInUse() - before) / kTransactions;
        benchmark::DoNotOptimize(store->count());
        store.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kTransactions);
    state.counters["ns_per_tx"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTransactions,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_tx"] = bytesPerTransaction;
    state.counters["days"] = static_cast<double>(kTransactions / kPerDay);
}
BENCHMARK(BM_FillInDateOrder)->Unit(benchmark::kMillisecond)->Iterations(3);

void perTransaction(benchmark::State& state, double perIteration) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * perIteration));
    state.counters["ns_per_tx"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * perIteration,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TotalAllKeys(benchmark::State& state) {
    const TransactionStore& store = sharedStore();
    const auto range = store.allDays();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.total(range));
    }
    perTransaction(state, kTransactions);
}
BENCHMARK(BM_TotalAllKeys)->Unit(benchmark::kMillisecond);

void BM_TotalOneLevel1Key(benchmark::State& state) {
    const TransactionStore& store = sharedStore();
    const auto range = store.allDays();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.total(range, 7));
    }
    perTransaction(state, kTransactions);
}
BENCHMARK(BM_TotalOneLevel1Key)->Unit(benchmark::kMillisecond);

void BM_InsertAtRandomDates(benchmark::State& state) {
    constexpr int kInserts = 10'000;
    TransactionStore& store = sharedStore();
    std::mt19937 random(42);
    const int days = kTransactions / kPerDay;
    std::vector<Transaction> input;
    input.reserve(kInserts);
    for (int i = 0; i < kInserts; ++i) {
        // Some dates fall between or after the existing days, so new days are made too.
        Transaction t = makeTransaction(static_cast<int>(random() % kTransactions));
        const int day =
            kFirstDay + static_cast<int>(random() % static_cast<unsigned>(days + days / 10));
        t.setDate(TimeValue(day * TimeValue::kDay));
        t.setStart(TimeValue(static_cast<std::int32_t>(random() % 86000)));
        t.setEnd(t.start() + TimeValue(60));
        input.push_back(std::move(t));
    }
    std::vector<const Transaction*> added(kInserts);
    for (auto _ : state) {
        for (int i = 0; i < kInserts; ++i) {
            added[static_cast<std::size_t>(i)] = store.add(input[static_cast<std::size_t>(i)]);
        }
        state.PauseTiming();
        for (const Transaction* t : added) {
            store.remove(t);
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kInserts);
    state.counters["ns_per_insert"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kInserts,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InsertAtRandomDates)->Unit(benchmark::kMillisecond);

void BM_RemarkErrorsAllDays(benchmark::State& state) {
    TransactionStore& store = sharedStore();
    const auto range = store.allDays();
    for (auto _ : state) {
        store.markErrors(range);
    }
    perTransaction(state, kTransactions);
}
BENCHMARK(BM_RemarkErrorsAllDays)->Unit(benchmark::kMillisecond);

} // namespace
