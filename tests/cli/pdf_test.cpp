// Runs the built vsolo-cli program's `pdf timesheet` on files made byte by byte here and reads the
// PDF back with pdftotext and pdfinfo. The program runs without a display and with a settings
// folder of the test's own.

#include "tests/support/filelayouts.h"
#include "tests/support/joined.h"
#include "tests/support/pdflines.h"
#include "tests/support/pdftext.h"
#include "tests/support/runprogram.h"
#include "tests/support/tempdir.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using vsolo::testing::V4Item;
using vsolo::testing::V4Record;
using Words = std::vector<std::string>;
namespace t = vsolo::testing;

std::string padded(int value, std::size_t width) {
    std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

using CliRun = t::ProgramRun;

class CliPdfTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(m_dir.file("config")); }

    // No display of any kind, and the settings of this test only.
    CliRun run(const std::vector<std::string>& args) const {
        return t::runProgram(VSOLO_CLI_PATH, args, m_dir.path(),
                             {0,
                              {{"DISPLAY", std::nullopt},
                               {"WAYLAND_DISPLAY", std::nullopt},
                               {"QT_QPA_PLATFORM", std::nullopt},
                               {"XDG_CONFIG_HOME", m_dir.file("config")}}});
    }

    // Sales (Letters, Calls) and Support (Tickets), with the transactions given.
    std::string writeFiles(const std::vector<V4Record>& records) {
        const std::string tpl = m_dir.file("sheet.tpl");
        t::writeBytes(tpl, t::v4Template("Veltimo Solo File", 3, 8,
                                         {V4Item{1, 0, 0, 0, 1, 1, 60, "Sales", "s"},
                                          V4Item{1, 0, 5, 1, 1, 2, 0, "Letters", "l"},
                                          V4Item{1, 0, 6, 1, 1, 2, 0, "Calls", "c"},
                                          V4Item{2, 0, 0, 0, 1, 1, 40, "Support", "t"},
                                          V4Item{2, 0, 7, 1, 1, 2, 0, "Tickets", "k"}}));
        t::writeBytes(m_dir.file("sheet.trs"), t::records(t::transactionHeader(), records));
        return tpl;
    }

    // Three days; on the first an overlap that the file does not mark.
    std::string writeThreeDays() {
        return writeFiles({
            V4Record(1, 5, "10/19/1999", "09:00", "10:30", 0, "mail"),
            V4Record(1, 6, "10/19/1999", "10:00", "11:00", 1, "call"),
            V4Record(2, 7, "10/20/1999", "08:00", "08:45", 0, "ticket"),
            V4Record(1, 5, "10/22/1999", "14:00", "15:30", 0, "letter"),
        });
    }

    t::TempDir m_dir;
};

