// The composition of a page from the bands of a report, and printing a range of pages, with a
// report that records what it was asked to draw.

#include "print/printedreport.h"
#include "tests/support/pdftext.h"
#include "tests/support/tempdir.h"

#include <QBuffer>
#include <QColor>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace vsolo {
namespace {

using testing::TempDir;

class RecordingReport final : public PrintedReport {
public:
    struct Call {
        ReportSection band;
        ReportRect rect;
        PageNumber page;
        QTransform transform; // the painter's state when the band began
        QColor pen;
    };

    std::map<ReportSection, int> heights{{ReportSection::Header, 600},
                                         {ReportSection::ColumnTitles, 300},
                                         {ReportSection::Body, 2000},
                                         {ReportSection::Summary, 400},
                                         {ReportSection::Footer, 500}};
    int pages = 1;
    std::vector<Call> calls;

    int pageCount(ReportPainter&) override { return pages; }
    int sectionHeight(const ReportPainter&, ReportSection section) const override {
        return heights.at(section);
    }
    void drawFooter(ReportPainter& p, const ReportRect& r, PageNumber n) override {
        record(p, ReportSection::Footer, r, n);
    }
    void drawSummary(ReportPainter& p, const ReportRect& r, PageNumber n) override {
        record(p, ReportSection::Summary, r, n);
    }
    void drawBody(ReportPainter& p, const ReportRect& r, PageNumber n) override {
        record(p, ReportSection::Body, r, n);
        // Something on the page, for the PDF to hold it.
        p.drawText(r, QString("body %1").arg(n.page), p.normalFont(), Qt::AlignLeft);
    }
    void drawColumnTitles(ReportPainter& p, const ReportRect& r, PageNumber n) override {
        record(p, ReportSection::ColumnTitles, r, n);
    }
    void drawHeader(ReportPainter& p, const ReportRect& r, PageNumber n) override {
        record(p, ReportSection::Header, r, n);
        // A band that leaves the painter changed must not change the next band.
        p.painter().setPen(Qt::red);
        p.painter().translate(1000, 1000);
    }
    bool hasData() const override { return true; }

    std::vector<ReportRect> rectsOf(int page) const {
        std::vector<ReportRect> rects;
        for (const Call& c : calls) {
            if (c.page.page == page) {
                rects.push_back(c.rect);
            }
        }
        return rects;
    }

private:
    void record(ReportPainter& p, ReportSection band, const ReportRect& r, PageNumber n) {
        calls.push_back({band, r, n, p.painter().worldTransform(), p.painter().pen().color()});
    }
};

// A Letter page without margins of its own: the report's page is 750..7750 across and -500 to
// -10500 down.
struct LetterPdf {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    LetterPdf() {
        buffer.open(QIODevice::WriteOnly);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    }
};

TEST(PageCompositionTest, BandsStackFromTheTopAndTheFooterSitsAtTheBottom) {
    LetterPdf pdf;
    RecordingReport report;
    ReportPainter painter(pdf.writer);
    ASSERT_EQ(painter.pageRect(), (ReportRect{750, -500, 7750, -10500}));

    PageBands bands = pageBands(painter, report);
    EXPECT_EQ(bands.header, (ReportRect{750, -500, 7750, -1100}));
    EXPECT_EQ(bands.columnTitles, (ReportRect{750, -1100, 7750, -1400}));
    EXPECT_EQ(bands.body, (ReportRect{750, -1400, 7750, -3400}));
    EXPECT_EQ(bands.summary, (ReportRect{750, -3400, 7750, -3800})) << "directly under the body";
    EXPECT_EQ(bands.footer, (ReportRect{750, -10000, 7750, -10500}));

    // A body taller than the page ends where the summary and the footer begin.
    report.heights[ReportSection::Body] = 1000000;
    bands = pageBands(painter, report);
    EXPECT_EQ(bands.body, (ReportRect{750, -1400, 7750, -9600}));
    EXPECT_EQ(bands.summary, (ReportRect{750, -9600, 7750, -10000}));
    EXPECT_EQ(bands.footer, (ReportRect{750, -10000, 7750, -10500}));

    // Header and titles alone filling the page leave the body nothing, never a negative height.
    report.heights[ReportSection::Header] = 9500;
    bands = pageBands(painter, report);
    EXPECT_EQ(bands.body.height(), 0);
}

TEST(PageCompositionTest, EveryBandStartsWithThePainterAsPrepared) {
    LetterPdf pdf;
    RecordingReport report;
    ReportPainter painter(pdf.writer);
    QPainter qp(&pdf.writer);
    painter.begin(qp);
    drawPage(painter, report, PageNumber{2, 3});
    qp.end();

    ASSERT_EQ(report.calls.size(), 5u);
    const ReportSection order[] = {ReportSection::Header, ReportSection::ColumnTitles,
                                   ReportSection::Body, ReportSection::Summary,
                                   ReportSection::Footer};
    for (std::size_t i = 0; i < 5; ++i) {
        const RecordingReport::Call& call = report.calls[i];
        EXPECT_EQ(call.band, order[i]);
        EXPECT_EQ(call.page.page, 2);
        EXPECT_EQ(call.page.count, 3);
        EXPECT_EQ(call.transform, painter.transform()) << "band " << i;
        EXPECT_EQ(call.pen, QColor(Qt::black)) << "band " << i;
    }
}

TEST(PageCompositionTest, PrintsTheAskedRangeOfPages) {
    TempDir dir;
    auto print = [&](int first, int last, std::vector<int>& drawn) {
        QPdfWriter writer(QString::fromStdString(dir.file("range.pdf")));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        RecordingReport report;
        report.pages = 5;
        const bool printed = printReport(report, writer, first, last);
        drawn.clear();
        for (const auto& call : report.calls) {
            if (call.band == ReportSection::Body) {
                drawn.push_back(call.page.page);
                EXPECT_EQ(call.page.count, 5);
            }
        }
        return printed;
    };
    std::vector<int> drawn;
    ASSERT_TRUE(print(2, 4, drawn));
    EXPECT_EQ(drawn, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(testing::pdfInfo(dir.file("range.pdf")).pages, 3);
    EXPECT_NE(testing::pdfText(dir.file("range.pdf"), 1).find("body 2"), std::string::npos);
    EXPECT_NE(testing::pdfText(dir.file("range.pdf"), 3).find("body 4"), std::string::npos);

    ASSERT_TRUE(print(0, 0, drawn));
    EXPECT_EQ(drawn, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(testing::pdfInfo(dir.file("range.pdf")).pages, 5);
    ASSERT_TRUE(print(4, 99, drawn));
    EXPECT_EQ(drawn, (std::vector<int>{4, 5})) << "the range ends at the last page";
    EXPECT_FALSE(print(6, 0, drawn)) << "a range past the last page prints nothing";
    EXPECT_TRUE(drawn.empty());
}

} // namespace
} // namespace vsolo
