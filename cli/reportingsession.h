#pragma once

// What the reporting tool's reports of vsolo-cli read: the template, its transactions and its
// reporting file, the tool's settings and the tracker's level titles, and the period and level-1
// items of the command line. Nothing is ever written.

#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportsettings.h"
#include "reporting/layout/invoice.h"
#include "reporting/layout/reportpages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {

struct Arguments;

// The reporting tool's texts for a report that cannot be shown or printed.
inline constexpr int kNoReportDataId = 61217;
inline constexpr const char* kNoReportDataText =
    "No data for the requested parameters was found.  Report will not be displayed.";
// %s stands for the level-1 title.
inline constexpr int kSelectProjectsId = 61218;
inline constexpr const char* kSelectProjectsText =
    "Please select one or more %s before viewing this report.";
inline constexpr int kPrintFailedId = 61215;
inline constexpr const char* kPrintFailedText =
    "There was an error sending output to the printer.  Check to see that you have paper, your "
    "printer is online, and connected properly.";

std::string selectProjectsText(std::string_view level1Title);

struct ReportingInput {
    reporting::ReportingData data;
    reporting::ReportSettings settings;
    reporting::ReportPeriod period;
    // The group numbers of the --project items, in the order of their names as the tool's list
    // shows them, each once.
    std::vector<std::int32_t> projects;
};

// Reads everything a report needs into `input`: the whole days of --from and --to (each from
// the tool's settings when not given; reversed bounds are exchanged) and the --project items,
// named without regard to case (required when `projectsRequired`). 0 when all was read; else,
// after the messages on standard error, the exit code. A missing reporting file is told and read
// as empty; a damaged or unreadable one, a template that cannot be read and an unknown item
// name end the command.
int readReportingInput(const Arguments& args, bool projectsRequired, const Clock& clock,
                       ReportingInput& input);

// 0 when the tool's tax rate is a number; else, after the message on standard error, the exit
// code: no invoice is made with a tax rate that is not known.
int requireTaxRate(const reporting::ReportSettings& settings);

// The invoice of what was read, after telling on standard error what it does not bill; nothing
// when the transaction file was read in part (damaged, foreign, unreadable), which
// readReportingInput has told: an invoice of part of the time would look complete.
std::optional<reporting::Invoice> invoiceOf(const ReportingInput& input);

} // namespace vsolo
