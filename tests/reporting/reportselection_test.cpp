#include "../tracker/testregistry.h"
#include "reporting/dialogtexts.h"
#include "reporting/preferences.h"
#include "reportsfixture.h"

#include <QDateEdit>
#include <QLabel>
#include <QTest>

using namespace vsolo;
using namespace vsolo::reporting;
using vsolo::reporting::testing::ReportsWindow;
using ViewType = CMainFrame::ViewType;

Q_DECLARE_METATYPE(vsolo::reporting::CMainFrame::ViewType)

namespace {

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

} // namespace

class ReportSelectionTest : public QObject {
    Q_OBJECT
private slots:
    void formListsReportsAndProjects() {
        ReportsWindow window;
        window.settings.favoriteReport = CReportView::InvoiceRow;
        window.frame->switchView(ViewType::Selection);
        const QString rule(75, QLatin1Char('-'));
        QCOMPARE(texts(window.form().reportList()),
                 (QStringList{"Job List", "Customers List", rule, "Fees List", "Costs List", rule,
                              "Invoice Report"}));
        QCOMPARE(window.form().reportList()->currentRow(), int(CReportView::InvoiceRow));
        QCOMPARE(texts(window.form().projectList()), (QStringList{"Alpha", "Beta"}));
        QCOMPARE(window.form().projectLabel()->text(), QStringLiteral("&Job List:"));
        QCOMPARE(window.form().fromPicker()->date(), QDate(2026, 3, 1));
        QCOMPARE(window.form().toPicker()->date(), QDate(2026, 3, 31));
    }

