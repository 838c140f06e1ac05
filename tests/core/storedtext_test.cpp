// Texts written to real files and read back: legacy fixed fields in Windows-1252, counted texts in
// UTF-8, and no save that writes a text its reader would refuse or cut.

#include "core/base/clock.h"
#include "core/fileerror.h"
#include "core/model/templatefile.h"
#include "tests/support/bytebuilder.h"
#include "tests/support/dates.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tests/support/templatefixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using namespace testing;

// The same texts in the program's UTF-8 and, byte by byte, in Windows-1252.
const std::string kCafeUtf8 = "Caf\xC3\xA9 d\xC3\xA9veloppemenxyz"; // 20 characters
const std::string kCafe1252 = "Caf\xE9 d\xE9veloppemenxyz";
const std::string k2023Utf8 = "R\xC3\xA9unions \xC3\xA9quipe 2023";
const std::string k2023Cp1252 = "R\xE9unions \xE9quipe 2023";
const std::string k2024Utf8 = "R\xC3\xA9unions \xC3\xA9quipe 2024";
const std::string k2024Cp1252 = "R\xE9unions \xE9quipe 2024";
// "✓" has no Windows-1252 byte.
const std::string kCheckMark = "\xE2\x9C\x93";

LevelItem item(std::int32_t subId, std::string name, std::string description = "") {
    LevelItem out;
    out.setSubId(subId);
    out.setName(std::move(name));
    out.setDescription(std::move(description));
    return out;
}

// `count` copies of a text.
std::string repeat(std::string_view text, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out.append(text);
    }
    return out;
}

class StoredTextTest : public TemplateFileFixture {
protected:
    StoredTextTest() {
        file.level1().setTitle("Project");
        file.level2().setTitle("Activity");
    }

    // A tag-512 template holding one project with the given activities assigned to it.
    void makeTag512(const LevelItem& project, const std::vector<LevelItem>& activities) {
        file.setFormat(TemplateFormat::Tag512);
        LevelItem* owner = file.level1().add(project);
        for (const LevelItem& activity : activities) {
            owner->assign(file.level2().add(activity));
        }
    }
};

// ---------------------------------------------------------------------------------------------
// Legacy fixed fields are Windows-1252 on disk

TEST_F(StoredTextTest, ATwentyCharacterAccentedNameSurvivesATag512SaveAndLoad) {
    makeTag512(item(1, kCafeUtf8, "Caf\xC3\xA9 cr\xC3\xA8me"),
               {item(2, k2023Utf8), item(3, k2024Utf8)});
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()),
              legacyTemplate(kTag512Bytes, {{1, kCafe1252, "Caf\xE9 cr\xE8me"}},
                             {{2, k2023Cp1252, ""}, {3, k2024Cp1252, ""}}, {{1, 2}, {1, 3}}));
    EXPECT_TRUE(prompter.empty());

    TemplateFile again(clock);
    ASSERT_TRUE(reporter.present(again.load(tpl())));
    ASSERT_EQ(again.level1().size(), 1u);
    EXPECT_EQ(again.level1().at(0)->name(), kCafeUtf8);
    EXPECT_EQ(again.level1().at(0)->description(), "Caf\xC3\xA9 cr\xC3\xA8me");
    // The two names differ only in their last character; both stay, each with its own key.
    ASSERT_EQ(again.level2().size(), 2u);
    EXPECT_EQ(again.level2().at(0)->name(), k2023Utf8);
    EXPECT_EQ(again.level2().at(1)->name(), k2024Utf8);
    EXPECT_EQ(again.level2().at(1)->subId(), 3);
    EXPECT_EQ(again.level1().at(0)->assigned().size(), 2u);
}

TEST_F(StoredTextTest, ATag512TemplateOfTheOlderSystemSavesByteIdentical) {
    // Names of 20 characters that fill their field, a description of 60 characters, and the
    // Windows-1252 bytes of 0x80 to 0x9F, the unassigned ones included.
    const std::string description =
        "\x80\x81\x8D\x8F\x90\x9D\x93quoted\x94 " + std::string(45, 'd');
    ASSERT_EQ(description.size(), 60u);
    const std::string bytes = legacyTemplate(
        kTag512Bytes, {{101, kCafe1252, description, 40}},
        {{201, k2023Cp1252, ""}, {202, k2024Cp1252, "\xE9t\xE9"}}, {{101, 201}, {101, 202}});
    writeBytes(tlx(), sideFile({{101, 40, 1, {201, 202}}}));
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_EQ(file.level1().at(0)->description().substr(0, 3), "\xE2\x82\xAC");
    EXPECT_EQ(file.level2().size(), 2u);
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()), bytes);
    EXPECT_TRUE(prompter.empty());
}

