// vsolo-cli send, run as a program over the fixture's template, with the tracker's settings file
// and mail profiles written by the test; and the central server's side of it, hub collect.

#include "../remote/sendfixture.h"
#include "core/remote/remotetexts.h"
#include "tests/support/runprogram.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {
namespace {

class CliSendTest : public SendFixture {
public:
    // The tracker's settings as it writes them: by e-mail through the profile, or to the
    // hand-off files.
    void writeSettings(bool remote, const std::string& profile = "Desk",
                       const std::string& receiver = "hub@example.org") const {
        writeBytes(m_dir.file("config/Orvane Systems/Veltimo Solo.ini"),
                   "[UserConfig]\nRemote=" + std::string(remote ? "1" : "0") +
                       "\nMAPILogon=" + profile +
                       "\nSender%20Address=ann@example.org\nReceiver%20Address=" + receiver +
                       "\nHoursDayMin=27000\nHoursDayMax=30600\n");
    }

    ProgramRun cli(const std::vector<std::string>& args, const RunOptions& options = {}) const {
        return runProgram(VSOLO_CLI_PATH, args, m_dir.path(), options);
    }

    std::vector<std::string> sendRange(const std::string& answer) const {
        return {"send", "--from", "5/6/2024", "--to", "5/9/2024", answer, tpl()};
    }
};

TEST_F(CliSendTest, RefusesABadCommandLineAndAnUnmanagedTemplate) {
    writeSettings(false);
    const std::string before = readBytes(trs());
    EXPECT_EQ(cli({"send", tpl()}).exitCode, 2);
    EXPECT_EQ(cli({"send", "--keep", "--delete", tpl()}).exitCode, 2);

    writeBytes(tpl(), v4Template("Veltimo Solo File", 3, 4,
                                 {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "},
                                  {1, 0, 1, 1, 1, 2, 0, "Meetings", " ", " "}}));
    const ProgramRun run = cli(sendRange("--keep"));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(remote::text::kNotManaged), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(trs()), before);
    EXPECT_FALSE(exists(transDat()));
}

TEST_F(CliSendTest, NothingToSendLeavesTheFilesAlone) {
    writeSettings(false);
    const std::string before = readBytes(trs());
    for (const auto& [from, to] : {std::pair{"6/1/2024", "6/30/2024"}, {"5/9/2024", "5/9/2024"}}) {
        const ProgramRun run = cli({"send", "--from", from, "--to", to, "--delete", tpl()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "Nothing to send.\n");
    }
    EXPECT_EQ(readBytes(trs()), before);
    EXPECT_FALSE(exists(transDat()));
}

// The legacy hand-off record that hub collect writes for a row of a time sheet: resource name 9,
// keys, date 11, start 6, date 11, end 6, description 61, texts in Windows-1252.
std::string collectedRecord(const V4Record& r, const std::string& description) {
    return ByteBuilder()
        .fixed("work", 9)
        .i32(r.level1)
        .i32(r.level2)
        .fixed(r.date, 11)
        .fixed(r.start, 6)
        .fixed(r.date, 11)
        .fixed(r.end, 6)
        .fixed(description, 61);
}

TEST_F(CliSendTest, SendByMailThenHubCollectGivesEveryRecord) {
    writeSettings(true);
    const ProgramRun sent = cli(sendRange("--delete"));
    ASSERT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_EQ(sent.out, "Monday, May 6, 2024\t7:00\n"
                        "Wednesday, May 8, 2024\t9:00\n"
                        "sent 4 transaction(s)\n");
    EXPECT_EQ(readBytes(trs()), records(transactionHeader(), only({5})));

    // The central server's mailbox receives the message; hub collect takes it out.
    deliver(900, "sent", readBytes(m_dir.file("sent.mail")), "new", "Other");
    const std::string collected = m_dir.file("collected.dat");
    const ProgramRun collect = cli({"hub", "collect", "--profile", "Other", collected});
    ASSERT_EQ(collect.exitCode, 0) << collect.err;
    const std::vector<V4Record> unsent = only({0, 1, 2, 3});
    const std::vector<std::string> descriptions = {"call client", "notes", "", "Caf\xE9 plan"};
    std::string expected;
    for (std::size_t i = 0; i < unsent.size(); ++i) {
        expected += collectedRecord(unsent[i], descriptions[i]);
    }
    EXPECT_EQ(readBytes(collected), expected);
    EXPECT_TRUE(mailFiles("Other").empty());
}

TEST_F(CliSendTest, AnAddressItCannotSendToIsNamedAndNothingChanges) {
    const std::string before = readBytes(trs());
    writeSettings(true, "Desk", "\"Veltimo Hub, boss@example.org\"");
    const ProgramRun refused = cli(sendRange("--delete"));
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("The To Address in Preferences (Remote Options), \"Veltimo Hub, "
                               "boss@example.org\", is not one e-mail address. Please write it as "
                               "name@example.org or as Name <name@example.org>. Nothing was "
                               "sent; your time sheet is unchanged."),
              std::string::npos);
    EXPECT_EQ(readBytes(trs()), before);
    EXPECT_FALSE(exists(m_dir.file("sent.mail")));
}

TEST_F(CliSendTest, AFailedSendExitsWith2AndLeavesTheFilesAsTheyWere) {
    const std::string before = readBytes(trs());
    struct Case {
        bool remote;
        std::string profile;
        rlim_t fileSizeLimit;
        std::string_view reason;
    };
    for (const Case& c : {Case{true, "Other", 0, remote::text::kMailSendFailed},
                          Case{false, "Desk", 200, remote::text::kHandOffFailed}}) {
        writeSettings(c.remote, c.profile);
        RunOptions options;
        options.fileSizeLimit = c.fileSizeLimit;
        const ProgramRun run = cli(sendRange("--keep"), options);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(readBytes(trs()), before);
        EXPECT_FALSE(exists(transDat()));
        EXPECT_FALSE(exists(logDat()));
    }
}

} // namespace
} // namespace vsolo::testing
