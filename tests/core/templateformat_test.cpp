#include "core/base/clock.h"
#include "core/fileerror.h"
#include "core/model/templatefile.h"
#include "core/model/templateformat.h"
#include "tests/support/bytebuilder.h"
#include "tests/support/filelayouts.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/tempdir.h"
#include "tests/support/typenames.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using namespace testing;
using namespace std::string_literals;

std::vector<V4Item> sampleItems() {
    return {
        {1, 0, 0, 0, 1, 1, 60, "Alpha", " ", ""},
        {2, 0, 0, 0, 0, 1, 40, "Beta", "Second project", " "},
        {1, 0, 1, 1, 1, 2, 0, "Design", "", "third"},
        {1, 1, 4, 2, 1, 2, 0, "Sketches", "Caf\xC3\xA9", " "},
    };
}

std::string sampleVersion4(std::string_view typeText = kTrackerTypeText) {
    const auto items = sampleItems();
    ByteBuilder b = v4Header(typeText, 3, 5, static_cast<std::int32_t>(items.size()));
    for (const V4Item& item : items) {
        addItem(b, item);
    }
    return b;
}

const std::string kTag512 = kTag512Bytes;
const std::string kTag768 = kTag768Bytes;

// Two level-1 items, three level-2 items, assignment pairs grouped by level-1 item.
std::string sampleTag512(std::string_view firstFour = kTag512, std::string_view headerRest = "") {
    ByteBuilder b = legacyHeader(firstFour, headerRest, 2, 3);
    addLevel1(b, {101, "Client work", "Billable", 70});
    addLevel1(b, {102, "Internal", "", 30});
    addLevel2(b, {201, "Meetings", "Calls and meetings"});
    addLevel2(b, {202, "Coding", ""});
    addLevel2(b, {203, "Email", "Mail"});
    b.i32(101).i32(201).i32(101).i32(202).i32(102).i32(203);
    return b;
}
constexpr std::size_t kTag512AssignmentOffset = 70 + 2 * 87 + 3 * 86;

// Level lists holding the parsed items, with the legacy assignments made as the file gives them.
struct Lists {
    explicit Lists(const TemplateData& data) {
        level1.setPartner(&level2);
        for (const LevelItem& item : data.level1) {
            level1.add(item);
        }
        for (const LevelItem& item : data.level2) {
            level2.add(item);
        }
        for (const auto& [owner, assigned] : data.assignments) {
            level1.findBySubId(owner)->assign(level2.findBySubId(assigned));
        }
    }
    LevelList level1{1};
    LevelList level2{2};
};

// ---------------------------------------------------------------------------------------------
// Format recognition

TEST(TemplateFormatTest, RecognisesTheFormatFromTheFirstFourBytes) {
    EXPECT_EQ(recognizeTemplateFormat("\x04\x00\x00\x00"s), TemplateFormat::Version4);
    EXPECT_EQ(recognizeTemplateFormat(kTag512), TemplateFormat::Tag512);
    EXPECT_EQ(recognizeTemplateFormat("ATra"), TemplateFormat::Tag512);
    EXPECT_EQ(recognizeTemplateFormat(kTag768), TemplateFormat::Tag768);
    EXPECT_EQ(recognizeTemplateFormat("QQQQ"), TemplateFormat::Tag768);
    EXPECT_EQ(recognizeTemplateFormat("\x04\x00\x00\x01"s), TemplateFormat::Tag768);
    EXPECT_EQ(recognizeTemplateFormat("ATrb"), TemplateFormat::Tag768);
    EXPECT_EQ(recognizeTemplateFormat("\x04"), TemplateFormat::Tag768);
}

// ---------------------------------------------------------------------------------------------
// Version 4

