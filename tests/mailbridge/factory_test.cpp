#include "mailbridge/layer/maillayer.h"
#include "maildirfolder.h"

#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

using testing::MaildirFolder;
using Scheme = Endpoint::Scheme;

MailProfile localProfile(const MaildirFolder& folder) {
    MailProfile profile;
    profile.store = {Scheme::Maildir, folder.maildir().string(), "", "", 0};
    const std::string program = (folder.root() / "sendmail").string();
    testing::writeScript(program, "cat > /dev/null\n");
    profile.transport = {Scheme::Sendmail, program, "", "", 0};
    return profile;
}

TEST(FactoryTest, MakesTheMaildirStoreAndTheSendmailTransport) {
    MaildirFolder folder;
    const MailProfile profile = localProfile(folder);
    EXPECT_EQ(makeStore(profile)->open(""), code::kSuccess);
    EXPECT_EQ(makeTransport(profile)->send("Subject: s\r\n\r\nx", "a@b", {"c@d"}, ""),
              code::kSuccess);
}

class WrongKindTest : public ::testing::TestWithParam<Scheme> {};

// A store named by a transport's endpoint, or the reverse, fails instead of being null.
TEST_P(WrongKindTest, FailsEveryCall) {
    MaildirFolder folder;
    MailProfile profile = localProfile(folder);
    const Endpoint wrong{GetParam(), profile.store.path, "", "localhost", 1};
    const bool storeScheme =
        GetParam() == Scheme::Maildir || GetParam() == Scheme::Imap || GetParam() == Scheme::Imaps;
    if (storeScheme) {
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
    static const char* const names[] = {"Maildir", "Imap", "Imaps", "Sendmail", "Smtp", "Smtps"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Schemes, WrongKindTest,
                         ::testing::Values(Scheme::Maildir, Scheme::Imap, Scheme::Imaps,
                                           Scheme::Sendmail, Scheme::Smtp, Scheme::Smtps),
                         schemeName);

} // namespace
} // namespace vsolo::mail
