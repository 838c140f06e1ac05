// Runs the built vsolo-cli program on files made byte by byte here and checks its exact output.

#include "tests/support/runprogram.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

using CliRun = vsolo::testing::ProgramRun;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Little-endian pieces of the tracker's files.
std::string i32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) {
        s[static_cast<std::size_t>(i)] =
            static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    }
    return s;
}
std::string u16(std::uint16_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string fixed(const std::string& text, std::size_t size) {
    return text + std::string(size - text.size(), '\0');
}
std::string counted(const std::string& text) {
    return i32(static_cast<std::int32_t>(text.size() + 1)) + text + '\0';
}

std::string v4Header(std::int32_t nextGroup, std::int32_t nextSub, std::int32_t count,
                     const std::string& type = "Veltimo Solo File") {
    return i32(4) + fixed(type, 25) + i32(nextGroup) + i32(nextSub) + std::string(63, '\0') +
           i32(count);
}

std::string v4Item(std::int32_t group, std::int32_t parent, std::int32_t sub, std::int32_t depth,
                   bool active, std::uint8_t level, std::uint16_t target, const std::string& name,
                   const std::string& description, const std::string& third = " ") {
    return i32(group) + i32(parent) + i32(sub) + i32(depth) + std::string(1, active ? '\1' : '\0') +
           std::string(1, static_cast<char>(level)) + u16(target) + counted(name) +
           counted(description) + counted(third);
}

std::string trsHeader() {
    return i32(4) + fixed("Transaction File", 25);
}

std::string v4Record(std::int32_t l1, std::int32_t l2, const std::string& date,
                     const std::string& start, const std::string& end, bool sent,
                     const std::string& description) {
    return i32(l1) + i32(l2) + fixed(date, 11) + fixed(start, 6) + fixed(end, 6) +
           i32(sent ? 1 : 0) + counted(description);
}

std::string legacyItem(std::int32_t sub, const std::string& name, const std::string& description,
                       int target = -1) {
    std::string s = i32(sub) + fixed(name, 21) + fixed(description, 61);
    if (target >= 0) {
        s += static_cast<char>(target);
    }
    return s;
}

std::string legacyRecord(const std::string& date, const std::string& start,
                         const std::string& marks, const std::string& end, std::int32_t l1,
                         std::int32_t l2, const std::string& description) {
    return fixed(date, 11) + fixed(start, 6) + fixed(marks, 11) + fixed(end, 6) + i32(l1) +
           i32(l2) + fixed(description, 61);
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vsolo-cli-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    std::string path(const std::string& name) const { return m_dir + "/" + name; }

    // Runs the program; a positive `fileSizeLimit` caps the size of every file it writes.
    CliRun run(const std::vector<std::string>& args, rlim_t fileSizeLimit = 0) const {
        return vsolo::testing::runProgram(VSOLO_CLI_PATH, args, m_dir,
                                          {fileSizeLimit, {{"VSOLO_LOCK_WAIT", "0"}}});
    }

    // A version-4 template with one project, two activities (one nested) and a removed third.
    std::string writeVersion4Template(const std::string& name = "t.tpl") {
        const std::string bytes = v4Header(3, 9, 4) +
                                  v4Item(1, 0, 0, 0, true, 1, 40, "Sales", "Selling things", "x") +
                                  v4Item(1, 0, 5, 1, true, 2, 0, "Letters", "mail") +
                                  v4Item(1, 5, 6, 2, true, 2, 0, "Sub\ttask", "deep") +
                                  v4Item(1, 0, 7, 1, false, 2, 0, "Old", "", "");
        writeFile(path(name), bytes);
        return path(name);
    }

    std::string m_dir;
};

TEST_F(CliTest, LevelsListsTheTemplateAsRead) {
    const std::string tpl = writeVersion4Template();
    const CliRun r = run({"levels", tpl});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "format\t4\tmanaged\t0\tnext-group\t3\tnext-sub-id\t9\ttype\tVeltimo Solo File\n"
              "1\t1\t0\t0\t0\t1\t40\tSales\tSelling things\tx\t\n"
              "2\t1\t0\t5\t1\t1\t0\tLetters\tmail\t \t\n"
              "2\t1\t5\t6\t2\t1\t0\tSub\\ttask\tdeep\t \t\n"
              "2\t1\t0\t7\t1\t0\t0\tOld\t\t\t\n");

    // A managed legacy template ("ATra": its flag byte is the letter A) with its side file:
    // assignments listed by sub-id, the side file's entry replacing Alpha's.
    const std::string legacy = "ATra header" + std::string(51, '\0') + i32(2) + i32(2) +
                               legacyItem(10, "Zeta", "z", 30) + legacyItem(20, "Alpha", "a", 50) +
                               legacyItem(7, "Call", "c") + legacyItem(8, "Write", "w") + i32(10) +
                               i32(8) + i32(10) + i32(7) + i32(20) + i32(7);
    ASSERT_EQ(legacy.size(), 62u + 8 + 2 * 87 + 2 * 86 + 24);
    writeFile(path("old.tpl"), legacy);
    const std::string side =
        i32(1) + i32(20) + std::string{'\x46', '\0', '\0', '\0'} + i32(1) + i32(8);
    writeFile(path("old.tlx"), side);
    const CliRun legacyRun = run({"levels", path("old.tpl"), "-o", path("levels.txt")});
    ASSERT_EQ(legacyRun.exitCode, 0) << legacyRun.err;
    EXPECT_EQ(legacyRun.out, "");
    EXPECT_EQ(readFile(path("levels.txt")),
              "format\t512\tmanaged\t1\tnext-group\t1\tnext-sub-id\t1\ttype\tTra header\n"
              "1\t0\t0\t10\t0\t1\t30\tZeta\tz\t \t8,7\n"
              "1\t0\t0\t20\t0\t0\t70\tAlpha\ta\t \t8\n"
              "2\t0\t0\t7\t0\t1\t0\tCall\tc\t \t\n"
              "2\t0\t0\t8\t0\t1\t0\tWrite\tw\t \t\n");
}

