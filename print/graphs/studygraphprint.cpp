#include "print/graphs/studygraphprint.h"

#include <QColor>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vsolo {

namespace {

// Bodies taller than this many bars are cut by the page anyway; the cap keeps the height an int.
constexpr std::size_t kMostBarsMeasured = 1u << 16;

void fill(ReportPainter& painter, const ReportRect& r, int rgb) {
    if (r.width() > 0 && r.height() > 0) {
        painter.painter().fillRect(QRectF(r.left, r.bottom, r.width(), r.height()),
                                   QColor::fromRgb(static_cast<QRgb>(rgb)));
    }
}

} // namespace

StudyGraphPrint::StudyGraphPrint(const std::vector<GraphCategory>& categories,
                                 std::string_view level1Title, TimeValue from, TimeValue to,
                                 const Clock& clock, std::string documentPath)
    : GraphPrint(qStringOf(graphTitle(capitals(level1Title))), from, to, clock,
                 std::move(documentPath)),
      m_bars(graphBars(categories)) {}

std::unique_ptr<GraphPrint> StudyGraphPrint::clone() const {
    return std::make_unique<StudyGraphPrint>(*this);
}

int StudyGraphPrint::barLength(int left, int right, float share) {
    const int full = right - kFullBarFromRight - (left + kBarStart);
    return std::max(0, static_cast<int>(std::lround(full * static_cast<double>(share))));
}

int StudyGraphPrint::sectionHeight(const ReportPainter& painter, ReportSection section) const {
    const int lh = painter.lineHeight();
    switch (section) {
    case ReportSection::Header:
        return kHeaderLines * lh;
    case ReportSection::ColumnTitles:
        return kLegendLines * lh;
    case ReportSection::Body:
        return static_cast<int>(std::min(m_bars.size(), kMostBarsMeasured)) * kLinesPerBar * lh;
    case ReportSection::Summary:
        return kSummaryLines * lh;
    case ReportSection::Footer:
        return (isPaper(painter) ? kFooterLines : kScreenFooterLines) * lh;
    }
    return 0;
}

ScreenExtent StudyGraphPrint::screenExtent(const ReportPainter& painter) const {
    return {kScreenWidth, sectionHeight(painter, ReportSection::Header) +
                              sectionHeight(painter, ReportSection::ColumnTitles) +
                              sectionHeight(painter, ReportSection::Body)};
}

// A page holds the bars that fit between the legend and the summary; no bar is cut by a page
// break, none is left out and none is repeated.
int StudyGraphPrint::pageCount(ReportPainter& painter) {
    if (!isPaper(painter)) {
        m_barsPerPage = std::max<std::size_t>(1, m_bars.size());
        return 1;
    }
    const int barHeight = std::max(1, kLinesPerBar * painter.lineHeight());
    m_barsPerPage = static_cast<std::size_t>(std::max(1, bodyRoom(painter) / barHeight));
    const std::size_t pages = (m_bars.size() + m_barsPerPage - 1) / m_barsPerPage;
    return static_cast<int>(std::max<std::size_t>(1, pages));
}

void StudyGraphPrint::drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber) {
    if (!hasData()) {
        return;
    }
    const int left = painter.pageRect().left;
    const int y = band.top;
    const int bottom = y - painter.lineHeight();
    fill(painter, {left + kActualSwatchLeft, y, left + kActualSwatchRight, bottom}, kActualRgb);
    painter.drawText({left + kActualTextLeft, y, left + kActualTextRight, bottom},
                     qStringOf(tx(reporttext::kActual)), painter.normalFont(), Qt::AlignLeft);
    fill(painter, {left + kTargetSwatchLeft, y, left + kTargetSwatchRight, bottom}, kTargetRgb);
    painter.drawText({left + kTargetTextLeft, y, left + kTargetTextRight, bottom},
                     qStringOf(tx(reporttext::kTarget)), painter.normalFont(), Qt::AlignLeft);
}

void StudyGraphPrint::drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    std::size_t first = 0;
    std::size_t last = m_bars.size();
    if (isPaper(painter)) {
        first =
            std::min(last, static_cast<std::size_t>(std::max(0, page.page - 1)) * m_barsPerPage);
        last = std::min(last, first + m_barsPerPage);
    }
    int y = band.top;
    for (std::size_t i = first; i < last; ++i, y -= kLinesPerBar * painter.lineHeight()) {
        drawBar(painter, m_bars[i], y);
    }
}

// The name beside the two bars, the red actual bar on the first line and the green target bar on
// the second, each with its label after its end, and the axis with its tick between them.
void StudyGraphPrint::drawBar(ReportPainter& painter, const GraphCategory& bar, int y) const {
    const ReportRect& page = painter.pageRect();
    const int lh = painter.lineHeight();
    const int x0 = page.left + kBarStart;
    painter.drawText({page.left + kNameLeft, y, page.left + kNameRight, y - 2 * lh},
                     qStringOf(bar.name), painter.normalFont(), Qt::AlignRight);
    const struct {
        float share;
        int rgb;
    } lines[] = {{bar.actual, kActualRgb}, {bar.target, kTargetRgb}};
    int top = y;
    for (const auto& line : lines) {
        const int end = x0 + barLength(page.left, page.right, line.share);
        fill(painter, {x0, top, end, top - lh}, line.rgb);
        painter.drawText({end, top, end + kLabelWidth, top - lh},
                         qStringOf(graphShareLabel(line.share)), painter.normalFont(),
                         Qt::AlignLeft, Qt::ElideNone);
        top -= lh;
    }
    painter.drawLine(x0, y + kAxisOverhang, x0, y - 2 * lh - kAxisOverhang, kAxisPen);
    painter.drawLine(x0 - kTickLength, y - lh, x0, y - lh, kAxisPen);
}

void StudyGraphPrint::drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    drawFooterLines(painter, band, pageOfText(page));
}

} // namespace vsolo
