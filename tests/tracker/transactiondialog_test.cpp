// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/model/templatefile.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "core/tracker.h"
#include "core/transactionentry.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tests/support/transaction.h"
#include "tracker/timesheet/transactiondialog.h"
#include "tracker/timesheet/valueedit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using testing::dateTime;
using testing::hm;
using testing::ScriptedPrompter;
using testing::transaction;

// Allows every start, so that tracking can run.
struct AllowAll final : TrackerListener {
    int trackerNotify(Tracker&, int, int) override { return 1; }
};

// A version-4 template: Alpha (Design, Build), Beta (Call and the removed Old) and the removed
// project Gamma (Archive). Today is Friday, March 20, 2026, 15:30:45; the time sheet shows March.
struct Entry {
    testing::TempDir dir;
    SettableClock clock{dateTime(2026, 3, 20, 15, 30, 45)};
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    TemplateFile file{clock};
    AllowAll allow;
    Tracker tracker{clock};
    std::unique_ptr<TransactionDialog> dialog;
    TimeValue yesterday = date(2026, 3, 19);

    Entry() {
        using namespace testing;
        const std::string tpl = dir.file("work.tpl");
        writeBytes(tpl, v4Template("Veltimo Solo File", 4, 7,
                                   {V4Item{1, 0, 0, 0, 1, 1, 60, "Alpha", "the first", " "},
                                    V4Item{2, 0, 0, 0, 1, 1, 40, "Beta", "the second", " "},
                                    V4Item{3, 0, 0, 0, 0, 1, 0, "Gamma", "the third", " "},
                                    V4Item{1, 0, 1, 1, 1, 2, 0, "Design", "design work", " "},
                                    V4Item{1, 0, 2, 1, 1, 2, 0, "Build", "build work", " "},
                                    V4Item{2, 0, 3, 1, 1, 2, 0, "Call", "calls", " "},
                                    V4Item{2, 0, 4, 1, 0, 2, 0, "Old", "gone", " "},
                                    V4Item{3, 0, 5, 1, 1, 2, 0, "Archive", "filing", " "}}));
        settings.load();
        file.load(tpl);
        tracker.setViewTarget(&allow);
        dialog = std::make_unique<TransactionDialog>(file, settings, prompter, tracker, clock);
    }

    // Opens for a new transaction on the day, as the time sheet does.
    bool add(TimeValue day, const QString& previousEnd = {}, const QString& nextStart = {}) {
        dialog->present(transaction(day, hm(0, 0), hm(0, 0), 0, 0, ""), true, previousEnd,
                        nextStart, date(2026, 3, 1), date(2026, 3, 31));
        return QTest::qWaitForWindowActive(dialog.get());
    }

    bool edit(const Transaction& t, const QString& previousEnd = {},
              const QString& nextStart = {}) {
        dialog->present(t, false, previousEnd, nextStart, date(2026, 3, 1), date(2026, 3, 31));
        return QTest::qWaitForWindowActive(dialog.get());
    }

    QString current() const {
        QTreeWidgetItem* item = dialog->tree()->currentItem();
        return item ? item->text(0) : QString();
    }

    bool select(const QString& name) const {
        const auto found = dialog->tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.size() != 1) {
            return false;
        }
        dialog->tree()->setCurrentItem(found.front());
        return true;
    }

    void clickOk() const { QTest::mouseClick(dialog->okButton(), Qt::LeftButton); }
};

// Types into a field as the user does: focus, replace the text, leave with Tab.
void typeInto(ValueEdit* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

QWidget* focused() {
    return QApplication::focusWidget();
}

} // namespace

class TransactionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void addModeOpensWithTheFirstItemAndAnEmptyDescription() {
        Entry e;
        QVERIFY(e.add(e.yesterday, "10:00"));
        TransactionDialog& d = *e.dialog;
        QCOMPARE(d.windowTitle(), QString("Add Transaction"));
        QCOMPARE(d.levelTitlesLabel()->text(), QString("&1. Project/Activity:"));
        QCOMPARE(d.startLabel()->text(), QString("to set Start at 10:00"));
        QVERIFY(d.startLabel()->isVisible());
        QVERIFY(d.startButton()->isEnabled());
        QVERIFY(!d.endLabel()->isVisible());
        QVERIFY(!d.endButton()->isEnabled());
        // The removed project is not offered.
        QCOMPARE(d.tree()->topLevelItemCount(), 2);
        QCOMPARE(e.current(), QString("Alpha"));
        QCOMPARE(d.itemDescription()->toPlainText(), QString("the first"));
        QCOMPARE(d.description()->toPlainText(), QString());
        QVERIFY(d.displayAllButton()->isEnabled());
        // The date has the focus and shows the form to retype.
        QCOMPARE(focused(), static_cast<QWidget*>(d.dateEdit()));
        QCOMPARE(d.dateEdit()->text(), QString("03/19/2026"));
        QCOMPARE(d.totalEdit()->text(), QString("0:00"));
        QCOMPARE(d.changeFlags(), 0);

