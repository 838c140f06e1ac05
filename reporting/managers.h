#pragma once

#include "reporting/data/reportsettings.h"

class QWidget;

namespace vsolo {
class Prompter;
}

namespace vsolo::reporting {

class ReportingData;

// The main form opens the tool's editors through these calls. Each runs its dialog modally over
// `parent` and returns when it is closed; the managers change `data` as the user works, so the
// caller only has to set the document modified and refill its lists afterwards. The rates
// manager leaves the rates in its own order; the expenses manager sorts the expenses by date and
// the clients manager the clients by name before they return.
void runRatesManager(QWidget* parent, ReportingData& data, const ReportSettings& settings,
                     Prompter& prompter);
// New expenses are dated `clock`'s today.
void runExpensesManager(QWidget* parent, ReportingData& data, const ReportSettings& settings,
                        Prompter& prompter, const Clock& clock);
void runClientsManager(QWidget* parent, ReportingData& data, const ReportSettings& settings,
                       Prompter& prompter);

// The preferences dialog: on Apply or OK the fields are stored in `settings` and written to `own`
// (the tool's store; the tracker's is never written). True when anything was stored, so that the
// caller retitles its labels and menus with the terms.
bool runPreferences(QWidget* parent, ReportSettings& settings, SettingsStore& own,
                    Prompter& prompter);

} // namespace vsolo::reporting
