// vsr TEMPLATE [-o FILE]: the reporting tool's file beside the template, as read, one line per
// entry in file order.

#include "cli/command.h"
#include "cli/output.h"
#include "cli/session.h"
#include "reporting/data/moneytext.h"
#include "reporting/data/reportingdata.h"
#include "reporting/data/reportingfile.h"

#include <ctime>
#include <string>

namespace vsolo {
namespace {

// Dates are stored as seconds since 1970 UTC of a local calendar date: shown in local time.
std::string dateText(std::int32_t seconds) {
    const std::time_t t = seconds;
    std::tm local{};
    char text[32] = {};
    if (::localtime_r(&t, &local) == nullptr ||
        std::strftime(text, sizeof text, "%m/%d/%Y", &local) == 0) {
        return std::to_string(seconds);
    }
    return text;
}

} // namespace

int runVsr(const Arguments& args) {
    reporting::ReportingData data;
    data.setTemplatePath(args.positional[0]);
    reporting::ReportingFileContent content;
    const reporting::ReportingResult read =
        reporting::readReportingFileAt(data.reportingPath(), content);
    if (!read) {
        tellUser(read.message.empty() ? "cannot read " + read.path : read.message);
        return read.what == reporting::ReportingResult::What::Damaged ? kExitDamaged : kExitError;
    }
    std::string out;
    for (const reporting::ExpenseEntry& e : content.expenses) {
        out += "expense\t" + std::to_string(e.projectNumber) + "\t" + std::to_string(e.expenseId) +
               "\t" + dateText(e.date) + "\t" + reporting::moneyText(e.amount) + "\t" +
               escaped(e.description) + "\n";
    }
    for (const reporting::RateEntry& r : content.rates) {
        out += "rate\t" + escaped(r.code) + "\t" + reporting::moneyText(r.amount) + "\t" +
               escaped(r.description) + "\n";
    }
    for (const reporting::ClientEntry& c : content.clients) {
        out += "client\t" + std::to_string(c.clientId) + "\t" + escaped(c.name) + "\n";
    }
    for (const reporting::Assignment& a : content.assignments) {
        out += "assign\t" + std::to_string(a.groupNumber) + "\t" + std::to_string(a.subId) + "\t" +
               escaped(a.rateCode) + "\t" + std::to_string(a.clientId) + "\n";
    }
    return Output(args).writeAll(out) ? 0 : kExitError;
}

} // namespace vsolo
