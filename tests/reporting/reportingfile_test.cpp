// The reporting file byte by byte, the store's operations and the document's load and save.

#include "core/base/fileio.h"
#include "reporting/data/moneytext.h"
#include "reporting/data/reportingdocument.h"
#include "reporting/data/reportingfile.h"
#include "reportingfixture.h"

#include <sys/stat.h>
#include <tuple>

namespace vsolo::testing {
namespace {

using reporting::ReportingResult;

// Two expenses, two rates (the second with the empty code), one client; assignments for the
// template's three items and for an item that is no longer there.
std::string sampleFile(bool withGoneItem) {
    ByteBuilder b = vsrHeader();
    b.i32(2);
    b.i32(1).i32(1).i32(0).i32(915148800);
    real(b, 12.5).counted("Taxi");
    b.i32(2).i32(3).i32(7).i32(915235200);
    real(b, 100.0).counted("Hotel\tnight");
    b.i32(2);
    b.counted("STD");
    real(b, 80.0).counted("Standard");
    b.counted("");
    real(b, 0.0).counted("");
    b.i32(1).i32(4).counted("Acme");
    b.i32(withGoneItem ? 4 : 3);
    b.i32(1).i32(0).counted("STD").i32(4);
    b.i32(1).i32(1).counted("").i32(0);
    if (withGoneItem) {
        b.i32(9).i32(9).counted("STD").i32(4);
    }
    b.i32(2).i32(0).counted("").i32(4);
    return b;
}

using ReportingFileTest = ReportingFixture;

TEST_F(ReportingFileTest, ReadsAndWritesBackByteForByte) {
    ASSERT_TRUE(data.readTemplate());
    writeBytes(data.reportingPath(), sampleFile(false));
    ASSERT_TRUE(data.readReportingFile());
    ASSERT_EQ(data.expenses().size(), 2u);
    EXPECT_EQ(data.expenses()[1].reserved, 7);
    EXPECT_EQ(data.expenses()[1].description, "Hotel\tnight");
    EXPECT_DOUBLE_EQ(data.expenses()[0].amount, 12.5);
    ASSERT_EQ(data.rates().size(), 2u);
    EXPECT_EQ(data.rates()[1].code, "");
    EXPECT_EQ(data.findItem(1, 0)->rateCode, "STD");
    EXPECT_EQ(data.findItem(2, 0)->clientId, 4);

    ASSERT_TRUE(data.writeReportingFile());
    EXPECT_EQ(readBytes(data.reportingPath()), sampleFile(false));
}

TEST_F(ReportingFileTest, DropsAssignmentsOfItemsNoLongerInTheTemplate) {
    ASSERT_TRUE(data.readTemplate());
    writeBytes(data.reportingPath(), sampleFile(true));
    ASSERT_TRUE(data.readReportingFile());
    ASSERT_TRUE(data.writeReportingFile());
    EXPECT_EQ(readBytes(data.reportingPath()), sampleFile(false));
}

// Items of one key, in a damaged template, keep their rates through saves of the sorted list.
TEST_F(ReportingFileTest, GivesTheNthRecordOfAKeyToTheNthItemOfThatKey) {
    ByteBuilder tpl = templateHeader(2);
    templateItem(tpl, 1, 0, 1, 1, 2, "Zinc");
    templateItem(tpl, 1, 0, 1, 1, 2, "Copper");
    writeBytes(data.templatePath(), tpl);
    ByteBuilder vsr = vsrHeader().i32(0).i32(0).i32(0).i32(2);
    vsr.i32(1).i32(1).counted("ZN").i32(0).i32(1).i32(1).counted("CU").i32(0);
    writeBytes(data.reportingPath(), vsr);
    for (int round = 0; round < 2; ++round) {
        data.clear();
        ASSERT_TRUE(data.readTemplate() && data.readReportingFile());
        EXPECT_EQ(data.items()[0].rateCode + data.items()[1].rateCode, "ZNCU") << round;
        data.sortItemsByName();
        ASSERT_TRUE(data.writeReportingFile());
    }
}

TEST_F(ReportingFileTest, WritesTheEmptyRateCodeAsLengthOne) {
    ASSERT_TRUE(data.readTemplate());
    ASSERT_TRUE(data.writeReportingFile());
    ByteBuilder expected = vsrHeader();
    expected.i32(0).i32(0).i32(0).i32(3);
    for (auto [group, sub] : {std::pair{1, 0}, {1, 1}, {2, 0}}) {
        expected.i32(group).i32(sub).i32(1).u8(0).i32(0);
    }
    EXPECT_EQ(readBytes(data.reportingPath()), expected.bytes());
}

TEST_F(ReportingFileTest, ReadsTextsThatAreNotUtf8AsWindows1252) {
    ByteBuilder b = vsrHeader();
    b.i32(0).i32(0).i32(1).i32(1).counted("Caf\xE9").i32(0);
    writeBytes(data.reportingPath(), b);
    ASSERT_TRUE(data.readReportingFile());
    EXPECT_EQ(data.clients()[0].name, "Caf\xC3\xA9");
}

TEST_F(ReportingFileTest, RefusesTextsTheReaderCouldNotHold) {
    // With its terminating zero the text needs one byte more than the reader's buffer.
    data.clients().push_back({1, std::string(reporting::kTextBufferSize, 'x')});
    const ReportingResult result = data.writeReportingFile();
    EXPECT_EQ(result.what, ReportingResult::What::Unstorable);
    EXPECT_FALSE(fileExists(data.reportingPath()));
    data.clients()[0].name.pop_back();
    ASSERT_TRUE(data.writeReportingFile());
    data.clear();
    ASSERT_TRUE(data.readReportingFile());
    EXPECT_EQ(data.clients().at(0).name.size(), reporting::kTextBufferSize - 1);
}

// 7000 bytes of Windows-1252 are 10000 of UTF-8, one too many: told at open, refused by Save.
TEST_F(ReportingFileTest, OpenNamesTextsThatWillNotFitOnceSaved) {
    ByteBuilder file = vsrHeader();
    file.i32(0).i32(0).i32(1).i32(1).counted(std::string(4000, 'a') + std::string(3000, '\xE9'));
    writeBytes(data.reportingPath(), file.i32(0));
    reporting::ReportingDocument doc(data);
    const std::string told = doc.openDocument(dir.file("Work.tpl")).messages.at(0).message;
    EXPECT_NE(told.find("client \"" + std::string(40, 'a') + "...\" (10000 bytes)"), told.npos);
    EXPECT_EQ(doc.save().what, ReportingResult::What::Unstorable);
    EXPECT_EQ(readBytes(data.reportingPath()), file.bytes());
}

TEST_F(ReportingFileTest, GivesNewIdsAfterTheLargestAndReusesTheHighestDeleted) {
    EXPECT_EQ(data.nextClientId(), 1);
    EXPECT_EQ(data.nextExpenseId(), 1);
    data.clients() = {{3, "C"}, {7, "A"}};
    data.expenses().push_back({1, 5, 0, 0, 1.0, "e"});
    data.expenses().push_back({1, 2, 0, 0, 1.0, "f"});
    EXPECT_EQ(data.nextClientId(), 8);
    EXPECT_EQ(data.nextExpenseId(), 6);
    EXPECT_TRUE(data.deleteClient(7));
    EXPECT_TRUE(data.deleteExpense(5));
    EXPECT_EQ(data.nextClientId(), 4);
    EXPECT_EQ(data.nextExpenseId(), 3);
    EXPECT_FALSE(data.deleteExpense(5));
}

TEST_F(ReportingFileTest, DeletingAClientOrRateLeavesNoItemNamingIt) {
    ASSERT_TRUE(data.readTemplate());
    writeBytes(data.reportingPath(), sampleFile(false));
    ASSERT_TRUE(data.readReportingFile());
    data.findItem(1, 1)->rateCode = "STD";
    EXPECT_TRUE(data.deleteClient(4));
    EXPECT_TRUE(data.deleteRate("STD"));
    for (const reporting::TemplateItem& item : data.items()) {
        EXPECT_EQ(item.clientId, 0);
        EXPECT_EQ(item.rateCode, "");
    }
    EXPECT_EQ(data.findRate("STD"), nullptr);
    EXPECT_NE(data.findRate(""), nullptr);
    EXPECT_EQ(data.level1Count(), 2);
}

TEST_F(ReportingFileTest, SortsStablyWithoutRegardToCase) {
    data.clients() = {{1, "beta"}, {2, "Alpha"}, {3, "BETA"}, {4, "alpha"}};
    data.sortClientsByName();
    std::vector<std::int32_t> ids;
    for (const auto& c : data.clients()) {
        ids.push_back(c.clientId);
    }
    EXPECT_EQ(ids, (std::vector<std::int32_t>{2, 4, 1, 3}));
    data.expenses() = {{1, 1, 0, 300, 0, ""}, {1, 2, 0, 100, 0, ""}, {1, 3, 0, 300, 0, ""}};
    data.sortExpensesByDate();
    EXPECT_EQ(data.expenses()[0].expenseId, 2);
    EXPECT_EQ(data.expenses()[1].expenseId, 1);
}

// Each damaged file names its fault; the store keeps no half of it.
struct DamagedCase {
    const char* name;
    std::string bytes;
};

class DamagedReportingFileTest : public ReportingFixture,
                                 public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedReportingFileTest, IsRefusedWithTheFileNamedAndNothingKept) {
    ASSERT_TRUE(data.readTemplate());
    writeBytes(data.reportingPath(), GetParam().bytes);
    const ReportingResult result = data.readReportingFile();
    EXPECT_EQ(result.what, ReportingResult::What::Damaged);
    EXPECT_NE(result.message.find(data.reportingPath()), std::string::npos) << result.message;
    EXPECT_TRUE(data.expenses().empty());
    EXPECT_TRUE(data.rates().empty());
    EXPECT_TRUE(data.clients().empty());
    EXPECT_EQ(data.findItem(1, 0)->clientId, 0);
}

const std::string kNaN("\0\0\0\0\0\0\xF8\x7F", 8);

std::string withClients(const std::string& clientSection) {
    return vsrHeader().i32(0).i32(0).raw(clientSection);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedReportingFileTest,
    ::testing::Values(
        DamagedCase{"ShortHeader", vsrHeader().bytes().substr(0, 20)},
        DamagedCase{"NoExpenseCount", vsrHeader()},
        DamagedCase{"CountPastTheEnd", vsrHeader().i32(1000000).i32(0).i32(0).i32(0)},
        DamagedCase{"NegativeCount", vsrHeader().i32(-1).i32(0).i32(0).i32(0)},
        DamagedCase{"TextPastTheEnd", withClients(ByteBuilder().i32(1).i32(1).i32(50).raw("ab"))},
        DamagedCase{
            "TextPastTheBuffer",
            withClients(
                ByteBuilder().i32(1).i32(1).i32(10001).raw(std::string(10001, 'x')).i32(0))},
        DamagedCase{"NegativeLength", withClients(ByteBuilder().i32(1).i32(1).i32(-5).i32(0))},
        DamagedCase{"AssignmentsCut",
                    withClients(ByteBuilder().i32(0).i32(2).i32(1).i32(0).counted("").i32(0))},
        DamagedCase{"RateAmountCut", vsrHeader().i32(0).i32(1).counted("A").raw("1234")},
        DamagedCase{"RateAmountNotANumber",
                    vsrHeader().i32(0).i32(1).counted("A").raw(kNaN).counted("").i32(0).i32(0)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ReportingFileTest, OpenWithoutReportingFileTells61214AndTheFirstSaveCreatesIt) {
    reporting::ReportingDocument doc(data);
    const auto outcome = doc.openDocument(dir.file("Work.tpl"));
    EXPECT_EQ(outcome.kind, reporting::ReportingDocument::OpenOutcome::Kind::Opened);
    ASSERT_EQ(outcome.messages.size(), 2u);
    EXPECT_EQ(outcome.messages[0].messageId, reporting::kReportingFileMissingId);
    EXPECT_EQ(outcome.messages[0].message, reporting::kReportingFileMissingText);
    EXPECT_EQ(outcome.messages[1].message, reporting::kTransactionsMissingText);
    EXPECT_EQ(doc.title(), "Work");
    EXPECT_EQ(doc.path(), dir.file("Work.vsr"));
    doc.setModified();
    ASSERT_TRUE(doc.save());
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(fileExists(dir.file("Work.vsr")));
}

TEST_F(ReportingFileTest, NewDocumentIsSilentAboutAMissingReportingFile) {
    writeBytes(data.transactionPath(), transactionHeader());
    reporting::ReportingDocument doc(data);
    EXPECT_TRUE(doc.newDocument(dir.file("Work.tpl")).empty());
    EXPECT_EQ(data.items().size(), 3u);
    EXPECT_TRUE(doc.newDocument(std::nullopt).empty());
    EXPECT_TRUE(data.items().empty());
    EXPECT_EQ(doc.title(), "Untitled");
    EXPECT_EQ(doc.path(), "Untitled.vsr");
}

TEST_F(ReportingFileTest, NothingIsSavedWithoutATemplate) {
    writeBytes(dir.file("Work.tpl"), templateHeader(0, 3));
    writeBytes(data.reportingPath(), sampleFile(false));
    reporting::ReportingDocument doc(data);
    doc.newDocument(dir.file("Work.tpl"));
    EXPECT_EQ(doc.save().what, ReportingResult::What::NoTemplate);
    doc.openDocument(dir.file("Work.tpl"));
    EXPECT_EQ(doc.save().what, ReportingResult::What::NoTemplate);
    EXPECT_EQ(readBytes(data.reportingPath()), sampleFile(false));
}

TEST_F(ReportingFileTest, DamagedFileIsNotOverwrittenWithoutAsking) {
    const std::string damaged = vsrHeader().i32(5);
    writeBytes(data.reportingPath(), damaged);
    writeBytes(data.transactionPath(), transactionHeader());
    reporting::ReportingDocument doc(data);
    const auto messages = doc.newDocument(dir.file("Work.tpl"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].what, ReportingResult::What::Damaged);
    EXPECT_TRUE(doc.saveNeedsConfirmation());
    EXPECT_NE(doc.overwriteQuestion().find(dir.file("Work.vsr")), std::string::npos);
    EXPECT_EQ(readBytes(data.reportingPath()), damaged);
    ASSERT_TRUE(doc.save());
    EXPECT_FALSE(doc.saveNeedsConfirmation());
}

TEST_F(ReportingFileTest, AnUnreadableFileIsToldAndKeptLikeADamagedOne) {
    ASSERT_EQ(::mkdir(data.reportingPath().c_str(), 0700), 0);
    reporting::ReportingDocument doc(data);
    const auto outcome = doc.openDocument(dir.file("Work.tpl"));
    ASSERT_FALSE(outcome.messages.empty());
    EXPECT_EQ(outcome.messages[0].messageId, 0);
    EXPECT_NE(outcome.messages[0].message.find(reporting::kKeptFileNotice), std::string::npos);
    EXPECT_TRUE(doc.saveNeedsConfirmation());
}

TEST_F(ReportingFileTest, OpeningAMissingFileLeavesTheDocumentAsItWas) {
    reporting::ReportingDocument doc(data);
    doc.newDocument(dir.file("Work.tpl"));
    const auto outcome = doc.openDocument(dir.file("Gone.tpl"));
    EXPECT_EQ(outcome.kind, reporting::ReportingDocument::OpenOutcome::Kind::Missing);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].messageId, reporting::kTemplateNotFoundId);
    EXPECT_EQ(doc.path(), dir.file("Work.vsr"));
    EXPECT_EQ(data.items().size(), 3u);
}

TEST(MoneyText, FollowsTheReportsRule) {
    const std::pair<double, const char*> table[] = {
        {0.0, "0.00"},
        {0.09, "0.00"},
        {0.095, ".10"},
        {0.5, ".50"},
        {1.0, "1.00"},
        {250.5, "250.50"},
        {12.344, "12.34"},
        {12.345, "12.35"},
        {1234567.891, "1234567.89"},
        {80.0, "80.00"},
        {0.05, "0.00"},
        {0.0949, "0.00"},
        {0.995, "1.00"},
        {1234567.895, "1234567.90"},
    };
    for (const auto& [value, text] : table) {
        EXPECT_EQ(reporting::moneyText(value), text) << value;
    }
    EXPECT_EQ(reporting::moneyText(250.5, "$ "), "$ 250.50");
    EXPECT_EQ(reporting::moneyText(0.01, "$"), "0.00");
}

// A credit shows with its sign, to the cent, in every variant.
TEST(MoneyText, ShowsNegativeValuesWithTheirSign) {
    const std::tuple<double, const char*, const char*> table[] = {
        {-5.0, "", "-5.00"},     {-50.0, "$", "-$50.00"},   {-50.0, "$ ", "$ -50.00"},
        {-12.345, "", "-12.35"}, {-12.344, "$", "-$12.34"}, {-0.5, "", "-.50"},
        {-0.05, "$", "-$.05"},   {-0.005, "", "-.01"},      {-0.0049, "$", "0.00"},
    };
    for (const auto& [value, prefix, text] : table) {
        EXPECT_EQ(reporting::moneyText(value, prefix), text) << value << " '" << prefix << "'";
    }
}

} // namespace
} // namespace vsolo::testing
