#include "mailbridge/layer/maillayer.h"
#include "maildirfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

using testing::MaildirFolder;
using Scheme = Endpoint::Scheme;

MailProfile localProfile(const MaildirFolder& folder) {
    MailProfile profile;
    profile.store = {Scheme::Maildir, folder.maildir().string(), "", "", 0};
    const auto program = folder.root() / "sendmail";
    MaildirFolder::write(program, "#!/bin/sh\ncat > /dev/null\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    profile.transport = {Scheme::Sendmail, program.string(), "", "", 0};
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

INSTANTIATE_TEST_SUITE_P(Schemes, WrongKindTest,
                         ::testing::Values(Scheme::Maildir, Scheme::Imap, Scheme::Imaps,
                                           Scheme::Sendmail, Scheme::Smtp, Scheme::Smtps));

} // namespace
} // namespace vsolo::mail
