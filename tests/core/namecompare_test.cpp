#include "core/base/namecompare.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vsolo {
namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

// Holds a text in a heap block of exactly its size, so that reading past the end of a truncated
// sequence is caught by the address sanitizer instead of landing on a terminating zero.
class ExactText {
public:
    explicit ExactText(std::string_view text)
        : m_size(text.size()), m_bytes(std::make_unique<char[]>(text.size())) {
        if (!text.empty()) {
            std::memcpy(m_bytes.get(), text.data(), text.size());
        }
    }
    std::string_view view() const { return {m_bytes.get(), m_size}; }

private:
    std::size_t m_size;
    std::unique_ptr<char[]> m_bytes;
};

TEST(NameCompareFold, AsciiLettersOnly) {
    EXPECT_EQ(foldCodePoint(U'A'), U'a');
    EXPECT_EQ(foldCodePoint(U'Z'), U'z');
    EXPECT_EQ(foldCodePoint(U'a'), U'a');
    EXPECT_EQ(foldCodePoint(U'@'), U'@');
    EXPECT_EQ(foldCodePoint(U'['), U'[');
    EXPECT_EQ(foldCodePoint(U'_'), U'_');
    EXPECT_EQ(foldCodePoint(U'0'), U'0');

    EXPECT_EQ(compareNames("Sales", "sales"), 0);
    EXPECT_EQ(compareNames("sALES", "SaLeS"), 0);
    EXPECT_TRUE(namesEqual("ABC-9", "abc-9"));
    EXPECT_FALSE(namesEqual("abc", "abd"));
    EXPECT_FALSE(namesEqual("@", "`"));
    EXPECT_FALSE(namesEqual("[", "{"));
}

TEST(NameCompareFold, Latin1Supplement) {
    // U+00C0..U+00DE fold to U+00E0..U+00FE, except the multiplication sign.
    EXPECT_EQ(foldCodePoint(0xC0), char32_t{0xE0});
    EXPECT_EQ(foldCodePoint(0xC9), char32_t{0xE9});
    EXPECT_EQ(foldCodePoint(0xD6), char32_t{0xF6});
    EXPECT_EQ(foldCodePoint(0xD7), char32_t{0xD7});
    EXPECT_EQ(foldCodePoint(0xD8), char32_t{0xF8});
    EXPECT_EQ(foldCodePoint(0xDE), char32_t{0xFE});
    EXPECT_EQ(foldCodePoint(0xBF), char32_t{0xBF});
    EXPECT_EQ(foldCodePoint(0xDF), char32_t{0xDF});
    EXPECT_EQ(foldCodePoint(0xE0), char32_t{0xE0});
    EXPECT_EQ(foldCodePoint(0xF7), char32_t{0xF7});
    EXPECT_EQ(foldCodePoint(0xFF), char32_t{0xFF});

    EXPECT_EQ(compareNames("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"), 0); // ÉTÉ, été
    EXPECT_EQ(compareNames("\xC3\x80", "\xC3\xA0"), 0);                   // À, à
    EXPECT_EQ(compareNames("\xC3\x9E", "\xC3\xBE"), 0);                   // Þ, þ
    EXPECT_NE(compareNames("\xC3\x97", "\xC3\xB7"), 0);                   // ×, ÷
    EXPECT_NE(compareNames("\xC3\x9F", "ss"), 0);                         // ß
}

