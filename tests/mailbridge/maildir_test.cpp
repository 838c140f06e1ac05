#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"
#include "maildirfolder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

namespace fs = std::filesystem;
using testing::MaildirFolder;
using testing::plainMessage;

class MaildirTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_store->open(""), code::kSuccess); }

    std::vector<std::string> find(const std::string& type) {
        std::vector<std::string> ids;
        EXPECT_EQ(m_store->findByType(type, ids), code::kSuccess);
        return ids;
    }

    MaildirFolder m_folder;
    std::unique_ptr<MailStore> m_store = makeMaildirStore(m_folder.maildir().string());
};

TEST_F(MaildirTest, FindsTheTypeInNewAndCurOldestFirst) {
    const std::string sheet = plainMessage("Transaction file", "s", "x");
    m_folder.put("new", "1700000300.M1.host", sheet);
    m_folder.put("cur", "1700000100.M2.host:2,S", sheet);
    m_folder.put("new", "1700000200.B.host", sheet);
    m_folder.put("new", "1700000200.A.host", sheet);
    m_folder.put("cur", "1700000050.X.host:2,", plainMessage("Assignment", "s", "x"));
    m_folder.put("new", "1700000000.Y.host", plainMessage("", "s", "x"));
    m_folder.put("tmp", "1600000000.Z.host", sheet);
    m_folder.put("new", ".1600000000.hidden", sheet);
    // No delivery time in the name: the modification time counts.
    const auto undated = m_folder.put("new", "undated", sheet);
    fs::last_write_time(undated, std::chrono::file_clock::from_sys(
                                     std::chrono::system_clock::from_time_t(1700000250)));

    const std::vector<std::string> expected{"1700000100.M2.host", "1700000200.A.host",
                                            "1700000200.B.host", "undated", "1700000300.M1.host"};
    EXPECT_EQ(find("Transaction file"), expected);
    EXPECT_EQ(find("Assignment"), std::vector<std::string>{"1700000050.X.host"});
    EXPECT_TRUE(find("Nothing").empty());

    ReceivedMail mail;
    ASSERT_EQ(m_store->read("undated", true, mail), code::kSuccess);
    EXPECT_EQ(mail.received, 1700000250);
}

struct ReadCase {
    const char* sub;
    const char* name;
    bool peek;
    bool unread;
    const char* subAfter;
    const char* nameAfter;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.sub << '/' << c.name << (c.peek ? " peeked" : " read");
}

