#include "tracker/reports/reportview.h"

#include "core/document.h"
#include "tracker/app/qtext.h"
#include "tracker/app/viewhost.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace vsolo {

void ExListModel::setHooks(Hooks hooks) {
    beginResetModel();
    m_hooks = std::move(hooks);
    endResetModel();
}

void ExListModel::setColumns(const QStringList& titles, const std::vector<int>& widths,
                             const std::vector<Qt::Alignment>& alignments) {
    beginResetModel();
    m_titles = titles;
    m_widths = widths;
    m_alignments = alignments;
    endResetModel();
}

void ExListModel::setColumnTitle(int column, const QString& title) {
    if (column < 0 || column >= m_titles.size()) {
        return;
    }
    m_titles[column] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ExListModel::reset() {
    beginResetModel();
    endResetModel();
}

void ExListModel::rowChanged(int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

int ExListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_hooks.rowCount ? 0 : m_hooks.rowCount();
}

int ExListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant ExListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return m_hooks.text ? m_hooks.text(row, column) : QVariant();
    case Qt::BackgroundRole:
        if (m_hooks.colour) {
            const QColor colour = m_hooks.colour(row, column);
            return colour.isValid() ? QVariant(colour) : QVariant();
        }
        return {};
    case Qt::DecorationRole:
        return column == 0 && m_hooks.mark ? QVariant(m_hooks.mark(row)) : QVariant();
    case Qt::TextAlignmentRole:
        return static_cast<int>((static_cast<std::size_t>(column) < m_alignments.size()
                                     ? m_alignments[static_cast<std::size_t>(column)]
                                     : Qt::AlignLeft) |
                                Qt::AlignVCenter);
    case Qt::FontRole:
        if (m_hooks.bold && m_hooks.bold(row)) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant ExListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_titles.size()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return m_titles[section];
    }
    if (role == Qt::TextAlignmentRole && static_cast<std::size_t>(section) < m_alignments.size()) {
        return static_cast<int>(m_alignments[static_cast<std::size_t>(section)] | Qt::AlignVCenter);
    }
    return {};
}

CExListCtrl::CExListCtrl(QWidget* parent) : QTableView(parent), m_model(new ExListModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->hide();
    // Rows of one height let the view place a year of rows without measuring them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit activatedRow(index.row()); });
}

int CExListCtrl::currentRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CExListCtrl::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    setCurrentIndex(index);
    selectionModel()->select(index,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void CExListCtrl::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit activatedRow(currentRow());
        return;
    }
    QTableView::keyPressEvent(event);
}

CExListView::CExListView(ViewHost& host, std::string_view rangeKey, int number, QString windowName,
                         int helpContext, QWidget* parent)
    : PeriodView(host, rangeKey, number, std::move(windowName), helpContext, parent),
      m_list(new CExListCtrl(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    setFocusProxy(m_list);
}

void CExListView::showLevelTitles(int level1Column, int level2Column) {
    const Settings& settings = host().document().settings();
    m_list->listModel()->setColumnTitle(level1Column, qs(settings.level1Title()));
    m_list->listModel()->setColumnTitle(level2Column, qs(settings.level2Title()));
}

void CExListView::activated() {
    emit rangeTextChanged(rangeText());
    m_list->setFocus();
}

} // namespace vsolo
