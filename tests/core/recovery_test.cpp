#include "core/base/clock.h"
#include "core/base/faultinjection.h"
#include "core/document.h"
#include "core/model/recovery.h"
#include "core/model/templatefile.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "core/tracker.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/joined.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vsolo {
namespace {

using testing::ByteBuilder;
using testing::date;
using testing::hm;
using testing::LegacyRecord;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::V4Item;
using testing::V4Record;

const TimeValue kDay = date(2024, 3, 15);
const TimeValue kNextDay = date(2024, 3, 16);

// The recovery file's text for records given as (date, start, end, level1, level2, escaped
// description) texts, written out by hand.
struct RcvLines {
    std::string date, start, end, level1, level2, description;
};

std::string rcvText(const std::vector<RcvLines>& records) {
    std::string out = "Veltimo Solo recovery file, version 1\n";
    int n = 0;
    for (const RcvLines& r : records) {
        out += "record=" + std::to_string(++n) + "\n";
        out += "date=" + r.date + "\n";
        out += "start=" + r.start + "\n";
        out += "end=" + r.end + "\n";
        out += "level1=" + r.level1 + "\n";
        out += "level2=" + r.level2 + "\n";
        out += "description=" + r.description + "\n";
    }
    out += "records=" + std::to_string(n) + "\n";
    return out;
}

void expectSame(const Transaction& a, const Transaction& b) {
    EXPECT_EQ(a.date(), b.date());
    EXPECT_EQ(a.start(), b.start());
    EXPECT_EQ(a.end(), b.end());
    EXPECT_EQ(a.level1Key(), b.level1Key());
    EXPECT_EQ(a.level2Key(), b.level2Key());
    EXPECT_EQ(a.description(), b.description());
}

// ---------------------------------------------------------------------------------------------
// The file's text

TEST(RecoveryFormat, WritesOneKeyPerLineWithTheDescriptionEscaped) {
    const std::vector<Transaction> records = {
        Transaction(kDay, hm(9, 14), hm(10, 5), 1, 2, "Line one\nline two\r\ttab \\ = caf\xC3\xA9"),
        Transaction(date(1999, 3, 7), hm(0, 0), hm(23, 59), -4, 2147483647,
                    std::string("ctl\x01\x1F\x7F", 6))};
    EXPECT_EQ(
        serializeRecovery(records),
        rcvText({{"03/15/2024", "09:14", "10:05", "1", "2",
                  "Line one\\nline two\\r\\ttab \\\\ = caf\xC3\xA9"},
                 {"03/07/1999", "00:00", "23:59", "-4", "2147483647", "ctl\\x01\\x1F\\x7F"}}));
    EXPECT_EQ(serializeRecovery({}), "Veltimo Solo recovery file, version 1\nrecords=0\n");
}

TEST(RecoveryFormat, AnyDescriptionSurvivesTheRoundTrip) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    const std::vector<std::string> descriptions = {
        "",
        "a=b=c",
        "=",
        "multi\nline\n\ntext\n",
        "\r\n",
        "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80",
        "  trailing and leading spaces  ",
        "\\n is not a newline, \\x41 is not an A",
        "not UTF-8: \xE9\xFF",
        "records=1",
        everyByte};
    std::vector<Transaction> records;
    std::int32_t key = 0;
    for (const std::string& d : descriptions) {
        ++key;
        records.emplace_back(kDay, hm(8, key), hm(9, key), key, -key, d);
    }
    std::vector<Transaction> back;
    const ParseResult parsed = parseRecovery(serializeRecovery(records), back);
    ASSERT_TRUE(parsed.ok) << parsed.detail;
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        expectSame(back[i], records[i]);
    }
}

TEST(RecoveryFormat, ReadsAFileAnEditorSavedWithCarriageReturns) {
    std::string text = rcvText({{"03/15/2024", "09:14", "10:05", "1", "2", "plain"}});
    std::string crlf;
    for (const char c : text) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    std::vector<Transaction> back;
    ASSERT_TRUE(parseRecovery(crlf, back).ok);
    ASSERT_EQ(back.size(), 1u);
    expectSame(back[0], Transaction(kDay, hm(9, 14), hm(10, 5), 1, 2, "plain"));
}

