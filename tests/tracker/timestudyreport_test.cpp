// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>
#include <QLabel>

// The project headers after the Qt header; see above.
#include "core/daterange.h"
#include "core/document.h"
#include "core/reports/rangetotals.h"
#include "core/reports/timestudy.h"
#include "core/settingsstore.h"
#include "shownframe.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/help/helpbook.h"
#include "tracker/reports/timestudyreportview.h"
#include "tracker/timesheet/daterangedialog.h"
#include "tracker/timesheet/valueedit.h"
#include "whenshown.h"

#include <QAction>
#include <QHeaderView>
#include <QTest>
#include <memory>
#include <string>

namespace vsolo {
namespace {

using testing::date;
using testing::dateTime;

// A template with Alpha (Build, Design; target 60%) and Beta (Test; target 40%), and two days
// of March 2026 inside the reports' range of March 1 to 10; a day on the 20th lies outside it.
struct Report : testing::ShownFrame {
    Report() {
        using namespace testing;
        const std::string tpl = dir.file("work.tpl");
        writeBytes(tpl, v4Template("Veltimo Solo File", 3, 10,
                                   {V4Item{1, 0, 0, 0, 1, 1, 60, "Alpha", "", " "},
                                    V4Item{1, 0, 7, 1, 1, 2, 0, "Build", "", " "},
                                    V4Item{1, 0, 8, 1, 1, 2, 0, "Design", "", " "},
                                    V4Item{2, 0, 0, 0, 1, 1, 40, "Beta", "", " "},
                                    V4Item{2, 0, 9, 1, 1, 2, 0, "Test", "", " "}}));
        writeBytes(dir.file("work.trs"),
                   records<V4Record>(transactionHeader(),
                                     {V4Record(1, 7, "03/02/2026", "08:00", "09:00", 0, "b"),
                                      V4Record(1, 8, "03/02/2026", "09:00", "09:30", 0, "d"),
                                      V4Record(2, 9, "03/03/2026", "10:00", "10:30", 0, "t"),
                                      V4Record(1, 7, "03/20/2026", "08:00", "09:00", 0, "x")}));
        openAndShow(tpl, daterangekey::kReports, {date(2026, 3, 1), date(2026, 3, 10), true});
    }

    void setRange(TimeValue from, TimeValue to) {
        storeDateRange(store, daterangekey::kReports, {from, to, true}, clock);
    }
    CTimeStudyReportView* open() {
        frame->runCommand(command::kTimeStudyReport);
        return view();
    }
    CTimeStudyReportView* view() const {
        return qobject_cast<CTimeStudyReportView*>(frame->currentView());
    }
    QVariant data(int row, int column, int role = Qt::DisplayRole) const {
        return view()->list()->listModel()->index(row, column).data(role);
    }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int c = 0; c < TimeStudyRow::ColumnCount; ++c) {
            texts << data(row, c).toString();
        }
        return texts;
    }
};

class TimeStudyReportTest final : public QObject {
    Q_OBJECT

private slots:
    void listsTheRowsAsBuiltUnderTheLevelTitles() {
        Report r;
        CTimeStudyReportView* v = r.open();
        QVERIFY(v);
        QCOMPARE(v->windowName(), QString("TimeStudyReport"));
        QCOMPARE(v->helpContext(), int(TrackerHelp::ReportsAndGraphs));
        const std::vector<TimeStudyRow> built = buildTimeStudyRows(
            RangeTotals::gather(r.doc->templateFile(), date(2026, 3, 1), date(2026, 3, 10)));
        QCOMPARE(v->rows(), built);
        const std::vector<QStringList> expected{
            {"", "", "", "", ""},
            {"Alpha", "Build", "1:00", "50.0%", ""},
            {"", "Design", "0:30", "25.0%", ""},
            {"   Total", "", "1:30", "75.0%", "60%"},
            {"", "", "", "", ""},
            {"Beta", "Test", "0:30", "25.0%", ""},
            {"   Total", "", "0:30", "25.0%", "40%"},
            {"", "", "", "", ""},
            {"   Grand Total", "", "2:00", "100.0%", ""},
        };
        ExListModel* model = v->list()->listModel();
        QCOMPARE(model->rowCount(), int(expected.size()));
        for (int row = 0; row < model->rowCount(); ++row) {
            QCOMPARE(r.rowTexts(row), expected[static_cast<std::size_t>(row)]);
        }
        QStringList titles;
        for (int c = 0; c < model->columnCount(); ++c) {
            titles << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        }
        QCOMPARE(titles,
                 (QStringList{"Project", "Activity", "Actual (h)", "Actual (%)", "Target"}));
        QCOMPARE(model->widths(), (std::vector<int>{100, 100, 75, 75, 75}));
        r.frame->resize(1300, r.frame->height());
        QCoreApplication::processEvents();
        QCOMPARE(v->list()->horizontalHeader()->sectionSize(TimeStudyRow::ColumnCount - 1), 75);
        for (int c = 0; c < model->columnCount(); ++c) {
            const auto alignment = Qt::Alignment(r.data(1, c, Qt::TextAlignmentRole).toInt());
            QCOMPARE(alignment & Qt::AlignHorizontal_Mask,
                     c < 2 ? Qt::Alignment(Qt::AlignLeft) : Qt::Alignment(Qt::AlignRight));
        }
        QCOMPARE(v->rangeText(),
                 QString("From: Sunday, March 1, 2026   To: Tuesday, March 10, 2026"));
        QVERIFY(r.frame->rangeLabel());
        QCOMPARE(r.frame->rangeLabel()->text(), v->rangeText());
        QVERIFY(r.prompter.empty());
    }

