// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/daterange.h"
#include "core/document.h"
#include "core/settingsstore.h"
#include "print/graphs/pieprint.h"
#include "print/graphs/studygraphprint.h"
#include "shownframe.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/help/helpbook.h"
#include "tracker/reports/graphviews.h"
#include "tracker/timesheet/daterangedialog.h"
#include "tracker/timesheet/valueedit.h"
#include "whenshown.h"

#include <QAction>
#include <QTest>
#include <cmath>
#include <memory>
#include <string>

Q_DECLARE_METATYPE(vsolo::TimeValue)

namespace vsolo {
namespace {

using testing::date;
using testing::dateTime;
using testing::V4Item;
using testing::V4Record;

// Sales (target 60%) with Letters and Calls, Support (target 40%) with Tickets. On March 2 an
// overlap that the file does not mark (the earlier row counts nothing), on March 3 an hour of
// Tickets, on March 4 only a row of no length (in error), on March 20 two more hours of Tickets.
// The reports' range is stored as March 1 to 10 unless the test gives another.
struct Graphs : testing::ShownFrame {
    explicit Graphs(DateRange reports = {date(2026, 3, 1), date(2026, 3, 10), true}) {
        const std::string tpl = dir.file("work.tpl");
        testing::writeBytes(tpl,
                            testing::v4Template("Veltimo Solo File", 3, 8,
                                                {V4Item{1, 0, 0, 0, 1, 1, 60, "Sales", "s"},
                                                 V4Item{1, 0, 5, 1, 1, 2, 0, "Letters", "l"},
                                                 V4Item{1, 0, 6, 1, 1, 2, 0, "Calls", "c"},
                                                 V4Item{2, 0, 0, 0, 1, 1, 40, "Support", "t"},
                                                 V4Item{2, 0, 7, 1, 1, 2, 0, "Tickets", "k"}}));
        testing::writeBytes(dir.file("work.trs"),
                            testing::records<V4Record>(
                                testing::transactionHeader(),
                                {V4Record(1, 5, "03/02/2026", "09:00", "10:30", 0, "letter"),
                                 V4Record(1, 6, "03/02/2026", "10:00", "11:00", 0, "call"),
                                 V4Record(2, 7, "03/03/2026", "08:00", "09:00", 0, "ticket"),
                                 V4Record(1, 5, "03/04/2026", "12:00", "12:00", 0, "nothing"),
                                 V4Record(2, 7, "03/20/2026", "08:00", "10:00", 0, "later")}));
        openAndShow(tpl, daterangekey::kReports, reports);
    }

    CReportViewHandlers* view() const {
        return qobject_cast<CReportViewHandlers*>(frame->currentView());
    }
    CReportViewHandlers* open(int command) const {
        frame->runCommand(command);
        return view();
    }
    bool pressWhenActive(Qt::Key key) const {
        QApplication::setActiveWindow(frame.get());
        if (!QTest::qWaitForWindowActive(frame.get())) {
            return false;
        }
        QTest::keyClick(frame.get(), key);
        return true;
    }
};

int pixels(int units, int dotsPerInch) {
    return static_cast<int>(std::ceil(static_cast<double>(units) * dotsPerInch / 1000));
}

class GraphViewsTest final : public QObject {
    Q_OBJECT

private slots:
    void functionKeysOpenTheGraphsWithTheirRadioMark_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("windowName");
        const struct {
            const char* name;
            int key;
            int view;
            const char* windowName;
        } graphs[] = {{"F6", Qt::Key_F6, command::kTimeStudyGraph, "TimeStudyGraph"},
                      {"F7", Qt::Key_F7, command::kPieLevel1, "PieWindow"},
                      {"F8", Qt::Key_F8, command::kPieLevel2, "PieWindow"}};
        for (const auto& g : graphs) {
            for (int from : {command::kMainWindow, command::kTimeSheet}) {
                const QByteArray name =
                    QByteArray(g.name) + (from == command::kMainWindow ? " from the main window"
                                                                       : " from the time sheet");
                QTest::newRow(name.constData()) << from << g.key << g.view << g.windowName;
            }
        }
    }

