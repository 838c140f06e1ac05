// Printing the time sheet to PDF: 20 Letter pages of ten transactions a day, drawn through the page
// composition into a PDF writer in memory. The target is at most one second for the 20 pages.

#include "core/base/clock.h"
#include "core/model/templatefile.h"
#include "core/timesheet.h"
#include "largetemplate.h"
#include "print/printedreport.h"
#include "print/timesheet/timesheetprint.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

namespace {

using namespace vsolo;

// 98 days of ten transactions make 20 pages: 13 lines a day on pages of 64 lines.
constexpr int kDays = 98;
constexpr int kPerDay = 10;

TimeValue lastDay() {
    TimeValue day;
    day.setDate(2026, 3, 10);
    return day;
}

void fillDays(TemplateFile& file) {
    // The large template's items; its transactions are replaced by days of ten.
    bench::fillLargeTemplate(file, "/home/pat/time/bench.tpl", 0, lastDay());
    for (int d = 0; d < kDays; ++d) {
        const TimeValue day = lastDay() - TimeValue((kDays - 1 - d) * TimeValue::kDay);
        for (int i = 0; i < kPerDay; ++i) {
            const int group = 1 + (d + i / 4) % 40;
            file.store().add(Transaction(day, TimeValue((8 + i) * 3600),
                                         TimeValue((8 + i) * 3600 + 2700), group,
                                         group * 100 + 1 + i, "task " + std::to_string(i), i == 0));
        }
    }
}

void BM_PrintTimeSheetToPdf(benchmark::State& state) {
    SettableClock clock(lastDay());
    TemplateFile file(clock);
    fillDays(file);
    TimeSheetRows rows;
    rows.rebuild(file.store(), lastDay() - TimeValue((kDays - 1) * TimeValue::kDay), lastDay());
    TimeSheetPrint print(rows, file, "Project", "Activity", clock, file.path());
    int pages = 0;
    {
        QBuffer probe;
        QPdfWriter measure(&probe);
        measure.setPageLayout(
            QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
        ReportPainter painter(measure);
        pages = print.pageCount(painter);
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
            if (!printReport(print, writer)) {
                state.SkipWithError("printing failed");
                break;
            }
        }
        bytes = buffer.size();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PrintTimeSheetToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
