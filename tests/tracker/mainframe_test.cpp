// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/document.h"
#include "core/settingsstore.h"
#include "fakeviewhost.h"
#include "testregistry.h"
#include "tests/support/allowingview.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/view.h"
#include "tracker/app/viewtable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QWidgetAction>
#include <memory>

namespace vsolo {
namespace {

using testing::ScriptedPrompter;

// An unnamed document: every view opens on it without a file.
struct Unnamed {
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    CSoloDoc doc{settings, prompter, [] {}};

    Unnamed() {
        settings.load();
        doc.newDocument();
    }
};

struct Framed : Unnamed {
    CMainFrame frame{doc, prompter};

    Framed() {
        frame.setHelpViewer([](int, bool) {});
        frame.updateCommands();
    }
};

// One line per item: its text, its keys after a tab, "(off)" when disabled; "-" for a separator;
// the items of a submenu indented under its title.
QString describe(const QList<QAction*>& actions, const QString& indent) {
    QString out;
    for (const QAction* a : actions) {
        if (a->isSeparator()) {
            out += indent + "-\n";
            continue;
        }
        out += indent + a->text();
        QStringList keys;
        for (const QKeySequence& key : a->shortcuts()) {
            keys << key.toString();
        }
        if (!keys.isEmpty()) {
            out += "\t" + keys.join(", ");
        }
        if (!a->isEnabled()) {
            out += " (off)";
        }
        out += "\n";
        if (a->menu()) {
            out += describe(a->menu()->actions(), indent + "  ");
        }
    }
    return out;
}

// The buttons by text, "-" for a separator, and the class of a widget placed in the bar.
QString describe(const QToolBar& bar) {
    QStringList out;
    for (QAction* a : bar.actions()) {
        if (qobject_cast<QWidgetAction*>(a)) {
            out << QString("[%1]").arg(bar.widgetForAction(a)->metaObject()->className());
        } else {
            out << (a->isSeparator() ? QString("-") : a->text());
        }
    }
    return out.join(" | ");
}

// The Reports menu is common to both menu sets; the main one adds More Reports below.
constexpr const char* kReportItems =
    "&Reports\n"
    "  Project &and Activity report\tF5\n"
    "  % &of total hours worked by Project (including target)\tF6\n"
    "  % of &total hours worked by Project\tF7\n"
    "  % of total &hours worked by Activity\tF8\n";

constexpr const char* kHelpMenu = "&Help\n"
                                  "  &Contents...\tF1\n"
                                  "  &Help on this window\n"
                                  "  &Training Card\n"
                                  "  Ti&p of the Day...\n"
                                  "  -\n"
                                  "  &About Veltimo Solo...\n";

class MainFrameTest final : public QObject {
    Q_OBJECT

private slots:
    void eachViewHasItsMenusAndToolBar_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("menus");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("main") << command::kMainWindow
                              << QString("&File\n"
                                         "  &New\n"
                                         "  &Open...\tCtrl+O\n"
                                         "  Save &As...\n"
                                         "  &Delete (off)\n"
                                         "  -\n"
                                         "  &Use file on Local Drive (off)\n"
                                         "  P&rint Setup...\n"
                                         "  -\n"
                                         "  E&xit\n"
                                         "&Edit\n"
                                         "  &Edit Levels/Targets...\n"
                                         "  &Preferences...\n"
                                         "&View\n"
                                         "  &Time Sheet\tCtrl+T\n"
                                         "  -\n"
                                         "  &Toolbar\n"
                                         "  &Status Bar\n"
                                         "&Tracking\n"
                                         "  &Start\tF9 (off)\n"
                                         "  Start from &Last\tF10 (off)\n"
                                         "  S&top\tF11 (off)\n"
                                         "  S&hrink\tF12 (off)\n"
                                         "  -\n"
                                         "  &Display All Items\n"
                                         "  Auto stop/start when selecting &new level 1 and 2\n"
                                         "  Auto-&shrink window when tracking time\n"
                                         "  -\n"
                                         "  Send Ti&me Sheet (off)\n") +
                                     kReportItems +
                                     QString("  -\n"
                                             "  &More Reports (off)\n") +
                                     kHelpMenu
                              << QString("&Start | Start from &Last | S&top | S&hrink | - | "
                                         "Send Ti&me Sheet | - | &Time Sheet | - | "
                                         "&Help on this window");
        QTest::newRow("time sheet")
            << command::kTimeSheet
            << QString("&File\n"
                       "  &Save\tCtrl+S (off)\n"
                       "  &Export\n"
                       "    Comma Separated (*.csv)\n"
                       "    Tab Delimited (.txt)\n"
                       "  -\n"
                       "  &Print...\tAlt+P (off)\n"
                       "  Print Pre&view (off)\n"
                       "  P&rint Setup...\n"
                       "  -\n"
                       "  &Close\tCtrl+F4, Ctrl+X\n"
                       "&Edit\n"
                       "  &Edit transaction... (off)\n"
                       "  &Add\tIns (off)\n"
                       "  &Delete\tDel (off)\n"
                       "  Delete A&ll (off)\n"
                       "&View\n"
                       "  &Toolbar\n"
                       "  &Status Bar\n"
                       "&Goto\n"
                       "  &First\tCtrl+F (off)\n"
                       "  &Previous\tCtrl+P (off)\n"
                       "  &Next\tCtrl+N (off)\n"
                       "  &Last\tCtrl+L (off)\n"
                       "  -\n"
                       "  D&ate Range...\n") +
                   kReportItems + kHelpMenu
            << QString("&Close | &Save | &Print... | - | "
                       "&Edit transaction... | &Add | &Delete | - | "
                       "&First | &Previous | &Next | &Last | D&ate Range... | "
                       "- | &Help on this window | [QWidget] | [QLabel]");
        QTest::newRow("level editor")
            << command::kEditLevelsView
            << QString("&File\n"
                       "  &Save\tCtrl+S\n"
                       "  Save &As...\n"
                       "  -\n"
                       "  &Close\tCtrl+F4, Ctrl+X\n"
                       "&Edit\n"
                       "  Add &Project\n"
                       "  Add &Activity (off)\n"
                       "  &Delete\tDel (off)\n"
                       "  &Rename\tF2 (off)\n"
                       "  -\n"
                       "  &Copy to New Project (off)\n"
                       "  -\n"
                       "  &Drag and Drop (Hold Ctrl Key)\n"
                       "  Drag and Drop &Copy (off)\n"
                       "  -\n"
                       "  &Sort List\n") +
                   kHelpMenu
            << QString("&Close | &Save | - | Add &Project | Add &Activity | &Delete | - | "
                       "&Help on this window");
    }

