// The reports laid out as pages: rows per page, headers, columns, totals and footers.

#include "layoutfixture.h"
#include "reporting/layout/reportpages.h"

#include <algorithm>

namespace vsolo::testing {
namespace {

using reporting::PageAlign;
using reporting::PageText;
using reporting::ReportKind;
using reporting::ReportPage;

class PagesTest : public LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        request.period = reporting::wholeDays(local(2026, 1, 10), local(2026, 1, 20));
        request.today = local(2026, 12, 8, 12);
        request.projects = {1};
        addClient(1, "Acme");
        addProject(1, "Website", 1);
    }
    // n rows for the report of the kind, named in order "Row 001", "Row 002"...
    void fill(ReportKind kind, int n) {
        for (int i = 1; i <= n; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "Row %03d", i);
            switch (kind) {
            case ReportKind::Clients:
                addClient(i + 1, name);
                break;
            case ReportKind::Projects:
                addProject(i + 1, name);
                break;
            case ReportKind::Rates:
                addRate(name, i);
                break;
            case ReportKind::Expenses:
                data.expenses().push_back({1, i, 0, local(2026, 1, 11), 1.0, name});
                break;
            case ReportKind::Invoice:
                addItem(1, i, name);
                addSpan(1, i, local(2026, 1, 12, 9) + 120 * i, 60);
                break;
            }
        }
    }
    std::vector<ReportPage> layout(ReportKind kind) {
        request.kind = kind;
        return reporting::layoutReport(data, request, reporting::PageGeometry::screen());
    }
    static const PageText* find(const ReportPage& page, const std::string& text) {
        const auto it = std::find_if(page.texts.begin(), page.texts.end(),
                                     [&](const PageText& t) { return t.text == text; });
        return it == page.texts.end() ? nullptr : &*it;
    }
    // The texts of the pages that start with the prefix, in page order.
    static std::vector<std::string> texts(const std::vector<ReportPage>& pages,
                                          const std::string& prefix) {
        std::vector<std::string> found;
        for (const ReportPage& page : pages) {
            for (const PageText& t : page.texts) {
                if (t.text.rfind(prefix, 0) == 0) {
                    found.push_back(t.text);
                }
            }
        }
        return found;
    }

    reporting::ReportRequest request;
};

TEST_F(PagesTest, RowsPerPageOnScreen) {
    const reporting::PageGeometry screen = reporting::PageGeometry::screen();
    EXPECT_EQ(screen.rowsPerPage(ReportKind::Clients), 58);
    EXPECT_EQ(screen.rowsPerPage(ReportKind::Expenses), 57);
    EXPECT_EQ(screen.rowsPerPage(ReportKind::Invoice), 46);
}

TEST_F(PagesTest, LongDateIsEnglishWithTheDaysLeadingZero) {
    EXPECT_EQ(reporting::longDateText(request.today), "Tuesday, December 08, 2026");
}

TEST_F(PagesTest, ClientListFillsPagesAndNumbersFromOneEachTime) {
    fill(ReportKind::Clients, 57);
    EXPECT_EQ(layout(ReportKind::Clients).size(), 1u);
    fill(ReportKind::Clients, 1);
    const std::vector<ReportPage> pages = layout(ReportKind::Clients);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_NE(find(pages[0], "1)  Acme"), nullptr);
    EXPECT_EQ(find(pages[0], "1)  Acme")->top, -160);
    EXPECT_EQ(find(pages[0], "58)  Row 057")->top, -160 - 57 * 13);
    EXPECT_EQ(find(pages[1], "59)  Row 001")->top, -160);
    EXPECT_NE(find(layout(ReportKind::Clients)[0], "1)  Acme"), nullptr);
}