    void totalRowsAreBold() {
        Report r;
        CTimeStudyReportView* v = r.open();
        QVERIFY(v);
        QList<int> bold;
        for (int row = 0; row < v->list()->listModel()->rowCount(); ++row) {
            if (r.data(row, 0, Qt::FontRole).value<QFont>().bold()) {
                bold << row;
            }
        }
        QCOMPARE(bold, (QList<int>{3, 6, 8}));
    }

    void theFirstRowIsSelectedWithoutAHighlight() {
        Report r;
        CTimeStudyReportView* v = r.open();
        QVERIFY(v);
        QCOMPARE(v->list()->currentRow(), 0);
        const QPalette palette = v->list()->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            QCOMPARE(palette.color(group, QPalette::Highlight),
                     palette.color(group, QPalette::Base));
            QCOMPARE(palette.color(group, QPalette::HighlightedText),
                     palette.color(group, QPalette::Text));
        }
    }

    void aRangeWithoutTransactionsListsNothingAndCannotBePrinted() {
        Report r;
        QVERIFY(r.open());
        QVERIFY(r.frame->commandEnabled(command::kPrint));
        QVERIFY(r.frame->commandEnabled(command::kPrintPreview));
        r.frame->runCommand(command::kBackToMainWindow);
        r.setRange(date(2026, 4, 1), date(2026, 4, 30));
        CTimeStudyReportView* v = r.open();
        QVERIFY(v);
        QCOMPARE(v->list()->listModel()->rowCount(), 0);
        QVERIFY(!v->hasData());
        QVERIFY(!r.frame->commandEnabled(command::kPrint));
        QVERIFY(!r.frame->commandEnabled(command::kPrintPreview));
        QVERIFY(r.frame->commandEnabled(command::kDateRange));
    }

    void theDateRangeIsStoredUnderReportsAndRebuildsTheRows() {
        Report r;
        const DateRange sheetRange =
            loadDateRange(r.store, daterangekey::kTimeSheet, r.doc->templateFile().clock());
        CTimeStudyReportView* v = r.open();
        QVERIFY(v);
        testing::whenShown<DateRangeDialog>([](DateRangeDialog& dialog) {
            QCOMPARE(dialog.key(), std::string(daterangekey::kReports));
            dialog.fromEdit()->setValue(date(2026, 3, 3));
            dialog.toEdit()->setValue(date(2026, 3, 31));
            QVERIFY(dialog.tryAccept());
        });
        r.frame->runCommand(command::kDateRange);
        const DateRange stored = loadDateRange(r.store, daterangekey::kReports, r.clock);
        QCOMPARE(stored.from, date(2026, 3, 3));
        QCOMPARE(stored.to, date(2026, 3, 31));
        QCOMPARE(loadDateRange(r.store, daterangekey::kTimeSheet, r.clock), sheetRange);
        // Only Beta's day and the 20th are left.
        QCOMPARE(r.view(), v);
        QCOMPARE(r.rowTexts(1), (QStringList{"Alpha", "Build", "1:00", "66.7%", ""}));
        QCOMPARE(r.rowTexts(4), (QStringList{"Beta", "Test", "0:30", "33.3%", ""}));
        QCOMPARE(r.rowTexts(7), (QStringList{"   Grand Total", "", "1:30", "100.0%", ""}));
        QCOMPARE(r.frame->rangeLabel()->text(),
                 QString("From: Tuesday, March 3, 2026   To: Tuesday, March 31, 2026"));
    }

    void closeAndTheFramesCloseBoxReturnToTheMainWindow() {
        Report r;
        QVERIFY(r.open());
        r.frame->runCommand(command::kBackToMainWindow);
        QCOMPARE(r.frame->currentViewNumber(), command::kMainWindow);
        QVERIFY(r.open());
        r.frame->close();
        QCOMPARE(r.frame->currentViewNumber(), command::kMainWindow);
        QVERIFY(r.frame->isVisible());
    }

    void opensFromTheMainWindowAndTheTimeSheetWithItsRadioMark_data() {
        QTest::addColumn<int>("from");
        QTest::newRow("main window") << command::kMainWindow;
        QTest::newRow("time sheet") << command::kTimeSheet;
    }

    void opensFromTheMainWindowAndTheTimeSheetWithItsRadioMark() {
        QFETCH(int, from);
        Report r;
        if (from != command::kMainWindow) {
            QVERIFY(r.frame->switchTo(from));
        }
        QAction* report = r.frame->action(command::kTimeStudyReport);
        QCOMPARE(report->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY(!report->isChecked());
        QVERIFY(r.open());
        QCOMPARE(r.frame->currentViewNumber(), command::kTimeStudyReport);
        QVERIFY(report->isChecked());
        QVERIFY(report->isEnabled());
        for (int other : {command::kTimeStudyGraph, command::kPieLevel1, command::kPieLevel2}) {
            QVERIFY(!r.frame->action(other)->isChecked());
        }
        r.frame->runCommand(command::kBackToMainWindow);
        QVERIFY(!report->isChecked());
    }
};

VSOLO_REGISTER_TEST_CLASS(TimeStudyReportTest);

} // namespace
} // namespace vsolo

#include "timestudyreport_test.moc"
