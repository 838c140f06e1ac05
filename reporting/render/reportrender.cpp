#include "reporting/render/reportrender.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QString>

namespace vsolo::reporting {

namespace {

constexpr double kUnitsPerInch = 100.0;

// A font of the pages whose cell (ascent and descent) is `cellHeight` report units high on the
// device. Sizes are in report units: the report transform scales them to the device's pixels.
QFont pageFont(const QPaintDevice& device, PageFont kind) {
    const bool title = kind == PageFont::Title;
    const double cellHeight = title ? 14.0 : kLineHeight;
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(kind == PageFont::Body ? QFont::Normal : QFont::Black);
    // Points are turned into pixels at the device's resolution; one report unit is one pixel
    // before the transform, so a size of u units is u * 72 / dpi points.
    const double pointsPerUnit = 72.0 / device.logicalDpiY();
    font.setPointSizeF(cellHeight * pointsPerUnit);
    const double measured = QFontMetricsF(font, &device).height();
    if (measured > 0) {
        font.setPointSizeF(cellHeight * pointsPerUnit * cellHeight / measured);
    }
    return font;
}

Qt::Alignment alignmentOf(PageAlign align) {
    switch (align) {
    case PageAlign::Left:
        return Qt::AlignLeft;
    case PageAlign::Centre:
        return Qt::AlignHCenter;
    case PageAlign::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

QPen penOf(int width) {
    QPen pen(Qt::black);
    pen.setWidthF(width);
    pen.setCosmetic(width == 0);
    return pen;
}

} // namespace

QTransform reportTransform(const QPaintDevice& device, QPointF origin) {
    return QTransform(device.logicalDpiX() / kUnitsPerInch, 0, 0,
                      -device.logicalDpiY() / kUnitsPerInch, origin.x(), origin.y());
}

PageGeometry printableGeometry(const QPagedPaintDevice& device) {
    // The painter's area of a printer or PDF writer is its printable area, in device pixels.
    const auto units = [](int pixels, int dpi) {
        return dpi > 0 ? static_cast<int>(pixels * kUnitsPerInch / dpi) : 0;
    };
    return PageGeometry::printable(units(device.width(), device.logicalDpiX()),
                                   units(device.height(), device.logicalDpiY()));
}

void drawReportPage(QPainter& painter, const ReportPage& page) {
    QPaintDevice& device = *painter.device();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const PageFrame& frame : page.frames) {
        painter.setPen(penOf(frame.pen));
        const QRectF box(frame.left, frame.bottom, frame.right - frame.left,
                         frame.top - frame.bottom);
        painter.drawRoundedRect(box, frame.corner / 2.0, frame.corner / 2.0);
    }
    for (const PageLine& line : page.lines) {
        painter.setPen(penOf(line.pen));
        painter.drawLine(QLineF(line.x1, line.y1, line.x2, line.y2));
    }

    painter.setPen(Qt::black);
    const QFont fonts[] = {pageFont(device, PageFont::Body), pageFont(device, PageFont::Title),
                           pageFont(device, PageFont::Totals)};
    // Glyphs drawn through the y-up transform would stand on their heads: texts are drawn in a
    // y-down copy of it, where a line whose top is at y lies from -y downwards.
    const QTransform up = painter.worldTransform();
    painter.setWorldTransform(QTransform(1, 0, 0, -1, 0, 0) * up);
    for (const PageText& text : page.texts) {
        if (text.text.empty() || text.right <= text.left) {
            continue;
        }
        const int height = text.font == PageFont::Title ? 14 : kLineHeight;
        const QRectF box(text.left, -text.top, text.right - text.left, height);
        painter.setFont(fonts[static_cast<int>(text.font)]);
        painter.setClipRect(box);
        painter.drawText(
            box, static_cast<int>(alignmentOf(text.align) | Qt::AlignVCenter) | Qt::TextSingleLine,
            QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size())));
    }
    painter.setClipping(false);
    painter.restore();
}

PrintResult printReportPages(const std::vector<ReportPage>& pages, QPagedPaintDevice& device) {
    if (pages.empty()) {
        return PrintResult::Failed;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        return PrintResult::Failed;
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return PrintResult::Failed;
        }
        painter.setWorldTransform(reportTransform(device));
        drawReportPage(painter, pages[i]);
    }
    return painter.end() ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace vsolo::reporting
