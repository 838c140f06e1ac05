// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

// The project headers after the Qt header; see above.
#include "core/daterange.h"
#include "core/document.h"
#include "core/settingsstore.h"
#include "shownframe.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/joined.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/timesheet/timesheetview.h"

#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

namespace vsolo {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;
using Answer = Prompter::Answer;
using testing::date;
using testing::dateTime;

// A template with Alpha/Design and a transaction file of three days in March 2026: the 2nd with
// an overlap (an error row) and a sent row, the 3rd with a row for an item that is gone and a
// comma in a description, the 20th outside the range. The time sheet's range is March 1 to 10.
struct Sheet : testing::ShownFrame {
    std::string tpl = dir.file("work.tpl");
    std::string trs = dir.file("work.trs");
    std::string fileBytes;

    Sheet() {
        using namespace testing;
        writeBytes(tpl, v4Template("Veltimo Solo File", 2, 9,
                                   {V4Item{1, 0, 0, 0, 1, 1, 0, "Alpha", "", " "},
                                    V4Item{1, 0, 7, 1, 1, 2, 0, "Design", "", " "}}));
        fileBytes = records<V4Record>(
            transactionHeader(), {V4Record(1, 7, "03/02/2026", "08:00", "10:00", 0, "long"),
                                  V4Record(1, 7, "03/02/2026", "09:30", "11:00", 0, "overlapped"),
                                  V4Record(1, 7, "03/02/2026", "12:00", "12:30", 1, "sent"),
                                  V4Record(1, 8, "03/03/2026", "07:05", "08:00", 0, "a, b"),
                                  V4Record(1, 7, "03/20/2026", "08:00", "09:00", 0, "later")});
        writeBytes(trs, fileBytes);
        openAndShow(tpl, daterangekey::kTimeSheet, {date(2026, 3, 1), date(2026, 3, 10), true});
    }

