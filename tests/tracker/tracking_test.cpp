// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/document.h"
#include "core/settingsstore.h"
#include "platform/qtprompter.h"
#include "platform/translations.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedidle.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/preferences.h"
#include "tracker/app/texts.h"
#include "tracker/app/trayicon.h"
#include "tracker/timesheet/timesheetview.h"
#include "tracker/timesheet/valueedit.h"
#include "tracker/tracking/idledialog.h"
#include "tracker/tracking/soloview.h"
#include "tracker/tracking/trackwindowview.h"
#include "whenshown.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <memory>

namespace vsolo {
namespace {

using testing::ScriptedPrompter;
using testing::TempDir;
using Answer = Prompter::Answer;
using testing::dateTime;
using testing::hm;

// A tracker with a version-4 template of two projects: Alpha (Design, Build) and Beta (Call, and
// the removed Old), an empty transaction file, settings in memory and a clock that stands still.
struct Tracked {
    TempDir dir;
    SettableClock clock{dateTime(2026, 12, 8, 9, 14, 30)};
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    int quitRequests = 0;
    std::unique_ptr<CSoloDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    std::string tpl = dir.file("work.tpl");
    std::string trs = dir.file("work.trs");

    // A legacy template holds the same items, without the removed one, as tag 512.
    enum class Layout { Version4, Tag512 };

    explicit Tracked(bool withFrame = true, Layout layout = Layout::Version4) {
        using namespace testing;
        if (layout == Layout::Version4) {
            writeBytes(tpl, v4Template("Veltimo Solo File", 3, 5,
                                       {V4Item{1, 0, 0, 0, 1, 1, 60, "Alpha", "the first", " "},
                                        V4Item{2, 0, 0, 0, 1, 1, 40, "Beta", "the second", " "},
                                        V4Item{1, 0, 1, 1, 1, 2, 0, "Design", "design work", " "},
                                        V4Item{1, 0, 2, 1, 1, 2, 0, "Build", "build work", " "},
                                        V4Item{2, 0, 3, 1, 1, 2, 0, "Call", "calls", " "},
                                        V4Item{2, 0, 4, 1, 0, 2, 0, "Old", "gone", " "}}));
            writeBytes(trs, transactionHeader());
        } else {
            writeBytes(tpl, legacyTemplate(
                                kTag512Bytes, {{1, "Alpha", "the first", 60}, {2, "Beta", "", 40}},
                                {{1, "Design", "design work"}, {2, "Build", ""}, {3, "Call", ""}},
                                {{1, 1}, {1, 2}, {2, 3}}));
            writeBytes(trs, "");
        }
        settings.load();
        doc = std::make_unique<CSoloDoc>(
            settings, prompter, [this] { ++quitRequests; }, clock);
        doc->open(tpl);
        if (withFrame) {
            makeFrame();
        }
    }

    void makeFrame() {
        frame = std::make_unique<CMainFrame>(*doc, prompter);
        frame->setHelpViewer([](int, bool) {});
        frame->start();
        QApplication::setActiveWindow(frame.get());
    }

    CSoloView* view() const { return qobject_cast<CSoloView*>(frame->currentView()); }

    LevelItem* activity(const char* name) const {
        return doc->templateFile().level2().findByName(name);
    }

    bool select(const char* name) const { return view()->selectItem(activity(name)); }
    // Selects the activity and starts tracking it; false when it cannot be selected.
    bool startOn(const char* name) const {
        if (!select(name)) {
            return false;
        }
        frame->runCommand(command::kStart);
        return true;
    }

    void at(int h, int m, int s = 0) { clock.set(dateTime(2026, 12, 8, h, m, s)); }
    // Moves the clock to the time and lets the minute clock tick.
    void tickAt(int h, int m) {
        at(h, m);
        frame->tick(kMinuteClock);
    }

    // Design tracked from the day start, 8:30, until hour:20, with the window active for typing.
    bool trackFromTheDayStartUntil(int hour) {
        if (!select("Design")) {
            return false;
        }
        frame->runCommand(command::kStartFromLast);
        tickAt(hour, 20);
        return QTest::qWaitForWindowActive(frame.get());
    }

    // Auto select on and no key held; Design tracked since 9:14 and, at 9:20, an end typed that
    // lies in the future, so that the next stop is refused.
    bool trackWithAStopThatIsRefused() {
        settings.setAutoSelect(true);
        view()->setModifierSource([] { return Qt::KeyboardModifiers(); });
        if (!startOn("Design")) {
            return false;
        }
        tickAt(9, 20);
        view()->endEdit()->setValue(hm(9, 50));
        return true;
    }

