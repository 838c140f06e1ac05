// Opening the reporting file of a large template: every assignment record is matched to its
// item by group number and sub-id. 12,500 and 25,000 items, 24 activities to a project, each item
// with a rate and every project with a client; no expenses, rates or clients, so that the
// matching is what is measured. The file is made once in a temporary folder and read from a warm
// file cache.

#include "reporting/data/reportingdata.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

using namespace vsolo::reporting;

constexpr int kActivitiesEach = 24;

class LargeReporting {
public:
    explicit LargeReporting(int items) {
        char pattern[] = "/tmp/vsolo-bench-XXXXXX";
        m_folder = ::mkdtemp(pattern);
        m_data.setTemplatePath(m_folder + "/big.tpl");
        for (int i = 0; i < items; ++i) {
            TemplateItem item;
            item.groupNumber = 1 + i / (kActivitiesEach + 1);
            item.subId = i % (kActivitiesEach + 1);
            item.level = item.subId == 0 ? 1 : 2;
            item.depth = item.level - 1;
            // Appended to new strings: a literal put in front of a temporary, or assigned to a
            // string, trips GCC 12's -Wrestrict.
            std::string name = "Item ";
            name += std::to_string(i);
            std::string rateCode = "R";
            rateCode += std::to_string(i % 7);
            item.name = std::move(name);
            item.rateCode = std::move(rateCode);
            item.clientId = item.subId == 0 ? 1 : 0;
            m_data.items().push_back(std::move(item));
        }
        m_ok = m_data.writeReportingFile().ok();
        // The items as the template reader leaves them: without assignments.
        for (TemplateItem& item : m_data.items()) {
            item.rateCode.clear();
            item.clientId = 0;
        }
    }
    ~LargeReporting() {
        std::remove(m_data.reportingPath().c_str());
        ::rmdir(m_folder.c_str());
    }
    LargeReporting(const LargeReporting&) = delete;
    LargeReporting& operator=(const LargeReporting&) = delete;

    bool ok() const { return m_ok; }
    ReportingData& data() { return m_data; }

private:
    std::string m_folder;
    ReportingData m_data;
    bool m_ok = false;
};

void BM_ReadAssignments(benchmark::State& state) {
    LargeReporting large(static_cast<int>(state.range(0)));
    if (!large.ok()) {
        state.SkipWithError("the reporting file could not be written");
        return;
    }
    ReportingData& data = large.data();
    for (auto _ : state) {
        benchmark::DoNotOptimize(data.readReportingFile().ok());
    }
    if (data.items().back().rateCode.empty() || data.items().front().clientId != 1) {
        state.SkipWithError("an assignment was lost");
    }
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadAssignments)->Arg(12'500)->Arg(25'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
