#include "core/tips.h"
#include "tests/support/tipsfolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using Tips = std::vector<std::string>;

class TipReaderTest : public ::testing::Test {
protected:
    bool open() { return reader.open(folder.dir.path()); }
    // Opens again with "FilePos" at `position`, the file's stamp being stored by the first open.
    void openAt(std::int32_t position) {
        ASSERT_TRUE(open());
        folder.settings.setTipFilePos(position);
        ASSERT_TRUE(open());
    }
    // The text shown now and those of the next `count` readings.
    Tips tips(int count) {
        Tips out{reader.text()};
        for (int i = 0; i < count; ++i) {
            reader.next();
            out.push_back(reader.text());
        }
        return out;
    }

    testing::TipsFolder folder;
    TipReader reader{folder.settings};
};

TEST_F(TipReaderTest, AMissingFileSaysSoAndStoresNoPosition) {
    EXPECT_FALSE(open());
    EXPECT_EQ(tips(1),
              (Tips{std::string(tiptext::kFileMissing), std::string(tiptext::kFileMissing)}));
    reader.savePosition();
    EXPECT_FALSE(folder.store.readInt("Tip", "FilePos").has_value());
}

TEST_F(TipReaderTest, ReadsTheTipsInTurnAndStartsAgainAfterTheLast) {
    folder.write("; tips\nFirst\nSecond\n");
    ASSERT_TRUE(open());
    EXPECT_EQ(tips(2), (Tips{"First", "Second", "First"}));
}

TEST_F(TipReaderTest, GoesOnAfterTheStoredPosition) {
    folder.write("First\nSecond\nThird\n");
    ASSERT_TRUE(open());
    reader.next();
    ASSERT_TRUE(reader.savePosition());
    EXPECT_EQ(folder.store.readInt("Tip", "FilePos"), 13);
    ASSERT_TRUE(open());
    EXPECT_EQ(reader.text(), "Third");
}

TEST_F(TipReaderTest, ANewerFileStartsAtItsFirstTipAndStoresItsStamp) {
    folder.write("Old one\nOld two\n");
    openAt(8);
    ASSERT_EQ(reader.text(), "Old two");
    const std::string oldStamp = folder.settings.tipTimeStamp();
    folder.write("New one\nNew two\n");
    folder.makeNewer();
    ASSERT_TRUE(open());
    EXPECT_EQ(reader.text(), "New one");
    EXPECT_NE(folder.settings.tipTimeStamp(), oldStamp);
}

TEST_F(TipReaderTest, APositionPastTheEndStartsAgainAtTheFirstTip) {
    folder.write("First\nSecond\n");
    openAt(5000);
    EXPECT_EQ(reader.text(), "First");
}

class TipReaderWithoutTips : public TipReaderTest,
                             public ::testing::WithParamInterface<std::int32_t> {};

// From the start, inside a line, inside the last line and past the end.
TEST_P(TipReaderWithoutTips, ReadsTheFileThroughOnceAndSaysItHoldsNoTips) {
    folder.write("; only\n;comments\n\n \tand blanks\n");
    openAt(GetParam());
    EXPECT_EQ(tips(1), (Tips{std::string(tiptext::kNoTips), std::string(tiptext::kNoTips)}));
}

INSTANTIATE_TEST_SUITE_P(FromAnyPosition, TipReaderWithoutTips, ::testing::Values(0, 9, 30, 5000));

struct LinesCase {
    const char* name;
    std::string bytes;
    Tips tips; // the first and the second tip read
};

class TipReaderLines : public TipReaderTest, public ::testing::WithParamInterface<LinesCase> {};

TEST_P(TipReaderLines, ReadTheseTips) {
    folder.write(GetParam().bytes);
    ASSERT_TRUE(open());
    EXPECT_EQ(tips(1), GetParam().tips);
}

std::string caseName(const ::testing::TestParamInfo<LinesCase>& testCase) {
    return testCase.param.name;
}

const std::string kLong(TipReader::kMaxLineCharacters, 'x');

// Lines passed over before the tip: each one is the first line of the file.
INSTANTIATE_TEST_SUITE_P(Skipped, TipReaderLines,
                         ::testing::Values(LinesCase{"Tab", "\tindented\nTip\n", {"Tip", "Tip"}},
                                           LinesCase{"Blank", " indented\nTip\n", {"Tip", "Tip"}},
                                           LinesCase{
                                               "Semicolon", "; comment\nTip\n", {"Tip", "Tip"}},
                                           LinesCase{"Empty", "\nTip\n", {"Tip", "Tip"}}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(
    Forms, TipReaderLines,
    ::testing::Values(LinesCase{"CrLf", ";\r\n\r\nOne\r\nTwo\r\n", {"One", "Two"}},
                      LinesCase{"LongLine", kLong + "rest\nNext", {kLong, "Next"}},
                      LinesCase{"Windows1252",
                                "Caf\xE9 \x80\nCaf\xC3\xA9\n",
                                {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9"}}),
    caseName);

} // namespace
} // namespace vsolo