TEST_F(CliPdfTest, PrintsTheTimeSheetWithItsErrorMarksRecomputed) {
    const std::string tpl = writeThreeDays();
    const std::string trsBefore = t::readBytes(m_dir.file("sheet.trs"));
    const std::string pdf = m_dir.file("sheet.pdf");
    const CliRun r = run({"pdf", "timesheet", tpl, "-o", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "") << "no notes from Qt about the missing display";

    const t::PdfInfo info = t::pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.width, 612, 0.01) << "Letter by default";
    EXPECT_NEAR(info.height, 792, 0.01);
    EXPECT_TRUE(t::hasLinesInOrder(
        pdf, {
                 {"TIME", "SHEET"},
                 {"REPORTING", "PERIOD"},
                 {"FROM:", "Tuesday,", "October", "19,", "1999"},
                 {"TO:", "Friday,", "October", "22,", "1999"},
                 {"PROJECT", "ACTIVITY", "START", "END", "TOTAL", "DESCRIPTION"},
                 {"Tuesday,", "October", "19,", "1999"},
                 // The overlapped transaction is in error; the sent one keeps its time.
                 {"*", "Sales", "Letters", "9:00", "10:30", "0:00", "ERROR"},
                 {"\u00a7", "Calls", "10:00", "11:00", "1:00", "call"},
                 {"Total", "1:00"},
                 {"Wednesday,", "October", "20,", "1999"},
                 {"Support", "Tickets", "8:00", "8:45", "0:45", "ticket"},
                 {"Total", "0:45"},
                 {"Friday,", "October", "22,", "1999"},
                 {"Sales", "Letters", "14:00", "15:30", "1:30", "letter"},
                 {"Total", "1:30"},
                 {"Grand", "Total", "3:15"},
                 {"*", "-", "Error"},
                 {"\u00a7", "-", "Transaction", "sent", "to", "Veltimo", "Hub"},
             }));
    // The printing date (today) at the left of the page number, the template's path under them.
    const auto text = t::lines(t::pdfText(pdf));
    const int pageLine = t::findLineEndingWith(text, {"Page", "1", "of", "1"});
    ASSERT_GE(pageLine, 0);
    EXPECT_EQ(t::words(text[static_cast<std::size_t>(pageLine)]).size(), 8u);
    EXPECT_EQ(t::findLine(text, {tpl}), pageLine + 1);
    EXPECT_EQ(t::readBytes(m_dir.file("sheet.trs")), trsBefore) << "printing writes no data";

    const std::string a4 = m_dir.file("a4.pdf");
    ASSERT_EQ(run({"pdf", "timesheet", "--paper", "a4", tpl, "-o", a4}).exitCode, 0);
    // 210 by 297 mm, in whole points.
    EXPECT_NEAR(t::pdfInfo(a4).width, 595.28, 0.5);
    EXPECT_NEAR(t::pdfInfo(a4).height, 841.89, 0.5);
    ASSERT_EQ(run({"pdf", "timesheet", "--paper", "letter", tpl, "-o", a4}).exitCode, 0);
    EXPECT_NEAR(t::pdfInfo(a4).height, 792, 0.01) << "the file is replaced";
}

