// invoice [--from M/D/YYYY] [--to M/D/YYYY] --project NAME... TEMPLATE [-o FILE]: the reporting
// tool's invoice of the named level-1 items, as text (see invoiceText).

#include "cli/command.h"
#include "cli/output.h"
#include "cli/reportingsession.h"
#include "reporting/layout/invoice.h"

namespace vsolo {

int runInvoice(const Arguments& args) {
    ReportingInput input;
    if (const int failed = readReportingInput(args, true, systemClock(), input); failed != 0) {
        return failed;
    }
    if (const int failed = requireTaxRate(input.settings); failed != 0) {
        return failed;
    }
    const reporting::Invoice invoice = reporting::computeInvoice(
        input.data, input.period, input.projects, input.settings.taxPercent);
    return Output(args).writeAll(reporting::invoiceText(invoice)) ? 0 : kExitError;
}

} // namespace vsolo
