// hub assign and receive: both ends of the assignment updates on one Maildir, the tracker's
// settings read from a settings file of the test's own, and the exit codes.

#include "tests/support/filelayouts.h"
#include "tests/support/runprogram.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace vsolo::testing {
namespace {

const std::string kManaged = "MSProject File";

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sub : {"Maildir/new", "Maildir/cur", "Maildir/tmp", "Empty/new",
                                "Empty/cur", "Empty/tmp", "config/Orvane Systems", "hub"}) {
            std::filesystem::create_directories(dir.file(sub));
        }
        // The sendmail stand-in files the message into the Maildir as a delivery would.
        writeBytes(dir.file("deliver"), "#!/bin/sh\nname=\"$(date +%s).$$.local\"\ncat > '" +
                                            dir.file("Maildir/tmp/") + "'\"$name\" && mv '" +
                                            dir.file("Maildir/tmp/") + "'\"$name\" '" +
                                            dir.file("Maildir/new/") + "'\"$name\"\n");
        ::chmod(dir.file("deliver").c_str(), 0755);
        // The default profile reads an empty Maildir: receive must use the tracker's "MAPILogon".
        writeBytes(config("Mail Profiles.ini"),
                   "[General]\nDefault=Empty\n\n[Empty]\nStore=maildir:" + dir.file("Empty") +
                       "\nTransport=sendmail:/bin/false\n\n[Local]\nStore=maildir:" +
                       dir.file("Maildir") + "\nTransport=sendmail:" + dir.file("deliver") + "\n");
        ::chmod(config("Mail Profiles.ini").c_str(), 0600); // no warning, whatever the umask
        writeBytes(config("Veltimo Solo.ini"),
                   "[UserConfig]\nMAPILogon=Local\nMAPIPassword=\"a, b\"\n");
        writeBytes(dir.file("Desk.tpl"),
                   v4Template(kManaged, 2, 2,
                              {{.group = 1, .name = "Old project", .description = "d"},
                               {.group = 1,
                                .subId = 1,
                                .depth = 1,
                                .level = 2,
                                .name = "Old task",
                                .description = "d"}}));
        writeBytes(dir.file("hub/Desk.tpl"),
                   v4Template("Veltimo Solo File", 3, 3,
                              {{.group = 1, .name = "Website", .description = "d"},
                               {.group = 2, .name = "Support desk", .description = "d"},
                               {.group = 1, .subId = 1, .depth = 1, .level = 2, .name = "Design"},
                               {.group = 2, .subId = 2, .depth = 1, .level = 2, .name = "Calls"}}));
    }

    std::string config(const std::string& name) const {
        return dir.file("config/Orvane Systems/" + name);
    }
    ProgramRun run(const std::vector<std::string>& args) const {
        RunOptions options;
        options.environment = {{"XDG_CONFIG_HOME", dir.file("config")}, {"HOME", dir.path()}};
        return runProgram(VSOLO_CLI_PATH, args, dir.path(), options);
    }
    std::vector<std::string> mail() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.file("Maildir/new"))) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    TempDir dir;
};

TEST_F(ExchangeTest, HubAssignThenReceiveAppliesTheUpdate) {
    const std::string settings = readBytes(config("Veltimo Solo.ini"));
    const ProgramRun sent = run(
        {"hub", "assign", "--to", "me@localhost", "--profile", "Local", dir.file("hub/Desk.tpl")});
    ASSERT_EQ(sent.exitCode, 0) << sent.err;
    ASSERT_EQ(mail().size(), 1u);

    const ProgramRun received = run({"receive", dir.file("Desk.tpl")});
    EXPECT_EQ(received.exitCode, 0) << received.err;
    EXPECT_EQ(received.out.find("applied the assignment update received "), 0u) << received.out;
    EXPECT_NE(received.out.find("; deleted 1 message(s)\n"), std::string::npos) << received.out;
    EXPECT_TRUE(mail().empty());
    // Items already there keep their texts; the others come as the hub's template has them.
    EXPECT_EQ(readBytes(dir.file("Desk.tpl")),
              v4Template(kManaged, 3, 3,
                         {{.group = 1, .name = "Old project", .description = "d"},
                          {.group = 2, .name = "Support desk", .description = "d"},
                          {.group = 1,
                           .subId = 1,
                           .depth = 1,
                           .level = 2,
                           .name = "Old task",
                           .description = "d"},
                          {.group = 2, .subId = 2, .depth = 1, .level = 2, .name = "Calls"}}));
    EXPECT_EQ(readBytes(config("Veltimo Solo.ini")), settings);

    const ProgramRun again = run({"receive", dir.file("Desk.tpl")});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "no assignment update for Desk\n");
}

