// A Qt header first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QApplication>

// The project headers after the Qt header; see above.
#include "core/document.h"
#include "core/levelitemrules.h"
#include "testregistry.h"
#include "tests/support/allowingview.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/recordingstore.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tracker/levels/editlevelsheet.h"
#include "tracker/levels/itemlistctrl.h"
#include "tracker/levels/levelitemdlg.h"
#include "whenshown.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <optional>
#include <utility>

namespace vsolo {
namespace {

using testing::LegacyItem;
using Pairs = std::vector<std::pair<std::int32_t, std::int32_t>>;

constexpr TemplateFormat kTag512 = TemplateFormat::Tag512;
const TimeValue kNow = testing::dateTime(2024, 5, 6, 12, 0);

const std::vector<LegacyItem> kLevel1{{11, "Sales", "sales work", 40}, {12, "Admin", "office", 30}};
const std::vector<LegacyItem> kLevel2{{21, "Letters", "writing"}, {22, "Calls", "phone"}};

// A tag-512 template opened in a document, with an empty transaction file beside it, and the
// set-up sheet over it. The sheet is declared last so that it goes first.
struct LegacySheet {
    testing::TempDir dir;
    testing::RecordingStore store;
    Settings settings{store};
    testing::ScriptedPrompter prompter;
    SettableClock clock{kNow};
    CSoloDoc doc{settings, prompter, [] {}, clock};
    testing::AllowingView view;
    std::optional<CEditLevelSheet> sheet;

    explicit LegacySheet(const std::vector<LegacyItem>& level1 = kLevel1,
                         const std::vector<LegacyItem>& level2 = kLevel2,
                         const Pairs& pairs = {{11, 21}}) {
        settings.load();
        testing::writeBytes(tpl(),
                            testing::legacyTemplate(testing::kTag512Bytes, level1, level2, pairs));
        testing::writeBytes(dir.file("work.trs"), "");
        doc.open(tpl());
    }

    std::string tpl() const { return dir.file("work.tpl"); }

    CEditLevelSheet& open() {
        sheet.emplace(doc, prompter);
        return *sheet;
    }

    void track(std::int32_t level1Key, std::int32_t level2Key) {
        doc.tracker().setViewTarget(&view);
        doc.tracker().setItems(level1Key, level2Key);
        QVERIFY(doc.tracker().start(false));
    }

    CEditLevelPage3& assignPage() {
        sheet->pages()->setCurrentIndex(2);
        return *sheet->page3();
    }

    LevelItem* copy1(const char* name) const { return sheet->level1Copy().findByName(name); }
    LevelItem* copy2(const char* name) const { return sheet->level2Copy().findByName(name); }

    // Shows the level-1 item on step 3 as a click on its row would.
    void choose(const char* name) { sheet->page3()->level1List()->selectItem(copy1(name)); }

    QStringList chosenNames() const {
        QStringList names;
        for (const QListWidgetItem* item : sheet->page3()->level2Names()->selectedItems()) {
            names << item->text();
        }
        names.sort();
        return names;
    }
};

QString nameOf(const LevelItem* item) {
    return QString::fromStdString(item->name());
}

QStringList namesOf(const std::vector<LevelItem*>& items) {
    QStringList names;
    for (const LevelItem* item : items) {
        names << nameOf(item);
    }
    names.sort();
    return names;
}

void focusOut(QWidget* widget) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &event);
}

