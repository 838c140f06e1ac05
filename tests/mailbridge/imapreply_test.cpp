#include "mailbridge/layer/netsession.h"

#include <gtest/gtest.h>

// The two things the IMAP store reads from a reply line itself, since VMime's parser cannot.
namespace vsolo::mail::net {
namespace {

struct DateCase {
    const char* text;
    std::optional<std::time_t> utc;
};

void PrintTo(const DateCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class InternalDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(InternalDateTest, ReadsAsUtc) {
    EXPECT_EQ(parseInternalDate(GetParam().text), GetParam().utc);
}

// 1765275600 is 2025-12-09 10:20:00 UTC.
INSTANTIATE_TEST_SUITE_P(Dates, InternalDateTest,
                         ::testing::Values(DateCase{"09-Dec-2025 10:20:00 +0000", 1765275600},
                                           DateCase{" 9-Dec-2025 10:20:00 +0000", 1765275600},
                                           DateCase{"09-Dec-2025 11:50:00 +0130", 1765275600},
                                           DateCase{"09-Dec-2025 05:20:00 -0500", 1765275600},
                                           DateCase{"01-Jan-1970 00:00:00 +0000", 0},
                                           DateCase{"09-Dex-2025 10:20:00 +0000", std::nullopt},
                                           DateCase{"09-Dec-2025 10:20:00 0000", std::nullopt},
                                           DateCase{"09-Dec-2025", std::nullopt},
                                           DateCase{"", std::nullopt}));

TEST(ImapReplyLineTest, FindsTheUidAndTheDateOfAFetchLine) {
    const std::string line = R"(* 12 FETCH (UID 4711 INTERNALDATE "09-Dec-2025 10:20:00 +0000"))";
    EXPECT_EQ(uidOf(line), 4711u);
    EXPECT_EQ(internalDateOf(line), 1765275600);
    EXPECT_EQ(uidOf(R"(* 3 FETCH (INTERNALDATE "09-Dec-2025 10:20:00 +0000" UID 9))"), 9u);
    EXPECT_EQ(uidOf("* 3 FETCH (UID 7"), 7u); // cut at the end of the line
}

TEST(ImapReplyLineTest, IgnoresLinesThatAreNotAFetchWithAUid) {
    for (const char* line :
         {"* 3 FETCH (FLAGS (\\Seen))", "a7 OK UID FETCH completed", "* 3 FETCH (XUID 5)",
          "* 3 FETCH (UID 0)", "* 3 FETCH (UID 99999999999)", "* 3 EXISTS"})
        EXPECT_EQ(uidOf(line), std::nullopt) << line;
    EXPECT_EQ(internalDateOf("* 3 FETCH (UID 5 INTERNALDATE \"09-Dec-2025"), std::nullopt);
}

} // namespace
} // namespace vsolo::mail::net
