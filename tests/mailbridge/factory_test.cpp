#include "mailbridge/layer/maillayer.h"
#include "maildirfolder.h"

#include <gtest/gtest.h>

namespace vsolo::mail {

using Scheme = Endpoint::Scheme;

const char* const kSchemeNames[] = {"Maildir", "Imap", "Imaps", "Sendmail", "Smtp", "Smtps"};

// Found by argument-dependent lookup in the namespace of Endpoint.
static void PrintTo(Scheme scheme, std::ostream* out) {
    *out << kSchemeNames[static_cast<int>(scheme)];
}

namespace {

class WrongKindTest : public ::testing::TestWithParam<Scheme> {};

// A store named by a transport's endpoint, or the reverse, fails instead of being null. (The
// right kinds are what every test of the exports logs on with.)
TEST_P(WrongKindTest, FailsEveryCall) {
    // A real Maildir, so that a store of the wrong kind made as a Maildir store would open.
    const testing::MaildirFolder folder;
    const Endpoint wrong{GetParam(), folder.maildir().string(), "", "localhost", 1};
    MailProfile profile;
    if (GetParam() == Scheme::Maildir || GetParam() == Scheme::Imap ||
        GetParam() == Scheme::Imaps) {
        profile.transport = wrong;
        EXPECT_EQ(makeTransport(profile)->send("Subject: s\r\n\r\nx", "a@b", {"c@d"}, ""),
                  code::kFailure);
    } else {
        profile.store = wrong;
        const auto store = makeStore(profile);
        EXPECT_EQ(store->open(""), code::kFailure);
        std::vector<std::string> ids;
        EXPECT_EQ(store->findByType("T", ids), code::kFailure);
    }
}

std::string schemeName(const ::testing::TestParamInfo<Scheme>& info) {
    return kSchemeNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Schemes, WrongKindTest,
                         ::testing::Values(Scheme::Maildir, Scheme::Imap, Scheme::Imaps,
                                           Scheme::Sendmail, Scheme::Smtp, Scheme::Smtps),
                         schemeName);

} // namespace
} // namespace vsolo::mail