TEST(RecoveryFormat, DamagedTextsAreRefusedWithAReason) {
    const std::string good = rcvText({{"03/15/2024", "09:14", "10:05", "1", "2", "x"}});
    const auto replaced = [&good](std::string_view from, std::string_view to) {
        std::string s = good;
        const auto pos = s.find(from);
        EXPECT_NE(pos, std::string::npos) << from;
        return s.replace(pos, from.size(), to);
    };
    struct Case {
        std::string text;
        std::string detail;
    };
    const std::vector<Case> cases = {
        {"", "it is empty"},
        {good.substr(0, good.size() - 1), "its last line is cut short"},
        {"Something else\nrecords=0\n", "it does not start as a recovery file does"},
        {replaced("version 1", "version 2"),
         "it was written by another version of the program (2)"},
        {replaced("records=1\n", ""), "the record count at its end is missing"},
        {replaced("records=1", "records=2"), "it counts 2 records but holds 1"},
        {replaced("start=09:14\n", ""), "record 1 has no start (before line 8)"},
        {replaced("end=10:05\n", "end=10:05\nend=10:06\n"), "line 6 gives end a second time"},
        {replaced("03/15/2024", "02/30/2024"), "line 3: the date is not a date"},
        {replaced("03/15/2024", "3/15/2024"), "line 3: the date is not a date"},
        {replaced("09:14", "24:00"), "line 4: the start is not a time of day"},
        {replaced("10:05", "10:5"), "line 5: the end is not a time of day"},
        {replaced("level1=1", "level1=one"), "line 6: the level1 is not an item number"},
        {replaced("level2=2", "level2=2147483648"), "line 7: the level2 is not an item number"},
        {replaced("level2=2", "level2="), "line 7: the level2 is not an item number"},
        {replaced("description=x", "description=x\\q"),
         "line 8: the description holds a broken escape"},
        {replaced("description=x", "description=x\\x4"),
         "line 8: the description holds a broken escape"},
        {replaced("description=x", "description=x\\"),
         "line 8: the description holds a broken escape"},
        {replaced("description=x", "description=\\xG0"),
         "line 8: the description holds a broken escape"},
        {replaced("level1=1", "level1 1"), "line 6 is not of the form key=value"},
        {replaced("level1=1", "colour=red"), "line 6 has the unknown key \"colour\""},
        {replaced("record=1", "record=2"), "line 2 starts record \"2\" where record 1 belongs"},
        {replaced("level1=1", std::string(3000, 'k') + "=1"),
         "line 6 has the unknown key \"kkkkkkkkkkkkkkkkkkkkkkkk...\""},
        {replaced("version 1", std::string("version \x01\xFF", 10)),
         "it was written by another version of the program (?"
         "?)"},
        {replaced("record=1\n", ""), "line 2 comes before any record"},
        {good + "extra\n", "there is text after the record count"},
        {replaced("\n", "\n\n"), "line 2 is not of the form key=value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<Transaction> back{Transaction()};
        const ParseResult parsed = parseRecovery(c.text, back);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.detail, c.detail);
        EXPECT_TRUE(back.empty());
    }
}

TEST(RecoveryFormat, GarbageAndCutFilesNeverCrashAndAreNeverTakenAsWhole) {
    const std::string good =
        serializeRecovery({Transaction(kDay, hm(9, 0), hm(9, 30), 1, 1, "first\n= line"),
                           Transaction(kDay, hm(10, 0), hm(10, 30), 2, 2, "caf\xC3\xA9")});
    std::vector<Transaction> back;
    // Every cut of the file is damaged: the last line is what says the file is complete.
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(parseRecovery(good.substr(0, n), back).ok) << n;
    }
    std::mt19937 random(20240315);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i) {
            text[random() % text.size()] = static_cast<char>(byte(random));
        }
        const ParseResult parsed = parseRecovery(text, back);
        EXPECT_EQ(parsed.ok, parsed.detail.empty());
        EXPECT_TRUE(parsed.ok || back.empty());
        std::string noise(static_cast<std::size_t>(random() % 300), '\0');
        for (char& c : noise) {
            c = static_cast<char>(byte(random));
        }
        EXPECT_FALSE(parseRecovery(noise, back).ok);
    }
}

TEST(RecoveryFormat, TheFileSitsBesideTheTemplate) {
    EXPECT_EQ(TemplatePaths::recoveryFile("/home/ann/time/Work.tpl"), "/home/ann/time/Work.rcv");
    EXPECT_EQ(TemplatePaths::recoveryFile("/home/ann/v1.2/Work"), "/home/ann/v1.2/Work.rcv");
    EXPECT_EQ(TemplatePaths::recoveryFile("Work.lcl"), "Work.rcv");
}

TEST(RecoveryFormat, TheQuestionNamesDateTimesAndItems) {
    const Transaction t(kDay, hm(9, 5), hm(10, 45), 1, 1, "");
    EXPECT_EQ(recoveryQuestion(t, "Project", "Alpha", "Activity", "?"),
              "Veltimo Solo found time that was tracked but never stored, most likely because "
              "the program ended unexpectedly:\r\n\r\n03/15/2024 from 9:05 to 10:45\r\nProject: "
              "Alpha\r\nActivity: ?\r\n\r\nDo you want to store this time now?");
}

// ---------------------------------------------------------------------------------------------
// The file on disk

TEST(RecoveryFile, WritesAtomicallyAndReadsBack) {
    TempDir dir;
    const std::string file = dir.file("Work.rcv");
    const std::vector<Transaction> records = {
        Transaction(kDay, hm(9, 0), hm(9, 30), 3, 4, "first")};
    FileError error;
    ASSERT_TRUE(writeRecoveryFile(file, records, error));
    EXPECT_EQ(testing::readBytes(file),
              rcvText({{"03/15/2024", "09:00", "09:30", "3", "4", "first"}}));
    // Replaced whole, with no temporary file left beside it.
    ASSERT_TRUE(writeRecoveryFile(file, {}, error));
    EXPECT_EQ(testing::readBytes(file), "Veltimo Solo recovery file, version 1\nrecords=0\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Work.rcv"});

    ASSERT_TRUE(writeRecoveryFile(file, records, error));
    std::vector<Transaction> read;
    ASSERT_EQ(readRecoveryFile(file, read).what, FileResult::What::Done);
    ASSERT_EQ(read.size(), 1u);
    expectSame(read[0], records[0]);
}

