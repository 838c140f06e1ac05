#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/base/usertext.h"
#include "core/reports/piegraph.h"
#include "print/graphs/graphprint.h"
#include "print/graphs/piechart.h"

#include <vector>

namespace vsolo {

// The pie graph of the range's hours per level-1 or level-2 item, with its legend, on one page.
class PiePrint final : public GraphPrint {
public:
    static constexpr int kHeaderLines = 8;
    // On paper the pie and its legend take this height under the header.
    static constexpr int kPaperHeight = 4000;
    static constexpr int kScreenWidth = 4000;
    static constexpr int kScreenHeight = 3000;
    static constexpr const char* kPageText = VSOLO_TR("Page 1");

    // The categories as buildPieCategories() gives them; the level's title as the user wrote it.
    PiePrint(const std::vector<PieCategory>& categories, std::string_view levelTitle,
             TimeValue from, TimeValue to, const Clock& clock, std::string documentPath);

    int pageCount(ReportPainter&) override { return 1; }
    int sectionHeight(const ReportPainter& painter, ReportSection section) const override;
    void drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    bool hasData() const override { return m_chart.total() > 0; }
    ScreenExtent screenExtent(const ReportPainter&) const override {
        return {kScreenWidth, kScreenHeight};
    }
    std::unique_ptr<GraphPrint> clone() const override;

    // As laid out by the last drawing.
    const PieChart& chart() const { return m_chart; }

private:
    PieChart m_chart;
};

} // namespace vsolo
