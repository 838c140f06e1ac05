// The invoice's figures and the text vsolo-cli prints of them.

#include "layoutfixture.h"
#include "reporting/layout/invoice.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace vsolo::testing {
namespace {

using reporting::computeInvoice;
using reporting::invoiceText;

class InvoiceTest : public LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        period = reporting::wholeDays(local(2026, 1, 10, 15, 30), local(2026, 1, 20, 8));
        addClient(1, "Acme");
        addClient(2, "Globex");
        addRate("STD", 40.0);
        addProject(1, "Website", 1);
        addItem(1, 1, "Design", "STD");
        addItem(1, 2, "Hosting", "NONE");
    }
    reporting::Invoice invoice(const std::vector<std::int32_t>& projects, double tax = 0.0) {
        return computeInvoice(data, period, projects, tax);
    }
    std::int32_t inPeriod(int hour = 9) const { return local(2026, 1, 12, hour); }

    reporting::ReportPeriod period;
};

// One billed item: its seconds, its sub-id, and the line the invoice text shows for it.
using ItemCase = std::tuple<std::int32_t, std::int32_t, std::string>;
class InvoiceItemLine : public InvoiceTest, public ::testing::WithParamInterface<ItemCase> {};

TEST_P(InvoiceItemLine, ShowsHoursRateAndAmount) {
    const auto& [seconds, sub, line] = GetParam();
    addSpan(1, sub, inPeriod(), seconds);
    EXPECT_NE(invoiceText(invoice({1})).find("Website\t\t\t\n" + line + "\n"), std::string::npos)
        << invoiceText(invoice({1}));
}

INSTANTIATE_TEST_SUITE_P(Amounts, InvoiceItemLine,
                         ::testing::Values(ItemCase{5400, 1, "Design\t1:30\t$40.00\t$60.00"},
                                           ItemCase{89 * 60 + 59, 1,
                                                    "Design\t1:29\t$40.00\t$59.33"},
                                           ItemCase{59, 1, "Design\t0:00\t$40.00\t0.00"},
                                           ItemCase{7200, 2, "Hosting\t2:00\t0.00\t0.00"}));

TEST_F(InvoiceTest, LevelOneTimeAndProjectsWithoutTimeShowNothing) {
    addSpan(1, 0, inPeriod(), 3600);
    addProject(2, "Archive", 2);
    addItem(2, 1, "Filing", "STD");
    const reporting::Invoice result = invoice({1, 2});
    EXPECT_TRUE(result.projects.empty());
    EXPECT_EQ(result.seconds, 0);
    EXPECT_EQ(invoiceText(result),
              "Total\t\t\t0.00\nTax  (0.00%)\t\t\t0.00\nGrand Total\t0:00\t\t0.00\n");
}

class InvoiceTaxLabel : public InvoiceTest,
                        public ::testing::WithParamInterface<std::pair<double, std::string>> {};