TEST(TemplateVersion4Test, TheBuilderMakesTheDocumentedOffsets) {
    // A check of the test's own builder, so the layout below is known to be the real one.
    const std::string header = v4Header("Veltimo Solo File", 0x11223344, 0x55667788, 9);
    ASSERT_EQ(header.size(), 104u);
    EXPECT_EQ(header.substr(0, 4), "\x04\0\0\0"s);
    EXPECT_EQ(header.substr(4, 18), "Veltimo Solo File\0"s);
    EXPECT_EQ(header.substr(29, 4), "\x44\x33\x22\x11"s);
    EXPECT_EQ(header.substr(33, 4), "\x88\x77\x66\x55"s);
    EXPECT_EQ(header.substr(37, 63), std::string(63, '\0'));
    EXPECT_EQ(header.substr(100, 4), "\x09\0\0\0"s);
}

TEST(TemplateVersion4Test, ReadsHeaderAndItems) {
    TemplateData data;
    const ParseResult result = parseTemplate(sampleVersion4(), data);
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ(data.format, TemplateFormat::Version4);
    EXPECT_FALSE(data.managed);
    EXPECT_EQ(data.typeText, "Veltimo Solo File");
    EXPECT_EQ(data.nextGroupNumber, 3);
    EXPECT_EQ(data.nextSubId, 5);
    ASSERT_EQ(data.level1.size(), 2u);
    ASSERT_EQ(data.level2.size(), 2u);

    const LevelItem& alpha = data.level1[0];
    EXPECT_EQ(alpha.name(), "Alpha");
    EXPECT_EQ(alpha.description(), " "); // never set: stored as a single space
    EXPECT_EQ(alpha.thirdText(), "");    // set to empty: stored as the zero alone
    EXPECT_EQ(alpha.groupNumber(), 1);
    EXPECT_EQ(alpha.target(), 60);
    EXPECT_TRUE(alpha.isActive());
    EXPECT_EQ(alpha.level(), 1);

    const LevelItem& beta = data.level1[1];
    EXPECT_EQ(beta.name(), "Beta");
    EXPECT_EQ(beta.description(), "Second project");
    EXPECT_FALSE(beta.isActive());
    EXPECT_EQ(beta.target(), 40);

    const LevelItem& sketches = data.level2[1];
    EXPECT_EQ(sketches.name(), "Sketches");
    EXPECT_EQ(sketches.description(), "Caf\xC3\xA9");
    EXPECT_EQ(sketches.groupNumber(), 1);
    EXPECT_EQ(sketches.parentSubId(), 1);
    EXPECT_EQ(sketches.subId(), 4);
    EXPECT_EQ(sketches.depth(), 2);
    EXPECT_EQ(sketches.level(), 2);
    EXPECT_EQ(data.level2[0].thirdText(), "third");
}

TEST(TemplateVersion4Test, ManagedTypeTextSetsTheManagedFlag) {
    TemplateData data;
    ASSERT_TRUE(parseTemplate(sampleVersion4("MSProject File"), data).ok);
    EXPECT_TRUE(data.managed);
    EXPECT_EQ(data.typeText, "MSProject File");
    ASSERT_TRUE(parseTemplate(sampleVersion4("MSProject Filex"), data).ok);
    EXPECT_FALSE(data.managed);
}

TEST(TemplateVersion4Test, AZeroLengthFileIsAnEmptyVersion4Template) {
    TemplateData data;
    data.typeText = "left over";
    const ParseResult result = parseTemplate("", data);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(data.format, TemplateFormat::Version4);
    EXPECT_FALSE(data.managed);
    EXPECT_EQ(data.typeText, "");
    EXPECT_TRUE(data.level1.empty());
    EXPECT_TRUE(data.level2.empty());
}

