#include "core/base/usertext.h"
#include "mailbridge/parse/bodyparser.h"
#include "mailbridge/parse/errortexts.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vsolo::mail {
namespace {

const std::string kSep = "\x01\x01";

// A body in a heap block of exactly its bytes and the terminating zero, so that a read past the
// terminator is caught by the address sanitizer.
class Buffer {
public:
    explicit Buffer(const std::string& bytes)
        : m_size(bytes.size()), m_bytes(std::make_unique<char[]>(bytes.size() + 1)) {
        std::memcpy(m_bytes.get(), bytes.c_str(), bytes.size() + 1);
    }
    char* data() { return m_bytes.get(); }
    std::string bytes() const { return std::string(m_bytes.get(), m_size); }

private:
    std::size_t m_size;
    std::unique_ptr<char[]> m_bytes;
};

std::string header(const std::string& name, const std::string& count) {
    return name + kSep + count + kSep;
}

// The desk 7 body: two records of two columns, its space sent as 0x02.
const std::string kDeskBody = header("desk\x02"
                                     "7",
                                     "2") +
                              "a||b" + kSep + "c||d" + kSep;

class DeskBody : public ::testing::TestWithParam<std::string> {};

TEST_P(DeskBody, ParsesAsTheUnwrappedBody) {
    Buffer buffer(GetParam());
    BodyParser parser;
    ASSERT_EQ(parser.parse(buffer.data(), 2), BodyParser::Outcome::Parsed);
    EXPECT_STREQ(parser.resourceName(), "desk 7");
    EXPECT_EQ(parser.recordCount(), 2);
    EXPECT_EQ(parser.columns(), 2);
    EXPECT_STREQ(parser.field(0, 0), "a");
    EXPECT_STREQ(parser.field(0, 1), "b");
    EXPECT_STREQ(parser.field(1, 0), "c");
    EXPECT_STREQ(parser.field(1, 1), "d");
    EXPECT_STREQ(parser.slot(3), "d");
    EXPECT_EQ(parser.rowsParsed(), 2);
    EXPECT_STREQ(parser.field(2, 0), "");
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, DeskBody,
    ::testing::Values(kDeskBody,
                      // wrapped by mail systems, inside the name, a separator, "||" and a field
                      "de\r\nsk\x02"
                      "7\x01\r\n\x01"
                      "2" +
                          kSep + "a|\n|b" + kSep + "c||\r\nd\r\n" + kSep + "\r\n"));

TEST(BodyParser, HeaderCountStandsWhenFewerRecordsFollow) {
    Buffer buffer(header("r", "5") + "x||y" + kSep + "z||tail");
    BodyParser parser;
    ASSERT_EQ(parser.parse(buffer.data(), 2), BodyParser::Outcome::Parsed);
    EXPECT_EQ(parser.recordCount(), 5);
    EXPECT_EQ(parser.rowsParsed(), 1);
    EXPECT_STREQ(parser.field(0, 1), "y");
    // "z" ends in "||" and is kept; "tail" has no terminator and is not.
    EXPECT_STREQ(parser.field(1, 0), "z");
    EXPECT_STREQ(parser.field(1, 1), "");
    EXPECT_STREQ(parser.slot(3), "");
}

TEST(BodyParser, KeepsEmptyFieldsAndOneColumnRecords) {
    Buffer three(header("", "1") + "||||" + kSep);
    BodyParser parser;
    ASSERT_EQ(parser.parse(three.data(), 3), BodyParser::Outcome::Parsed);
    EXPECT_EQ(parser.rowsParsed(), 1);
    EXPECT_STREQ(parser.field(0, 2), "");

    Buffer one(header("n", "2") + "p||q" + kSep + "r" + kSep);
    ASSERT_EQ(parser.parse(one.data(), 1), BodyParser::Outcome::Parsed);
    EXPECT_STREQ(parser.field(0, 0), "p||q");
    EXPECT_STREQ(parser.field(1, 0), "r");
    EXPECT_EQ(parser.rowsParsed(), 3);
}

TEST(BodyParser, StopsAtTheTerminator) {
    // The zero ends the body even though a terminator follows it in the same block.
    Buffer buffer(header("n", "1") + "a" + std::string(1, '\0') + "||b" + kSep);
    BodyParser parser;
    ASSERT_EQ(parser.parse(buffer.data(), 2), BodyParser::Outcome::Parsed);
    EXPECT_STREQ(parser.field(0, 0), "");
    EXPECT_EQ(parser.rowsParsed(), 0);
}

struct CountCase {
    std::string field;
    int count;
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << '"' << c.field << '"';
}

class RecordCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(RecordCount, IsTheLeadingDigits) {
    Buffer buffer(header("n", GetParam().field));
    BodyParser parser;
    ASSERT_EQ(parser.parse(buffer.data(), 6), BodyParser::Outcome::Parsed);
    EXPECT_EQ(parser.recordCount(), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Fields, RecordCount,
                         ::testing::Values(CountCase{"12", 12}, CountCase{"7 records", 7},
                                           CountCase{"", 0}, CountCase{"x3", 0}, CountCase{"-4", 0},
                                           CountCase{"2147483647", INT_MAX},
                                           CountCase{std::string(40, '9'), INT_MAX}));

std::string records(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes += "v||w" + kSep;
    }
    return bytes;
}

struct Bounds {
    std::string body;
    int columns;
    BodyParser::Outcome outcome;
};

void PrintTo(const Bounds& value, std::ostream* out) {
    *out << value.body.size() << " bytes, " << value.columns << " columns";
}

class BodyBounds : public ::testing::TestWithParam<Bounds> {};

TEST_P(BodyBounds, RefusedBodiesEmptyTheTable) {
    Buffer good(kDeskBody);
    BodyParser parser;
    ASSERT_EQ(parser.parse(good.data(), 2), BodyParser::Outcome::Parsed);

    Buffer buffer(GetParam().body);
    const auto outcome = parser.parse(buffer.data(), GetParam().columns);
    EXPECT_EQ(outcome, GetParam().outcome);
    if (outcome == BodyParser::Outcome::Parsed) {
        EXPECT_EQ(std::strlen(parser.resourceName()), GetParam().body.find(kSep));
        return;
    }
    EXPECT_STREQ(parser.resourceName(), "");
    EXPECT_EQ(parser.recordCount(), 0);
    EXPECT_STREQ(parser.field(0, 0), "");
    EXPECT_STREQ(parser.slot(0), "");
    EXPECT_EQ(parser.rowsParsed(), 2);
    // No separator of a refused body is cut out.
    EXPECT_EQ(buffer.bytes(), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, BodyBounds,
    ::testing::Values(
        Bounds{"name only", 2, BodyParser::Outcome::NoHeader},
        Bounds{"name" + kSep + "3", 2, BodyParser::Outcome::NoHeader},
        Bounds{"name\x01|\x01"
               "3" +
                   kSep,
               2, BodyParser::Outcome::NoHeader},
        Bounds{header(std::string(999, 'n'), "1") + records(1), 2, BodyParser::Outcome::Parsed},
        Bounds{header(std::string(1000, 'n'), "1") + records(1), 2,
               BodyParser::Outcome::ResourceNameTooLong},
        Bounds{header("n", "15000") + records(15000), 2, BodyParser::Outcome::Parsed},
        Bounds{header("n", "1") + records(15000) + "v||", 2, BodyParser::Outcome::TooManyCells},
        Bounds{kDeskBody, 0, BodyParser::Outcome::BadColumns},
        Bounds{kDeskBody, INT_MIN, BodyParser::Outcome::BadColumns}));

TEST(BodyParser, CellsOfAnEarlierParseAreNeverRead) {
    BodyParser parser;
    auto first = std::make_unique<Buffer>(kDeskBody);
    ASSERT_EQ(parser.parse(first->data(), 2), BodyParser::Outcome::Parsed);
    Buffer second(header("s", "2") + "e||f" + kSep);
    ASSERT_EQ(parser.parse(second.data(), 2), BodyParser::Outcome::Parsed);
    first.reset();

    EXPECT_STREQ(parser.field(0, 0), "e");
    EXPECT_STREQ(parser.field(1, 0), "");
    EXPECT_STREQ(parser.field(1, 1), "");
    EXPECT_STREQ(parser.slot(2), "");
    EXPECT_EQ(parser.rowsParsed(), 3);
    for (const auto& [row, column] : std::vector<std::pair<int, int>>{
             {-1, 0}, {0, -1}, {0, 2}, {INT_MAX, 1}, {INT_MIN, INT_MIN}, {0, INT_MAX}}) {
        EXPECT_STREQ(parser.field(row, column), "") << row << "," << column;
    }
    EXPECT_STREQ(parser.slot(SIZE_MAX), "");
}

struct TextCase {
    unsigned long code;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << "code " << c.code;
}

class ErrorText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ErrorText, IsTheFixedText) {
    const char* text = errorText(GetParam().code);
    if (GetParam().text == nullptr) {
        EXPECT_EQ(text, nullptr);
    } else {
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, GetParam().text);
    }
}

