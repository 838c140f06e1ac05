#pragma once

// moc cannot read the C++20 <compare> of the core headers unless a Qt header comes first.
#include <QDialog>

// The core and data types after the Qt header.
#include "core/prompter.h"
#include "core/settingsstore.h"
#include "reporting/data/reportsettings.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vsolo::reporting {

// The invoice's address, tax and terms and the tool's three terms. Apply and OK store the fields
// in the settings and write them to the tool's own store; Apply is enabled while a field differs
// from what was last stored. Cancel keeps what was stored before.
class PreferencesDialog final : public QDialog {
    Q_OBJECT
public:
    // Terms longer than this are refused.
    static constexpr int kTermLimit = 20;

    PreferencesDialog(ReportSettings& settings, SettingsStore& own, Prompter& prompter,
                      QWidget* parent = nullptr);

    // Takes and stores the fields; false, with the field refused named, when one is invalid.
    bool apply();
    void accept() override;
    bool anythingStored() const { return m_stored; }

    QLineEdit* companyField() const { return m_company; }
    QLineEdit* streetField() const { return m_street; }
    QLineEdit* cityField() const { return m_city; }
    QLineEdit* stateField() const { return m_state; }
    QLineEdit* zipField() const { return m_zip; }
    QLineEdit* taxField() const { return m_tax; }
    QPlainTextEdit* soldToField() const { return m_soldTo; }
    QLineEdit* termsField() const { return m_terms; }
    QLineEdit* clientTermField() const { return m_clientTerm; }
    QLineEdit* expenseTermField() const { return m_expenseTerm; }
    QLineEdit* rateTermField() const { return m_rateTerm; }
    QPushButton* applyButton() const { return m_apply; }

private:
    void load();
    QLineEdit* lineField();

    ReportSettings& m_settings;
    SettingsStore& m_own;
    Prompter& m_prompter;
    bool m_stored = false;
    QLineEdit* m_company;
    QLineEdit* m_street;
    QLineEdit* m_city;
    QLineEdit* m_state;
    QLineEdit* m_zip;
    QLineEdit* m_tax;
    QPlainTextEdit* m_soldTo;
    QLineEdit* m_terms;
    QLineEdit* m_clientTerm;
    QLineEdit* m_expenseTerm;
    QLineEdit* m_rateTerm;
    QPushButton* m_apply;
};

// Tells the user of a stored tax rate that is not a number; called once, at start.
void warnOfUnreadableTax(const ReportSettings& settings, Prompter& prompter);

} // namespace vsolo::reporting