TEST(TemplateVersion4Test, DepthDecidesTheLevelNotTheLevelByte) {
    ByteBuilder b = v4Header(kTrackerTypeText, 2, 2, 2);
    addItem(b, {7, 3, 9, 0, 1, 2, 25, "Top", " ", " "});  // depth 0, level byte says 2
    addItem(b, {7, 0, 1, 1, 1, 1, 0, "Child", " ", " "}); // depth 1, level byte says 1
    TemplateData data;
    ASSERT_TRUE(parseTemplate(b.bytes(), data).ok);
    ASSERT_EQ(data.level1.size(), 1u);
    ASSERT_EQ(data.level2.size(), 1u);
    EXPECT_EQ(data.level1[0].name(), "Top");
    EXPECT_EQ(data.level1[0].level(), 1);
    EXPECT_EQ(data.level1[0].subId(), 0); // a level-1 item has no sub-id
    EXPECT_EQ(data.level1[0].groupNumber(), 7);
    EXPECT_EQ(data.level2[0].name(), "Child");
    EXPECT_EQ(data.level2[0].level(), 2);
    EXPECT_EQ(data.level2[0].subId(), 1);
}

TEST(TemplateVersion4Test, ATargetAbove100IsHeldAt100) {
    ByteBuilder b = v4Header(kTrackerTypeText, 2, 1, 1);
    addItem(b, {1, 0, 0, 0, 1, 1, 300, "Over", " ", " "});
    TemplateData data;
    ASSERT_TRUE(parseTemplate(b.bytes(), data).ok);
    EXPECT_EQ(data.level1[0].target(), 100);
}

TEST(TemplateVersion4Test, ATextOfTheWholeBufferIsAcceptedOneMoreIsDamage) {
    const std::string longest(9999, 'n'); // 10000 bytes with its zero
    ByteBuilder fits = v4Header(kTrackerTypeText, 2, 1, 1);
    addItem(fits, {1, 0, 0, 0, 1, 1, 0, longest, " ", " "});
    TemplateData data;
    ASSERT_TRUE(parseTemplate(fits.bytes(), data).ok);
    EXPECT_EQ(data.level1[0].name(), longest);

    ByteBuilder over = v4Header(kTrackerTypeText, 2, 1, 1);
    addItem(over, {1, 0, 0, 0, 1, 1, 0, " ", longest + "n", " "});
    const ParseResult result = parseTemplate(over.bytes(), data);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.detail, "a text of item 1 is longer than 10000 bytes");
    EXPECT_TRUE(data.level1.empty()); // nothing half-read is handed on
}

TEST(TemplateVersion4Test, EveryCutOfAValidFileIsRefused) {
    const std::string bytes = sampleVersion4();
    for (std::size_t size = 1; size < bytes.size(); ++size) {
        TemplateData data;
        const ParseResult result = parseTemplate(std::string_view(bytes).substr(0, size), data);
        EXPECT_FALSE(result.ok) << "cut at " << size;
        EXPECT_FALSE(result.detail.empty()) << "cut at " << size;
        EXPECT_TRUE(data.level1.empty() && data.level2.empty()) << "cut at " << size;
    }
}

TEST(TemplateVersion4Test, ImpossibleTextLengthsAreRefused) {
    for (std::int32_t length : {0x7FFFFFFF, -1, 10001, 50}) {
        ByteBuilder b = v4Header(kTrackerTypeText, 1, 1, 1);
        b.i32(1).i32(0).i32(0).i32(0).u8(1).u8(1).u16(0);
        b.i32(length).raw("Name").u8(0).counted(" ").counted(" ");
        TemplateData data;
        EXPECT_FALSE(parseTemplate(b.bytes(), data).ok) << length;
    }
}

TEST(TemplateVersion4Test, BytesAfterTheLastItemAreNotRead) {
    TemplateData expected;
    ASSERT_TRUE(parseTemplate(sampleVersion4(), expected).ok);
    for (const std::string& tail : {"\0"s, "junk after the items"s, std::string(4000, '\xFF')}) {
        TemplateData data;
        const ParseResult result = parseTemplate(sampleVersion4() + tail, data);
        ASSERT_TRUE(result.ok) << result.detail;
        ASSERT_EQ(data.level1.size(), expected.level1.size());
        ASSERT_EQ(data.level2.size(), expected.level2.size());
        EXPECT_EQ(data.level2.back().name(), expected.level2.back().name());
        EXPECT_EQ(data.level2.back().thirdText(), expected.level2.back().thirdText());
    }
}

