#include "core/base/bytes.h"
#include "core/base/clock.h"
#include "core/model/transactionformat.h"
#include "core/model/transactions.h"
#include "tests/support/bytebuilder.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/joined.h"
#include "tests/support/typenames.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace vsolo {
namespace {

using namespace testing;
using namespace std::string_literals;

struct ReadResult {
    std::vector<Transaction> records;
    bool failed = false;
    bool readError = false;
    std::string detail;
    TransactionLayout layout = TransactionLayout::Legacy;
};

ReadResult readAll(ByteSource source, TransactionLayout expected) {
    TransactionReader reader(std::move(source), expected);
    ReadResult result;
    Transaction t;
    while (reader.next(t)) {
        result.records.push_back(t);
    }
    result.failed = reader.failed();
    result.readError = reader.readError();
    result.detail = reader.detail();
    result.layout = reader.layout();
    return result;
}

ReadResult readAll(std::string_view bytes, TransactionLayout expected) {
    return readAll(sourceFromBytes(bytes), expected);
}

// A source that gives one byte per call, as a slow pipe or network file might.
ByteSource oneByteAtATime(std::string_view bytes) {
    return [bytes](char* buffer, std::size_t capacity) mutable -> std::int64_t {
        if (bytes.empty() || capacity == 0) {
            return 0;
        }
        buffer[0] = bytes[0];
        bytes.remove_prefix(1);
        return 1;
    };
}

bool sameRecord(const Transaction& a, const Transaction& b) {
    return a.date() == b.date() && a.start() == b.start() && a.end() == b.end() &&
           a.level1Key() == b.level1Key() && a.level2Key() == b.level2Key() &&
           a.description() == b.description() && a.isSent() == b.isSent() &&
           a.isError() == b.isError();
}

void expectSameRecords(const ReadResult& a, const ReadResult& b) {
    ASSERT_EQ(a.records.size(), b.records.size());
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        EXPECT_TRUE(sameRecord(a.records[i], b.records[i])) << "record " << i;
    }
    EXPECT_EQ(a.failed, b.failed);
    EXPECT_EQ(a.detail, b.detail);
}

const std::vector<V4Record> kV4Records = {
    {7, 3, "03/07/1999", "08:05", "09:30", 0, "Weekly report"},
    {7, 4, "03/07/1999", "13:00", "23:59", 1, "Caf\xC3\xA9 \xE2\x82\xAC"},
    {-2, 0x7FFFFFFF, "01/19/2038", "00:00", "00:01", 0, ""},
};

const std::vector<LegacyRecord> kLegacyRecords = {
    {"03/07/1999", "08:05", "ST00000000", "09:30", 101, 201, "Sent and in error"},
    {"03/07/1999", "10:00", "S000000000", "11:00", 101, 202, "Sent"},
    {"03/08/1999", "10:00", "0T00000000", "10:00", 102, 203, "In error"},
    {"12/31/2001", "23:00", "0000000000", "23:59", 102, 204, std::string(60, 'x')},
};

// ---------------------------------------------------------------------------------------------
// Version-4 records

TEST(TransactionVersion4Test, TheHeaderIsTheVersionAndTheFixedText) {
    EXPECT_EQ(transactionFileHeader(), transactionHeader());
    EXPECT_EQ(transactionHeader().size(), kTransactionHeaderSize);
    EXPECT_EQ(transactionHeader().substr(0, 8), "\x04\0\0\0Tran"s);
}

