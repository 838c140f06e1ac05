// The reporting tool's pages on paper: where texts and rules land, and what a failing device gives.

#include "reporting/render/reportrender.h"
#include "tests/support/pdftext.h"
#include "tests/support/printedpages.h"
#include "tests/support/tempdir.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace vsolo::reporting {
namespace {

using testing::pdfText;
using testing::pdfWordBox;

class ReportRenderTest : public ::testing::Test {
protected:
    std::string pdf() const { return m_dir.path() + "/report.pdf"; }

    // A Letter writer printing to the paper's edge, as the tool prints.
    static void letter(QPdfWriter& writer) {
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    }

    PrintResult print(const std::vector<ReportPage>& pages) {
        QPdfWriter writer(QString::fromStdString(pdf()));
        letter(writer);
        return printReportPages(pages, writer);
    }

    testing::TempDir m_dir;
};

TEST_F(ReportRenderTest, LetterWithoutMarginsIsTheWholeSheet) {
    QPdfWriter writer(QString::fromStdString(pdf()));
    letter(writer);
    const PageGeometry geometry = printableGeometry(writer);
    EXPECT_EQ(geometry.width, 850);
    EXPECT_EQ(geometry.height, -1100);
}

// One unit is 0.72 points: a text whose box starts at x = 100 and whose top is at y = -200 lies
// right of 72 points and below 144 points from the sheet's top left corner; a right-aligned one
// ends at its box's right edge; a centred one lies around the middle.
TEST_F(ReportRenderTest, TextsLandInTheirBoxes) {
    ReportPage page;
    page.texts = {{100, 400, -200, "Leftword", PageAlign::Left, PageFont::Body},
                  {100, 400, -300, "Rightword", PageAlign::Right, PageFont::Totals},
                  {0, 850, -29, "CENTRED", PageAlign::Centre, PageFont::Title}};
    ASSERT_EQ(print({page}), PrintResult::Printed);

    const auto left = pdfWordBox(pdf(), "Leftword");
    EXPECT_NEAR(left.xMin, 72.0, 2.0);
    EXPECT_GT(left.yMin, 144.0 - 1.0);
    EXPECT_LT(left.yMax, 144.0 + 13 * 0.72 + 1.0);
    const auto right = pdfWordBox(pdf(), "Rightword");
    EXPECT_NEAR(right.xMax, 400 * 0.72, 2.0);
    const auto centred = pdfWordBox(pdf(), "CENTRED");
    EXPECT_NEAR((centred.xMin + centred.xMax) / 2, 425 * 0.72, 2.0);
}

// A PDF keeps a clipped text whole for its readers, so the clip is looked at on an image of 100
// dots per inch: no ink right of the box.
TEST_F(ReportRenderTest, TextIsClippedToItsBox) {
    QImage image = testing::imageAt(100, 400, 300);
    ReportPage page;
    page.texts = {{100, 112, -200, "WWWWWWWW", PageAlign::Left, PageFont::Body}};
    {
        QPainter painter(&image);
        painter.setWorldTransform(reportTransform(image));
        drawReportPage(painter, page);
    }
    bool inkInside = false;
    bool inkOutside = false;
    for (int y = 195; y < 220; ++y) {
        for (int x = 95; x < 300; ++x) {
            (x < 113 ? inkInside : inkOutside) |= testing::isInk(image, x, y);
        }
    }
    EXPECT_TRUE(inkInside);
    EXPECT_FALSE(inkOutside);
}

TEST_F(ReportRenderTest, EveryPageIsASheet) {
    std::vector<ReportPage> pages(3);
    for (int i = 0; i < 3; ++i) {
        pages[static_cast<std::size_t>(i)].texts = {
            {50, 800, -100, "Sheet" + std::to_string(i + 1), PageAlign::Left, PageFont::Body}};
    }
    ASSERT_EQ(print(pages), PrintResult::Printed);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_NE(pdfText(pdf(), i).find("Sheet" + std::to_string(i)), std::string::npos);
    }
}

// A rule drawn at y = -100 on an image of 100 dots per inch is the pixel row 100; the frame's
// sides are the columns of its left and right edges.
TEST_F(ReportRenderTest, RulesAndFramesLandOnTheirUnits) {
    QImage image = testing::imageAt(100, 850, 400);
    ReportPage page;
    page.lines = {{200, -100, 600, -100, 1}};
    page.frames = {{30, -200, 820, -239, 40, 2}};
    {
        QPainter painter(&image);
        painter.setWorldTransform(reportTransform(image));
        drawReportPage(painter, page);
    }
    EXPECT_TRUE(testing::near(testing::inkRunsDown(image, 400, 0, 150), {100}));
    EXPECT_TRUE(testing::near(testing::inkRunsDown(image, 400, 150, 300), {200, 239}));
    EXPECT_FALSE(testing::isInk(image, 100, 100));
}

TEST_F(ReportRenderTest, NothingToPrintOrNoWayToPrintFails) {
    EXPECT_EQ(print({}), PrintResult::Failed);
    QPdfWriter writer(QString::fromStdString(m_dir.path() + "/missing/folder/report.pdf"));
    EXPECT_EQ(printReportPages({ReportPage{}}, writer), PrintResult::Failed);
}

} // namespace
} // namespace vsolo::reporting