TEST(TemplateVersion4Test, WriterMakesTheDocumentedBytes) {
    LevelList level1(1), level2(2);
    LevelItem project;
    project.setGroupNumber(5);
    project.setName("P");
    project.setDescription("");
    project.setTarget(100);
    level1.add(project);
    LevelItem task; // texts never set
    task.setGroupNumber(5);
    task.setSubId(2);
    task.setParentSubId(1);
    task.setDepth(2);
    task.setActive(false);
    level2.add(task);

    ByteBuilder expected = v4Header("MSProject File", 6, 3, 2);
    addItem(expected, {5, 0, 0, 0, 1, 1, 100, "P", "", " "});
    addItem(expected, {5, 1, 2, 2, 0, 2, 0, " ", " ", " "});
    EXPECT_EQ(serializeTemplateVersion4("MSProject File", 6, 3, level1, level2), expected.bytes());
}

TEST(TemplateVersion4Test, AnEmptyTypeTextStillTakesItsWholeField) {
    LevelList level1(1), level2(2);
    EXPECT_EQ(serializeTemplateVersion4("", 1, 1, level1, level2), v4Header("", 1, 1, 0).bytes());
}

// ---------------------------------------------------------------------------------------------
// Legacy layouts

TEST(TemplateLegacyTest, ReadsATag512File) {
    TemplateData data;
    const ParseResult result = parseTemplate(sampleTag512(), data);
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ(data.format, TemplateFormat::Tag512);
    EXPECT_FALSE(data.managed);
    EXPECT_EQ(data.legacyFlagByte, 0);
    EXPECT_EQ(data.typeText, "\x02"); // the rest of the tag, read as header text
    ASSERT_EQ(data.level1.size(), 2u);
    ASSERT_EQ(data.level2.size(), 3u);
    EXPECT_EQ(data.level1[0].subId(), 101);
    EXPECT_EQ(data.level1[0].name(), "Client work");
    EXPECT_EQ(data.level1[0].description(), "Billable");
    EXPECT_EQ(data.level1[0].target(), 70);
    EXPECT_EQ(data.level1[0].level(), 1);
    EXPECT_EQ(data.level1[1].description(), "");
    EXPECT_EQ(data.level2[2].subId(), 203);
    EXPECT_EQ(data.level2[2].name(), "Email");
    EXPECT_EQ(data.level2[2].level(), 2);
    EXPECT_EQ(data.level2[2].target(), 0);
    const std::vector<std::pair<std::int32_t, std::int32_t>> pairs = {
        {101, 201}, {101, 202}, {102, 203}};
    EXPECT_EQ(data.assignments, pairs);
}

TEST(TemplateLegacyTest, ATraIsTag512WithItsFirstByteAsManagedFlag) {
    const std::string bytes = sampleTag512("ATra", "nsfer header");
    TemplateData data;
    ASSERT_TRUE(parseTemplate(bytes, data).ok);
    EXPECT_EQ(data.format, TemplateFormat::Tag512);
    EXPECT_EQ(data.legacyFlagByte, 0x41);
    EXPECT_TRUE(data.managed);
    EXPECT_EQ(data.typeText, "Transfer header");
    EXPECT_EQ(data.level1.size(), 2u);
    Lists lists(data);
    EXPECT_EQ(
        serializeTemplateTag512(data.legacyFlagByte, data.typeText, lists.level1, lists.level2),
        bytes);
}

TEST(TemplateLegacyTest, Tag768AndUnknownFirstBytesAreReadAsVersion3) {
    TemplateData data;
    ASSERT_TRUE(parseTemplate(sampleTag512(kTag768), data).ok);
    EXPECT_EQ(data.format, TemplateFormat::Tag768);
    EXPECT_FALSE(data.managed);
    EXPECT_EQ(data.level2.size(), 3u);

    ASSERT_TRUE(parseTemplate(sampleTag512("QQQQ"), data).ok);
    EXPECT_EQ(data.format, TemplateFormat::Tag768);
    EXPECT_TRUE(data.managed); // the first byte is not zero
    EXPECT_EQ(data.legacyFlagByte, 'Q');
    EXPECT_EQ(data.typeText, "QQQ");
    EXPECT_EQ(data.assignments.size(), 3u);
}

