#pragma once

#include "tests/support/pdftext.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {

// Whether the lines, each given by its words, occur in the PDF's text in this order.
inline ::testing::AssertionResult
hasLinesInOrder(const std::string& pdf, const std::vector<std::vector<std::string>>& expected) {
    const std::string all = pdfText(pdf);
    const std::vector<std::string> text = lines(all);
    int at = 0;
    for (const std::vector<std::string>& words : expected) {
        const int found = findLine(text, words, at);
        if (found < 0) {
            return ::testing::AssertionFailure()
                   << "missing in order: " << ::testing::PrintToString(words) << "\n"
                   << all;
        }
        at = found + 1;
    }
    return ::testing::AssertionSuccess();
}

} // namespace vsolo::testing
