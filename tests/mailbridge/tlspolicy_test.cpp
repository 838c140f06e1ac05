#include "mailbridge/layer/netsession.h"

#include <gtest/gtest.h>

// The rule that keeps a password off a clear connection to another host, as decided and as
// handed to VMime. Nothing here connects anywhere: creating a VMime service opens no socket.
namespace vsolo::mail::net {
namespace {

struct PolicyCase {
    const char* url;
    bool isStore;
    bool startTls;
    bool tlsRequired;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const PolicyCase& c, std::ostream* os) {
    *os << c.url;
}

class TlsPolicyTest : public ::testing::TestWithParam<PolicyCase> {
protected:
    Endpoint endpoint() const {
        const auto parsed = parseEndpoint(GetParam().url, GetParam().isStore, "/home/u");
        EXPECT_TRUE(parsed.has_value()) << GetParam().url;
        return parsed.value_or(Endpoint{});
    }
};

TEST_P(TlsPolicyTest, DecidesTlsBeforeAnyLogon) {
    const Endpoint e = endpoint();
    const TlsPolicy policy = tlsPolicy(e);
    EXPECT_EQ(policy.startTls, GetParam().startTls);
    EXPECT_EQ(policy.tlsRequired, GetParam().tlsRequired);
    // Whenever the connection may stay clear, a password may go on it.
    if (!e.isImplicitTls() && !policy.tlsRequired) {
        EXPECT_TRUE(mayAuthenticate(e, false));
    }
}

TEST_P(TlsPolicyTest, BecomesTheServiceProperties) {
    ensurePlatformHandler();
    const Endpoint e = endpoint();
    const char* protocol = e.scheme == Endpoint::Scheme::Imap    ? "imap"
                           : e.scheme == Endpoint::Scheme::Imaps ? "imaps"
                           : e.scheme == Endpoint::Scheme::Smtp  ? "smtp"
                                                                 : "smtps";
    auto session = vmime::net::session::create();
    std::shared_ptr<vmime::net::service> service;
    if (GetParam().isStore)
        service = session->getStore(serviceUrl(protocol, e));
    else
        service = session->getTransport(serviceUrl(protocol, e));
    ASSERT_TRUE(service);
    applyTlsPolicy(*service, tlsPolicy(e));
    const std::string prefix = service->getInfos().getPropertyPrefix();
    const auto& properties = session->getProperties();
    EXPECT_EQ(properties.getProperty<bool>(prefix + "connection.tls"), GetParam().startTls);
    EXPECT_EQ(properties.getProperty<bool>(prefix + "connection.tls.required"),
              GetParam().tlsRequired);
}

INSTANTIATE_TEST_SUITE_P(
    Endpoints, TlsPolicyTest,
    ::testing::Values(PolicyCase{"imap://u@mail.example.org", true, true, true},
                      PolicyCase{"imap://u@192.168.1.5:143", true, true, true},
                      PolicyCase{"imap://u@128.0.0.1", true, true, true},
                      PolicyCase{"imap://u@127.0.0.1:1143", true, true, false},
                      PolicyCase{"imap://u@localhost", true, true, false},
                      PolicyCase{"imaps://u@mail.example.org", true, false, false},
                      PolicyCase{"smtp://mail.example.org", false, true, true},
                      PolicyCase{"smtp://u@mail.example.org:587", false, true, true},
                      PolicyCase{"smtp://u@127.0.0.1:2525", false, true, false},
                      PolicyCase{"smtps://u@mail.example.org", false, false, false}));

} // namespace
} // namespace vsolo::mail::net
