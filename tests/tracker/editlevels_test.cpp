// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/document.h"
#include "core/settingsstore.h"
#include "testregistry.h"
#include "tests/support/allowingview.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/app/commands.h"
#include "tracker/app/mainframe.h"
#include "tracker/levels/editlevelsview.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sstream>

namespace vsolo {
namespace {

using testing::V4Item;

// Build (group 1) holding Design > Draft and Review; Sales (group 2) holding Calls.
const std::vector<V4Item> kItems{
    {1, 0, 0, 0, 1, 1, 0, "Build"},  {2, 0, 0, 0, 1, 1, 0, "Sales"},
    {1, 0, 1, 1, 1, 2, 0, "Design"}, {1, 1, 2, 2, 1, 2, 0, "Draft"},
    {1, 0, 3, 1, 1, 2, 0, "Review"}, {2, 0, 4, 1, 1, 2, 0, "Calls"},
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A document on a template of the folder, its main frame with the level editor shown.
struct Editing {
    testing::TempDir dir;
    MemorySettingsStore store;
    Settings settings{store};
    testing::ScriptedPrompter prompter;
    CSoloDoc doc{settings, prompter, [] {}};
    CMainFrame frame{doc, prompter};

    Editing() {
        settings.load();
        doc.newDocument();
        frame.setHelpViewer([](int, bool) {});
    }

    std::string tpl() const { return dir.file("work.tpl"); }

    // Writes and opens the template, then shows the editor; false when it did not come up.
    bool open(const std::vector<V4Item>& items, std::string_view typeText = kTrackerTypeText) {
        testing::writeBytes(tpl(), testing::v4Template(typeText, 3, 5, items));
        testing::writeBytes(dir.file("work.trs"), testing::transactionHeader());
        doc.empty();
        if (!doc.open(tpl())) {
            return false;
        }
        frame.runCommand(command::kEditLevels);
        prompter.clear();
        return view() != nullptr;
    }

    CEditLevelsView* view() const { return qobject_cast<CEditLevelsView*>(frame.currentView()); }
    QTreeWidgetItem* node(const char* name) const {
        const auto found =
            view()->tree()->findItems(name, Qt::MatchStartsWith | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.front();
    }
    void select(const char* name) const { view()->tree()->setCurrentItem(node(name)); }
    // The names under a node, in tree order.
    QStringList childrenOf(const char* name) const {
        QStringList out;
        const QTreeWidgetItem* parent = node(name);
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            out << parent->child(i)->text(0);
        }
        return out;
    }
};

class EditLevelsTest final : public QObject {
    Q_OBJECT

private slots:
    void newStartsAnEmptyTreeTemplateInTheEditor() {
        Editing e;
        e.frame.runCommand(command::kNew);
        QVERIFY(e.view());
        QVERIFY(e.doc.templateFile().isTreeShape());
        QCOMPARE(e.view()->tree()->topLevelItemCount(), 0);
    }

    void addingPutsTheNewLevel1LabelIntoEditMode() {
        Editing e;
        e.frame.runCommand(command::kNew);
        e.frame.show();
        QCOMPARE(e.view()->addLevel1Button()->text(), QString("Add &Project"));
        e.view()->addLevel1Button()->click();
        QTreeWidgetItem* root = e.view()->tree()->topLevelItem(0);
        QVERIFY(root);
        QCOMPARE(root->text(0), QString("Project"));
        QCOMPARE(e.childrenOf("Project"), QStringList{"Activity"});
        QCOMPARE(e.view()->tree()->currentItem(), root);
        QVERIFY(e.view()->labelEditor());
        QCOMPARE(e.view()->labelEditor()->text(), QString("Project"));
        QVERIFY(e.view()->isModified());
    }

    void renamingTakesTheTrimmedNameAndKeepsTheTargetInTheLabel() {
        Editing e;
        QVERIFY(e.open(kItems));
        e.frame.show();
        e.select("Build");
        e.view()->targetEdit()->setFocus();
        e.view()->targetEdit()->selectAll();
        QTest::keyClicks(e.view()->targetEdit(), "20");
        QCOMPARE(e.node("Build")->text(0), QString("Build (20%)"));
        e.frame.runCommand(command::kRenameLevelItem);
        QLineEdit* editor = e.view()->labelEditor();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("Build"));
        QCOMPARE(editor->maxLength(), 250);
        editor->setText("  Make  ");
        QTest::keyClick(editor, Qt::Key_Return);
        // The edit is committed once the event loop runs.
        QTRY_COMPARE(e.view()->tree()->topLevelItem(0)->text(0), QString("Make (20%)"));
        QVERIFY(e.doc.templateFile().level1().findByName("Make"));
    }

    void aTargetOverTheTotalIsRefusedAndSetToWhatIsLeft() {
        Editing e;
        std::vector<V4Item> items = kItems;
        items[0].target = 60;
        items[1].target = 30;
        QVERIFY(e.open(items));
        e.frame.show();
        e.select("Sales");
        QLineEdit* target = e.view()->targetEdit();
        QCOMPARE(target->text(), QString("30"));
        target->setFocus();
        target->end(false);
        QTest::keyClicks(target, "20");
        QCOMPARE(target->text(), QString("40"));
        QCOMPARE(e.doc.templateFile().level1().findByName("Sales")->target(), 40);
        QCOMPARE(e.node("Sales")->text(0), QString("Sales (40%)"));
        QCOMPARE(e.view()->totalValue()->text(), QString("100%"));
        QCOMPARE(e.prompter.texts().front(), std::string(kTargetTotalText));
    }

    void aLevel2ItemShowsNoTargetAndCannotBeRemoved() {
        Editing e;
        QVERIFY(e.open(kItems));
        e.select("Draft");
        QVERIFY(!e.view()->targetEdit()->isEnabled());
        QVERIFY(e.view()->targetEdit()->text().isEmpty());
        QVERIFY(!e.view()->removedBox()->isEnabled());
        e.select("Sales");
        QCOMPARE(e.view()->removedBox()->text(), QString("Remove Sales from list for time entry."));
        e.view()->removedBox()->click();
        QVERIFY(!e.doc.templateFile().level1().findByName("Sales")->isActive());
    }

    void aManagedTemplateRefusesEveryChange() {
        Editing e;
        QVERIFY(e.open(kItems, kManagedTypeText));
        e.settings.setDragAndDrop(true);
        e.frame.updateCommands();
        for (QPushButton* button :
             {e.view()->addLevel1Button(), e.view()->addLevel2Button(), e.view()->deleteButton()}) {
            QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
        }
        for (int c :
             {command::kAddLevel1Item, command::kAddLevel2Item, command::kDeleteLevelItem,
              command::kCopyToNewLevel1, command::kDragAndDrop, command::kDragAndDropCopy}) {
            QVERIFY2(!e.frame.commandEnabled(c), qPrintable(QString::number(c)));
        }
        QVERIFY(!e.view()->dropNode(e.node("Sales"), e.node("Review")));
        QCOMPARE(e.doc.templateFile().level1().size(), std::size_t{2});
    }

    void leavingAsksWhetherToSave_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("level1Items");
        QTest::newRow("yes") << int(Prompter::Answer::Yes) << true << 3;
        QTest::newRow("no") << int(Prompter::Answer::No) << true << 2;
        QTest::newRow("cancel") << int(Prompter::Answer::Cancel) << false << 3;
    }
    void leavingAsksWhetherToSave() {
        QFETCH(int, answer);
        QFETCH(bool, left);
        QFETCH(int, level1Items);
        Editing e;
        QVERIFY(e.open(kItems));
        const std::string before = readAll(e.tpl());
        e.view()->addLevel1Button()->click();
        e.prompter.queue(Prompter::Answer(answer));
        e.frame.runCommand(command::kBackToMainWindow);
        QCOMPARE(e.prompter.texts().back(), std::string("Save changes?"));
        QCOMPARE(e.frame.currentViewNumber(),
                 left ? command::kMainWindow : command::kEditLevelsView);
        QCOMPARE(int(e.doc.templateFile().level1().size()), level1Items);
        std::string expected = before;
        if (answer == int(Prompter::Answer::Yes)) {
            // Level-1 items in list order, the new one last; level-2 items in tree order (sorted
            // on opening, then by depth with parents first); the counters moved on.
            std::vector<V4Item> items(kItems.begin(), kItems.begin() + 2);
            items.push_back({3, 0, 0, 0, 1, 1, 0, "Project", ""});
            items.insert(items.end(), {kItems[2], kItems[5], kItems[4]});
            items.push_back({3, 0, 5, 1, 1, 2, 0, "Activity", ""});
            items.push_back(kItems[3]);
            expected = testing::v4Template(kTrackerTypeText, 4, 6, items);
        }
        QCOMPARE(readAll(e.tpl()), expected);
    }

