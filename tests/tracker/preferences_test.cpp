// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/document.h"
#include "testregistry.h"
#include "tests/support/dates.h"
#include "tests/support/recordingstore.h"
#include "tests/support/scriptedidle.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/app/preferences.h"
#include "tracker/app/soloapp.h"
#include "tracker/app/texts.h"
#include "tracker/reports/reportview.h"
#include "tracker/timesheet/valueedit.h"
#include "whenshown.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <optional>

namespace vsolo {
namespace {

using testing::hm;

// A user's settings and document, and a shown sheet on them. The sheet is declared last so that
// it goes first.
struct Sheet {
    testing::RecordingStore store;
    Settings settings{store};
    testing::ScriptedPrompter prompter;
    CSoloDoc doc{settings, prompter, [] {}};
    std::optional<CPreferences> sheet;

    explicit Sheet(const char* path = nullptr, bool managed = false) {
        settings.load();
        doc.newDocument();
        if (path) {
            doc.templateFile().setPath(path);
        }
        doc.templateFile().setManaged(managed);
    }

    CPreferences& open() {
        sheet.reset();
        sheet.emplace(doc, prompter);
        store.clearWrites();
        return *sheet;
    }

    bool shown() {
        open().show();
        QApplication::setActiveWindow(&*sheet);
        return QTest::qWaitForWindowActive(&*sheet);
    }

    QStringList pageTitles() const {
        QStringList titles;
        for (int i = 0; i < sheet->pages()->count(); ++i) {
            titles << sheet->pages()->tabText(i);
        }
        return titles;
    }
};

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

class PreferencesTest final : public QObject {
    Q_OBJECT

private slots:
    void fileInformationIsShownOnlyForADocumentWithAFile() {
        Sheet unnamed;
        unnamed.open();
        QCOMPARE(unnamed.pageTitles(),
                 QStringList({"Titles && Work Habits", "Automatic Options", "Remote Options"}));
        QVERIFY(unnamed.sheet->fileInformation() == nullptr);

        Sheet named("/home/ana/work.tpl");
        named.open();
        QCOMPARE(named.pageTitles(), QStringList({"File Information", "Titles && Work Habits",
                                                  "Automatic Options", "Remote Options"}));
        QCOMPARE(named.sheet->fileInformation()->fileName()->text(), "/home/ana/work.tpl");
        QCOMPARE(named.sheet->fileInformation()->timeSheet()->text(), "/home/ana/work.trs");
        QVERIFY(named.sheet->fileInformation()->fileName()->isReadOnly());
        QCOMPARE(named.sheet->windowTitle(), "Preferences");
    }

    void theControlsShowTheSettings() {
        Sheet s;
        s.settings.setLevel1Title("Client");
        s.settings.setAutoShrink(true);
        s.settings.setDayStart(hm(7, 45));
        s.settings.setRemoteAssignments(true);
        s.settings.setMapiPassword("secret");
        CPreferences& sheet = s.open();
        QCOMPARE(sheet.titles()->level1Title()->text(), "Client");
        QCOMPARE(sheet.titles()->level2Title()->text(), "Activity");
        QCOMPARE(sheet.titles()->dayStart()->value(), hm(7, 45));
        QVERIFY(sheet.automatic()->autoShrink()->isChecked());
        QVERIFY(!sheet.automatic()->autoSelect()->isChecked());
        QVERIFY(!sheet.remote()->remote()->isChecked());
        QVERIFY(sheet.remote()->remoteAssignments()->isChecked());
        QCOMPARE(sheet.remote()->password()->text(), "secret");
        QCOMPARE(sheet.remote()->password()->echoMode(), QLineEdit::Password);
        QVERIFY(!sheet.isChanged());
    }