    // Types the text over what the time edit shows, as a user does.
    static void typeInto(TimeEdit* edit, const QString& text) {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    std::string record(std::int32_t level2, const char* start, const char* end,
                       const char* description, std::int32_t level1 = 1) const {
        testing::ByteBuilder b;
        testing::add(b,
                     testing::V4Record(level1, level2, "12/08/2026", start, end, 0, description));
        return b;
    }
    std::string stored() const { return testing::readBytes(trs); }
};

class TrackingTest final : public QObject {
    Q_OBJECT

private slots:
    void startsAndStopsOnWholeMinutes() {
        Tracked t;
        t.frame->tick(kSecondClock); // 9:14:30: nothing moves until the minute is whole
        QVERIFY(t.frame->secondClockRunning());
        QVERIFY(t.select("Design"));
        QCOMPARE(t.view()->descriptionEdit()->toPlainText(), QString("design work"));
        QCOMPARE(t.view()->itemDescription()->toPlainText(), QString("the first"));
        t.frame->runCommand(command::kStart);
        QVERIFY(t.frame->tracker().isTracking());
        QVERIFY(t.view()->trackingFrame()->isVisibleTo(t.view()));
        QCOMPARE(t.view()->trackedLevel1()->text(), QString("Alpha"));
        QCOMPARE(t.view()->trackedLevel2()->text(), QString("Design"));
        QCOMPARE(t.view()->workedLabel()->text(), QString("00:00 (hh:mm)"));

        t.at(9, 15);
        t.frame->tick(kSecondClock);
        QVERIFY(!t.frame->secondClockRunning());
        QVERIFY(t.frame->minuteClockRunning());
        QCOMPARE(t.view()->endEdit()->value(), hm(9, 15));
        t.tickAt(9, 16);
        QCOMPARE(t.view()->workedLabel()->text(), QString("00:02 (hh:mm)"));
        QVERIFY(!t.frame->commandEnabled(command::kStart));
        t.frame->runCommand(command::kStop);
        QVERIFY(!t.frame->tracker().isTracking());
        QCOMPARE(t.stored(),
                 testing::transactionHeader() + t.record(1, "09:14", "09:16", "design work"));
        QVERIFY(t.prompter.empty());
        QVERIFY(!t.view()->trackingFrame()->isVisibleTo(t.view()));
        QCOMPARE(t.view()->startAtLabel()->text(), QString("to start at 9:16"));
    }

    void aStopWithinTheSameMinuteStoresNothing() {
        Tracked t;
        QVERIFY(t.startOn("Build"));
        t.frame->runCommand(command::kStop);
        QCOMPARE(t.stored(), testing::transactionHeader());
        // Start from Last still offers the day start, as nothing ended today.
        QVERIFY(t.frame->commandEnabled(command::kStartFromLast));
        QCOMPARE(t.view()->startAtLabel()->text(), QString("to start at 8:30"));
        t.frame->runCommand(command::kStartFromLast);
        QCOMPARE(t.frame->tracker().running().start(), hm(8, 30));
    }

    void typedTimesAreCheckedBeforeAStop() {
        Tracked t;
        QVERIFY(t.startOn("Design"));
        t.tickAt(9, 20);
        CSoloView* v = t.view();

        v->startEdit()->setValue(hm(9, 30));
        t.frame->runCommand(command::kStop);
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(v->startEdit()->value(), hm(9, 14)); // back to the tracked start

        v->startEdit()->setValue(hm(9, 14));
        v->endEdit()->setValue(hm(9, 40));
        t.frame->runCommand(command::kStop);
        QCOMPARE(v->endEdit()->value(), hm(9, 20));

        v->startEdit()->setValue(hm(9, 18));
        v->endEdit()->setValue(hm(9, 16));
        t.frame->runCommand(command::kStop);
        QCOMPARE(v->startEdit()->value(), hm(9, 14));
        QVERIFY(t.frame->tracker().isTracking());

        // A correct pair is stored as typed.
        v->startEdit()->setValue(hm(9, 10));
        v->endEdit()->setValue(hm(9, 19));
        t.frame->runCommand(command::kStop);
        QVERIFY(!t.frame->tracker().isTracking());
        QCOMPARE(t.stored(),
                 testing::transactionHeader() + t.record(1, "09:10", "09:19", "design work"));

        // The next one may not start before the last one ended.
        t.frame->runCommand(command::kStart);
        t.tickAt(9, 25);
        v->startEdit()->setValue(hm(9, 15));
        t.frame->runCommand(command::kStop);
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(v->startEdit()->value(), hm(9, 19));
        QCOMPARE(t.prompter.texts(),
                 (std::vector<std::string>{
                     "The start time cannot be greater than the end time. Please re-enter time.",
                     "The end time cannot be greater than the current time. Please re-enter time.",
                     "The start time cannot be greater than the end time. Please re-enter time.",
                     "The start time cannot overlap the end time of the previous transaction."}));
    }

