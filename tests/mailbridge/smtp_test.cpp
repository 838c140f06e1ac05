#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"
#include "servertest.h"

#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
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
        0u)
        << transport->failureCause();
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

// One connection of a server on loopback that offers two ways to log on and refuses every
// password, counting the attempts.
class RefusingSmtpServer {
public:
    RefusingSmtpServer() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(m_listener, 1) == 0 &&
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            m_port = ntohs(address.sin_port);
            m_thread = std::thread([this] { serve(); });
        }
    }
    ~RefusingSmtpServer() {
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    std::uint16_t port() const { return m_port; }
    int logons() const { return m_logons; }

private:
    void serve() {
        pollfd waiting{m_listener, POLLIN, 0};
        const int client =
            poll(&waiting, 1, 10000) == 1 ? accept(m_listener, nullptr, nullptr) : -1;
        if (client < 0)
            return;
        const timeval bound{10, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
        FILE* peer = fdopen(client, "r+");
        const auto say = [peer](const char* reply) {
            std::fputs(reply, peer);
            std::fflush(peer);
        };
        say("220 refusing ESMTP\r\n");
        for (char line[1024]; std::fgets(line, sizeof line, peer) != nullptr;) {
            const std::string command(line);
            if (command.rfind("EHLO", 0) == 0) {
                say("250-refusing\r\n250 AUTH PLAIN LOGIN\r\n");
            } else if (command.rfind("AUTH", 0) == 0) {
                ++m_logons;
                say("334 \r\n");
                if (std::fgets(line, sizeof line, peer) == nullptr)
                    break;
                say("535 5.7.8 Authentication credentials invalid\r\n");
            } else if (command.rfind("QUIT", 0) == 0) {
                say("221 bye\r\n");
                break;
            } else {
                say("502 5.5.1 not here\r\n");
            }
        }
        std::fclose(peer);
    }

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<int> m_logons{0};
    std::thread m_thread;
};

TEST(SmtpLogonTest, AWrongPasswordIsOfferedOnce) {
    RefusingSmtpServer server;
    ASSERT_NE(server.port(), 0);
    MailProfile profile;
    profile.transport = {Endpoint::Scheme::Smtp, "", MailServers::kUser, "127.0.0.1",
                         server.port()};
    const auto transport = makeSmtpTransport(profile);
    EXPECT_EQ(send(*transport, "Logon", MailServers::kAddress, "wrong"), code::kLoginFailure);
    EXPECT_EQ(transport->failureCause(), "the server 127.0.0.1 port " +
                                             std::to_string(server.port()) +
                                             " refused the user name or password");
    EXPECT_EQ(server.logons(), 1);
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
