#include "../tracker/testregistry.h"
#include "core/base/clock.h"
#include "core/settingsstore.h"
#include "platform/helpwindow.h"
#include "reporting/data/reportingdocument.h"
#include "reporting/mainframe.h"
#include "reporting/placement.h"
#include "reporting/reportingapp.h"
#include "reporting/reportinghelp.h"
#include "reporting/reportview.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace vsolo;
using namespace vsolo::reporting;
using vsolo::testing::ScriptedPrompter;

Q_DECLARE_METATYPE(QList<QRect>)
Q_DECLARE_METATYPE(vsolo::Prompter::Answer)

namespace {

// Counts the dialogs the frame opens; the clients "dialog" adds a client as the user would.
class FakeEditors final : public ReportEditors {
public:
    explicit FakeEditors(ReportingData& data) : m_data(data) {}
    void rates(QWidget*) override { ++opened; }
    void expenses(QWidget*) override { ++opened; }
    void clients(QWidget*) override {
        ++opened;
        m_data.clients().push_back({9, "Newcomer"});
    }
    bool preferences(QWidget*) override {
        ++opened;
        current.client = QStringLiteral("Customers");
        return true;
    }
    Terms terms() const override { return current; }

    int opened = 0;
    Terms current;

private:
    ReportingData& m_data;
};

TemplateItem item(std::int32_t group, std::int32_t parent, std::int32_t subId, std::int32_t depth,
                  const char* name) {
    TemplateItem result;
    result.groupNumber = group;
    result.parentSubId = parent;
    result.subId = subId;
    result.depth = depth;
    result.level = depth == 0 ? 1 : 2;
    result.name = name;
    result.description = std::string(name) + " described";
    return result;
}

// Two projects, A with a branch two levels deep and B with one activity, an item of A whose
// parent is not there, all in an order the tree must not keep.
void fillSample(ReportingData& data) {
    data.items() = {item(1, 1, 2, 2, "A1a"),   item(2, 0, 1, 1, "B1"), item(1, 0, 0, 0, "A"),
                    item(1, 9, 5, 1, "Stray"), item(1, 0, 1, 1, "A1"), item(2, 0, 0, 0, "B")};
    data.clients() = {{2, "zeta"}, {1, "Alpha"}, {3, "beta"}};
    data.rates() = {{"SR", 90.0, "senior"},
                    {"jr", 40.0, "junior"},
                    {"Dev", 60.0, "developer"},
                    {"JR", 45.0, "junior, weekends"}};
    data.findItem(1, 0)->clientId = 3;
    data.findItem(1, 1)->rateCode = "jr";
    data.findItem(2, 1)->rateCode = "gone";
    data.findItem(1, 2)->rateCode = "JR";
}

// One frame over its own data, prompter, settings and editors.
struct Form {
    explicit Form(bool sample = true) : doc(data), editors(data) {
        if (sample) {
            fillSample(data);
        }
        frame = std::make_unique<CMainFrame>(doc, prompter, store, editors, settings, clock);
    }
    CVSReportView& view() const { return *frame->view(); }
    void select(const char* name) const {
        const auto found = view().tree()->findItems(QString::fromLatin1(name),
                                                    Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(found.size() == 1);
        view().tree()->setCurrentItem(found.front());
    }
    void chooseRate(const char* code) const {
        QComboBox* rates = view().rateList();
        const int index = rates->findText(QString::fromLatin1(code));
        rates->setCurrentIndex(index);
        emit rates->activated(index);
    }
    std::vector<std::string> rateCodes() const {
        std::vector<std::string> codes;
        for (const TemplateItem& i : data.items()) {
            codes.push_back(i.name + "=" + i.rateCode);
        }
        return codes;
    }

    ReportingData data;
    ReportingDocument doc;
    ScriptedPrompter prompter;
    MemorySettingsStore store;
    FakeEditors editors;
    ReportSettings settings;
    SettableClock clock;
    std::unique_ptr<CMainFrame> frame;
};

QStringList texts(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->itemText(i);
    }
    return out;
}

QStringList childNames(const QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i) {
        out << node->child(i)->text(0);
    }
    return out;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void treeIsBuiltByDepth() {
        Form form;
        QStringList order;
        for (const TemplateItem& i : form.data.items()) {
            order << QString::fromStdString(i.name);
        }
        // Every depth in turn, list order kept within one: the order assignments are written in.
        QCOMPARE(order, (QStringList{"A", "B", "B1", "Stray", "A1", "A1a"}));
        QTreeWidget* tree = form.view().tree();
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(tree->topLevelItem(2)->text(0), QStringLiteral("Stray"));
        QCOMPARE(childNames(tree->topLevelItem(0)), QStringList{"A1"});
        QCOMPARE(childNames(tree->topLevelItem(0)->child(0)), QStringList{"A1a"});
        QCOMPARE(childNames(tree->topLevelItem(1)), QStringList{"B1"});
        QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    }