TEST_F(CliTest, ExportWritesEveryLineWithItsErrorMarksRecomputed) {
    const std::string tpl = writeVersion4Template();
    writeFile(path("t.trs"),
              trsHeader() + v4Record(1, 5, "10/19/1999", "09:00", "10:30", false, "Customer mail") +
                  v4Record(1, 6, "10/19/1999", "10:00", "11:00", true, "a, b") +
                  v4Record(1, 99, "10/20/1999", "08:00", "08:45", false, "") +
                  v4Record(1, 5, "10/21/1999", "13:00", "13:00", false, "empty") +
                  v4Record(2, 5, "10/22/1999", "07:05", "08:00", false, "gone"));
    const CliRun csv = run({"export", tpl});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out, "10/19/1999,Sales,Letters,09:00,10:30,00:00,Customer mail,\r\n"
                       "10/19/1999,Sales,Sub\ttask,10:00,11:00,01:00,a, b,\r\n"
                       "10/20/1999,Sales,?,08:00,08:45,00:45,,\r\n"
                       "10/21/1999,Sales,Letters,13:00,13:00,00:00,empty,\r\n"
                       "10/22/1999,?,?,07:05,08:00,00:55,gone,\r\n");

    const CliRun txt =
        run({"export", "--format", "txt", "--from", "10/20/1999", "--to", "10/21/99", tpl});
    ASSERT_EQ(txt.exitCode, 0) << txt.err;
    EXPECT_EQ(txt.out, "10/20/1999\tSales\t?\t08:00\t08:45\t00:45\t\t\r\n"
                       "10/21/1999\tSales\tLetters\t13:00\t13:00\t00:00\tempty\t\r\n");

    // Either bound alone, reversed bounds, and a range without days.
    EXPECT_EQ(run({"export", "--from", "10/22/1999", tpl}).out,
              "10/22/1999,?,?,07:05,08:00,00:55,gone,\r\n");
    EXPECT_EQ(run({"export", "--to", "10/19/1999", tpl}).out.size(), csv.out.find("10/20/1999"));
    EXPECT_EQ(run({"export", "--from", "10/21/1999", "--to", "10/20/1999", tpl}).out,
              "10/20/1999,Sales,?,08:00,08:45,00:45,,\r\n"
              "10/21/1999,Sales,Letters,13:00,13:00,00:00,empty,\r\n");
    const CliRun none = run({"export", "--from", "1/1/2001", "-o", path("none.csv"), tpl});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(readFile(path("none.csv")), "") << "an empty range makes an empty file";

    // The export never changes the transaction file.
    const std::string before = readFile(path("t.trs"));
    run({"export", "-o", path("all.csv"), tpl});
    EXPECT_EQ(readFile(path("all.csv")), csv.out);
    EXPECT_EQ(readFile(path("t.trs")), before);
}