TEST_F(PagesTest, ListHeaderPlacesTitlePeriodAndHeadingBox) {
    const ReportPage page = layout(ReportKind::Clients).at(0);
    EXPECT_EQ(*find(page, "CLIENTS LIST"), (PageText{0, 800, -29, "CLIENTS LIST", PageAlign::Centre,
                                                     reporting::PageFont::Title}));
    EXPECT_EQ(find(page, "REPORTING PERIOD")->top, -55);
    EXPECT_EQ(find(page, "FROM:  Saturday, January 10, 2026")->top, -68);
    EXPECT_EQ(find(page, "TO:       Tuesday, January 20, 2026")->top, -81);
    EXPECT_EQ(page.frames, (std::vector<reporting::PageFrame>{{30, -107, 770, -146, 40, 2}}));
    EXPECT_EQ(find(page, "CLIENTS NAME")->top, -120);
}

TEST_F(PagesTest, ProjectRowsShowClientAndRateCode) {
    addProject(2, "archive");
    data.items()[1].rateCode = "STD";
    const ReportPage page = layout(ReportKind::Projects).at(0);
    const auto row = [&](int top) {
        std::vector<std::string> cells;
        for (const PageText& t : page.texts) {
            if (t.top == top) {
                cells.push_back(t.text);
            }
        }
        return cells;
    };
    EXPECT_EQ(row(-160), (std::vector<std::string>{"1) archive", "", "STD"}));
    EXPECT_EQ(row(-173), (std::vector<std::string>{"2) Website", "Acme", ""}));
}

// A heading of a report and the box it is placed in for a page 800 wide.
struct HeadingCase {
    ReportKind kind;
    std::string text;
    int left;
    int right;
};
class ColumnEdges : public PagesTest, public ::testing::WithParamInterface<HeadingCase> {};

