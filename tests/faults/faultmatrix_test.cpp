// Every writer, made to fail at each write, flush, rename and folder flush it makes, with each of
// ENOSPC, EIO and EACCES: the old files stay byte for byte, no temporary file is left, and the
// failure reaches the caller with its number and the text the user is shown.

#include "cli/command.h"
#include "cli/commands.h"
#include "core/base/faultinjection.h"
#include "core/base/fileio.h"
#include "core/model/recovery.h"
#include "reporting/data/reportingfile.h"
#include "tests/support/filelayouts.h"
#include "tests/support/templatefixture.h"
#include "tests/support/transaction.h"

#include <cerrno>
#include <functional>
#include <map>
#include <optional>

namespace vsolo::testing {
namespace {

using faults::Point;
using Files = std::map<std::string, std::string>;

// What a writer came to, as its caller sees it.
struct Outcome {
    bool ok = false;
    std::optional<FileError> error; // where the writer gives one
    std::optional<int> exitCode;    // vsolo-cli
    std::string path;               // the file the failure names
    std::string shown;              // the first text the user is shown
};

// A template with its files in a folder of its own; a fresh one for every run.
struct Scene : TemplateFileFixture {
    using TemplateFileFixture::dir;
    using TemplateFileFixture::file;
    using TemplateFileFixture::tpl;
    void TestBody() override {}