TEST_F(StoredTextTest, AFixedTextThatLooksLikeUtf8IsStillReadAsWindows1252) {
    // "Ã©t" in Windows-1252 is the byte sequence C3 A9 74, which is also valid UTF-8 for "ét".
    // Fixed fields are always written in Windows-1252, so they are always read that way: what the
    // user typed comes back as typed.
    const std::string typed = "\xC3\x83\xC2\xA9t"; // "Ã©t"
    makeTag512(item(1, "Project"), {item(2, typed, typed)});
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    EXPECT_EQ(readBytes(tpl()), legacyTemplate(kTag512Bytes, {{1, "Project", ""}},
                                               {{2, "\xC3\xA9t", "\xC3\xA9t"}}, {{1, 2}}));
    TemplateFile again(clock);
    ASSERT_TRUE(again.load(tpl()));
    ASSERT_EQ(again.level2().size(), 1u);
    EXPECT_EQ(again.level2().at(0)->name(), typed);
    EXPECT_EQ(again.level2().at(0)->description(), typed);
}

TEST_F(StoredTextTest, LegacyTransactionDescriptionsOfSixtyAccentedCharactersSaveByteIdentical) {
    ASSERT_TRUE(loadTemplate(legacyTemplate(kTag512Bytes, {{101, "Project", ""}},
                                            {{201, "Activity", ""}}, {{101, 201}})));
    const std::string sixty = repeat("\xE9", 59) + "\x80";
    const std::string bytes =
        records("", std::vector<LegacyRecord>{
                        {"03/07/1999", "08:00", "0000000000", "09:00", 101, 201, sixty},
                        {"03/07/1999", "09:00", "0000000000", "10:00", 101, 201, "\xC3\xA9t"},
                    });
    writeBytes(trs(), bytes);
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    const Day* day = file.store().findDay(date(1999, 3, 7));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->at(0)->description(), repeat("\xC3\xA9", 59) + "\xE2\x82\xAC");
    EXPECT_EQ(day->at(1)->description(), "\xC3\x83\xC2\xA9t");
    ASSERT_TRUE(reporter.present(file.saveTransactions()));
    EXPECT_EQ(readBytes(trs()), bytes);
}

TEST_F(StoredTextTest, AnAppendedLegacyRecordAndALegacyHandOffAreWindows1252) {
    ASSERT_TRUE(loadTemplate(legacyTemplate(kTag512Bytes, {{101, "Project", ""}},
                                            {{201, "Activity", ""}}, {{101, 201}})));
    const Transaction t(date(2024, 5, 6), hm(8, 0), hm(9, 0), 101, 201,
                        "R\xC3\xA9union \xE2\x82\xAC " + repeat("\xC3\xA9", 50));
    const std::string description1252 = "R\xE9union \x80 " + repeat("\xE9", 50);
    ASSERT_TRUE(reporter.present(file.appendTransaction(t)));
    EXPECT_EQ(readBytes(trs()),
              records("", std::vector<LegacyRecord>{{"05/06/2024", "08:00", "0000000000", "09:00",
                                                     101, 201, description1252}}));
    ASSERT_TRUE(reporter.present(file.appendHandOff({&t})));
    const std::string handOff = ByteBuilder()
                                    .fixed("work", 9)
                                    .i32(101)
                                    .i32(201)
                                    .fixed("05/06/2024", 11)
                                    .fixed("08:00", 6)
                                    .fixed("05/06/2024", 11)
                                    .fixed("09:00", 6)
                                    .fixed(description1252, 61);
    EXPECT_EQ(readBytes(dir.file("trans.dat")), handOff);
    EXPECT_EQ(readBytes(dir.file("log.dat")), handOff);
    EXPECT_TRUE(prompter.empty());
}

// ---------------------------------------------------------------------------------------------
// A text a layout cannot hold refuses the write; nothing is cut

TEST_F(StoredTextTest, ATag512SaveOfACharacterWindows1252CannotHoldIsRefused) {
    const std::string before = legacyTemplate(kTag512Bytes, {{1, "Old", ""}}, {}, {});
    writeBytes(tpl(), before);
    makeTag512(item(1, "Project"), {item(2, "Done " + kCheckMark)});
    const FileResult saved = file.save(tpl());
    EXPECT_FALSE(reporter.present(saved));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{
                  "Cannot write " + tpl() + ".\r\n\r\nActivity \"Done " + kCheckMark +
                  "\": The name holds the character \"" + kCheckMark +
                  "\" (U+2713), which the files of this template cannot store: they keep texts in "
                  "Windows-1252. Please use another character.\r\n\r\nNothing was written, so the "
                  "file is as it was."});
    EXPECT_EQ(saved.what, FileResult::What::Unstorable);
    EXPECT_EQ(readBytes(tpl()), before);
    EXPECT_FALSE(exists(tlx()));
    EXPECT_EQ(quits, 0);
}

