// The time study graph and the pie graphs: drawn on images at 100 dots per inch (a pixel is ten
// report units) and sampled pixel by pixel, and printed onto Letter paper and read back from PDF.

#include "core/base/clock.h"
#include "print/graphs/pieprint.h"
#include "print/graphs/studygraphprint.h"
#include "tests/support/dates.h"
#include "tests/support/pdflines.h"
#include "tests/support/pdftext.h"
#include "tests/support/printedpages.h"
#include "tests/support/tempdir.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace vsolo {
namespace {

namespace t = testing;
using Words = std::vector<std::string>;

constexpr int kDpi = 100;
constexpr int kWhite = 0xFFFFFF;

int px(int units, int dpi = kDpi) {
    return units * dpi / kReportUnitsPerInch;
}

int rgbAt(const QImage& image, int x, int y) {
    return static_cast<int>(image.pixel(x, y) & 0xFFFFFF);
}

// Points on Letter paper from the paper's left edge for a place measured from the page's.
double points(double fromPageLeft) {
    return (PageMargins{}.left + fromPageLeft) * 72.0 / kReportUnitsPerInch;
}

class GraphPrintTest : public ::testing::Test {
protected:
    std::unique_ptr<StudyGraphPrint> graph(const std::vector<GraphCategory>& categories) const {
        return std::make_unique<StudyGraphPrint>(categories, "Project", m_from, m_to, m_clock,
                                                 "/home/pat/time/work.tpl");
    }
    std::unique_ptr<PiePrint> pie(const std::vector<PieCategory>& categories) const {
        return std::make_unique<PiePrint>(categories, "Activity", m_from, m_to, m_clock,
                                          "/home/pat/time/work.tpl");
    }

    // The graph as a window of the size (in report units) shows it.
    static QImage onScreen(GraphPrint& report, int width, int height, int dpi = kDpi) {
        QImage image = t::imageAt(dpi, px(width, dpi), px(height, dpi));
        ReportPainter painter(image);
        QPainter p(&image);
        painter.begin(p);
        report.drawWhole(painter);
        return image;
    }

    static int lineHeight() {
        QImage image = t::imageAt(kDpi, 1, 1);
        return ReportPainter(image).lineHeight();
    }

    // Prints on Letter paper; the path of the PDF.
    std::string printed(GraphPrint& report) const {
        const std::string pdf = m_dir.file("graph.pdf");
        QPdfWriter writer(QString::fromStdString(pdf));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
        EXPECT_TRUE(printReport(report, writer));
        return pdf;
    }

    t::TempDir m_dir;
    SettableClock m_clock{t::date(2026, 3, 10)};
    TimeValue m_from = t::date(1999, 10, 19);
    TimeValue m_to = t::date(1999, 10, 22);
};

// ----- The time study graph on screen -----

struct BarCase {
    float actual;
    float target;
    friend void PrintTo(const BarCase& c, std::ostream* out) {
        *out << "actual " << c.actual << ", target " << c.target;
    }
};

class BarLengthTest : public GraphPrintTest, public ::testing::WithParamInterface<BarCase> {
protected:
    // The last pixel of the colour on the row, -1 when it has none.
    static int lastOfColour(const QImage& image, int row, int rgb) {
        int last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (rgbAt(image, x, row) == rgb) {
                last = x;
            }
        }
        return last;
    }
};

