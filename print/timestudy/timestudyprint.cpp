#include "print/timestudy/timestudyprint.h"

#include <QStringList>
#include <algorithm>
#include <utility>

namespace vsolo {

namespace {

// Where the columns lie on Letter paper, measured from the page's left edge, and how they are
// aligned.
struct ColumnPlace {
    int left;
    int right;
    PrintColumn::Align align;
};
constexpr std::array<ColumnPlace, TimeStudyRow::ColumnCount> kPlaces{{
    {250, 1850, PrintColumn::Align::Left},
    {1950, 3550, PrintColumn::Align::Left},
    {3650, 4600, PrintColumn::Align::Right},
    {4700, 5650, PrintColumn::Align::Right},
    {5750, 6750, PrintColumn::Align::Right},
}};

// The level title in capitals, as the title and the column titles show it.
QString upper(const std::string& levelTitle) {
    return qStringOf(levelTitle).toUpper();
}

} // namespace

TimeStudyPrint::TimeStudyPrint(std::vector<TimeStudyRow> rows, const std::string& level1Title,
                               const std::string& level2Title, TimeValue from, TimeValue to,
                               const Clock& clock, const std::string& documentPath)
    : LineReport(qStringOf(timeStudyTitle(upper(level1Title).toStdString(),
                                          upper(level2Title).toStdString())),
                 from, to, clock, documentPath, kReportTextRgb),
      m_rows(std::move(rows)) {
    QStringList titles = qStringOf(tx(reporttext::kTimeStudyColumns)).split('\t');
    titles[TimeStudyRow::Level1] = upper(level1Title);
    titles[TimeStudyRow::Level2] = upper(level2Title);
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        const ColumnPlace& place = kPlaces[c];
        m_columns[c] = PrintColumn{titles[static_cast<qsizetype>(c)].toUpper(), place.left,
                                   place.right, place.align, false};
    }
    m_placed = m_columns;
}

// The body of a page holds as many whole lines as fit between the column titles and the footer;
// the rows fill the pages one after the other, so the count is the pages those rows need.
int TimeStudyPrint::pageCount(ReportPainter& painter) {
    m_columns = m_placed;
    fitColumnsToPage(m_columns, {TimeStudyRow::Level1, TimeStudyRow::Level2}, painter);
    m_rowsPerPage = linesThatFit(painter);
    const std::size_t perPage = static_cast<std::size_t>(m_rowsPerPage);
    return static_cast<int>(std::max<std::size_t>(1, (m_rows.size() + perPage - 1) / perPage));
}

void TimeStudyPrint::drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber) {
    painter.drawColumnTitles(m_columns, band);
}

void TimeStudyPrint::drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    if (page.page < 1) {
        return;
    }
    const std::size_t perPage = static_cast<std::size_t>(m_rowsPerPage);
    const std::size_t begin = static_cast<std::size_t>(page.page - 1) * perPage;
    const std::size_t end = std::min(m_rows.size(), begin + perPage);
    const int lh = painter.lineHeight();
    int y = band.top;
    for (std::size_t i = begin; i < end; ++i, y -= lh) {
        drawRow(painter, m_rows[i], y);
    }
}

void TimeStudyPrint::drawRow(ReportPainter& painter, const TimeStudyRow& row, int y) {
    const bool total = row.kind != TimeStudyRow::Plain;
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        painter.drawColumnText(m_columns[c], y, qStringOf(row.cells[c]), total);
    }
    if (total) {
        const bool grand = row.kind == TimeStudyRow::GrandTotal;
        painter.drawRule(m_columns[TimeStudyRow::Hours], y, kRuleOffset, grand);
        painter.drawRule(m_columns[TimeStudyRow::Share], y, kRuleOffset, grand);
    }
}

void TimeStudyPrint::drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    drawDateAndPage(painter, band.top, pageOfText(page));
}

} // namespace vsolo
