// Speed of the transaction file: loading and saving a version-4 file of 1,000,000 transactions
// (about 50 MB), and exporting it as the command-line companion does. The file is made once in a
// temporary folder and read from a warm file cache. Peak memory is measured from outside, on a
// process that loads the file: /usr/bin/time -f %M vsolo-cli check FILE.tpl

#include "core/model/export.h"
#include "core/model/templatefile.h"
#include "largetemplate.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace vsolo;

constexpr int kTransactions = 1'000'000;
constexpr int kPerDay = 250;
constexpr int kFirstDay = 10'000;

struct Fixture {
    std::string folder;
    std::string templatePath;
    long fileSize = 0;

    Fixture() {
        char pattern[] = "/tmp/vsolo-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        templatePath = folder + "/big.tpl";
        TemplateFile file;
        bench::fillLargeTemplate(
            file, templatePath, kTransactions,
            TimeValue((kFirstDay + kTransactions / kPerDay - 1) * TimeValue::kDay));
        file.save(templatePath);
        file.saveTransactions();
        std::ifstream in(file.transactionPath(), std::ios::binary | std::ios::ate);
        fileSize = static_cast<long>(in.tellg());
    }

    ~Fixture() {
        std::remove((folder + "/big.trs").c_str());
        std::remove(templatePath.c_str());
        ::rmdir(folder.c_str());
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_LoadTransactionFile(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        {
            TemplateFile file;
            file.setPath(f.templatePath);
            file.load(f.templatePath);
            state.ResumeTiming();
            file.loadTransactions();
            state.PauseTiming();
            if (file.store().count() != static_cast<std::size_t>(kTransactions)) {
                state.SkipWithError("the file did not load whole");
            }
        } // the store is freed outside the measure, which is of the load alone
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(f.fileSize) / 1e6;
}
BENCHMARK(BM_LoadTransactionFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SaveTransactionFile(benchmark::State& state) {
    Fixture& f = fixture();
    TemplateFile file;
    file.setPath(f.templatePath);
    file.load(f.templatePath);
    file.loadTransactions();
    for (auto _ : state) {
        if (!file.saveTransactions()) {
            state.SkipWithError("save failed");
        }
    }
}
BENCHMARK(BM_SaveTransactionFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportCsv(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        TemplateFile file;
        file.setPath(f.templatePath);
        file.load(f.templatePath);
        file.loadTransactions();
        file.store().markErrors(file.store().allDays());
        std::FILE* out = std::fopen("/dev/null", "wb");
        writeExport(file, file.store().allDays(), ExportFormat::CommaSeparated,
                    [out](std::string_view bytes) {
                        return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
                    });
        std::fclose(out);
    }
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
