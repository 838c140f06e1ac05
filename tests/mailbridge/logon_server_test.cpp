// mapiLogonEx against the loopback IMAP server of the tests: a refused password, then the one
// the user gives when asked.

#include "bridgefixture.h"
#include "servertest.h"

namespace vsolo::testing {
namespace {

using vsolo::mail::testing::MailServers;
using vsolo::mail::testing::servers;

// What the user answers when asked (nothing: the hook cannot ask) and the logon's result.
struct Asking {
    std::string name;
    std::optional<std::string> answer;
    bool hookAsks;
    ULONG result;
};

void PrintTo(const Asking& c, std::ostream* out) {
    *out << c.name;
}

class ImapLogonTest : public BridgeTest, public ::testing::WithParamInterface<Asking> {};

TEST_P(ImapLogonTest, AsksForThePasswordOnlyAfterTheServerRefusedIt) {
    ASSERT_EQ(vsolo::mail::testing::dovecotStatus(false), "");
    const Asking& c = GetParam();
    writeProfiles("[Server]\nStore=imap://" + std::string(MailServers::kUser) +
                  "@127.0.0.1:" + std::to_string(servers().imapPort()) +
                  "\nTransport=sendmail:" + m_dir.file("sendmail") + "\n");
    ASSERT_EQ(InitMAPI(), 1);
    if (c.answer) {
        m_passwords.push_back(*c.answer);
    }
    if (!c.hookAsks) {
        const OSxUserInterface boxesOnly{this, &BridgeTest::recordBox, nullptr};
        osxSetUserInterface(&boxesOnly);
    }
    EXPECT_EQ(mapiLogonEx(0, "Server", "wrong", MAPI_NEW_SESSION), c.result);
    EXPECT_EQ(m_asked,
              c.hookAsks ? std::vector<std::string>{"Server"} : std::vector<std::string>{});
    EXPECT_TRUE(m_boxes.empty());

    m_asked.clear();
    ASSERT_EQ(mapiLogoff(0, 0),
              c.result == SUCCESS_SUCCESS ? SUCCESS_SUCCESS : MAPI_E_INVALID_SESSION);
    m_boxes.clear();
    EXPECT_EQ(mapiLogonEx(0, "Server", MailServers::kPassword, 0), SUCCESS_SUCCESS);
    EXPECT_TRUE(m_asked.empty()) << "a password that is taken asks nothing";

    // A logon that shows its failure says why.
    EXPECT_EQ(mapiLogon(0, "Server", "wrong", 0), MAPI_E_LOGIN_FAILURE);
    EXPECT_EQ(m_boxes, (std::vector<Box>{{"Error", "MAPI login procedure failed: the server "
                                                   "127.0.0.1 port " +
                                                       std::to_string(servers().imapPort()) +
                                                       " refused the user name or password"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ImapLogonTest,
    ::testing::Values(Asking{"Right", MailServers::kPassword, true, SUCCESS_SUCCESS},
                      Asking{"WrongAgain", "still-wrong", true, MAPI_E_LOGIN_FAILURE},
                      Asking{"NoAnswer", std::nullopt, true, MAPI_E_LOGIN_FAILURE},
                      Asking{"HookCannotAsk", std::nullopt, false, MAPI_E_LOGIN_FAILURE}),
    [](const auto& entry) { return entry.param.name; });

} // namespace
} // namespace vsolo::testing