TEST(TransactionVersion4Test, ReadsEveryField) {
    const ReadResult result =
        readAll(records(transactionHeader(), kV4Records), TransactionLayout::Version4);
    ASSERT_FALSE(result.failed) << result.detail;
    ASSERT_EQ(result.records.size(), 3u);
    const Transaction& first = result.records[0];
    EXPECT_EQ(first.level1Key(), 7);
    EXPECT_EQ(first.level2Key(), 3);
    EXPECT_EQ(first.date(), date(1999, 3, 7));
    EXPECT_EQ(first.start(), hm(8, 5));
    EXPECT_EQ(first.end(), hm(9, 30));
    EXPECT_FALSE(first.isSent());
    EXPECT_FALSE(first.isError()); // not stored in this layout
    EXPECT_EQ(first.description(), "Weekly report");
    EXPECT_TRUE(result.records[1].isSent());
    EXPECT_EQ(result.records[1].end(), hm(23, 59));
    EXPECT_EQ(result.records[1].description(), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(result.records[2].level1Key(), -2);
    EXPECT_EQ(result.records[2].level2Key(), 0x7FFFFFFF);
    EXPECT_EQ(result.records[2].date(), date(2038, 1, 19));
    EXPECT_EQ(result.records[2].description(), "");
}

TEST(TransactionVersion4Test, AnyNonZeroSentFieldMeansSent) {
    V4Record r;
    r.sent = 0x100;
    const ReadResult result =
        readAll(records(transactionHeader(), std::vector{r}), TransactionLayout::Version4);
    ASSERT_EQ(result.records.size(), 1u);
    EXPECT_TRUE(result.records[0].isSent());
}

TEST(TransactionVersion4Test, AHeaderOnlyFileIsAnEmptyStore) {
    const std::string bytes = transactionHeader();
    TransactionReader reader(sourceFromBytes(bytes), TransactionLayout::Version4);
    SettableClock clock(date(2020, 1, 1));
    TransactionStore store(clock);
    EXPECT_TRUE(readTransactionsInto(reader, store, true));
    EXPECT_TRUE(store.empty());
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.recordsRead(), 0u);
}

TEST(TransactionVersion4Test, AnEmptyFileHasNoRecordsInEitherLayout) {
    for (TransactionLayout layout : {TransactionLayout::Version4, TransactionLayout::Legacy}) {
        const ReadResult result = readAll("", layout);
        EXPECT_FALSE(result.failed);
        EXPECT_TRUE(result.records.empty());
    }
}

TEST(TransactionVersion4Test, TheHeaderDecidesTheLayoutWhateverWasExpected) {
    const ReadResult result =
        readAll(records(transactionHeader(), kV4Records), TransactionLayout::Legacy);
    ASSERT_FALSE(result.failed) << result.detail;
    EXPECT_EQ(result.layout, TransactionLayout::Version4);
    EXPECT_EQ(result.records.size(), 3u);
}

TEST(TransactionVersion4Test, AFileWithoutTheHeaderCannotBeReadAsVersion4) {
    const ReadResult result = readAll(records("", kLegacyRecords), TransactionLayout::Version4);
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(result.records.empty());
    EXPECT_EQ(result.detail, "the file does not start with the transaction file header");
}

struct CutResult {
    std::size_t records = 0;
    bool failed = false;
    bool incomplete = false;
    std::uint64_t completeBytes = 0;
    std::uint64_t tailBytes = 0;
};

CutResult readCut(std::string_view bytes, TransactionLayout expected, bool walk) {
    TransactionReader reader(sourceFromBytes(bytes), expected);
    if (walk) {
        reader.walkToEnd();
    } else {
        Transaction t;
        while (reader.next(t)) {
        }
    }
    return {reader.recordsRead(), reader.failed(), reader.incompleteRecord(),
            reader.completeBytes(), reader.tailBytes()};
}

// A file cut anywhere gives every record before the cut. What follows the last complete record is
// no record when it is shorter than a record's first field (or the header's), and a record cut
// short otherwise; neither makes the file damaged.
void expectEveryCutReadsTheCompleteRecords(const std::string& bytes,
                                           const std::vector<std::size_t>& boundaries,
                                           TransactionLayout layout, std::size_t firstField) {
    for (bool walk : {false, true}) {
        for (std::size_t size = boundaries.front(); size <= bytes.size(); ++size) {
            const auto after = std::upper_bound(boundaries.begin(), boundaries.end(), size);
            const std::size_t complete = *(after - 1);
            const CutResult r = readCut(std::string_view(bytes).substr(0, size), layout, walk);
            const std::string where = "cut at " + std::to_string(size) + (walk ? " (walk)" : "");
            EXPECT_FALSE(r.failed) << where;
            EXPECT_EQ(r.records, static_cast<std::size_t>(after - boundaries.begin()) - 1) << where;
            EXPECT_EQ(r.completeBytes, complete) << where;
            EXPECT_EQ(r.tailBytes, size - complete) << where;
            EXPECT_EQ(r.incomplete, size - complete >= firstField) << where;
        }
    }
}

