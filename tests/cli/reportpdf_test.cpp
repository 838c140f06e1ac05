// vsolo-cli pdf on the reporting tool's reports, read back with pdftotext.

#include "reportingcli.h"
#include "tests/support/pdftext.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {
namespace {

using Words = std::vector<std::string>;

struct PdfCase {
    std::string report;
    Words options;
    std::string title;
    // One row of the report's body, by its words.
    Words row;
};

void PrintTo(const PdfCase& c, std::ostream* out) {
    *out << c.report;
}

class ReportPdfTest : public ReportingCliTest, public ::testing::WithParamInterface<PdfCase> {};

TEST_P(ReportPdfTest, PrintsTitleAndRow) {
    const PdfCase& c = GetParam();
    const std::string pdf = dir.file(c.report + ".pdf");
    Words args = {"pdf", c.report, "--from", "3/1/2026", "--to", "3/31/2026"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {"-o", pdf});
    const ProgramRun r = run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find(c.title), std::string::npos) << text;
    EXPECT_GE(findLine(lines(text), c.row), 0) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReportPdfTest,
    // The second --project reaches the printer too.
    ::testing::Values(PdfCase{"invoice",
                              {"--project", "alpha", "--project", "BETA"},
                              "INVOICE",
                              {"Test", "2:00", "$55.50", "$111.00"}},
                      PdfCase{"clients", {}, "CLIENTS LIST", {"1)", "Acme"}},
                      PdfCase{"projects", {}, "JOB LIST", {"1)", "Alpha", "Acme"}},
                      PdfCase{"rates", {}, "RATES LIST", {"2)", "HI", "55.50", "High"}},
                      PdfCase{"expenses",
                              {"--project", "Alpha"},
                              "EXPENSES LIST",
                              {"Alpha", "03/03/2026", "$", "12.50", "Taxi"}}),
    [](const ::testing::TestParamInfo<PdfCase>& kind) { return kind.param.report; });

TEST_F(ReportingCliTest, RefusesAReportWithoutData) {
    const std::string pdf = dir.file("none.pdf");
    const ProgramRun r = run({"pdf", "expenses", "--project", "Gamma", "-o", pdf});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "vsolo-cli: No data for the requested parameters was found.  Report will not "
                     "be displayed.\n");
    EXPECT_FALSE(exists(pdf));
}

} // namespace
} // namespace vsolo::testing