TEST_P(BarLengthTest, RedAndGreenBarsRunFromTheAxisByTheirShares) {
    const BarCase c = GetParam();
    const auto report = graph({{"Sales", c.actual, c.target}});
    const int width = StudyGraphPrint::kScreenWidth;
    const QImage image = onScreen(*report, width, 3000);
    const int lh = lineHeight();
    const int firstBar = (StudyGraphPrint::kHeaderLines + StudyGraphPrint::kLegendLines) * lh;
    const int full = width - StudyGraphPrint::kFullBarFromRight - StudyGraphPrint::kBarStart;
    const struct {
        float share;
        int rgb;
        int row;
    } bars[] = {{c.actual, StudyGraphPrint::kActualRgb, px(firstBar + lh / 2)},
                {c.target, StudyGraphPrint::kTargetRgb, px(firstBar + lh + lh / 2)}};
    for (const auto& bar : bars) {
        const int last = lastOfColour(image, bar.row, bar.rgb);
        if (bar.share == 0.0f) {
            EXPECT_EQ(last, -1) << "a share of 0 has no bar";
            continue;
        }
        const double end = (StudyGraphPrint::kBarStart + full * static_cast<double>(bar.share)) *
                           kDpi / kReportUnitsPerInch;
        EXPECT_NEAR(last + 1, end, 1.0) << "share " << bar.share;
    }
}

INSTANTIATE_TEST_SUITE_P(Shares, BarLengthTest,
                         ::testing::Values(BarCase{0.25f, 0.30f}, BarCase{0.05f, 0.0f},
                                           BarCase{1.0f, 0.5f}, BarCase{0.0f, 0.2f}));

// ----- The pie on screen -----

class PieImageTest : public GraphPrintTest {
protected:
    static constexpr int kWidth = 10000;
    static constexpr int kHeight = 6000;

    // Draws the pie; the pixel at `radius` (a fraction of the pie's radius) in the direction
    // `degrees` counter-clockwise from 3 o'clock, as seen on the image.
    QImage draw(PiePrint& report, int dpi = kDpi) { return onScreen(report, kWidth, kHeight, dpi); }
    static QPoint at(const PiePrint& report, double degrees, double radius, int dpi = kDpi) {
        const ReportRect& square = report.chart().pieSquare();
        const double f = static_cast<double>(dpi) / kReportUnitsPerInch;
        const double cx = (square.left + square.right) / 2.0 * f;
        const double cy = -(square.top + square.bottom) / 2.0 * f;
        const double r = square.width() / 2.0 * f * radius;
        const double a = degrees * std::numbers::pi / 180.0;
        return QPoint(static_cast<int>(std::lround(cx + r * std::cos(a))),
                      static_cast<int>(std::lround(cy - r * std::sin(a))));
    }
};

TEST_F(PieImageTest, SlicesTurnCounterClockwiseFromThreeOClock) {
    const auto report = pie({{"Big", 75}, {"Small", 25}});
    const QImage image = draw(*report);
    ASSERT_GT(report->chart().pieSquare().width(), 1000);
    const int red = 0xFF0000;
    const int green = 0x00FF00;
    const QPoint upRight = at(*report, 45, 0.5);
    const QPoint upLeft = at(*report, 135, 0.5);
    const QPoint downLeft = at(*report, 225, 0.5);
    const QPoint downRight = at(*report, 315, 0.5);
    EXPECT_EQ(rgbAt(image, upRight.x(), upRight.y()), red);
    EXPECT_EQ(rgbAt(image, upLeft.x(), upLeft.y()), red);
    EXPECT_EQ(rgbAt(image, downLeft.x(), downLeft.y()), red);
    EXPECT_EQ(rgbAt(image, downRight.x(), downRight.y()), green);
}

TEST_F(PieImageTest, ThePieIsTheLargestSquareBesideTheLegendOnTheRight) {
    const auto report = pie({{"Big", 75}, {"Small", 25}});
    draw(*report);
    const int area = kHeight - PiePrint::kHeaderLines * lineHeight();
    const ReportRect& square = report->chart().pieSquare();
    EXPECT_EQ(square.width(), area);
    EXPECT_EQ(square.height(), area);
    const int partLeft = PieChart::kPieMargin;
    const int partRight = kWidth - PieChart::kLegendWidth - PieChart::kPieMargin;
    EXPECT_NEAR((square.left + square.right) / 2.0, (partLeft + partRight) / 2.0, 1);
    const ReportRect& legend = report->chart().legendRect();
    EXPECT_EQ(legend.left, kWidth - PieChart::kLegendWidth);
    EXPECT_EQ(legend.right, kWidth);
    // Two lines, centred in the height under the header.
    EXPECT_EQ(legend.height(), 2 * PieChart::legendPitch(lineHeight()));
    EXPECT_NEAR((legend.top + legend.bottom) / 2.0, (square.top + square.bottom) / 2.0, 1);
}