    void eachViewHasItsMenusAndToolBar() {
        QFETCH(int, view);
        QFETCH(QString, menus);
        QFETCH(QString, buttons);
        Framed f;
        if (view != command::kMainWindow) {
            QVERIFY(f.frame.switchTo(view));
        }
        f.frame.updateCommands();
        QCOMPARE(describe(f.frame.menuBar()->actions(), ""), menus);
        const auto* bar = f.frame.findChild<QToolBar*>("mainToolBar");
        QVERIFY(bar);
        QCOMPARE(describe(*bar), buttons);
    }

    void eachAvailableViewIsMadeByItsEntry_data() {
        QTest::addColumn<int>("view");
        for (const ViewEntry& entry : viewTable()) {
            if (entry.available()) {
                QTest::newRow(QByteArray::number(entry.command).constData()) << entry.command;
            }
        }
    }

    void eachAvailableViewIsMadeByItsEntry() {
        QFETCH(int, view);
        Unnamed u;
        testing::FakeViewHost host(u.doc, u.prompter);
        const ViewEntry* entry = findView(view);
        QVERIFY(entry);
        const std::unique_ptr<View> made(entry->make(host));
        QCOMPARE(made->number(), view);
        // A floating view is shown bare; every other one brings its menus and toolbar.
        QCOMPARE(entry->menus != nullptr, !entry->floating);
        QCOMPARE(entry->toolBar != nullptr, !entry->floating);
    }

    // A template handed over by a second start of the program replaces the open one only when
    // File > Open could be chosen: never while time is being tracked.
    void handedFileOpensOnlyWhenOpenIsAllowed() {
        Framed x;
        testing::TempDir dir;
        const std::string bytes =
            testing::legacyTemplate(testing::kTag512Bytes, {{11, "Sales", "sales work", 40}},
                                    {{21, "Letters", "writing"}}, {{11, 21}});
        for (const char* name : {"first", "second"}) {
            testing::writeBytes(dir.file(std::string(name) + ".tpl"), bytes);
            testing::writeBytes(dir.file(std::string(name) + ".trs"), "");
        }
        QVERIFY(x.frame.openHandedFile(QString::fromStdString(dir.file("first.tpl"))));
        QCOMPARE(x.doc.path(), dir.file("first.tpl"));

        testing::AllowingView view;
        x.doc.tracker().setViewTarget(&view);
        x.doc.tracker().setItems(11, 21);
        QVERIFY(x.doc.tracker().start(false));
        QVERIFY(!x.frame.openHandedFile(QString::fromStdString(dir.file("second.tpl"))));
        QCOMPARE(x.doc.path(), dir.file("first.tpl"));
        QVERIFY(x.doc.tracker().isTracking());
    }
};

VSOLO_REGISTER_TEST_CLASS(MainFrameTest);

} // namespace
} // namespace vsolo

#include "mainframe_test.moc"
