#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"
#include "servertest.h"

#include <gtest/gtest.h>

namespace vsolo::mail::testing {
namespace {

// OpenSMTPD here offers neither STARTTLS nor a logon (see MailServers::startSmtpd).
struct SmtpCase {
    const char* name;
    Endpoint::Scheme scheme;
    const char* host;
};

const SmtpCase kAllCases[] = {
    {"Plain", Endpoint::Scheme::Smtp, "127.0.0.1"},
    {"Smtps", Endpoint::Scheme::Smtps, "localhost"},
};

// Names the case in test listings instead of its bytes.
void PrintTo(const SmtpCase& c, std::ostream* os) {
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<SmtpCase>& info) {
    return info.param.name;
}

class SmtpTransportTest : public ::testing::TestWithParam<SmtpCase> {
protected:
    void SetUp() override {
        ASSERT_EQ(dovecotStatus(false), "");
        ASSERT_EQ(smtpdStatus(), "");
    }

    MailProfile profile() const { return smtpProfile(GetParam().scheme, GetParam().host, true); }
};

unsigned long send(MailTransport& transport, const std::string& subject,
                   const std::string& to = MailServers::kAddress,
                   const std::string& password = MailServers::kPassword) {
    return transport.send(rawMessage(subject, uniqueType()), "ann@sender.test", {to}, password);
}

TEST_P(SmtpTransportTest, SentMessageArrivesInTheStore) {
    const std::string type = uniqueType();
    ASSERT_EQ(makeSmtpTransport(profile())->send(rawMessage("Sent by SMTP", type, "Round trip."),
                                                 "ann@sender.test", {MailServers::kAddress},
                                                 MailServers::kPassword),
              code::kSuccess);
    const auto ids = waitForType(type, 1);
    ASSERT_EQ(ids.size(), 1u);

    auto store = makeImapStore(
        imapProfile(Endpoint::Scheme::Imap, "127.0.0.1", servers().imapPort(), false));
    ASSERT_EQ(store->open(MailServers::kPassword), code::kSuccess);
    ReceivedMail mail;
    ASSERT_EQ(store->read(ids[0], true, mail), code::kSuccess);
    EXPECT_EQ(mail.subject, "Sent by SMTP");
    EXPECT_EQ(mail.messageType, type);
    EXPECT_NE(mail.noteText.find("Round trip."), std::string::npos);
}

TEST_P(SmtpTransportTest, RefusedRecipientIsUnknownRecipient) {
    EXPECT_EQ(send(*makeSmtpTransport(profile()), "Nobody", "nobody@localhost"),
              code::kUnknownRecipient);
}

TEST_P(SmtpTransportTest, ServerNotRunningIsAFailure) {
    auto closed = profile();
    closed.transport.port = MailServers::closedPort();
    EXPECT_EQ(send(*makeSmtpTransport(closed), "Nowhere"), code::kFailure);
}

TEST_P(SmtpTransportTest, AUserTheServerCannotLogOnIsALoginFailure) {
    auto withUser = profile();
    withUser.transport.user = MailServers::kUser;
    EXPECT_EQ(send(*makeSmtpTransport(withUser), "Logon"), code::kLoginFailure);
}

INSTANTIATE_TEST_SUITE_P(Servers, SmtpTransportTest, ::testing::ValuesIn(kAllCases), caseName);

TEST(SmtpTlsTest, AnUntrustedCertificateSendsNothing) {
    ASSERT_EQ(smtpdStatus(), "");
    EXPECT_EQ(send(*makeSmtpTransport(smtpProfile(Endpoint::Scheme::Smtps, "localhost", false)),
                   "Untrusted", MailServers::kAddress, ""),
              code::kLoginFailure);
}

// As for the store: where TLS is required and the server offers none, nothing is sent.
TEST(SmtpClearTextTest, RequiredTlsTheServerLacksSendsNothing) {
    ASSERT_EQ(smtpdStatus(), "");
    const std::string before = servers().smtpdLog();
    EXPECT_EQ(send(*net::makeSmtpTransport(smtpProfile(Endpoint::Scheme::Smtp, "127.0.0.1", false),
                                           net::TlsPolicy{true, true}),
                   "Clear", MailServers::kAddress, ""),
              code::kLoginFailure);
    const std::string log = servers().smtpdLog();
    ASSERT_GE(log.size(), before.size());
    const std::string added = log.substr(before.size());
    EXPECT_NE(added.find("command=\"STARTTLS\""), std::string::npos);
    EXPECT_EQ(added.find("smtp message"), std::string::npos);
}

} // namespace
} // namespace vsolo::mail::testing
