#include "print/timesheet/timesheetprint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace vsolo {

namespace {

PrintColumn column(const std::string& title, int left, int right, PrintColumn::Align align) {
    return PrintColumn{qStringOf(title).toUpper(), left, right, align, false};
}

} // namespace

TimeSheetPrint::TimeSheetPrint(const TimeSheetRows& rows, const TemplateFile& file,
                               std::string level1Title, std::string level2Title, const Clock& clock,
                               std::string documentPath)
    : LineReport(qStringOf(tx(kTimeSheetPrintTitle)), rows.rangeFrom(), rows.rangeTo(), clock,
                 documentPath),
      m_rows(rows), m_file(file) {
    using Align = PrintColumn::Align;
    // Placed for Letter paper; pageCount() fits them to the page and to the titles.
    m_columns[DateLine] = column("", 125, 2125, Align::Left);
    m_columns[Level1] = column(level1Title, 375, 1875, Align::Left);
    m_columns[Level2] = column(level2Title, 2125, 3625, Align::Left);
    m_columns[Start] = column(tx(kStartColumnTitle), 3875, 4375, Align::Right);
    m_columns[End] = column(tx(kEndColumnTitle), 4625, 5125, Align::Right);
    m_columns[Total] = column(tx(kTotalColumnTitle), 5375, 5875, Align::Right);
    m_columns[Description] = column(tx(kDescriptionColumnTitle), 6125, kToPageRight, Align::Left);
    m_columns[Mark] = column("", 200, 375, Align::Left);
    m_placed = m_columns;
}

int TimeSheetPrint::legendLineHeight(const ReportPainter& painter) const {
    return painter.lineHeightOf(painter.makeFont(kLegendFontSize));
}

int TimeSheetPrint::footerHeight(const ReportPainter& painter) const {
    return kLegendLines * legendLineHeight(painter) + 2 * painter.lineHeight();
}

int TimeSheetPrint::pageCount(ReportPainter& painter) {
    m_columns = m_placed;
    fitColumnsToPage(m_columns, {Level1, Level2}, painter);
    m_legendFont = painter.makeFont(kLegendFontSize);
    m_linesPerPage = linesThatFit(painter);
    layOut();
    return static_cast<int>(m_pageStarts.size());
}

// The body as a sequence of lines: per day its date, its rows, its total and an empty line; at
// the end the grand total. Pages are cut so that a date line is never the last line of a page, a
// day's last row stays with its total, a page never starts with an empty line, and a page that
// continues a day starts with the day's date again. Every row and the grand total get printed,
// however many pages that takes.
void TimeSheetPrint::layOut() {
    using Kind = Line::Kind;
    std::vector<Line> stream;
    const std::size_t rowCount = m_rows.transactionRows();
    stream.reserve(rowCount * 2 + 1);
    for (std::size_t i = 0; i < rowCount; ++i) {
        const TimeSheetRows::Row& row = m_rows.row(i);
        if (row.firstOfDay) {
            stream.push_back({Kind::Date, i});
        }
        stream.push_back({Kind::Row, i});
        if (row.lastOfDay) {
            stream.push_back({Kind::DayTotal, i});
            stream.push_back({Kind::Empty, i});
        }
    }
    if (rowCount > 0) {
        stream.push_back({Kind::GrandTotal, rowCount});
    }

    const int perPage = m_linesPerPage;
    m_lines.clear();
    m_lines.reserve(stream.size() + stream.size() / static_cast<std::size_t>(perPage) + 1);
    m_pageStarts.assign(1, 0);
    int used = 0;
    for (const Line& line : stream) {
        int keep = 1;
        if (line.kind == Kind::Date || (line.kind == Kind::Row && m_rows.row(line.row).lastOfDay)) {
            keep = 2;
        }
        if (used > 0 && used + keep > perPage) {
            m_pageStarts.push_back(m_lines.size());
            used = 0;
        }
        if (used == 0) {
            if (line.kind == Kind::Empty) {
                continue;
            }
            const bool continuesDay =
                (line.kind == Kind::Row && !m_rows.row(line.row).firstOfDay) ||
                line.kind == Kind::DayTotal;
            if (continuesDay && perPage >= 2) {
                m_lines.push_back({Kind::Date, line.row});
                ++used;
            }
        }
        m_lines.push_back(line);
        ++used;
    }
}

