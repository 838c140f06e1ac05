// The fault matrix over the writers of the template, transaction, hand-off, recovery and
// reporting files, the file copy and vsolo-cli's output file.

#include "cli/command.h"
#include "cli/commands.h"
#include "core/base/placeholders.h"
#include "core/document.h"
#include "core/fileerror.h"
#include "core/model/recovery.h"
#include "core/model/templatefile.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "faultmatrix.h"
#include "reporting/data/reportingfile.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/transaction.h"

namespace vsolo::testing {
namespace {

const Transaction kWorked = transaction(date(2024, 5, 6), hm(8, 0), hm(9, 30), 1, 1, "notes");

// A version-4 template of one project with one activity.
std::string smallTemplate(std::string_view typeText, std::string project) {
    return v4Template(typeText, 2, 2,
                      {{1, 0, 0, 0, 1, 1, 0, std::move(project), " ", " "},
                       {1, 0, 1, 1, 1, 2, 0, "Calls", " ", " "}});
}

const std::string kV4Template = smallTemplate("Veltimo Solo File", "Client");
const std::string kV4TemplateEdited = smallTemplate("Veltimo Solo File", "Customer");
const std::string kManagedTemplate = smallTemplate("MSProject File", "Client");
const std::string kV4Transactions =
    records(transactionHeader(), std::vector<V4Record>{{1, 1, "05/06/2024", "07:00", "07:45"}});
const std::string kV4Record =
    records("", std::vector<V4Record>{{1, 1, "05/06/2024", "08:00", "09:30"}});
const std::string kTag768Template =
    legacyTemplate(kTag768Bytes, {{101, "Client", ""}}, {{201, "Calls", ""}}, {{101, 201}});
const std::string kLegacyTransactions = records(
    "", std::vector<LegacyRecord>{{"05/06/2024", "07:00", "0000000000", "07:45", 101, 201}});
const std::string kTag512Template =
    legacyTemplate(kTag512Bytes, {{101, "Client", ""}}, {{201, "Calls", ""}}, {{101, 201}});

// Runs `write` on a template work.tpl of the folder, in the format given, and shows its result as
// the tracker does.
template <typename Write>
Outcome withTemplate(TempDir& dir, TemplateFormat format, Write write) {
    SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
    ScriptedPrompter prompter;
    FileErrorReporter reporter{prompter, [] {}};
    TemplateFile file{clock};
    file.setPath(dir.file("work.tpl"));
    file.setFormat(format);
    const FileResult result = write(file);
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

Outcome plain(bool ok, const FileError& error) {
    Outcome o;
    o.ok = ok;
    o.error = error;
    return o;
}

std::string cliText(int err, const std::string& path) {
    const std::string cause = err == ENOSPC ? "No space left on device"
                              : err == EIO  ? "Input/output error"
                                            : shownText(err, path);
    return "vsolo-cli: writing " + path + " failed: " + cause + "\n";
}

// Runs a command of vsolo-cli in this process, as its main would, with what it writes to the
// standard error as the text shown. The failure names the first of the files whose name the text
// holds, else the first of them.
Outcome runCommand(std::string_view name, Arguments args, const std::vector<std::string>& files) {
    Outcome o;
    for (const Command& command : commands()) {
        if (command.name == name) {
            args.command = &command;
            ::testing::internal::CaptureStdout();
            ::testing::internal::CaptureStderr();
            o.exitCode = command.run(args);
            o.shown = ::testing::internal::GetCapturedStderr();
            ::testing::internal::GetCapturedStdout();
        }
    }
    EXPECT_TRUE(o.exitCode) << "no command " << name;
    o.ok = o.exitCode == 0;
    o.path = files.front();
    for (const std::string& file : files) {
        if (o.shown.find(file + " ") != std::string::npos) {
            o.path = file;
            break;
        }
    }
    return o;
}

std::string cliLine(int err, const std::string& path) {
    return "vsolo-cli: " + shownText(err, path) + "\n";
}

// The tracker's settings, which vsolo-cli reads, from a folder of the test's own: "Remote" is
// off, so a time sheet goes to the hand-off files.
class OwnSettingsFolder : public ::testing::Environment {
public:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", m_dir.path().c_str(), 1);
        ::setenv("HOME", m_dir.path().c_str(), 1);
    }

private:
    TempDir m_dir;
};
[[maybe_unused]] ::testing::Environment* const kOwnSettings =
    ::testing::AddGlobalTestEnvironment(new OwnSettingsFolder);

// Switches back from the local copy in local/ to the template's own folder remote/: the
// template, transaction and side files are copied home, in that order.
Outcome switchBack(TempDir& d) {
    MemorySettingsStore store;
    Settings settings{store};
    settings.setOldLocation(d.file("remote/"));
    ScriptedPrompter prompter;
    SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
    CSoloDoc doc{settings, prompter, [] {}, clock};
    Outcome o;
    if (!doc.open(d.file("local/work.lcl"))) {
        return o;
    }
    o.ok = doc.switchBackFromLocalCopy();
    if (!prompter.texts().empty()) {
        o.shown = prompter.texts().front();
        for (const char* name : {"work.tpl", "work.trs", "work.tlx"}) {
            if (o.shown.find(d.file("remote/") + name) != std::string::npos) {
                o.path = d.file("remote/") + name;
            }
        }
    }
    if (!o.ok) {
        EXPECT_EQ(doc.path(), d.file("local/work.lcl")) << "the local copy stays in use";
        EXPECT_EQ(settings.oldLocation(), d.file("remote/"));
    }
    return o;
}

constexpr char kNotARecoveryFile[] = "not a recovery file\n";

// Opens work.tpl beside a damaged work.rcv, which is renamed aside so that tracking is kept safe
// again; one that cannot be renamed stays as it was, with the failure told.
Outcome openBesideADamagedRecoveryFile(TempDir& d) {
    MemorySettingsStore store;
    Settings settings{store};
    ScriptedPrompter prompter;
    SettableClock clock{dateTime(2024, 5, 6, 12, 0)};
    CSoloDoc doc{settings, prompter, [] {}, clock};
    Outcome o;
    o.path = d.file("work.rcv");
    o.ok = doc.open(d.file("work.tpl")) && testing::exists(o.path + ".damaged");
    if (!prompter.texts().empty()) {
        o.shown = prompter.texts().front();
    }
    return o;
}

std::string notRenamedText(int err, const std::string& path) {
    return fillPlaceholders(kRecoveryNotRenamedText,
                            {path, "it does not start as a recovery file does",
                             std::to_string(err == ENOSPC ? 28 : 5)});
}

} // namespace

const std::vector<Writer>& writers() {
    using F = TemplateFormat;
    using faults::Point;
    static const std::vector<Writer> table{
        {"TemplateVersion4",
         {{"work.tpl", kV4Template}},
         kReplacing,
         true,
         [](TempDir& d) {
             return withTemplate(d, F::Version4, [&](TemplateFile& f) { return f.save(f.path()); });
         },
         shownText},
        {"TemplateTag512WithSideFile",
         {{"work.tpl", kTag512Template}, {"work.tlx", sideFile({})}},
         kReplacing,
         false,
         [](TempDir& d) {
             return withTemplate(d, F::Tag512, [&](TemplateFile& f) { return f.save(f.path()); });
         },
         shownText},
        {"TransactionRewrite",
         {{"work.trs", kV4Transactions}},
         kReplacing,
         true,
         [](TempDir& d) {
             return withTemplate(d, F::Version4, [](TemplateFile& f) {
                 f.store().add(kWorked);
                 return f.saveTransactions();
             });
         },
         shownText},
        {"TransactionAppend",
         {{"work.trs", kV4Transactions}},
         kAppending,
         true,
         [](TempDir& d) {
             return withTemplate(d, F::Version4,
                                 [](TemplateFile& f) { return f.appendTransaction(kWorked); });
         },
         shownText},
        {"HandOffFiles",
         {{"trans.dat", transactionHeader()}, {"log.dat", kV4Transactions}},
         kAppending,
         true,
         [](TempDir& d) {
             return withTemplate(d, F::Version4,
                                 [](TemplateFile& f) { return f.appendHandOff({&kWorked}); });
         },
         shownText},
        {"HandOffFilesCreated",
         {},
         {Point::Write, Point::Flush, Point::FolderFlush},
         true,
         [](TempDir& d) {
             return withTemplate(d, F::Version4,
                                 [](TemplateFile& f) { return f.appendHandOff({&kWorked}); });
         },
         shownText},
        {"RecoveryFile",
         {{"work.rcv", "older recovery\n"}},
         kReplacing,
         true,
         [](TempDir& d) {
             FileError error;
             return plain(writeRecoveryFile(d.file("work.rcv"), {kWorked}, error), error);
         },
         nullptr},
        {"DamagedRecoveryFileSetAside",
         {{"work.tpl", kV4Template},
          {"work.trs", kV4Transactions},
          {"work.rcv", kNotARecoveryFile}},
         {Point::Rename},
         true,
         openBesideADamagedRecoveryFile,
         notRenamedText},
        {"ReportingFile",
         {{"work.vsr", std::string("\x01\x00\x00\x00 old", 8)}},
         kReplacing,
         true,
         [](TempDir& d) {
             using reporting::ReportingResult;
             const ReportingResult r = reporting::writeReportingFileAt(
                 d.file("work.vsr"), reporting::ReportingFileContent{});
             Outcome o;
             o.ok = r.what == ReportingResult::What::Done;
             o.path = r.path;
             o.shown = r.message;
             return o;
         },
         shownText},
        {"FileCopy",
         {{"from.tpl", "new bytes"}, {"to.tpl", "old bytes"}},
         kReplacing,
         true,
         [](TempDir& d) {
             FileError error;
             return plain(copyFile(d.file("from.tpl"), d.file("to.tpl"), true, error), error);
         },
         nullptr},
        {"SwitchBackFromLocalCopy",
         {{"remote/work.tpl", kV4Template},
          {"remote/work.trs", kV4Transactions},
          {"remote/work.tlx", "remote side"},
          {"local/work.lcl", kV4TemplateEdited},
          {"local/work.trs", kV4Transactions + kV4Record},
          {"local/work.tlx", "local side"}},
         kReplacing,
         false,
         switchBack,
         shownText},
        {"CliExportToFile",
         {{"work.tpl", kV4Template}, {"work.trs", kV4Transactions}, {"out.csv", "old,export\n"}},
         kReplacing,
         true,
         [](TempDir& d) {
             Arguments args;
             args.positional = {d.file("work.tpl")};
             args.options["-o"] = d.file("out.csv");
             return runCommand("export", args, {d.file("out.csv")});
         },
         cliText},
        {"CliSendToTheHandOffFiles",
         {{"work.tpl", kManagedTemplate},
          {"work.trs", kV4Transactions},
          {"trans.dat", transactionHeader()},
          {"log.dat", transactionHeader()}},
         kReplacing,
         false,
         [](TempDir& d) {
             Arguments args;
             args.positional = {d.file("work.tpl")};
             args.options["--keep"] = "";
             return runCommand("send", args,
                               {d.file("trans.dat"), d.file("log.dat"), d.file("work.trs")});
         },
         cliLine,
         true},
        {"CliUpgradeVersion3",
         {{"work.tpl", kTag768Template}, {"work.trs", kLegacyTransactions}},
         kReplacing,
         false,
         [](TempDir& d) {
             Arguments args;
             args.positional = {d.file("work.tpl")};
             return runCommand("upgrade", args, {d.file("work.trs"), d.file("work.tpl")});
         },
         cliLine,
         true},
    };
    return table;
}

} // namespace vsolo::testing
