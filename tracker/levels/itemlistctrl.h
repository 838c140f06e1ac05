#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so a Qt header leads.
#include <QTableView>

// The core after the Qt headers; see above.
#include "core/model/levels.h"
#include "core/model/templateformat.h"
#include "core/model/transactions.h"
#include "core/prompter.h"
#include "core/tracker.h"

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

namespace vsolo {

// The rows of an item list: references to the items of one level list, sorted by name without
// regard to case; the texts are read from the items whenever a row is drawn.
class ItemListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(const LevelList* list, std::vector<int> columns, QStringList titles);
    // Sorts the rows again after a name changed or rows were added.
    void resort();
    void insertItem(LevelItem* item);
    void removeItem(const LevelItem* item);
    // Every row is drawn again (targets, assignments and active flags may have changed).
    void redraw();

    LevelItem* item(int row) const;
    int rowOf(const LevelItem* item) const;
    int columnOf(int field) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const LevelList* m_list = nullptr;
    std::vector<LevelItem*> m_rows;
    std::vector<int> m_columns;
    QStringList m_titles;
};

// A level list shown as rows of name, target and description, from which items are added, edited
// in the item dialog and deleted.
class CItemListCtrl final : public QTableView {
    Q_OBJECT
public:
    // The column set: a sum of the fields shown.
    enum Field { kNameField = 1, kTargetField = 2, kDescriptionField = 4 };
    // Rows of active level-1 items that have assigned items.
    static QColor assignedRowColor() { return QColor(192, 220, 192); }

    CItemListCtrl(Prompter& prompter, QWidget* parent = nullptr);

    void bind(LevelList& list, TemplateFormat format, const TransactionStore& store,
              const Tracker& tracker);
    // Sets the columns, computes the total, shows one row per item sorted by name and selects the
    // first row. `titles` holds one tab-separated title per field of the list.
    void fill(int columns, const QString& titles);
    void setBehaviour(bool enterEdits, bool deleteDeletes);

    LevelList* levelList() const { return m_list; }
    ItemListModel* rows() const { return m_model; }
    int rowCount() const { return m_model->rowCount(); }
    int selectedRow() const;
    LevelItem* selectedItem() const;
    void selectItem(const LevelItem* item);
    // The sum of the list's targets; 255 for a list without targets.
    int total() const { return m_total; }

    // The dialog, the question and the changes; false when nothing changed.
    bool addItem();
    bool editItem();
    bool deleteItem();

signals:
    void selectedItemChanged(LevelItem* item);
    void itemsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void selectRow(int row);
    void recomputeTotal();

    Prompter& m_prompter;
    ItemListModel* m_model;
    LevelList* m_list = nullptr;
    TemplateFormat m_format = TemplateFormat::Version4;
    const TransactionStore* m_store = nullptr;
    const Tracker* m_tracker = nullptr;
    int m_total = 0;
    bool m_enterEdits = true;
    bool m_deleteDeletes = true;
};

} // namespace vsolo
