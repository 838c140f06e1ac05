// The port over the real library: what it hands on of a message's envelope.

#include "../mailbridge/bridgefixture.h"
#include "core/remote/mailport.h"

namespace vsolo::testing {
namespace {

TEST_F(BridgeTest, EnvelopeGivesSenderDateAndSubjectOfAMessageTooBigToRead) {
    const std::string named = deliver(1714986000, "named", mailText("U", "Update", "x"));
    std::filesystem::resize_file(m_dir.file("Maildir/new/" + named), 5 * 1024 * 1024);
    const std::string bare = deliver(
        1714989600, "bare", textMessage("\r\n", "hub@example.org", "", "U", "Plain", {}, ""));
    const auto port = remote::makeBridgePort();
    ASSERT_EQ(port->logon("", "", false), remote::kMailSuccess);
    std::string note, date, sender, subject;
    EXPECT_NE(port->read(named, note, date), remote::kMailSuccess);
    ASSERT_EQ(port->envelope(named, sender, date, subject), remote::kMailSuccess);
    EXPECT_EQ(sender + "|" + date + "|" + subject,
              "Ann Archer <ann@example.org>|2024/05/06 09:00|Update");
    ASSERT_EQ(port->envelope(bare, sender, date, subject), remote::kMailSuccess);
    EXPECT_EQ(sender + "|" + date + "|" + subject, "hub@example.org|2024/05/06 10:00|Plain");
    EXPECT_EQ(mailFiles(), (std::vector<std::string>{"new/" + named, "new/" + bare})) << "unread";
    port->logoff();
}

} // namespace
} // namespace vsolo::testing