std::size_t TimeSheetPrint::bodyLinesOnPage(int page) const {
    if (page < 1 || static_cast<std::size_t>(page) > m_pageStarts.size()) {
        return 0;
    }
    const std::size_t begin = m_pageStarts[static_cast<std::size_t>(page) - 1];
    const std::size_t end = static_cast<std::size_t>(page) < m_pageStarts.size()
                                ? m_pageStarts[static_cast<std::size_t>(page)]
                                : m_lines.size();
    return end - begin;
}

QString TimeSheetPrint::cell(std::size_t row, int column) const {
    return qStringOf(m_rows.cellText(row, column, m_file));
}

void TimeSheetPrint::drawColumnTitles(ReportPainter& painter, const ReportRect& band, PageNumber) {
    painter.drawColumnTitles(m_columns, band);
}

void TimeSheetPrint::drawBody(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    const std::size_t count = bodyLinesOnPage(page.page);
    if (count == 0) {
        return;
    }
    const std::size_t begin = m_pageStarts[static_cast<std::size_t>(page.page) - 1];
    const int lh = painter.lineHeight();
    QString lastLevel1;
    int y = band.top;
    for (std::size_t i = begin; i < begin + count; ++i, y -= lh) {
        drawLine(painter, m_lines[i], y, lastLevel1);
    }
}

void TimeSheetPrint::drawLine(ReportPainter& painter, const Line& line, int y,
                              QString& lastLevel1) {
    using Kind = Line::Kind;
    switch (line.kind) {
    case Kind::Date:
        painter.drawColumnText(m_columns[DateLine], y,
                               qStringOf(m_rows.row(line.row).transaction->date().longDate()),
                               true);
        // The level-1 name is printed again under every date line, also where a page breaks a
        // day, so that no page starts with rows whose item is only named on the page before.
        lastLevel1.clear();
        break;
    case Kind::Row: {
        const Transaction& t = *m_rows.row(line.row).transaction;
        if (t.isError() || t.isSent()) {
            painter.drawColumnText(m_columns[Mark], y,
                                   QString::fromUtf8(t.isError() ? kMarkError : kMarkSent));
        }
        const QString level1 = cell(line.row, TimeSheetRows::Level1);
        if (level1 != lastLevel1) {
            painter.drawColumnText(m_columns[Level1], y, level1);
            lastLevel1 = level1;
        }
        painter.drawColumnText(m_columns[Level2], y, cell(line.row, TimeSheetRows::Level2));
        painter.drawColumnText(m_columns[Start], y, cell(line.row, TimeSheetRows::Start));
        painter.drawColumnText(m_columns[End], y, cell(line.row, TimeSheetRows::End));
        painter.drawColumnText(m_columns[Total], y, cell(line.row, TimeSheetRows::Duration));
        painter.drawColumnText(m_columns[Description], y,
                               cell(line.row, TimeSheetRows::Description));
        break;
    }
    case Kind::DayTotal:
        painter.drawColumnText(m_columns[Level1], y, qStringOf(tx(kTimeSheetTotal)), true);
        painter.drawColumnText(m_columns[Total], y, cell(line.row, TimeSheetRows::Total), true);
        painter.drawRule(m_columns[Total], y);
        break;
    case Kind::Empty:
        break;
    case Kind::GrandTotal:
        painter.drawColumnText(m_columns[Level1], y, qStringOf(tx(kTimeSheetGrandTotal)), true);
        painter.drawColumnText(m_columns[Total], y, cell(line.row, TimeSheetRows::Total), true);
        painter.drawRule(m_columns[Total], y, 0, true);
        break;
    }
}

void TimeSheetPrint::drawFooter(ReportPainter& painter, const ReportRect& band, PageNumber page) {
    const ReportRect& r = painter.pageRect();
    const int ll = painter.lineHeightOf(m_legendFont);
    const QString sent = qStringOf(tx(kLegendSent));
    const int ruleRight = r.left + painter.textWidth(sent, m_legendFont);
    painter.drawLine(r.left, band.top, ruleRight, band.top, ReportPainter::kRulePen);
    int y = band.top;
    painter.drawText(ReportRect{r.left, y, r.right, y - ll}, qStringOf(tx(kLegendError)),
                     m_legendFont, Qt::AlignLeft);
    y -= ll;
    painter.drawText(ReportRect{r.left, y, r.right, y - ll}, sent, m_legendFont, Qt::AlignLeft);
    drawDateAndPage(painter, band.top - kLegendLines * ll, pageOfText(page));
}

} // namespace vsolo