    // A start the checks refuse goes back to the start that was tracked, so that the next stop
    // stores the session instead of a transaction of no length.
    void aRefusedStartKeepsTheTrackedSession_data() {
        QTest::addColumn<int>("nowHour");
        QTest::addColumn<QString>("typedStart");
        QTest::addColumn<QString>("typedEnd");
        QTest::addColumn<QString>("storedEnd");
        QTest::newRow("start later than now") << 9 << "1400"
                                              << ""
                                              << "09:20";
        QTest::newRow("start after the end") << 15 << "13:00"
                                             << "12:00"
                                             << "12:00";
    }
    void aRefusedStartKeepsTheTrackedSession() {
        QFETCH(int, nowHour);
        QFETCH(QString, typedStart);
        QFETCH(QString, typedEnd);
        QFETCH(QString, storedEnd);
        Tracked t;
        QVERIFY(t.trackFromTheDayStartUntil(nowHour));
        CSoloView* v = t.view();
        if (!typedEnd.isEmpty()) {
            Tracked::typeInto(v->endEdit(), typedEnd);
        }
        Tracked::typeInto(v->startEdit(), typedStart);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.prompter.texts(),
                 (std::vector<std::string>{
                     "The start time cannot be greater than the end time. Please re-enter time."}));
        QCOMPARE(v->startEdit()->value(), hm(8, 30));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(!t.frame->tracker().isTracking());
        QCOMPARE(t.stored(),
                 testing::transactionHeader() +
                     t.record(1, "08:30", storedEnd.toLatin1().constData(), "design work"));
        QVERIFY(!testing::exists(t.doc->recoveryPath()));
    }

    void timeWorkedIsNeverNegativeWhileTheTimesAreWrong() {
        Tracked t;
        QVERIFY(t.trackFromTheDayStartUntil(9));
        Tracked::typeInto(t.view()->startEdit(), "1400");
        t.view()->descriptionEdit()->setFocus(Qt::TabFocusReason);
        QCOMPARE(t.view()->workedLabel()->text(), QString("00:00 (hh:mm)"));
    }

    void autoSelectStopsAndStartsAndShiftInvertsIt() {
        Tracked t;
        t.settings.setAutoSelect(true);
        Qt::KeyboardModifiers keys = Qt::NoModifier;
        t.view()->setModifierSource([&keys] { return keys; });
        QVERIFY(t.startOn("Design"));
        t.tickAt(9, 20);
        QVERIFY(t.select("Build"));
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.frame->tracker().running().start(), hm(9, 20));
        QCOMPARE(t.frame->tracker().running().level2Key(), t.activity("Build")->subId());
        QCOMPARE(t.stored(),
                 testing::transactionHeader() + t.record(1, "09:14", "09:20", "design work"));

        // With Shift held the running transaction only changes its items.
        keys = Qt::ShiftModifier;
        t.tickAt(9, 30);
        QVERIFY(t.select("Call"));
        QCOMPARE(t.frame->tracker().running().level1Key(), 2);
        QCOMPARE(t.frame->tracker().running().start(), hm(9, 20));
        QCOMPARE(t.stored().size(), testing::transactionHeader().size() +
                                        t.record(1, "09:14", "09:20", "design work").size());

        // Setting off, Shift held: the opposite again.
        t.settings.setAutoSelect(false);
        t.tickAt(9, 35);
        QVERIFY(t.select("Design"));
        QCOMPARE(t.frame->tracker().running().start(), hm(9, 35));
        QVERIFY(t.stored().find(t.record(3, "09:20", "09:35", "calls", 2)) != std::string::npos);
    }

    void aRefusedStopKeepsTheSelection() {
        Tracked t;
        QVERIFY(t.trackWithAStopThatIsRefused());
        t.select("Build");
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.view()->tree()->currentItem()->text(0), QString("Design"));
        QCOMPARE(t.frame->tracker().running().level2Key(), t.activity("Design")->subId());
    }

