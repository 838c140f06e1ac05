// The time study report over 1,000,000 transactions on 500 level items: the error marks of every
// day worked out again, the time per item gathered, the rows made. The graph's and the pies'
// figures come from the same gathering.

#include "core/reports/piegraph.h"
#include "core/reports/studygraph.h"
#include "core/reports/timestudy.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace vsolo;

constexpr int kTransactions = 1'000'000;
constexpr int kProjects = 20;
constexpr int kActivitiesEach = 24; // 20 + 20 * 24 = 500 items
constexpr int kPerDay = 25;

// 25 bookings of 20 minutes a day, round the activities, ending on day 20,000 (September 1984).
TemplateFile& reportFile() {
    static TemplateFile* file = [] {
        auto* f = new TemplateFile;
        f->setFormat(TemplateFormat::Version4);
        for (int g = 1; g <= kProjects; ++g) {
            LevelItem project;
            project.setGroupNumber(g);
            project.setName("Project " + std::to_string(g));
            project.setTarget(5);
            f->level1().add(project);
            for (int s = 1; s <= kActivitiesEach; ++s) {
                LevelItem activity;
                activity.setGroupNumber(g);
                activity.setSubId(g * 100 + s);
                activity.setDepth(1);
                activity.setName("Activity " + std::to_string(s));
                f->level2().add(activity);
            }
        }
        f->level1().sortByName();
        f->level2().sortByName();
        std::vector<std::unique_ptr<Transaction>> list;
        list.reserve(kTransactions);
        const int days = kTransactions / kPerDay;
        for (int i = 0; i < kTransactions; ++i) {
            const TimeValue day((20'000 - days + i / kPerDay) * TimeValue::kDay);
            const int slot = i % kPerDay;
            const int item = i % (kProjects * kActivitiesEach);
            const int group = 1 + item / kActivitiesEach;
            list.push_back(std::make_unique<Transaction>(
                day, TimeValue(8 * 3600 + slot * 1200), TimeValue(8 * 3600 + (slot + 1) * 1200),
                group, group * 100 + 1 + item % kActivitiesEach, std::string()));
        }
        f->store().addAll(std::move(list));
        return f;
    }();
    return *file;
}

void BM_TimeStudyReport(benchmark::State& state) {
    TemplateFile& file = reportFile();
    const TransactionStore::DayRange all = file.store().allDays();
    const TimeValue from = file.store().day(static_cast<std::size_t>(all.first))->date();
    const TimeValue to = file.store().day(static_cast<std::size_t>(all.last))->date();
    std::size_t rows = 0;
    for (auto _ : state) {
        const RangeTotals totals = RangeTotals::gather(file, from, to);
        rows = buildTimeStudyRows(totals).size();
        benchmark::DoNotOptimize(rows);
    }
    // An empty row, 24 rows, a total and an empty row per project, and the grand total.
    if (rows != 1 + kProjects * (kActivitiesEach + 2) + 1) {
        state.SkipWithError("the report lost rows");
    }
}
BENCHMARK(BM_TimeStudyReport)->Unit(benchmark::kMillisecond);

void BM_GraphsFromOneGathering(benchmark::State& state) {
    TemplateFile& file = reportFile();
    const RangeTotals totals = RangeTotals::gather(file, TimeValue(0), TimeValue(20'000 * 86400));
    for (auto _ : state) {
        benchmark::DoNotOptimize(graphBars(buildGraphCategories(totals)).size());
        benchmark::DoNotOptimize(pieSlices(buildPieCategories(totals, 2)).size());
    }
}
BENCHMARK(BM_GraphsFromOneGathering)->Unit(benchmark::kMicrosecond);

} // namespace
