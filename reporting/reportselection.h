#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include "reporting/layout/reportpages.h"

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

class QDateEdit;
class QLabel;
class QListWidget;

namespace vsolo {
class Prompter;
class SettingsStore;
} // namespace vsolo

namespace vsolo::reporting {

// What the report views show beside the data: the period and the chosen projects' group numbers
// in the project list's order. The frame keeps it while the reports are open.
struct ReportSelection {
    ReportPeriod period;
    std::vector<std::int32_t> projects;
};

// The report the user asked to preview, with what it covers.
struct ReportChoice {
    ReportKind kind = ReportKind::Clients;
    ReportSelection selection;
};

// The report selection form: the list of reports, the period's two dates and the projects. The
// chosen row and both dates go to the settings record and the tool's store as they change; the
// whole record is written when the frame leaves the form (writeSettings()).
class CReportView : public QWidget {
    Q_OBJECT
public:
    // The rows of the report list; the two separators open nothing.
    enum Row {
        ProjectRow,
        ClientRow,
        FirstSeparator,
        RateRow,
        ExpenseRow,
        SecondSeparator,
        InvoiceRow,
        RowCount
    };
    // The row's flags: which of the period and the project list it needs.
    enum Flag { NeedsPeriod = 1, NeedsProjects = 2 };

    // Sorts the data's items by name for the project list.
    CReportView(ReportingData& reportingData, ReportSettings& settings, SettingsStore& own,
                Prompter& prompter, QWidget* parent = nullptr);

    // The report of the selected row and what it covers; nothing on a separator, or (with the
    // message shown) when the expense report or the invoice has no project selected.
    std::optional<ReportChoice> choose();
    // Writes every setting of the record; false when the store refused any.
    bool writeSettings();

    QListWidget* reportList() const { return m_reports; }
    QListWidget* projectList() const { return m_projects; }
    QDateEdit* fromPicker() const { return m_from; }
    QDateEdit* toPicker() const { return m_to; }
    QLabel* projectLabel() const { return m_projectLabel; }

signals:
    // Enter anywhere on the form.
    void previewRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillReports();
    void fillProjects();
    void rowChanged(int row);
    // A separator row is never left selected, whichever way it was reached.
    void keepRuleUnselected();
    void showFlags(int flags);
    void pickerChanged(bool from);

    ReportingData& m_data;
    ReportSettings& m_settings;
    SettingsStore& m_own;
    Prompter& m_prompter;
    QListWidget* m_reports;
    QLabel* m_fromLabel;
    QDateEdit* m_from;
    QLabel* m_toLabel;
    QDateEdit* m_to;
    QLabel* m_projectLabel;
    QListWidget* m_projects;
    int m_previousRow = -1;
};

} // namespace vsolo::reporting
