#include "reporting/layout/reportpages.h"

#include "core/base/namecompare.h"
#include "core/base/placeholders.h"
#include "core/base/usertext.h"
#include "reporting/data/moneytext.h"
#include "reporting/layout/invoice.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <numeric>

namespace vsolo::reporting {

namespace {

// The reports' own words. %1 of a title or a heading stands for a term or a level title of the
// settings; titles and those headings are uppercased as they are placed.
constexpr const char* kListTitle = VSOLO_TR("%1 List");
constexpr const char* kInvoiceTitle = VSOLO_TR("INVOICE");
constexpr const char* kNameHeading = VSOLO_TR("%1 NAME");
constexpr const char* kDefaultRateHeading = VSOLO_TR("DEFAULT RATE");
constexpr const char* kCodeHeading = VSOLO_TR("CODE");
constexpr const char* kRateHeading = VSOLO_TR("RATE");
constexpr const char* kDescriptionHeading = VSOLO_TR("DESCRIPTION");
constexpr const char* kDateHeading = VSOLO_TR("DATE");
constexpr const char* kAmountHeading = VSOLO_TR("AMOUNT");
constexpr const char* kHoursHeading = VSOLO_TR("HOURS WORKED");
constexpr const char* kHourlyRateHeading = VSOLO_TR("HOURLY RATE");
constexpr const char* kTotalHeading = VSOLO_TR("TOTAL");
constexpr const char* kReportingPeriod = VSOLO_TR("REPORTING PERIOD");
// %1 stands for a date; the blanks line the two dates of a report up.
constexpr const char* kListFrom = VSOLO_TR("FROM:  %1");
constexpr const char* kListTo = VSOLO_TR("TO:       %1");
constexpr const char* kInvoiceFrom = VSOLO_TR("FROM: %1");
constexpr const char* kInvoiceTo = VSOLO_TR("TO:      %1");
// %1 stands for the client, or the terms of the settings.
constexpr const char* kSoldTo = VSOLO_TR("SOLD TO: %1");
constexpr const char* kTerms = VSOLO_TR("Terms:  %1");
constexpr const char* kTotal = VSOLO_TR("Total");
constexpr const char* kGrandTotal = VSOLO_TR("Grand Total");
// %1 stands for the tax rate in percent.
constexpr const char* kTax = VSOLO_TR("Tax  (%1%%)");
constexpr const char* kPageOf = VSOLO_TR("Page %1 of %2");

// A report's text with the values filled in, in the user's language.
std::string filled(const char* pattern, std::initializer_list<std::string_view> values) {
    return fillPlaceholders(tx(pattern), values);
}

std::int32_t clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::tm localDate(std::int64_t seconds) {
    const std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        local = std::tm{};
        local.tm_year = 70;
        local.tm_mday = 1;
        local.tm_wday = 4;
    }
    return local;
}

std::int64_t localMomentOf(std::tm date, int hour, int minute, int second) {
    date.tm_hour = hour;
    date.tm_min = minute;
    date.tm_sec = second;
    date.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&date));
}

} // namespace

int PageGeometry::rowsPerPage(ReportKind kind) const {
    const int rows = (bodyTop(kind) - footerLine()) / kLineHeight;
    return rows - (kind == ReportKind::Expenses ? 4 : 3);
}

ReportPeriod wholeDays(std::int64_t fromTime, std::int64_t toTime) {
    // The moments are brought into the 32-bit range first, so that a day is always found.
    return {clamp32(localMomentOf(localDate(clamp32(fromTime)), 0, 0, 0)),
            clamp32(localMomentOf(localDate(clamp32(toTime)), 23, 59, 59))};
}

std::string longDateText(std::int64_t seconds) {
    static constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};
    const std::tm date = localDate(seconds);
    char day[16];
    std::snprintf(day, sizeof day, "%02d", date.tm_mday);
    return std::string(kDays[date.tm_wday % 7]) + ", " + kMonths[date.tm_mon % 12] + " " + day +
           ", " + std::to_string(date.tm_year + 1900);
}