TEST(NameCompareFold, LatinExtendedAPairs) {
    // Even capitals from U+0100, odd capitals from U+0139 and U+0179, even again from U+014A.
    EXPECT_EQ(foldCodePoint(0x100), char32_t{0x101});
    EXPECT_EQ(foldCodePoint(0x101), char32_t{0x101});
    EXPECT_EQ(foldCodePoint(0x12E), char32_t{0x12F});
    EXPECT_EQ(foldCodePoint(0x132), char32_t{0x133});
    EXPECT_EQ(foldCodePoint(0x136), char32_t{0x137});
    EXPECT_EQ(foldCodePoint(0x139), char32_t{0x13A});
    EXPECT_EQ(foldCodePoint(0x13A), char32_t{0x13A});
    EXPECT_EQ(foldCodePoint(0x147), char32_t{0x148});
    EXPECT_EQ(foldCodePoint(0x148), char32_t{0x148});
    EXPECT_EQ(foldCodePoint(0x14A), char32_t{0x14B});
    EXPECT_EQ(foldCodePoint(0x176), char32_t{0x177});
    EXPECT_EQ(foldCodePoint(0x179), char32_t{0x17A});
    EXPECT_EQ(foldCodePoint(0x17A), char32_t{0x17A});
    EXPECT_EQ(foldCodePoint(0x17D), char32_t{0x17E});
    // The odd ones out.
    EXPECT_EQ(foldCodePoint(0x130), char32_t{U'i'});
    EXPECT_EQ(foldCodePoint(0x178), char32_t{0xFF});
    EXPECT_EQ(foldCodePoint(0x131), char32_t{0x131});
    EXPECT_EQ(foldCodePoint(0x138), char32_t{0x138});
    EXPECT_EQ(foldCodePoint(0x149), char32_t{0x149});
    EXPECT_EQ(foldCodePoint(0x17F), char32_t{0x17F});
    // Beyond the block nothing folds.
    EXPECT_EQ(foldCodePoint(0x180), char32_t{0x180});
    EXPECT_EQ(foldCodePoint(0x410), char32_t{0x410});

    EXPECT_EQ(compareNames("\xC4\x80", "\xC4\x81"), 0);        // Ā, ā
    EXPECT_EQ(compareNames("\xC4\xB9", "\xC4\xBA"), 0);        // Ĺ, ĺ
    EXPECT_EQ(compareNames("\xC5\xB9", "\xC5\xBA"), 0);        // Ź, ź
    EXPECT_EQ(compareNames("\xC5\xB8", "\xC3\xBF"), 0);        // Ÿ, ÿ
    EXPECT_EQ(compareNames("\xC4\xB0stanbul", "istanbul"), 0); // İ
    EXPECT_EQ(compareNames("\xC4\xB0", "I"), 0);
    EXPECT_NE(compareNames("\xC4\xB1", "i"), 0); // ı
    EXPECT_NE(compareNames("\xC4\xB1", "I"), 0);
    EXPECT_NE(compareNames("\xC4\xBA", "\xC4\xBB"), 0); // ĺ, Ļ: neighbours, not a pair
    EXPECT_NE(compareNames("\xD0\x90", "\xD0\xB0"), 0); // Cyrillic А, а
}

TEST(NameCompareOrder, FollowsTheFoldedCodePoints) {
    // Letters fold to lower case, so '_' (between the capitals and the smalls) comes first.
    EXPECT_LT(compareNames("_", "A"), 0);
    EXPECT_LT(compareNames("_zeta", "Alpha"), 0);
    EXPECT_LT(compareNames("[", "a"), 0);
    EXPECT_LT(compareNames("9", "a"), 0);
    EXPECT_LT(compareNames("apple", "Banana"), 0);
    EXPECT_GT(compareNames("Banana", "apple"), 0);
    // ß is U+00DF, below the folded À (U+00E0), though its encoding is the greater one.
    EXPECT_LT(compareNames("\xC3\x9F", "\xC3\x80"), 0);
    // Accented letters come after 'z'.
    EXPECT_LT(compareNames("Zz", "\xC3\x80"), 0);
    EXPECT_LT(compareNames("e", "\xC3\x89"), 0);

    // A prefix comes first, whatever the case.
    EXPECT_EQ(compareNames("", ""), 0);
    EXPECT_LT(compareNames("", "a"), 0);
    EXPECT_GT(compareNames("a", ""), 0);
    EXPECT_LT(compareNames("abc", "ABCD"), 0);
    EXPECT_GT(compareNames("ABCD", "abc"), 0);
    EXPECT_LT(compareNames("\xC3\x89t", "\xC3\xA9T\xC3\xA9"), 0);
    // The first difference decides, not the length.
    EXPECT_GT(compareNames("b", "aZZZZ"), 0);
    // Embedded zero bytes are ordinary characters.
    EXPECT_GT(compareNames(std::string_view("a\0b", 3), "a"), 0);
    EXPECT_LT(compareNames(std::string_view("a\0b", 3), "a b"), 0);
}

