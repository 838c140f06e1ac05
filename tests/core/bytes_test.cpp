#include "core/base/bytes.h"
#include "tests/support/bytebuilder.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>

namespace vsolo {
namespace {

using testing::ByteBuilder;
using namespace std::string_literals;

// ---------------------------------------------------------------------------------------------
// Reading numbers

TEST(BytesReaderTest, ReadsLittleEndianNumbersInOrder) {
    const std::string data = "\x01\x02\x03\x04\xFF\xFF\xFF\xFF\x34\x12\xAB\x00\x00\x00\x80"s;
    ByteReader in(data);
    std::int32_t a = 0, b = 0, c = 0;
    std::uint16_t h = 0;
    std::uint8_t u = 0;
    ASSERT_TRUE(in.readI32(a));
    ASSERT_TRUE(in.readI32(b));
    ASSERT_TRUE(in.readU16(h));
    ASSERT_TRUE(in.readU8(u));
    ASSERT_TRUE(in.readI32(c));
    EXPECT_EQ(a, 0x04030201);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(h, 0x1234);
    EXPECT_EQ(u, 0xAB);
    EXPECT_EQ(c, INT32_MIN);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.position(), data.size());
}

TEST(BytesReaderTest, NeverReadsPastTheEndAndLeavesThePositionOnFailure) {
    const std::string data = "\x11\x22\x33"s;
    ByteReader in(data);
    std::int32_t i = 7;
    EXPECT_FALSE(in.readI32(i));
    EXPECT_EQ(i, 7);
    EXPECT_EQ(in.position(), 0u);

    std::uint16_t h = 0;
    ASSERT_TRUE(in.readU16(h));
    EXPECT_EQ(h, 0x2211);
    EXPECT_FALSE(in.readU16(h));
    EXPECT_EQ(in.position(), 2u);
    EXPECT_FALSE(in.skip(2));
    EXPECT_EQ(in.position(), 2u);

    std::string_view field;
    EXPECT_FALSE(in.readBytes(2, field));
    ASSERT_TRUE(in.readBytes(1, field));
    EXPECT_EQ(field, "\x33");
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.remaining(), 0u);

    std::uint8_t u = 5;
    EXPECT_FALSE(in.readU8(u));
    EXPECT_EQ(u, 5);
    EXPECT_TRUE(in.readBytes(0, field)); // an empty field always fits
    EXPECT_TRUE(in.skip(0));
    EXPECT_EQ(in.position(), 3u);
}

TEST(BytesReaderTest, AnEmptyInputHasNothingToRead) {
    ByteReader in(std::string_view{});
    std::uint8_t u = 0;
    std::string text;
    EXPECT_TRUE(in.atEnd());
    EXPECT_FALSE(in.readU8(u));
    EXPECT_FALSE(in.readFixedText(1, text));
    EXPECT_EQ(in.readCountedText(100, text), ByteReader::CountedText::Truncated);
}

TEST(BytesReaderTest, SkipsExactlyTheRemainingBytes) {
    const std::string data(10, 'x');
    ByteReader in(data);
    EXPECT_TRUE(in.skip(4));
    EXPECT_FALSE(in.skip(7));
    EXPECT_TRUE(in.skip(6));
    EXPECT_TRUE(in.atEnd());
}

// ---------------------------------------------------------------------------------------------
// Fixed texts

TEST(BytesFixedTextTest, ReadsUpToTheFirstZeroAndConsumesTheWholeField) {
    const std::string data = ByteBuilder().fixed("abc", 8).raw("Z");
    ByteReader in(data);
    std::string text;
    ASSERT_TRUE(in.readFixedText(8, text));
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(in.position(), 8u);
}

TEST(BytesFixedTextTest, AFieldWithoutZeroIsTakenWhole) {
    ByteReader in("abcdef");
    std::string text;
    ASSERT_TRUE(in.readFixedText(6, text));
    EXPECT_EQ(text, "abcdef");
}

TEST(BytesFixedTextTest, BytesAfterTheTerminatorAreIgnored) {
    const std::string data = "ab\0junk"s;
    ByteReader in(data);
    std::string text;
    ASSERT_TRUE(in.readFixedText(7, text));
    EXPECT_EQ(text, "ab");
}