TEST_F(CliPdfTest, PrintsTheTimeStudyReportWithItemsByNameAndErrorsCountingNothing) {
    const std::string tpl = writeThreeDays();
    const std::string pdf = m_dir.file("report.pdf");
    const CliRun r = run({"pdf", "report", tpl, "-o", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(t::pdfInfo(pdf).pages, 1);
    // The overlapped letter counts nothing; Calls comes before Letters by name.
    EXPECT_TRUE(t::hasLinesInOrder(
        pdf, {
                 {"PROJECT", "AND", "ACTIVITY", "REPORT"},
                 {"REPORTING", "PERIOD"},
                 {"FROM:", "Tuesday,", "October", "19,", "1999"},
                 {"TO:", "Friday,", "October", "22,", "1999"},
                 {"PROJECT", "ACTIVITY", "ACTUAL", "(H)", "ACTUAL", "(%)", "TARGET"},
                 {"Sales", "Calls", "1:00", "30.8%"},
                 {"Letters", "1:30", "46.2%"},
                 {"Total", "2:30", "76.9%", "60%"},
                 {"Support", "Tickets", "0:45", "23.1%"},
                 {"Total", "0:45", "23.1%", "40%"},
                 {"Grand", "Total", "3:15", "100.0%"},
             }));
    const auto text = t::lines(t::pdfText(pdf));
    const int pageLine = t::findLineEndingWith(text, {"Page", "1", "of", "1"});
    ASSERT_GE(pageLine, 0);
    EXPECT_EQ(t::findLine(text, {tpl}), pageLine + 1);
}

TEST_F(CliPdfTest, TakesTheRangeAsExportDoes) {
    const std::string tpl = writeThreeDays();
    const std::string pdf = m_dir.file("r.pdf");
    auto print = [&](const std::vector<std::string>& range) {
        std::vector<std::string> args{"pdf", "timesheet"};
        args.insert(args.end(), range.begin(), range.end());
        args.insert(args.end(), {tpl, "-o", pdf});
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return t::lines(t::pdfText(pdf));
    };
    // Which of the days 19 to 22 October have a date line.
    auto dateLines = [](const std::vector<std::string>& text) {
        std::string found;
        for (const Words& day : std::vector<Words>{{"Tuesday,", "October", "19,", "1999"},
                                                   {"Wednesday,", "October", "20,", "1999"},
                                                   {"Thursday,", "October", "21,", "1999"},
                                                   {"Friday,", "October", "22,", "1999"}}) {
            found += t::findLine(text, day) >= 0 ? "1" : "0";
        }
        return found;
    };
    auto header = [](const std::vector<std::string>& text, const Words& from, const Words& to) {
        Words fromLine{"FROM:"}, toLine{"TO:"};
        fromLine.insert(fromLine.end(), from.begin(), from.end());
        toLine.insert(toLine.end(), to.begin(), to.end());
        const int at = t::findLine(text, fromLine);
        return at >= 0 && t::findLine(text, toLine) == at + 1;
    };
    const Words tue19{"Tuesday,", "October", "19,", "1999"};
    const Words wed20{"Wednesday,", "October", "20,", "1999"};
    const Words fri22{"Friday,", "October", "22,", "1999"};

    // A bound alone reaches to the last or from the first day.
    auto text = print({"--from", "10/20/1999"});
    EXPECT_TRUE(header(text, wed20, fri22));
    EXPECT_EQ(dateLines(text), "0101");
    EXPECT_GE(t::findLine(text, {"Grand", "Total", "2:15"}), 0);

    text = print({"--to", "10/19/1999"});
    EXPECT_TRUE(header(text, tue19, tue19));
    EXPECT_EQ(dateLines(text), "1000");

    // Reversed bounds are exchanged.
    text = print({"--from", "10/22/1999", "--to", "10/20/1999"});
    EXPECT_TRUE(header(text, wed20, fri22));
    EXPECT_EQ(dateLines(text), "0101");

    text = print({});
    EXPECT_TRUE(header(text, tue19, fri22));
    EXPECT_EQ(dateLines(text), "1101");

    // A range before every day: one page with nothing but the page itself.
    text = print({"--to", "1/5/1990"});
    EXPECT_TRUE(
        header(text, {"Friday,", "January", "5,", "1990"}, {"Friday,", "January", "5,", "1990"}));
    EXPECT_EQ(dateLines(text), "0000");
    EXPECT_EQ(t::pdfText(pdf).find("Total"), std::string::npos);
    EXPECT_EQ(t::pdfInfo(pdf).pages, 1);
    EXPECT_GE(t::findLineEndingWith(text, {"Page", "1", "of", "1"}), 0);
}

TEST_F(CliPdfTest, ThreeHundredTransactionsOverThirtyDaysNumberEveryPage) {
    std::vector<V4Record> records;
    for (int day = 1; day <= 30; ++day) {
        for (int i = 0; i < 10; ++i) {
            records.emplace_back(i < 6 ? 1 : 2, i < 3 ? 5 : (i < 6 ? 6 : 7),
                                 t::joined({"11/", padded(day, 2), "/1999"}),
                                 padded(8 + i, 2) + ":00", padded(8 + i, 2) + ":30", i == 9 ? 1 : 0,
                                 t::joined({"w", padded((day - 1) * 10 + i, 3)}));
        }
    }
    const std::string tpl = writeFiles(records);
    const std::string pdf = m_dir.file("month.pdf");
    const CliRun r = run({"pdf", "timesheet", tpl, "-o", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 64 lines a page on Letter: 301 list rows + 3 x 29 + 5 = 393 lines, 7 pages.
    const int pages = t::pdfInfo(pdf).pages;
    ASSERT_EQ(pages, 7);
    const std::string all = t::pdfText(pdf);
    for (int page = 1; page <= pages; ++page) {
        const auto text = t::lines(t::pdfText(pdf, page));
        EXPECT_GE(t::findLineEndingWith(text, {"Page", std::to_string(page), "of", "7"}), 0)
            << page;
        EXPECT_GE(t::findLine(text, {"TIME", "SHEET"}), 0) << page;
        EXPECT_GE(t::findLine(text, {"*", "-", "Error"}), 0) << page;
    }
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(t::countOf(all, t::joined({"w", padded(i, 3)})), 1u) << i;
    }
    EXPECT_EQ(t::countOf(all, "\u00a7"), 30u + 7u) << "one sent row a day, one legend a page";
    EXPECT_EQ(t::countOf(all, "Grand Total"), 1u);
    EXPECT_NE(t::pdfText(pdf, 7).find("150:00"), std::string::npos);
    EXPECT_EQ(t::countOf(all, "Total"), 30u + 1u);
}

TEST_F(CliPdfTest, LevelTitlesComeFromTheTrackersSettingsWhichStayUntouched) {
    const std::string tpl = writeThreeDays();
    const std::string pdf = m_dir.file("t.pdf");
    ASSERT_EQ(run({"pdf", "timesheet", tpl, "-o", pdf}).exitCode, 0);
    EXPECT_TRUE(
        t::hasLinesInOrder(pdf, {{"PROJECT", "ACTIVITY", "START", "END", "TOTAL", "DESCRIPTION"}}));
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.file("config")))
        << "reading the settings creates no file";

    std::filesystem::create_directory(m_dir.file("config/Orvane Systems"));
    const std::string ini = m_dir.file("config/Orvane Systems/Veltimo Solo.ini");
    const std::string settings = "[UserConfig]\nLevel1Def=Client\nLevel2Def=Task\nAutoSave=1\n";
    t::writeBytes(ini, settings);
    ASSERT_EQ(run({"pdf", "timesheet", tpl, "-o", pdf}).exitCode, 0);
    EXPECT_TRUE(
        t::hasLinesInOrder(pdf, {{"CLIENT", "TASK", "START", "END", "TOTAL", "DESCRIPTION"}}));
    EXPECT_EQ(t::readBytes(ini), settings);
}

TEST_F(CliPdfTest, BadInvocationsExitWithTwoAndWriteNothing) {
    const std::string tpl = writeThreeDays();
    const std::string pdf = m_dir.file("never.pdf");
    auto fails = [&](const std::vector<std::string>& args, const std::string& message) {
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_FALSE(t::exists(pdf));
    };
    fails({"pdf", "timesheet", tpl}, "pdf needs -o FILE.pdf");
    fails({"pdf", "timesheet", tpl, "-o", pdf, "--paper", "legal"}, "unknown paper 'legal'");
    fails({"pdf", "timesheet", tpl, "-o", pdf, "--from", "2/30/2000"}, "invalid date '2/30/2000'");
    fails({"pdf", tpl, "-o", pdf}, "pdf takes a report: timesheet");
    fails({"pdf", "summary", tpl, "-o", pdf}, "pdf takes a report: timesheet, report");
    fails({"pdf", "timesheet", "-o", pdf}, "pdf takes one TEMPLATE");
    fails({"pdf", "timesheet", tpl, "-o", pdf, "--format", "csv"}, "unknown option '--format'");
    fails({"pdf", "timesheet", m_dir.file("missing.tpl"), "-o", pdf},
          "Cannot find " + m_dir.file("missing.tpl"));
    std::filesystem::remove(m_dir.file("sheet.trs"));
    fails({"pdf", "timesheet", tpl, "-o", pdf}, m_dir.file("sheet.trs"));

    writeThreeDays();
    const CliRun r = run({"pdf", "timesheet", tpl, "-o", m_dir.file("no/such/folder/x.pdf")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("x.pdf"), std::string::npos) << r.err;

    const CliRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("pdf timesheet|report|graph|pie1|pie2|invoice|clients|projects|rates|"
                            "expenses [--from M/D/YYYY] [--to M/D/YYYY] [--project NAME]... "
                            "[--paper letter|a4] TEMPLATE -o FILE.pdf"),
              std::string::npos);
}

// The graphs of the three days: 150 minutes of Sales (60 of Calls, 90 of Letters; the overlapped
// Letters row counts nothing) and 45 of Support's Tickets, 195 in all.
struct GraphPdfCase {
    const char* report;
    // The lines that end with these words, in order.
    std::vector<Words> endings;
};

class CliGraphPdfTest : public CliPdfTest, public ::testing::WithParamInterface<GraphPdfCase> {};

TEST_P(CliGraphPdfTest, PrintsTheGraphOfTheRangeOnOnePage) {
    const std::string tpl = writeThreeDays();
    const std::string pdf = m_dir.file("graph.pdf");
    const CliRun r = run({"pdf", GetParam().report, tpl, "-o", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(t::pdfInfo(pdf).pages, 1);
    EXPECT_TRUE(t::hasLinesInOrder(pdf, GetParam().endings, true));
    const auto text = t::lines(t::pdfText(pdf));
    const int pageLine = t::findLineEndingWith(text, GetParam().endings.back());
    ASSERT_GE(pageLine, 0);
    EXPECT_EQ(t::findLine(text, {tpl}), pageLine + 1) << "the path under the page number";
}

const Words kPeriodFrom{"FROM:", "Tuesday,", "October", "19,", "1999"};
const Words kPeriodTo{"TO:", "Friday,", "October", "22,", "1999"};

INSTANTIATE_TEST_SUITE_P(
    Graphs, CliGraphPdfTest,
    ::testing::Values(GraphPdfCase{"graph",
                                   {{"%", "OF", "TOTAL", "HOURS", "WORKED", "BY", "PROJECT",
                                     "(INCLUDING", "TARGET)"},
                                    kPeriodFrom,
                                    kPeriodTo,
                                    {"ACTUAL", "TARGET"},
                                    {"77%"},
                                    {"60%"},
                                    {"23%"},
                                    {"40%"},
                                    {"Page", "1", "of", "1"}}},
                      GraphPdfCase{"pie1",
                                   {{"%", "OF", "TOTAL", "HOURS", "WORKED", "BY", "PROJECT"},
                                    kPeriodFrom,
                                    kPeriodTo,
                                    {"76.9%", "Sales"},
                                    {"23.1%", "Support"},
                                    {"Page", "1"}}},
                      GraphPdfCase{"pie2",
                                   {{"%", "OF", "TOTAL", "HOURS", "WORKED", "BY", "ACTIVITY"},
                                    kPeriodFrom,
                                    kPeriodTo,
                                    {"46.2%", "Sales", "-", "Letters"},
                                    {"30.8%", "Sales", "-", "Calls"},
                                    {"23.1%", "Support", "-", "Tickets"},
                                    {"Page", "1"}}}),
    [](const ::testing::TestParamInfo<GraphPdfCase>& testInfo) {
        return std::string(testInfo.param.report);
    });

// Letter and A4: titles and a long description whole, the last title clear of the title frame.
TEST_F(CliPdfTest, TitlesAndALongDescriptionPrintWholeInsideTheFrameOnEitherPaper) {
    const std::string tpl =
        writeFiles({V4Record(1, 5, "10/19/1999", "08:00", "09:00", 0, "Quarterly review")});
    const std::string pdf = m_dir.file("paper.pdf");
    for (const std::string report : {"timesheet", "report"}) {
        for (const std::string paper : {"letter", "a4"}) {
            ASSERT_EQ(run({"pdf", report, "--paper", paper, tpl, "-o", pdf}).exitCode, 0);
            const std::string text = t::pdfText(pdf);
            EXPECT_EQ(text.find("\u2026"), std::string::npos) << paper << text;
            EXPECT_EQ(text.find("Quarterly review") != std::string::npos, report == "timesheet");
            const t::WordBox last =
                t::pdfWordBox(pdf, report == "timesheet" ? "DESCRIPTION" : "TARGET");
            EXPECT_LE(last.xMax, t::pdfInfo(pdf).width - (0.75 + 0.05) * 72) << paper << text;
        }
    }
}

} // namespace