TEST(RecoveryFile, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewCompleteFile) {
    TempDir dir;
    const std::string file = dir.file("Work.rcv");
    // Write n holds n records, each naming n, so that a file mixing two writes shows.
    const auto write = [](int n) {
        std::vector<Transaction> records;
        for (int i = 0; i < n; ++i) {
            records.emplace_back(kDay, hm(8, 0), hm(9, i % 60), n, i,
                                 "write " + std::to_string(n) + std::string(200, '.'));
        }
        return records;
    };
    std::mt19937 random(7);
    bool written = false;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 1;; n = n % 40 + 1) {
                FileError error;
                if (!writeRecoveryFile(file, write(n), error)) {
                    ::_exit(2);
                }
            }
        }
        ::usleep(static_cast<useconds_t>(500 + random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";

        std::vector<Transaction> records;
        const FileResult read = readRecoveryFile(file, records);
        if (read.what == FileResult::What::Absent) {
            EXPECT_FALSE(written) << "a file once written never goes away";
            continue;
        }
        written = true;
        ASSERT_EQ(read.what, FileResult::What::Done) << round << ": " << read.detail;
        const int n = static_cast<int>(records.size());
        ASSERT_GE(n, 1);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(records[static_cast<std::size_t>(i)].level1Key(), n);
            EXPECT_EQ(records[static_cast<std::size_t>(i)].level2Key(), i);
        }
    }
}

TEST(RecoveryFile, MissingDamagedUnreadableAndHugeFilesAreToldApart) {
    TempDir dir;
    std::vector<Transaction> records;
    EXPECT_EQ(readRecoveryFile(dir.file("none.rcv"), records).what, FileResult::What::Absent);

    const std::string garbage = dir.file("garbage.rcv");
    testing::writeBytes(garbage, std::string("\x00\xFF\x12junk", 7));
    FileResult read = readRecoveryFile(garbage, records);
    EXPECT_EQ(read.what, FileResult::What::Damaged);
    EXPECT_EQ(read.detail, "it does not start as a recovery file does");
    EXPECT_EQ(testing::readBytes(garbage), std::string("\x00\xFF\x12junk", 7)); // untouched

    const std::string folder = dir.file("folder.rcv");
    std::filesystem::create_directory(folder);
    read = readRecoveryFile(folder, records);
    EXPECT_EQ(read.what, FileResult::What::FileError);
    EXPECT_EQ(read.error.code, FileError::kAccessDenied);
    EXPECT_EQ(read.detail, "error 5 while reading it");

    // A sparse file: refused by its size, without reading it into memory.
    const std::string huge = dir.file("huge.rcv");
    testing::writeBytes(huge, std::string(kRecoveryFirstLine) + "\n");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 32);
    read = readRecoveryFile(huge, records);
    EXPECT_EQ(read.what, FileResult::What::Damaged);
    EXPECT_EQ(read.detail, "it is far larger than a recovery file can be");
}

TEST(RecoveryFile, SettingAsideNeverReplacesAnEarlierFile) {
    TempDir dir;
    const std::string file = dir.file("Work.rcv");
    testing::writeBytes(file, "first");
    std::string keptAs;
    FileError error;
    ASSERT_TRUE(setRecoveryFileAside(file, keptAs, error));
    EXPECT_EQ(keptAs, file + ".damaged");
    testing::writeBytes(file, "second");
    ASSERT_TRUE(setRecoveryFileAside(file, keptAs, error));
    EXPECT_EQ(keptAs, file + ".damaged-2");
    EXPECT_EQ(testing::readBytes(file + ".damaged"), "first");
    EXPECT_EQ(testing::readBytes(file + ".damaged-2"), "second");
    EXPECT_FALSE(testing::exists(file));

    for (int i = 3; i <= 20; ++i) {
        testing::writeBytes(file + ".damaged-" + std::to_string(i), "taken");
    }
    testing::writeBytes(file, "third");
    keptAs.clear();
    EXPECT_FALSE(setRecoveryFileAside(file, keptAs, error));
    EXPECT_EQ(keptAs, "");
    EXPECT_EQ(error.number(), 0);
    EXPECT_EQ(testing::readBytes(file), "third");
    EXPECT_EQ(testing::readBytes(file + ".damaged-20"), "taken");
}