TEST(BytesFixedTextTest, AFieldCutShortIsRefusedWithoutMoving) {
    ByteReader in("abc");
    std::string text = "keep";
    EXPECT_FALSE(in.readFixedText(4, text));
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(in.position(), 0u);
}

TEST(BytesFixedTextTest, WritesTheTextAndZeroPadding) {
    ByteWriter out;
    out.writeFixedText("abc", 6);
    EXPECT_EQ(out.data(), "abc\0\0\0"s);
}

TEST(BytesFixedTextTest, KeepsAtMostSizeMinusOneBytes) {
    ByteWriter out;
    out.writeFixedText("abcdefgh", 5);
    EXPECT_EQ(out.data(), "abcd\0"s);
    out.clear();
    out.writeFixedText("abcd", 5); // exactly fits with its terminator
    EXPECT_EQ(out.data(), "abcd\0"s);
}

TEST(BytesFixedTextTest, WritesWindows1252OneByteACharacter) {
    ByteWriter out;
    EXPECT_TRUE(out.writeFixedText("a\xC3\xA9", 3)); // "aé": two characters, two bytes
    EXPECT_EQ(out.data(), "a\xE9\0"s);
    out.clear();
    EXPECT_TRUE(out.writeFixedText("\xE2\x82\xAC\xC5\xB8", 3)); // "€Ÿ"
    EXPECT_EQ(out.data(), "\x80\x9F\0"s);
    out.clear();
    // A character that Windows-1252 cannot hold is never written as part of one.
    EXPECT_FALSE(out.writeFixedText("x\xF0\x9F\x98\x80y", 6));
    EXPECT_EQ(out.data(), "x?y\0\0\0"s);
    out.clear();
    // Cut at a character: never inside one, and the caller learns of it.
    EXPECT_FALSE(out.writeFixedText("\xC3\xA9\xC3\xA9\xC3\xA9", 3));
    EXPECT_EQ(out.data(), "\xE9\xE9\0"s);
}

TEST(BytesFixedTextTest, StopsAtAnEmbeddedZeroAndWritesNothingForSizeZero) {
    ByteWriter out;
    out.writeFixedText("ab\0cd"s, 6);
    EXPECT_EQ(out.data(), "ab\0\0\0\0"s);
    out.clear();
    out.writeFixedText("abc", 0);
    EXPECT_TRUE(out.data().empty());
}

TEST(BytesFixedTextTest, WrittenFieldReadsBack) {
    ByteWriter out;
    out.writeFixedText("Caf\xC3\xA9 \xE2\x82\xAC", 21);
    ASSERT_EQ(out.size(), 21u);
    ByteReader in(out.data());
    std::string text;
    ASSERT_TRUE(in.readFixedText(21, text));
    EXPECT_EQ(text, "Caf\xC3\xA9 \xE2\x82\xAC");
}

// ---------------------------------------------------------------------------------------------
// Counted texts

TEST(BytesCountedTextTest, ReadsTheLengthWithItsTerminator) {
    const std::string data = ByteBuilder().counted("hello").raw("!");
    ByteReader in(data);
    std::string text;
    ASSERT_EQ(in.readCountedText(100, text), ByteReader::CountedText::Ok);
    EXPECT_EQ(text, "hello");
    EXPECT_EQ(in.position(), 4u + 6u);
}

TEST(BytesCountedTextTest, UnsetAndEmptyTexts) {
    const std::string data = ByteBuilder().i32(2).raw(" \0"s).i32(1).u8(0);
    ByteReader in(data);
    std::string unset, empty = "x";
    ASSERT_EQ(in.readCountedText(100, unset), ByteReader::CountedText::Ok);
    ASSERT_EQ(in.readCountedText(100, empty), ByteReader::CountedText::Ok);
    EXPECT_EQ(unset, " ");
    EXPECT_EQ(empty, "");
    EXPECT_TRUE(in.atEnd());
}

