#include "tracker/reports/printing.h"

#include "print/printedreport.h"
#include "print/reportpainter.h"

#include <QKeySequence>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QShortcut>
#include <algorithm>

namespace vsolo {

bool printOnPrinter(PrintedReport& report, QPrinter& printer) {
    const bool range = printer.printRange() == QPrinter::PageRange;
    return printReport(report, printer, range ? printer.fromPage() : 0,
                       range ? printer.toPage() : 0);
}

bool printWithDialog(PrintedReport& report, QPrinter& printer, QWidget* parent) {
    if (!report.hasData()) {
        return false;
    }
    int count = 1;
    {
        // Measured on the printer without starting a job, so that the dialog offers the pages.
        ReportPainter measure(printer);
        count = std::max(1, report.pageCount(measure));
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, count);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    return printOnPrinter(report, printer);
}

std::unique_ptr<QPrintPreviewDialog> makePrintPreview(PrintedReport& report, QPrinter& printer,
                                                      QWidget* parent) {
    // The preview shows every page, whatever range the last print asked for.
    printer.setPrintRange(QPrinter::AllPages);
    auto dialog = std::make_unique<QPrintPreviewDialog>(&printer, parent);
    QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
                     [&report](QPrinter* target) { printOnPrinter(report, *target); });
    QPrintPreviewWidget* preview = dialog->findChild<QPrintPreviewWidget*>();
    if (preview) {
        auto turn = [preview](int step) {
            const int page =
                std::clamp(preview->currentPage() + step, 1, std::max(1, preview->pageCount()));
            preview->setCurrentPage(page);
        };
        // The preview's own view would only scroll on these keys.
        auto* next = new QShortcut(QKeySequence(Qt::Key_PageDown), dialog.get());
        QObject::connect(next, &QShortcut::activated, preview, [turn] { turn(1); });
        auto* previous = new QShortcut(QKeySequence(Qt::Key_PageUp), dialog.get());
        QObject::connect(previous, &QShortcut::activated, preview, [turn] { turn(-1); });
    }
    return dialog;
}

void showPrintPreview(PrintedReport& report, QPrinter& printer, QWidget* parent) {
    const auto dialog = makePrintPreview(report, printer, parent);
    dialog->exec();
}

void printOrPreview(PrintedReport& report, QPrinter& printer, QWidget* parent, bool preview) {
    if (preview) {
        showPrintPreview(report, printer, parent);
    } else {
        printWithDialog(report, printer, parent);
    }
}

} // namespace vsolo
