#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/netservices.h"
#include "mailbridge/layer/netsession.h"
#include "servertest.h"

#include <gtest/gtest.h>

namespace vsolo::mail::testing {
namespace {

enum class Listener { Plain, StartTls, Imaps };

struct ImapCase {
    const char* name;
    Endpoint::Scheme scheme;
    const char* host;
    Listener listener;
    bool tls;
};

std::uint16_t portOf(Listener listener) {
    switch (listener) {
    case Listener::Plain:
        return servers().imapPort();
    case Listener::StartTls:
        return servers().startTlsImapPort();
    case Listener::Imaps:
        return servers().imapsPort();
    }
    return 0;
}

// 127.0.0.1 checks the certificate's address entry, localhost its name entry.
const ImapCase kAllCases[] = {
    {"Plain", Endpoint::Scheme::Imap, "127.0.0.1", Listener::Plain, false},
    {"StartTls", Endpoint::Scheme::Imap, "127.0.0.1", Listener::StartTls, true},
    {"Imaps", Endpoint::Scheme::Imaps, "localhost", Listener::Imaps, true},
};

// Names the case in test listings instead of its bytes.
void PrintTo(const ImapCase& c, std::ostream* os) {
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<ImapCase>& info) {
    return info.param.name;
}

class ImapStoreTest : public ::testing::TestWithParam<ImapCase> {
protected:
    void SetUp() override { ASSERT_EQ(dovecotStatus(GetParam().tls), ""); }

    MailProfile profile(bool trust = true) const {
        return imapProfile(GetParam().scheme, GetParam().host, portOf(GetParam().listener), trust);
    }

    // An open store of the test user; a failed logon fails the test.
    std::unique_ptr<MailStore> openStore() const {
        auto store = makeImapStore(profile());
        EXPECT_EQ(store->open(MailServers::kPassword), code::kSuccess);
        return store;
    }

    static void deliver(const std::string& raw, std::time_t received,
                        const std::string& flags = "") {
        ASSERT_TRUE(servers().deliver(raw, received, flags));
    }

    // The ids of `type`; a failed search fails the test.
    static std::vector<std::string> find(MailStore& store, const std::string& type) {
        std::vector<std::string> ids;
        EXPECT_EQ(store.findByType(type, ids), code::kSuccess);
        return ids;
    }

