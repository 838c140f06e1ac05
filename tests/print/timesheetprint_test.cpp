// The printed time sheet, read back from PDF with pdftotext: template and transaction files are
// built byte by byte, loaded, and printed through the page composition onto Letter paper.

#include "core/base/clock.h"
#include "core/model/templatefile.h"
#include "core/timesheet.h"
#include "print/timesheet/timesheetprint.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/pdftext.h"
#include "tests/support/printedpages.h"
#include "tests/support/tempdir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::V4Item;
using testing::V4Record;
using Words = std::vector<std::string>;
using testing::date;

// The number with leading zeros up to the width.
std::string padded(int value, std::size_t width) {
    std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

std::string clock(int minutes) {
    return padded(minutes / 60, 2) + ":" + padded(minutes % 60, 2);
}

// Two projects: Sales with Letters and Calls, Support with Tickets.
std::string twoProjects() {
    return testing::v4Template(
        "Veltimo Solo File", 3, 8,
        {V4Item{1, 0, 0, 0, 1, 1, 60, "Sales", "s"}, V4Item{1, 0, 5, 1, 1, 2, 0, "Letters", "l"},
         V4Item{1, 0, 6, 1, 1, 2, 0, "Calls", "c"}, V4Item{2, 0, 0, 0, 1, 1, 40, "Support", "t"},
         V4Item{2, 0, 7, 1, 1, 2, 0, "Tickets", "k"}});
}

class TimeSheetPrintTest : public ::testing::Test {
protected:
    // Loads the files and prints the range on Letter paper; the path of the PDF.
    std::string print(const std::vector<V4Record>& records, TimeValue from, TimeValue to) {
        const std::string tpl = m_dir.file("sheet.tpl");
        testing::writeBytes(tpl, twoProjects());
        testing::writeBytes(m_dir.file("sheet.trs"),
                            testing::records(testing::transactionHeader(), records));
        m_file = std::make_unique<TemplateFile>(m_clock);
        m_file->setPath(tpl);
        EXPECT_TRUE(m_file->load(tpl));
        EXPECT_TRUE(m_file->loadTransactions());
        m_rows = std::make_unique<TimeSheetRows>();
        m_rows->rebuild(m_file->store(), from, to);
        m_print = std::make_unique<TimeSheetPrint>(*m_rows, *m_file, "Client", "Task", m_clock,
                                                   "/home/pat/time/sheet.tpl");
        const std::string pdf = m_dir.file("sheet.pdf");
        EXPECT_TRUE(testing::printOnLetter(*m_print, pdf));
        return pdf;
    }

    testing::TempDir m_dir;
    SettableClock m_clock{date(2026, 3, 10)};
    std::unique_ptr<TemplateFile> m_file;
    std::unique_ptr<TimeSheetRows> m_rows;
    std::unique_ptr<TimeSheetPrint> m_print;
};

TEST_F(TimeSheetPrintTest, PrintsHeaderRowsTotalsAndFooterInOrder) {
    const std::string pdf = print(
        {
            V4Record(1, 5, "10/19/1999", "08:00", "09:00", 0, "mail"),
            V4Record(1, 6, "10/19/1999", "09:00", "09:30", 1, "call"),
            V4Record(1, 5, "10/19/1999", "10:00", "10:00", 0, "empty"), // no length: an error
            V4Record(2, 7, "10/19/1999", "11:00", "12:15", 0, "ticket"),
            V4Record(1, 5, "10/19/1999", "13:00", "13:45", 0, "late"),
            V4Record(1, 5, "10/20/1999", "08:00", "08:20", 0, "next day"),
            V4Record(1, 5, "10/21/1999", "08:00", "09:00", 0, "outside the range"),
        },
        date(1999, 10, 19), date(1999, 10, 20));
    EXPECT_TRUE(m_print->hasData());
    EXPECT_EQ(testing::pdfInfo(pdf).pages, 1);
    const auto text = testing::lines(testing::pdfText(pdf));
    const std::vector<Words> expected{
        {"TIME", "SHEET"},
        {"REPORTING", "PERIOD"},
        {"FROM:", "Tuesday,", "October", "19,", "1999"},
        {"TO:", "Wednesday,", "October", "20,", "1999"},
        {"CLIENT", "TASK", "START", "END", "TOTAL", "DESCRIPTION"},
        {"Tuesday,", "October", "19,", "1999"},
        {"Sales", "Letters", "8:00", "9:00", "1:00", "mail"},
        // The level-1 name only where it changes within the day; the marks before it.
        {"\u00a7", "Calls", "9:00", "9:30", "0:30", "call"},
        {"*", "Letters", "10:00", "10:00", "0:00", "ERROR"},
        {"Support", "Tickets", "11:00", "12:15", "1:15", "ticket"},
        {"Sales", "Letters", "13:00", "13:45", "0:45", "late"},
        {"Total", "3:30"},
        {"Wednesday,", "October", "20,", "1999"},
        {"Sales", "Letters", "8:00", "8:20", "0:20", "next", "day"},
        {"Total", "0:20"},
        {"Grand", "Total", "3:50"},
        {"*", "-", "Error"},
        {"\u00a7", "-", "Transaction", "sent", "to", "Veltimo", "Hub"},
        {"Tuesday,", "March", "10,", "2026", "Page", "1", "of", "1"},
        {"/home/pat/time/sheet.tpl"},
    };
    int at = 0;
    for (const Words& words : expected) {
        const int found = testing::findLine(text, words, at);
        ASSERT_GE(found, at) << "missing in order: " << ::testing::PrintToString(words);
        at = found + 1;
    }
    const std::string all = testing::pdfText(pdf);
    EXPECT_EQ(all.find("outside"), std::string::npos);
    EXPECT_EQ(testing::countOf(all, "Sales"), 3u);
}

TEST_F(TimeSheetPrintTest, ColumnsLieAtTheirPlacesFromThePagesLeftEdge) {
    const std::string pdf = print({V4Record(1, 5, "10/19/1999", "08:00", "09:00", 0, "mail")},
                                  date(1999, 10, 19), date(1999, 10, 19));
    // Points from the paper's edge: (750 + offset) / 1000 inch, 72 points an inch.
    auto points = [](int offset) { return (750 + offset) * 0.072; };
    EXPECT_NEAR(testing::pdfWordBox(pdf, "START").xMax, points(4375), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "END").xMax, points(5125), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "TOTAL").xMax, points(5875), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "DESCRIPTION").xMin, points(6125), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "CLIENT").xMin, points(375), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "TASK").xMin, points(2125), 1);
    // The third Tuesday: the first two are the range's bounds in the header.
    EXPECT_NEAR(testing::pdfWordBox(pdf, "Tuesday,", 2).xMin, points(125), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "mail").xMin, points(6125), 1);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "REPORTING").xMin, points(100), 1);
    // The footer: the legend from the left margin, the page number ending at the right margin.
    EXPECT_NEAR(testing::pdfWordBox(pdf, "Error").yMax, testing::pdfWordBox(pdf, "Hub").yMin, 3);
    EXPECT_NEAR(testing::pdfWordBox(pdf, "of").xMax + 10, 7750 * 0.072, 10);
    EXPECT_LT(testing::pdfWordBox(pdf, "/home/pat/time/sheet.tpl").yMax, 10500 * 0.072);
    EXPECT_GT(testing::pdfWordBox(pdf, "/home/pat/time/sheet.tpl").yMax, 10300 * 0.072);
}

