#pragma once

#include <string>
#include <string_view>

namespace vsolo::reporting {

// The money text of the reports: value + 0.005 rounded to 14 significant digits, the whole
// digits (none for values below 1: 0.5 gives ".50"), ".", two decimals, no thousands separator,
// after `prefix`. From 0 up to below 0.095 the text is "0.00" without the prefix.
//
// A negative value (a credit in a file from elsewhere) keeps its sign, so that every figure shown
// is the figure summed: its size is rounded the same way and shown to the cent, "-50.00",
// "-$50.00" and "$ -50.00" (a prefix ending in a blank stays in front), "-$.05"; a size below half
// a cent is "0.00".
std::string moneyText(double value, std::string_view prefix = {});

} // namespace vsolo::reporting
