#include "assignmentsfixture.h"
#include "core/base/placeholders.h"
#include "core/remote/remotetexts.h"
#include "core/tracker.h"
#include "tests/support/allowingview.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

namespace vsolo::testing {
namespace {

using Outcome = remote::AssignmentResult::Outcome;

// A template of each format and the update that lists one level-1 and one level-2 item named
// after the number.
struct Format {
    const char* label;
    const char* type;
    std::string bytes;
    Rows (*rows)(int number);
};

Rows legacyRows(int n) {
    return {{std::to_string(n), "P " + std::to_string(n), " ", std::to_string(100 + n),
             "A " + std::to_string(n), " "}};
}

Rows treeRows(int n) {
    return {v4Row(n, 0, 0, 0, 1, "P " + std::to_string(n)),
            v4Row(n, 0, 100 + n, 1, 2, "A " + std::to_string(n))};
}

const Format kFormats[] = {
    {"Legacy", "Assignment Update 2.0",
     legacyTemplate(kTag512Bytes, {{1, "Old", "d"}}, {{2, "OldA", "d"}}, {{1, 2}}), legacyRows},
    {"Tree", "Assignment Update 4.0",
     v4Template("MSProject File", 2, 3,
                {{.group = 1, .name = "Old"},
                 {.group = 1, .subId = 2, .depth = 1, .level = 2, .name = "OldA"}}),
     treeRows},
};

class BothFormats : public AssignmentsTest, public ::testing::WithParamInterface<Format> {};

TEST_P(BothFormats, NewestUpdateIsAppliedAndEverySupersededOneDeleted) {
    load(GetParam().bytes);
    EXPECT_EQ(remote::assignmentMessageType(file), GetParam().type);
    const std::string other =
        deliverUpdate(8, GetParam().type, updateBody("Elsewhere", GetParam().rows(7)), "o");
    deliverUpdate(9, GetParam().type, updateBody("Desk", GetParam().rows(9)), "a");
    deliverUpdate(10, GetParam().type, updateBody("dESK", GetParam().rows(10)), "b");
    deliverUpdate(11, GetParam().type, updateBody("DESK", GetParam().rows(11)), "c");

    const remote::AssignmentResult result = check();
    EXPECT_EQ(result.outcome, Outcome::Applied) << result.reason;
    EXPECT_EQ(result.received, "2024/05/06 11:00");
    EXPECT_EQ(result.deleted, 3);
    EXPECT_EQ(mailFiles(), std::vector<std::string>{"new/" + other});
    TemplateFile reread;
    ASSERT_TRUE(reread.load(tpl()).ok());
    EXPECT_EQ(names(reread.level1()), "P 11");
    EXPECT_EQ(names(reread.level2()), "A 11");
}

TEST_P(BothFormats, RecordCountZeroEmptiesBothLists) {
    load(GetParam().bytes);
    deliverUpdate(9, GetParam().type, updateBody("Desk", {}), "a");
    EXPECT_EQ(check().outcome, Outcome::Applied);
    TemplateFile reread;
    ASSERT_TRUE(reread.load(tpl()).ok());
    EXPECT_TRUE(reread.level1().empty());
    EXPECT_TRUE(reread.level2().empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, BothFormats, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& c) { return c.param.label; });

// Alpha keeps its own 40%, whatever the update says; Gamma gets what it leaves of 100%.
TEST_F(AssignmentsTest, TreeUpdateKeepsExistingItemsHoldsTargetsTo100AndSavesTheTemplate) {
    load(v4Template("MSProject File", 2, 3,
                    {{.group = 1, .target = 40, .name = "Alpha"},
                     {.group = 1, .subId = 2, .depth = 1, .level = 2, .name = "Gone"}}));
    deliverUpdate(
        9, "Assignment Update 4.0",
        updateBody("Desk",
                   {v4Row(1, 0, 0, 0, 1, "Alpha renamed"), v4Row(5, 0, 0, 0, 1, "Gamma", 70),
                    v4Row(5, 0, 7, 1, 2, "Build it"), v4Row(5, 7, 8, 2, 2, "Sub")}),
        "a");
    const remote::AssignmentResult result = check();
    ASSERT_EQ(result.outcome, Outcome::Applied);
    EXPECT_EQ(remote::reducedTargetsText(result.reducedTargets),
              std::string(remote::text::kUpdateTargetsReduced) + "\r\nGamma: 70% to 60%");
    // The counters pass the numbers the update brought in.
    EXPECT_EQ(readBytes(tpl()),
              v4Template("MSProject File", 6, 9,
                         {{.group = 1, .target = 40, .name = "Alpha"},
                          {.group = 5, .target = 60, .name = "Gamma", .description = "d Gamma"},
                          {.group = 5,
                           .subId = 7,
                           .depth = 1,
                           .level = 2,
                           .name = "Build it",
                           .description = "d Build it"},
                          {.group = 5,
                           .parent = 7,
                           .subId = 8,
                           .depth = 2,
                           .level = 2,
                           .name = "Sub",
                           .description = "d Sub"}}));
}

TEST_F(AssignmentsTest, MessagesNestedTooDeeplyHoldBackNoUpdateAndAreToldOfAtOnce) {
    load(v4Template("MSProject File", 2, 3, {{.group = 1, .name = "Old"}}));
    std::string nested;
    for (int i = 0; i < 300; ++i) {
        nested += "--b\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n";
    }
    // A subject as anyone may send it: control characters, and longer than a line can show.
    const std::string subject = "a\x1b[1m\x7f =?utf-8?q?=C2=9B?= " + std::string(300, 'x');
    const std::string type = "Assignment Update 4.0";
    deliverUpdate(9, type, updateBody("Desk", treeRows(9)), "a");
    const std::string bad = deliver(1714953600L + 36000, "bad", mailText(type, subject, nested));
    const std::string worse = deliver(1714953600L + 43200, "worse", mailText(type, type, nested));
    deliverUpdate(11, type, updateBody("Desk", treeRows(11)), "c");
    const remote::AssignmentResult result = check();
    EXPECT_EQ(result.outcome, Outcome::Applied);
    EXPECT_EQ(result.received, "2024/05/06 11:00");
    EXPECT_EQ(remote::unreadableUpdatesText(result.unreadable),
              fillPlaceholders(remote::text::kUpdatesUnreadableLeft, {"2"}) +
                  "\r\nFrom Ann Archer <ann@example.org>, received 2024/05/06 10:00, subject \"a "
                  "[1m    " +
                  std::string(190, 'x') + "...\"\r\nFrom Ann Archer <ann@example.org>, received " +
                  "2024/05/06 12:00, subject \"Assignment Update 4.0\"");
    EXPECT_EQ(mailFiles(), (std::vector<std::string>{"new/" + bad, "new/" + worse}));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(AssignmentsTest, ADamagedProfileFileIsNamedInPlaceOfTheGeneralText) {
    writeProfiles("[Desk]\n");
    const remote::AssignmentResult result = check();
    EXPECT_EQ(result.outcome, Outcome::MailUnusable);
    EXPECT_NE(result.reason.find(profilePath() + " cannot be used: line 1"), std::string::npos);
}

TEST_F(AssignmentsTest, LegacyUpdateKeepsTheNamesOfItemsItStillLists) {
    load(legacyTemplate(kTag512Bytes, {{1, "Sales", "d"}, {3, "Dropped", "d"}}, {{2, "Call", "d"}},
                        {{1, 2}}));
    deliverUpdate(9, "Assignment Update 2.0",
                  updateBody("Desk", {{"1", "SALES new", " ", "2", "Call", " "},
                                      {"1", "SALES new", " ", "4", "Visit", "v"}}),
                  "a");
    ASSERT_EQ(check().outcome, Outcome::Applied);
    EXPECT_EQ(names(file.level1()), "Sales");
    EXPECT_EQ(names(file.level2()), "Call/Visit");
    ASSERT_EQ(file.level1().at(0)->assigned().size(), 2u);
    EXPECT_EQ(file.level1().at(0)->assigned()[1]->name(), "Visit");
}

// An update whose items do not make a tree, and what the user is told.
struct Broken {
    const char* label;
    Rows rows;
    std::string_view reason;
};

class BrokenUpdate : public AssignmentsTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenUpdate, IsRefusedAndChangesNothing) {
    load(v4Template("MSProject File", 2, 3,
                    {{.group = 1, .name = "Old"},
                     {.group = 1, .subId = 2, .depth = 1, .level = 2, .name = "OldA"}}));
    const std::string before = readBytes(tpl());
    const std::string id =
        deliverUpdate(9, "Assignment Update 4.0", updateBody("Desk", GetParam().rows), "a");
    const remote::AssignmentResult result = check();
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.reason, GetParam().reason);
    EXPECT_EQ(readBytes(tpl()), before);
    EXPECT_EQ(names(file.level2()), "OldA");
    EXPECT_EQ(mailFiles(), std::vector<std::string>{"new/" + id});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BrokenUpdate,
    ::testing::Values(Broken{"NoLevel1",
                             {v4Row(1, 0, 0, 0, 1, "P"), v4Row(2, 0, 5, 1, 2, "A")},
                             remote::text::kUpdateNoLevel1},
                      Broken{"NoParent",
                             {v4Row(1, 0, 0, 0, 1, "P"), v4Row(1, 9, 5, 2, 2, "A")},
                             remote::text::kUpdateNoParent},
                      Broken{"DuplicateKey",
                             {v4Row(1, 0, 0, 0, 1, "P"), v4Row(1, 0, 5, 1, 2, "A"),
                              v4Row(1, 0, 5, 1, 2, "B")},
                             remote::text::kUpdateDuplicateKey}),
    [](const ::testing::TestParamInfo<Broken>& c) { return c.param.label; });

TEST_F(AssignmentsTest, UpdateThatRemovesTheTrackedItemWaitsForTrackingToStop) {
    load(v4Template("MSProject File", 2, 3,
                    {{.group = 1, .name = "Old"},
                     {.group = 1, .subId = 2, .depth = 1, .level = 2, .name = "OldA"}}));
    const std::string before = readBytes(tpl());
    deliverUpdate(9, "Assignment Update 4.0", updateBody("Desk", treeRows(4)), "a");
    AllowingView view;
    Tracker tracker(systemClock());
    tracker.setViewTarget(&view);
    tracker.setItems(1, 2);
    ASSERT_TRUE(tracker.start(false));

    const remote::AssignmentResult waiting = check(&tracker);
    EXPECT_EQ(waiting.outcome, Outcome::WaitForTracking);
    EXPECT_EQ(readBytes(tpl()), before);
    EXPECT_EQ(mailFiles().size(), 1u);

    ASSERT_TRUE(tracker.stop());
    EXPECT_EQ(check(&tracker).outcome, Outcome::Applied);
    EXPECT_TRUE(mailFiles().empty());
}

// A mailbox in memory whose reads fail from a given message on; its bodies are parsed by the
// real library.
class ScriptedPort final : public remote::MailPort {
public:
    struct Message {
        std::string body;
        std::string date;
    };
    std::vector<Message> messages;
    std::size_t failingRead = SIZE_MAX;
    std::vector<std::string> removed;

