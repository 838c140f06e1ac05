#pragma once

// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QDialog>

// The core and data types after the Qt header.
#include "core/base/clock.h"
#include "core/prompter.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportsettings.h"

#include <functional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTreeWidget;

namespace vsolo::reporting {

// One expense's date, amount and description. OK keeps the dialog open while the amount is not
// a number of 0 or more or the description is too long for the reporting file.
class ExpenseDialog final : public QDialog {
    Q_OBJECT
public:
    ExpenseDialog(const ReportSettings& settings, Prompter& prompter, QWidget* parent = nullptr);

    // `date` in seconds since 1970 UTC of a local calendar date.
    void setExpense(std::int32_t date, double amount, const std::string& description);
    // Valid after the dialog was accepted: the local midnight of the chosen date.
    std::int32_t date() const;
    double amount() const { return m_amountValue; }
    std::string description() const;

    QDateEdit* dateField() const { return m_date; }
    QLineEdit* amountField() const { return m_amount; }
    QLineEdit* descriptionField() const { return m_description; }

    void accept() override;

private:
    Prompter& m_prompter;
    double m_amountValue = 0.0;
    QDateEdit* m_date;
    QLineEdit* m_amount;
    QLineEdit* m_description;
};

// The expenses of one project at a time, chosen among the level-1 items; Add (Insert), Edit
// (Enter, double-click) and Delete (Delete key). Every change reaches the data at once; the
// expenses are sorted by date when the dialog closes.
class ExpensesManager final : public QDialog {
    Q_OBJECT
public:
    ExpensesManager(ReportingData& reportingData, const ReportSettings& settings,
                    Prompter& prompter, const Clock& clock, QWidget* parent = nullptr);

    std::function<bool(ExpenseDialog&)> runDialog = [](ExpenseDialog& d) {
        return d.exec() == QDialog::Accepted;
    };

    QComboBox* projects() const { return m_projects; }
    QTreeWidget* list() const { return m_list; }
    void addExpense();
    void editExpense();
    void deleteExpense();

    void done(int result) override;

    // The row texts of an expense's date: as added and listed, and as edited.
    static QString listedDate(std::int32_t date);
    static QString editedDate(std::int32_t date);

private:
    void fill();
    std::int32_t selectedProject() const;
    ExpenseEntry* selectedExpense() const;

    ReportingData& m_data;
    const ReportSettings& m_settings;
    Prompter& m_prompter;
    const Clock& m_clock;
    QComboBox* m_projects;
    QTreeWidget* m_list;
};

} // namespace vsolo::reporting