TEST(RecoveryFile, RecognisesATransactionTheFileAlreadyHolds) {
    TempDir dir;
    const std::string trs = dir.file("Work.trs");
    testing::writeBytes(
        trs, testing::records<V4Record>(testing::transactionHeader(),
                                        {{1, 1, "03/14/2024", "09:14", "10:05", 0, "Design"},
                                         {1, 1, "03/15/2024", "09:14", "10:05", 0, "Design"}}));
    const Transaction stored(kDay, hm(9, 14), hm(10, 5), 1, 1, "Design");
    const auto v4 = TransactionLayout::Version4;
    EXPECT_TRUE(transactionFileHolds(trs, v4, stored));
    EXPECT_FALSE(
        transactionFileHolds(trs, v4, Transaction(kDay, hm(9, 14), hm(10, 6), 1, 1, "Design")));
    EXPECT_FALSE(
        transactionFileHolds(trs, v4, Transaction(kDay, hm(9, 14), hm(10, 5), 1, 2, "Design")));
    EXPECT_FALSE(
        transactionFileHolds(trs, v4, Transaction(kDay, hm(9, 14), hm(10, 5), 1, 1, "Design ")));
    EXPECT_FALSE(
        transactionFileHolds(trs, v4, Transaction(kNextDay, hm(9, 14), hm(10, 5), 1, 1, "Design")));
    EXPECT_FALSE(transactionFileHolds(dir.file("missing.trs"), v4, stored));

    // Legacy records keep 60 characters of the description; what the append would have kept
    // counts as the same.
    const std::string legacy = dir.file("Old.trs");
    const std::string longText(70, 'd');
    testing::writeBytes(
        legacy, testing::records<LegacyRecord>("", {{"03/15/2024", "08:00", "0000000000", "08:30",
                                                     5, 6, std::string(60, 'd')}}));
    EXPECT_TRUE(transactionFileHolds(legacy, TransactionLayout::Legacy,
                                     Transaction(kDay, hm(8, 0), hm(8, 30), 5, 6, longText)));
    EXPECT_FALSE(transactionFileHolds(legacy, TransactionLayout::Legacy,
                                      Transaction(kDay, hm(8, 0), hm(8, 30), 5, 7, longText)));
}

// ---------------------------------------------------------------------------------------------
// The document keeps the running transaction safe

// A view that allows every start and stop.
class AllowingView final : public TrackerListener {
public:
    int trackerNotify(Tracker&, int, int) override { return 1; }
};

std::string workTemplate() {
    return testing::v4Template("Veltimo Solo File", 3, 3,
                               {V4Item{1, 0, 0, 0, 1, 1, 30, "Alpha", "a", ""},
                                V4Item{2, 0, 0, 0, 1, 1, 70, "Beta", "b", ""},
                                V4Item{1, 0, 1, 1, 1, 2, 0, "Coding", "c", ""},
                                V4Item{2, 0, 2, 1, 1, 2, 0, "Testing", "t", ""}});
}

const V4Record kEarlier{2, 2, "03/14/2024", "13:00", "17:30", 0, "Yesterday"};

class RecoveryDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writeBytes(m_tpl, workTemplate());
        testing::writeBytes(m_trs, trsWith({}));
    }

    // The transaction file: the header, the earlier record, then the given ones.
    static std::string trsWith(std::vector<V4Record> added) {
        added.insert(added.begin(), kEarlier);
        return testing::records<V4Record>(testing::transactionHeader(), added);
    }

    // Opens the work template and starts tracking Alpha/Coding at 9:14.
    void startTracking(CSoloDoc& doc) {
        ASSERT_TRUE(doc.open(m_tpl));
        // A tick refreshes "now", as the running program's clock does every second or minute.
        doc.tracker().tick(kSecondClock);
        doc.tracker().setViewTarget(&m_view);
        doc.tracker().setItems(1, 1);
        doc.tracker().setDescription("Design = plan, caf\xC3\xA9");
        ASSERT_TRUE(doc.tracker().start(false));
    }

    void tickAt(CSoloDoc& doc, TimeValue instant) {
        m_clock.set(instant);
        doc.tracker().tick(kMinuteClock);
    }

    // The recovery file's text for one record of Alpha/Coding on the day.
    static std::string designRcv(std::string start, std::string end,
                                 std::string date = "03/15/2024") {
        return rcvText({{std::move(date), std::move(start), std::move(end), "1", "1",
                         "Design = plan, caf\xC3\xA9"}});
    }
    static V4Record designRecord(std::string start, std::string end,
                                 std::string date = "03/15/2024") {
        return {1,
                1,
                std::move(date),
                std::move(start),
                std::move(end),
                0,
                "Design = plan, caf\xC3\xA9"};
    }

    std::string question(std::string date, std::string start, std::string end,
                         std::string level1 = "Alpha", std::string level2 = "Coding") const {
        return "Veltimo Solo found time that was tracked but never stored, most likely because "
               "the program ended unexpectedly:\r\n\r\n" +
               date + " from " + start + " to " + end + "\r\nProject: " + level1 +
               "\r\nActivity: " + level2 + "\r\n\r\nDo you want to store this time now?";
    }

    TempDir m_dir;
    const std::string m_tpl = m_dir.file("Work.tpl");
    const std::string m_trs = m_dir.file("Work.trs");
    const std::string m_rcv = m_dir.file("Work.rcv");
    SettableClock m_clock{kDay + hm(9, 14, 30)};
    MemorySettingsStore m_store;
    Settings m_settings{m_store};
    ScriptedPrompter m_prompter;
    int m_quits = 0;
    CSoloDoc m_doc{m_settings, m_prompter, [this] { ++m_quits; }, m_clock};
    AllowingView m_view;
};