TEST(TemplateLegacyTest, NamesAreCutToTheirFieldsByTheWriter) {
    LevelList level1(1), level2(2);
    LevelItem item;
    item.setSubId(1);
    item.setName(std::string(20, 'a') + "b");
    item.setDescription(std::string(70, 'd'));
    item.setTarget(12);
    level1.add(item);
    const std::string bytes = serializeTemplateTag512(0, "\x02", level1, level2);
    ByteBuilder expected = legacyHeader(kTag512, "", 1, 0);
    addLevel1(expected, {1, std::string(20, 'a'), std::string(60, 'd'), 12});
    EXPECT_EQ(bytes, expected.bytes());
}

TEST(TemplateLegacyTest, EveryCutBeforeTheAssignmentsIsRefusedAndInsideThemIsLegal) {
    const std::string bytes = sampleTag512();
    ASSERT_EQ(bytes.size(), kTag512AssignmentOffset + 3 * 8);
    for (std::size_t size = 1; size < bytes.size(); ++size) {
        TemplateData data;
        const ParseResult result = parseTemplate(std::string_view(bytes).substr(0, size), data);
        if (size < kTag512AssignmentOffset) {
            EXPECT_FALSE(result.ok) << "cut at " << size;
            EXPECT_TRUE(data.level1.empty()) << "cut at " << size;
        } else {
            // The assignment section runs to the end; a tail shorter than a pair is not read.
            ASSERT_TRUE(result.ok) << "cut at " << size << ": " << result.detail;
            EXPECT_EQ(data.assignments.size(), (size - kTag512AssignmentOffset) / 8);
            EXPECT_EQ(data.level2.size(), 3u);
        }
    }
}

TEST(TemplateLegacyTest, WindowsTextInFixedFieldsIsDecoded) {
    ByteBuilder b = legacyHeader(kTag512, "", 1, 0);
    addLevel1(b, {1, "R\xE9sum\xE9", "5 \x80", 0});
    TemplateData data;
    ASSERT_TRUE(parseTemplate(b.bytes(), data).ok);
    EXPECT_EQ(data.level1[0].name(), "R\xC3\xA9sum\xC3\xA9");
    EXPECT_EQ(data.level1[0].description(), "5 \xE2\x82\xAC");
}

// ---------------------------------------------------------------------------------------------
// Either writable layout

// What the tests of both writable layouts need to know of one: a sample file, its writer, and
// files whose counts claim more items than their bytes hold, each with what it claims.
struct Version4Template {
    static constexpr const char* kName = "Version4";
    static std::string sample() { return sampleVersion4(); }
    static std::string written(const TemplateData& data, const Lists& lists) {
        return serializeTemplateVersion4(data.typeText, data.nextGroupNumber, data.nextSubId,
                                         lists.level1, lists.level2);
    }
    static std::vector<std::pair<std::string, std::string>> overcounted() {
        std::vector<std::pair<std::string, std::string>> out;
        for (std::int32_t count : {0x7FFFFFFF, -1, INT32_MIN, 5}) {
            ByteBuilder b = v4Header(kTrackerTypeText, 1, 1, count);
            addItem(b, {1, 0, 0, 0, 1, 1, 0, "Only", " ", " "});
            out.emplace_back(std::to_string(count), b.bytes());
        }
        return out;
    }
};

