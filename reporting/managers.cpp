#include "reporting/managers.h"

#include "reporting/clients.h"
#include "reporting/expenses.h"
#include "reporting/preferences.h"
#include "reporting/rates.h"

namespace vsolo::reporting {

void runRatesManager(QWidget* parent, ReportingData& data, const ReportSettings& settings,
                     Prompter& prompter) {
    RatesManager(data, settings, prompter, parent).exec();
}

void runExpensesManager(QWidget* parent, ReportingData& data, const ReportSettings& settings,
                        Prompter& prompter, const Clock& clock) {
    ExpensesManager(data, settings, prompter, clock, parent).exec();
}

void runClientsManager(QWidget* parent, ReportingData& data, const ReportSettings& settings,
                       Prompter& prompter) {
    ClientsManager(data, settings, prompter, parent).exec();
}

bool runPreferences(QWidget* parent, ReportSettings& settings, SettingsStore& own,
                    Prompter& prompter) {
    PreferencesDialog dialog(settings, own, prompter, parent);
    dialog.exec();
    return dialog.anythingStored();
}

} // namespace vsolo::reporting
