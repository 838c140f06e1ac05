// The version-3 conversion on real files: interrupted between its two writes, or killed at any
// moment, the next open finishes it, and what is stored afterwards is readable with the rest.

#include "core/base/clock.h"
#include "core/base/fileio.h"
#include "core/base/timevalue.h"
#include "core/document.h"
#include "core/model/recovery.h"
#include "core/model/templatefile.h"
#include "core/model/transactionformat.h"
#include "core/model/transactions.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vsolo {
namespace {

using namespace vsolo::testing;

// Project 1 has "Second" (old key 2) and "First" (old key 1) assigned, in that order: the
// conversion gives "Second" the new key 1 and "First" the new key 2, so that a record keyed
// twice names the other item.
const std::string& halfTemplate() {
    static const std::string bytes =
        legacyTemplate(kTag768Bytes, {{1, "Project", ""}}, {{2, "Second", ""}, {1, "First", ""}},
                       {{1, 2}, {1, 1}});
    return bytes;
}

class ConversionTest : public ::testing::Test {
protected:
    std::string tpl() const { return dir.file("work.tpl"); }
    std::string trs() const { return dir.file("work.trs"); }

    // Every record of the transaction file; fails the test when the file is damaged.
    static std::vector<Transaction> readRecords(const std::string& path) {
        const std::string bytes = readBytes(path);
        TransactionReader reader(sourceFromBytes(bytes), TransactionLayout::Version4);
        std::vector<Transaction> out;
        Transaction t;
        while (reader.next(t)) {
            out.push_back(t);
        }
        EXPECT_FALSE(reader.failed()) << reader.detail();
        EXPECT_EQ(reader.layout(), TransactionLayout::Version4);
        return out;
    }

    TempDir dir;
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    SettableClock clock{date(2024, 3, 15) + hm(17, 0)};
    CSoloDoc doc{settings, prompter, [] {}, clock};
};

// A conversion that wrote the transaction file but not the template: recovered time, tracked
// with the new keys, is stored only after the conversion has finished, and names the item it is
// stored under.
TEST_F(ConversionTest, AnInterruptedConversionIsFinishedBeforeRecoveredTimeIsOffered) {
    writeBytes(tpl(), halfTemplate());
    const std::string converted = records(
        transactionHeader(), std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 0, "a"},
                                                   {1, 2, "03/07/1999", "09:00", "10:00", 0, "b"}});
    writeBytes(trs(), converted);
    const Transaction recovered(date(2024, 3, 15), hm(9, 0), hm(10, 0), 1, 2, "recovered");
    FileError error;
    ASSERT_TRUE(writeRecoveryFile(TemplatePaths::recoveryFile(tpl()), {recovered}, error));

    ASSERT_TRUE(doc.open(tpl()));

    EXPECT_EQ(doc.templateFile().format(), TemplateFormat::Version4);
    EXPECT_EQ(readBytes(tpl()).substr(0, 4), std::string("\x04\0\0\0", 4));
    EXPECT_EQ(readBytes(trs()),
              converted + records("", std::vector<V4Record>{
                                          {1, 2, "03/15/2024", "09:00", "10:00", 0, "recovered"}}));
    // The conversion's message first; then the one question, naming the item of the new keys.
    std::vector<std::string> questions;
    for (const auto& entry : prompter.entries()) {
        if (entry.question) {
            questions.push_back(entry.text);
        }
    }
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("First"), std::string::npos) << questions[0];
    EXPECT_EQ(questions[0].find("Second"), std::string::npos) << questions[0];
    ASSERT_FALSE(prompter.entries().empty());
    EXPECT_EQ(prompter.entries().front().text, kVersion3ConversionText);
}

// A finishing conversion that cannot write the template leaves it a version-3 file on disk, but
// in memory it is the version-4 template that its transaction file belongs to; the file keeps its
// version-4 layout, and an append keeps to that layout.
TEST_F(ConversionTest, AnAppendAfterAFailedFinishKeepsTheLayoutOfTheFile) {
    writeBytes(tpl(), halfTemplate());
    const std::string converted = records(
        transactionHeader(), std::vector<V4Record>{{1, 1, "03/07/1999", "08:00", "09:00", 0, "a"}});
    writeBytes(trs(), converted);
    const int status = [&] {
        const pid_t child = ::fork();
        if (child == 0) {
            // Smaller than the template: its write fails, the append (lifted) does not.
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
            limit.rlim_cur = 16;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            TemplateFile& file = doc.templateFile();
            file.setPath(tpl());
            int failures = doc.reporter().present(file.load(tpl())) ? 0 : 16;
            failures |= convertToVersion4(file, doc.reporter()) ? 1 : 0;
            failures |= file.format() == TemplateFormat::Version4 ? 0 : 4;
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            failures |= doc.reporter().present(file.appendTransaction(
                            Transaction(date(2024, 3, 15), hm(9, 0), hm(10, 0), 1, 2, "after")))
                            ? 0
                            : 2;
            ::_exit(failures);
        }
        int code = 0;
        ::waitpid(child, &code, 0);
        return code;
    }();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: converted, 2: append failed, 4: legacy layout in memory, 16: not loaded";
    EXPECT_EQ(readBytes(trs()),
              converted + records("", std::vector<V4Record>{
                                          {1, 2, "03/15/2024", "09:00", "10:00", 0, "after"}}));
}