struct Tag512Template {
    static constexpr const char* kName = "Tag512";
    static std::string sample() { return sampleTag512(); }
    static std::string written(const TemplateData& data, const Lists& lists) {
        return serializeTemplateTag512(data.legacyFlagByte, data.typeText, lists.level1,
                                       lists.level2);
    }
    static std::vector<std::pair<std::string, std::string>> overcounted() {
        const std::pair<std::int32_t, std::int32_t> cases[] = {
            {0x7FFFFFFF, 0}, {0, 0x7FFFFFFF}, {-1, 0}, {0, -1},
            {1, 0x7FFFFFFF}, {2, 1}}; // the last: 87 + 86 bytes hold one record of each level,
                                      // not two and one
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& [c1, c2] : cases) {
            ByteBuilder b = legacyHeader(kTag512, "", c1, c2);
            addLevel1(b, {1, "One", "", 0});
            addLevel2(b, {2, "Two", ""});
            out.emplace_back(std::to_string(c1) + " " + std::to_string(c2), b.bytes());
        }
        return out;
    }
};

template <typename Layout>
class TemplateLayoutTest : public ::testing::Test {};
using WritableTemplateLayouts = ::testing::Types<Version4Template, Tag512Template>;
TYPED_TEST_SUITE(TemplateLayoutTest, WritableTemplateLayouts, NamedByKName);

TYPED_TEST(TemplateLayoutTest, WrittenBackByteIdentical) {
    const std::string bytes = TypeParam::sample();
    TemplateData data;
    ASSERT_TRUE(parseTemplate(bytes, data).ok);
    Lists lists(data);
    EXPECT_EQ(TypeParam::written(data, lists), bytes);
}

TYPED_TEST(TemplateLayoutTest, ImpossibleCountsAreRefusedWithoutReading) {
    for (const auto& [claimed, bytes] : TypeParam::overcounted()) {
        TemplateData data;
        const ParseResult result = parseTemplate(bytes, data);
        EXPECT_FALSE(result.ok) << claimed;
        EXPECT_NE(result.detail.find("more than the file can hold"), std::string::npos)
            << result.detail;
    }
}

// ---------------------------------------------------------------------------------------------
// Side file

TEST(TemplateSideFileTest, ReadsEntries) {
    const std::string bytes = sideFile({{101, 55, 0, {201, 203}}, {102, 45, 1, {}}});
    ASSERT_EQ(bytes.size(), 4u + 12 + 8 + 12);
    std::vector<SideEntry> entries;
    const ParseResult result = parseSideFile(bytes, entries);
    ASSERT_TRUE(result.ok) << result.detail;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].level1SubId, 101);
    EXPECT_EQ(entries[0].target, 55);
    EXPECT_FALSE(entries[0].active);
    EXPECT_EQ(entries[0].assigned, (std::vector<std::int32_t>{201, 203}));
    EXPECT_EQ(entries[1].level1SubId, 102);
    EXPECT_TRUE(entries[1].active);
    EXPECT_TRUE(entries[1].assigned.empty());
}

TEST(TemplateSideFileTest, BytesAfterTheLastEntryAreNotRead) {
    std::vector<SideEntry> entries;
    const ParseResult result = parseSideFile(sideFile({{101, 55, 1, {201}}}) + "xyz", entries);
    ASSERT_TRUE(result.ok) << result.detail;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].assigned, (std::vector<std::int32_t>{201}));
}

TEST(TemplateSideFileTest, AnEmptyListHasACountOfZero) {
    std::vector<SideEntry> entries;
    EXPECT_TRUE(parseSideFile(ByteBuilder().i32(0).bytes(), entries).ok);
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(parseSideFile("", entries).ok);
}