TEST_F(RecoveryDocumentTest, TrackingKeepsTheRunningTransactionOnDiskUntilItIsStored) {
    startTracking(m_doc);
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("09:14", "09:14"));

    m_clock.set(kDay + hm(9, 15, 0));
    EXPECT_EQ(m_doc.tracker().tick(kSecondClock), Tracker::ClockAction::SwitchToMinuteClock);
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("09:14", "09:15"));
    tickAt(m_doc, kDay + hm(9, 16));
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("09:14", "09:16"));
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({})); // nothing stored while running

    m_clock.set(kDay + hm(9, 16, 40));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("09:14", "09:16")}));
    EXPECT_FALSE(testing::exists(m_rcv));
    std::vector<std::string> entries = m_dir.entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Work.tpl", "Work.trs"}));
    EXPECT_TRUE(m_prompter.empty());
    EXPECT_TRUE(m_doc.unstoredTransactions().empty());
}

TEST_F(RecoveryDocumentTest, AStopWithinTheStartMinuteRemovesTheFileAndStoresNothing) {
    startTracking(m_doc);
    ASSERT_TRUE(testing::exists(m_rcv));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({}));
}

TEST_F(RecoveryDocumentTest, AfterACrashTheNextOpenAsksAndYesStoresExactlyOneRecord) {
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(10, 5));
    // The program ends here without a stop; another run opens the template.
    ScriptedPrompter prompter;
    prompter.queue(Prompter::Answer::Yes);
    CSoloDoc next(m_settings, prompter, {}, m_clock);
    ASSERT_TRUE(next.open(m_tpl));

    ASSERT_EQ(prompter.entries().size(), 1u);
    const ScriptedPrompter::Entry& asked = prompter.entries()[0];
    EXPECT_TRUE(asked.question);
    EXPECT_EQ(asked.text, question("03/15/2024", "9:14", "10:05"));
    EXPECT_EQ(asked.buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(asked.preferred, Prompter::Answer::Yes);
    EXPECT_EQ(asked.icon, Prompter::Icon::Question);

    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("09:14", "10:05")}));
    EXPECT_FALSE(testing::exists(m_rcv));
    // Today's recovered time is where Start from Last goes on.
    EXPECT_TRUE(next.tracker().lastEndKnown());
    EXPECT_EQ(next.tracker().startFromLastTime(), hm(10, 5));
}

TEST_F(RecoveryDocumentTest, NoDropsTheRecoveredTimeAndRemovesTheFile) {
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(10, 5));
    ScriptedPrompter prompter;
    prompter.queue(Prompter::Answer::No);
    CSoloDoc next(m_settings, prompter, {}, m_clock);
    ASSERT_TRUE(next.open(m_tpl));
    EXPECT_EQ(prompter.entries().size(), 1u);
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({}));
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_FALSE(next.tracker().lastEndKnown());
}

TEST_F(RecoveryDocumentTest, EachRecordIsAskedForAndAnEarlierDayLeavesTheLastEndAlone) {
    testing::writeBytes(m_rcv, rcvText({{"03/14/2024", "18:00", "19:10", "2", "2", "late"},
                                        {"03/15/2024", "07:00", "07:45", "1", "9", "early"}}));
    m_prompter.queue(Prompter::Answer::Yes);
    m_prompter.queue(Prompter::Answer::No);
    ASSERT_TRUE(m_doc.open(m_tpl));
    ASSERT_EQ(m_prompter.entries().size(), 2u);
    EXPECT_EQ(m_prompter.entries()[0].text,
              question("03/14/2024", "18:00", "19:10", "Beta", "Testing"));
    EXPECT_EQ(m_prompter.entries()[1].text, question("03/15/2024", "7:00", "7:45", "Alpha", "?"));
    EXPECT_EQ(testing::readBytes(m_trs),
              trsWith({{2, 2, "03/14/2024", "18:00", "19:10", 0, "late"}}));
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_FALSE(m_doc.tracker().lastEndKnown());
}

TEST_F(RecoveryDocumentTest, TimeAlreadyStoredOrOfNoLengthIsDroppedWithoutAQuestion) {
    // Stored just before the program ended, and a start that never got a minute.
    testing::writeBytes(m_trs, trsWith({designRecord("09:14", "10:05")}));
    testing::writeBytes(m_rcv, designRcv("09:14", "10:05"));
    ASSERT_TRUE(m_doc.open(m_tpl));
    EXPECT_TRUE(m_prompter.empty());
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("09:14", "10:05")}));

    testing::writeBytes(m_rcv, designRcv("11:00", "11:00"));
    ASSERT_TRUE(m_doc.open(m_tpl));
    EXPECT_TRUE(m_prompter.empty());
    EXPECT_FALSE(testing::exists(m_rcv));
}