    bool init() override { return m_real->init(); }
    void deinit() override { m_real->deinit(); }
    unsigned long logon(const std::string&, const std::string&, bool) override { return 0; }
    void logoff() override {}
    unsigned long send(const std::string&, const std::string&, const std::string&,
                       const std::string&, const std::string&) override {
        return 1;
    }
    unsigned long findNext(const std::string&, const std::string& seed, std::string& id) override {
        const std::size_t next = seed.empty() ? 0 : std::stoul(seed) + 1;
        if (next >= messages.size()) {
            return remote::kMailNoMessages;
        }
        id = std::to_string(next);
        return 0;
    }
    unsigned long read(const std::string& id, std::string& note, std::string& date) override {
        const std::size_t k = std::stoul(id);
        if (k >= failingRead) {
            return 1;
        }
        note = messages[k].body;
        date = messages[k].date;
        return 0;
    }
    unsigned long envelope(const std::string&, std::string&, std::string&, std::string&) override {
        return 1;
    }
    unsigned long remove(const std::string& id) override {
        removed.push_back(id);
        return 0;
    }
    remote::BodyTable parse(const std::string& body, int columns) override {
        return m_real->parse(body, columns);
    }

private:
    std::unique_ptr<remote::MailPort> m_real = remote::makeBridgePort();
};

TEST_F(AssignmentsTest, ReadThatFailsPassesOverTheMessage) {
    load(v4Template("MSProject File", 2, 3, {{.group = 1, .name = "Old"}}));
    ScriptedPort port;
    for (int n : {1, 2, 3}) {
        port.messages.push_back(
            {updateBody("Desk", treeRows(n)), "2024/05/06 0" + std::to_string(n) + ":00"});
    }
    port.failingRead = 2;
    const remote::AssignmentResult result = remote::checkAssignments(port, file, nullptr, "", "");
    EXPECT_EQ(result.outcome, Outcome::Applied);
    EXPECT_EQ(result.received, "2024/05/06 02:00");
    EXPECT_EQ(port.removed, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(names(file.level1()), "P 2");
}

TEST(ReceivedTime, IsReadByPositionAndRefusesBadTexts) {
    EXPECT_EQ(remote::receivedTime("1970/01/02 01:01"), 86400 + 3660);
    EXPECT_LT(*remote::receivedTime("2024/05/06 09:59"), *remote::receivedTime("2024/05/06 10:00"));
    for (const char* bad : {"", "2024/05/06 10:0", "2024/13/06 10:00", "2024/05/06 24:00",
                            "20x4/05/06 10:00", "2024/05/06 10:60"}) {
        EXPECT_EQ(remote::receivedTime(bad), std::nullopt) << bad;
    }
}

TEST(AssignmentUpdateBody, ListsTheItemsWithSpacesSentAsStx) {
    TemplateFile file;
    file.setFormat(TemplateFormat::Version4);
    LevelItem one;
    one.setGroupNumber(3);
    one.setName("Big job");
    file.level1().add(one);
    LevelItem two;
    two.setGroupNumber(3);
    two.setSubId(4);
    two.setDepth(1);
    two.setTarget(0);
    two.setActive(false);
    two.setName("Step");
    file.level2().add(two);
    std::string body;
    std::string reason;
    ASSERT_TRUE(remote::makeAssignmentUpdateBody(file, "My desk", body, reason)) << reason;
    EXPECT_EQ(body, std::string("My\x02"
                                "desk\x01\x01"
                                "2\x01\x01"
                                "3||0||0||0||T||1||0||Big\x02job||\x02||\x02\x01\x01"
                                "3||0||4||1||F||2||0||Step||\x02||\x02\x01\x01"));

    TemplateFile legacy;
    LevelItem project;
    project.setSubId(7);
    project.setName("P");
    LevelItem task;
    task.setSubId(8);
    task.setName("T");
    legacy.level1().add(project)->assign(legacy.level2().add(task));
    ASSERT_TRUE(remote::makeAssignmentUpdateBody(legacy, "Desk", body, reason)) << reason;
    EXPECT_EQ(body, std::string("Desk\x01\x01"
                                "1\x01\x01"
                                "7||P||\x02||8||T||\x02\x01\x01"));

    file.level1().at(0)->setName("a||b");
    EXPECT_FALSE(remote::makeAssignmentUpdateBody(file, "My desk", body, reason));
    EXPECT_EQ(reason, remote::text::kUpdateTextUnsendable);
    file.level1().at(0)->setName("ok");
    for (int i = 0; i < 3000; ++i) {
        file.level1().add(one);
    }
    EXPECT_FALSE(remote::makeAssignmentUpdateBody(file, "My desk", body, reason));
    EXPECT_EQ(reason, remote::text::kUpdateTooLarge);
}

} // namespace
} // namespace vsolo::testing
