#include "reporting/layout/invoice.h"

#include "core/base/namecompare.h"
#include "core/base/placeholders.h"
#include "core/base/usertext.h"
#include "reporting/data/moneytext.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unordered_map>

namespace vsolo::reporting {

namespace {

// What an invoice did not bill: %1 stands for the number of transactions in error, %2 for their
// hours.
constexpr const char* kInErrorOne =
    VSOLO_TR("Not billed because in error: %1 transaction, %2 hours");
constexpr const char* kInErrorMany =
    VSOLO_TR("Not billed because in error: %1 transactions, %2 hours");
constexpr const char* kCutShort =
    VSOLO_TR("Not billed: a record cut short at the end of the transaction file");

std::int64_t spanEnd(const TimeSpan& span) {
    return std::int64_t{span.start} + span.duration;
}

const TemplateItem* level1Item(const ReportingData& data, std::int32_t groupNumber) {
    for (const TemplateItem& item : data.items()) {
        if (item.level == 1 && item.groupNumber == groupNumber) {
            return &item;
        }
    }
    return nullptr;
}

double rateOf(const ReportingData& data, const std::string& code) {
    if (code.empty()) {
        return 0.0;
    }
    for (const RateEntry& rate : data.rates()) {
        if (rate.code == code) {
            return rate.amount;
        }
    }
    return 0.0;
}

std::string clientName(const ReportingData& data, std::int32_t clientId) {
    if (clientId == 0) {
        return {};
    }
    for (const ClientEntry& client : data.clients()) {
        if (client.clientId == clientId) {
            return client.name;
        }
    }
    return {};
}

} // namespace

std::vector<bool> spanErrors(const std::vector<TimeSpan>& spans) {
    // Each day's spans by start, then by end, ties in file order: one stable sort by (day,
    // start, end) does it, and none is needed when the file already has that order, as the
    // tracker writes it.
    const auto before = [&spans](std::size_t a, std::size_t b) {
        const TimeSpan& x = spans[a];
        const TimeSpan& y = spans[b];
        if (x.date != y.date) {
            return x.date < y.date;
        }
        if (x.start != y.start) {
            return x.start < y.start;
        }
        return spanEnd(x) < spanEnd(y);
    };
    bool inOrder = true;
    for (std::size_t i = 1; i < spans.size() && inOrder; ++i) {
        inOrder = !before(i, i - 1);
    }
    std::vector<std::size_t> order;
    if (!inOrder) {
        order.resize(spans.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), before);
    }
    const auto at = [&](std::size_t k) -> const TimeSpan& { return spans[inOrder ? k : order[k]]; };
    std::vector<bool> errors(spans.size(), false);
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const TimeSpan& span = at(k);
        if (span.sent != 0) {
            continue;
        }
        bool wrong = span.duration <= 0;
        if (k + 1 < spans.size()) {
            const TimeSpan& next = at(k + 1);
            if (next.date == span.date && next.start < spanEnd(span)) {
                wrong = true;
            }
        }
        if (k > 0) {
            const TimeSpan& previous = at(k - 1);
            if (previous.date == span.date && previous.sent != 0 &&
                spanEnd(previous) > span.start) {
                wrong = true;
            }
        }
        errors[inOrder ? k : order[k]] = wrong;
    }
    return errors;
}

namespace {

void addSpanTime(ItemTime& time, const TimeSpan& span, bool inError) {
    if (inError) {
        ++time.errorCount;
        time.errorSeconds += std::max(span.duration, 0);
    } else if (span.duration > 0) {
        time.billed += span.duration;
    }
}

bool startsWithin(const TimeSpan& span, const ReportPeriod& period) {
    return span.start >= period.start && span.start <= period.end;
}

std::uint64_t itemKey(std::int32_t groupNumber, std::int32_t subId) {
    return std::uint64_t{static_cast<std::uint32_t>(groupNumber)} << 32 |
           static_cast<std::uint32_t>(subId);
}

} // namespace