TEST(TemplateSideFileTest, DamagedSideFilesAreRefused) {
    const std::string valid =
        ByteBuilder().i32(1).i32(101).u8(55).u8(1).zeros(2).i32(2).i32(201).i32(203);
    for (std::size_t size = 0; size < valid.size(); ++size) {
        std::vector<SideEntry> entries;
        EXPECT_FALSE(parseSideFile(valid.substr(0, size), entries).ok) << "cut at " << size;
    }
    std::vector<SideEntry> entries;
    EXPECT_FALSE(parseSideFile(ByteBuilder().i32(0x7FFFFFFF).zeros(12).bytes(), entries).ok);
    EXPECT_FALSE(parseSideFile(ByteBuilder().i32(-3).bytes(), entries).ok);
    EXPECT_FALSE(
        parseSideFile(ByteBuilder().i32(1).i32(1).u8(0).u8(1).zeros(2).i32(0x7FFFFFFF).bytes(),
                      entries)
            .ok);
    EXPECT_FALSE(
        parseSideFile(ByteBuilder().i32(1).i32(1).u8(0).u8(1).zeros(2).i32(-1).bytes(), entries)
            .ok);
}

TEST(TemplateSideFileTest, ADamagedSideFileGivesNoEntries) {
    // A complete first entry, then one whose assignments run past the end.
    const std::string bytes = ByteBuilder()
                                  .i32(2)
                                  .i32(101)
                                  .u8(30)
                                  .u8(1)
                                  .zeros(2)
                                  .i32(1)
                                  .i32(201)
                                  .i32(102)
                                  .u8(70)
                                  .u8(1)
                                  .zeros(2)
                                  .i32(2)
                                  .i32(202);
    std::vector<SideEntry> entries;
    EXPECT_FALSE(parseSideFile(bytes, entries).ok);
    EXPECT_TRUE(entries.empty());
}

TEST(TemplateSideFileTest, WriterMakesTheDocumentedBytes) {
    LevelList level1(1), level2(2);
    level1.setPartner(&level2);
    LevelItem a, b, x, y;
    a.setSubId(11);
    a.setTarget(20);
    b.setSubId(12);
    b.setTarget(80);
    b.setActive(false);
    x.setSubId(21);
    y.setSubId(22);
    LevelItem* first = level1.add(a);
    level1.add(b);
    LevelItem* xs = level2.add(x);
    LevelItem* ys = level2.add(y);
    first->assign(ys);
    first->assign(xs);
    const std::string expected = sideFile({{11, 20, 1, {22, 21}}, {12, 80, 0, {}}});
    EXPECT_EQ(serializeSideFile(level1), expected);
}

// ---------------------------------------------------------------------------------------------
// Random input

TEST(TemplateFuzzTest, DamagedBytesNeverCrashTheReaders) {
    std::mt19937 random(4242);
    const std::string seeds[] = {sampleVersion4(), sampleTag512(), sampleTag512("ATra", "x")};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = seeds[round % 3];
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) {
            bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
        }
        if (random() % 4 == 0) {
            bytes.resize(random() % bytes.size());
        }
        TemplateData data;
        const ParseResult result = parseTemplate(bytes, data);
        if (!result.ok) {
            ASSERT_FALSE(result.detail.empty());
            ASSERT_TRUE(data.level1.empty() && data.level2.empty());
        }
        std::vector<SideEntry> entries;
        parseSideFile(bytes, entries);
    }
}

// ---------------------------------------------------------------------------------------------
// Taking a legacy file into the level lists

class TemplateLegacyLoadTest : public ::testing::Test {
protected:
    bool load(const std::string& bytes) {
        testing::writeBytes(dir.file("t.tpl"), bytes);
        return reporter.present(file.load(dir.file("t.tpl")));
    }

