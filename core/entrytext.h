#pragma once

#include "core/base/timevalue.h"

#include <optional>
#include <string_view>

namespace vsolo {

// The shorthand that the date and time entry fields accept, kept apart from the widgets so that the
// rules can be tested on their own. Both functions refuse any character outside the shorthand
// alphabet (digits, "/" for dates; digits and either one ":" or one "." for times) before the
// shorthand is expanded, so that the lenient number reading of the parsers never turns stray
// letters, signs or spaces into a value.

// A date typed as "d", "m/d" or "m/d/y". A missing month or year is taken from `today`; a two-digit
// year gets the current century in front (so in 2026, "99" is 2099 and out of range).
std::optional<TimeValue> parseDateEntry(std::string_view text, TimeValue today);

// A time of day typed as "h", "hh", "hmm", "hhmm", "h:mm", "hh:mm" or as decimal hours ("1.5" is
// 1:30, the fraction truncated to whole minutes and the hours taken modulo 24).
std::optional<TimeValue> parseTimeEntry(std::string_view text);

} // namespace vsolo