TEST(TransactionVersion4Test, EveryCutReadsTheRecordsBeforeIt) {
    ByteBuilder b;
    b.raw(transactionHeader());
    std::vector<std::size_t> boundaries = {kTransactionHeaderSize};
    for (const V4Record& r : kV4Records) {
        add(b, r);
        boundaries.push_back(b.size());
    }
    // Inside the header: its first field is the format version, and four bytes of it begin one.
    for (std::size_t size = 0; size < kTransactionHeaderSize; ++size) {
        const CutResult r = readCut(b.bytes().substr(0, size), TransactionLayout::Version4, false);
        EXPECT_FALSE(r.failed) << "cut at " << size;
        EXPECT_EQ(r.records, 0u);
        EXPECT_EQ(r.completeBytes, 0u);
        EXPECT_EQ(r.tailBytes, size);
        EXPECT_EQ(r.incomplete, size >= 4) << "cut at " << size;
    }
    // After it, the first field of a record is its four-byte level-1 key.
    expectEveryCutReadsTheCompleteRecords(b, boundaries, TransactionLayout::Version4, 4);
    // Two stray bytes after the last record are not a record: every record is read.
    const ReadResult stray = readAll(b.bytes() + "\x01\x02"s, TransactionLayout::Version4);
    EXPECT_FALSE(stray.failed);
    EXPECT_EQ(stray.records.size(), kV4Records.size());
}

TEST(TransactionLegacyTest, EveryCutReadsTheRecordsBeforeIt) {
    const std::string bytes = records("", kLegacyRecords);
    std::vector<std::size_t> boundaries;
    for (std::size_t i = 0; i <= kLegacyRecords.size(); ++i) {
        boundaries.push_back(i * kLegacyRecordSize);
    }
    // The first field of a legacy record is its 11-byte date.
    expectEveryCutReadsTheCompleteRecords(bytes, boundaries, TransactionLayout::Legacy, 11);
    const ReadResult cut = readAll(bytes.substr(0, 150), TransactionLayout::Legacy);
    EXPECT_FALSE(cut.failed);
    ASSERT_EQ(cut.records.size(), 1u);
    EXPECT_TRUE(sameRecord(cut.records[0], readAll(bytes, TransactionLayout::Legacy).records[0]));
}

std::string oneDescription(std::string_view text) {
    V4Record r;
    r.description = std::string(text);
    return records(transactionHeader(), std::vector{r});
}

TEST(TransactionVersion4Test, DescriptionsOfUpTo259CharactersAreRead) {
    const std::string ascii(259, 'a');
    std::string accented;
    for (int i = 0; i < 259; ++i) {
        accented += "\xC3\xA9";
    }
    for (const std::string& text : {ascii, accented}) {
        const ReadResult result = readAll(oneDescription(text), TransactionLayout::Version4);
        ASSERT_FALSE(result.failed) << result.detail;
        EXPECT_EQ(result.records.at(0).description(), text);
    }
}

TEST(TransactionVersion4Test, ADescriptionOf260CharactersIsDamage) {
    std::string accented;
    for (int i = 0; i < 260; ++i) {
        accented += "\xC3\xA9";
    }
    for (const std::string& text : {std::string(260, 'a'), accented}) {
        const ReadResult result = readAll(oneDescription(text), TransactionLayout::Version4);
        EXPECT_TRUE(result.failed);
        EXPECT_TRUE(result.records.empty());
        EXPECT_EQ(result.detail, "record 1 has a description longer than 259 characters");
    }
}

TEST(TransactionVersion4Test, Windows1252DescriptionsAreCountedByTheirCharacters) {
    // 0xB0 is one character in Windows-1252 ("°") but would be a continuation byte in UTF-8.
    const ReadResult fits =
        readAll(oneDescription(std::string(259, '\xB0')), TransactionLayout::Version4);
    ASSERT_FALSE(fits.failed) << fits.detail;
    std::string degrees;
    for (int i = 0; i < 259; ++i) {
        degrees += "\xC2\xB0";
    }
    EXPECT_EQ(fits.records.at(0).description(), degrees);

    const ReadResult over =
        readAll(oneDescription(std::string(400, '\xB0')), TransactionLayout::Version4);
    EXPECT_TRUE(over.failed);
    EXPECT_EQ(over.detail, "record 1 has a description longer than 259 characters");
}

TEST(TransactionVersion4Test, ImpossibleDescriptionLengthsAreRefusedBeforeReading) {
    for (std::int32_t length : {0x7FFFFFFF, -1, 1038}) {
        ByteBuilder b;
        b.raw(transactionHeader()).i32(1).i32(2).fixed("03/07/1999", 11).fixed("08:00", 6);
        b.fixed("09:00", 6).i32(0).i32(length).raw("abc");
        const ReadResult result = readAll(b.bytes(), TransactionLayout::Version4);
        EXPECT_TRUE(result.failed) << length;
        EXPECT_EQ(result.detail, "record 1 has a description of " + std::to_string(length) +
                                     " bytes, more than a description can hold");
    }
}

