#include "print/graphs/pieprint.h"

#include <algorithm>

namespace vsolo {

PiePrint::PiePrint(const std::vector<PieCategory>& categories, std::string_view levelTitle,
                   TimeValue from, TimeValue to, const Clock& clock, std::string documentPath)
    : GraphPrint(qStringOf(pieTitle(capitals(levelTitle))), from, to, clock,
                 std::move(documentPath)) {
    for (const PieCategory& c : categories) {
        m_chart.addCategory(c.name, c.minutes);
    }
    m_chart.sort();
}

std::unique_ptr<GraphPrint> PiePrint::clone() const {
    return std::make_unique<PiePrint>(*this);
}

int PiePrint::sectionHeight(const ReportPainter& painter, ReportSection section) const {
    const int lh = painter.lineHeight();
    const bool paper = isPaper(painter);
    switch (section) {
    case ReportSection::Header:
        return kHeaderLines * lh;
    case ReportSection::Body:
        // On screen the pie takes what the window leaves under the header.
        return paper ? kPaperHeight : std::max(0, painter.pageRect().height() - kHeaderLines * lh);
    case ReportSection::Footer:
        return paper ? kFooterLines * lh : 0;
    case ReportSection::ColumnTitles:
    case ReportSection::Summary:
        return 0;
    }
    return 0;
}

// The title one line below the top, the reporting period two lines under it.
void PiePrint::drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber) {
    drawTitleAndPeriod(painter, band.top - painter.lineHeight());
}

void PiePrint::drawColumnTitles(ReportPainter&, const ReportRect&, PageNumber) {}

void PiePrint::drawBody(ReportPainter& painter, const ReportRect& band, PageNumber) {
    if (!hasData()) {
        return;
    }
    m_chart.layout(band, painter.lineHeight());
    m_chart.draw(painter);
}

void PiePrint::drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber) {
    drawFooterLines(painter, band, qStringOf(tx(kPageText)));
}

} // namespace vsolo
