// The rule of what the mail bridge takes for one address, before it sends anything to it.

#include "mailbridge/parse/mailaddress.h"

#include <gtest/gtest.h>

namespace vsolo::mail {
namespace {

// 64 + 1 + 189: the longest address a path carries.
const std::string kLongest = std::string(64, 'a') + "@" + std::string(63, 'b') + "." +
                             std::string(63, 'c') + "." + std::string(61, 'd');

TEST(MailAddressTest, TakesABareAddressOrANameWithTheAddressInBrackets) {
    struct Taken {
        std::string written, addrSpec, name;
    };
    for (const Taken& t :
         {Taken{"  Hub.Desk+7@mail.example-1.org\t", "Hub.Desk+7@mail.example-1.org", ""},
          Taken{"Veltimo Hub <hub@example.org>", "hub@example.org", "Veltimo Hub"},
          Taken{"\"Hub, Central <1>\" <hub@example.org>", "hub@example.org", "Hub, Central <1>"},
          Taken{"J. R. Zoë <j@example.org>", "j@example.org", "J. R. Zoë"},
          Taken{"< hub@example.org >", "hub@example.org", ""}, Taken{kLongest, kLongest, ""}}) {
        const std::optional<MailAddress> address = parseMailAddress(t.written);
        ASSERT_NE(address, std::nullopt) << t.written;
        EXPECT_EQ(address->addrSpec(), t.addrSpec);
        EXPECT_EQ(address->displayName, t.name);
    }
}

TEST(MailAddressTest, RefusesEverythingElse) {
    const std::string refused[] = {
        // several addresses
        "hub@example.org, boss@example.org", "Hub <hub@example.org>, Boss <boss@example.org>",
        "hub@example.org;boss@example.org", "Hub, Boss <hub@example.org>",
        // blanks or brackets out of place
        "Veltimo Hub hub@example.org", "hub @example.org", "Hub <hub@example.org",
        "\"Hub <hub@example.org>", "\"a b\"@example.org", "hub@example.org\r\n", "", " ",
        // no local part, no domain, no host name
        "hub", "hub@", "@example.org", "hub..desk@example.org", "hub@-example.org",
        "hub@example..org", "hub@exa_mple.org", "hüb@example.org",
        // longer than a path carries
        kLongest + "d", std::string(65, 'a') + "@example.org",
        "a@" + std::string(64, 'b') + ".org"};
    for (const std::string& text : refused) {
        EXPECT_EQ(parseMailAddress(text), std::nullopt) << text;
    }
    EXPECT_EQ(refusedAddressCause("a, b", false), "\"a, b\" is not one e-mail address");
    EXPECT_EQ(refusedAddressCause(" ", true), "the sender's address is empty");
    EXPECT_EQ(refusedAddressCause("", false), "a recipient's address is empty");
}

} // namespace
} // namespace vsolo::mail