    void aRefusedStopByAClickHighlightsTheTrackedItem() {
        Tracked t;
        QVERIFY(t.trackWithAStopThatIsRefused());
        QTreeWidget* tree = t.view()->tree();
        QTreeWidgetItem* build = tree->topLevelItem(0)->child(0);
        QCOMPARE(build->text(0), QString("Build"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(build).center());
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.prompter.texts().size(), std::size_t{1});
        QCOMPARE(t.frame->tracker().running().level2Key(), t.activity("Design")->subId());
        QCOMPARE(tree->currentItem()->text(0), QString("Design"));
        const QList<QTreeWidgetItem*> highlighted = tree->selectedItems();
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(highlighted.first()->text(0), QString("Design"));
        // The keys move the current item and the highlight in the other order.
        t.view()->endEdit()->setValue(hm(9, 50));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Up);
        QCOMPARE(t.prompter.texts().size(), std::size_t{2});
        QCOMPARE(tree->currentItem()->text(0), QString("Design"));
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{tree->currentItem()});
    }

    // After an open the item that Start would track is the one highlighted, in sight, even when
    // it lies below an item of level 2.
    void anOpenedTemplateShowsWhatStartTracks_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("File, Open") << true;
        QTest::newRow("start-up") << false;
    }
    void anOpenedTemplateShowsWhatStartTracks() {
        QFETCH(bool, byMenu);
        using namespace testing;
        Tracked t;
        const std::string deep = t.dir.file("deep.tpl");
        writeBytes(deep, v4Template("Veltimo Solo File", 2, 4,
                                    {V4Item{1, 0, 0, 0, 1, 1, 0, "Alpha", "", " "},
                                     V4Item{1, 0, 1, 1, 1, 2, 0, "Build", "", " "},
                                     V4Item{1, 1, 2, 2, 1, 2, 0, "Walls", "", " "},
                                     V4Item{1, 0, 3, 1, 1, 2, 0, "Design", "", " "}}));
        if (byMenu) {
            t.frame->setFileChooser([&deep](bool) { return QString::fromStdString(deep); });
            t.frame->runCommand(command::kOpen);
        } else {
            QVERIFY(t.frame->openTemplateFile(QString::fromStdString(deep)));
        }
        QCOMPARE(t.settings.templateLocation(), deep);
        QTreeWidget* tree = t.view()->tree();
        QTreeWidgetItem* current = tree->currentItem();
        QVERIFY(current);
        QCOMPARE(current->text(0), QString("Walls"));
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{current});
        for (QTreeWidgetItem* above = current->parent(); above; above = above->parent()) {
            QVERIFY2(above->isExpanded(), qPrintable(above->text(0)));
        }
        QVERIFY(tree->viewport()->rect().contains(tree->visualItemRect(current)));
        QTest::keyClick(tree, Qt::Key_F9);
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.frame->tracker().running().level2Key(), 2);
    }

    // At start-up the items show before the transaction file is read; nothing that needs the
    // transactions can run until they are in, and then the last transaction of today is known.
    void theStartUpTakesInTheTransactionsAfterTheFirstPaint() {
        using namespace testing;
        Tracked t(false);
        writeBytes(t.trs, records(transactionHeader(),
                                  std::vector<V4Record>{{1, 1, "12/08/2026", "08:40", "09:05"}}));
        t.frame = std::make_unique<CMainFrame>(*t.doc, t.prompter);
        QVERIFY(t.frame->openTemplateFileAtStartUp(QString::fromStdString(t.tpl)));
        QVERIFY(t.doc->transactionsPending());
        QCOMPARE(t.frame->statusBar()->currentMessage(), QString("Loading transactions\u2026"));
        QCOMPARE(t.view()->tree()->topLevelItemCount(), 2);
        for (int c : {command::kStart, command::kStartFromLast, command::kOpen, command::kSaveAs,
                      command::kTimeSheet, command::kTimeStudyReport, command::kEditLevels}) {
            QVERIFY2(!t.frame->commandEnabled(c), qPrintable(QString::number(c)));
        }
        QVERIFY(!t.view()->isEnabled(command::kStart)); // a double-click asks the view
        QVERIFY(t.frame->commandEnabled(command::kExit));
        QVERIFY(t.select("Design"));
        t.frame->runCommand(command::kStart);
        QVERIFY(!t.frame->tracker().isTracking());
        t.frame->start();
        QTRY_VERIFY(!t.doc->transactionsPending());
        QCOMPARE(t.frame->statusBar()->currentMessage(), QString("Ready"));
        QCOMPARE(t.frame->tracker().startFromLastTime(), hm(9, 5));
        QVERIFY(t.frame->commandEnabled(command::kStartFromLast));
        t.frame->runCommand(command::kStartFromLast);
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.frame->tracker().running().start(), hm(9, 5));
    }

    void shrinkDetailAndStop() {
        Tracked t;
        QVERIFY(!t.frame->switchTo(command::kShrink)); // only while tracking
        QVERIFY(t.startOn("Design"));
        t.frame->runCommand(command::kShrink);
        QCOMPARE(t.frame->currentViewNumber(), command::kShrink);
        QVERIFY(t.frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!t.frame->menuBar()->isVisible());
        QCOMPARE(t.frame->windowTitle(), QString("Tracking ON - 0:00"));
        auto* floating = qobject_cast<CTrackWindowView*>(t.frame->currentView());
        QVERIFY(floating);
        QCOMPARE(floating->level1Label()->text(), QString("Alpha"));
        QCOMPARE(floating->level2Label()->text(), QString("Design"));
        t.tickAt(10, 19);
        QCOMPARE(t.frame->windowTitle(), QString("Tracking ON - 1:05"));
        QCOMPARE(floating->fromToLabel()->text(), QString("From 9:14 to 10:19"));

        t.frame->close(); // ignored while floating
        QVERIFY(t.frame->isVisible());
        QTest::mouseClick(floating->detailButton(), Qt::LeftButton);
        QCOMPARE(t.frame->currentViewNumber(), command::kMainWindow);
        QVERIFY(t.frame->tracker().isTracking());
        QVERIFY(!t.frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        t.frame->runCommand(command::kShrink);
        floating = qobject_cast<CTrackWindowView*>(t.frame->currentView());
        QTest::mouseClick(floating->stopButton(), Qt::LeftButton);
        QCOMPARE(t.frame->currentViewNumber(), command::kMainWindow);
        QVERIFY(!t.frame->tracker().isTracking());
        QCOMPARE(t.stored(),
                 testing::transactionHeader() + t.record(1, "09:14", "10:19", "design work"));
    }

    void autoShrinkAfterAStart() {
        Tracked t;
        t.settings.setAutoShrink(true);
        QVERIFY(t.startOn("Design"));
        QCOMPARE(t.frame->currentViewNumber(), command::kShrink);
    }

    void closingWhileTrackingAsksFirst() {
        Tracked t;
        QVERIFY(t.startOn("Design"));
        t.tickAt(11, 5);
        t.prompter.queue(Answer::No);
        QVERIFY(!t.frame->close());
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.stored(), testing::transactionHeader());
        const auto& asked = t.prompter.entries().back();
        QCOMPARE(asked.text, std::string("End tracking at 11:05."));
        QVERIFY(asked.preferred == Answer::No);
        QVERIFY(asked.icon == Prompter::Icon::Stop);

        t.prompter.queue(Answer::Yes);
        QVERIFY(t.frame->close());
        QVERIFY(!t.frame->tracker().isTracking());
        QCOMPARE(t.stored(),
                 testing::transactionHeader() + t.record(1, "09:14", "11:05", "design work"));
        QCOMPARE(t.settings.templateLocation(), t.tpl);
    }

    void thePlacementIsRememberedAndPulledBackOnScreen() {
        Tracked t(false);
        t.settings.setWindowPlacement("MainWindow", {3000, 2000, 3640, 2480, kShowNormal});
        t.makeFrame();
        const Rect area = t.frame->workArea();
        QCOMPARE(t.frame->frameGeometry().left(), area.left);
        QCOMPARE(t.frame->frameGeometry().top(), area.top);

        t.frame->resize(700, 500);
        t.frame->move(area.left + 20, area.top + 30);
        QVERIFY(t.startOn("Design"));
        t.frame->runCommand(command::kShrink); // leaving the main view saves its placement
        const WindowPlacement saved = t.settings.windowPlacement("MainWindow", area);
        QCOMPARE(saved.left, area.left + 20);
        QCOMPARE(saved.top, area.top + 30);
        QCOMPARE(saved.right - saved.left, 700);
        QCOMPARE(saved.bottom - saved.top, 500);
        QTest::mouseClick(qobject_cast<CTrackWindowView*>(t.frame->currentView())->detailButton(),
                          Qt::LeftButton);
        QCOMPARE(t.frame->frameGeometry().topLeft(), QPoint(area.left + 20, area.top + 30));
        QCOMPARE(t.frame->size(), QSize(700, 500));
    }

    void theTrackedProjectStaysOpenAndDoubleClickStarts() {
        Tracked t;
        QTreeWidget* tree = t.view()->tree();
        QTreeWidgetItem* alpha = tree->topLevelItem(0);
        QCOMPARE(alpha->text(0), QString("Alpha"));
        QCOMPARE(alpha->child(0)->text(0), QString("Build"));
        emit tree->itemDoubleClicked(alpha->child(1), 0);
        QVERIFY(t.frame->tracker().isTracking());
        QCOMPARE(t.frame->tracker().running().level2Key(), t.activity("Design")->subId());
        tree->collapseItem(alpha);
        QVERIFY(alpha->isExpanded());
        tree->collapseItem(tree->topLevelItem(1));
        QVERIFY(!tree->topLevelItem(1)->isExpanded());
    }

    void displayAllShowsRemovedItems() {
        Tracked t;
        QTreeWidgetItem* beta = t.view()->tree()->topLevelItem(1);
        QCOMPARE(beta->childCount(), 1);
        t.frame->runCommand(command::kDisplayAllItems);
        QVERIFY(t.frame->action(command::kDisplayAllItems)->isChecked());
        beta = t.view()->tree()->topLevelItem(1);
        QCOMPARE(beta->childCount(), 2);
        QCOMPARE(beta->child(1)->text(0), QString("Old"));
    }

    void laterViewsAreListedButDisabled() {
        // The time sheet, the reports, the graphs and the level editor are there; the rest
        // comes later.
        Tracked t;
        for (int c : {command::kSendTimeSheet}) {
            QVERIFY2(t.frame->action(c) != nullptr, qPrintable(QString::number(c)));
            QVERIFY2(!t.frame->commandEnabled(c), qPrintable(QString::number(c)));
        }
        t.frame->updateCommands();
        QCOMPARE(t.frame->action(command::kTimeStudyReport)->text(),
                 QString("Project &and Activity report"));
        QCOMPARE(t.frame->action(command::kPieLevel2)->text(),
                 QString("% of total &hours worked by Activity"));
        QVERIFY(t.frame->commandEnabled(command::kMoreReports));
        QCOMPARE(t.frame->windowTitle(), QString("work.tpl - Veltimo Solo"));
    }

    void aDescriptionTheFilesCannotStoreIsRefusedAsItIsTyped() {
        Tracked t(true, Tracked::Layout::Tag512);
        QVERIFY(t.startOn("Design"));
        QVERIFY(t.doc->tracker().isTracking());
        QPlainTextEdit* description = t.view()->descriptionEdit();
        description->moveCursor(QTextCursor::End);
        description->insertPlainText(QString::fromUtf8(" \u2713"));
        QCOMPARE(t.prompter.texts(),
                 (std::vector<std::string>{
                     "The description holds the character \"\u2713\" (U+2713), which the files "
                     "of this template cannot store: they keep texts in Windows-1252. Please use "
                     "another character."}));
        QCOMPARE(description->toPlainText(), QString("design work"));

        // What Windows-1252 holds is taken, and stored in it.
        t.prompter.clear();
        description->moveCursor(QTextCursor::End);
        description->insertPlainText(QString::fromUtf8(" caf\u00e9"));
        QVERIFY(t.prompter.empty());
        t.tickAt(9, 45);
        t.frame->runCommand(command::kStop);
        QVERIFY(!t.doc->tracker().isTracking());
        testing::ByteBuilder expected;
        testing::add(expected, testing::LegacyRecord("12/08/2026", "09:14", "0000000000", "09:45",
                                                     1, 1, "design work caf\xE9"));
        QCOMPARE(t.stored(), expected.bytes());
        QVERIFY(t.prompter.empty());
    }

    void deletingTheTemplateAsksWithNoAsDefault() {
        Tracked t;
        t.prompter.queue(Answer::No);
        t.frame->runCommand(command::kDelete);
        QVERIFY(testing::exists(t.tpl));
        QVERIFY(t.prompter.entries().back().preferred == Answer::No);
        t.prompter.queue(Answer::Yes);
        t.frame->runCommand(command::kDelete);
        QVERIFY(!testing::exists(t.tpl));
        QVERIFY(!testing::exists(t.trs));
        QCOMPARE(t.frame->windowTitle(), QString("Untitled - Veltimo Solo"));
        QCOMPARE(t.view()->tree()->topLevelItemCount(), 0);
        QVERIFY(!t.frame->commandEnabled(command::kStart));
    }
};

