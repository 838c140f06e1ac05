#include "tracker/levels/editlevelsview.h"

#include "tracker/app/commands.h"
#include "tracker/app/qtext.h"
#include "tracker/app/shownnames.h"
#include "tracker/app/texts.h"
#include "tracker/help/helpbook.h"
#include "tracker/tracking/pictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <optional>
#include <string>
#include <utility>

namespace vsolo {

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

QIcon pictureOf(const LevelItem& item) {
    using pictures::LevelPicture;
    if (item.subId() != 0) {
        return QIcon(pictures::levelPicture(LevelPicture::Level2));
    }
    return QIcon(pictures::levelPicture(item.isActive() ? LevelPicture::Level1Active
                                                        : LevelPicture::Level1Removed));
}

// Edits a label in place: the field holds the plain name and takes at most the tree's limit.
class LabelDelegate final : public QStyledItemDelegate {
public:
    LabelDelegate(CEditLevelsView& view, QObject* parent)
        : QStyledItemDelegate(parent), m_view(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setMaxLength(static_cast<int>(kTreeNameLimit));
        m_view.labelEditStarted(editor);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QLineEdit*>(editor)->setText(m_view.labelEditText(node(index)));
    }
    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        m_view.labelEditEnded(node(index), static_cast<QLineEdit*>(editor)->text());
    }

private:
    QTreeWidgetItem* node(const QModelIndex& index) const {
        return m_view.tree()->itemFromIndex(index);
    }
    CEditLevelsView& m_view;
};

} // namespace

LevelTreeWidget::LevelTreeWidget(CEditLevelsView& view) : QTreeWidget(&view), m_view(view) {
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(16, 16));
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setItemDelegate(new LabelDelegate(view, this));
}

void LevelTreeWidget::startDrag(Qt::DropActions supported) {
    if (m_view.mayStartDrag()) {
        QTreeWidget::startDrag(supported);
    }
}

void LevelTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
    QTreeWidget::dragMoveEvent(event);
    // Releasing Ctrl cancels the drag.
    if (!(QApplication::keyboardModifiers() & Qt::ControlModifier)) {
        event->ignore();
    }
}

void LevelTreeWidget::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    QTreeWidgetItem* dragged = currentItem();
    // The view rebuilds the tree itself; the widget moves nothing.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (dragged && target && (QApplication::keyboardModifiers() & Qt::ControlModifier)) {
        m_view.dropNode(dragged, target);
    }
}

void LevelTreeWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (QTreeWidgetItem* node = itemAt(event->pos())) {
        setCurrentItem(node);
    }
    QMenu* menu = m_view.makeContextMenu(this);
    menu->exec(event->globalPos());
    delete menu;
}

