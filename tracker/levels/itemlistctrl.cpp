#include "tracker/levels/itemlistctrl.h"

#include "core/base/namecompare.h"
#include "core/levelitemrules.h"
#include "tracker/app/qtext.h"
#include "tracker/levels/levelitemdlg.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace vsolo {

namespace {

constexpr int kFields[] = {CItemListCtrl::kNameField, CItemListCtrl::kTargetField,
                           CItemListCtrl::kDescriptionField};
constexpr int kWidths[] = {100, 60, 240};

bool byName(const LevelItem* a, const LevelItem* b) {
    return compareNames(a->name(), b->name()) < 0;
}

} // namespace

void ItemListModel::reset(const LevelList* list, std::vector<int> columns, QStringList titles) {
    beginResetModel();
    m_list = list;
    m_columns = std::move(columns);
    m_titles = std::move(titles);
    m_rows.clear();
    if (list) {
        for (const auto& item : list->items()) {
            m_rows.push_back(item.get());
        }
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), byName);
    endResetModel();
}

void ItemListModel::resort() {
    emit layoutAboutToBeChanged();
    std::stable_sort(m_rows.begin(), m_rows.end(), byName);
    emit layoutChanged();
}

void ItemListModel::insertItem(LevelItem* item) {
    const auto at = std::upper_bound(m_rows.begin(), m_rows.end(), item, byName);
    const int row = static_cast<int>(at - m_rows.begin());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(at, item);
    endInsertRows();
}

void ItemListModel::removeItem(const LevelItem* item) {
    const int row = rowOf(item);
    if (row < 0) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void ItemListModel::redraw() {
    if (!m_rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

LevelItem* ItemListModel::item(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[static_cast<std::size_t>(row)] : nullptr;
}

int ItemListModel::rowOf(const LevelItem* item) const {
    const auto it = std::find(m_rows.begin(), m_rows.end(), item);
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

int ItemListModel::columnOf(int field) const {
    const auto it = std::find(m_columns.begin(), m_columns.end(), field);
    return it == m_columns.end() ? -1 : static_cast<int>(it - m_columns.begin());
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    const LevelItem* row = item(index.row());
    if (!row || index.column() >= columnCount()) {
        return {};
    }
    const int field = m_columns[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        if (field == CItemListCtrl::kNameField) {
            return qs(row->name());
        }
        if (field == CItemListCtrl::kTargetField) {
            return QString::number(row->target());
        }
        return qs(row->description());
    case Qt::TextAlignmentRole:
        if (field == CItemListCtrl::kTargetField) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    case Qt::BackgroundRole:
        if (m_list && m_list->level() == 1 && row->isActive() && !row->assigned().empty()) {
            return CItemListCtrl::assignedRowColor();
        }
        return {};
    default:
        return {};
    }
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_titles.size()) {
        return {};
    }
    return m_titles[section];
}

CItemListCtrl::CItemListCtrl(Prompter& prompter, QWidget* parent)
    : QTableView(parent), m_prompter(prompter), m_model(new ItemListModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                emit selectedItemChanged(m_model->item(current.row()));
            });
}

void CItemListCtrl::bind(LevelList& list, TemplateFormat format, const TransactionStore& store,
                         const Tracker& tracker) {
    m_list = &list;
    m_format = format;
    m_store = &store;
    m_tracker = &tracker;
}

void CItemListCtrl::fill(int columns, const QString& titles) {
    const QStringList allTitles = titles.split('\t');
    std::vector<int> shown;
    QStringList shownTitles;
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        if (columns & kFields[i]) {
            shown.push_back(kFields[i]);
            shownTitles << allTitles.value(static_cast<int>(i));
        }
    }
    recomputeTotal();
    m_model->reset(m_list, shown, shownTitles);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto field = std::find(std::begin(kFields), std::end(kFields), shown[i]);
        setColumnWidth(static_cast<int>(i), kWidths[field - std::begin(kFields)]);
    }
    selectRow(0);
}

void CItemListCtrl::setBehaviour(bool enterEdits, bool deleteDeletes) {
    m_enterEdits = enterEdits;
    m_deleteDeletes = deleteDeletes;
}

int CItemListCtrl::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

LevelItem* CItemListCtrl::selectedItem() const {
    return m_model->item(selectedRow());
}

void CItemListCtrl::selectItem(const LevelItem* item) {
    selectRow(m_model->rowOf(item));
}

void CItemListCtrl::selectRow(int row) {
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void CItemListCtrl::recomputeTotal() {
    m_total = m_list ? m_list->totalTarget() : 0;
}

bool CItemListCtrl::addItem() {
    if (!m_list) {
        return false;
    }
    CLevelItemDlg dialog(m_prompter, *m_list, m_format, nullptr, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    LevelItem* added = m_list->addUnique(dialog.entered());
    if (!added) {
        return false;
    }
    recomputeTotal();
    m_model->insertItem(added);
    selectItem(added);
    emit itemsChanged();
    return true;
}

bool CItemListCtrl::editItem() {
    LevelItem* item = selectedItem();
    if (!item) {
        return false;
    }
    CLevelItemDlg dialog(m_prompter, *m_list, m_format, item, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const LevelItem entered = dialog.entered();
    const bool renamed = entered.name() != item->name();
    item->setName(entered.name());
    item->setDescription(entered.description());
    item->setTarget(entered.target());
    recomputeTotal();
    if (renamed) {
        m_list->moveToEnd(item);
        m_model->resort();
    }
    m_model->redraw();
    selectItem(item);
    emit itemsChanged();
    return true;
}

bool CItemListCtrl::deleteItem() {
    const LevelItem* item = selectedItem();
    if (!item) {
        return false;
    }
    if (const auto refusal = deleteRefusal(*m_list, *item, *m_tracker)) {
        m_prompter.show(*refusal, Prompter::Icon::Stop);
        return false;
    }
    if (m_prompter.ask(deleteQuestion(*m_list), Prompter::Buttons::YesNo, Prompter::Answer::No) !=
        Prompter::Answer::Yes) {
        return false;
    }
    m_model->removeItem(item);
    vsolo::deleteItem(*m_list, *item, *m_store);
    recomputeTotal();
    selectRow(std::min(currentIndex().row(), rowCount() - 1));
    emit itemsChanged();
    return true;
}

void CItemListCtrl::keyPressEvent(QKeyEvent* event) {
    if (m_enterEdits && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        editItem();
        return;
    }
    if (m_deleteDeletes && event->key() == Qt::Key_Delete) {
        deleteItem();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CItemListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (m_enterEdits && selectedItem()) {
        editItem();
    }
}

} // namespace vsolo
