// DLLUpdateRemote: time sheets of a Maildir collected into a hand-off file whose expected bytes
// are built field by field here.

#include "bridgefixture.h"
#include "tests/support/bytebuilder.h"
#include "tests/support/joined.h"

#include <climits>

namespace vsolo::testing {
namespace {

const std::string kTimeSheet = "Transaction file";

// The legacy hand-off record: name 9, level-1 key, level-2 key, date 11, start 6, date 11, end 6,
// description 61.
std::string handOff(const std::string& name, std::int32_t l1, std::int32_t l2,
                    const std::string& date, const std::string& start, const std::string& end,
                    const std::string& description) {
    return ByteBuilder()
        .fixed(name, 9)
        .i32(l1)
        .i32(l2)
        .fixed(date, 11)
        .fixed(start, 6)
        .fixed(date, 11)
        .fixed(end, 6)
        .fixed(description, 61)
        .bytes();
}

// A time-sheet message of one resource.
std::string sheet(const std::string& resource, const std::string& count,
                  const std::vector<std::vector<std::string>>& rows) {
    return mailText(kTimeSheet, kTimeSheet, timeSheetBody(resource, count, rows));
}

const std::vector<std::string> kDigits{"1", "2", "3", "4", "5", "6"};

using UpdateRemoteTest = BridgeTest;

TEST_F(UpdateRemoteTest, AppendsTheTimeSheetsAndLeavesEverythingElse) {
    const std::string file = m_dir.file("hub.dat");
    const std::string kept("KEEP\0me", 7);
    writeBytes(file, kept);
    deliver(100, "a",
            sheet("desk 7", "2",
                  {{"11/14/2023", "09:00", "10:30", "3", "12", "Caf\xC3\xA9 notes"},
                   {"11/14/2023", "10:30", "11:00", "99999999999", " -5", std::string(70, 'x')}}));
    deliver(150, "b",
            mailText("Assignment Update 4.0", "update", timeSheetBody("desk 7", "1", {kDigits})));
    deliver(200, "c", mailText(kTimeSheet, kTimeSheet, "no header at all"));
    deliver(250, "d", sheet("desk 7", "3", {kDigits, kDigits}));
    deliver(300, "e", sheet("Longname12", "1", {{"11/15/2023", "08:00", "08:15", "1", "2", ""}}));
    // Too big to be read: a time sheet all the same, named as the others.
    deliver(400, "f", mailText(kTimeSheet, "=?utf-8?Q?Week=0A46?=", "x"));
    std::filesystem::resize_file(m_dir.file("Maildir/new/400.f.testhost"), 5 * 1024 * 1024);

    ASSERT_EQ(DLLUpdateRemote(file.c_str(), "", ""), 2) << "collected, but not all";
    EXPECT_EQ(
        readBytes(file),
        kept + handOff("desk 7", 3, 12, "11/14/2023", "09:00", "10:30", "Caf\xE9 notes") +
            handOff("desk 7", INT32_MAX, -5, "11/14/2023", "10:30", "11:00", std::string(60, 'x')) +
            handOff("Longname", 1, 2, "11/15/2023", "08:00", "08:15", ""));
    EXPECT_EQ(mailFiles(), (std::vector<std::string>{"new/150.b.testhost", "new/200.c.testhost",
                                                     "new/250.d.testhost", "new/400.f.testhost"}))
        << "other types and time sheets that cannot be read stay, unread";
    const std::string from = "from Ann Archer <ann@example.org>, received 1970/01/01 00:0";
    EXPECT_EQ(m_boxes,
              (std::vector<Box>{{"Error", "The message is not valid"},
                                {"Warning", "Time-sheet messages left in the mailbox because they "
                                            "could not be read as time sheets: 3\n" +
                                                from + "3, subject \"Transaction file\"\n" + from +
                                                "4, subject \"Transaction file\"\n" + from +
                                                "6, subject \"Week 46\""}}));
    char id[OSX_MESSAGE_ID_SIZE];
    EXPECT_EQ(mapiFindNext(0, kTimeSheet.c_str(), "", 0, id), MAPI_E_INVALID_SESSION)
        << "it logs off";
}

TEST_F(UpdateRemoteTest, CollectsAnyNumberOfMessages) {
    constexpr int kCount = 600;
    for (int i = 0; i < kCount; ++i) {
        deliver(1000 + i, joined({"m", std::to_string(i)}),
                sheet("r", "1", {{"1/2/2024", "09:00", "09:30", std::to_string(i), "7", "d"}}));
    }
    const std::string file = m_dir.file("new.dat");
    ASSERT_EQ(DLLUpdateRemote(file.c_str(), "Desk", ""), 1);
    const std::string bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), kCount * 112u);
    for (int i = 0; i < kCount; i += 97) {
        EXPECT_EQ(bytes.substr(i * 112u, 112),
                  handOff("r", i, 7, "1/2/2024", "09:00", "09:30", "d"))
            << "record " << i << " in the order of delivery";
    }
    EXPECT_TRUE(mailFiles().empty());
    EXPECT_TRUE(m_boxes.empty());
}

// A collection that cannot be done: where it writes, which profile, and the caption of its box.
struct FailedCollect {
    std::string name;
    std::string file; // "@" stands for the temporary folder
    std::string profile;
    bool brokenProfiles;
    std::string caption;
};

void PrintTo(const FailedCollect& c, std::ostream* out) {
    *out << c.name;
}

class FailedCollectTest : public BridgeTest, public ::testing::WithParamInterface<FailedCollect> {};

TEST_P(FailedCollectTest, ReturnsZeroAndDeletesNothing) {
    const FailedCollect& c = GetParam();
    deliver(100, "a", sheet("r", "1", {kDigits}));
    if (c.brokenProfiles) {
        writeProfiles("[Desk]\nStore=nothing\n");
    }
    std::string file = c.file;
    if (file[0] == '@') {
        file = m_dir.path() + file.substr(1);
    }
    EXPECT_EQ(DLLUpdateRemote(file.c_str(), c.profile.c_str(), ""), 0);
    EXPECT_EQ(mailFiles(), std::vector<std::string>{"new/100.a.testhost"});
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, c.caption) << m_boxes[0].text;
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailedCollectTest,
    ::testing::Values(FailedCollect{"WriteFails", "/dev/full", "", false, "Error"},
                      FailedCollect{"NoFolder", "@/missing/hub.dat", "", false, "Error"},
                      FailedCollect{"UnknownProfile", "@/hub.dat", "Nowhere", false, "Error"},
                      FailedCollect{"BrokenProfiles", "@/hub.dat", "", true, "MAPI Error"}),
    [](const auto& entry) { return entry.param.name; });

} // namespace
} // namespace vsolo::testing