namespace {

// One cell of a body row; the row's top is given when the row is placed on a page.
struct Cell {
    int left = 0;
    int right = 0;
    std::string text;
    PageAlign align = PageAlign::Left;
};
using Row = std::vector<Cell>;

int truncated(double value) {
    return static_cast<int>(value);
}

// Headings and titles are uppercased in ASCII only: other letters keep their case rather than
// be changed byte by byte in a UTF-8 text.
std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

std::string numbered(std::size_t number, std::string_view gap, const std::string& text) {
    return std::to_string(number) + ")" + std::string(gap) + text;
}

std::string shortDateText(std::int64_t seconds) {
    const std::tm date = localDate(seconds);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.tm_mon + 1, date.tm_mday,
                  date.tm_year + 1900);
    return buffer;
}

const TemplateItem* level1Item(const ReportingData& data, std::int32_t groupNumber) {
    for (const TemplateItem& item : data.items()) {
        if (item.level == 1 && item.groupNumber == groupNumber) {
            return &item;
        }
    }
    return nullptr;
}

std::string clientName(const ReportingData& data, std::int32_t clientId) {
    if (clientId != 0) {
        for (const ClientEntry& client : data.clients()) {
            if (client.clientId == clientId) {
                return client.name;
            }
        }
    }
    return {};
}

void place(ReportPage& page, const Row& row, int top, PageFont font = PageFont::Body) {
    for (const Cell& cell : row) {
        page.texts.push_back({cell.left, cell.right, top, cell.text, cell.align, font});
    }
}

void addText(ReportPage& page, int left, int right, int top, std::string text,
             PageAlign align = PageAlign::Left, PageFont font = PageFont::Body) {
    page.texts.push_back({left, right, top, std::move(text), align, font});
}

void addTitle(ReportPage& page, const PageGeometry& g, const std::string& title) {
    addText(page, 0, g.width, -29, upper(title), PageAlign::Centre, PageFont::Title);
}

// The rounded box of the column headings, three lines high from `top`, the headings one line
// below its top.
void addHeadingBox(ReportPage& page, const PageGeometry& g, int top, const Row& headings) {
    page.frames.push_back({30, top, g.width - 30, top - 3 * kLineHeight, 40, 2});
    place(page, headings, top - kLineHeight);
}

void addListHeader(ReportPage& page, const PageGeometry& g, const std::string& title,
                   const ReportPeriod& period, const Row& headings) {
    addTitle(page, g, title);
    int y = -29 - 2 * kLineHeight;
    addText(page, 50, g.width - 50, y, tx(kReportingPeriod));
    y -= kLineHeight;
    addText(page, 60, g.width - 50, y, filled(kListFrom, {longDateText(period.start)}));
    y -= kLineHeight;
    addText(page, 60, g.width - 50, y, filled(kListTo, {longDateText(period.end)}));
    addHeadingBox(page, g, y - 2 * kLineHeight, headings);
}

void addFooters(std::vector<ReportPage>& pages, const PageGeometry& g, std::int64_t today) {
    const std::string date = longDateText(today);
    const std::string count = std::to_string(pages.size());
    for (std::size_t k = 0; k < pages.size(); ++k) {
        ReportPage& page = pages[k];
        addText(page, 50, g.width / 2, g.footerLine(), date);
        addText(page, g.width / 2, g.width - 50, g.footerLine(),
                filled(kPageOf, {std::to_string(k + 1), count}), PageAlign::Right);
    }
}

// The list reports: a title, the headings and rows, R rows a page.
struct ListReport {
    std::string title;
    Row headings;
    std::vector<Row> rows;
};

ListReport clientList(const ReportingData& data, const ReportSettings& s, int width) {
    ListReport report{filled(kListTitle, {s.clientTerm}),
                      {{50, width - 50, upper(filled(kNameHeading, {s.clientTerm}))}},
                      {}};
    std::size_t number = 0;
    for (const ClientEntry& client : data.clients()) {
        report.rows.push_back({{50, width - 50, numbered(++number, "  ", client.name)}});
    }
    return report;
}

std::vector<std::size_t> itemsByName(const ReportingData& data) {
    const std::vector<TemplateItem>& items = data.items();
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&items](std::size_t a, std::size_t b) {
        return compareNames(items[a].name, items[b].name) < 0;
    });
    return order;
}