TEST_F(RecoveryDocumentTest, AProgramKilledBetweenTheAppendAndTheRemovalStoresNothingTwice) {
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(10, 5));
    // A stop whose view moves the end, as a corrected end field would.
    class EndingView final : public TrackerListener {
    public:
        int trackerNotify(Tracker& t, int code, int) override {
            if (code == trackercode::kMayStop) {
                t.setEnd(hm(10, 0));
            }
            return 1;
        }
    } view;
    m_doc.tracker().setViewTarget(&view);
    // The file as it is after the append and before its removal: what a killed program leaves.
    std::string left;
    const auto remove = m_doc.tracker().onStopped;
    m_doc.tracker().onStopped = [&](const Tracker& t) {
        left = testing::readBytes(m_rcv);
        remove(t);
    };
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_EQ(left, designRcv("09:14", "10:00"));
    const std::string stored = trsWith({designRecord("09:14", "10:00")});
    EXPECT_EQ(testing::readBytes(m_trs), stored);

    testing::writeBytes(m_rcv, left);
    ScriptedPrompter prompter;
    CSoloDoc next(m_settings, prompter, {}, m_clock);
    ASSERT_TRUE(next.open(m_tpl));
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(testing::readBytes(m_trs), stored);
    EXPECT_FALSE(testing::exists(m_rcv));
}

TEST_F(RecoveryDocumentTest, AStoreThatFailsIsKeptAndAppendedAtTheNextStore) {
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(9, 30));
    std::filesystem::remove(m_trs);
    std::filesystem::create_directory(m_trs);
    ASSERT_TRUE(m_doc.tracker().stop());
    // Reported as any failed append is; the time itself is kept.
    ASSERT_FALSE(m_prompter.empty());
    EXPECT_EQ(m_quits, 1);
    ASSERT_EQ(m_doc.unstoredTransactions().size(), 1u);
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("09:14", "09:30"));

    // The minutes' tries fail silently; the file is back after the last one, and the next stop
    // stores both.
    tickAt(m_doc, kDay + hm(9, 40));
    ASSERT_TRUE(m_doc.tracker().start(false));
    EXPECT_EQ(testing::readBytes(m_rcv),
              rcvText({{"03/15/2024", "09:14", "09:30", "1", "1", "Design = plan, caf\xC3\xA9"},
                       {"03/15/2024", "09:40", "09:40", "1", "1", "Design = plan, caf\xC3\xA9"}}));
    tickAt(m_doc, kDay + hm(9, 50));
    std::filesystem::remove(m_trs);
    testing::writeBytes(m_trs, trsWith({}));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_EQ(m_quits, 1);
    EXPECT_EQ(testing::readBytes(m_trs),
              trsWith({designRecord("09:40", "09:50"), designRecord("09:14", "09:30")}));
    EXPECT_TRUE(m_doc.unstoredTransactions().empty());
    EXPECT_FALSE(testing::exists(m_rcv));
}

// A disk that fills while tracking runs: the recovery file goes on saying what is to be stored,
// the stop says why the time was not stored, quitting is asked about, and the first minute with
// space again stores the time, once.
TEST_F(RecoveryDocumentTest, TimeAFullDiskWouldNotTakeIsStoredOnceSpaceIsBack) {
    struct SpaceMadeAtTheEnd {
        ~SpaceMadeAtTheEnd() { faults::reset(); }
    } spaceMade;
    startTracking(m_doc);
    faults::armFrom(faults::Point::Write, 1, ENOSPC);
    tickAt(m_doc, kDay + hm(9, 30));
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("09:14", "09:30"));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_EQ(m_prompter.texts(),
              std::vector<std::string>{"The time tracked on 03/15/2024 from 9:14 to 9:30 could "
                                       "not be stored in " +
                                       m_trs +
                                       ":\r\n\r\nNo space left on device\r\n\r\nThe time is "
                                       "kept. Veltimo Solo stores it as soon as the file takes "
                                       "it: it tries again every minute and when tracking next "
                                       "stops."});
    EXPECT_EQ(m_quits, 0);
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({}));
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("09:14", "09:30"));

    // Still full: the minute's try fails without a word, and quitting is asked about.
    tickAt(m_doc, kDay + hm(9, 31));
    m_prompter.queue(Prompter::Answer::No);
    EXPECT_FALSE(m_doc.mayQuit());
    ASSERT_EQ(m_prompter.entries().size(), 2u);
    EXPECT_TRUE(m_prompter.entries()[1].question);
    EXPECT_NE(m_prompter.entries()[1].text.find("03/15/2024 from 9:14 to 9:30\r\n\r\nIf you quit "
                                                "now, the time stays in the file " +
                                                m_rcv),
              std::string::npos)
        << m_prompter.entries()[1].text;

    faults::reset();
    tickAt(m_doc, kDay + hm(9, 32));
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("09:14", "09:30")}));
    EXPECT_TRUE(m_doc.unstoredTransactions().empty());
    EXPECT_FALSE(testing::exists(m_rcv));

    // Later minutes, stops and the quit store nothing twice.
    tickAt(m_doc, kDay + hm(9, 33));
    ASSERT_TRUE(m_doc.tracker().start(false));
    tickAt(m_doc, kDay + hm(9, 40));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_TRUE(m_doc.mayQuit());
    EXPECT_EQ(testing::readBytes(m_trs),
              trsWith({designRecord("09:14", "09:30"), designRecord("09:33", "09:40")}));
    EXPECT_EQ(m_prompter.entries().size(), 2u);
}