TEST(TransactionVersion4Test, TheWriterKeepsAtMost259Characters) {
    std::string accented;
    for (int i = 0; i < 300; ++i) {
        accented += "\xC3\xA9";
    }
    Transaction t(date(2001, 2, 3), hm(1, 2), hm(3, 4), 5, 6, accented);
    std::string written;
    appendVersion4Record(written, t);
    V4Record expected{5, 6, "02/03/2001", "01:02", "03:04", 0, accented.substr(0, 518)};
    EXPECT_EQ(written, records("", std::vector{expected}));

    const ReadResult back = readAll(transactionHeader() + written, TransactionLayout::Version4);
    ASSERT_FALSE(back.failed) << back.detail;
    EXPECT_EQ(back.records.at(0).description(), accented.substr(0, 518));
}

TEST(TransactionVersion4Test, DatesAndTimesThatDoNotParseAreDamage) {
    const std::vector<V4Record> bad = {
        {1, 2, "13/07/1999"},
        {1, 2, "02/30/2001"},
        {1, 2, "hello"},
        {1, 2, ""},
        {1, 2, "01/01/1970"},
        {1, 2, "03/07/1999", "24:00"},
        {1, 2, "03/07/1999", "08:00", "ab:cd"},
        {1, 2, "03/07/1999", "", "09:00"},
        {1, 2, "03/07/1999", "08:60"},
    };
    for (const V4Record& r : bad) {
        const ReadResult result =
            readAll(records(transactionHeader(), std::vector{r}), TransactionLayout::Version4);
        EXPECT_TRUE(result.failed) << r.date << " " << r.start << " " << r.end;
        EXPECT_EQ(result.detail, "record 1 holds a date or time that cannot be read");
    }
}

TEST(TransactionVersion4Test, OtherWrittenFormsOfADateAreRead) {
    const ReadResult result = readAll(
        records(transactionHeader(), std::vector<V4Record>{{1, 2, "3/7/99", "8:05", "9:5"}}),
        TransactionLayout::Version4);
    ASSERT_FALSE(result.failed) << result.detail;
    EXPECT_EQ(result.records.at(0).date(), date(1999, 3, 7));
    EXPECT_EQ(result.records.at(0).start(), hm(8, 5));
    EXPECT_EQ(result.records.at(0).end(), hm(9, 5));
}

TEST(TransactionVersion4Test, EverySpellingOfAYearFollowsTheOneYearRule) {
    for (const char* text : {"03/07/0099", "3/7/0099", "03/07/99", "03/07/1999"}) {
        const ReadResult result =
            readAll(records(transactionHeader(), std::vector<V4Record>{{1, 2, text}}),
                    TransactionLayout::Version4);
        ASSERT_FALSE(result.failed) << text << ": " << result.detail;
        EXPECT_EQ(result.records.at(0).date(), date(1999, 3, 7)) << text;
    }
}

// ---------------------------------------------------------------------------------------------
// Legacy records

TEST(TransactionLegacyTest, ARecordIs103Bytes) {
    ByteBuilder b;
    add(b, LegacyRecord{});
    EXPECT_EQ(b.size(), kLegacyRecordSize);
    EXPECT_EQ(kLegacyRecordSize, 103u);
}

TEST(TransactionLegacyTest, ReadsEveryFieldAndTheMarks) {
    const ReadResult result = readAll(records("", kLegacyRecords), TransactionLayout::Legacy);
    ASSERT_FALSE(result.failed) << result.detail;
    ASSERT_EQ(result.records.size(), 4u);
    EXPECT_EQ(result.layout, TransactionLayout::Legacy);
    const Transaction& first = result.records[0];
    EXPECT_EQ(first.date(), date(1999, 3, 7));
    EXPECT_EQ(first.start(), hm(8, 5));
    EXPECT_EQ(first.end(), hm(9, 30));
    EXPECT_EQ(first.level1Key(), 101);
    EXPECT_EQ(first.level2Key(), 201);
    EXPECT_EQ(first.description(), "Sent and in error");
    EXPECT_TRUE(first.isSent());
    EXPECT_TRUE(first.isError());
    EXPECT_TRUE(result.records[1].isSent());
    EXPECT_FALSE(result.records[1].isError());
    EXPECT_FALSE(result.records[2].isSent());
    EXPECT_TRUE(result.records[2].isError());
    EXPECT_FALSE(result.records[3].isSent());
    EXPECT_FALSE(result.records[3].isError());
    EXPECT_EQ(result.records[3].description(), std::string(60, 'x'));
}

