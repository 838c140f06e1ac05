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
};

// The transactions' error marks, as the tracker sets them day by day: a transaction that is not
// sent is in error when it has no length or ends before it starts, when the next one of its day
// starts before it ends, or when the previous one is sent and ends after it starts. Sent ones
// are never in error. One flag per span, in the spans' order.
std::vector<bool> spanErrors(const std::vector<TimeSpan>& spans);

// The seconds of an item that the invoice bills: the durations of its spans that start within the
// period and are not in error (as marked by spanErrors).
std::int64_t billableSeconds(const ReportingData& data, const std::vector<bool>& errors,
                             std::int32_t groupNumber, std::int32_t subId,
                             const ReportPeriod& period);

Invoice computeInvoice(const ReportingData& data, const ReportPeriod& period,
                       const std::vector<std::int32_t>& projects, double taxPercent);

// h:mm of whole hours and minutes: 5400 gives "1:30", 59 gives "0:00".
std::string hoursText(std::int64_t seconds);

// The invoice as vsolo-cli invoice prints it: one line per printed line, four tab-separated
// columns (name, hours, hourly rate, amount), each line ending in '\n'.
std::string invoiceText(const Invoice& invoice);

} // namespace vsolo::reporting