ListReport projectList(const ReportingData& data, const ReportSettings& s, int width) {
    const int w = width - 100;
    const int c1 = truncated(50 + 0.465 * w);
    const int c2 = truncated(c1 + 0.33 * w);
    ListReport report{filled(kListTitle, {s.level1Title}),
                      {{50, c1, upper(filled(kNameHeading, {s.level1Title}))},
                       {c1, c2, upper(filled(kNameHeading, {s.clientTerm}))},
                       {c2, width - 50, tx(kDefaultRateHeading)}},
                      {}};
    std::size_t number = 0;
    for (const std::size_t index : itemsByName(data)) {
        const TemplateItem& item = data.items()[index];
        if (item.level != 1) {
            continue;
        }
        report.rows.push_back({{50, c1, numbered(++number, " ", item.name)},
                               {c1, c2, clientName(data, item.clientId)},
                               {c2, width - 50, item.rateCode}});
    }
    return report;
}

ListReport rateList(const ReportingData& data, const ReportSettings& s, int width) {
    const int w = width - 100;
    const int c1 = truncated(50 + 0.27 * w);
    const int c2 = truncated(c1 + 0.2 * w);
    ListReport report{filled(kListTitle, {s.rateTerm}),
                      {{50, c1, tx(kCodeHeading)},
                       {c1, c2 - 30, tx(kRateHeading), PageAlign::Right},
                       {c2, width - 50, tx(kDescriptionHeading)}},
                      {}};
    std::size_t number = 0;
    for (const RateEntry& rate : data.rates()) {
        report.rows.push_back({{50, c1, numbered(++number, " ", rate.code)},
                               {c1, c2 - 30, moneyText(rate.amount), PageAlign::Right},
                               {c2, width - 50, rate.description}});
    }
    return report;
}

std::vector<ReportPage> layoutList(const ListReport& report, const ReportRequest& request,
                                   const PageGeometry& g) {
    std::vector<ReportPage> pages;
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, g.rowsPerPage(request.kind)));
    for (std::size_t first = 0; first < report.rows.size(); first += perPage) {
        ReportPage& page = pages.emplace_back();
        addListHeader(page, g, report.title, request.period, report.headings);
        const std::size_t last = std::min(report.rows.size(), first + perPage);
        for (std::size_t i = first; i < last; ++i) {
            place(page, report.rows[i],
                  g.bodyTop(request.kind) - static_cast<int>(i - first) * kLineHeight);
        }
    }
    return pages;
}

std::vector<ReportPage> layoutExpenses(const ReportingData& data, const ReportRequest& request,
                                       const PageGeometry& g) {
    const ReportSettings& s = request.settings;
    const int width = g.width;
    const int w = width - 100;
    const int c1 = truncated(50 + 0.35 * w);
    const int c2 = truncated(c1 + 0.15 * w);
    const int c3 = truncated(c2 + 0.15 * w);
    ListReport report{filled(kListTitle, {s.expenseTerm}),
                      {{50, c1, upper(filled(kNameHeading, {s.level1Title}))},
                       {c1, c2, tx(kDateHeading)},
                       {c2, c3 - 10, tx(kAmountHeading), PageAlign::Right},
                       {c3, width - 50, tx(kDescriptionHeading)}},
                      {}};
    const std::vector<ExpenseEntry>& expenses = data.expenses();
    std::vector<std::size_t> byDate(expenses.size());
    std::iota(byDate.begin(), byDate.end(), std::size_t{0});
    std::stable_sort(byDate.begin(), byDate.end(), [&expenses](std::size_t a, std::size_t b) {
        return expenses[a].date < expenses[b].date;
    });
    std::vector<double> amounts;
    std::vector<std::int32_t> seen;
    for (const std::int32_t group : request.projects) {
        // A project picked twice still lists its expenses once.
        if (std::find(seen.begin(), seen.end(), group) != seen.end()) {
            continue;
        }
        seen.push_back(group);
        const TemplateItem* project = level1Item(data, group);
        const std::string name = project != nullptr ? project->name : std::string();
        for (const std::size_t index : byDate) {
            const ExpenseEntry& expense = expenses[index];
            if (expense.projectNumber != group || expense.date < request.period.start ||
                expense.date > request.period.end) {
                continue;
            }
            report.rows.push_back({{50, c1, name},
                                   {c1, c2, shortDateText(expense.date)},
                                   {c2, c3 - 10, moneyText(expense.amount, "$ "), PageAlign::Right},
                                   {c3, width - 50, expense.description}});
            amounts.push_back(expense.amount);
        }
    }
    std::vector<ReportPage> pages = layoutList(report, request, g);
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, g.rowsPerPage(request.kind)));
    double reportTotal = 0.0;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        const std::size_t first = k * perPage;
        const std::size_t last = std::min(amounts.size(), first + perPage);
        double pageTotal = 0.0;
        for (std::size_t i = first; i < last; ++i) {
            pageTotal += amounts[i];
            reportTotal += amounts[i];
        }
        const bool final = k + 1 == pages.size();
        const int y = g.bodyTop(request.kind) - static_cast<int>(last - first) * kLineHeight;
        ReportPage& page = pages[k];
        page.lines.push_back({c2 + 20, y, c3 - 10, y, 0});
        addText(page, 80, c2, y - 3, tx(final ? kGrandTotal : kTotal), PageAlign::Left,
                PageFont::Totals);
        addText(page, c2, c3 - 10, y - 3, moneyText(final ? reportTotal : pageTotal, "$"),
                PageAlign::Right, PageFont::Totals);
        if (final) {
            page.lines.push_back({c2 + 20, y - kLineHeight, c3 - 10, y - kLineHeight, 0});
            page.lines.push_back({c2 + 20, y - kLineHeight - 2, c3 - 10, y - kLineHeight - 2, 0});
        }
    }
    return pages;
}