TEST(BytesCountedTextTest, ALengthAtTheLimitIsAccepted) {
    const std::string body(9999, 'a');
    const std::string data = ByteBuilder().counted(body);
    ByteReader in(data);
    std::string text;
    ASSERT_EQ(in.readCountedText(10000, text), ByteReader::CountedText::Ok);
    EXPECT_EQ(text, body);
}

TEST(BytesCountedTextTest, ALengthAboveTheLimitIsRefusedBeforeReading) {
    // The bytes are all there, yet the text is refused: the buffer could not take it.
    const std::string data = ByteBuilder().counted(std::string(10000, 'a'));
    ByteReader in(data);
    std::string text = "keep";
    EXPECT_EQ(in.readCountedText(10000, text), ByteReader::CountedText::TooLong);
    EXPECT_EQ(text, "keep");
    EXPECT_LE(in.position(), 4u);
}

TEST(BytesCountedTextTest, AHugeLengthIsTooLongEvenWhenTheDataEndsAtOnce) {
    const std::string data = ByteBuilder().i32(0x7FFFFFFF).raw("ab");
    ByteReader in(data);
    std::string text;
    EXPECT_EQ(in.readCountedText(10000, text), ByteReader::CountedText::TooLong);
}

TEST(BytesCountedTextTest, ANegativeLengthIsTooLong) {
    const std::string data = ByteBuilder().i32(-1).raw("abc");
    ByteReader in(data);
    std::string text;
    EXPECT_EQ(in.readCountedText(SIZE_MAX, text), ByteReader::CountedText::TooLong);
}

TEST(BytesCountedTextTest, ALengthRunningPastTheEndIsTruncated) {
    const std::string data = ByteBuilder().i32(10).raw("abc");
    ByteReader in(data);
    std::string text = "keep";
    EXPECT_EQ(in.readCountedText(100, text), ByteReader::CountedText::Truncated);
    EXPECT_EQ(text, "keep");
    // With no limit to stop it first, the largest length still only compares with what is left.
    const std::string huge = ByteBuilder().i32(0x7FFFFFFF).raw("abc");
    ByteReader in2(huge);
    EXPECT_EQ(in2.readCountedText(SIZE_MAX, text), ByteReader::CountedText::Truncated);
}

TEST(BytesCountedTextTest, ALengthFieldCutShortIsTruncated) {
    const std::string data = "\x05\x00"s;
    ByteReader in(data);
    std::string text;
    EXPECT_EQ(in.readCountedText(100, text), ByteReader::CountedText::Truncated);
}

TEST(BytesCountedTextTest, WritesLengthTextAndZero) {
    ByteWriter out;
    out.writeCountedText("abc");
    out.writeCountedText("");
    out.writeCountedText(" ");
    EXPECT_EQ(out.data(), "\x04\0\0\0abc\0"
                          "\x01\0\0\0\0"
                          "\x02\0\0\0 \0"s);
}

TEST(BytesCountedTextTest, AnEmbeddedZeroEndsTheWrittenText) {
    ByteWriter out;
    out.writeCountedText("ab\0cd"s);
    EXPECT_EQ(out.data(), "\x03\0\0\0ab\0"s);
}

TEST(BytesWriterTest, WritesLittleEndianNumbers) {
    ByteWriter out;
    out.writeI32(-2);
    out.writeI32(0x01020304);
    out.writeU16(0xBEEF);
    out.writeU8(0x7F);
    out.writeZeros(2);
    EXPECT_EQ(out.data(), "\xFE\xFF\xFF\xFF\x04\x03\x02\x01\xEF\xBE\x7F\0\0"s);
    EXPECT_EQ(out.size(), 13u);
    const std::string taken = out.take();
    EXPECT_EQ(taken.size(), 13u);
}

TEST(BytesWriterTest, LoadAndStoreAreInverse) {
    for (std::int32_t value : {0, 1, -1, 0x12345678, INT32_MIN, INT32_MAX}) {
        char buffer[4];
        storeI32(buffer, value);
        EXPECT_EQ(loadI32(buffer), value);
    }
    const char bytes[4] = {'\x78', '\x56', '\x34', '\x12'};
    EXPECT_EQ(loadI32(bytes), 0x12345678);
}

