// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "print/printedreport.h"
#include "testregistry.h"
#include "tests/support/pdftext.h"
#include "tests/support/tempdir.h"
#include "tracker/reports/printing.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>
#include <set>
#include <string>

namespace vsolo {
namespace {

// Four pages, each with its number in the body; remembers which pages it drew.
class NumberedReport final : public PrintedReport {
public:
    int pages = 4;
    bool data = true;
    std::multiset<int> drawn;

    int pageCount(ReportPainter&) override { return pages; }
    int sectionHeight(const ReportPainter& painter, ReportSection section) const override {
        return section == ReportSection::Body ? 10 * painter.lineHeight() : 0;
    }
    void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) override {
        drawn.insert(page.page);
        painter.drawText(band, QString("numbered page %1").arg(page.page), painter.normalFont(),
                         Qt::AlignLeft);
    }
    void drawFooter(ReportPainter&, const ReportRect&, PageNumber) override {}
    void drawSummary(ReportPainter&, const ReportRect&, PageNumber) override {}
    void drawColumnTitles(ReportPainter&, const ReportRect&, PageNumber) override {}
    void drawHeader(ReportPainter&, const ReportRect&, PageNumber) override {}
    bool hasData() const override { return data; }
};

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void printsThePagesThePrinterAsksFor() {
        testing::TempDir dir;
        const std::string path = dir.file("printed.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        NumberedReport report;
        QVERIFY(printOnPrinter(report, printer));
        QCOMPARE(report.drawn, (std::multiset<int>{2, 3}));
        QCOMPARE(testing::pdfInfo(path).pages, 2);
        QVERIFY(testing::pdfText(path, 1).find("numbered page 2") != std::string::npos);

        report.drawn.clear();
        printer.setPrintRange(QPrinter::AllPages);
        QVERIFY(printOnPrinter(report, printer));
        QCOMPARE(report.drawn, (std::multiset<int>{1, 2, 3, 4}));
        QCOMPARE(testing::pdfInfo(path).pages, 4);
    }

    void printingWithoutDataAsksNothing() {
        QPrinter printer(QPrinter::HighResolution);
        NumberedReport report;
        report.data = false;
        // A dialog would block here; a report without data never opens one.
        QVERIFY(!printWithDialog(report, printer, nullptr));
        QVERIFY(report.drawn.empty());
    }

    void previewTurnsPagesWithThePageKeysAndClosesOnEscape() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(3, 3);
        NumberedReport report;
        const auto dialog = makePrintPreview(report, printer, nullptr);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        QVERIFY(preview);
        QTRY_COMPARE(preview->pageCount(), 4);
        QVERIFY(report.drawn.count(1) >= 1 && report.drawn.count(4) >= 1);
        QCOMPARE(preview->currentPage(), 1);

        auto press = [&](Qt::Key key) {
            QWidget* target =
                QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get();
            QTest::keyClick(target, key);
        };
        press(Qt::Key_PageDown);
        QCOMPARE(preview->currentPage(), 2);
        press(Qt::Key_PageDown);
        press(Qt::Key_PageDown);
        press(Qt::Key_PageDown);
        QCOMPARE(preview->currentPage(), 4);
        press(Qt::Key_PageUp);
        QCOMPARE(preview->currentPage(), 3);
        press(Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }
};

VSOLO_REGISTER_TEST_CLASS(PrintingTest);

} // namespace
} // namespace vsolo

#include "printing_test.moc"
