#pragma once

// The addresses of a message as VMime is handed them. Internal to the mail layer.
//
// VMime's own address parser keeps what stands before the first blank or "<" and adds the
// machine's host name where no domain follows, so "Veltimo Hub <hub@example.org>" would go to
// "Veltimo@HOST". Every address is therefore checked by parseMailAddress and built from its
// parts, never parsed by VMime.

#include "mailbridge/parse/mailaddress.h"

#include <optional>
#include <string>
#include <vector>
#include <vmime/vmime.hpp>

namespace vsolo::mail {

vmime::emailAddress exactAddress(const MailAddress& address);

struct Envelope {
    vmime::mailbox from;
    vmime::mailboxList to;
};

// The sender and the recipients; none when one of them is not one address or there is no
// recipient, with `refused` saying why in words for the user.
std::optional<Envelope> makeEnvelope(const std::string& from, const std::vector<std::string>& to,
                                     std::string& refused);

} // namespace vsolo::mail
