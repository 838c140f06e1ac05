#include "print/reportpainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace vsolo {

namespace {

int units(double value) {
    return static_cast<int>(std::lround(value));
}

// Device pixels to report units.
QRectF pixelsToUnits(const QRect& pixels, double dotsPerInch, int unitsPerInch) {
    const double f = unitsPerInch / dotsPerInch;
    return QRectF(pixels.x() * f, pixels.y() * f, pixels.width() * f, pixels.height() * f);
}

// A report rectangle as the QRectF of the painter's y-up coordinates (its y runs upwards from
// the bottom edge).
QRectF upRect(const ReportRect& r) {
    return QRectF(r.left, r.bottom, r.width(), r.height());
}

} // namespace

PaperLayout PaperLayout::of(const QPagedPaintDevice& device, int unitsPerInch) {
    const QPageLayout layout = device.pageLayout();
    // Measured in the device's own pixels, where its origin really lies; the layout's inches and
    // millimetres are rounded.
    const int dpi = device.logicalDpiX();
    const QRectF full = pixelsToUnits(layout.fullRectPixels(dpi), dpi, unitsPerInch);
    // In the standard mode the device's origin is the top left corner of the area inside the
    // layout's margins; in the full-page mode it is the paper's corner and paintRect is the paper.
    const QRectF paint = pixelsToUnits(layout.paintRectPixels(dpi), dpi, unitsPerInch);
    return PaperLayout{full.size(), paint.topLeft()};
}

ReportRect pageRectOnPaper(const PaperLayout& paper, const PageMargins& margins) {
    ReportRect page;
    page.left = units(margins.left - paper.origin.x());
    page.right = units(paper.paper.width() - margins.right - paper.origin.x());
    page.top = -units(margins.top - paper.origin.y());
    page.bottom = -units(paper.paper.height() - margins.bottom - paper.origin.y());
    // Paper smaller than its margins leaves an empty page rather than one turned inside out.
    page.right = std::max(page.right, page.left);
    page.bottom = std::min(page.bottom, page.top);
    return page;
}

ReportPainter::ReportPainter(QPaintDevice& device, const PageMargins& margins, int unitsPerInch)
    : m_device(device), m_unitsPerInch(unitsPerInch) {
    measureDevice();
    if (const auto* paged = dynamic_cast<const QPagedPaintDevice*>(&device)) {
        m_page = pageRectOnPaper(PaperLayout::of(*paged, m_unitsPerInch), margins);
    } else {
        m_page =
            ReportRect{0, 0, units(device.width() / m_scaleX), -units(device.height() / m_scaleY)};
    }
}

void ReportPainter::measureDevice() {
    m_scaleX = static_cast<double>(m_device.logicalDpiX()) / m_unitsPerInch;
    m_scaleY = static_cast<double>(m_device.logicalDpiY()) / m_unitsPerInch;
    setReportFont(kDefaultFontSize);
}

QTransform ReportPainter::transform() const {
    return QTransform(m_scaleX, 0, 0, -m_scaleY, 0, 0);
}