TEST_F(RecoveryDocumentTest, AStoreThatFailedIsOfferedAtTheNextOpen) {
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(9, 30));
    std::filesystem::remove(m_trs);
    std::filesystem::create_directory(m_trs);
    ASSERT_TRUE(m_doc.tracker().stop());
    ASSERT_TRUE(testing::exists(m_rcv));

    std::filesystem::remove(m_trs);
    testing::writeBytes(m_trs, trsWith({}));
    ScriptedPrompter prompter;
    CSoloDoc next(m_settings, prompter, {}, m_clock);
    ASSERT_TRUE(next.open(m_tpl));
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{question("03/15/2024", "9:14", "9:30")});
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("09:14", "09:30")}));
    EXPECT_FALSE(testing::exists(m_rcv));
}

TEST_F(RecoveryDocumentTest, RecoveredTimeTheFileWillNotTakeStaysInTheRecoveryFile) {
    const std::string rcv = designRcv("08:00", "08:40");
    testing::writeBytes(m_rcv, rcv);
    std::filesystem::remove(m_trs);
    std::filesystem::create_directory(m_trs);
    m_prompter.queue(Prompter::Answer::Yes);
    ASSERT_TRUE(m_doc.open(m_tpl));
    EXPECT_EQ(m_doc.unstoredTransactions().size(), 1u);
    EXPECT_EQ(testing::readBytes(m_rcv), rcv);
}

TEST_F(RecoveryDocumentTest, ADamagedRecoveryFileIsReportedAndKeptAside) {
    const std::string garbage("\x7F"
                              "ELF\x00\x01garbage=1\n",
                              17);
    testing::writeBytes(m_rcv, garbage);
    ASSERT_TRUE(m_doc.open(m_tpl));
    ASSERT_EQ(m_prompter.entries().size(), 1u);
    EXPECT_FALSE(m_prompter.entries()[0].question);
    EXPECT_EQ(m_prompter.entries()[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(m_prompter.entries()[0].text,
              "The file " + m_rcv +
                  " keeps tracked time safe until it is stored, but it cannot be used: it does "
                  "not start as a recovery file does.\r\n\r\nIt may still hold time that was "
                  "not stored, so it was kept as " +
                  m_rcv + ".damaged.");
    EXPECT_EQ(testing::readBytes(m_rcv + ".damaged"), garbage);
    EXPECT_FALSE(testing::exists(m_rcv));

    // Tracking is kept safe again, and the kept file is never touched.
    m_doc.tracker().setViewTarget(&m_view);
    m_doc.tracker().setItems(1, 1);
    ASSERT_TRUE(m_doc.tracker().start(false));
    EXPECT_EQ(testing::readBytes(m_rcv), rcvText({{"03/15/2024", "09:14", "09:14", "1", "1", ""}}));
    tickAt(m_doc, kDay + hm(9, 20));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_EQ(testing::readBytes(m_rcv + ".damaged"), garbage);
}

TEST_F(RecoveryDocumentTest, AnUnreadableRecoveryFileIsKeptAsideToo) {
    std::filesystem::create_directory(m_rcv);
    testing::writeBytes(m_rcv + "/inside", "kept");
    ASSERT_TRUE(m_doc.open(m_tpl));
    ASSERT_EQ(m_prompter.entries().size(), 1u);
    EXPECT_NE(m_prompter.entries()[0].text.find("cannot be used: error 5 while reading it."),
              std::string::npos);
    EXPECT_EQ(testing::readBytes(m_rcv + ".damaged/inside"), "kept");
}

TEST_F(RecoveryDocumentTest, ARecoveryFileThatCannotBeMovedIsNeverWrittenOver) {
    const std::string garbage = "not a recovery file\n";
    testing::writeBytes(m_rcv, garbage);
    for (int i = 1; i <= 20; ++i) {
        testing::writeBytes(i == 1 ? m_rcv + ".damaged"
                                   : testing::joined({m_rcv, ".damaged-", std::to_string(i)}),
                            "x");
    }
    ASSERT_TRUE(m_doc.open(m_tpl));
    ASSERT_EQ(m_prompter.texts(),
              std::vector<std::string>{
                  "The file " + m_rcv +
                  " keeps tracked time safe until it is stored, but it cannot be used: it does "
                  "not start as a recovery file does.\r\n\r\nIt may still hold time that was not "
                  "stored, so it was left as it is. Until it is moved away, time being tracked "
                  "for this file is kept only in memory until tracking stops."});
    m_doc.tracker().setViewTarget(&m_view);
    ASSERT_TRUE(m_doc.tracker().start(false));
    tickAt(m_doc, kDay + hm(9, 30));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_EQ(testing::readBytes(m_rcv), garbage);
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({{0, 0, "03/15/2024", "09:14", "09:30", 0, ""}}));
    EXPECT_EQ(m_prompter.entries().size(), 1u);
}

TEST_F(RecoveryDocumentTest, AFailedWriteIsReportedOnceAndTrackingGoesOn) {
    ASSERT_TRUE(m_doc.open(m_tpl));
    std::filesystem::create_directory(m_rcv); // in the way of every write
    m_doc.tracker().setViewTarget(&m_view);
    ASSERT_TRUE(m_doc.tracker().start(false));
    for (int minute = 15; minute <= 20; ++minute) {
        tickAt(m_doc, kDay + hm(9, minute));
    }
    EXPECT_TRUE(m_doc.tracker().isTracking());
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_EQ(m_prompter.texts(),
              std::vector<std::string>{
                  "The time being tracked could not be kept safe in the file " + m_rcv +
                  " (error 5).\r\n\r\nTracking goes on and the time is stored when tracking "
                  "stops, but if Veltimo Solo ends unexpectedly before that, the time tracked "
                  "since the start can be lost. This message is not repeated."});
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({{0, 0, "03/15/2024", "09:14", "09:20", 0, ""}}));

    // Once per run: a later failure stays silent too.
    ASSERT_TRUE(m_doc.tracker().start(false));
    tickAt(m_doc, kDay + hm(9, 25));
    EXPECT_EQ(m_prompter.entries().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(m_rcv));
}

