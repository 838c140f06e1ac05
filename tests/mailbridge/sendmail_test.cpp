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
    std::string script(const std::string& body) const {
        const std::string path = (m_folder.root() / "sendmail").string();
        testing::writeScript(path, body);
        return path;
    }

    std::string file(const char* name) const { return MaildirFolder::read(m_folder.root() / name); }

    MaildirFolder m_folder;
    const std::vector<std::string> m_to{"a@example.org", "-oQ/tmp/b@example.org"};
};

TEST_F(SendmailTest, PassesTheMessageOnStandardInput) {
    const std::string root = m_folder.root().string();
    const auto transport = makeSendmailTransport(
        script("printf '%s\\n' \"$@\" > '" + root + "/args'\ncat > '" + root + "/stdin'\n"));
    OutgoingMail mail;
    mail.subject = "Transaction file";
    mail.noteText = "desk\x01\x01"
                    "1\x01\x01";
    mail.fromAddress = "me@example.org";
    mail.to = {{"", "a@example.org"}};
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
    bool executable;
    std::size_t messageSize;
    std::size_t recipients;
    unsigned long result = code::kFailure;
};

void PrintTo(const FailingCase& c, std::ostream* out) {
    *out << c.name;
}

class SendmailFailureTest : public SendmailTest,
                            public ::testing::WithParamInterface<FailingCase> {};

TEST_P(SendmailFailureTest, IsAFailure) {
    const FailingCase& c = GetParam();
    std::string program = (m_folder.root() / "missing").string();
    if (c.body != nullptr) {
        program = script(c.body);
        if (!c.executable)
            fs::permissions(program, fs::perms::owner_read);
    }
    const std::string raw = "Subject: s\r\n\r\n" + std::string(c.messageSize, 'x');
    const std::vector<std::string> to(m_to.begin(), m_to.begin() + c.recipients);
    EXPECT_EQ(makeSendmailTransport(program)->send(raw, "me@example.org", to, ""), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, SendmailFailureTest,
    ::testing::Values(FailingCase{"ExitsOne", "cat > /dev/null\nexit 1\n", true, 10, 2},
                      // Without reading: the write into the closed pipe must not end the caller.
                      FailingCase{"ExitsOneUnread", "exit 1\n", true, 4 << 20, 2},
                      FailingCase{"NotExecutable", "exit 0\n", false, 10, 2},
                      FailingCase{"Missing", nullptr, false, 10, 2},
                      FailingCase{"NoRecipient", "cat > /dev/null\n", true, 10, 0,
                                  code::kInvalidRecipients}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace vsolo::mail
