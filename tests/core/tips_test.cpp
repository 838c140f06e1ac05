#include "core/tips.h"
#include "tests/support/tipsfolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using Tips = std::vector<std::string>;

template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& testCase) {
    return testCase.param.name;
}

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

struct PositionCase {
    const char* name;
    std::string bytes;
    std::int32_t position; // "FilePos" when the file is opened
    bool newer;            // the file was replaced after the position was stored
    Tips tips;             // the first two texts shown
};

class TipReaderPositions : public TipReaderTest,
                           public ::testing::WithParamInterface<PositionCase> {};

TEST_P(TipReaderPositions, StartWhereTheyShould) {
    folder.write(GetParam().bytes);
    openAt(GetParam().position);
    if (GetParam().newer) {
        const std::string oldStamp = folder.settings.tipTimeStamp();
        folder.makeNewer();
        ASSERT_TRUE(open());
        EXPECT_NE(folder.settings.tipTimeStamp(), oldStamp);
    }
    EXPECT_EQ(tips(1), GetParam().tips);
}

const std::string kThree = "First\nSecond\nThird\n";
const std::string kComments = "; only\n;comments\n\n \tand blanks\n";
const Tips kNone{std::string(tiptext::kNoTips), std::string(tiptext::kNoTips)};

INSTANTIATE_TEST_SUITE_P(
    Stored, TipReaderPositions,
    ::testing::Values(PositionCase{"AfterTheLastRewinds", kThree, 13, false, {"Third", "First"}},
                      PositionCase{"InsideALine", kThree, 8, false, {"Third", "First"}},
                      PositionCase{"PastTheEnd", kThree, 5000, false, {"First", "Second"}},
                      PositionCase{"InANewerFile", kThree, 13, true, {"First", "Second"}},
                      // A file without tips is read through once, from wherever the reading is.
                      PositionCase{"NoTipsFromTheStart", kComments, 0, false, kNone},
                      PositionCase{"NoTipsInsideALine", kComments, 9, false, kNone},
                      PositionCase{"NoTipsInTheLastLine", kComments, 30, false, kNone},
                      PositionCase{"NoTipsPastTheEnd", kComments, 5000, false, kNone}),
    caseName<PositionCase>);

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

const std::string kLong(TipReader::kMaxLineCharacters, 'x');

// Lines passed over before the tip: each one is the first line of the file.
INSTANTIATE_TEST_SUITE_P(Skipped, TipReaderLines,
                         ::testing::Values(LinesCase{"Tab", "\tindented\nTip\n", {"Tip", "Tip"}},
                                           LinesCase{"Blank", " indented\nTip\n", {"Tip", "Tip"}},
                                           LinesCase{
                                               "Semicolon", "; comment\nTip\n", {"Tip", "Tip"}},
                                           LinesCase{"Empty", "\nTip\n", {"Tip", "Tip"}}),
                         caseName<LinesCase>);

INSTANTIATE_TEST_SUITE_P(
    Forms, TipReaderLines,
    ::testing::Values(LinesCase{"CrLf", ";\r\n\r\nOne\r\nTwo\r\n", {"One", "Two"}},
                      LinesCase{"LongLine", kLong + "rest\nNext", {kLong, "Next"}},
                      LinesCase{"Windows1252",
                                "Caf\xE9 \x80\nCaf\xC3\xA9\n",
                                {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9"}}),
    caseName<LinesCase>);

} // namespace
} // namespace vsolo