TEST_F(RecoveryDocumentTest, MidnightStoresTheOldDayAndKeepsTheNewOneSafe) {
    m_clock.set(kDay + hm(23, 58, 10));
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(23, 59));
    tickAt(m_doc, kNextDay + hm(0, 0));
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("23:58", "23:59")}));
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("00:00", "00:00", "03/16/2024"));
    tickAt(m_doc, kNextDay + hm(0, 3));
    EXPECT_EQ(testing::readBytes(m_rcv), designRcv("00:00", "00:03", "03/16/2024"));
}

TEST_F(RecoveryDocumentTest, OpeningAnotherTemplateStoresTheRunningTimeInTheFirst) {
    const std::string other = m_dir.file("Other.tpl");
    testing::writeBytes(other, workTemplate());
    testing::writeBytes(m_dir.file("Other.trs"), testing::transactionHeader());
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(9, 45));
    ASSERT_TRUE(m_doc.open(other));
    EXPECT_FALSE(m_doc.tracker().isTracking());
    EXPECT_EQ(testing::readBytes(m_trs), trsWith({designRecord("09:14", "09:45")}));
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_EQ(testing::readBytes(m_dir.file("Other.trs")), testing::transactionHeader());
    EXPECT_FALSE(testing::exists(m_dir.file("Other.rcv")));
    EXPECT_EQ(m_doc.tracker().running().level1Key(), 0);
}

TEST_F(RecoveryDocumentTest, ADocumentWithoutAFileKeepsItsTimeInTheStoreAndWritesNoFile) {
    const std::string cwdRecovery = TemplatePaths::recoveryFile("");
    ASSERT_FALSE(testing::exists(cwdRecovery));
    m_doc.tracker().setViewTarget(&m_view);
    ASSERT_TRUE(m_doc.tracker().start(false));
    tickAt(m_doc, kDay + hm(9, 40));
    EXPECT_FALSE(testing::exists(cwdRecovery));
    ASSERT_TRUE(m_doc.tracker().stop());
    const TransactionStore& store = m_doc.templateFile().store();
    ASSERT_EQ(store.dayCount(), 1u);
    const Transaction* kept = store.day(0)->lastTransaction();
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->start(), hm(9, 14));
    EXPECT_EQ(kept->end(), hm(9, 40));
    EXPECT_FALSE(testing::exists(cwdRecovery));
    EXPECT_TRUE(m_prompter.empty());
}

TEST_F(RecoveryDocumentTest, SwitchingToTheLocalCopyMovesTheRecoveryFile) {
    TempDir local;
    startTracking(m_doc);
    tickAt(m_doc, kDay + hm(9, 20));
    ASSERT_TRUE(m_doc.switchToLocalCopy(local.path()));
    tickAt(m_doc, kDay + hm(9, 21));
    const std::string localRcv = local.file("Work.rcv");
    EXPECT_EQ(testing::readBytes(localRcv), designRcv("09:14", "09:21"));
    EXPECT_FALSE(testing::exists(m_rcv));
    ASSERT_TRUE(m_doc.tracker().stop());
    EXPECT_FALSE(testing::exists(localRcv));
    EXPECT_EQ(testing::readBytes(local.file("Work.trs")),
              trsWith({designRecord("09:14", "09:21")}));
}

TEST_F(RecoveryDocumentTest, DeletingTheTemplateDeletesItsRecoveryFile) {
    ASSERT_TRUE(m_doc.open(m_tpl));
    testing::writeBytes(m_rcv, "anything");
    m_prompter.queue(Prompter::Answer::Yes);
    ASSERT_TRUE(m_doc.deleteTemplate());
    EXPECT_FALSE(testing::exists(m_rcv));
    EXPECT_TRUE(m_dir.entries().empty());
}

} // namespace
} // namespace vsolo