CEditLevelsView::CEditLevelsView(ViewHost& host)
    : View(command::kEditLevelsView, qs(windowname::kEditLevels), TrackerHelp::LevelEditor),
      m_host(host), m_editor(host.document().templateFile()) {
    m_tree = new LevelTreeWidget(*this);
    m_addLevel1 = new QPushButton(this);
    m_addLevel2 = new QPushButton(this);
    m_delete = new QPushButton(tr("&Delete"), this);
    m_target = new QLineEdit(this);
    m_target->setMaxLength(3);
    m_target->setValidator(new QIntValidator(0, 999, m_target));
    m_target->setFixedWidth(m_target->fontMetrics().horizontalAdvance("0000") + 12);
    auto* targetLabel = new QLabel(tr("&Target:"), this);
    targetLabel->setBuddy(m_target);
    m_description = new QLineEdit(this);
    m_description->setMaxLength(static_cast<int>(kLevelDescriptionLimit));
    m_removed = new QCheckBox(this);
    m_totalLabel = new QLabel(tr("Total:"), this);
    m_total = new QLabel(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addLevel1);
    buttons->addWidget(m_addLevel2);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto* fields = new QGridLayout;
    fields->addWidget(targetLabel, 0, 0);
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(m_target);
    targetRow->addWidget(new QLabel("%", this));
    targetRow->addStretch();
    targetRow->addWidget(m_totalLabel);
    targetRow->addWidget(m_total);
    fields->addLayout(targetRow, 0, 1);
    fields->addWidget(m_description, 1, 0, 1, 2);
    fields->addWidget(m_removed, 2, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    layout->addLayout(fields);

    using namespace command;
    connect(m_addLevel1, &QPushButton::clicked, this,
            [this] { m_host.runCommand(kAddLevel1Item); });
    connect(m_addLevel2, &QPushButton::clicked, this,
            [this] { m_host.runCommand(kAddLevel2Item); });
    connect(m_delete, &QPushButton::clicked, this, [this] { m_host.runCommand(kDeleteLevelItem); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { showSelection(); });
    connect(m_target, &QLineEdit::textEdited, this, &CEditLevelsView::targetEdited);
    connect(m_description, &QLineEdit::textEdited, this, &CEditLevelsView::descriptionEdited);
    connect(m_removed, &QCheckBox::clicked, this, &CEditLevelsView::removedClicked);

    CSoloDoc& doc = host.document();
    // The frame lets a view go only later, so the editor stops counting as active once it
    // allowed to be left.
    m_activeHook = doc.hooks().levelEditorActive.install([this] { return !m_left; });
    m_clearModifiedHook =
        doc.hooks().clearLevelEditorModified.install([this] { m_modified = false; });
    refreshTitles();
    rebuild(nullptr);
}

CEditLevelsView::~CEditLevelsView() = default;

LevelItem* CEditLevelsView::itemOf(const QTreeWidgetItem* node) const {
    return node ? reinterpret_cast<LevelItem*>(node->data(0, kItemRole).value<quintptr>())
                : nullptr;
}

QTreeWidgetItem* CEditLevelsView::nodeOf(const LevelItem* item) const {
    const auto it = m_nodes.find(item);
    return it == m_nodes.end() ? nullptr : it->second;
}

LevelItem* CEditLevelsView::selectedItem() const {
    return itemOf(m_tree->currentItem());
}

QString CEditLevelsView::labelOf(const LevelItem& item) {
    QString label = qs(item.name());
    if (item.subId() == 0 && item.target() > 0) {
        label += QString(" (%1%)").arg(item.target());
    }
    return label;
}

void CEditLevelsView::rebuild(const LevelItem* select) {
    const QSignalBlocker blocker(m_tree);
    m_tree->clear();
    m_nodes.clear();
    const auto place = [this](LevelItem* item, QTreeWidgetItem* parent) {
        auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        node->setText(0, labelOf(*item));
        node->setIcon(0, pictureOf(*item));
        node->setData(0, kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
        node->setFlags(node->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                       Qt::ItemIsDropEnabled);
        m_nodes[item] = node;
    };
    for (const auto& item : file().level1().items()) {
        place(item.get(), nullptr);
    }
    const LevelTree tree = buildLevelTree(file().level1(), file().level2());
    for (const TreePlacement& p : tree.placements) {
        place(p.item, nodeOf(p.parent));
    }
    // Items whose parent is gone (damaged data) stay reachable as roots.
    for (LevelItem* orphan : tree.orphans) {
        place(orphan, nullptr);
    }
    m_tree->expandAll();
    QTreeWidgetItem* current = nodeOf(select);
    if (!current && m_tree->topLevelItemCount() > 0) {
        current = m_tree->topLevelItem(0);
    }
    m_tree->setCurrentItem(current);
    showSelection();
}

void CEditLevelsView::showSelection() {
    const LevelItem* item = selectedItem();
    const bool level1 = item && item->subId() == 0;
    m_description->setText(item ? qs(item->description()) : QString());
    m_description->setEnabled(item != nullptr);
    m_removed->setChecked(item && !item->isActive());
    setTextWithNames(*m_removed, text::kRemoveFromList, {item ? item->name() : std::string()});
    m_removed->setEnabled(level1);
    m_target->setEnabled(level1);
    m_target->setText(level1 ? QString::number(item->target()) : QString());
    m_totalLabel->setVisible(level1);
    m_total->setVisible(level1);
    const bool editable = !managed();
    m_addLevel1->setEnabled(editable);
    m_addLevel2->setEnabled(editable && item);
    m_delete->setEnabled(editable && item);
    showTotal();
}

void CEditLevelsView::showTotal() {
    m_total->setText(QString::number(displayedTotalTarget(file().level1().totalTarget())) + "%");
}

void CEditLevelsView::changed() {
    m_modified = true;
    m_host.updateCommands();
}

void CEditLevelsView::refresh() {
    m_modified = false;
    rebuild(nullptr);
}

void CEditLevelsView::refreshTitles() {
    const std::string& t1 = settings().level1Title();
    const std::string& t2 = settings().level2Title();
    file().level1().setTitle(t1);
    file().level2().setTitle(t2);
    setTextWithNames(*m_addLevel1, text::kAddItem, {t1});
    setTextWithNames(*m_addLevel2, text::kAddItem, {t2});
}

void CEditLevelsView::activated() {
    m_left = false;
    rebuild(nullptr);
    m_tree->setFocus();
}

void CEditLevelsView::closeRequested() {
    run(command::kBackToMainWindow);
}

bool CEditLevelsView::handles(int c) const {
    using namespace command;
    switch (c) {
    case kAddLevel1Item:
    case kAddLevel2Item:
    case kDeleteLevelItem:
    case kRenameLevelItem:
    case kCopyToNewLevel1:
    case kDragAndDrop:
    case kDragAndDropCopy:
    case kSortLevels:
    case kSave:
    case kBackToMainWindow:
    // Another template replaces the lists only after the editor was left.
    case kNew:
    case kOpen:
        return true;
    default:
        return false;
    }
}

bool CEditLevelsView::isEnabled(int c) const {
    using namespace command;
    const bool selected = selectedItem() != nullptr;
    switch (c) {
    case kAddLevel1Item:
    case kDragAndDrop:
        return !managed();
    case kAddLevel2Item:
    case kDeleteLevelItem:
    case kCopyToNewLevel1:
        return !managed() && selected;
    case kDragAndDropCopy:
        return !managed() && settings().dragAndDrop();
    case kRenameLevelItem:
        return selected;
    case kNew:
    case kOpen:
        return false;
    default:
        return handles(c);
    }
}

bool CEditLevelsView::isChecked(int c) const {
    if (c == command::kDragAndDrop) {
        return settings().dragAndDrop();
    }
    if (c == command::kDragAndDropCopy) {
        return settings().dragAndDropCopy();
    }
    return false;
}

void CEditLevelsView::run(int c) {
    using namespace command;
    switch (c) {
    case kAddLevel1Item:
        addLevel1();
        break;
    case kAddLevel2Item:
        addLevel2();
        break;
    case kDeleteLevelItem:
        deleteSelected();
        break;
    case kRenameLevelItem:
        if (QTreeWidgetItem* node = m_tree->currentItem()) {
            m_tree->editItem(node);
        }
        break;
    case kCopyToNewLevel1:
        copySelected();
        break;
    case kDragAndDrop:
        settings().setDragAndDrop(!settings().dragAndDrop());
        break;
    case kDragAndDropCopy:
        settings().setDragAndDropCopy(!settings().dragAndDropCopy());
        break;
    case kSortLevels:
        sortLists();
        break;
    case kSave:
        save();
        break;
    case kBackToMainWindow:
        emit switchRequested(kMainWindow);
        break;
    default:
        break;
    }
}

void CEditLevelsView::addLevel1() {
    LevelItem* item = m_editor.addLevel1();
    if (!item) {
        m_host.prompter().show(tx(text::kFailedToInsert), Prompter::Icon::Warning);
        return;
    }
    rebuild(item);
    changed();
    m_tree->editItem(nodeOf(item));
}

void CEditLevelsView::addLevel2() {
    const LevelItem* parent = selectedItem();
    if (!parent) {
        return;
    }
    LevelItem* item = m_editor.addLevel2(*parent);
    rebuild(item);
    changed();
    m_tree->editItem(nodeOf(item));
}

void CEditLevelsView::deleteSelected() {
    Prompter& prompter = m_host.prompter();
    const LevelItem* item = selectedItem();
    if (!item) {
        prompter.show(tx(kSelectItemToDeleteText), Prompter::Icon::Warning);
        return;
    }
    if (m_editor.isTracked(*item, m_host.tracker())) {
        const std::string& title =
            item->subId() == 0 ? file().level1().title() : file().level2().title();
        prompter.show(fillPlaceholders(tx(kTrackedItemText), {title}), Prompter::Icon::Stop);
        return;
    }
    if (const std::string warning = deleteWarningText(m_editor.recordedTransactions(*item));
        !warning.empty()) {
        prompter.show(warning, Prompter::Icon::Warning);
    }
    if (prompter.ask(tx(kDeleteLevelItemText), Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                     Prompter::Icon::Question) != Prompter::Answer::Yes) {
        return;
    }
    // The node above the deleted one is selected afterwards.
    const LevelItem* next = itemOf(m_tree->itemAbove(nodeOf(item)));
    if (!m_editor.remove(*item)) {
        prompter.show(tx(text::kFailedToDelete), Prompter::Icon::Warning);
    }
    rebuild(next);
    changed();
}

void CEditLevelsView::copySelected() {
    const LevelItem* item = selectedItem();
    if (!item) {
        return;
    }
    LevelItem* copy = m_editor.copyToNewLevel1(*item);
    if (!copy) {
        m_host.prompter().show(tx(text::kFailedToInsert), Prompter::Icon::Warning);
        return;
    }
    rebuild(copy);
    changed();
}

void CEditLevelsView::sortLists() {
    const LevelItem* item = selectedItem();
    file().level1().sortByName();
    file().level2().sortByName();
    rebuild(item);
}

bool CEditLevelsView::mayStartDrag() const {
    return settings().dragAndDrop() && !managed() &&
           (QApplication::keyboardModifiers() & Qt::ControlModifier);
}

bool CEditLevelsView::dropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    const LevelItem* from = itemOf(dragged);
    const LevelItem* onto = itemOf(target);
    if (!from || !onto || managed() || !settings().dragAndDrop()) {
        return false;
    }
    const bool copy = settings().dragAndDropCopy();
    if (!m_editor.canDrop(*from, *onto, copy)) {
        return false;
    }
    std::optional<RecordedTime> recorded = RecordedTime::Stays;
    if (!copy) {
        recorded = askAboutRecordedTime(m_host.prompter(),
                                        m_editor.recordedTransactionsOfMove(*from), from->name());
    }
    if (!recorded || m_editor.drop(*from, *onto, copy, *recorded).empty()) {
        return false;
    }
    rebuild(onto);
    changed();
    return true;
}

QMenu* CEditLevelsView::makeContextMenu(QWidget* parent) {
    using namespace command;
    auto* menu = new QMenu(parent);
    const std::pair<int, QString> entries[] = {
        {kAddLevel1Item, fill(text::kAddItemPopup, {file().level1().title()})},
        {kAddLevel2Item, fill(text::kAddItemPopup, {file().level2().title()})},
        {kDeleteLevelItem, tr("&Delete")},
        {kRenameLevelItem, tr("&Rename")},
        {kCopyToNewLevel1, tr("&Copy to New Project")},
    };
    for (const auto& [c, label] : entries) {
        QAction* action = menu->addAction(label);
        action->setEnabled(isEnabled(c));
        connect(action, &QAction::triggered, this, [this, c] { m_host.runCommand(c); });
    }
    return menu;
}

QString CEditLevelsView::labelEditText(const QTreeWidgetItem* node) const {
    const LevelItem* item = itemOf(node);
    return item ? qs(item->name()) : QString();
}

void CEditLevelsView::labelEditStarted(QLineEdit* editor) {
    m_labelEditor = editor;
    changed();
}

void CEditLevelsView::labelEditEnded(QTreeWidgetItem* node, const QString& text) {
    LevelItem* item = itemOf(node);
    const std::string name = typedTreeName(ss(text));
    if (item && !name.empty()) {
        item->setName(name);
        node->setText(0, labelOf(*item));
        if (item == selectedItem()) {
            showSelection();
        }
    }
}

void CEditLevelsView::targetEdited(const QString& typed) {
    LevelItem* item = selectedItem();
    if (!item || item->subId() != 0) {
        return;
    }
    const int requested = typed.toInt();
    if (requested == item->target()) {
        return;
    }
    const TargetChange change = m_editor.setTarget(*item, requested);
    if (change.overLimit) {
        m_host.prompter().show(tx(kTargetTotalText), Prompter::Icon::Warning);
        m_target->setText(QString::number(change.target));
    }
    nodeOf(item)->setText(0, labelOf(*item));
    showTotal();
    changed();
}

void CEditLevelsView::descriptionEdited(const QString& typed) {
    if (LevelItem* item = selectedItem()) {
        item->setDescription(ss(typed));
        changed();
    }
}

void CEditLevelsView::removedClicked(bool removed) {
    LevelItem* item = selectedItem();
    if (!item || item->subId() != 0) {
        return;
    }
    item->setActive(!removed);
    nodeOf(item)->setIcon(0, pictureOf(*item));
    changed();
}

bool CEditLevelsView::save() {
    CSoloDoc& doc = m_host.document();
    if (!doc.hasPath()) {
        // Save As asks for the name; a save that went through clears the modified flag.
        m_modified = true;
        m_host.runCommand(command::kSaveAs);
        return !m_modified;
    }
    return doc.save(doc.path());
}

void CEditLevelsView::reload() {
    m_host.document().discardLevelChanges();
    m_modified = false;
}

bool CEditLevelsView::mayLeave() {
    if (m_editor.level1WithoutChildren()) {
        m_host.prompter().show(
            fillPlaceholders(tx(kLevelWithoutChildrenText),
                             {settings().level1Title(), settings().level2Title()}),
            Prompter::Icon::Warning);
        return false;
    }
    if (m_modified) {
        switch (m_host.prompter().ask(tx(text::kSaveChanges), Prompter::Buttons::YesNoCancel,
                                      Prompter::Answer::Yes, Prompter::Icon::Question)) {
        case Prompter::Answer::Yes:
            if (!save()) {
                m_modified = true;
                return false;
            }
            break;
        case Prompter::Answer::No:
            reload();
            break;
        default:
            return false;
        }
    }
    file().level1().sortByName();
    file().level2().sortByName();
    m_host.document().clearLastSaveWentThrough();
    m_left = true;
    return true;
}

} // namespace vsolo
