#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"
#include "maildirfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

namespace fs = std::filesystem;
using testing::MaildirFolder;

class SendmailTest : public ::testing::Test {
protected:
    // A stand-in for the sendmail program: a shell script in the temporary folder.
    std::string script(const std::string& name, const std::string& body,
                       fs::perms perms = fs::perms::owner_all) {
        const fs::path path = m_folder.root() / name;
        MaildirFolder::write(path, "#!/bin/sh\n" + body);
        fs::permissions(path, perms);
        return path.string();
    }

    std::string file(const char* name) const { return MaildirFolder::read(m_folder.root() / name); }

    MaildirFolder m_folder;
    const std::vector<std::string> m_to{"a@example.org", "-oQ/tmp/b@example.org"};
};

TEST_F(SendmailTest, PassesTheMessageOnStandardInput) {
    const std::string root = m_folder.root().string();
    const auto transport = makeSendmailTransport(script(
        "sendmail", "printf '%s\\n' \"$@\" > '" + root + "/args'\ncat > '" + root + "/stdin'\n"));
    OutgoingMail mail;
    mail.subject = "Transaction file";
    mail.noteText = "desk\x01\x01"
                    "1\x01\x01";
    mail.fromAddress = "me@example.org";
    mail.toAddress = "a@example.org";
    const std::string raw = composeMessage(mail, 1700000000, "id@host");

    ASSERT_EQ(transport->send(raw, "me@example.org", m_to, "unused"), code::kSuccess);
    // The service hands the program the message with Unix line ends.
    std::string unixRaw;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw.compare(i, 2, "\r\n") != 0)
            unixRaw += raw[i];
    }
    EXPECT_EQ(file("stdin"), unixRaw);
    // Recipients come after "--", so that none can pass for an option.
    EXPECT_EQ(file("args"), "-i\n-f\nme@example.org\n--\na@example.org\n-oQ/tmp/b@example.org\n");
}

struct FailingCase {
    const char* name;
    const char* body; // nullptr: no program at all
    fs::perms perms;
    std::size_t messageSize;
};

class SendmailFailureTest : public SendmailTest,
                            public ::testing::WithParamInterface<FailingCase> {};

TEST_P(SendmailFailureTest, IsAFailure) {
    const FailingCase& c = GetParam();
    const std::string program =
        c.body ? script("sendmail", c.body, c.perms) : (m_folder.root() / "missing").string();
    const std::string raw = "Subject: s\r\n\r\n" + std::string(c.messageSize, 'x');
    EXPECT_EQ(makeSendmailTransport(program)->send(raw, "me@example.org", m_to, ""),
              code::kFailure);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, SendmailFailureTest,
    ::testing::Values(FailingCase{"ExitsOne", "cat > /dev/null\nexit 1\n", fs::perms::owner_all,
                                  10},
                      // Without reading: the write into the closed pipe must not end the caller.
                      FailingCase{"ExitsOneUnread", "exit 1\n", fs::perms::owner_all, 4 << 20},
                      FailingCase{"NotExecutable", "exit 0\n", fs::perms::owner_read, 10},
                      FailingCase{"Missing", nullptr, fs::perms::none, 10}),
    [](const ::testing::TestParamInfo<FailingCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(SendmailTest, NoRecipientIsAFailure) {
    const auto transport = makeSendmailTransport(script("sendmail", "cat > /dev/null\n"));
    EXPECT_EQ(transport->send("Subject: s\r\n\r\nx", "me@example.org", {}, ""), code::kFailure);
}

} // namespace
} // namespace vsolo::mail
