// Two programs on one transaction file, in every order that matters: a writer that holds a copy
// (vsolo-cli send, a time sheet, an append) is stopped at one of its steps while another program
// writes, and then goes on. Whatever the order, no recorded transaction is lost, none is stored
// twice, no sent mark is undone, and a change that clashes with another program's is refused.

#include "cli/command.h"
#include "cli/commands.h"
#include "core/base/faultinjection.h"
#include "core/base/fileerrortext.h"
#include "core/model/templatefile.h"
#include "reporting/data/reportingdata.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/runprogram.h"
#include "tests/support/tempdir.h"
#include "tests/support/transaction.h"

#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>
#include <sys/file.h>
#include <thread>

namespace vsolo::testing {
namespace {

using faults::Step;

V4Record record(std::string date, std::string description, std::int32_t sent = 0,
                std::string start = "08:00", std::string end = "09:00") {
    return {1, 1, std::move(date), std::move(start), std::move(end), sent, std::move(description)};
}

const std::string kManaged = v4Template(
    "MSProject File", 2, 2,
    {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "}, {1, 0, 1, 1, 1, 2, 0, "Calls", " ", " "}});
const std::vector<V4Record> kRecorded{record("12/01/2026", "a"), record("12/02/2026", "b"),
                                      record("12/03/2026", "c")};
const V4Record kTrackedRecord = record("12/04/2026", "tracked", 0, "10:00", "11:00");
const V4Record kSheetRecord = record("12/05/2026", "sheet");

std::vector<V4Record> marked(std::vector<V4Record> list) {
    for (V4Record& r : list) {
        r.sent = 1;
    }
    return list;
}

std::vector<V4Record> operator+(std::vector<V4Record> list, const V4Record& r) {
    list.push_back(r);
    return list;
}

std::string handOff(const std::vector<V4Record>& list) {
    ByteBuilder b;
    b.raw(transactionHeader());
    for (const V4Record& r : list) {
        b.counted("work").i32(r.level1).i32(r.level2).fixed(r.date, 11).fixed(r.start, 6);
        b.fixed(r.end, 6).counted(r.description);
    }
    return b;
}

enum class Program { SendKeep, SendDelete, SheetAdds, SheetEdits, TrackerAppends, OwnAppend };

// The template, its side file and the reporting file are written whole from what a program holds:
// one that another program wrote since it was read is left as that program wrote it.
TEST(SharedWholeFileTest, AFileWrittenElsewhereSinceItWasReadIsNotWrittenOver) {
    TempDir dir;
    const std::string tpl = dir.file("work.tpl");
    const std::string elsewhere = "written by another program";
    for (const std::string changed : {"work.tpl", "work.tlx"}) {
        writeBytes(tpl, legacyTemplate(kTag512Bytes, {{101, "Client", ""}}, {{201, "Calls", ""}},
                                       {{101, 201}}));
        writeBytes(dir.file("work.tlx"), sideFile({{101, 50, 1, {201}}}));
        TemplateFile file;
        ASSERT_TRUE(file.load(tpl));
        writeBytes(dir.file(changed), elsewhere);
        const std::string before = readBytes(tpl) + readBytes(dir.file("work.tlx"));
        EXPECT_EQ(file.save(tpl).what, FileResult::What::Conflict) << changed;
        EXPECT_EQ(readBytes(tpl) + readBytes(dir.file("work.tlx")), before) << "neither written";
    }
    reporting::ReportingData data;
    data.setTemplatePath(tpl);
    data.readReportingFile(); // none yet
    writeBytes(dir.file("work.vsr"), elsewhere);
    EXPECT_EQ(data.writeReportingFile().what, reporting::ReportingResult::What::ChangedElsewhere);
    EXPECT_EQ(readBytes(dir.file("work.vsr")), elsewhere);
}

struct Interleaving {
    const char* name;
    Program writer;
    Step step;
    // What another program does when the writer reaches the step; waiting, it runs in a thread
    // of its own until it waits for the writer's lock.
    Program other;
    bool otherWaits;
    std::vector<V4Record> expected;
    bool writerSucceeds = true;
};

class SharedFileTest : public ::testing::TestWithParam<Interleaving> {
protected:
    void SetUp() override {
        setLockWait(kDefaultLockWait);
        ::setenv("XDG_CONFIG_HOME", m_dir.path().c_str(), 1); // "Remote" off: hand-off files
        writeBytes(tpl(), kManaged);
        writeBytes(m_dir.file("work.trs"), records(transactionHeader(), kRecorded));
    }
    void TearDown() override { faults::setPauseHook({}); }

    std::string tpl() const { return m_dir.file("work.tpl"); }

    // Runs the program to its end; true when it reported success.
    bool run(Program program) {
        switch (program) {
        case Program::SendKeep:
        case Program::SendDelete:
            return send(program == Program::SendKeep ? "--keep" : "--delete") == 0;
        case Program::SheetAdds:
        case Program::SheetEdits: {
            TemplateFile sheet;
            sheet.setPath(tpl());
            m_sheet = &sheet;
            const bool opened = sheet.load(tpl()) && sheet.loadTransactions();
            if (program == Program::SheetAdds) {
                sheet.store().add(
                    transaction(date(2026, 12, 5), hm(8, 0), hm(9, 0), 1, 1, "sheet"));
            } else {
                const Transaction* t = sheet.store().findDay(date(2026, 12, 2))->at(0);
                Transaction edited = *t;
                edited.setDescription("edited");
                sheet.store().update(t, edited);
            }
            m_result = sheet.saveTransactions();
            m_sheet = nullptr;
            return opened && m_result.ok();
        }
        case Program::TrackerAppends: {
            TemplateFile tracker;
            tracker.setPath(tpl());
            return tracker.load(tpl()) && tracker.appendTransaction(tracked());
        }
        case Program::OwnAppend:
            return m_sheet->appendTransaction(tracked()).ok();
        }
        return false;
    }

    static Transaction tracked() {
        return transaction(date(2026, 12, 4), hm(10, 0), hm(11, 0), 1, 1, "tracked");
    }

    int send(const char* how) {
        Arguments args;
        args.positional = {tpl()};
        args.options[how] = "";
        for (const Command& command : commands()) {
            if (command.name == std::string_view("send")) {
                args.command = &command;
                ::testing::internal::CaptureStdout();
                const int code = command.run(args);
                ::testing::internal::GetCapturedStdout();
                return code;
            }
        }
        return -1;
    }

    // The other program's turn, the first time the writer reaches the step.
    void interleave(const Interleaving& c) {
        faults::setPauseHook([this, c](Step step, const std::string& path) {
            if (step == Step::LockBusy) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_otherWaiting = true;
                m_changed.notify_all();
            }
            if (step != c.step || path != m_dir.file("work.trs") || m_fired.exchange(true)) {
                return;
            }
            if (!c.otherWaits) {
                EXPECT_TRUE(run(c.other));
                return;
            }
            m_other = std::thread([this, c] { EXPECT_TRUE(run(c.other)); });
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_otherWaiting; });
        });
    }