    CTimeSheetView* open() {
        frame->runCommand(command::kTimeSheet);
        return view();
    }
    CTimeSheetView* view() const { return qobject_cast<CTimeSheetView*>(frame->currentView()); }
    QString cell(int row, int column) const {
        return view()->list()->listModel()->index(row, column).data().toString();
    }
    QVariant background(int row) const {
        return view()->list()->listModel()->index(row, 2).data(Qt::BackgroundRole);
    }
};

class TimeSheetTest final : public QObject {
    Q_OBJECT

private slots:
    void showsTheRangeWithTotalsMarksAndColours() {
        Sheet s;
        CTimeSheetView* v = s.open();
        QVERIFY(v);
        QCOMPARE(s.frame->currentViewNumber(), command::kTimeSheet);
        QCOMPARE(s.prompter.texts(),
                 (std::vector<std::string>{"Errors found.\r\n\r\nPlease correct rows with the word "
                                           "\"ERROR\" in the description."}));
        QCOMPARE(v->list()->listModel()->rowCount(), 5);
        QCOMPARE(v->list()->listModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Project"));
        QCOMPARE(s.cell(0, 0), QString("Monday, March 2, 2026"));
        QCOMPARE(s.cell(1, 0), QString());
        QCOMPARE(s.cell(0, 7), QString("ERROR"));
        QCOMPARE(s.background(0).value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(s.cell(2, 6), QString("2:00")); // 9:30-11:00 and 12:00-12:30
        QCOMPARE(s.cell(3, 2), QString("?"));
        QCOMPARE(s.cell(3, 7), QString("a, b"));
        QCOMPARE(s.cell(4, 0), QString("   Total"));
        QCOMPARE(s.cell(4, 6), QString("2:55"));
        // Days alternate by their place in the whole store: the 2nd is day 0 (green).
        QCOMPARE(s.background(1).value<QColor>(), QColor(192, 220, 192));
        QVERIFY(!s.background(3).isValid());
        QVERIFY(
            !v->list()->listModel()->index(2, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(
            v->list()->listModel()->index(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(v->currentRow(), 3); // the last transaction row
        QCOMPARE(v->rangeText(),
                 QString("From: Sunday, March 1, 2026   To: Tuesday, March 10, 2026"));
    }

    void autoLoadOpensTheSheetOnTheFirstTick() {
        Sheet s;
        s.settings.setAutoLoad(true);
        s.frame->tick(kSecondClock);
        QCOMPARE(s.frame->currentViewNumber(), command::kTimeSheet);
        s.frame->runCommand(command::kBackToMainWindow);
        s.frame->tick(kSecondClock); // only the first tick does it
        QCOMPARE(s.frame->currentViewNumber(), command::kMainWindow);
        QVERIFY(!s.frame->switchTo(command::kShrink)); // not from the time sheet, not idle
    }

    void theClosingRowIsNeverCurrent() {
        Sheet s;
        CTimeSheetView* v = s.open();
        v->list()->selectRow(4);
        QCOMPARE(v->currentRow(), 3);
        QCOMPARE(v->list()->currentRow(), 3);
    }

    void navigationFollowsTheRows() {
        Sheet s;
        CTimeSheetView* v = s.open();
        QVERIFY(!s.frame->commandEnabled(command::kNextRow));
        QVERIFY(!s.frame->commandEnabled(command::kLastRow));
        s.frame->runCommand(command::kFirstRow);
        QCOMPARE(v->currentRow(), 0);
        QVERIFY(!s.frame->commandEnabled(command::kPreviousRow));
        s.frame->runCommand(command::kNextRow);
        s.frame->runCommand(command::kNextRow);
        QCOMPARE(v->currentRow(), 2);
        s.frame->runCommand(command::kPreviousRow);
        QCOMPARE(v->currentRow(), 1);
        s.frame->runCommand(command::kLastRow);
        QCOMPARE(v->currentRow(), 3);
    }

    void deletingMovesTheCurrentRow() {
        Sheet s;
        CTimeSheetView* v = s.open();
        s.prompter.clear();
        s.prompter.queue(Answer::No);
        s.frame->runCommand(command::kDeleteTransaction);
        QCOMPARE(v->rows().transactionRows(), std::size_t{4});
        QCOMPARE(s.prompter.entries().back().text,
                 std::string("Are you sure you want to delete this transaction?"));
        QVERIFY(s.prompter.entries().back().preferred == Answer::No);
        QVERIFY(!s.doc->isModified());

        s.prompter.queue(Answer::Yes); // the last row goes: the row above becomes current
        s.frame->runCommand(command::kDeleteTransaction);
        QCOMPARE(v->rows().transactionRows(), std::size_t{3});
        QCOMPARE(v->currentRow(), 2);
        QVERIFY(s.doc->isModified());
        QVERIFY(s.frame->commandEnabled(command::kSave));

        s.frame->runCommand(command::kFirstRow); // the error row goes: the overlap is gone
        s.prompter.queue(Answer::Yes);
        s.frame->runCommand(command::kDeleteTransaction);
        QCOMPARE(v->currentRow(), 0);
        QCOMPARE(s.cell(0, 7), QString("overlapped"));
        QVERIFY(!s.background(0).value<QColor>().isValid() ||
                s.background(0).value<QColor>() != QColor(255, 0, 0));

        s.prompter.queue(Answer::Yes);
        s.frame->runCommand(command::kDeleteAll);
        QCOMPARE(v->rows().size(), std::size_t{1});
        QCOMPARE(v->currentRow(), -1);
        for (int c : {command::kEditTransaction, command::kDeleteTransaction, command::kDeleteAll,
                      command::kFirstRow, command::kNextRow, command::kPrint}) {
            QVERIFY2(!s.frame->commandEnabled(c), qPrintable(QString::number(c)));
        }
        QVERIFY(s.frame->commandEnabled(command::kAddTransaction));
        // Only the range's days went.
        QVERIFY(s.doc->templateFile().store().findDay(date(2026, 3, 20)) != nullptr);
    }

    void anotherProgramsWritingIsTakenInOrStopsTheSave() {
        using testing::V4Record;
        Sheet s;
        CTimeSheetView* v = s.open();
        const auto replace = [&s](std::vector<V4Record> list) {
            testing::writeBytes(s.trs + ".new",
                                testing::records(testing::transactionHeader(), list));
            std::filesystem::rename(s.trs + ".new", s.trs); // as another program's rewrite
        };
        std::vector<V4Record> file{V4Record(1, 7, "03/02/2026", "08:00", "10:00", 0, "long"),
                                   V4Record(1, 7, "03/02/2026", "09:30", "11:00", 0, "overlapped"),
                                   V4Record(1, 7, "03/02/2026", "12:00", "12:30", 1, "sent"),
                                   V4Record(1, 7, "03/04/2026", "08:00", "09:00", 0, "new"),
                                   V4Record(1, 7, "03/20/2026", "08:00", "09:00", 1, "later")};
        replace({file[0], file[1], file[2],
                 V4Record(1, 8, "03/03/2026", "07:05", "08:00", 0, "a, b"), file[4], file[3]});
        s.prompter.queue(Answer::Yes);
        s.frame->runCommand(command::kDeleteTransaction); // "a, b"
        s.frame->runCommand(command::kSave);
        QCOMPARE(testing::readBytes(s.trs), testing::records(testing::transactionHeader(), file));
        QCOMPARE(v->rows().transactionRows(), std::size_t{4}); // "new" is shown
        file[0].description = "changed elsewhere";
        replace(file);
        s.frame->runCommand(command::kFirstRow);
        s.prompter.clear();
        s.prompter.queue(Answer::Yes); // delete "long"
        s.prompter.queue(Answer::Yes); // show the file as it is
        s.frame->runCommand(command::kDeleteTransaction);
        s.frame->runCommand(command::kSave);
        QCOMPARE(s.prompter.texts().at(1),
                 conflictText(s.trs, "The transaction of 03/02/2026 from 8:00 to 10:00"));
        QCOMPARE(testing::readBytes(s.trs), testing::records(testing::transactionHeader(), file));
        QVERIFY(!s.doc->isModified());
        QCOMPARE(v->rows().row(0).transaction->description(), std::string("changed elsewhere"));
    }

    void aViewGoneWithoutLeavingHearsNoMoreOfNewTransactions() {
        Sheet s;
        QVERIFY(s.doc->templateFile().loadTransactions());
        delete new CTimeSheetView(*s.frame); // never asked whether it may be left
        const Transaction late(date(2026, 3, 10), TimeValue::fromParts(0, 13, 0, 0),
                               TimeValue::fromParts(0, 14, 0, 0), 1, 7, "late");
        QVERIFY(s.doc->appendFinishedTransaction(late));
        const Day* day = s.doc->templateFile().store().findDay(date(2026, 3, 10));
        QVERIFY(day);
        QCOMPARE(day->lastTransaction()->description(), std::string("late"));
    }

    void leavingSavesOrDropsAsAnswered() {
        {
            Sheet s; // Cancel keeps the view, Yes saves
            s.settings.setAutoSave(false);
            CTimeSheetView* v = s.open();
            s.prompter.queue(Answer::Yes);
            s.frame->runCommand(command::kDeleteTransaction);
            s.prompter.queue(Answer::Cancel);
            s.frame->runCommand(command::kBackToMainWindow);
            QCOMPARE(s.frame->currentViewNumber(), command::kTimeSheet);
            QCOMPARE(s.prompter.entries().back().text, std::string("Save changes?"));
            QCOMPARE(testing::readBytes(s.trs), s.fileBytes);
            s.prompter.queue(Answer::Yes);
            s.frame->runCommand(command::kBackToMainWindow);
            QCOMPARE(s.frame->currentViewNumber(), command::kMainWindow);
            QVERIFY(!s.doc->isModified());
            QVERIFY(testing::readBytes(s.trs).find("a, b") == std::string::npos);
            Q_UNUSED(v);
        }
        {
            Sheet s; // No drops the change; the next opening reads the file again
            s.settings.setAutoSave(false);
            s.open();
            s.prompter.queue(Answer::Yes);
            s.frame->runCommand(command::kDeleteTransaction);
            s.prompter.queue(Answer::No);
            s.frame->runCommand(command::kBackToMainWindow);
            QCOMPARE(s.frame->currentViewNumber(), command::kMainWindow);
            QVERIFY(!s.doc->isModified());
            QCOMPARE(testing::readBytes(s.trs), s.fileBytes);
            QCOMPARE(s.open()->rows().transactionRows(), std::size_t{4});
        }
        {
            Sheet s; // Auto-save (on for a new user) saves without asking
            s.open();
            s.prompter.clear();
            s.prompter.queue(Answer::Yes);
            s.frame->runCommand(command::kDeleteTransaction);
            s.frame->runCommand(command::kBackToMainWindow);
            QCOMPARE(s.prompter.entries().size(), std::size_t{1});
            QVERIFY(testing::readBytes(s.trs).find("a, b") == std::string::npos);
        }
    }

    void addingWithoutACurrentRowUsesTheRangeStart() {
        Sheet s;
        CTimeSheetView* v = s.open();
        s.prompter.queue(Answer::Yes);
        s.frame->runCommand(command::kDeleteAll);
        TimeValue seenDate;
        bool seenAdd = false;
        v->setEntryRunner([&](const Transaction& t, bool add, const QString&, const QString&,
                              TimeValue, TimeValue) -> std::optional<EntryOutcome> {
            seenDate = t.date();
            seenAdd = add;
            EntryOutcome outcome;
            outcome.working = t;
            outcome.working.setStart(TimeValue::fromParts(0, 9, 0, 0));
            outcome.working.setEnd(TimeValue::fromParts(0, 9, 45, 0));
            outcome.working.setLevel1Key(1);
            outcome.working.setLevel2Key(7);
            outcome.changeFlags = 2;
            return outcome;
        });
        s.frame->runCommand(command::kAddTransaction);
        QVERIFY(seenAdd);
        QCOMPARE(seenDate, date(2026, 3, 1));
        QCOMPARE(v->rows().transactionRows(), std::size_t{1});
        QCOMPARE(v->currentRow(), 0);
        QCOMPARE(s.cell(0, 1), QString("Alpha"));
        QCOMPARE(s.cell(1, 6), QString("0:45"));
        QVERIFY(s.doc->isModified());
    }

    void theDefaultSizeShowsEveryColumnTheRangeAndTheTotals() {
        const QSize size = CMainFrame::defaultSize();
        QVERIFY(size.width() <= 1366);
        QVERIFY(size.height() <= 768 - 48 - 40); // a panel and a title bar
        Sheet s;
        // The offscreen screen is smaller than the default: the window keeps to it.
        s.frame->runCommand(command::kTimeSheet);
        const QRect area = s.frame->screen()->availableGeometry();
        QVERIFY(s.frame->width() <= area.width());
        QVERIFY(s.frame->height() <= area.height());
        s.frame->resize(size);
        QApplication::processEvents();
        CTimeSheetView* v = s.view();
        QVERIFY(v);
        QCOMPARE(v->list()->horizontalScrollBar()->maximum(), 0);
        QLabel* range = s.frame->rangeLabel();
        QVERIFY(range && range->isVisible());
        QCOMPARE(range->text(), v->rangeText());
        QVERIFY(range->geometry().right() < range->parentWidget()->width());
        const int totalRow = v->list()->listModel()->rowCount() - 1;
        const QRect totals = v->list()->visualRect(v->list()->listModel()->index(totalRow, 6));
        QVERIFY(v->list()->viewport()->rect().contains(totals));
    }

    void aLongSheetOpensWithTheLastRowAndTheClosingTotalInSight() {
        Sheet s;
        std::vector<testing::V4Record> many;
        for (int day = 2; day <= 9; ++day) {
            const std::string date = testing::joined({"03/0", std::to_string(day), "/2026"});
            for (int hour = 8; hour < 13; ++hour) {
                const std::string from =
                    testing::joined({hour < 10 ? "0" : "", std::to_string(hour), ":00"});
                const std::string to =
                    testing::joined({hour < 10 ? "0" : "", std::to_string(hour), ":45"});
                many.emplace_back(1, 7, date, from, to, 0, "work");
            }
        }
        testing::writeBytes(s.trs, testing::records(testing::transactionHeader(), many));
        s.frame->resize(CMainFrame::defaultSize());
        CTimeSheetView* v = s.open();
        QVERIFY(v);
        QApplication::processEvents();
        CExListCtrl* list = v->list();
        const int closing = list->listModel()->rowCount() - 1;
        QCOMPARE(closing, 40);
        QVERIFY(list->verticalScrollBar()->maximum() > 0); // more rows than the window holds
        QCOMPARE(v->currentRow(), closing - 1);
        for (int row : {closing - 1, closing}) {
            const QRect cell = list->visualRect(list->listModel()->index(row, 6));
            QVERIFY2(list->viewport()->rect().contains(cell), qPrintable(QString::number(row)));
        }
        QCOMPARE(s.cell(closing, 6), QString("30:00"));
    }

    void theLongestDateFitsItsColumnAndTheDefaultSizeHoldsEveryColumn() {
        Sheet s;
        testing::writeBytes(s.trs, testing::records<testing::V4Record>(
                                       testing::transactionHeader(),
                                       {testing::V4Record(1, 7, "09/30/2026", "08:00", "09:00", 1,
                                                          "sent, so it carries a mark")}));
        CTimeSheetView* v = s.open();
        QVERIFY(v);
        v->setRange(date(2026, 9, 1), date(2026, 9, 30));
        QCOMPARE(s.cell(0, 0), QString("Wednesday, September 30, 2026"));
        CExListCtrl* list = v->list();
        const int needed = static_cast<QAbstractItemView*>(list)->sizeHintForColumn(0);
        QVERIFY2(needed <= list->columnWidth(0),
                 qPrintable(QString("%1 > %2").arg(needed).arg(list->columnWidth(0))));
        int columns = 0;
        for (int c = 0; c < list->listModel()->columnCount(); ++c) {
            columns += list->columnWidth(c);
        }
        QVERIFY(CMainFrame::defaultSize().width() >=
                columns + list->verticalScrollBar()->sizeHint().width());
    }

    void aNewDocumentOpensAnEmptySheetWithoutAMessage() {
        Sheet s;
        s.doc->newDocument();
        s.frame->refreshViews();
        CTimeSheetView* v = s.open();
        QVERIFY(v);
        QCOMPARE(s.prompter.texts(), std::vector<std::string>{});
        QCOMPARE(v->list()->listModel()->rowCount(), 1); // the closing Total row only
    }

    void sentRowsAreNotEdited() {
        Sheet s;
        CTimeSheetView* v = s.open();
        int calls = 0;
        v->setEntryRunner([&](const Transaction&, bool, const QString&, const QString&, TimeValue,
                              TimeValue) -> std::optional<EntryOutcome> {
            ++calls;
            return std::nullopt;
        });
        v->selectRow(2);
        s.frame->runCommand(command::kEditTransaction);
        QCOMPARE(calls, 0);
        QCOMPARE(s.frame->statusBar()->currentMessage(),
                 QString("This transaction has been sent and can no longer be changed."));
        v->selectRow(1);
        s.frame->runCommand(command::kEditTransaction);
        QCOMPARE(calls, 1);
        QVERIFY(!s.doc->isModified()); // cancelled
        // Enter and a double click on the sent row say the same.
        s.frame->statusBar()->clearMessage();
        v->selectRow(2);
        QTest::keyClick(v->list(), Qt::Key_Return);
        QCOMPARE(calls, 1);
        QCOMPARE(s.frame->statusBar()->currentMessage(),
                 QString("This transaction has been sent and can no longer be changed."));
        s.frame->statusBar()->clearMessage();
        emit v->list()->doubleClicked(v->list()->listModel()->index(2, 3));
        QCOMPARE(calls, 1);
        QVERIFY(!s.frame->statusBar()->currentMessage().isEmpty());
    }

    void exportWritesTheShownRange() {
        Sheet s;
        CTimeSheetView* v = s.open();
        const std::string csv = s.dir.file("out.csv");
        v->setExportChooser([&](ExportFormat) { return QString::fromStdString(csv); });
        s.frame->runCommand(command::kExportCsv);
        QCOMPARE(testing::readBytes(csv),
                 std::string("03/02/2026,Alpha,Design,08:00,10:00,00:00,long,\r\n"
                             "03/02/2026,Alpha,Design,09:30,11:00,01:30,overlapped,\r\n"
                             "03/02/2026,Alpha,Design,12:00,12:30,00:30,sent,\r\n"
                             "03/03/2026,Alpha,?,07:05,08:00,00:55,a, b,\r\n"));
        const std::string txt = s.dir.file("out.txt");
        v->setExportChooser([&](ExportFormat) { return QString::fromStdString(txt); });
        s.frame->runCommand(command::kExportTxt);
        QVERIFY(testing::readBytes(txt).starts_with(
            "03/02/2026\tAlpha\tDesign\t08:00\t10:00\t00:00\tlong\t\r\n"));
        v->setExportChooser(
            [&](ExportFormat) { return QString::fromStdString(s.dir.file("no/such/x.csv")); });
        s.prompter.clear();
        s.frame->runCommand(command::kExportCsv);
        QCOMPARE(s.prompter.texts(), (std::vector<std::string>{"Failed to create/open file."}));
    }

    void aStopWhileTheSheetIsOpenAddsItsRow() {
        Sheet s;
        s.clock.set(dateTime(2026, 3, 3, 9, 0, 30));
        CTimeSheetView* v = s.open();
        Tracker& tracker = s.doc->tracker();
        tracker.setViewTarget(nullptr);
        struct Yes final : TrackerListener {
            int trackerNotify(Tracker&, int, int) override { return 1; }
        } yes;
        tracker.setViewTarget(&yes);
        tracker.tick(kMinuteClock);
        tracker.setItems(1, 7);
        tracker.start(false);
        s.clock.set(dateTime(2026, 3, 3, 9, 30));
        tracker.tick(kMinuteClock);
        tracker.stop();
        tracker.setViewTarget(v);
        QCOMPARE(v->rows().transactionRows(), std::size_t{5});
        QCOMPARE(s.cell(4, 3), QString("9:00"));
    }
};

VSOLO_REGISTER_TEST_CLASS(TimeSheetTest);

} // namespace
} // namespace vsolo

#include "timesheet_test.moc"
