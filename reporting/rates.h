#pragma once

// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QDialog>

// The core and data types after the Qt header.
#include "core/prompter.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportsettings.h"

#include <functional>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vsolo::reporting {

// One rate's code, amount per hour and description. OK keeps the dialog open while the amount
// is not a number of 0 or more, the code is empty, another rate has the same code (compared
// exactly; the rate at `editedIndex`, none for a new rate, does not count), or a text is too long
// for the reporting file.
class RateDialog final : public QDialog {
    Q_OBJECT
public:
    RateDialog(const ReportSettings& settings, const std::vector<RateEntry>& rates,
               std::optional<std::size_t> editedIndex, Prompter& prompter,
               QWidget* parent = nullptr);

    void setRate(const RateEntry& rate);
    // The rate as entered; valid after the dialog was accepted.
    const RateEntry& rate() const { return m_rate; }

    QLineEdit* codeField() const { return m_code; }
    QLineEdit* amountField() const { return m_amount; }
    QLineEdit* descriptionField() const { return m_description; }

    void accept() override;

private:
    const ReportSettings& m_settings;
    const std::vector<RateEntry>& m_rates;
    std::optional<std::size_t> m_editedIndex;
    Prompter& m_prompter;
    RateEntry m_rate;
    QLineEdit* m_code;
    QLineEdit* m_amount;
    QLineEdit* m_description;
};

// The list of rates in order of their codes, with Add (Insert), Edit (Enter, double-click) and
// Delete (Delete key). Every change reaches the data at once. A code changed by Edit is carried to
// the items that named the old one when the user says so.
class RatesManager final : public QDialog {
    Q_OBJECT
public:
    RatesManager(ReportingData& reportingData, const ReportSettings& settings, Prompter& prompter,
                 QWidget* parent = nullptr);

    // How the rate dialog is run; tests replace it to fill the fields and press OK.
    std::function<bool(RateDialog&)> runDialog = [](RateDialog& d) {
        return d.exec() == QDialog::Accepted;
    };

    QTreeWidget* list() const { return m_list; }
    void addRate();
    void editRate();
    void deleteRate();

private:
    void fill(std::optional<std::size_t> selectIndex);
    // When no rate has `oldCode` any more, asks whether the items naming it take `newCode`, and
    // gives it to them on Yes.
    void carryCode(const std::string& oldCode, const std::string& newCode);
    std::optional<std::size_t> selectedIndex() const;

    ReportingData& m_data;
    const ReportSettings& m_settings;
    Prompter& m_prompter;
    QTreeWidget* m_list;
};

} // namespace vsolo::reporting
