#include "print/graphs/piechart.h"

#include "print/graphs/graphprint.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace vsolo {

namespace {

QRectF upRect(const ReportRect& r) {
    return QRectF(r.left, r.bottom, r.width(), r.height());
}

Qt::BrushStyle styleOf(PieHatch hatch) {
    switch (hatch) {
    case PieHatch::Solid:
        return Qt::SolidPattern;
    case PieHatch::BackwardDiagonal:
        return Qt::BDiagPattern;
    case PieHatch::Cross:
        return Qt::CrossPattern;
    case PieHatch::DiagonalCross:
        return Qt::DiagCrossPattern;
    case PieHatch::ForwardDiagonal:
        return Qt::FDiagPattern;
    case PieHatch::Horizontal:
        return Qt::HorPattern;
    case PieHatch::Vertical:
        return Qt::VerPattern;
    }
    return Qt::SolidPattern;
}

// The angle in sixteenths of a degree where a slice starting after the share `before` begins.
int angleAt(double before) {
    return static_cast<int>(std::lround(before * PieChart::kFullCircle));
}

} // namespace

// Qt draws its hatch patterns in device pixels, so that at a printer's resolution the lines run
// together into a tint. The pattern is drawn once into a tile of its own size instead, and the
// tile is scaled to a size in inches (and turned upright for the units whose y axis points up):
// the hatch looks the same on paper as in a window.
QBrush PieChart::brushOf(const PieBrush& brush, int unitsPerInch) {
    const QColor colour = QColor::fromRgb(static_cast<QRgb>(brush.rgb));
    if (brush.hatch == PieHatch::Solid) {
        return QBrush(colour);
    }
    QImage tile(kHatchTilePixels, kHatchTilePixels, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    {
        QPainter painter(&tile);
        painter.fillRect(tile.rect(), QBrush(colour, styleOf(brush.hatch)));
    }
    QBrush hatched(tile);
    const double scale = static_cast<double>(unitsPerInch) / kHatchTilesPerInch / kHatchTilePixels;
    hatched.setTransform(QTransform::fromScale(scale, -scale));
    return hatched;
}

void PieChart::clear() {
    m_categories.clear();
    m_total = 0;
}

void PieChart::addCategory(std::string name, std::int64_t value) {
    m_categories.push_back({std::move(name), value});
    m_total += value;
}

void PieChart::sort(const Compare& compare) {
    std::stable_sort(m_categories.begin(), m_categories.end(), compare);
}

void PieChart::layout(const ReportRect& area, int lineHeight) {
    ReportRect part = area;
    m_legend = area;
    if ((m_flags & kSideMask) == kLegendLeft) {
        m_legend.right = std::min(area.right, area.left + kLegendWidth);
        part.left = area.left + kLegendWidth + kPieMargin;
        part.right = area.right - kPieMargin;
    } else {
        m_legend.left = std::max(area.left, area.right - kLegendWidth);
        part.left = area.left + kPieMargin;
        part.right = area.right - kLegendWidth - kPieMargin;
    }
    const int legendHeight = static_cast<int>(std::min<std::size_t>(slices().size(), 1u << 16)) *
                             legendPitch(lineHeight);
    if ((m_flags & kCentreLegend) && legendHeight < area.height()) {
        m_legend.top = area.top - (area.height() - legendHeight) / 2;
        m_legend.bottom = m_legend.top - legendHeight;
    }
    const int side = std::max(0, std::min(part.width(), part.height()));
    m_pie.left = part.left + (part.width() - side) / 2;
    m_pie.right = m_pie.left + side;
    m_pie.top = part.top - (part.height() - side) / 2;
    m_pie.bottom = m_pie.top - side;
}

void PieChart::draw(ReportPainter& painter) const {
    QPainter& p = painter.painter();
    const std::vector<PieSlice> drawn = slices();
    const int lh = painter.lineHeight();
    const int pitch = legendPitch(lh);
    int y = m_legend.top - kSwatchOverhang;
    double before = 0.0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const PieSlice& slice = drawn[i];
        if (y - lh - kSwatchOverhang >= m_legend.bottom) {
            drawLegendLine(painter, slice, y);
        }
        y -= pitch;
        // The last slice closes the circle whatever the rounding of the shares before it.
        const int start = angleAt(before);
        before += slice.share;
        const int end = i + 1 == drawn.size() ? kFullCircle : angleAt(before);
        if (end <= start || m_pie.width() <= 0) {
            continue;
        }
        p.setPen(QPen(Qt::black, kOutlinePen));
        p.setBrush(brushOf(slice.brush, painter.unitsPerInch()));
        // The y axis points up, so Qt's counter-clockwise angles turn clockwise on the page: the
        // angles are given negated.
        p.drawPie(upRect(m_pie), -start, -(end - start));
    }
}

// The swatch, then the percentage right-aligned in the width of " 100.0%", then after two spaces
// the name.
void PieChart::drawLegendLine(ReportPainter& painter, const PieSlice& slice, int y) const {
    QPainter& p = painter.painter();
    const int lh = painter.lineHeight();
    const QFont& font = painter.normalFont();
    const int left = m_legend.left;
    p.setPen(QPen(Qt::black, kOutlinePen));
    p.setBrush(brushOf(slice.brush, painter.unitsPerInch()));
    p.drawRect(upRect({left, y + kSwatchOverhang, left + kSwatchWidth, y - lh - kSwatchOverhang}));
    const int percentRight =
        left + kSwatchWidth + painter.textWidth(QStringLiteral(" 100.0%"), font);
    painter.drawText({left + kSwatchWidth, y, percentRight, y - lh}, qStringOf(slice.percent), font,
                     Qt::AlignRight);
    const int nameLeft = percentRight + painter.textWidth(QStringLiteral("  "), font);
    painter.drawText({nameLeft, y, m_legend.right, y - lh}, qStringOf(slice.name), font,
                     Qt::AlignLeft);
}

} // namespace vsolo