    void listsAreAlphabetical() {
        Form form;
        QCOMPARE(texts(form.view().clientList()), (QStringList{"Alpha", "beta", "zeta"}));
        QCOMPARE(texts(form.view().rateList()), (QStringList{"Dev", "jr", "JR", "SR"}));
    }

    void longNamesKeepTheWindowOnScreen() {
        Form form;
        form.data.clients().push_back({4, std::string(3000, 'W')});
        form.view().fillLists();
        QVERIFY(form.frame->minimumSizeHint().width() < 1000);
        form.view().clientList()->setCurrentIndex(2);
        QCOMPARE(form.view().clientList()->toolTip(), QString(3000, QLatin1Char('W')));
    }

    void selectionShowsClientRateAndDescription_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("clientEnabled");
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("rate");
        QTest::newRow("project with a client") << "A" << true << "beta"
                                               << "";
        QTest::newRow("activity shows its project's client") << "A1" << false << "beta"
                                                             << "jr";
        QTest::newRow("project without a client") << "B" << true << ""
                                                  << "";
        QTest::newRow("rate that is gone shows none") << "B1" << false << ""
                                                      << "";
        // Rates are told apart by their exact code, as billing finds them.
        QTest::newRow("code differing in case from an earlier one") << "A1a" << false << "beta"
                                                                    << "JR";
    }
    void selectionShowsClientRateAndDescription() {
        QFETCH(QString, name);
        QFETCH(bool, clientEnabled);
        QFETCH(QString, client);
        QFETCH(QString, rate);
        Form form;
        form.select(name.toLatin1().constData());
        QCOMPARE(form.view().clientList()->isEnabled(), clientEnabled);
        QCOMPARE(form.view().clientList()->currentText(), client);
        QCOMPARE(form.view().rateList()->currentText(), rate);
        QCOMPARE(form.view().descriptionBox()->toPlainText(), name + " described");
    }

    void choosingAClientSetsItAndModifies() {
        Form form;
        form.select("B");
        QComboBox* clients = form.view().clientList();
        emit clients->activated(clients->findText(QStringLiteral("zeta")));
        QCOMPARE(form.data.findItem(2, 0)->clientId, 2);
        QVERIFY(form.doc.isModified());
    }

    void rateQuestionAnswers_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes spreads over the subtree") << true;
        QTest::newRow("no changes nothing") << false;
    }
    void rateQuestionAnswers() {
        QFETCH(bool, yes);
        Form form;
        form.select("A1");
        const std::vector<std::string> before = form.rateCodes();
        form.prompter.queue(yes ? Prompter::Answer::Yes : Prompter::Answer::No);
        form.chooseRate("SR");
        QCOMPARE(form.prompter.texts(),
                 std::vector<std::string>{
                     "Do you want to change the rate for this task, and all items below it?"});
        QCOMPARE(form.prompter.entries().front().buttons, Prompter::Buttons::YesNo);
        QCOMPARE(form.doc.isModified(), yes);
        if (yes) {
            // A1 and A1a; not the project above, nor the stray item of the same group.
            QCOMPARE(form.rateCodes(), (std::vector<std::string>{"A=", "B=", "B1=gone",
                                                                 "Stray=", "A1=SR", "A1a=SR"}));
            QCOMPARE(form.view().rateList()->currentText(), QStringLiteral("SR"));
        } else {
            QCOMPARE(form.rateCodes(), before);
            QCOMPARE(form.view().rateList()->currentText(), QStringLiteral("jr"));
        }
    }

    void rateOnAProjectStaysWithinIt() {
        Form form;
        form.select("A");
        form.prompter.queue(Prompter::Answer::Yes);
        form.chooseRate("Dev");
        QCOMPARE(form.rateCodes(), (std::vector<std::string>{"A=Dev", "B=", "B1=gone",
                                                             "Stray=", "A1=Dev", "A1a=Dev"}));
    }

    void commandsNeedItems_data() {
        QTest::addColumn<bool>("sample");
        QTest::newRow("empty template") << false;
        QTest::newRow("template with items") << true;
    }
    void commandsNeedItems() {
        QFETCH(bool, sample);
        Form form(sample);
        for (CMainFrame::Command command :
             {CMainFrame::Command::Rates, CMainFrame::Command::Expenses,
              CMainFrame::Command::Clients, CMainFrame::Command::CreateReports,
              CMainFrame::Command::Preferences}) {
            QCOMPARE(form.frame->action(command)->isEnabled(), sample);
        }
        QVERIFY(form.frame->action(CMainFrame::Command::Open)->isEnabled());
    }

    void menuTextsAndKeys() {
        Form form;
        using C = CMainFrame::Command;
        const auto text = [&form](C command) { return form.frame->action(command)->text(); };
        QCOMPARE(text(C::Rates), QStringLiteral("Rates  F2"));
        QCOMPARE(text(C::Expenses), QStringLiteral("Expenses  F3"));
        QCOMPARE(text(C::Clients), QStringLiteral("Clients  F4"));
        QCOMPARE(text(C::CreateReports), QStringLiteral("Create &Reports  F5"));
        QCOMPARE(text(C::HelpContents), QStringLiteral("&Contents and Index  F1"));
        QCOMPARE(text(C::Open), QStringLiteral("&Open...\tCtrl+O"));
        QCOMPARE(text(C::Save), QStringLiteral("&Save\tCtrl+S"));
        form.frame->show();
        QVERIFY(QTest::qWaitForWindowActive(form.frame.get()));
        QTest::keyClick(form.frame.get(), Qt::Key_F4);
        QCOMPARE(form.editors.opened, 1);
        // The clients dialog added one: the list shows it, and the document is modified.
        QVERIFY(texts(form.view().clientList()).contains(QStringLiteral("Newcomer")));
        QVERIFY(form.doc.isModified());
    }

    void preferencesRetitleMenuAndLabel() {
        Form form;
        form.frame->action(CMainFrame::Command::Preferences)->trigger();
        QCOMPARE(form.frame->action(CMainFrame::Command::Clients)->text(),
                 QStringLiteral("Customers  F4"));
        QCOMPARE(form.view().clientLabel()->text(), QStringLiteral("Customers:"));
    }

    void placementIsPulledOntoAScreen_data() {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("placed");
        const QRect one(0, 0, 1024, 768);
        const QRect two(1024, 0, 800, 600);
        QTest::newRow("inside stays")
            << QRect(10, 20, 600, 400) << QList{one} << QRect(10, 20, 600, 400);
        QTest::newRow("off to the right")
            << QRect(3000, 20, 600, 400) << QList{one} << QRect(424, 20, 600, 400);
        QTest::newRow("above and left")
            << QRect(-700, -500, 600, 400) << QList{one} << QRect(0, 0, 600, 400);
        QTest::newRow("larger than the screen") << QRect(-10, 0, 2000, 1000) << QList{one} << one;
        QTest::newRow("on the second screen")
            << QRect(1100, 10, 600, 400) << QList{one, two} << QRect(1100, 10, 600, 400);
        QTest::newRow("mostly on the second")
            << QRect(1500, 10, 600, 400) << QList{one, two} << QRect(1224, 10, 600, 400);
    }
    void placementIsPulledOntoAScreen() {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, placed);
        QCOMPARE(pulledOntoScreen(stored, screens), placed);
    }

    void windowPlacementIsRestoredAndStored() {
        Form form(false);
        form.store.writeInt("UserConfig", "VSReportViewleft", 90000);
        form.store.writeInt("UserConfig", "VSReportViewtop", 50);
        form.store.writeInt("UserConfig", "VSReportViewright", 90500);
        form.store.writeInt("UserConfig", "VSReportViewbottom", 350);
        form.frame->restorePlacement();
        QCOMPARE(form.frame->size(), QSize(500, 300));
        QVERIFY(currentScreenAreas().front().contains(QRect(form.frame->pos(), QSize(500, 300))));
        form.frame->move(40, 60);
        form.frame->savePlacement();
        QCOMPARE(form.store.readInt("UserConfig", "VSReportViewleft"), 40);
        QCOMPARE(form.store.readInt("UserConfig", "VSReportViewright"), 540);
        QCOMPARE(form.store.readInt("UserConfig", "VSReportViewbottom"), 360);
    }

    void firstDocument_data() {
        QTest::addColumn<bool>("onCommandLine");
        QTest::newRow("template on the command line") << true;
        QTest::newRow("template the tracker has open") << false;
    }
    void firstDocument() {
        QFETCH(bool, onCommandLine);
        const vsolo::testing::TempDir dir;
        const std::string path = dir.file("Work.tpl");
        vsolo::testing::writeBytes(
            path, vsolo::testing::v4Template("Veltimo Solo File", 2, 2,
                                             {{1, 0, 0, 0, 1, 1, 0, "Build", " ", " "},
                                              {1, 0, 1, 1, 1, 2, 0, "Walls", " ", " "}}));
        Form form(false);
        MemorySettingsStore tracker;
        CVSReportApp::Options options;
        if (onCommandLine) {
            options.templatePath = QString::fromStdString(path);
            tracker.writeText("UserConfig", "TemplateLocation", "/nowhere/Other.tpl");
        } else {
            tracker.writeText("UserConfig", "TemplateLocation", path);
        }
        vsolo::testing::writeBytes(
            dir.file("Work.trs"),
            vsolo::testing::records(vsolo::testing::transactionHeader(),
                                    std::vector<vsolo::testing::V4Record>{{1, 2}}));
        CVSReportApp::openFirstDocument(*form.frame, options, tracker);
        QCOMPARE(form.view().tree()->topLevelItemCount(), 1);
        QCOMPARE(childNames(form.view().tree()->topLevelItem(0)), QStringList{"Walls"});
        QCOMPARE(form.frame->windowTitle(), QStringLiteral("Work[*] - Veltimo Solo Reporting"));
        QVERIFY(form.frame->action(CMainFrame::Command::Rates)->isEnabled());
        // The transactions are read once the window has been painted; no report before that.
        QVERIFY(form.doc.transactionsPending());
        QVERIFY(form.data.spans().empty());
        QCOMPARE(form.frame->statusBar()->currentMessage(),
                 QStringLiteral("Loading transactions\u2026"));
        QVERIFY(!form.frame->action(CMainFrame::Command::CreateReports)->isEnabled());
        form.frame->switchView(CMainFrame::ViewType::Selection);
        QCOMPARE(form.frame->viewType(), CMainFrame::ViewType::Main);
        form.frame->show();
        QTRY_VERIFY(!form.doc.transactionsPending());
        QCOMPARE(form.data.spans().size(), std::size_t{1});
        QVERIFY(form.frame->action(CMainFrame::Command::CreateReports)->isEnabled());
        QCOMPARE(form.frame->findChild<QStatusBar*>(), nullptr);
    }

    void changesAreOfferedForSaving_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("written");
        QTest::newRow("yes") << Prompter::Answer::Yes << true << true;
        QTest::newRow("no") << Prompter::Answer::No << true << false;
        QTest::newRow("cancel") << Prompter::Answer::Cancel << false << false;
    }
    void changesAreOfferedForSaving() {
        QFETCH(Prompter::Answer, answer);
        QFETCH(bool, goesOn);
        QFETCH(bool, written);
        const vsolo::testing::TempDir dir;
        vsolo::testing::writeBytes(dir.file("Work.tpl"),
                                   vsolo::testing::v4Template("Veltimo Solo File", 2, 1,
                                                              {{1, 0, 0, 0, 1, 1, 0, "Build"}}));
        Form form(false);
        form.frame->openTemplate(QString::fromStdString(dir.file("Work.tpl")));
        QVERIFY(form.frame->mayDiscardDocument());
        form.data.rates().push_back({"SR", 90.0, "senior"});
        form.frame->view()->fillLists();
        form.prompter.clear();
        form.prompter.queue(Prompter::Answer::Yes);
        form.chooseRate("SR");
        form.prompter.queue(answer);
        QCOMPARE(form.frame->mayDiscardDocument(), goesOn);
        QCOMPARE(form.prompter.texts().back(), "Save changes to " + dir.file("Work.vsr") + "?");
        QCOMPARE(vsolo::testing::exists(dir.file("Work.vsr")), written);
        QCOMPARE(form.doc.isModified(), !written);
    }

    void noTemplateLocationStartsUntitled() {
        Form form(false);
        const MemorySettingsStore tracker;
        CVSReportApp::openFirstDocument(*form.frame, {}, tracker);
        QCOMPARE(form.view().tree()->topLevelItemCount(), 0);
        QCOMPARE(form.frame->windowTitle(), QStringLiteral("Untitled[*] - Veltimo Solo Reporting"));
        QVERIFY(form.prompter.empty());
        QVERIFY(!form.frame->action(CMainFrame::Command::Save)->isEnabled());
        QVERIFY(!form.frame->save());
    }

    void argumentsAreParsed() {
        const CVSReportApp::Options options = CVSReportApp::parseArguments(
            {"vsreport", "--quit-after-first-paint", "/a/Work.tpl", "/b/Later.tpl"});
        QVERIFY(options.quitAfterFirstPaint);
        QCOMPARE(options.templatePath, QStringLiteral("/a/Work.tpl"));
    }

    void helpHasContentsAndReportTopic() {
        Q_INIT_RESOURCE(reportinghelp);
        HelpWindow::setBook(ReportingHelp::book());
        QFile page(QStringLiteral(":/reportinghelp/index.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray html = page.readAll();
        for (int context : {0, 1, 2, 3, 200}) {
            const QString anchor = HelpWindow::anchorOf(context);
            QVERIFY(html.contains(("<a name=\"" + anchor + "\">").toUtf8()));
        }
        QCOMPARE(HelpWindow::anchorOf(ReportingHelp::Reports), QStringLiteral("reports"));
        QCOMPARE(HelpWindow::anchorOf(150), QStringLiteral("contents"));
    }

    void programStartsAndPaintsOffscreen() {
        const vsolo::testing::TempDir home;
        QProcess program;
        start(program, home, {"--quit-after-first-paint"});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

    void secondStartLeavesTheFirstRunning() {
        const vsolo::testing::TempDir home;
        QProcess first;
        start(first, home, {});
        // The first copy listens once its socket is there.
        bool listening = false;
        for (int attempt = 0; attempt < 300 && !listening; ++attempt) {
            listening = !QDir(QString::fromStdString(home.path()))
                             .entryList({QStringLiteral("*.socket")}, QDir::System | QDir::Files)
                             .isEmpty();
            if (!listening) {
                QTest::qWait(100);
            }
        }
        QVERIFY(listening);
        QProcess second;
        start(second, home, {});
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(60000));
    }

private:
    // The program with settings, data and its running-copy lock in a folder of the test's own.
    static void start(QProcess& program, const vsolo::testing::TempDir& home,
                      const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", QString::fromStdString(home.path()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("config")));
        environment.insert("XDG_DATA_HOME", QString::fromStdString(home.file("data")));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.path()));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VSOLO_REPORTING_PROGRAM), arguments);
        QVERIFY(program.waitForStarted(60000));
    }
};
VSOLO_REGISTER_TEST_CLASS(MainFormTest);

#include "mainform_test.moc"
