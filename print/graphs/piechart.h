#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QBrush>

// The project headers after the Qt headers; see above.
#include "core/reports/piegraph.h"
#include "print/reportpainter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vsolo {

// A pie with its legend in a rectangle of report units: the categories are added, sorted and laid
// out in an area, then drawn slice by slice from 3 o'clock counter-clockwise as seen on the page,
// each with a line in the legend while the legend has room.
class PieChart {
public:
    // The layout flags: bits 0 to 6 say on which side the legend stands, bit 7 centres it
    // vertically when it is lower than the area.
    static constexpr unsigned kLegendLeft = 0;
    static constexpr unsigned kLegendRight = 1;
    static constexpr unsigned kSideMask = 0x7F;
    static constexpr unsigned kCentreLegend = 0x80;
    static constexpr unsigned kDefaultLayout = kLegendRight | kCentreLegend;

    static constexpr int kLegendWidth = 3000;
    // Between the pie's part and the area's edge away from the legend, and beside the legend.
    static constexpr int kPieMargin = 250;
    static constexpr int kSwatchWidth = 250;
    // A swatch reaches this far above and below its line of text.
    static constexpr int kSwatchOverhang = 10;
    // Between one swatch and the next.
    static constexpr int kLegendGap = 20;
    static constexpr int kOutlinePen = 4;
    static constexpr int kFullCircle = 360 * 16; // Qt's angles are sixteenths of a degree
    // A hatch repeats every 8 pixels of its pattern, 12.5 times an inch on every device.
    static constexpr int kHatchTilePixels = 8;
    static constexpr double kHatchTilesPerInch = 12.5;

    using Compare = std::function<bool(const PieCategory&, const PieCategory&)>;
    static bool largerFirst(const PieCategory& a, const PieCategory& b) {
        return a.minutes > b.minutes;
    }

    void clear();
    void addCategory(std::string name, std::int64_t value);
    // Equal categories keep the order in which they were added.
    void sort(const Compare& compare = largerFirst);
    void setLayoutFlags(unsigned flags) { m_flags = flags; }
    // Places the legend and the pie in the area for lines of text of the given height.
    void layout(const ReportRect& area, int lineHeight);
    // Draws what layout() placed.
    void draw(ReportPainter& painter) const;

    const std::vector<PieCategory>& categories() const { return m_categories; }
    std::int64_t total() const { return m_total; }
    const ReportRect& legendRect() const { return m_legend; }
    const ReportRect& pieSquare() const { return m_pie; }
    // The slices as drawn, "Categories < 0.1%" merged.
    std::vector<PieSlice> slices() const { return pieSlices(m_categories); }
    // The distance from one legend line to the next.
    static int legendPitch(int lineHeight) { return lineHeight + 2 * kSwatchOverhang + kLegendGap; }
    // A slice's brush for report units of 1/unitsPerInch inch.
    static QBrush brushOf(const PieBrush& brush, int unitsPerInch);

private:
    void drawLegendLine(ReportPainter& painter, const PieSlice& slice, int y) const;

    unsigned m_flags = kDefaultLayout;
    std::vector<PieCategory> m_categories;
    std::int64_t m_total = 0;
    ReportRect m_legend;
    ReportRect m_pie;
};

} // namespace vsolo