// The invoice's column edges.
struct InvoiceColumns {
    int h = 0;
    int r = 0;
    int a = 0;
    int end = 0;
    explicit InvoiceColumns(int width)
        : h(truncated(50 + 0.35 * (width - 100))), r(truncated(h + 0.2 * (width - 100))),
          a(truncated(r + 0.15 * (width - 100))), end(width - 100) {}
};

// The continuation pages of the invoice have their body here, below the box of headings.
constexpr int kInvoiceFollowTop = -160;

std::vector<ReportPage> layoutInvoice(const ReportingData& data, const ReportRequest& request,
                                      const PageGeometry& g) {
    const ReportSettings& s = request.settings;
    const Invoice invoice = computeInvoice(data, request.period, request.projects, s.taxPercent);
    const InvoiceColumns c(g.width);
    const Row headings = {{50, c.h, upper(s.level1Title + "/" + s.level2Title)},
                          {c.h, c.r - 20, tx(kHoursHeading), PageAlign::Right},
                          {c.r, c.a - 10, tx(kHourlyRateHeading), PageAlign::Right},
                          {c.a, c.end, tx(kTotalHeading), PageAlign::Right}};

    // The rows; a project's name row is flagged so that it never ends a page.
    std::vector<Row> rows;
    std::vector<bool> isName;
    for (const InvoiceProject& project : invoice.projects) {
        rows.push_back({{50, c.h, project.name}});
        isName.push_back(true);
        for (const InvoiceItem& item : project.items) {
            rows.push_back({{70, c.h, item.name},
                            {c.h, c.r - 20, hoursText(item.seconds), PageAlign::Right},
                            {c.r, c.a, moneyText(item.rate, "$"), PageAlign::Right},
                            {c.a, c.end, moneyText(item.amount, "$"), PageAlign::Right}});
            isName.push_back(false);
        }
    }

    const int firstRows = std::max(2, g.rowsPerPage(ReportKind::Invoice));
    const int followRows = std::max(2, (kInvoiceFollowTop - g.footerLine()) / kLineHeight - 3);
    std::vector<ReportPage> pages;
    auto newPage = [&]() -> ReportPage& {
        ReportPage& page = pages.emplace_back();
        if (pages.size() == 1) {
            addTitle(page, g, tx(kInvoiceTitle));
            int y = -29 - 2 * kLineHeight;
            addText(page, 0, g.width, y, s.company, PageAlign::Centre);
            y -= kLineHeight;
            addText(page, 0, g.width, y, s.street, PageAlign::Centre);
            y -= kLineHeight;
            addText(page, 0, g.width, y, s.city + ", " + s.state + "  " + s.zip, PageAlign::Centre);
            y -= 4 * kLineHeight;
            addText(page, 50, g.width / 2, y, filled(kSoldTo, {invoice.soldTo}));
            addText(page, g.width / 2, g.width - 50, y, tx(kReportingPeriod));
            y -= kLineHeight;
            addText(page, g.width / 2 + 10, g.width - 50, y,
                    filled(kInvoiceFrom, {longDateText(request.period.start)}));
            addText(page, g.width / 2 + 10, g.width - 50, y - kLineHeight,
                    filled(kInvoiceTo, {longDateText(request.period.end)}));
            // The sold-to text breaks at its own line breaks only, six lines at most.
            std::string_view rest = s.soldTo;
            for (int line = 0; line < 6 && !rest.empty(); ++line) {
                const std::size_t cut = rest.find('\n');
                std::string_view text = rest.substr(0, cut);
                if (!text.empty() && text.back() == '\r') {
                    text.remove_suffix(1);
                }
                addText(page, 60, g.width / 2, y - line * kLineHeight, std::string(text));
                rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
            }
            y -= 7 * kLineHeight;
            addText(page, 50, g.width - 50, y, filled(kTerms, {s.terms}));
            addHeadingBox(page, g, y - 2 * kLineHeight, headings);
        } else {
            addTitle(page, g, tx(kInvoiceTitle));
            addHeadingBox(page, g, -107, headings);
        }
        return page;
    };

    ReportPage* page = &newPage();
    int top = g.bodyTop(ReportKind::Invoice);
    int capacity = firstRows;
    int slot = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool lastSlot = slot == capacity - 1;
        if (slot >= capacity || (lastSlot && isName[i] && i + 1 < rows.size())) {
            page = &newPage();
            top = kInvoiceFollowTop;
            capacity = followRows;
            slot = 0;
        }
        place(*page, rows[i], top - slot * kLineHeight);
        ++slot;
    }
    // The totals take the line after the last row and four more, and each notice of what was not
    // billed one line below them; the grand total's row and the notices stay within the page's
    // rows.
    const std::vector<std::string> notices = invoiceNotices(invoice);
    if (slot + 4 + static_cast<int>(notices.size()) > capacity) {
        page = &newPage();
        top = kInvoiceFollowTop;
        slot = 0;
    }
    int y = top - slot * kLineHeight - kLineHeight;
    page->lines.push_back({c.a + 20, y + 2, c.end, y + 2, 0});
    addText(*page, 80, c.h, y, tx(kTotal), PageAlign::Left, PageFont::Totals);
    addText(*page, c.a, c.end, y, moneyText(invoice.subtotal, "$"), PageAlign::Right,
            PageFont::Totals);
    y -= kLineHeight;
    addText(*page, 80, c.h, y, filled(kTax, {moneyText(invoice.taxPercent)}), PageAlign::Left,
            PageFont::Totals);
    addText(*page, c.a, c.end, y, moneyText(invoice.tax, "$"), PageAlign::Right, PageFont::Totals);
    y -= kLineHeight;
    page->lines.push_back({c.h + 20, y + 1, c.r - 20, y + 1, 0});
    page->lines.push_back({c.a + 20, y + 1, c.end, y + 1, 0});
    addText(*page, 80, c.h, y, tx(kGrandTotal), PageAlign::Left, PageFont::Totals);
    addText(*page, c.h, c.r - 20, y, hoursText(invoice.seconds), PageAlign::Right,
            PageFont::Totals);
    addText(*page, c.a, c.end, y, moneyText(invoice.grandTotal(), "$"), PageAlign::Right,
            PageFont::Totals);
    y -= kLineHeight;
    for (const int rule : {y, y - 3}) {
        page->lines.push_back({c.h + 20, rule, c.r - 20, rule, 0});
        page->lines.push_back({c.a + 20, rule, c.end, rule, 0});
    }
    for (const std::string& notice : notices) {
        y -= kLineHeight;
        addText(*page, 80, c.end, y, notice);
    }
    return pages;
}

} // namespace

std::vector<ReportPage> layoutReport(const ReportingData& data, const ReportRequest& request,
                                     const PageGeometry& geometry) {
    std::vector<ReportPage> pages;
    const ReportSettings& s = request.settings;
    switch (request.kind) {
    case ReportKind::Clients:
        pages = layoutList(clientList(data, s, geometry.width), request, geometry);
        break;
    case ReportKind::Projects:
        pages = layoutList(projectList(data, s, geometry.width), request, geometry);
        break;
    case ReportKind::Rates:
        pages = layoutList(rateList(data, s, geometry.width), request, geometry);
        break;
    case ReportKind::Expenses:
        pages = layoutExpenses(data, request, geometry);
        break;
    case ReportKind::Invoice:
        pages = layoutInvoice(data, request, geometry);
        break;
    }
    addFooters(pages, geometry, request.today);
    return pages;
}

} // namespace vsolo::reporting
