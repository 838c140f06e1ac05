// Reads reporting files. A file that reads is written again; that file must read back to the same
// lists (amounts bit for bit) and be written to the same bytes once more.
#include "fuzz/fuzzinput.h"
#include "reporting/data/reportingfile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace vsolo::reporting;
using vsolo::fuzz::require;

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool same(const ReportingFileContent& a, const ReportingFileContent& b) {
    if (a.expenses.size() != b.expenses.size() || a.rates.size() != b.rates.size() ||
        a.clients.size() != b.clients.size() || a.assignments.size() != b.assignments.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.expenses.size(); ++i) {
        const ExpenseEntry &x = a.expenses[i], &y = b.expenses[i];
        if (x.projectNumber != y.projectNumber || x.expenseId != y.expenseId ||
            x.reserved != y.reserved || x.date != y.date || !sameBits(x.amount, y.amount) ||
            x.description != y.description) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.rates.size(); ++i) {
        const RateEntry &x = a.rates[i], &y = b.rates[i];
        if (x.code != y.code || !sameBits(x.amount, y.amount) || x.description != y.description) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.clients.size(); ++i) {
        if (a.clients[i].clientId != b.clients[i].clientId ||
            a.clients[i].name != b.clients[i].name) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.assignments.size(); ++i) {
        const Assignment &x = a.assignments[i], &y = b.assignments[i];
        if (x.groupNumber != y.groupNumber || x.subId != y.subId || x.rateCode != y.rateCode ||
            x.clientId != y.clientId) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReportingFileContent read;
    std::string detail;
    if (!decodeReportingFile(bytes, read, detail)) {
        require(!detail.empty() && read.expenses.empty() && read.rates.empty() &&
                read.clients.empty() && read.assignments.empty());
        return 0;
    }
    std::string written;
    if (!encodeReportingFile(read, written, detail)) {
        // Windows-1252 texts grow in UTF-8 and may no longer fit the reader's buffer.
        require(!detail.empty() && written.empty());
        return 0;
    }
    ReportingFileContent again;
    require(decodeReportingFile(written, again, detail) && same(read, again));
    std::string rewritten;
    require(encodeReportingFile(again, rewritten, detail) && rewritten == written);
    return 0;
}