// ---------------------------------------------------------------------------------------------
// Text decoding

TEST(BytesDecodeTest, ValidUtf8IsKeptAsItIs) {
    const std::string text = "plain, caf\xC3\xA9, \xE2\x82\xAC, \xF0\x9F\x98\x80";
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(decodeFileText(text), text);
    EXPECT_EQ(decodeFileText(""), "");
}

TEST(BytesDecodeTest, InvalidUtf8IsReadAsWindows1252) {
    EXPECT_EQ(decodeFileText("\x80"), "\xE2\x82\xAC");   // euro sign
    EXPECT_EQ(decodeFileText("caf\xE9"), "caf\xC3\xA9"); // é
    EXPECT_EQ(decodeFileText("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(decodeFileText("\x9F"), "\xC5\xB8");             // Ÿ
    EXPECT_EQ(decodeFileText("\xA0\xFF"), "\xC2\xA0\xC3\xBF"); // no-break space, ÿ
    EXPECT_EQ(decodeFileText("\x99"), "\xE2\x84\xA2");         // trade mark
}

TEST(BytesDecodeTest, UnassignedWindows1252BytesAreKeptAsControls) {
    EXPECT_EQ(decodeFileText("\x81"), "\xC2\x81");
    EXPECT_EQ(decodeFileText("\x8D\x8F\x90\x9D"), "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(BytesDecodeTest, OneStrayByteMakesTheWholeTextWindows1252) {
    // "é" in UTF-8 followed by a Windows-1252 "é": the text as a whole is not UTF-8.
    EXPECT_EQ(decodeFileText("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
}

TEST(BytesDecodeTest, RecognisesMalformedUtf8) {
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));         // overlong zero
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));     // overlong slash
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xC3"));             // cut short
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));         // cut short
    EXPECT_FALSE(isValidUtf8("\xA9"));             // a continuation byte alone
    EXPECT_FALSE(isValidUtf8("\xFF"));
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF")); // U+10FFFF
    EXPECT_TRUE(isValidUtf8("\xEF\xBF\xBF"));
}

TEST(BytesDecodeTest, EverySingleByteDecodesToValidUtf8) {
    for (int b = 1; b < 256; ++b) {
        const std::string decoded = decodeFileText(std::string(1, static_cast<char>(b)));
        EXPECT_TRUE(isValidUtf8(decoded)) << "byte " << b;
        EXPECT_FALSE(decoded.empty()) << "byte " << b;
    }
}

TEST(BytesDecodeTest, TextsReadFromFieldsAreDecoded) {
    const std::string data = ByteBuilder().fixed("\x80 5", 6).counted("na\xEFve");
    ByteReader in(data);
    std::string fixed, counted;
    ASSERT_TRUE(in.readFixedText(6, fixed));
    ASSERT_EQ(in.readCountedText(100, counted), ByteReader::CountedText::Ok);
    EXPECT_EQ(fixed, "\xE2\x82\xAC 5");
    EXPECT_EQ(counted, "na\xC3\xAFve");
}

TEST(BytesDecodeTest, FixedTextsAreAlwaysReadAsWindows1252) {
    // They are always written in it: bytes that happen to be valid UTF-8 are still two characters.
    const std::string data = ByteBuilder().fixed("\xC3\xA9t", 5);
    ByteReader in(data);
    std::string text;
    ASSERT_TRUE(in.readFixedText(5, text));
    EXPECT_EQ(text, "\xC3\x83\xC2\xA9t"); // "Ã©t"
}

TEST(BytesWindows1252Test, EveryByteReadsBackAndWritesBackUnchanged) {
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        std::string encoded;
        EXPECT_TRUE(encodeWindows1252(decodeWindows1252(byte), encoded)) << "byte " << b;
        EXPECT_EQ(encoded, byte) << "byte " << b;
    }
}

