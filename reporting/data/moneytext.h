#pragma once

#include <string>
#include <string_view>

namespace vsolo::reporting {

// The money text of the reports: value + 0.005 rounded to 14 significant digits, the whole
// digits (none for values below 1: 0.5 gives ".50"), ".", two decimals, no thousands separator,
// after `prefix`. Below 0.1 (negative values included) the text is "0.00" without the prefix.
std::string moneyText(double value, std::string_view prefix = {});

} // namespace vsolo::reporting
