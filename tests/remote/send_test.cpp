#include "core/remote/mailport.h"
#include "core/remote/remotetexts.h"
#include "core/remote/timesheetsend.h"
#include "sendfixture.h"
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace vsolo::testing {
namespace {

using remote::AfterSend;
using remote::SendResult;
using Outcome = SendResult::Outcome;

const TimeValue kFrom = date(2024, 5, 6);
const TimeValue kTo = date(2024, 5, 9);

// The body of the fixture's unsent transactions of May 6 to 9, as the server is to receive it.
std::string expectedBody() {
    return std::string("work\x01\x01"
                       "4\x01\x01"
                       "05/06/2024||08:00||15:00||1||1||call\x02"
                       "client\x01\x01"
                       "05/07/2024||08:00||12:00||1||2||notes\x01\x01"
                       "05/07/2024||12:00||16:00||2||3||\x01\x01"
                       "05/08/2024||08:00||17:00||2||3||Caf\xC3\xA9\x02plan\x01\x01");
}

// A mail port that records the calls and answers as told.
class ScriptedPort final : public remote::MailPort {
public:
    bool initWorks = true;
    unsigned long logonCode = 0;
    unsigned long sendCode = 0;
    std::vector<std::string> calls;

    bool init() override {
        calls.push_back("init");
        return initWorks;
    }
    void deinit() override { calls.push_back("deinit"); }
    unsigned long logon(const std::string& profile, const std::string& password,
                        bool askUser) override {
        calls.push_back("logon " + profile + " " + password + (askUser ? " ask" : ""));
        return logonCode;
    }
    void logoff() override { calls.push_back("logoff"); }
    std::string failureCause() override { return cause; }
    std::string cause;
    unsigned long send(const std::string& subject, const std::string& body,
                       const std::string& messageType, const std::string& sender,
                       const std::string& receiver) override {
        calls.push_back("send " + subject + "|" + messageType + "|" + sender + "|" + receiver);
        sentBody = body;
        return sendCode;
    }
    unsigned long findNext(const std::string&, const std::string&, std::string&) override {
        return remote::kMailNoMessages;
    }
    unsigned long read(const std::string&, std::string&, std::string&) override { return 1; }
    unsigned long envelope(const std::string&, std::string&, std::string&, std::string&) override {
        return 1;
    }
    unsigned long remove(const std::string&) override { return 1; }
    remote::BodyTable parse(const std::string&, int) override { return {}; }

    std::string sentBody;
};

class SendTest : public SendFixture {
public:
    void SetUp() override {
        SendFixture::SetUp();
        file.setPath(tpl());
        ASSERT_TRUE(file.load(tpl()).ok());
        ASSERT_TRUE(file.loadTransactions().ok());
    }

    remote::SendSettings byMail(const std::string& profile = "Desk") const {
        remote::SendSettings how;
        how.byMail = true;
        how.profile = profile;
        how.sender = "ann@example.org";
        how.receiver = "hub@example.org";
        how.askUser = false;
        return how;
    }

    TransactionStore::DayRange range() const { return file.store().dayRange(kFrom, kTo); }

    TemplateFile file;
};

TEST_F(SendTest, AdvisesTheUnsentDaysOutsideTheDailyHours) {
    const auto advised =
        remote::advisedDays(file.store(), file.store().allDays(), hm(7, 30), hm(8, 30));
    // 7:00 and 9:00 are advised; 8:00 is within; the 9:00 day sent before and the 1:00 day of
    // May 10 are advised only when unsent: May 10 is.
    ASSERT_EQ(advised.size(), 3u);
    EXPECT_EQ(remote::advisedDateText(advised[0]), "Monday, May 6, 2024");
    EXPECT_EQ(remote::advisedHoursText(advised[0]), "7:00");
    EXPECT_EQ(remote::advisedDateText(advised[1]), "Wednesday, May 8, 2024");
    EXPECT_EQ(remote::advisedHoursText(advised[1]), "9:00");
    EXPECT_EQ(advised[2].date, date(2024, 5, 10));
    EXPECT_EQ(remote::advisoryHeading(hm(7, 30), hm(8, 30)),
              "The following days have less than 7:30 or more than 8:30 hours:");
    EXPECT_TRUE(remote::advisedDays(file.store(), range(), hm(0, 0), hm(0, 0)).empty());
}

TEST_F(SendTest, BuildsTheBodyOfTheUnsentTransactions) {
    const auto unsent = remote::unsentTransactions(file.store(), range());
    const remote::BodyResult body = remote::timeSheetBody("work", unsent);
    ASSERT_EQ(body.outcome, remote::BodyResult::Outcome::Built);
    EXPECT_EQ(body.body, expectedBody());
}

TEST_F(SendTest, RefusesABodyPastTheLimitAndTextsItCannotCarry) {
    // "work" SOH SOH "200" SOH SOH is 11 bytes and each record 34 besides its description:
    // descriptions of 43,189 bytes in all make a body of exactly 50,000 bytes.
    const Transaction wide(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, std::string(217, 'w'));
    Transaction last(date(2024, 5, 6), hm(9, 0), hm(10, 0), 1, 1, std::string(6, 'l'));
    std::vector<const Transaction*> many(199, &wide);
    many.push_back(&last);
    const remote::BodyResult full = remote::timeSheetBody("work", many);
    EXPECT_EQ(full.outcome, remote::BodyResult::Outcome::Built);
    EXPECT_EQ(full.body.size(), remote::kMaxBodyBytes);
    last.setDescription(std::string(7, 'l'));
    const remote::BodyResult over = remote::timeSheetBody("work", many);
    EXPECT_EQ(over.outcome, remote::BodyResult::Outcome::TooLong);
    EXPECT_TRUE(over.body.empty());

    const Transaction control(date(2024, 5, 6), hm(8, 0), hm(9, 0), 1, 1, "a\x01");
    EXPECT_EQ(remote::timeSheetBody("work", {&control}).outcome,
              remote::BodyResult::Outcome::UnsendableText);
}

TEST_F(SendTest, CallsTheMailBridgeInOrderAndExaminesEveryResult) {
    ScriptedPort port;
    remote::SendSettings how = byMail("Desk");
    how.password = "pw";
    how.askUser = true;
    SendResult result = remote::sendTimeSheet(file, kFrom, kTo, how, port);
    EXPECT_EQ(result.outcome, Outcome::Sent);
    EXPECT_EQ(result.sent, 4u);
    EXPECT_EQ(port.calls,
              (std::vector<std::string>{"init", "logon Desk pw ask",
                                        "send Transaction file|Transaction file|ann@example.org|"
                                        "hub@example.org",
                                        "logoff", "deinit"}));
    EXPECT_EQ(port.sentBody, expectedBody());

    struct Case {
        bool initWorks;
        unsigned long logonCode;
        unsigned long sendCode;
        Outcome outcome;
        std::string_view text;
    };
    for (const Case& c : {Case{false, 0, 0, Outcome::MailUnusable, remote::text::kMailUnusable},
                          Case{true, 3, 0, Outcome::LogonFailed, remote::text::kLogonFailed},
                          Case{true, 0, 2, Outcome::MailFailed, remote::text::kMailSendFailed}}) {
        ScriptedPort failing;
        failing.initWorks = c.initWorks;
        failing.logonCode = c.logonCode;
        failing.sendCode = c.sendCode;
        result = remote::sendTimeSheet(file, kFrom, kTo, how, failing);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(remote::sendResultText(result), c.text);
        EXPECT_EQ(result.sent, 0u);
        // Whatever opened is closed again.
        const bool opened = c.initWorks;
        EXPECT_EQ(!failing.calls.empty() && failing.calls.back() == "deinit", opened);
    }
    EXPECT_EQ(remote::unsentTransactions(file.store(), range()).size(), 4u);

    ScriptedPort refused;
    refused.logonCode = 3;
    refused.cause = "the server refused the user name or password";
    EXPECT_EQ(remote::sendResultText(remote::sendTimeSheet(file, kFrom, kTo, how, refused)),
              std::string(remote::text::kLogonFailed) +
                  "\r\n\r\nThe mail bridge gives the cause: " + refused.cause + ".");
}

TEST_F(SendTest, AnAddressTheBridgeWouldNotSendToIsNamedBeforeAnythingHappens) {
    ScriptedPort port;
    remote::SendSettings how = byMail();
    how.receiver = "Veltimo Hub, boss@example.org";
    const SendResult result = remote::sendTimeSheet(file, kFrom, kTo, how, port);
    EXPECT_EQ(result.outcome, Outcome::InvalidAddress);
    EXPECT_TRUE(port.calls.empty());
    how.sender = "";
    EXPECT_EQ(remote::sendResultText(*remote::refusedAddress(how)),
              "The From Address in Preferences (Remote Options) is empty. Please enter an e-mail "
              "address such as name@example.org. Nothing was sent; your time sheet is unchanged.");
}

// ---------------------------------------------------------------------------------------------
// The port over the bridge library: its table of cells and its boxes.

using BridgePortTest = SendFixture;

TEST_F(BridgePortTest, ParseCopiesTheCompleteRecordsOnly) {
    const auto port = remote::makeBridgePort();
    // Two whole records, a line break a mail system put in, and a third record cut short.
    const std::string body =
        timeSheetBody("work", "3",
                      {{"05/06/2024", "08:00", "09:00", "1", "1", "call client"},
                       {"05/07/2024", "10:00", "11:00", "2", "3", ""}}) +
        "05/08/2024||08:00||";
    const std::string wrapped = body.substr(0, 20) + "\r\n" + body.substr(20);
    const remote::BodyTable table = port->parse(wrapped, 6);
    ASSERT_TRUE(table.parsed);
    EXPECT_EQ(table.resourceName, "work");
    EXPECT_EQ(table.recordCount, 3);
    EXPECT_EQ(table.rows, (std::vector<std::vector<std::string>>{
                              {"05/06/2024", "08:00", "09:00", "1", "1", "call client"},
                              {"05/07/2024", "10:00", "11:00", "2", "3", ""}}));

    const remote::BodyTable notATable = port->parse("no table here", 6);
    EXPECT_FALSE(notATable.parsed);
    EXPECT_TRUE(notATable.rows.empty());
}

TEST_F(BridgePortTest, TheLibrarysBoxesGoThroughThePrompter) {
    ScriptedPrompter prompter;
    remote::showMailBoxesThrough(&prompter);
    const auto port = remote::makeBridgePort();
    ASSERT_EQ(port->logon("Other", "", false), remote::kMailSuccess);
    EXPECT_NE(port->send("s", "b", "Transaction file", "ann@example.org", "hub@example.org"),
              remote::kMailSuccess);
    EXPECT_EQ(port->failureCause(),
              "the mail program " + m_dir.file("failing-sendmail") + " did not take the message");
    port->logoff();
    ASSERT_EQ(prompter.entries().size(), 1u);
    EXPECT_EQ(prompter.entries()[0].icon, Prompter::Icon::Stop);
    EXPECT_FALSE(prompter.entries()[0].text.empty());
    EXPECT_TRUE(m_boxes.empty());

    remote::showMailBoxesThrough(nullptr);
}

// ---------------------------------------------------------------------------------------------
// The whole send through the mail bridge or the hand-off files, then kept or deleted.

enum class Way { Mail, HandOff };

class SendWayTest : public SendTest,
                    public ::testing::WithParamInterface<std::tuple<Way, AfterSend>> {
public:
    Way way() const { return std::get<0>(GetParam()); }
    AfterSend after() const { return std::get<1>(GetParam()); }
    remote::SendSettings how() const {
        if (way() == Way::Mail) {
            return byMail();
        }
        remote::SendSettings handOff;
        handOff.byMail = false;
        return handOff;
    }

    // What the server received, as it reads it: the mail's body, or the two hand-off files.
    std::string receivedMailBody() {
        const std::string id =
            deliver(900, "sent", readBytes(m_dir.file("sent.mail")), "new", "Other");
        // The Other profile's Maildir holds the delivered copy; the library reads it.
        std::string body;
        const auto port = remote::makeBridgePort();
        EXPECT_TRUE(port->init());
        EXPECT_EQ(port->logon("Other", "", false), remote::kMailSuccess);
        std::string dateReceived;
        EXPECT_EQ(port->read(id, body, dateReceived), remote::kMailSuccess);
        port->logoff();
        port->deinit();
        return body;
    }
};

TEST_P(SendWayTest, SendsEachTransactionOnceThenKeepsOrDeletesTheDays) {
    auto port = remote::makeBridgePort();
    const SendResult result = remote::sendTimeSheet(file, kFrom, kTo, how(), *port);
    ASSERT_EQ(result.outcome, Outcome::Sent) << remote::sendResultText(result);
    EXPECT_EQ(result.sent, 4u);
    ASSERT_TRUE(remote::finishSend(file, kFrom, kTo, after()).ok());

    const std::vector<V4Record> expectedFile =
        after() == AfterSend::Keep ? withSent(sendRecords(), {0, 1, 2, 3}) : only({5});
    EXPECT_EQ(readBytes(trs()), records(transactionHeader(), expectedFile));

    std::string handedOff = transactionHeader();
    for (const V4Record& r : only({0, 1, 2, 3})) {
        handedOff += handOffRecord("work", r);
    }
    if (way() == Way::Mail) {
        EXPECT_EQ(receivedMailBody(), expectedBody());
        EXPECT_FALSE(exists(transDat()));
    } else {
        EXPECT_EQ(readBytes(transDat()), handedOff);
        EXPECT_EQ(readBytes(logDat()), handedOff);
    }

    // A second send of the range finds nothing left to send, so nothing goes twice.
    EXPECT_EQ(remote::sendTimeSheet(file, kFrom, kTo, how(), *port).outcome,
              Outcome::NothingToSend);
    if (way() == Way::HandOff) {
        EXPECT_EQ(readBytes(transDat()), handedOff);
    }
    EXPECT_TRUE(m_boxes.empty());
}

TEST_P(SendWayTest, AFailedSendChangesNothing) {
    const std::string before = readBytes(trs());
    remote::SendSettings way = how();
    if (this->way() == Way::Mail) {
        way.profile = "Other"; // its sendmail stand-in exits 1
    } else {
        ASSERT_EQ(::mkdir(logDat().c_str(), 0755), 0);
    }
    auto port = remote::makeBridgePort();
    const SendResult result = remote::sendTimeSheet(file, kFrom, kTo, way, *port);
    EXPECT_EQ(result.outcome,
              this->way() == Way::Mail ? Outcome::MailFailed : Outcome::HandOffFailed);
    EXPECT_EQ(remote::unsentTransactions(file.store(), range()).size(), 4u);
    EXPECT_EQ(file.store().count(), sendRecords().size());
    EXPECT_EQ(readBytes(trs()), before);
    EXPECT_FALSE(exists(transDat()));
}

INSTANTIATE_TEST_SUITE_P(WaysAndAnswers, SendWayTest,
                         ::testing::Combine(::testing::Values(Way::Mail, Way::HandOff),
                                            ::testing::Values(AfterSend::Keep, AfterSend::Delete)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param) == Way::Mail ? "Mail"
                                                                                      : "HandOff") +
                                    (std::get<1>(param.param) == AfterSend::Keep ? "Keep"
                                                                                 : "Delete");
                         });

} // namespace
} // namespace vsolo::testing