Invoice computeInvoice(const ReportingData& data, const ReportPeriod& period,
                       const std::vector<std::int32_t>& projects, double taxPercent) {
    Invoice invoice;
    invoice.taxPercent = taxPercent;
    invoice.cutShort = data.transactionsCutShort();
    const std::vector<TemplateItem>& items = data.items();
    if (!projects.empty()) {
        if (const TemplateItem* first = level1Item(data, projects.front())) {
            invoice.soldTo = clientName(data, first->clientId);
        }
    }
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&items](std::size_t a, std::size_t b) {
        return compareNames(items[a].name, items[b].name) < 0;
    });
    // The billed items' times, in one pass over the spans. Items that share a key, as in a
    // damaged template, each bill that key's time, as they always have.
    std::unordered_map<std::uint64_t, ItemTime> times;
    for (const TemplateItem& item : items) {
        if (item.level == 2 &&
            std::find(projects.begin(), projects.end(), item.groupNumber) != projects.end()) {
            times.try_emplace(itemKey(item.groupNumber, item.subId));
        }
    }
    if (!times.empty()) {
        const std::vector<TimeSpan>& spans = data.spans();
        const std::vector<bool> errors = spanErrors(spans);
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const TimeSpan& span = spans[i];
            if (!startsWithin(span, period)) {
                continue;
            }
            const auto found = times.find(itemKey(span.groupNumber, span.subId));
            if (found != times.end()) {
                addSpanTime(found->second, span, errors[i]);
            }
        }
    }
    for (const std::size_t index : order) {
        const TemplateItem& project = items[index];
        if (project.level != 1 ||
            std::find(projects.begin(), projects.end(), project.groupNumber) == projects.end()) {
            continue;
        }
        InvoiceProject billed;
        billed.name = project.name;
        for (const std::size_t at : order) {
            const TemplateItem& item = items[at];
            if (item.level != 2 || item.groupNumber != project.groupNumber) {
                continue;
            }
            const ItemTime& time = times.at(itemKey(item.groupNumber, item.subId));
            invoice.errorCount += time.errorCount;
            invoice.errorSeconds += time.errorSeconds;
            const std::int64_t s = time.billed;
            if (s == 0) {
                continue;
            }
            InvoiceItem line;
            line.name = item.name;
            line.seconds = s;
            line.rate = rateOf(data, item.rateCode);
            const double hours = static_cast<double>(s / 3600);
            const double minutes = static_cast<double>((s % 3600) / 60);
            line.amount = minutes * (line.rate * 0.016666666666666666) + line.rate * hours;
            invoice.seconds += s;
            invoice.subtotal += line.amount;
            billed.items.push_back(std::move(line));
        }
        if (!billed.items.empty()) {
            invoice.projects.push_back(std::move(billed));
        }
    }
    invoice.tax = taxPercent * 0.01 * invoice.subtotal;
    return invoice;
}

std::string hoursText(std::int64_t seconds) {
    const std::int64_t s = std::max<std::int64_t>(seconds, 0);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>((s % 3600) / 60));
    return buffer;
}

std::vector<std::string> invoiceNotices(const Invoice& invoice) {
    std::vector<std::string> notices;
    if (invoice.errorCount > 0) {
        notices.push_back(fillPlaceholders(
            tx(invoice.errorCount == 1 ? kInErrorOne : kInErrorMany),
            {std::to_string(invoice.errorCount), hoursText(invoice.errorSeconds)}));
    }
    if (invoice.cutShort) {
        notices.push_back(tx(kCutShort));
    }
    return notices;
}

std::string invoiceText(const Invoice& invoice) {
    std::string text;
    for (const InvoiceProject& project : invoice.projects) {
        text += project.name + "\t\t\t\n";
        for (const InvoiceItem& item : project.items) {
            text += item.name + "\t" + hoursText(item.seconds) + "\t" + moneyText(item.rate, "$") +
                    "\t" + moneyText(item.amount, "$") + "\n";
        }
    }
    text += "Total\t\t\t" + moneyText(invoice.subtotal, "$") + "\n";
    text +=
        "Tax  (" + moneyText(invoice.taxPercent) + "%)\t\t\t" + moneyText(invoice.tax, "$") + "\n";
    text += "Grand Total\t" + hoursText(invoice.seconds) + "\t\t" +
            moneyText(invoice.grandTotal(), "$") + "\n";
    for (const std::string& notice : invoiceNotices(invoice)) {
        text += notice + "\t\t\t\n";
    }
    return text;
}

} // namespace vsolo::reporting