VSOLO_REGISTER_TEST_CLASS(TrackingTest);

// Design tracked from 10:00 with the question after 10 minutes on; no input from 10:10 to 10:30.
struct Away : Tracked {
    testing::ScriptedIdle source;

    Away() {
        settings.setIdleAsk(true);
        doc->idleWatch().setSource(&source);
        tickAt(10, 0);
        startOn("Design");
        for (int minute = 1; minute <= 30; ++minute) {
            source.idle = std::max(0, minute - 10) * 60;
            tickAt(10, minute);
            frame->checkIdle();
        }
        source.idle = 1; // back, as the next answer of the desktop will say
    }
    // The transaction file with Design stored from 10:00 to `end`, or with nothing.
    bool holds(const char* end) const {
        return stored() == testing::transactionHeader() +
                               (end ? record(1, "10:00", end, "design work") : std::string());
    }
};

class IdleQuestionTest final : public QObject {
    Q_OBJECT

private slots:
    void eachAnswerChangesTheTransactionFileAsItSays() {
        // The answer, the end of the stored time, and where tracking goes on from.
        const std::tuple<IdleAnswer, const char*, const char*> cases[] = {
            {IdleAnswer::Keep, nullptr, "10:00"},
            {IdleAnswer::StopAt, "10:10", ""},
            {IdleAnswer::DiscardAndGoOn, "10:10", "10:31"}};
        for (const auto& [answer, end, goesOnFrom] : cases) {
            Away t;
            t.frame->checkIdle();
            IdleDialog* dialog = t.frame->idleDialog();
            QVERIFY(dialog && dialog->isVisible());
            QCOMPARE(dialog->text()->text(),
                     QString("No keyboard or mouse input from 10:10 to 10:30 while tracking "
                             "Alpha / Design \u2013 \u201cdesign work\u201d.\n\nWhat should "
                             "happen to this time?"));
            QCOMPARE(dialog->stopAtButton()->text(), QString("&Stop at 10:10"));
            t.tickAt(10, 31); // nothing is written while the question is open
            QVERIFY(t.holds(nullptr));
            QTest::mouseClick(answer == IdleAnswer::Keep     ? dialog->keepButton()
                              : answer == IdleAnswer::StopAt ? dialog->stopAtButton()
                                                             : dialog->discardButton(),
                              Qt::LeftButton);
            QVERIFY(!t.frame->idleDialog() && t.holds(end));
            const Tracker& tracker = t.doc->tracker();
            QCOMPARE(tracker.isTracking() ? tracker.running().start().clockTimeNoPad() : "",
                     std::string(goesOnFrom));
        }
    }