struct BrushCase {
    int slice; // counted from 0
    int rgb;
    bool hatched;
    friend void PrintTo(const BrushCase& c, std::ostream* out) {
        *out << "slice " << c.slice + 1 << (c.hatched ? " hatched" : " solid");
    }
};

class PieBrushTest : public PieImageTest, public ::testing::WithParamInterface<BrushCase> {};

// Thirteen equal slices; a patch in the middle of one slice shows its brush: a solid colour, or
// backward diagonal lines of the colour on the white page.
TEST_P(PieBrushTest, SlicesAreFilledByTheirBrushes) {
    const BrushCase c = GetParam();
    std::vector<PieCategory> categories;
    for (int i = 0; i < 13; ++i) {
        categories.push_back({"c" + std::to_string(i), 10});
    }
    const auto report = pie(categories);
    const QImage image = draw(*report);
    const QPoint middle = at(*report, (c.slice + 0.5) * 360.0 / 13, 0.6);
    std::set<int> colours;
    bool diagonal = true;
    for (int y = middle.y() - 6; y <= middle.y() + 6; ++y) {
        for (int x = middle.x() - 6; x <= middle.x() + 6; ++x) {
            const int rgb = rgbAt(image, x, y);
            colours.insert(rgb);
            // A line of a backward diagonal goes on up to the right.
            if (rgb == c.rgb && rgbAt(image, x + 1, y - 1) != c.rgb) {
                diagonal = false;
            }
        }
    }
    if (c.hatched) {
        EXPECT_EQ(colours, (std::set<int>{c.rgb, kWhite}));
        EXPECT_TRUE(diagonal);
    } else {
        EXPECT_EQ(colours, std::set<int>{c.rgb});
    }
}

// At twice the resolution the lines of a hatch lie twice as many pixels apart: they keep their
// distance in inches, and do not run together on a printer.
TEST_F(PieImageTest, HatchesKeepTheirSpacingInInches) {
    std::vector<PieCategory> categories;
    for (int i = 0; i < 7; ++i) {
        categories.push_back({"c" + std::to_string(i), 10});
    }
    const auto report = pie(categories);
    for (int dpi : {100, 200}) {
        const QImage image = draw(*report, dpi);
        const QPoint middle = at(*report, 6.5 * 360.0 / 7, 0.6, dpi);
        std::vector<int> lineStarts;
        for (int x = middle.x() - 20; x <= middle.x() + 20; ++x) {
            if (rgbAt(image, x, middle.y()) == 0xFF0000 &&
                rgbAt(image, x - 1, middle.y()) != 0xFF0000) {
                lineStarts.push_back(x);
            }
        }
        ASSERT_GE(lineStarts.size(), 2u) << dpi;
        const int cell = static_cast<int>(dpi / PieChart::kHatchTilesPerInch);
        for (std::size_t i = 1; i < lineStarts.size(); ++i) {
            EXPECT_EQ(lineStarts[i] - lineStarts[i - 1], cell) << dpi;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slices, PieBrushTest,
                         ::testing::Values(BrushCase{0, 0xFF0000, false},
                                           BrushCase{5, 0x00FFFF, false},
                                           BrushCase{6, 0xFF0000, true},
                                           BrushCase{12, 0x00FF00, true}));

// ----- Without data -----

struct EmptyCase {
    const char* name;
    bool pie;
    int headerLines;
};

class EmptyGraphTest : public GraphPrintTest, public ::testing::WithParamInterface<EmptyCase> {};

TEST_P(EmptyGraphTest, DrawsTheHeaderAndNothingElse) {
    const std::unique_ptr<GraphPrint> report =
        GetParam().pie ? std::unique_ptr<GraphPrint>(pie({})) : graph({});
    EXPECT_FALSE(report->hasData());
    const QImage image = onScreen(*report, 4000, 3000);
    const int headerBottom = px(GetParam().headerLines * lineHeight());
    int below = 0;
    bool darkBlue = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (y >= headerBottom && rgbAt(image, x, y) != kWhite) {
                ++below;
            }
            darkBlue = darkBlue || (qBlue(pixel) > 120 && qRed(pixel) < 60 && qGreen(pixel) < 60);
        }
    }
    EXPECT_EQ(below, 0);
    EXPECT_TRUE(darkBlue) << "the title";
}