TEST_F(CliTest, ReportListsTheTimeStudyRowsOfTheRange) {
    // Listed out of name order: the report follows the lists sorted by name.
    writeFile(path("r.tpl"), v4Header(3, 9, 5) + v4Item(2, 0, 0, 0, true, 1, 30, "Zeta", "") +
                                 v4Item(1, 0, 0, 0, true, 1, 50, "Alpha", "") +
                                 v4Item(2, 0, 5, 1, true, 2, 0, "Write", "") +
                                 v4Item(1, 0, 6, 1, true, 2, 0, "Call", "") +
                                 v4Item(1, 0, 7, 1, true, 2, 0, "Build", ""));
    writeFile(path("r.trs"), trsHeader() +
                                 v4Record(1, 6, "10/19/1999", "09:00", "10:00", false, "") +
                                 // Overlapped by the next one, so in error: it counts nothing.
                                 v4Record(1, 7, "10/19/1999", "10:00", "10:30", false, "") +
                                 v4Record(2, 5, "10/19/1999", "10:20", "11:00", false, "") +
                                 v4Record(1, 99, "10/20/1999", "08:00", "08:20", false, "") +
                                 v4Record(3, 1, "10/20/1999", "09:00", "09:30", false, ""));
    const std::string before = readFile(path("r.trs"));
    const CliRun all = run({"report", path("r.tpl")});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "\t\t\t\t\n"
                       "Alpha\tCall\t1:00\t40.0%\t\n"
                       "\tUnknown categories\t0:20\t13.3%\t\n"
                       "   Total\t\t1:20\t53.3%\t50%\n"
                       "\t\t\t\t\n"
                       "Zeta\tWrite\t0:40\t26.7%\t\n"
                       "   Total\t\t0:40\t26.7%\t30%\n"
                       "\t\t\t\t\n"
                       "Unknown categories\t\t0:30\t20.0%\t\n"
                       "   Total\t\t0:30\t20.0%\t0%\n"
                       "\t\t\t\t\n"
                       "   Grand Total\t\t2:30\t100.0%\t\n");
    EXPECT_EQ(readFile(path("r.trs")), before) << "the report never writes the transactions";

    const CliRun second =
        run({"report", "--from", "10/20/1999", path("r.tpl"), "-o", path("r.txt")});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(readFile(path("r.txt")), "\t\t\t\t\n"
                                       "Alpha\tUnknown categories\t0:20\t40.0%\t\n"
                                       "   Total\t\t0:20\t40.0%\t50%\n"
                                       "\t\t\t\t\n"
                                       "Unknown categories\t\t0:30\t60.0%\t\n"
                                       "   Total\t\t0:30\t60.0%\t0%\n"
                                       "\t\t\t\t\n"
                                       "   Grand Total\t\t0:50\t100.0%\t\n");
    const CliRun none = run({"report", "--from", "1/1/2001", path("r.tpl")});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
}