// The described count, rows + 3 lines per day after the first + 5 over the lines of a page,
// assumes a page break costs nothing; a day that runs over pages repeats its date on each.
int describedPageCount(std::size_t listRows, std::size_t days, int linesPerPage) {
    const double lines = static_cast<double>(listRows + 3 * (days - 1) + 5);
    return static_cast<int>(std::ceil(lines / linesPerPage));
}

TEST_F(TimeSheetPrintTest, ADayLongerThanAPageGoesOnUnderItsDateAndLosesNoRow) {
    // The lines a page holds do not depend on the rows.
    print({}, date(1999, 10, 19), date(1999, 10, 19));
    const int perPage = m_print->linesPerPage();
    EXPECT_EQ(perPage, 64) << "Letter: 10 inches of page less 6 + 3 lines and the footer";

    // Exactly four pages by the described count; the repeated dates need a fifth.
    const int count = 4 * perPage - 6;
    std::vector<V4Record> records;
    for (int i = 0; i < count; ++i) {
        records.emplace_back(1, 5, "10/19/1999", clock(i), clock(i + 1), 0, "r" + padded(i, 3));
    }
    const std::string pdf = print(records, date(1999, 10, 19), date(1999, 10, 19));
    EXPECT_EQ(describedPageCount(m_rows->size(), 1, perPage), 4);
    ASSERT_EQ(testing::pdfInfo(pdf).pages, 5);
    const std::string all = testing::pdfText(pdf);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(testing::countOf(all, "r" + padded(i, 3)), 1u) << i;
    }
    for (int page = 1; page <= 5; ++page) {
        const auto text = testing::lines(testing::pdfText(pdf, page));
        const int dateLine = testing::findLine(text, {"Tuesday,", "October", "19,", "1999"});
        const int titles =
            testing::findLine(text, {"CLIENT", "TASK", "START", "END", "TOTAL", "DESCRIPTION"});
        EXPECT_NE(testing::pdfText(pdf, page).find("Page " + std::to_string(page) + " of 5"),
                  std::string::npos)
            << "page " << page;
        if (page == 5) {
            // The grand total did not fit under the day's total and has a page of its own.
            EXPECT_LT(dateLine, 0);
            const std::string total = std::to_string(count / 60) + ":" + padded(count % 60, 2);
            EXPECT_GT(testing::findLine(text, {"Grand", "Total", total}), titles);
            continue;
        }
        ASSERT_GT(dateLine, titles) << "page " << page;
        // The first row under the date names its project again.
        ASSERT_LT(static_cast<std::size_t>(dateLine + 1), text.size());
        EXPECT_EQ(testing::words(text[static_cast<std::size_t>(dateLine) + 1]).at(0), "Sales")
            << "page " << page;
        EXPECT_EQ(testing::countOf(testing::pdfText(pdf, page), "Grand Total"), 0u);
    }
    EXPECT_NE(testing::pdfText(pdf, 4).find("Total"), std::string::npos);
}

TEST_F(TimeSheetPrintTest, AnEmptyRangePrintsOnePageWithoutRowsOrTotals) {
    const std::string pdf = print({V4Record(1, 5, "10/19/1999", "08:00", "09:00", 0, "mail")},
                                  date(2001, 1, 1), date(2001, 1, 31));
    EXPECT_FALSE(m_print->hasData());
    EXPECT_EQ(testing::pdfInfo(pdf).pages, 1);
    const auto text = testing::lines(testing::pdfText(pdf));
    EXPECT_GE(testing::findLine(text, {"FROM:", "Monday,", "January", "1,", "2001"}), 0);
    EXPECT_GE(testing::findLine(text, {"Tuesday,", "March", "10,", "2026", "Page", "1", "of", "1"}),
              0);
    EXPECT_EQ(testing::pdfText(pdf).find("Total"), std::string::npos);
    EXPECT_EQ(testing::pdfText(pdf).find("mail"), std::string::npos);
}

} // namespace
} // namespace vsolo
