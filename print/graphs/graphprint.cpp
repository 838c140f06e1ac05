#include "print/graphs/graphprint.h"

#include <QPagedPaintDevice>
#include <utility>

namespace vsolo {

GraphPrint::GraphPrint(QString title, TimeValue from, TimeValue to, const Clock& clock,
                       std::string_view documentPath)
    : RangeReport(std::move(title), from, to, clock, documentPath) {}

bool GraphPrint::isPaper(const ReportPainter& painter) {
    return dynamic_cast<const QPagedPaintDevice*>(&painter.device()) != nullptr;
}

void GraphPrint::drawWhole(ReportPainter& painter) {
    pageCount(painter);
    drawPage(painter, *this, PageNumber{1, 1});
}

void GraphPrint::drawFooterLines(ReportPainter& painter, const ReportRect& band,
                                 const QString& pageText) const {
    if (isPaper(painter)) {
        drawDateAndPage(painter, band.top, pageText);
    }
}

std::string capitals(std::string_view text) {
    return qStringOf(text).toUpper().toStdString();
}

} // namespace vsolo
