#include "reporting/data/moneytext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vsolo::reporting {

std::string moneyText(double value, std::string_view prefix) {
    const double x = value + 0.005;
    // Below 0.1 the rounded digits have no place before the point but a negative one; the test
    // is on those digits, so that 0.09999999999999995 rounds up to ".10" as its digits say.
    if (!std::isfinite(x) || x <= 0.0) {
        return "0.00";
    }
    // 14 significant digits: one before the point of the exponent form and 13 after it.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.13e", x);
    std::string digits;
    digits.push_back(buffer[0]);
    digits.append(buffer + 2, 13);
    const int exponent = std::atoi(buffer + 16);
    const int whole = exponent + 1;
    if (whole < 0) {
        return "0.00";
    }
    const std::size_t need = static_cast<std::size_t>(whole) + 2;
    if (digits.size() < need) {
        digits.append(need - digits.size(), '0');
    }
    std::string text(prefix);
    text.append(digits, 0, static_cast<std::size_t>(whole));
    text.push_back('.');
    text.append(digits, static_cast<std::size_t>(whole), 2);
    return text;
}

} // namespace vsolo::reporting
