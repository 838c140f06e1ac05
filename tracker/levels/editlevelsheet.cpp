#include "tracker/levels/editlevelsheet.h"

#include "core/levelitemrules.h"
#include "tracker/app/qtext.h"
#include "tracker/app/shownnames.h"
#include "tracker/app/texts.h"
#include "tracker/levels/itemlistctrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vsolo {

namespace {

constexpr int kPage1Columns =
    CItemListCtrl::kNameField | CItemListCtrl::kTargetField | CItemListCtrl::kDescriptionField;
constexpr int kPage2Columns = CItemListCtrl::kNameField | CItemListCtrl::kDescriptionField;
constexpr int kPage3Columns = CItemListCtrl::kNameField | CItemListCtrl::kTargetField;
constexpr int kAssignPage = 2;

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CEditLevelPage1::CEditLevelPage1(int step, LevelList& list, TemplateFormat format, bool managed,
                                 const TransactionStore& store, const Tracker& tracker,
                                 Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_title(qs(fillNumbered(tx(text::kStepTitle), step, {list.title()}))),
      m_managed(managed), m_list(new CItemListCtrl(prompter, this)),
      m_namesLabel(labelFor(fill(text::kEnterNames, {list.title()}), m_list, this)),
      m_definition(
          new QLabel(tt(text::kDefinition) +
                         tt(list.level() == 1 ? text::kLevel1Definition : text::kLevel2Definition),
                     this)),
      m_add(new QPushButton(tt(text::kAddItemButton), this)),
      m_edit(new QPushButton(tt(text::kEditItemButton), this)),
      m_delete(new QPushButton(tt(text::kDeleteItemButton), this)) {
    m_definition->setWordWrap(true);
    m_list->bind(list, format, store, tracker);
    m_list->setBehaviour(true, !managed);
    m_list->fill(list.level() == 1 ? kPage1Columns : kPage2Columns, tt(text::kItemColumns));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_namesLabel);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_definition);

    connect(m_add, &QPushButton::clicked, m_list, &CItemListCtrl::addItem);
    connect(m_edit, &QPushButton::clicked, m_list, &CItemListCtrl::editItem);
    connect(m_delete, &QPushButton::clicked, m_list, &CItemListCtrl::deleteItem);
    connect(m_list, &CItemListCtrl::itemsChanged, this, &CEditLevelPage1::updateButtons);
    updateButtons();
}

void CEditLevelPage1::updateButtons() {
    const bool rows = m_list->rowCount() > 0;
    m_add->setEnabled(!m_managed);
    m_edit->setEnabled(rows);
    m_delete->setEnabled(rows && !m_managed);
}

