// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/preferences.h"
#include "tracker/app/trayicon.h"
#include "tracker/tracking/soloview.h"
#include "whenshown.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace vsolo {
namespace {

using namespace testing;

// The frame over Alpha (Design, Build, the removed Old) on December 8, 2026, 9:14, with a tray on
// the desktop; the transaction file holds the records given.
struct Tray {
    TempDir dir;
    SettableClock clock{dateTime(2026, 12, 8, 9, 14)};
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    std::string tpl = dir.file("work.tpl");
    std::unique_ptr<CSoloDoc> doc;
    std::unique_ptr<CMainFrame> frame;

    explicit Tray(const std::vector<V4Record>& stored = {}) {
        writeBytes(tpl, v4Template("Veltimo Solo File", 3, 5,
                                   {{1, 0, 0, 0, 1, 1, 60, "Alpha", "", " "},
                                    {1, 0, 1, 1, 1, 2, 0, "Design", "", " "},
                                    {1, 0, 2, 1, 1, 2, 0, "Build", "", " "},
                                    {1, 0, 3, 1, 0, 2, 0, "Old", "", " "}}));
        writeBytes(dir.file("work.trs"), file(stored));
        doc = std::make_unique<CSoloDoc>(settings, prompter, nullptr, clock);
        doc->open(tpl);
        frame = std::make_unique<CMainFrame>(*doc, prompter);
        frame->start();
        tray().setDesktopHasTray([] { return true; });
    }

    CTrayIcon& tray() const { return *frame->trayIcon(); }
    void startOn(const char* name) const {
        auto* view = qobject_cast<CSoloView*>(frame->currentView());
        QVERIFY(view->selectItem(doc->templateFile().level2().findByName(name)));
        frame->runCommand(command::kStart);
    }
    void tickAt(int h, int m) {
        clock.set(dateTime(2026, 12, 8, h, m));
        frame->tick(kMinuteClock);
    }
    QStringList offered() const {
        tray().refresh();
        QStringList texts;
        for (const QAction* entry : tray().recentActions()) {
            texts << entry->text() + (entry->isChecked() ? " *" : "");
        }
        return texts;
    }
    static std::string file(const std::vector<V4Record>& stored) {
        return records(transactionHeader(), stored);
    }
    std::string stored() const { return readBytes(dir.file("work.trs")); }
};

class TrayIconTest final : public QObject {
    Q_OBJECT

private slots:
    void offersTheItemsTrackedLastThatStillExist() {
        Tray t;
        t.settings.noteRecentItem({"/b.tpl", 1, 2}); // keys that name nothing in this template
        for (const int level2 : {3, 9, 2, 1}) {      // the removed Old, a gone item, Build, Design
            t.settings.noteRecentItem({t.tpl, 1, level2});
        }
        QCOMPARE(t.offered(), QStringList({"Alpha - Design", "Alpha - Build"}));
        t.startOn("Build");
        QCOMPARE(t.offered(), QStringList({"Alpha - Build *", "Alpha - Design"}));
    }

    void aChosenItemIsTrackedAfterTheRunningOneStops() {
        Tray t;
        t.settings.setAutoShrink(true);
        t.settings.noteRecentItem({t.tpl, 1, 1});
        t.startOn("Build");
        t.tickAt(9, 20);
        QVERIFY(!t.tray().stopAction()->isEnabled()); // as the frame's, off in the small window
        t.tray().recentActions().at(1)->trigger();
        t.tickAt(9, 31);
        t.tray().recentActions().at(1)->trigger();
        QCOMPARE(t.stored(), Tray::file({{1, 2, "12/08/2026", "09:14", "09:20"},
                                         {1, 1, "12/08/2026", "09:20", "09:31"}}));
        QCOMPARE(t.doc->tracker().running().level2Key(), 2);
        QCOMPARE(t.frame->currentViewNumber(), command::kShrink);
    }

    void stopsAndQuitsThroughTheFrame() {
        Tray t;
        t.startOn("Design");
        t.tickAt(9, 30);
        t.tray().stopAction()->trigger();
        QVERIFY(!t.doc->tracker().isTracking() && t.prompter.empty());
        t.startOn("Design");
        t.tickAt(10, 0);
        t.frame->runCommand(command::kTimeSheet); // Quit goes back to the main view first
        t.prompter.queue(Prompter::Answer::Yes);
        t.tray().quitAction()->trigger();
        QCOMPARE(t.prompter.texts(), std::vector<std::string>{"End tracking at 10:00."});
        QCOMPARE(t.stored(), Tray::file({{1, 1, "12/08/2026", "09:14", "09:30"},
                                         {1, 1, "12/08/2026", "09:30", "10:00"}}));
        QVERIFY(!t.frame->isVisible());
    }

    void theLeftClickAndTheMenuShowOrHideTheWindow() {
        Tray t;
        t.tray().activate(QSystemTrayIcon::Trigger);
        QVERIFY(!t.frame->isVisible());
        QCOMPARE(t.tray().showHideAction()->text(), QString("&Show Main Window"));
        t.tray().showHideAction()->trigger();
        QVERIFY(t.frame->isVisible());
        t.frame->showMinimized();
        t.tray().activate(QSystemTrayIcon::Trigger);
        QVERIFY(t.frame->isVisible() && !t.frame->isMinimized());
    }

    void theToolTipNamesTheItemAndTheTimeWorkedToday() {
        Tray t({{1, 1, "12/07/2026", "08:00", "17:00"}, {1, 1, "12/08/2026", "08:00", "08:45"}});
        t.startOn("Build");
        t.tickAt(9, 44);
        QCOMPARE(t.tray().toolTip(),
                 QString("Veltimo Solo\nProject: Alpha\nActivity: Build\nWorked today: 1:15"));
        QVERIFY(t.tray().showsTracking());
        t.frame->runCommand(command::kStop);
        QCOMPARE(t.tray().toolTip(), QString("Veltimo Solo\nNot tracking\nWorked today: 1:15"));
    }

    void theCloseBoxAloneHidesIntoTheTrayWhenAskedTo() {
        Tray t;
        t.startOn("Design");
        t.settings.setCloseToTray(true);
        t.tray().applySettings();
        QVERIFY(!t.frame->close());
        QVERIFY(!t.frame->isVisible() && t.doc->tracker().isTracking() && t.prompter.empty());
        t.prompter.queue(Prompter::Answer::No);
        t.frame->runCommand(command::kExit); // File > Exit ends the program as ever
        t.settings.setCloseToTray(false);
        t.prompter.queue(Prompter::Answer::No);
        QVERIFY(!t.frame->close());
        QCOMPARE(t.prompter.texts(), std::vector<std::string>(2, "End tracking at 9:14."));
    }

    void withoutATrayItsOptionsAreOffAndTheIconFollowsThePreferences() {
        Tray t;
        CPreferencesPage4 page;
        QVERIFY(!page.trayIcon()->isEnabled() && !page.closeToTray()->isEnabled());
        QVERIFY(!page.noTrayNote()->isHidden());
        whenShown<CPreferences>([](CPreferences& sheet) {
            sheet.automatic()->trayIcon()->setChecked(false);
            QVERIFY(!sheet.automatic()->closeToTray()->isEnabled());
            sheet.accept();
        });
        t.frame->runCommand(command::kPreferences);
        QVERIFY(!t.tray().isShown() && !t.settings.trayIcon());
    }
};

VSOLO_REGISTER_TEST_CLASS(TrayIconTest);

} // namespace
} // namespace vsolo

#include "trayicon_test.moc"
