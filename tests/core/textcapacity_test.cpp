#include "core/model/templateformat.h"
#include "core/model/textcapacity.h"
#include "core/model/transactionformat.h"
#include "tests/support/joined.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace vsolo {
namespace {

const std::string kCheckMark = "\xE2\x9C\x93"; // no Windows-1252 byte

std::string repeat(std::string_view text, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out.append(text);
    }
    return out;
}

struct EntryCase {
    const char* label;
    TextCapacity capacity;
    std::string text;
    std::optional<std::string> problem;
    std::optional<std::string> fitted = std::nullopt;
};

// Named by its label in the test list rather than by its bytes.
void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.label;
}

class TextEntryProblemTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(TextEntryProblemTest, SaysWhyTheFieldCannotHoldTheTextAndWhatItHolds) {
    const EntryCase& c = GetParam();
    EXPECT_EQ(textEntryProblem(c.text, c.capacity, "The name"), c.problem);
    EXPECT_EQ(fittedText(c.text, c.capacity), c.fitted.value_or(c.text));
}

const TextCapacity kLegacyName = levelTextCapacity(TemplateFormat::Tag512, LevelText::Name);
const TextCapacity kV4Text = levelTextCapacity(TemplateFormat::Version4, LevelText::Description);
const TextCapacity kV4Third = levelTextCapacity(TemplateFormat::Version4, LevelText::Third);

INSTANTIATE_TEST_SUITE_P(
    Layouts, TextEntryProblemTest,
    ::testing::Values(
        EntryCase{"TwentyAccentedCharactersFitALegacyName", kLegacyName,
                  "Caf\xC3\xA9 d\xC3\xA9veloppemenxyz", std::nullopt},
        EntryCase{"EveryWindows1252SymbolFits", kLegacyName, "\xE2\x82\xAC\xE2\x80\x9C\xC5\xB8",
                  std::nullopt},
        EntryCase{"ATwentyFirstCharacterDoesNot", kLegacyName, repeat("\xC3\xA9", 21),
                  "The name holds 21 characters; the files of this template store at most 20.",
                  repeat("\xC3\xA9", 20)},
        EntryCase{"ACharacterWithoutAWindows1252Byte", kLegacyName, "Done " + kCheckMark,
                  "The name holds the character \"" + kCheckMark +
                      "\" (U+2713), which the files of this template cannot store: they keep "
                      "texts in Windows-1252. Please use another character.",
                  "Done ?"},
        EntryCase{"AFourByteCharacterIsNamedByItsCode", kLegacyName, "\xF0\x9F\x98\x80",
                  "The name holds the character \"\xF0\x9F\x98\x80\" (U+1F600), which the files "
                  "of this template cannot store: they keep texts in Windows-1252. Please use "
                  "another character.",
                  "?"},
        EntryCase{"Version4TakesAnyCharacter", kV4Text,
                  testing::joined({kCheckMark, repeat("\xC3\xA9", 300)}), std::nullopt},
        EntryCase{"Version4TakesUpTo9999Bytes", kV4Text,
                  testing::joined({"x", repeat("\xC3\xA9", 4999)}), std::nullopt},
        EntryCase{"Version4RefusesTheByteBeyond", kV4Text, repeat("\xC3\xA9", 5000),
                  "The name takes 10000 bytes; the files of this template store at most 9999.",
                  repeat("\xC3\xA9", 4999)},
        EntryCase{"Version4ThirdTexts", kV4Third, "x" + repeat("\xF0\x9F\x98\x80", 2500),
                  "The name takes 10001 bytes; the files of this template store at most 9999.",
                  "x" + repeat("\xF0\x9F\x98\x80", 2499)},
        EntryCase{"Version4DescriptionsOf259Characters",
                  descriptionCapacity(TransactionLayout::Version4), repeat("\xF0\x9F\x98\x80", 259),
                  std::nullopt},
        EntryCase{"Version4DescriptionsNotOf260", descriptionCapacity(TransactionLayout::Version4),
                  repeat("a", 260),
                  "The name holds 260 characters; the files of this template store at most 259.",
                  repeat("a", 259)},
        EntryCase{"LegacyDescriptionsOf60", descriptionCapacity(TransactionLayout::Legacy),
                  repeat("\xC3\xA9", 60), std::nullopt},
        EntryCase{"LegacyDescriptionsNotOf61", descriptionCapacity(TransactionLayout::Legacy),
                  repeat("\xC3\xA9", 61),
                  "The name holds 61 characters; the files of this template store at most 60.",
                  repeat("\xC3\xA9", 60)},
        EntryCase{"AnEmptyTextAlwaysFits", TextCapacity::fixedField(1), "", std::nullopt}),
    [](const ::testing::TestParamInfo<EntryCase>& param) { return param.param.label; });

TEST(TextCapacityTest, LegacyTemplatesKeepNoThirdTextSoAnyFits) {
    EXPECT_EQ(textEntryProblem(repeat(kCheckMark, 20000),
                               levelTextCapacity(TemplateFormat::Tag512, LevelText::Third), "x"),
              std::nullopt);
}

TEST(TextCapacityTest, TheFirstUnstorableItemTextIsNamedWithItsLevelTitle) {
    LevelList level1(1), level2(2);
    level1.setPartner(&level2);
    level2.setTitle("Activity");
    LevelItem fine, bad;
    fine.setName("Fine");
    bad.setName("Fine too");
    bad.setDescription("Done " + kCheckMark);
    level1.add(fine);
    level2.add(bad);
    EXPECT_EQ(unstorableTemplateText(TemplateFormat::Version4, level1, level2), std::nullopt);
    EXPECT_EQ(unstorableTemplateText(TemplateFormat::Tag512, level1, level2),
              "Activity \"Fine too\": The description holds the character \"" + kCheckMark +
                  "\" (U+2713), which the files of this template cannot store: they keep texts "
                  "in Windows-1252. Please use another character.");
}

} // namespace
} // namespace vsolo