    testing::TempDir dir;
    SettableClock clock{TimeValue(1'000'000'000)};
    testing::ScriptedPrompter prompter;
    FileErrorReporter reporter{prompter, [] {}};
    TemplateFile file{clock};
};

TEST_F(TemplateLegacyLoadTest, RepeatedNamesAreDroppedWithTheirRecords) {
    ByteBuilder b = legacyHeader(kTag512, "", 2, 3);
    addLevel1(b, {1, "Alpha", "first", 10});
    addLevel1(b, {2, "ALPHA", "second", 20});
    addLevel2(b, {11, "Task", "kept"});
    addLevel2(b, {12, "task", "dropped"});
    addLevel2(b, {13, "Other", ""});
    ASSERT_TRUE(load(b));
    ASSERT_EQ(file.level1().size(), 1u);
    EXPECT_EQ(file.level1().at(0)->description(), "first");
    ASSERT_EQ(file.level2().size(), 2u);
    EXPECT_EQ(file.level2().at(0)->description(), "kept");
    EXPECT_EQ(file.level2().at(1)->name(), "Other");
    EXPECT_TRUE(prompter.empty());
}

TEST_F(TemplateLegacyLoadTest, SubIdZeroIsNumberedFromTheClock) {
    ByteBuilder b = legacyHeader(kTag512, "", 0, 3);
    addLevel2(b, {1'000'000'000, "Taken", ""});
    addLevel2(b, {0, "First new", ""});
    addLevel2(b, {0, "Second new", ""});
    ASSERT_TRUE(load(b));
    ASSERT_EQ(file.level2().size(), 3u);
    // The clock's second is held already, so the numbers count up past it.
    EXPECT_EQ(file.level2().at(1)->subId(), 1'000'000'001);
    EXPECT_EQ(file.level2().at(2)->subId(), 1'000'000'002);
}

TEST_F(TemplateLegacyLoadTest, AssignmentRunsGoToTheirLevel1Item) {
    ByteBuilder b = legacyHeader(kTag512, "", 2, 3);
    addLevel1(b, {1, "One", "", 0});
    addLevel1(b, {2, "Two", "", 0});
    addLevel2(b, {10, "Ten", ""});
    addLevel2(b, {11, "Eleven", ""});
    addLevel2(b, {12, "Twelve", ""});
    b.i32(1).i32(11).i32(1).i32(10); // a run of item 1
    b.i32(99).i32(10);               // no such level-1 item: skipped
    b.i32(2).i32(12).i32(2).i32(77); // 77 does not exist
    b.i32(1).i32(12);                // item 1 again, in a run of its own
    b.raw("\x01\x02\x03\x04\x05");   // a tail shorter than a pair
    ASSERT_TRUE(load(b));
    auto names = [](const LevelItem* item) {
        std::vector<std::string> out;
        for (const LevelItem* a : item->assigned()) {
            out.push_back(a->name());
        }
        return out;
    };
    EXPECT_EQ(names(file.level1().at(0)), (std::vector<std::string>{"Eleven", "Ten", "Twelve"}));
    EXPECT_EQ(names(file.level1().at(1)), (std::vector<std::string>{"Twelve"}));
}

TEST_F(TemplateLegacyLoadTest, TwentyCharacterNamesSurviveSaveAndLoadATwentyFirstDoesNot) {
    ByteBuilder b = legacyHeader(kTag512, "", 1, 0);
    addLevel1(b, {1, "placeholder", "", 0});
    ASSERT_TRUE(load(b));
    const std::string twenty = "abcdefghijklmnopqrst";
    const std::string twentyOne = "zyxwvutsrqponmlkjihgf";
    file.level1().at(0)->setName(twenty);
    LevelItem longer;
    longer.setSubId(2);
    longer.setName(twentyOne);
    LevelItem* added = file.level1().add(longer);
    // A 21st character is not cut off quietly: the save is refused and writes nothing.
    EXPECT_FALSE(reporter.present(file.save(dir.file("saved.tpl"))));
    EXPECT_FALSE(testing::exists(dir.file("saved.tpl")));
    added->setName(twentyOne.substr(0, 20));
    ASSERT_TRUE(reporter.present(file.save(dir.file("saved.tpl"))));

    TemplateFile reread(clock);
    ASSERT_TRUE(reread.load(dir.file("saved.tpl")));
    ASSERT_EQ(reread.level1().size(), 2u);
    EXPECT_EQ(reread.level1().at(0)->name(), twenty);
    EXPECT_EQ(reread.level1().at(1)->name(), twentyOne.substr(0, 20));
}

} // namespace
} // namespace vsolo
