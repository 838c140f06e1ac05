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
class TimeStudyPrint final : public PrintedReport {
public:
    static constexpr int kHeaderLines = 6;
    static constexpr int kColumnTitleLines = 3;
    static constexpr int kFooterLines = 2;
    // The rules over a total's hours and share start this far right of the column's left edge.
    static constexpr int kRuleOffset = 250;

    // The level titles as the user named them; the printout shows them in capitals. The printing
    // date is read from the clock, which must outlive the print.
    TimeStudyPrint(std::vector<TimeStudyRow> rows, const std::string& level1Title,
                   const std::string& level2Title, TimeValue from, TimeValue to, const Clock& clock,
                   const std::string& documentPath);

    int pageCount(ReportPainter& painter) override;
    int sectionHeight(const ReportPainter& painter, ReportSection section) const override;
    void drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawSummary(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    bool hasData() const override { return !m_rows.empty(); }

    const QString& title() const { return m_title; }
    const std::array<PrintColumn, TimeStudyRow::ColumnCount>& columns() const { return m_columns; }
    // After pageCount(): the rows a page holds; the rows of each page follow on from the page
    // before, so every row is printed once.
    int rowsPerPage() const { return m_rowsPerPage; }

private:
    void drawRow(ReportPainter& painter, const TimeStudyRow& row, int y);

    std::vector<TimeStudyRow> m_rows;
    QString m_title;
    TimeValue m_from;
    TimeValue m_to;
    const Clock& m_clock;
    QString m_path;
    std::array<PrintColumn, TimeStudyRow::ColumnCount> m_columns;
    int m_rowsPerPage = 1;
};

} // namespace vsolo