// The conversion of a real template, killed at moments spread over its run: the next open finishes
// it, no record is keyed twice, time tracked before the conversion and kept in the recovery file
// is stored once with the new keys, and a transaction tracked afterwards is stored readably.
TEST_F(ConversionTest, AConversionKilledAtAnyMomentIsFinishedAtTheNextOpen) {
    std::vector<LegacyRecord> list;
    for (int i = 0; i < 2000; ++i) {
        list.push_back({"03/07/1999", "08:00", "0000000000", "09:00", 1, i % 2 == 0 ? 2 : 1,
                        i % 2 == 0 ? "second" : "first"});
    }
    const std::string legacy = records("", list);
    // Many more projects, each with one item, after "Project" in name order: the template takes a
    // while to write, so that kills after the rewrite of the transaction file find it unwritten.
    std::vector<LegacyItem> level1 = {{1, "Project", ""}};
    std::vector<LegacyItem> level2 = {{2, "Second", ""}, {1, "First", ""}};
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs = {{1, 2}, {1, 1}};
    for (int i = 0; i < 800; ++i) {
        level1.push_back({100 + i, "Zone " + std::to_string(i), "a zone of its own"});
        level2.push_back({100 + i, "Zitem " + std::to_string(i), "an item of its own"});
        pairs.emplace_back(100 + i, 100 + i);
    }
    const std::string largeTemplate = legacyTemplate(kTag768Bytes, level1, level2, pairs);
    const auto startsAsVersion4 = [this] {
        std::ifstream in(trs(), std::ios::binary);
        char head[4] = {};
        return in.read(head, 4) && std::string(head, 4) == std::string("\x04\0\0\0", 4);
    };

    // Kills the child a while after it started, or a while after the transaction file was seen
    // rewritten, when only the template is still to be written.
    const auto convertInChild = [&](std::chrono::microseconds killAfter, bool afterRewrite) {
        writeBytes(tpl(), largeTemplate);
        writeBytes(trs(), legacy);
        // Tracked on "Second" with its old keys while the template was still a version-3 one.
        FileError error;
        EXPECT_TRUE(writeRecoveryFile(
            TemplatePaths::recoveryFile(tpl()),
            {Transaction(date(2024, 3, 15), hm(7, 0), hm(8, 0), 1, 2, "recovered")}, error));
        const pid_t child = ::fork();
        if (child == 0) {
            ScriptedPrompter quiet;
            CSoloDoc other{settings, quiet, [] {}, clock};
            ::_exit(other.open(tpl()) ? 0 : 1);
        }
        int status = 0;
        if (afterRewrite) {
            while (::waitpid(child, &status, WNOHANG) == 0) {
                if (startsAsVersion4()) {
                    std::this_thread::sleep_for(killAfter);
                    ::kill(child, SIGKILL);
                    break;
                }
            }
        } else if (killAfter.count() > 0) {
            std::this_thread::sleep_for(killAfter);
            ::kill(child, SIGKILL);
        }
        ::waitpid(child, &status, 0);
        return status;
    };
    // How long a whole conversion takes here, to spread the kills over it.
    const auto started = std::chrono::steady_clock::now();
    const int whole = convertInChild(std::chrono::microseconds(0), false);
    ASSERT_TRUE(WIFEXITED(whole) && WEXITSTATUS(whole) == 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);

    std::mt19937 random(8);
    std::uniform_int_distribution<long> moment(1, std::max<long>(2, span.count()));
    std::uniform_int_distribution<long> shortly(0, 100);
    for (int round = 0; round < 16; ++round) {
        const bool afterRewrite = round % 2 == 1;
        const auto killAfter =
            std::chrono::microseconds(afterRewrite ? shortly(random) : moment(random));
        SCOPED_TRACE("killed " + std::to_string(killAfter.count()) + " us after " +
                     (afterRewrite ? "the rewrite" : "the start"));
        convertInChild(killAfter, afterRewrite);

        prompter.clear();
        ASSERT_TRUE(doc.open(tpl()));
        ASSERT_EQ(doc.templateFile().format(), TemplateFormat::Version4);
        ASSERT_TRUE(doc.appendFinishedTransaction(
            Transaction(date(2024, 3, 15), hm(9, 0), hm(10, 0), 1, 2, "tracked")));

        const std::vector<Transaction> read = readRecords(trs());
        ASSERT_EQ(read.size(), list.size() + 2);
        for (std::size_t i = 0; i < list.size(); ++i) {
            // "Second" has the new key 1, "First" the new key 2, each exactly once re-keyed.
            ASSERT_EQ(read[i].level2Key(), i % 2 == 0 ? 1 : 2) << "record " << i + 1;
            ASSERT_EQ(read[i].description(), i % 2 == 0 ? "second" : "first");
        }
        EXPECT_EQ(read[list.size()].description(), "recovered");
        EXPECT_EQ(read[list.size()].level2Key(), 1) << "the recovered time stays on Second";
        EXPECT_EQ(read.back().description(), "tracked");
        EXPECT_FALSE(exists(TemplatePaths::recoveryFile(tpl())));
        ASSERT_TRUE(doc.open(tpl()));
        EXPECT_EQ(readRecords(trs()).size(), list.size() + 2);
    }
}

} // namespace
} // namespace vsolo