INSTANTIATE_TEST_SUITE_P(Graphs, EmptyGraphTest,
                         ::testing::Values(EmptyCase{"graph", false, StudyGraphPrint::kHeaderLines},
                                           EmptyCase{"pie", true, PiePrint::kHeaderLines}),
                         [](const ::testing::TestParamInfo<EmptyCase>& testInfo) {
                             return std::string(testInfo.param.name);
                         });

// ----- On paper -----

TEST_F(GraphPrintTest, PrintedGraphShowsItsTitleLegendAndLabelsAfterTheBars) {
    const auto report = graph(
        {{"Sales", 0.25f, 0.30f}, {"Support", 0.05f, 0.0f}, {"Unknown categories", 0.0005f, 0.0f}});
    const std::string pdf = printed(*report);
    EXPECT_EQ(t::pdfInfo(pdf).pages, 1);
    EXPECT_TRUE(t::hasLinesInOrder(
        pdf, {
                 {"%", "OF", "TOTAL", "HOURS", "WORKED", "BY", "PROJECT", "(INCLUDING", "TARGET)"},
                 {"REPORTING", "PERIOD"},
                 {"FROM:", "Tuesday,", "October", "19,", "1999"},
                 {"TO:", "Friday,", "October", "22,", "1999"},
                 {"ACTUAL", "TARGET"},
             }));
    // Each label starts one space after its bar's end; a bar of 1 would end 700 before the
    // page's right edge.
    const int full = 7000 - StudyGraphPrint::kFullBarFromRight - StudyGraphPrint::kBarStart;
    const struct {
        const char* word;
        int occurrence;
        double share;
    } labels[] = {{"25%", 0, 0.25}, {"30%", 0, 0.30},     {"5.0%", 0, 0.05},
                  {"0%", 0, 0.0},   {"0.05%", 0, 0.0005}, {"0%", 1, 0.0}};
    for (const auto& label : labels) {
        const t::WordBox box = t::pdfWordBox(pdf, label.word, label.occurrence);
        ASSERT_GE(box.xMin, 0) << label.word;
        const double barEnd = points(StudyGraphPrint::kBarStart + full * label.share);
        EXPECT_GT(box.xMin, barEnd) << label.word;
        EXPECT_LT(box.xMin, barEnd + 4) << label.word;
    }
    EXPECT_NEAR(t::pdfWordBox(pdf, "Sales").xMax, points(StudyGraphPrint::kNameRight), 1);
    EXPECT_NEAR(t::pdfWordBox(pdf, "ACTUAL").xMin, points(StudyGraphPrint::kActualTextLeft), 1);
    EXPECT_NEAR(t::pdfWordBox(pdf, "TARGET").xMin, points(StudyGraphPrint::kTargetTextLeft), 1);
    const auto text = t::lines(t::pdfText(pdf));
    const int pageLine = t::findLineEndingWith(text, {"Page", "1", "of", "1"});
    ASSERT_GE(pageLine, 0);
    EXPECT_EQ(t::words(text[static_cast<std::size_t>(pageLine)]),
              (Words{"Tuesday,", "March", "10,", "2026", "Page", "1", "of", "1"}));
    EXPECT_EQ(t::findLine(text, {"/home/pat/time/work.tpl"}), pageLine + 1);
}

