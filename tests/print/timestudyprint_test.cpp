// The printed time study report: its pages read back from PDF with pdftotext, and its rules found
// among the dark pixels of a page drawn on an image.

#include "core/base/clock.h"
#include "core/reports/timestudy.h"
#include "print/timestudy/timestudyprint.h"
#include "tests/support/dates.h"
#include "tests/support/pdflines.h"
#include "tests/support/pdftext.h"
#include "tests/support/printedpages.h"
#include "tests/support/tempdir.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::date;
using Words = std::vector<std::string>;
using Kind = TimeStudyRow::Kind;

TimeStudyRow row(Kind kind, std::string level1, std::string level2, std::string hours,
                 std::string share, std::string target = {}) {
    return {kind,
            {std::move(level1), std::move(level2), std::move(hours), std::move(share),
             std::move(target)}};
}

// The rows of two projects as the report builds them: Sales with two tasks, Support with time on
// a task that is no longer listed.
std::vector<TimeStudyRow> twoProjects() {
    return {
        {},
        row(Kind::Plain, "Sales", "Letters", "1:30", "60.0%"),
        row(Kind::Plain, "", "Calls", "0:30", "20.0%"),
        row(Kind::Total, "   Total", "", "2:00", "80.0%", "60%"),
        {},
        row(Kind::Plain, "Support", "Unknown categories", "0:30", "20.0%"),
        row(Kind::Total, "   Total", "", "0:30", "20.0%", "40%"),
        {},
        row(Kind::GrandTotal, "   Grand Total", "", "2:30", "100.0%"),
    };
}

// Rows that each carry a name of their own, "r000" upwards.
std::vector<TimeStudyRow> numberedRows(int count) {
    std::vector<TimeStudyRow> rows;
    for (int i = 0; i < count; ++i) {
        std::string name = std::to_string(i);
        name = "r" + std::string(3 - name.size(), '0') + name;
        rows.push_back(row(Kind::Plain, "Sales", name, "0:01", "0.1%"));
    }
    return rows;
}

class TimeStudyPrintTest : public ::testing::Test {
protected:
    void make(std::vector<TimeStudyRow> rows) {
        m_print = std::make_unique<TimeStudyPrint>(std::move(rows), "Client", "T\u00e2che",
                                                   date(1999, 10, 19), date(1999, 10, 22), m_clock,
                                                   "/home/pat/time/work.tpl");
    }

    // Prints the rows on Letter paper; the path of the PDF.
    std::string printPdf(std::vector<TimeStudyRow> rows) {
        make(std::move(rows));
        const std::string pdf = m_dir.file("report.pdf");
        EXPECT_TRUE(testing::printOnLetter(*m_print, pdf));
        return pdf;
    }

    // The first page drawn on an image 7 by 3 inches at 300 dots per inch, the page being the
    // whole image; the line height in report units is kept.
    QImage drawOnImage(std::vector<TimeStudyRow> rows) {
        make(std::move(rows));
        QImage image = testing::imageAt(kDotsPerInch, 7 * kDotsPerInch, 3 * kDotsPerInch);
        ReportPainter report(image);
        const int pages = m_print->pageCount(report);
        m_lineHeight = report.lineHeight();
        QPainter painter(&image);
        report.begin(painter);
        drawPage(report, *m_print, PageNumber{1, pages});
        painter.end();
        return image;
    }

    static int pixels(int units) { return units * kDotsPerInch / kReportUnitsPerInch; }

    static constexpr int kDotsPerInch = 300;
    testing::TempDir m_dir;
    SettableClock m_clock{date(2026, 3, 10)};
    std::unique_ptr<TimeStudyPrint> m_print;
    int m_lineHeight = 0;
};

TEST_F(TimeStudyPrintTest, PrintsTitlePeriodColumnTitlesRowsAndFooterInOrder) {
    const std::string pdf = printPdf(twoProjects());
    EXPECT_TRUE(m_print->hasData());
    EXPECT_EQ(testing::pdfInfo(pdf).pages, 1);
    EXPECT_TRUE(testing::hasLinesInOrder(
        pdf, {
                 {"CLIENT", "AND", "T\u00c2CHE", "REPORT"},
                 {"REPORTING", "PERIOD"},
                 {"FROM:", "Tuesday,", "October", "19,", "1999"},
                 {"TO:", "Friday,", "October", "22,", "1999"},
                 {"CLIENT", "T\u00c2CHE", "ACTUAL", "(H)", "ACTUAL", "(%)", "TARGET"},
                 {"Sales", "Letters", "1:30", "60.0%"},
                 {"Calls", "0:30", "20.0%"},
                 {"Total", "2:00", "80.0%", "60%"},
                 {"Support", "Unknown", "categories", "0:30", "20.0%"},
                 {"Total", "0:30", "20.0%", "40%"},
                 {"Grand", "Total", "2:30", "100.0%"},
                 {"Tuesday,", "March", "10,", "2026", "Page", "1", "of", "1"},
                 {"/home/pat/time/work.tpl"},
             }));
}

