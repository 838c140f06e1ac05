#include "mailbridge/layer/maillayer.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace vsolo::mail {
namespace {

using namespace std::string_literals;

OutgoingMail sampleMail(std::string noteText) {
    OutgoingMail mail;
    mail.subject = "Stunden für März: Größe";
    mail.noteText = std::move(noteText);
    mail.messageType = "Transaction file";
    mail.fromName = "Jürgen Ölmann";
    mail.fromAddress = "juergen@example.org";
    mail.to = {{"Zentrale Büro", "office@example.org"}};
    return mail;
}

TEST(ComposeTest, WritesTheHeaderFieldsInSevenBits) {
    const std::string raw = composeMessage(sampleMail("body"), 1700000000, "a1.b2@host.example");
    for (const char* line :
         {"\r\nDate: Tue, 14 Nov 2023 22:13:20 +0000\r\n",
          "\r\nMessage-Id: <a1.b2@host.example>\r\n", "\r\nX-Message-Type: Transaction file\r\n",
          "\r\nContent-Type: text/plain; charset=utf-8\r\n",
          "\r\nContent-Transfer-Encoding: quoted-printable\r\n", "<office@example.org>\r\n"})
        EXPECT_NE(raw.find(line), std::string::npos) << line;
    const auto subject = raw.find("\r\nSubject: ");
    ASSERT_NE(subject, std::string::npos);
    EXPECT_LT(raw.find("=?utf-8?", subject), raw.find("\r\n", subject + 2));
    for (const char c : raw)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "8-bit byte in the composed message";

    OutgoingMail untyped = sampleMail("body");
    untyped.messageType.clear();
    untyped.fromName.clear();
    const std::string bare = composeMessage(untyped, 0, "x@y");
    EXPECT_EQ(bare.find("X-Message-Type"), std::string::npos);
    EXPECT_EQ(bare.rfind("From: juergen@example.org\r\n", 0), 0u) << bare;
}

TEST(ComposeTest, LineBreaksInHeaderTextsCannotEndTheHeader) {
    OutgoingMail mail = sampleMail("the note");
    mail.subject = "s\r\nBcc: evil@example.org";
    mail.to = {{"Ann\r\n\r\ninjected body", "office@example.org"}};
    mail.fromAddress = "<@\nBcc: evil@example.org";
    mail.messageType = "T\rX-Other: 1";
    const std::string raw = composeMessage(mail, 0, "id<\n,(\r)x@host>");
    EXPECT_EQ(raw.find("\nBcc:"), std::string::npos) << raw;
    EXPECT_EQ(raw.find("\nX-Other:"), std::string::npos) << raw;
    ReceivedMail got;
    ASSERT_TRUE(decodeMessage(raw, got));
    EXPECT_EQ(got.noteText, "the note");
    EXPECT_EQ(got.subject, "s  Bcc: evil@example.org");
}

// A named input, so that test listings show the name instead of the bytes.
struct Named {
    const char* name;
    std::string text;
};

void PrintTo(const Named& value, std::ostream* out) {
    *out << value.name;
}

std::string nameOf(const ::testing::TestParamInfo<Named>& info) {
    return info.param.name;
}

// Note texts that quoted-printable must carry unchanged.
class RoundTripTest : public ::testing::TestWithParam<Named> {};

TEST_P(RoundTripTest, DecodesWhatWasComposed) {
    const OutgoingMail mail = sampleMail(GetParam().text);
    const std::string raw = composeMessage(mail, 1700000000, "id@host");
    std::size_t lineStart = 0;
    for (std::size_t end; (end = raw.find("\r\n", lineStart)) != std::string::npos;
         lineStart = end + 2)
        EXPECT_LE(end - lineStart, 76u) << raw.substr(lineStart, end - lineStart);

    ReceivedMail got;
    ASSERT_TRUE(decodeMessage(raw, got));
    EXPECT_EQ(got.noteText, mail.noteText);
    EXPECT_EQ(got.subject, mail.subject);
    EXPECT_EQ(got.messageType, mail.messageType);
    EXPECT_EQ(got.fromName, mail.fromName);
    EXPECT_EQ(got.fromAddress, mail.fromAddress);
    EXPECT_EQ(got.to, mail.to);
}

INSTANTIATE_TEST_SUITE_P(
    NoteTexts, RoundTripTest,
    ::testing::Values(Named{"TimeSheet", "desk\x02"
                                         "7\x01\x01"
                                         "2\x01\x01"
                                         "a||b\x01\x01"},
                      Named{"LongLine", std::string(300, 'x') + "=" + std::string(200, 'y')},
                      Named{"EqualsAndSpaces",
                            "a = b==c=\r\ntrailing spaces   \r\ntab\t\r\n  =\t "},
                      Named{"Unicode", "ünïcödé €uro\r\n\r\nend with a break\r\n"},
                      Named{"Empty", ""}),
    nameOf);

TEST(ComposeTest, SendsEveryLineBreakAsCrLf) {
    ReceivedMail got;
    ASSERT_TRUE(decodeMessage(composeMessage(sampleMail("a\nb\rc\r\nd"), 0, "id@host"), got));
    EXPECT_EQ(got.noteText, "a\r\nb\r\nc\r\nd");
}

struct RawCase {
    const char* name;
    std::string raw;
    std::string subject;
    std::string noteText;
};

void PrintTo(const RawCase& value, std::ostream* out) {
    *out << value.name;
}

class DecodeTest : public ::testing::TestWithParam<RawCase> {};

TEST_P(DecodeTest, ReadsSubjectAndFirstPlainText) {
    ReceivedMail got;
    ASSERT_TRUE(decodeMessage(GetParam().raw, got));
    EXPECT_EQ(got.subject, GetParam().subject);
    EXPECT_EQ(got.noteText, GetParam().noteText);
}

const std::string kHeader = "From: a@example.org\r\nTo: b@example.org\r\nMIME-Version: 1.0\r\n";

INSTANTIATE_TEST_SUITE_P(
    RawMessages, DecodeTest,
    ::testing::Values(
        RawCase{"Base64",
                kHeader + "Subject: b64\r\nContent-Type: text/plain; charset=utf-8\r\n"
                          "Content-Transfer-Encoding: base64\r\n\r\n"
                          "bGluZSBvbmUKbGluZSB0d28gw6TDtsO8\r\nCg==\r\n",
                "b64", "line one\nline two \xC3\xA4\xC3\xB6\xC3\xBC\n"},
        RawCase{"QuotedPrintable",
                kHeader + "Subject: qp\r\nContent-Type: text/plain; charset=utf-8\r\n"
                          "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
                          "soft=\r\nbreak =3D x=20\r\nsecond line=C3=A9",
                "qp", "softbreak = x \r\nsecond line\xC3\xA9"},
        RawCase{"NestedAlternative",
                kHeader +
                    "Subject: nested\r\nContent-Type: multipart/mixed; boundary=\"OUT\"\r\n\r\n"
                    "prolog\r\n--OUT\r\nContent-Type: text/html\r\n\r\n<p>html</p>\r\n"
                    "--OUT\r\nContent-Type: multipart/alternative; boundary=\"IN\"\r\n\r\n"
                    "--IN\r\nContent-Type: text/html\r\n\r\n<b>x</b>\r\n"
                    "--IN\r\nContent-Type: text/plain\r\n\r\ninner\r\n--IN--\r\n"
                    "--OUT\r\nContent-Type: text/plain\r\n\r\nlater\r\n--OUT--\r\n",
                "nested", "inner"},
        RawCase{"Latin1",
                kHeader + "Subject: =?iso-8859-1?Q?Caf=E9?=\r\n"
                          "Content-Type: text/plain; charset=ISO-8859-1\r\n"
                          "Content-Transfer-Encoding: 8bit\r\n\r\ncaf\xE9 cr\xE8me",
                "Caf\xC3\xA9", "caf\xC3\xA9 cr\xC3\xA8me"},
        RawCase{"NoPlainText",
                kHeader + "Subject: html only\r\nContent-Type: text/html\r\n\r\n<p>x</p>\r\n",
                "html only", ""},
        RawCase{"BareLineFeedsKept",
                "Subject: lf\nContent-Type: text/plain\n\nfirst\nsecond\n\nthird", "lf",
                "first\nsecond\n\nthird"},
        RawCase{"InvalidUtf8Replaced",
                kHeader + "Subject: bad\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nA\xFF"
                          "B",
                "bad",
                "A\xEF\xBF\xBD"
                "B"},
        RawCase{"UnknownCharsetTakenAsUtf8",
                kHeader + "Subject: odd\r\nContent-Type: text/plain; charset=x-no-such\r\n\r\n"
                          "\xC3\xA4",
                "odd", "\xC3\xA4"}),
    [](const ::testing::TestParamInfo<RawCase>& param) { return std::string(param.param.name); });

TEST(DecodeTest, ReadsNamesAndAddressesOfSenderAndRecipients) {
    const std::string raw = "From: =?utf-8?Q?J=C3=BCrgen?= <j@example.org>\r\n"
                            "To: \"Ann Bee\" <ann@example.org>, plain@example.org,\r\n"
                            " team: =?iso-8859-1?Q?Ren=E9?= <rene@example.org>;\r\n"
                            "X-Message-Type:  Transaction file \r\nSubject: s\r\n\r\nbody";
    ReceivedMail got;
    ASSERT_TRUE(decodeMessage(raw, got));
    EXPECT_EQ(got.fromName, "J\xC3\xBCrgen");
    EXPECT_EQ(got.fromAddress, "j@example.org");
    EXPECT_EQ(got.messageType, "Transaction file");
    const std::vector<std::pair<std::string, std::string>> to{{"Ann Bee", "ann@example.org"},
                                                              {"", "plain@example.org"},
                                                              {"Ren\xC3\xA9", "rene@example.org"}};
    EXPECT_EQ(got.to, to);
    EXPECT_EQ(got.noteText, "body");
}

// Nesting that would exhaust the stack of a recursive parser.
std::string nestedMultiparts(int depth) {
    std::string raw = "Subject: deep\r\n";
    for (int i = 0; i < depth; ++i) {
        const std::string boundary = "b" + std::to_string(i);
        raw += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n--" + boundary +
               "\r\n";
    }
    return raw + "Content-Type: text/plain\r\n\r\nx\r\n";
}

std::string nestedGroups(int depth) {
    std::string raw = "Subject: groups\r\nTo: ";
    for (int i = 0; i < depth; ++i)
        raw += "g:\r\n ";
    return raw + "a@b\r\n\r\nbody";
}

class GarbageTest : public ::testing::TestWithParam<Named> {};

TEST_P(GarbageTest, IsNoMessage) {
    ReceivedMail got;
    got.subject = "left over";
    EXPECT_FALSE(decodeMessage(GetParam().text, got));
    EXPECT_EQ(got.subject, "");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, GarbageTest,
    ::testing::Values(Named{"Empty", ""}, Named{"NoHeader", "\r\n\r\nbody without a header"},
                      Named{"OverTheLimit", std::string(kMaxMessageSize + 1, 'a')},
                      Named{"DeepMultiparts", nestedMultiparts(20000)},
                      Named{"DeepGroups", nestedGroups(50000)}),
    nameOf);

// Messages a whole read refuses still give their envelope; the name of each case is its subject.
class EnvelopeTest : public ::testing::TestWithParam<Named> {};

TEST_P(EnvelopeTest, ReadsTheHeaderOfAMessageTheWholeReadRefuses) {
    const std::string raw =
        "From: Ann Bee <ann@example.org>\r\nX-Message-Type: Update\r\n" + GetParam().text;
    ReceivedMail got;
    ASSERT_FALSE(decodeMessage(raw, got));
    got.noteText = "left over";
    ASSERT_TRUE(decodeEnvelope(raw, got));
    EXPECT_EQ(got.subject + "|" + got.fromName + "|" + got.fromAddress + "|" + got.messageType +
                  "|" + got.noteText,
              GetParam().name + std::string("|Ann Bee|ann@example.org|Update|"));
}

INSTANTIATE_TEST_SUITE_P(
    Refused, EnvelopeTest,
    ::testing::Values(Named{"deep", nestedMultiparts(300)}, Named{"groups", nestedGroups(50000)},
                      Named{"big", "Subject: big\r\n\r\n" + std::string(kMaxMessageSize, 'a')},
                      Named{"long", "Subject: long\r\nX-Pad: " + std::string(kMaxMessageSize, 'p') +
                                        "\r\n\r\nx"}),
    nameOf);

TEST(DecodeTest, SurvivesDamagedInput) {
    const std::vector<std::string> inputs{
        "Content-Type: multipart/mixed; boundary=\"X\"\r\n\r\n--X\r\nContent-Type: text/plain; "
        "charset=\"\r\nContent-Transfer-Encoding: base64\r\n\r\n!!!!====\r\n--X",
        "Subject: =?utf-8?B?////?= =?x?Q?=ZZ?=\r\nFrom: <<@@>>\r\nTo: ,,;;:\r\n\r\n",
        "\0\xFF\xFE: \x01\x02\r\n\r\n"s,
        "Content-Type: text/plain\r\nContent-Transfer-Encoding: x-unknown\r\n\r\nkept as is"};
    for (const auto& input : inputs) {
        ReceivedMail got;
        EXPECT_NO_THROW(decodeMessage(input, got));
    }
    ReceivedMail unknownEncoding;
    ASSERT_TRUE(decodeMessage(inputs.back(), unknownEncoding));
    EXPECT_EQ(unknownEncoding.noteText, "kept as is");
}

} // namespace
} // namespace vsolo::mail