const char* const kGeneral = "A general MAPI error has occurred";

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorText,
    ::testing::Values(
        TextCase{0, nullptr}, TextCase{16, nullptr}, TextCase{1, "E-mail has not been sent."},
        TextCase{2, "General MAPI Failure"}, TextCase{3, "MAPI login procedure failed"},
        TextCase{4, "An error occurred because the hard drive is running out of space"},
        TextCase{5, "MAPI is encountering low memory problems"},
        TextCase{8, "MAPI has too many sessions open"},
        TextCase{9, "There are too many attachments"}, TextCase{14, "The recipient does not exist"},
        TextCase{15, "MAPI recipient type was invalid"}, TextCase{17, "The message is not valid"},
        TextCase{18, "The text in the message is too long"}, TextCase{19, "Invalid MAPI session"},
        TextCase{25, "One or more recipients are invalid"}, TextCase{6, kGeneral},
        TextCase{7, kGeneral}, TextCase{26, kGeneral}, TextCase{ULONG_MAX, kGeneral}));

// The library's boxes reach the user through the tracker's prompter: the code's text in the
// user's language, the cause as the mail layer gave it, and any other box as it is.
class ErrorTextInUserLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        setTextTranslator([](const char* text) { return "<" + std::string(text) + ">"; });
    }
    void TearDown() override { setTextTranslator({}); }
};

TEST_F(ErrorTextInUserLanguage, TranslatesOnlyTheCodesText) {
    const std::pair<const char*, const char*> cases[] = {
        {"General MAPI Failure", "<General MAPI Failure>"},
        {"General MAPI Failure: refused: 5.7.1", "<General MAPI Failure>: refused: 5.7.1"},
        {"A general MAPI error has occurred: x", "<A general MAPI error has occurred>: x"},
        {"General MAPI Failures", "General MAPI Failures"},
        {"The mail profiles cannot be read", "The mail profiles cannot be read"},
    };
    for (const auto& [shown, expected] : cases) {
        EXPECT_EQ(inUserLanguage(shown), expected) << shown;
    }
}

} // namespace
} // namespace vsolo::mail