TEST(BytesWindows1252Test, CharactersWithoutAByteAreRefused) {
    std::string encoded;
    EXPECT_FALSE(encodeWindows1252("a\xE2\x9C\x93"
                                   "b",
                                   encoded)); // check mark
    EXPECT_EQ(encoded, "a?b");
    EXPECT_FALSE(encodeWindows1252("\xC2\x80", encoded)); // U+0080 is no "€"
    EXPECT_FALSE(encodeWindows1252("\xC4\x80", encoded)); // Ā
    EXPECT_FALSE(encodeWindows1252("\xC3", encoded));     // a stray byte
    EXPECT_TRUE(encodeWindows1252("", encoded));
    EXPECT_EQ(encoded, "");
}

TEST(BytesCodePointTest, WalksCharactersAndTakesStrayBytesAlone) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF";
    std::size_t p = 0;
    EXPECT_EQ(nextCodePoint(text, p), U'a');
    EXPECT_EQ(nextCodePoint(text, p), U'\u00E9');
    EXPECT_EQ(nextCodePoint(text, p), U'\u20AC');
    EXPECT_EQ(nextCodePoint(text, p), U'\U0001F600');
    EXPECT_EQ(nextCodePoint(text, p), U'\uFFFD');
    EXPECT_EQ(p, text.size());
    EXPECT_EQ(countCharacters(text), 5u);
    EXPECT_EQ(countCharacters(""), 0u);
}

TEST(BytesCountedTextTest, AWrittenTextIsCutAtACharacterToTheReadersLimit) {
    ByteWriter out;
    EXPECT_FALSE(out.writeCountedText("a\xC3\xA9\xC3\xA9", 5)); // room for 4 bytes: "aé"
    EXPECT_EQ(out.data(), "\x04\0\0\0a\xC3\xA9\0"s);
    ByteReader in(out.data());
    std::string text;
    EXPECT_EQ(in.readCountedText(5, text), ByteReader::CountedText::Ok);
    out.clear();
    EXPECT_TRUE(out.writeCountedText("abcd", 5));
    EXPECT_EQ(out.data(), "\x05\0\0\0abcd\0"s);
}

TEST(BytesCutTest, CutsAtCharacterBoundaries) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC"; // a é €: 1 + 2 + 3 bytes
    EXPECT_EQ(cutUtf8(text, 0), "");
    EXPECT_EQ(cutUtf8(text, 1), "a");
    EXPECT_EQ(cutUtf8(text, 2), "a");
    EXPECT_EQ(cutUtf8(text, 3), "a\xC3\xA9");
    EXPECT_EQ(cutUtf8(text, 5), "a\xC3\xA9");
    EXPECT_EQ(cutUtf8(text, 6), text);
    EXPECT_EQ(cutUtf8(text, 100), text);
}

// ---------------------------------------------------------------------------------------------
// Random input

TEST(BytesFuzzTest, RandomBytesNeverReadOutOfBounds) {
    std::mt19937 random(20260611);
    for (int round = 0; round < 3000; ++round) {
        std::string data(random() % 64, '\0');
        for (char& c : data) {
            c = static_cast<char>(random() & 0xFF);
        }
        ByteReader in(data);
        for (int step = 0; step < 40 && !in.atEnd(); ++step) {
            std::string text;
            std::string_view field;
            std::int32_t i = 0;
            std::uint16_t h = 0;
            std::uint8_t u = 0;
            switch (random() % 7) {
            case 0:
                in.readI32(i);
                break;
            case 1:
                in.readU16(h);
                break;
            case 2:
                in.readU8(u);
                break;
            case 3:
                in.readFixedText(random() % 30, text);
                break;
            case 4:
                in.readCountedText(random() % 40, text);
                break;
            case 5:
                in.readBytes(random() % 20, field);
                break;
            default:
                in.skip(random() % 10);
                break;
            }
            ASSERT_LE(in.position(), data.size());
            ASSERT_TRUE(isValidUtf8(text));
        }
        const std::string decoded = decodeFileText(data);
        ASSERT_TRUE(isValidUtf8(decoded));
        const std::size_t limit = random() % 70;
        const std::string_view cut = cutUtf8(decoded, limit);
        ASSERT_LE(cut.size(), limit);
        ASSERT_TRUE(isValidUtf8(cut));
        ASSERT_EQ(decoded.compare(0, cut.size(), cut), 0);
    }
}

} // namespace
} // namespace vsolo
