#include "reporting/editors.h"

#include "reporting/managers.h"

namespace vsolo::reporting {

void DialogEditors::rates(QWidget* parent) {
    runRatesManager(parent, m_data, m_settings, m_prompter);
}

void DialogEditors::expenses(QWidget* parent) {
    runExpensesManager(parent, m_data, m_settings, m_prompter, m_clock);
}

void DialogEditors::clients(QWidget* parent) {
    runClientsManager(parent, m_data, m_settings, m_prompter);
}

bool DialogEditors::preferences(QWidget* parent) {
    return runPreferences(parent, m_settings, m_own, m_prompter);
}

Terms DialogEditors::terms() const {
    return {QString::fromStdString(m_settings.clientTerm),
            QString::fromStdString(m_settings.rateTerm),
            QString::fromStdString(m_settings.expenseTerm)};
}

} // namespace vsolo::reporting
