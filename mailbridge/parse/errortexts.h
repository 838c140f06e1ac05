#pragma once

namespace vsolo::mail {

// The text shown for a mail result code: the fixed text of each known code, a general one for
// any other. Null for success (0) and for "no messages" (16), which show no box.
const char* errorText(unsigned long code);

} // namespace vsolo::mail