    void anotherDialogDefersTheQuestionAndAStopByHandTakesItAlong() {
        Away t;
        QDialog other(t.frame.get());
        other.open();
        t.frame->checkIdle();
        QVERIFY(!t.frame->idleDialog() && t.doc->idleWatch().asking());
        other.reject();
        t.frame->checkIdle();
        QVERIFY(t.frame->idleDialog());
        t.doc->tracker().stop();
        t.frame->checkIdle();
        QVERIFY(!t.frame->idleDialog() && t.holds("10:30"));
    }
};

VSOLO_REGISTER_TEST_CLASS(IdleQuestionTest);

// The tray of a desktop that has one, beside the frame of `t`.
CTrayIcon& trayOf(Tracked& t) {
    t.frame->trayIcon()->setDesktopHasTray([] { return true; });
    return *t.frame->trayIcon();
}

QStringList offered(CTrayIcon& tray) {
    tray.refresh();
    QStringList texts;
    for (const QAction* entry : tray.recentActions()) {
        texts << entry->text() + (entry->isChecked() ? " *" : "");
    }
    return texts;
}

class TrayIconTest final : public QObject {
    Q_OBJECT

private slots:
    void offersTheItemsTrackedLastThatStillExist() {
        Tracked t;
        t.settings.noteRecentItem({"/b.tpl", 1, 2}); // keys that name nothing in this template
        for (const std::int32_t level2 :
             {4, 9, 2, 1}) { // the removed Old, a gone item, Build, Design
            t.settings.noteRecentItem({t.tpl, level2 == 4 ? 2 : 1, level2});
        }
        QCOMPARE(offered(trayOf(t)), QStringList({"Alpha - Design", "Alpha - Build"}));
        t.startOn("Build");
        QCOMPARE(offered(trayOf(t)), QStringList({"Alpha - Build *", "Alpha - Design"}));
    }

