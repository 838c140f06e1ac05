#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/base/clock.h"
#include "core/base/timevalue.h"
#include "core/reports/timestudy.h"
#include "print/printedreport.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace vsolo {

// The printed time study report: the report's rows under a header with the title and the range,
// the framed column titles, and a footer with the printing date, the page number and the
// document's path. The rows are printed as the list shows them, totals in bold with rules over
// their hours and shares.
class TimeStudyPrint final : public LineReport {
public:
    static constexpr int kFooterLines = 2;
    // The rules over a total's hours and share start this far right of the column's left edge.
    static constexpr int kRuleOffset = 250;

    // The level titles as the user named them; the printout shows them in capitals. The printing
    // date is read from the clock, which must outlive the print.
    TimeStudyPrint(std::vector<TimeStudyRow> rows, const std::string& level1Title,
                   const std::string& level2Title, TimeValue from, TimeValue to, const Clock& clock,
                   const std::string& documentPath);

    int pageCount(ReportPainter& painter) override;
    void drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    bool hasData() const override { return !m_rows.empty(); }

    // After pageCount(): placed for Letter paper and fitted to the page; the level columns give up
    // what a narrower page or a wider title needs.
    const std::array<PrintColumn, TimeStudyRow::ColumnCount>& columns() const { return m_columns; }
    // After pageCount(): the rows a page holds; the rows of each page follow on from the page
    // before, so every row is printed once.
    int rowsPerPage() const { return m_rowsPerPage; }

protected:
    std::size_t bodyLineCount() const override { return m_rows.size(); }
    int footerHeight(const ReportPainter& painter) const override {
        return kFooterLines * painter.lineHeight();
    }

private:
    void drawRow(ReportPainter& painter, const TimeStudyRow& row, int y);

    std::vector<TimeStudyRow> m_rows;
    std::array<PrintColumn, TimeStudyRow::ColumnCount> m_placed;
    std::array<PrintColumn, TimeStudyRow::ColumnCount> m_columns;
    int m_rowsPerPage = 1;
};

} // namespace vsolo