TEST(NameCompareInvalid, BytesCompareAsThemselvesAfterAllCodePoints) {
    // An invalid byte ranks above the last code point and is never folded, not even where its
    // value looks like a Latin-1 capital.
    EXPECT_GT(compareNames("\x80", "\xF4\x8F\xBF\xBF"), 0);
    EXPECT_LT(compareNames("\x80", "\x81"), 0);
    EXPECT_NE(compareNames("\xC9", "\xE9"), 0);
    EXPECT_NE(compareNames("\xC9", "\xC3\x89"), 0);
    EXPECT_EQ(compareNames("a\xFF", "A\xFF"), 0);

    // Overlong encodings, surrogates and numbers past U+10FFFF are invalid, not the character
    // they spell.
    EXPECT_NE(compareNames("\xC0\xAF", "/"), 0);
    EXPECT_GT(compareNames("\xC0\xAF", "/"), 0);
    EXPECT_NE(compareNames("\xC1\x81", "A"), 0);
    EXPECT_NE(compareNames("\xE0\x80\xAF", "/"), 0);
    EXPECT_NE(compareNames("\xF0\x80\x80\xAF", "/"), 0);
    EXPECT_NE(compareNames("\xE0\x83\x89", "\xC3\x89"), 0);
    EXPECT_GT(compareNames("\xED\xA0\x80", "\xEF\xBF\xBF"), 0);
    EXPECT_GT(compareNames("\xF4\x90\x80\x80", "\xF4\x8F\xBF\xBF"), 0);
    // Well-formed sequences at each length boundary are characters.
    EXPECT_LT(compareNames("\xC2\x80", "\x80"), 0);
    EXPECT_LT(compareNames("\xE0\xA0\x80", "\x80"), 0);
    EXPECT_LT(compareNames("\xF0\x90\x80\x80", "\x80"), 0);

    // A truncated sequence is its lead byte on its own, followed by whatever comes next.
    EXPECT_GT(compareNames("\xE2\x82", "\xE2\x82\xAC"), 0);
    EXPECT_LT(compareNames("\xC3", "\xC3("), 0);
    EXPECT_NE(compareNames("\xC3(", "\xC3\xA8"), 0);
    EXPECT_EQ(compareNames("\xC3(", "\xC3("), 0);
}

TEST(NameCompareInvalid, ArbitraryBytesGiveAConsistentOrder) {
    const std::vector<std::string> texts{
        "",
        "a",
        "A",
        "ab",
        "_",
        std::string("\0", 1),
        "\x80",
        "\xBF",
        "\xFF",
        "\xC3",
        "a\xC3",
        "\xC3(",
        "\xC3\x89",
        "\xC3\xA9",
        "\xE2\x82",
        "\xE2\x82\xAC",
        "\xF0\x9F\x98",
        "\xF0\x9F\x98\x80",
        "\xC0\x80",
        "\xC1\xBF",
        "\xE0\x80\xAF",
        "\xF0\x80\x80\xAF",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\xC5\xB8",
        "\xC3\xBF",
    };
    std::vector<ExactText> exact;
    for (const std::string& text : texts) {
        exact.emplace_back(text);
    }
    const std::size_t n = exact.size();
    std::vector<std::vector<int>> order(n, std::vector<int>(n));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            order[i][j] = sign(compareNames(exact[i].view(), exact[j].view()));
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(::testing::Message() << "text " << i);
        EXPECT_EQ(order[i][i], 0);
        for (std::size_t j = 0; j < n; ++j) {
            EXPECT_EQ(order[i][j], -order[j][i]) << "against " << j;
            for (std::size_t k = 0; k < n; ++k) {
                if (order[i][j] <= 0 && order[j][k] <= 0) {
                    EXPECT_LE(order[i][k], 0) << "through " << j << " to " << k;
                }
            }
        }
    }
    // Among the samples only the case pairs are equal.
    int equalPairs = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            equalPairs += order[i][j] == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(equalPairs, 3); // a/A, É/é, Ÿ/ÿ
}

} // namespace
} // namespace vsolo
