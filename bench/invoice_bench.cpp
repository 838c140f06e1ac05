// The invoice of every project over the whole range of the large template (bench/largetemplate.h:
// 1,000,000 transactions), as vsolo-cli invoice works it out once the files are read, and the
// reporting tool's reading of that transaction file. The files are written once into a temporary
// folder and read from a warm file cache.

#include "largetemplate.h"
#include "reporting/data/reportingdata.h"
#include "reporting/layout/invoice.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <limits>
#include <string>
#include <unistd.h>

namespace {

using namespace vsolo;

class LargeInvoiceData {
public:
    LargeInvoiceData() {
        char pattern[] = "/tmp/vsolo-bench-XXXXXX";
        m_folder = ::mkdtemp(pattern);
        const std::string path = m_folder + "/large.tpl";
        TemplateFile file;
        bench::fillLargeTemplate(file, path, 1'000'000, systemClock().today());
        m_ok = file.save(path) && file.saveTransactions();
        m_data.setTemplatePath(path);
        m_ok = m_ok && m_data.readTemplate().ok() && m_data.readTransactions().ok();
        for (const reporting::TemplateItem& item : m_data.items()) {
            if (item.level == 1) {
                m_projects.push_back(item.groupNumber);
            }
        }
    }
    ~LargeInvoiceData() {
        std::remove(m_data.templatePath().c_str());
        std::remove(m_data.transactionPath().c_str());
        ::rmdir(m_folder.c_str());
    }
    LargeInvoiceData(const LargeInvoiceData&) = delete;
    LargeInvoiceData& operator=(const LargeInvoiceData&) = delete;

    bool ok() const { return m_ok; }
    reporting::ReportingData& data() { return m_data; }
    const std::vector<std::int32_t>& projects() const { return m_projects; }

private:
    std::string m_folder;
    reporting::ReportingData m_data;
    std::vector<std::int32_t> m_projects;
    bool m_ok = false;
};

LargeInvoiceData& largeData() {
    static LargeInvoiceData data;
    return data;
}

void BM_InvoiceAllProjects(benchmark::State& state) {
    LargeInvoiceData& large = largeData();
    if (!large.ok()) {
        state.SkipWithError("the large template could not be written or read");
        return;
    }
    const reporting::ReportPeriod whole{std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max()};
    // 1,000,000 transactions of 240 seconds, none in error. Checked outside the loop: the
    // value DoNotOptimize passes through is not to be trusted afterwards with GCC.
    if (reporting::computeInvoice(large.data(), whole, large.projects(), 7.5).seconds !=
        240'000'000) {
        state.SkipWithError("the invoice does not bill every transaction");
        return;
    }
    for (auto _ : state) {
        const reporting::Invoice invoice =
            reporting::computeInvoice(large.data(), whole, large.projects(), 7.5);
        benchmark::DoNotOptimize(invoice.projects.data());
    }
}
BENCHMARK(BM_InvoiceAllProjects)->Unit(benchmark::kMillisecond);

void BM_ReportingReadTransactions(benchmark::State& state) {
    LargeInvoiceData& large = largeData();
    if (!large.ok()) {
        state.SkipWithError("the large template could not be written or read");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(large.data().readTransactions().ok());
    }
    if (large.data().spans().size() != 1'000'000) {
        state.SkipWithError("transactions were lost");
    }
}
BENCHMARK(BM_ReportingReadTransactions)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
