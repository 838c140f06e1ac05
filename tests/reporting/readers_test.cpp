// The reporting tool's own readers of the template and the transaction file.

#include "reporting/data/readers.h"
#include "reportingfixture.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace vsolo::testing {
namespace {

using reporting::ReportingResult;

// Sets a time zone for one test and puts the old one back.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (m_old) {
            ::setenv("TZ", m_old->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};

constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";

using TemplateReaderTest = ReportingFixture;

TEST_F(TemplateReaderTest, KeepsTheLevelByteAsStoredAndAnyTypeText) {
    ByteBuilder tpl;
    tpl.i32(4).fixed("Anything at all", 25).zeros(71).i32(2);
    templateItem(tpl, 1, 0, 0, 3, 2, "Deep but level 2");
    tpl.i32(1).i32(0).i32(5).i32(1).u8(0).u8(1).u16(40);
    tpl.counted("Named").counted("Described").counted("Third");
    tpl.raw("the rest of the template is not read");
    writeBytes(data.templatePath(), tpl);
    ASSERT_TRUE(data.readTemplate());
    ASSERT_EQ(data.items().size(), 2u);
    EXPECT_EQ(data.items()[0].level, 2);
    EXPECT_EQ(data.items()[0].depth, 3);
    const reporting::TemplateItem& item = data.items()[1];
    EXPECT_EQ(item.level, 1);
    EXPECT_EQ(item.activeFlag, 0);
    EXPECT_EQ(item.targetPercentage, 40);
    EXPECT_EQ(item.subId, 5);
    EXPECT_EQ(item.description, "Described");
    EXPECT_EQ(item.thirdText, "Third");
    EXPECT_EQ(item.clientId, 0);
    EXPECT_EQ(item.rateCode, "");
}

TEST_F(TemplateReaderTest, TellsAMissingTemplateWith61216AndItsPath) {
    data.setTemplatePath(dir.file("None.tpl"));
    const ReportingResult result = data.readTemplate();
    EXPECT_EQ(result.messageId, reporting::kTemplateNotFoundId);
    EXPECT_EQ(result.message,
              dir.file("None.tpl") +
                  " could not be found, or could not be accessed.  The network may be down, or "
                  "the file may have been removed, renamed, or locked.");
}

TEST_F(TemplateReaderTest, RefusesVersionsOtherThanFourWith61203) {
    writeBytes(data.templatePath(), templateHeader(0, 3));
    const ReportingResult result = data.readTemplate();
    EXPECT_EQ(result.messageId, reporting::kTemplateFormatId);
    EXPECT_EQ(result.message, reporting::kTemplateFormatText);
    EXPECT_TRUE(data.items().empty());
}

TEST_F(TemplateReaderTest, RefusesCountsAndTextsRunningPastTheEndOrTheBuffer) {
    for (const std::string& bytes :
         {std::string(templateHeader(1000)), std::string(templateHeader(1).i32(1).i32(0).i32(0)),
          std::string(templateHeader(1)
                          .i32(1)
                          .i32(0)
                          .i32(0)
                          .i32(0)
                          .u8(1)
                          .u8(1)
                          .u16(0)
                          .i32(10001)
                          .raw(std::string(10001, 'x'))
                          .counted("")
                          .counted(""))}) {
        writeBytes(data.templatePath(), bytes);
        const ReportingResult result = data.readTemplate();
        EXPECT_EQ(result.what, ReportingResult::What::Damaged);
        EXPECT_NE(result.message.find(data.templatePath()), std::string::npos);
        EXPECT_TRUE(data.items().empty());
    }
}

using TransactionReaderTest = ReportingFixture;

TEST_F(TransactionReaderTest, TellsAMissingOrForeignFileAndKeepsNoSpans) {
    EXPECT_EQ(data.readTransactions().message, reporting::kTransactionsMissingText);
    EXPECT_EQ(data.transactionsProblem(), ""); // no file, no time
    for (const std::string& header :
         {std::string(transactionHeader(3)), std::string(transactionHeader(4, "transaction file")),
          std::string(transactionHeader(4, "Transaction Files")), std::string("\4\0\0")}) {
        writeBytes(data.transactionPath(), header);
        const ReportingResult result = data.readTransactions();
        EXPECT_EQ(result.what, ReportingResult::What::NotRecognized);
        EXPECT_EQ(result.message, reporting::kTransactionsNotRecognizedText);
    }
    writeBytes(data.transactionPath(), transactionHeader());
    EXPECT_TRUE(data.readTransactions());
    EXPECT_TRUE(data.spans().empty());
}

TEST_F(TransactionReaderTest, ConvertsLocalTimesWithTheDaylightSavingOfTheDate) {
    const TimeZone zone(kNewYork);
    ByteBuilder trs = transactionHeader();
    transactionRecord(trs, 1, 0, "01/15/2020", "09:00", "10:30");
    transactionRecord(trs, 1, 1, "07/01/2020", "09:00", "09:45", 1);
    // The night the clocks go forward: 01:00 EST to 03:00 EDT is one hour.
    transactionRecord(trs, 2, 0, "03/08/2020", "01:00", "03:00");
    writeBytes(data.transactionPath(), trs);
    ASSERT_TRUE(data.readTransactions());
    ASSERT_EQ(data.spans().size(), 3u);
    EXPECT_EQ(data.spans()[0].start, 1579096800); // 2020-01-15 14:00 UTC
    EXPECT_EQ(data.spans()[0].duration, 5400);
    EXPECT_EQ(data.spans()[0].date, 20200115);
    EXPECT_EQ(data.spans()[1].start, 1593608400); // 2020-07-01 13:00 UTC
    EXPECT_EQ(data.spans()[1].sent, 1);
    EXPECT_EQ(data.spans()[1].subId, 1);
    EXPECT_EQ(data.spans()[2].duration, 3600);
}

// Every ten minutes of the months around the changes of daylight saving time, in zones that
// change at 02:00, by half an hour, and at midnight, with impossible days and times among them:
// each time is what the C library's conversion of that local time gives.
class TransactionReaderZones : public ReportingFixture,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(TransactionReaderZones, GiveEachTimeTheCLibrarysConversion) {
    const TimeZone zone(GetParam());
    ByteBuilder trs = transactionHeader();
    std::vector<std::array<int, 5>> times; // month, day, start hour, start minute, end hour
    char date[16];
    char start[8];
    char end[8];
    for (const int month : {2, 3, 4, 10, 11}) {
        for (int day = 0; day <= 32; ++day) {
            for (int minutes = 0; minutes <= 24 * 60; minutes += 10) {
                const int hour = minutes / 60;
                const int minute = minutes == 24 * 60 ? 75 : minutes % 60;
                std::snprintf(date, sizeof date, "%02d/%02d/2020", month, day);
                std::snprintf(start, sizeof start, "%02d:%02d", hour, minute);
                std::snprintf(end, sizeof end, "%02d:%02d", (hour + 1) % 25, minute);
                transactionRecord(trs, 1, 0, date, start, end);
                times.push_back({month, day, hour, minute, (hour + 1) % 25});
            }
        }
    }
    writeBytes(data.transactionPath(), trs);
    ASSERT_TRUE(data.readTransactions());
    ASSERT_EQ(data.spans().size(), times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        const auto [month, day, hour, minute, endHour] = times[i];
        const std::int32_t expected = reporting::localTimeToUtc(2020, month, day, hour, minute);
        ASSERT_EQ(data.spans()[i].start, expected)
            << month << "/" << day << " " << hour << ":" << minute;
        ASSERT_EQ(data.spans()[i].duration,
                  reporting::localTimeToUtc(2020, month, day, endHour, minute) - expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, TransactionReaderZones,
                         ::testing::Values(kNewYork, "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0",
                                           "<-03>3<-02>,M10.3.0/0,M2.3.0/0", "UTC0"));

TEST_F(TransactionReaderTest, GivesANegativeDurationWhenTheEndIsBeforeTheStart) {
    const TimeZone zone("UTC0");
    ByteBuilder trs = transactionHeader();
    transactionRecord(trs, 1, 0, "02/03/2021", "17:15", "08:00");
    writeBytes(data.transactionPath(), trs);
    ASSERT_TRUE(data.readTransactions());
    ASSERT_EQ(data.spans().size(), 1u);
    EXPECT_EQ(data.spans()[0].duration, -(9 * 3600 + 15 * 60));
    EXPECT_EQ(data.itemSeconds(1, 0, 0, data.spans()[0].start), -(9 * 3600 + 15 * 60));
    EXPECT_EQ(data.itemSeconds(1, 0, data.spans()[0].start + 1, 2000000000), 0);
}

long peakResidentKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(TransactionReaderTest, SkipsA50MegabyteDescriptionWithoutReadingIt) {
    const TimeZone zone("UTC0");
    constexpr std::int32_t kLength = 50 * 1024 * 1024;
    ByteBuilder first = transactionHeader();
    first.i32(1).i32(0).fixed("02/03/2021", 11).fixed("08:00", 6).fixed("09:00", 6).i32(0);
    first.i32(kLength);
    ByteBuilder second;
    transactionRecord(second, 2, 0, "02/04/2021", "10:00", "10:30");
    // The description is a hole in a sparse file: it takes no disk and reads as zeros.
    const std::string path = data.transactionPath();
    writeBytes(path, first);
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(first.size()) + kLength), 0);
    std::ofstream(path, std::ios::binary | std::ios::app) << second.bytes();