    void aChosenItemIsTrackedAfterTheRunningOneStops() {
        Tracked t;
        t.settings.setAutoShrink(true);
        t.settings.noteRecentItem({t.tpl, 1, 1});
        t.startOn("Build");
        t.tickAt(9, 20);
        CTrayIcon& tray = trayOf(t);
        QVERIFY(!tray.stopAction()->isEnabled()); // as the frame's, off in the small window
        tray.recentActions().at(1)->trigger();
        t.tickAt(9, 31);
        tray.recentActions().at(1)->trigger();
        QCOMPARE(t.stored(), testing::transactionHeader() +
                                 t.record(2, "09:14", "09:20", "build work") +
                                 t.record(1, "09:20", "09:31", "design work"));
        QCOMPARE(t.doc->tracker().running().level2Key(), 2);
        QCOMPARE(t.frame->currentViewNumber(), command::kShrink);
    }

    void theLeftClickAndTheMenuShowOrHideTheWindow() {
        Tracked t;
        CTrayIcon& tray = trayOf(t);
        tray.activate(QSystemTrayIcon::Trigger);
        QVERIFY(!t.frame->isVisible());
        QCOMPARE(tray.showHideAction()->text(), QString("&Show Main Window"));
        tray.showHideAction()->trigger();
        QVERIFY(t.frame->isVisible());
        t.frame->showMinimized();
        tray.activate(QSystemTrayIcon::Trigger);
        QVERIFY(t.frame->isVisible() && !t.frame->isMinimized());
    }