TEST_F(GraphPrintTest, BarsGoOnOverPagesAndEveryOneIsPrintedOnce) {
    std::vector<GraphCategory> categories;
    for (int i = 0; i < 50; ++i) {
        categories.push_back({"item" + std::to_string(100 + i), 0.019f, 0.0f});
    }
    categories.push_back({"tiny1", 0.0004f, 0.0f});
    categories.push_back({"tiny2", 0.0003f, 0.0f});
    const auto report = graph(categories);
    ASSERT_EQ(report->bars().size(), 51u);
    const std::string pdf = printed(*report);
    // Letter: 10 inches less 7 + 2 + 1 + 2 lines of 128 hold 22 bars of 3 lines.
    EXPECT_EQ(report->barsPerPage(), 22u);
    const int pages = t::pdfInfo(pdf).pages;
    ASSERT_EQ(pages, 3);
    const std::string all = t::pdfText(pdf);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = t::pdfText(pdf, page);
        EXPECT_NE(text.find("Page " + std::to_string(page) + " of 3"), std::string::npos) << page;
        EXPECT_NE(text.find("% OF TOTAL HOURS WORKED BY PROJECT"), std::string::npos) << page;
        EXPECT_NE(text.find("ACTUAL"), std::string::npos) << page;
    }
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(t::countOf(all, "item" + std::to_string(100 + i)), 1u) << i;
    }
    EXPECT_EQ(t::countOf(all, "tiny"), 0u);
    const std::string last = t::pdfText(pdf, 3);
    EXPECT_EQ(t::countOf(last, "item"), 50u - 44u);
    EXPECT_NE(last.find("Categories < 0.1%"), std::string::npos);
    EXPECT_NE(last.find("0.07%"), std::string::npos);
}

TEST_F(GraphPrintTest, PrintedPieShowsItsLegendOnOnePageNumberedPageOne) {
    const auto report = pie({{"Alpha", 7000}, {"Beta", 2990}, {"Gamma", 6}, {"Delta", 4}});
    const std::string pdf = printed(*report);
    EXPECT_EQ(t::pdfInfo(pdf).pages, 1);
    EXPECT_TRUE(
        t::hasLinesInOrder(pdf, {
                                    {"%", "OF", "TOTAL", "HOURS", "WORKED", "BY", "ACTIVITY"},
                                    {"REPORTING", "PERIOD"},
                                    {"FROM:", "Tuesday,", "October", "19,", "1999"},
                                    {"TO:", "Friday,", "October", "22,", "1999"},
                                }));
    const auto text = t::lines(t::pdfText(pdf));
    for (const Words& line : std::vector<Words>{
             {"70.0%", "Alpha"}, {"29.9%", "Beta"}, {"0.10%", "Categories", "<", "0.1%"}}) {
        EXPECT_GE(t::findLineEndingWith(text, line), 0) << ::testing::PrintToString(line);
    }
    const std::string all = t::pdfText(pdf);
    EXPECT_EQ(all.find("Gamma"), std::string::npos);
    EXPECT_EQ(all.find(" of "), std::string::npos);
    const int pageLine = t::findLineEndingWith(text, {"Page", "1"});
    ASSERT_GE(pageLine, 0);
    EXPECT_EQ(t::words(text[static_cast<std::size_t>(pageLine)]),
              (Words{"Tuesday,", "March", "10,", "2026", "Page", "1"}));
    EXPECT_EQ(t::findLine(text, {"/home/pat/time/work.tpl"}), pageLine + 1);
    // The legend stands at the right of the page, the pie in the rest.
    const double legendLeft = points(7000 - PieChart::kLegendWidth);
    EXPECT_GT(t::pdfWordBox(pdf, "70.0%").xMin,
              legendLeft + points(PieChart::kSwatchWidth) - points(0));
    EXPECT_LT(t::pdfWordBox(pdf, "Alpha").xMin, legendLeft + 72);
}

} // namespace
} // namespace vsolo