    const long before = peakResidentKilobytes();
    ASSERT_TRUE(data.readTransactions());
    ASSERT_EQ(data.spans().size(), 2u);
    EXPECT_EQ(data.spans()[1].groupNumber, 2);
    EXPECT_EQ(data.spans()[1].duration, 1800);
    // Reading the description into memory would raise the peak by its 50 MB.
    EXPECT_LT(peakResidentKilobytes() - before, 10 * 1024);
}

TEST_F(TransactionReaderTest, EndsTheListAtARecordCutShortOrALengthPastTheEnd) {
    const TimeZone zone("UTC0");
    ByteBuilder trs = transactionHeader();
    transactionRecord(trs, 1, 0, "02/03/2021", "08:00", "09:00");
    const std::string whole = trs;
    trs.i32(2).i32(0).fixed("02/03/2021", 11).fixed("08:00", 6).fixed("09:00", 6).i32(0);
    for (const std::string& tail :
         {std::string("\7\0"),
          std::string(trs.bytes().substr(whole.size())) + std::string("\x40\0\0\0ab", 6)}) {
        writeBytes(data.transactionPath(), whole + tail);
        ASSERT_TRUE(data.readTransactions());
        EXPECT_EQ(data.spans().size(), 1u);
        EXPECT_EQ(data.transactionsCutShort(), tail.size() >= 4); // else no record at all
    }
}

// A negative length, or one past the end over what no description holds, damages the file.
TEST_F(TransactionReaderTest, TellsADamagedRecordByItsOffset) {
    ByteBuilder record;
    transactionRecord(record, 1, 0, "02/03/2021", "08:00", "09:00");
    const auto fixed = [](std::int32_t length) { return ByteBuilder().zeros(35).i32(length); };
    const std::string told =
        data.transactionPath() + " is damaged and cannot be used: the record at byte 73 ";
    for (const std::string tail : {fixed(-5).raw(record.bytes()), fixed(100).raw(record.bytes()),
                                   fixed(5000).raw(std::string(100, 'x'))}) {
        writeBytes(data.transactionPath(), transactionHeader().raw(record.bytes()).raw(tail));
        const ReportingResult result = data.readTransactions();
        EXPECT_NE(result.message.find(told), std::string::npos) << result.message;
        EXPECT_EQ(data.transactionsProblem(), result.message);
    }
}

} // namespace
} // namespace vsolo::testing