    void theToolTipNamesTheItemAndTheTimeWorkedToday() {
        Tracked t;
        testing::writeBytes(
            t.trs, testing::transactionHeader() +
                       testing::records("", std::vector<testing::V4Record>{{1, 1, "12/07/2026",
                                                                            "08:00", "17:00"}}) +
                       t.record(1, "08:00", "08:45", "design work"));
        t.startOn("Build");
        t.tickAt(9, 44);
        CTrayIcon& tray = trayOf(t);
        QCOMPARE(tray.toolTip(),
                 QString("Veltimo Solo\nProject: Alpha\nActivity: Build\nWorked today: 1:15"));
        QVERIFY(tray.showsTracking());
        t.frame->runCommand(command::kStop);
        QCOMPARE(tray.toolTip(), QString("Veltimo Solo\nNot tracking\nWorked today: 1:15"));
    }

    void theCloseBoxHidesIntoTheTrayWhenAskedToAndStopAndQuitGoThroughTheFrame() {
        Tracked t;
        t.startOn("Design");
        t.settings.setCloseToTray(true);
        CTrayIcon& tray = trayOf(t);
        QVERIFY(!t.frame->close());
        QVERIFY(!t.frame->isVisible() && t.doc->tracker().isTracking() && t.prompter.empty());
        t.tickAt(9, 30);
        tray.stopAction()->trigger();
        t.startOn("Design");
        t.tickAt(10, 0);
        t.frame->runCommand(command::kTimeSheet); // Quit goes back to the main view first
        t.prompter.queue(Answer::Yes);
        tray.quitAction()->trigger();
        QCOMPARE(t.prompter.texts(), std::vector<std::string>{"End tracking at 10:00."});
        QCOMPARE(t.stored(), testing::transactionHeader() +
                                 t.record(1, "09:14", "09:30", "design work") +
                                 t.record(1, "09:30", "10:00", "design work"));
    }

    void withoutATrayItsOptionsAreOffAndTheIconFollowsThePreferences() {
        Tracked t;
        CPreferencesPage4 page;
        QVERIFY(!page.trayIcon()->isEnabled() && !page.closeToTray()->isEnabled());
        QVERIFY(!page.noTrayNote()->isHidden());
        testing::whenShown<CPreferences>([](CPreferences& sheet) {
            sheet.automatic()->trayIcon()->setChecked(false);
            QVERIFY(!sheet.automatic()->closeToTray()->isEnabled());
            sheet.accept();
        });
        trayOf(t);
        t.frame->runCommand(command::kPreferences);
        QVERIFY(!t.frame->trayIcon()->isShown() && !t.settings.trayIcon());
    }
};

VSOLO_REGISTER_TEST_CLASS(TrayIconTest);

// The tracker as it starts under LANGUAGE=de (its CTest entry sets it): the windows speak German,
// and every file is written as in English.
class GermanTrackerTest final : public QObject {
    Q_OBJECT

private slots:
    void theWindowsSpeakGermanAndTheFilesStayAsInEnglish() {
        QVERIFY(!Translations::install(*QCoreApplication::instance()).isEmpty());
        Tracked t;
        QCOMPARE(t.frame->menuBar()->actions().at(0)->text(), QString("&Datei"));
        t.startOn("Design");
        t.tickAt(9, 30);
        QVERIFY(!t.frame->close());
        QCOMPARE(t.prompter.texts(), std::vector<std::string>{"Zeiterfassung um 9:30 beenden?"});
        t.frame->runCommand(command::kStop);
        QCOMPARE(t.stored(),
                 testing::transactionHeader() + t.record(1, "09:14", "09:30", "design work"));
        t.frame->runCommand(command::kTimeSheet);
        const std::string csv = t.dir.file("out.csv");
        qobject_cast<CTimeSheetView*>(t.frame->currentView())->setExportChooser([&](ExportFormat) {
            return QString::fromStdString(csv);
        });
        t.frame->runCommand(command::kExportCsv);
        QCOMPARE(testing::readBytes(csv),
                 std::string("12/08/2026,Alpha,Design,09:14,09:30,00:16,design work,\r\n"));

        testing::whenShown<QMessageBox>([](QMessageBox& box) {
            QCOMPARE(box.text(), QString("Alle Transaktionen löschen?"));
            QCOMPARE(box.button(QMessageBox::No)->text(), QString("&Nein"));
            box.button(QMessageBox::No)->click();
        });
        QtPrompter boxes(t.frame.get());
        QCOMPARE(boxes.ask(tx(text::kDeleteAllRows), Prompter::Buttons::YesNo, Answer::No),
                 Answer::No);
        setTextTranslator(nullptr);
    }
};

VSOLO_REGISTER_OWN_PROCESS_TEST_CLASS(GermanTrackerTest);

} // namespace
} // namespace vsolo

#include "tracking_test.moc"
