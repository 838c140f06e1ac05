#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"
#include "servertest.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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
    const auto transport = makeSmtpTransport(profile());
    EXPECT_EQ(send(*transport, "Nobody", "nobody@localhost"), code::kUnknownRecipient);
    EXPECT_EQ(
        transport->failureCause().rfind("the server refused the recipient nobody@localhost (5", 0),
        0u);
}

TEST_P(SmtpTransportTest, ServerNotRunningIsAFailure) {
    auto closed = profile();
    closed.transport.port = MailServers::closedPort();
    const auto transport = makeSmtpTransport(closed);
    EXPECT_EQ(send(*transport, "Nowhere"), code::kFailure);
    EXPECT_EQ(transport->failureCause(), "the server " + closed.transport.host + " port " +
                                             std::to_string(closed.transport.port) +
                                             " refused the connection");
}

TEST_P(SmtpTransportTest, AUserTheServerCannotLogOnIsALoginFailure) {
    auto withUser = profile();
    withUser.transport.user = MailServers::kUser;
    EXPECT_EQ(send(*makeSmtpTransport(withUser), "Logon"), code::kLoginFailure);
}

INSTANTIATE_TEST_SUITE_P(Servers, SmtpTransportTest, ::testing::ValuesIn(kAllCases), caseName);

TEST(SmtpTlsTest, AnUntrustedCertificateSendsNothing) {
    ASSERT_EQ(smtpdStatus(), "");
    const auto transport =
        makeSmtpTransport(smtpProfile(Endpoint::Scheme::Smtps, "localhost", false));
    EXPECT_EQ(send(*transport, "Untrusted", MailServers::kAddress, ""), code::kLoginFailure);
    EXPECT_EQ(transport->failureCause(), "the certificate of localhost port " +
                                             std::to_string(servers().smtpsPort()) +
                                             " is not trusted");
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

TEST(SmtpLogonTest, AWrongPasswordIsOfferedOnce) {
    // A server on loopback for one connection: it offers two ways to log on and refuses
    // everything else, every password included.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    auto* any = reinterpret_cast<sockaddr*>(&address);
    ASSERT_TRUE(bind(listener, any, length) == 0 && listen(listener, 1) == 0 &&
                getsockname(listener, any, &length) == 0);
    int logons = 0;
    std::thread server([listener, &logons] {
        FILE* peer = fdopen(accept(listener, nullptr, nullptr), "r+");
        char line[1024] = "220 refusing ESMTP\r\n";
        while (peer != nullptr && std::fputs(line, peer) >= 0 && std::fflush(peer) == 0 &&
               std::fgets(line, sizeof line, peer) != nullptr && std::strncmp(line, "QUIT", 4)) {
            const bool logon = std::strncmp(line, "AUTH", 4) == 0;
            logons += logon ? 1 : 0;
            std::strcpy(line, std::strncmp(line, "EHLO", 4) == 0
                                  ? "250-r\r\n250 AUTH PLAIN LOGIN\r\n"
                              : logon ? "334 \r\n"
                                      : "535 5.7.8 refused\r\n");
        }
        if (peer != nullptr)
            std::fclose(peer);
    });
    MailProfile profile;
    const std::uint16_t port = ntohs(address.sin_port);
    profile.transport = {Endpoint::Scheme::Smtp, "", MailServers::kUser, "127.0.0.1", port};
    const auto transport = makeSmtpTransport(profile);
    EXPECT_EQ(send(*transport, "Logon", MailServers::kAddress, "wrong"), code::kLoginFailure);
    shutdown(listener, SHUT_RDWR); // ends a wait for a connection that never came
    server.join();
    ::close(listener);
    EXPECT_EQ(transport->failureCause(), "the server 127.0.0.1 port " + std::to_string(port) +
                                             " refused the user name or password");
    EXPECT_EQ(logons, 1);
}

} // namespace
} // namespace vsolo::mail::testing
