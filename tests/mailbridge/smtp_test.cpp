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

    MailProfile profile(bool trust = true) const {
        MailProfile p;
        p.name = "Test";
        p.transport.scheme = GetParam().scheme;
        p.transport.host = GetParam().host;
        p.transport.port = GetParam().scheme == Endpoint::Scheme::Smtp ? servers().smtpPort()
                                                                       : servers().smtpsPort();
        if (trust)
            p.caFile = servers().caFile();
        return p;
    }

    static unsigned long send(const MailProfile& p, const std::string& raw, const std::string& to,
                              const std::string& password = MailServers::kPassword) {
        return makeSmtpTransport(p)->send(raw, "ann@sender.test", {to}, password);
    }
};

TEST_P(SmtpTransportTest, SentMessageArrivesInTheStore) {
    const std::string type = uniqueType();
    ASSERT_EQ(
        send(profile(), rawMessage("Sent by SMTP", type, "Round trip."), MailServers::kAddress),
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
    EXPECT_EQ(send(profile(), rawMessage("Nobody", uniqueType()), "nobody@localhost"),
              code::kUnknownRecipient);
}

TEST_P(SmtpTransportTest, ServerNotRunningIsAFailure) {
    auto closed = profile();
    closed.transport.port = MailServers::closedPort();
    EXPECT_EQ(send(closed, rawMessage("Nowhere", uniqueType()), MailServers::kAddress),
              code::kFailure);
}

TEST_P(SmtpTransportTest, AUserTheServerCannotLogOnIsALoginFailure) {
    auto withUser = profile();
    withUser.transport.user = MailServers::kUser;
    EXPECT_EQ(send(withUser, rawMessage("Logon", uniqueType()), MailServers::kAddress),
              code::kLoginFailure);
}

INSTANTIATE_TEST_SUITE_P(Servers, SmtpTransportTest, ::testing::ValuesIn(kAllCases), caseName);

TEST(SmtpTlsTest, AnUntrustedCertificateSendsNothing) {
    ASSERT_EQ(smtpdStatus(), "");
    MailProfile p;
    p.transport.scheme = Endpoint::Scheme::Smtps;
    p.transport.host = "localhost";
    p.transport.port = servers().smtpsPort();
    EXPECT_EQ(makeSmtpTransport(p)->send(rawMessage("Untrusted", uniqueType()), "ann@sender.test",
                                         {MailServers::kAddress}, ""),
              code::kLoginFailure);
}

// As for the store: where TLS is required and the server offers none, nothing is sent.
TEST(SmtpClearTextTest, RequiredTlsTheServerLacksSendsNothing) {
    ASSERT_EQ(smtpdStatus(), "");
    const std::string before = servers().smtpdLog();
    MailProfile p;
    p.transport.scheme = Endpoint::Scheme::Smtp;
    p.transport.host = "127.0.0.1";
    p.transport.port = servers().smtpPort();
    EXPECT_EQ(net::makeSmtpTransport(p, net::TlsPolicy{true, true})
                  ->send(rawMessage("Clear", uniqueType()), "ann@sender.test",
                         {MailServers::kAddress}, ""),
              code::kLoginFailure);
    const std::string log = servers().smtpdLog();
    ASSERT_GE(log.size(), before.size());
    const std::string added = log.substr(before.size());
    EXPECT_NE(added.find("command=\"STARTTLS\""), std::string::npos);
    EXPECT_EQ(added.find("smtp message"), std::string::npos);
}

} // namespace
} // namespace vsolo::mail::testing