TEST(TransactionLegacyTest, TheWriterKeepsAtMost60CharactersNeverCutInsideOne) {
    Transaction t(date(1999, 3, 7), hm(8, 0), hm(9, 0), 1, 2, std::string(80, 'y'), true);
    std::string written;
    appendLegacyRecord(written, t);
    ByteBuilder expected;
    add(expected,
        LegacyRecord{"03/07/1999", "08:00", "S000000000", "09:00", 1, 2, std::string(60, 'y')});
    EXPECT_EQ(written, expected.bytes());

    std::string accented;
    for (int i = 0; i < 40; ++i) {
        accented += "\xC3\xA9";
    }
    t.setDescription("a" + accented);
    written.clear();
    appendLegacyRecord(written, t);
    ASSERT_EQ(written.size(), kLegacyRecordSize);
    // The field holds Windows-1252, one byte per character: "a" and all 40 "é" fit.
    EXPECT_EQ(written.substr(42, 61),
              joined({"a", std::string(40, '\xE9'), std::string(20, '\0')}));
}

TEST(TransactionLegacyTest, AFullDescriptionFieldWithoutZeroIsRead) {
    const std::string bytes = records("", std::vector<LegacyRecord>{LegacyRecord{}});
    std::string full = bytes;
    for (std::size_t i = 42; i < 103; ++i) {
        full[i] = 'z';
    }
    const ReadResult result = readAll(full, TransactionLayout::Legacy);
    ASSERT_FALSE(result.failed);
    EXPECT_EQ(result.records.at(0).description(), std::string(61, 'z'));
}

TEST(TransactionLegacyTest, DatesThatDoNotParseAreDamage) {
    const ReadResult result = readAll(records("", std::vector<LegacyRecord>{{}, {"99/99/9999"}}),
                                      TransactionLayout::Legacy);
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.records.size(), 1u);
    EXPECT_EQ(result.detail, "record 2 holds a date or time that cannot be read");
}

// ---------------------------------------------------------------------------------------------
// Either layout

// What the tests of both layouts need to know of one: the sample file, the reader's name for the
// layout, and the writer's header and record.
struct Version4Layout {
    static constexpr const char* kName = "Version4";
    static constexpr TransactionLayout kLayout = TransactionLayout::Version4;
    static std::string sample() { return records(transactionHeader(), kV4Records); }
    static std::string writtenHeader() { return transactionFileHeader(); }
    static void append(std::string& out, const Transaction& t) { appendVersion4Record(out, t); }
};

struct LegacyLayout {
    static constexpr const char* kName = "Legacy";
    static constexpr TransactionLayout kLayout = TransactionLayout::Legacy;
    static std::string sample() { return records("", kLegacyRecords); }
    static std::string writtenHeader() { return ""; }
    static void append(std::string& out, const Transaction& t) { appendLegacyRecord(out, t); }
};

template <typename Layout>
class TransactionLayoutTest : public ::testing::Test {};
using TransactionLayouts = ::testing::Types<Version4Layout, LegacyLayout>;
TYPED_TEST_SUITE(TransactionLayoutTest, TransactionLayouts, NamedByKName);

TYPED_TEST(TransactionLayoutTest, WrittenBackIdentically) {
    const std::string bytes = TypeParam::sample();
    const ReadResult result = readAll(bytes, TypeParam::kLayout);
    ASSERT_FALSE(result.failed);
    std::string written = TypeParam::writtenHeader();
    for (const Transaction& t : result.records) {
        TypeParam::append(written, t);
    }
    EXPECT_EQ(written, bytes);
}

// ---------------------------------------------------------------------------------------------
// Into the store