CEditLevelPage3::CEditLevelPage3(LevelList& level1, LevelList& level2, TemplateFormat format,
                                 const TransactionStore& store, const Tracker& tracker,
                                 Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_level1(level1), m_level2(level2), m_tracker(tracker),
      m_level1List(new CItemListCtrl(prompter, this)), m_level2Names(new QListWidget(this)),
      m_remove(new QCheckBox(this)), m_selectAll(new QPushButton(tt(text::kSelectAll), this)),
      m_unselectAll(new QPushButton(tt(text::kUnselectAll), this)),
      m_heading(new QLabel(fill(text::kAssignHeading, {level1.title(), level2.title()}), this)),
      m_level1Label(labelFor(fill(text::kLevel1ListLabel, {level1.title()}), m_level1List, this)),
      m_level2Label(
          labelFor(fill(text::kLevel2ChoiceLabel, {level2.title()}), m_level2Names, this)) {
    m_level1List->bind(level1, format, store, tracker);
    m_level1List->setBehaviour(false, false);
    m_level2Names->setSelectionMode(QAbstractItemView::MultiSelection);

    auto* grid = new QGridLayout;
    grid->addWidget(m_level1Label, 0, 0);
    grid->addWidget(m_level2Label, 0, 1);
    grid->addWidget(m_level1List, 1, 0);
    grid->addWidget(m_level2Names, 1, 1);
    auto* choiceButtons = new QHBoxLayout;
    choiceButtons->addWidget(m_selectAll);
    choiceButtons->addWidget(m_unselectAll);
    grid->addLayout(choiceButtons, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addLayout(grid, 1);
    layout->addWidget(m_remove);

    connect(m_level1List, &CItemListCtrl::selectedItemChanged, this, [this](LevelItem* item) {
        if (!m_showing) {
            show(item);
        }
    });
    connect(m_level2Names, &QListWidget::itemSelectionChanged, this,
            &CEditLevelPage3::updateSelectionButtons);
    connect(m_selectAll, &QPushButton::clicked, m_level2Names, &QListWidget::selectAll);
    connect(m_unselectAll, &QPushButton::clicked, m_level2Names, &QListWidget::clearSelection);
    connect(m_remove, &QCheckBox::toggled, this, &CEditLevelPage3::removeToggled);
}

QString CEditLevelPage3::title() const {
    return tt(text::kAssignTitle);
}

void CEditLevelPage3::activate() {
    m_showing = true;
    m_shown = nullptr;
    m_level1List->fill(kPage3Columns, tt(text::kItemColumns));
    m_level1List->clearSelection();
    m_level1List->selectionModel()->clearCurrentIndex();
    m_level2Names->clear();
    for (const auto& item : m_level2.items()) {
        m_level2Names->addItem(qs(item->name()));
    }
    m_wasSelected.assign(m_level2.size(), false);
    m_showing = false;
    {
        const QSignalBlocker blocker(m_remove);
        m_remove->setChecked(false);
    }
    m_remove->setEnabled(false);
    showChoices(true);
    updateSelectionButtons();
}

void CEditLevelPage3::leave() {
    keepSelection();
    // The other pages may delete items; the rows are made anew when the page is shown again.
    m_shown = nullptr;
    m_level1List->rows()->reset(nullptr, {}, {});
    m_level2Names->clear();
    m_wasSelected.clear();
}

void CEditLevelPage3::keepSelection() {
    if (!m_shown) {
        return;
    }
    bool changed = false;
    std::vector<std::string> chosen;
    for (int row = 0; row < m_level2Names->count(); ++row) {
        const bool selected = m_level2Names->item(row)->isSelected();
        changed = changed || selected != m_wasSelected[static_cast<std::size_t>(row)];
        m_wasSelected[static_cast<std::size_t>(row)] = selected;
        if (selected) {
            chosen.push_back(ss(m_level2Names->item(row)->text()));
        }
    }
    if (changed) {
        rebuildAssignments(*m_shown, m_level2, chosen, m_level1, m_tracker);
        m_level1List->rows()->redraw();
    }
}

void CEditLevelPage3::show(LevelItem* item) {
    keepSelection();
    m_shown = item;
    if (!item) {
        m_remove->setEnabled(false);
        return;
    }
    m_showing = true;
    for (int row = 0; row < m_level2Names->count(); ++row) {
        const bool assigned = item->isAssigned(m_level2.at(static_cast<std::size_t>(row))->subId());
        m_level2Names->item(row)->setSelected(assigned);
        m_wasSelected[static_cast<std::size_t>(row)] = assigned;
    }
    m_level2Names->scrollToTop();
    {
        const QSignalBlocker blocker(m_remove);
        m_remove->setChecked(!item->isActive());
    }
    m_remove->setEnabled(trackedItemOf(m_level1, m_tracker) != item);
    setTextWithNames(*m_remove, text::kRemoveFromEntry, {item->name()});
    m_showing = false;
    showChoices(item->isActive());
    updateSelectionButtons();
}

void CEditLevelPage3::removeToggled(bool removed) {
    if (!m_shown) {
        return;
    }
    m_shown->setActive(!removed);
    showChoices(!removed);
    m_level1List->rows()->redraw();
}

void CEditLevelPage3::showChoices(bool visible) {
    m_level2Names->setHidden(!visible);
    m_level2Label->setHidden(!visible);
    m_selectAll->setHidden(!visible);
    m_unselectAll->setHidden(!visible);
}

void CEditLevelPage3::updateSelectionButtons() {
    const bool bothFilled = !m_level1.empty() && !m_level2.empty();
    const int selected = static_cast<int>(m_level2Names->selectedItems().size());
    m_selectAll->setEnabled(bothFilled && selected < m_level2Names->count());
    m_unselectAll->setEnabled(bothFilled && selected > 0);
}

CEditLevelSheet::CEditLevelSheet(CSoloDoc& doc, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_prompter(prompter), m_level1(1, doc.templateFile().clock()),
      m_level2(2, doc.templateFile().clock()), m_pages(new QTabWidget(this)) {
    TemplateFile& file = doc.templateFile();
    m_loadedHere = doc.hasPath() && !file.isLoaded() && file.store().empty();
    if (m_loadedHere) {
        doc.reporter().present(file.loadTransactions());
    }
    m_level1.setPartner(&m_level2);
    m_level2.copyFrom(file.level2());
    m_level1.copyFrom(file.level1());
    m_wizard = m_level1.empty() && m_level2.empty();
    setWindowTitle(tt(text::kEditLevelsCaption));

    m_page1 = new CEditLevelPage1(1, m_level1, file.format(), file.isManaged(), file.store(),
                                  doc.tracker(), prompter, m_pages);
    m_page2 = new CEditLevelPage1(2, m_level2, file.format(), file.isManaged(), file.store(),
                                  doc.tracker(), prompter, m_pages);
    m_page3 = new CEditLevelPage3(m_level1, m_level2, file.format(), file.store(), doc.tracker(),
                                  prompter, m_pages);
    m_pages->addTab(m_page1, m_page1->title());
    m_pages->addTab(m_page2, m_page2->title());
    m_pages->addTab(m_page3, m_page3->title());

    auto* buttons = new QDialogButtonBox(this);
    if (m_wizard) {
        m_pages->tabBar()->hide();
        m_stepTitle = new QLabel(this);
        QFont bold = m_stepTitle->font();
        bold.setBold(true);
        m_stepTitle->setFont(bold);
        m_stepTitle->setTextFormat(Qt::PlainText);
        m_stepTitle->setWordWrap(true);
        m_back = buttons->addButton(tt(text::kWizardBack), QDialogButtonBox::ActionRole);
        m_next = buttons->addButton(tt(text::kWizardNext), QDialogButtonBox::ActionRole);
        m_finish = buttons->addButton(tt(text::kWizardFinish), QDialogButtonBox::AcceptRole);
        connect(m_back, &QPushButton::clicked, this,
                [this] { m_pages->setCurrentIndex(m_pages->currentIndex() - 1); });
        connect(m_next, &QPushButton::clicked, this,
                [this] { m_pages->setCurrentIndex(m_pages->currentIndex() + 1); });
        connect(m_finish, &QPushButton::clicked, this, &CEditLevelSheet::accept);
    } else {
        m_ok = buttons->addButton(QDialogButtonBox::Ok);
        m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
        connect(m_ok, &QPushButton::clicked, this, &CEditLevelSheet::accept);
        connect(m_cancel, &QPushButton::clicked, this, &CEditLevelSheet::reject);
    }
    auto* layout = new QVBoxLayout(this);
    if (m_stepTitle) {
        layout->addWidget(m_stepTitle);
    }
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);
    connect(m_pages, &QTabWidget::currentChanged, this, &CEditLevelSheet::pageChanged);
    updateWizardButtons();
}

void CEditLevelSheet::pageChanged(int index) {
    if (m_current == kAssignPage && index != kAssignPage) {
        m_page3->leave();
    }
    m_current = index;
    if (index == kAssignPage) {
        m_page3->activate();
    }
    updateWizardButtons();
}

void CEditLevelSheet::updateWizardButtons() {
    if (!m_wizard) {
        return;
    }
    const int index = m_pages->currentIndex();
    m_stepTitle->setText(m_pages->tabText(index));
    m_back->setEnabled(index > 0);
    m_next->setEnabled(index < kAssignPage);
    m_finish->setEnabled(index == kAssignPage);
}

void CEditLevelSheet::accept() {
    if (m_pages->currentIndex() == kAssignPage) {
        m_page3->leave();
    }
    TemplateFile& file = m_doc.templateFile();
    // What the document holds now, put back when the save does not go through: the sheet then
    // stays open with the user's changes, to be saved again or cancelled.
    LevelList kept1(1);
    LevelList kept2(2);
    kept1.setPartner(&kept2);
    kept2.copyFrom(file.level2());
    kept1.copyFrom(file.level1());
    file.level2().copyFrom(m_level2);
    file.level1().copyFrom(m_level1);
    if (m_doc.hasPath()) {
        if (!m_doc.save(m_doc.path())) {
            file.level2().copyFrom(kept2);
            file.level1().copyFrom(kept1);
            if (m_pages->currentIndex() == kAssignPage) {
                m_page3->activate();
            }
            return;
        }
        m_doc.reporter().present(m_loadedHere ? file.unloadTransactions(true)
                                              : file.saveTransactions());
    }
    file.level1().sortByName();
    file.level2().sortByName();
    m_doc.hooks().refreshAllViews();
    QDialog::accept();
}

void CEditLevelSheet::reject() {
    if (m_prompter.ask(tx(text::kCancelChanges), Prompter::Buttons::YesNo, Prompter::Answer::No) !=
        Prompter::Answer::Yes) {
        return;
    }
    if (m_loadedHere) {
        m_doc.templateFile().unloadTransactions(false);
    }
    QDialog::reject();
}

} // namespace vsolo