    void anEmptyTitleIsRefusedWithTheFocusOnIt_data() {
        QTest::addColumn<QString>("level1");
        QTest::addColumn<QString>("level2");
        QTest::addColumn<int>("focused"); // 1 or 2
        QTest::newRow("level 2 empty") << "Client"
                                       << "" << 2;
        QTest::newRow("level 2 blanks") << "Client"
                                        << "   " << 2;
        QTest::newRow("both empty: level 1 first") << ""
                                                   << "" << 1;
        QTest::newRow("level 1 blanks") << " \t "
                                        << "Task" << 1;
    }
    void anEmptyTitleIsRefusedWithTheFocusOnIt() {
        QFETCH(QString, level1);
        QFETCH(QString, level2);
        QFETCH(int, focused);
        Sheet s;
        QVERIFY(s.shown());
        CPreferencesPage2* page = s.sheet->titles();
        page->level1Title()->setText(level1);
        page->level2Title()->setText(level2);
        s.sheet->accept();
        QCOMPARE(s.prompter.texts(), std::vector<std::string>{text::kLevelTitleMissing});
        QVERIFY(s.sheet->isVisible());
        QVERIFY((focused == 1 ? page->level1Title() : page->level2Title())->hasFocus());
        QVERIFY(s.store.writes().empty());
    }

    void aTimeThatIsNotATimeGetsItsLastValueBack_data() {
        QTest::addColumn<int>("field"); // 0 day start, 1 less than, 2 more than
        QTest::newRow("day start") << 0;
        QTest::newRow("less than") << 1;
        QTest::newRow("more than") << 2;
    }
    void aTimeThatIsNotATimeGetsItsLastValueBack() {
        QFETCH(int, field);
        Sheet s;
        QVERIFY(s.shown());
        CPreferencesPage2* page = s.sheet->titles();
        TimeEdit* edits[] = {page->dayStart(), page->hoursDayMin(), page->hoursDayMax()};
        TimeEdit* edit = edits[field];
        const TimeValue before = edit->value();
        retype(edit, "25:00");
        s.sheet->accept();
        QCOMPARE(s.prompter.texts(),
                 std::vector<std::string>{std::string(TimeEdit::kErrorMessage)});
        QCOMPARE(edit->value(), before);
        QVERIFY(edit->hasFocus());
        QVERIFY(s.sheet->isVisible());
        QVERIFY(s.store.writes().empty());
    }

    void leavingTheTitlesPageChecksItFirst() {
        Sheet s("/home/ana/work.tpl");
        QVERIFY(s.shown());
        QTabWidget* pages = s.sheet->pages();
        pages->setCurrentWidget(s.sheet->titles());
        s.sheet->titles()->level2Title()->clear();
        pages->setCurrentWidget(s.sheet->automatic());
        QCOMPARE(s.prompter.texts(), std::vector<std::string>{text::kLevelTitleMissing});
        QCOMPARE(pages->currentWidget(), s.sheet->titles());
        QVERIFY(s.sheet->titles()->level2Title()->hasFocus());

        // With a title the page may be left; the other pages are not checked.
        s.prompter.clear();
        s.sheet->titles()->level2Title()->setText("Task");
        pages->setCurrentWidget(s.sheet->automatic());
        pages->setCurrentWidget(s.sheet->fileInformation());
        QVERIFY(s.prompter.empty());
        QCOMPARE(pages->currentWidget(), s.sheet->fileInformation());
    }

    void okWritesTheTrimmedTitlesAndEveryValue() {
        Sheet s;
        QVERIFY(s.shown());
        s.sheet->titles()->level1Title()->setText("  Client ");
        s.sheet->automatic()->autoLoad()->setChecked(true);
        s.sheet->accept();
        QVERIFY(s.prompter.empty());
        QCOMPARE(s.sheet->result(), int(QDialog::Accepted));
        QCOMPARE(s.settings.level1Title(), "Client");
        QCOMPARE(s.doc.templateFile().level1().title(), "Client");
        QVERIFY(s.settings.autoLoad());
        QCOMPARE(s.store.writes().front(), "Receiver Address");
        QCOMPARE(s.store.writes().back(), "AutoLoad");
    }

    void theIdleQuestionIsOfferedOnlyWhereTheDesktopTellsTheIdleTime() {
        Sheet s;
        testing::ScriptedIdle source(std::nullopt);
        s.doc.idleWatch().setSource(&source);
        CPreferencesPage4* page = s.open().automatic();
        QVERIFY(!page->idleAsk()->isEnabled() && !page->idleUnavailable()->isHidden());
        source.idle = 0;
        page = s.open().automatic();
        QVERIFY(page->idleUnavailable()->isHidden() && !page->idleMinutes()->isEnabled());
        page->idleAsk()->setChecked(true);
        QVERIFY(page->idleMinutes()->isEnabled() && s.sheet->isChanged());
        page->idleMinutes()->setValue(25);
        s.sheet->accept();
        QVERIFY(s.settings.idleAsk() && s.settings.idleMinutes() == 25);
    }