class MaildirReadTest : public MaildirTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(MaildirReadTest, MarksSeenUnlessPeeking) {
    const ReadCase& c = GetParam();
    m_folder.put(c.sub, c.name, plainMessage("T", "Hello", "the note"));
    for (int pass = 0; pass < 2; ++pass) {
        ReceivedMail mail;
        ASSERT_EQ(m_store->read("1700000001.a.host", c.peek, mail), code::kSuccess);
        EXPECT_EQ(mail.unread, pass == 0 ? c.unread : c.unread && c.peek);
        EXPECT_EQ(mail.received, 1700000001);
        EXPECT_EQ(mail.subject, "Hello");
        EXPECT_EQ(mail.noteText, "the note");
        EXPECT_EQ(m_folder.names(c.subAfter), std::vector<std::string>{c.nameAfter});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, MaildirReadTest,
    ::testing::Values(
        ReadCase{"new", "1700000001.a.host", true, true, "new", "1700000001.a.host"},
        ReadCase{"new", "1700000001.a.host", false, true, "cur", "1700000001.a.host:2,S"},
        ReadCase{"cur", "1700000001.a.host:2,RF", false, true, "cur", "1700000001.a.host:2,FRS"},
        ReadCase{"cur", "1700000001.a.host:2,F", true, true, "cur", "1700000001.a.host:2,F"},
        ReadCase{"cur", "1700000001.a.host:2,S", false, false, "cur", "1700000001.a.host:2,S"}));

TEST_F(MaildirTest, ListsAFileOverTheLimitAndReadsItsEnvelopeButNotItWhole) {
    const auto big = m_folder.put("new", "1700000001.big.host", plainMessage("T", "big", "x"));
    fs::resize_file(big, kMaxMessageSize + 1); // sparse: truncate only moves the end
    m_folder.put("new", "1700000002.small.host", plainMessage("T", "small", "x"));

    EXPECT_EQ(find("T"),
              (std::vector<std::string>{"1700000001.big.host", "1700000002.small.host"}));
    ReceivedMail mail;
    EXPECT_EQ(m_store->read("1700000001.big.host", false, mail), code::kInvalidMessage);
    ASSERT_EQ(m_store->readEnvelope("1700000001.big.host", mail), code::kSuccess);
    EXPECT_EQ(mail.subject + "|" + mail.fromAddress + "|" + mail.messageType,
              "big|ann@example.org|T");
    EXPECT_TRUE(mail.unread && mail.received == 1700000001);
    EXPECT_EQ(m_store->readEnvelope("1700000003.none.host", mail), code::kFailure);
    EXPECT_EQ(m_folder.names("new").size(), 2u) << "neither read marks it";
}

TEST_F(MaildirTest, RemovesAMessageForGood) {
    m_folder.put("cur", "1700000001.a.host:2,S", plainMessage("T", "s", "x"));
    EXPECT_EQ(m_store->remove("1700000001.a.host"), code::kSuccess);
    EXPECT_TRUE(m_folder.names("cur").empty());
    EXPECT_EQ(m_store->remove("1700000001.a.host"), code::kFailure);
}

TEST_F(MaildirTest, FollowsMessagesThatChangedAfterTheSearch) {
    for (const char* name : {"1700000001.a.host", "1700000002.b.host"})
        m_folder.put("new", name, plainMessage("T", "s", "x"));
    ASSERT_EQ(find("T").size(), 2u);
    // Another mail program reads one and deletes the other; a third message arrives.
    const fs::path folder = m_folder.maildir();
    fs::rename(folder / "new/1700000001.a.host", folder / "cur/1700000001.a.host:2,S");
    fs::remove(folder / "new/1700000002.b.host");
    m_folder.put("new", "1700000003.c.host", plainMessage("T", "c", "x"));
    ReceivedMail mail;
    EXPECT_EQ(m_store->read("1700000002.b.host", true, mail), code::kFailure);
    ASSERT_EQ(m_store->read("1700000003.c.host", false, mail), code::kSuccess);
    for (const char* id : {"1700000001.a.host", "1700000003.c.host"}) // c moved to cur/ by its read
        EXPECT_EQ(m_store->remove(id), code::kSuccess) << id;
    EXPECT_TRUE(m_folder.names("cur").empty() && m_folder.names("new").empty());
}

TEST_F(MaildirTest, AMessageThatVanishedIsAFailure) {
    const auto path = m_folder.put("new", "1700000001.a.host", plainMessage("T", "s", "x"));
    ASSERT_EQ(find("T").size(), 1u);
    fs::remove(path);
    ReceivedMail mail;
    EXPECT_EQ(m_store->read("1700000001.a.host", true, mail), code::kFailure);
}

TEST_F(MaildirTest, IdentifiersNameOnlyMessagesOfTheFolder) {
    MaildirFolder::write(m_folder.root() / "outside", plainMessage("T", "s", "x"));
    m_folder.put("tmp", "1700000001.t.host", plainMessage("T", "s", "x"));
    for (const char* id : {"", "nosuch", "../outside", "../../outside", "1700000001.t.host"}) {
        ReceivedMail mail;
        EXPECT_EQ(m_store->read(id, true, mail), code::kFailure) << id;
        EXPECT_EQ(m_store->remove(id), code::kFailure) << id;
    }
    EXPECT_TRUE(fs::exists(m_folder.root() / "outside"));
}

TEST(MaildirOpenTest, AFolderThatIsNoMaildirFails) {
    MaildirFolder folder;
    fs::create_directories(folder.root() / "partial" / "new");
    fs::create_directories(folder.root() / "partial" / "cur");
    MaildirFolder::write(folder.root() / "file", "x");
    for (const char* name : {"missing", "partial", "file"}) {
        const auto store = makeMaildirStore((folder.root() / name).string());
        EXPECT_EQ(store->open(""), code::kFailure) << name;
        std::vector<std::string> ids;
        EXPECT_EQ(store->findByType("T", ids), code::kInvalidSession) << name;
    }
}

} // namespace
} // namespace vsolo::mail