    TempDir m_dir;
    TemplateFile* m_sheet = nullptr;
    FileResult m_result;
    std::atomic<bool> m_fired{false};
    std::thread m_other;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_otherWaiting = false;
};

TEST_P(SharedFileTest, KeepsEveryTransactionAndEveryMark) {
    const Interleaving& c = GetParam();
    interleave(c);
    EXPECT_EQ(run(c.writer), c.writerSucceeds);
    if (m_other.joinable()) {
        m_other.join();
    }
    EXPECT_TRUE(m_fired);
    EXPECT_EQ(readBytes(m_dir.file("work.trs")), records(transactionHeader(), c.expected));
    if (!c.writerSucceeds) {
        EXPECT_EQ(m_result.what, FileResult::What::Conflict);
    }
    // Each handed over once: a lost mark would hand it over again at the next send.
    const bool sends = c.writer == Program::SendKeep || c.writer == Program::SendDelete ||
                       c.other == Program::SendKeep;
    EXPECT_EQ(exists(m_dir.file("trans.dat")), sends);
    if (sends) {
        EXPECT_EQ(readBytes(m_dir.file("trans.dat")), handOff(kRecorded));
    }
}

const auto kSent = marked(kRecorded);

INSTANTIATE_TEST_SUITE_P(
    Programs, SharedFileTest,
    ::testing::Values(
        Interleaving{"SendKeepThenAppendAfterLoad", Program::SendKeep, Step::TransactionsLoaded,
                     Program::TrackerAppends, false, kSent + kTrackedRecord},
        Interleaving{"SendKeepThenAppendAfterHandOver", Program::SendKeep, Step::HandedOver,
                     Program::TrackerAppends, false, kSent + kTrackedRecord},
        Interleaving{"SendKeepThenAppendBeforeRename", Program::SendKeep, Step::BeforeRename,
                     Program::TrackerAppends, true, kSent + kTrackedRecord},
        Interleaving{"SendDeleteThenAppendAfterHandOver",
                     Program::SendDelete,
                     Step::HandedOver,
                     Program::TrackerAppends,
                     false,
                     {kTrackedRecord}},
        Interleaving{"SendDeleteThenAppendBeforeRename",
                     Program::SendDelete,
                     Step::BeforeRename,
                     Program::TrackerAppends,
                     true,
                     {kTrackedRecord}},
        Interleaving{"SheetSaveThenSendKeep", Program::SheetAdds, Step::TransactionsLoaded,
                     Program::SendKeep, false, kSent + kSheetRecord},
        Interleaving{"SheetEditOfASentRecordIsRefused", Program::SheetEdits,
                     Step::TransactionsLoaded, Program::SendKeep, false, kSent, false},
        Interleaving{"SheetSaveThenAppend", Program::SheetAdds, Step::TransactionsLoaded,
                     Program::TrackerAppends, false, kRecorded + kTrackedRecord + kSheetRecord},
        Interleaving{"SheetSaveThenItsOwnAppend", Program::SheetAdds, Step::TransactionsLoaded,
                     Program::OwnAppend, false, kRecorded + kTrackedRecord + kSheetRecord},
        Interleaving{"SheetSaveThenAppendBeforeRename", Program::SheetAdds, Step::BeforeRename,
                     Program::TrackerAppends, true, kRecorded + kSheetRecord + kTrackedRecord},
        Interleaving{"AppendThenRewriteBeforeItsLock", Program::TrackerAppends,
                     Step::OpenedBeforeLock, Program::SheetAdds, false,
                     kRecorded + kSheetRecord + kTrackedRecord}),
    [](const ::testing::TestParamInfo<Interleaving>& param) { return param.param.name; });

class HeldFileTest : public SharedFileTest {};

TEST_F(HeldFileTest, ACommandWaitsForAHeldFileThenNamesItAndChangesNothing) {
    const std::string trs = m_dir.file("work.trs");
    const int holder = ::open(trs.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    setLockWait(std::chrono::milliseconds(100));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(send("--keep"), 2);
    const std::string told = ::testing::internal::GetCapturedStderr();
    ::close(holder);
    EXPECT_EQ(told, "vsolo-cli: " + heldElsewhereText(trs) + "\n");
    EXPECT_EQ(readBytes(trs), records(transactionHeader(), kRecorded));
    EXPECT_FALSE(exists(m_dir.file("trans.dat")));
}

std::size_t occurrences(const std::string& bytes, const std::string& text) {
    std::size_t n = 0;
    for (auto at = bytes.find(text); at != std::string::npos; at = bytes.find(text, at + 1)) {
        ++n;
    }
    return n;
}

// The tracker appending and a time sheet saving, as programs of their own, while vsolo-cli send
// --keep runs again and again: every transaction stored is in the file once, and handed over
// once, which it would not be had a rewrite dropped it or undone its sent mark.
TEST(SharedFileStressTest, EveryStoredTransactionIsKeptAndHandedOverOnce) {
    TempDir dir;
    const std::string tpl = dir.file("work.tpl");
    writeBytes(tpl, kManaged);
    writeBytes(dir.file("work.trs"), transactionHeader());
    std::vector<std::string> scratch;
    for (const char* name : {"append", "sheet", "send"}) {
        scratch.push_back(dir.file(name));
        std::filesystem::create_directory(scratch.back());
    }
    std::atomic<int> running{2};
    ProgramRun runs[2];
    std::thread writers[2];
    const char* modes[2] = {"append", "sheet"};
    for (int i = 0; i < 2; ++i) {
        writers[i] = std::thread([&, i] {
            runs[i] = runProgram(VSOLO_SHARED_DRIVER, {modes[i], tpl, i == 0 ? "500" : "60"},
                                 scratch[static_cast<std::size_t>(i)]);
            --running;
        });
    }
    RunOptions settings;
    settings.environment = {{"XDG_CONFIG_HOME", dir.path()}, {"HOME", dir.path()}};
    int sends = 0;
    for (bool last = false; !last; ++sends) {
        last = running == 0;
        const ProgramRun sent =
            runProgram(VSOLO_CLI_PATH, {"send", "--keep", tpl}, scratch[2], settings);
        ASSERT_EQ(sent.exitCode, 0) << sent.err;
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_GT(sends, 2);
    const std::string stored = readBytes(dir.file("work.trs"));
    const std::string handedOver = readBytes(dir.file("trans.dat"));
    std::size_t total = 0;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(runs[i].exitCode, 0) << runs[i].err;
        std::istringstream numbers(runs[i].out);
        for (std::string n; std::getline(numbers, n); ++total) {
            const std::string text = std::string(modes[i]) + "-" + n + std::string(1, '\0');
            EXPECT_EQ(occurrences(stored, text), 1u) << text;
            EXPECT_EQ(occurrences(handedOver, text), 1u) << text;
        }
    }
    EXPECT_GT(total, 500u);
    EXPECT_EQ(occurrences(stored, "append-") + occurrences(stored, "sheet-"), total);
}

} // namespace
} // namespace vsolo::testing
