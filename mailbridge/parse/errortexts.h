#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vsolo::mail {

// The text shown for a mail result code: the fixed text of each known code, a general one for
// any other. Null for success (0) and for "no messages" (16), which show no box.
const char* errorText(unsigned long code);

// The text of the code followed by the cause the mail layer gave, when it gave one:
// "General MAPI Failure: the server 127.0.0.1 port 2525 refused the connection". None where
// errorText is null.
std::optional<std::string> errorText(unsigned long code, std::string_view cause);

// A text of the library's boxes as the user reads it: a text made by errorText has the code's
// text in the user's language and the cause as the mail layer gave it; any other text is kept as
// it is. The library, which has no translator of its own, shows its boxes in English.
std::string inUserLanguage(std::string_view shown);

} // namespace vsolo::mail
