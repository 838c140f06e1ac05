#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "servertest.h"

#include <gtest/gtest.h>

namespace vsolo::mail::testing {
namespace {

enum class Listener { Plain, StartTls, Smtps };

struct SmtpCase {
    const char* name;
    Endpoint::Scheme scheme;
    const char* host;
    Listener listener;
    bool logon; // the TLS listeners ask for the user's password
};

const SmtpCase kAllCases[] = {
    {"Plain", Endpoint::Scheme::Smtp, "127.0.0.1", Listener::Plain, false},
    {"StartTls", Endpoint::Scheme::Smtp, "127.0.0.1", Listener::StartTls, true},
    {"Smtps", Endpoint::Scheme::Smtps, "localhost", Listener::Smtps, true},
};

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
        p.transport.port = GetParam().listener == Listener::Plain ? servers().smtpPort()
                           : GetParam().listener == Listener::StartTls
                               ? servers().startTlsSmtpPort()
                               : servers().smtpsPort();
        if (GetParam().logon)
            p.transport.user = MailServers::kUser;
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

INSTANTIATE_TEST_SUITE_P(Servers, SmtpTransportTest, ::testing::ValuesIn(kAllCases), caseName);

// The listeners with TLS and a logon.
class SmtpTlsTest : public SmtpTransportTest {};

TEST_P(SmtpTlsTest, WrongPasswordIsALoginFailure) {
    EXPECT_EQ(send(profile(), rawMessage("Wrong", uniqueType()), MailServers::kAddress, "wrong"),
              code::kLoginFailure);
}

TEST_P(SmtpTlsTest, AnUntrustedCertificateSendsNothing) {
    const std::string type = uniqueType();
    EXPECT_EQ(send(profile(false), rawMessage("Untrusted", type), MailServers::kAddress),
              code::kLoginFailure);
}

INSTANTIATE_TEST_SUITE_P(Servers, SmtpTlsTest, ::testing::Values(kAllCases[1], kAllCases[2]),
                         caseName);

} // namespace
} // namespace vsolo::mail::testing
