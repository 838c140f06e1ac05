#include "core/model/daytotal.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace vsolo {
namespace {

using namespace testing;

struct DayTotalTest : ::testing::Test {
    TempDir dir;
    std::string trs = dir.file("work.trs");
    DayTotal total;

    static std::string record(const char* start, const char* end, std::string day = "08") {
        return records("", std::vector<V4Record>{{1, 2, "12/" + day + "/2026", start, end}});
    }
    // The stored time of the day of December 2026, in minutes.
    std::int64_t minutes(int day = 8) {
        EXPECT_TRUE(total.update(trs, TransactionLayout::Version4, date(2026, 12, day)));
        return total.seconds() / 60;
    }
};

TEST_F(DayTotalTest, ReadsOnlyWhatWasAppendedSinceTheLastUpdate) {
    writeBytes(trs, transactionHeader() + record("09:00", "09:30"));
    EXPECT_EQ(minutes(), 30);
    EXPECT_EQ(total.bytesRead(), std::filesystem::file_size(trs));
    EXPECT_EQ(minutes(), 30);
    EXPECT_EQ(total.bytesRead(), 0u) << "an unchanged file is not read";

    const std::string next = record("10:00", "10:45") + record("11:00", "12:00", "07");
    std::ofstream(trs, std::ios::binary | std::ios::app) << next.substr(0, 20) << std::flush;
    EXPECT_EQ(minutes(), 30) << "an append under way";
    std::ofstream(trs, std::ios::binary | std::ios::app) << next.substr(20);
    EXPECT_EQ(minutes(), 75);
    EXPECT_EQ(total.bytesRead(), next.size());
}

TEST_F(DayTotalTest, AFileWrittenAnewOrGoneIsReadAgainAndCountedAsTheTimeSheetCounts) {
    writeBytes(trs, transactionHeader() + record("09:00", "09:30"));
    EXPECT_EQ(minutes(), 30);
    // Longer, and no longer holding what was read where it was. 9:00 to 10:00 ends after the next
    // one starts: it is in error and adds nothing.
    writeBytes(trs, transactionHeader() + record("09:00", "17:00", "07") +
                        record("09:00", "10:00") + record("09:30", "10:15") +
                        record("13:00", "13:20") + record("08:00", "08:10", "09"));
    EXPECT_EQ(minutes(), 65);
    EXPECT_EQ(total.bytesRead(), std::filesystem::file_size(trs));
    EXPECT_EQ(minutes(9), 10) << "another day is read anew";

    std::filesystem::remove(trs);
    EXPECT_FALSE(total.update(trs, TransactionLayout::Version4, date(2026, 12, 8)));
    EXPECT_EQ(total.seconds(), 0);
}

} // namespace
} // namespace vsolo