    void aSettingsFileThatCannotBeWrittenIsReported() {
        Sheet s;
        s.store.refuse("DayStart");
        QVERIFY(s.shown());
        s.sheet->accept();
        QCOMPARE(s.prompter.texts(), std::vector<std::string>{text::kPreferencesNotStored});
    }

    // The automatic options are held until exit, so only the exit save can find the file
    // unwritable.
    void theExitSaveTellsOfAnUnwritableSettingsFile_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("writable") << true;
        QTest::newRow("refused") << false;
    }
    void theExitSaveTellsOfAnUnwritableSettingsFile() {
        QFETCH(bool, writable);
        Sheet s;
        QVERIFY(s.shown());
        s.sheet->automatic()->autoSelect()->setChecked(true);
        s.sheet->accept();
        QVERIFY(s.prompter.empty());
        if (!writable) {
            s.store.refuseAll();
        }
        QCOMPARE(saveSettingsAtExit(s.settings, s.prompter), writable);
        Settings next(s.store);
        next.load();
        QCOMPARE(next.autoSelect(), writable);
        QCOMPARE(s.prompter.texts(),
                 writable ? std::vector<std::string>{}
                          : std::vector<std::string>{text::kExitPreferencesNotStored});
    }

    void theMailOptionsShowWhileEitherBoxIsChecked() {
        Sheet s(nullptr, true);
        QVERIFY(s.shown());
        CPreferencesPage5* page = s.sheet->remote();
        s.sheet->pages()->setCurrentWidget(page);
        QVERIFY(!page->mailOptions()->isVisible());
        page->remote()->setChecked(true);
        QVERIFY(page->mailOptions()->isVisible());
        QVERIFY(s.sheet->isChanged());
        page->remoteAssignments()->setChecked(true);
        page->remote()->setChecked(false);
        QVERIFY(page->mailOptions()->isVisible());
        page->remoteAssignments()->setChecked(false);
        QVERIFY(!page->mailOptions()->isVisible());
        QVERIFY(page->remote()->isEnabled() && page->profileLogon()->isEnabled());
    }

    // The sheet asks for its whole pages while the screen has room; with the mail options in a
    // font six times the size, for no more than the screen leaves free (as at 1366x768).
    void theSheetFitsTheScreen() {
        Sheet s("/home/ana/work.tpl", true);
        s.settings.setRemote(true);
        CPreferences& sheet = s.open();
        QVERIFY(sheet.sizeHint().height() > sheet.pages()->sizeHint().height());
        QFont large = sheet.font();
        large.setPointSizeF(large.pointSizeF() * 6);
        sheet.setFont(large);
        const QSize free = sheet.screen()->availableGeometry().size();
        QVERIFY(sheet.pages()->sizeHint().height() > free.height());
        QVERIFY(sheet.sizeHint().width() <= free.width() &&
                sheet.sizeHint().height() <= free.height());
    }

    void theRemoteOptionsCannotBeChangedForATemplateThatIsNotManaged() {
        Sheet s;
        s.settings.setRemote(true);
        QVERIFY(s.shown());
        CPreferencesPage5* page = s.sheet->remote();
        s.sheet->pages()->setCurrentWidget(page);
        QVERIFY(page->mailOptions()->isVisible());
        for (QWidget* control : {static_cast<QWidget*>(page->remote()),
                                 static_cast<QWidget*>(page->remoteAssignments()),
                                 static_cast<QWidget*>(page->toAddress())}) {
            QVERIFY(!control->isEnabled());
        }
    }
};

// The frame's commands around the sheet and the programs that ship beside the tracker.
struct Framed {
    MemorySettingsStore store;
    Settings settings{store};
    testing::ScriptedPrompter prompter;
    CSoloDoc doc{settings, prompter, [] {}};
    testing::TempDir programs;
    CMainFrame frame{doc, prompter};

    Framed() {
        settings.load();
        doc.newDocument();
        frame.setHelpViewer([](int, bool) {});
        frame.setProgramFolder(QString::fromStdString(programs.path()));
        frame.updateCommands();
    }