        // In add mode a selection fills the description in until the user types one.
        QVERIFY(e.select("Call"));
        QCOMPARE(d.description()->toPlainText(), QString("calls"));
        QCOMPARE(d.itemDescription()->toPlainText(), QString("the second"));
        QCOMPARE(d.changeFlags(), entryflag::kDescriptionFromItem);
        // A selected project stands for its first activity.
        QVERIFY(e.select("Alpha"));
        QCOMPARE(d.description()->toPlainText(), QString("design work"));
        d.description()->setFocus();
        d.description()->moveCursor(QTextCursor::End);
        QTest::keyClicks(d.description(), " today");
        QVERIFY(e.select("Build"));
        QCOMPARE(d.description()->toPlainText(), QString("design work today"));
        QVERIFY(e.prompter.empty());
    }

    void editModeSelectsTheTransactionsItemsAndKeepsItsDescription() {
        Entry e;
        QVERIFY(
            e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 1, 2, "mine"), "8:45", "11:00"));
        TransactionDialog& d = *e.dialog;
        QCOMPARE(d.windowTitle(), QString("Edit Transaction"));
        QCOMPARE(e.current(), QString("Build"));
        QCOMPARE(d.description()->toPlainText(), QString("mine"));
        QCOMPARE(d.startEdit()->text(), QString("9:00"));
        QCOMPARE(d.endEdit()->text(), QString("10:00"));
        QCOMPARE(d.totalEdit()->text(), QString("1:00"));
        QCOMPARE(d.endLabel()->text(), QString("to set End at 11:00"));
        QVERIFY(d.endLabel()->isVisible());

        QVERIFY(e.select("Call"));
        QCOMPARE(d.description()->toPlainText(), QString("mine"));
        QCOMPARE(d.itemDescription()->toPlainText(), QString("the second"));
        e.clickOk();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.workingCopy().level1Key(), 2);
        QCOMPARE(d.workingCopy().level2Key(), 3);
        QCOMPARE(d.workingCopy().description(), std::string("mine"));
        QCOMPARE(d.changeFlags(), 0);
    }

    void shorthandTimesAreTakenAndTheTotalFollows() {
        Entry e;
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        QTest::keyClicks(d.dateEdit(), "18");
        QTest::keyClick(d.dateEdit(), Qt::Key_Tab);
        QCOMPARE(focused(), static_cast<QWidget*>(d.startEdit()));
        QTest::keyClicks(d.startEdit(), "9");
        QTest::keyClick(d.startEdit(), Qt::Key_Tab);
        QCOMPARE(d.startEdit()->text(), QString("9:00"));
        // Start 9:00 after end 0:00 gives an empty total, and the times decide it from now on.
        QCOMPARE(d.totalEdit()->text(), QString());
        QTest::keyClicks(d.endEdit(), "1030");
        // Tab passes the total by.
        QTest::keyClick(d.endEdit(), Qt::Key_Tab);
        QCOMPARE(focused(), static_cast<QWidget*>(d.tree()));
        QCOMPARE(d.endEdit()->text(), QString("10:30"));
        QCOMPARE(d.totalEdit()->text(), QString("1:30"));
        QVERIFY(!d.totalEdit()->isEnabled());
        QVERIFY(d.changeFlags() & entryflag::kTimesChanged);

        QVERIFY(e.select("Design"));
        e.clickOk();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
        QCOMPARE(d.workingCopy().date(), date(2026, 3, 18));
        QCOMPARE(d.workingCopy().start(), hm(9, 0));
        QCOMPARE(d.workingCopy().end(), hm(10, 30));
        QCOMPARE(d.workingCopy().level1Key(), 1);
        QCOMPARE(d.workingCopy().level2Key(), 1);
        QCOMPARE(d.workingCopy().description(), std::string("design work"));

        const EntryCommit c = d.commit(e.file.store(), nullptr);
        QVERIFY(c.added);
        QCOMPARE(e.file.store().count(), std::size_t(1));
        QCOMPARE(c.stored->start(), hm(9, 0));
        QVERIFY(e.prompter.empty());
    }

    void aTotalDisablesStartAndEndAndIsPlaced() {
        Entry e;
        QVERIFY(e.add(e.yesterday, "10:00", "11:00"));
        TransactionDialog& d = *e.dialog;
        d.totalEdit()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(d.totalEdit(), "1.5");
        // Going back to the end field: the times are the placement's now, so the date takes the
        // focus.
        QTest::keyClick(d.totalEdit(), Qt::Key_Backtab);
        QCOMPARE(focused(), static_cast<QWidget*>(d.dateEdit()));
        QVERIFY(!d.startEdit()->isEnabled());
        QVERIFY(!d.endEdit()->isEnabled());
        QVERIFY(!d.startButton()->isEnabled());
        QVERIFY(!d.endButton()->isEnabled());
        QCOMPARE(d.totalEdit()->text(), QString("1:30"));
        QCOMPARE(d.duration(), hm(1, 30));
        QCOMPARE(d.changeFlags(), entryflag::kDurationMode);

        // Start equal to end would be refused; in duration mode the times are not checked.
        QVERIFY(e.select("Call"));
        e.clickOk();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const EntryCommit c = d.commit(e.file.store(), nullptr);
        QCOMPARE(c.placement, PlaceResult::Placed);
        QCOMPARE(c.stored->start(), hm(8, 30));
        QCOMPARE(c.stored->end(), hm(10, 0));
        QVERIFY(e.prompter.empty());
    }

    void pictureButtonsFillInTheNeighboursTimes() {
        Entry e;
        QVERIFY(
            e.edit(transaction(e.yesterday, hm(10, 30), hm(11, 0), 1, 1, "x"), "10:00", "12:15"));
        TransactionDialog& d = *e.dialog;
        QTest::mouseClick(d.startButton(), Qt::LeftButton);
        QCOMPARE(d.startEdit()->value(), hm(10, 0));
        QCOMPARE(d.startEdit()->text(), QString("10:00"));
        QCOMPARE(d.totalEdit()->text(), QString("1:00"));
        QVERIFY(!d.totalEdit()->isEnabled());
        QTest::mouseClick(d.endButton(), Qt::LeftButton);
        QCOMPARE(d.endEdit()->value(), hm(12, 15));
        QCOMPARE(d.totalEdit()->text(), QString("2:15"));
        QVERIFY(d.changeFlags() & entryflag::kTimesChanged);
        QVERIFY(d.tryAccept());
        QCOMPARE(d.workingCopy().start(), hm(10, 0));
        QCOMPARE(d.workingCopy().end(), hm(12, 15));
    }

    void aChangedDateHidesTheNeighboursTimes() {
        Entry e;
        QVERIFY(
            e.edit(transaction(e.yesterday, hm(10, 30), hm(11, 0), 1, 1, "x"), "10:00", "12:15"));
        TransactionDialog& d = *e.dialog;
        typeInto(d.dateEdit(), "3/17");
        QCOMPARE(d.dateEdit()->value(), date(2026, 3, 17));
        QCOMPARE(d.dateEdit()->text(), QString("Tuesday, March 17, 2026"));
        QVERIFY(!d.startLabel()->isVisible());
        QVERIFY(!d.endLabel()->isVisible());
        QVERIFY(!d.startButton()->isEnabled());
        QVERIFY(!d.endButton()->isEnabled());
        QCOMPARE(d.changeFlags(), entryflag::kTimesChanged);
        // The total stays free: only the date changed.
        QVERIFY(d.totalEdit()->isEnabled());

        // The next opening shows them again.
        d.reject();
        QVERIFY(e.edit(transaction(e.yesterday, hm(10, 30), hm(11, 0), 1, 1, "x"), "10:00", ""));
        QVERIFY(d.startLabel()->isVisible());
        QVERIFY(d.startButton()->isEnabled());
        QVERIFY(d.totalEdit()->isEnabled());
        QCOMPARE(d.changeFlags(), 0);
    }

    void aTransactionOnARemovedItemOpensWithEveryItem() {
        Entry e;
        // Gamma is removed from the list for time entry.
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 3, 5, "filed")));
        TransactionDialog& d = *e.dialog;
        QCOMPARE(d.tree()->topLevelItemCount(), 3);
        QCOMPARE(e.current(), QString("Archive"));
        QVERIFY(!d.displayAllButton()->isEnabled());
        QCOMPARE(d.itemDescription()->toPlainText(), QString("the third"));
        QCOMPARE(d.description()->toPlainText(), QString("filed"));
        QVERIFY(d.tryAccept());
        QCOMPARE(d.workingCopy().level1Key(), 3);
        QCOMPARE(d.workingCopy().level2Key(), 5);

        // A removed activity of an active project keeps its place too.
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 2, 4, "old")));
        QCOMPARE(e.current(), QString("Old"));
        QVERIFY(!d.displayAllButton()->isEnabled());
        QVERIFY(d.tryAccept());
        QCOMPARE(d.workingCopy().level2Key(), 4);

        // An active one opens with the time-entry list.
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 2, 3, "call")));
        QCOMPARE(d.tree()->topLevelItemCount(), 2);
        QCOMPARE(e.current(), QString("Call"));
        QVERIFY(d.displayAllButton()->isEnabled());
    }

    void displayAllShowsRemovedItemsAndSelectsTheTransactionsAgain() {
        Entry e;
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 2, 3, "call")));
        TransactionDialog& d = *e.dialog;
        QVERIFY(e.select("Design"));
        QTest::mouseClick(d.displayAllButton(), Qt::LeftButton);
        QCOMPARE(d.tree()->topLevelItemCount(), 3);
        QVERIFY(!d.displayAllButton()->isEnabled());
        QCOMPARE(e.current(), QString("Call"));
        QVERIFY(!d.tree()->findItems("Old", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
        QVERIFY(e.select("Archive"));
        QVERIFY(d.tryAccept());
        QCOMPARE(d.workingCopy().level1Key(), 3);
        QCOMPARE(d.workingCopy().level2Key(), 5);
    }

    void aRefusedOkKeepsTheDialogOpenWithTheValuePutBack() {
        Entry e;
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 1, 1, "x")));
        TransactionDialog& d = *e.dialog;
        typeInto(d.endEdit(), "8");
        // Tab went on to the total, which the times decide now: the tree takes the focus.
        QCOMPARE(focused(), static_cast<QWidget*>(d.tree()));
        QVERIFY(!d.totalEdit()->isEnabled());
        QCOMPARE(d.totalEdit()->text(), QString());
        e.clickOk();
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(e.prompter.texts(),
                 (std::vector<std::string>{"The start time should be before the end time."}));
        QCOMPARE(d.startEdit()->value(), hm(8, 0));
        QCOMPARE(focused(), static_cast<QWidget*>(d.startEdit()));
        // Start equals end now: the same refusal until a field changes.
        e.clickOk();
        QVERIFY(d.isVisible());
        QCOMPARE(e.prompter.texts().size(), std::size_t(2));

        typeInto(d.startEdit(), "7");
        e.clickOk();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.workingCopy().start(), hm(7, 0));
        QCOMPARE(d.workingCopy().end(), hm(8, 0));
    }

    void enterTakesOverWhatIsStillBeingTyped() {
        Entry e;
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 1, 1, "x")));
        TransactionDialog& d = *e.dialog;
        d.endEdit()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(d.endEdit(), "1130");
        // The focus never leaves the field: Enter presses OK.
        QTest::keyClick(d.endEdit(), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.workingCopy().end(), hm(11, 30));
        QVERIFY(d.changeFlags() & entryflag::kTimesChanged);
        QVERIFY(e.prompter.empty());

        // The same for a total: it is taken as duration mode.
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 1, 1, "x")));
        d.totalEdit()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(d.totalEdit(), "2");
        QTest::keyClick(d.totalEdit(), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.changeFlags(), entryflag::kDurationMode);
        QCOMPARE(d.duration(), hm(2, 0));
    }

    void aTextThatDoesNotParseIsReportedInFieldOrder() {
        Entry e;
        QVERIFY(e.edit(transaction(e.yesterday, hm(9, 0), hm(10, 0), 1, 1, "x")));
        TransactionDialog& d = *e.dialog;
        typeInto(d.endEdit(), "2400");
        typeInto(d.dateEdit(), "2/30");
        e.clickOk();
        QVERIFY(d.isVisible());
        QCOMPARE(e.prompter.texts(),
                 (std::vector<std::string>{std::string(DateEdit::kErrorMessage)}));
        QCOMPARE(d.dateEdit()->value(), e.yesterday);
        QCOMPARE(focused(), static_cast<QWidget*>(d.dateEdit()));
        e.clickOk();
        QCOMPARE(e.prompter.texts().back(), std::string(TimeEdit::kErrorMessage));
        QCOMPARE(d.endEdit()->value(), hm(10, 0));
        QCOMPARE(focused(), static_cast<QWidget*>(d.endEdit()));
        e.clickOk();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.workingCopy().end(), hm(10, 0));
    }

    void theRangeAndTodayBoundTheDate() {
        Entry e;
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        typeInto(d.dateEdit(), "2/27");
        QVERIFY(e.select("Design"));
        e.clickOk();
        QCOMPARE(
            e.prompter.texts(),
            (std::vector<std::string>{
                "Please make sure the date entered is between Sunday, March 1, 2026 and "
                "Tuesday, March 31, 2026. \r\n\r\nOr select GOTO, DATE RANGE from the menu."}));
        QCOMPARE(d.dateEdit()->value(), date(2026, 3, 1));
        QCOMPARE(focused(), static_cast<QWidget*>(d.dateEdit()));
        typeInto(d.dateEdit(), "25");
        e.clickOk();
        QCOMPARE(e.prompter.texts().back(), std::string("Cannot add future time."));
        QCOMPARE(d.dateEdit()->value(), date(2026, 3, 20));
        QVERIFY(d.isVisible());
    }

    void theRunningTransactionCannotBeOverlapped() {
        Entry e;
        e.clock.set(date(2026, 3, 20) + hm(14, 0));
        e.tracker.tick(kMinuteClock);
        QVERIFY(e.tracker.start(false));
        e.clock.set(date(2026, 3, 20) + hm(15, 30));
        e.tracker.tick(kMinuteClock);
        QVERIFY(e.add(date(2026, 3, 20)));
        TransactionDialog& d = *e.dialog;
        QVERIFY(e.select("Build"));
        typeInto(d.startEdit(), "13");
        typeInto(d.endEdit(), "1401");
        e.clickOk();
        QCOMPARE(e.prompter.texts(),
                 (std::vector<std::string>{"Time overlap with running transaction.\r\n\r\n(Running "
                                           "transaction: Start time 14:00 End time 15:30)."}));
        QCOMPARE(d.endEdit()->value(), hm(14, 0));
        QCOMPARE(d.totalEdit()->text(), QString("1:00"));
        QCOMPARE(focused(), static_cast<QWidget*>(d.startEdit()));
        // Ending where tracking started is allowed.
        e.clickOk();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.workingCopy().end(), hm(14, 0));
    }

    void aProjectWithActivitiesIsNotALevel2Item() {
        Entry e;
        e.settings.setLevel1Title("R&D");
        e.settings.setLevel2Title("Task");
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        // The "&" of a title is shown, not taken as a mnemonic.
        QCOMPARE(d.levelTitlesLabel()->text(), QString("&1. R&&D/Task:"));
        typeInto(d.startEdit(), "9");
        typeInto(d.endEdit(), "10");
        QCOMPARE(e.current(), QString("Alpha"));
        e.clickOk();
        QCOMPARE(e.prompter.texts(),
                 (std::vector<std::string>{"Task missing. Please select from list."}));
        QCOMPARE(focused(), static_cast<QWidget*>(d.tree()));
        QVERIFY(d.isVisible());
    }

    void anEmptyTreeRefusesWithItsOwnMessage() {
        Entry e;
        e.file.level1().clear();
        e.file.level2().clear();
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        QCOMPARE(d.tree()->topLevelItemCount(), 0);
        typeInto(d.startEdit(), "9");
        typeInto(d.endEdit(), "10");
        QVERIFY(!d.tryAccept());
        QCOMPARE(
            e.prompter.texts(),
            (std::vector<std::string>{"Project and Activity missing. Please select from list."}));
    }

    void theDescriptionIsLimitedByTheTemplateFormat() {
        Entry e;
        const QString stored(258, QChar('s'));
        QVERIFY(e.edit(
            transaction(e.yesterday, hm(9, 0), hm(10, 0), 1, 1, stored.toStdString().c_str())));
        TransactionDialog& d = *e.dialog;
        // What was stored before is never cut by opening it, but nothing can be added.
        QCOMPARE(d.description()->toPlainText(), stored);
        d.description()->setFocus();
        d.description()->moveCursor(QTextCursor::End);
        QTest::keyClicks(d.description(), "xyz");
        QCOMPARE(d.description()->toPlainText(), stored);
        d.reject();

        QVERIFY(e.add(e.yesterday));
        d.description()->setFocus();
        d.description()->insertPlainText(QString(300, QChar('a')));
        QCOMPARE(d.description()->toPlainText().size(), 255);

        e.file.setFormat(TemplateFormat::Tag512);
        QVERIFY(e.add(e.yesterday));
        d.description()->setFocus();
        d.description()->insertPlainText(QString(70, QChar('b')));
        QCOMPARE(d.description()->toPlainText(), QString(60, QChar('b')));
    }

    void aDescriptionTheFilesCannotStoreIsRefusedAtOk() {
        Entry e;
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        typeInto(d.startEdit(), "9");
        typeInto(d.endEdit(), "10");
        QVERIFY(e.select("Design"));
        // The check asks the template's layout when OK is pressed.
        e.file.setFormat(TemplateFormat::Tag512);
        d.description()->setPlainText(QString::fromUtf8("Done \u2713"));
        QVERIFY(!d.tryAccept());
        QCOMPARE(e.prompter.texts(),
                 (std::vector<std::string>{
                     "The description holds the character \"\u2713\" (U+2713), which the files "
                     "of this template cannot store: they keep texts in Windows-1252. Please use "
                     "another character."}));
        QVERIFY(d.isVisible());
        QCOMPARE(focused(), static_cast<QWidget*>(d.description()));

        // Every character of Windows-1252 is taken as typed.
        e.prompter.clear();
        d.description()->setPlainText(QString::fromUtf8("Caf\u00e9 \u20ac"));
        QVERIFY(d.tryAccept());
        QCOMPARE(d.workingCopy().description(), std::string("Caf\u00e9 \u20ac"));
        QVERIFY(e.prompter.empty());

        // A version-4 template stores any character.
        e.file.setFormat(TemplateFormat::Version4);
        QVERIFY(e.add(e.yesterday));
        typeInto(d.startEdit(), "9");
        typeInto(d.endEdit(), "10");
        QVERIFY(e.select("Design"));
        d.description()->setPlainText(QString::fromUtf8("Done \u2713"));
        QVERIFY(d.tryAccept());
        QCOMPARE(d.workingCopy().description(), std::string("Done \u2713"));
        QVERIFY(e.prompter.empty());
    }

    void tabOrderFollowsTheEntry() {
        Entry e;
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        const std::vector<QWidget*> order{d.dateEdit(), d.startEdit(),   d.endEdit(), d.totalEdit(),
                                          d.tree(),     d.description(), d.okButton()};
        QCOMPARE(focused(), order.front());
        for (std::size_t i = 1; i < order.size(); ++i) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            QCOMPARE(focused(), order[i]);
        }
        // Alt+T reaches the total by its mnemonic.
        QTest::keyClick(&d, Qt::Key_T, Qt::AltModifier);
        QCOMPARE(focused(), static_cast<QWidget*>(d.totalEdit()));
    }

    void theWindowComesBackWhereItWasClosed() {
        Entry e;
        QVERIFY(e.add(e.yesterday));
        TransactionDialog& d = *e.dialog;
        const QRect moved(140, 120, 640, 500);
        d.setGeometry(moved);
        d.reject();
        QVERIFY(e.add(e.yesterday));
        QCOMPARE(d.geometry(), moved);
        QCOMPARE(d.windowTitle(), QString("Add Transaction"));
    }

    void runIsModalAndAnswersOk() {
        Entry e;
        TransactionDialog& d = *e.dialog;
        QTimer::singleShot(0, &d, [&] {
            d.startEdit()->setValue(hm(9, 0));
            d.endEdit()->setValue(hm(9, 45));
            e.select("Build");
            d.okButton()->click();
        });
        QVERIFY(d.run(transaction(e.yesterday, hm(0, 0), hm(0, 0), 0, 0, ""), true, {}, {},
                      date(2026, 3, 1), date(2026, 3, 31)));
        QCOMPARE(d.workingCopy().end(), hm(9, 45));
        QCOMPARE(d.workingCopy().level2Key(), 2);

        QTimer::singleShot(0, &d, [&] { d.reject(); });
        QVERIFY(!d.run(transaction(e.yesterday, hm(0, 0), hm(0, 0), 0, 0, ""), true, {}, {},
                       date(2026, 3, 1), date(2026, 3, 31)));
    }
};

VSOLO_REGISTER_TEST_CLASS(TransactionDialogTest);

} // namespace vsolo

#include "transactiondialog_test.moc"
