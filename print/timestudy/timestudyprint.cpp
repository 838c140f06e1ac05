#include "print/timestudy/timestudyprint.h"

#include <QStringList>
#include <algorithm>
#include <utility>

namespace vsolo {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where the columns lie, measured from the page's left edge, and how they are aligned.
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

} // namespace

TimeStudyPrint::TimeStudyPrint(std::vector<TimeStudyRow> rows, const std::string& level1Title,
                               const std::string& level2Title, TimeValue from, TimeValue to,
                               const Clock& clock, const std::string& documentPath)
    : m_rows(std::move(rows)), m_from(from), m_to(to), m_clock(clock),
      m_path(fromUtf8(documentPath)) {
    const QString upper1 = fromUtf8(level1Title).toUpper();
    const QString upper2 = fromUtf8(level2Title).toUpper();
    m_title = fromUtf8(timeStudyTitle(upper1.toStdString(), upper2.toStdString()));
    const std::string_view names = reporttext::kTimeStudyColumns;
    QStringList titles =
        QString::fromUtf8(names.data(), static_cast<qsizetype>(names.size())).split('\t');
    titles[TimeStudyRow::Level1] = upper1;
    titles[TimeStudyRow::Level2] = upper2;
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        const ColumnPlace& place = kPlaces[c];
        m_columns[c] = PrintColumn{titles[static_cast<qsizetype>(c)].toUpper(), place.left,
                                   place.right, place.align, false};
    }
}

int TimeStudyPrint::sectionHeight(const ReportPainter& painter, ReportSection section) const {
    const int lh = painter.lineHeight();
    switch (section) {
    case ReportSection::Header:
        return kHeaderLines * lh;
    case ReportSection::ColumnTitles:
        return kColumnTitleLines * lh;
    case ReportSection::Body:
        // More than any page holds: the page composition cuts the band to the page.
        return static_cast<int>(std::min<std::size_t>(m_rows.size(), 1u << 20)) * lh;
    case ReportSection::Summary:
        return 0;
    case ReportSection::Footer:
        return kFooterLines * lh;
    }
    return 0;
}

// The body of a page holds as many whole lines as fit between the column titles and the footer;
// the rows fill the pages one after the other, so the count is the pages those rows need.
int TimeStudyPrint::pageCount(ReportPainter& painter) {
    const int lh = std::max(1, painter.lineHeight());
    const int room = painter.pageRect().height() - sectionHeight(painter, ReportSection::Header) -
                     sectionHeight(painter, ReportSection::ColumnTitles) -
                     sectionHeight(painter, ReportSection::Footer);
    m_rowsPerPage = std::max(1, room / lh);
    const std::size_t perPage = static_cast<std::size_t>(m_rowsPerPage);
    return static_cast<int>(std::max<std::size_t>(1, (m_rows.size() + perPage - 1) / perPage));
}

void TimeStudyPrint::drawHeader(ReportPainter& painter, const ReportRect& band, PageNumber) {
    drawReportTitle(painter, band.top, m_title, kReportTextRgb);
    drawReportingPeriod(painter, band.top - 2 * painter.lineHeight(), m_from, m_to);
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
        painter.drawColumnText(m_columns[c], y, fromUtf8(row.cells[c]), total);
    }
    if (total) {
        const bool grand = row.kind == TimeStudyRow::GrandTotal;
        painter.drawRule(m_columns[TimeStudyRow::Hours], y, kRuleOffset, grand);
        painter.drawRule(m_columns[TimeStudyRow::Share], y, kRuleOffset, grand);
    }
}

void TimeStudyPrint::drawSummary(ReportPainter&, const ReportRect&, PageNumber) {}

void TimeStudyPrint::drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    drawDateAndPageLines(painter, band.top, m_clock.today(), page, m_path);
}

} // namespace vsolo