TEST_P(ColumnEdges, FollowThePageWidth) {
    fill(GetParam().kind, 1);
    const std::vector<ReportPage> pages = layout(GetParam().kind);
    const PageText* heading = find(pages.at(0), GetParam().text);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->left, GetParam().left);
    EXPECT_EQ(heading->right, GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(
    Screen, ColumnEdges,
    ::testing::Values(HeadingCase{ReportKind::Projects, "PROJECT NAME", 50, 375},
                      HeadingCase{ReportKind::Projects, "CLIENTS NAME", 375, 606},
                      HeadingCase{ReportKind::Rates, "RATE", 239, 349},
                      HeadingCase{ReportKind::Expenses, "AMOUNT", 400, 495},
                      HeadingCase{ReportKind::Invoice, "HOURS WORKED", 295, 415},
                      HeadingCase{ReportKind::Invoice, "HOURLY RATE", 435, 530},
                      HeadingCase{ReportKind::Invoice, "TOTAL", 540, 700}));

TEST_F(PagesTest, ExpenseTotalsEndEveryPage) {
    fill(ReportKind::Expenses, 57);
    std::vector<ReportPage> pages = layout(ReportKind::Expenses);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(texts(pages, "Total"), std::vector<std::string>{});
    EXPECT_EQ(find(pages[0], "Grand Total")->top, -160 - 57 * 13 - 3);
    EXPECT_EQ(find(pages[0], "$57.00")->left, 400);
    EXPECT_EQ(find(pages[0], "01/11/2026")->left, 295);
    fill(ReportKind::Expenses, 57);
    pages = layout(ReportKind::Expenses);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(find(pages[0], "Total"), nullptr);
    EXPECT_EQ(find(pages[0], "Grand Total"), nullptr);
    EXPECT_NE(find(pages[1], "Grand Total"), nullptr);
    EXPECT_NE(find(pages[0], "$57.00"), nullptr);
    EXPECT_NE(find(pages[1], "$114.00"), nullptr);
}

class EveryReport : public PagesTest, public ::testing::WithParamInterface<ReportKind> {};

TEST_P(EveryReport, FooterOnEveryPage) {
    fill(GetParam(), 60);
    const std::vector<ReportPage> pages = layout(GetParam());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(*find(pages[0], "Page 1 of 2"),
              (PageText{400, 750, -963, "Page 1 of 2", PageAlign::Right}));
    EXPECT_EQ(find(pages[1], "Page 2 of 2")->right, 750);
    EXPECT_EQ(find(pages[1], "Tuesday, December 08, 2026")->left, 50);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryReport,
                         ::testing::Values(ReportKind::Clients, ReportKind::Projects,
                                           ReportKind::Rates, ReportKind::Expenses,
                                           ReportKind::Invoice));

class ListReports : public PagesTest, public ::testing::WithParamInterface<ReportKind> {};

TEST_P(ListReports, NoRowsNoPages) {
    data.clear();
    EXPECT_TRUE(layout(GetParam()).empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ListReports,
                         ::testing::Values(ReportKind::Clients, ReportKind::Projects,
                                           ReportKind::Rates, ReportKind::Expenses));

TEST_F(PagesTest, InvoiceHeaderNamesPartiesAndTerms) {
    request.settings.soldTo = "Line 1\r\nLine 2\nLine 3\nLine 4\nLine 5\nLine 6\nLine 7";
    request.settings.terms = "Net 30";
    addItem(1, 1, "Design");
    addSpan(1, 1, local(2026, 1, 12, 9), 0); // in error: no row, a line under the totals
    const std::vector<ReportPage> pages = layout(ReportKind::Invoice);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(find(pages[0], "INVOICE")->top, -29);
    EXPECT_EQ(find(pages[0], "City, State  Zip")->top, -81);
    EXPECT_EQ(find(pages[0], "SOLD TO: Acme")->top, -133);
    EXPECT_EQ(find(pages[0], "REPORTING PERIOD")->left, 400);
    EXPECT_EQ(find(pages[0], "FROM: Saturday, January 10, 2026")->left, 410);
    EXPECT_EQ(find(pages[0], "Line 2")->top, -159);
    EXPECT_NE(find(pages[0], "Line 6"), nullptr);
    EXPECT_EQ(find(pages[0], "Line 7"), nullptr);
    EXPECT_EQ(find(pages[0], "Terms:  Net 30")->top, -237);
    EXPECT_EQ(find(pages[0], "PROJECT/ACTIVITY")->top, -276);
    EXPECT_EQ(find(pages[0], "Grand Total")->top, -325 - 3 * 13);
    EXPECT_EQ(find(pages[0], "Not billed because in error: 1 transaction, 0:00 hours")->top,
              -325 - 5 * 13);
}

TEST_F(PagesTest, InvoiceContinuesOnFurtherPages) {
    fill(ReportKind::Invoice, 60);
    const std::vector<ReportPage> pages = layout(ReportKind::Invoice);
    ASSERT_EQ(pages.size(), 2u);
    std::vector<std::string> expected;
    for (int i = 1; i <= 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Row %03d", i);
        expected.push_back(name);
    }
    EXPECT_EQ(texts(pages, "Row "), expected);
    EXPECT_EQ(find(pages[0], "Website")->top, -325);
    EXPECT_EQ(find(pages[0], "Row 045")->top, -325 - 45 * 13);
    EXPECT_EQ(find(pages[1], "Row 046")->top, -160);
    EXPECT_EQ(find(pages[1], "HOURS WORKED")->top, -120);
    EXPECT_EQ(find(pages[1], "Grand Total")->top, -160 - 15 * 13 - 3 * 13);
    EXPECT_EQ(find(pages[0], "Grand Total"), nullptr);
    EXPECT_EQ(find(pages[1], "1:00")->left, 295);
}

TEST_F(PagesTest, InvoiceMovesNameRowsAndTotalsToTheNextPage) {
    // 45 rows leave the page's last row to the second project's name.
    fill(ReportKind::Invoice, 44);
    addProject(2, "Zoo");
    addItem(2, 1, "Feeding");
    addSpan(2, 1, local(2026, 1, 13, 9), 60);
    request.projects = {1, 2};
    std::vector<ReportPage> pages = layout(ReportKind::Invoice);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(find(pages[1], "Zoo")->top, -160);
    data.items().resize(data.items().size() - 2);
    pages = layout(ReportKind::Invoice);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(find(pages[1], "Total")->top, -173);
}

} // namespace
} // namespace vsolo::testing
