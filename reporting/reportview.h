#pragma once

#include "reporting/data/reportingdata.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vsolo {
class Prompter;
}

namespace vsolo::reporting {

// The main form: the template's items as a tree, and beside it the client and the rate of the
// selected item and its description. Choosing a client or a rate changes the item in
// ReportingData at once and tells the frame through modified().
class CVSReportView : public QWidget {
    Q_OBJECT
public:
    // The name the window placement is stored under.
    static constexpr char kWindowName[] = "VSReportView";

    CVSReportView(ReportingData& reportingData, Prompter& prompter, QWidget* parent = nullptr);

    // Reorders the data's items by depth (every depth in turn, list order kept within a depth)
    // and builds the tree from that order: each item under the item of its group whose sub-id is
    // its parent sub-id, a root when it has none.
    void fillTree();
    // Both lists from the data: clients by name and rates by code, alphabetically.
    void fillLists();
    void selectFirstRoot();
    // Shows the selected item again, after the lists were refilled.
    void showCurrent();
    void setTerms(const QString& clientTerm, const QString& rateTerm);

    bool treeIsEmpty() const;
    QTreeWidget* tree() const { return m_tree; }
    QComboBox* clientList() const { return m_clients; }
    QComboBox* rateList() const { return m_rates; }
    QPlainTextEdit* descriptionBox() const { return m_description; }
    QLabel* clientLabel() const { return m_clientLabel; }
    QLabel* rateLabel() const { return m_rateLabel; }
    // The node of the item (groupNumber, subId), nullptr when it has none.
    QTreeWidgetItem* nodeOf(std::int32_t groupNumber, std::int32_t subId) const;

signals:
    void modified();

private:
    TemplateItem* itemOf(const QTreeWidgetItem* node) const;
    void showItem(const QTreeWidgetItem* node);
    void showRateOf(const TemplateItem& item);
    void chooseClient(int index);
    void chooseRate(int index);

    ReportingData& m_data;
    Prompter& m_prompter;
    QTreeWidget* m_tree;
    QLabel* m_clientLabel;
    QComboBox* m_clients;
    QLabel* m_rateLabel;
    QComboBox* m_rates;
    QPlainTextEdit* m_description;
};

} // namespace vsolo::reporting
