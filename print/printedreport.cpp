#include "print/printedreport.h"

#include <QColor>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <utility>

namespace vsolo {

namespace {

constexpr int kPeriodIndentPerInch = 10; // the period is indented 0.1 inch

// Saves the painter's state for the length of a band.
class BandState {
public:
    explicit BandState(QPainter& painter) : m_painter(painter) { m_painter.save(); }
    ~BandState() { m_painter.restore(); }
    BandState(const BandState&) = delete;
    BandState& operator=(const BandState&) = delete;

private:
    QPainter& m_painter;
};

} // namespace

RangeReport::RangeReport(QString title, TimeValue from, TimeValue to, const Clock& clock,
                         std::string_view documentPath, int titleRgb)
    : m_title(std::move(title)), m_from(from), m_to(to), m_clock(&clock),
      m_path(qStringOf(documentPath)), m_titleRgb(titleRgb) {}

void RangeReport::drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber) {
    drawTitleAndPeriod(painter, band.top);
}

void RangeReport::drawSummary(ReportPainter&, const ReportRect&, PageNumber) {}

void RangeReport::drawTitleAndPeriod(ReportPainter& painter, int y) const {
    drawReportTitle(painter, y, m_title, m_titleRgb);
    drawReportingPeriod(painter, y - 2 * painter.lineHeight(), m_from, m_to);
}

void RangeReport::drawDateAndPage(ReportPainter& painter, int y, const QString& pageText) const {
    drawDateAndPageLines(painter, y, m_clock->today(), pageText, m_path);
}

int RangeReport::bodyRoom(const ReportPainter& painter) const {
    return painter.pageRect().height() - sectionHeight(painter, ReportSection::Header) -
           sectionHeight(painter, ReportSection::ColumnTitles) -
           sectionHeight(painter, ReportSection::Summary) -
           sectionHeight(painter, ReportSection::Footer);
}

int LineReport::sectionHeight(const ReportPainter& painter, ReportSection section) const {
    const int lh = painter.lineHeight();
    switch (section) {
    case ReportSection::Header:
        return kHeaderLines * lh;
    case ReportSection::ColumnTitles:
        return kColumnTitleLines * lh;
    case ReportSection::Body:
        // More than any page holds: the page composition cuts the band to the page.
        return static_cast<int>(std::min<std::size_t>(bodyLineCount(), 1u << 20)) * lh;
    case ReportSection::Summary:
        return 0;
    case ReportSection::Footer:
        return footerHeight(painter);
    }
    return 0;
}

int LineReport::linesThatFit(const ReportPainter& painter) const {
    return std::max(1, bodyRoom(painter) / std::max(1, painter.lineHeight()));
}

PageBands pageBands(const ReportPainter& painter, const PrintedReport& report) {
    const ReportRect& page = painter.pageRect();
    auto height = [&](ReportSection section) {
        return std::max(0, report.sectionHeight(painter, section));
    };
    auto band = [&](int top, int h) { return ReportRect{page.left, top, page.right, top - h}; };

    PageBands bands;
    bands.header = band(page.top, height(ReportSection::Header));
    bands.columnTitles = band(bands.header.bottom, height(ReportSection::ColumnTitles));
    const int summary = height(ReportSection::Summary);
    const int footer = height(ReportSection::Footer);
    int body = height(ReportSection::Body);
    const int room = bands.columnTitles.bottom - summary - footer - page.bottom;
    if (body > room) {
        body = std::max(0, room);
    }
    bands.body = band(bands.columnTitles.bottom, body);
    bands.summary = band(bands.body.bottom, summary);
    bands.footer = band(page.bottom + footer, footer);
    return bands;
}

void drawPage(ReportPainter& painter, PrintedReport& report, PageNumber page) {
    const PageBands bands = pageBands(painter, report);
    QPainter& p = painter.painter();
    {
        BandState state(p);
        report.drawHeader(painter, bands.header, page);
    }
    {
        BandState state(p);
        report.drawColumnTitles(painter, bands.columnTitles, page);
    }
    {
        BandState state(p);
        report.drawBody(painter, bands.body, page);
    }
    {
        BandState state(p);
        report.drawSummary(painter, bands.summary, page);
    }
    {
        BandState state(p);
        report.drawFooter(painter, bands.footer, page);
    }
}