void ReportPainter::begin(QPainter& painter) {
    m_painter = &painter;
    painter.setWorldTransform(transform());
    painter.setPen(QPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(m_normal);
    painter.setClipRect(upRect(m_page));
}

int ReportPainter::setReportFont(int tenthsOfPoint, const QString& face) {
    m_normal = makeFont(tenthsOfPoint, false, face);
    m_bold = makeFont(tenthsOfPoint, true, face);
    m_lineHeight = lineHeightOf(m_normal);
    return m_lineHeight;
}

QFont ReportPainter::makeFont(int tenthsOfPoint, bool bold, const QString& face) const {
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    // Qt turns points into the device's pixels, and the report transform then scales those
    // pixels as report units; the size is chosen so that the glyphs come out at the asked size.
    const double dpi = m_device.logicalDpiY();
    font.setPointSizeF(tenthsOfPoint / 10.0 * m_unitsPerInch / dpi);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

int ReportPainter::lineHeightOf(const QFont& font) const {
    const QFontMetricsF metrics(font, &m_device);
    return units(metrics.height()) + units(metrics.leading());
}

int ReportPainter::textWidth(const QString& text, const QFont& font) const {
    return units(QFontMetricsF(font, &m_device).horizontalAdvance(text));
}

int ReportPainter::columnRight(const PrintColumn& column) const {
    return column.right == kToPageRight ? m_page.right : m_page.left + column.right;
}

void ReportPainter::drawText(const ReportRect& rect, const QString& text, const QFont& font,
                             Qt::Alignment alignment, Qt::TextElideMode elide) {
    if (text.isEmpty()) {
        return;
    }
    QString shown = text;
    if (elide != Qt::ElideNone) {
        const QFontMetricsF metrics(font, &m_device);
        if (metrics.horizontalAdvance(text) > rect.width()) {
            shown = metrics.elidedText(text, elide, rect.width());
        }
    }
    QPainter& p = *m_painter;
    p.setFont(font);
    // Glyphs drawn through the y-up transform would stand on their heads; the text is drawn in a
    // y-down copy of the current transform, where the rectangle's top is at -top.
    const QTransform up = p.worldTransform();
    p.setWorldTransform(QTransform(1, 0, 0, -1, 0, 0) * up);
    p.drawText(QRectF(rect.left, -rect.top, rect.width(), rect.height()),
               static_cast<int>(alignment | Qt::AlignVCenter) | Qt::TextSingleLine |
                   Qt::TextDontClip,
               shown);
    p.setWorldTransform(up);
}

void ReportPainter::drawColumnText(const PrintColumn& column, int y, const QString& text,
                                   bool bold) {
    static constexpr Qt::Alignment kAlignments[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                    Qt::AlignRight};
    drawText(ReportRect{columnLeft(column), y, columnRight(column), y - m_lineHeight}, text,
             bold ? m_bold : m_normal, kAlignments[static_cast<int>(column.align)]);
}

double ReportPainter::fromThousandths(double thousandths) const {
    return thousandths * m_unitsPerInch / kReportUnitsPerInch;
}

void ReportPainter::drawLine(int x1, int y1, int x2, int y2, double penWidth) {
    QPainter& p = *m_painter;
    const QPen saved = p.pen();
    QPen pen(saved.color(), penWidth);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    p.setPen(saved);
}

void ReportPainter::drawRule(const PrintColumn& column, int y, int offset, bool doubleRule) {
    const int left = columnLeft(column) + offset;
    const int right = columnRight(column);
    const double pen = fromThousandths(kRulePen);
    drawLine(left, y, right, y, pen);
    if (doubleRule) {
        const int bottom = y - m_lineHeight;
        const int gap = units(fromThousandths(kDoubleRuleGap));
        drawLine(left, bottom, right, bottom, pen);
        drawLine(left, bottom + gap, right, bottom + gap, pen);
    }
}

void ReportPainter::drawColumnTitles(std::span<const PrintColumn> columns, const ReportRect& band) {
    QPainter& p = *m_painter;
    const QPen saved = p.pen();
    p.setPen(QPen(saved.color(), fromThousandths(kTitleFramePen)));
    p.setBrush(Qt::NoBrush);
    const int inset = units(fromThousandths(kTitleFrameInset));
    const ReportRect frame{band.left + inset, band.top - inset, band.right - inset,
                           band.bottom + inset};
    const double radius = fromThousandths(kTitleFrameCorner) / 2.0;
    p.drawRoundedRect(upRect(frame), radius, radius);
    p.setPen(saved);

    const int y = band.top - m_lineHeight;
    for (const PrintColumn& column : columns) {
        if (column.title.isEmpty()) {
            continue;
        }
        drawColumnText(column, y, column.title, true);
        if (column.underlineTitle) {
            const int bottom = y - m_lineHeight;
            drawLine(columnLeft(column), bottom, columnRight(column), bottom,
                     fromThousandths(kTitleUnderlinePen));
        }
    }
}

void fitColumnsToPage(std::span<PrintColumn> columns, std::initializer_list<std::size_t> flexible,
                      const ReportPainter& painter, int placedFor) {
    const std::vector<PrintColumn> placed(columns.begin(), columns.end());
    const auto width = [placedFor](const PrintColumn& c) {
        return (c.right == kToPageRight ? placedFor : c.right) - c.left;
    };
    const auto titleWidth = [&painter](const PrintColumn& c) {
        return c.title.isEmpty() ? 0 : painter.textWidth(c.title, painter.boldFont());
    };
    std::vector<int> change(placed.size(), 0);
    int needed = placedFor - painter.pageRect().width();
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (std::find(flexible.begin(), flexible.end(), i) == flexible.end()) {
            change[i] = std::max(0, titleWidth(placed[i]) - width(placed[i]));
            needed += change[i];
        }
    }
    // The column with the least to give comes first, so that what it cannot give falls to the
    // others.
    std::vector<std::pair<int, std::size_t>> rooms;
    for (const std::size_t i : flexible) {
        const int w = width(placed[i]);
        const int title = titleWidth(placed[i]);
        rooms.emplace_back(w - (title <= w ? title : w / 2), i);
    }
    std::sort(rooms.begin(), rooms.end());
    int sharing = static_cast<int>(rooms.size());
    for (const auto& [room, i] : rooms) {
        change[i] = -std::clamp(needed / sharing--, 0, room);
        needed += change[i];
    }

    const auto moved = [&placed, &change](int x) {
        int to = x;
        for (std::size_t k = 0; k < placed.size(); ++k) {
            if (placed[k].right != kToPageRight && placed[k].right <= x) {
                to += change[k];
            }
        }
        return to;
    };
    for (std::size_t i = 0; i < placed.size(); ++i) {
        columns[i].left = moved(placed[i].left);
        if (placed[i].right != kToPageRight) {
            columns[i].right = moved(placed[i].right);
        }
    }
}

} // namespace vsolo