    void leavingIsRefusedWhileALevel1ItemHasNothingUnderIt() {
        Editing e;
        std::vector<V4Item> items = kItems;
        items.pop_back(); // Sales loses Calls
        QVERIFY(e.open(items));
        e.frame.runCommand(command::kBackToMainWindow);
        QCOMPARE(e.frame.currentViewNumber(), command::kEditLevelsView);
        QCOMPARE(e.prompter.texts(),
                 std::vector<std::string>{"All Project(s) added must contain at least one "
                                          "Activity."});
    }

    void dropPutsALevel1ItemUnderALevel2Item_data() {
        QTest::addColumn<bool>("copy");
        QTest::newRow("move") << false;
        QTest::newRow("copy") << true;
    }
    void dropPutsALevel1ItemUnderALevel2Item() {
        QFETCH(bool, copy);
        Editing e;
        QVERIFY(e.open(kItems));
        e.settings.setDragAndDrop(true);
        e.settings.setDragAndDropCopy(copy);
        QVERIFY(e.view()->dropNode(e.node("Sales"), e.node("Review")));
        QCOMPARE(e.childrenOf("Review"), QStringList{"Sales"});
        QCOMPARE(e.node("Review")->child(0)->child(0)->text(0), QString("Calls"));
        QCOMPARE(e.view()->tree()->topLevelItemCount(), copy ? 2 : 1);
        QCOMPARE(e.view()->tree()->currentItem(), e.node("Review"));
        QVERIFY(e.view()->isModified());
    }

