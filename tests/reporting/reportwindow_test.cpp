#include "../tracker/testregistry.h"
#include "reporting/placement.h"
#include "reporting/reportview.h"
#include "reporting/reportwindow.h"
#include "reportsfixture.h"
#include "tests/support/pdftext.h"
#include "tests/support/reportingbytes.h"
#include "tests/support/tempdir.h"

#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

using namespace vsolo;
using namespace vsolo::reporting;
using vsolo::reporting::testing::ReportsWindow;
using ViewType = CMainFrame::ViewType;

Q_DECLARE_METATYPE(vsolo::reporting::CMainFrame::ViewType)

namespace {

// Where the window is, by its outer corner, and its inner size, as the placement keeps it.
QRect placed(const QWidget& window) {
    return QRect(window.frameGeometry().topLeft(), window.size());
}

// Prints into a PDF file instead of asking for a printer.
void printInto(CMainFrame& frame, const std::string& path) {
    frame.setPrinterSetup([path](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        return true;
    });
}

} // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void closingStepsBack_data() {
        QTest::addColumn<ViewType>("from");
        QTest::addColumn<ViewType>("to");
        QTest::newRow("main form closes") << ViewType::Main << ViewType::Main;
        QTest::newRow("selection") << ViewType::Selection << ViewType::Main;
        QTest::newRow("projects") << ViewType::Projects << ViewType::Selection;
        QTest::newRow("clients") << ViewType::Clients << ViewType::Selection;
        QTest::newRow("expenses") << ViewType::Expenses << ViewType::Selection;
        QTest::newRow("invoice") << ViewType::Invoice << ViewType::Selection;
        QTest::newRow("rates") << ViewType::Rates << ViewType::Selection;
    }
    void closingStepsBack() {
        QFETCH(ViewType, from);
        QFETCH(ViewType, to);
        ReportsWindow window;
        window.frame->show();
        window.reach(from);
        QCOMPARE(window.frame->viewType(), from);
        QCOMPARE(window.frame->close(), from == ViewType::Main);
        QCOMPARE(window.frame->viewType(), to);
        QCOMPARE(window.frame->isVisible(), from != ViewType::Main);
        // Leaving a report gives the window its size back.
        QVERIFY(!window.frame->isMaximized());
    }

    void rectanglesAreKeptPerView() {
        ReportsWindow window;
        window.frame->resize(500, 300);
        window.frame->move(40, 60);
        window.frame->switchView(ViewType::Selection);
        QCOMPARE(readWindowRect(window.store, "CVSReportView"), QRect(40, 60, 500, 300));
        // The selection has no rectangle of its own yet: the default one.
        QCOMPARE(placed(*window.frame), QRect(0, 0, 600, 400));
        window.frame->move(70, 80);
        window.reach(ViewType::Clients);
        QCOMPARE(readWindowRect(window.store, "CReportView"), QRect(70, 80, 600, 400));
        window.frame->switchView(ViewType::Selection);
        QVERIFY(window.store.readInt("UserConfig", "CClientReportViewright").has_value());
        QCOMPARE(placed(*window.frame), QRect(70, 80, 600, 400));
        window.frame->switchView(ViewType::Main);
        QCOMPARE(placed(*window.frame), QRect(40, 60, 500, 300));
        QVERIFY(window.frame->view());
        QCOMPARE(window.frame->view()->tree()->topLevelItemCount(), 2);
    }

    void keysStepThroughTheViews() {
        ReportsWindow window;
        int dialogs = 0;
        window.frame->setPrinterSetup([&dialogs](QPrinter&, QWidget*) {
            ++dialogs;
            return false;
        });
        window.frame->show();
        QVERIFY(QTest::qWaitForWindowActive(window.frame.get()));
        QTest::keyClick(window.frame.get(), Qt::Key_F5);
        QCOMPARE(window.frame->viewType(), ViewType::Selection);
        window.form().reportList()->setCurrentRow(CReportView::RateRow);
        QTest::keyClick(window.form().reportList(), Qt::Key_Return);
        QCOMPARE(window.frame->viewType(), ViewType::Rates);
        QTest::keyClick(window.frame.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(dialogs, 1);
        QTest::keyClick(window.frame.get(), Qt::Key_Escape);
        QCOMPARE(window.frame->viewType(), ViewType::Selection);
        QVERIFY(window.prompter.empty());
    }

    void printsTheReport() {
        const vsolo::testing::TempDir dir;
        ReportsWindow window;
        window.reach(ViewType::Clients);
        printInto(*window.frame, dir.file("clients.pdf"));
        window.frame->print();
        QVERIFY(window.prompter.empty());
        const std::vector<std::string> text =
            vsolo::testing::lines(vsolo::testing::pdfText(dir.file("clients.pdf")));
        QVERIFY(vsolo::testing::findLine(text, {"CUSTOMERS", "LIST"}) >= 0);
        QVERIFY(vsolo::testing::findLine(text, {"1)", "zeta"}) >= 0);
        QVERIFY(vsolo::testing::commandOutput("pdfinfo '" + dir.file("clients.pdf") + "'")
                    .find("Veltimo Solo Report") != std::string::npos);
    }

    // 59 clients take two pages of 58 rows: scrolled down, the second shows to its closing line.
    void theLastPageIsReachableInWhole() {
        ReportsWindow window;
        window.data.clients().resize(59, {1, "client"});
        window.frame->show();
        window.reach(ViewType::Clients);
        const CReportWnd& report = *window.frame->reportView();
        QScrollBar* bar = report.verticalScrollBar();
        bar->setValue(bar->maximum());
        const double pageHeight = 1023 * report.viewport()->logicalDpiY() / 100.0;
        QVERIFY(bar->value() + report.viewport()->height() > 2 * pageHeight);
    }

    void failedPrintIsToldOnce() {
        const vsolo::testing::TempDir dir;
        ReportsWindow window;
        window.reach(ViewType::Invoice);
        printInto(*window.frame, dir.file("missing/invoice.pdf"));
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        window.frame->print();
        QCOMPARE(window.prompter.texts(),
                 std::vector<std::string>{
                     "There was an error sending output to the printer.  Check to see that you "
                     "have paper, your printer is online, and connected properly."});
        QCOMPARE(window.frame->viewType(), ViewType::Invoice);
    }

    void damagedTransactionsShowTheirMessageAndNoInvoice() {
        const vsolo::testing::TempDir dir;
        ReportsWindow window;
        window.data.setTemplatePath(dir.file("Work.tpl"));
        const std::string damaged = vsolo::testing::transactionHeader().zeros(35).i32(-1);
        vsolo::testing::writeBytes(window.data.transactionPath(), damaged);
        window.data.readTransactions();
        window.reach(ViewType::Invoice);
        QCOMPARE(window.prompter.texts(), std::vector{window.data.transactionsProblem()});
        QCOMPARE(window.frame->viewType(), ViewType::Selection);
    }
};
VSOLO_REGISTER_TEST_CLASS(ReportWindowTest);

#include "reportwindow_test.moc"
