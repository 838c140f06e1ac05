#include "print/graphs/graphprint.h"

#include <QPagedPaintDevice>

namespace vsolo {

GraphPrint::GraphPrint(QString title, TimeValue from, TimeValue to, const Clock& clock,
                       std::string documentPath)
    : m_title(std::move(title)), m_from(from), m_to(to), m_clock(&clock),
      m_path(qStringOf(documentPath)) {}

bool GraphPrint::isPaper(const ReportPainter& painter) {
    return dynamic_cast<const QPagedPaintDevice*>(&painter.device()) != nullptr;
}

void GraphPrint::drawWhole(ReportPainter& painter) {
    pageCount(painter);
    drawPage(painter, *this, PageNumber{1, 1});
}

void GraphPrint::drawTitleAndPeriod(ReportPainter& painter, int y) const {
    drawReportTitle(painter, y, m_title);
    drawReportingPeriod(painter, y - 2 * painter.lineHeight(), m_from, m_to);
}

void GraphPrint::drawFooterLines(ReportPainter& painter, const ReportRect& band,
                                 const QString& pageText) const {
    if (isPaper(painter)) {
        drawDateAndPageLines(painter, band.top, m_clock->today(), pageText, m_path);
    }
}

std::string capitals(std::string_view text) {
    return qStringOf(text).toUpper().toStdString();
}

QString qStringOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace vsolo