TEST_F(StoredTextTest, ANameThatFillsItsWholeFieldIsNotCutAtTheNextSave) {
    // An older file whose name field runs to its last byte without a terminator.
    const std::string full = kCafe1252 + "!";
    ByteBuilder b = legacyHeader(kTag512Bytes, "", 1, 0);
    b.i32(101).raw(full).fixed("", 61).u8(0);
    const std::string bytes = b;
    ASSERT_TRUE(loadTemplate(bytes));
    ASSERT_EQ(file.level1().at(0)->name(), kCafeUtf8 + "!");
    EXPECT_FALSE(reporter.present(file.save(tpl())));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Cannot write " + tpl() + ".\r\n\r\nProject \"" + kCafeUtf8 +
                                       "!\": The name holds 21 characters; the files of this "
                                       "template store at most 20.\r\n\r\nNothing was written, so "
                                       "the file is as it was."});
    EXPECT_EQ(readBytes(tpl()), bytes);
}

TEST_F(StoredTextTest, ALegacyTransactionWindows1252CannotHoldIsNeitherSavedNorAppended) {
    ASSERT_TRUE(loadTemplate(legacyTemplate(kTag512Bytes, {{101, "Project", ""}},
                                            {{201, "Activity", ""}}, {{101, 201}})));
    const std::string bytes =
        records("", std::vector<LegacyRecord>{
                        {"03/07/1999", "08:00", "0000000000", "09:00", 101, 201, "kept"}});
    writeBytes(trs(), bytes);
    const Transaction t(date(1999, 3, 7), hm(9, 0), hm(10, 0), 101, 201, "Done " + kCheckMark);
    const std::string refusal =
        "Cannot write " + trs() +
        ".\r\n\r\nThe transaction of 03/07/1999 from 9:00 to 10:00: The description holds the "
        "character \"" +
        kCheckMark +
        "\" (U+2713), which the files of this template cannot store: they keep texts in "
        "Windows-1252. Please use another character.\r\n\r\nNothing was written, so the file is "
        "as it was.";

    EXPECT_FALSE(reporter.present(file.appendTransaction(t)));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{refusal});
    EXPECT_EQ(readBytes(trs()), bytes);

    prompter.clear();
    ASSERT_TRUE(reporter.present(file.loadTransactions()));
    file.store().add(t);
    EXPECT_FALSE(reporter.present(file.saveTransactions()));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{refusal});
    EXPECT_EQ(readBytes(trs()), bytes);
    EXPECT_FALSE(reporter.present(file.appendHandOff({&t})));
    EXPECT_FALSE(exists(dir.file("trans.dat")));
    EXPECT_FALSE(exists(dir.file("log.dat")));
}

// ---------------------------------------------------------------------------------------------
// Version-4 counted texts stay within what the reader takes

TEST_F(StoredTextTest, AVersion4TextThatGrowsPastTheReadersLimitRefusesTheSave) {
    // 5,000 Windows-1252 bytes are 10,000 bytes in UTF-8: with its terminator one more than the
    // reader's buffer takes.
    const std::string bytes =
        v4Template("Veltimo Solo File", 2, 2,
                   {{1, 0, 0, 0, 1, 1, 0, "Client", std::string(5000, '\xE9'), " "},
                    {1, 0, 1, 1, 1, 2, 0, "Meetings", " ", " "}});
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_FALSE(reporter.present(file.save(tpl())));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Cannot write " + tpl() +
                                       ".\r\n\r\nProject \"Client\": The description takes 10000 "
                                       "bytes; the files of this template store at most "
                                       "9999.\r\n\r\nNothing was written, so the file is as it "
                                       "was."});
    EXPECT_EQ(readBytes(tpl()), bytes);
}

TEST_F(StoredTextTest, AVersion4TextAtTheReadersLimitSavesAndLoads) {
    const std::string longest = "x" + repeat("\xC3\xA9", 4999); // 9,999 bytes
    ASSERT_TRUE(loadTemplate(v4Template(
        "Veltimo Solo File", 2, 2,
        {{1, 0, 0, 0, 1, 1, 0, "Client", " ", " "}, {1, 0, 1, 1, 1, 2, 0, "Meetings", " ", " "}})));
    file.level2().at(0)->setThirdText(longest);
    ASSERT_TRUE(reporter.present(file.save(tpl())));
    TemplateFile again(clock);
    ASSERT_TRUE(reporter.present(again.load(tpl())));
    EXPECT_EQ(again.level2().at(0)->thirdText(), longest);
    EXPECT_TRUE(prompter.empty());
}

} // namespace
} // namespace vsolo
