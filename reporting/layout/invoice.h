#pragma once

#include "reporting/data/reportingdata.h"
#include "reporting/layout/reportpages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vsolo::reporting {

// The invoice's figures, worked out once for the printed invoice and for vsolo-cli invoice.

// One billed level-2 item.
struct InvoiceItem {
    std::string name;
    std::int64_t seconds = 0; // billable time in the period, > 0
    double rate = 0.0;        // per hour; 0 when the item's code names no rate
    double amount = 0.0;      // unrounded: whole hours and whole minutes at the rate
};

// A selected project with at least one billed item.
struct InvoiceProject {
    std::string name;
    std::vector<InvoiceItem> items;
};

struct Invoice {
    // The selected projects and each one's billed items in the order of the item list sorted by
    // name without regard to case; projects without billed time are left out.
    std::vector<InvoiceProject> projects;
    // The client of the first selected project; empty when it has none.
    std::string soldTo;
    std::int64_t seconds = 0;
    double subtotal = 0.0;
    double taxPercent = 0.0;
    double tax = 0.0;
    double grandTotal() const { return subtotal + tax; }
    // The transactions of the selected projects' level-2 items within the period that bill
    // nothing because they are in error, and the time they record (where it is positive).
    int errorCount = 0;
    std::int64_t errorSeconds = 0;
    // The transaction file ends in a record cut short, which is not billed.
    bool cutShort = false;
};

// The transactions' error marks, as the tracker sets them day by day: a transaction that is not
// sent is in error when it has no length or ends before it starts, when the next one of its day
// starts before it ends, or when the previous one is sent and ends after it starts. Sent ones
// are never in error. One flag per span, in the spans' order.
std::vector<bool> spanErrors(const std::vector<TimeSpan>& spans);

// The time of an item's spans that start within the period: the seconds the invoice bills (of
// the spans not in error, as marked by spanErrors), and the spans in error with their time.
struct ItemTime {
    std::int64_t billed = 0;
    int errorCount = 0;
    std::int64_t errorSeconds = 0;
};

// The caller makes no invoice while data.transactionsProblem() tells why the spans are not whole.
Invoice computeInvoice(const ReportingData& data, const ReportPeriod& period,
                       const std::vector<std::int32_t>& projects, double taxPercent);

// The lines under the totals that tell what was not billed: the transactions in error, a record
// cut short at the end of the transaction file; none when nothing was left out. In the user's
// language, as the invoice's other words.
std::vector<std::string> invoiceNotices(const Invoice& invoice);

// h:mm of whole hours and minutes: 5400 gives "1:30", 59 gives "0:00".
std::string hoursText(std::int64_t seconds);

// The invoice as vsolo-cli invoice prints it: one line per printed line, the notices too, four
// tab-separated columns (name, hours, hourly rate, amount), each line ending in '\n'.
std::string invoiceText(const Invoice& invoice);

} // namespace vsolo::reporting