TEST_F(TimeStudyPrintTest, ColumnsLieAtTheirPlacesFromThePagesLeftEdge) {
    const std::string pdf = printPdf(twoProjects());
    // Points from the paper's edge: (750 + offset) / 1000 inch, 72 points an inch.
    auto points = [](int offset) { return (750 + offset) * 0.072; };
    EXPECT_NEAR(testing::pdfWordBox(pdf, "CLIENT", 1).xMin, points(250), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "T\u00c2CHE", 1).xMin, points(1950), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "(H)").xMax, points(4600), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "(%)").xMax, points(5650), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "TARGET").xMax, points(6750), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "Sales").xMin, points(250), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "Letters").xMin, points(1950), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "1:30").xMax, points(4600), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "60.0%").xMax, points(5650), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "60%").xMax, points(6750), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "REPORTING").xMin, points(100), 1);
    // The title centred on the page, 7 inches wide between the margins.
    const testing::WordBox first = testing::pdfWordBox(pdf, "CLIENT");
    const testing::WordBox last = testing::pdfWordBox(pdf, "REPORT");
    EXPECT_NEAR((first.xMin + last.xMax) / 2, points(3500), 2);
}

TEST_F(TimeStudyPrintTest, AnEmptyReportPrintsOnePageWithoutRows) {
    const std::string pdf = printPdf({});
    EXPECT_FALSE(m_print->hasData());
    EXPECT_EQ(testing::pdfInfo(pdf).pages, 1);
    const auto text = testing::lines(testing::pdfText(pdf));
    EXPECT_GE(testing::findLine(text, {"CLIENT", "AND", "T\u00c2CHE", "REPORT"}), 0);
    EXPECT_GE(testing::findLine(
                  text, {"CLIENT", "T\u00c2CHE", "ACTUAL", "(H)", "ACTUAL", "(%)", "TARGET"}),
              0);
    EXPECT_GE(testing::findLine(text, {"Tuesday,", "March", "10,", "2026", "Page", "1", "of", "1"}),
              0);
    EXPECT_EQ(testing::pdfText(pdf).find("Total"), std::string::npos);
}

// Rows that fill some pages whole and maybe part of one more.
struct Filling {
    int fullPages;
    int moreRows;
};

class TimeStudyPagesTest : public TimeStudyPrintTest,
                           public ::testing::WithParamInterface<Filling> {};

TEST_P(TimeStudyPagesTest, RowsFillThePagesInTurnEachPrintedOnce) {
    printPdf({});
    const int perPage = m_print->rowsPerPage();
    EXPECT_EQ(perPage, 67) << "Letter: 10 inches of page less 6 + 3 + 2 lines";

    const int count = GetParam().fullPages * perPage + GetParam().moreRows;
    const int pages = GetParam().fullPages + (GetParam().moreRows > 0 ? 1 : 0);
    const std::vector<TimeStudyRow> rows = numberedRows(count);
    const std::string pdf = printPdf(rows);
    ASSERT_EQ(testing::pdfInfo(pdf).pages, pages);
    const std::string all = testing::pdfText(pdf);
    for (const TimeStudyRow& r : rows) {
        EXPECT_EQ(testing::countOf(all, r.cells[1]), 1u) << r.cells[1];
    }
    const std::string pageOf = " of " + std::to_string(pages);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = testing::pdfText(pdf, page);
        EXPECT_NE(text.find("Page " + std::to_string(page) + pageOf), std::string::npos) << page;
        EXPECT_NE(text.find("CLIENT AND T\u00c2CHE REPORT"), std::string::npos) << page;
        // Each page goes on with the row after the last one of the page before.
        const std::string& firstRow = rows[static_cast<std::size_t>((page - 1) * perPage)].cells[1];
        EXPECT_NE(text.find(firstRow), std::string::npos) << page;
    }
}

INSTANTIATE_TEST_SUITE_P(Fillings, TimeStudyPagesTest,
                         ::testing::Values(Filling{1, 0}, Filling{0, 1}, Filling{2, 1},
                                           Filling{3, 0}, Filling{2, 66}));

TEST_F(TimeStudyPrintTest, TotalsHaveRulesOverTheirHoursAndShareAndTheGrandTotalADoubleOne) {
    const QImage image = drawOnImage({
        {},
        row(Kind::Plain, "Sales", "Letters", "1:00", "50.0%"),
        row(Kind::Total, "   Total", "", "1:00", "50.0%", "60%"),
        {},
        row(Kind::GrandTotal, "   Grand Total", "", "2:00", "100.0%"),
    });
    const int lh = m_lineHeight;
    // Where the row's line begins, below the header's 6 lines and the titles' 3.
    auto top = [lh](int line) { return pixels((9 + line) * lh); };
    const int bodyTop = top(0) - 2;
    const int bodyBottom = top(5) + 2;
    // Right of the offset and left of the numbers: the hours and the share column.
    for (const int x : {pixels(3650 + 300), pixels(4700 + 300)}) {
        EXPECT_TRUE(testing::near(testing::inkRunsDown(image, x, bodyTop, bodyBottom),
                                  {top(2), top(4), top(5) - pixels(10), top(5)}))
            << x;
    }
    // Left of the offset the columns have no rule.
    for (const int x : {pixels(3650 + 200), pixels(4700 + 200)}) {
        EXPECT_TRUE(testing::inkRunsDown(image, x, bodyTop, bodyBottom).empty()) << x;
    }
}

TEST_F(TimeStudyPrintTest, TheTitleIsPrintedInBlack) {
    const QImage image = drawOnImage(twoProjects());
    int ink = 0;
    int blue = 0;
    for (int y = 0; y < pixels(m_lineHeight); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (testing::isInk(image, x, y)) {
                ++ink;
                const QRgb pixel = image.pixel(x, y);
                blue += qBlue(pixel) - qRed(pixel) > 40 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(ink, 100) << "the title is drawn on the first line";
    EXPECT_EQ(blue, 0);
}

} // namespace
} // namespace vsolo