    void separatorIsSteppedOver_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("after");
        QTest::newRow("first rule from below") << 3 << 2 << 1;
        QTest::newRow("first rule from above") << 1 << 2 << 3;
        QTest::newRow("second rule from below") << 6 << 5 << 4;
        QTest::newRow("second rule from above") << 4 << 5 << 6;
        QTest::newRow("first rule from afar") << 6 << 2 << 3;
    }
    void separatorIsSteppedOver() {
        QFETCH(int, before);
        QFETCH(int, chosen);
        QFETCH(int, after);
        ReportsWindow window;
        window.choose(before);
        window.form().reportList()->setCurrentRow(chosen);
        QCOMPARE(window.form().reportList()->currentRow(), after);
        QCOMPARE(window.settings.favoriteReport, after);
        QCOMPARE(window.store.readInt("UserConfig", "FavoriteReport"), after);
    }

    void clickedSeparatorIsNotLeftSelected() {
        ReportsWindow window;
        window.choose(CReportView::RateRow);
        QListWidget* list = window.form().reportList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(CReportView::FirstSeparator)).center());
        QCOMPARE(list->selectedItems(),
                 QList<QListWidgetItem*>{list->item(CReportView::ClientRow)});
    }

    void flagsShowPeriodAndProjects_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("shown");
        QTest::newRow("projects") << int(CReportView::ProjectRow) << false;
        QTest::newRow("clients") << int(CReportView::ClientRow) << false;
        QTest::newRow("rates") << int(CReportView::RateRow) << false;
        QTest::newRow("expenses") << int(CReportView::ExpenseRow) << true;
        QTest::newRow("invoice") << int(CReportView::InvoiceRow) << true;
    }
    void flagsShowPeriodAndProjects() {
        QFETCH(int, row);
        QFETCH(bool, shown);
        ReportsWindow window;
        // From a row of the other kind, so that every row has to change what is shown.
        window.choose(shown ? CReportView::ClientRow : CReportView::ExpenseRow);
        window.form().reportList()->setCurrentRow(row);
        QCOMPARE(!window.form().fromPicker()->isHidden(), shown);
        QCOMPARE(!window.form().toPicker()->isHidden(), shown);
        QCOMPARE(!window.form().projectList()->isHidden(), shown);
        QCOMPARE(!window.form().projectLabel()->isHidden(), shown);
    }

    void pickerIsStoredAtOnce_data() {
        QTest::addColumn<bool>("from");
        QTest::newRow("from") << true;
        QTest::newRow("to") << false;
    }
    void pickerIsStoredAtOnce() {
        QFETCH(bool, from);
        ReportsWindow window;
        window.frame->switchView(ViewType::Selection);
        (from ? window.form().fromPicker() : window.form().toPicker())->setDate(QDate(2026, 2, 14));
        // The date changes; the time of day stays.
        const std::int64_t expected = from ? ReportsWindow::moment(2026, 2, 14, 12, 30)
                                           : ReportsWindow::moment(2026, 2, 14, 8, 15);
        QCOMPARE(from ? window.settings.fromTime : window.settings.toTime, expected);
        QCOMPARE(window.store.readText("UserConfig", from ? "FromTime" : "ToTime"),
                 std::to_string(expected));
    }

    void reportsNeedingProjectsAskForThem_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("expenses") << int(CReportView::ExpenseRow);
        QTest::newRow("invoice") << int(CReportView::InvoiceRow);
    }
    void reportsNeedingProjectsAskForThem() {
        QFETCH(int, row);
        ReportsWindow window;
        window.choose(row);
        window.frame->preview();
        QCOMPARE(
            window.prompter.texts(),
            std::vector<std::string>{"Please select one or more Job before viewing this report."});
        QCOMPARE(window.frame->viewType(), ViewType::Selection);
    }

    void previewShowsTheReport_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<ViewType>("type");
        QTest::newRow("projects") << int(CReportView::ProjectRow) << ViewType::Projects;
        QTest::newRow("clients") << int(CReportView::ClientRow) << ViewType::Clients;
        QTest::newRow("rates") << int(CReportView::RateRow) << ViewType::Rates;
        QTest::newRow("expenses") << int(CReportView::ExpenseRow) << ViewType::Expenses;
        QTest::newRow("invoice") << int(CReportView::InvoiceRow) << ViewType::Invoice;
    }
    void previewShowsTheReport() {
        QFETCH(int, row);
        QFETCH(ViewType, type);
        ReportsWindow window;
        // Beta is picked first; the selection keeps the list's order.
        window.choose(row, {"Beta", "Alpha"});
        window.frame->preview();
        QVERIFY(window.prompter.empty());
        QCOMPARE(window.frame->viewType(), type);
        QVERIFY(window.frame->reportView());
        QVERIFY(window.frame->isMaximized());
        QCOMPARE(window.frame->selection().projects, (std::vector<std::int32_t>{1, 2}));
        const ReportPeriod period = window.frame->selection().period;
        QCOMPARE(period.start, ReportsWindow::moment(2026, 3, 1, 0, 0));
        QCOMPARE(period.end, ReportsWindow::moment(2026, 3, 31, 23, 59) + 59);
    }

    // A stored tax rate that is not a number is told at start, makes no invoice and is written
    // back as it was.
    void unreadableTaxRateIsToldAndMakesNoInvoice() {
        ReportsWindow window;
        window.settings.unreadableTax = "7, 5";
        warnOfUnreadableTax(window.settings, window.prompter);
        window.reach(ViewType::Invoice);
        QCOMPARE(window.prompter.texts(), std::vector(2, unreadableTaxText("7, 5")));
        QCOMPARE(window.frame->viewType(), ViewType::Selection);
        window.frame->switchView(ViewType::Main);
        QCOMPARE(window.store.readText("UserConfig", "Tax"), std::optional<std::string>("7, 5"));
    }

    void reportWithoutDataKeepsTheForm() {
        ReportsWindow window;
        window.data.clients().clear();
        window.choose(CReportView::ClientRow);
        window.frame->preview();
        QCOMPARE(window.prompter.texts(),
                 std::vector<std::string>{"No data for the requested parameters was found.  "
                                          "Report will not be displayed."});
        QCOMPARE(window.frame->viewType(), ViewType::Selection);
        QVERIFY(window.frame->selectionForm());
        QVERIFY(!window.frame->isMaximized());
    }

    // The form's record is written when the form is left, and when the program ends while it is
    // shown; a write the store refuses is told either way.
    void theRecordIsWrittenOnLeavingTheForm_data() {
        QTest::addColumn<bool>("atExit");
        QTest::addColumn<bool>("writable");
        QTest::newRow("return, written") << false << true;
        QTest::newRow("return, refused") << false << false;
        QTest::newRow("exit, written") << true << true;
        QTest::newRow("exit, refused") << true << false;
    }
    void theRecordIsWrittenOnLeavingTheForm() {
        QFETCH(bool, atExit);
        QFETCH(bool, writable);
        ReportsWindow window;
        window.frame->switchView(ViewType::Selection);
        window.settings.company = "Harbour Works";
        if (!writable) {
            window.store.refuseAll();
        }
        if (atExit) {
            window.frame->saveAtExit();
        } else {
            window.frame->switchView(ViewType::Main);
        }
        QCOMPARE(window.store.readText("UserConfig", "Company"),
                 writable ? std::optional<std::string>("Harbour Works") : std::nullopt);
        const char* told =
            atExit ? dialogtext::kSettingsNotWrittenAtExit : dialogtext::kSettingsNotWritten;
        QCOMPARE(window.prompter.texts(),
                 writable ? std::vector<std::string>{} : std::vector<std::string>{told});
    }
};
VSOLO_REGISTER_TEST_CLASS(ReportSelectionTest);

#include "reportselection_test.moc"
