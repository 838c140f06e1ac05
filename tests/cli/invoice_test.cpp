// vsolo-cli invoice on the files of reportingcli.h.

#include "reportingcli.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {
namespace {

using Words = std::vector<std::string>;

// Alpha's own hour and Gamma are not billed, Design has no rate, the April day is outside the
// period; SOLD TO and the address belong to the printed invoice only.
constexpr const char* kMarchInvoice = "Alpha\t\t\t\n"
                                      "Build\t1:30\t$40.00\t$60.00\n"
                                      "Design\t0:45\t0.00\t0.00\n"
                                      "beta\t\t\t\n"
                                      "Test\t2:00\t$55.50\t$111.00\n"
                                      "Total\t\t\t$171.00\n"
                                      "Tax  (10.00%)\t\t\t$17.10\n"
                                      "Grand Total\t4:15\t\t$188.10\n";

const Words kMarch = {"invoice", "--from", "3/1/2026", "--to", "3/31/2026"};

Words withMarch(const Words& more) {
    Words args = kMarch;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

class InvoiceTest : public ReportingCliTest {};

class InvoiceProjectsTest : public ReportingCliTest, public ::testing::WithParamInterface<Words> {};

TEST_P(InvoiceProjectsTest, BillsTheNamedProjectsInNameOrder) {
    const ProgramRun r = run(withMarch(GetParam()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, kMarchInvoice);
}

INSTANTIATE_TEST_SUITE_P(
    Names, InvoiceProjectsTest,
    ::testing::Values(Words{"--project", "Alpha", "--project", "beta"},
                      // Any case, in any order, and a name given twice counts once.
                      Words{"--project", "BETA", "--project", "alpha", "--project", "Alpha"}));

TEST_F(InvoiceTest, TakesTheToolsPeriodWithoutFromAndTo) {
    const ProgramRun r = run({"invoice", "--project", "alpha", "--project", "beta"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find("Build"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Test\t2:00\t$55.50\t$111.00\n"), std::string::npos) << r.out;
}

TEST_F(InvoiceTest, RefusesAnUnknownProject) {
    const ProgramRun r = run(withMarch({"--project", "Alpha", "--project", "Delta"}));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("'Delta'"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

// The invoice and the expense report, printed or not, are of chosen projects only.
class ReportWithoutProjectTest : public ReportingCliTest,
                                 public ::testing::WithParamInterface<Words> {};

TEST_P(ReportWithoutProjectTest, AsksForOneWithTheLevelOneTitle) {
    Words args = GetParam();
    args.insert(args.end(), {"-o", dir.file("out")});
    const ProgramRun r = run(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "vsolo-cli: Please select one or more Job before viewing this report.\n");
    EXPECT_FALSE(exists(dir.file("out")));
}

INSTANTIATE_TEST_SUITE_P(Reports, ReportWithoutProjectTest,
                         ::testing::Values(Words{"invoice"}, Words{"pdf", "invoice"},
                                           Words{"pdf", "expenses"}));

// No invoice, printed or not, with a tax rate that is not a number (a comma makes a list).
TEST_F(InvoiceTest, RefusesAnUnreadableTaxRate) {
    writeBytes(ownSettings(), "[UserConfig]\nTax=7,5\n");
    for (Words args : {Words{"invoice"}, Words{"pdf", "invoice"}}) {
        args.insert(args.end(), {"--project", "Alpha", "-o", dir.file("out")});
        const ProgramRun r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("settings, \"7, 5\", is not a number"), std::string::npos) << r.err;
        EXPECT_FALSE(exists(dir.file("out")));
    }
}

TEST_F(InvoiceTest, TellsAMissingReportingFileAndBillsWithoutRates) {
    std::filesystem::remove(dir.file("Work.vsr"));
    const ProgramRun r = run(withMarch({"--project", "Alpha"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "vsolo-cli: The Veltimo Solo reporting file (*.vsr) could not be found.  "
                     "Veltimo Solo will create a new reporting file.\n");
    EXPECT_NE(r.out.find("Build\t1:30\t0.00\t0.00\n"), std::string::npos) << r.out;
}

TEST_F(InvoiceTest, RefusesADamagedReportingFile) {
    ByteBuilder vsr = vsrHeader();
    vsr.i32(3);
    writeBytes(dir.file("Work.vsr"), vsr);
    const ProgramRun r = run(withMarch({"--project", "Alpha"}));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(dir.file("Work.vsr")), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(InvoiceTest, TellsARecordCutShortUnderTheTotalsAndOnStandardError) {
    writeBytes(dir.file("Work.trs"), ByteBuilder().raw(readBytes(dir.file("Work.trs"))).i32(2));
    const ProgramRun r = run(withMarch({"--project", "beta"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string cut = "Not billed: a record cut short at the end of the transaction file";
    EXPECT_EQ(r.out.substr(r.out.find("Grand")),
              "Grand Total\t2:00\t\t$122.10\n" + cut + "\t\t\t\n");
    EXPECT_EQ(r.err, "vsolo-cli: " + cut + "\n");
}

TEST_F(InvoiceTest, DamagedTransactionsEndItPrintedOrNotNamingTheFile) {
    const std::string trs = dir.file("Work.trs");
    writeBytes(trs, ByteBuilder().raw(readBytes(trs)).zeros(35).i32(-1));
    for (Words args : {Words{"invoice"}, Words{"pdf", "invoice"}}) {
        args.insert(args.end(), {"--project", "Alpha", "-o", dir.file("out")});
        const ProgramRun r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(trs + " is damaged"), std::string::npos) << r.err;
        EXPECT_FALSE(exists(dir.file("out")));
    }
}

// Every file read, settings included, keeps its bytes, printed or not.
TEST_F(InvoiceTest, ChangesNoFile) {
    const Words files = {ownSettings(), trackerSettings(), tpl(), dir.file("Work.trs"),
                         dir.file("Work.vsr")};
    std::vector<std::string> before;
    for (const std::string& file : files) {
        before.push_back(readBytes(file));
    }
    ASSERT_EQ(run(withMarch({"--project", "Alpha"})).exitCode, 0);
    ASSERT_EQ(run({"pdf", "invoice", "--project", "Alpha", "-o", dir.file("i.pdf")}).exitCode, 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(readBytes(files[i]), before[i]) << files[i];
    }
}

} // namespace
} // namespace vsolo::testing
