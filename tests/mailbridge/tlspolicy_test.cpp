#include "mailbridge/layer/netsession.h"

#include <gtest/gtest.h>

// The rule that keeps a password off a clear connection to another host. Which hosts count as
// loopback is the profile parser's; that VMime follows the policy, the server tests see.
namespace vsolo::mail::net {
namespace {

struct PolicyCase {
    const char* url;
    bool isStore;
    bool startTls;
    bool tlsRequired;
};

void PrintTo(const PolicyCase& c, std::ostream* os) {
    *os << c.url;
}

class TlsPolicyTest : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(TlsPolicyTest, DecidesTlsBeforeAnyLogon) {
    const auto e = parseEndpoint(GetParam().url, GetParam().isStore, "/home/u");
    ASSERT_TRUE(e.has_value()) << GetParam().url;
    const TlsPolicy policy = tlsPolicy(*e);
    EXPECT_EQ(policy.startTls, GetParam().startTls);
    EXPECT_EQ(policy.tlsRequired, GetParam().tlsRequired);
    // Whenever the connection may stay clear, a password may go on it.
    if (!e->isImplicitTls() && !policy.tlsRequired) {
        EXPECT_TRUE(mayAuthenticate(*e, false));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Endpoints, TlsPolicyTest,
    ::testing::Values(PolicyCase{"imap://u@mail.example.org", true, true, true},
                      PolicyCase{"imap://u@192.168.1.5:143", true, true, true},
                      PolicyCase{"imap://u@127.0.0.1:1143", true, true, false},
                      PolicyCase{"imap://u@localhost", true, true, false},
                      PolicyCase{"imaps://u@mail.example.org", true, false, false},
                      PolicyCase{"smtp://u@mail.example.org:587", false, true, true},
                      PolicyCase{"smtp://u@127.0.0.1:2525", false, true, false},
                      PolicyCase{"smtps://u@mail.example.org", false, false, false}));

} // namespace
} // namespace vsolo::mail::net