bool printReport(PrintedReport& report, QPagedPaintDevice& device, int first, int last,
                 const PageMargins& margins) {
    ReportPainter painter(device, margins);
    const int count = std::max(1, report.pageCount(painter));
    first = first <= 0 ? 1 : first;
    last = last <= 0 ? count : std::min(last, count);
    if (first > last) {
        return false;
    }
    QPainter p;
    if (!p.begin(&device)) {
        return false;
    }
    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage()) {
            p.end();
            return false;
        }
        painter.begin(p);
        drawPage(painter, report, PageNumber{number, count});
    }
    return p.end();
}

void drawReportingPeriod(ReportPainter& painter, int y, TimeValue from, TimeValue to) {
    const int left = painter.pageRect().left + painter.unitsPerInch() / kPeriodIndentPerInch;
    const int right = painter.pageRect().right;
    const int lh = painter.lineHeight();
    const QFont& normal = painter.normalFont();
    const QString fromLabel = qStringOf(tx(printtext::kFrom));
    // Both dates start where the longer label ends.
    const int dateLeft = left + painter.textWidth(fromLabel, normal);
    painter.drawText(ReportRect{left, y, right, y - lh}, qStringOf(tx(printtext::kReportingPeriod)),
                     painter.boldFont(), Qt::AlignLeft);
    y -= lh;
    painter.drawText(ReportRect{left, y, dateLeft, y - lh}, fromLabel, normal, Qt::AlignLeft,
                     Qt::ElideNone);
    painter.drawText(ReportRect{dateLeft, y, right, y - lh}, qStringOf(from.longDate()), normal,
                     Qt::AlignLeft);
    y -= lh;
    painter.drawText(ReportRect{left, y, dateLeft, y - lh}, qStringOf(tx(printtext::kTo)), normal,
                     Qt::AlignLeft, Qt::ElideNone);
    painter.drawText(ReportRect{dateLeft, y, right, y - lh}, qStringOf(to.longDate()), normal,
                     Qt::AlignLeft);
}

void drawReportTitle(ReportPainter& painter, int y, const QString& title, int rgb) {
    QPainter& p = painter.painter();
    const QPen saved = p.pen();
    p.setPen(QColor::fromRgb(static_cast<QRgb>(rgb)));
    const ReportRect& page = painter.pageRect();
    painter.drawText(ReportRect{page.left, y, page.right, y - painter.lineHeight()}, title,
                     painter.boldFont(), Qt::AlignHCenter);
    p.setPen(saved);
}

void drawDateAndPageLines(ReportPainter& painter, int y, TimeValue printingDate, PageNumber page,
                          const QString& path) {
    drawDateAndPageLines(painter, y, printingDate, pageOfText(page), path);
}

void drawDateAndPageLines(ReportPainter& painter, int y, TimeValue printingDate,
                          const QString& pageText, const QString& path) {
    const ReportRect& r = painter.pageRect();
    const int lh = painter.lineHeight();
    const QFont& normal = painter.normalFont();
    const int pageLeft = r.right - painter.textWidth(pageText, normal);
    painter.drawText(ReportRect{r.left, y, pageLeft, y - lh}, qStringOf(printingDate.longDate()),
                     normal, Qt::AlignLeft);
    painter.drawText(ReportRect{pageLeft, y, r.right, y - lh}, pageText, normal, Qt::AlignRight,
                     Qt::ElideNone);
    y -= lh;
    // The end of a long path (the file's name) matters more than its middle.
    painter.drawText(ReportRect{r.left, y, r.right, y - lh}, path, normal, Qt::AlignLeft,
                     Qt::ElideMiddle);
}

QString pageOfText(PageNumber page) {
    return QString::asprintf(tx(printtext::kPageOf), page.page, page.count);
}

QString qStringOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace vsolo