TEST(TransactionReadIntoStoreTest, FileStampsCountUpFromTheDatePerDay) {
    const TimeValue d = date(1999, 3, 7);
    const TimeValue e = date(1999, 3, 8);
    const std::string bytes =
        records(transactionHeader(), std::vector<V4Record>{
                                         {1, 1, "03/07/1999", "10:00", "11:00"},
                                         {1, 1, "03/07/1999", "08:00", "09:00"},
                                         {1, 1, "03/08/1999", "09:00", "10:00"},
                                         {1, 1, "03/07/1999", "12:00", "13:00"},
                                     });
    SettableClock clock(date(2024, 5, 5) + hm(12, 0));
    TransactionStore store(clock);
    TransactionReader reader(sourceFromBytes(bytes), TransactionLayout::Version4);
    ASSERT_TRUE(readTransactionsInto(reader, store, true));
    ASSERT_EQ(store.dayCount(), 2u);
    const Day* first = store.findDay(d);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->size(), 3u);
    // In time order; the stamps follow the order of the file.
    EXPECT_EQ(first->at(0)->start(), hm(8, 0));
    EXPECT_EQ(first->at(0)->stamp(), d.seconds() + 1);
    EXPECT_EQ(first->at(1)->stamp(), d.seconds() + 0);
    EXPECT_EQ(first->at(2)->stamp(), d.seconds() + 2);
    EXPECT_EQ(store.findDay(e)->at(0)->stamp(), e.seconds());
}

// A file read into an empty store gives what adding its records one by one gives, whether the
// file is in time order (as the writers leave it) or not: days out of order, a record before an
// earlier one of its day, a date coming back later, equal records. The descriptions put a zero
// byte, a non-ASCII letter and a Windows-1252 byte at every place of an eight-byte word.
TEST(TransactionReadIntoStoreTest, AnyOrderReadsAsAddingOneByOne) {
    const std::vector<std::string> texts = {"",
                                            "task 17",
                                            "twelve bytes",
                                            "ab\0cd"s,
                                            "1234567\0x"s,
                                            "12345678\0y"s,
                                            "caf\xC3\xA9",
                                            "na\xEFve",
                                            "0123456789abcde\xC3\xBC"};
    std::mt19937 random(5);
    for (int round = 0; round < 120; ++round) {
        std::vector<V4Record> file;
        const int count = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            const char day = static_cast<char>('1' + random() % 4);
            const char hour = static_cast<char>('0' + random() % 6);
            file.emplace_back(1 + i % 3, 2, std::string("03/0") + day + "/2001",
                              std::string("0") + hour + ":00",
                              std::string("0") + static_cast<char>(hour + 1) + ":30",
                              static_cast<int>(i % 2), texts[random() % texts.size()]);
        }
        if (round % 2 == 0) { // every other file in the writers' order
            std::stable_sort(file.begin(), file.end(), [](const V4Record& a, const V4Record& b) {
                return std::tie(a.date, a.start, a.end) < std::tie(b.date, b.start, b.end);
            });
        }
        SettableClock clock(date(2024, 5, 5) + hm(12, 0));
        TransactionStore one(clock), read(clock);
        std::map<std::string, int> perDay;
        for (const V4Record& r : file) {
            TimeValue d, from, to;
            ASSERT_TRUE(d.parseDate(r.date) && from.parseTime(r.start) && to.parseTime(r.end));
            Transaction t(d, from, to, r.level1, r.level2,
                          decodeFileText(r.description.substr(0, r.description.find('\0'))),
                          r.sent != 0);
            t.initStamp(d.seconds() + perDay[r.date]++);
            one.add(t);
        }
        const std::string bytes = records(transactionHeader(), file);
        TransactionReader reader(sourceFromBytes(bytes), TransactionLayout::Version4);
        ASSERT_TRUE(readTransactionsInto(reader, read, true));
        const auto contents = [](const TransactionStore& s) {
            std::vector<std::string> out;
            for (const Day& day : s.days()) {
                for (const Transaction& t : day.transactions()) {
                    out.push_back(day.date().shortDate() + " " + t.start().clockTime() + "-" +
                                  t.end().clockTime() + " " + std::to_string(t.level1Key()) +
                                  (t.isSent() ? " sent #" : " #") + std::to_string(t.stamp()) +
                                  " " + t.description());
                }
            }
            return out;
        };
        ASSERT_EQ(contents(read), contents(one)) << "round " << round;
    }
}

