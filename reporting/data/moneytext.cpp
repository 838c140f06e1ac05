#include "reporting/data/moneytext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vsolo::reporting {

namespace {

// The digits of x (finite, above 0) rounded to 14 significant digits, with the number of them
// that stand before the point: 0 for 0.1 <= x < 1, negative below 0.1.
struct Digits {
    std::string digits;
    int whole = 0;
};

Digits significantDigits(double x) {
    // 14 significant digits: one before the point of the exponent form and 13 after it.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.13e", x);
    Digits d;
    d.digits.push_back(buffer[0]);
    d.digits.append(buffer + 2, 13);
    d.whole = std::atoi(buffer + 16) + 1;
    return d;
}

// The whole digits, ".", two decimals.
std::string amountDigits(Digits d) {
    const std::size_t need = static_cast<std::size_t>(d.whole) + 2;
    if (d.digits.size() < need) {
        d.digits.append(need - d.digits.size(), '0');
    }
    std::string text(d.digits, 0, static_cast<std::size_t>(d.whole));
    text.push_back('.');
    text.append(d.digits, static_cast<std::size_t>(d.whole), 2);
    return text;
}

// A credit shows the digits of its size, rounded to the cent as a charge is, with its sign: a
// prefix that ends in a blank stays in front ("$ -50.00"), one that touches the digits takes the
// sign before it ("-$50.00"). Less than half a cent is "0.00".
std::string negativeText(double size, std::string_view prefix) {
    const double x = size + 0.005;
    if (!std::isfinite(x)) {
        return "0.00";
    }
    Digits d = significantDigits(x);
    if (d.whole < 0) {
        d.digits.insert(0, static_cast<std::size_t>(-d.whole), '0');
        d.whole = 0;
    }
    const std::string digits = amountDigits(std::move(d));
    if (std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; })) {
        return "0.00";
    }
    const bool blankAfter = !prefix.empty() && prefix.back() == ' ';
    // Appended piece by piece: "-" put in front of a temporary trips GCC 12's -Wrestrict.
    std::string text = blankAfter ? std::string(prefix) : std::string();
    text += '-';
    if (!blankAfter) {
        text += prefix;
    }
    return text + digits;
}

} // namespace

std::string moneyText(double value, std::string_view prefix) {
    if (value < 0.0) {
        return negativeText(-value, prefix);
    }
    const double x = value + 0.005;
    if (!std::isfinite(x)) {
        return "0.00";
    }
    // Below 0.1 the rounded digits have no place before the point but a negative one; the test
    // is on those digits, so that 0.09999999999999995 rounds up to ".10" as its digits say.
    const Digits d = significantDigits(x);
    if (d.whole < 0) {
        return "0.00";
    }
    return std::string(prefix) + amountDigits(d);
}

} // namespace vsolo::reporting