TEST_P(InvoiceTaxLabel, ShowsTheRateInTwoDecimals) {
    addSpan(1, 1, inPeriod(), 36000);
    EXPECT_NE(invoiceText(invoice({1}, GetParam().first)).find(GetParam().second),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Rates, InvoiceTaxLabel,
                         ::testing::Values(std::pair{7.5, "Tax  (7.50%)\t\t\t$30.00\n"},
                                           std::pair{0.0, "Tax  (0.00%)\t\t\t0.00\n"}));

TEST_F(InvoiceTest, ProjectsInNameOrderSoldToTheFirstSelectedsClient) {
    addProject(2, "archive", 2);
    addItem(2, 1, "Filing", "STD");
    addSpan(1, 1, inPeriod(), 3600);
    addSpan(2, 1, inPeriod(11), 1800);
    const reporting::Invoice result = invoice({1, 2}, 10.0);
    ASSERT_EQ(result.projects.size(), 2u);
    EXPECT_EQ(result.projects[0].name, "archive");
    EXPECT_EQ(result.projects[1].name, "Website");
    EXPECT_EQ(result.soldTo, "Acme");
    EXPECT_EQ(invoice({2, 1}).soldTo, "Globex");
    EXPECT_EQ(result.seconds, 5400);
    EXPECT_DOUBLE_EQ(result.grandTotal(), 66.0);
}

TEST_F(InvoiceTest, SpanRunningPastThePeriodIsBilledInFull) {
    addSpan(1, 1, local(2026, 1, 20, 23, 0), 7200);
    EXPECT_EQ(invoice({1}).seconds, 7200);
}

// A span start relative to the period, and whether the invoice bills it.
class InvoicePeriodEdge : public InvoiceTest,
                          public ::testing::WithParamInterface<std::tuple<int, int, bool>> {};

TEST_P(InvoicePeriodEdge, BillsSpansStartingWithinBothEnds) {
    const auto& [day, secondOfDay, billed] = GetParam();
    addSpan(1, 1, local(2026, 1, day) + secondOfDay, 600);
    EXPECT_EQ(invoice({1}).seconds, billed ? 600 : 0);
}

INSTANTIATE_TEST_SUITE_P(Edges, InvoicePeriodEdge,
                         ::testing::Values(std::tuple{10, 0, true}, std::tuple{9, 86399, false},
                                           std::tuple{20, 23 * 3600 + 59 * 60, true},
                                           std::tuple{20, 86399, true}, std::tuple{21, 0, false}));

// Spans of one day (start hour, minutes long, sent) and the error mark each gets.
struct DayCase {
    std::vector<std::tuple<int, int, int>> spans;
    std::vector<bool> errors;
};
class SpanErrorMarks : public InvoiceTest, public ::testing::WithParamInterface<DayCase> {};

TEST_P(SpanErrorMarks, FollowTheTrackersDayCheck) {
    for (const auto& [hour, minutes, sent] : GetParam().spans) {
        addSpan(1, 1, inPeriod(hour), minutes * 60, sent);
    }
    EXPECT_EQ(reporting::spanErrors(data.spans()), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Days, SpanErrorMarks,
    ::testing::Values(DayCase{{{9, 90, 0}, {10, 60, 0}}, {true, false}},    // overlapping
                      DayCase{{{10, 60, 0}, {9, 90, 0}}, {false, true}},    // file order differs
                      DayCase{{{9, 90, 1}, {10, 60, 0}}, {false, true}},    // after a sent one
                      DayCase{{{9, 90, 1}, {10, 60, 1}}, {false, false}},   // sent ones
                      DayCase{{{9, 0, 0}, {10, -30, 0}}, {true, true}},     // no length
                      DayCase{{{9, 60, 0}, {10, 60, 0}}, {false, false}})); // touching

TEST_F(InvoiceTest, SpansInErrorBillNothing) {
    addSpan(1, 1, inPeriod(9), 5400);
    addSpan(1, 1, inPeriod(10), 3600);
    addSpan(1, 1, inPeriod(14), 0);
    EXPECT_EQ(invoice({1}).seconds, 3600);
    EXPECT_TRUE(
        invoiceText(invoice({1}))
            .ends_with("\nNot billed because in error: 2 transactions, 1:30 hours\t\t\t\n"));
    // Another day's transaction never overlaps this day's.
    addSpan(1, 1, local(2026, 1, 13, 9), 600);
    EXPECT_EQ(invoice({1}).seconds, 4200);
}

// Several projects and days in no order, items sharing a key, spans outside the period, in
// another project or in error: every figure is what summing each item's own spans gives.
TEST_F(InvoiceTest, FiguresAreEachItemsOwnSums) {
    addProject(2, "Archive", 2);
    addItem(2, 1, "Filing", "STD");
    addItem(2, 1, "Filing again", "HALF"); // the same key, as in a damaged template
    addRate("HALF", 20.5);
    addProject(3, "Unbilled");
    addItem(3, 1, "Other", "STD");
    const std::tuple<int, int, int, int, int, int> spans[] = {
        // group, sub, day, hour, minutes, sent
        {1, 1, 14, 9, 95, 0},  {2, 1, 12, 9, 30, 0},  {1, 1, 12, 10, 60, 0}, {1, 2, 12, 9, 90, 1},
        {1, 1, 12, 8, 61, 0},  {2, 1, 9, 9, 45, 0},   {3, 1, 13, 9, 600, 0}, {1, 0, 15, 9, 60, 0},
        {2, 1, 21, 1, 20, 0},  {1, 1, 13, 23, 90, 0}, {2, 1, 14, 0, 30, 0},  {1, 2, 16, 11, 0, 0},
        {2, 1, 16, 12, 25, 0}, {2, 1, 16, 12, 5, 1},  {1, 2, 17, 9, 77, 0},  {1, 1, 11, 7, 13, 0}};
    for (const auto& [group, sub, day, hour, minutes, sent] : spans) {
        addSpan(group, sub, local(2026, 1, day, hour), minutes * 60, sent);
    }
    const reporting::Invoice result = invoice({2, 1}, 7.5);
    const std::vector<bool> errors = reporting::spanErrors(data.spans());
    std::map<std::string, std::int64_t> own;
    int errorCount = 0;
    for (const reporting::TemplateItem& item : data.items()) {
        if (item.level != 2 || item.groupNumber == 3) {
            continue;
        }
        std::int64_t& sum = own[item.name];
        for (std::size_t i = 0; i < data.spans().size(); ++i) {
            const reporting::TimeSpan& span = data.spans()[i];
            if (span.groupNumber == item.groupNumber && span.subId == item.subId &&
                span.start >= period.start && span.start <= period.end) {
                errorCount += errors[i] ? 1 : 0;
                sum += errors[i] ? 0 : std::max(span.duration, 0);
            }
        }
    }
    std::map<std::string, std::int64_t> shown;
    std::int64_t seconds = 0;
    for (const reporting::InvoiceProject& project : result.projects) {
        for (const reporting::InvoiceItem& item : project.items) {
            shown[item.name] = item.seconds;
            seconds += item.seconds;
        }
    }
    EXPECT_EQ(shown, own);
    EXPECT_EQ(result.seconds, seconds);
    EXPECT_EQ(result.errorCount, errorCount);
    // Counted by hand: three marks on the 12th, two on the 16th, a shared key's counted twice;
    // the span of the 13th running into the 14th overlaps nothing.
    EXPECT_EQ(result.errorCount, 7);
    EXPECT_EQ(result.seconds, (198 + 167 + 35 + 35) * 60);
}

TEST_F(InvoiceTest, TextOfASmallInvoice) {
    addItem(1, 3, "analysis", "HALF"); // listed in name order without regard to case
    addRate("HALF", 20.5);
    addSpan(1, 1, inPeriod(9), 5400);
    addSpan(1, 3, inPeriod(13), 45 * 60);
    addSpan(1, 2, inPeriod(15), 600);
    EXPECT_EQ(invoiceText(invoice({1}, 7.5)), "Website\t\t\t\n"
                                              "analysis\t0:45\t$20.50\t$15.38\n"
                                              "Design\t1:30\t$40.00\t$60.00\n"
                                              "Hosting\t0:10\t0.00\t0.00\n"
                                              "Total\t\t\t$75.38\n"
                                              "Tax  (7.50%)\t\t\t$5.65\n"
                                              "Grand Total\t2:25\t\t$81.03\n");
}

} // namespace
} // namespace vsolo::testing
