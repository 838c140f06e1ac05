// The assignment updates against the loopback IMAP server of the tests.

#include "../mailbridge/mailservers.h"
#include "assignmentsfixture.h"

#include <gtest/gtest.h>

namespace vsolo::testing {
namespace {

using vsolo::mail::testing::MailServers;

class ImapAssignmentsTest : public AssignmentsTest {
public:
    static void SetUpTestSuite() {
        s_servers = new MailServers;
        s_status = s_servers->setupError().empty() ? s_servers->startDovecot(false)
                                                   : s_servers->setupError();
    }
    static void TearDownTestSuite() {
        delete s_servers;
        s_servers = nullptr;
    }

    static inline MailServers* s_servers = nullptr;
    static inline std::string s_status;
};

TEST_F(ImapAssignmentsTest, NewestOfThreeIsAppliedAndAllAreDeleted) {
    ASSERT_EQ(s_status, "");
    writeProfiles("[General]\nDefault=Server\n[Server]\nStore=imap://" +
                  std::string(MailServers::kUser) +
                  "@127.0.0.1:" + std::to_string(s_servers->imapPort()) +
                  "\nTransport=sendmail:" + m_dir.file("sendmail") + "\n");
    load(v4Template("MSProject File", 2, 3, {{.group = 1, .name = "Old"}}));
    const std::time_t nine = 1714953600 + 9 * 3600;
    const std::string type = "Assignment Update 4.0";
    ASSERT_TRUE(s_servers->deliver(mailText(type, type, updateBody("Other", {})), nine - 60));
    // The server lists them in the order they came in, the newest first: the older ones are
    // superseded all the same and must not be applied later.
    for (int k : {2, 0, 1}) {
        const Rows rows = {v4Row(k + 1, 0, 0, 0, 1, "P" + std::to_string(k))};
        ASSERT_TRUE(
            s_servers->deliver(mailText(type, type, updateBody("desk", rows)), nine + k * 3600));
    }
    const auto port = remote::makeBridgePort();
    const remote::AssignmentResult result =
        remote::checkAssignments(*port, file, nullptr, "", MailServers::kPassword);
    EXPECT_EQ(result.outcome, remote::AssignmentResult::Outcome::Applied) << result.reason;
    EXPECT_EQ(result.received, "2024/05/06 11:00");
    EXPECT_EQ(result.deleted, 3);
    EXPECT_EQ(names(file.level1()), "P2");
    EXPECT_EQ(s_servers->messageFiles(), 1u);
}

} // namespace
} // namespace vsolo::testing