TEST(TransactionReadIntoStoreTest, WithoutFileStampsEachGetsTheClock) {
    SettableClock clock(date(2024, 5, 5) + hm(12, 0));
    TransactionStore store(clock);
    const std::string bytes = records("", kLegacyRecords);
    TransactionReader reader(sourceFromBytes(bytes), TransactionLayout::Legacy);
    ASSERT_TRUE(readTransactionsInto(reader, store, false));
    EXPECT_EQ(store.count(), 4u);
    for (const Day& day : store.days()) {
        for (const Transaction& t : day.transactions()) {
            EXPECT_EQ(t.stamp(), clock.now().seconds());
        }
    }
}

TEST(TransactionReadIntoStoreTest, ADamagedFileReportsFailure) {
    SettableClock clock(date(2024, 5, 5));
    TransactionStore store(clock);
    // The last record claims a description longer than any can be.
    ByteBuilder b;
    b.raw(records(transactionHeader(), kV4Records));
    b.i32(1).i32(2).fixed("03/07/1999", 11).fixed("08:00", 6).fixed("09:00", 6).i32(0);
    b.i32(100000).zeros(40);
    TransactionReader reader(sourceFromBytes(b.bytes()), TransactionLayout::Version4);
    EXPECT_FALSE(readTransactionsInto(reader, store, true));
    EXPECT_TRUE(reader.failed());
    EXPECT_FALSE(reader.readError());
}

// ---------------------------------------------------------------------------------------------
// Sources

TEST(TransactionSourceTest, OneByteAtATimeGivesTheSameRecords) {
    const std::string v4 = records(transactionHeader(), kV4Records);
    const std::string legacy = records("", kLegacyRecords);
    expectSameRecords(readAll(oneByteAtATime(v4), TransactionLayout::Version4),
                      readAll(v4, TransactionLayout::Version4));
    expectSameRecords(readAll(oneByteAtATime(legacy), TransactionLayout::Legacy),
                      readAll(legacy, TransactionLayout::Legacy));
    expectSameRecords(readAll(oneByteAtATime(v4.substr(0, 100)), TransactionLayout::Version4),
                      readAll(v4.substr(0, 100), TransactionLayout::Version4));
    EXPECT_EQ(readAll(oneByteAtATime(v4), TransactionLayout::Version4).records.size(), 3u);
}

TEST(TransactionSourceTest, AReadFailureIsReportedAsSuch) {
    const std::string bytes = records(transactionHeader(), kV4Records);
    std::size_t given = 0;
    ByteSource failing = [&](char* buffer, std::size_t capacity) -> std::int64_t {
        if (given >= 60) {
            return -1;
        }
        const std::size_t n = std::min<std::size_t>({capacity, 10, bytes.size() - given});
        std::copy_n(bytes.data() + given, n, buffer);
        given += n;
        return static_cast<std::int64_t>(n);
    };
    const ReadResult result = readAll(failing, TransactionLayout::Version4);
    EXPECT_TRUE(result.failed);
    EXPECT_TRUE(result.readError);
    EXPECT_TRUE(result.records.empty());
}

TEST(TransactionSourceTest, ManyRecordsCrossTheReadersBuffer) {
    ByteBuilder b;
    b.raw(transactionHeader());
    for (int i = 0; i < 20000; ++i) {
        add(b, V4Record{i, i + 1, "03/07/1999", "08:00", "09:00", i % 2,
                        std::string(static_cast<std::size_t>(i % 97), 'd')});
    }
    const ReadResult result = readAll(b.bytes(), TransactionLayout::Version4);
    ASSERT_FALSE(result.failed) << result.detail;
    ASSERT_EQ(result.records.size(), 20000u);
    EXPECT_EQ(result.records[19999].level1Key(), 19999);
    EXPECT_EQ(result.records[19999].description(), std::string(19999 % 97, 'd'));
}

TEST(TransactionSourceTest, NextOfDatePassesOverOtherDates) {
    const std::string bytes =
        records(transactionHeader(), std::vector<V4Record>{{1, 1, "03/06/1999", "08:00", "09:00"},
                                                           {2, 1, "03/07/1999", "08:00", "09:00"},
                                                           {3, 1, "03/08/1999", "08:00", "09:00"},
                                                           {4, 1, "3/7/1999", "10:00", "11:00"},
                                                           {5, 1, "03/09/1999", "08:00", "09:00"},
                                                           {6, 1, "03/07/0099", "12:00", "13:00"}});
    TransactionReader reader(sourceFromBytes(bytes), TransactionLayout::Version4);
    std::vector<std::int32_t> seen;
    Transaction t;
    while (reader.nextOfDate("03/07/1999", t)) {
        if (t.date() == date(1999, 3, 7)) {
            seen.push_back(t.level1Key());
        }
    }
    EXPECT_FALSE(reader.failed());
    // The dates written in other forms are not passed over by their text.
    EXPECT_EQ(seen, (std::vector<std::int32_t>{2, 4, 6}));
    EXPECT_EQ(reader.recordsRead(), 6u);
}