    Outcome present(const FileResult& result) {
        Outcome o;
        o.ok = reporter.present(result);
        if (result.what == FileResult::What::FileError) {
            o.error = result.error;
        }
        o.path = result.path;
        if (!prompter.texts().empty()) {
            o.shown = prompter.texts().front();
        }
        return o;
    }
    Outcome plain(bool ok, const FileError& error, const std::string& path) {
        Outcome o;
        o.ok = ok;
        o.error = error;
        o.path = path;
        return o;
    }
    Files files() const {
        Files out;
        for (const std::string& name : dir.entries()) {
            out[name] = readBytes(dir.file(name));
        }
        return out;
    }
};

const Transaction kWorked = transaction(date(2024, 5, 6), hm(8, 0), hm(9, 30), 1, 1, "notes");

const std::string kV4Template = v4Template(
    "Veltimo Solo File", 2, 2,
    {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "}, {1, 0, 1, 1, 1, 2, 0, "Calls", " ", " "}});
const std::string kV4Transactions =
    records(transactionHeader(), std::vector<V4Record>{{1, 1, "05/06/2024", "07:00", "07:45"}});
const std::string kTag512Template =
    legacyTemplate(kTag512Bytes, {{101, "Client", ""}}, {{201, "Calls", ""}}, {{101, 201}});
const std::string kSide = sideFile({});

// The text the tracker shows for the error of a write of `path`.
std::string trackerText(int err, const std::string& path) {
    if (err == EACCES) {
        return "a)  Cannot save file " + path +
               " the file exists, but cannot be written to.\nb)  The network server may be down.";
    }
    return "An error has occurred.  Error#" + std::to_string(err);
}

std::string cliText(int err, const std::string& path) {
    std::string cause = err == ENOSPC ? "No space left on device"
                        : err == EIO  ? "Input/output error"
                                      : trackerText(err, path);
    return "vsolo-cli: writing " + path + " failed: " + cause + "\n";
}

int runCommand(std::string_view name, Arguments args) {
    for (const Command& command : commands()) {
        if (command.name == name) {
            args.command = &command;
            return command.run(args);
        }
    }
    ADD_FAILURE() << "no command " << name;
    return -1;
}

struct Writer {
    std::string name;
    Files old;
    std::vector<Point> points;
    // The old files all stay when any call before the last rename fails; false where files are
    // written one after the other.
    bool together = true;
    std::function<Outcome(Scene&)> run;
    std::function<std::string(int, const std::string&)> text; // none where the caller tells
};

const std::vector<Point> kReplacing{Point::Write, Point::Flush, Point::Rename, Point::FolderFlush};
const std::vector<Point> kAppending{Point::Write, Point::Flush};

const std::vector<Writer>& writers() {
    static const std::vector<Writer> table{
        {"TemplateVersion4",
         {{"work.tpl", kV4Template}},
         kReplacing,
         true,
         [](Scene& s) {
             s.file.setFormat(TemplateFormat::Version4);
             return s.present(s.file.save(s.tpl()));
         },
         trackerText},
        {"TemplateTag512WithSideFile",
         {{"work.tpl", kTag512Template}, {"work.tlx", kSide}},
         kReplacing,
         false,
         [](Scene& s) {
             s.file.setFormat(TemplateFormat::Tag512);
             return s.present(s.file.save(s.tpl()));
         },
         trackerText},
        {"TransactionRewrite",
         {{"work.trs", kV4Transactions}},
         kReplacing,
         true,
         [](Scene& s) {
             s.file.setFormat(TemplateFormat::Version4);
             s.file.store().add(kWorked);
             return s.present(s.file.saveTransactions());
         },
         trackerText},
        {"TransactionAppend",
         {{"work.trs", kV4Transactions}},
         kAppending,
         true,
         [](Scene& s) {
             s.file.setFormat(TemplateFormat::Version4);
             return s.present(s.file.appendTransaction(kWorked));
         },
         trackerText},
        {"HandOffFiles",
         {{"trans.dat", transactionHeader()}, {"log.dat", kV4Transactions}},
         kAppending,
         true,
         [](Scene& s) {
             s.file.setFormat(TemplateFormat::Version4);
             return s.present(s.file.appendHandOff({&kWorked}));
         },
         trackerText},
        {"RecoveryFile",
         {{"work.rcv", "older recovery\n"}},
         kReplacing,
         true,
         [](Scene& s) {
             FileError error;
             const std::string path = s.dir.file("work.rcv");
             return s.plain(writeRecoveryFile(path, {kWorked}, error), error, path);
         },
         nullptr},
        {"ReportingFile",
         {{"work.vsr", std::string("\x01\x00\x00\x00 old", 8)}},
         kReplacing,
         true,
         [](Scene& s) {
             const std::string path = s.dir.file("work.vsr");
             const reporting::ReportingResult r =
                 reporting::writeReportingFileAt(path, reporting::ReportingFileContent{});
             Outcome o;
             o.ok = r.what == reporting::ReportingResult::What::Done;
             o.path = r.path;
             o.shown = r.message;
             return o;
         },
         trackerText},
        {"FileCopy",
         {{"from.tpl", "new bytes"}, {"to.tpl", "old bytes"}},
         kReplacing,
         true,
         [](Scene& s) {
             FileError error;
             const std::string to = s.dir.file("to.tpl");
             return s.plain(copyFile(s.dir.file("from.tpl"), to, true, error), error, to);
         },
         nullptr},
        {"CliExportToFile",
         {{"work.tpl", kV4Template}, {"work.trs", kV4Transactions}, {"out.csv", "old,export\n"}},
         kReplacing,
         true,
         [](Scene& s) {
             Arguments args;
             args.positional = {s.tpl()};
             args.options["-o"] = s.dir.file("out.csv");
             ::testing::internal::CaptureStderr();
             Outcome o;
             o.exitCode = runCommand("export", args);
             o.shown = ::testing::internal::GetCapturedStderr();
             o.ok = *o.exitCode == 0;
             o.path = s.dir.file("out.csv");
             return o;
         },
         cliText},
    };
    return table;
}

struct Case {
    std::size_t writer;
    Point point;
    int error;
};

std::vector<Case> cases() {
    std::vector<Case> out;
    for (std::size_t w = 0; w < writers().size(); ++w) {
        for (Point p : writers()[w].points) {
            for (int e : {ENOSPC, EIO, EACCES}) {
                out.push_back({w, p, e});
            }
        }
    }
    return out;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    static const char* const kPoints[] = {"Write", "Flush", "Rename", "FolderFlush"};
    const char* err = info.param.error == ENOSPC ? "ENOSPC"
                      : info.param.error == EIO  ? "EIO"
                                                 : "EACCES";
    return writers()[info.param.writer].name + "_" +
           kPoints[static_cast<std::size_t>(info.param.point)] + "_" + err;
}

class FaultMatrix : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override { faults::reset(); }

    // A run in a fresh folder holding the old files; `arm` prepares the seam just before it.
    struct Run {
        Outcome outcome;
        Files files;
        unsigned calls = 0; // of the case's point
    };
    template <typename Arm>
    Run runOnce(const Writer& w, Scene& scene, Arm arm) {
        for (const auto& [name, bytes] : w.old) {
            writeBytes(scene.dir.file(name), bytes);
        }
        arm();
        Run run{w.run(scene), {}, faults::calls(GetParam().point)};
        faults::reset();
        run.files = scene.files();
        return run;
    }
};

TEST_P(FaultMatrix, KeepsTheOldFilesAndReportsTheFailure) {
    const Case c = GetParam();
    const Writer& w = writers()[c.writer];
    Scene unarmed;
    const Run counted = runOnce(w, unarmed, [] { faults::count(); });
    ASSERT_TRUE(counted.outcome.ok) << counted.outcome.shown;
    const Files& fresh = counted.files;
    const unsigned calls = counted.calls;
    ASSERT_GT(calls, 0U) << "the writer makes no such call";
    for (unsigned n = 1; n <= calls; ++n) {
        SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(calls));
        Scene scene;
        const auto [outcome, files, made] =
            runOnce(w, scene, [&] { faults::arm(c.point, n, c.error); });
        EXPECT_FALSE(outcome.ok) << "a failed write reported as done";
        if (outcome.error) {
            EXPECT_EQ(outcome.error->osError, c.error);
            EXPECT_EQ(outcome.error->number(), c.error == ENOSPC ? 28 : 5);
        }
        if (outcome.exitCode) {
            EXPECT_EQ(*outcome.exitCode, 2);
        }
        if (w.text) {
            EXPECT_EQ(outcome.shown, w.text(c.error, outcome.path));
        }
        ASSERT_EQ(files.size(), w.old.size()) << "a file left behind or lost";
        for (const auto& [name, bytes] : files) {
            ASSERT_EQ(w.old.count(name), 1U) << name << " left behind";
            if (w.together && c.point != Point::FolderFlush) {
                EXPECT_EQ(bytes, w.old.at(name)) << name;
            } else {
                // The rename itself has happened, or an earlier file was done.
                EXPECT_TRUE(bytes == w.old.at(name) || bytes == fresh.at(name)) << name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, FaultMatrix, ::testing::ValuesIn(cases()), caseName);

} // namespace
} // namespace vsolo::testing
