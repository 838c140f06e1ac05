#pragma once

#include "tests/support/pdftext.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {

// Whether the lines, each given by its words, occur in the PDF's text in this order (whole lines,
// or with atLineEnd the lines' last words).
inline ::testing::AssertionResult
hasLinesInOrder(const std::string& pdf, const std::vector<std::vector<std::string>>& expected,
                bool atLineEnd = false) {
    const std::string all = pdfText(pdf);
    const int missing = firstMissingInOrder(lines(all), expected, atLineEnd);
    if (missing < 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "missing in order: "
           << ::testing::PrintToString(expected[static_cast<std::size_t>(missing)]) << "\n"
           << all;
}

} // namespace vsolo::testing