TEST_F(ExchangeTest, ReceiveNamesWhatItCannotReadAndDeletesARefusedUpdateOnlyWhenTold) {
    // An activity whose group has no project, and a message nested too deeply to be read.
    writeBytes(dir.file("hub/Desk.tpl"),
               v4Template(kManaged, 3, 3, {{.group = 2, .subId = 1, .depth = 1, .level = 2}}));
    ASSERT_EQ(run({"hub", "assign", "--to", "a@b", "--profile", "Local", dir.file("hub/Desk.tpl")})
                  .exitCode,
              0);
    std::string nested = "From: Eve <eve@example.org>\nX-Message-Type: Assignment Update 4.0\n\n";
    for (int i = 0; i < 300; ++i) {
        nested += "multipart\n";
    }
    writeBytes(dir.file("Maildir/new/1.bad.local"), nested);
    const ProgramRun kept = run({"receive", dir.file("Desk.tpl")});
    EXPECT_EQ(kept.exitCode, 2);
    EXPECT_NE(kept.err.find("not applied:\nFrom Eve <eve@example.org>, received "),
              std::string::npos)
        << kept.err;
    EXPECT_NE(kept.err.find("stays in the mailbox; --delete-refused deletes it"),
              std::string::npos);
    EXPECT_EQ(mail().size(), 2u);
    const ProgramRun deleted = run({"receive", "--delete-refused", dir.file("Desk.tpl")});
    EXPECT_NE(deleted.err.find("deleted it from the mailbox"), std::string::npos) << deleted.err;
    EXPECT_EQ(mail(), std::vector<std::string>{"1.bad.local"});
}

TEST_F(ExchangeTest, ReceiveFitsTheServersTextsToALegacyTemplateAndSaysHow) {
    writeBytes(dir.file("Desk.tpl"), legacyTemplate("ATra", {}, {}, {}));
    const std::string cut = std::string(19, 'x') + "\xC3\xA9"; // and a 21st character
    writeBytes(dir.file("Maildir/new/1714986000.long.local"),
               "X-Message-Type: Assignment Update 2.0\n\nDesk\001\0011\001\0015||" + cut +
                   "y||\xE2\x9C\x93||6||Call||-\001\001");
    const ProgramRun received = run({"receive", dir.file("Desk.tpl")});
    EXPECT_EQ(received.exitCode, 0) << received.err;
    EXPECT_TRUE(received.err.ends_with(" by \"?\":\nProject \"" + cut + "y\" is now \"" + cut +
                                       "\"\nProject \"" + cut +
                                       "\": the description is now \"?\"\n"));
    EXPECT_EQ(readBytes(dir.file("Desk.tpl")),
              legacyTemplate("ATra", {{5, cut.substr(0, 19) + "\xE9", "?"}}, {{6, "Call", "-"}},
                             {{5, 6}}));
}

struct Failing {
    const char* label;
    std::vector<std::string> args;
    std::string message;
};

class ExchangeFailure : public ExchangeTest, public ::testing::WithParamInterface<Failing> {};

TEST_P(ExchangeFailure, ExitsWithTwoAndSaysWhy) {
    writeBytes(dir.file("Plain.tpl"), v4Template("Veltimo Solo File", 1, 1, {}));
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args) {
        args.push_back(arg.starts_with("@") ? dir.file(arg.substr(1)) : arg);
    }
    const std::string before = readBytes(dir.file("Desk.tpl"));
    const ProgramRun failed = run(args);
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_NE(failed.err.find(GetParam().message), std::string::npos) << failed.err;
    EXPECT_EQ(readBytes(dir.file("Desk.tpl")), before);
    EXPECT_TRUE(mail().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExchangeFailure,
    ::testing::Values(Failing{"NotManaged", {"receive", "@Plain.tpl"}, "is not managed"},
                      Failing{"NoTemplate", {"receive", "@None.tpl"}, "None.tpl"},
                      Failing{"NoAddress", {"hub", "assign", "@Desk.tpl"}, "needs --to ADDRESS"},
                      Failing{"UnknownProfile",
                              {"hub", "assign", "--to", "a@b", "--profile", "Nowhere", "@Desk.tpl"},
                              "error logging on"},
                      Failing{"CollectTakesNoAddress",
                              {"hub", "collect", "--to", "a@b", "@hub.dat"},
                              "takes no --to"}),
    [](const ::testing::TestParamInfo<Failing>& c) { return c.param.label; });

} // namespace
} // namespace vsolo::testing