TEST_F(CliTest, UpgradeConvertsOnlyVersion3Templates) {
    // Two projects; activity 7 is assigned to both, activity 9 to none.
    const std::string v3 = std::string(1, '\0') + fixed("old", 61) + i32(2) + i32(3) +
                           legacyItem(30, "Beta", "b", 20) + legacyItem(31, "Alpha", "a", 10) +
                           legacyItem(7, "Write", "w") + legacyItem(8, "Call", "c") +
                           legacyItem(9, "Unused", "u") + i32(30) + i32(7) + i32(31) + i32(8) +
                           i32(31) + i32(7);
    ASSERT_EQ(v3.substr(0, 4), std::string("\0old", 4)) << "a tag other than 4 and 512 means 768";
    writeFile(path("v3.tpl"), v3);
    writeFile(path("v3.trs"),
              legacyRecord("03/07/1999", "08:00", "0000000000", "09:00", 30, 7, "beta write") +
                  legacyRecord("03/07/1999", "09:00", "S000000000", "10:00", 31, 7, "alpha write") +
                  legacyRecord("03/08/1999", "09:00", "0T00000000", "09:30", 31, 8, "alpha call"));
    const CliRun r = run({"upgrade", path("v3.tpl")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("Veltimo Solo has detected that this template is a version 3 file.  "
                         "Veltimo Solo will now convert this template to a version 4 file."),
              std::string::npos);
    // Sorted by name first: Alpha becomes group 1 with Call (1) and Write (2), Beta group 2 with
    // Write (3); Unused is dropped.
    const CliRun levels = run({"levels", path("v3.tpl")});
    EXPECT_EQ(levels.out,
              "format\t4\tmanaged\t0\tnext-group\t3\tnext-sub-id\t4\ttype\tVeltimo Solo File\n"
              "1\t1\t0\t0\t0\t1\t10\tAlpha\ta\t \t\n"
              "1\t2\t0\t0\t0\t1\t20\tBeta\tb\t \t\n"
              "2\t1\t0\t1\t1\t1\t0\tCall\tc\t\t\n"
              "2\t1\t0\t2\t1\t1\t0\tWrite\tw\t\t\n"
              "2\t2\t0\t3\t1\t1\t0\tWrite\tw\t\t\n");
    EXPECT_EQ(readFile(path("v3.trs")),
              trsHeader() + v4Record(2, 3, "03/07/1999", "08:00", "09:00", false, "beta write") +
                  v4Record(1, 2, "03/07/1999", "09:00", "10:00", true, "alpha write") +
                  v4Record(1, 1, "03/08/1999", "09:00", "09:30", false, "alpha call"));

    // A version-4 template is left alone.
    const std::string tpl = writeVersion4Template();
    const std::string before = readFile(tpl);
    const CliRun again = run({"upgrade", tpl});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.err.find("nothing to convert"), std::string::npos);
    EXPECT_EQ(readFile(tpl), before);
}

TEST_F(CliTest, ExportOfAFileEndingInARecordCutShortTakesTheCompleteOnes) {
    const std::string tpl = writeVersion4Template();
    const std::string last = v4Record(1, 5, "10/20/1999", "08:00", "08:45", false, "torn");
    const std::string bytes = trsHeader() +
                              v4Record(1, 5, "10/19/1999", "09:00", "10:30", false, "kept") +
                              last.substr(0, 12);
    writeFile(path("t.trs"), bytes);
    const CliRun r = run({"export", tpl});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "10/19/1999,Sales,Letters,09:00,10:30,01:30,kept,\r\n");
    EXPECT_NE(r.err.find(path("t.trs") + " ends in a record that was cut short"), std::string::npos)
        << r.err;
    EXPECT_EQ(readFile(path("t.trs")), bytes) << "reading never writes the file";
}

TEST_F(CliTest, CheckCountsAndNamesTheDamage) {
    const std::string tpl = writeVersion4Template();
    writeFile(path("t.trs"), trsHeader() +
                                 v4Record(1, 5, "10/19/1999", "09:00", "10:30", false, "x") +
                                 v4Record(1, 5, "10/20/1999", "09:00", "10:30", false, "y"));
    CliRun r = run({"check", tpl});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "items\t4\ntransactions\t2\n");

    // A record cut short: the complete ones are counted, and the file is left as it is.
    const std::string whole = readFile(path("t.trs"));
    writeFile(path("t.trs"), whole.substr(0, whole.size() - 3));
    r = run({"check", tpl});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "items\t4\ntransactions\t1\n");
    EXPECT_NE(r.err.find("The transaction file " + path("t.trs") +
                         " ends in a record that was cut short"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(readFile(path("t.trs")), whole.substr(0, whole.size() - 3));

    // Two bytes after the last record are too few to begin one: not a record, nothing to say.
    writeFile(path("t.trs"), whole + "\x01\x02");
    r = run({"check", tpl});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "items\t4\ntransactions\t2\n");
    EXPECT_EQ(r.err, "");

    // An item count far past the end of the template.
    std::string tplBytes = readFile(tpl);
    tplBytes.replace(100, 4, i32(0x7FFFFFFF));
    writeFile(tpl, tplBytes);
    r = run({"check", tpl});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("is damaged"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(tpl), tplBytes) << "nothing is written";

    r = run({"check", path("missing.tpl")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Cannot find " + path("missing.tpl")), std::string::npos);
}

// Only reading was asked for, so nothing is said of saving.
TEST_F(CliTest, CheckTellsAFolderInPlaceOfTheTransactionFileAsUnreadable) {
    const std::string tpl = writeVersion4Template();
    ASSERT_EQ(::mkdir(path("t.trs").c_str(), 0755), 0);
    const CliRun r = run({"check", tpl});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1),
              "vsolo-cli: Cannot read file " + path("t.trs") + " it is a folder, not a file.\n");
    EXPECT_EQ(r.err.find("save"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("will close"), std::string::npos) << r.err; // no window to close
}

TEST_F(CliTest, BadInvocationsExitWithTwo) {
    const std::string tpl = writeVersion4Template();
    EXPECT_EQ(run({}).exitCode, 2);
    EXPECT_EQ(run({"frobnicate", tpl}).exitCode, 2);
    EXPECT_EQ(run({"export", "--bogus", "x", tpl}).exitCode, 2);
    EXPECT_EQ(run({"export", "--format", "xls", tpl}).exitCode, 2);
    EXPECT_EQ(run({"export", "--from", "2/30/2000", tpl}).exitCode, 2);
    EXPECT_EQ(run({"export", "--from"}).exitCode, 2);
    EXPECT_EQ(run({"levels"}).exitCode, 2);
    EXPECT_EQ(run({"levels", tpl, tpl}).exitCode, 2);
    EXPECT_EQ(run({"export", tpl}).exitCode, 2) << "the transaction file is missing";
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: vsolo-cli"), std::string::npos);
}

// What a user asks of the program itself: its version, or one command's usage, wherever the
// --help stands among the command's words. Standard output holds the answer from its start.
struct AskedFor {
    std::vector<std::string> words;
    std::string out;
};

class CliAskedForTest : public CliTest, public ::testing::WithParamInterface<AskedFor> {};

TEST_P(CliAskedForTest, AnswersOnStandardOutputWithExitZero) {
    const CliRun r = run(GetParam().words);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.substr(0, GetParam().out.size()), GetParam().out) << r.out;
    EXPECT_EQ(r.out.find("commands:"), std::string::npos) << "the usage of every command";
}

