#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vsolo::mail {

// One e-mail address as a person writes it, split into what goes into the envelope and what
// is shown beside it.
struct MailAddress {
    std::string displayName; // quotes and escapes removed; "" for a bare address
    std::string localPart;
    std::string domain;

    // "local@domain", exactly as written.
    std::string addrSpec() const { return localPart + '@' + domain; }
};

// Reads a text as one address, in one of the two forms people write: a bare address
// ("hub@example.org") or a display name followed by the address in angle brackets
// ("Veltimo Hub <hub@example.org>", "\"Hub, Central\" <hub@example.org>", "<hub@example.org>").
// Blanks around the whole are allowed. Anything else is refused rather than guessed at: several
// addresses, a blank or a control character inside the address, no local part, no domain, a
// domain that is not a host name, an address over 254 characters, an empty text. The address
// itself must be ASCII; the display name may be any UTF-8 text.
std::optional<MailAddress> parseMailAddress(std::string_view text);

// Why a message with no recipient at all is refused.
inline constexpr std::string_view kNoRecipientCause = "the message has no recipient";

// Why parseMailAddress refused the address of the sender or of a recipient, in words the user is
// shown after the text of the result: "\"TEXT\" is not one e-mail address".
std::string refusedAddressCause(std::string_view text, bool sender);

} // namespace vsolo::mail