    static std::string subjectOf(MailStore& store, const std::string& id) {
        ReceivedMail mail;
        EXPECT_EQ(store.read(id, true, mail), code::kSuccess);
        return mail.subject;
    }
};

TEST_P(ImapStoreTest, LogsOnWithTheRightPasswordOnly) {
    EXPECT_EQ(makeImapStore(profile())->open(MailServers::kPassword), code::kSuccess);
    EXPECT_EQ(makeImapStore(profile())->open("not the password"), code::kLoginFailure);
}

TEST_P(ImapStoreTest, ServerNotRunningIsAFailure) {
    auto closed = profile();
    closed.store.port = MailServers::closedPort();
    auto store = makeImapStore(closed);
    EXPECT_EQ(store->open(MailServers::kPassword), code::kFailure);
    std::vector<std::string> ids;
    EXPECT_EQ(store->findByType("anything", ids), code::kFailure);
}

TEST_P(ImapStoreTest, FindsOneTypeOldestFirstByReceivedTime) {
    const std::string type = uniqueType();
    const std::string other = uniqueType("other");
    // Delivered newest first, so that the order of the files and of the UIDs is not the answer.
    deliver(rawMessage("newest", type), 1'700'003'000);
    deliver(rawMessage("other type", other), 1'700'001'500);
    deliver(rawMessage("oldest", type), 1'700'001'000);
    deliver(rawMessage("no type", ""), 1'700'000'500);
    deliver(rawMessage("middle", type), 1'700'002'000);

    auto store = openStore();
    auto ids = find(*store, type);
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(subjectOf(*store, ids[0]), "oldest");
    EXPECT_EQ(subjectOf(*store, ids[1]), "middle");
    EXPECT_EQ(subjectOf(*store, ids[2]), "newest");
    for (const auto& id : ids)
        EXPECT_LT(id.size(), 512u);

    ids = find(*store, other);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(subjectOf(*store, ids[0]), "other type");
    EXPECT_TRUE(find(*store, type + "x").empty());
}

TEST_P(ImapStoreTest, ReadsTheMessageAndItsReceivedTime) {
    const std::string type = uniqueType();
    deliver(rawMessage("Weekly time", type, "Line one\r\nLine two"), 1'765'000'000);
    auto store = openStore();
    auto ids = find(*store, type);
    ASSERT_EQ(ids.size(), 1u);
    ReceivedMail mail;
    ASSERT_EQ(store->read(ids[0], true, mail), code::kSuccess);
    EXPECT_EQ(mail.subject, "Weekly time");
    EXPECT_EQ(mail.messageType, type);
    EXPECT_EQ(mail.fromName, "Ann Sender");
    EXPECT_EQ(mail.fromAddress, "ann@sender.test");
    EXPECT_NE(mail.noteText.find("Line one"), std::string::npos);
    EXPECT_NE(mail.noteText.find("Line two"), std::string::npos);
    EXPECT_EQ(mail.received, 1'765'000'000);
}

TEST_P(ImapStoreTest, PeekLeavesUnreadAndReadMarksSeen) {
    const std::string type = uniqueType();
    deliver(rawMessage("unread", type), 1'700'000'000);
    deliver(rawMessage("seen before", type), 1'700'000'001, "S");
    auto store = openStore();
    auto ids = find(*store, type);
    ASSERT_EQ(ids.size(), 2u);

    ReceivedMail mail;
    ASSERT_EQ(store->read(ids[0], true, mail), code::kSuccess);
    EXPECT_TRUE(mail.unread);
    ASSERT_EQ(store->read(ids[0], false, mail), code::kSuccess);
    EXPECT_TRUE(mail.unread); // as it was before this read
    ASSERT_EQ(store->read(ids[0], true, mail), code::kSuccess);
    EXPECT_FALSE(mail.unread);
    ASSERT_EQ(store->read(ids[1], true, mail), code::kSuccess);
    EXPECT_FALSE(mail.unread);

    // The flag is the server's, not the session's.
    store = openStore();
    ASSERT_EQ(store->read(ids[0], true, mail), code::kSuccess);
    EXPECT_FALSE(mail.unread);
}

TEST_P(ImapStoreTest, RemoveDeletesOnlyThatMessage) {
    const std::string type = uniqueType();
    deliver(rawMessage("goes", type), 1'700'000'000);
    deliver(rawMessage("stays", type), 1'700'000'100);
    auto store = openStore();
    auto ids = find(*store, type);
    ASSERT_EQ(ids.size(), 2u);
    ASSERT_EQ(store->remove(ids[0]), code::kSuccess);

    ReceivedMail mail;
    EXPECT_EQ(store->read(ids[0], true, mail), code::kFailure);
    EXPECT_EQ(store->remove(ids[0]), code::kFailure);
    store = openStore();
    ids = find(*store, type);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(subjectOf(*store, ids[0]), "stays");
}

// Removes the one message found of two, the other marked deleted by another mail program.
void removeOneOfTwo(const MailProfile& profile, std::size_t filesGone) {
    const std::string type = uniqueType();
    ASSERT_TRUE(servers().deliver(rawMessage("marked elsewhere", type), 1'700'000'000, "ST"));
    ASSERT_TRUE(servers().deliver(rawMessage("goes", type), 1'700'000'100));
    auto store = makeImapStore(profile);
    ASSERT_EQ(store->open(MailServers::kPassword), code::kSuccess);
    std::vector<std::string> ids;
    ASSERT_EQ(store->findByType(type, ids), code::kSuccess);
    ASSERT_EQ(ids.size(), 1u) << "a message marked deleted is not found";
    const std::size_t files = servers().messageFiles();
    ASSERT_EQ(store->remove(ids[0]), code::kSuccess);
    EXPECT_EQ(servers().messageFiles(), files - filesGone);
    ASSERT_EQ(store->findByType(type, ids), code::kSuccess);
    EXPECT_TRUE(ids.empty()) << "marked deleted, if not expunged";
}

TEST_P(ImapStoreTest, RemoveLeavesWhatAnotherProgramOnlyMarkedDeleted) {
    removeOneOfTwo(profile(), 1);
}

// A server without UIDPLUS cannot expunge one message alone: it is only marked deleted.
TEST(ImapWithoutUidPlusTest, RemoveMarksTheMessageDeletedAndExpungesNothing) {
    ASSERT_EQ(dovecotStatus(false), "");
    std::uint16_t port = 0;
    ASSERT_EQ(servers().startDovecotWithoutUidPlus(port), "");
    removeOneOfTwo(imapProfile(Endpoint::Scheme::Imap, "127.0.0.1", port, true), 0);
}

TEST_P(ImapStoreTest, IdentifiersThatNameNoMessageFail) {
    auto store = openStore();
    ReceivedMail mail;
    for (const char* id : {"", "1", "x.1", "1.x", "0.0", "4294967295.4294967295"})
        EXPECT_EQ(store->read(id, true, mail), code::kFailure) << id;
}

TEST_P(ImapStoreTest, RefusesAMessageOverTheLimitUnread) {
    const std::string type = uniqueType();
    std::string body;
    const std::string line(76, 'x');
    while (body.size() <= kMaxMessageSize)
        body += line + "\r\n";
    deliver(rawMessage("too big", type, body), 1'700'000'000);
    auto store = openStore();
    auto ids = find(*store, type);
    ASSERT_EQ(ids.size(), 1u);
    ReceivedMail mail;
    EXPECT_EQ(store->read(ids[0], false, mail), code::kInvalidMessage);
    // Still there, and the failed read did not mark it.
    EXPECT_EQ(find(*store, type).size(), 1u);
    ASSERT_EQ(store->readEnvelope(ids[0], mail), code::kSuccess);
    EXPECT_EQ(mail.subject + "|" + mail.fromAddress, "too big|ann@sender.test");
    EXPECT_TRUE(mail.unread && mail.received == 1'700'000'000);
    EXPECT_EQ(store->readEnvelope("1.1", mail), code::kFailure);
}

INSTANTIATE_TEST_SUITE_P(Servers, ImapStoreTest, ::testing::ValuesIn(kAllCases), caseName);

// The connections that are TLS: the certificate decides.
class ImapTlsTest : public ImapStoreTest {};

TEST_P(ImapTlsTest, AnUntrustedCertificateRefusesTheLogon) {
    EXPECT_EQ(makeImapStore(profile(false))->open(MailServers::kPassword), code::kLoginFailure);
}

TEST_P(ImapTlsTest, ACaFileWithoutCertificatesRefusesTheLogon) {
    auto broken = profile();
    broken.caFile = servers().folder() + "/imap-users";
    EXPECT_EQ(makeImapStore(broken)->open(MailServers::kPassword), code::kLoginFailure);
}

INSTANTIATE_TEST_SUITE_P(Servers, ImapTlsTest, ::testing::Values(kAllCases[1], kAllCases[2]),
                         caseName);

TEST(ImapHostNameTest, ACertificateForAnotherHostRefusesTheLogon) {
    ASSERT_EQ(dovecotStatus(false), "");
    ASSERT_EQ(servers().startMisnamedImaps(), "");
    auto profile =
        imapProfile(Endpoint::Scheme::Imaps, "localhost", servers().misnamedImapsPort(), false);
    profile.caFile = servers().misnamedCaFile();
    EXPECT_EQ(makeImapStore(profile)->open(MailServers::kPassword), code::kLoginFailure);
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// What a host that is not loopback gets, tried on loopback: the server offers no TLS, so the
// logon ends before the password is sent.
TEST(ImapClearTextTest, RequiredTlsTheServerLacksEndsTheLogonUnsent) {
    ASSERT_EQ(dovecotStatus(false), "");
    const std::string login = std::string("Login: user=<") + MailServers::kUser + ">";
    const std::size_t before = occurrences(servers().dovecotLog(false), login);
    auto store = net::makeImapStore(
        imapProfile(Endpoint::Scheme::Imap, "127.0.0.1", servers().imapPort(), true),
        net::TlsPolicy{true, true});
    EXPECT_EQ(store->open(MailServers::kPassword), code::kLoginFailure);
    EXPECT_EQ(occurrences(servers().dovecotLog(false), login), before);
}

} // namespace
} // namespace vsolo::mail::testing
