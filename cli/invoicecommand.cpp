// invoice [--from M/D/YYYY] [--to M/D/YYYY] --project NAME... TEMPLATE [-o FILE]: the reporting
// tool's invoice of the named level-1 items, as text (see invoiceText).

#include "cli/command.h"
#include "cli/output.h"
#include "cli/reportingsession.h"
#include "cli/session.h"
#include "reporting/layout/invoice.h"

namespace vsolo {

std::optional<reporting::Invoice> invoiceOf(const ReportingInput& input) {
    if (!input.data.transactionsProblem().empty()) {
        return std::nullopt;
    }
    reporting::Invoice invoice = reporting::computeInvoice(input.data, input.period, input.projects,
                                                           input.settings.taxPercent);
    for (const std::string& notice : reporting::invoiceNotices(invoice)) {
        tellUser(notice);
    }
    return invoice;
}

int runInvoice(const Arguments& args) {
    ReportingInput input;
    if (const int failed = readReportingInput(args, true, systemClock(), input); failed != 0) {
        return failed;
    }
    if (const int failed = requireTaxRate(input.settings); failed != 0) {
        return failed;
    }
    const std::optional<reporting::Invoice> invoice = invoiceOf(input);
    if (!invoice) {
        return kExitError;
    }
    return Output(args).writeAll(reporting::invoiceText(*invoice)) ? 0 : kExitError;
}

} // namespace vsolo