    void aMoveAsksWhetherItsRecordedTimeGoesAlong_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("subId"); // of Design's unsent record after the save
        QTest::newRow("yes") << int(Prompter::Answer::Yes) << 5;
        QTest::newRow("no") << int(Prompter::Answer::No) << 1;
        QTest::newRow("cancel") << int(Prompter::Answer::Cancel) << 1;
    }
    void aMoveAsksWhetherItsRecordedTimeGoesAlong() {
        QFETCH(int, answer);
        QFETCH(int, subId);
        Editing e;
        QVERIFY(e.open(kItems));
        e.settings.setDragAndDrop(true);
        std::vector<testing::V4Record> recorded{{1, 1}, {1, 1, "03/07/1999", "10:00", "11:00", 1}};
        testing::writeBytes(e.dir.file("work.trs"),
                            testing::records(testing::transactionHeader(), recorded));
        e.prompter.queue(Prompter::Answer(answer));
        QCOMPARE(e.view()->dropNode(e.node("Design"), e.node("Calls")),
                 answer != int(Prompter::Answer::Cancel));
        QCOMPARE(e.prompter.texts(),
                 std::vector<std::string>{
                     fillPlaceholders(kMoveRecordedTimeText, {"1", "Design"}) + "\r\n\r\n" +
                     fillPlaceholders(kMoveSentTimeStaysText, {"1", "Design"})});
        e.frame.runCommand(command::kSave);
        recorded[0] = {subId == 1 ? 1 : 2, subId}; // the sent record stays
        QCOMPARE(readAll(e.dir.file("work.trs")),
                 testing::records(testing::transactionHeader(), recorded));
    }

    void deleteWarnsOfRecordedTimeBeforeItAsks() {
        Editing e;
        QVERIFY(e.open(kItems));
        testing::writeBytes(e.doc.templateFile().transactionPath(),
                            testing::records(testing::transactionHeader(),
                                             std::vector<testing::V4Record>{{1, 1}, {1, 2}}));
        e.select("Design");
        e.prompter.queue(Prompter::Answer::Yes);
        e.frame.runCommand(command::kDeleteLevelItem);
        QCOMPARE(e.prompter.texts(),
                 (std::vector<std::string>{fillPlaceholders(kDeleteRecordedTimeText, {"2"}),
                                           kDeleteLevelItemText}));
        QCOMPARE(e.childrenOf("Build"), QStringList{"Review"});
        QCOMPARE(e.view()->tree()->currentItem(), e.node("Build"));
    }

    // A name of 250 characters, cut where the editor and the tracking frame show it, widens no
    // window.
    void aLongNameNeverWidensTheWindow() {
        const QString longName(250, 'W');
        std::vector<V4Item> items = kItems;
        items[0].name = longName.toStdString();
        Editing e;
        QVERIFY(e.open(items));
        e.frame.show();
        const auto width = [&e] {
            QCoreApplication::processEvents(); // the layout takes in the new texts
            return qMax(e.frame.sizeHint().width(), e.frame.minimumSizeHint().width());
        };
        e.select("WWW");
        QVERIFY2(width() <= 1366, QByteArray::number(width()));
        QVERIFY(e.view()->removedBox()->toolTip().contains(longName));
        e.frame.runCommand(command::kBackToMainWindow);
        e.doc.tracker().setItems(1, 1);
        QVERIFY(e.doc.tracker().start(false));
        QVERIFY2(width() <= 1366, QByteArray::number(width()));
        e.doc.tracker().forceStop();
    }

    void theTrackedItemIsNotDeleted() {
        Editing e;
        QVERIFY(e.open(kItems));
        // The editor lets no tracking start; it was started before.
        testing::AllowingView agreeing;
        e.doc.tracker().setViewTarget(&agreeing);
        e.doc.tracker().setItems(1, 2);
        QVERIFY(e.doc.tracker().start(false));
        e.doc.tracker().setViewTarget(e.view());
        e.select("Design");
        e.frame.runCommand(command::kDeleteLevelItem);
        QCOMPARE(e.prompter.texts(),
                 std::vector<std::string>{"You are currently tracking using this Activity name.  "
                                          "Please stop tracking before deleting it."});
        QCOMPARE(e.childrenOf("Build"), (QStringList{"Design", "Review"}));
        e.doc.tracker().forceStop();
    }
};

VSOLO_REGISTER_TEST_CLASS(EditLevelsTest);

} // namespace
} // namespace vsolo

#include "editlevels_test.moc"
