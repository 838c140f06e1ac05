#pragma once

// Qt headers first: moc (Qt 6.4) cannot read the C++20 <compare> of the core headers otherwise.
#include <QString>

// The project headers after the Qt headers; see above.
#include "core/base/clock.h"
#include "core/base/usertext.h"
#include "core/model/templatefile.h"
#include "core/timesheet.h"
#include "print/printedreport.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vsolo {

inline constexpr const char* kTimeSheetPrintTitle = VSOLO_TR("TIME SHEET");
inline constexpr const char* kLegendError = VSOLO_TR("* - Error");
inline constexpr const char* kLegendSent = VSOLO_TR("\u00a7 - Transaction sent to Veltimo Hub");
// The marks are signs, the same in every language; the legend above says what they mean.
inline constexpr const char* kMarkError = VSOLO_FIXED("*");
inline constexpr const char* kMarkSent = VSOLO_FIXED("\u00a7");
// The column titles beside the level titles, which are the user's own.
inline constexpr const char* kStartColumnTitle = VSOLO_TR("Start");
inline constexpr const char* kEndColumnTitle = VSOLO_TR("End");
inline constexpr const char* kTotalColumnTitle = VSOLO_TR("Total");
inline constexpr const char* kDescriptionColumnTitle = VSOLO_TR("Description");

// The printed time sheet: the rows of a TimeSheetRows under a header with the range, the framed
// column titles and a footer with the legend of the marks and the page number. Every text comes
// from the rows, so the paper shows what the window shows.
class TimeSheetPrint final : public LineReport {
public:
    static constexpr int kLegendLines = 3; // in the legend font, then two body lines
    static constexpr int kLegendFontSize = 60;

    // The printed columns, their places measured from the page's left edge. The level columns
    // give up what a narrower page or a wider title needs.
    enum PrintedColumn { DateLine = 0, Level1, Level2, Start, End, Total, Description, Mark };

    // The rows and the file must outlive the print; the printing date is read from the clock.
    TimeSheetPrint(const TimeSheetRows& rows, const TemplateFile& file, std::string level1Title,
                   std::string level2Title, const Clock& clock, std::string documentPath);

    int pageCount(ReportPainter& painter) override;
    void drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    void drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber page) override;
    bool hasData() const override { return m_rows.transactionRows() > 0; }

    // After pageCount(): the body lines that fit on a page, and the body lines of each page
    // (date lines, rows, day totals, empty lines and the grand total).
    int linesPerPage() const { return m_linesPerPage; }
    std::size_t bodyLinesOnPage(int page) const;
    // After pageCount(): fitted to the page.
    const std::array<PrintColumn, 8>& columns() const { return m_columns; }

protected:
    std::size_t bodyLineCount() const override { return m_lines.size(); }
    int footerHeight(const ReportPainter& painter) const override;

private:
    struct Line {
        enum class Kind : std::uint8_t { Date, Row, DayTotal, Empty, GrandTotal };
        Kind kind;
        std::size_t row; // the row of the list the line belongs to
    };

    void layOut();
    void drawLine(ReportPainter& painter, const Line& line, int y, QString& lastLevel1);
    int legendLineHeight(const ReportPainter& painter) const;
    QString cell(std::size_t row, int column) const;

    const TimeSheetRows& m_rows;
    const TemplateFile& m_file;
    std::array<PrintColumn, 8> m_placed;
    std::array<PrintColumn, 8> m_columns;
    QFont m_legendFont;
    int m_linesPerPage = 1;
    std::vector<Line> m_lines;
    std::vector<std::size_t> m_pageStarts{0};
};

} // namespace vsolo