class LevelSheetTest final : public QObject {
    Q_OBJECT

private slots:
    void itemDialogRefusesTheFirstFailingField_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("onName");
        QTest::newRow("blank name before a bad target") << "   "
                                                        << "101" << kUniqueNameText << true;
        QTest::newRow("another item's name in other case") << "ADMIN"
                                                           << "0" << kUniqueNameText << true;
        QTest::newRow("above 100") << "Travel"
                                   << "101" << kTargetRangeText << false;
        QTest::newRow("over what is left") << "Travel"
                                           << "31" << kTargetTotalText << false;
    }

    void itemDialogRefusesTheFirstFailingField() {
        QFETCH(QString, name);
        QFETCH(QString, target);
        QFETCH(QString, message);
        QFETCH(bool, onName);
        LegacySheet s;
        CLevelItemDlg dialog(s.prompter, s.doc.templateFile().level1(), kTag512, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(dialog.nameEdit(), name);
        dialog.targetEdit()->setFocus();
        dialog.targetEdit()->selectAll();
        QTest::keyClicks(dialog.targetEdit(), target);
        dialog.descriptionEdit()->setFocus();

        dialog.accept();

        QCOMPARE(s.prompter.texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(),
                 static_cast<QWidget*>(onName ? dialog.nameEdit() : dialog.targetEdit()));
    }

    void itemDialogStopsTypingAtItsLimits() {
        LegacySheet s;
        CLevelItemDlg dialog(s.prompter, s.doc.templateFile().level1(), kTag512, nullptr);
        QTest::keyClicks(dialog.nameEdit(), QString(21, 'n'));
        QTest::keyClicks(dialog.descriptionEdit(), QString(61, 'd'));
        dialog.targetEdit()->clear();
        QTest::keyClicks(dialog.targetEdit(), "1x234");
        QCOMPARE(dialog.nameEdit()->text(), QString(20, 'n'));
        QCOMPARE(dialog.descriptionEdit()->text(), QString(60, 'd'));
        QCOMPARE(dialog.targetEdit()->text(), "123");
        for (const auto& [format, limit] :
             {std::pair{TemplateFormat::Tag768, 60}, std::pair{TemplateFormat::Version4, 255}}) {
            CLevelItemDlg other(s.prompter, s.doc.templateFile().level1(), format, nullptr);
            QTest::keyClicks(other.descriptionEdit(), QString(256, 'd'));
            QCOMPARE(other.descriptionEdit()->text(), QString(limit, 'd'));
        }
    }

    void itemDialogShowsWhatIsLeftToAllocate() {
        LegacySheet s;
        const LevelList& level1 = s.doc.templateFile().level1();
        CLevelItemDlg add(s.prompter, level1, kTag512, nullptr);
        QCOMPARE(add.windowTitle(), "Add Project");
        QCOMPARE(add.remainingText()->text(), "% (30% left to allocate)");
        add.targetEdit()->setText("10");
        focusOut(add.targetEdit());
        QCOMPARE(add.remainingText()->text(), "% (20% left to allocate)");
        add.targetEdit()->setText("31");
        focusOut(add.targetEdit());
        QVERIFY(add.remainingText()->isHidden());
        // Leaving with Escape held shows nothing new.
        QTest::keyPress(add.targetEdit(), Qt::Key_Escape);
        add.targetEdit()->setText("5");
        focusOut(add.targetEdit());
        QVERIFY(add.remainingText()->isHidden());
        QTest::keyRelease(add.targetEdit(), Qt::Key_Escape);
        focusOut(add.targetEdit());
        QCOMPARE(add.remainingText()->text(), "% (25% left to allocate)");

        CLevelItemDlg edit(s.prompter, level1, kTag512, level1.findByName("Sales"));
        QCOMPARE(edit.windowTitle(), "Edit Project");
        QCOMPARE(edit.targetEdit()->text(), "40");
        QCOMPARE(edit.remainingText()->text(), "% (30% left to allocate)");
    }

    void itemDialogOfLevel2HasNoTarget() {
        LegacySheet s;
        CLevelItemDlg dialog(s.prompter, s.doc.templateFile().level2(), kTag512, nullptr);
        QCOMPARE(dialog.windowTitle(), "Add Activity");
        QVERIFY(dialog.targetEdit()->isHidden());
        QVERIFY(dialog.targetLabel()->isHidden());
        QVERIFY(dialog.remainingText()->isHidden());
    }

    void emptyTemplateOpensAsWizard() {
        LegacySheet s({}, {}, {});
        CEditLevelSheet& sheet = s.open();
        QVERIFY(sheet.isWizard());
        QCOMPARE(sheet.windowTitle(), "Edit Levels/Targets");
        QVERIFY(sheet.pages()->tabBar()->isHidden());
        QVERIFY(sheet.cancelButton() == nullptr);
        const auto buttons = [&] {
            return QList<bool>{sheet.backButton()->isEnabled(), sheet.nextButton()->isEnabled(),
                               sheet.finishButton()->isEnabled()};
        };
        QCOMPARE(sheet.stepTitle()->text(), "Step 1: Project");
        QCOMPARE(buttons(), QList<bool>({false, true, false}));
        sheet.nextButton()->click();
        QCOMPARE(sheet.stepTitle()->text(), "Step 2: Activity");
        QCOMPARE(buttons(), QList<bool>({true, true, false}));
        sheet.nextButton()->click();
        QCOMPARE(sheet.stepTitle()->text(), "Step 3: Assign and Remove");
        QCOMPARE(sheet.pages()->currentWidget(), static_cast<QWidget*>(sheet.page3()));
        QCOMPARE(buttons(), QList<bool>({true, false, true}));
        QVERIFY(!sheet.page3()->selectAllButton()->isEnabled());
    }

    void filledTemplateOpensAsTabs() {
        LegacySheet s;
        CEditLevelSheet& sheet = s.open();
        QVERIFY(!sheet.isWizard());
        QVERIFY(sheet.okButton() && sheet.cancelButton());
        QVERIFY(sheet.backButton() == nullptr);
        QVERIFY(!sheet.pages()->tabBar()->isHidden());
        QVERIFY(sheet.stepTitle() == nullptr);
        CEditLevelPage1& page1 = *sheet.page1();
        QCOMPARE(page1.namesLabel()->text(), "En&ter/edit Project names:");
        QVERIFY(page1.definition()->text().startsWith("Definition: A project, a subject"));
        QCOMPARE(page1.list()->rows()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 "Target (%)");
        QCOMPARE(sheet.page2()
                     ->list()
                     ->rows()
                     ->headerData(1, Qt::Horizontal, Qt::DisplayRole)
                     .toString(),
                 "Description");
        // Rows sorted by name, the first selected.
        QCOMPARE(nameOf(page1.list()->rows()->item(0)), "Admin");
        QCOMPARE(page1.list()->selectedRow(), 0);
        QCOMPARE(page1.list()->total(), 70);
        QCOMPARE(sheet.page2()->list()->total(), 255);
    }

    void managedTemplateOffersOnlyEdit() {
        LegacySheet s;
        s.doc.templateFile().setManaged(true);
        CEditLevelPage1& page = *s.open().page2();
        QVERIFY(!page.addButton()->isEnabled());
        QVERIFY(!page.deleteButton()->isEnabled());
        QVERIFY(page.editButton()->isEnabled());
        QTest::keyClick(page.list(), Qt::Key_Delete);
        QVERIFY(s.prompter.empty());
        QCOMPARE(page.list()->rowCount(), 2);
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps it") << false;
        QTest::newRow("Yes deletes it") << true;
    }

    void deleteAsksFirst() {
        QFETCH(bool, yes);
        LegacySheet s;
        CEditLevelSheet& sheet = s.open();
        CItemListCtrl& list = *sheet.page2()->list();
        list.selectItem(s.copy2("Letters"));
        s.prompter.queue(yes ? Prompter::Answer::Yes : Prompter::Answer::No);
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(s.prompter.texts(),
                 std::vector<std::string>{"Are you sure you want to delete this Activity from "
                                          "the list?"});
        QCOMPARE(s.prompter.entries()[0].preferred, Prompter::Answer::No);
        QCOMPARE(list.rowCount(), yes ? 1 : 2);
        QCOMPARE(s.copy1("Sales")->assigned().empty(), yes);
        QCOMPARE(s.doc.templateFile().level2().size(), std::size_t{2});
    }

    void enterEditsAndRenameResorts() {
        LegacySheet s;
        CItemListCtrl& list = *s.open().page1()->list();
        list.selectItem(s.copy1("Admin"));
        testing::whenShown<CLevelItemDlg>([](CLevelItemDlg& dialog) {
            dialog.nameEdit()->setText("Zoo");
            dialog.accept();
        });
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(nameOf(list.rows()->item(1)), "Zoo");
        QCOMPARE(list.selectedItem(), list.rows()->item(1));
        QCOMPARE(nameOf(s.sheet->level1Copy().at(1)), "Zoo");
    }

    void choosingAnotherItemKeepsTheFirstsSet() {
        LegacySheet s;
        s.open();
        s.assignPage();
        QVERIFY(s.chosenNames().isEmpty());
        s.choose("Sales");
        QCOMPARE(s.chosenNames(), QStringList({"Letters"}));
        s.choose("Admin");
        QVERIFY(s.chosenNames().isEmpty());
        s.choose("Sales");
        QCOMPARE(s.chosenNames(), QStringList({"Letters"}));
        QCOMPARE(namesOf(s.copy1("Sales")->assigned()), QStringList({"Letters"}));
    }

    void selectAllAndUnselectAll() {
        LegacySheet s;
        s.open();
        CEditLevelPage3& page = s.assignPage();
        s.choose("Admin");
        QVERIFY(page.selectAllButton()->isEnabled());
        QVERIFY(!page.unselectAllButton()->isEnabled());
        page.selectAllButton()->click();
        QCOMPARE(s.chosenNames(), QStringList({"Calls", "Letters"}));
        QVERIFY(!page.selectAllButton()->isEnabled());
        QVERIFY(page.unselectAllButton()->isEnabled());
        s.choose("Sales");
        QCOMPARE(namesOf(s.copy1("Admin")->assigned()), QStringList({"Calls", "Letters"}));
        page.unselectAllButton()->click();
        page.leave();
        QVERIFY(s.copy1("Sales")->assigned().empty());
    }

    void activeItemsWithAssignmentsAreLightGreen() {
        LegacySheet s;
        s.open();
        CEditLevelPage3& page = s.assignPage();
        const auto background = [&](const char* name) {
            ItemListModel& rows = *page.level1List()->rows();
            return rows.data(rows.index(rows.rowOf(s.copy1(name)), 0), Qt::BackgroundRole);
        };
        QCOMPARE(background("Sales").value<QColor>(), QColor(192, 220, 192));
        QVERIFY(!background("Admin").isValid());
        s.choose("Sales");
        page.removeBox()->setChecked(true);
        QVERIFY(!s.copy1("Sales")->isActive());
        QVERIFY(page.level2Names()->isHidden());
        QVERIFY(page.selectAllButton()->isHidden());
        QVERIFY(!background("Sales").isValid());
    }

    void removeBoxDoublesAmpersands() {
        LegacySheet s({{11, "R&D", "research", 10}});
        s.open();
        s.assignPage();
        s.choose("R&D");
        QCOMPARE(s.sheet->page3()->removeBox()->text(), "&Remove R&&D in the list for time entry");
    }

    void trackedItemIsProtected() {
        LegacySheet s;
        s.track(11, 21);
        s.open();
        CEditLevelPage3& page = s.assignPage();
        s.choose("Sales");
        QVERIFY(!page.removeBox()->isEnabled());
        page.unselectAllButton()->click();
        s.choose("Admin");
        QVERIFY(page.removeBox()->isEnabled());
        QCOMPARE(namesOf(s.copy1("Sales")->assigned()), QStringList({"Letters"}));

        CItemListCtrl& list = *s.sheet->page2()->list();
        list.selectItem(s.copy2("Letters"));
        QVERIFY(!list.deleteItem());
        QCOMPARE(s.prompter.texts(),
                 std::vector<std::string>{"You are currently tracking using this Activity name.  "
                                          "Please stop tracking before deleting it."});
        QVERIFY(s.copy2("Letters"));
    }

    void cancelAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No stays") << false;
        QTest::newRow("Yes closes") << true;
    }

    void cancelAsksFirst() {
        QFETCH(bool, yes);
        LegacySheet s;
        CEditLevelSheet& sheet = s.open();
        QVERIFY(s.doc.templateFile().isLoaded());
        s.copy1("Sales")->setTarget(5);
        sheet.show();
        s.prompter.queue(yes ? Prompter::Answer::Yes : Prompter::Answer::No);
        sheet.cancelButton()->click();
        QCOMPARE(s.prompter.texts(), std::vector<std::string>{"Cancel changes made?"});
        QCOMPARE(s.prompter.entries()[0].preferred, Prompter::Answer::No);
        QCOMPARE(sheet.isVisible(), !yes);
        QCOMPARE(s.doc.templateFile().isLoaded(), !yes);
        QCOMPARE(int{s.doc.templateFile().level1().findByName("Sales")->target()}, 40);
    }

    void aFailedSaveKeepsTheSheetOpenAndTheTemplateAsItWas() {
        LegacySheet s;
        CEditLevelSheet& sheet = s.open();
        s.copy1("Sales")->setTarget(5);
        const std::string before = testing::readBytes(s.tpl());
        // The template's folder is gone: nothing can be written there.
        s.doc.templateFile().setPath(s.dir.file("gone/work.tpl"));
        sheet.show();
        sheet.okButton()->click();
        QVERIFY(!s.prompter.empty()); // the file error was told
        QVERIFY(sheet.isVisible());
        QVERIFY(s.doc.templateFile().isLoaded());
        QCOMPARE(int{s.doc.templateFile().level1().findByName("Sales")->target()}, 40);
        QCOMPARE(int{s.copy1("Sales")->target()}, 5);
        QCOMPARE(testing::readBytes(s.tpl()), before);
    }

    void transactionsHeldBeforeTheSheetStayLoaded_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void transactionsHeldBeforeTheSheetStayLoaded() {
        QFETCH(bool, ok);
        LegacySheet s;
        QVERIFY(s.doc.templateFile().loadTransactions().ok());
        CEditLevelSheet& sheet = s.open();
        sheet.show();
        if (ok) {
            sheet.okButton()->click();
        } else {
            s.prompter.queue(Prompter::Answer::Yes);
            sheet.cancelButton()->click();
        }
        QVERIFY(!sheet.isVisible());
        QVERIFY(s.doc.templateFile().isLoaded());
    }

    void okSavesTheTemplateAndItsSideFile() {
        LegacySheet s;
        CEditLevelSheet& sheet = s.open();
        testing::whenShown<CLevelItemDlg>([](CLevelItemDlg& dialog) {
            QTest::keyClicks(dialog.nameEdit(), " Baker ");
            dialog.targetEdit()->setText("20");
            dialog.accept();
        });
        sheet.page1()->addButton()->click();
        CEditLevelPage3& page = s.assignPage();
        s.choose("Baker");
        page.level2Names()->findItems("Calls", Qt::MatchExactly).front()->setSelected(true);
        sheet.show();
        sheet.okButton()->click();

        const std::int32_t baker = kNow.seconds();
        QCOMPARE(testing::readBytes(s.tpl()),
                 testing::legacyTemplate(testing::kTag512Bytes,
                                         {{12, "Admin", "office", 30},
                                          {11, "Sales", "sales work", 40},
                                          {baker, "Baker", "", 20}},
                                         {{22, "Calls", "phone"}, {21, "Letters", "writing"}},
                                         {{11, 21}, {baker, 22}}));
        QCOMPARE(testing::readBytes(s.dir.file("work.tlx")),
                 testing::sideFile({{12, 30, 1, {}}, {11, 40, 1, {21}}, {baker, 20, 1, {22}}}));
        QVERIFY(!s.doc.templateFile().isLoaded());
        // The lists are sorted once they are saved.
        QCOMPARE(nameOf(s.doc.templateFile().level1().at(1)), "Baker");
        QVERIFY(s.prompter.empty());
    }
};

VSOLO_REGISTER_TEST_CLASS(LevelSheetTest);

} // namespace
} // namespace vsolo

#include "levelsheet_test.moc"