const std::string kCheckUsage =
    "usage: vsolo-cli check TEMPLATE [-o FILE]\n"
    "    counts the level items and transactions; exit 1 when a file is damaged, or when the\n"
    "    transaction file ends in a record cut short (the complete ones are counted)\n";

INSTANTIATE_TEST_SUITE_P(
    VersionAndUsage, CliAskedForTest,
    ::testing::Values(AskedFor{{"--version"}, "vsolo-cli " VSOLO_VERSION "\n"},
                      AskedFor{{"check", "--help"}, kCheckUsage},
                      AskedFor{{"check", "-h"}, kCheckUsage},
                      AskedFor{{"check", "missing.tpl", "-h"}, kCheckUsage},
                      AskedFor{{"export", "--from", "1/2/2000", "--help", "a", "b"},
                               "usage: vsolo-cli export [--format csv|txt] [--from"},
                      AskedFor{{"pdf", "--help"}, "usage: vsolo-cli pdf timesheet|report|"}));

TEST_F(CliTest, AnOutputFileThatCannotBeWrittenIsReportedWithItsCause) {
    const std::string tpl = writeVersion4Template();
    const std::string out = path("out.txt");
    writeFile(out, "before");
    const int holder = ::open(out.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const CliRun locked = run({"levels", tpl, "-o", out});
    ::close(holder);
    EXPECT_EQ(locked.exitCode, 2);
    EXPECT_EQ(locked.err, "vsolo-cli: Failed to create/open file. " + out +
                              ": A needed file is locked by another process\n");
    EXPECT_EQ(readFile(out), "before");

    const std::string missing = path("no/such/folder.txt");
    EXPECT_EQ(run({"levels", tpl, "-o", missing}).err,
              "vsolo-cli: Failed to create/open file. " + missing + ": Cannot find " + missing +
                  " the directory was either renamed, moved, or deleted.\n");

    // The limit holds the error message but not the listing.
    ASSERT_GT(run({"levels", tpl}).out.size(), 120u);
    const CliRun full = run({"levels", tpl, "-o", out}, 120);
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_EQ(full.err, "vsolo-cli: writing " + out + " failed: " + std::strerror(EFBIG) + "\n");
    EXPECT_EQ(readFile(out), "before");
}

TEST_F(CliTest, ExportToADeviceWritesToItWithoutReplacingIt) {
    const std::string tpl = writeVersion4Template();
    writeFile(path("t.trs"),
              trsHeader() + v4Record(1, 5, "10/19/1999", "09:00", "10:30", false, "mail"));
    const CliRun r = run({"export", tpl, "-o", "/dev/null"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(CliTest, GarbageFilesNeverCrashIt) {
    std::mt19937 random(99);
    const std::string valid = readFile(writeVersion4Template());
    for (int i = 0; i < 40; ++i) {
        std::string bytes = valid;
        // Flip a few bytes of a valid template, or write noise of a random length.
        if (i % 2 == 0) {
            for (int k = 0; k < 4; ++k) {
                bytes[random() % bytes.size()] = static_cast<char>(random());
            }
        } else {
            bytes.resize(random() % 300);
            for (char& c : bytes) {
                c = static_cast<char>(random());
            }
        }
        writeFile(path("g.tpl"), bytes);
        writeFile(path("g.trs"), bytes);
        for (const char* command : {"levels", "check", "export"}) {
            const CliRun r = run({command, path("g.tpl")});
            EXPECT_LE(r.exitCode, 2) << command << " crashed on input " << i << ": " << r.err;
        }
    }
}

// hub collect over a Maildir of the test's own, named by a mail profile file of the test's own;
// the program inherits the environment that points at them.
class HubCollectTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        for (const char* sub : {"mail/new", "mail/cur", "mail/tmp", "config/Orvane Systems"}) {
            ASSERT_EQ(std::system(("mkdir -p '" + path(sub) + "'").c_str()), 0);
        }
        writeFile(path("config/Orvane Systems/Mail Profiles.ini"),
                  "[General]\nDefault=Hub\n[Hub]\nStore=maildir:" + path("mail") +
                      "\nTransport=sendmail:/bin/false\n");
        setEnv("XDG_CONFIG_HOME", path("config"));
        setEnv("HOME", m_dir);
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str(), 1);
        }
        CliTest::TearDown();
    }
    void setEnv(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old != nullptr ? old : "");
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    // A time sheet of one record as the tracker mails it.
    void deliverTimeSheet(const std::string& name) const {
        writeFile(path("mail/new/" + name),
                  "From: a@example.org\r\nTo: b@example.org\r\nSubject: Transaction file\r\n"
                  "X-Message-Type: Transaction file\r\n\r\n"
                  "desk\x01\x01"
                  "1\x01\x01"
                  "1/2/2024||09:00||09:30||4||5||x\x01\x01");
    }

    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(HubCollectTest, ExitsWithZeroOnlyWhenEverythingWasCollected) {
    deliverTimeSheet("100.a.host");
    const CliRun done = run({"hub", "collect", path("hub.dat")});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(done.err, "");
    EXPECT_EQ(readFile(path("hub.dat")),
              fixed("desk", 9) + i32(4) + i32(5) + fixed("1/2/2024", 11) + fixed("09:00", 6) +
                  fixed("1/2/2024", 11) + fixed("09:30", 6) + fixed("x", 61));

    deliverTimeSheet("200.b.host");
    const CliRun unknown = run({"hub", "collect", "--profile", "Elsewhere", path("hub.dat")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("Error: MAPI login procedure failed\n"), std::string::npos)
        << unknown.err;
    const CliRun full = run({"hub", "collect", "--password", "p", "/dev/full"});
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_NE(full.err.find("not all collected into /dev/full"), std::string::npos) << full.err;
    EXPECT_EQ(readFile(path("mail/new/200.b.host")).substr(0, 5), "From:") << "kept";

    EXPECT_EQ(run({"hub", path("hub.dat")}).exitCode, 2) << "no subcommand";
    EXPECT_EQ(run({"hub", "collect"}).exitCode, 2) << "no file";
}

TEST_F(HubCollectTest, CollectsTheReadableAndNamesTheOthersWithExitOne) {
    setEnv("TZ", "UTC");
    deliverTimeSheet("100.a.host");
    writeFile(path("mail/new/200.b.host"), "From: Bo <bo@example.org>\r\nSubject: Broken\r\n"
                                           "X-Message-Type: Transaction file\r\n\r\nno table");
    const CliRun left = run({"hub", "collect", path("hub.dat")});
    EXPECT_EQ(left.exitCode, 1) << left.err;
    EXPECT_EQ(readFile(path("hub.dat")).size(), 112u);
    const std::string named = "\nfrom Bo <bo@example.org>, received 1970/01/01 00:03, subject ";
    EXPECT_NE(left.err.find(named + "\"Broken\"\n"), std::string::npos) << left.err;
    EXPECT_EQ(readFile(path("mail/new/200.b.host")).substr(0, 5), "From:") << "kept";
}

} // namespace
