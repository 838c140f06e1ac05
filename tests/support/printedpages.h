#pragma once

// Printed reports for their tests: PDF files on Letter paper, images to draw on and the dark
// pixels found in them. Qt Gui and the print library only.

#include "print/printedreport.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vsolo::testing {

// Prints every page of the report into the PDF file on Letter paper that the device prints to the
// edge; false when printing failed.
inline bool printOnLetter(PrintedReport& report, const std::string& pdf) {
    QPdfWriter writer(QString::fromStdString(pdf));
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    return printReport(report, writer);
}

// A white image at the resolution; 39370 dots per metre is 1000 dots per inch once Qt rounds it.
inline QImage imageAt(int dotsPerInch, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = dotsPerInch == 1000 ? 39370 : qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

inline bool isInk(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// The centres of the runs of dark pixels down one column of the image, between the rows from and
// to (y down, to not included; the whole column by default).
inline std::vector<int> inkRunsDown(const QImage& image, int x, int from = 0, int to = -1) {
    to = to < 0 ? image.height() : std::min(to, image.height());
    std::vector<int> centres;
    int start = -1;
    for (int y = std::max(0, from); y <= to; ++y) {
        const bool ink = y < to && isInk(image, x, y);
        if (ink && start < 0) {
            start = y;
        } else if (!ink && start >= 0) {
            centres.push_back((start + y - 1) / 2);
            start = -1;
        }
    }
    return centres;
}

// Whether two lists of positions match within a pixel each (a line's centre falls on a pixel
// edge).
inline ::testing::AssertionResult near(const std::vector<int>& actual,
                                       const std::vector<int>& expected) {
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i) {
        same = std::abs(actual[i] - expected[i]) <= 1;
    }
    if (same) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << ::testing::PrintToString(actual) << " is not " << ::testing::PrintToString(expected);
}

} // namespace vsolo::testing