    void functionKeysOpenTheGraphsWithTheirRadioMark() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, view);
        QFETCH(QString, windowName);
        Graphs g;
        if (from != command::kMainWindow) {
            g.frame->runCommand(from);
        }
        QCOMPARE(g.frame->currentViewNumber(), from);
        QVERIFY(g.pressWhenActive(static_cast<Qt::Key>(key)));
        QCOMPARE(g.frame->currentViewNumber(), view);
        QVERIFY(g.view());
        QCOMPARE(g.view()->windowName(), windowName);
        QCOMPARE(g.view()->helpContext(), int(TrackerHelp::ReportsAndGraphs));
        for (int c : command::kReportCommands) {
            QCOMPARE(g.frame->action(c)->isChecked(), c == view);
        }
        if (auto* pie = qobject_cast<CItemPieView*>(g.view())) {
            QCOMPARE(pie->level(), view == command::kPieLevel2 ? 2 : 1);
        }
    }

    // The error rows of the range count nothing, although the file marks none of them.
    void theGraphsShowTheReportsRangeWithoutTheRowsInError() {
        Graphs g;
        const auto* graph = qobject_cast<CTimeStudyGraphView*>(g.open(command::kTimeStudyGraph));
        QVERIFY(graph);
        QCOMPARE(graph->report().from(), date(2026, 3, 1));
        QCOMPARE(graph->report().to(), date(2026, 3, 10));
        QCOMPARE(graph->report().title(),
                 QString("% OF TOTAL HOURS WORKED BY PROJECT (INCLUDING TARGET)"));
        const auto& bars = dynamic_cast<const StudyGraphPrint&>(graph->report()).bars();
        const std::vector<GraphCategory> expected{{"Sales", 0.5f, 0.6f}, {"Support", 0.5f, 0.4f}};
        QCOMPARE(bars.size(), expected.size());
        for (std::size_t i = 0; i < bars.size(); ++i) {
            QCOMPARE(bars[i].name, expected[i].name);
            QCOMPARE(bars[i].actual, expected[i].actual); // fuzzy, as floats are compared
            QCOMPARE(bars[i].target, expected[i].target);
        }

        const auto pieOf = [&g](int command) {
            return dynamic_cast<const PiePrint&>(g.open(command)->report()).chart().categories();
        };
        QVERIFY(pieOf(command::kPieLevel1) ==
                (std::vector<PieCategory>{{"Sales", 60}, {"Support", 60}}));
        QCOMPARE(g.view()->report().title(), QString("% OF TOTAL HOURS WORKED BY PROJECT"));
        QVERIFY(pieOf(command::kPieLevel2) ==
                (std::vector<PieCategory>{{"Sales - Calls", 60}, {"Support - Tickets", 60}}));
        QCOMPARE(g.view()->report().title(), QString("% OF TOTAL HOURS WORKED BY ACTIVITY"));
    }

    void theCanvasScrollsToTheGraphsSizeOnScreen() {
        Graphs g;
        ReportCanvas* graph = g.open(command::kTimeStudyGraph)->canvas();
        const int lh = ReportPainter(*graph).lineHeight();
        QCOMPARE(graph->minimumSize(), QSize(pixels(4000, graph->logicalDpiX()),
                                             pixels((7 + 2 + 2 * 3) * lh, graph->logicalDpiY())));
        const ReportCanvas* pie = g.open(command::kPieLevel1)->canvas();
        QCOMPARE(pie->minimumSize(),
                 QSize(pixels(4000, pie->logicalDpiX()), pixels(3000, pie->logicalDpiY())));
    }

    void aRangeChangedInOneViewIsUsedByTheOthers() {
        Graphs g;
        const DateRange timeSheetRange = loadDateRange(g.store, daterangekey::kTimeSheet, g.clock);
        g.open(command::kTimeStudyGraph);
        testing::whenShown<DateRangeDialog>([](DateRangeDialog& dialog) {
            QCOMPARE(dialog.key(), std::string(daterangekey::kReports));
            QCOMPARE(dialog.fromEdit()->value(), date(2026, 3, 1));
            dialog.fromEdit()->setValue(date(2026, 3, 3));
            dialog.toEdit()->setValue(date(2026, 3, 20));
            QVERIFY(dialog.tryAccept());
        });
        g.frame->runCommand(command::kDateRange);
        QCOMPARE(g.view()->range().from, date(2026, 3, 3));
        QCOMPARE(g.view()->range().to, date(2026, 3, 20));
        const auto& bars = dynamic_cast<const StudyGraphPrint&>(g.view()->report()).bars();
        QCOMPARE(bars.front().name, std::string("Support"));
        QCOMPARE(bars.front().actual, 1.0f);

        for (int other : {command::kPieLevel1, command::kPieLevel2}) {
            CReportViewHandlers* view = g.open(other);
            QCOMPARE(view->range().from, date(2026, 3, 3));
            QCOMPARE(view->range().to, date(2026, 3, 20));
            QCOMPARE(view->report().to(), date(2026, 3, 20));
        }
        QCOMPARE(loadDateRange(g.store, daterangekey::kTimeSheet, g.clock), timeSheetRange);
    }

    void printingNeedsSomethingToPrint_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<TimeValue>("from");
        QTest::addColumn<TimeValue>("to");
        QTest::addColumn<bool>("enabled");
        const struct {
            const char* name;
            TimeValue from;
            TimeValue to;
            bool enabled;
        } ranges[] = {{"hours", date(2026, 3, 1), date(2026, 3, 10), true},
                      {"no day", date(2026, 4, 1), date(2026, 4, 30), false},
                      {"errors only", date(2026, 3, 4), date(2026, 3, 4), false}};
        const struct {
            const char* name;
            int command;
        } views[] = {{"graph", command::kTimeStudyGraph},
                     {"level-1 pie", command::kPieLevel1},
                     {"level-2 pie", command::kPieLevel2}};
        for (const auto& v : views) {
            for (const auto& r : ranges) {
                const QByteArray name = QByteArray(v.name) + ", " + r.name;
                QTest::newRow(name.constData()) << v.command << r.from << r.to << r.enabled;
            }
        }
    }

    void printingNeedsSomethingToPrint() {
        QFETCH(int, view);
        QFETCH(TimeValue, from);
        QFETCH(TimeValue, to);
        QFETCH(bool, enabled);
        Graphs g({from, to, true});
        CReportViewHandlers* shown = g.open(view);
        QVERIFY(shown);
        QCOMPARE(shown->hasData(), enabled);
        QCOMPARE(g.frame->commandEnabled(command::kPrint), enabled);
        QCOMPARE(g.frame->commandEnabled(command::kPrintPreview), enabled);
        QCOMPARE(g.frame->action(command::kPrint)->isEnabled(), enabled);
        QVERIFY(g.frame->commandEnabled(command::kDateRange));
    }

    void closeReturnsToTheMainWindow_data() {
        QTest::addColumn<int>("view");
        QTest::newRow("graph") << command::kTimeStudyGraph;
        QTest::newRow("level-1 pie") << command::kPieLevel1;
        QTest::newRow("level-2 pie") << command::kPieLevel2;
    }

    void closeReturnsToTheMainWindow() {
        QFETCH(int, view);
        Graphs g;
        g.open(view);
        g.frame->runCommand(command::kBackToMainWindow);
        QCOMPARE(g.frame->currentViewNumber(), command::kMainWindow);
        // The close box asks the graph to close, which goes back to the main window too.
        g.open(view);
        QCOMPARE(g.frame->currentViewNumber(), view);
        g.frame->close();
        QCOMPARE(g.frame->currentViewNumber(), command::kMainWindow);
        QVERIFY(g.frame->isVisible());
    }
};

VSOLO_REGISTER_TEST_CLASS(GraphViewsTest);

} // namespace
} // namespace vsolo

#include "graphviews_test.moc"