// ---------------------------------------------------------------------------------------------
// Hand-off records and text forms

TEST(TransactionHandOffTest, Version4Record) {
    Transaction t(date(2003, 11, 4), hm(7, 5), hm(17, 45), 12, 34, "Review");
    std::string out;
    appendHandOffVersion4(out, "alice", t);
    const std::string expected = ByteBuilder()
                                     .counted("alice")
                                     .i32(12)
                                     .i32(34)
                                     .fixed("11/04/2003", 11)
                                     .fixed("07:05", 6)
                                     .fixed("17:45", 6)
                                     .counted("Review");
    EXPECT_EQ(out, expected);
}

TEST(TransactionHandOffTest, LegacyRecordRepeatsTheDateBeforeTheEnd) {
    Transaction t(date(2003, 11, 4), hm(7, 5), hm(17, 45), 12, 34, std::string(70, 'r'), true);
    std::string out;
    appendHandOffLegacy(out, "longbasename", t);
    const std::string expected = ByteBuilder()
                                     .fixed("longbase", 9)
                                     .i32(12)
                                     .i32(34)
                                     .fixed("11/04/2003", 11)
                                     .fixed("07:05", 6)
                                     .fixed("11/04/2003", 11)
                                     .fixed("17:45", 6)
                                     .fixed(std::string(60, 'r'), 61);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.size(), 9u + 4 + 4 + 11 + 6 + 11 + 6 + 61);
}

TEST(TransactionHandOffTest, Version4DescriptionIsLimitedTo259Characters) {
    Transaction t(date(2003, 11, 4), hm(7, 5), hm(17, 45), 1, 2, std::string(500, 'q'));
    std::string out;
    appendHandOffVersion4(out, "b", t);
    const std::string expected = ByteBuilder()
                                     .counted("b")
                                     .i32(1)
                                     .i32(2)
                                     .fixed("11/04/2003", 11)
                                     .fixed("07:05", 6)
                                     .fixed("17:45", 6)
                                     .counted(std::string(259, 'q'));
    EXPECT_EQ(out, expected);
}

TEST(TransactionTextFormTest, ShortDateAndClockTime) {
    std::string out;
    appendShortDate(out, date(2001, 1, 2));
    out += '|';
    appendShortDate(out, date(2038, 1, 19));
    out += '|';
    appendClockTime(out, hm(7, 5));
    out += '|';
    appendClockTime(out, hm(23, 59));
    out += '|';
    appendClockTime(out, hm(0, 0));
    EXPECT_EQ(out, "01/02/2001|01/19/2038|07:05|23:59|00:00");
}

// ---------------------------------------------------------------------------------------------
// Random input

TEST(TransactionFuzzTest, RandomAndDamagedBytesNeverCrashTheReader) {
    std::mt19937 random(777);
    const std::string seeds[] = {records(transactionHeader(), kV4Records),
                                 records("", kLegacyRecords)};
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        if (round % 3 == 0) {
            bytes.resize(random() % 300);
            for (char& c : bytes) {
                c = static_cast<char>(random() & 0xFF);
            }
            if (random() % 2 == 0 && bytes.size() >= 4) {
                bytes.replace(0, 4, "\x04\0\0\0"s); // reach the record reader of version 4
            }
        } else {
            bytes = seeds[round % 2];
            const int flips = 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < flips; ++i) {
                bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
            }
        }
        const TransactionLayout layout =
            random() % 2 ? TransactionLayout::Version4 : TransactionLayout::Legacy;
        const ReadResult whole = readAll(bytes, layout);
        ASSERT_LE(whole.records.size(), bytes.size() / 39 + 1);
        for (const Transaction& t : whole.records) {
            ASSERT_LE(t.end(), hm(23, 59));
            ASSERT_GT(t.date(), TimeValue(0));
        }
        if (round % 10 == 0) {
            // Reading in tiny pieces must not change anything.
            expectSameRecords(readAll(oneByteAtATime(bytes), layout), whole);
        }
    }
}

} // namespace
} // namespace vsolo
