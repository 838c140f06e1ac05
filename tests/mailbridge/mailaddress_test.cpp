// The rule of what the mail bridge takes for one address, before it sends anything to it.

#include "mailbridge/parse/mailaddress.h"

#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

struct AddressCase {
    const char* written;
    const char* addrSpec; // nullptr: refused
    const char* displayName;
};

void PrintTo(const AddressCase& c, std::ostream* out) {
    *out << '"' << c.written << '"';
}

class MailAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(MailAddressTest, TakesTheFormsPeopleWriteAndNothingElse) {
    const AddressCase& c = GetParam();
    const std::optional<MailAddress> address = parseMailAddress(c.written);
    if (c.addrSpec == nullptr) {
        EXPECT_EQ(address, std::nullopt) << address->addrSpec();
        return;
    }
    ASSERT_NE(address, std::nullopt);
    EXPECT_EQ(address->addrSpec(), c.addrSpec);
    EXPECT_EQ(address->displayName, c.displayName);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MailAddressTest,
    ::testing::Values(
        AddressCase{"hub@example.org", "hub@example.org", ""},
        AddressCase{"  Hub.Desk+7@mail.example-1.org\t", "Hub.Desk+7@mail.example-1.org", ""},
        AddressCase{"tester@localhost", "tester@localhost", ""},
        AddressCase{"Veltimo Hub <hub@example.org>", "hub@example.org", "Veltimo Hub"},
        AddressCase{"\"Hub, Central <1>\" <hub@example.org>", "hub@example.org",
                    "Hub, Central <1>"},
        AddressCase{"J. R. Zoë <j@example.org>", "j@example.org", "J. R. Zoë"},
        AddressCase{"< hub@example.org >", "hub@example.org", ""},
        // Several addresses, blanks inside, no domain or local part, what VMime rewrote.
        AddressCase{"hub@example.org, boss@example.org", nullptr, ""},
        AddressCase{"Hub <hub@example.org>, Boss <boss@example.org>", nullptr, ""},
        AddressCase{"hub@example.org;boss@example.org", nullptr, ""},
        AddressCase{"hub @example.org", nullptr, ""}, AddressCase{"hub", nullptr, ""},
        AddressCase{"hub@", nullptr, ""}, AddressCase{"@example.org", nullptr, ""},
        AddressCase{"Veltimo Hub hub@example.org", nullptr, ""},
        AddressCase{"Hub <hub@example.org", nullptr, ""},
        AddressCase{"Hub, Boss <hub@example.org>", nullptr, ""},
        AddressCase{"\"Hub <hub@example.org>", nullptr, ""},
        AddressCase{"hub..desk@example.org", nullptr, ""},
        AddressCase{"hub@-example.org", nullptr, ""}, AddressCase{"hub@example..org", nullptr, ""},
        AddressCase{"hub@exa_mple.org", nullptr, ""},
        AddressCase{"\"a b\"@example.org", nullptr, ""},
        AddressCase{"hüb@example.org", nullptr, ""},
        AddressCase{"hub@example.org\r\n", nullptr, ""}, AddressCase{"", nullptr, ""},
        AddressCase{" ", nullptr, ""}));

TEST(MailAddressTest, RefusesAnAddressLongerThanAPathCarries) {
    const std::string local(64, 'a');
    const std::string label(63, 'b');
    const std::string longest = local + "@" + label + "." + label + "." + std::string(61, 'c');
    ASSERT_EQ(longest.size(), 254u);
    EXPECT_NE(parseMailAddress(longest), std::nullopt);
    EXPECT_EQ(parseMailAddress(longest + "c"), std::nullopt);
    EXPECT_EQ(parseMailAddress(local + "a@example.org"), std::nullopt);
    EXPECT_EQ(parseMailAddress("a@" + label + "b.org"), std::nullopt);
}

TEST(MailAddressTest, SaysWhyAnAddressIsRefused) {
    EXPECT_EQ(refusedAddressCause("a, b", false), "\"a, b\" is not one e-mail address");
    EXPECT_EQ(refusedAddressCause(" ", true), "the sender's address is empty");
    EXPECT_EQ(refusedAddressCause("", false), "a recipient's address is empty");
}

} // namespace
} // namespace vsolo::mail
