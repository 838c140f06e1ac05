#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QDialog>

// The core after the Qt headers; see above.
#include "core/document.h"
#include "core/model/levels.h"
#include "core/prompter.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vsolo {

class CItemListCtrl;

// Steps 1 and 2: the names of one level, added, edited and deleted through the item list.
class CEditLevelPage1 final : public QWidget {
    Q_OBJECT
public:
    CEditLevelPage1(int step, LevelList& list, TemplateFormat format, bool managed,
                    const TransactionStore& store, const Tracker& tracker, Prompter& prompter,
                    QWidget* parent = nullptr);

    QString title() const { return m_title; }
    CItemListCtrl* list() const { return m_list; }
    QLabel* namesLabel() const { return m_namesLabel; }
    QLabel* definition() const { return m_definition; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }

private:
    void updateButtons();

    QString m_title;
    bool m_managed;
    CItemListCtrl* m_list;
    QLabel* m_namesLabel;
    QLabel* m_definition;
    QPushButton* m_add;
    QPushButton* m_edit;
    QPushButton* m_delete;
};

// Step 3: the level-2 items offered under each level-1 item, and whether a level-1 item is removed
// from the list for time entry.
class CEditLevelPage3 final : public QWidget {
    Q_OBJECT
public:
    CEditLevelPage3(LevelList& level1, LevelList& level2, TemplateFormat format,
                    const TransactionStore& store, const Tracker& tracker, Prompter& prompter,
                    QWidget* parent = nullptr);

    QString title() const;
    CItemListCtrl* level1List() const { return m_level1List; }
    QListWidget* level2Names() const { return m_level2Names; }
    QCheckBox* removeBox() const { return m_remove; }
    QPushButton* selectAllButton() const { return m_selectAll; }
    QPushButton* unselectAllButton() const { return m_unselectAll; }
    QLabel* heading() const { return m_heading; }
    QLabel* level1Label() const { return m_level1Label; }
    QLabel* level2Label() const { return m_level2Label; }
    LevelItem* shownItem() const { return m_shown; }

    // The page becomes the current one: both lists anew, nothing shown.
    void activate();
    // The page is left: the shown item keeps what is selected for it.
    void leave();

private:
    void show(LevelItem* item);
    void keepSelection();
    void removeToggled(bool removed);
    void updateSelectionButtons();
    void showChoices(bool visible);

    LevelList& m_level1;
    LevelList& m_level2;
    const Tracker& m_tracker;
    CItemListCtrl* m_level1List;
    QListWidget* m_level2Names;
    QCheckBox* m_remove;
    QPushButton* m_selectAll;
    QPushButton* m_unselectAll;
    QLabel* m_heading;
    QLabel* m_level1Label;
    QLabel* m_level2Label;
    LevelItem* m_shown = nullptr;
    // Whether each row was selected when the shown item was shown.
    std::vector<bool> m_wasSelected;
    bool m_showing = false;
};

// "Edit Levels/Targets" of a legacy template. Works on copies of both level lists; the document
// changes only on OK or Finish. With both lists empty it runs as a three-step wizard, otherwise as
// tabs. The transactions are loaded while it is open, so that deleted items are forgotten in them.
class CEditLevelSheet final : public QDialog {
    Q_OBJECT
public:
    CEditLevelSheet(CSoloDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    bool isWizard() const { return m_wizard; }
    QTabWidget* pages() const { return m_pages; }
    // The title of the current step above the pages of the wizard, whose tab bar is hidden; none
    // when the sheet shows tabs.
    QLabel* stepTitle() const { return m_stepTitle; }
    CEditLevelPage1* page1() const { return m_page1; }
    CEditLevelPage1* page2() const { return m_page2; }
    CEditLevelPage3* page3() const { return m_page3; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* finishButton() const { return m_finish; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    const LevelList& level1Copy() const { return m_level1; }
    const LevelList& level2Copy() const { return m_level2; }

    void accept() override;
    void reject() override;

private:
    void pageChanged(int index);
    void updateWizardButtons();

    CSoloDoc& m_doc;
    Prompter& m_prompter;
    LevelList m_level1;
    LevelList m_level2;
    bool m_wizard;
    // Whether the sheet loaded the transactions itself; it unloads only what it loaded, and
    // leaves them to a view that holds them.
    bool m_loadedHere = false;
    QTabWidget* m_pages;
    QLabel* m_stepTitle = nullptr;
    CEditLevelPage1* m_page1;
    CEditLevelPage1* m_page2;
    CEditLevelPage3* m_page3;
    int m_current = 0;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace vsolo
