// The time sheet over a range of 100,000 transactions: opening it (reading the file, marking the
// errors, making the rows) and committing one edited row.

#include "core/timesheet.h"
#include "largetemplate.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

using namespace vsolo;

constexpr int kTransactions = 100'000;
const TimeValue kLastDay(20'000 * TimeValue::kDay);

struct SheetFile {
    std::string folder;
    std::string path;
    SheetFile() {
        char pattern[] = "/tmp/vsolo-sheet-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        path = folder + "/sheet.tpl";
        TemplateFile file;
        bench::fillLargeTemplate(file, path, kTransactions, kLastDay);
        file.save(path);
        file.saveTransactions();
    }
    ~SheetFile() {
        std::remove(path.c_str());
        std::remove((folder + "/sheet.trs").c_str());
        ::rmdir(folder.c_str());
    }
};

SheetFile& sheetFile() {
    static SheetFile f;
    return f;
}

void BM_OpenTimeSheet(benchmark::State& state) {
    SheetFile& f = sheetFile();
    for (auto _ : state) {
        state.PauseTiming();
        TemplateFile file;
        file.setPath(f.path);
        file.load(f.path);
        state.ResumeTiming();
        file.loadTransactions();
        TimeSheetRows rows;
        rows.rebuild(file.store(), TimeValue(0), kLastDay);
        benchmark::DoNotOptimize(rows.size());
        state.PauseTiming();
        if (rows.transactionRows() != static_cast<std::size_t>(kTransactions)) {
            state.SkipWithError("not every row was made");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTimeSheet)->Unit(benchmark::kMillisecond)->Iterations(5);

// Moves one row to another time of its day and back, as an edit in the dialog does, with the
// day checks and the rows made again.
void BM_CommitEditedRow(benchmark::State& state) {
    SheetFile& f = sheetFile();
    TemplateFile file;
    file.setPath(f.path);
    file.load(f.path);
    file.loadTransactions();
    TimeSheetRows rows;
    rows.rebuild(file.store(), TimeValue(0), kLastDay);
    const Transaction* edited = rows.row(rows.transactionRows() / 2).transaction;
    bool late = false;
    for (auto _ : state) {
        Transaction value = *edited;
        value.setStart(TimeValue(late ? 60 : 23 * TimeValue::kHour));
        value.setEnd(value.start() + TimeValue(60));
        late = !late;
        edited = file.store().update(edited, value);
        file.store().findDay(value.date())->markErrors();
        rows.refresh();
        benchmark::DoNotOptimize(rows.rowOf(edited));
    }
}
BENCHMARK(BM_CommitEditedRow)->Unit(benchmark::kMicrosecond);

} // namespace
