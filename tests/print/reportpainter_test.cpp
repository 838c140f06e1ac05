// The report units, fonts, text, rules and the column-title band, measured in the pixels of images
// at 1000 dots per inch (one report unit is one pixel there), and the page geometry on PDF paper.

#include "print/reportpainter.h"
#include "tests/support/pdftext.h"
#include "tests/support/printedpages.h"
#include "tests/support/tempdir.h"

#include <QBuffer>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace vsolo {
namespace {

using testing::imageAt;
using testing::inkRunsDown;
using testing::isInk;
using testing::near;
using testing::TempDir;

// The smallest rectangle holding every dark pixel, in pixels (y down); empty when none.
QRect inkBox(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

TEST(ReportPainterTest, UnitsAreThousandthsOfAnInchWithTheYAxisUp) {
    QImage fine = imageAt(1000, 600, 600);
    ReportPainter onFine(fine);
    EXPECT_EQ(onFine.pageRect(), (ReportRect{0, 0, 600, -600})) << "a plain device is all page";
    QPainter painter(&fine);
    onFine.begin(painter);
    EXPECT_EQ(painter.worldTransform().map(QPointF(100, -250)), QPointF(100, 250));
    // A rectangle given with y up lands below the origin, where the y-down pixels are positive.
    painter.fillRect(QRectF(100, -300, 300, 100), Qt::black);
    painter.end();
    EXPECT_EQ(inkBox(fine), QRect(QPoint(100, 200), QPoint(399, 299)));

    QImage coarse = imageAt(100, 850, 1100);
    ReportPainter onCoarse(coarse);
    EXPECT_EQ(onCoarse.pageRect(), (ReportRect{0, 0, 8500, -11000}));
    EXPECT_EQ(onCoarse.transform().map(QPointF(1000, -2500)), QPointF(100, 250));
}

// The reporting tool draws in hundredths of an inch: the same device and fonts, a tenth of the
// numbers.
TEST(ReportPainterTest, HundredthsOfAnInchScaleUnitsFontsAndPaper) {
    QImage image = imageAt(1000, 600, 600);
    ReportPainter painter(image, {}, kHundredthsPerInch);
    EXPECT_EQ(painter.unitsPerInch(), kHundredthsPerInch);
    EXPECT_EQ(painter.pageRect(), (ReportRect{0, 0, 60, -60}));
    EXPECT_EQ(painter.transform().map(QPointF(10, -25)), QPointF(100, 250));
    EXPECT_NEAR(painter.lineHeight(), 13, 1) << "8 point, as 128 thousandths";

    // Rules keep their thickness in inches.
    QPainter onImage(&image);
    painter.begin(onImage);
    painter.drawRule(PrintColumn{"", 20, 50, PrintColumn::Align::Left, false}, -30);
    onImage.end();
    const QRect rule = inkBox(image);
    EXPECT_EQ(rule.left(), 200);
    EXPECT_EQ(rule.right(), 499);
    EXPECT_NEAR(rule.top(), 300, 2);
    EXPECT_LE(rule.height(), ReportPainter::kRulePen + 1);
    EXPECT_GE(rule.height(), ReportPainter::kRulePen - 1);

    QBuffer buffer;
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    const QSizeF paper = PaperLayout::of(pdf, kHundredthsPerInch).paper;
    EXPECT_NEAR(paper.width(), 850, 1);
    EXPECT_NEAR(paper.height(), 1100, 1);
}

TEST(ReportPainterTest, FontsKeepTheirSizeOnEveryDevice) {
    QImage fine = imageAt(1000, 10, 10);
    QImage coarse = imageAt(96, 10, 10);
    QBuffer buffer;
    QPdfWriter pdf(&buffer);
    ReportPainter onFine(fine), onCoarse(coarse), onPdf(pdf);

    // Arial is answered by Liberation Sans, with the same metrics: 8 point is 111 units high,
    // 124 of them ascent and descent, and 4 of external leading.
    EXPECT_EQ(QFontInfo(onFine.normalFont()).family(), "Liberation Sans");
    EXPECT_EQ(onFine.lineHeight(), 128);
    EXPECT_NEAR(onCoarse.lineHeight(), 128, 1);
    EXPECT_NEAR(onPdf.lineHeight(), 128, 1);
    EXPECT_TRUE(onFine.boldFont().bold());
    EXPECT_FALSE(onFine.normalFont().bold());
    EXPECT_EQ(onFine.lineHeightOf(onFine.makeFont(60)), 96);
    EXPECT_NEAR(onFine.setReportFont(160), 256, 1) << "twice the size, twice the line";
    EXPECT_NEAR(onFine.textWidth("Sunday", onFine.normalFont()),
                2 * onFine.textWidth("Sunday", onFine.makeFont(80)), 2);
}

TEST(ReportPainterTest, TextStandsUprightAtItsSize) {
    QImage image = imageAt(1000, 400, 300);
    ReportPainter report(image);
    QPainter painter(&image);
    report.begin(painter);
    report.drawText(ReportRect{50, -50, 350, -250}, "T", report.normalFont(), Qt::AlignLeft);
    painter.end();
    const QRect box = inkBox(image);
    // The capital height of the font is 0.688 of its 111-unit size.
    EXPECT_NEAR(box.height(), 76, 2);
    // Vertically centred between 50 and 250.
    EXPECT_NEAR(box.center().y(), 150, 8);
    // Upright: the bar of the T is at the top of its box.
    int widest = -1, widestRow = -1;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int ink = 0;
        for (int x = box.left(); x <= box.right(); ++x) {
            ink += isInk(image, x, y) ? 1 : 0;
        }
        if (ink > widest) {
            widest = ink;
            widestRow = y;
        }
    }
    EXPECT_LT(widestRow, box.top() + box.height() / 4);
}

TEST(ReportPainterTest, ColumnTextIsAlignedAndShortenedInsideTheColumn) {
    const PrintColumn right{"", 200, 1200, PrintColumn::Align::Right, false};
    const PrintColumn left{"", 200, 1200, PrintColumn::Align::Left, false};
    const PrintColumn centre{"", 200, 1200, PrintColumn::Align::Centre, false};
    auto draw = [](const PrintColumn& column, const QString& text) {
        QImage image = imageAt(1000, 1500, 400);
        ReportPainter report(image);
        report.setPageRect(ReportRect{100, 0, 1500, -400}); // columns count from the page's left
        QPainter painter(&image);
        report.begin(painter);
        report.drawColumnText(column, -100, text);
        painter.end();
        return inkBox(image);
    };
    const QRect r = draw(right, "12:30");
    EXPECT_GE(r.right(), 1290);
    EXPECT_LE(r.right(), 1300);
    const QRect l = draw(left, "12:30");
    EXPECT_GE(l.left(), 300);
    EXPECT_LE(l.left(), 315);
    EXPECT_EQ(l.width(), r.width());
    const QRect c = draw(centre, "12:30");
    EXPECT_NEAR(c.center().x(), 800, 6);
    // The line runs from y = -100 down one line height (128).
    EXPECT_GE(r.top(), 100);
    EXPECT_LE(r.bottom(), 228);

    const QString longText = "A description far too long for its column of one inch";
    QImage probe = imageAt(1000, 10, 10);
    ASSERT_GT(ReportPainter(probe).textWidth(longText, ReportPainter(probe).normalFont()), 2000);
    const QRect cut = draw(left, longText);
    EXPECT_GE(cut.left(), 300);
    EXPECT_LE(cut.right(), 1300);
    EXPECT_GT(cut.right(), 1200) << "shortened, not dropped";
}

TEST(ReportPainterTest, ATitleWiderThanItsColumnWidensItAndALevelColumnGivesTheRoom) {
    QImage image = imageAt(100, 700, 10); // Letter's page
    const ReportPainter page(image);
    std::vector<PrintColumn> columns{{"LEVEL", 0, 1500, {}, false},
                                     {"BESCHREIBUNG", 6125, kToPageRight, {}, false}};
    fitColumnsToPage(columns, {0}, page);
    EXPECT_EQ(7000 - columns[1].left, page.textWidth("BESCHREIBUNG", page.boldFont()));
    EXPECT_EQ(columns[1].left - columns[0].right, 6125 - 1500);
}

TEST(ReportPainterTest, RulesRunAlongTheTopAndDoubleRulesAlongTheBottomOfTheLine) {
    const PrintColumn column{"", 200, 1200, PrintColumn::Align::Right, false};
    auto draw = [&](int offset, bool doubleRule) {
        QImage image = imageAt(1000, 1400, 700);
        ReportPainter report(image);
        QPainter painter(&image);
        report.begin(painter);
        report.drawRule(column, -300, offset, doubleRule);
        painter.end();
        return image;
    };
    const QImage single = draw(0, false);
    EXPECT_TRUE(near(inkRunsDown(single, 700), {300}));
    const QRect box = inkBox(single);
    EXPECT_EQ(box.left(), 200);
    EXPECT_EQ(box.right(), 1199);
    EXPECT_LE(box.height(), ReportPainter::kRulePen + 1);

    EXPECT_EQ(inkBox(draw(250, false)).left(), 450);

    // The line is 128 units high: its bottom at 428, the second line 10 units above it.
    const QImage twice = draw(0, true);
    EXPECT_TRUE(near(inkRunsDown(twice, 700), {300, 418, 428}));
}

TEST(ReportPainterTest, ColumnTitlesAreFramedAndStandOnTheSecondLine) {
    QImage image = imageAt(1000, 3000, 500);
    ReportPainter report(image);
    const int lh = report.lineHeight();
    const std::vector<PrintColumn> columns{
        {"START", 1000, 2000, PrintColumn::Align::Right, true},
        {"", 100, 900, PrintColumn::Align::Left, false},
    };
    const ReportRect band{0, 0, 2900, -3 * lh};
    QPainter painter(&image);
    report.begin(painter);
    report.drawColumnTitles(columns, band);
    painter.end();

    // The frame's 20-unit pen runs along the band's sides 30 units in.
    const int middle = 3 * lh / 2;
    EXPECT_TRUE(isInk(image, 30, middle));
    EXPECT_TRUE(isInk(image, 2870, middle));
    EXPECT_FALSE(isInk(image, 45, middle));
    EXPECT_FALSE(isInk(image, 15, middle));
    const std::vector<int> acrossTheFrame = inkRunsDown(image, 500);
    ASSERT_EQ(acrossTheFrame.size(), 2u);
    EXPECT_NEAR(acrossTheFrame[0], 30, 1);
    EXPECT_NEAR(acrossTheFrame[1], 3 * lh - 30, 1);
    // Its corners are rounded with a radius of 200: the square corner stays empty.
    EXPECT_FALSE(isInk(image, 32, 32));

    // The title in bold on the second line, right-aligned, underlined at the line's bottom
    // across its column.
    QImage titleOnly = image.copy(990, 45, 1020, 3 * lh - 90);
    const QRect title = inkBox(titleOnly);
    EXPECT_GE(title.top() + 45, lh);
    EXPECT_NEAR(title.bottom() + 45, 2 * lh + ReportPainter::kTitleUnderlinePen / 2, 1);
    EXPECT_NEAR(title.left() + 990, 1000, 1) << "the underline starts at the column's left";
    EXPECT_NEAR(title.right() + 990, 1999, 1);
    EXPECT_TRUE(near(inkRunsDown(image, 1100), {30, 2 * lh, 3 * lh - 30}));
}

TEST(ReportPainterTest, ThePageStaysAtItsPlaceOnThePaperWhateverBorderTheDeviceHas) {
    const QSizeF letter(8500, 11000);
    const auto onPaper = [&](QPointF origin) {
        return pageRectOnPaper(PaperLayout{letter, origin}, PageMargins{});
    };
    EXPECT_EQ(onPaper({0, 0}), (ReportRect{750, -500, 7750, -10500}));
    EXPECT_EQ(onPaper({250, 300}), (ReportRect{500, -200, 7500, -10200}));
    // A border wider than the margin leaves the page where it is: its edge falls outside what the
    // device can reach, nothing moves.
    EXPECT_EQ(onPaper({1000, 600}), (ReportRect{-250, 100, 6750, -9900}));
    EXPECT_EQ(pageRectOnPaper(PaperLayout{QSizeF(1000, 800), {}}, PageMargins{}).width(), 0);

    // On PDF paper: a writer whose layout keeps margins of its own puts its origin inside them,
    // and the page still starts 0.75 inch from the left edge and 0.5 inch from the top.
    TempDir dir;
    auto print = [&](const std::string& name, QMarginsF millimetres) {
        QPdfWriter writer(dir.file(name).c_str());
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         millimetres, QPageLayout::Millimeter));
        ReportPainter report(writer);
        QPainter painter(&writer);
        report.begin(painter);
        const ReportRect& page = report.pageRect();
        report.drawText(ReportRect{page.left, page.top, page.right, page.top - 500}, "Marker",
                        report.normalFont(), Qt::AlignLeft);
        painter.end();
        return std::pair{PaperLayout::of(writer), testing::pdfWordBox(dir.file(name), "Marker")};
    };
    const auto [bare, bareBox] = print("bare.pdf", QMarginsF());
    const auto [bordered, borderedBox] = print("border.pdf", QMarginsF(25.4, 10, 5, 5));
    EXPECT_EQ(bare.origin, QPointF(0, 0));
    EXPECT_NEAR(bordered.origin.x(), 1000, 5);
    EXPECT_NEAR(bordered.origin.y(), 393.7, 5) << "10 mm; Qt keeps margins in whole points";
    EXPECT_NEAR(bordered.paper.width(), 8500, 1);
    ASSERT_GE(bareBox.xMin, 0);
    EXPECT_NEAR(bareBox.xMin, 54, 1.5); // 0.75 inch, plus the glyph's side bearing
    EXPECT_NEAR(borderedBox.xMin, bareBox.xMin, 0.1);
    EXPECT_NEAR(borderedBox.yMin, bareBox.yMin, 0.1);
    EXPECT_GT(bareBox.yMin, 36) << "below the top margin of 0.5 inch";
}

} // namespace
} // namespace vsolo
