#pragma once

// moc (Qt 6.4) reads the C++20 <compare> of the core headers only after a Qt header has set up
// the library's configuration, so the Qt headers lead.
#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTableView>

// The core after the Qt headers; see above.
#include "tracker/reports/periodview.h"

#include <functional>
#include <vector>

namespace vsolo {

// The table model behind a CExListCtrl: the view that owns the list answers every cell through
// hooks, so that even a year of rows costs nothing until a row is shown.
class ExListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Hooks {
        std::function<int()> rowCount;
        std::function<QString(int row, int column)> text;
        // Column -1 asks for the row's background.
        std::function<QColor(int row, int column)> colour;
        // A small mark drawn before the first column's text (state images).
        std::function<QIcon(int row)> mark;
        std::function<bool(int row)> bold;
    };

    explicit ExListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void setHooks(Hooks hooks);
    void setColumns(const QStringList& titles, const std::vector<int>& widths,
                    const std::vector<Qt::Alignment>& alignments);
    const std::vector<int>& widths() const { return m_widths; }
    void setColumnTitle(int column, const QString& title);
    // After the rows changed under the model.
    void reset();
    void rowChanged(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    Hooks m_hooks;
    QStringList m_titles;
    std::vector<int> m_widths;
    std::vector<Qt::Alignment> m_alignments;
};

// A report-style list with one selected row, drawn by its owner's hooks.
class CExListCtrl final : public QTableView {
    Q_OBJECT
public:
    explicit CExListCtrl(QWidget* parent = nullptr);
    ExListModel* listModel() const { return m_model; }
    int currentRow() const;
    void selectRow(int row);

signals:
    void activatedRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ExListModel* m_model;
};

// A period view that shows its period as a list: the time sheet and the time study report. The
// list fills the view; the frame shows the range text beside its toolbar.
class CExListView : public PeriodView {
    Q_OBJECT
public:
    CExListView(ViewHost& host, std::string_view rangeKey, int number, QString windowName,
                int helpContext, QWidget* parent = nullptr);
    CExListCtrl* list() const { return m_list; }
    // "From: %s   To: %s" with the range's dates.
    virtual QString rangeText() const = 0;
    // Tells the frame the range and gives the list the keyboard.
    void activated() override;

protected:
    // Puts the level titles of the settings over the two columns that show the levels.
    void showLevelTitles(int level1Column, int level2Column);

signals:
    void rangeTextChanged(const QString& text);

private:
    CExListCtrl* m_list;
};

} // namespace vsolo
