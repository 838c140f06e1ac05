// The exports of the mail bridge library, driven through its public header over a Maildir and a
// sendmail stand-in built by the tests.

#include "bridgefixture.h"
#include "tests/support/runprogram.h"

#include <chrono>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

namespace vsolo::testing {
namespace {

const std::string kTimeSheet = "Transaction file";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(LibraryTest, ExportsNothingButItsFunctions) {
    const TempDir scratch;
    const ProgramRun nm =
        runProgram("/usr/bin/nm", {"-D", "--defined-only", OSXMAPI_LIBRARY}, scratch.path());
    ASSERT_EQ(nm.exitCode, 0) << nm.err;
    std::set<std::string> exported;
    for (const std::string& line : linesOf(nm.out))
        exported.insert(line.substr(line.find_last_of(' ') + 1));
    const std::set<std::string> expected{"osxSetUserInterface",
                                         "InitMAPI",
                                         "osxInitFailure",
                                         "DeInitMAPI",
                                         "mapiLogon",
                                         "mapiLogonEx",
                                         "mapiLogoff",
                                         "mapiSendMail",
                                         "mapiSendMailEx",
                                         "mapiPresentEmailWithUI",
                                         "mapiFindNext",
                                         "mapiReadMail",
                                         "mapiFreeBuffer",
                                         "mapiDeleteMail",
                                         "mapiSuppressMessages",
                                         "osxFailureCause",
                                         "msgParseMessage",
                                         "msgGetRecordCount",
                                         "msgGetMessageField",
                                         "msgGetResourceName",
                                         "DLLUpdateRemote",
                                         "Debug"};
    EXPECT_EQ(exported, expected);
}

TEST_F(BridgeTest, WithoutAProfileFileTheBuiltInProfileIsTheDefault) {
    std::filesystem::remove(profilePath());
    makeMaildir("home/Maildir");
    deliver(100, "a", mailText(kTimeSheet, "s", "b"), "new", "home/Maildir");
    ASSERT_EQ(InitMAPI(), 1);
    ASSERT_EQ(mapiLogon(0, "", "", 0), SUCCESS_SUCCESS);
    char id[OSX_MESSAGE_ID_SIZE] = {};
    EXPECT_EQ(mapiFindNext(0, kTimeSheet.c_str(), "", MAPI_LONG_MSGID, id), SUCCESS_SUCCESS);
    EXPECT_STREQ(id, "100.a.testhost");
    EXPECT_EQ(mapiLogon(0, "Desk", "", 0), MAPI_E_LOGIN_FAILURE) << "no file, no named profiles";
}

// The ways a profile file is refused are the parser's; here, what a refused file does.
TEST_F(BridgeTest, UnreadableProfilesFailInitWithoutABoxAndSayWhy) {
    EXPECT_STREQ(osxInitFailure(), "");
    writeProfiles("\n[Desk]\nTransport=sendmail:/bin/true\n");
    EXPECT_EQ(InitMAPI(), 0);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(osxInitFailure(), "The mail profile file " + profilePath() +
                                    " cannot be used: line 2: the profile [Desk] has no Store. "
                                    "Mail cannot be used until the file is corrected.");
    EXPECT_EQ(mapiLogonEx(0, "", "", 0), MAPI_E_FAILURE);
}

TEST_F(BridgeTest, ProfilesOthersMayWriteAreUsedAfterAWarning) {
    ::chmod(profilePath().c_str(), 0602);
    ASSERT_EQ(InitMAPI(), 1);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text.find(profilePath() + " can be changed by other users"), 22u);
}

TEST_F(BridgeTest, LogonExJoinsTheSessionHeldThenTriesTheNamedProfile) {
    deliver(100, "a", mailText(kTimeSheet, "desk", "x"));
    deliver(100, "b", mailText(kTimeSheet, "other", "y"), "new", "Other");
    char id[OSX_MESSAGE_ID_SIZE] = {};

    EXPECT_EQ(mapiLogonEx(0, "other", "", MAPI_NEW_SESSION), SUCCESS_SUCCESS)
        << "names without regard to case";
    ASSERT_EQ(mapiFindNext(0, kTimeSheet.c_str(), "", 0, id), SUCCESS_SUCCESS);
    EXPECT_STREQ(id, "100.b.testhost");

    EXPECT_EQ(mapiLogonEx(0, "Nowhere", "", 0), SUCCESS_SUCCESS) << "the session held";
    ASSERT_EQ(mapiFindNext(0, kTimeSheet.c_str(), "", 0, id), SUCCESS_SUCCESS);
    EXPECT_STREQ(id, "100.b.testhost");

    ASSERT_EQ(mapiLogoff(0, 0), SUCCESS_SUCCESS);
    EXPECT_EQ(mapiLogonEx(0, "Nowhere", "", 0), MAPI_E_LOGIN_FAILURE);
    EXPECT_TRUE(m_asked.empty()) << "no password is asked for a profile that is not there";
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(mapiLogonEx(0, nullptr, nullptr, 0), SUCCESS_SUCCESS) << "the default profile";
    ASSERT_EQ(mapiFindNext(0, kTimeSheet.c_str(), nullptr, 0, id), SUCCESS_SUCCESS);
    EXPECT_STREQ(id, "100.a.testhost");
}

TEST_F(BridgeTest, FindNextWalksOldestFirstAndEndsWithoutABox) {
    const std::string late = deliver(300, "a", mailText(kTimeSheet, "late", "x"));
    EXPECT_EQ(mapiDeleteMail(0, late.c_str()), MAPI_E_INVALID_SESSION) << "no session yet";
    const std::string early =
        deliver(100, "z", mailText(kTimeSheet, "early", "x"), "cur", "Maildir", "S");
    deliver(200, "m", mailText("Assignment Update 4.0", "update", "x"));
    const std::string middle = deliver(200, "n", mailText(kTimeSheet, "middle", "x"));
    ASSERT_EQ(mapiLogon(0, "", "", 0), SUCCESS_SUCCESS);

    std::vector<std::string> walk;
    char id[OSX_MESSAGE_ID_SIZE] = {};
    ULONG result = SUCCESS_SUCCESS;
    while ((result = mapiFindNext(0, kTimeSheet.c_str(), walk.empty() ? "" : walk.back().c_str(),
                                  MAPI_LONG_MSGID, id)) == SUCCESS_SUCCESS) {
        walk.emplace_back(id);
        // Deleting the message just found does not lose the walk's place.
        ASSERT_EQ(mapiDeleteMail(0, id), SUCCESS_SUCCESS);
    }
    EXPECT_EQ(result, MAPI_E_NO_MESSAGES);
    EXPECT_EQ(walk, (std::vector<std::string>{early, middle, late}));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(mailFiles(), std::vector<std::string>{"new/200.m.testhost"});
    EXPECT_EQ(mapiFindNext(0, kTimeSheet.c_str(), "", 0, id), MAPI_E_NO_MESSAGES);
    EXPECT_NE(mapiDeleteMail(0, late.c_str()), SUCCESS_SUCCESS) << "deleted already";
    EXPECT_TRUE(m_boxes.empty()) << "neither the end of the walk nor a delete shows a box";
}

TEST_F(BridgeTest, ReadFillsTheMessageAndMarksItReadUnlessPeeking) {
    const std::string id =
        deliver(1700000000, "r", mailText(kTimeSheet, "Week 46", "line one\r\nline two"));
    ASSERT_EQ(mapiLogon(0, "", "", 0), SUCCESS_SUCCESS);
    MapiMessage* message = nullptr;
    ASSERT_EQ(mapiReadMail(0, id.c_str(), MAPI_PEEK | MAPI_SUPPRESS_ATTACH, &message),
              SUCCESS_SUCCESS);
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(message->lpszSubject, "Week 46");
    EXPECT_STREQ(message->lpszNoteText, "line one\r\nline two");
    EXPECT_STREQ(message->lpszMessageType, kTimeSheet.c_str());
    EXPECT_STREQ(message->lpszDateReceived, "2023/11/14 22:13");
    EXPECT_EQ(message->flFlags, MAPI_UNREAD);
    ASSERT_NE(message->lpOriginator, nullptr);
    EXPECT_EQ(message->lpOriginator->ulRecipClass, MAPI_ORIG);
    EXPECT_STREQ(message->lpOriginator->lpszName, "Ann Archer");
    EXPECT_STREQ(message->lpOriginator->lpszAddress, "ann@example.org");
    ASSERT_EQ(message->nRecipCount, 1u);
    EXPECT_EQ(message->lpRecips[0].ulRecipClass, MAPI_TO);
    EXPECT_STREQ(message->lpRecips[0].lpszName, "Hub Desk");
    EXPECT_STREQ(message->lpRecips[0].lpszAddress, "hub@example.org");
    EXPECT_EQ(message->nFileCount, 0u);
    EXPECT_EQ(mapiFreeBuffer(message), SUCCESS_SUCCESS);
    EXPECT_EQ(mapiFreeBuffer(message), MAPI_E_FAILURE) << "a block is freed once";
    EXPECT_EQ(mailFiles(), std::vector<std::string>{"new/" + id});

    // A read reports the message unread as it was before, then a peek finds it read.
    for (const FLAGS unread : {FLAGS{MAPI_UNREAD}, FLAGS{0}}) {
        ASSERT_EQ(mapiReadMail(0, id.c_str(), unread ? 0 : MAPI_PEEK, &message), SUCCESS_SUCCESS);
        EXPECT_EQ(message->flFlags, unread);
        mapiFreeBuffer(message);
    }
    EXPECT_EQ(mailFiles(), std::vector<std::string>{"cur/" + id + ":2,S"});
}

// A failing call, its code and the text of its box, with the cause the mail layer gave after it.
struct Failure {
    std::string name;
    std::function<ULONG(BridgeTest&)> call;
    ULONG code;
    std::string text;
    std::function<std::string(const BridgeTest&)> cause = nullptr;
};

void PrintTo(const Failure& failure, std::ostream* out) {
    *out << failure.name;
}

class FailureTest : public BridgeTest,
                    public ::testing::WithParamInterface<std::tuple<Failure, bool>> {};

ULONG readInto(const char* id) {
    MapiMessage* message = nullptr;
    const ULONG result = mapiReadMail(0, id, 0, &message);
    mapiFreeBuffer(message);
    return result;
}

ULONG sendOne(const char* from = "a@x.org", const char* to = "b@x.org") {
    return mapiSendMailEx(0, 0, "s", "n", "t", "A", from, "B", to);
}

ULONG logonThen(const std::function<ULONG()>& call, const char* profile = "") {
    return mapiLogon(0, profile, "", 0) == SUCCESS_SUCCESS ? call() : 99;
}

const Failure kFailures[] = {
    {"FindWithoutSession",
     [](BridgeTest&) {
         char id[OSX_MESSAGE_ID_SIZE];
         return mapiFindNext(0, "Transaction file", "", 0, id);
     },
     MAPI_E_INVALID_SESSION, "Invalid MAPI session"},
    {"ReadWithoutSession", [](BridgeTest&) { return readInto("1.a.b"); }, MAPI_E_INVALID_SESSION,
     "Invalid MAPI session"},
    {"LogoffWithoutSession", [](BridgeTest&) { return mapiLogoff(0, 0); }, MAPI_E_INVALID_SESSION,
     "Invalid MAPI session"},
    {"SendWithoutSession", [](BridgeTest&) { return sendOne(); }, MAPI_E_INVALID_SESSION,
     "Invalid MAPI session"},
    {"UnknownProfile", [](BridgeTest&) { return mapiLogon(0, "Nowhere", "", 0); },
     MAPI_E_LOGIN_FAILURE, "MAPI login procedure failed"},
    {"NotAMaildir",
     [](BridgeTest& t) {
         std::filesystem::remove_all(t.m_dir.file("Other/cur"));
         return mapiLogon(0, "Other", "", 0);
     },
     MAPI_E_FAILURE, "General MAPI Failure"},
    {"ReadUnknownMessage", [](BridgeTest&) { return logonThen([] { return readInto("9.x.y"); }); },
     MAPI_E_FAILURE, "General MAPI Failure"},
    {"ReadTooBig",
     [](BridgeTest& t) {
         // Over 4 MiB and sparse: a header, then a hole.
         const std::string id = t.deliver(100, "big", mailText(kTimeSheet, "big", "x"));
         std::filesystem::resize_file(t.m_dir.file("Maildir/new/" + id), 5 * 1024 * 1024);
         return logonThen([&id] { return readInto(id.c_str()); });
     },
     MAPI_E_INVALID_MESSAGE, "The message is not valid"},
    {"SendFails", [](BridgeTest&) { return logonThen([] { return sendOne(); }, "Other"); },
     MAPI_E_FAILURE, "General MAPI Failure",
     [](const BridgeTest& t) {
         return "the mail program " + t.m_dir.file("failing-sendmail") +
                " did not take the message";
     }},
    {"SendToTwoAddresses",
     [](BridgeTest&) { return logonThen([] { return sendOne("a@x.org", "b@x.org, c@x.org"); }); },
     MAPI_E_INVALID_RECIPS,
     "One or more recipients are invalid: \"b@x.org, c@x.org\" is not one e-mail address"},
    {"SendFromNobody", [](BridgeTest&) { return logonThen([] { return sendOne(""); }); },
     MAPI_E_INVALID_RECIPS, "One or more recipients are invalid: the sender's address is empty"},
    {"SendWithoutRecipient",
     [](BridgeTest&) {
         return logonThen([] {
             const MapiMessage message{};
             return mapiSendMail(0, &message, 0);
         });
     },
     MAPI_E_INVALID_RECIPS, "One or more recipients are invalid: the message has no recipient"},
};

TEST_P(FailureTest, ShowsItsTextUnlessMessagesAreSuppressed) {
    const auto& [failure, suppressed] = GetParam();
    mapiSuppressMessages(suppressed ? 1 : 0);
    EXPECT_EQ(failure.call(*this), failure.code);
    EXPECT_FALSE(exists(m_dir.file("sent.args"))) << "a failing call sent nothing";
    if (suppressed) {
        EXPECT_TRUE(m_boxes.empty());
    } else {
        const std::string cause = failure.cause ? ": " + failure.cause(*this) : "";
        EXPECT_EQ(m_boxes, (std::vector<Box>{{"Error", failure.text + cause}}));
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, FailureTest,
                         ::testing::Combine(::testing::ValuesIn(kFailures), ::testing::Bool()),
                         [](const auto& entry) {
                             return std::get<0>(entry.param).name +
                                    (std::get<1>(entry.param) ? "Suppressed" : "Shown");
                         });

// The value of the message's identifier field; sendmail is handed LF line ends.
std::string messageId(const std::string& mail) {
    const auto start = mail.find("\nMessage-Id: ");
    return start == std::string::npos ? "" : mail.substr(start, mail.find('\n', start + 1) - start);
}

TEST_F(BridgeTest, SendMailExHandsTheComposedMessageToSendmail) {
    ASSERT_EQ(mapiLogonEx(0, "", "", MAPI_LOGON_UI | MAPI_NEW_SESSION), SUCCESS_SUCCESS);
    const std::string body = timeSheetBody(
        "desk 7", "1", {{"11/14/2023", "09:00", "10:30", "3", "12", "Caf\xC3\xA9 = notes "}});
    // The sender as the tracker gives it, name and address alike: the one in brackets is sent to.
    const char* sender = "Ann Archer <ann@example.org>";
    ASSERT_EQ(mapiSendMailEx(0, 0, "Week 46", body.c_str(), kTimeSheet.c_str(), sender, sender,
                             "Hub Desk", "SMTP:Hub Desk <hub@example.org>"),
              SUCCESS_SUCCESS);
    const std::vector<std::string> args = linesOf(readBytes(m_dir.file("sent.args")));
    EXPECT_NE(std::find(args.begin(), args.end(), "hub@example.org"), args.end());
    const std::string sent = readBytes(m_dir.file("sent.mail"));
    const std::string firstId = messageId(sent);
    EXPECT_NE(firstId, "");

    // The message as the receiving side decodes it: delivered, then read through the library.
    const std::string id = deliver(500, "sent", sent);
    MapiMessage* message = nullptr;
    ASSERT_EQ(mapiReadMail(0, id.c_str(), MAPI_PEEK, &message), SUCCESS_SUCCESS);
    EXPECT_EQ(std::string(message->lpszNoteText), body);
    EXPECT_STREQ(message->lpszSubject, "Week 46");
    EXPECT_STREQ(message->lpszMessageType, kTimeSheet.c_str());
    EXPECT_STREQ(message->lpOriginator->lpszName, "Ann Archer");
    EXPECT_STREQ(message->lpOriginator->lpszAddress, "ann@example.org");
    ASSERT_EQ(message->nRecipCount, 1u);
    EXPECT_STREQ(message->lpRecips[0].lpszName, "Hub Desk");
    EXPECT_STREQ(message->lpRecips[0].lpszAddress, "hub@example.org");
    mapiFreeBuffer(message);

    // A message of the caller's own goes to every recipient at once; blind copies are in no field.
    MapiRecipDesc recipients[] = {
        {0, MAPI_CC, const_cast<char*>("Copy"), const_cast<char*>("copy@example.org"), 0, nullptr},
        {0, MAPI_TO, const_cast<char*>("Hub"), const_cast<char*>("SMTP:hub2@example.org"), 0,
         nullptr},
        {0, MAPI_BCC, nullptr, const_cast<char*>("blind@example.org"), 0, nullptr}};
    MapiRecipDesc from{0, MAPI_ORIG, const_cast<char*>("Ann"), const_cast<char*>("ann@example.org"),
                       0, nullptr};
    MapiMessage own{};
    own.lpszSubject = const_cast<char*>("Second");
    own.lpszNoteText = const_cast<char*>("text");
    own.lpOriginator = &from;
    own.nRecipCount = 3;
    own.lpRecips = recipients;
    ASSERT_EQ(mapiSendMail(0, &own, 0), SUCCESS_SUCCESS);
    EXPECT_EQ(
        readBytes(m_dir.file("sent.args")),
        "-i\n-f\nann@example.org\n--\ncopy@example.org\nhub2@example.org\nblind@example.org\n");
    const std::string second = readBytes(m_dir.file("sent.mail"));
    EXPECT_NE(second.find("\nSubject: Second\n"), std::string::npos);
    EXPECT_NE(second.find("\nTo: \"Hub\" <hub2@example.org>\n"), std::string::npos) << second;
    EXPECT_NE(second.find("\nCc: \"Copy\" <copy@example.org>\n"), std::string::npos) << second;
    EXPECT_EQ(second.find("blind"), std::string::npos);
    EXPECT_EQ(second.find("X-Message-Type"), std::string::npos);
    EXPECT_NE(messageId(second), firstId);
    EXPECT_TRUE(m_boxes.empty());
    recipients[2].ulRecipClass = MAPI_ORIG;
    EXPECT_EQ(mapiSendMail(0, &own, 0), MAPI_E_BAD_RECIPTYPE);
}

class ComposerTest : public BridgeTest {
protected:
    std::string m_bin = m_dir.file("bin");
    ScopedEnv m_path{"PATH", m_bin};
};

TEST_F(ComposerTest, PresentStartsTheDesktopComposer) {
    std::filesystem::create_directories(m_bin);
    const std::string out = m_dir.file("composer.args");
    writeScript(m_bin + "/xdg-email", "printf '%s\\n' \"$@\" > '" + out + ".part'\n/bin/mv '" +
                                          out + ".part' '" + out + "'\n");
    ASSERT_EQ(mapiPresentEmailWithUI(0, "SMTP:hub@example.org", "A subject", "A body"),
              SUCCESS_SUCCESS);
    // Detached: the library does not wait for it, so the test polls for what it wrote.
    for (int i = 0; i < 200 && !exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(exists(out));
    EXPECT_EQ(linesOf(readBytes(out)), (std::vector<std::string>{"--subject", "A subject", "--body",
                                                                 "A body", "hub@example.org"}));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ComposerTest, WithoutAComposerPresentFailsWithItsBox) {
    EXPECT_EQ(mapiPresentEmailWithUI(0, "hub@example.org", "s", "b"), MAPI_E_FAILURE);
    EXPECT_EQ(m_boxes, (std::vector<Box>{{"Error", "General MAPI Failure"}}));
}

// The table itself, refusals and stale cells included, is the parser's; here, the exports over it.
TEST_F(BridgeTest, MessageBodyExportsShowTheParsedTable) {
    std::string body = timeSheetBody("desk 7", "2", {{"a", "b"}, {"c", "d"}});
    EXPECT_EQ(msgParseMessage(body.data(), 2), 1);
    EXPECT_STREQ(msgGetResourceName(), "desk 7");
    EXPECT_EQ(msgGetRecordCount(), 2);
    EXPECT_STREQ(msgGetMessageField(1, 0), "c");
    EXPECT_STREQ(msgGetMessageField(1, 1), "d");
    ASSERT_EQ(Debug(), OSX_IDOK);
    ASSERT_EQ(m_boxes.size(), 200u);
    EXPECT_EQ(m_boxes[0], (Box{"Test", "a"}));
    EXPECT_EQ(m_boxes[3], (Box{"Test", "d"}));
    EXPECT_EQ(m_boxes[4], (Box{"Test", ""}));
    DeInitMAPI();
    EXPECT_STREQ(msgGetMessageField(0, 0), "a") << "the table outlives the session";
    EXPECT_EQ(msgParseMessage(nullptr, 2), 0);
    EXPECT_STREQ(msgGetResourceName(), "");
}

} // namespace
} // namespace vsolo::testing