    // A program in the program folder that leaves a file named after itself when it runs.
    QString installProgram(const char* name) {
        const QString path = QString::fromStdString(programs.file(name));
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly)) {
            return {};
        }
        script.write(QByteArray("#!/bin/sh\ntouch \"$0.ran\"\n"));
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path + ".ran";
    }
};

class PreferencesCommandsTest final : public QObject {
    Q_OBJECT

private slots:
    void okAndCancelBothRefreshTheTitles_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void okAndCancelBothRefreshTheTitles() {
        QFETCH(bool, ok);
        Framed f;
        QVERIFY(f.frame.commandEnabled(command::kPreferences));
        testing::whenShown<CPreferences>([&f, ok](CPreferences& sheet) {
            sheet.titles()->level1Title()->setText("Client");
            if (ok) {
                sheet.accept();
            } else {
                // Something else changed the title while the sheet was open.
                f.settings.setLevel2Title("Task");
                sheet.reject();
            }
        });
        f.frame.runCommand(command::kPreferences);
        const QString report = f.frame.action(command::kTimeStudyReport)->text();
        QCOMPARE(report, ok ? "Client &and Activity report" : "Project &and Task report");
        const auto labels = f.frame.currentView()->findChildren<QLabel*>();
        const bool shown = std::any_of(labels.begin(), labels.end(), [ok](QLabel* l) {
            return l->text() == (ok ? "Client/Activity:" : "Project/Task:");
        });
        QVERIFY(shown);
    }

    void theListViewsShowTheNewTitlesOverTheirColumns_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("level1Column");
        QTest::newRow("time sheet") << command::kTimeSheet << 1;
        QTest::newRow("time study report") << command::kTimeStudyReport << 0;
    }
    void theListViewsShowTheNewTitlesOverTheirColumns() {
        QFETCH(int, view);
        QFETCH(int, level1Column);
        Framed f;
        QVERIFY(f.frame.switchTo(view));
        testing::whenShown<CPreferences>([](CPreferences& sheet) {
            sheet.titles()->level1Title()->setText("Client");
            sheet.titles()->level2Title()->setText("Task");
            sheet.accept();
        });
        f.frame.runCommand(command::kPreferences);
        auto* list = qobject_cast<CExListView*>(f.frame.currentView());
        QVERIFY(list);
        const ExListModel* model = list->list()->listModel();
        for (int c : {level1Column, level1Column + 1}) {
            QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                     c == level1Column ? "Client" : "Task");
        }
    }

    void moreReportsStoresTheTemplateAndStartsTheReportingTool() {
        Framed f;
        const QString ran = f.installProgram("vsreport");
        f.doc.templateFile().setPath("/home/ana/work.tpl");
        f.doc.templateFile().setFormat(TemplateFormat::Version4);
        f.frame.updateCommands();
        QVERIFY(f.frame.commandEnabled(command::kMoreReports));
        f.frame.runCommand(command::kMoreReports);
        QCOMPARE(f.settings.templateLocation(), "/home/ana/work.tpl");
        QTRY_VERIFY(QFile::exists(ran));
    }

    void theWebUpdateIsOfferedOnlyWhenItsProgramIsThere_data() {
        QTest::addColumn<bool>("installed");
        QTest::newRow("installed") << true;
        QTest::newRow("missing") << false;
    }
    void theWebUpdateIsOfferedOnlyWhenItsProgramIsThere() {
        QFETCH(bool, installed);
        Framed f;
        const QString ran = installed ? f.installProgram("webcheck") : QString();
        bool offered = false;
        testing::whenShown<QDialog>([&offered](QDialog& about) {
            auto* update = about.findChild<QPushButton*>("webUpdate");
            offered = update != nullptr;
            if (update) {
                update->click();
            }
            about.accept();
        });
        f.frame.runCommand(command::kAbout);
        QCOMPARE(offered, installed);
        if (installed) {
            QTRY_VERIFY(QFile::exists(ran));
        }
    }
};

VSOLO_REGISTER_TEST_CLASS(PreferencesTest);
VSOLO_REGISTER_TEST_CLASS(PreferencesCommandsTest);

} // namespace
} // namespace vsolo

#include "preferences_test.moc"
