#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/reports/studygraph.h"
#include "print/graphs/graphprint.h"

#include <cstddef>
#include <vector>

namespace vsolo {

// The time study graph: for every level-1 item a red bar of its share of the range's hours and a
// green bar of its target share, each labelled with its percentage, under a legend band. On paper
// the bars are spread over as many pages as they need.
class StudyGraphPrint final : public GraphPrint {
public:
    static constexpr int kHeaderLines = 7;
    static constexpr int kLegendLines = 2;
    static constexpr int kLinesPerBar = 3;
    static constexpr int kSummaryLines = 1;
    static constexpr int kScreenFooterLines = 1;
    static constexpr int kScreenWidth = 4000;
    // Places from the page's left edge L and right edge R.
    static constexpr int kNameLeft = 100;
    static constexpr int kNameRight = 1600;
    static constexpr int kBarStart = 1700;
    static constexpr int kFullBarFromRight = 700; // a share of 1 ends here before R
    static constexpr int kLabelWidth = 600;
    static constexpr int kAxisOverhang = 25;
    static constexpr int kTickLength = 25;
    static constexpr int kAxisPen = 10;
    static constexpr int kActualSwatchLeft = 100;
    static constexpr int kActualSwatchRight = 350;
    static constexpr int kActualTextLeft = 400;
    static constexpr int kActualTextRight = 1500;
    static constexpr int kTargetSwatchLeft = 1700;
    static constexpr int kTargetSwatchRight = 1950;
    static constexpr int kTargetTextLeft = 2000;
    static constexpr int kTargetTextRight = 3100;
    static constexpr int kActualRgb = 0xFF0000;
    static constexpr int kTargetRgb = 0x00FF00;

    // The categories as buildGraphCategories() gives them; the level-1 title as the user wrote it.
    StudyGraphPrint(const std::vector<GraphCategory>& categories, std::string_view level1Title,
                    TimeValue from, TimeValue to, const Clock& clock, std::string documentPath);

    int pageCount(ReportPainter& painter) override;
    int sectionHeight(const ReportPainter& painter, ReportSection section) const override;
    void drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    bool hasData() const override { return !m_bars.empty(); }
    ScreenExtent screenExtent(const ReportPainter& painter) const override;
    std::unique_ptr<GraphPrint> clone() const override;

    // The bars as drawn, "Categories < 0.1%" merged.
    const std::vector<GraphCategory>& bars() const { return m_bars; }
    // After pageCount() on paper: the pairs of bars a page holds.
    std::size_t barsPerPage() const { return m_barsPerPage; }
    // The length of a bar of the share on a page from left to right.
    static int barLength(int left, int right, float share);

private:
    void drawBar(ReportPainter& painter, const GraphCategory& bar, int y) const;

    std::vector<GraphCategory> m_bars;
    std::size_t m_barsPerPage = 1;
};

} // namespace vsolo
